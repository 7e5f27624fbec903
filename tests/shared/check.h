// A check is a bool function whose QEL_CHECK lines return false at the first
// condition that fails, noting it; the unit tests sweep a check over ranges
// and hostile tables and print the note with the arguments.
#pragma once

#include <string>

namespace qel::check {

inline thread_local std::string failed;  // "file:line: condition" of the last failure

inline bool fail(const char* condition, const char* file, int line) {
    failed = std::string(file) + ":" + std::to_string(line) + ": " + condition;
    return false;
}

// `p`, or null when bit `bit` of `nulls` is set: the null pointers a check tries.
template <class T>
T* unless(unsigned nulls, int bit, T* p) { return (nulls >> bit) & 1 ? nullptr : p; }

}  // namespace qel::check

#define QEL_CHECK(cond)                                                           \
    do {                                                                          \
        if (!(cond)) return ::qel::check::fail(#cond, __FILE__, __LINE__);        \
    } while (0)
// A sub-check: its own note stands.
#define QEL_CHECK_ALL(expr)             \
    do {                                \
        if (!(expr)) return false;      \
    } while (0)
// For the unit tests (GoogleTest): a failed check ends the test with its note.
#define ASSERT_CHECK(expr) ASSERT_TRUE(expr) << ::qel::check::failed
