// Every export of qel_datetime and qel_calendar as a probe: a call with its
// arguments drawn from per-parameter lists of hostile and meaningful values,
// reduced to one 64-bit digest of everything the call returns or writes. The thread, the
// allocation and the timing tests all walk this one list, so an export added
// here is covered by all three.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <random>
#include <vector>

#include "calendar/terms.h"
#include "datetime/packed.h"
#include "gregorian/civil.h"
#include "qel_calendar.h"
#include "qel_common.h"
#include "qel_datetime.h"

namespace qel::reliability {

// Parameter kinds; each has its own list of values (values_of).
enum class Kind : uint8_t {
    Year, Month, Day, Leap, Serial, Count, Count64, Word, Small, Term, Flag, Nulls, Text,
    Instant, Clock, Index, Options, Size, Workday, Table
};

inline constexpr int64_t kI32Min = std::numeric_limits<int32_t>::min();
inline constexpr int64_t kI32Max = std::numeric_limits<int32_t>::max();
inline constexpr int64_t kI64Min = std::numeric_limits<int64_t>::min();
inline constexpr int64_t kI64Max = std::numeric_limits<int64_t>::max();

// Instants (seconds since 1970 UTC) at 00:00 UTC+8 of a day serial, and the
// ends of qel_calendar's tables.
constexpr int64_t cst_midnight(int64_t serial) { return (serial - QEL_EPOCH_UNIX) * 86400 - 8 * 3600; }
inline constexpr int64_t kFirstInstant = cst_midnight(QEL_FIRST_SERIAL);
inline constexpr int64_t kLastInstant = cst_midnight(QEL_LAST_SERIAL + 1) - 1;
inline constexpr int64_t kFirstTerm = qel::calendar::kTermInstants.front();
inline constexpr int64_t kLastTerm = qel::calendar::kTermInstants.back();

inline const std::vector<int64_t>& values_of(Kind kind) {
    using datetime::pack;
    namespace greg = gregorian;
    static const std::vector<int64_t> lists[] = {
        // Year: both ends of 16 and 32 bits, of the Gregorian range, the
        // 12-bit field and the lunar table.
        {kI32Min, -1, 0, 1, 1899, 1900, 2017, 2033, 2100, 2101, 4095, 9999, 10000, 65535, 65536, kI32Max},
        {kI32Min, -1000000000, -1, 0, 1, 6, 11, 12, 13, 15, 1000000000, kI32Max},  // Month
        {kI32Min, -1, 0, 1, 15, 29, 30, 31, 32, kI32Max},                          // Day
        {0, 1, 2, -1, kI32Min, kI32Max},                                           // Leap flag
        {kI64Min, kI64Min + 1, -(int64_t{1} << 40), kI32Min, greg::kNullDate - 1, greg::kNullDate,
         greg::kFirstSerial, 0, 1, 32, 73415, 73443, greg::kLastSerial, greg::kLastDecodable,
         greg::kLastDecodable + 1, kI32Max, int64_t{1} << 40, kI64Max},             // Serial
        {kI32Min, -1000000000, -2412, -13, -1, 0, 1, 12, 13, 2412, 1000000000, kI32Max},  // Count
        {kI64Min, kI64Min + 1, -(int64_t{1} << 50), kI32Min, -86400, -1, 0, 1, 1440, 86400, kI32Max,
         int64_t{1} << 50, kI64Max - 1, kI64Max},                                  // Count64
        {0, -1, static_cast<int64_t>(pack(4095, 15, 31, 31, 63, 63)), static_cast<int64_t>(pack(1, 1, 1, 0, 0, 0)),
         static_cast<int64_t>(pack(2000, 2, 29, 23, 59, 58)), static_cast<int64_t>(pack(2017, 6, 30, 24, 60, 60)),
         static_cast<int64_t>(pack(4095, 12, 31, 23, 59, 59)), static_cast<int64_t>(pack(0, 0, 0, 0, 0, 0) | 1ull << 40),
         static_cast<int64_t>(pack(2100, 12, 31, 0, 0, 0) | datetime::kReservedBits)},  // Word
        {0, 1, 4, 5, 6, 7, 8, 255},                                                // Small (8-bit)
        {kI32Min, -1, 0, 1, 11, 23, 24, 100, kI32Max},                             // Term
        {0, 1, -1, kI32Min},                                                       // Flag
        {0, 1, 2, 4, 8, 0x7F},                                                     // Nulls (bit mask)
        {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},                                    // Text (index)
        // Instant: the ends of the integer type and of 0001-9999 in UTC+8,
        // 1900-01-01, the first and last solar terms, the 立春 of 1900 and
        // 2101-01-01 (where the pillars begin and end), 1970, the 2000 equinox.
        {kI64Min, kI64Min + 1, kFirstInstant - 1, kFirstInstant, cst_midnight(2), kFirstTerm - 1, kFirstTerm,
         qel::calendar::kTermInstants[2] - 1, qel::calendar::kTermInstants[2], 0, 953537700, kLastTerm,
         kLastTerm + 1, cst_midnight(73416) - 1, cst_midnight(73416), kLastInstant, kLastInstant + 1, kI64Max},
        {kI32Min, -1, 0, 1, 22, 23, 24, 59, 60, 86399, 86400, kI32Max},           // Clock (hour .. second of day)
        {kI32Min, -1, 0, 1, 9, 10, 12, 13, 15, 16, 23, 24, 25, 30, 59, 60, kI32Max},  // Index (kinds, names)
        {0, 1, 2, 3, 4, 0x80000000, 0xFFFFFFFF},                                   // Options (uint32 bits)
        {0, 1, 2, 3, 4, 7, 64},                                                    // Size (buffer bytes, elements)
        // Workday: serials at the ends of the built-in holiday years 2004-2026
        // and of the probes' own table for 2027 (below), and of the integers.
        {kI64Min, kI32Min, 0, greg::serial_from_civil(2003, 12, 31), greg::serial_from_civil(2004, 1, 1),
         greg::serial_from_civil(2017, 7, 23), greg::serial_from_civil(2024, 2, 9),
         greg::serial_from_civil(2026, 12, 31), greg::serial_from_civil(2027, 1, 1),
         greg::serial_from_civil(2027, 6, 1), greg::serial_from_civil(2028, 1, 1), kI32Max, kI64Max},
        {0, 1, 2},                                                                 // Table (holiday_table)
    };
    return lists[static_cast<int>(kind)];
}

inline const char* text_of(int64_t index) {
    static const char* const texts[] = {"", "2017-03-09 10:20:30", "2016/12/28", "9999-99-99", "-2147483648", "+",
                                        "99999999999999999999", "\xff\xfe\x80", "元宵", "Mid-Autumn Festival",
                                        "WINTER-SOLSTICE", "小寒"};
    return texts[static_cast<size_t>(index) % std::size(texts)];
}

// FNV-1a over 64-bit values.
struct Digest {
    uint64_t h = 14695981039346656037u;
    Digest& operator<<(uint64_t v) {
        h = (h ^ v) * 1099511628211u;
        return *this;
    }
    Digest& operator<<(const TAnsiString& s) {
        for (const char* p = s.c_str(); *p; ++p) *this << static_cast<unsigned char>(*p);
        return *this << s.length();
    }
    Digest& operator<<(const TWideString& s) {
        for (const unsigned short* p = s.c_str(); *p; ++p) *this << *p;
        return *this << s.length();
    }
};

enum Traits : uint8_t { kPlain = 0, kMakesText = 1, kReadsClock = 2 };

struct Probe {
    const char* name;
    std::vector<Kind> kinds;
    uint64_t (*call)(const int64_t* a);
    uint8_t traits = kPlain;
};

inline uint16_t u16(int64_t v) { return static_cast<uint16_t>(v); }
inline int32_t i32(int64_t v) { return static_cast<int32_t>(v); }
inline uint64_t w64(int64_t v) { return static_cast<uint64_t>(v); }
inline uint64_t dg(const TDate& d) { return (Digest{} << d.wYear << d.wMonth << d.wDay).h; }
template <class T>
T* maybe(T* p, int64_t nulls, int bit) { return (nulls >> bit) & 1 ? nullptr : p; }

// The four searches share one shape: (year, month, day) in and out, any of
// the three pointers possibly null.
template <int32_t (*Search)(int32_t*, int32_t*, int32_t*)>
uint64_t search_probe(const int64_t* a) {
    int32_t y = i32(a[0]), m = i32(a[1]), d = i32(a[2]);
    const int32_t r = Search(maybe(&y, a[3], 0), maybe(&m, a[3], 1), maybe(&d, a[3], 2));
    return (Digest{} << w64(r) << w64(y) << w64(m) << w64(d)).h;
}

inline uint32_t u32(int64_t v) { return static_cast<uint32_t>(v); }

// The bytes of a value or an array of qel_calendar's result structures, which
// have no padding (tests/c_api/layout.cpp), eight at a time. Callers fill them
// first, so that fields a call leaves alone digest the same every time.
template <class T>
uint64_t bytes(const T& v) {
    static_assert(sizeof v % 8 == 0);
    Digest d;
    for (size_t i = 0; i < sizeof v; i += 8) {
        uint64_t word;
        std::memcpy(&word, reinterpret_cast<const unsigned char*>(&v) + i, 8);
        d << word;
    }
    return d.h;
}

// A text call of qel_calendar with `size` bytes of a 64-byte buffer, or a null
// buffer when bit 0 of `nulls` is set; the whole buffer is digested.
template <class Call>
uint64_t text_probe(int64_t size, int64_t nulls, Call call) {
    char buf[64];
    std::memset(buf, 'x', sizeof buf);
    const int32_t r = call(maybe(buf, nulls, 0), static_cast<size_t>(size));
    return (Digest{} << w64(r) << bytes(buf)).h;
}

// The three term searches around an instant share one shape.
template <int32_t (*Find)(int64_t, qel_term*)>
uint64_t term_probe(const int64_t* a) {
    qel_term t{7, 7, 7};
    const int32_t r = Find(a[0], maybe(&t, a[1], 0));
    return (Digest{} << w64(r) << bytes(t)).h;
}

// A caller's holiday table: none (0), one for 2027 (1), or one whose days are
// out of order (2).
inline const qel_holiday_table* holiday_table(int64_t which) {
    static const qel_holiday_day days[] = {
        {gregorian::serial_from_civil(2027, 1, 1), QEL_DAY_OFF, QEL_HOLIDAY_NEW_YEAR},
        {gregorian::serial_from_civil(2027, 2, 6), QEL_DAY_OFF, QEL_HOLIDAY_SPRING_FESTIVAL},
        {gregorian::serial_from_civil(2027, 2, 20), QEL_DAY_WORK, QEL_HOLIDAY_SPRING_FESTIVAL},
        {gregorian::serial_from_civil(2027, 1, 2), QEL_DAY_OFF, QEL_HOLIDAY_NEW_YEAR},
    };
    static const qel_holiday_table tables[] = {{days, 3, 2027, 2027}, {days, 4, 2027, 2027}};
    return which == 0 ? nullptr : &tables[which == 1 ? 0 : 1];
}

// Batch inputs: 64 days from `first` on in steps of `step` (wrapping).
inline std::array<int64_t, 64> day_run(int64_t first, int64_t step) {
    std::array<int64_t, 64> days{};
    for (size_t i = 0; i < days.size(); ++i) days[i] = static_cast<int64_t>(w64(first) + w64(step) * i);
    return days;
}

// The argument tuples of a probe: the whole product of its value lists when
// that has at most `limit` tuples, else `limit` tuples drawn from it with a
// fixed seed.
inline std::vector<std::vector<int64_t>> tuples(const Probe& p, size_t limit) {
    size_t product = 1;
    for (Kind k : p.kinds) product = product > limit ? product : product * values_of(k).size();
    std::vector<std::vector<int64_t>> out;
    std::mt19937_64 rng(20170309);
    const size_t n = product <= limit ? product : limit;
    for (size_t i = 0; i < n; ++i) {
        std::vector<int64_t> t;
        size_t rest = i;
        for (Kind k : p.kinds) {
            const auto& v = values_of(k);
            const size_t index = product <= limit ? rest % v.size() : rng() % v.size();
            rest /= v.size();
            t.push_back(v[index]);
        }
        t.resize(8);
        out.push_back(t);
    }
    return out;
}

inline const std::vector<Probe>& probes() {
    using K = Kind;
    static const std::vector<Probe> list = {
        // TDate
        {"TDate::TDate()", {}, [](const int64_t*) { return dg(TDate()); }},
        {"TDate::TDate(ushort, ushort, ushort)", {K::Year, K::Month, K::Day},
         [](const int64_t* a) { return dg(TDate(u16(a[0]), u16(a[1]), u16(a[2]))); }},
        {"TDate::TDate(__int64)", {K::Serial}, [](const int64_t* a) { return dg(TDate(a[0])); }},
        {"TDate::setdays", {K::Year, K::Month, K::Day},
         [](const int64_t* a) { TDate d; return dg(d.setdays(i32(a[0]), i32(a[1]), i32(a[2]))); }},
        {"TDate::operator=", {K::Year, K::Month, K::Day},
         [](const int64_t* a) { TDate d; return dg(d = TDate(u16(a[0]), u16(a[1]), u16(a[2]))); }},
        {"TDate::asDateInt", {K::Year, K::Month, K::Day},
         [](const int64_t* a) { return w64(TDate(u16(a[0]), u16(a[1]), u16(a[2])).asDateInt()); }},
        {"TDate::year/month/day", {K::Year, K::Month, K::Day}, [](const int64_t* a) {
             const TDate d(u16(a[0]), u16(a[1]), u16(a[2]));
             return (Digest{} << w64(d.year()) << w64(d.month()) << w64(d.day())).h;
         }},
        {"TDate::fromDateTime", {K::Word},
         [](const int64_t* a) { TDate d; return dg(d.fromDateTime(TDateTime(w64(a[0])))); }},
        {"TDate::loadcurrentlocal", {}, [](const int64_t*) { TDate d; return dg(d.loadcurrentlocal()); },
         kReadsClock},
        {"TDate::incDay", {K::Year, K::Month, K::Day, K::Count},
         [](const int64_t* a) { TDate d(u16(a[0]), u16(a[1]), u16(a[2])); return dg(d.incDay(i32(a[3]))); }},
        {"TDate::IncMonth", {K::Year, K::Month, K::Day, K::Count},
         [](const int64_t* a) { TDate d(u16(a[0]), u16(a[1]), u16(a[2])); return dg(d.IncMonth(i32(a[3]))); }},
        // TDateTime: construction, whole words, comparison, fields
        {"TDateTime::TDateTime()", {}, [](const int64_t*) { return TDateTime().value; }},
        {"TDateTime::TDateTime(long x6)", {K::Year, K::Month, K::Day, K::Day, K::Month, K::Count},
         [](const int64_t* a) {
             return TDateTime(i32(a[0]), i32(a[1]), i32(a[2]), i32(a[3]), i32(a[4]), i32(a[5])).value;
         }},
        {"TDateTime::TDateTime(unsigned __int64)", {K::Word},
         [](const int64_t* a) { return TDateTime(w64(a[0])).value; }},
        {"TDateTime::TDateTime(const TDate&)", {K::Year, K::Month, K::Day},
         [](const int64_t* a) { return TDateTime(TDate(u16(a[0]), u16(a[1]), u16(a[2]))).value & datetime::kDateBits; }},
        {"TDateTime::operator=", {K::Word},
         [](const int64_t* a) { TDateTime t; return (t = TDateTime(w64(a[0]))).value; }},
        {"TDateTime::operator==/!=", {K::Word, K::Word}, [](const int64_t* a) {
             const TDateTime x(w64(a[0]));
             uint64_t y = w64(a[1]);
             return (Digest{} << (x == y) << (x == TDateTime(y)) << (x != y)).h;
         }},
        {"TDateTime::operator< <= > >=", {K::Word, K::Word}, [](const int64_t* a) {
             const TDateTime x(w64(a[0])), y(w64(a[1]));
             return (Digest{} << (x < y) << (x <= y) << (x > y) << (x >= y)).h;
         }},
        {"TDateTime::clear/isNull/null", {K::Word}, [](const int64_t* a) {
             TDateTime t(w64(a[0]));
             Digest d;
             d << t.isNull();
             t.clear();
             return (d << t.value << t.isNull() << TDateTime::null().value).h;
         }},
        {"TDateTime::copyDate", {K::Word, K::Word},
         [](const int64_t* a) { TDateTime t(w64(a[0])); return t.copyDate(TDateTime(w64(a[1]))).value; }},
        {"TDateTime::dateEqual", {K::Word, K::Word}, [](const int64_t* a) {
             TDateTime x(w64(a[0]));
             uint64_t y = w64(a[1]);
             return (Digest{} << x.dateEqual(y) << x.dateEqual(TDateTime(y))).h;
         }},
        {"TDateTime::year/getYear/month/day/hour/minute/second", {K::Word}, [](const int64_t* a) {
             const TDateTime t(w64(a[0]));
             return (Digest{} << w64(t.year()) << w64(t.getYear()) << w64(t.month()) << w64(t.day())
                              << w64(t.hour()) << w64(t.minute()) << w64(t.second()))
                 .h;
         }},
        {"TDateTime::setYear/setMonth/setday/sethour/setminute/setsecond", {K::Word, K::Count},
         [](const int64_t* a) {
             TDateTime t(w64(a[0]));
             Digest d;
             t.setYear(i32(a[1])), d << t.value;
             t.setMonth(i32(a[1])), d << t.value;
             t.setday(i32(a[1])), d << t.value;
             t.sethour(i32(a[1])), d << t.value;
             t.setminute(i32(a[1])), d << t.value;
             t.setsecond(i32(a[1]));
             return (d << t.value).h;
         }},
        {"TDateTime::setDate(long x3)", {K::Word, K::Year, K::Month, K::Day}, [](const int64_t* a) {
             TDateTime t(w64(a[0]));
             return t.setDate(i32(a[1]), i32(a[2]), i32(a[3])).value;
         }},
        {"TDateTime::setDate(const __int64&)", {K::Word, K::Serial},
         [](const int64_t* a) { TDateTime t(w64(a[0])); return t.setDate(a[1]).value; }},
        {"TDateTime::setTime", {K::Word, K::Day, K::Month, K::Count}, [](const int64_t* a) {
             TDateTime t(w64(a[0]));
             return t.setTime(i32(a[1]), i32(a[2]), i32(a[3])).value;
         }},
        {"TDateTime::setDateTime", {K::Word, K::Year, K::Month, K::Day, K::Day, K::Month, K::Count},
         [](const int64_t* a) {
             TDateTime t(w64(a[0]));
             return t.setDateTime(i32(a[1]), i32(a[2]), i32(a[3]), i32(a[4]), i32(a[5]), i32(a[6])).value;
         }},
        {"TDateTime::setUInt64", {K::Word}, [](const int64_t* a) { TDateTime t; return t.setUInt64(w64(a[0])).value; }},
        {"TDateTime::asDateTimeInt/asUInt64", {K::Word}, [](const int64_t* a) {
             const TDateTime t(w64(a[0]));
             return (Digest{} << t.asDateTimeInt() << t.asUInt64()).h;
         }},
        {"TDateTime::loadcurrentlocal", {K::Word},
         [](const int64_t* a) { TDateTime t(w64(a[0])); return t.loadcurrentlocal().value; }, kReadsClock},
        // TDateTime: steps
        {"TDateTime::incDay", {K::Word, K::Count},
         [](const int64_t* a) { TDateTime t(w64(a[0])); return t.incDay(i32(a[1])).value; }},
        {"TDateTime::incWeek", {K::Word, K::Count},
         [](const int64_t* a) { TDateTime t(w64(a[0])); return t.incWeek(i32(a[1])).value; }},
        {"TDateTime::incMonth", {K::Word, K::Count, K::Flag}, [](const int64_t* a) {
             TDateTime t(w64(a[0]));
             return (Digest{} << t.incMonth(i32(a[1]), i32(a[2])) << t.value).h;
         }},
        {"TDateTime::incYear", {K::Word, K::Count, K::Flag}, [](const int64_t* a) {
             TDateTime t(w64(a[0]));
             return (Digest{} << t.incYear(i32(a[1]), i32(a[2])) << t.value).h;
         }},
        {"TDateTime::incMinute", {K::Word, K::Count64},
         [](const int64_t* a) { TDateTime t(w64(a[0])); return t.incMinute(a[1]).value; }},
        {"TDateTime::incSecond", {K::Word, K::Count64},
         [](const int64_t* a) { TDateTime t(w64(a[0])); return t.incSecond(a[1]).value; }},
        // TDateTime: text
        {"TDateTime::asDateTimeString", {K::Word},
         [](const int64_t* a) { return (Digest{} << TDateTime(w64(a[0])).asDateTimeString()).h; }, kMakesText},
        {"TDateTime::asDateTimeStringW", {K::Word},
         [](const int64_t* a) { return (Digest{} << TDateTime(w64(a[0])).asDateTimeStringW()).h; }, kMakesText},
        {"TDateTime::asDateString", {K::Word},
         [](const int64_t* a) { return (Digest{} << TDateTime(w64(a[0])).asDateString()).h; }, kMakesText},
        {"TDateTime::fromDateString", {K::Word, K::Text},
         [](const int64_t* a) { TDateTime t(w64(a[0])); return t.fromDateString(text_of(a[1])).value; }},
        // tpdate
        {"tpdate::fromGDate(int x3)", {K::Year, K::Month, K::Day}, [](const int64_t* a) {
             tpdate p{7, 7, 7, 7};
             p.fromGDate(i32(a[0]), i32(a[1]), i32(a[2]));
             return (Digest{} << w64(p.year) << w64(p.month) << w64(p.day) << w64(p.leap)).h;
         }},
        {"tpdate::fromGDate(const __int64&)", {K::Serial}, [](const int64_t* a) {
             tpdate p{7, 7, 7, 7};
             p.fromGDate(a[0]);
             return (Digest{} << w64(p.year) << w64(p.month) << w64(p.day) << w64(p.leap)).h;
         }},
        {"tpdate::asGDate", {K::Year, K::Month, K::Day, K::Leap}, [](const int64_t* a) {
             const tpdate p{i32(a[0]), i32(a[1]), i32(a[2]), i32(a[3])};
             return p.asGDate().value;
         }},
        {"tpdate::loadcurrent", {}, [](const int64_t*) {
             tpdate p{7, 7, 7, 7};
             p.loadcurrent();
             return (Digest{} << w64(p.year) << w64(p.month) << w64(p.day) << w64(p.leap)).h;
         }, kReadsClock},
        {"tpdate::incMonth", {K::Year, K::Month, K::Day, K::Leap, K::Count, K::Flag}, [](const int64_t* a) {
             tpdate p{i32(a[0]), i32(a[1]), i32(a[2]), i32(a[3])};
             const bool ok = p.incMonth(i32(a[4]), i32(a[5]));
             return (Digest{} << ok << w64(p.year) << w64(p.month) << w64(p.day) << w64(p.leap)).h;
         }},
        // C: Gregorian
        {"EncodeDate", {K::Year, K::Month, K::Day},
         [](const int64_t* a) { return w64(EncodeDate(u16(a[0]), u16(a[1]), u16(a[2]))); }},
        {"DecodeDate", {K::Serial, K::Nulls}, [](const int64_t* a) {
             unsigned short y = 7, m = 7, d = 7;
             const int32_t r = DecodeDate(a[0], maybe(&y, a[1], 0), maybe(&m, a[1], 1), maybe(&d, a[1], 2));
             return (Digest{} << w64(r) << y << m << d).h;
         }},
        {"IncDate", {K::Year, K::Month, K::Day, K::Serial}, [](const int64_t* a) {
             unsigned short y = 7, m = 7, d = 7;
             const int32_t r = IncDate(u16(a[0]), u16(a[1]), u16(a[2]), &y, &m, &d, a[3]);
             return (Digest{} << w64(r) << y << m << d).h;
         }},
        {"GDateIsValid", {K::Year, K::Month, K::Day},
         [](const int64_t* a) { return w64(GDateIsValid(u16(a[0]), u16(a[1]), u16(a[2]))); }},
        {"daysOfMonthG", {K::Year, K::Month}, [](const int64_t* a) { return w64(daysOfMonthG(i32(a[0]), i32(a[1]))); }},
        {"DayOfGYear", {K::Year, K::Month, K::Day},
         [](const int64_t* a) { return w64(DayOfGYear(i32(a[0]), i32(a[1]), i32(a[2]))); }},
        {"DayOfWeek", {K::Serial}, [](const int64_t* a) { return w64(DayOfWeek(a[0])); }},
        {"weeksInMonth", {K::Year, K::Month}, [](const int64_t* a) { return w64(weeksInMonth(u16(a[0]), u16(a[1]))); }},
        {"getDateByWeeksday", {K::Year, K::Month, K::Small, K::Small}, [](const int64_t* a) {
             return w64(getDateByWeeksday(u16(a[0]), u16(a[1]), static_cast<uint8_t>(a[2]), static_cast<uint8_t>(a[3])));
         }},
        {"getDateByWeekdays", {K::Year, K::Month, K::Small, K::Small}, [](const int64_t* a) {
             return w64(getDateByWeekdays(u16(a[0]), u16(a[1]), static_cast<uint8_t>(a[2]), static_cast<uint8_t>(a[3])));
         }},
        {"lastweekDayDate", {K::Year, K::Month, K::Small},
         [](const int64_t* a) { return w64(lastweekDayDate(u16(a[0]), u16(a[1]), static_cast<uint8_t>(a[2]))); }},
        {"findGDateInDay", {K::Year, K::Month, K::Day, K::Nulls}, search_probe<findGDateInDay>},
        {"findGDateInMonthDay", {K::Year, K::Month, K::Day, K::Nulls}, search_probe<findGDateInMonthDay>},
        // C: packed words
        {"EncodeMinuteTime", {K::Year, K::Month, K::Day, K::Day, K::Month, K::Count}, [](const int64_t* a) {
             return EncodeMinuteTime(i32(a[0]), i32(a[1]), i32(a[2]), i32(a[3]), i32(a[4]), i32(a[5]));
         }},
        {"DecodeMinuteTime", {K::Word, K::Nulls}, [](const int64_t* a) {
             int32_t f[6] = {7, 7, 7, 7, 7, 7};
             DecodeMinuteTime(w64(a[0]), maybe(&f[0], a[1], 0), maybe(&f[1], a[1], 1), maybe(&f[2], a[1], 2),
                              maybe(&f[3], a[1], 3), maybe(&f[4], a[1], 4), maybe(&f[5], a[1], 5));
             Digest d;
             for (int32_t v : f) d << w64(v);
             return d.h;
         }},
        {"IncMonth", {K::Word, K::Count, K::Flag, K::Nulls}, [](const int64_t* a) {
             uint64_t w = w64(a[0]);
             const int32_t r = IncMonth(maybe(&w, a[3], 0), i32(a[1]), i32(a[2]));
             return (Digest{} << w64(r) << w).h;
         }},
        {"IncWeek", {K::Word, K::Count}, [](const int64_t* a) { return IncWeek(w64(a[0]), i32(a[1])); }},
        {"IncMinute", {K::Word, K::Count64}, [](const int64_t* a) { return IncMinute(w64(a[0]), a[1]); }},
        {"IncSecond", {K::Word, K::Count64}, [](const int64_t* a) { return IncSecond(w64(a[0]), a[1]); }},
        {"minutesDelta", {K::Word, K::Word}, [](const int64_t* a) { return w64(minutesDelta(w64(a[0]), w64(a[1]))); }},
        {"secondsDelta", {K::Word, K::Word}, [](const int64_t* a) { return w64(secondsDelta(w64(a[0]), w64(a[1]))); }},
        {"FormatSecondsDelta", {K::Count64}, [](const int64_t* a) { return FormatSecondsDelta(w64(a[0])); }},
        {"FormatTwoTimeDelta", {K::Word, K::Word},
         [](const int64_t* a) { return FormatTwoTimeDelta(w64(a[0]), w64(a[1])); }},
        // C: lunar
        {"GetLeapMonthInPYear", {K::Year}, [](const int64_t* a) { return w64(GetLeapMonthInPYear(i32(a[0]))); }},
        {"getPMonthDays", {K::Year, K::Month, K::Leap},
         [](const int64_t* a) { return w64(getPMonthDays(i32(a[0]), i32(a[1]), i32(a[2]))); }},
        {"GDateToPDate", {K::Year, K::Month, K::Day, K::Nulls}, [](const int64_t* a) {
             int32_t p[4] = {7, 7, 7, 7};
             const int32_t r = GDateToPDate(i32(a[0]), i32(a[1]), i32(a[2]), maybe(&p[0], a[3], 0),
                                            maybe(&p[1], a[3], 1), maybe(&p[2], a[3], 2), maybe(&p[3], a[3], 3));
             return (Digest{} << w64(r) << w64(p[0]) << w64(p[1]) << w64(p[2]) << w64(p[3])).h;
         }},
        {"GDateToPDateByTDate", {K::Serial, K::Nulls}, [](const int64_t* a) {
             int32_t p[4] = {7, 7, 7, 7};
             const int32_t r = GDateToPDateByTDate(a[0], maybe(&p[0], a[1], 0), maybe(&p[1], a[1], 1),
                                                   maybe(&p[2], a[1], 2), maybe(&p[3], a[1], 3));
             return (Digest{} << w64(r) << w64(p[0]) << w64(p[1]) << w64(p[2]) << w64(p[3])).h;
         }},
        {"PDateToGDate", {K::Year, K::Month, K::Day, K::Leap, K::Nulls}, [](const int64_t* a) {
             int32_t g[3] = {7, 7, 7};
             const int32_t r = PDateToGDate(i32(a[0]), i32(a[1]), i32(a[2]), i32(a[3]), maybe(&g[0], a[4], 0),
                                            maybe(&g[1], a[4], 1), maybe(&g[2], a[4], 2));
             return (Digest{} << w64(r) << w64(g[0]) << w64(g[1]) << w64(g[2])).h;
         }},
        {"DaysBetweenPDate", {K::Year, K::Month, K::Day, K::Leap, K::Year, K::Month, K::Day, K::Leap},
         [](const int64_t* a) {
             return w64(DaysBetweenPDate(i32(a[0]), i32(a[1]), i32(a[2]), i32(a[3]), i32(a[4]), i32(a[5]),
                                         i32(a[6]), i32(a[7])));
         }},
        {"PDateIsValid", {K::Year, K::Month, K::Day, K::Leap},
         [](const int64_t* a) { return w64(PDateIsValid(i32(a[0]), i32(a[1]), i32(a[2]), i32(a[3]))); }},
        {"findPDateInDay", {K::Year, K::Month, K::Day, K::Nulls}, search_probe<findPDateInDay>},
        {"findPDateInMonthDay", {K::Year, K::Month, K::Day, K::Nulls}, search_probe<findPDateInMonthDay>},
        {"incPMonth", {K::Year, K::Month, K::Day, K::Leap, K::Count, K::Flag, K::Nulls}, [](const int64_t* a) {
             int32_t p[4] = {i32(a[0]), i32(a[1]), i32(a[2]), i32(a[3])};
             const int32_t r = incPMonth(maybe(&p[0], a[6], 0), maybe(&p[1], a[6], 1), maybe(&p[2], a[6], 2),
                                         maybe(&p[3], a[6], 3), i32(a[4]), i32(a[5]));
             return (Digest{} << w64(r) << w64(p[0]) << w64(p[1]) << w64(p[2]) << w64(p[3])).h;
         }},
        {"pdate2text", {K::Year, K::Month, K::Day, K::Leap, K::Small, K::Nulls}, [](const int64_t* a) {
             const tpdate p{i32(a[0]), i32(a[1]), i32(a[2]), i32(a[3])};
             TAnsiString text("stale");
             TAnsiString* r = pdate2text(maybe(&p, a[5], 0), maybe(&text, a[5], 1), i32(a[4]));
             return (Digest{} << (r == nullptr) << text).h;
         }, kMakesText},
        {"pdate2Animal_signs", {K::Year, K::Month, K::Day, K::Leap}, [](const int64_t* a) {
             const tpdate p{i32(a[0]), i32(a[1]), i32(a[2]), i32(a[3])};
             TAnsiString text("stale");
             return (Digest{} << *pdate2Animal_signs(&p, &text)).h;
         }, kMakesText},
        {"pdate2TianGanDiZhi", {K::Year, K::Month, K::Day, K::Leap}, [](const int64_t* a) {
             const tpdate p{i32(a[0]), i32(a[1]), i32(a[2]), i32(a[3])};
             TAnsiString text("stale");
             return (Digest{} << *pdate2TianGanDiZhi(&p, &text)).h;
         }, kMakesText},
        // C: solar terms
        {"getLunarTermDay", {K::Year, K::Term}, [](const int64_t* a) { return getLunarTermDay(i32(a[0]), i32(a[1])); }},
        // qel_calendar: days, instants, lunar dates
        {"qel_calendar_version", {}, [](const int64_t*) {
             Digest d;
             for (const char* p = qel_calendar_version(); *p; ++p) d << static_cast<unsigned char>(*p);
             return d.h;
         }},
        {"qel_serial_of_date", {K::Year, K::Month, K::Day, K::Nulls}, [](const int64_t* a) {
             int64_t serial = 7;
             const int32_t r = qel_serial_of_date(i32(a[0]), i32(a[1]), i32(a[2]), maybe(&serial, a[3], 0));
             return (Digest{} << w64(r) << w64(serial)).h;
         }},
        {"qel_cst_of_instant", {K::Instant, K::Nulls}, [](const int64_t* a) {
             int64_t serial = 7;
             int32_t second = 7;
             const int32_t r = qel_cst_of_instant(a[0], maybe(&serial, a[1], 0), maybe(&second, a[1], 1));
             return (Digest{} << w64(r) << w64(serial) << w64(second)).h;
         }},
        {"qel_instant_of_cst", {K::Serial, K::Clock, K::Nulls}, [](const int64_t* a) {
             int64_t instant = 7;
             const int32_t r = qel_instant_of_cst(a[0], i32(a[1]), maybe(&instant, a[2], 0));
             return (Digest{} << w64(r) << w64(instant)).h;
         }},
        {"qel_lunar_of_serial", {K::Serial, K::Nulls}, [](const int64_t* a) {
             qel_lunar_date d{7, 7, 7, 7};
             const int32_t r = qel_lunar_of_serial(a[0], maybe(&d, a[1], 0));
             return (Digest{} << w64(r) << bytes(d)).h;
         }},
        {"qel_serial_of_lunar", {K::Year, K::Month, K::Day, K::Leap, K::Nulls}, [](const int64_t* a) {
             int64_t serial = 7;
             const int32_t r = qel_serial_of_lunar(i32(a[0]), i32(a[1]), i32(a[2]), i32(a[3]), maybe(&serial, a[4], 0));
             return (Digest{} << w64(r) << w64(serial)).h;
         }},
        {"qel_lunar_month_days", {K::Year, K::Month, K::Leap},
         [](const int64_t* a) { return w64(qel_lunar_month_days(i32(a[0]), i32(a[1]), i32(a[2]))); }},
        {"qel_lunar_leap_month", {K::Year}, [](const int64_t* a) { return w64(qel_lunar_leap_month(i32(a[0]))); }},
        // qel_calendar: festivals, terms, facts, pillars
        {"qel_festival_date", {K::Index, K::Year, K::Options, K::Nulls}, [](const int64_t* a) {
             int64_t serial = 7;
             const int32_t r = qel_festival_date(i32(a[0]), i32(a[1]), u32(a[2]), maybe(&serial, a[3], 0));
             return (Digest{} << w64(r) << w64(serial)).h;
         }},
        {"qel_festival_of_name", {K::Text, K::Size, K::Nulls}, [](const int64_t* a) {
             const char* name = text_of(a[0]);
             return w64(qel_festival_of_name(maybe(name, a[2], 0), std::min(std::strlen(name), size_t(a[1]))));
         }},
        {"qel_term_of_name", {K::Text, K::Size, K::Nulls}, [](const int64_t* a) {
             const char* name = text_of(a[0]);
             return w64(qel_term_of_name(maybe(name, a[2], 0), std::min(std::strlen(name), size_t(a[1]))));
         }},
        {"qel_term_instant", {K::Year, K::Index, K::Nulls}, [](const int64_t* a) {
             int64_t instant = 7;
             const int32_t r = qel_term_instant(i32(a[0]), i32(a[1]), maybe(&instant, a[2], 0));
             return (Digest{} << w64(r) << w64(instant)).h;
         }},
        {"qel_term_in_force", {K::Instant, K::Nulls}, term_probe<qel_term_in_force>},
        {"qel_term_next", {K::Instant, K::Nulls}, term_probe<qel_term_next>},
        {"qel_term_previous", {K::Instant, K::Nulls}, term_probe<qel_term_previous>},
        {"qel_day_facts_of", {K::Serial, K::Options, K::Nulls}, [](const int64_t* a) {
             qel_day_facts f;
             std::memset(&f, 7, sizeof f);
             const int32_t r = qel_day_facts_of(a[0], u32(a[1]), maybe(&f, a[2], 0));
             return (Digest{} << w64(r) << bytes(f)).h;
         }},
        {"qel_pillars_of_cst", {K::Year, K::Month, K::Day, K::Clock, K::Clock, K::Clock, K::Flag, K::Nulls},
         [](const int64_t* a) {
             qel_pillars p;
             std::memset(&p, 7, sizeof p);
             const int32_t r = qel_pillars_of_cst(i32(a[0]), i32(a[1]), i32(a[2]), i32(a[3]), i32(a[4]), i32(a[5]),
                                                  i32(a[6]), maybe(&p, a[7], 0));
             return (Digest{} << w64(r) << bytes(p)).h;
         }},
        {"qel_pillars_of_instant", {K::Instant, K::Flag, K::Nulls}, [](const int64_t* a) {
             qel_pillars p;
             std::memset(&p, 7, sizeof p);
             const int32_t r = qel_pillars_of_instant(a[0], i32(a[1]), maybe(&p, a[2], 0));
             return (Digest{} << w64(r) << bytes(p)).h;
         }},
        // qel_calendar: holidays and working days
        {"qel_holiday_years", {K::Nulls}, [](const int64_t* a) {
             int32_t first = 7, last = 7;
             const int32_t r = qel_holiday_years(maybe(&first, a[0], 0), maybe(&last, a[0], 1));
             return (Digest{} << w64(r) << w64(first) << w64(last)).h;
         }},
        {"qel_holiday_status", {K::Workday, K::Table, K::Nulls}, [](const int64_t* a) {
             int32_t holiday = 7;
             const int32_t r = qel_holiday_status(a[0], holiday_table(a[1]), maybe(&holiday, a[2], 0));
             return (Digest{} << w64(r) << w64(holiday)).h;
         }},
        {"qel_is_workday", {K::Workday, K::Table},
         [](const int64_t* a) { return w64(qel_is_workday(a[0], holiday_table(a[1]))); }},
        {"qel_workdays_between", {K::Workday, K::Workday, K::Table, K::Nulls}, [](const int64_t* a) {
             int64_t count = 7;
             const int32_t r = qel_workdays_between(a[0], a[1], holiday_table(a[2]), maybe(&count, a[3], 0));
             return (Digest{} << w64(r) << w64(count)).h;
         }},
        {"qel_add_workdays", {K::Workday, K::Count64, K::Table, K::Nulls}, [](const int64_t* a) {
             int64_t serial = 7;
             const int32_t r = qel_add_workdays(a[0], a[1], holiday_table(a[2]), maybe(&serial, a[3], 0));
             return (Digest{} << w64(r) << w64(serial)).h;
         }},
        // qel_calendar: a civil date-time stepped
        {"qel_step", {K::Serial, K::Clock, K::Count64, K::Small, K::Options, K::Nulls}, [](const int64_t* a) {
             int64_t serial = 7;
             int32_t second = 7;
             const int32_t r = qel_step(a[0], i32(a[1]), a[2], i32(a[3]), u32(a[4]), maybe(&serial, a[5], 0),
                                        maybe(&second, a[5], 1));
             return (Digest{} << w64(r) << w64(serial) << w64(second)).h;
         }},
        // qel_calendar: text
        {"qel_name", {K::Index, K::Index, K::Options, K::Size, K::Nulls}, [](const int64_t* a) {
             return text_probe(a[3], a[4], [a](char* buf, size_t size) {
                 return qel_name(i32(a[0]), i32(a[1]), u32(a[2]), buf, size);
             });
         }},
        {"qel_lunar_text", {K::Year, K::Month, K::Day, K::Leap, K::Options, K::Size, K::Nulls}, [](const int64_t* a) {
             return text_probe(a[5], a[6], [a](char* buf, size_t size) {
                 return qel_lunar_text(i32(a[0]), i32(a[1]), i32(a[2]), i32(a[3]), u32(a[4]), buf, size);
             });
         }},
        // qel_calendar: batch calls of up to 64 elements; bit 4 of the mask
        // nulls the input, the other bits outputs.
        {"qel_lunar_of_days", {K::Serial, K::Count, K::Size, K::Serial, K::Nulls}, [](const int64_t* a) {
             const auto days = day_run(a[0], a[1]);
             std::array<int32_t, 64> y, m, d, l;
             std::array<int8_t, 64> st;
             y.fill(7), m.fill(7), d.fill(7), l.fill(7), st.fill(7);
             const int64_t r = qel_lunar_of_days(maybe(days.data(), a[4], 4), size_t(a[2]), a[3],
                                                 maybe(y.data(), a[4], 0), maybe(m.data(), a[4], 1),
                                                 maybe(d.data(), a[4], 2), maybe(l.data(), a[4], 3),
                                                 maybe(st.data(), a[4], 5));
             return (Digest{} << w64(r) << bytes(y) << bytes(m) << bytes(d) << bytes(l) << bytes(st)).h;
         }},
        {"qel_days_of_lunar", {K::Year, K::Month, K::Day, K::Leap, K::Size, K::Serial, K::Nulls}, [](const int64_t* a) {
             std::array<int32_t, 64> y, m, d, l;
             for (size_t i = 0; i < 64; ++i)
                 y[i] = i32(a[0]), m[i] = i32(a[1]), d[i] = static_cast<int32_t>(u32(a[2]) + i), l[i] = i32(a[3]);
             std::array<int64_t, 64> days;
             std::array<int8_t, 64> st;
             days.fill(7), st.fill(7);
             const int64_t r = qel_days_of_lunar(maybe(y.data(), a[6], 4), m.data(), d.data(), l.data(), size_t(a[4]),
                                                 a[5], maybe(days.data(), a[6], 0), maybe(st.data(), a[6], 1));
             return (Digest{} << w64(r) << bytes(days) << bytes(st)).h;
         }},
        {"qel_day_facts_of_days", {K::Serial, K::Count, K::Size, K::Serial, K::Options, K::Nulls},
         [](const int64_t* a) {
             const auto days = day_run(a[0], a[1]);
             std::array<qel_day_facts, 64> f;
             std::array<int8_t, 64> st;
             std::memset(f.data(), 7, sizeof f), st.fill(7);
             const int64_t r = qel_day_facts_of_days(maybe(days.data(), a[5], 4), size_t(a[2]), a[3], u32(a[4]),
                                                     maybe(f.data(), a[5], 0), maybe(st.data(), a[5], 1));
             return (Digest{} << w64(r) << bytes(f) << bytes(st)).h;
         }},
    };
    return list;
}

}  // namespace qel::reliability
