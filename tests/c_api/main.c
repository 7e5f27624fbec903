/* A C99 program against the C-linkage functions: the header must compile as
 * C, and the functions must be callable from C with C's own types. */
#include <stdio.h>

#include "qel_datetime.h"

static int failures = 0;

static void expect(int ok, const char* what) {
    if (!ok) {
        fprintf(stderr, "failed: %s\n", what);
        ++failures;
    }
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
    if (failures == 0) printf("C API: all checks passed\n");
    return failures == 0 ? 0 : 1;
}
