/* qel_calendar.h — the Chinese calendar as a plain C interface, in UTF-8:
 * the facts of a day, the 24 solar terms to the second, the four pillars,
 * festivals, PRC holidays, names, and batch conversions for bindings and
 * databases; the covered ranges, the reasons a date fails and the text of
 * every failure, which the tool and the bindings show as they are.
 *
 * It shares the published lunar table and the solar-term tables with
 * qel_datetime at compile time and needs nothing at run time but libc
 * (neither qel_datetime nor the C++ runtime). C99 and C++ alike,
 * fixed-width types only.
 *
 * Units and conventions:
 * - A day is a day serial: days since 1899-12-30 (serial 0), the DateInt of
 *   qel_datetime. 1900-01-01 is 2, 1970-01-01 is 25569, 2000-01-01 is 36526.
 *   Batch calls take any count of days with an epoch (the serial of day 0).
 * - An instant is seconds since 1970-01-01T00:00:00 UTC (Unix time, no leap
 *   seconds). Civil times are China Standard Time, UTC+8.
 * - Sexagenary (stem-branch, 干支) indices run 0 = 甲子 .. 59 = 癸亥; the stem
 *   of index i is i % 10 (0 = 甲), the branch i % 12 (0 = 子).
 * - Solar terms are numbered within a Gregorian year: 0 = 小寒 Minor Cold
 *   (the Sun at 285 degrees) .. 5 = 春分 March equinox .. 23 = 冬至 December
 *   solstice; term k is at 285 + 15k degrees of apparent longitude.
 * - Weekdays are ISO: 1 = Monday .. 7 = Sunday.
 *
 * Every function is thread-safe, allocates nothing, keeps no state, takes no
 * lock and returns in bounded time for every argument value. Status results
 * are QEL_OK (0) or a negative QEL_E_* code; out-values are written only on
 * QEL_OK unless the declaration says otherwise.
 *
 * Text is UTF-8 written snprintf-style: the result is the length of the whole
 * text in bytes (without the NUL), written as far as it fits; when size > 0
 * the buffer is always NUL-terminated, cut at a character boundary. A
 * negative result is a status code, and then buf (when size > 0) holds "".
 */
#ifndef QEL_CALENDAR_H
#define QEL_CALENDAR_H

#include <stddef.h>
#include <stdint.h>

#include "qel_calendar_version.h"

#if defined(_WIN32) || defined(__CYGWIN__)
#  if defined(QEL_CALENDAR_BUILD)
#    define QEL_CALENDAR_API __declspec(dllexport)
#  elif defined(QEL_STATIC)
#    define QEL_CALENDAR_API
#  else
#    define QEL_CALENDAR_API __declspec(dllimport)
#  endif
#elif defined(__GNUC__) || defined(__clang__)
#  define QEL_CALENDAR_API __attribute__((visibility("default")))
#else
#  define QEL_CALENDAR_API
#endif

