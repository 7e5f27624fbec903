// Finding a day of the lunar table: the lunar year that holds a day serial,
// and the month (by its position in calendar order) and day within it. Shared
// by the conversions of qel_datetime and the day facts of qel_calendar.
#pragma once

#include <cstddef>
#include <cstdint>

#include "lunar/lookup.h"
#include "lunar/year_index.h"

namespace qel::lunar {

// The lunar year holding a serial of the table (kBaseSerial <= serial <
// kNewYearSerial[kTableYears]), as an index from 1900. A first guess from the
// mean tropical year of 365.2422 days is off by at most one year, because
// every lunar new year falls between 21 January and 20 February; one compare
// each way corrects it.
inline constexpr int64_t kTropicalYearE4 = 3652422;  // days x 10^4
constexpr size_t year_index_of(DateInt serial) noexcept {
    const int64_t guess = (serial - kBaseSerial) * 10000 / kTropicalYearE4;  // [0, 201]
    size_t i = static_cast<size_t>(guess < kTableYears ? guess : kTableYears - 1);
    if (kNewYearSerial[i] > serial) --i;
    else if (kNewYearSerial[i + 1] <= serial) ++i;
    return i;
}

// The guess grows with the serial, so checking each year's first and last
// day shows it within one year everywhere.
constexpr bool year_guess_within_one() noexcept {
    for (size_t i = 0; i < kTableYears; ++i) {
        for (const DateInt s : {kNewYearSerial[i], kNewYearSerial[i + 1] - 1})
            if (year_index_of(s) != i) return false;
    }
    return true;
}
static_assert(year_guess_within_one(), "the mean-year guess is corrected by one step");

inline constexpr DateInt kTableEndSerial = kNewYearSerial[kTableYears];  // lunar 2101-01-01

constexpr bool in_table(DateInt serial) noexcept { return serial >= kBaseSerial && serial < kTableEndSerial; }

// A day of the table: its year index, the table-wide index of its month
// (kMonthOfIndex) and its day of the month (1-30).
struct TableDay {
    size_t year_index;
    size_t month_index;
    int32_t day;
};

// The day `serial` of lunar year index `i`. Precondition: kNewYearSerial[i]
// <= serial < kNewYearSerial[i + 1].
constexpr TableDay locate_in_year(DateInt serial, size_t i) noexcept {
    const auto& starts = kMonthStart[i];
    const auto offset = static_cast<int32_t>(serial - kNewYearSerial[i]);  // [0, 384]
    // Months have 29 or 30 days, so the position is offset / 30 or one more.
    auto position = static_cast<size_t>(offset / kBigMonthDays);
    if (starts[position + 1] <= offset) ++position;
    return {i, static_cast<size_t>(kFirstMonthIndex[i]) + position, offset - starts[position] + 1};
}

// Precondition: in_table(serial).
constexpr TableDay locate(DateInt serial) noexcept { return locate_in_year(serial, year_index_of(serial)); }

// The same when the day's Gregorian year is known: every lunar new year falls
// in January or February, so the lunar year is the Gregorian year or the one
// before. Precondition: in_table(serial) and `gregorian_year` is its year.
constexpr TableDay locate(DateInt serial, int32_t gregorian_year) noexcept {
    auto i = static_cast<size_t>(gregorian_year - kFirstYear);  // [0, 201]
    if (kNewYearSerial[i] > serial) --i;
    return locate_in_year(serial, i);
}

}  // namespace qel::lunar
