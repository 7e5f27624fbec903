// What the libFuzzer targets share: the bytes of an input turned into
// calendar-shaped arguments drawn from the hostile tables (shared/hostile.h).
// The checks the targets run are those of tests/shared, which the unit tests
// sweep too; a failed one aborts, and libFuzzer saves the input.
//
// Each argument costs one selector byte. A quarter of the selectors give a
// boundary value of the parameter's domain, half give such a value moved by a
// small signed step (so both neighbours of every boundary are one mutation
// away), and the rest give raw bytes. A target reads one operation byte at a
// time and runs operations until the input is used up.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <initializer_list>
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

// The body of a target: operations until the input is used up, each one the
// check that its operation byte selects (modulo the number of checks).
inline int run_operations(const uint8_t* data, size_t size, std::initializer_list<void (*)(Args&)> checks) {
    Args a(data, size);
    while (a.more()) checks.begin()[a.op() % checks.size()](a);
    return 0;
}

}  // namespace qel::fuzz
