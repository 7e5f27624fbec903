// Every export of qel_common, qel_datetime and qel_calendar as a probe: the function with
// one hostile-value domain (shared/hostile.h) per parameter, called on tuples
// drawn from those domains and reduced to one 64-bit digest of everything it
// returns or writes. The thread, allocation and timing tests of
// reliability_test.cpp walk this one list, and a test there holds it to the
// export lists of tests/symbols, so a new export cannot miss a probe.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <random>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "qel_calendar.h"
#include "qel_common.h"
#include "qel_datetime.h"
#include "shared/hostile.h"

namespace qel::reliability {

// The domain of each parameter. A pointer parameter is an in-out value that
// starts from its domain's value (Out: 7, or bytes of 7) and is null when its
// bit of the probe's last argument (Nulls) is set, counting pointers from 0.
enum class Kind : uint8_t {
    Year, Month, Day, Leap, Serial, Count, Count64, Word, Field, Second, Small, Flag, Instant, Index, Options, Size,
    Epoch, Workday, Table, Text, Out, Nulls
};

template <class T, size_t N>
std::vector<int64_t> domain(const T (&values)[N]) {
    std::vector<int64_t> out;
    for (const T& v : values) out.push_back(static_cast<int64_t>(v));
    return out;
}

inline const std::vector<int64_t>& values_of(Kind kind) {
    using namespace hostile;
    static const std::vector<int64_t> lists[] = {
        domain(kYears), domain(kMonths), domain(kDays), domain(kLeapFlags), domain(kSerials), domain(kCounts),
        domain(kCounts64), domain(kWords), domain(kClockFields), domain(kSecondsOfDay), domain(kSmall),
        domain(kFlags), domain(kInstants), domain(kIndexes), domain(kOptions),
        {0, 1, 2, 3, 4, 7, 64},                                // Size: bytes of a 64-byte buffer, elements of 64
        domain(kEpochs), domain(kHolidaySerials), {0, 1, 2},  // Table: none, one for 2027, one out of order
        {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},            // Text: an index into kTexts
        {7}, {0, 1, 2, 4, 8, 16, 0x7F}};
    return lists[static_cast<int>(kind)];
}

// FNV-1a over 64-bit values.
struct Digest {
    uint64_t h = 14695981039346656037u;
    Digest& operator<<(uint64_t v) {
        h = (h ^ v) * 1099511628211u;
        return *this;
    }
    Digest& bytes(const void* p, size_t n) {  // eight at a time: the timing test times this too
        for (size_t i = 0; i < n; i += 8) {
            uint64_t word = 0;
            std::memcpy(&word, static_cast<const unsigned char*>(p) + i, std::min<size_t>(8, n - i));
            *this << word;
        }
        return *this << n;
    }
    template <class T>
    Digest& operator<<(const T& v) {
        if constexpr (std::is_same_v<T, TAnsiString>) return bytes(v.c_str(), v.length());
        else if constexpr (std::is_same_v<T, TWideString>) return bytes(v.c_str(), 2 * v.length());
        else if constexpr (std::is_same_v<T, TDateTime>) return *this << v.value;
        else if constexpr (std::is_same_v<T, TDate>) return *this << v.wYear << v.wMonth << v.wDay;
        else if constexpr (std::is_same_v<T, tpdate>) return bytes(&v, sizeof v);
        else if constexpr (std::is_same_v<T, const char*>) return bytes(v, std::strlen(v));
        else if constexpr (std::is_arithmetic_v<T>) return *this << static_cast<uint64_t>(v);
        else return bytes(&v, sizeof v);  // qel_calendar's structures, which have no padding
    }
};

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

// A value parameter of type T from its domain's value.
template <class T>
T arg(int64_t v) {
    if constexpr (std::is_same_v<T, TDateTime>) return TDateTime(static_cast<uint64_t>(v));
    else if constexpr (std::is_same_v<T, TDate>) return TDate(v);  // the date of a serial
    else if constexpr (std::is_same_v<T, const char*>) return hostile::kTexts[static_cast<size_t>(v)];
    else if constexpr (std::is_same_v<T, const qel_holiday_table*>) return holiday_table(v);
    else return static_cast<T>(v);
}

template <class P>
inline constexpr bool kOut = std::is_pointer_v<P> && !std::is_const_v<std::remove_pointer_t<P>>;
// The storage of a parameter: the pointee of an out-pointer (64 bytes for a
// text buffer), else the value.
template <class P>
using Slot = std::conditional_t<std::is_same_v<P, char*>, std::array<char, 64>,
                                std::conditional_t<kOut<P>, std::remove_pointer_t<P>, std::decay_t<P>>>;

template <class F>
struct Sig;
template <class R, class... P>
struct Sig<R (*)(P...)> {
    using Params = std::tuple<P...>;
};
template <class R, class... P>
struct Sig<R (*)(P...) noexcept> : Sig<R (*)(P...)> {};
template <class R, class C, class... P>
struct Sig<R (C::*)(P...)> : Sig<R (*)(P...)> {};
template <class R, class C, class... P>
struct Sig<R (C::*)(P...) noexcept> : Sig<R (*)(P...)> {};
template <class R, class C, class... P>
struct Sig<R (C::*)(P...) const> : Sig<R (*)(P...)> {};
template <class R, class C, class... P>
struct Sig<R (C::*)(P...) const noexcept> : Sig<R (*)(P...)> {};

// Calls `f(args...)` with the parameters of `F` filled from a[0..]: out-pointers
// point into the slots (or are null by the bit mask a[number of parameters]);
// the digest is the result, then every out-value.
template <auto F, class Call>
uint64_t call_with(const int64_t* a, Call&& f) {
    using Params = typename Sig<decltype(F)>::Params;
    return [&]<size_t... I>(std::index_sequence<I...>) {
        std::tuple<Slot<std::tuple_element_t<I, Params>>...> slots;
        constexpr bool out[] = {false, kOut<std::tuple_element_t<I, Params>>...};
        const int64_t nulls = a[sizeof...(I)];
        auto pass = [&]<size_t K>(std::integral_constant<size_t, K>) -> std::tuple_element_t<K, Params> {
            using P = std::tuple_element_t<K, Params>;
            auto& slot = std::get<K>(slots);
            if constexpr (kOut<P>) {
                size_t bit = 0;  // this pointer's place among the pointers
                for (size_t k = 0; k < K; ++k) bit += out[k + 1];
                if constexpr (std::is_arithmetic_v<Slot<P>>) slot = static_cast<Slot<P>>(a[K]);
                else std::memset(&slot, static_cast<int>(a[K]), sizeof slot);
                if (nulls >> bit & 1) return nullptr;
                if constexpr (std::is_same_v<P, char*>) return slot.data();
                else return &slot;
            } else {
                slot = arg<Slot<P>>(a[K]);
                return slot;
            }
        };
        Digest d;
        using R = decltype(f(pass(std::integral_constant<size_t, I>{})...));
        if constexpr (std::is_void_v<R>) f(pass(std::integral_constant<size_t, I>{})...);
        else if constexpr (!std::is_reference_v<R> || std::is_arithmetic_v<std::remove_cvref_t<R>>)
            d << f(pass(std::integral_constant<size_t, I>{})...);
        else f(pass(std::integral_constant<size_t, I>{})...);  // a reference to the object, digested below
        ((out[I + 1] ? void(d << std::get<I>(slots)) : void()), ...);
        return d.h;
    }(std::make_index_sequence<std::tuple_size_v<Params>>{});
}

template <auto F>
uint64_t call(const int64_t* a) {
    return call_with<F>(a, [](auto&&... p) { return F(p...); });
}

// A member called on an object built from the first arguments (a word, the
// three fields of a TDate, the four of a tpdate); the object is digested after.
template <class C>
inline constexpr size_t kObjectArgs = std::is_same_v<C, TDateTime> ? 1 : std::is_same_v<C, TDate> ? 3 : 4;
template <class C, class M>
C class_of(M C::*);
template <auto M>
uint64_t member(const int64_t* a) {
    using C = decltype(class_of(M));
    const auto i32 = [&](int k) { return static_cast<int32_t>(a[k]); };
    C object;
    if constexpr (std::is_same_v<C, TDateTime>) object = TDateTime(static_cast<uint64_t>(a[0]));
    else if constexpr (std::is_same_v<C, TDate>) object.setdays(i32(0), i32(1), i32(2));
    else object = {i32(0), i32(1), i32(2), i32(3)};
    const uint64_t result = call_with<M>(a + kObjectArgs<C>, [&](auto&&... p) { return (object.*M)(p...); });
    return (Digest{} << result << object).h;
}

enum Traits : uint8_t { kPlain = 0, kMakesText = 1, kReadsClock = 2 };

struct Probe {
    const char* name;
    std::vector<Kind> kinds;
    uint64_t (*call)(const int64_t* a);
    uint8_t traits = kPlain;
};

// The argument tuples of a probe: the whole product of its domains when that
// has at most `limit` tuples, else `limit` tuples drawn from it with a fixed
// seed. Each tuple has room for the Nulls mask after the parameters.
inline std::vector<std::vector<int64_t>> tuples(const Probe& p, size_t limit) {
    size_t product = 1;
    for (Kind k : p.kinds) product = product > limit ? product : product * values_of(k).size();
    std::vector<std::vector<int64_t>> out;
    std::mt19937_64 rng(20170309);
    for (size_t i = 0; i < std::min(product, limit); ++i) {
        std::vector<int64_t> t;
        size_t rest = i;
        for (Kind k : p.kinds) {
            const auto& v = values_of(k);
            t.push_back(v[product <= limit ? rest % v.size() : rng() % v.size()]);
            rest /= v.size();
        }
        t.resize(16);
        out.push_back(t);
    }
    return out;
}

// Batch inputs: 64 days from `first` on in steps of `step` (wrapping).
inline std::array<int64_t, 64> day_run(int64_t first, int64_t step) {
    std::array<int64_t, 64> days{};
    for (size_t i = 0; i < days.size(); ++i)
        days[i] = static_cast<int64_t>(static_cast<uint64_t>(first) + static_cast<uint64_t>(step) * i);
    return days;
}

template <TAnsiString* (*F)(const tpdate*, TAnsiString*)>
uint64_t gbk_name(const int64_t* a) {  // a null date or text by bits 0 and 1 of a[4]
    const tpdate p{static_cast<int32_t>(a[0]), static_cast<int32_t>(a[1]), static_cast<int32_t>(a[2]),
                   static_cast<int32_t>(a[3])};
    TAnsiString text("stale");
    return (Digest{} << (F(a[4] & 1 ? nullptr : &p, a[4] & 2 ? nullptr : &text) == nullptr) << text).h;
}

// qel_common's strings. a[0] and a[1] index the hostile texts (widened unit
// by unit for TWideString); the object starts from text a[0], or from null
// when bit 0 of the Nulls mask a[5] is set, then `op` runs. Sprintf takes
// format a[1] of a fixed list (a hostile text would name arguments the call
// never gets) with a '*' width a[2] and precision a[3], cut to +-299 so that
// no input asks for gigabytes of padding, and a long long a[4].
inline const unsigned short* wide_of(int64_t i) {
    static const auto table = [] {
        std::array<std::array<unsigned short, 64>, std::size(hostile::kTexts)> t{};
        for (size_t k = 0; k < t.size(); ++k)
            for (size_t j = 0; hostile::kTexts[k][j]; ++j) t[k][j] = static_cast<unsigned char>(hostile::kTexts[k][j]);
        return t;
    }();
    return table[static_cast<size_t>(i)].data();
}
inline constexpr const char* kFormats[] = {"", "%*.*lld", "[%-*.*llx]", "%d %d %lld", "%c%c|%lli", "%hd %hhu %llo",
                                           "%i%%%u %+lld", "%q %d %d", "%#*.*llX"};
enum StringOp { kConstruct, kAssign, kAppend, kAssignCopy, kCopy, kClear, kSprintf, kCStr };
template <class S, StringOp op>
uint64_t string_probe(const int64_t* a) {
    constexpr bool ansi = std::is_same_v<S, TAnsiString>;
    const auto text = [](int64_t i) {
        if constexpr (ansi) return hostile::kTexts[static_cast<size_t>(i)];
        else return wide_of(i);
    };
    S s(a[5] & 1 ? nullptr : text(a[0]));
    Digest d;
    if constexpr (op == kAssign) s = text(a[1]);
    if constexpr (op == kAppend) s += text(a[1]);
    if constexpr (op == kAssignCopy) s = S(text(a[1]));
    if constexpr (op == kCopy) d << S(s);
    if constexpr (op == kClear) s.Clear();
    if constexpr (op == kCStr) d << s.c_str()[0];
    if constexpr (op == kSprintf) {
        const char* f = kFormats[static_cast<size_t>(a[1]) % std::size(kFormats)];
        const int w = static_cast<int>(a[2] % 300), pr = static_cast<int>(a[3] % 300);
        if constexpr (ansi) {
            s.Sprintf(f, w, pr, static_cast<long long>(a[4]));
        } else {
            unsigned short wf[16] = {};
            for (size_t j = 0; f[j]; ++j) wf[j] = static_cast<unsigned char>(f[j]);
            s.Sprintf(wf, w, pr, static_cast<long long>(a[4]));
        }
    }
    return (d << s).h;
}

#define QEL_STRING(S, member, op) \
    Probe{#S "::" member, {K::Text, K::Text, K::Small, K::Flag, K::Count64, K::Nulls}, &string_probe<S, op>, kMakesText}
#define QEL_PROBE(f, ...) Probe{#f, {__VA_ARGS__}, &call<&f>}
#define QEL_MEMBER(f, ...) Probe{#f, {__VA_ARGS__}, &member<&f>}
#define QEL_OVERLOAD(type, f, ...) Probe{#f, {__VA_ARGS__}, &member<static_cast<type>(&f)>}

inline const std::vector<Probe>& probes() {
    using K = Kind;
    using DT = TDateTime;
    const K Y = K::Year, M = K::Month, D = K::Day, L = K::Leap, S = K::Serial, W = K::Word, O = K::Out, N = K::Nulls;
    static const std::vector<Probe> list = {
        // TDate
        {"TDate::TDate", {}, [](const int64_t*) { return (Digest{} << TDate()).h; }},
        {"TDate::TDate", {Y, M, D}, [](const int64_t* a) {
             return (Digest{} << TDate(static_cast<uint16_t>(a[0]), static_cast<uint16_t>(a[1]),
                                       static_cast<uint16_t>(a[2]))).h;
         }},
        {"TDate::TDate", {S}, [](const int64_t* a) { return (Digest{} << TDate(a[0])).h; }},
        QEL_MEMBER(TDate::setdays, Y, M, D, Y, M, D),
        QEL_MEMBER(TDate::operator=, Y, M, D, S),
        QEL_MEMBER(TDate::asDateInt, Y, M, D),
        QEL_MEMBER(TDate::year, Y, M, D),
        QEL_MEMBER(TDate::month, Y, M, D),
        QEL_MEMBER(TDate::day, Y, M, D),
        QEL_MEMBER(TDate::fromDateTime, Y, M, D, W),
        Probe{"TDate::loadcurrentlocal", {Y, M, D}, &member<&TDate::loadcurrentlocal>, kReadsClock},
        QEL_MEMBER(TDate::incDay, Y, M, D, K::Count),
        QEL_MEMBER(TDate::IncMonth, Y, M, D, K::Count),
        // TDateTime
        {"TDateTime::TDateTime", {}, [](const int64_t*) { return DT().value; }},
        {"TDateTime::TDateTime", {Y, M, D, K::Field, K::Field, K::Field}, [](const int64_t* a) {
             const auto f = [a](int k) { return static_cast<QelLong>(a[k]); };
             return DT(f(0), f(1), f(2), f(3), f(4), f(5)).value;
         }},
        {"TDateTime::TDateTime", {W}, [](const int64_t* a) { return DT(static_cast<uint64_t>(a[0])).value; }},
        {"TDateTime::TDateTime", {Y, M, D}, [](const int64_t* a) {
             return DT(TDate(static_cast<uint16_t>(a[0]), static_cast<uint16_t>(a[1]), static_cast<uint16_t>(a[2])))
                 .value;
         }},
        QEL_MEMBER(TDateTime::operator=, W, W),
        QEL_OVERLOAD(bool (DT::*)(DateTimeInt&) const noexcept, TDateTime::operator==, W, W),
        QEL_OVERLOAD(bool (DT::*)(const DT&) const noexcept, TDateTime::operator==, W, W),
        QEL_MEMBER(TDateTime::operator!=, W, W),
        QEL_MEMBER(TDateTime::operator<, W, W),
        QEL_MEMBER(TDateTime::operator<=, W, W),
        QEL_MEMBER(TDateTime::operator>, W, W),
        QEL_MEMBER(TDateTime::operator>=, W, W),
        QEL_MEMBER(TDateTime::clear, W),
        QEL_MEMBER(TDateTime::isNull, W),
        {"TDateTime::null", {}, [](const int64_t*) { return DT::null().value; }},
        QEL_MEMBER(TDateTime::copyDate, W, W),
        QEL_OVERLOAD(bool (DT::*)(DateTimeInt&) noexcept, TDateTime::dateEqual, W, W),
        QEL_OVERLOAD(bool (DT::*)(const DT&) noexcept, TDateTime::dateEqual, W, W),
        QEL_MEMBER(TDateTime::year, W),
        QEL_MEMBER(TDateTime::getYear, W),
        QEL_MEMBER(TDateTime::month, W),
        QEL_MEMBER(TDateTime::day, W),
        QEL_MEMBER(TDateTime::hour, W),
        QEL_MEMBER(TDateTime::minute, W),
        QEL_MEMBER(TDateTime::second, W),
        QEL_MEMBER(TDateTime::setYear, W, K::Count),
        QEL_MEMBER(TDateTime::setMonth, W, K::Count),
        QEL_MEMBER(TDateTime::setday, W, K::Count),
        QEL_MEMBER(TDateTime::sethour, W, K::Count),
        QEL_MEMBER(TDateTime::setminute, W, K::Count),
        QEL_MEMBER(TDateTime::setsecond, W, K::Count),
        QEL_OVERLOAD(DT& (DT::*)(QelLong, QelLong, QelLong) noexcept, TDateTime::setDate, W, Y, M, D),
        QEL_OVERLOAD(DT& (DT::*)(const int64_t&) noexcept, TDateTime::setDate, W, S),
        QEL_MEMBER(TDateTime::setTime, W, K::Field, K::Field, K::Count),
        QEL_MEMBER(TDateTime::setDateTime, W, Y, M, D, K::Field, K::Field, K::Count),
        QEL_MEMBER(TDateTime::setUInt64, W, W),
        QEL_MEMBER(TDateTime::asDateTimeInt, W),
        QEL_MEMBER(TDateTime::asUInt64, W),
        Probe{"TDateTime::loadcurrentlocal", {W}, &member<&DT::loadcurrentlocal>, kReadsClock},
        QEL_MEMBER(TDateTime::incDay, W, K::Count),
        QEL_MEMBER(TDateTime::incWeek, W, K::Count),
        QEL_MEMBER(TDateTime::incMonth, W, K::Count, K::Flag),
        QEL_MEMBER(TDateTime::incYear, W, K::Count, K::Flag),
        QEL_MEMBER(TDateTime::incMinute, W, K::Count64),
        QEL_MEMBER(TDateTime::incSecond, W, K::Count64),
        Probe{"TDateTime::asDateTimeString", {W}, &member<&DT::asDateTimeString>, kMakesText},
        Probe{"TDateTime::asDateTimeStringW", {W}, &member<&DT::asDateTimeStringW>, kMakesText},
        Probe{"TDateTime::asDateString", {W}, &member<&DT::asDateString>, kMakesText},
        QEL_MEMBER(TDateTime::fromDateString, W, K::Text),
        // tpdate
        QEL_OVERLOAD(tpdate& (tpdate::*)(int32_t, int32_t, int32_t) noexcept, tpdate::fromGDate, L, L, L, L, Y, M, D),
        QEL_OVERLOAD(tpdate& (tpdate::*)(const int64_t&) noexcept, tpdate::fromGDate, L, L, L, L, S),
        QEL_MEMBER(tpdate::asGDate, Y, M, D, L),
        Probe{"tpdate::loadcurrent", {Y, M, D, L}, &member<&tpdate::loadcurrent>, kReadsClock},
        QEL_MEMBER(tpdate::incMonth, Y, M, D, L, K::Count, K::Flag),
        // C: Gregorian
        QEL_PROBE(EncodeDate, Y, M, D),
        QEL_PROBE(DecodeDate, S, O, O, O, N),
        QEL_PROBE(IncDate, Y, M, D, O, O, O, S, N),
        QEL_PROBE(GDateIsValid, Y, M, D),
        QEL_PROBE(daysOfMonthG, Y, M),
        QEL_PROBE(DayOfGYear, Y, M, D),
        QEL_PROBE(DayOfWeek, S),
        QEL_PROBE(weeksInMonth, Y, M),
        QEL_PROBE(getDateByWeeksday, Y, M, K::Small, K::Small),
        QEL_PROBE(getDateByWeekdays, Y, M, K::Small, K::Small),
        QEL_PROBE(lastweekDayDate, Y, M, K::Small),
        QEL_PROBE(findGDateInDay, Y, M, D, N),
        QEL_PROBE(findGDateInMonthDay, Y, M, D, N),
        // C: packed words
        QEL_PROBE(EncodeMinuteTime, Y, M, D, K::Field, K::Field, K::Field),
        QEL_PROBE(DecodeMinuteTime, W, O, O, O, O, O, O, N),
        QEL_PROBE(IncMonth, W, K::Count, K::Flag, N),
        QEL_PROBE(IncWeek, W, K::Count),
        QEL_PROBE(IncMinute, W, K::Count64),
        QEL_PROBE(IncSecond, W, K::Count64),
        QEL_PROBE(minutesDelta, W, W),
        QEL_PROBE(secondsDelta, W, W),
        QEL_PROBE(FormatSecondsDelta, K::Count64),
        QEL_PROBE(FormatTwoTimeDelta, W, W),
        // C: lunar
        QEL_PROBE(GetLeapMonthInPYear, Y),
        QEL_PROBE(getPMonthDays, Y, M, L),
        QEL_PROBE(GDateToPDate, Y, M, D, O, O, O, O, N),
        QEL_PROBE(GDateToPDateByTDate, S, O, O, O, O, N),
        QEL_PROBE(PDateToGDate, Y, M, D, L, O, O, O, N),
        QEL_PROBE(DaysBetweenPDate, Y, M, D, L, Y, M, D, L),
        QEL_PROBE(PDateIsValid, Y, M, D, L),
        QEL_PROBE(findPDateInDay, Y, M, D, N),
        QEL_PROBE(findPDateInMonthDay, Y, M, D, N),
        QEL_PROBE(incPMonth, Y, M, D, L, K::Count, K::Flag, N),
        Probe{"pdate2text", {Y, M, D, L, K::Small, N}, [](const int64_t* a) {
                  const tpdate p{static_cast<int32_t>(a[0]), static_cast<int32_t>(a[1]), static_cast<int32_t>(a[2]),
                                 static_cast<int32_t>(a[3])};
                  TAnsiString text("stale");
                  TAnsiString* r = pdate2text(a[5] & 1 ? nullptr : &p, a[5] & 2 ? nullptr : &text,
                                              static_cast<int32_t>(a[4]));
                  return (Digest{} << (r == nullptr) << text).h;
              }, kMakesText},
        Probe{"pdate2Animal_signs", {Y, M, D, L, N}, &gbk_name<pdate2Animal_signs>, kMakesText},
        Probe{"pdate2TianGanDiZhi", {Y, M, D, L, N}, &gbk_name<pdate2TianGanDiZhi>, kMakesText},
        QEL_PROBE(getLunarTermDay, Y, K::Index),
        // qel_common; every string probe ends in the destructor
        {"TAnsiString::TAnsiString", {}, [](const int64_t*) { return (Digest{} << TAnsiString()).h; }},
        {"TWideString::TWideString", {}, [](const int64_t*) { return (Digest{} << TWideString()).h; }},
        {"TAnsiString::StrToInt", {K::Text, K::Count, K::Count}, [](const int64_t* a) {
             return uint64_t(TAnsiString::StrToInt(hostile::kTexts[a[0]], QelLong(a[1]), QelLong(a[2])));
         }},
        QEL_STRING(TAnsiString, "TAnsiString", kConstruct), QEL_STRING(TAnsiString, "TAnsiString", kCopy),
        QEL_STRING(TAnsiString, "~TAnsiString", kConstruct), QEL_STRING(TAnsiString, "operator=", kAssign),
        QEL_STRING(TAnsiString, "operator=", kAssignCopy), QEL_STRING(TAnsiString, "operator+=", kAppend),
        QEL_STRING(TAnsiString, "Clear", kClear), QEL_STRING(TAnsiString, "Sprintf", kSprintf),
        QEL_STRING(TWideString, "TWideString", kConstruct), QEL_STRING(TWideString, "TWideString", kCopy),
        QEL_STRING(TWideString, "~TWideString", kConstruct), QEL_STRING(TWideString, "operator=", kAssign),
        QEL_STRING(TWideString, "operator=", kAssignCopy), QEL_STRING(TWideString, "operator+=", kAppend),
        QEL_STRING(TWideString, "Clear", kClear), QEL_STRING(TWideString, "Sprintf", kSprintf),
        QEL_STRING(TWideString, "c_str", kCStr),
        // qel_calendar
        QEL_PROBE(qel_calendar_version),
        QEL_PROBE(qel_serial_of_date, Y, M, D, O, N),
        QEL_PROBE(qel_cst_of_instant, K::Instant, O, O, N),
        QEL_PROBE(qel_instant_of_cst, S, K::Second, O, N),
        QEL_PROBE(qel_lunar_of_serial, S, O, N),
        QEL_PROBE(qel_serial_of_lunar, Y, M, D, L, O, N),
        QEL_PROBE(qel_lunar_month_days, Y, M, L),
        QEL_PROBE(qel_lunar_leap_month, Y),
        QEL_PROBE(qel_festival_date, K::Index, Y, K::Options, O, N),
        QEL_PROBE(qel_festival_of_name, K::Text, K::Size),
        QEL_PROBE(qel_term_of_name, K::Text, K::Size),
        QEL_PROBE(qel_term_instant, Y, K::Index, O, N),
        QEL_PROBE(qel_term_in_force, K::Instant, O, N),
        QEL_PROBE(qel_term_next, K::Instant, O, N),
        QEL_PROBE(qel_term_previous, K::Instant, O, N),
        QEL_PROBE(qel_day_facts_of, S, K::Options, O, N),
        QEL_PROBE(qel_pillars_of_cst, Y, M, D, K::Field, K::Field, K::Field, K::Flag, O, N),
        QEL_PROBE(qel_pillars_of_instant, K::Instant, K::Flag, O, N),
        QEL_PROBE(qel_holiday_years, O, O, N),
        QEL_PROBE(qel_holiday_status, K::Workday, K::Table, O, N),
        QEL_PROBE(qel_is_workday, K::Workday, K::Table),
        QEL_PROBE(qel_workdays_between, K::Workday, K::Workday, K::Table, O, N),
        QEL_PROBE(qel_add_workdays, K::Workday, K::Count64, K::Table, O, N),
        QEL_PROBE(qel_step, S, K::Second, K::Count64, K::Index, K::Options, O, O, N),
        QEL_PROBE(qel_name, K::Index, K::Index, K::Options, O, K::Size, N),
        QEL_PROBE(qel_lunar_text, Y, M, D, L, K::Options, O, K::Size, N),
        QEL_PROBE(qel_date_of_serial, S, O, O, O, N),
        QEL_PROBE(qel_lunar_year_days, Y),
        {"qel_lunar_year_months", {Y, K::Size, N}, [](const int64_t* a) {
             std::array<qel_lunar_month, QEL_LUNAR_MONTHS_MAX> m;
             std::memset(m.data(), 7, sizeof m);
             const int32_t r = qel_lunar_year_months(int32_t(a[0]), a[2] & 1 ? nullptr : m.data(), size_t(a[1]));
             return (Digest{} << r << m).h;
         }},
        QEL_PROBE(qel_lunar_step, Y, M, D, L, K::Count64, K::Index, K::Options, O, N),
        {"qel_festivals_of_year", {Y, K::Options, K::Size, N}, [](const int64_t* a) {
             std::array<qel_festival_day, QEL_FESTIVAL_DAYS_MAX> f;
             std::memset(f.data(), 7, sizeof f);
             const int32_t r = qel_festivals_of_year(int32_t(a[0]), uint32_t(a[1]), a[3] & 1 ? nullptr : f.data(),
                                                     size_t(a[2]));
             return (Digest{} << r << f).h;
         }},
        QEL_PROBE(qel_zi_of_name, K::Text, K::Size),
        QEL_PROBE(qel_domain_range, K::Index, O, N),
        QEL_PROBE(qel_check_date, Y, M, D, O, N),
        QEL_PROBE(qel_check_lunar, Y, M, D, L, O, N),
        QEL_PROBE(qel_check_time, K::Field, K::Field, K::Field, O, N),
        QEL_PROBE(qel_date_message, Y, M, D, O, K::Size, N),
        QEL_PROBE(qel_lunar_message, Y, M, D, L, O, K::Size, N),
        QEL_PROBE(qel_time_message, K::Field, K::Field, K::Field, O, K::Size, N),
        QEL_PROBE(qel_range_message, K::Index, O, K::Size, N),
        QEL_PROBE(qel_status_message, K::Index, O, K::Size, N),
        QEL_PROBE(qel_count, K::Index),
        {"qel_day_facts_get", {S, K::Options, K::Size, N}, [](const int64_t* a) {
             std::array<qel_day_facts, 2> f;  // room for a caller's larger structure
             std::memset(f.data(), 7, sizeof f);
             const size_t size = sizeof(qel_day_facts) + size_t(a[2]) - 8;  // 8 bytes short .. 56 over
             const int32_t r = qel_day_facts_get(a[0], uint32_t(a[1]), a[3] & 1 ? nullptr : f.data(), size);
             return (Digest{} << r << f).h;
         }},
        QEL_PROBE(qel_day_facts_field, K::Index, O, N),
        // The calendar-taking calls: the calendar from kFlags (0, 1, 2 and
        // unknown ones).
        QEL_PROBE(qel_calendar_of_name, K::Text, K::Size),
        QEL_PROBE(qel_lunar_of_serial_in, K::Flag, S, O, N),
        QEL_PROBE(qel_serial_of_lunar_in, K::Flag, Y, M, D, L, O, N),
        QEL_PROBE(qel_check_lunar_in, K::Flag, Y, M, D, L, O, N),
        QEL_PROBE(qel_lunar_message_in, K::Flag, Y, M, D, L, O, K::Size, N),
        QEL_PROBE(qel_lunar_month_info, K::Flag, Y, M, L, O, N),
        {"qel_lunar_year_months_in", {K::Flag, Y, K::Size, N}, [](const int64_t* a) {
             std::array<qel_lunar_month, QEL_LUNAR_MONTHS_MAX> m;
             std::memset(m.data(), 7, sizeof m);
             const int32_t r = qel_lunar_year_months_in(int32_t(a[0]), int32_t(a[1]), a[3] & 1 ? nullptr : m.data(),
                                                        size_t(a[2]));
             return (Digest{} << r << m).h;
         }},
        {"qel_lunar_of_days_in", {K::Flag, S, K::Count, K::Size, N}, [](const int64_t* a) {
             const auto days = day_run(a[1], a[2]);
             std::array<int32_t, 64> y, m, d, l;
             std::array<int8_t, 64> st;
             y.fill(7), m.fill(7), d.fill(7), l.fill(7), st.fill(7);
             const auto out = [a](auto& v, int bit) { return a[4] >> bit & 1 ? nullptr : v.data(); };
             const int64_t r = qel_lunar_of_days_in(int32_t(a[0]), a[4] & 16 ? nullptr : days.data(), size_t(a[3]),
                                                    QEL_EPOCH_SERIAL, out(y, 0), out(m, 1), out(d, 2), out(l, 3),
                                                    out(st, 5));
             return (Digest{} << r << y << m << d << l << st).h;
         }},
        {"qel_days_of_lunar_in", {K::Flag, Y, M, L, K::Size, N}, [](const int64_t* a) {
             std::array<int32_t, 64> y, m, d, l;
             for (size_t i = 0; i < 64; ++i)
                 y[i] = int32_t(a[1]), m[i] = int32_t(a[2]), d[i] = int32_t(i % 31), l[i] = int32_t(a[3]);
             std::array<int64_t, 64> days;
             std::array<int8_t, 64> st;
             days.fill(7), st.fill(7);
             const int64_t r = qel_days_of_lunar_in(int32_t(a[0]), a[5] & 16 ? nullptr : y.data(), m.data(), d.data(),
                                                    l.data(), size_t(a[4]), QEL_EPOCH_SERIAL,
                                                    a[5] & 1 ? nullptr : days.data(), a[5] & 2 ? nullptr : st.data());
             return (Digest{} << r << days << st).h;
         }},
        // Batch calls of up to 64 elements; bit 4 of the mask nulls the
        // input, the other bits outputs.
        {"qel_lunar_of_days", {S, K::Count, K::Size, K::Epoch, N}, [](const int64_t* a) {
             const auto days = day_run(a[0], a[1]);
             std::array<int32_t, 64> y, m, d, l;
             std::array<int8_t, 64> st;
             y.fill(7), m.fill(7), d.fill(7), l.fill(7), st.fill(7);
             const auto out = [a](auto& v, int bit) { return a[4] >> bit & 1 ? nullptr : v.data(); };
             const int64_t r = qel_lunar_of_days(a[4] & 16 ? nullptr : days.data(), size_t(a[2]), a[3], out(y, 0),
                                                 out(m, 1), out(d, 2), out(l, 3), out(st, 5));
             return (Digest{} << r << y << m << d << l << st).h;
         }},
        {"qel_days_of_lunar", {Y, M, D, L, K::Size, K::Epoch, N}, [](const int64_t* a) {
             std::array<int32_t, 64> y, m, d, l;
             for (size_t i = 0; i < 64; ++i)
                 y[i] = int32_t(a[0]), m[i] = int32_t(a[1]), d[i] = int32_t(uint32_t(a[2]) + i), l[i] = int32_t(a[3]);
             std::array<int64_t, 64> days;
             std::array<int8_t, 64> st;
             days.fill(7), st.fill(7);
             const int64_t r = qel_days_of_lunar(a[6] & 16 ? nullptr : y.data(), m.data(), d.data(), l.data(),
                                                 size_t(a[4]), a[5], a[6] & 1 ? nullptr : days.data(),
                                                 a[6] & 2 ? nullptr : st.data());
             return (Digest{} << r << days << st).h;
         }},
        {"qel_day_facts_of_days", {S, K::Count, K::Size, K::Epoch, K::Options, N}, [](const int64_t* a) {
             const auto days = day_run(a[0], a[1]);
             std::array<qel_day_facts, 64> f;
             std::array<int8_t, 64> st;
             std::memset(f.data(), 7, sizeof f), st.fill(7);
             const int64_t r = qel_day_facts_of_days(a[5] & 16 ? nullptr : days.data(), size_t(a[2]), a[3],
                                                     uint32_t(a[4]), a[5] & 1 ? nullptr : f.data(),
                                                     a[5] & 2 ? nullptr : st.data());
             return (Digest{} << r << f << st).h;
         }},
        {"qel_day_facts_of_days_strided", {S, K::Count, K::Size, K::Epoch, K::Options, N}, [](const int64_t* a) {
             const auto days = day_run(a[0], a[1]);
             std::array<qel_day_facts, 128> f;  // 64 elements of up to twice the structure's size
             std::array<int8_t, 64> st;
             std::memset(f.data(), 7, sizeof f), st.fill(7);
             const size_t stride = a[5] & 4 ? 2 * sizeof(qel_day_facts) : a[5] & 8 ? 100 : sizeof(qel_day_facts);
             const int64_t r = qel_day_facts_of_days_strided(a[5] & 16 ? nullptr : days.data(), size_t(a[2]), a[3],
                                                             uint32_t(a[4]), a[5] & 1 ? nullptr : f.data(), stride,
                                                             a[5] & 2 ? nullptr : st.data());
             return (Digest{} << r << f << st).h;
         }},
    };
    return list;
}

#undef QEL_PROBE
#undef QEL_STRING
#undef QEL_MEMBER
#undef QEL_OVERLOAD

}  // namespace qel::reliability
