// No export of qel_datetime touches the heap, except those that return or
// fill a string (the string classes of qel_common own their storage).
//
// Allocations are counted for the whole process, in the test binary:
// - in a plain build, malloc, calloc and realloc are defined here, ahead of
//   the C library's (the dynamic linker binds every library of the process to
//   the executable's definitions), and hand on to glibc's __libc_* entry
//   points; operator new is replaced as well;
// - under AddressSanitizer or ThreadSanitizer, whose runtimes own malloc, the
//   runtime's allocation hook __sanitizer_malloc_hook counts instead.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "reliability/probes.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void note() noexcept {
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QEL_SANITIZER_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define QEL_SANITIZER_ALLOCATOR 1
#endif
#endif

#ifdef QEL_SANITIZER_ALLOCATOR
// The sanitizer runtimes call this (weak in the runtime) on every allocation.
extern "C" void __sanitizer_malloc_hook(const volatile void*, size_t) { note(); }
#else
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* malloc(size_t size) {
    note();
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    note();
    return __libc_calloc(count, size);
}
void* realloc(void* p, size_t size) {
    note();
    return __libc_realloc(p, size);
}
}  // extern "C"

void* operator new(size_t size) {
    note();
    if (void* p = __libc_malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
#endif

namespace {

using qel::reliability::kMakesText;
using qel::reliability::probes;
using qel::reliability::tuples;

// Allocations made while `body` runs.
template <class F>
long allocations_in(F&& body) {
    allocations = 0;
    counting = true;
    body();
    counting = false;
    return allocations.load();
}

// The counter must see allocations made inside the shared libraries, or the
// zero below proves nothing. (The volatile pointers keep the optimiser from
// eliding the allocation pairs.)
TEST(Allocation, CounterSeesTheProcessAndTheStringLibrary) {
    EXPECT_GE(allocations_in([] {
                  int* volatile p = new int(1);
                  delete p;
              }),
              1);
    EXPECT_GE(allocations_in([] {
                  void* volatile p = std::malloc(16);
                  std::free(p);
              }),
              1);
    EXPECT_GE(allocations_in([] { EXPECT_EQ(TDateTime(2017, 3, 9, 8, 5, 7).asDateString().length(), 10u); }), 1);
}

TEST(Allocation, NoExportButTheTextOnesAllocates) {
    // The C runtime loads the time-zone rules on the first local-time
    // conversion of the process; that allocation is the runtime's, made once.
    TDateTime().loadcurrentlocal();
    for (const auto& probe : probes()) {
        if (probe.traits & kMakesText) continue;
        const auto inputs = tuples(probe, 2000);
        long seen = 0;
        for (const auto& args : inputs) seen += allocations_in([&] { probe.call(args.data()); });
        EXPECT_EQ(seen, 0) << probe.name << " allocated over " << inputs.size() << " calls";
    }
}

}  // namespace
