#include <stdio.h>

#include <qel_datetime.h>

int main(void) {
    int ok = EncodeDate(1900, 1, 1) == 2 && DayOfWeek(2) == 1;
    puts(ok ? "consumer_c: ok" : "consumer_c: wrong answers");
    return ok ? 0 : 1;
}
