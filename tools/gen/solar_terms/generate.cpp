// The solar-term generator. For every Gregorian year 1900..2100 and term
// k = 0..23 it finds the instant at which the Sun's apparent geocentric
// longitude, on the true ecliptic and equinox of date, reaches 285 + 15k
// degrees, and writes two C++ headers:
//   - the library's SolarTermTable: the day of the instant in China Standard
//     Time (UTC+8), as days from 1 January of the year;
//   - the instants for qel_calendar: the second of that day, truncated.
//
// Usage: gen_solar_terms <solar_term_table.h> <solar_term_instants.h>
// (tools/gen/solar_terms/regenerate builds it and runs it on the checked-in
// paths).
//
// The astronomy is ERFA's, the C edition of the IAU SOFA routines:
//   eraEpv00   the Earth's heliocentric and barycentric position and velocity
//              (VSOP2000 fitted to DE405; within 5 km over 1900-2100, that is
//              0.007" of the Sun's direction, 0.2 s of its motion);
//   eraAb      annual aberration, from the Earth's barycentric velocity
//              (relativistic form);
//   eraPnm06a  GCRS to the true equator and equinox of date: frame bias,
//              IAU 2006 precession and IAU 2000A nutation;
//   eraObl06 + eraNut06a  the true obliquity, mean obliquity (IAU 2006) plus
//              the nutation in obliquity (IAU 2000A), to tilt the true
//              equator onto the ecliptic;
//   eraCal2jd  the Julian date of 1 January of each year.
// Terrestrial Time becomes UTC through the Espenak-Meeus Delta T polynomials
// (delta_t.h); eraEpv00 wants TDB, which differs from TT by under 2 ms.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <erfa.h>
#include <erfaextra.h>
#include <erfam.h>

#include "delta_t.h"

