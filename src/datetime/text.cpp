// The packed date-time as text: "year-month-day hour:minute:second" out in
// 8-bit and 16-bit code units, "year-month-day" out, and the date read back
// from fixed character positions. The year is not padded; the other fields
// have at least two digits. Fields are rendered as stored, valid or not.
#include <array>
#include <cstddef>
#include <cstdint>

#include "datetime/packed.h"
#include "qel_common.h"
#include "qel_datetime.h"

namespace qel::datetime {
namespace {

inline constexpr char kDateTimeFormat[] = "%d-%02d-%02d %02d:%02d:%02d";
inline constexpr char kDateFormat[] = "%d-%02d-%02d";

// An ASCII text as 16-bit code units, terminator included: the wide format is
// the narrow one widened at compile time, so the two cannot drift apart.
template <size_t N>
constexpr std::array<unsigned short, N> widen(const char (&text)[N]) noexcept {
    std::array<unsigned short, N> wide{};
    for (size_t i = 0; i < N; ++i) wide[i] = static_cast<unsigned char>(text[i]);
    return wide;
}

inline constexpr std::array<unsigned short, sizeof kDateTimeFormat> kDateTimeFormatW = widen(kDateTimeFormat);
static_assert(kDateTimeFormatW[2] == u'-' && kDateTimeFormatW.back() == 0, "widened, NUL-terminated");

// Where fromDateString reads the date: "YYYY-MM-DD", positions counted from 0.
inline constexpr int32_t kYearStart = 0, kYearLength = 4;
inline constexpr int32_t kMonthStart = 5, kMonthLength = 2;
inline constexpr int32_t kDayStart = 8, kDayLength = 2;

}  // namespace
}  // namespace qel::datetime

using namespace qel::datetime;

// Each result is copy-constructed from the reference that Sprintf returns; the
// temporary it was formatted into is destroyed on the way out, also when the
// copy throws.
TAnsiString TDateTime::asDateTimeString() const {
    TAnsiString text;
    return TAnsiString(text.Sprintf(kDateTimeFormat, year(), month(), day(), hour(), minute(), second()));
}

TWideString TDateTime::asDateTimeStringW() const {
    TWideString text;
    return TWideString(
        text.Sprintf(kDateTimeFormatW.data(), year(), month(), day(), hour(), minute(), second()));
}

TAnsiString TDateTime::asDateString() const {
    TAnsiString text;
    return TAnsiString(text.Sprintf(kDateFormat, year(), month(), day()));
}

// The separators at positions 4 and 7 are not read, so "2016/12/28" parses as
// "2016-12-28"; StrToInt stops at the end of a short text. Not validated: the
// values are masked into the date fields as setDate stores them.
TDateTime& TDateTime::fromDateString(const char* text) noexcept {
    if (!text) return *this;
    return setDate(TAnsiString::StrToInt(text, kYearStart, kYearLength),
                   TAnsiString::StrToInt(text, kMonthStart, kMonthLength),
                   TAnsiString::StrToInt(text, kDayStart, kDayLength));
}
