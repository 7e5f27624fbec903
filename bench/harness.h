// The benchmark harness. Every implementation of a hot path, the library's and
// each baseline's, is one function from an input record to a 64-bit digest of
// its answer, registered under its family with the family's input array. From
// that one function come:
//   - the timed loop: the calls run back to back over the pre-generated inputs,
//     their digests summed into a checksum so that nothing is optimised away,
//     with the heap allocations made meanwhile counted per call;
//   - the fixed-count loop that bench/run measures under callgrind;
//   - the agreement check: each baseline's digest against the library's on
//     every input, so a ratio is only ever taken between equal answers.
// The function's type reaches the loops as a template argument, so a header-only
// baseline (std::chrono, the literal references) is inlined into its loop
// exactly as a user's code would inline it; the library is called through the
// shared object, as a user calls it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <benchmark/benchmark.h>

#include "reference/allocation_counter.h"

namespace qel::bench {

// Calls of operator new, malloc, calloc and realloc in the whole process so far
// (the tests' counter, tests/reference/allocation_counter.cpp).
inline uint64_t allocations() noexcept { return qel::test::allocation_count(); }

struct Impl {
    std::string family;  // the hot path and its input range, e.g. "DecodeDate 1900-2100"
    std::string name;    // "qel" for the library, else the baseline
    double target = 0;   // speed-up the library must reach over this baseline; 0: none
    bool must_agree = true;  // false for a peer that computes the calendar differently
    std::size_t inputs = 0;
    std::function<uint64_t(std::size_t)> digest_of;  // the answer for input i
    std::function<void(benchmark::State&)> timed;
    std::function<uint64_t(uint64_t)> fixed;  // that many calls, cycling through the inputs

    std::string full_name() const { return family + "/" + name; }
};

std::vector<Impl>& registry();

// FNV-1a: the digest of a text answer.
inline uint64_t digest_bytes(const void* data, std::size_t size) noexcept {
    uint64_t h = 14695981039346656037u;
    for (std::size_t i = 0; i < size; ++i) h = (h ^ static_cast<const unsigned char*>(data)[i]) * 1099511628211u;
    return h;
}

// A function as a type of its own (a function pointer would be called
// indirectly from the loops): add(..., fn<decode>).
template <auto F>
inline constexpr auto fn = [](const auto& in) { return F(in); };

// Registers `call` (In -> uint64_t) on `inputs`, whose size is a power of two
// and which must outlive the run.
template <class In, class Call>
void add(std::string family, std::string name, const std::vector<In>& inputs, Call call,
         double target = 0) {
    const In* const data = inputs.data();
    const std::size_t mask = inputs.size() - 1;
    Impl impl;
    impl.family = std::move(family);
    impl.name = std::move(name);
    impl.target = target;
    impl.inputs = inputs.size();
    impl.digest_of = [data, call](std::size_t i) { return call(data[i]); };
    impl.timed = [data, mask, call](benchmark::State& state) {
        // Locals, so that they stay in registers across an opaque call; the
        // closure's members would be reloaded after every call of the library.
        const In* const in = data;
        const std::size_t last = mask;
        uint64_t sum = 0;
        std::size_t i = 0;
        const uint64_t allocations_before = allocations();
        for (auto _ : state) sum += call(in[i++ & last]);
        const uint64_t allocations_made = allocations() - allocations_before;
        benchmark::DoNotOptimize(sum);
        state.counters["allocs/call"] =
            benchmark::Counter(static_cast<double>(allocations_made), benchmark::Counter::kAvgIterations);
    };
    impl.fixed = [data, mask, call](uint64_t calls) {
        const In* const in = data;
        const std::size_t last = mask;
        uint64_t sum = 0;
        for (uint64_t i = 0; i < calls; ++i) sum += call(in[i & last]);
        return sum;
    };
    registry().push_back(std::move(impl));
}

// The families of each subsystem.
void register_gregorian();
void register_datetime();
void register_lunar();
void register_calendar();
#ifdef QEL_BENCH_HAVE_ICU
void register_icu();
#endif

}  // namespace qel::bench
