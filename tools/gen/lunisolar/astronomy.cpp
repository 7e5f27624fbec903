// The astronomy of the lunisolar generator: every new moon and every solar
// term from 1644 to 2201, each by two independent engines, written as one
// tab-separated event list that build.mjs turns into calendars.
//
// Usage: gen_lunisolar_astronomy EVENTS.tsv
//
// Primary engine
//   Sun:  ERFA, the chain of tools/gen/solar_terms/generate.cpp step for step
//         (eraEpv00 VSOP2000 Earth, light time, eraAb aberration, eraPnm06a
//         IAU 2006/2000A precession-nutation, true obliquity), so that the term
//         instants of 1900-2100 come out identical to the second.
//   Moon: ELP 2000-82B (Chapront-Touze & Chapront, 1983) as libnova evaluates
//         it, complete series. ERFA's only Moon, eraMoon98, is Meeus's
//         truncation of ELP: against the DE431 Moon over 1645-2200 its
//         geometric longitude is off by 2.7" rms and 18" at worst (sampled
//         every 1.37 days), that is 5 s rms and 36 s at worst in the time of
//         a new moon, so it is not used. libnova returns the
//         geometric position on the mean ecliptic and equinox of J2000; it is
//         (1) corrected from ELP's lunar tidal acceleration -23.895"/cy^2 to
//         the -25.858"/cy^2 the Espenak-Meeus Delta T assumes (Meeus,
//         Astronomical Algorithms, ch. 10: the longitude changes by half the
//         difference times T^2, -0.98" T^2 from J2000; 15" in 1600), (2) taken
//         at t minus the light time (1.3 s), which for a geocentric Moon stands
//         for light time plus aberration, and (3) turned to the true ecliptic
//         and equinox of date with ERFA (eraEcm06, eraPnm06a, eraObl06 +
//         eraNut06a), the same frame as the Sun.
// Second engine
//   The Swiss Ephemeris, apparent geocentric Sun and Moon on the true ecliptic
//   of date, from its DE431 files (swe-standard-data covers 5400 BC - AD 5400;
//   every call is checked to have used them, not the Moshier fallback).
//   A generator-time cross-check only: nothing it computes is written to the
//   library, only the difference to the primary engine.
// Both engines take Terrestrial Time; UT = TT - Delta T (delta_t_extended.h).
//
// Output lines, all instants in seconds since 1970-01-01 00:00 UT:
//   T <year> <k> <truncated> <primary> <second> <delta_t> <sigma>
//       solar term k of the Gregorian year (k = 0 Minor Cold at 285 degrees ..
//       23 Winter Solstice at 270; the Sun at 285 + 15k), <truncated> the
//       instant to the second as solar_terms truncates it.
//   N <primary> <second> <delta_t> <sigma>
//       a new moon: the apparent longitudes of Sun and Moon equal.
// <primary> and <second> to the millisecond; <delta_t> and <sigma> (one
// standard error of Delta T) in seconds.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <erfa.h>
#include <erfaextra.h>
#include <erfam.h>
#include <libnova/lunar.h>
#include <swephexp.h>

#include "../solar_terms/apparent_sun.h"
#include "delta_t_extended.h"

