// TWideString: an owned, NUL-terminated string of 16-bit code units, and a
// printf-style formatter whose format is itself 16-bit text.
#include "qel_common.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

const unsigned short kEmpty[1] = {0};

size_t wide_length(const unsigned short* text) noexcept {
    size_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

bool is_one_of(unsigned short c, const char* set) noexcept {
    for (; *set; ++set)
        if (c == static_cast<unsigned char>(*set)) return true;
    return false;
}

// One conversion of a format: the flags, width and precision as written, with
// '*' already replaced by the int argument it names.
struct Conversion {
    std::string flags;
    int width = -1;      // -1: none
    int precision = -1;  // -1: none
    std::string length;  // "", "h", "hh", "l", "ll"
    unsigned short type = 0;
};

void pad(std::vector<unsigned short>& out, size_t n) { out.insert(out.end(), n, ' '); }

// Appends `units` with the width and the '-' flag of `c` applied.
void put_padded(std::vector<unsigned short>& out, const Conversion& c, const unsigned short* units,
                size_t n) {
    const size_t width = c.width > 0 ? static_cast<size_t>(c.width) : 0;
    const bool left = c.flags.find('-') != std::string::npos;
    if (!left && width > n) pad(out, width - n);
    out.insert(out.end(), units, units + n);
    if (left && width > n) pad(out, width - n);
}

// Formats one integer conversion through the C library's snprintf, then
// widens the (ASCII) digits.
void put_integer(std::vector<unsigned short>& out, const Conversion& c, va_list* args) {
    std::string directive = "%" + c.flags;
    if (c.width >= 0) directive += std::to_string(c.width);
    if (c.precision >= 0) directive += "." + std::to_string(c.precision);
    const bool is_signed = c.type == 'd' || c.type == 'i';
    char text[32];
    std::string big;
    auto format = [&](auto value, const char* length) {
        const std::string full = directive + length + static_cast<char>(c.type);
        const int needed = std::snprintf(text, sizeof text, full.c_str(), value);
        if (needed < 0) return;
        if (static_cast<size_t>(needed) < sizeof text) {
            big.assign(text, static_cast<size_t>(needed));
        } else {
            big.assign(static_cast<size_t>(needed) + 1, '\0');
            (void)std::snprintf(&big[0], big.size(), full.c_str(), value);  // length known: measured above
            big.resize(static_cast<size_t>(needed));
        }
    };
    if (c.length == "ll") {
        if (is_signed) format(va_arg(*args, long long), "ll");
        else format(va_arg(*args, unsigned long long), "ll");
    } else if (c.length == "l") {
        if (is_signed) format(va_arg(*args, long), "l");
        else format(va_arg(*args, unsigned long), "l");
    } else {
        // h and hh arguments arrive promoted to int; the conversion narrows.
        if (is_signed) format(va_arg(*args, int), c.length.c_str());
        else format(va_arg(*args, unsigned int), c.length.c_str());
    }
    for (char ch : big) out.push_back(static_cast<unsigned char>(ch));
}

}  // namespace

TWideString::TWideString() noexcept : data_(nullptr), size_(0), capacity_(0) {}

TWideString::TWideString(const unsigned short* text) : TWideString() {
    if (text) assign(text, wide_length(text));
}

TWideString::TWideString(const TWideString& other) : TWideString() {
    assign(other.c_str(), other.size_);
}

TWideString& TWideString::operator=(const TWideString& other) {
    if (this != &other) assign(other.c_str(), other.size_);
    return *this;
}

TWideString::~TWideString() { std::free(data_); }

TWideString& TWideString::operator=(const unsigned short* text) {
    assign(text ? text : kEmpty, text ? wide_length(text) : 0);
    return *this;
}

TWideString& TWideString::operator+=(const unsigned short* text) {
    if (text) append(text, wide_length(text));
    return *this;
}

void TWideString::Clear() noexcept {
    size_ = 0;
    if (data_) data_[0] = 0;
}

const unsigned short* TWideString::c_str() const noexcept { return data_ ? data_ : kEmpty; }

