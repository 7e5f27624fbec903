// qel_bench: every hot path of the library beside its baselines, in one run.
//
//   qel_bench [benchmark flags]        the timed runs, then one table: CPU ns per
//                                      call (the fastest repetition), the
//                                      library's speed-up over each baseline and
//                                      the target it must reach, heap
//                                      allocations per call, and on how many
//                                      inputs each baseline agreed with the library
//   qel_bench --calls=N --only=F/I     N calls of implementation I of family F
//                                      and nothing else (bench/run --callgrind
//                                      counts instructions of this mode)
//   qel_bench --check                  only the agreement of every baseline with
//                                      the library on every input (a CTest test)
//   qel_bench --list                   the family/implementation names
//
// The exit status is 1 when a baseline that must give the library's answers
// did not, on some input: its ratio would compare different work.
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "harness.h"

namespace qel::bench {

std::vector<Impl>& registry() {
    static std::vector<Impl> impls;
    return impls;
}

namespace {

struct Result {
    double cpu_ns = 0;  // fastest repetition
    double allocs_per_call = 0;
    bool seen = false;
};

// Keeps the fastest repetition of each benchmark: on a shared machine the
// noise only ever adds time.
class TableReporter : public benchmark::BenchmarkReporter {
public:
    std::map<std::string, Result> results;

    bool ReportContext(const Context& context) override {
        const auto& cpu = context.cpu_info;
        std::printf("%d CPUs at %.0f MHz; load average", cpu.num_cpus, cpu.cycles_per_second / 1e6);
        for (double load : cpu.load_avg) std::printf(" %.2f", load);
        std::printf("\n");
        return true;
    }

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            Result& r = results[run.run_name.function_name];
            const double ns = run.GetAdjustedCPUTime();
            if (!r.seen || ns < r.cpu_ns) r.cpu_ns = ns;
            const auto allocs = run.counters.find("allocs/call");
            if (allocs != run.counters.end()) r.allocs_per_call = allocs->second.value;
            r.seen = true;
        }
        std::fputc('.', stderr);
    }
};

// Inputs on which each implementation gives the answer of the library's
// ("qel", registered first in its family).
std::vector<std::size_t> agreements() {
    const auto& impls = registry();
    std::vector<std::size_t> agree(impls.size(), 0);
    std::map<std::string, const Impl*> library;
    for (const Impl& impl : impls)
        if (impl.name == "qel" && !library.count(impl.family)) library[impl.family] = &impl;
    for (std::size_t k = 0; k < impls.size(); ++k) {
        const Impl* lib = library[impls[k].family];
        for (std::size_t i = 0; i < impls[k].inputs; ++i) agree[k] += impls[k].digest_of(i) == lib->digest_of(i);
    }
    return agree;
}

bool print_table(const TableReporter& reporter, const std::vector<std::size_t>& agree) {
    const auto& impls = registry();
    bool faithful = true;
    std::printf("\nCPU ns per call, fastest repetition; speed-up = baseline ns / qel ns; agrees = inputs on which\n"
                "the baseline gave the library's answer\n\n");
    std::printf("%-48s %-21s %8s %9s %-16s %11s %s\n", "family", "implementation", "ns/call", "speed-up",
                "target", "allocs/call", "agrees");
    // Families in the order of their first registration, each with all its rows.
    std::vector<std::string> families;
    for (const Impl& impl : impls)
        if (std::find(families.begin(), families.end(), impl.family) == families.end()) families.push_back(impl.family);
    for (const std::string& family : families) {
        double library_ns = 0;
        bool first_row = true;
        for (std::size_t k = 0; k < impls.size(); ++k) {
            const Impl& impl = impls[k];
            const auto found = reporter.results.find(impl.full_name());
            if (impl.family != family || found == reporter.results.end()) continue;
            const Result& r = found->second;
            char speedup[32] = "", target[32] = "", agreed[32] = "";
            if (impl.name == "qel") {
                library_ns = r.cpu_ns;
            } else {
                std::snprintf(agreed, sizeof agreed, "%zu/%zu", agree[k], impl.inputs);
                if (agree[k] != impl.inputs && impl.must_agree) faithful = false;
                if (library_ns > 0) {
                    const double ratio = r.cpu_ns / library_ns;
                    std::snprintf(speedup, sizeof speedup, "%.2fx", ratio);
                    if (impl.target > 0)
                        std::snprintf(target, sizeof target, ">= %gx %s", impl.target,
                                      ratio >= impl.target ? "met" : "MISSED");
                }
            }
            std::printf("%-48s %-21s %8.2f %9s %-16s %11.2f %s\n", first_row ? family.c_str() : "",
                        impl.name.c_str(), r.cpu_ns, speedup, target, r.allocs_per_call, agreed);
            first_row = false;
        }
    }
    return faithful;
}

