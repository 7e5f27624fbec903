// Counts heap allocations of the whole process for the allocs/call column.
// malloc, calloc and realloc are defined here, in the executable, ahead of the
// C library's: the dynamic linker binds every shared object of the process
// (qel_datetime, qel_common, the C++ runtime, ICU) to these definitions, which
// count and hand on to glibc's own __libc_* entry points. operator new is
// replaced as well, so that a C++ runtime that does not go through malloc is
// still seen. Under AddressSanitizer or ThreadSanitizer, whose runtimes own
// malloc, the sanitizer's allocation hook counts instead. The benchmarks run
// on one thread: a plain counter will do.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "harness.h"

namespace {
uint64_t allocation_count = 0;
}  // namespace

uint64_t qel::bench::allocations() noexcept { return allocation_count; }

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QEL_SANITIZER_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define QEL_SANITIZER_ALLOCATOR 1
#endif
#endif

#ifdef QEL_SANITIZER_ALLOCATOR
// The sanitizer's runtime owns malloc; its allocation hook counts instead
// (the runtime installs a pair only when both hooks are given).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));
namespace {
void on_malloc(const volatile void*, size_t) { ++allocation_count; }
void on_free(const volatile void*) {}
[[maybe_unused]] const int hooks_installed = __sanitizer_install_malloc_and_free_hooks(on_malloc, on_free);
}  // namespace
#else
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);

void* malloc(size_t size) {
    ++allocation_count;
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    ++allocation_count;
    return __libc_calloc(count, size);
}
void* realloc(void* p, size_t size) {
    ++allocation_count;
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
