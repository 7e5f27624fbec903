/* days_oracle: every day of the covered years in each calendar as the C
 * interface answers it, one COPY line per day and calendar, for the days
 * test to compare with the SQL functions:
 *   calendar  date  lunar year  month  day  leap  lunar text  solar term
 *   festivals  day pillar  working day
 * The days run from the first day of the terms or the lunar dates to the last
 * of either (qel_domain_range). \N where the library has no answer: no lunar
 * date outside the lunar years, no term or festival outside the terms' years,
 * no working-day status outside the holiday table. Text and festival names
 * are in the calendar's language, festivals those the calendar keeps. */
#include <inttypes.h>
#include <stdio.h>

#include "qel_calendar.h"

/* The names the SQL functions take, and the language each writes. */
static const struct {
    const char *name;
    uint32_t language;
} calendars[] = {{"chinese", 0}, {"korean", QEL_NAME_KOREAN}, {"vietnamese", QEL_NAME_VIETNAMESE}};

static const char *name(int32_t kind, int32_t index, uint32_t flags) {
    static char buf[4][96];
    static int next;
    char *b = buf[next++ % 4];
    return qel_name(kind, index, flags, b, sizeof buf[0]) < 0 ? "?" : b;
}

int main(void) {
    qel_range lunar, terms;
    if (qel_domain_range(QEL_DOMAIN_LUNAR, &lunar) != QEL_OK || qel_domain_range(QEL_DOMAIN_TERMS, &terms) != QEL_OK ||
        qel_count(QEL_COUNT_CALENDARS) != (int32_t)(sizeof calendars / sizeof calendars[0]))
        return 1;
    const int64_t first = lunar.first_serial < terms.first_serial ? lunar.first_serial : terms.first_serial;
    const int64_t last = lunar.last_serial > terms.last_serial ? lunar.last_serial : terms.last_serial;
    for (int32_t c = 0; c < QEL_CALENDAR_COUNT; c++) {
        const uint32_t language = calendars[c].language;
        for (int64_t serial = first; serial <= last; serial++) {
            qel_day_facts f;
            char text[96];
            if (qel_day_facts_get(serial, QEL_OPT_CALENDAR(c), &f, sizeof f) != QEL_OK) return 1;
            printf("%s\t%04d-%02d-%02d\t", calendars[c].name, (int)f.year, (int)f.month, (int)f.day);
            if (f.flags & QEL_DAY_NO_LUNAR) {
                printf("\\N\t\\N\t\\N\t\\N\t\\N\t");
            } else {
                if (qel_lunar_text(f.lunar_year, f.lunar_month, f.lunar_day, f.lunar_leap,
                                   QEL_OPT_CALENDAR(c) | language, text, sizeof text) < 0)
                    return 1;
                printf("%d\t%d\t%d\t%s\t%s\t", (int)f.lunar_year, (int)f.lunar_month, (int)f.lunar_day,
                       f.lunar_leap ? "t" : "f", text);
            }
            if (serial < terms.first_serial || serial > terms.last_serial) {
                printf("\\N\t\\N\t");
            } else {
                printf("%s\t", f.term >= 0 ? name(QEL_NAME_TERM, f.term, 0) : "\\N");
                const char *sep = "{";
                for (int32_t k = 0; k < QEL_FESTIVAL_COUNT; k++)
                    if (f.festivals & ((uint64_t)1 << k)) {
                        printf("%s\"%s\"", sep, name(QEL_NAME_FESTIVAL, k, language));
                        sep = ",";
                    }
                printf("%s\t", *sep == '{' ? "{}" : "}");
            }
            const int32_t workday = qel_is_workday(serial, NULL);
            printf("%s\t%s\n", name(QEL_NAME_CYCLE, f.day_cycle, 0), workday < 0 ? "\\N" : workday ? "t" : "f");
        }
    }
    return 0;
}
