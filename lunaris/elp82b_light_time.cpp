// lunaris -- abbreviated ELP 2000-82B distance for the light time.
//
// elp82b_light_time_distance(jd, ndot) -> r, km
//   jd: Julian date, TDB (TDT may be used); ndot: tidal acceleration, "/cy^2.
//
// Sum of the main-problem distance terms (ELP3, fit-corrected) of at least
// 0.1 km, with the full polynomial Delaunay arguments.  It serves only to
// size the light-time step: its error (a few km near J2000, up to ~40 km
// at -2000 or +3000 where the Poisson terms it leaves out grow) changes the
// light time by at most 1.3e-4 s, i.e. the Moon's position by less than
// 1e-4", for a small fraction of the cost of a second full evaluation.
#include "elp82b.h"
#include "generated/elp82b_tables.h"

#include <cmath>

namespace lunaris {

double elp82b_light_time_distance(double jd, double ndot) {
  using namespace tables;
  constexpr int KMAX = 12;   // the abbreviated series stays within |k| <= 10
  const double t = (jd - JD_J2000) / DAYS_PER_JULIAN_CENTURY;
  double angle[ELP_NBASE];
  double w1;
  elp82b_base_angles(t, angle, &w1, ndot);

  // cos/sin of k*D, k*l', k*l, k*F for k = 0 ... KMAX.
  double mc[4][KMAX + 1];
  double ms[4][KMAX + 1];
  for (int j = 0; j < 4; ++j) {
    const double c1 = std::cos(angle[j]);
    const double s1 = std::sin(angle[j]);
    mc[j][0] = 1.0;
    ms[j][0] = 0.0;
    for (int k = 1; k <= KMAX; ++k) {
      mc[j][k] = mc[j][k - 1] * c1 - ms[j][k - 1] * s1;
      ms[j][k] = ms[j][k - 1] * c1 + mc[j][k - 1] * s1;
    }
  }

  double r = 0.0;
  for (int i = 0; i < ELP_LT_NTERM; ++i) {
    const ElpDistanceTerm& term = ELP_LT_TERM[i];
    double re = 1.0;
    double im = 0.0;
    for (int j = 0; j < 4; ++j) {
      const int k = term.mult[j];
      if (k == 0) continue;   // the generator guarantees |k| <= KMAX
      const double zr = mc[j][k < 0 ? -k : k];
      const double zi = k < 0 ? -ms[j][-k] : ms[j][k];
      const double x = re * zr - im * zi;
      im = re * zi + im * zr;
      re = x;
    }
    r += term.a_km * re;
  }
  return r;
}

}  // namespace lunaris
