// The units of civil time, for the date-time steps and differences. 32-bit,
// so that they mix with the packed word's fields without conversions; they
// widen where they meet 64-bit counts.
#pragma once

#include <cstdint>

namespace qel::datetime {

inline constexpr int32_t kSecondsPerMinute = 60;
inline constexpr int32_t kMinutesPerHour = 60;
inline constexpr int32_t kHoursPerDay = 24;
inline constexpr int32_t kSecondsPerHour = kSecondsPerMinute * kMinutesPerHour;  // 3600
inline constexpr int32_t kMinutesPerDay = kMinutesPerHour * kHoursPerDay;        // 1440
inline constexpr int32_t kSecondsPerDay = kSecondsPerHour * kHoursPerDay;        // 86400
inline constexpr int32_t kMonthsPerYear = 12;

}  // namespace qel::datetime