#ifdef __cplusplus
#  define QEL_CALENDAR_NOEXCEPT noexcept
extern "C" {
#else
#  define QEL_CALENDAR_NOEXCEPT
#endif

/* ---- Status codes -------------------------------------------------------- */
#define QEL_OK 0
#define QEL_E_RANGE (-1)    /* outside the covered years (below) */
#define QEL_E_DATE (-2)     /* no such date: 2023-02-29, lunar 2023-13-01, a
                               leap month the year does not have, day 30 of a
                               month of 29 days */
#define QEL_E_ARGUMENT (-3) /* a null pointer that is needed, an unknown
                               index, flag or name */

/* Covered ranges:
 * - Gregorian facts: serials QEL_FIRST_SERIAL (0001-01-01) .. QEL_LAST_SERIAL
 *   (9999-12-31).
 * - Lunar dates, in each of the three calendars: the lunar years 1645-2200,
 *   serials QEL_FIRST_LUNAR_SERIAL (1645-01-28, lunar 1645-01-01) ..
 *   QEL_LAST_LUNAR_SERIAL (2201-02-03, lunar 2200-12-29).
 * - Solar terms and the Gregorian festivals: the Gregorian years 1645-2200;
 *   the lunar festivals: every day of the lunar calendars; the four pillars:
 *   from the 立春 of 1645 to the end of 2200.
 * The lunar years 1900-2100 of the Chinese calendar are the published table;
 * the others are computed from ephemerides, with the historical record where
 * it differs (qel_lunar_month_info tells which). The ranges only grow from one
 * minor version to the next; qel_domain_range gives those of the library a
 * program runs with. */
#define QEL_FIRST_SERIAL (-693593)
#define QEL_LAST_SERIAL 2958465
#define QEL_FIRST_LUNAR_SERIAL (-93107)
#define QEL_LAST_LUNAR_SERIAL 109973
#define QEL_FIRST_YEAR 1645
#define QEL_LAST_YEAR 2200
/* Epochs for the batch calls: the serial of the caller's day 0. */
#define QEL_EPOCH_SERIAL 0       /* days since 1899-12-30 */
#define QEL_EPOCH_UNIX 25569     /* days since 1970-01-01 (NumPy, JavaScript) */
#define QEL_EPOCH_POSTGRES 36526 /* days since 2000-01-01 (PostgreSQL date) */

/* ---- Version and ABI ---------------------------------------------------------
 * QEL_CALENDAR_VERSION_MAJOR, _MINOR, _PATCH, _NUMBER and _STRING (from
 * qel_calendar_version.h) are the version a program was compiled against;
 * qel_calendar_version() is the version of the library it runs with.
 *
 * The promise of a major version (the soname, libqel_calendar.so.1): a
 * program built against 1.x runs with any later 1.y. Within it, no function
 * is removed and none changes its signature or meaning; enum values and
 * macros keep their numbers (but for the range macros above, whose ranges
 * only grow: 1.0 and 1.1 covered 1900-2100); qel_lunar_date, qel_term, qel_pillars,
 * qel_holiday_day, qel_holiday_table, qel_range, qel_lunar_month,
 * qel_festival_day and qel_field keep their layout; qel_day_facts keeps its
 * first QEL_DAY_FACTS_SIZE_1_0 bytes. A minor version may add functions,
 * enum values (the *_COUNT values and qel_count grow), flags, reasons,
 * messages' wording for new cases, and fields at the end of qel_day_facts,
 * read through qel_day_facts_get and qel_day_facts_of_days_strided. A
 * message's words may be improved in a minor version: compare status codes
 * and reasons, not texts. */
QEL_CALENDAR_API const char* qel_calendar_version(void) QEL_CALENDAR_NOEXCEPT;

/* ---- Ranges, reasons and messages ------------------------------------------
 * The covered ranges, the reason a date fails and the English text of every
 * failure live here, once: the tool and the bindings show these texts (Python
 * ValueError, JavaScript RangeError, SQL error messages, qeldate's stderr)
 * instead of composing their own, so a bad input reads the same everywhere. */

/* What a range or a message is about. */
typedef enum qel_domain {
    QEL_DOMAIN_GREGORIAN = 0, /* Gregorian dates and days: 0001-01-01 .. 9999-12-31 */
    QEL_DOMAIN_LUNAR,         /* lunar dates: the lunar years 1645-2200 */
    QEL_DOMAIN_TERMS,         /* solar terms, Gregorian festivals: the years 1645-2200 */
    QEL_DOMAIN_PILLARS,       /* the four pillars: the 立春 of 1645 to the end of 2200 */
    QEL_DOMAIN_HOLIDAYS,      /* the built-in PRC holiday table */
    QEL_DOMAIN_COUNT
} qel_domain;

/* A covered range. Years are lunar years for QEL_DOMAIN_LUNAR, Gregorian
 * otherwise; serials are the first and last day covered; instants the first
 * and last second covered (for the day domains: the first second of the first
 * day and the last second of the last day, in UTC+8). */
typedef struct qel_range {
    int32_t first_year;
    int32_t last_year;
    int64_t first_serial;
    int64_t last_serial;
    int64_t first_instant;
    int64_t last_instant;
} qel_range;

/* The range of a domain; QEL_E_ARGUMENT for an unknown domain or a null out. */
QEL_CALENDAR_API int32_t qel_domain_range(int32_t domain, qel_range* out) QEL_CALENDAR_NOEXCEPT;

/* Why a date or time fails: refinements of the status codes, which keep
 * their meaning (QEL_E_RANGE for the year, QEL_E_ARGUMENT for the leap flag,
 * QEL_E_DATE for the rest). */
typedef enum qel_reason {
    QEL_REASON_NONE = 0,          /* no failure */
    QEL_REASON_YEAR,              /* the year is outside the covered years */
    QEL_REASON_MONTH,             /* a month outside 1..12 */
    QEL_REASON_DAY,               /* a day outside 1..31 (lunar: 1..30) */
    QEL_REASON_MONTH_LENGTH,      /* past the month's end: 2023-02-29, day 30 of a lunar month of 29 */
    QEL_REASON_NO_LEAP_MONTH,     /* a leap month in a lunar year without one */
    QEL_REASON_OTHER_LEAP_MONTH,  /* a leap month the year has after another month */
    QEL_REASON_LEAP_FLAG,         /* a leap flag other than 0 or 1 */
    QEL_REASON_HOUR,              /* an hour outside 0..23 */
    QEL_REASON_MINUTE,            /* a minute outside 0..59 */
    QEL_REASON_SECOND,            /* a second outside 0..59 */
    QEL_REASON_COUNT
} qel_reason;

/* Checks of a Gregorian date, a lunar date and a clock time: the status the
 * conversions give for them (qel_serial_of_date, qel_serial_of_lunar, the
 * time fields of qel_pillars_of_cst), and the reason in *reason (when not
 * null; written on every call). */
QEL_CALENDAR_API int32_t qel_check_date(int32_t year, int32_t month, int32_t day,
                                        int32_t* reason) QEL_CALENDAR_NOEXCEPT;
QEL_CALENDAR_API int32_t qel_check_lunar(int32_t year, int32_t month, int32_t day, int32_t leap,
                                         int32_t* reason) QEL_CALENDAR_NOEXCEPT;
QEL_CALENDAR_API int32_t qel_check_time(int32_t hour, int32_t minute, int32_t second,
                                        int32_t* reason) QEL_CALENDAR_NOEXCEPT;
/* qel_check_lunar in a chosen calendar (QEL_E_ARGUMENT and QEL_REASON_NONE
 * for an unknown one). */
QEL_CALENDAR_API int32_t qel_check_lunar_in(int32_t calendar, int32_t year, int32_t month, int32_t day,
                                            int32_t leap, int32_t* reason) QEL_CALENDAR_NOEXCEPT;

/* The messages, in English, snprintf-style (see the top of this file); each
 * is "" (length 0) when there is nothing wrong:
 *   qel_date_message   "2023-02 has 28 days, not 29", "month 13 is not 1-12",
 *                      "year 10000 is outside 1-9999"
 *   qel_lunar_message  "lunar 2023 has no leap month 3 (its leap month is 2)",
 *                      "lunar day 0 is not 1-30", "the leap flag 2 is not 0 or 1"
 *   qel_time_message   "hour 24 is not 0-23"
 *   qel_range_message  "outside the lunar years 1645-2200 (1645-01-28 to
 *                      2201-02-03)": a domain's range, for a QEL_E_RANGE
 *   qel_status_message "no such date", ...: the bare meaning of a status */
QEL_CALENDAR_API int32_t qel_date_message(int32_t year, int32_t month, int32_t day, char* buf,
                                          size_t size) QEL_CALENDAR_NOEXCEPT;
QEL_CALENDAR_API int32_t qel_lunar_message(int32_t year, int32_t month, int32_t day, int32_t leap, char* buf,
                                           size_t size) QEL_CALENDAR_NOEXCEPT;
QEL_CALENDAR_API int32_t qel_time_message(int32_t hour, int32_t minute, int32_t second, char* buf,
                                          size_t size) QEL_CALENDAR_NOEXCEPT;
QEL_CALENDAR_API int32_t qel_lunar_message_in(int32_t calendar, int32_t year, int32_t month, int32_t day,
                                              int32_t leap, char* buf, size_t size) QEL_CALENDAR_NOEXCEPT;
QEL_CALENDAR_API int32_t qel_range_message(int32_t domain, char* buf, size_t size) QEL_CALENDAR_NOEXCEPT;
QEL_CALENDAR_API int32_t qel_status_message(int32_t status, char* buf, size_t size) QEL_CALENDAR_NOEXCEPT;

/* Counts of the enumerations, as calls, so that a binding built against an
 * older header learns a newer library's counts. */
typedef enum qel_count_of {
    QEL_COUNT_FESTIVALS = 0, /* qel_festival values: 26 */
    QEL_COUNT_HOLIDAYS,      /* qel_holiday values, QEL_HOLIDAY_NONE included */
    QEL_COUNT_TERMS,         /* solar terms in a year: 24 */
    QEL_COUNT_NAME_KINDS,    /* qel_name_kind values */
    QEL_COUNT_DOMAINS,       /* qel_domain values */
    QEL_COUNT_REASONS,       /* qel_reason values */
    QEL_COUNT_DAY_FACTS_FIELDS, /* fields of qel_day_facts (qel_day_facts_field) */
    QEL_COUNT_CALENDARS,     /* qel_calendar_kind values: 3 */
    QEL_COUNT_OF_COUNT
} qel_count_of;
/* The count, or QEL_E_ARGUMENT for an unknown kind. */
QEL_CALENDAR_API int32_t qel_count(int32_t what) QEL_CALENDAR_NOEXCEPT;

/* ---- Gregorian days ------------------------------------------------------ */

/* The serial of a Gregorian date. QEL_E_DATE for a date that does not exist,
 * QEL_E_RANGE for a year outside 1..9999. */
QEL_CALENDAR_API int32_t qel_serial_of_date(int32_t year, int32_t month, int32_t day,
                                            int64_t* serial) QEL_CALENDAR_NOEXCEPT;

/* The Gregorian date of a serial: QEL_E_RANGE outside QEL_FIRST_SERIAL ..
 * QEL_LAST_SERIAL. Null outs are skipped. */
QEL_CALENDAR_API int32_t qel_date_of_serial(int64_t serial, int32_t* year, int32_t* month,
                                            int32_t* day) QEL_CALENDAR_NOEXCEPT;

/* China Standard Time (UTC+8) and instants: the day serial and second of the
 * day (0..86399) of an instant, and back. Any instant whose day lies in
 * 0001..9999; QEL_E_RANGE otherwise, QEL_E_ARGUMENT for a second outside
 * 0..86399. */
QEL_CALENDAR_API int32_t qel_cst_of_instant(int64_t instant, int64_t* serial,
                                            int32_t* second_of_day) QEL_CALENDAR_NOEXCEPT;
QEL_CALENDAR_API int32_t qel_instant_of_cst(int64_t serial, int32_t second_of_day,
                                            int64_t* instant) QEL_CALENDAR_NOEXCEPT;

/* ---- Lunar dates --------------------------------------------------------- */

/* Three lunisolar calendars share one set of rules (the Qing calendar's: a
 * month starts on the civil day of the new moon, month 11 holds the winter
 * solstice, the first month of a 13-month year without a principal term is
 * the leap month) and differ in the meridian their days are reckoned at:
 * - Chinese: Beijing local mean time (UTC+7:45:40) before 1929, UTC+8 from
 *   then; the published table in 1900-2100 and the historical record where it
 *   departs from computation.
 * - Korean (음력): Seoul local mean time before 1908-04-01, then UTC+8:30,
 *   UTC+9 from 1912, UTC+8:30 from 1954-03-21, UTC+9 from 1961-08-10; the
 *   Korea Astronomy and Space Science Institute's table for 1645-2050.
 * - Vietnamese (âm lịch): UTC+8 before 1968, UTC+7 from then.
 * The calls without a calendar argument are the Chinese calendar's. */
typedef enum qel_calendar_kind {
    QEL_CALENDAR_CHINESE = 0,
    QEL_CALENDAR_KOREAN,
    QEL_CALENDAR_VIETNAMESE,
    QEL_CALENDAR_COUNT
} qel_calendar_kind;

/* The calendar in an options or flags argument (qel_day_facts_of, the batch
 * day facts, qel_festival_date, qel_festivals_of_year, qel_lunar_step,
 * qel_lunar_text): QEL_OPT_CALENDAR(QEL_CALENDAR_KOREAN); 0 is Chinese. */
#define QEL_OPT_CALENDAR(calendar) ((uint32_t)(calendar) << 8)
#define QEL_OPT_CALENDAR_MASK 0x300u

/* The calendar of a name: "chinese", "korean", "vietnamese" in any ASCII
 * case, or 农历, 음력, âm lịch; QEL_E_ARGUMENT otherwise. */
QEL_CALENDAR_API int32_t qel_calendar_of_name(const char* name, size_t length) QEL_CALENDAR_NOEXCEPT;

typedef struct qel_lunar_date {
    int32_t year;  /* 1645..2200 */
    int32_t month; /* 1..12; a leap month carries the number of the month it follows */
    int32_t day;   /* 1..30 */
    int32_t leap;  /* 1 in the leap month, else 0 */
} qel_lunar_date;

/* The lunar date of a day: QEL_E_RANGE outside QEL_FIRST_LUNAR_SERIAL ..
 * QEL_LAST_LUNAR_SERIAL. */
QEL_CALENDAR_API int32_t qel_lunar_of_serial(int64_t serial, qel_lunar_date* out) QEL_CALENDAR_NOEXCEPT;
/* The day of a lunar date: QEL_E_RANGE for a year outside 1645..2200,
 * QEL_E_DATE for a date the year does not have, QEL_E_ARGUMENT for a leap
 * flag other than 0 or 1. */
QEL_CALENDAR_API int32_t qel_serial_of_lunar(int32_t year, int32_t month, int32_t day, int32_t leap,
                                             int64_t* serial) QEL_CALENDAR_NOEXCEPT;
/* The length of a lunar month (29 or 30), or a negative status as above. */
QEL_CALENDAR_API int32_t qel_lunar_month_days(int32_t year, int32_t month, int32_t leap) QEL_CALENDAR_NOEXCEPT;
/* The month the year's leap month follows (2..11), 0 for a year without one,
 * QEL_E_RANGE outside 1645..2200. */
QEL_CALENDAR_API int32_t qel_lunar_leap_month(int32_t year) QEL_CALENDAR_NOEXCEPT;
/* The length of a lunar year in days (353..355 or 383..385), or QEL_E_RANGE. */
QEL_CALENDAR_API int32_t qel_lunar_year_days(int32_t year) QEL_CALENDAR_NOEXCEPT;

/* A month of a lunar year. */
typedef struct qel_lunar_month {
    int32_t month;        /* 1..12 */
    int32_t leap;         /* 1 for the leap month */
    int32_t days;         /* 29 or 30 */
    int32_t reserved;     /* 0 */
    int64_t first_serial; /* its first day */
} qel_lunar_month;

/* The months of a lunar year in calendar order (a leap month after the month
 * whose number it carries): the result is their number, 12 or 13, of which the
 * first `capacity` are written (QEL_LUNAR_MONTHS_MAX always suffices);
 * QEL_E_RANGE outside the covered years, QEL_E_ARGUMENT for a null out with
 * capacity > 0. */
#define QEL_LUNAR_MONTHS_MAX 13
QEL_CALENDAR_API int32_t qel_lunar_year_months(int32_t year, qel_lunar_month* out,
                                               size_t capacity) QEL_CALENDAR_NOEXCEPT;

/* The same calls in a chosen calendar (QEL_E_ARGUMENT for an unknown one);
 * a month's length, a year's leap month and length are read from
 * qel_lunar_year_months_in. */
QEL_CALENDAR_API int32_t qel_lunar_of_serial_in(int32_t calendar, int64_t serial,
                                                qel_lunar_date* out) QEL_CALENDAR_NOEXCEPT;
QEL_CALENDAR_API int32_t qel_serial_of_lunar_in(int32_t calendar, int32_t year, int32_t month, int32_t day,
                                                int32_t leap, int64_t* serial) QEL_CALENDAR_NOEXCEPT;
QEL_CALENDAR_API int32_t qel_lunar_year_months_in(int32_t calendar, int32_t year, qel_lunar_month* out,
                                                  size_t capacity) QEL_CALENDAR_NOEXCEPT;

/* Where a month comes from, and how sure it is. */
#define QEL_SOURCE_PUBLISHED 0 /* a published table: the Chinese 1900-2100, the Korean months that
                                  end by 2050-12-31 */
#define QEL_SOURCE_COMPUTED 1  /* computed from the ephemerides under the rules above */
#define QEL_SOURCE_RECORD 2    /* the historical record, where it departs from computation */
/* Flags of a month. The margin of a new moon or principal term is the
 * difference between the two ephemerides plus twice the standard error of
 * Delta T at its date plus 1 s: about 28 s in 1645, 3 s in the 20th century,
 * 1 min in 2050, 4 min in 2100 and 15 min in 2200. */
#define QEL_MONTH_START_UNCERTAIN 0x1u /* a new moon within its margin of midnight: the first day could move */
#define QEL_MONTH_LABEL_UNCERTAIN 0x2u /* a principal term or new moon within its margin of midnight
                                          could move the leap month or the numbering */
#define QEL_MONTH_ENGINES_DIFFER 0x4u  /* the second ephemeris starts or labels the month otherwise */
#define QEL_MONTH_COMPUTATION_DIFFERS 0x8u /* computation starts or labels this month otherwise (the
                                              published table or the record decides) */

