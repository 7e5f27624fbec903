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
#include "shared/check.h"
#include "shared/hostile.h"

namespace qel::fuzz {

using hostile::kI32Max, hostile::kI32Min, hostile::kI64Max, hostile::kI64Min;

class Args {
public:
    Args(const uint8_t* data, size_t size) : in_(data, size) {}

    bool more() { return in_.remaining_bytes() > 0; }
    uint8_t op() { return in_.ConsumeIntegral<uint8_t>(); }
    bool flag() { return in_.ConsumeBool(); }
    template <class T>
    T raw() { return in_.ConsumeIntegral<T>(); }

    // A value of a hostile-value table (shared/hostile.h) or of a short list:
    // the value itself, one near it, or raw bytes.
    template <class T, size_t N>
    T pick(const T (&edges)[N]) { return pick_from(edges, N); }
    template <class T>
    T pick(std::initializer_list<T> edges) { return pick_from(edges.begin(), edges.size()); }

    int32_t year() { return pick(hostile::kYears); }
    int32_t month() { return pick(hostile::kMonths); }
    int32_t day() { return pick(hostile::kDays); }
    int32_t leap() { return pick(hostile::kLeapFlags); }
    uint16_t year16() { return static_cast<uint16_t>(year()); }
    uint16_t month16() { return static_cast<uint16_t>(month()); }
    uint16_t day16() { return static_cast<uint16_t>(day()); }
    int32_t count() { return pick(hostile::kCounts); }      // days, weeks, months, years
    int64_t count64() { return pick(hostile::kCounts64); }  // minutes, seconds
    int64_t serial() { return pick(hostile::kSerials); }
    // A packed word: raw bits, or fields near their boundaries with or
    // without reserved bits.
    DateTimeInt word() {
        if (flag()) return flag() ? raw<uint64_t>() : pick(hostile::kWords);
        const DateTimeInt w = datetime::pack(year(), month(), day(), pick(hostile::kClockFields),
                                             pick(hostile::kClockFields), pick(hostile::kClockFields));
        return flag() ? w : w | (raw<uint64_t>() & datetime::kReservedBits);
    }
    uint8_t small() { return pick(hostile::kSmall); }
    // Text of up to 24 bytes, NUL-terminated by the caller's buffer.
    size_t text(char* out, size_t capacity) {
        const size_t n = in_.ConsumeData(out, in_.ConsumeIntegralInRange<size_t>(0, capacity - 1));
        out[n] = '\0';
        return n;
    }

private:
    template <class T>
    T pick_from(const T* edges, size_t n) {
        const uint8_t how = in_.ConsumeIntegral<uint8_t>();
        const T base = edges[how % n];
        if (how < 64) return base;
        if (how < 192) return step(base, in_.ConsumeIntegral<int8_t>());
        return in_.ConsumeIntegral<T>();
    }
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
