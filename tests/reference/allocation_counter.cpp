// malloc, calloc and realloc are defined here, in the executable, ahead of
// the C library's: the dynamic linker binds every shared object of the
// process (qel_datetime, qel_common, the C++ runtime, ICU) to these
// definitions, which count and hand on to glibc's own __libc_* entry points.
// operator new is replaced as well, so that a C++ runtime that does not go
// through malloc is still seen. Under AddressSanitizer or ThreadSanitizer,
// whose runtimes own malloc, the runtime's allocation hook counts instead.
#include "reference/allocation_counter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {
std::atomic<uint64_t> allocations{0};
void note() noexcept { allocations.fetch_add(1, std::memory_order_relaxed); }
}  // namespace

uint64_t qel::test::allocation_count() noexcept { return allocations.load(std::memory_order_relaxed); }

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
    if (void* p = malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return malloc(size ? size : 1); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return malloc(size ? size : 1); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
#endif