TWideString& TWideString::Sprintf(const unsigned short* format, ...) {
    std::vector<unsigned short> out;
    if (format) {
        out.reserve(2 * wide_length(format) + 16);  // room for typical conversions: one allocation
        va_list args;
        va_start(args, format);
        try {
            const unsigned short* p = format;
            while (*p) {
                if (*p != '%') {
                    out.push_back(*p++);
                    continue;
                }
                const unsigned short* const start = p++;
                if (*p == '%') {
                    out.push_back('%');
                    ++p;
                    continue;
                }
                Conversion c;
                while (*p && is_one_of(*p, "-+ 0#")) c.flags += static_cast<char>(*p++);
                if (*p == '*') {
                    c.width = va_arg(args, int);
                    if (c.width < 0) {  // a negative '*' width means left-justified
                        c.flags += '-';
                        c.width = c.width == INT32_MIN ? INT32_MAX : -c.width;
                    }
                    ++p;
                } else {
                    for (c.width = *p >= '0' && *p <= '9' ? 0 : -1; *p >= '0' && *p <= '9'; ++p)
                        c.width = c.width > 99999999 ? c.width : c.width * 10 + (*p - '0');
                }
                if (*p == '.') {
                    ++p;
                    if (*p == '*') {
                        c.precision = va_arg(args, int);
                        if (c.precision < 0) c.precision = -1;  // as if omitted
                        ++p;
                    } else {
                        for (c.precision = 0; *p >= '0' && *p <= '9'; ++p)
                            c.precision = c.precision > 99999999 ? c.precision
                                                                 : c.precision * 10 + (*p - '0');
                    }
                }
                while (*p == 'h' || *p == 'l') c.length += static_cast<char>(*p++);
                c.type = *p;
                const bool known_length = c.length.empty() || c.length == "h" ||
                                          c.length == "hh" || c.length == "l" || c.length == "ll";
                if (known_length && is_one_of(c.type, "diuxXo")) {
                    put_integer(out, c, &args);
                    ++p;
                } else if (c.length.empty() && c.type == 'c') {
                    const auto unit = static_cast<unsigned short>(va_arg(args, int));
                    put_padded(out, c, &unit, 1);
                    ++p;
                } else if (c.length.empty() && c.type == 's') {
                    const unsigned short* text = va_arg(args, const unsigned short*);
                    if (!text) text = kEmpty;
                    size_t n = 0;
                    while (text[n] && (c.precision < 0 || n < static_cast<size_t>(c.precision))) ++n;
                    put_padded(out, c, text, n);
                    ++p;
                } else {
                    // Not a conversion we know: copy it as written (without
                    // consuming an argument), up to and including its letter.
                    if (*p) ++p;
                    out.insert(out.end(), start, p);
                }
            }
        } catch (...) {
            va_end(args);
            throw;
        }
        va_end(args);
    }
    assign(out.empty() ? kEmpty : out.data(), out.size());
    return *this;
}

void TWideString::reserve(size_t n) {
    if (n < capacity_) return;  // capacity_ counts the terminating NUL
    size_t cap = capacity_ ? capacity_ : 16;
    while (cap <= n) cap *= 2;
    auto* grown = static_cast<unsigned short*>(std::realloc(data_, cap * sizeof(unsigned short)));
    if (!grown) throw std::bad_alloc();
    data_ = grown;
    capacity_ = cap;
}

void TWideString::assign(const unsigned short* text, size_t n) {
    if (n == 0) {
        Clear();
        return;
    }
    reserve(n);
    std::memmove(data_, text, n * sizeof(unsigned short));
    data_[n] = 0;
    size_ = n;
}

void TWideString::append(const unsigned short* text, size_t n) {
    if (n == 0) return;
    const bool inside = data_ && text >= data_ && text < data_ + size_;
    const size_t offset = inside ? static_cast<size_t>(text - data_) : 0;
    reserve(size_ + n);
    if (inside) text = data_ + offset;
    std::memmove(data_ + size_, text, n * sizeof(unsigned short));
    size_ += n;
    data_[size_] = 0;
}
