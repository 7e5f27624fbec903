// The Sun's apparent geocentric longitude from ERFA, the C edition of the
// IAU SOFA routines, shared by the solar-term and the lunisolar generators so
// that both find the same instants. Units: TT as a two-part Julian date,
// angles in radians.
#pragma once

#include <cmath>

#include <erfa.h>

namespace qel::gen {

// The ecliptic longitude of date of a direction given in the GCRS at TT =
// tt1 + tt2: to the true equator and equinox of date (frame bias, IAU 2006
// precession, IAU 2000A nutation), then about the equinox by the true
// obliquity, in [0, 2 pi).
inline double ecliptic_longitude_of_date(double tt1, double tt2, double gcrs[3]) {
    double npb[3][3];
    eraPnm06a(tt1, tt2, npb);
    double of_date[3];
    eraRxp(npb, gcrs, of_date);

    // Rotate about the equinox (the x axis) by the true obliquity: the
    // longitude on the ecliptic is then the angle in the x-y plane.
    double dpsi, deps;
    eraNut06a(tt1, tt2, &dpsi, &deps);
    const double obliquity = eraObl06(tt1, tt2) + deps;
    const double y = of_date[1] * std::cos(obliquity) + of_date[2] * std::sin(obliquity);
    return eraAnp(std::atan2(y, of_date[0]));
}

// The Sun's apparent geocentric longitude at TT = tt1 + tt2 (a two-part
// Julian date), on the true ecliptic and equinox of date, in [0, 2 pi).
inline double apparent_solar_longitude(double tt1, double tt2) {
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

    return ecliptic_longitude_of_date(tt1, tt2, apparent);
}

}  // namespace qel::gen