typedef struct qel_month_info {
    int32_t year;
    int32_t month;
    int32_t leap;
    int32_t days;         /* 29 or 30 */
    int64_t first_serial; /* its first day */
    int32_t source;       /* QEL_SOURCE_* */
    uint32_t flags;       /* QEL_MONTH_* */
} qel_month_info;

/* A month of a calendar with its source and flags: QEL_E_RANGE for a year
 * outside 1645..2200, QEL_E_DATE for a month the year does not have,
 * QEL_E_ARGUMENT for an unknown calendar, a leap flag other than 0 or 1 or a
 * null out. */
QEL_CALENDAR_API int32_t qel_lunar_month_info(int32_t calendar, int32_t year, int32_t month, int32_t leap,
                                              qel_month_info* out) QEL_CALENDAR_NOEXCEPT;

/* A lunar date moved by `count` months (QEL_UNIT_MONTH) or years
 * (QEL_UNIT_YEAR). The one rule every surface shares (qeldate's next and
 * iCalendar birthdays, the bindings' steps):
 * - months are counted in calendar order, leap months included: one month
 *   after 六月 of 2017 is 闰六月, one after 闰六月 is 七月;
 * - a year step keeps the month; a leap month stays a leap month only where
 *   the new year has the same leap month, else it becomes the ordinary month
 *   of its number;
 * - where the new month has 29 days, day 30 becomes 29 and the result is
 *   QEL_CLAMPED (a success); with QEL_STEP_NO_CLAMP it fails with QEL_E_DATE.
 * QEL_E_RANGE when the start or the result lies outside the covered years,
 * the start's own failure for a start that is no date (see qel_check_lunar),
 * QEL_E_ARGUMENT for another unit, an unknown flag or a null out. The
 * calendar is QEL_OPT_CALENDAR(...) in flags. */
