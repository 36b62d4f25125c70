// orbitcore — phase of the Moon and its effect on the Moon's magnitude.
//
// moon_phase(jd, add_delta_t, &k, &i): phase angle i (degrees, 0 ... 180)
// from the mean elongation D and the mean anomalies M (Sun) and M' (Moon)
// with the six largest periodic terms (Meeus, Astronomical Algorithms,
// eqs. 47.2-47.4 and 48.4), and the illuminated fraction k = (1 + cos i) / 2.
// jd in TDT; with add_delta_t != 0 the date is first moved by Delta T / 86400
// (a UT date is turned into TDT).
//
// moon_phase_magnitude(i): the Moon's brightness change with phase angle i
// (degrees, clamped to 0 ... 180), magnitudes, interpolated in a table of
// 10-degree steps (values in 0.1 mag, negative of the stored numbers).
#include <cmath>

#include "ephem/orbitcore_internal.h"

namespace orbitcore {

namespace {
// Phase-angle table, entry k for i = 10 k degrees, units of 0.1 magnitude.
const signed char PHASE_MAGNITUDE[20] = {127, 124, 121, 118, 115, 112, 110,
                                         108, 104, 100, 96,  92,  87,  82,
                                         76,  67,  34,  28,  25,  25};
}  // namespace

void moon_phase(double jd, int add_delta_t, double* k, double* i_deg) {
  if (add_delta_t) jd += delta_t_at(jd) / 86400.0;
  const double t = centuries_j2000(jd);
  const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
  const double d = 297.8501921 + 445267.1114034 * t - 0.0018819 * t2 +
                   t3 / 545868.0 - t4 / 113065000.0;
  const double m = 357.5291092 + 35999.0502909 * t - 0.0001536 * t2 +
                   t3 / 24490000.0;
  const double mp = 134.9633964 + 477198.8675055 * t + 0.0087414 * t2 +
                    t3 / 69699.0 - t4 / 14712000.0;
  const double i = 180.0 - d - 6.289 * sin_deg(mp) + 2.1 * sin_deg(m) -
                   1.274 * sin_deg(2.0 * d - mp) - 0.658 * sin_deg(2.0 * d) -
                   0.214 * sin_deg(2.0 * mp) - 0.11 * sin_deg(d);
  const double ci = cos_deg(i);
  *k = (1.0 + ci) / 2.0;
  *i_deg = safe_acos(ci) * DEG_PER_RAD;
}

double moon_phase_magnitude(double i_deg) {
  if (!(i_deg >= 0.0)) i_deg = 0.0;  // also maps NaN to 0
  if (i_deg > 180.0) i_deg = 180.0;
  const int n = static_cast<int>((10.0 * i_deg + 5.0) * 0.1);
  const int k = n / 10;  // 0 ... 18 (n <= 180)
  const int f = n % 10;
  const double tk = PHASE_MAGNITUDE[k];
  const double tk1 = PHASE_MAGNITUDE[k + 1];
  return -(tk + 0.1 * f * (tk1 - tk)) * 0.1;
}

}  // namespace orbitcore
