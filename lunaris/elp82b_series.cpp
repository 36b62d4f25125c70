// lunaris -- geometric ELP 2000-82B position: V, U, r.
//
// elp82b_geometric(jd, &V, &U, &r, ndot)
//   jd    Julian date, TDB (TDT may be used)
//   ndot  tidal acceleration of the Moon, "/cy^2 (elp82b_arguments.cpp)
//   V     longitude, radians, inertial mean ecliptic of date from gamma'2000
//   U     latitude, radians
//   r     distance between the centres of Earth and Moon, km
//
// Sums every term of the generated tables (lunaris/generated), i.e. of
// ELP1 ... ELP36 as selected by the generator's truncation:
//   V = W1 + (S_V0 + t S_V1 + t^2 S_V2) / rho,  U = (S_U0 + ...) / rho,
//   r = (S_r0 + t S_r1 + t^2 S_r2) * a0 / ath.
// No trigonometric function is called per term: for each base angle a_j,
// cos(k a_j) and sin(k a_j) are built by angle-addition recurrence for
// k = 1 ... kmax_j (negative k by symmetry); the partial arguments are
// products of those as unit complex numbers, and each argument is the
// product of two partial arguments (its planetary and its lunar part).
//
// Reference: notice "Lunar Solution ELP 2000-82B" (M. Chapront-Touze,
// J. Chapront, G. Francou, 1995, CDS VI/79), sect. 2-9.
#include "elp82b.h"
#include "generated/elp82b_tables.h"

#include <cmath>

namespace lunaris {
namespace {

// a0 of the authors' routine over a0 of the theory's constants (sect. 6):
// 384747.9806448954 km / 384747.9806743165 km.
constexpr double A0_OVER_ATH = 384747.9806448954 / 384747.9806743165;

}  // namespace

void elp82b_geometric(double jd, double* v_rad, double* u_rad, double* r_km,
                      double ndot) {
  using namespace tables;
  const double t = (jd - JD_J2000) / DAYS_PER_JULIAN_CENTURY;

  double angle[ELP_NBASE];
  double w1;
  elp82b_base_angles(t, angle, &w1, ndot);

  // Multiples table: (mc, ms)[offset_j + k] = (cos k a_j, sin k a_j).
  double mc[ELP_NMULT_MAX];
  double ms[ELP_NMULT_MAX];
  for (int j = 0; j < ELP_NBASE; ++j) {
    const int o = ELP_BASE_OFFSET[j];
    const int kmax = ELP_BASE_KMAX[j];
    const double c1 = std::cos(angle[j]);
    const double s1 = std::sin(angle[j]);
    mc[o] = 1.0;
    ms[o] = 0.0;
    for (int k = 1; k <= kmax; ++k) {
      const double c = mc[o + k - 1] * c1 - ms[o + k - 1] * s1;
      const double s = ms[o + k - 1] * c1 + mc[o + k - 1] * s1;
      mc[o + k] = c;
      ms[o + k] = s;
      mc[o - k] = c;
      ms[o - k] = -s;
    }
  }

  // Partial arguments (scratch per thread; no state is kept between calls).
  thread_local double pc[ELP_NPART_MAX];
  thread_local double ps[ELP_NPART_MAX];
  const unsigned short* fac = ELP_PART_FACTOR;
  for (int p = 0; p < ELP_NPART; ++p) {
    double re = 1.0;
    double im = 0.0;
    for (int n = ELP_PART_NFACTOR[p]; n > 0; --n, ++fac) {
      const double zr = mc[*fac];
      const double zi = ms[*fac];
      const double x = re * zr - im * zi;
      im = re * zi + im * zr;
      re = x;
    }
    pc[p] = re;
    ps[p] = im;
  }

  double sum[ELP_NSLOT] = {};
  const unsigned short* part = ELP_ARG_PART;
  const unsigned char* slot = ELP_COEF_SLOT;
  const ElpCoef* coef = ELP_COEF;
  for (int i = 0; i < ELP_NARG; ++i, part += 2) {
    const double ar = pc[part[0]];
    const double ai = ps[part[0]];
    const double br = pc[part[1]];
    const double bi = ps[part[1]];
    const double re = ar * br - ai * bi;
    const double im = ar * bi + ai * br;
    for (int n = ELP_ARG_NCOEF[i]; n > 0; --n, ++coef, ++slot)
      sum[*slot] += coef->c * re + coef->s * im;
  }

  *v_rad = w1 + (sum[0] + t * (sum[1] + t * sum[2])) * RAD_PER_ARCSEC;
  *u_rad = (sum[3] + t * (sum[4] + t * sum[5])) * RAD_PER_ARCSEC;
  *r_km = (sum[6] + t * (sum[7] + t * sum[8])) * A0_OVER_ATH;
}

int elp82b_term_count() { return tables::ELP_TERMS_KEPT; }

double elp82b_truncation_arcsec() { return tables::ELP_PREC_ARCSEC; }

}  // namespace lunaris
