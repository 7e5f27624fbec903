// Nearest later existing date: a day that its month lacks moves to the next
// month that has it (findGDateInDay, over the rest of the year and the four
// years after), or a month and day that the year lacks to the next year that
// has them (findGDateInMonthDay, over 60 years).
//
// Candidates are judged as GDateIsValid judges them, on the values taken as
// 16-bit: month -65535 tests as month 1. So a month below 1, which the search
// counts up toward 1 one step at a time, can meet valid candidates long before
// it reaches 1; the search finds the first of them in constant time instead of
// counting up to two billion steps.
#include <cstdint>

#include "gregorian/civil.h"
#include "qel_datetime.h"

using namespace qel::gregorian;

namespace {

constexpr int64_t kWrap = 65536;  // values are judged modulo 2^16

constexpr uint16_t low16(int64_t v) noexcept { return static_cast<uint16_t>(v & 0xFFFF); }

// The first month m >= from, counting up by one within the year (so m <= 12,
// or m == from when from > 12), such that (year, m, day) is valid as 16-bit
// values. Returns false when the year has none.
bool first_month_with_day(uint16_t year, int64_t from, uint16_t day, int64_t* found) noexcept {
    // The months 1..12 in which the day exists, as a bit set (bit m).
    uint32_t months = 0;
    for (uint32_t m = 1; m <= 12; ++m)
        if (GDateValid(year, m, day)) months |= 1u << m;
    if (months == 0) return false;
    if (from > 12) {  // a month above 12 is tried once, then the year ends
        if (!(months & (1u << (low16(from) <= 12 ? low16(from) : 0)))) return false;
        *found = from;
        return true;
    }
    // Months from `from` up to 12 test as their residues modulo 2^16; find the
    // first residue at or after from's that is in the set, wrapping once.
    const int64_t r = low16(from);
    int64_t step = -1;
    for (int64_t v = r; v <= 12 && step < 0; ++v)
        if (months & (1u << v)) step = v - r;
    if (step < 0) {
        int64_t lowest = 1;
        while (!(months & (1u << lowest))) ++lowest;
        step = kWrap - r + lowest;
    }
    if (from + step > 12) return false;
    *found = from + step;
    return true;
}

}  // namespace

extern "C" {

int32_t findGDateInDay(int32_t* year, int32_t* month, int32_t* day) noexcept {
    if (!year || !month || !day) return 0;
    const int64_t start_year = *year;
    const uint16_t d = low16(*day);
    int64_t m = *month;
    // The given month and the rest of its year, then all of the next four.
    for (int64_t advanced = 0; advanced < 5; ++advanced, m = 1) {
        const int64_t y = start_year + advanced;
        int64_t found = 0;
        if (first_month_with_day(low16(y), m, d, &found)) {
            *year = wrap32(y);
            *month = static_cast<int32_t>(found);
            return 1;
        }
    }
    return 0;
}

int32_t findGDateInMonthDay(int32_t* year, int32_t* month, int32_t* day) noexcept {
    if (!year || !month || !day) return 0;
    for (int64_t tried = 0; tried < 60; ++tried) {
        const int64_t y = int64_t{*year} + tried;
        if (GDateValid(low16(y), low16(*month), low16(*day))) {
            *year = wrap32(y);
            return 1;
        }
    }
    return 0;
}

}  // extern "C"
