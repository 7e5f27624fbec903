// No export of qel_datetime touches the heap, except those that return or
// fill a string (the string classes of qel_common own their storage).
// Allocations are counted for the whole process (allocation_counter.cpp).
#include <gtest/gtest.h>

#include <cstdlib>

#include "reference/allocation_counter.h"
#include "reliability/probes.h"

namespace {

using qel::reliability::kMakesText;
using qel::reliability::probes;
using qel::reliability::tuples;

// Allocations made while `body` runs.
template <class F>
uint64_t allocations_in(F&& body) {
    const uint64_t before = qel::test::allocation_count();
    body();
    return qel::test::allocation_count() - before;
}

// The counter must see allocations made inside the shared libraries, or the
// zero below proves nothing. (The volatile pointers keep the optimiser from
// eliding the allocation pairs.)
TEST(Allocation, CounterSeesTheProcessAndTheStringLibrary) {
    EXPECT_GE(allocations_in([] {
                  int* volatile p = new int(1);
                  delete p;
              }),
              1u);
    EXPECT_GE(allocations_in([] {
                  void* volatile p = std::malloc(16);
                  std::free(p);
              }),
              1u);
    EXPECT_GE(allocations_in([] { EXPECT_EQ(TDateTime(2017, 3, 9, 8, 5, 7).asDateString().length(), 10u); }), 1u);
}

TEST(Allocation, NoExportButTheTextOnesAllocates) {
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

}  // namespace
