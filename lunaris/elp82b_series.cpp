// lunaris -- geometric ELP 2000-82B position: V, U, r.
//
// elp82b_geometric(jd, &V, &U, &r, secular)
//   jd    Julian date, TDB (TDT may be used)
//   secular  tidal acceleration and mean motion of the Moon (elp82b.h)
//   V     longitude, radians, inertial mean ecliptic of date from gamma'2000
//   U     latitude, radians
//   r     distance between the centres of Earth and Moon, km
//
// Sums every term of the generated tables (lunaris/generated), i.e. of
// ELP1 ... ELP36 as selected by the generator's truncation, in the layout
// of elp82b_layout.h:
//   V = W1 + (S_V0 + t S_V1 + t^2 S_V2) / rho,  U = (S_U0 + ...) / rho,
//   r = (S_r0 + t S_r1 + t^2 S_r2) * a0 / ath.
// No trigonometric function is called per term: for each base angle a_j,
// cos(k a_j) and sin(k a_j) are built by angle-addition recurrence for
// k = 1 ... kmax_j (negative k by symmetry); the partial arguments are
// products of those as unit complex numbers (built once per evaluation,
// shared leading factors once), and each argument is the product of two
// partial arguments (its planetary and its lunar part).
//
// Reference: notice "Lunar Solution ELP 2000-82B" (M. Chapront-Touze,
// J. Chapront, G. Francou, 1995, CDS VI/79), sect. 2-9.
#include "lunaris/elp82b.h"
#include "lunaris/elp82b_layout.h"
#include "lunaris/generated/elp82b_tables.h"

#include <cmath>
#include <limits>
#include <vector>

namespace lunaris {
namespace {

// a0 of the authors' routine over a0 of the theory's constants (sect. 6):
// 384747.9806448954 km / 384747.9806743165 km.
constexpr double A0_OVER_ATH = 384747.9806448954 / 384747.9806743165;

}  // namespace

void elp82b_geometric(double jd, double* v_rad, double* u_rad, double* r_km,
                      const Secular& secular) {
  using namespace tables;
  const double t = (jd - JD_J2000) / DAYS_PER_JULIAN_CENTURY;
  const ElpLayout& layout = elp82b_layout();
  if (!layout.usable) {
    *v_rad = *u_rad = *r_km = std::numeric_limits<double>::quiet_NaN();
    return;
  }

  double angle[ELP_NBASE];
  double w1;
  elp82b_base_angles(t, angle, &w1, secular);

  // Multiples table: tab[2 (offset_j + k)], tab[2 (offset_j + k) + 1] =
  // cos k a_j, sin k a_j; the products follow (scratch per thread; no state
  // is kept between calls).
  thread_local std::vector<double> table;
  table.resize(2 * static_cast<std::size_t>(layout.entries));
  double* tab = table.data();
  for (int j = 0; j < ELP_NBASE; ++j) {
    double* z = tab + 2 * ELP_BASE_OFFSET[j];
    const int kmax = ELP_BASE_KMAX[j];
    const double c1 = std::cos(angle[j]);
    const double s1 = std::sin(angle[j]);
    z[0] = 1.0;
    z[1] = 0.0;
    for (int k = 1; k <= kmax; ++k) {
      const double c = z[2 * k - 2] * c1 - z[2 * k - 1] * s1;
      const double s = z[2 * k - 1] * c1 + z[2 * k - 2] * s1;
      z[2 * k] = c;
      z[2 * k + 1] = s;
      z[-2 * k] = c;
      z[-2 * k + 1] = -s;
    }
  }
  elp82b_build_products(layout, tab);

  double sum[ELP_NSLOT];
  elp82b_slot_sums(layout, tab, sum);

  *v_rad = w1 + (sum[0] + t * (sum[1] + t * sum[2])) * RAD_PER_ARCSEC;
  *u_rad = (sum[3] + t * (sum[4] + t * sum[5])) * RAD_PER_ARCSEC;
  *r_km = (sum[6] + t * (sum[7] + t * sum[8])) * A0_OVER_ATH;
}

int elp82b_term_count() { return tables::ELP_TERMS_KEPT; }

double elp82b_truncation_arcsec() { return tables::ELP_PREC_ARCSEC; }

}  // namespace lunaris
