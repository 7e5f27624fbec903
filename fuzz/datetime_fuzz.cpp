// Fuzzes TDateTime and TDate (every member but the text ones) and the packed
// C functions: construction, field access and setters, comparison, the day,
// week, month, year, minute and second steps, differences and durations.
// Every step is checked against the calendar worked out here in 128-bit
// arithmetic and the decoder, so no carry, mask or bound can slip.
#include "fuzz_support.h"

using namespace qel::fuzz;
using namespace qel::datetime;
namespace greg = qel::gregorian;

namespace {

constexpr Field kFields[] = {kSecond, kMinute, kHour, kDay, kMonth, kYear};

int64_t serial_of(DateTimeInt w, bool* valid) {
    DateInt s = greg::kNullDate;
    *valid = greg::TryEncodeDate(static_cast<uint16_t>(kYear.get(w)), static_cast<uint16_t>(kMonth.get(w)),
                                 static_cast<uint16_t>(kDay.get(w)), &s) == 1;
    return s;
}

// The word with its date moved by `days`, as every day-crossing step must
// leave it: unchanged for an invalid date or a target outside the decoder.
DateTimeInt moved(DateTimeInt w, __int128 days) {
    bool valid = false;
    const __int128 target = serial_of(w, &valid) + days;
    if (!valid || target < greg::kNullDate || target > greg::kLastDecodable) return w;
    const greg::CivilDate c = greg::decode(static_cast<int64_t>(target));
    return kDay.set(kMonth.set(kYear.set(w, c.year), c.month), c.day);
}

// A count of days that lands on or next to an edge of the calendar from the
// word's date: the day before 0001-01-01, 9999-12-31, 4095-12-31 (the last
// year of the 12-bit field) and 65535-12-31, the decoder's last day.
int64_t days_to_edge(Args& a, DateTimeInt w) {
    bool valid = false;
    const int64_t s = serial_of(w, &valid);
    const int64_t edges[] = {greg::kNullDate, greg::kLastSerial, greg::serial_from_civil(4095, 12, 31),
                             greg::kLastDecodable};
    return edges[a.raw<uint8_t>() % 4] - s + a.raw<int8_t>() % 3;  // |result| < 2.5e7
}

void check_construct(Args& a) {
    const int32_t y = a.year(), m = a.month(), d = a.day(), h = a.count(), mi = a.count(), s = a.count();
    const DateTimeInt w = pack(y, m, d, h, mi, s);
    QEL_FUZZ_CHECK(TDateTime(y, m, d, h, mi, s).value == w && EncodeMinuteTime(y, m, d, h, mi, s) == w);
    const DateTimeInt raw = a.word();
    TDateTime t(raw);
    QEL_FUZZ_CHECK(t.asUInt64() == raw && &t.asUInt64() == &t.value && &t.asDateTimeInt() == &t.value);
    QEL_FUZZ_CHECK(t.isNull() == (raw == 0) && TDateTime::null().value == 0 && TDateTime().value == 0);
    QEL_FUZZ_CHECK(t.year() == t.getYear());
    int32_t f[6] = {-1, -1, -1, -1, -1, -1};
    const uint8_t nulls = a.op();
    DecodeMinuteTime(raw, (nulls & 1) ? nullptr : &f[5], (nulls & 2) ? nullptr : &f[4],
                     (nulls & 4) ? nullptr : &f[3], (nulls & 8) ? nullptr : &f[2],
                     (nulls & 16) ? nullptr : &f[1], (nulls & 32) ? nullptr : &f[0]);
    for (int i = 0; i < 6; ++i)
        QEL_FUZZ_CHECK(f[i] == ((nulls >> (5 - i)) & 1 ? -1 : kFields[i].get(raw)));
    TDate date(static_cast<unsigned short>(y), static_cast<unsigned short>(m), static_cast<unsigned short>(d));
    TDate same;
    same.setdays(y, m, d);
    QEL_FUZZ_CHECK(same.wYear == date.wYear && same.wMonth == date.wMonth && same.wDay == date.wDay);
    QEL_FUZZ_CHECK(date.year() == static_cast<uint16_t>(y) && date.month() == static_cast<uint16_t>(m) &&
                   date.day() == static_cast<uint16_t>(d));
    TDate assigned;
    QEL_FUZZ_CHECK(&(assigned = date) == &assigned && assigned.asDateInt() == date.asDateInt());
    const TDateTime from_date(date);
    QEL_FUZZ_CHECK((from_date.value & kDateBits) == (pack(y, m, d, 0, 0, 0) & kDateBits));
    TDate back;
    back.fromDateTime(t);
    QEL_FUZZ_CHECK(back.year() == t.year() && back.month() == t.month() && back.day() == t.day());
    const DateInt as_serial = date.asDateInt();
    QEL_FUZZ_CHECK(as_serial == EncodeDate(date.wYear, date.wMonth, date.wDay));
    const DateInt serial = a.serial();
    const TDate decoded(serial);
    const greg::CivilDate c = greg::decode(serial);
    QEL_FUZZ_CHECK(decoded.wYear == c.year && decoded.wMonth == c.month && decoded.wDay == c.day);
    // The clock: today's date is valid; the reserved bits stay.
    TDateTime now(raw);
    now.loadcurrentlocal();
    QEL_FUZZ_CHECK(now.value == raw || (GDateIsValid(static_cast<uint16_t>(now.year()), static_cast<uint16_t>(now.month()),
                                                     static_cast<uint16_t>(now.day())) == 1 &&
                                        (now.value & kReservedBits) == (raw & kReservedBits)));
    TDate today(date);
    today.loadcurrentlocal();
    QEL_FUZZ_CHECK(GDateIsValid(today.wYear, today.wMonth, today.wDay) == 1 || today.asDateInt() == date.asDateInt());
    TDateTime set_serial(raw);
    set_serial.setDate(serial);
    QEL_FUZZ_CHECK(set_serial.value == kDay.set(kMonth.set(kYear.set(raw, c.year), c.month), c.day));
}

// Every setter changes its own bits and nothing else.
void check_setters(Args& a) {
    const DateTimeInt w = a.word();
    const int32_t v = a.count(), v2 = a.month(), v3 = a.day();
    TDateTime t(w);
    const uint8_t which = a.op() % 12;
    switch (which) {
        case 0: t.setsecond(v); break;
        case 1: t.setminute(v); break;
        case 2: t.sethour(v); break;
        case 3: t.setday(v); break;
        case 4: t.setMonth(v); break;
        case 5: t.setYear(v); break;
        case 6: t.setDate(v, v2, v3); break;
        case 7: t.setTime(v, v2, v3); break;
        case 8: t.setDateTime(v, v2, v3, v3, v2, v); break;
        case 9: t.setUInt64(static_cast<uint64_t>(v) * 0x9E3779B97F4A7C15u); break;
        case 10: t.copyDate(TDateTime(a.word())); break;
        default: t.clear(); break;
    }
    DateTimeInt want = w;
    if (which < 6) want = kFields[which].set(w, v);
    if (which == 6) want = pack(v, v2, v3, 0, 0, 0) | (w & ~kDateBits);
    if (which == 7) want = pack(0, 0, 0, v, v2, v3) | (w & ~kTimeBits);
    if (which == 8) want = pack(v, v2, v3, v3, v2, v) | (w & kReservedBits);
    if (which == 9) want = static_cast<uint64_t>(v) * 0x9E3779B97F4A7C15u;
    if (which == 10) QEL_FUZZ_CHECK(((t.value ^ w) & ~kDateBits) == 0);
    if (which == 11) want = 0;
    if (which != 10) QEL_FUZZ_CHECK(t.value == want);
}

void check_compare(Args& a) {
    DateTimeInt wa = a.word(), wb = a.flag() ? a.word() : wa ^ (a.raw<uint64_t>() & a.raw<uint64_t>());
    TDateTime x(wa), y(wb);
    const DateTimeInt ka = wa & kKeyBits, kb = wb & kKeyBits;
    QEL_FUZZ_CHECK((x < y) == (ka < kb) && (x <= y) == (ka <= kb));
    QEL_FUZZ_CHECK((x > y) == (ka > kb) && (x >= y) == (ka >= kb));
    QEL_FUZZ_CHECK((x == y) == (wa == wb) && (x == wb) == (wa == wb) && (x != wb) == (wa != wb));
    const bool same_date = ((wa ^ wb) & kDateBits) == 0;
    QEL_FUZZ_CHECK(x.dateEqual(y) == same_date && x.dateEqual(wb) == same_date);
    QEL_FUZZ_CHECK(wb == y.value);  // the word operands are only read
    TDateTime z;
    z = x;
    QEL_FUZZ_CHECK(z.value == wa);
}

void check_day_steps(Args& a) {
    const DateTimeInt w = a.word();
    const int32_t n = a.flag() ? a.count() : static_cast<int32_t>(days_to_edge(a, w));
    TDateTime t(w);
    if (a.flag()) {
        t.incDay(n);
        QEL_FUZZ_CHECK(t.value == moved(w, n));
    } else {
        t.incWeek(n);
        QEL_FUZZ_CHECK(t.value == moved(w, __int128{n} * 7) && IncWeek(w, n) == t.value);
    }
    // TDate keeps 16-bit fields: the same calendar, nothing masked.
    TDate d;
    d.setdays(a.year(), a.month(), a.day());
    const TDate before = d;
    d.incDay(n);
    DateInt s = 0;
    const bool valid = greg::TryEncodeDate(before.wYear, before.wMonth, before.wDay, &s) == 1;
    const int64_t target = s + int64_t{n};
    if (!valid || target < greg::kNullDate || target > greg::kLastDecodable) {
        QEL_FUZZ_CHECK(d.wYear == before.wYear && d.wMonth == before.wMonth && d.wDay == before.wDay);
    } else {
        const greg::CivilDate c = greg::decode(target);
        QEL_FUZZ_CHECK(d.wYear == c.year && d.wMonth == c.month && d.wDay == c.day);
    }
}

void check_month_steps(Args& a) {
    const DateTimeInt w = a.word();
    const int32_t n = a.count(), clamp = a.flag() ? 0 : a.count();
    const bool years = a.flag();
    TDateTime t(w);
    const bool ok = years ? t.incYear(n, clamp) : t.incMonth(n, clamp);
    // Month index since January of year 0, floor-divided by 12.
    const __int128 index = __int128{kYear.get(w)} * 12 + kMonth.get(w) - 1 + (years ? __int128{n} * 12 : n);
    __int128 year = index / 12, month0 = index % 12;
    if (month0 < 0) month0 += 12, --year;
    const auto y = static_cast<int64_t>(year);
    const auto m = static_cast<uint32_t>(month0 + 1);
    const auto day = static_cast<uint32_t>(kDay.get(w));
    const bool valid = greg::GDateValid(static_cast<uint16_t>(y), m, day);
    DateTimeInt want = kMonth.set(kYear.set(w, y), m);
    if (!valid && clamp != 0) want = kDay.set(want, greg::days_in_month(y, m));
    QEL_FUZZ_CHECK(t.value == want && ok == (valid || clamp != 0));
    if (!years) {
        DateTimeInt c = w;
        QEL_FUZZ_CHECK(IncMonth(&c, n, clamp) == (ok ? 1 : 0) && c == t.value);
        QEL_FUZZ_CHECK(IncMonth(nullptr, n, clamp) == 0);
    }
    if (clamp == 0 && kMonth.get(w) >= 1 && kMonth.get(w) <= 12 && !years && n != kI32Min) {
        t.incMonth(-n, 0);
        QEL_FUZZ_CHECK(t.value == w);  // and back again
    }
    TDate d;
    d.setdays(a.year(), a.month(), a.day());
    const TDate before = d;
    d.IncMonth(n);
    TDateTime via(before);
    via.incMonth(n, 0);
    QEL_FUZZ_CHECK(d.wYear == via.year() && d.wMonth == via.month() && d.wDay == via.day());
}

void check_time_steps(Args& a) {
    const DateTimeInt w = a.word();
    const bool in_seconds = a.flag();
    const int64_t n = a.flag() ? a.count64() : days_to_edge(a, w) * (in_seconds ? 86400 : 1440) + a.count();
    TDateTime t(w);
    const int64_t unit = in_seconds ? 86400 : 1440;
    const __int128 time_of_day = in_seconds
        ? __int128{kHour.get(w)} * 3600 + kMinute.get(w) * 60 + kSecond.get(w)
        : __int128{kHour.get(w)} * 60 + kMinute.get(w);
    const __int128 total = time_of_day + n;
    __int128 days = total / unit, rest = total % unit;
    if (rest < 0) rest += unit, --days;
    DateTimeInt want = days == 0 ? w : moved(w, days);
    if (in_seconds) {
        t.incSecond(n);
        want = kSecond.set(kMinute.set(kHour.set(want, static_cast<int64_t>(rest / 3600)),
                                       static_cast<int64_t>(rest % 3600 / 60)),
                           static_cast<int64_t>(rest % 60));
        QEL_FUZZ_CHECK(t.value == want && IncSecond(w, n) == want);
    } else {
        t.incMinute(n);
        want = kMinute.set(kHour.set(want, static_cast<int64_t>(rest / 60)), static_cast<int64_t>(rest % 60));
        QEL_FUZZ_CHECK(t.value == want && IncMinute(w, n) == want);
    }
}

void check_differences(Args& a) {
    const DateTimeInt x = a.word(), y = a.flag() ? a.word() : IncSecond(x, a.count64() % 100000000);
    bool vx = false, vy = false;
    const int64_t sx = serial_of(x, &vx), sy = serial_of(y, &vy);  // the null date when invalid
    const int64_t delta = (sx - sy) * 1440 + (kHour.get(x) - kHour.get(y)) * 60 + kMinute.get(x) - kMinute.get(y);
    QEL_FUZZ_CHECK(minutesDelta(x, y) == delta && minutesDelta(y, x) == -delta);
    QEL_FUZZ_CHECK(secondsDelta(x, y) == delta * 60 + kSecond.get(x) - kSecond.get(y));
    if (vx && vy && a.flag()) {  // and against chrono's clock for real moments
        using namespace std::chrono;
        auto at = [](DateTimeInt v, int64_t s) {
            return sys_days{kEpoch + days{s}} + hours{kHour.get(v)} + minutes{kMinute.get(v)} +
                   seconds{kSecond.get(v)};
        };
        QEL_FUZZ_CHECK(secondsDelta(x, y) == (at(x, sx) - at(y, sy)).count());
    }
    // A duration: both orders give the same fields, each with its first's
    // reserved bits; no field is negative, and all is zero for equal keys.
    const DateTimeInt d = FormatTwoTimeDelta(x, y), e = FormatTwoTimeDelta(y, x);
    QEL_FUZZ_CHECK(((d ^ e) & kKeyBits) == 0 && (d & kReservedBits) == (x & kReservedBits));
    QEL_FUZZ_CHECK((x & kKeyBits) != (y & kKeyBits) || (d & kKeyBits) == 0);
    const uint64_t s = a.flag() ? a.raw<uint64_t>() : static_cast<uint64_t>(a.count64());
    const DateTimeInt f = FormatSecondsDelta(s);
    const uint64_t days = s / 86400;
    QEL_FUZZ_CHECK((f & kReservedBits) == 0 && kSecond.get(f) == int32_t(s % 60) &&
                   kMinute.get(f) == int32_t(s / 60 % 60) && kHour.get(f) == int32_t(s / 3600 % 24));
    QEL_FUZZ_CHECK(uint64_t(kYear.get(f)) == days / 365 % 4096 &&
                   uint64_t(kMonth.get(f)) * 30 + uint64_t(kDay.get(f)) == days % 365 &&
                   kDay.get(f) < 30);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return run_operations(data, size,
                          {check_construct, check_setters, check_compare, check_day_steps, check_month_steps,
                           check_time_steps, check_differences});
}
