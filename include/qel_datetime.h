/* qel_datetime.h — Gregorian day serials, the packed date-time, and the Chinese
 * lunisolar calendar for the lunar years 1900-2100.
 *
 * Day serial (DateInt): days since 1899-12-30 (serial 0); 1900-01-01 is 2,
 * 0001-01-01 is -693593, 9999-12-31 is 2958465. The serial -693594, the day
 * before 0001-01-01, is the null date: it decodes to year 0, month 0, day 0.
 *
 * Packed date-time (DateTimeInt / TDateTime): one 64-bit word, lowest bits
 * first: second 0-5, minute 6-11, hour 12-16, day 17-21, month 22-25,
 * year 26-37; bits 38-63 are reserved and carried as the members describe.
 * The null value is the all-zero word.
 *
 * Lunar date (tpdate / the four ints of the lunar functions): year, month 1-12
 * (a leap month carries the number of the month it follows), day 1-30, leap
 * flag (1 for a day of the leap month). Chinese text is GBK bytes.
 *
 * Weekdays are 1 = Monday .. 7 = Sunday everywhere.
 *
 * Every function is callable from any thread; none keeps state, takes a lock
 * or allocates (the string classes of qel_common allocate their own storage,
 * and only the functions that fill a string can throw, std::bad_alloc from
 * the string). Every argument value gives a defined result in bounded time.
 *
 * In C, only the C-linkage functions are visible: tpdate is a plain struct of
 * its four fields and the string classes are opaque.
 */
#ifndef QEL_DATETIME_H
#define QEL_DATETIME_H

#include <stddef.h>
#include <stdint.h>

#include "qel_common.h"

#if defined(_WIN32) || defined(__CYGWIN__)
#  if defined(QEL_DATETIME_BUILD)
#    define QEL_DATETIME_API __declspec(dllexport)
#  elif defined(QEL_STATIC)
#    define QEL_DATETIME_API
#  else
#    define QEL_DATETIME_API __declspec(dllimport)
#  endif
#elif defined(__GNUC__) || defined(__clang__)
#  define QEL_DATETIME_API __attribute__((visibility("default")))
#else
#  define QEL_DATETIME_API
#endif

#ifdef __cplusplus
#  define QEL_NOEXCEPT noexcept
#else
#  define QEL_NOEXCEPT
#endif

/* Days since 1899-12-30, signed. */
typedef int64_t DateInt;
/* The packed date-time word (layout above), passed as a bare integer. */
typedef uint64_t DateTimeInt;
/* QelLong, the interface's 32-bit `long`, comes from qel_common.h. */

#ifdef __cplusplus

struct TDateTime;

/* A plain year-month-day triple, stored as given (no validation, no masking). */
struct TDate {
    uint16_t wYear;
    uint16_t wMonth;
    uint16_t wDay;

    QEL_DATETIME_API TDate() noexcept;  /* 0, 0, 0 */
    /* Stores the three values unchanged; the same operation as setdays. */
    QEL_DATETIME_API TDate(unsigned short year, unsigned short month, unsigned short day) noexcept;
    /* DecodeDate of the serial, stored whole (16 bits each). */
    QEL_DATETIME_API explicit TDate(int64_t serial) noexcept;
    /* Stores the low 16 bits of each argument. */
    QEL_DATETIME_API TDate& setdays(int32_t year, int32_t month, int32_t day) noexcept;
    QEL_DATETIME_API TDate& operator=(const TDate& other) noexcept;
    TDate(const TDate&) noexcept = default;

    /* The serial of the date; an invalid date gives the null date -693594,
     * as EncodeDate does. */
    QEL_DATETIME_API DateInt asDateInt() const noexcept;
    QEL_DATETIME_API int32_t year() const noexcept;
    QEL_DATETIME_API int32_t month() const noexcept;
    QEL_DATETIME_API int32_t day() const noexcept;
    /* Year, month and day fields of the word (12, 4 and 5 bits). */
    QEL_DATETIME_API TDate& fromDateTime(const TDateTime& value) noexcept;
    /* Today's local date; left unchanged if the platform cannot break the
     * current time down into local time. */
    QEL_DATETIME_API TDate& loadcurrentlocal() noexcept;
    /* Steps by days through the serial. An invalid stored date, or a target
     * outside 0001-01-01 .. 65535-12-31 (other than the day before 0001-01-01,
     * which is stored as 0, 0, 0), leaves the date unchanged. */
    QEL_DATETIME_API TDate& incDay(int32_t days) noexcept;
    /* TDateTime::incMonth without clamping on the date masked to 12/4/5 bits;
     * an impossible day stays (2001-01-31 + 1 month is 2001-02-31). */
    QEL_DATETIME_API TDate& IncMonth(int32_t months) noexcept;
};

