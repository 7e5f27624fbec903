// Delta T = TT - UT1, in seconds, for 1900 <= y < 2150, by the polynomials of
// F. Espenak and J. Meeus, "Five Millennium Canon of Solar Eclipses: -1999 to
// +3000" (NASA/TP-2006-214141, 2006): the 2006 set, not the later revisions.
// Each piece runs from the previous bound to its own; neighbouring pieces
// agree at their common year to about 0.1 s.
//
// `y` is a decimal year. The Canon evaluates it at mid-month,
// y = year + (month - 0.5) / 12; the callers here pass the instant itself,
// y = year + days since 1 January / 365.2425, which moves Delta T by less than
// 0.1 s. Between 1900 and 2005 the polynomials follow the measured values to
// about 1 s; after 2005 they are a forecast, already about 5 s high in the
// 2020s and uncertain by minutes by 2100.
//
// UT1 stands in for UTC: they differ by less than 0.9 s since 1972, and civil
// time before 1972 followed Universal Time to about 0.1 s.
//
// Shared by the generator and by the second-engine test, so that the two
// engines disagree only in their astronomy.
#pragma once

namespace qel::gen {

inline double delta_t_seconds(double y) {
    if (y < 1920) {
        const double t = y - 1900;
        return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t -
               0.000197 * t * t * t * t;
    }
    if (y < 1941) {
        const double t = y - 1920;
        return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
    }
    if (y < 1961) {
        const double t = y - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    if (y < 1986) {
        const double t = y - 1975;
        return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
    }
    if (y < 2005) {
        const double t = y - 2000;
        return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t +
               0.000651814 * t * t * t * t + 0.00002373599 * t * t * t * t * t;
    }
    if (y < 2050) {
        const double t = y - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    // 2050-2150: a parabola in centuries from 1820 (the long-term tidal
    // deceleration), less a linear term that joins it to the 2050 value.
    const double u = (y - 1820) / 100;
    return -20 + 32 * u * u - 0.5628 * (2150 - y);
}

}  // namespace qel::gen
