/* A C99 program against the C-linkage functions: the headers must compile as
 * C, and the functions must be callable from C with C's own types. */
#include <stdio.h>
#include <string.h>

#include "qel_calendar.h"
#include "qel_datetime.h"

static int failures = 0;

static void expect(int ok, const char* what) {
    if (!ok) {
        fprintf(stderr, "failed: %s\n", what);
        ++failures;
    }
}

/* 2017-07-23, a Sunday, is lunar 2017 (丁酉, 33 of the cycle), day 1 of the
 * leap sixth month, which has 30 days; 除夕 of lunar 2024 is 2025-01-28. */
static void calendar_checks(void) {
    char text[16];
    int64_t serial = 0, eve = 0, days[2] = {0, QEL_FIRST_LUNAR_SERIAL - 1 - QEL_EPOCH_UNIX};
    int32_t month[2] = {-1, -1};
    qel_lunar_date lunar = {0, 0, 0, 0};
    qel_day_facts facts;

    expect(qel_serial_of_date(2017, 7, 23, &serial) == QEL_OK && serial == EncodeDate(2017, 7, 23),
           "qel_serial_of_date");
    expect(qel_lunar_of_serial(serial, &lunar) == QEL_OK && lunar.year == 2017 && lunar.month == 6 &&
               lunar.day == 1 && lunar.leap == 1,
           "qel_lunar_of_serial");
    expect(qel_lunar_text(2017, 6, 1, 1, 0, text, sizeof text) == 15 && strcmp(text, "闰六月初一") == 0,
           "qel_lunar_text");
    expect(qel_lunar_text(2017, 6, 1, 1, 0, text, 5) == 15 && strcmp(text, "闰") == 0,
           "qel_lunar_text cut at a character boundary");
    expect(qel_name(QEL_NAME_CYCLE, 33, 0, text, sizeof text) == 6 && strcmp(text, "丁酉") == 0, "qel_name");
    expect(qel_day_facts_of(serial, 0, &facts) == QEL_OK && facts.weekday == 7 && facts.year_cycle == 33 &&
               facts.lunar_leap_month == 6 && facts.lunar_month_days == 30,
           "qel_day_facts_of");
    expect(qel_festival_date(QEL_FESTIVAL_NEW_YEARS_EVE, 2024, 0, &eve) == QEL_OK && eve == EncodeDate(2025, 1, 28),
           "qel_festival_date");
    days[0] = serial - QEL_EPOCH_UNIX;
    expect(qel_lunar_of_days(days, 2, QEL_EPOCH_UNIX, NULL, month, NULL, NULL, NULL) == 1 && month[0] == 6 &&
               month[1] == 0,
           "qel_lunar_of_days");
    expect(sizeof(qel_day_facts) == 96 && sizeof(qel_pillars) == 48, "qel_calendar struct sizes");
}

int main(void) {
    unsigned short y = 0, m = 0, d = 0;
    int32_t year = 2016, month = 2, day = 30;
    tpdate date = {2017, 6, 1, 1};

    expect(EncodeDate(2000, 2, 29) == 36585, "EncodeDate(2000, 2, 29)");
    expect(DecodeDate(2, &y, &m, &d) == 1 && y == 1900 && m == 1 && d == 1, "DecodeDate(2)");
    expect(DayOfWeek(0) == 6, "DayOfWeek(0) is a Saturday");
    expect(findGDateInDay(&year, &month, &day) == 1 && month == 3, "findGDateInDay");
    expect(EncodeMinuteTime(2000, 2, 29, 23, 59, 58) == 0x1F40BB7EFAull, "EncodeMinuteTime");
    expect(sizeof(tpdate) == 16 && date.leap == 1, "tpdate is four 32-bit fields");
    expect(sizeof(DateInt) == 8 && sizeof(DateTimeInt) == 8 && sizeof(QelLong) == 4, "widths");
    calendar_checks();
    if (failures == 0) printf("C API: all checks passed\n");
    return failures == 0 ? 0 : 1;
}