/* The packed date-time: one 64-bit word (layout at the top of this file).
 * Setters mask their argument to the field's width and change nothing else. */
struct TDateTime {
    DateTimeInt value;

    QEL_DATETIME_API TDateTime() noexcept;  /* the null value */
    /* Each argument masked to its field; reserved bits 0. */
    QEL_DATETIME_API TDateTime(QelLong year, QelLong month, QelLong day, QelLong hour,
                               QelLong minute, QelLong second) noexcept;
    /* The word unchanged, all 64 bits. */
    QEL_DATETIME_API explicit TDateTime(DateTimeInt word) noexcept;
    /* The date masked to 12/4/5 bits; time of day and reserved bits 0. */
    QEL_DATETIME_API explicit TDateTime(const TDate& date) noexcept;
    QEL_DATETIME_API TDateTime& operator=(const TDateTime& other) noexcept;
    TDateTime(const TDateTime&) noexcept = default;

    /* Equality compares all 64 bits; the word operand is only read. */
    QEL_DATETIME_API bool operator==(DateTimeInt& word) const noexcept;
    QEL_DATETIME_API bool operator==(const TDateTime& other) const noexcept;
    QEL_DATETIME_API bool operator!=(DateTimeInt& word) const noexcept;
    /* Ordering compares bits 0-37 only, as an unsigned number. */
    QEL_DATETIME_API bool operator<(const TDateTime& other) const noexcept;
    QEL_DATETIME_API bool operator<=(const TDateTime& other) const noexcept;
    QEL_DATETIME_API bool operator>(const TDateTime& other) const noexcept;
    QEL_DATETIME_API bool operator>=(const TDateTime& other) const noexcept;

    QEL_DATETIME_API void clear() noexcept;
    QEL_DATETIME_API bool isNull() const noexcept;
    QEL_DATETIME_API static TDateTime null() noexcept;
    /* Bits 17-37 (day, month, year) from `other`; the rest kept. */
    QEL_DATETIME_API TDateTime& copyDate(const TDateTime& other) noexcept;
    /* Compares bits 17-37 only. */
    QEL_DATETIME_API bool dateEqual(DateTimeInt& word) noexcept;
    QEL_DATETIME_API bool dateEqual(const TDateTime& other) noexcept;

    QEL_DATETIME_API int32_t year() const noexcept;
    QEL_DATETIME_API int32_t getYear() const noexcept;
    QEL_DATETIME_API int32_t month() const noexcept;
    QEL_DATETIME_API int32_t day() const noexcept;
    QEL_DATETIME_API int32_t hour() const noexcept;
    QEL_DATETIME_API int32_t minute() const noexcept;
    QEL_DATETIME_API int32_t second() const noexcept;
    QEL_DATETIME_API void setYear(QelLong year) noexcept;
    QEL_DATETIME_API void setMonth(QelLong month) noexcept;
    QEL_DATETIME_API void setday(int32_t day) noexcept;
    QEL_DATETIME_API void sethour(int32_t hour) noexcept;
    QEL_DATETIME_API void setminute(int32_t minute) noexcept;
    QEL_DATETIME_API void setsecond(int32_t second) noexcept;
    QEL_DATETIME_API TDateTime& setDate(QelLong year, QelLong month, QelLong day) noexcept;
    /* DecodeDate of the serial, masked into the date fields (a serial outside
     * the decoder's range stores 0, 0, 0, as DecodeDate gives it). */
    QEL_DATETIME_API TDateTime& setDate(const int64_t& serial) noexcept;
    QEL_DATETIME_API TDateTime& setTime(QelLong hour, QelLong minute, QelLong second) noexcept;
    /* All six fields masked; reserved bits kept. */
    QEL_DATETIME_API TDateTime& setDateTime(QelLong year, QelLong month, QelLong day,
                                            QelLong hour, QelLong minute,
                                            QelLong second) noexcept;
    QEL_DATETIME_API TDateTime& setUInt64(DateTimeInt word) noexcept;
    /* The object's own word: writable through asDateTimeInt (do not write
     * through it on an object that is itself const), read-only through asUInt64. */
    QEL_DATETIME_API DateTimeInt& asDateTimeInt() const noexcept;
    QEL_DATETIME_API const DateTimeInt& asUInt64() const noexcept;
    /* The current local date and time; reserved bits kept. Left unchanged if
     * the platform cannot break the current time down into local time. */
    QEL_DATETIME_API TDateTime& loadcurrentlocal() noexcept;

