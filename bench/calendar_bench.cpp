// qel_calendar: the facts of a day against the bare lunar conversion it
// contains, and the batch conversion in days per second over blocks of 4,096
// sorted or random days, against the same days converted one call at a time.
//
// A block's ns per call divided by 4,096 is ns per day; days per second is
// its inverse. Last run: see README's performance table.
#include <cstdint>
#include <vector>

#include "harness.h"
#include "inputs.h"
#include "qel_calendar.h"
#include "qel_datetime.h"

namespace qel::bench {
namespace {

constexpr uint64_t lunar_digest(int32_t y, int32_t m, int32_t d, int32_t leap) {
    return uint64_t(uint32_t(y)) << 24 ^ uint64_t(uint8_t(m)) << 16 ^ uint64_t(uint8_t(d)) << 8 ^ uint64_t(uint8_t(leap));
}

uint64_t day_facts_qel(const DateInt& s) {
    qel_day_facts f;
    qel_day_facts_of(s, 0, &f);
    return lunar_digest(f.lunar_year, f.lunar_month, f.lunar_day, f.lunar_leap);
}

template <int32_t Calendar>
uint64_t lunar_in(const DateInt& s) {
    qel_lunar_date l{};
    qel_lunar_of_serial_in(Calendar, s, &l);
    return lunar_digest(l.year, l.month, l.day, l.leap);
}

uint64_t by_tdate(const DateInt& s) {
    int32_t y, m, d, leap;
    GDateToPDateByTDate(s, &y, &m, &d, &leap);
    return lunar_digest(y, m, d, leap);
}

// A block of days and room for the answers, converted in one call.
struct Block {
    std::vector<int64_t> days;
    mutable std::vector<int32_t> year, month, day, leap;
    explicit Block(std::vector<int64_t> d)
        : days(std::move(d)), year(days.size()), month(days.size()), day(days.size()), leap(days.size()) {}
};

uint64_t batch_qel(const Block& b) {
    qel_lunar_of_days(b.days.data(), b.days.size(), QEL_EPOCH_SERIAL, b.year.data(), b.month.data(), b.day.data(),
                      b.leap.data(), nullptr);
    uint64_t sum = 0;
    for (size_t i = 0; i < b.days.size(); i += 97) sum += lunar_digest(b.year[i], b.month[i], b.day[i], b.leap[i]);
    return sum;
}

uint64_t batch_one_call_per_day(const Block& b) {
    for (size_t i = 0; i < b.days.size(); ++i)
        GDateToPDateByTDate(b.days[i], &b.year[i], &b.month[i], &b.day[i], &b.leap[i]);
    uint64_t sum = 0;
    for (size_t i = 0; i < b.days.size(); i += 97) sum += lunar_digest(b.year[i], b.month[i], b.day[i], b.leap[i]);
    return sum;
}

}  // namespace

void register_calendar() {
    static const std::vector<Block> sorted = [] {
        std::vector<int64_t> days(kInputs);
        for (size_t i = 0; i < days.size(); ++i) days[i] = EncodeDate(1990, 1, 1) + DateInt(i);
        return std::vector<Block>{Block(days)};
    }();
    static const std::vector<Block> random = [] {
        const auto& s = lunar_range_serials();
        std::vector<int64_t> days(s.begin(), s.end());
        for (auto& d : days) d = d < QEL_FIRST_LUNAR_SERIAL ? QEL_FIRST_LUNAR_SERIAL : d;  // inside the table
        return std::vector<Block>{Block(days)};
    }();
    // Day facts may cost at most twice the bare conversion: a speed-up of 0.5.
    add("qel_day_facts_of (lunar part)", "qel", lunar_range_serials(), fn<day_facts_qel>);
    add("qel_day_facts_of (lunar part)", "GDateToPDateByTDate", lunar_range_serials(), fn<by_tdate>, 0.5);
    // A day's lunar date in each calendar over 1645-2200: the same lookup in
    // another table, so the Korean and Vietnamese dates cost what the Chinese
    // one does (a speed-up of 1).
    static const std::vector<DateInt> range = [] {
        auto days = serials(1645, 2200, 17);
        for (auto& d : days) d = d < QEL_FIRST_LUNAR_SERIAL ? QEL_FIRST_LUNAR_SERIAL : d;
        return days;
    }();
    add("qel_lunar_of_serial_in 1645-2200", "qel", range, fn<lunar_in<QEL_CALENDAR_CHINESE>>);
    add("qel_lunar_of_serial_in 1645-2200", "korean", range, fn<lunar_in<QEL_CALENDAR_KOREAN>>);
    registry().back().must_agree = false;  // another calendar
    add("qel_lunar_of_serial_in 1645-2200", "vietnamese", range, fn<lunar_in<QEL_CALENDAR_VIETNAMESE>>);
    registry().back().must_agree = false;
    add("qel_lunar_of_days, 4096 sorted days", "qel", sorted, fn<batch_qel>);
    add("qel_lunar_of_days, 4096 sorted days", "call per day", sorted, fn<batch_one_call_per_day>);
    add("qel_lunar_of_days, 4096 random days", "qel", random, fn<batch_qel>);
    add("qel_lunar_of_days, 4096 random days", "call per day", random, fn<batch_one_call_per_day>);
}

}  // namespace qel::bench
