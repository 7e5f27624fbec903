// The checks of TDateTime, TDate and the packed C functions, for any words
// and counts: construction, field access and setters (each touches its own
// bits only), comparison, the day, week, month, year, minute and second
// steps, differences and durations, and text. Every step is checked against
// the calendar worked out here in 64-bit arithmetic (a sum that overflows is
// out of every range) and the day serials, so no carry, mask or bound can
// slip. datetime_test sweeps them over random and hostile words and counts.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "gregorian/civil.h"
#include "qel_datetime.h"
#include "shared/check.h"
#include "shared/oracle.h"

namespace qel::checks {

using namespace qel::word;
namespace greg = qel::gregorian;

inline constexpr Bits kFields[] = {kSecond, kMinute, kHour, kDay, kMonth, kYear};

inline DateInt serial_of_word(DateTimeInt w, bool* valid) {
    DateInt s = greg::kNullDate;
    *valid = greg::TryEncodeDate(static_cast<uint16_t>(kYear.get(w)), static_cast<uint16_t>(kMonth.get(w)),
                                 static_cast<uint16_t>(kDay.get(w)), &s) == 1;
    return s;
}

// The word with its date moved by `days`, as every day-crossing step must
// leave it: unchanged for an invalid date or a target outside the decoder.
inline DateTimeInt moved(DateTimeInt w, int64_t days) {
    bool valid = false;
    int64_t target = 0;
    if (__builtin_add_overflow(serial_of_word(w, &valid), days, &target) || !valid || target < greg::kNullDate ||
        target > greg::kLastDecodable)
        return w;
    const greg::CivilDate c = greg::decode(target);
    return kDay.set(kMonth.set(kYear.set(w, c.year), c.month), c.day);
}

// The constructors, the whole-word members and field access, DecodeMinuteTime
// with the null pointers of `nulls` (bits 0-5, second first), TDate beside
// TDateTime, the date of a serial, and the clock (a valid date; the reserved
// bits stay).
inline bool check_construct(int32_t y, int32_t m, int32_t d, int32_t h, int32_t mi, int32_t s, DateTimeInt raw,
                            uint8_t nulls, DateInt serial) {
    const DateTimeInt w = pack(y, m, d, h, mi, s);
    QEL_CHECK(TDateTime(y, m, d, h, mi, s).value == w && EncodeMinuteTime(y, m, d, h, mi, s) == w);
    TDateTime t(raw);
    QEL_CHECK(t.asUInt64() == raw && &t.asUInt64() == &t.value && &t.asDateTimeInt() == &t.value);
    QEL_CHECK(t.isNull() == (raw == 0) && TDateTime::null().value == 0 && TDateTime().value == 0 && t.year() == t.getYear());
    QEL_CHECK(t.year() == kYear.get(raw) && t.month() == kMonth.get(raw) && t.day() == kDay.get(raw) &&
              t.hour() == kHour.get(raw) && t.minute() == kMinute.get(raw) && t.second() == kSecond.get(raw));
    int32_t f[6] = {-1, -1, -1, -1, -1, -1};
    DecodeMinuteTime(raw, check::unless(nulls, 5, &f[5]), check::unless(nulls, 4, &f[4]), check::unless(nulls, 3, &f[3]),
                     check::unless(nulls, 2, &f[2]), check::unless(nulls, 1, &f[1]), check::unless(nulls, 0, &f[0]));
    for (int i = 0; i < 6; ++i) QEL_CHECK(f[i] == ((nulls >> i) & 1 ? -1 : kFields[i].get(raw)));
    const TDate date(static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(d));
    TDate same, assigned, back;
    same.setdays(y, m, d);
    QEL_CHECK(same.wYear == date.wYear && same.wMonth == date.wMonth && same.wDay == date.wDay);
    QEL_CHECK(date.year() == static_cast<uint16_t>(y) && date.month() == static_cast<uint16_t>(m) &&
              date.day() == static_cast<uint16_t>(d));
    QEL_CHECK(&(assigned = date) == &assigned && assigned.asDateInt() == date.asDateInt() &&
              date.asDateInt() == EncodeDate(date.wYear, date.wMonth, date.wDay));
    QEL_CHECK(TDateTime(date).value == (pack(y, m, d, 0, 0, 0) & kDateBits));
    back.fromDateTime(t);
    QEL_CHECK(back.year() == t.year() && back.month() == t.month() && back.day() == t.day());
    const greg::CivilDate c = greg::decode(serial);
    const TDate decoded(serial);
    QEL_CHECK(decoded.wYear == c.year && decoded.wMonth == c.month && decoded.wDay == c.day);
    TDateTime set_serial(raw), now(raw);
    QEL_CHECK(set_serial.setDate(serial).value == kDay.set(kMonth.set(kYear.set(raw, c.year), c.month), c.day));
    now.loadcurrentlocal();
    QEL_CHECK(now.value == raw ||
              (GDateIsValid(static_cast<uint16_t>(now.year()), static_cast<uint16_t>(now.month()),
                            static_cast<uint16_t>(now.day())) == 1 &&
               (now.value & kReservedBits) == (raw & kReservedBits)));
    TDate today(date);
    today.loadcurrentlocal();
    QEL_CHECK(GDateIsValid(today.wYear, today.wMonth, today.wDay) == 1 || today.asDateInt() == date.asDateInt());
    return true;
}

// Setter `which` (0-5 the fields from the second up, 6 setDate, 7 setTime,
// 8 setDateTime, 9 setUInt64, 10 copyDate from `other`, 11 clear) changes
// its own bits and nothing else.
inline bool check_setter(DateTimeInt w, int32_t which, int32_t v, int32_t v2, int32_t v3, DateTimeInt other) {
    TDateTime t(w);
    DateTimeInt want = w;
    switch (which) {
        case 0: t.setsecond(v); break;
        case 1: t.setminute(v); break;
        case 2: t.sethour(v); break;
        case 3: t.setday(v); break;
        case 4: t.setMonth(v); break;
        case 5: t.setYear(v); break;
        case 6: t.setDate(v, v2, v3), want = pack(v, v2, v3, 0, 0, 0) | (w & ~kDateBits); break;
        case 7: t.setTime(v, v2, v3), want = pack(0, 0, 0, v, v2, v3) | (w & ~kTimeBits); break;
        case 8: t.setDateTime(v, v2, v3, v3, v2, v), want = pack(v, v2, v3, v3, v2, v) | (w & kReservedBits); break;
        case 9: t.setUInt64(uint64_t(v) * 0x9E3779B97F4A7C15u), want = uint64_t(v) * 0x9E3779B97F4A7C15u; break;
        case 10: t.copyDate(TDateTime(other)), want = (w & ~kDateBits) | (other & kDateBits); break;
        default: t.clear(), want = 0; break;
    }
    if (which >= 0 && which < 6) want = kFields[which].set(w, v);
    QEL_CHECK(t.value == want);
    return true;
}

// Ordering by the 38 bits of the fields, equality by all 64, and dateEqual
// by the date's bits; word operands are only read.
inline bool check_compare(DateTimeInt wa, DateTimeInt wb) {
    TDateTime x(wa), y(wb), z;
    const DateTimeInt ka = wa & kKeyBits, kb = wb & kKeyBits;
    QEL_CHECK((x < y) == (ka < kb) && (x <= y) == (ka <= kb) && (x > y) == (ka > kb) && (x >= y) == (ka >= kb));
    QEL_CHECK((x == y) == (wa == wb) && (x == wb) == (wa == wb) && (x != wb) == (wa != wb));
    const bool same_date = ((wa ^ wb) & kDateBits) == 0;
    QEL_CHECK(x.dateEqual(y) == same_date && x.dateEqual(wb) == same_date && wb == y.value);
    z = x;
    QEL_CHECK(z.value == wa);
    return true;
}

// Day and week steps of a word, and the day step of a TDate of the given
// fields (16-bit: the same calendar, nothing masked).
inline bool check_day_steps(DateTimeInt w, int32_t n, int32_t y, int32_t m, int32_t d) {
    TDateTime t(w), u(w);
    QEL_CHECK(t.incDay(n).value == moved(w, n));
    QEL_CHECK(u.incWeek(n).value == moved(w, int64_t{n} * 7) && IncWeek(w, n) == u.value);
    TDate date;
    date.setdays(y, m, d);
    const TDate before = date;
    date.incDay(n);
    DateInt s = 0, target = 0;
    if (!greg::TryEncodeDate(before.wYear, before.wMonth, before.wDay, &s) || (target = s + n) < greg::kNullDate ||
        target > greg::kLastDecodable) {
        QEL_CHECK(date.wYear == before.wYear && date.wMonth == before.wMonth && date.wDay == before.wDay);
    } else {
        const greg::CivilDate c = greg::decode(target);
        QEL_CHECK(date.wYear == c.year && date.wMonth == c.month && date.wDay == c.day);
    }
    return true;
}

// Month and year steps: the month index from January of year 0, floor-divided
// by 12, the year stored in 12 bits; a day the new month lacks clamped to its
// last (the leap rule on the full year) or kept and reported. TDate::IncMonth
// is TDateTime's step without the clamp.
inline bool check_month_steps(DateTimeInt w, int32_t n, int32_t clamp, bool years, int32_t y, int32_t m, int32_t d) {
    TDateTime t(w);
    const bool ok = years ? t.incYear(n, clamp) : t.incMonth(n, clamp);
    const int64_t index = int64_t{kYear.get(w)} * 12 + kMonth.get(w) - 1 + (years ? int64_t{n} * 12 : n);
    const int64_t month0 = (index % 12 + 12) % 12, year = (index - month0) / 12;
    const auto month = static_cast<uint32_t>(month0 + 1), day = static_cast<uint32_t>(kDay.get(w));
    const bool valid = greg::GDateValid(static_cast<uint16_t>(year), month, day);
    DateTimeInt want = kMonth.set(kYear.set(w, year), month);
    if (!valid && clamp != 0) want = kDay.set(want, greg::days_in_month(year, month));
    QEL_CHECK(t.value == want && ok == (valid || clamp != 0));
    if (!years) {
        DateTimeInt c = w;
        QEL_CHECK(IncMonth(&c, n, clamp) == (ok ? 1 : 0) && c == t.value && IncMonth(nullptr, n, clamp) == 0);
        if (clamp == 0 && kMonth.get(w) >= 1 && kMonth.get(w) <= 12 && n != INT32_MIN) {
            t.incMonth(-n, 0);
            QEL_CHECK(t.value == w);  // and back again
        }
    }
    TDate date;
    date.setdays(y, m, d);
    TDateTime via(date);
    via.incMonth(n, 0);
    date.IncMonth(n);
    QEL_CHECK(date.wYear == via.year() && date.wMonth == via.month() && date.wDay == via.day());
    return true;
}

// Minute and second steps: the time of day plus n, floor-divided by the day,
// moves the date by the quotient (only when it is not 0) and leaves the
// remainder as the time.
inline bool check_time_steps(DateTimeInt w, int64_t n, bool in_seconds) {
    const int64_t unit = in_seconds ? 86400 : 1440;
    const int64_t time_of_day = in_seconds ? kHour.get(w) * 3600 + kMinute.get(w) * 60 + kSecond.get(w)
                                           : kHour.get(w) * 60 + kMinute.get(w);
    // n + time_of_day, floor-divided, without forming a sum that overflows.
    int64_t days = n / unit - (n % unit < 0), rest = (n % unit + unit) % unit + time_of_day;
    days += rest / unit, rest %= unit;
    DateTimeInt want = days == 0 ? w : moved(w, days);
    TDateTime t(w);
    if (in_seconds) {
        want = kSecond.set(kMinute.set(kHour.set(want, rest / 3600), rest % 3600 / 60), rest % 60);
        QEL_CHECK(t.incSecond(n).value == want && IncSecond(w, n) == want);
    } else {
        want = kMinute.set(kHour.set(want, rest / 60), rest % 60);
        QEL_CHECK(t.incMinute(n).value == want && IncMinute(w, n) == want);
    }
    return true;
}

// Distances in minutes and seconds (an invalid date counts as the null date;
// chrono's clock for real moments), durations of both orders (each with its
// first's reserved bits, no negative field, zero for equal keys), and a
// count of seconds as a duration of 365-day years and 30-day months.
inline bool check_differences(DateTimeInt x, DateTimeInt y, uint64_t s) {
    bool vx = false, vy = false;
    const int64_t sx = serial_of_word(x, &vx), sy = serial_of_word(y, &vy);
    const int64_t delta = (sx - sy) * 1440 + (kHour.get(x) - kHour.get(y)) * 60 + kMinute.get(x) - kMinute.get(y);
    QEL_CHECK(minutesDelta(x, y) == delta && minutesDelta(y, x) == -delta);
    QEL_CHECK(secondsDelta(x, y) == delta * 60 + kSecond.get(x) - kSecond.get(y));
    if (vx && vy)
        QEL_CHECK(secondsDelta(x, y) == (oracle::time_of(TDateTime(x)) - oracle::time_of(TDateTime(y))).count());
    const DateTimeInt dxy = FormatTwoTimeDelta(x, y), dyx = FormatTwoTimeDelta(y, x);
    QEL_CHECK(((dxy ^ dyx) & kKeyBits) == 0 && (dxy & kReservedBits) == (x & kReservedBits));
    QEL_CHECK((x & kKeyBits) != (y & kKeyBits) || (dxy & kKeyBits) == 0);
    const DateTimeInt f = FormatSecondsDelta(s);
    const uint64_t days = s / 86400;
    QEL_CHECK((f & kReservedBits) == 0 && kSecond.get(f) == int32_t(s % 60) && kMinute.get(f) == int32_t(s / 60 % 60) &&
              kHour.get(f) == int32_t(s / 3600 % 24));
    QEL_CHECK(uint64_t(kYear.get(f)) == days / 365 % 4096 &&
              uint64_t(kMonth.get(f)) * 30 + uint64_t(kDay.get(f)) == days % 365 && kDay.get(f) < 30);
    return true;
}

// The three renderings of a word against snprintf (the 16-bit one code unit
// by code unit); a four-digit year reads back from the fixed positions into
// `other`, whose time and reserved bits stay.
inline bool check_render(DateTimeInt w, DateTimeInt other) {
    const TDateTime t(w);
    char want[64];
    std::snprintf(want, sizeof want, "%d-%02d-%02d %02d:%02d:%02d", t.year(), t.month(), t.day(), t.hour(), t.minute(),
                  t.second());
    const TAnsiString text = t.asDateTimeString(), date = t.asDateString();
    QEL_CHECK(std::strcmp(text.c_str(), want) == 0 && text.length() == std::strlen(want));
    const TWideString wide = t.asDateTimeStringW();
    QEL_CHECK(wide.length() == text.length());
    for (size_t i = 0; i <= text.length(); ++i) QEL_CHECK(wide.c_str()[i] == static_cast<unsigned char>(text.c_str()[i]));
    const size_t date_length = static_cast<size_t>(std::strchr(want, ' ') - want);
    QEL_CHECK(date.length() == date_length && std::strncmp(date.c_str(), want, date_length) == 0);
    if (t.year() >= 1000) {
        TDateTime back(other);
        back.fromDateString(text.c_str());
        QEL_CHECK((back.value & kDateBits) == (w & kDateBits) && (back.value & ~kDateBits) == (other & ~kDateBits));
    }
    return true;
}

// fromDateString of any NUL-terminated text: the three fixed fields as
// StrToInt reads them, masked into the date bits; a null text changes nothing.
inline bool check_parse(const char* text, DateTimeInt w) {
    TDateTime t(w);
    QEL_CHECK(&t.fromDateString(text) == &t);
    const DateTimeInt want = pack(TAnsiString::StrToInt(text, 0, 4), TAnsiString::StrToInt(text, 5, 2),
                                  TAnsiString::StrToInt(text, 8, 2), 0, 0, 0);
    QEL_CHECK((t.value & kDateBits) == want && (t.value & ~kDateBits) == (w & ~kDateBits));
    t.fromDateString(nullptr);
    QEL_CHECK((t.value & kDateBits) == want);
    return true;
}

}  // namespace qel::checks