    /* Steps. A step that crosses days goes through the day serial: one encode,
     * one add, one decode. When the stored date is not valid, or the target
     * day lies outside 0001-01-01 .. 65535-12-31 (other than the day before
     * 0001-01-01, stored as 0, 0, 0), the date fields stay as they are; the
     * minute and second steps still set the time of day. Counts are exact for
     * every argument (7 x weeks and the carries are formed in 64 bits). A
     * result year above 4095 keeps its low 12 bits. Reserved bits are kept. */
    QEL_DATETIME_API TDateTime& incDay(int32_t days) noexcept;
    QEL_DATETIME_API TDateTime& incWeek(QelLong weeks) noexcept;
    /* Month and year steps: the new year and month are stored even when the
     * day does not exist in the new month. Returns true when the date is
     * valid, or when `clamp` != 0 replaced the day by the month's length.
     * 12 x years and the year carry are formed in 64 bits. Validity is judged
     * as GDateIsValid judges it, the new year taken as 16 bits; the clamp uses
     * the month's length by the leap rule on the full year. A stored month 0
     * or 13-15 is carried like any other (month 0 stepped by 0 is December of
     * the year before). */
    QEL_DATETIME_API bool incMonth(QelLong months, QelLong clamp) noexcept;
    QEL_DATETIME_API bool incYear(QelLong years, QelLong clamp) noexcept;
    QEL_DATETIME_API TDateTime& incMinute(int64_t minutes) noexcept;
    QEL_DATETIME_API TDateTime& incSecond(int64_t seconds) noexcept;

    /* "%d-%02d-%02d %02d:%02d:%02d" and "%d-%02d-%02d" of the fields. */
    QEL_DATETIME_API TAnsiString asDateTimeString() const;
    QEL_DATETIME_API TWideString asDateTimeStringW() const;
    QEL_DATETIME_API TAnsiString asDateString() const;
    /* Reads year, month and day at positions 0 (4 characters), 5 (2) and 8 (2)
     * with TAnsiString::StrToInt and stores them masked, time and reserved bits
     * kept. A null text leaves the value unchanged. Not validated. */
    QEL_DATETIME_API TDateTime& fromDateString(const char* text) noexcept;
};

#endif /* __cplusplus */

/* A lunar date. Valid dates: lunar 1899 month 12 days 1-30 (Gregorian
 * 1900-01-01..30), then every day of the lunar years 1900-2100. */
#ifdef __cplusplus
struct tpdate {
    int32_t year;
    int32_t month;
    int32_t day;
    int32_t leap;

    /* From a Gregorian date 1900-01-01..2100-12-31 (month and day taken as
     * 16-bit values, as GDateToPDate takes them); any other date leaves the
     * record unchanged. */
    QEL_DATETIME_API tpdate& fromGDate(int32_t year, int32_t month, int32_t day) noexcept;
    /* GDateToPDateByTDate of the serial, with no range test. */
    QEL_DATETIME_API tpdate& fromGDate(const int64_t& serial) noexcept;
    /* The Gregorian date at 00:00:00, or the null value if PDateToGDate fails. */
    QEL_DATETIME_API TDateTime asGDate() const noexcept;
    /* Today's lunar date; unchanged outside Gregorian 1900-2100. */
    QEL_DATETIME_API tpdate& loadcurrent() noexcept;
    /* incPMonth on the four fields. */
    QEL_DATETIME_API bool incMonth(QelLong months, QelLong clamp) noexcept;
};
#else
typedef struct tpdate {
    int32_t year;
    int32_t month;
    int32_t day;
    int32_t leap;
} tpdate;
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Gregorian calendar (proleptic: the Gregorian leap rule from year 1) ---- */

/* The serial of a valid date (year 1-9999, month 1-12, day 1-month length).
 * An invalid date gives the null date -693594, which no valid date has. */
QEL_DATETIME_API DateInt EncodeDate(unsigned short year, unsigned short month,
                                    unsigned short day) QEL_NOEXCEPT;
