// Fuzzes the Gregorian C functions: serials, validity, month lengths, day of
// year and week, the weekday-of-month queries and the nearest-date searches,
// through the checks of shared/gregorian_checks.h.
#include "fuzz_support.h"
#include "shared/gregorian_checks.h"

using namespace qel::fuzz;
using namespace qel::checks;

namespace {

void encode(Args& a) {
    const uint16_t y = a.year16(), m = a.month16(), d = a.day16();
    QEL_FUZZ_CHECK(check_encode(y, m, d));
    QEL_FUZZ_CHECK(check_decode(a.serial()));
}

void inc_date(Args& a) {
    const uint16_t y = a.year16(), m = a.month16(), d = a.day16();
    QEL_FUZZ_CHECK(check_inc_date(y, m, d, a.flag() ? a.count() : a.serial()));
}

void tables(Args& a) {
    const int32_t y = a.year(), m = a.month(), d = a.day();
    QEL_FUZZ_CHECK(check_month_tables(y, m, d));
    QEL_FUZZ_CHECK(check_day_of_week(a.serial()));
}

void weekdays(Args& a) {
    const uint16_t y = a.year16(), m = a.month16();
    const uint8_t row_and_weekday[] = {a.small(), a.small()};
    QEL_FUZZ_CHECK(check_weekday_queries(y, m, row_and_weekday));
}

void searches(Args& a) {
    const int32_t y = a.year(), m = a.month(), d = a.day();
    const uint8_t nulls = a.op();
    QEL_FUZZ_CHECK(check_searches(y, m, d, nulls, a.flag()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return run_operations(data, size, {encode, inc_date, tables, searches, weekdays});
}