namespace {

constexpr int kFirstYear = 1644;
constexpr int kLastYear = 2201;
constexpr double kDegree = ERFA_D2PI / 360;
constexpr double kUtcOffsetDays = 8.0 / 24;  // terms are iterated in UTC+8 days, as solar_terms does
constexpr double kDaysPerYear = 365.2425;
constexpr double kSolarMeanMotion = ERFA_D2PI / 365.2422;
constexpr double kSynodicMonth = 29.530588861;
constexpr double kSynodicMotion = ERFA_D2PI / kSynodicMonth;  // Moon minus Sun, radians per day
constexpr double kJdUnixEpoch = 2440587.5;

// The Sun: apparent geocentric longitude, true ecliptic and equinox of date,
// as the solar-term generator computes it.
double sun_erfa(double tt1, double tt2) { return qel::gen::apparent_solar_longitude(tt1, tt2); }

// The Moon: ELP 2000-82B, brought to the tidal acceleration of Delta T, light
// time, then the frame of the Sun above.
double moon_elp(double tt1, double tt2) {
    constexpr double kTidalCorrection = 0.5 * (-25.858 - -23.895) * ERFA_DAS2R;  // radians per cy^2
    const double jd = tt1 + tt2;
    ln_rect_posn p;
    ln_get_lunar_geo_posn(jd, &p, 0);  // km
    const double light_days = std::sqrt(p.X * p.X + p.Y * p.Y + p.Z * p.Z) / (ERFA_CMPS / 1000) / ERFA_DAYSEC;
    ln_get_lunar_geo_posn(jd - light_days, &p, 0);
    const double t = (jd - light_days - ERFA_DJ00) / ERFA_DJC;
    const double turn = kTidalCorrection * t * t;
    double ecl[3] = {p.X * std::cos(turn) - p.Y * std::sin(turn), p.X * std::sin(turn) + p.Y * std::cos(turn), p.Z};
    double ecm[3][3], gcrs[3];
    eraEcm06(ERFA_DJ00, 0, ecm);  // GCRS to the J2000 ecliptic; its transpose back
    eraTrxp(ecm, ecl, gcrs);
    return qel::gen::ecliptic_longitude_of_date(tt1, tt2, gcrs);
}

int swiss_fallbacks = 0;
double swiss(int body, double tt1, double tt2) {
    double xx[6];
    char error[AS_MAXCH];
    const int flags = swe_calc(tt1 + tt2, body, SEFLG_SWIEPH, xx, error);
    if (flags < 0) {
        std::fprintf(stderr, "swe_calc: %s\n", error);
        std::exit(1);
    }
    if ((flags & SEFLG_SWIEPH) == 0) ++swiss_fallbacks;
    return eraAnp(xx[0] * kDegree);
}
double sun_swiss(double tt1, double tt2) { return swiss(SE_SUN, tt1, tt2); }
double moon_swiss(double tt1, double tt2) { return swiss(SE_MOON, tt1, tt2); }

using Longitude = double (*)(double, double);

struct Found {
    double day;  // days from the reference Julian date, UTC+8 (terms) or UT (new moons)
};

double decimal_year(double jd_ut) {
    int y, m, d;
    double f;
    eraJd2cal(jd_ut, 0, &y, &m, &d, &f);
    double jan1, jan1b;
    eraCal2jd(y, 1, 1, &jan1, &jan1b);
    return y + (jd_ut - (jan1 + jan1b)) / kDaysPerYear;
}

// A solar term as solar_terms finds it: d counts days from 1 January 00:00
// UTC+8 of `year`, fixed-slope iteration on the mean motion to 1e-9 day.
double find_term(Longitude sun, int year, double jd_new_year, double target, double guess) {
    double d = guess;
    for (int iteration = 0; iteration < 40; ++iteration) {
        const double delta_t = qel::gen::delta_t_extended_seconds(year + d / kDaysPerYear);
        const double tt2 = d - kUtcOffsetDays + delta_t / ERFA_DAYSEC;
        const double step = eraAnpm(target - sun(jd_new_year, tt2)) / kSolarMeanMotion;
        d += step;
        if (std::fabs(step) < 1e-9) return d;
    }
    std::fprintf(stderr, "no convergence: term of %d at %.1f degrees\n", year, target / kDegree);
    std::exit(1);
}

// A new moon near `jd_guess` (UT): Moon minus Sun = 0, fixed-slope iteration
// on the mean synodic motion (the true rate stays within 25 % of it).
double find_new_moon(Longitude sun, Longitude moon, double jd_guess) {
    const double base = std::floor(jd_guess) + 0.5;
    double d = jd_guess - base;
    for (int iteration = 0; iteration < 200; ++iteration) {
        const double delta_t = qel::gen::delta_t_extended_seconds(decimal_year(base + d));
        const double tt2 = d + delta_t / ERFA_DAYSEC;
        const double step = -eraAnpm(moon(base, tt2) - sun(base, tt2)) / kSynodicMotion;
        d += step;
        if (std::fabs(step) < 1e-9) return base + d;
    }
    std::fprintf(stderr, "no convergence: new moon near JD %.1f\n", jd_guess);
    std::exit(1);
}

double unix_seconds(double jd) { return (jd - kJdUnixEpoch) * ERFA_DAYSEC; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s EVENTS.tsv\n", argv[0]);
        return 2;
    }
    char ephemeris_path[] = "/usr/share/libswe/ephe";
    swe_set_ephe_path(ephemeris_path);
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    double largest_term = 0, largest_moon = 0;
    for (int year = kFirstYear; year <= kLastYear; ++year) {
        double mjd_zero, mjd;
        eraCal2jd(year, 1, 1, &mjd_zero, &mjd);
        const double jd_new_year = mjd_zero + mjd;
        for (int term = 0; term < 24; ++term) {
            const double target = eraAnp((285 + 15 * term) * kDegree);
            const double guess = 5.5 + term * (365.2422 / 24);
            const double d = find_term(sun_erfa, year, jd_new_year, target, guess);
            const double d2 = find_term(sun_swiss, year, jd_new_year, target, guess);
            // Truncated as solar_terms does: whole days, then the second of the day.
            const double day = std::floor(d);
            const long long truncated = static_cast<long long>(std::llround(unix_seconds(jd_new_year + day))) +
                                        static_cast<long long>(std::floor((d - day) * ERFA_DAYSEC)) - 8 * 3600;
            const double y = year + d / kDaysPerYear;
            const double a = unix_seconds(jd_new_year + d - kUtcOffsetDays);
            const double b = unix_seconds(jd_new_year + d2 - kUtcOffsetDays);
            if (std::fabs(a - b) > largest_term) largest_term = std::fabs(a - b);
            std::fprintf(out, "T\t%d\t%d\t%lld\t%.3f\t%.3f\t%.2f\t%.2f\n", year, term, truncated, a, b,
                         qel::gen::delta_t_extended_seconds(y), qel::gen::delta_t_uncertainty_seconds(y));
        }
    }
    // New moons: Meeus's mean new moon k = 0 at JDE 2451550.09766 (2000-01-06),
    // each refined by both engines, from before 1644-01-01 to after 2201-12-31.
    double jd_first, jd_last, part;
    eraCal2jd(kFirstYear, 1, 1, &jd_first, &part);
    jd_first += part - 40;
    eraCal2jd(kLastYear + 1, 1, 1, &jd_last, &part);
    jd_last += part + 40;
    const long long k_first = static_cast<long long>(std::floor((jd_first - 2451550.09766) / kSynodicMonth));
    const long long k_last = static_cast<long long>(std::ceil((jd_last - 2451550.09766) / kSynodicMonth));
    for (long long k = k_first; k <= k_last; ++k) {
        const double guess = 2451550.09766 + kSynodicMonth * static_cast<double>(k);
        const double a = find_new_moon(sun_erfa, moon_elp, guess);
        const double b = find_new_moon(sun_swiss, moon_swiss, guess);
        if (std::fabs(a - b) * ERFA_DAYSEC > largest_moon) largest_moon = std::fabs(a - b) * ERFA_DAYSEC;
        const double y = decimal_year(a);
        std::fprintf(out, "N\t%.3f\t%.3f\t%.2f\t%.2f\n", unix_seconds(a), unix_seconds(b),
                     qel::gen::delta_t_extended_seconds(y), qel::gen::delta_t_uncertainty_seconds(y));
    }
    std::fclose(out);
    std::fprintf(stderr, "largest engine difference 1644-2201: terms %.1f s, new moons %.1f s; Moshier fallbacks %d\n",
                 largest_term, largest_moon, swiss_fallbacks);
    return swiss_fallbacks == 0 ? 0 : 1;
}
