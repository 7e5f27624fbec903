// Fuzzes qel_calendar, every export: the checks of shared/calendar_checks.h
// on arguments decoded from the input, with null pointers, buffers of 0 and 1
// bytes, huge batch counts, each enumeration one past its ends and callers'
// holiday tables that break their rules.
#include <memory>

#include "fuzz_support.h"
#include "shared/calendar_checks.h"

using namespace qel::fuzz;
using namespace qel::checks;
namespace hostile = qel::hostile;

namespace {

// An instant near a solar term, or near an end of the tables or integers.
int64_t instant(Args& a) {
    if (!a.flag()) return a.pick(hostile::kInstants);
    const size_t k = a.raw<uint16_t>() % qel::calendar::kTermInstants.size();
    const int64_t step = a.pick<int64_t>({0, 1, -1, 3600, -3600, kDay, -kDay, 15 * kDay});
    return static_cast<int64_t>(u64(qel::calendar::kTermInstants[k]) + u64(step));
}

int64_t lunar_serial(Args& a) {
    if (a.flag()) return a.serial();
    return QEL_FIRST_LUNAR_SERIAL + a.raw<uint32_t>() % (QEL_LAST_LUNAR_SERIAL - QEL_FIRST_LUNAR_SERIAL + 1);
}

size_t buffer_size(Args& a) { return a.pick<uint8_t>({0, 1, 2, 3, 4, 5, 7}); }
bool null_buffer(Args& a) { return a.raw<uint8_t>() < 32; }

void dates(Args& a) {
    const int32_t y = a.year(), m = a.month(), d = a.day();
    QEL_FUZZ_CHECK(check_serial_of_date(y, m, d));
    QEL_FUZZ_CHECK(check_instant(instant(a)));
    const int64_t day = a.serial();
    QEL_FUZZ_CHECK(check_instant_of_cst(day, a.pick(hostile::kSecondsOfDay)));
}

void lunar(Args& a) {
    QEL_FUZZ_CHECK(check_lunar_of_serial(lunar_serial(a)));
    const int32_t y = a.year(), m = a.month(), d = a.day(), leap = a.leap();
    const uint32_t flags = a.pick(hostile::kOptions);
    const size_t size = buffer_size(a);
    QEL_FUZZ_CHECK(check_lunar_date(y, m, d, leap, flags, size, null_buffer(a)));
}

void day_facts(Args& a) {
    const int64_t s = a.flag() ? lunar_serial(a) : a.serial();
    QEL_FUZZ_CHECK(check_day_facts(s, a.pick(hostile::kOptions)));
}

void terms(Args& a) {
    const int32_t y = a.year();
    QEL_FUZZ_CHECK(check_term_instant(y, a.pick(hostile::kIndexes)));
    QEL_FUZZ_CHECK(check_terms_around(instant(a)));
}

void pillars(Args& a) {
    const int64_t t = instant(a);
    const int32_t zi = a.pick(hostile::kFlags);
    QEL_FUZZ_CHECK(check_pillars(t, zi));
    const int32_t y = a.year(), m = a.month(), d = a.day(), h = a.pick(hostile::kClockFields),
                  mi = a.pick(hostile::kClockFields), se = a.pick(hostile::kClockFields);
    QEL_FUZZ_CHECK(check_pillars_of_cst(y, m, d, h, mi, se, zi));
}

void names(Args& a) {
    const int32_t kind = a.flag() ? a.raw<uint8_t>() % 18 - 1 : a.pick(hostile::kIndexes);
    const int32_t index = a.flag() ? a.raw<uint8_t>() % 64 - 1 : a.pick(hostile::kIndexes);
    const uint32_t flags = a.pick(hostile::kOptions);
    const size_t size = buffer_size(a);
    const bool null = null_buffer(a);
    QEL_FUZZ_CHECK(check_name(kind, index, flags, size, null, a.raw<uint32_t>()));
    // Any bytes typed as a name, in a heap block of exactly their length.
    char typed[32];
    const size_t n = a.text(typed, sizeof typed);
    const std::unique_ptr<char[]> exact(new char[n]);
    std::memcpy(exact.get(), typed, n);
    QEL_FUZZ_CHECK(check_name_lookup({exact.get(), n}));
}

void step(Args& a) {
    const int64_t s =
        a.flag() ? a.serial() : QEL_FIRST_SERIAL + a.raw<uint32_t>() % (QEL_LAST_SERIAL - QEL_FIRST_SERIAL + 1);
    const int32_t sec = a.pick(hostile::kSecondsOfDay);
    const int32_t unit = a.flag() ? a.raw<uint8_t>() % 9 - 1 : a.pick(hostile::kIndexes);
    const uint32_t flags = a.pick(hostile::kOptions);
    const int64_t count = a.flag() ? a.count() : a.count64();
    QEL_FUZZ_CHECK(check_step(s, sec, count, unit, flags));
}

// A caller's holiday table from the input: its years and up to eight days in
// or near them, mostly valid.
const Extra* extra_of(Args& a, Extra& e) {
    if (a.flag()) return nullptr;
    const int32_t first = a.pick<int32_t>({2027, 2003, 2010, 2026, 1, 9999, 0, 10000});
    const auto last = static_cast<int32_t>(static_cast<uint32_t>(first) + a.pick<uint32_t>({0, 1, 2, ~0u}));
    const size_t count = a.raw<uint8_t>() % 9;
    int64_t serial = a.serial();
    if (first >= 1 && first <= 9999)
        serial = static_cast<int64_t>(u64(qel::oracle::serial_of(first, 1, 1)) + u64(a.pick<int64_t>({0, 1, -1, 30})));
    for (size_t i = 0; i < count; ++i) {
        e.days[i] = {serial, a.pick<int32_t>({QEL_DAY_OFF, QEL_DAY_WORK, QEL_DAY_ORDINARY, 3, -1}),
                     a.pick<int32_t>({1, 2, 6, 8, 9, 0, QEL_HOLIDAY_COUNT, -1})};
        serial = static_cast<int64_t>(u64(serial) + u64(a.pick<int64_t>({1, 2, 7, 0, 400})));
    }
    const bool null_days = a.raw<uint8_t>() < 16;
    e.table = {null_days ? nullptr : e.days, null_days && count > 0 && a.flag() ? SIZE_MAX : count, first, last};
    judge(e);
    return &e;
}

void holidays(Args& a) {
    Extra e;
    const Extra* extra = extra_of(a, e);
    int32_t first_year = 0, last_year = 0;
    qel_holiday_years(&first_year, &last_year);
    const int64_t lo = qel::oracle::serial_of(first_year, 1, 1), hi = qel::oracle::serial_of(last_year + 1, 1, 1);
    // A day of the built-in table or near it, of the caller's, or any.
    const int64_t s = a.flag()   ? lo - 40 + a.raw<uint16_t>() % (hi - lo + 80)
                      : a.flag() ? static_cast<int64_t>(u64(e.first) + a.raw<uint16_t>() % 800)
                                 : a.serial();
    const int64_t step = a.flag() ? a.pick<int64_t>({0, 1, -1, 7, -7, 30, 366, -366}) : a.raw<int16_t>();
    const int64_t to = a.flag() ? static_cast<int64_t>(u64(s) + u64(step)) : a.serial();
    const int64_t n = a.pick<int64_t>({0, 1, -1, 5, -5, 250, -250, 6000, -6000, hostile::kI64Min, hostile::kI64Max});
    QEL_FUZZ_CHECK(check_holidays(s, to, n, extra));
}

void batches(Args& a) {
    const size_t n = a.pick<uint8_t>({0, 1, 2, 3, 17, 40}) % 41;
    const int64_t epoch = a.pick(hostile::kEpochs);
    const uint8_t nulls = a.raw<uint8_t>();
    // Days counted from the epoch: a run from one serial in steps, or any.
    int64_t days[40];
    const int64_t first = a.serial(), step = a.pick<int64_t>({1, 0, -1, 29, 400, kMaxEpoch, hostile::kI64Max});
    for (size_t i = 0; i < n; ++i) {
        const uint64_t run = u64(first) - u64(epoch) + u64(step) * i;
        days[i] = a.flag() ? static_cast<int64_t>(run) : a.serial();
    }
    QEL_FUZZ_CHECK(check_lunar_of_days(days, n, epoch, nulls));
    int32_t y[40], m[40], d[40], l[40];
    for (size_t i = 0; i < n; ++i) {
        qel_lunar_date p{a.year(), a.month(), a.day(), a.leap()};
        if (a.flag()) qel_lunar_of_serial(lunar_serial(a), &p);
        y[i] = p.year, m[i] = p.month, d[i] = p.day, l[i] = p.leap;
    }
    QEL_FUZZ_CHECK(check_days_of_lunar(y, m, d, l, n, epoch, nulls, a.raw<uint8_t>()));
    QEL_FUZZ_CHECK(check_day_facts_of_days(days, n, epoch, a.pick(hostile::kOptions), nulls));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return run_operations(data, size, {dates, lunar, day_facts, terms, pillars, names, batches, holidays, step});
}
