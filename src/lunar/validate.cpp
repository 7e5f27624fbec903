// PDateIsValid: whether a lunar date exists.
#include <cstdint>

#include "lunar/validity.h"
#include "qel_datetime.h"

extern "C" int32_t PDateIsValid(int32_t year, int32_t month, int32_t day, int32_t leap) noexcept {
    return qel::lunar::valid_date(year, month, day, leap) ? 1 : 0;
}
