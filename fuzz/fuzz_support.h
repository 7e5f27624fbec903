// What the libFuzzer targets share: the bytes of an input turned into
// calendar-shaped arguments, an invariant check that aborts (libFuzzer then
// saves the input), std::chrono as the independent Gregorian oracle, and
// iconv to read qel_datetime's GBK names.
//
// Each argument costs one selector byte. A quarter of the selectors give a
// boundary value of the parameter's domain, half give such a value moved by a
// small signed step (so both neighbours of every boundary are one mutation
// away), and the rest give raw bytes. A target reads one operation byte at a
// time and runs operations until the input is used up.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>
#include <iconv.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <string>
#include <type_traits>

#include "datetime/packed.h"
#include "gregorian/civil.h"
#include "qel_datetime.h"

#define QEL_FUZZ_CHECK(cond)                                                          \
    do {                                                                              \
        if (!(cond)) {                                                                \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, \
                         #cond);                                                      \
            std::abort();                                                             \
        }                                                                             \
    } while (0)

namespace qel::fuzz {

inline constexpr int32_t kI32Min = std::numeric_limits<int32_t>::min();
inline constexpr int32_t kI32Max = std::numeric_limits<int32_t>::max();
inline constexpr int64_t kI64Min = std::numeric_limits<int64_t>::min();
inline constexpr int64_t kI64Max = std::numeric_limits<int64_t>::max();

class Args {
public:
    Args(const uint8_t* data, size_t size) : in_(data, size) {}

    bool more() { return in_.remaining_bytes() > 0; }
    uint8_t op() { return in_.ConsumeIntegral<uint8_t>(); }
    bool flag() { return in_.ConsumeBool(); }
    template <class T>
    T raw() { return in_.ConsumeIntegral<T>(); }

    template <class T>
    T pick(std::initializer_list<T> edges) {
        const uint8_t how = in_.ConsumeIntegral<uint8_t>();
        const T base = edges.begin()[how % edges.size()];
        if (how < 64) return base;
        if (how < 192) return step(base, in_.ConsumeIntegral<int8_t>());
        return in_.ConsumeIntegral<T>();
    }

    int32_t year() {
        return pick<int32_t>({1, 1899, 1900, 1901, 1984, 2000, 2017, 2033, 2099, 2100, 2101, 4095,
                              4096, 9999, 10000, 65535, 65536, 0, -1, kI32Min, kI32Max});
    }
    int32_t month() { return pick<int32_t>({1, 2, 6, 11, 12, 0, 13, 15, 16, -1, kI32Min, kI32Max}); }
    int32_t day() { return pick<int32_t>({1, 15, 28, 29, 30, 31, 0, 32, -1, kI32Min, kI32Max}); }
    uint16_t year16() { return static_cast<uint16_t>(year()); }
    uint16_t month16() { return static_cast<uint16_t>(month()); }
    uint16_t day16() { return static_cast<uint16_t>(day()); }
    // Counts of months, days, weeks, years.
    int32_t count() {
        return pick<int32_t>({0, 1, -1, 7, 12, -12, 13, -13, 1440, 2412, -2412, 146097,
                              1000000000, -1000000000, kI32Max / 7, kI32Min / 7, kI32Max / 12,
                              kI32Min / 12, kI32Min, kI32Max});
    }
    // Counts of minutes and seconds.
    int64_t count64() {
        return pick<int64_t>({0, 1, -1, 59, 60, 1440, -1440, 86400, -86400, 31536000,
                              int64_t{1} << 40, -(int64_t{1} << 40), 1000000000000,
                              kI64Max / 60, kI64Min / 60, kI64Min, kI64Max});
    }
    // Day serials: the ends of the encoder's and the decoder's ranges, the
    // lunar table's, and the ends of the integer types.
    int64_t serial() {
        return pick<int64_t>({gregorian::kNullDate, gregorian::kFirstSerial, 0, 2, 32, 45320,
                              73415, 73443, gregorian::kLastSerial, gregorian::kLastDecodable,
                              kI32Min, kI32Max, kI64Min, kI64Max});
    }
    // A packed word: raw bits, or fields near their boundaries with or
    // without reserved bits.
    DateTimeInt word() {
        if (flag()) return raw<uint64_t>();
        const DateTimeInt w = datetime::pack(year(), month(), day(), pick<int32_t>({0, 23, 24, 31}),
                                             pick<int32_t>({0, 59, 60, 63}),
                                             pick<int32_t>({0, 59, 60, 63}));
        return flag() ? w : w | (raw<uint64_t>() & datetime::kReservedBits);
    }
    uint8_t small() { return pick<uint8_t>({0, 1, 2, 4, 5, 6, 7, 8, 255}); }
    // Text of up to 24 bytes, NUL-terminated by the caller's buffer.
    size_t text(char* out, size_t capacity) {
        const size_t n = in_.ConsumeData(out, in_.ConsumeIntegralInRange<size_t>(0, capacity - 1));
        out[n] = '\0';
        return n;
    }

private:
    template <class T>
    static T step(T base, int8_t by) {  // two's-complement wrap, never signed overflow
        using U = std::make_unsigned_t<T>;
        return static_cast<T>(static_cast<U>(static_cast<U>(base) + static_cast<U>(by)));
    }

    FuzzedDataProvider in_;
};

// The oracle's calendar: 1899-12-30 is serial 0.
inline constexpr std::chrono::sys_days kEpoch =
    std::chrono::year{1899} / std::chrono::December / 30;

// The serial of a date that std::chrono (years -32767..32767) can hold.
inline int64_t chrono_serial(int32_t y, unsigned m, unsigned d) {
    using namespace std::chrono;
    return (sys_days{year{y} / month{m} / day{d}} - kEpoch).count();
}

inline std::chrono::year_month_day chrono_date(int64_t serial) {
    return std::chrono::year_month_day{kEpoch + std::chrono::days{serial}};
}

inline bool valid_date(int64_t y, int64_t m, int64_t d) {
    using namespace std::chrono;
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return false;
    return year_month_day{year{static_cast<int>(y)} / month{static_cast<unsigned>(m)} /
                          day{static_cast<unsigned>(d)}}
        .ok();
}

// GBK text (qel_datetime's names) as UTF-8, by glibc's iconv: an oracle
// independent of the library's byte tables.
inline std::string utf8_of_gbk(const char* gbk) {
    static const iconv_t cd = iconv_open("UTF-8", "GBK");  // the fuzzer runs on one thread
    QEL_FUZZ_CHECK(cd != reinterpret_cast<iconv_t>(-1));
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    char in[64], out[128];
    std::strncpy(in, gbk, sizeof in - 1);
    in[sizeof in - 1] = '\0';
    char *pin = in, *pout = out;
    size_t in_left = std::strlen(in), out_left = sizeof out;
    const size_t converted = iconv(cd, &pin, &in_left, &pout, &out_left);
    QEL_FUZZ_CHECK(converted != static_cast<size_t>(-1) && in_left == 0);
    return std::string(out, pout);
}

// The body of a target: operations until the input is used up, each one the
// check that its operation byte selects (modulo the number of checks).
inline int run_operations(const uint8_t* data, size_t size, std::initializer_list<void (*)(Args&)> checks) {
    Args a(data, size);
    while (a.more()) checks.begin()[a.op() % checks.size()](a);
    return 0;
}

}  // namespace qel::fuzz
