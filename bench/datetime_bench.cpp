// The packed date-time: second and month steps and the difference in seconds
// against C++20 std::chrono (sys_seconds, year_month_day) on the same moments
// of 1900-2100, and the text members (which allocate their string) against
// snprintf into a std::string.
//
// Last run (bench/run, 2026-12-06, AMD EPYC family 26, 2 vCPUs shared with
// other builds, g++ 12.2 -O3), CPU ns per call, fastest of 5 repetitions:
//   TDateTime::incSecond   qel 14.8   std::chrono 11.8 (0.80x)
//   TDateTime::incMonth    qel 6.9    std::chrono 4.7 (0.68x)
//   asDateTimeString       qel 335, 2 allocations   snprintf+std::string 173, 1
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "datetime/packed.h"
#include "harness.h"
#include "inputs.h"
#include "qel_datetime.h"

namespace qel::bench {
namespace {

using namespace std::chrono;
using datetime::kDay;
using datetime::kHour;
using datetime::kMinute;
using datetime::kMonth;
using datetime::kSecond;
using datetime::kYear;

// The C++20 view of a word: the moment it names, and back.
sys_seconds chrono_time(DateTimeInt w) {
    const year_month_day ymd{year{kYear.get(w)}, month{unsigned(kMonth.get(w))}, day{unsigned(kDay.get(w))}};
    return sys_days{ymd} + hours{kHour.get(w)} + minutes{kMinute.get(w)} + seconds{kSecond.get(w)};
}

DateTimeInt chrono_word(sys_seconds t) {
    const sys_days d = floor<days>(t);
    const year_month_day ymd{d};
    const hh_mm_ss tod{t - d};
    return datetime::pack(int(ymd.year()), unsigned(ymd.month()), unsigned(ymd.day()), tod.hours().count(),
                          tod.minutes().count(), tod.seconds().count());
}

uint64_t inc_second_qel(const Step& s) { return TDateTime(s.word).incSecond(s.count).value; }
uint64_t inc_second_chrono(const Step& s) { return chrono_word(chrono_time(s.word) + seconds{s.count}); }

// With the clamp: a day the new month lacks becomes its last day.
uint64_t inc_month_qel(const Step& s) {
    TDateTime t(s.word);
    const bool ok = t.incMonth(static_cast<QelLong>(s.count), 1);
    return t.value << 1 | ok;
}

uint64_t inc_month_chrono(const Step& s) {
    year_month_day ymd{year{kYear.get(s.word)}, month{unsigned(kMonth.get(s.word))}, day{unsigned(kDay.get(s.word))}};
    ymd += months{s.count};
    if (!ymd.ok()) ymd = ymd.year() / ymd.month() / last;
    const DateTimeInt w = kDay.set(kMonth.set(kYear.set(s.word, int(ymd.year())), unsigned(ymd.month())),
                                   unsigned(ymd.day()));
    return w << 1 | 1;
}

struct Pair {
    DateTimeInt first, second;
};

uint64_t seconds_delta_qel(const Pair& p) { return static_cast<uint64_t>(secondsDelta(p.first, p.second)); }
uint64_t seconds_delta_chrono(const Pair& p) {
    return static_cast<uint64_t>((chrono_time(p.first) - chrono_time(p.second)).count());
}

uint64_t date_time_string_qel(const DateTimeInt& w) {
    const TAnsiString s = TDateTime(w).asDateTimeString();
    return digest_bytes(s.c_str(), s.length());
}

uint64_t date_time_string_snprintf(const DateTimeInt& w) {
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%d-%02d-%02d %02d:%02d:%02d", kYear.get(w), kMonth.get(w),
                                kDay.get(w), kHour.get(w), kMinute.get(w), kSecond.get(w));
    const std::string s(buffer, static_cast<std::size_t>(n));
    return digest_bytes(s.data(), s.size());
}

uint64_t date_time_string_w_qel(const DateTimeInt& w) {
    const TWideString s = TDateTime(w).asDateTimeStringW();
    return digest_bytes(s.c_str(), s.length() * sizeof(unsigned short));
}

uint64_t date_string_qel(const DateTimeInt& w) {
    const TAnsiString s = TDateTime(w).asDateString();
    return digest_bytes(s.c_str(), s.length());
}

struct Text {
    char date[11];  // "YYYY-MM-DD"
};

uint64_t from_date_string_qel(const Text& t) { return TDateTime().fromDateString(t.date).value; }

}  // namespace

void register_datetime() {
    // Steps of up to 400 days either way, most of them crossing days.
    static const auto second_steps = generate<Step>(21, [](auto& rng) {
        return Step{random_moment(rng), uniform(rng, -400 * 86400, 400 * 86400)};
    });
    static const auto month_steps = generate<Step>(22, [](auto& rng) {
        return Step{random_moment(rng), uniform(rng, -120, 120)};
    });
    static const auto pairs =
        generate<Pair>(23, [](auto& rng) { return Pair{random_moment(rng), random_moment(rng)}; });
    static const auto words = generate<DateTimeInt>(24, [](auto& rng) { return random_moment(rng); });
    static const auto texts = [] {
        std::vector<Text> v(words.size());
        for (std::size_t i = 0; i < v.size(); ++i)
            std::snprintf(v[i].date, sizeof v[i].date, "%04d-%02d-%02d", kYear.get(words[i]), kMonth.get(words[i]),
                          kDay.get(words[i]));
        return v;
    }();

    add("TDateTime::incSecond", "qel", second_steps, fn<inc_second_qel>);
    add("TDateTime::incSecond", "std::chrono", second_steps, fn<inc_second_chrono>);
    add("TDateTime::incMonth", "qel", month_steps, fn<inc_month_qel>);
    add("TDateTime::incMonth", "std::chrono", month_steps, fn<inc_month_chrono>);
    add("secondsDelta", "qel", pairs, fn<seconds_delta_qel>);
    add("secondsDelta", "std::chrono", pairs, fn<seconds_delta_chrono>);
    add("TDateTime::asDateTimeString", "qel", words, fn<date_time_string_qel>);
    add("TDateTime::asDateTimeString", "snprintf+std::string", words, fn<date_time_string_snprintf>);
    add("TDateTime::asDateTimeStringW", "qel", words, fn<date_time_string_w_qel>);
    add("TDateTime::asDateString", "qel", words, fn<date_string_qel>);
    add("TDateTime::fromDateString", "qel", texts, fn<from_date_string_qel>);
}

}  // namespace qel::bench
