// Any number of threads may call any export at once: ten threads run the
// whole probe workload together, each starting at a different place in it so
// that every family runs beside every other, and each must get exactly the
// digests of a single-threaded run. Under ThreadSanitizer (the tsan preset)
// any shared state written by an export is reported as a race. The probe list
// itself must name every export of the lists in tests/symbols.
#include <gtest/gtest.h>

#include <fstream>
#include <latch>
#include <map>
#include <string>
#include <thread>

#include "reliability/probes.h"

namespace {

using qel::reliability::kReadsClock;
using qel::reliability::Probe;
using qel::reliability::probes;
using qel::reliability::tuples;

TEST(Probes, OneForEveryOverloadOfEveryExport) {
    std::map<std::string, int> missing;  // name -> exports less probes
    for (const char* list : {"exports.txt", "exports_calendar.txt"}) {
        std::ifstream in(std::string(QEL_EXPORT_LISTS "/") + list);
        ASSERT_TRUE(in) << list;
        for (std::string line; std::getline(in, line);)
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
            const size_t offset = t * work.size() / kThreads;
            for (size_t i = 0; i < work.size(); ++i) {
                const size_t k = (i + offset) % work.size();
                got[t][k] = digest(work[k]);
            }
        });
    }
    for (auto& th : threads) th.join();
    for (size_t t = 0; t < kThreads; ++t)
        for (size_t k = 0; k < work.size(); ++k)
            ASSERT_EQ(got[t][k], expected[k]) << "thread " << t << ": " << work[k].probe->name << " with "
                                              << ::testing::PrintToString(work[k].args);
}

}  // namespace
