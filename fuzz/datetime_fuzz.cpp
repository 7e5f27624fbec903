// Fuzzes TDateTime, TDate and the packed C functions through the checks of
// shared/datetime_checks.h, with counts that land on or next to an edge of
// the calendar as often as any.
#include "fuzz_support.h"
#include "shared/datetime_checks.h"

using namespace qel::fuzz;
using namespace qel::checks;

namespace {

// A count of days from the word's date to the day before 0001-01-01,
// 9999-12-31, 4095-12-31 (the last year of the 12-bit field) or 65535-12-31
// (the decoder's last day), give or take one.
int64_t days_to_edge(Args& a, DateTimeInt w) {
    bool valid = false;
    const int64_t s = serial_of_word(w, &valid);
    const int64_t edges[] = {greg::kNullDate, greg::kLastSerial, greg::serial_from_civil(4095, 12, 31),
                             greg::kLastDecodable};
    return edges[a.raw<uint8_t>() % 4] - s + a.raw<int8_t>() % 3;
}

void construct(Args& a) {
    const int32_t y = a.year(), m = a.month(), d = a.day(), h = a.count(), mi = a.count(), s = a.count();
    const DateTimeInt raw = a.word();
    const uint8_t nulls = a.op();
    QEL_FUZZ_CHECK(check_construct(y, m, d, h, mi, s, raw, nulls, a.serial()));
}

void setters(Args& a) {
    const DateTimeInt w = a.word();
    const int32_t which = a.op() % 12, v = a.count(), v2 = a.month(), v3 = a.day();
    QEL_FUZZ_CHECK(check_setter(w, which, v, v2, v3, a.word()));
    const DateTimeInt x = a.word();
    QEL_FUZZ_CHECK(check_compare(x, a.flag() ? a.word() : x ^ (a.raw<uint64_t>() & a.raw<uint64_t>())));
}

void day_steps(Args& a) {
    const DateTimeInt w = a.word();
    const int32_t n = a.flag() ? a.count() : static_cast<int32_t>(days_to_edge(a, w));
    const int32_t y = a.year(), m = a.month(), d = a.day();
    QEL_FUZZ_CHECK(check_day_steps(w, n, y, m, d));
}

void month_steps(Args& a) {
    const DateTimeInt w = a.word();
    const int32_t n = a.count(), clamp = a.flag() ? 0 : a.count();
    const bool years = a.flag();
    const int32_t y = a.year(), m = a.month(), d = a.day();
    QEL_FUZZ_CHECK(check_month_steps(w, n, clamp, years, y, m, d));
}

void time_steps(Args& a) {
    const DateTimeInt w = a.word();
    const bool in_seconds = a.flag();
    const int64_t n = a.flag() ? a.count64() : days_to_edge(a, w) * (in_seconds ? 86400 : 1440) + a.count();
    QEL_FUZZ_CHECK(check_time_steps(w, n, in_seconds));
}

void differences(Args& a) {
    const DateTimeInt x = a.word(), y = a.flag() ? a.word() : IncSecond(x, a.count64() % 100000000);
    QEL_FUZZ_CHECK(check_differences(x, y, a.flag() ? a.raw<uint64_t>() : static_cast<uint64_t>(a.count64())));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return run_operations(data, size, {construct, setters, day_steps, month_steps, time_steps, differences});
}
