// A count of the heap allocations of the whole process, for the allocation
// test and the allocs/call column of the benchmarks. Link
// allocation_counter.cpp into the executable (never into a library): it
// defines malloc and operator new there.
#pragma once

#include <cstdint>

namespace qel::test {

// Allocations since the process started.
uint64_t allocation_count() noexcept;

}  // namespace qel::test
