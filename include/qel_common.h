/* qel_common.h — the string classes shared by the qel libraries.
 *
 * TAnsiString holds 8-bit text (GBK for the Chinese names of qel_datetime,
 * stored byte for byte, never converted); TWideString holds text of 16-bit code
 * units. Both own their storage, keep it NUL-terminated, and copy deeply.
 *
 * Allocation failure is the one error these classes report: it throws
 * std::bad_alloc out of whichever member had to grow the storage. Every member
 * that cannot allocate is noexcept.
 *
 * In C the classes are incomplete types: C code only passes pointers to them.
 */
#ifndef QEL_COMMON_H
#define QEL_COMMON_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) || defined(__CYGWIN__)
#  if defined(QEL_COMMON_BUILD)
#    define QEL_COMMON_API __declspec(dllexport)
#  elif defined(QEL_STATIC)
#    define QEL_COMMON_API
#  else
#    define QEL_COMMON_API __declspec(dllimport)
#  endif
#elif defined(__GNUC__) || defined(__clang__)
#  define QEL_COMMON_API __attribute__((visibility("default")))
#else
#  define QEL_COMMON_API
#endif

/* The interface's `long`: a signed 32-bit integer on every platform. Windows
 * spells it `long` (32-bit there), which keeps the DLLs' decorated names. */
#if defined(_WIN32)
typedef long QelLong;
#else
typedef int32_t QelLong;
#endif

#ifdef __cplusplus

class QEL_COMMON_API TAnsiString {
public:
    TAnsiString() noexcept;
    TAnsiString(const char* text);  // NUL-terminated; a null pointer gives ""
    TAnsiString(const TAnsiString& other);
    TAnsiString& operator=(const TAnsiString& other);
    virtual ~TAnsiString();

    TAnsiString& operator=(const char* text);   // replace; null means ""
    TAnsiString& operator+=(const char* text);  // append; null appends nothing
    void Clear() noexcept;                      // length 0, storage kept

    // printf-style formatting into this string, replacing its content; the
    // conversions are those of the C library's vsnprintf. Returns *this.
    TAnsiString& Sprintf(const char* format, ...);

    const char* c_str() const noexcept { return data_ ? data_ : ""; }
    size_t length() const noexcept { return size_; }

    // The integer written in the `count` characters of `text` that start at
    // offset `start`:
    //   - an optional '+' or '-' in the first of those characters, then decimal
    //     digits; reading stops at the first other character, at the end of the
    //     field, or at the terminating NUL (never read past it);
    //   - no digit (non-digit text, a field that starts at or after the NUL,
    //     a null `text`, `start` < 0 or `count` <= 0) gives 0;
    //   - a value outside the 32-bit range saturates to INT32_MIN / INT32_MAX.
    static QelLong StrToInt(const char* text, QelLong start, QelLong count) noexcept;

private:
    void assign(const char* text, size_t n);
    void append(const char* text, size_t n);
    void reserve(size_t n);

    char* data_;
    size_t size_;
    size_t capacity_;
};

class QEL_COMMON_API TWideString {
public:
    TWideString() noexcept;
    TWideString(const unsigned short* text);  // NUL-terminated; null gives empty
    TWideString(const TWideString& other);
    TWideString& operator=(const TWideString& other);
    virtual ~TWideString();

    TWideString& operator=(const unsigned short* text);
    TWideString& operator+=(const unsigned short* text);
    void Clear() noexcept;

    // printf-style formatting with a format of 16-bit code units, replacing the
    // content. Supported conversions: %d %i %u %x %X %o %c with the flags
    // "-+ 0#", a width and a precision (digits or '*') and the length modifiers
    // h, hh, l, ll; %s takes a NUL-terminated `const unsigned short*`; %% is a
    // percent sign. Any other conversion is copied to the output as written.
    // Code units outside ASCII in the format are copied unchanged.
    TWideString& Sprintf(const unsigned short* format, ...);

    const unsigned short* c_str() const noexcept;
    size_t length() const noexcept { return size_; }

private:
    void assign(const unsigned short* text, size_t n);
    void append(const unsigned short* text, size_t n);
    void reserve(size_t n);

    unsigned short* data_;
    size_t size_;
    size_t capacity_;
};

#else /* C: the classes are opaque */

typedef struct TAnsiString TAnsiString;
typedef struct TWideString TWideString;

#endif /* __cplusplus */

#endif /* QEL_COMMON_H */
