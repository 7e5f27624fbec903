// The packed date-time word: one unsigned 64-bit value, lowest bits first.
//
//   bits  0-5   second  (6 bits)     bits 17-21  day    (5 bits)
//   bits  6-11  minute  (6 bits)     bits 22-25  month  (4 bits)
//   bits 12-16  hour    (5 bits)     bits 26-37  year   (12 bits)
//   bits 38-63  reserved: no meaning here, carried as each operation says
//
// Because the fields lie in order of significance, bits 0-37 read as a number
// (the ordering key) grow with (year, month, day, hour, minute, second).
#pragma once

#include <cstdint>

#include "qel_datetime.h"

namespace qel::datetime {

struct Field {
    uint32_t shift;
    uint32_t width;

    constexpr DateTimeInt mask() const noexcept { return ((DateTimeInt{1} << width) - 1) << shift; }
    constexpr int32_t get(DateTimeInt word) const noexcept {
        return static_cast<int32_t>((word >> shift) & ((DateTimeInt{1} << width) - 1));
    }
    // Only the low `width` bits of the value count (two's complement for a
    // negative one); no other bit of the word changes.
    constexpr DateTimeInt set(DateTimeInt word, int64_t value) const noexcept {
        return (word & ~mask()) | ((static_cast<DateTimeInt>(value) << shift) & mask());
    }
};

inline constexpr Field kSecond{0, 6};
inline constexpr Field kMinute{6, 6};
inline constexpr Field kHour{12, 5};
inline constexpr Field kDay{17, 5};
inline constexpr Field kMonth{22, 4};
inline constexpr Field kYear{26, 12};

inline constexpr DateTimeInt kDateBits = kDay.mask() | kMonth.mask() | kYear.mask();  // 17-37
inline constexpr DateTimeInt kTimeBits = kSecond.mask() | kMinute.mask() | kHour.mask();  // 0-16
inline constexpr DateTimeInt kKeyBits = kDateBits | kTimeBits;                      // 0-37
inline constexpr DateTimeInt kReservedBits = ~kKeyBits;                             // 38-63

constexpr DateTimeInt pack(int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute,
                           int64_t second) noexcept {
    DateTimeInt w = 0;
    w = kYear.set(w, year);
    w = kMonth.set(w, month);
    w = kDay.set(w, day);
    w = kHour.set(w, hour);
    w = kMinute.set(w, minute);
    return kSecond.set(w, second);
}

static_assert(kKeyBits == (DateTimeInt{1} << 38) - 1, "fields cover bits 0-37");
static_assert(pack(2000, 2, 29, 23, 59, 58) == 0x1F40BB7EFAull, "2000-02-29 23:59:58");

}  // namespace qel::datetime