QEL_CALENDAR_API int32_t qel_lunar_step(int32_t year, int32_t month, int32_t day, int32_t leap, int64_t count,
                                        int32_t unit, uint32_t flags, qel_lunar_date* out) QEL_CALENDAR_NOEXCEPT;

/* ---- Festivals ----------------------------------------------------------- */

/* Lunar festivals fall in the ordinary month of their number, never in a leap
 * month. The Gregorian observances are marked on their dates in every year
 * 1645-2200, whether or not they were kept then. Each calendar marks its own
 * festivals: the Chinese all but QEL_FESTIVAL_HUNG_KINGS, the Korean and the
 * Vietnamese those that qel_name names in their language (설날 = 春节, Tết
 * Trung Thu = 中秋节, ...); the Gregorian observances are the Chinese
 * calendar's. */
typedef enum qel_festival {
    QEL_FESTIVAL_SPRING = 0,       /* 春节 lunar 1-1 */
    QEL_FESTIVAL_LANTERN,          /* 元宵节 lunar 1-15 */
    QEL_FESTIVAL_DRAGON_HEAD,      /* 龙抬头 lunar 2-2 */
    QEL_FESTIVAL_SHANGSI,          /* 上巳节 lunar 3-3 */
    QEL_FESTIVAL_DRAGON_BOAT,      /* 端午节 lunar 5-5 */
    QEL_FESTIVAL_QIXI,             /* 七夕 lunar 7-7 */
    QEL_FESTIVAL_ZHONGYUAN,        /* 中元节 lunar 7-15 */
    QEL_FESTIVAL_MID_AUTUMN,       /* 中秋节 lunar 8-15 */
    QEL_FESTIVAL_DOUBLE_NINTH,     /* 重阳节 lunar 9-9 */
    QEL_FESTIVAL_HANYI,            /* 寒衣节 lunar 10-1 */
    QEL_FESTIVAL_XIAYUAN,          /* 下元节 lunar 10-15 */
    QEL_FESTIVAL_LABA,             /* 腊八节 lunar 12-8 */
    QEL_FESTIVAL_XIAONIAN,         /* 小年 lunar 12-23 (12-24 with QEL_OPT_XIAONIAN_SOUTH) */
    QEL_FESTIVAL_NEW_YEARS_EVE,    /* 除夕 the last day of lunar month 12, 29 or 30 */
    QEL_FESTIVAL_QINGMING,         /* 清明节 the day of term 6 */
    QEL_FESTIVAL_WINTER_SOLSTICE,  /* 冬至 the day of term 23 */
    QEL_FESTIVAL_NEW_YEAR,         /* 元旦 1 January */
    QEL_FESTIVAL_WOMENS_DAY,       /* 妇女节 8 March */
    QEL_FESTIVAL_LABOUR_DAY,       /* 劳动节 1 May */
    QEL_FESTIVAL_YOUTH_DAY,        /* 青年节 4 May */
    QEL_FESTIVAL_CHILDRENS_DAY,    /* 儿童节 1 June */
    QEL_FESTIVAL_PARTY_DAY,        /* 建党节 1 July */
    QEL_FESTIVAL_ARMY_DAY,         /* 建军节 1 August */
    QEL_FESTIVAL_TEACHERS_DAY,     /* 教师节 10 September */
    QEL_FESTIVAL_NATIONAL_DAY,     /* 国庆节 1 October */
    QEL_FESTIVAL_HUNG_KINGS,       /* Giỗ Tổ Hùng Vương lunar 3-10, Vietnamese calendar only */
    QEL_FESTIVAL_COUNT
} qel_festival;

