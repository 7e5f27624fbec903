// Fuzzes the GBK names (pdate2text, pdate2Animal_signs, pdate2TianGanDiZhi)
// through check_gbk_names of shared/lunar_checks.h.
#include "fuzz_support.h"
#include "shared/lunar_checks.h"

using namespace qel::fuzz;
using namespace qel::checks;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Args a(data, size);
    while (a.more()) {
        tpdate date{a.year(), a.month(), a.day(), a.leap()};
        if (a.flag()) date.fromGDate(2 + static_cast<DateInt>(a.raw<uint32_t>() % 73442));  // a date of the table
        QEL_FUZZ_CHECK(check_gbk_names(date, a.pick<int32_t>({0, 1, 2, 3, -1, 4, qel::hostile::kI32Min})));
    }
    return 0;
}
