// The structures of qel_calendar.h have one layout on every ABI, so that a
// binding can declare them once: 64-bit fields at 8-aligned offsets, no
// padding. i386 System V aligns int64_t to 4 inside structures; the m32 and
// win32 presets compile this file too.
#include <cstddef>

#include "qel_calendar.h"

static_assert(sizeof(qel_lunar_date) == 16);
static_assert(sizeof(qel_term) == 16 && offsetof(qel_term, instant) == 8);
static_assert(sizeof(qel_day_facts) == 96);
static_assert(offsetof(qel_day_facts, serial) == 0 && offsetof(qel_day_facts, term_instant) == 80 &&
              offsetof(qel_day_facts, festivals) == 88);
static_assert(sizeof(qel_holiday_day) == 16 && offsetof(qel_holiday_day, status) == 8);
static_assert(sizeof(qel_pillars) == 48);
static_assert(offsetof(qel_pillars, year_start) == 16 && offsetof(qel_pillars, month_start) == 32);
