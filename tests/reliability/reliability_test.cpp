// Reliability over the probe list of probes.h, one probe per export of
// qel_common, qel_datetime and qel_calendar on its hostile arguments:
//  - the list names every export of the lists in tests/symbols;
//  - ten threads run the whole workload at once, each starting at a different
//    place, and get exactly the single-threaded digests (ThreadSanitizer in
//    the tsan preset reports any shared state an export writes);
//  - no export but those that return or fill a string touches the heap
//    (QEL_COUNTS_ALLOCATIONS: allocation_counter.cpp is linked in);
//  - every call is bounded in time: the least of a few repetitions, judged
//    where times mean something (QEL_TIMING_BOUND_NS, set by CMake for an
//    optimised build without sanitizers on the real processor).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <latch>
#include <map>
#include <string>
#include <thread>

#include "reference/allocation_counter.h"
#include "reliability/probes.h"

namespace {

using namespace qel::reliability;

TEST(Probes, OneForEveryOverloadOfEveryExport) {
    std::map<std::string, int> missing;  // name -> exports less probes
    for (const char* list : {"exports.txt", "exports_common.txt", "exports_calendar.txt"}) {
        std::ifstream in(std::string(QEL_EXPORT_LISTS "/") + list);
        ASSERT_TRUE(in) << list;
        // The private members a class exports with it are not callable.
        for (std::string line; std::getline(in, line) && !line.starts_with("# Private members");)
            if (!line.empty() && line[0] != '#') ++missing[line.substr(0, line.find('('))];
    }
    for (const Probe& p : probes()) --missing[p.name];
    for (const auto& [name, n] : missing) EXPECT_LE(n, 0) << name << " has no probe";
}

struct Call {
    const Probe* probe;
    std::vector<int64_t> args;
};

TEST(Threads, ManyThreadsGiveTheSingleThreadAnswers) {
    std::vector<Call> work;
    for (const auto& probe : probes())
        for (auto& args : tuples(probe, 300)) work.push_back({&probe, std::move(args)});
    // The clock readers run too, but their answers depend on the moment.
    auto digest = [](const Call& c) {
        const uint64_t d = c.probe->call(c.args.data());
        return (c.probe->traits & kReadsClock) ? 0 : d;
    };
    std::vector<uint64_t> expected;
    for (const auto& c : work) expected.push_back(digest(c));
    constexpr size_t kThreads = 10;
    std::vector<std::vector<uint64_t>> got(kThreads, std::vector<uint64_t>(work.size()));
    std::latch start(kThreads);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            start.arrive_and_wait();
            for (size_t i = 0, offset = t * work.size() / kThreads; i < work.size(); ++i)
                got[t][(i + offset) % work.size()] = digest(work[(i + offset) % work.size()]);
        });
    }
    for (auto& th : threads) th.join();
    for (size_t t = 0; t < kThreads; ++t)
        for (size_t k = 0; k < work.size(); ++k)
            ASSERT_EQ(got[t][k], expected[k]) << "thread " << t << ": " << work[k].probe->name << " with "
                                              << ::testing::PrintToString(work[k].args);
}

#ifdef QEL_COUNTS_ALLOCATIONS
template <class F>
uint64_t allocations_in(F&& body) {
    const uint64_t before = qel::test::allocation_count();
    body();
    return qel::test::allocation_count() - before;
}

TEST(Allocation, NoExportButTheTextOnesAllocates) {
    // The counter must see allocations inside the shared libraries, or the
    // zero below proves nothing (the volatile pointers keep the pairs).
    EXPECT_GE(allocations_in([] { int* volatile p = new int(1); delete p; }), 1u);
    EXPECT_GE(allocations_in([] { void* volatile p = std::malloc(16); std::free(p); }), 1u);
    EXPECT_GE(allocations_in([] { EXPECT_EQ(TDateTime(2017, 3, 9, 8, 5, 7).asDateString().length(), 10u); }), 1u);
    // The C runtime loads the time-zone rules on the first local-time
    // conversion of the process; that allocation is the runtime's, made once.
    TDateTime().loadcurrentlocal();
    for (const auto& probe : probes()) {
        if (probe.traits & kMakesText) continue;
        const auto inputs = tuples(probe, 2000);
        uint64_t seen = 0;
        for (const auto& args : inputs) seen += allocations_in([&] { probe.call(args.data()); });
        EXPECT_EQ(seen, 0u) << probe.name << " allocated over " << inputs.size() << " calls";
    }
}
#endif

TEST(Timing, EveryCallIsBounded) {
    using clock = std::chrono::steady_clock;
    int64_t worst = 0;
    std::string slowest;
    for (const auto& probe : probes()) {
        for (const auto& args : tuples(probe, 4000)) {
            int64_t best = INT64_MAX;
            for (int r = 0; r < 5; ++r) {
                const auto start = clock::now();
                const uint64_t digest = probe.call(args.data());
                const auto stop = clock::now();
                asm volatile("" : : "r"(digest) : "memory");  // keep the call
                best = std::min<int64_t>(best, std::chrono::duration_cast<std::chrono::nanoseconds>(stop - start).count());
            }
            if (best > worst) {
                worst = best;
                slowest = probe.name;
                slowest += ' ' + ::testing::PrintToString(args);
            }
#ifdef QEL_TIMING_BOUND_NS
            ASSERT_LE(best, QEL_TIMING_BOUND_NS) << probe.name << " with arguments " << ::testing::PrintToString(args);
#endif
        }
    }
    std::printf("slowest: %s, %lld ns\n", slowest.c_str(), static_cast<long long>(worst));
}

}  // namespace