/* Options (bit flags) of the calls that mark festivals. Default: the
 * northern 小年 on lunar 12-23. */
#define QEL_OPT_XIAONIAN_SOUTH 0x1u /* 小年 on lunar 12-24, as in the south */

/* The day of a festival in `year`: the lunar year for the lunar festivals
 * (除夕 of lunar 2024 is 2025-01-28), the Gregorian year for the others.
 * QEL_E_RANGE outside 1645..2200, QEL_E_ARGUMENT for an unknown festival or
 * option, or a festival the options' calendar does not keep. */
QEL_CALENDAR_API int32_t qel_festival_date(int32_t festival, int32_t year, uint32_t options,
                                           int64_t* serial) QEL_CALENDAR_NOEXCEPT;
/* A festival on a day. */
typedef struct qel_festival_day {
    int64_t serial;
    int32_t festival; /* qel_festival */
    int32_t reserved; /* 0 */
} qel_festival_day;

/* The festivals of a Gregorian year: every festival day that falls inside it,
 * as qel_day_facts_of marks them, ordered by day and then by festival. A
 * lunar festival can fall twice in one Gregorian year (腊八 on 2022-01-10 and
 * 2022-12-30) or not at all. The result is their number, of which the first
 * `capacity` are written (QEL_FESTIVAL_DAYS_MAX always suffices); QEL_E_RANGE
 * outside the Gregorian years 1645-2200, QEL_E_ARGUMENT for an unknown option
 * or a null out with capacity > 0. qel_festival_date is the look-up by lunar
 * year. */
#define QEL_FESTIVAL_DAYS_MAX 40
QEL_CALENDAR_API int32_t qel_festivals_of_year(int32_t year, uint32_t options, qel_festival_day* out,
                                               size_t capacity) QEL_CALENDAR_NOEXCEPT;
/* The festival of a name: the key ("mid-autumn", as qel_name gives with
 * QEL_NAME_FESTIVAL_KEY), the English name (either case-insensitive) or the
 * Chinese name (元宵节 or its short form 元宵). `name` holds `length` bytes (no
 * NUL needed). QEL_E_ARGUMENT when nothing matches or name is NULL. */
QEL_CALENDAR_API int32_t qel_festival_of_name(const char* name, size_t length) QEL_CALENDAR_NOEXCEPT;

/* ---- Solar terms --------------------------------------------------------- */

/* A solar term: Gregorian year, term number 0..23, instant. */
typedef struct qel_term {
    int32_t year;
    int32_t term;
    int64_t instant; /* seconds since 1970 UTC, truncated to the second */
} qel_term;

/* The instant of term `term` of `year`: QEL_E_RANGE outside 1645..2200,
 * QEL_E_ARGUMENT for a term outside 0..23. The instants are those of the
 * apparent Sun (IAU 2006/2000A) with Delta T from Espenak-Meeus 2006; in
 * 1900-2100 their days in UTC+8 are qel_datetime's getLunarTermDay. */
QEL_CALENDAR_API int32_t qel_term_instant(int32_t year, int32_t term, int64_t* instant) QEL_CALENDAR_NOEXCEPT;
/* The term in force at an instant (the last at or before it), the next term
 * (the first after it) and the previous one (the last before it). QEL_E_RANGE
 * where that term lies outside the 13,344 terms of 1645-2200. */
QEL_CALENDAR_API int32_t qel_term_in_force(int64_t instant, qel_term* out) QEL_CALENDAR_NOEXCEPT;
QEL_CALENDAR_API int32_t qel_term_next(int64_t instant, qel_term* out) QEL_CALENDAR_NOEXCEPT;
QEL_CALENDAR_API int32_t qel_term_previous(int64_t instant, qel_term* out) QEL_CALENDAR_NOEXCEPT;
/* The term of a name: the key ("minor-cold"), the English name
 * (case-insensitive) or the Chinese name (小寒). QEL_E_ARGUMENT otherwise. */
QEL_CALENDAR_API int32_t qel_term_of_name(const char* name, size_t length) QEL_CALENDAR_NOEXCEPT;

