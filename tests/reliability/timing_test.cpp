// Every export finishes in bounded time for every argument: each probe runs on
// the whole grid of its hostile values (INT64_MIN/MAX serials, INT32_MIN/MAX
// counts, months of +-10^9, years 0 and 65535, ...) and each call is timed
// alone. A call's time is the least of a few repetitions, so that a moment of
// preemption on a busy machine does not count against it. The bound is judged
// in the plain release build only (QEL_TIMING_BOUND_NS, set by CMake); under
// sanitizers and the emulator the test only has to finish.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "reliability/probes.h"

namespace {

using qel::reliability::kMakesText;
using qel::reliability::probes;
using qel::reliability::tuples;

constexpr int kRepeats = 5;
constexpr size_t kTuplesPerProbe = 4000;

struct Slowest {
    const char* name = "";
    std::vector<int64_t> args;
    int64_t ns = 0;
};

TEST(Timing, EveryCallIsBounded) {
    using clock = std::chrono::steady_clock;
    Slowest worst[2];  // [0]: the calendar functions, [1]: those that build a string
    size_t calls = 0;
    for (const auto& probe : probes()) {
        for (const auto& args : tuples(probe, kTuplesPerProbe)) {
            int64_t best = INT64_MAX;
            for (int r = 0; r < kRepeats; ++r) {
                const auto start = clock::now();
                const uint64_t digest = probe.call(args.data());
                const auto stop = clock::now();
                asm volatile("" : : "r"(digest) : "memory");  // keep the call
                best = std::min<int64_t>(best, std::chrono::duration_cast<std::chrono::nanoseconds>(stop - start).count());
            }
            ++calls;
            Slowest& w = worst[(probe.traits & kMakesText) ? 1 : 0];
            if (best > w.ns) w = {probe.name, args, best};
#ifdef QEL_TIMING_BOUND_NS
            ASSERT_LE(best, QEL_TIMING_BOUND_NS) << probe.name << " with arguments " << ::testing::PrintToString(args);
#endif
        }
    }
    std::printf("%zu calls timed\n", calls);
    for (const Slowest& w : worst)
        std::printf("slowest: %s %s, %lld ns\n", w.name, ::testing::PrintToString(w.args).c_str(),
                    static_cast<long long>(w.ns));
    RecordProperty("slowest_call", worst[0].name);
    RecordProperty("slowest_ns", std::to_string(worst[0].ns));
}

}  // namespace
