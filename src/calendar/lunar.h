// The checked lunar-to-serial conversion that every call taking a lunar date
// goes through.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qel::calendar {

// QEL_OK and the serial of an existing date of the calendar's lunar years
// 1645-2200; otherwise QEL_E_RANGE (year), QEL_E_ARGUMENT (a leap flag not 0
// or 1) or QEL_E_DATE, and nothing written. Precondition: calendar < 3.
int32_t lunar_serial_checked(size_t calendar, int32_t year, int32_t month, int32_t day, int32_t leap,
                             int64_t* serial) noexcept;

}  // namespace qel::calendar