/* ---- The facts of a day ---------------------------------------------------- */

#define QEL_DAY_NO_LUNAR 0x1 /* outside the lunar years 1645-2200: the lunar
                                fields, year_cycle and lunar festivals are 0 */

typedef struct qel_day_facts {
    int64_t serial;           /* days since 1899-12-30 */
    int32_t year;             /* Gregorian, 1..9999 */
    int32_t month;            /* 1..12 */
    int32_t day;              /* 1..31 */
    int32_t weekday;          /* 1 = Monday .. 7 = Sunday */
    int32_t day_of_year;      /* 1..366 */
    int32_t flags;            /* QEL_DAY_* */
    int32_t lunar_year;       /* 1645..2200, in the options' calendar */
    int32_t lunar_month;      /* 1..12 */
    int32_t lunar_day;        /* 1..30 */
    int32_t lunar_leap;       /* 1 in the leap month */
    int32_t lunar_month_days; /* 29 or 30 */
    int32_t lunar_leap_month; /* the month the lunar year's leap month follows, 0 none */
    int32_t year_cycle;       /* sexagenary index of the lunar year (丁酉 = 33) */
    int32_t day_cycle;        /* sexagenary index of the day, for every day */
    int32_t term;             /* the solar term that falls on the day in UTC+8, or -1 */
    int32_t holiday_status;   /* QEL_DAY_ORDINARY, QEL_DAY_OFF, QEL_DAY_WORK, or
                                 QEL_E_RANGE outside the holiday table's years */
    int32_t holiday;          /* qel_holiday of an off or work day, else 0 */
    int32_t reserved;         /* 0; keeps the 64-bit fields 8-aligned on every ABI */
    int64_t term_instant;     /* its instant, 0 without a term */
    uint64_t festivals;       /* bit (1 << qel_festival) for each festival of the day */
} qel_day_facts;

/* The facts of a day: QEL_OK for every serial QEL_FIRST_SERIAL ..
 * QEL_LAST_SERIAL (QEL_DAY_NO_LUNAR set outside the lunar calendar; terms and
 * Gregorian festivals only in 1645-2200), QEL_E_RANGE otherwise,
 * QEL_E_ARGUMENT for an unknown option or a null out. The lunar fields and
 * the lunar festivals are those of the calendar in the options. On QEL_E_RANGE *out is zeroed but for the
 * serial, with term -1 and holiday_status QEL_E_RANGE. */
QEL_CALENDAR_API int32_t qel_day_facts_of(int64_t serial, uint32_t options,
                                          qel_day_facts* out) QEL_CALENDAR_NOEXCEPT;

/* The same, into a structure of `size` bytes, so that fields can be added at
 * the end of qel_day_facts in a minor version without breaking callers: a
 * caller passes sizeof(qel_day_facts) of its own header. The library writes
 * the fields it knows that fit and zeroes the rest of the `size` bytes (every
 * field added later reads 0 when absent). QEL_E_ARGUMENT for a size below
 * QEL_DAY_FACTS_SIZE_1_0, the layout of version 1.0. */
#define QEL_DAY_FACTS_SIZE_1_0 96
QEL_CALENDAR_API int32_t qel_day_facts_get(int64_t serial, uint32_t options, qel_day_facts* out,
                                           size_t size) QEL_CALENDAR_NOEXCEPT;

/* The layout of qel_day_facts, for bindings that read it as bytes: field
 * `index` (0 .. qel_count(QEL_COUNT_DAY_FACTS_FIELDS) - 1) with its member
 * name, byte offset, size (4 or 8) and signedness. QEL_E_ARGUMENT past the
 * last field or for a null out. */
typedef struct qel_field {
    const char* name;
    uint32_t offset;
    uint32_t size;
    int32_t is_signed;
    int32_t reserved;
} qel_field;
QEL_CALENDAR_API int32_t qel_day_facts_field(int32_t index, qel_field* out) QEL_CALENDAR_NOEXCEPT;

/* ---- The four pillars (四柱, 八字) ------------------------------------------ */

/* The 子 hour runs from 23:00 to 01:00. Its first hour, 23:00-24:00 (晚子时),
 * can count to either day: */
#define QEL_ZI_LATE 0  /* default: 23:00-24:00 keeps the day's own day pillar;
                          the day pillar changes at midnight */
#define QEL_ZI_EARLY 1 /* the day pillar changes at 23:00: the late 子 hour
                          already belongs to the next day */

/* The zi convention of a name: "late" or "early", in any ASCII case (option
 * words are matched so on every surface); QEL_E_ARGUMENT otherwise. */
QEL_CALENDAR_API int32_t qel_zi_of_name(const char* name, size_t length) QEL_CALENDAR_NOEXCEPT;

typedef struct qel_pillars {
    int32_t year;        /* sexagenary indices 0..59 */
    int32_t month;
    int32_t day;
    int32_t hour;
    qel_term year_start;  /* the 立春 that opened the pillar year */
    qel_term month_start; /* the 节 (even-numbered term) that opened the pillar month */
} qel_pillars;

/* The pillars of a civil date-time in China Standard Time (UTC+8), mean
 * civil time: true solar time (longitude and the equation of time) is not
 * applied. The year pillar changes at the instant of 立春, the month pillar at
 * the instant of each 节 (小寒, 立春, 惊蛰, 清明, 立夏, 芒种, 小暑, 立秋, 白露,
 * 寒露, 立冬, 大雪) with its stem by the 五虎遁 rule, the day pillar with the
 * sexagenary day count, the hour pillar by the 时辰 with its stem by the 五鼠遁
 * rule (the hour cycle runs on without a break: 23:00 always takes the next
 * day's 子 hour stem). Covered: from the 立春 of 1645 (the year before it has
 * no 立春 in the table; qel_domain_range gives the second) to 2200-12-31
 * 23:59:59;
 * QEL_E_RANGE outside, QEL_E_DATE for fields that are no date or time,
 * QEL_E_ARGUMENT for an unknown zi convention or a null out. */
QEL_CALENDAR_API int32_t qel_pillars_of_cst(int32_t year, int32_t month, int32_t day, int32_t hour,
                                            int32_t minute, int32_t second, int32_t zi,
                                            qel_pillars* out) QEL_CALENDAR_NOEXCEPT;
