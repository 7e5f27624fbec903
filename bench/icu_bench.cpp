// ICU's Chinese calendar as the peer for both lunar conversions, on the same
// inputs as the library: one icu::Calendar for the locale "zh@calendar=chinese"
// in UTC, made once and reused, as a user converting a column would. Gregorian
// to lunar: setTime at midnight UTC of the day, then get of the extended year,
// the month, the day and the leap flag. Lunar to Gregorian: clear, set of the
// same four fields, getTime, and chrono's year_month_day of the day.
//
// ICU computes new moons and solar terms astronomically for UTC+8, while the
// library reads its published table; a handful of days of 1900-2100 where the
// two disagree show up in the agreement column.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include "harness.h"
#include "inputs.h"

namespace qel::bench {
namespace {

using namespace std::chrono;

// ICU counts Chinese years from 2637 BC (extended year 1 is Gregorian year -2636).
constexpr int32_t kExtendedYearOffset = 2637;
constexpr double kMillisPerDay = 86400000.0;

icu::Calendar& chinese() {
    static const std::unique_ptr<icu::Calendar> calendar = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Calendar> c(
            icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), icu::Locale("zh@calendar=chinese"), status));
        if (U_FAILURE(status) || !c) {
            std::fprintf(stderr, "ICU: no Chinese calendar: %s\n", u_errorName(status));
            std::exit(1);
        }
        return c;
    }();
    return *calendar;
}

// Same layout as the library's digest in lunar_bench.cpp.
constexpr uint64_t digest(int32_t status, int32_t a, int32_t b, int32_t c, int32_t d = 0) {
    return uint64_t(uint8_t(status)) << 56 ^ uint64_t(uint32_t(a)) << 24 ^ uint64_t(uint8_t(b)) << 16 ^
           uint64_t(uint8_t(c)) << 8 ^ uint64_t(uint8_t(d));
}

uint64_t to_lunar_icu(const Ymd& g) {
    icu::Calendar& cal = chinese();
    UErrorCode status = U_ZERO_ERROR;
    const auto day = sys_days{year{g.year} / g.month / g.day}.time_since_epoch().count();
    cal.setTime(static_cast<double>(day) * kMillisPerDay, status);
    const int32_t y = cal.get(UCAL_EXTENDED_YEAR, status) - kExtendedYearOffset;
    const int32_t m = cal.get(UCAL_MONTH, status) + 1;
    const int32_t d = cal.get(UCAL_DATE, status);
    const int32_t leap = cal.get(UCAL_IS_LEAP_MONTH, status);
    return digest(U_SUCCESS(status) ? 1 : 0, y, m, d, leap);
}

uint64_t to_gregorian_icu(const LunarDate& p) {
    icu::Calendar& cal = chinese();
    UErrorCode status = U_ZERO_ERROR;
    cal.clear();
    cal.set(UCAL_EXTENDED_YEAR, p.year + kExtendedYearOffset);
    cal.set(UCAL_MONTH, p.month - 1);
    cal.set(UCAL_IS_LEAP_MONTH, p.leap);
    cal.set(UCAL_DATE, p.day);
    const UDate millis = cal.getTime(status);
    const year_month_day ymd{sys_days{days{static_cast<int64_t>(millis / kMillisPerDay)}}};
    return digest(U_SUCCESS(status) ? 1 : 0, int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())));
}

}  // namespace

void register_icu() {
    add("GDateToPDate", "ICU", lunar_range_dates(), fn<to_lunar_icu>, 200);
    registry().back().must_agree = false;  // astronomy against the table
    add("PDateToGDate", "ICU", lunar_range_pdates(), fn<to_gregorian_icu>, 200);
    registry().back().must_agree = false;
}

}  // namespace qel::bench
