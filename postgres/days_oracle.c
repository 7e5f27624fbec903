/* days_oracle: every day of 1900-2100 as the C interface answers it, one
 * COPY line per day, for the days test to compare with the SQL functions:
 *   date  lunar year  month  day  leap  lunar text  solar term  festivals
 *   day pillar  working day
 * \N where the library has no answer (no lunar date before the lunar table
 * opens, no working-day status outside the holiday table). The festivals are
 * those the day's facts mark, lunar ones only inside the lunar table. */
#include <inttypes.h>
#include <stdio.h>

#include "qel_calendar.h"

static const char *name(int32_t kind, int32_t index) {
    static char buf[4][96];
    static int next;
    char *b = buf[next++ % 4];
    return qel_name(kind, index, 0, b, sizeof buf[0]) < 0 ? "?" : b;
}

int main(void) {
    int64_t first, last;
    if (qel_serial_of_date(1900, 1, 1, &first) != QEL_OK || qel_serial_of_date(2100, 12, 31, &last) != QEL_OK)
        return 1;
    for (int64_t serial = first; serial <= last; serial++) {
        qel_day_facts f;
        char text[96];
        if (qel_day_facts_get(serial, 0, &f, sizeof f) != QEL_OK) return 1;
        printf("%04d-%02d-%02d\t", (int)f.year, (int)f.month, (int)f.day);
        if (f.flags & QEL_DAY_NO_LUNAR) {
            printf("\\N\t\\N\t\\N\t\\N\t\\N\t");
        } else {
            if (qel_lunar_text(f.lunar_year, f.lunar_month, f.lunar_day, f.lunar_leap, 0, text, sizeof text) < 0)
                return 1;
            printf("%d\t%d\t%d\t%s\t%s\t", (int)f.lunar_year, (int)f.lunar_month, (int)f.lunar_day,
                   f.lunar_leap ? "t" : "f", text);
        }
        printf("%s\t", f.term >= 0 ? name(QEL_NAME_TERM, f.term) : "\\N");
        const char *sep = "{";
        for (int32_t k = 0; k < QEL_FESTIVAL_COUNT; k++)
            if (f.festivals & ((uint64_t)1 << k)) {
                printf("%s%s", sep, name(QEL_NAME_FESTIVAL, k));
                sep = ",";
            }
        printf("%s\t", *sep == '{' ? "{}" : "}");
        const int32_t workday = qel_is_workday(serial, NULL);
        printf("%s\t%s\n", name(QEL_NAME_CYCLE, f.day_cycle), workday < 0 ? "\\N" : workday ? "t" : "f");
    }
    return 0;
}
