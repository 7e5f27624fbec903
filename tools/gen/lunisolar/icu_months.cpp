// Every Chinese month start ICU's calendar gives from 1644-12-01 to 2201-03-01,
// for the comparison in build.mjs. ICU (Debian libicu-dev) computes the
// calendar itself, with its CalendarAstronomer (Meeus-style low-precision Sun
// and Moon) and the no-principal-term leap rule, in UTC+8 throughout.
//
// Usage: gen_lunisolar_icu MONTHS.tsv
// Lines: <Gregorian yyyy-mm-dd of day 1> <ICU extended year - 2637 = lunar year> <month> <leap 0|1>
#include <cstdio>
#include <memory>

#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/uversion.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s MONTHS.tsv\n", argv[0]);
        return 2;
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::TimeZone> utc(icu::TimeZone::createTimeZone("Etc/GMT"));
    std::unique_ptr<icu::Calendar> chinese(
        icu::Calendar::createInstance(utc->clone(), icu::Locale("en@calendar=chinese"), status));
    icu::GregorianCalendar gregorian(utc->clone(), status);
    if (U_FAILURE(status)) {
        std::fprintf(stderr, "ICU: %s\n", u_errorName(status));
        return 1;
    }
    gregorian.setGregorianChange(-1e300, status);  // proleptic Gregorian throughout
    gregorian.clear();
    gregorian.set(1644, UCAL_DECEMBER, 1, 12, 0, 0);
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) return 1;
    std::fprintf(out, "# ICU %s\n", U_ICU_VERSION);
    for (;;) {
        const UDate when = gregorian.getTime(status);
        const int y = gregorian.get(UCAL_YEAR, status);
        if (y == 2201 && gregorian.get(UCAL_MONTH, status) >= UCAL_MARCH) break;
        chinese->setTime(when, status);
        if (chinese->get(UCAL_DATE, status) == 1) {
            std::fprintf(out, "%04d-%02d-%02d\t%d\t%d\t%d\n", y, gregorian.get(UCAL_MONTH, status) + 1,
                         gregorian.get(UCAL_DATE, status), chinese->get(UCAL_EXTENDED_YEAR, status) - 2637,
                         chinese->get(UCAL_MONTH, status) + 1, chinese->get(UCAL_IS_LEAP_MONTH, status));
        }
        gregorian.add(UCAL_DATE, 1, status);
        if (U_FAILURE(status)) {
            std::fprintf(stderr, "ICU: %s\n", u_errorName(status));
            return 1;
        }
    }
    std::fclose(out);
    return 0;
}
