// The lunar calendar: the table-driven conversions, validation and month steps
// against the literal walks of tests/reference (year by year and month by
// month from the 1900 base, one month per step), on days spread uniformly over
// Gregorian 1900-2100; the GBK names and the solar terms on their own.
//
// Last run (bench/run, 2026-12-06, AMD EPYC family 26, 2 vCPUs shared with
// other builds, g++ 12.2 -O3), CPU ns per call, fastest of 5 repetitions:
//   GDateToPDate           qel 11.0   literal 360 (32.8x)   ICU 39,543 (3,604x)
//   PDateToGDate           qel 7.2    literal 366 (50.9x)   ICU 21,300 (2,963x)
//   incPMonth +-120        qel 8.0    literal 80.0 (10.0x)
#include <cstdint>

#include "gregorian/civil.h"
#include "harness.h"
#include "inputs.h"
#include "qel_datetime.h"
#include "reference/lunar_reference.h"

namespace qel::bench {
namespace {

namespace ref = qel::reference;

constexpr uint64_t digest(int32_t status, int32_t a, int32_t b, int32_t c, int32_t d = 0) {
    return uint64_t(uint8_t(status)) << 56 ^ uint64_t(uint32_t(a)) << 24 ^ uint64_t(uint8_t(b)) << 16 ^
           uint64_t(uint8_t(c)) << 8 ^ uint64_t(uint8_t(d));
}

uint64_t to_lunar_qel(const Ymd& g) {
    int32_t y, m, d, leap;
    const int32_t status = GDateToPDate(g.year, g.month, g.day, &y, &m, &d, &leap);
    return digest(status, y, m, d, leap);
}

// The literal conversion: the range test, the validating encoder, the walk.
uint64_t to_lunar_literal(const Ymd& g) {
    if (g.year < 1900 || g.year > 2100) return digest(-2, 0, 0, 0);
    DateInt serial = 0;
    if (!qel::gregorian::TryEncodeDate(g.year, g.month, g.day, &serial)) return digest(-1, 0, 0, 0);
    int32_t y, m, d, leap;
    const int32_t status = ref::gdate_to_pdate_walk(serial, &y, &m, &d, &leap);
    return digest(status, y, m, d, leap);
}

uint64_t serial_to_lunar_qel(const DateInt& s) {
    int32_t y, m, d, leap;
    const int32_t status = GDateToPDateByTDate(s, &y, &m, &d, &leap);
    return digest(status, y, m, d, leap);
}

uint64_t serial_to_lunar_literal(const DateInt& s) {
    int32_t y, m, d, leap;
    const int32_t status = ref::gdate_to_pdate_walk(s, &y, &m, &d, &leap);
    return digest(status, y, m, d, leap);
}

uint64_t to_gregorian_qel(const LunarDate& p) {
    int32_t y = 0, m = 0, d = 0;
    const int32_t status = PDateToGDate(p.year, p.month, p.day, p.leap, &y, &m, &d);
    return digest(status, y, m, d);
}

uint64_t to_gregorian_literal(const LunarDate& p) {
    int32_t y = 0, m = 0, d = 0;
    const int32_t status = ref::pdate_to_gdate_walk(p.year, p.month, p.day, p.leap, &y, &m, &d);
    return digest(status, y, m, d);
}

uint64_t valid_qel(const LunarDate& p) { return uint64_t(PDateIsValid(p.year, p.month, p.day, p.leap)); }
uint64_t valid_literal(const LunarDate& p) { return uint64_t(ref::pdate_valid(p.year, p.month, p.day, p.leap)); }

struct MonthStep {
    LunarDate start;
    int32_t months;
};

uint64_t inc_month_qel(const MonthStep& s) {
    LunarDate p = s.start;
    const int32_t status = incPMonth(&p.year, &p.month, &p.day, &p.leap, s.months, 1);
    return digest(status, p.year, p.month, p.day, p.leap);
}

uint64_t inc_month_literal(const MonthStep& s) {
    LunarDate p = s.start;
    const int32_t status = ref::inc_p_month_walk(&p.year, &p.month, &p.day, &p.leap, s.months, 1);
    return digest(status, p.year, p.month, p.day, p.leap);
}

uint64_t month_day_text_qel(const LunarDate& p) {
    const tpdate date{p.year, p.month, p.day, p.leap};
    TAnsiString text;
    pdate2text(&date, &text, 3);
    return digest_bytes(text.c_str(), text.length());
}

struct TermQuery {
    int32_t year, term;
};

uint64_t term_day_qel(const TermQuery& q) { return getLunarTermDay(q.year, q.term); }

}  // namespace

void register_lunar() {
    // Valid dates and, one in four, a day 30 that the month may lack, and one
    // in eight with the leap flag flipped.
    static const auto checked = [] {
        auto v = lunar_range_pdates();
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (i % 4 == 1) v[i].day = 30;
            if (i % 8 == 2) v[i].leap ^= 1;
        }
        return v;
    }();
    // Steps of up to ten years either way from lunar 1910-2090, inside the table.
    static const auto steps = [] {
        std::vector<MonthStep> v;
        std::mt19937_64 rng(31);
        for (const LunarDate& p : lunar_range_pdates()) {
            LunarDate start = p;
            start.year = static_cast<int32_t>(uniform(rng, 1910, 2090));
            if (start.leap && ref::leap_month(start.year) != start.month) start.leap = 0;
            v.push_back({start, static_cast<int32_t>(uniform(rng, -120, 120))});
        }
        return v;
    }();
    static const auto terms = generate<TermQuery>(32, [](auto& rng) {
        return TermQuery{static_cast<int32_t>(uniform(rng, 1900, 2100)), static_cast<int32_t>(uniform(rng, 0, 23))};
    });

    add("GDateToPDate", "qel", lunar_range_dates(), fn<to_lunar_qel>);
    add("GDateToPDate", "literal", lunar_range_dates(), fn<to_lunar_literal>, 30);
    add("GDateToPDateByTDate", "qel", lunar_range_serials(), fn<serial_to_lunar_qel>);
    add("GDateToPDateByTDate", "literal", lunar_range_serials(), fn<serial_to_lunar_literal>, 30);
    add("PDateToGDate", "qel", lunar_range_pdates(), fn<to_gregorian_qel>);
    add("PDateToGDate", "literal", lunar_range_pdates(), fn<to_gregorian_literal>, 30);
    add("PDateIsValid", "qel", checked, fn<valid_qel>);
    add("PDateIsValid", "literal", checked, fn<valid_literal>);
    add("incPMonth +-120", "qel", steps, fn<inc_month_qel>);
    add("incPMonth +-120", "literal", steps, fn<inc_month_literal>, 10);
    add("pdate2text", "qel", lunar_range_pdates(), fn<month_day_text_qel>);
    add("getLunarTermDay", "qel", terms, fn<term_day_qel>);
}

}  // namespace qel::bench
