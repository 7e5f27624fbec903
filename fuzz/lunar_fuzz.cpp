// Fuzzes the lunar C functions, the tpdate members and the solar-term days
// through the checks of shared/lunar_checks.h.
#include "fuzz_support.h"
#include "shared/lunar_checks.h"

using namespace qel::fuzz;
using namespace qel::checks;

namespace {

// A real date of the table (near a year end or a leap month), or any fields.
Lunar some_lunar(Args& a) {
    if (a.flag()) return lunar_of(kFirstDay + static_cast<DateInt>(a.raw<uint32_t>() % (kLastDay - kFirstDay + 1)));
    const int32_t y = a.year(), m = a.month(), d = a.day();
    return {y, m, d, a.leap()};
}

void to_lunar(Args& a) {
    const int32_t y = a.year(), m = a.month(), d = a.day();
    QEL_FUZZ_CHECK(check_gregorian_to_lunar(y, m, d, a.op()));
    QEL_FUZZ_CHECK(check_serial_to_lunar(a.serial()));
}

void to_gregorian(Args& a) {
    const Lunar p = some_lunar(a), q = some_lunar(a);
    QEL_FUZZ_CHECK(check_lunar_to_gregorian(p, q));
    const int32_t y = a.year(), m = a.month();
    QEL_FUZZ_CHECK(check_lookups(y, m, a.leap()));
    QEL_FUZZ_CHECK(check_term_day(y, a.pick(qel::hostile::kIndexes)));
}

void month_walk(Args& a) {
    const Lunar start = some_lunar(a);
    const int32_t n = a.flag() ? a.pick<int32_t>({1, -1, 12, -12, 13, -13, 100, -100, 2412, -2412}) : a.count();
    QEL_FUZZ_CHECK(check_month_walk(start, n, a.flag() ? 0 : 1));
}

void searches(Args& a) {
    const int32_t y = a.year(), m = a.month(), d = a.day();
    const uint8_t nulls = a.op();
    QEL_FUZZ_CHECK(check_lunar_searches(y, m, d, nulls, a.flag()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return run_operations(data, size, {to_lunar, to_gregorian, month_walk, searches});
}