/* Year, month and day of a serial from -693594 (0, 0, 0) to 23242572
 * (65535-12-31). Any other serial writes 0, 0, 0. Null pointers are skipped.
 * Always returns 1. */
QEL_DATETIME_API int32_t DecodeDate(DateInt serial, unsigned short* year,
                                    unsigned short* month, unsigned short* day) QEL_NOEXCEPT;
/* DecodeDate of (serial of the date + days). An invalid start date, or a sum
 * outside DecodeDate's range, writes 0, 0, 0. Always returns 1. */
QEL_DATETIME_API int32_t IncDate(unsigned short year, unsigned short month, unsigned short day,
                                 unsigned short* newYear, unsigned short* newMonth,
                                 unsigned short* newDay, int64_t days) QEL_NOEXCEPT;
/* 1 when year 1-9999, month 1-12 and day 1-month length, else 0. */
QEL_DATETIME_API int32_t GDateIsValid(unsigned short year, unsigned short month,
                                      unsigned short day) QEL_NOEXCEPT;
/* Days in the month, the leap year judged on the signed year (year 0 and -4
 * are leap years). A month outside 1-12 gives 0. */
QEL_DATETIME_API int32_t daysOfMonthG(int32_t year, int32_t month) QEL_NOEXCEPT;
/* The 1-based day of the year: first day of the month + day - 1, the day not
 * validated ((2015, 1, 40) is 40). A month outside 1-12 gives 0; a sum beyond
 * the 32-bit range saturates. */
QEL_DATETIME_API int32_t DayOfGYear(int32_t year, int32_t month, int32_t day) QEL_NOEXCEPT;
/* 1 = Monday .. 7 = Sunday. Below the null date the truncating remainder
 * gives -6..-1 (or 7 on a multiple of 7): -693595 gives -1. */
QEL_DATETIME_API int32_t DayOfWeek(DateInt serial) QEL_NOEXCEPT;

/* Weekday-of-month queries. The weeks of a month are its calendar rows,
 * Monday to Sunday: row 0 holds the 1st. A result of 0 means no such day
 * (indistinguishable from the serial of 1899-12-30). A year or month that is
 * not valid gives 0. A weekday outside 1-7 is used as the arithmetic gives
 * it; a day that falls outside the month gives 0. */
QEL_DATETIME_API int32_t weeksInMonth(unsigned short year, unsigned short month) QEL_NOEXCEPT;
/* The weekday in row `week` (0-based), or 0 if that cell is in another month. */
QEL_DATETIME_API DateInt getDateByWeeksday(unsigned short year, unsigned short month,
                                           unsigned char week, unsigned char weekday) QEL_NOEXCEPT;
/* The (occurrence + 1)-th such weekday of the month, or 0. */
QEL_DATETIME_API DateInt getDateByWeekdays(unsigned short year, unsigned short month,
                                           unsigned char occurrence,
                                           unsigned char weekday) QEL_NOEXCEPT;
/* The weekday in the last row, or 0 when the month ends before it. */
QEL_DATETIME_API DateInt lastweekDayDate(unsigned short year, unsigned short month,
                                         unsigned char weekday) QEL_NOEXCEPT;

/* Nearest later existing date. Validity is GDateIsValid of the values taken
 * as 16-bit (so a year of 67552 tests as 2016). findGDateInDay keeps the day
 * and tries the given month, the rest of its year and every month of the four
 * following years; findGDateInMonthDay keeps month and day and tries the
 * given year and the 59 following. On success the values are rewritten and 1
 * is returned; otherwise (or with a null pointer) nothing is written and 0 is
 * returned. Years step with 32-bit wrap-around. Both run in constant time. */
QEL_DATETIME_API int32_t findGDateInDay(int32_t* year, int32_t* month, int32_t* day) QEL_NOEXCEPT;
QEL_DATETIME_API int32_t findGDateInMonthDay(int32_t* year, int32_t* month,
                                             int32_t* day) QEL_NOEXCEPT;

/* ---- Packed date-time words ---- */

/* The word of TDateTime(year, month, day, hour, minute, second): each value
 * masked to its field, reserved bits 0. */
QEL_DATETIME_API DateTimeInt EncodeMinuteTime(int32_t year, int32_t month, int32_t day,
                                              int32_t hour, int32_t minute,
                                              int32_t second) QEL_NOEXCEPT;
/* The six fields, zero-extended; a null pointer skips its field. */
QEL_DATETIME_API void DecodeMinuteTime(DateTimeInt value, int32_t* year, int32_t* month,
                                       int32_t* day, int32_t* hour, int32_t* minute,
                                       int32_t* second) QEL_NOEXCEPT;
