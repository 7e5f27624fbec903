// How far ERFA's eraMoon98 is from the DE431 Moon, the measurement behind
// astronomy.cpp's choice of ELP 2000-82B: the geometric geocentric longitude
// on the J2000 ecliptic, sampled every 1.37 days over 1645-2200. Not run by
// regenerate; build it with the others and run it by hand.
#include <cmath>
#include <cstdio>

#include <erfa.h>
#include <erfam.h>
#include <swephexp.h>

int main() {
    char ephemeris_path[] = "/usr/share/libswe/ephe";
    swe_set_ephe_path(ephemeris_path);
    double ecliptic[3][3];
    eraEcm06(ERFA_DJ00, 0, ecliptic);  // GCRS to the J2000 ecliptic
    double worst = 0, sum2 = 0;
    long n = 0;
    for (double jd = 2321800.5; jd < 2524600; jd += 1.37) {  // 1645-01-01 .. 2200-12-31
        double pv[2][3], e[3], xx[6];
        char error[AS_MAXCH];
        eraMoon98(jd, 0, pv);
        eraRxp(ecliptic, pv[0], e);
        if (swe_calc(jd, SE_MOON, SEFLG_SWIEPH | SEFLG_J2000 | SEFLG_TRUEPOS | SEFLG_NONUT, xx, error) < 0) {
            std::fprintf(stderr, "swe_calc: %s\n", error);
            return 1;
        }
        const double d = eraAnpm(std::atan2(e[1], e[0]) - xx[0] * ERFA_DD2R) / ERFA_DAS2R;
        sum2 += d * d;
        ++n;
        worst = std::fmax(worst, std::fabs(d));
    }
    // The Moon gains on the Sun about 0.51" a second.
    const double rms = std::sqrt(sum2 / static_cast<double>(n));
    std::printf("eraMoon98 - DE431, longitude 1645-2200: %.1f\" rms, %.1f\" at worst (%.0f s and %.0f s of a new moon)\n",
                rms, worst, rms / 0.508, worst / 0.508);
    return 0;
}
