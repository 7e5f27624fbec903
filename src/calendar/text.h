// UTF-8 output into a caller's buffer, snprintf-style: the result is the
// whole text's length in bytes; what fits is copied and NUL-terminated, cut
// back to a character boundary so that a short buffer never ends inside a
// character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "qel_calendar.h"

namespace qel::calendar {

// UTF-8 continuation bytes are 10xxxxxx.
constexpr bool is_continuation(char c) noexcept { return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u; }

inline int32_t write_text(std::string_view text, char* buf, size_t size) noexcept {
    if (size == 0) return static_cast<int32_t>(text.size());
    if (buf == nullptr) return QEL_E_ARGUMENT;
    size_t n = text.size() < size - 1 ? text.size() : size - 1;
    if (n < text.size())
        while (n > 0 && is_continuation(text[n])) --n;
    std::memcpy(buf, text.data(), n);
    buf[n] = '\0';
    return static_cast<int32_t>(text.size());
}

// A failed text call leaves "" in any buffer it was given.
inline int32_t fail_text(int32_t status, char* buf, size_t size) noexcept {
    if (buf != nullptr && size > 0) buf[0] = '\0';
    return status;
}

// A few names joined without allocating: room for the longest lunar date text
// (闰 + 十二月 + 三十, 18 bytes) and any name of the tables.
class ShortText {
public:
    void append(std::string_view s) noexcept {
        const size_t n = s.size() < sizeof text_ - length_ ? s.size() : sizeof text_ - length_;
        std::memcpy(text_ + length_, s.data(), n);
        length_ += n;
    }
    std::string_view view() const noexcept { return {text_, length_}; }

private:
    char text_[64] = {};
    size_t length_ = 0;
};

}  // namespace qel::calendar