/* TDateTime::incMonth on the word in place; 1 or 0. A null pointer gives 0. */
QEL_DATETIME_API int32_t IncMonth(DateTimeInt* value, QelLong months, QelLong clamp) QEL_NOEXCEPT;
/* TDateTime::incWeek / incMinute / incSecond on a copy of the word. */
QEL_DATETIME_API DateTimeInt IncWeek(DateTimeInt value, QelLong weeks) QEL_NOEXCEPT;
QEL_DATETIME_API DateTimeInt IncMinute(DateTimeInt value, int64_t minutes) QEL_NOEXCEPT;
QEL_DATETIME_API DateTimeInt IncSecond(DateTimeInt value, int64_t seconds) QEL_NOEXCEPT;
/* Minutes (seconds ignored) and seconds from `second` to `first`: positive when
 * `first` is later. A date that is not valid counts as the null date -693594
 * (EncodeDate's answer), so two words with the same invalid date differ by
 * their times of day. */
QEL_DATETIME_API int64_t minutesDelta(DateTimeInt first, DateTimeInt second) QEL_NOEXCEPT;
QEL_DATETIME_API int64_t secondsDelta(DateTimeInt first, DateTimeInt second) QEL_NOEXCEPT;
/* A duration in the word layout: years of 365 days, months of 30 days, days,
 * hours, minutes, seconds; year count keeps its low 12 bits, reserved 0. */
QEL_DATETIME_API DateTimeInt FormatSecondsDelta(uint64_t seconds) QEL_NOEXCEPT;
/* Field-by-field difference first - second with one borrow per field
 * (months of 30 days), in the layout of a duration, reserved bits of `first`.
 * When `first` is earlier than `second` (ordering key), the duration of the
 * swapped pair is returned (still with the reserved bits of `first`). A day
 * difference still negative after its borrow (day 1 against day 31 with an
 * hour borrowed) is stored as 0. A field stored out of its range (second
 * 60-63, hour 24-31, month 0 or 13-15) can leave another difference negative;
 * that one keeps its low bits, as the field setters store it. */
QEL_DATETIME_API DateTimeInt FormatTwoTimeDelta(DateTimeInt first, DateTimeInt second) QEL_NOEXCEPT;

/* ---- Lunar calendar ---- */

/* Table lookups. Years outside 1900-2100 read as a year of twelve 29-day
 * months without a leap month. */
QEL_DATETIME_API int32_t GetLeapMonthInPYear(int32_t year) QEL_NOEXCEPT;  /* 1-12, or 0 */
/* Length of the month (29 or 30); with leap != 0 the length of the year's leap
 * month whatever `month` is (0 when the year has none). An ordinary month
 * outside 1-12 gives 0. */
QEL_DATETIME_API int32_t getPMonthDays(int32_t year, int32_t month, int32_t leap) QEL_NOEXCEPT;

/* Gregorian to lunar. Status 1 converted; -1 invalid Gregorian date; -2 year
 * outside 1900-2100. Month and day are taken as 16-bit values, as the
 * Gregorian encoder reads them (month 65537 is month 1). Nothing is written on
 * failure. Null out-pointers are skipped. */
QEL_DATETIME_API int32_t GDateToPDate(int32_t year, int32_t month, int32_t day,
                                      int32_t* lunarYear, int32_t* lunarMonth,
                                      int32_t* lunarDay, int32_t* leap) QEL_NOEXCEPT;
/* Gregorian serial to lunar, with no range test; returns 1. Dates before lunar
 * 1900-01-01 (Gregorian 1900-01-31) give year 1899, month 12, day = 31 minus
 * the days before that base (0 and below for 1899-12-31 and earlier); dates
 * after lunar 2100 (from 2101-01-29) give year 2100, month 13, day 1 on.
 * The out-values are preset to 1899, 1, 1, 0 first. A day beyond the 32-bit
 * range saturates. */
QEL_DATETIME_API int32_t GDateToPDateByTDate(DateInt serial, int32_t* lunarYear,
                                             int32_t* lunarMonth, int32_t* lunarDay,
                                             int32_t* leap) QEL_NOEXCEPT;
