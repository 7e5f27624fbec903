// TAnsiString::StrToInt: a decimal number read from a fixed-width field of a
// NUL-terminated text, e.g. the "2017" of "2017-03-09" at (0, 4).
#include "qel_common.h"

#include <cstdint>

QelLong TAnsiString::StrToInt(const char* text, QelLong start, QelLong count) noexcept {
    if (!text || start < 0 || count <= 0) return 0;
    // Walk to the field one byte at a time so that a text shorter than
    // `start` ends the walk at its NUL instead of reading beyond it.
    for (QelLong i = 0; i < start; ++i)
        if (text[i] == '\0') return 0;
    const char* const field = text + start;

    QelLong i = 0;
    bool negative = false;
    if (field[0] == '+' || field[0] == '-') {
        negative = (field[0] == '-');
        i = 1;
    }
    // Accumulate the magnitude in 64 bits and stop growing it once it has left
    // the 32-bit range, so that no digit count can overflow. A NUL is not a
    // digit, so the loop never passes the end of the text.
    int64_t magnitude = 0;
    for (; i < count && field[i] >= '0' && field[i] <= '9'; ++i)
        if (magnitude <= INT64_C(1) << 32) magnitude = magnitude * 10 + (field[i] - '0');
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<QelLong>(value);
}
