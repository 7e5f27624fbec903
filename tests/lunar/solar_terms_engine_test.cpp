// The second engine: every solar-term instant of 1900..2100 recomputed with
// libnova, which follows Meeus, "Astronomical Algorithms" (1998): the Sun
// from the VSOP87 Earth with the FK5 correction, precession from J2000 by
// Lieske's angles (21.2-21.4), the IAU 1980 nutation and the Sun's constant
// aberration (25.10). Only the Delta T model is shared with the generator.
// The test fails on any cell whose day differs from SolarTermTable, unless
// both engines put the instant within kMidnightTolerance of that midnight; it
// prints the cells within ten minutes of midnight and the largest difference
// between the engines' instants in each century.
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include <libnova/julian_day.h>
#include <libnova/nutation.h>
#include <libnova/precession.h>
#include <libnova/solar.h>
#include <libnova/transform.h>

#include <gtest/gtest.h>

#include "gen/solar_terms/delta_t.h"
#include "lunar/solar_term_table.h"
#include "calendar/solar_term_instants.h"

namespace {

using namespace std::chrono;

constexpr double kJ2000 = 2451545.0;
constexpr double kDaySeconds = 86400;
constexpr double kDaysPerYear = 365.2425;  // the decimal year the generator gives Delta T
// The engines differ by 1.4" of longitude at most, growing away from 2000
// (libnova's older precession and nutation, its shorter series): 35 s of the
// Sun's motion.
constexpr double kMaxDifference = 60;        // seconds, anywhere in the table
constexpr double kMidnightTolerance = 120;   // seconds: a day may differ inside this
constexpr double kNearMidnight = 600;        // seconds: listed

// The Sun's apparent longitude on the true ecliptic of date, degrees, at the
// Julian ephemeris day `jde` (TT).
double apparent_longitude(double jde) {
    ln_helio_posn sun;  // geometric, on the ecliptic and mean equinox of J2000
    ln_get_solar_geom_coords(jde, &sun);
    ln_lnlat_posn ecliptic_j2000{sun.L, sun.B}, ecliptic_of_date;
    ln_equ_posn equator_j2000, equator_of_date;
    ln_get_equ_from_ecl(&ecliptic_j2000, kJ2000, &equator_j2000);
    ln_get_equ_prec2(&equator_j2000, kJ2000, jde, &equator_of_date);
    ln_get_ecl_from_equ(&equator_of_date, jde, &ecliptic_of_date);
    ln_nutation nutation;
    ln_get_nutation(jde, &nutation);
    return ecliptic_of_date.lng + nutation.longitude - 20.4898 / 3600 / sun.R;
}

// Seconds from 1 January 00:00 UTC+8 of `year` to the instant the apparent
// longitude reaches 285 + 15 term degrees, by iteration on the Sun's mean motion.
double libnova_instant(int year, int term) {
    ln_date new_year{year, 1, 1, 0, 0, 0.0};
    const double jd_new_year = ln_get_julian_day(&new_year);
    const double target = 285 + 15 * term;
    double d = 5.5 + term * 365.2422 / 24;  // days; Minor Cold near 5.5 January
    for (int iteration = 0; iteration < 40; ++iteration) {
        const double delta_t = qel::gen::delta_t_seconds(year + d / kDaysPerYear);
        const double jde = jd_new_year + d - 8.0 / 24 + delta_t / kDaySeconds;
        const double step = std::remainder(target - apparent_longitude(jde), 360.0) / (360 / 365.2422);
        d += step;
        if (std::fabs(step) < 1e-7) return d * kDaySeconds;
    }
    ADD_FAILURE() << "libnova: no convergence for " << year << " at " << target << " degrees";
    return 0;
}

// "MM-DD hh:mm:ss" of a time in seconds from 1 January 00:00 of `y`.
std::string clock_text(int y, double seconds) {
    const auto t = sys_days{year{y} / 1 / 1} + std::chrono::seconds{static_cast<int64_t>(std::floor(seconds))};
    const year_month_day date{floor<days>(t)};
    const hh_mm_ss time{t - floor<days>(t)};
    char text[32];
    std::snprintf(text, sizeof text, "%02u-%02u %02d:%02d:%02d", unsigned(date.month()), unsigned(date.day()),
                  int(time.hours().count()), int(time.minutes().count()), int(time.seconds().count()));
    return text;
}

TEST(SolarTermsEngine, LibnovaAgreesOnEveryDay) {
    double largest[3] = {0, 0, 0};  // by century: 1900-1999, 2000-2099, 2100
    int largest_cell[3] = {0, 0, 0};
    int differing_days = 0;
    for (int y = 1900; y <= 2100; ++y)
        for (int term = 0; term < 24; ++term) {
            const int cell = (y - 1900) * 24 + term;
            const double libnova = libnova_instant(y, term);
            // The table's instant was truncated to the second: take the middle of it.
            const double erfa = qel::lunar::SolarTermTable[cell] * kDaySeconds +
                                qel::calendar::kSolarTermSecondOfDay[cell] + 0.5;
            const double difference = std::fabs(libnova - erfa);
            const int century = (y - 1900) / 100;
            if (difference > largest[century]) largest[century] = difference, largest_cell[century] = cell;

            const double midnight = std::round(erfa / kDaySeconds) * kDaySeconds;
            const bool near = std::fabs(erfa - midnight) <= kNearMidnight || std::fabs(libnova - midnight) <= kNearMidnight;
            const bool same_day = std::floor(libnova / kDaySeconds) == qel::lunar::SolarTermTable[cell];
            if (near || !same_day)
                std::printf("near midnight: %d term %2d  ERFA %s  libnova %s%s\n", y, term, clock_text(y, erfa).c_str(),
                            clock_text(y, libnova).c_str(), same_day ? "" : "  (days differ)");
            if (same_day) continue;
            ++differing_days;
            EXPECT_TRUE(std::fabs(erfa - midnight) <= kMidnightTolerance &&
                        std::fabs(libnova - midnight) <= kMidnightTolerance)
                << y << " term " << term << ": the engines disagree on the day away from midnight";
        }
    std::printf("cells whose day differs between the engines: %d\n", differing_days);
    const char* const kCenturies[3] = {"1900-1999", "2000-2099", "2100"};
    for (int c = 0; c < 3; ++c) {
        std::printf("largest difference %s: %.1f s (%d term %d)\n", kCenturies[c], largest[c],
                    1900 + largest_cell[c] / 24, largest_cell[c] % 24);
        EXPECT_LE(largest[c], kMaxDifference) << kCenturies[c];
    }
}

}  // namespace