/* Lunar to Gregorian. Status 1 converted; 0 no such date in the table (lunar
 * 1899 other than month 12 days 1-30, a year outside 1899-2100, a month
 * outside 1-12, or a result outside 0001-01-01..9999-12-31); -1 leap flag set
 * on a month that is not the year's leap month, a month outside 1-12 included
 * (in 1899 the flag gives 0). The day is not checked against
 * the month's length: day 0 is the day before day 1, and days beyond the month
 * run on into the next months. Any non-zero leap flag counts as set. Nothing
 * is written unless the status is 1; null out-pointers are skipped. */
QEL_DATETIME_API int32_t PDateToGDate(int32_t lunarYear, int32_t lunarMonth, int32_t lunarDay,
                                      int32_t leap, int32_t* year, int32_t* month,
                                      int32_t* day) QEL_NOEXCEPT;
/* Days from the first lunar date to the second; 0 if either does not convert. */
QEL_DATETIME_API int32_t DaysBetweenPDate(int32_t year1, int32_t month1, int32_t day1,
                                          int32_t leap1, int32_t year2, int32_t month2,
                                          int32_t day2, int32_t leap2) QEL_NOEXCEPT;
/* 1 when the lunar date exists; any non-zero leap flag counts as set. */
QEL_DATETIME_API int32_t PDateIsValid(int32_t year, int32_t month, int32_t day,
                                      int32_t leap) QEL_NOEXCEPT;
/* Nearest later lunar date of an ordinary month that has the day: month by
 * month over the rest of the year and the next year (findPDateInDay), or year
 * by year over 60 years (findPDateInMonthDay). 1 and the values rewritten, or
 * 0 with nothing written (also for a null pointer). */
QEL_DATETIME_API int32_t findPDateInDay(int32_t* year, int32_t* month, int32_t* day) QEL_NOEXCEPT;
QEL_DATETIME_API int32_t findPDateInMonthDay(int32_t* year, int32_t* month,
                                             int32_t* day) QEL_NOEXCEPT;
/* Steps the lunar date by `months` lunar months in calendar order (leap months
 * in their place) and always writes the new year, month and leap flag; the day
 * is kept. Returns 1 when the new date is valid; with clamp != 0 an invalid
 * new date gets getPMonthDays of the new month as its day (0 for a month
 * outside 1-12) and 1 is returned; months = 0 only validates and clamps.
 * Years outside 1900-2100 count as twelve months without a leap month; years
 * are counted in 64 bits and stored modulo 2^32. Any non-zero leap flag counts
 * as set. A flag on a month that is not its year's leap month walks as that
 * ordinary month, except that within its year the ordinary and the leap month
 * count as one: forward it arrives on the leap month, backward on the
 * ordinary one. A month outside 1-12 moves by one a step until it enters 1-12
 * (stored modulo 2^32). Constant time for every count. Null pointers give 0
 * with nothing written. */
QEL_DATETIME_API int32_t incPMonth(int32_t* year, int32_t* month, int32_t* day, int32_t* leap,
                                   int32_t months, int32_t clamp) QEL_NOEXCEPT;

/* GBK names. Each empties `text`, and for a valid date (PDateIsValid) writes:
 * pdate2text: with parts & 2 the month ("润" for a leap month, the month
 * number, "月"), with parts & 1 the day name ("初一".."三十");
 * pdate2Animal_signs: the animal of the year; pdate2TianGanDiZhi: the stem and
 * branch of the year. An invalid date leaves `text` empty. Returns `text`. A
 * null `date` empties `text`; a null `text` is returned as null. */
QEL_DATETIME_API TAnsiString* pdate2text(const tpdate* date, TAnsiString* text, int32_t parts);
QEL_DATETIME_API TAnsiString* pdate2Animal_signs(const tpdate* date, TAnsiString* text);
QEL_DATETIME_API TAnsiString* pdate2TianGanDiZhi(const tpdate* date, TAnsiString* text);

/* ---- Solar terms ---- */

/* The date of solar term `term` (0 = Minor Cold, 285 degrees .. 23 = Winter
 * Solstice, 270 degrees) of Gregorian `year`, in China Standard Time, as a
 * word at 00:00:00 with the reserved bits 0: the day the Sun's apparent
 * longitude reaches 285 + 15 * term degrees (mod 360). A term outside 0-23
 * (any negative one included) or a year outside 1900-2100, which the table
 * does not cover, gives 0. */
QEL_DATETIME_API DateTimeInt getLunarTermDay(int32_t year, int32_t term) QEL_NOEXCEPT;

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* QEL_DATETIME_H */