// Prints each implementation that did not give the library's answer on every
// input; false if one of them had to.
bool report_disagreements(const std::vector<std::size_t>& agree) {
    // The allocation counter must see the heap, or its zeros prove nothing.
    const uint64_t before = allocations();
    int* probe = new int(1);
    benchmark::DoNotOptimize(probe);
    delete probe;
    bool faithful = allocations() > before;
    if (!faithful) std::printf("the allocation counter missed an allocation\n");
    for (std::size_t k = 0; k < registry().size(); ++k) {
        const Impl& impl = registry()[k];
        if (agree[k] == impl.inputs) continue;
        std::printf("%s: %zu of %zu inputs differ from the library%s\n", impl.full_name().c_str(),
                    impl.inputs - agree[k], impl.inputs, impl.must_agree ? "" : " (expected)");
        faithful = faithful && !impl.must_agree;
    }
    std::printf("%zu implementations checked\n", registry().size());
    return faithful;
}

// "--name=value" -> value, or nullptr.
const char* flag_value(const char* arg, const char* name) {
    const std::size_t n = std::strlen(name);
    return std::strncmp(arg, name, n) == 0 && arg[n] == '=' ? arg + n + 1 : nullptr;
}

}  // namespace
}  // namespace qel::bench

int main(int argc, char** argv) {
    using namespace qel::bench;
    register_gregorian();
    register_datetime();
    register_lunar();
    register_calendar();
#ifdef QEL_BENCH_HAVE_ICU
    register_icu();
#endif

    const char* calls = nullptr;
    const char* only = nullptr;
    bool check_only = false;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (const char* v = flag_value(argv[i], "--calls")) calls = v;
        else if (const char* v2 = flag_value(argv[i], "--only")) only = v2;
        else if (std::strcmp(argv[i], "--check") == 0) check_only = true;
        else if (std::strcmp(argv[i], "--list") == 0) {
            for (const Impl& impl : registry()) std::printf("%s\n", impl.full_name().c_str());
            return 0;
        } else rest.push_back(argv[i]);
    }

    if (calls || only) {
        for (const Impl& impl : registry()) {
            if (!only || impl.full_name() != only) continue;
            const uint64_t sum = impl.fixed(calls ? std::strtoull(calls, nullptr, 10) : impl.inputs);
            std::printf("%s: checksum %" PRIu64 "\n", only, sum);
            return 0;
        }
        std::fprintf(stderr, "no implementation named '%s' (--list shows them)\n", only ? only : "");
        return 2;
    }

    const std::vector<std::size_t> agree = agreements();
    if (check_only) return report_disagreements(agree) ? 0 : 1;
    for (Impl& impl : registry())
        benchmark::RegisterBenchmark(impl.full_name().c_str(), [&impl](benchmark::State& s) { impl.timed(s); })
            ->Unit(benchmark::kNanosecond);
    int bench_argc = static_cast<int>(rest.size());
    benchmark::Initialize(&bench_argc, rest.data());
    if (benchmark::ReportUnrecognizedArguments(bench_argc, rest.data())) return 2;
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::fputc('\n', stderr);
    if (!print_table(reporter, agree)) {
        std::fprintf(stderr, "a baseline disagreed with the library: its ratio compares different work\n");
        return 1;
    }
    return 0;
}