namespace {

constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2100;
constexpr int kTermsPerYear = 24;
constexpr int kYears = kLastYear - kFirstYear + 1;

constexpr double kDegree = ERFA_D2PI / 360;
// China Standard Time is UTC+8, in days.
constexpr double kUtcOffsetDays = 8.0 / 24;
// The Sun's mean motion, 360 degrees per tropical year of 365.2422 days; the
// true motion stays within 3.5 % of it (0.953 to 1.019 degrees a day).
constexpr double kMeanMotion = ERFA_D2PI / 365.2422;  // radians per day
constexpr double kDaysPerYear = 365.2425;             // Gregorian mean year

// The Sun's apparent geocentric longitude at TT = tt1 + tt2 (a two-part
// Julian date), on the true ecliptic and equinox of date, in [0, 2 pi).
double apparent_solar_longitude(double tt1, double tt2) {
    // Earth relative to the Sun (pvh) and to the solar-system barycentre
    // (pvb), ICRS axes, au and au per day. The status flags dates more than
    // 100 Julian years from J2000, here the year 2100 after 1 January 12:00:
    // the fit's quoted range ends there but its error grows only gradually,
    // and the second engine checks that year like the others.
    double pvh[2][3], pvb[2][3];
    (void)eraEpv00(tt1, tt2, pvh, pvb);
    // The Sun's barycentric position and velocity.
    double sun[3], sun_velocity[3];
    eraPmp(pvb[0], pvh[0], sun);
    eraPmp(pvb[1], pvh[1], sun_velocity);

    // Light time: the light arriving now left the Sun about 499 s ago, so take
    // the Sun where it was then (it moves about 7 km meanwhile).
    double toward_sun[3];
    eraPmp(sun, pvb[0], toward_sun);
    const double light_days = eraPm(toward_sun) * ERFA_AULT / ERFA_DAYSEC;
    double sun_emitting[3];
    eraPpsp(sun, -light_days, sun_velocity, sun_emitting);
    eraPmp(sun_emitting, pvb[0], toward_sun);
    double distance_au, natural[3];
    eraPn(toward_sun, &distance_au, natural);

    // Annual aberration: the Earth's barycentric velocity in units of c turns
    // the natural direction by about 20.5".
    double velocity_c[3];
    eraSxp(ERFA_AULT / ERFA_DAYSEC, pvb[1], velocity_c);
    const double bm1 = std::sqrt(1 - eraPdp(velocity_c, velocity_c));
    double apparent[3];
    eraAb(natural, velocity_c, distance_au, bm1, apparent);

    // To the true equator and equinox of date.
    double npb[3][3];
    eraPnm06a(tt1, tt2, npb);
    double of_date[3];
    eraRxp(npb, apparent, of_date);

    // Rotate about the equinox (the x axis) by the true obliquity: the
    // longitude on the ecliptic is then the angle in the x-y plane.
    double dpsi, deps;
    eraNut06a(tt1, tt2, &dpsi, &deps);
    const double obliquity = eraObl06(tt1, tt2) + deps;
    const double y = of_date[1] * std::cos(obliquity) + of_date[2] * std::sin(obliquity);
    return eraAnp(std::atan2(y, of_date[0]));
}

struct Instant {
    int day_offset;     // days from 1 January of the year, UTC+8
    int second_of_day;  // seconds after 00:00 UTC+8 of that day, truncated
};

// The instant at which the apparent longitude reaches `target` (radians).
// `jd_new_year` is the Julian date of 1 January 00:00 of the year, `guess`
// a start within a few days, in days from then. The unknown d counts days
// from 1 January 00:00 UTC+8; TT = UTC + Delta T.
Instant find_instant(int year, double jd_new_year, double target, double guess) {
    double d = guess;
    for (int iteration = 0; iteration < 40; ++iteration) {
        const double delta_t = qel::gen::delta_t_seconds(year + d / kDaysPerYear);
        const double tt2 = d - kUtcOffsetDays + delta_t / ERFA_DAYSEC;
        // Fixed-slope iteration on the mean motion: each step leaves at most
        // 3.5 % of the error, the most the true motion departs from the mean.
        const double step = eraAnpm(target - apparent_solar_longitude(jd_new_year, tt2)) / kMeanMotion;
        d += step;
        if (std::fabs(step) < 1e-9) {  // 86 microseconds
            const double day = std::floor(d);
            return {static_cast<int>(day), static_cast<int>(std::floor((d - day) * ERFA_DAYSEC))};
        }
    }
    std::fprintf(stderr, "no convergence: year %d, target %.1f degrees\n", year, target / kDegree);
    std::exit(1);
}

void write_header_comment(std::FILE* out) {
    std::fprintf(out,
                 "// Generated by tools/gen/solar_terms/regenerate (tools/gen/solar_terms/generate.cpp)\n"
                 "// from ERFA %s (IAU SOFA %s): eraEpv00, eraAb, eraPnm06a, eraObl06, eraNut06a;\n"
                 "// TT to UTC by the Espenak-Meeus 2006 Delta T polynomials. Do not edit.\n"
                 "//\n",
                 eraVersion(), eraSofaVersion());
}

std::FILE* open_or_die(const char* path) {
    std::FILE* out = std::fopen(path, "w");
    if (out == nullptr) {
        std::perror(path);
        std::exit(1);
    }
    return out;
}

void write_table(const char* path, const Instant (&instants)[kYears][kTermsPerYear]) {
    std::FILE* out = open_or_die(path);
    write_header_comment(out);
    std::fprintf(out,
                 "// SolarTermTable: the dates of the 24 solar terms of every Gregorian year\n"
                 "// 1900..2100 in China Standard Time (UTC+8), as days from 1 January of the\n"
                 "// year, at index (year - 1900) * 24 + term. Term k falls on the day the Sun's\n"
                 "// apparent geocentric longitude (true ecliptic and equinox of date) reaches\n"
                 "// 285 + 15k degrees: 0 = Minor Cold, 5 = Spring Equinox, 23 = Winter Solstice.\n"
                 "#pragma once\n"
                 "\n"
                 "#include <cstdint>\n"
                 "\n"
                 "namespace qel::lunar {\n"
                 "\n"
                 "inline constexpr int kSolarTermFirstYear = %d;\n"
                 "inline constexpr int kSolarTermLastYear = %d;\n"
                 "inline constexpr int kSolarTermsPerYear = %d;\n"
                 "\n"
                 "inline constexpr uint16_t SolarTermTable[(kSolarTermLastYear - kSolarTermFirstYear + 1) *\n"
                 "                                         kSolarTermsPerYear] = {\n",
                 kFirstYear, kLastYear, kTermsPerYear);
    for (int row = 0; row < kYears; ++row) {
        std::fprintf(out, "   ");
        for (const Instant& instant : instants[row]) std::fprintf(out, " %3d,", instant.day_offset);
        std::fprintf(out, "  // %d\n", kFirstYear + row);
    }
    std::fprintf(out, "};\n\n}  // namespace qel::lunar\n");
    std::fclose(out);
}

void write_instants(const char* path, const Instant (&instants)[kYears][kTermsPerYear]) {
    std::FILE* out = open_or_die(path);
    write_header_comment(out);
    std::fprintf(out,
                 "// The instants of the solar terms of 1900..2100 to the second, truncated: the\n"
                 "// day is the one SolarTermTable gives.\n"
                 "#pragma once\n"
                 "#include <cstdint>\n"
                 "namespace qel::calendar {\n"
                 "inline constexpr int kSolarTermFirstYear = %d;\n"
                 "inline constexpr int kSolarTermLastYear = %d;\n"
                 "// Seconds after 00:00 China Standard Time (UTC+8) on the day getLunarTermDay gives, "
                 "at index (year - 1900) * 24 + term.\n"
                 "inline constexpr int32_t kSolarTermSecondOfDay[201 * 24] = {\n",
                 kFirstYear, kLastYear);
    for (int row = 0; row < kYears; ++row) {
        std::fprintf(out, "    // %d\n", kFirstYear + row);
        for (int half = 0; half < 2; ++half) {
            std::fprintf(out, "   ");
            for (int term = half * 12; term < half * 12 + 12; ++term)
                std::fprintf(out, " %5d,", instants[row][term].second_of_day);
            std::fprintf(out, "\n");
        }
    }
    std::fprintf(out, "};\n}  // namespace qel::calendar\n");
    std::fclose(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <solar_term_table.h> <solar_term_instants.h>\n", argv[0]);
        return 2;
    }
    Instant instants[kYears][kTermsPerYear];  // 38 KB
    for (int row = 0; row < kYears; ++row) {
        const int year = kFirstYear + row;
        double mjd_zero, mjd;
        eraCal2jd(year, 1, 1, &mjd_zero, &mjd);
        const double jd_new_year = mjd_zero + mjd;  // exact: a whole day plus 0.5
        for (int term = 0; term < kTermsPerYear; ++term) {
            const double target = eraAnp((285 + 15 * term) * kDegree);
            // Minor Cold falls near 5.5 January; each term adds 1/24 of a year.
            const double guess = 5.5 + term * (365.2422 / kTermsPerYear);
            instants[row][term] = find_instant(year, jd_new_year, target, guess);
        }
    }
    write_table(argv[1], instants);
    write_instants(argv[2], instants);
    return 0;
}