/* The same for an instant, seen in UTC+8. */
QEL_CALENDAR_API int32_t qel_pillars_of_instant(int64_t instant, int32_t zi,
                                                qel_pillars* out) QEL_CALENDAR_NOEXCEPT;

/* ---- PRC public holidays and working days ------------------------------- */

/* The State Council publishes each year's public holidays and the weekend
 * days worked in exchange (调休). The built-in table covers the years that
 * qel_holiday_years gives (2004-2026 in this release), cross-checked between
 * independent published sources; beyond them every answer is QEL_E_RANGE
 * ("unknown"), never a guess. A caller can add years (or correct days) with
 * a table of its own: the `extra` argument, NULL for none. */
typedef enum qel_holiday {
    QEL_HOLIDAY_NONE = 0,
    QEL_HOLIDAY_NEW_YEAR,               /* 元旦 */
    QEL_HOLIDAY_SPRING_FESTIVAL,        /* 春节 */
    QEL_HOLIDAY_QINGMING,               /* 清明节 */
    QEL_HOLIDAY_LABOUR_DAY,             /* 劳动节 */
    QEL_HOLIDAY_DRAGON_BOAT,            /* 端午节 */
    QEL_HOLIDAY_MID_AUTUMN,             /* 中秋节 */
    QEL_HOLIDAY_NATIONAL_DAY,           /* 国庆节 */
    QEL_HOLIDAY_MID_AUTUMN_NATIONAL_DAY, /* 中秋节、国庆节: one period holding both */
    QEL_HOLIDAY_VICTORY_DAY,            /* 抗战胜利纪念日, 3-5 September 2015 */
    QEL_HOLIDAY_COUNT
} qel_holiday;

#define QEL_DAY_ORDINARY 0 /* a weekday is worked, a weekend day is not */
#define QEL_DAY_OFF 1      /* a day of a holiday period (weekend days included) */
#define QEL_DAY_WORK 2     /* a weekend day worked in exchange (班) */

/* One day of a caller's table: status QEL_DAY_OFF or QEL_DAY_WORK (or
 * QEL_DAY_ORDINARY to cancel a built-in day). */
typedef struct qel_holiday_day {
    int64_t serial;
    int32_t status;
    int32_t holiday;
} qel_holiday_day;

/* A caller's table: its days sorted by serial, no day twice, all within the
 * Gregorian years first_year..last_year, which it then covers; inside them it
 * replaces the built-in table. Calls that take one cost time linear in its
 * size; QEL_E_ARGUMENT for a table that breaks these rules. */
typedef struct qel_holiday_table {
    const qel_holiday_day* days;
    size_t count;
    int32_t first_year;
    int32_t last_year;
} qel_holiday_table;

/* The Gregorian years the built-in table covers. */
QEL_CALENDAR_API int32_t qel_holiday_years(int32_t* first_year, int32_t* last_year) QEL_CALENDAR_NOEXCEPT;
/* QEL_DAY_ORDINARY, QEL_DAY_OFF or QEL_DAY_WORK (with the holiday in
 * *holiday when it is not null), or QEL_E_RANGE outside the covered years. */
QEL_CALENDAR_API int32_t qel_holiday_status(int64_t serial, const qel_holiday_table* extra,
                                            int32_t* holiday) QEL_CALENDAR_NOEXCEPT;
/* 1 for a working day (Monday to Friday and not off, or a make-up working
 * day), 0 for a day off, QEL_E_RANGE outside the covered years. */
QEL_CALENDAR_API int32_t qel_is_workday(int64_t serial, const qel_holiday_table* extra) QEL_CALENDAR_NOEXCEPT;
/* The working days in [from, to) (numpy's busday_count convention; negative
 * when to < from), in O(log n): QEL_E_RANGE unless every day of the range is
 * covered. */
QEL_CALENDAR_API int32_t qel_workdays_between(int64_t from, int64_t to, const qel_holiday_table* extra,
                                              int64_t* count) QEL_CALENDAR_NOEXCEPT;
/* The day `n` working days after `from` (before it for n < 0): n = 0 gives
 * `from` when it is a working day, else the next one. QEL_E_RANGE when the
 * answer lies outside the covered years. */
QEL_CALENDAR_API int32_t qel_add_workdays(int64_t from, int64_t n, const qel_holiday_table* extra,
                                          int64_t* serial) QEL_CALENDAR_NOEXCEPT;

/* ---- Names (UTF-8) --------------------------------------------------------- */

typedef enum qel_name_kind {
    QEL_NAME_STEM = 0,       /* 0..9: 甲 .. 癸 */
    QEL_NAME_BRANCH,         /* 0..11: 子 .. 亥 */
    QEL_NAME_CYCLE,          /* 0..59: 甲子 .. 癸亥 */
    QEL_NAME_ANIMAL,         /* 0..11 by branch: 鼠 .. 猪 */
    QEL_NAME_LUNAR_MONTH,    /* 1..12: 正月 二月 .. 十月 冬月 腊月 */
    QEL_NAME_LUNAR_DAY,      /* 1..30: 初一 .. 三十 */
    QEL_NAME_TERM,           /* 0..23: 小寒 .. 冬至 */
    QEL_NAME_TERM_ENGLISH,   /* 0..23: Minor Cold .. Winter Solstice */
    QEL_NAME_TERM_KEY,       /* 0..23: minor-cold .. winter-solstice */
    QEL_NAME_FESTIVAL,       /* qel_festival: 春节 .. 国庆节 */
    QEL_NAME_FESTIVAL_SHORT, /* two characters, for calendar cells: 春节, 元宵, 国庆 */
    QEL_NAME_FESTIVAL_ENGLISH,
    QEL_NAME_FESTIVAL_KEY,   /* spring-festival .. national-day */
    QEL_NAME_HOLIDAY,        /* qel_holiday 1..: 元旦 .. 中秋节、国庆节 */
    QEL_NAME_HOLIDAY_ENGLISH,
    QEL_NAME_HOLIDAY_KEY,    /* new-year .. mid-autumn-national-day */
    QEL_NAME_KIND_COUNT
} qel_name_kind;

/* Flags of the month names. */
#define QEL_NAME_LEAP 0x1u         /* prefix the leap mark 闰 */
#define QEL_NAME_PLAIN_MONTHS 0x2u /* plain numbers: 一月, 十一月, 十二月 instead of 正月, 冬月, 腊月 */
/* The language of a name (default Chinese): for the stems, branches, cycle,
 * animals, lunar months and days, terms and festivals. */
