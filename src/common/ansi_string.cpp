// TAnsiString: an owned, NUL-terminated string of 8-bit bytes. The bytes are
// stored as given (GBK text stays GBK); growth doubles the capacity.
#include "qel_common.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

TAnsiString::TAnsiString() noexcept : data_(nullptr), size_(0), capacity_(0) {}

TAnsiString::TAnsiString(const char* text) : TAnsiString() {
    if (text) assign(text, std::strlen(text));
}

TAnsiString::TAnsiString(const TAnsiString& other) : TAnsiString() {
    assign(other.c_str(), other.size_);
}

TAnsiString& TAnsiString::operator=(const TAnsiString& other) {
    if (this != &other) assign(other.c_str(), other.size_);
    return *this;
}

TAnsiString::~TAnsiString() { std::free(data_); }

TAnsiString& TAnsiString::operator=(const char* text) {
    assign(text ? text : "", text ? std::strlen(text) : 0);
    return *this;
}

TAnsiString& TAnsiString::operator+=(const char* text) {
    if (text) append(text, std::strlen(text));
    return *this;
}

void TAnsiString::Clear() noexcept {
    size_ = 0;
    if (data_) data_[0] = '\0';
}

TAnsiString& TAnsiString::Sprintf(const char* format, ...) {
    if (!format) {
        Clear();
        return *this;
    }
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (needed < 0) {  // an encoding error in the format: leave the string empty
        va_end(again);
        Clear();
        return *this;
    }
    try {
        reserve(static_cast<size_t>(needed));
    } catch (...) {
        va_end(again);
        throw;
    }
    (void)std::vsnprintf(data_, static_cast<size_t>(needed) + 1, format, again);  // length known: measured above
    va_end(again);
    size_ = static_cast<size_t>(needed);
    return *this;
}

void TAnsiString::reserve(size_t n) {
    if (n < capacity_) return;  // capacity_ counts the terminating NUL
    size_t cap = capacity_ ? capacity_ : 16;
    while (cap <= n) cap *= 2;
    char* grown = static_cast<char*>(std::realloc(data_, cap));
    if (!grown) throw std::bad_alloc();
    data_ = grown;
    capacity_ = cap;
}

void TAnsiString::assign(const char* text, size_t n) {
    if (n == 0) {
        Clear();
        return;
    }
    reserve(n);
    std::memmove(data_, text, n);  // text may point into our own storage
    data_[n] = '\0';
    size_ = n;
}

void TAnsiString::append(const char* text, size_t n) {
    if (n == 0) return;
    // text may point into our own storage: remember where before growing.
    const bool inside = data_ && text >= data_ && text < data_ + size_;
    const size_t offset = inside ? static_cast<size_t>(text - data_) : 0;
    reserve(size_ + n);
    if (inside) text = data_ + offset;
    std::memmove(data_ + size_, text, n);
    size_ += n;
    data_[size_] = '\0';
}
