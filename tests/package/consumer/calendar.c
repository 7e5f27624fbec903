/* qel_calendar from the installed tree: its header alone, its library, and
 * qel_datetime's below it. */
#include <stdio.h>
#include <string.h>

#include <qel_calendar.h>

int main(void) {
    char text[32];
    int64_t serial = 0;
    qel_lunar_date lunar = {0, 0, 0, 0};
    /* 2017-07-23 is the first day of the leap sixth month. */
    int ok = qel_serial_of_date(2017, 7, 23, &serial) == QEL_OK && qel_lunar_of_serial(serial, &lunar) == QEL_OK &&
             lunar.month == 6 && lunar.day == 1 && lunar.leap == 1 &&
             qel_lunar_text(2017, 6, 1, 1, 0, text, sizeof text) == 15 && strcmp(text, "闰六月初一") == 0;
    puts(ok ? "consumer_calendar: ok" : "consumer_calendar: wrong answers");
    return ok ? 0 : 1;
}