#define QEL_NAME_KOREAN 0x4u     /* 한글: 갑자, 정월, 윤6월, 설날, 추석 */
#define QEL_NAME_VIETNAMESE 0x8u /* Giáp Tý, tháng Giêng, tháng Sáu nhuận, Tết Nguyên Đán; the cat
                                    (Mèo) and the buffalo (Trâu) of the Vietnamese zodiac */

/* A name. QEL_E_ARGUMENT for an unknown kind, index or flag (QEL_NAME_LEAP
 * and QEL_NAME_PLAIN_MONTHS apply to QEL_NAME_LUNAR_MONTH only, one language
 * flag to the kinds above), and for a festival in Korean or Vietnamese that
 * the Korean or Vietnamese calendar does not keep (every festival has a
 * Chinese and an English name). */
QEL_CALENDAR_API int32_t qel_name(int32_t kind, int32_t index, uint32_t flags, char* buf,
                                  size_t size) QEL_CALENDAR_NOEXCEPT;
/* A lunar date as a calendar prints it: "闰六月初一", "正月十五"; with
 * QEL_NAME_KOREAN "윤6월 1일", with QEL_NAME_VIETNAMESE "mùng 1 tháng Sáu
 * nhuận". The date must exist in the calendar of QEL_OPT_CALENDAR(...) in
 * flags (else QEL_E_RANGE or QEL_E_DATE as qel_serial_of_lunar); the leap
 * mark follows the leap flag, so the other flags are QEL_NAME_PLAIN_MONTHS and
 * a language (QEL_E_ARGUMENT for any other). */
QEL_CALENDAR_API int32_t qel_lunar_text(int32_t year, int32_t month, int32_t day, int32_t leap,
                                        uint32_t flags, char* buf, size_t size) QEL_CALENDAR_NOEXCEPT;

/* ---- Stepping a civil date-time ------------------------------------------ */

/* Units of qel_step. */
#define QEL_UNIT_SECOND 0
#define QEL_UNIT_MINUTE 1
#define QEL_UNIT_HOUR 2
#define QEL_UNIT_DAY 3
#define QEL_UNIT_WEEK 4
#define QEL_UNIT_MONTH 5
#define QEL_UNIT_YEAR 6
#define QEL_STEP_NO_CLAMP 0x1u /* a month or year step to a missing day fails */
#define QEL_CLAMPED 1          /* success: the day became the month's last */

/* A civil date-time (a day serial and a second of the day, 0..86399) moved
 * by `count` units, in proleptic Gregorian civil time (no time zone, no leap
 * seconds). Month and year steps keep the day of the month; where the new
 * month lacks it the day becomes its last (QEL_CLAMPED), or with
 * QEL_STEP_NO_CLAMP the step fails with QEL_E_DATE. QEL_E_RANGE when the
 * start or the result leaves 0001-01-01 .. 9999-12-31, QEL_E_ARGUMENT for an
 * unknown unit or flag, a second outside its day or a null out. */
QEL_CALENDAR_API int32_t qel_step(int64_t serial, int32_t second_of_day, int64_t count, int32_t unit,
                                  uint32_t flags, int64_t* out_serial, int32_t* out_second) QEL_CALENDAR_NOEXCEPT;

/* ---- Batch calls ------------------------------------------------------------- */

/* Element statuses of the batch calls are the status codes above, as int8_t.
 * Inputs are counts of days: element i is the day of serial days[i] + epoch
 * (|epoch| <= 2^40, else the whole call returns QEL_E_ARGUMENT and writes
 * nothing). A null output array is skipped; inputs must not be null when
 * n > 0. The result is the number of elements with QEL_OK, or QEL_E_ARGUMENT. */

/* Lunar fields of n days, structure of arrays. A failed element gets 0 in
 * each field. Sorted runs of consecutive days take a fast path. */
QEL_CALENDAR_API int64_t qel_lunar_of_days(const int64_t* days, size_t n, int64_t epoch, int32_t* year,
                                           int32_t* month, int32_t* day, int32_t* leap,
                                           int8_t* status) QEL_CALENDAR_NOEXCEPT;
/* The two lunar batch calls in a chosen calendar (QEL_E_ARGUMENT for an
 * unknown one). */
QEL_CALENDAR_API int64_t qel_lunar_of_days_in(int32_t calendar, const int64_t* days, size_t n, int64_t epoch,
                                              int32_t* year, int32_t* month, int32_t* day, int32_t* leap,
                                              int8_t* status) QEL_CALENDAR_NOEXCEPT;
QEL_CALENDAR_API int64_t qel_days_of_lunar_in(int32_t calendar, const int32_t* year, const int32_t* month,
                                              const int32_t* day, const int32_t* leap, size_t n, int64_t epoch,
                                              int64_t* days, int8_t* status) QEL_CALENDAR_NOEXCEPT;
/* Days of n lunar dates (counted from epoch). A failed element gets
 * INT64_MIN (NumPy's NaT). */
QEL_CALENDAR_API int64_t qel_days_of_lunar(const int32_t* year, const int32_t* month, const int32_t* day,
                                           const int32_t* leap, size_t n, int64_t epoch, int64_t* days,
                                           int8_t* status) QEL_CALENDAR_NOEXCEPT;
/* The facts of n days into out[0..n), each as qel_day_facts_of writes it. */
QEL_CALENDAR_API int64_t qel_day_facts_of_days(const int64_t* days, size_t n, int64_t epoch, uint32_t options,
                                               qel_day_facts* out, int8_t* status) QEL_CALENDAR_NOEXCEPT;
/* The same with out[i] at byte offset i * stride, each written as
 * qel_day_facts_get writes `stride` bytes (stride >= QEL_DAY_FACTS_SIZE_1_0
 * and a multiple of 8, else QEL_E_ARGUMENT). */
QEL_CALENDAR_API int64_t qel_day_facts_of_days_strided(const int64_t* days, size_t n, int64_t epoch,
                                                       uint32_t options, void* out, size_t stride,
                                                       int8_t* status) QEL_CALENDAR_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif /* QEL_CALENDAR_H */
