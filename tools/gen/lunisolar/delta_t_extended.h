// Delta T = TT - UT1 over 1600-2250, and how uncertain it is, for the
// lunisolar generator. 1900-2150 is tools/gen/solar_terms/delta_t.h itself
// (included, so that the solar-term instants of both generators agree to the
// second); the other pieces are the same paper's: F. Espenak and J. Meeus,
// "Five Millennium Canon of Solar Eclipses: -1999 to +3000"
// (NASA/TP-2006-214141), section 2.6: 1600-1700, 1700-1800, 1800-1860,
// 1860-1900, and after 2150 the long-term parabola -20 + 32 u^2.
// The polynomials assume the lunar tidal acceleration -25.858"/cy^2, which is
// why the ELP 2000-82B Moon is brought to that value (lunisolar.cpp).
#pragma once

#include "../solar_terms/delta_t.h"

namespace qel::gen {

inline double delta_t_extended_seconds(double y) {
    if (y < 1700) {
        const double t = y - 1600;
        return 120 - 0.9808 * t - 0.01532 * t * t + t * t * t / 7129;
    }
    if (y < 1800) {
        const double t = y - 1700;
        return 8.83 + 0.1603 * t - 0.0059285 * t * t + 0.00013336 * t * t * t - t * t * t * t / 1174000;
    }
    if (y < 1860) {
        const double t = y - 1800;
        const double t2 = t * t, t4 = t2 * t2;
        return 13.72 - 0.332447 * t + 0.0068612 * t2 + 0.0041116 * t2 * t - 0.00037436 * t4 +
               0.0000121272 * t4 * t - 0.0000001699 * t4 * t2 + 0.000000000875 * t4 * t2 * t;
    }
    if (y < 1900) {
        const double t = y - 1860;
        const double t2 = t * t;
        return 7.62 + 0.5737 * t - 0.251754 * t2 + 0.01680668 * t2 * t - 0.0004473624 * t2 * t2 +
               t2 * t2 * t / 233174;
    }
    if (y < 2150) return delta_t_seconds(y);
    const double u = (y - 1820) / 100;
    return -20 + 32 * u * u;
}

// One standard error of Delta T, in seconds. Before 1800, interpolated
// linearly between the values the Canon gives ("Uncertainty in Delta T"):
// about 20 s for 1300-1600 from the decade fluctuations (after Morrison &
// Stephenson 2004), then 5 s in 1700 and 1 s in 1800 (Stephenson & Houlden
// 1986), as telescopic timings accumulate. 1800-2005: 1 s, the polynomials'
// own fit to the measured values (the Canon's 0.1 s at 1900 is the
// measurement's, not the polynomial's). After 2005 the polynomials are a
// forecast: 5 s (their error in the 2020s, 74.5 s predicted for 2025 against
// 69.1 s observed) growing with the square of the time since 2005, as the
// unpredictable decade fluctuations of the Earth's rotation accumulate:
// 29 s in 2050, 1.9 min in 2100, 7.7 min in 2200.
inline double delta_t_uncertainty_seconds(double y) {
    if (y < 1700) return 20 - 15 * (y - 1600) / 100;
    if (y < 1800) return 5 - 4 * (y - 1700) / 100;
    if (y < 2005) return 1;
    const double t = y - 2005;
    return 5 + 0.012 * t * t;
}

}  // namespace qel::gen
