// lunaris -- abbreviated ELP 2000-82B distance for the light time.
//
// elp82b_light_time_distance(jd, secular) -> r, km
//   jd: Julian date, TDB (TDT may be used); secular: the Moon's tidal
//   acceleration and mean motion (elp82b.h).
//
// Sum of the main-problem distance terms (ELP3, fit-corrected) of at least
// 0.1 km, with the full polynomial Delaunay arguments, in table order; each
// cosine from its argument by the branch-free kernel (ephem/sincos_kernel.h),
// several terms per register.  It serves only to
// size the light-time step: its error (a few km near J2000, up to ~40 km
// at -2000 or +3000 where the Poisson terms it leaves out grow) changes the
// light time by at most 1.3e-4 s, i.e. the Moon's position by less than
// 1e-4", for a small fraction of the cost of a second full evaluation.
#include "lunaris/elp82b.h"
#include "lunaris/generated/elp82b_tables.h"

#include <cmath>
#include <limits>

#include "ephem/simd_dispatch.h"
#include "ephem/sincos_kernel.h"

namespace lunaris {
namespace {

using namespace tables;

// The terms as columns, made on first use: the multipliers of D, l', l, F
// as doubles and the amplitudes, padded with zero amplitudes to whole
// blocks of eight.
constexpr int LT_BLOCK = 8;
constexpr int LT_MAX_TERMS = 256;

struct Columns {
  int count = 0;  // padded
  double m[4][LT_MAX_TERMS] = {};
  double a[LT_MAX_TERMS] = {};
  Columns() {
    const int n = ELP_LT_NTERM < LT_MAX_TERMS ? ELP_LT_NTERM : LT_MAX_TERMS;
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j < 4; ++j) m[j][i] = ELP_LT_TERM[i].mult[j];
      a[i] = ELP_LT_TERM[i].a_km;
    }
    count = (n + LT_BLOCK - 1) / LT_BLOCK * LT_BLOCK;
  }
};

// a cos(theta) of every term, theta = sum m_j angle_j (radians, |theta| <
// 400): straight-line code, vectorised by the compiler in each build.
[[gnu::always_inline]] inline void term_values_body(const Columns& col, const double* angle,
                                                    double* __restrict value) {
  for (int i = 0; i < col.count; ++i) {
    const double theta = col.m[0][i] * angle[0] + col.m[1][i] * angle[1] +
                         col.m[2][i] * angle[2] + col.m[3][i] * angle[3];
    double s, c;
    orbitcore::sincos_kernel(theta, &s, &c);
    value[i] = col.a[i] * c;
  }
}
void term_values_base(const Columns& col, const double* angle, double* value) {
  term_values_body(col, angle, value);
}
ORBITCORE_TARGET_AVX2 void term_values_avx2(const Columns& col, const double* angle,
                                            double* value) {
  term_values_body(col, angle, value);
}

}  // namespace

double elp82b_light_time_distance(double jd, const Secular& secular) {
  static const Columns col;
  const double t = (jd - JD_J2000) / DAYS_PER_JULIAN_CENTURY;
  double angle[4];
  elp82b_delaunay_angles(t, angle, secular);
  if (!std::isfinite(angle[0])) return std::numeric_limits<double>::quiet_NaN();

  double value[LT_MAX_TERMS];
  if (orbitcore::simd_level() >= orbitcore::SIMD_AVX2)
    term_values_avx2(col, angle, value);
  else
    term_values_base(col, angle, value);
  double r = 0.0;
  for (int i = 0; i < col.count; ++i) r += value[i];
  return r;
}

}  // namespace lunaris
