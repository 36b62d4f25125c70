// orbitcore — VSOP87 version D series evaluation.
//
// vsop87_evaluate(jd, slot, precision, result): heliocentric longitude L,
// latitude B (rad) and radius vector R (AU) of the mean ecliptic and equinox
// of date, and their rates per day, from one series slot (0 complete Earth,
// 1 Mercury, 2 Venus, 3 reduced Earth, 4 Mars ... 8 Neptune).  jd in TDB
// (TDT); t = (jd - 2451545) / 365250 Julian millennia.
//
//   coordinate = sum over alpha of t^alpha * sum A cos(B + C t)
//   rate       = sum of t^alpha * sum -C A sin(B + C t)
//                       + alpha t^(alpha-1) * sum A cos(B + C t)
//
// Truncation: precision p in [0, 0.001] (rad); a term with A below
// base / (alpha |t^(alpha-1)| 1e-4 + |t^alpha| + 1e-35) (times the mean
// distance for R), base = p 1e8 0.1 / (-log10(p + 1e-35) - 2), is skipped;
// p = 0 keeps every term, and slot 0 always keeps every term.
//
// FK5: for p < 5e-7, L and B get the VSOP-to-FK5 correction (Bretagnon &
// Francou 1988; Meeus 32.3); the rates are not corrected and L is not
// reduced again after it.
//
// Returns 0, 2 for a slot outside 0 ... 8, 3 for p < 0 or p > 0.001 (result
// untouched in both error cases).  A NaN date gives NaN results.
//
// Reference: Bretagnon & Francou 1988, A&A 202, 309.
#include <cmath>
#include <vector>

#include "ephem/orbitcore_internal.h"
#include "ephem/simd_dispatch.h"
#include "ephem/sincos_kernel.h"
#include "ephem/vsop87_tables.h"

namespace orbitcore {

namespace {

// Mean distance per slot (AU), scales the truncation threshold of R.
// (Pluto's 39.5 is the tenth value and unused by the series.)
const double MEAN_DISTANCE_AU[10] = {1.0, 0.39, 0.72, 1.0, 1.5,
                                     5.2, 9.6,  19.2, 30.1, 39.5};

constexpr double FK5_PRECISION_LIMIT = 5e-7;
constexpr double MAX_PRECISION = 0.001;

// Largest block of one coordinate and power in any slot (Earth L0, 559).
constexpr int MAX_BLOCK = 1024;

// Arguments below this size use the branch-free kernel; larger ones (absurd
// dates) go through the C library.
constexpr double FAST_ARGUMENT_LIMIT = SINCOS_KERNEL_LIMIT;

// The products a_cos[i] = A cos x and ca_sin[i] = C A sin x of n terms,
// x = B + C t, |x| < FAST_ARGUMENT_LIMIT, sine and cosine from
// sincos_kernel.  Straight-line code, vectorised by the compiler in each
// build (simd_dispatch.h); the builds give the same bits.
[[gnu::always_inline]] inline void term_products_body(const double* __restrict a,
                                                      const double* __restrict b,
                                                      const double* __restrict c, int n, double t,
                                                      double* __restrict a_cos,
                                                      double* __restrict ca_sin) {
  for (int i = 0; i < n; ++i) {
    double sn, cs;
    sincos_kernel(b[i] + c[i] * t, &sn, &cs);
    a_cos[i] = a[i] * cs;
    ca_sin[i] = c[i] * a[i] * sn;
  }
}

void term_products_base(const double* a, const double* b, const double* c, int n, double t,
                        double* a_cos, double* ca_sin) {
  term_products_body(a, b, c, n, t, a_cos, ca_sin);
}
ORBITCORE_TARGET_AVX2 void term_products_avx2(const double* a, const double* b, const double* c,
                                              int n, double t, double* a_cos, double* ca_sin) {
  term_products_body(a, b, c, n, t, a_cos, ca_sin);
}
ORBITCORE_TARGET_AVX512 void term_products_avx512(const double* a, const double* b,
                                                  const double* c, int n, double t, double* a_cos,
                                                  double* ca_sin) {
  term_products_body(a, b, c, n, t, a_cos, ca_sin);
}

void term_products(const double* a, const double* b, const double* c, int n, double t,
                   double* a_cos, double* ca_sin) {
  switch (simd_level()) {
    case SIMD_AVX512: term_products_avx512(a, b, c, n, t, a_cos, ca_sin); break;
    case SIMD_AVX2: term_products_avx2(a, b, c, n, t, a_cos, ca_sin); break;
    default: term_products_base(a, b, c, n, t, a_cos, ca_sin); break;
  }
}

// The terms of a slot as three columns A, B, C, copied from its records on
// first use, so that the vectorised kernel reads them with plain loads.
struct SlotColumns {
  std::vector<double> a, b, c;
};

const SlotColumns& slot_columns(int slot) {
  static SlotColumns columns[VSOP87_SLOT_COUNT];
  SlotColumns& col = columns[slot];
  const Vsop87Slot& s = VSOP87_SLOTS[slot];
  if (col.a.empty() && s.count > 0) {
    for (int i = 0; i < s.count; ++i) {
      col.a.push_back(s.terms[i].a);
      col.b.push_back(s.terms[i].b);
      col.c.push_back(s.terms[i].c);
    }
  }
  return col;
}

// Sums S = sum A cos(B + C t) and S' = sum -C A sin(B + C t) over
// terms [begin, end) in published order, skipping A < threshold when skip is
// set.  fast: every argument is known to be below FAST_ARGUMENT_LIMIT.
void sum_terms(const Vsop87Term* terms, const SlotColumns& col, int begin, int end,
               double t, bool skip, double threshold, bool fast, double* s, double* sd) {
  double acc = 0.0, acc_d = 0.0;
  if (fast) {
    double p[MAX_BLOCK], q[MAX_BLOCK];
    for (int start = begin; start < end; start += MAX_BLOCK) {
      const int n = end - start < MAX_BLOCK ? end - start : MAX_BLOCK;
      term_products(col.a.data() + start, col.b.data() + start, col.c.data() + start, n, t,
                    p, q);
      for (int j = 0; j < n; ++j) {
        if (skip && terms[start + j].a < threshold) continue;
        acc += p[j];
        acc_d -= q[j];
      }
    }
  } else {
    for (int i = begin; i < end; ++i) {
      const Vsop87Term& term = terms[i];
      if (skip && term.a < threshold) continue;
      const double x = term.b + term.c * t;
      acc += term.a * std::cos(x);
      acc_d -= term.c * term.a * std::sin(x);
    }
  }
  *s = acc;
  *sd = acc_d;
}

// Terms of the largest slot (the complete Earth, 2425), for the products of
// a whole slot at once.
constexpr int MAX_SLOT_TERMS = 4096;

// Block sums of a whole slot from its products, every (coordinate, power)
// block summed left to right in published order exactly as sum_terms does,
// but the three coordinates side by side: their three chains of additions
// then overlap instead of running one after the other.  A coordinate whose
// blocks are done adds zeros into a scratch sum.  Needs every block shorter
// than MAX_BLOCK.
const double ZEROS[MAX_BLOCK] = {};

void block_sums(const Vsop87Slot& s, const double* p, const double* q, double sum[3][6],
                double sum_d[3][6]) {
  struct Lane {
    int alpha = 0, pos = 0, end = 0;  // current block [pos, end)
    bool active = false;
    double acc = 0.0, acc_d = 0.0;
  } lane[3];
  for (int k = 0; k < 3; ++k) {
    lane[k].pos = s.index[0][k];
    lane[k].end = s.index[1][k];
    lane[k].active = lane[k].end != 0;
  }
  for (;;) {
    int m = MAX_BLOCK;
    for (const Lane& l : lane)
      if (l.active && l.end - l.pos < m) m = l.end - l.pos;
    if (m == MAX_BLOCK) break;  // every lane done
    const double* p0 = lane[0].active ? p + lane[0].pos : ZEROS;
    const double* q0 = lane[0].active ? q + lane[0].pos : ZEROS;
    const double* p1 = lane[1].active ? p + lane[1].pos : ZEROS;
    const double* q1 = lane[1].active ? q + lane[1].pos : ZEROS;
    const double* p2 = lane[2].active ? p + lane[2].pos : ZEROS;
    const double* q2 = lane[2].active ? q + lane[2].pos : ZEROS;
    double a0 = lane[0].acc, d0 = lane[0].acc_d, a1 = lane[1].acc, d1 = lane[1].acc_d,
           a2 = lane[2].acc, d2 = lane[2].acc_d;
    for (int j = 0; j < m; ++j) {
      a0 += p0[j];
      d0 -= q0[j];
      a1 += p1[j];
      d1 -= q1[j];
      a2 += p2[j];
      d2 -= q2[j];
    }
    lane[0].acc = a0, lane[0].acc_d = d0, lane[1].acc = a1, lane[1].acc_d = d1;
    lane[2].acc = a2, lane[2].acc_d = d2;
    for (int k = 0; k < 3; ++k) {
      Lane& l = lane[k];
      if (!l.active) continue;
      l.pos += m;
      if (l.pos < l.end) continue;
      sum[k][l.alpha] = l.acc;  // block done
      sum_d[k][l.alpha] = l.acc_d;
      l.acc = l.acc_d = 0.0;
      ++l.alpha;
      l.end = l.alpha < 6 ? s.index[l.alpha + 1][k] : 0;
      l.active = l.end != 0;
    }
  }
}

// Largest |B| + |C| per slot, for the fast-path bound; filled on first use.
double max_b_of_slot[VSOP87_SLOT_COUNT];
double max_c_of_slot[VSOP87_SLOT_COUNT];
// Every block shorter than MAX_BLOCK and the slot within MAX_SLOT_TERMS.
bool slot_fits[VSOP87_SLOT_COUNT];
bool slot_bounds_ready = false;

void init_slot_bounds() {
  for (int s = 0; s < VSOP87_SLOT_COUNT; ++s) {
    double mb = 0.0, mc = 0.0;
    for (int i = 0; i < VSOP87_SLOTS[s].count; ++i) {
      mb = std::fmax(mb, std::fabs(VSOP87_SLOTS[s].terms[i].b));
      mc = std::fmax(mc, std::fabs(VSOP87_SLOTS[s].terms[i].c));
    }
    max_b_of_slot[s] = mb;
    max_c_of_slot[s] = mc;
    bool fits = VSOP87_SLOTS[s].count <= MAX_SLOT_TERMS;
    for (int k = 0; k < 3; ++k) {
      int begin = VSOP87_SLOTS[s].index[0][k];
      for (int alpha = 0; alpha < 6 && VSOP87_SLOTS[s].index[alpha + 1][k] != 0; ++alpha) {
        const int end = VSOP87_SLOTS[s].index[alpha + 1][k];
        fits = fits && end - begin < MAX_BLOCK;
        begin = end;
      }
    }
    slot_fits[s] = fits;
  }
  slot_bounds_ready = true;
}

}  // namespace

int vsop87_evaluate(double jd, int slot, double precision,
                    double result[HELIO_RESULTS]) {
  if (slot < 0 || slot >= VSOP87_SLOT_COUNT) return HELIO_BAD_BODY;
  if (!(precision >= 0.0 && precision <= MAX_PRECISION))
    return HELIO_BAD_PRECISION;
  for (int i = 0; i < HELIO_RESULTS; ++i) result[i] = 0.0;

  const double t = (jd - J2000_JD) / DAYS_PER_JULIAN_MILLENNIUM;
  double tp[6], tabs[6];
  tp[0] = 1.0;
  for (int a = 1; a < 6; ++a) tp[a] = tp[a - 1] * t;
  for (int a = 0; a < 6; ++a) tabs[a] = std::fabs(tp[a]);

  const double truncation_q = -std::log10(precision + 1e-35) - 2.0;
  const double base = precision * 1e8 * 0.1 / truncation_q;
  const bool truncate = slot != SLOT_EARTH_COMPLETE && base > 0.0;

  if (!slot_bounds_ready) init_slot_bounds();
  const bool fast =
      max_b_of_slot[slot] + max_c_of_slot[slot] * std::fabs(t) < FAST_ARGUMENT_LIMIT;

  const Vsop87Slot& s = VSOP87_SLOTS[slot];
  double sum[3][6] = {}, sum_d[3][6] = {};
  if (fast && !truncate && slot_fits[slot]) {
    double p[MAX_SLOT_TERMS], q[MAX_SLOT_TERMS];
    const SlotColumns& col = slot_columns(slot);
    term_products(col.a.data(), col.b.data(), col.c.data(), s.count, t, p, q);
    block_sums(s, p, q, sum, sum_d);
  } else {
    for (int k = 0; k < 3; ++k) {
      int begin = s.index[0][k];
      for (int alpha = 0; alpha < 6; ++alpha) {
        const int end = s.index[alpha + 1][k];
        if (end == 0) break;
        double threshold = 0.0;
        if (truncate) {
          threshold = alpha == 0 ? base
                                 : base / (alpha * tabs[alpha - 1] * 0.0001 +
                                           tabs[alpha] + 1e-35);
          if (k == 2) threshold *= MEAN_DISTANCE_AU[slot];
        }
        sum_terms(s.terms, slot_columns(slot), begin, end, t, truncate, threshold, fast,
                  &sum[k][alpha], &sum_d[k][alpha]);
        begin = end;
      }
    }
  }
  for (int k = 0; k < 3; ++k) {
    for (int alpha = 0; alpha < 6 && s.index[alpha + 1][k] != 0; ++alpha) {
      result[k] += tp[alpha] * sum[k][alpha];
      result[k + 3] += tp[alpha] * sum_d[k][alpha];
      if (alpha >= 1) result[k + 3] += alpha * tp[alpha - 1] * sum[k][alpha];
    }
  }

  for (int i = 0; i < HELIO_RESULTS; ++i) result[i] *= 1e-8;
  result[0] = result[0] - std::floor(result[0] / TWO_PI) * TWO_PI;
  for (int i = 3; i < HELIO_RESULTS; ++i)
    result[i] *= 1.0 / DAYS_PER_JULIAN_MILLENNIUM;

  if (precision < FK5_PRECISION_LIMIT) {
    const double l = result[0], b = result[1];
    const double lp = l - (13.97 * t - 0.031 * t * t) * RAD_PER_DEG;
    const double clp = std::cos(lp), slp = std::sin(lp);
    result[0] = l + (0.03916 * (clp + slp) * std::tan(b) - 0.09033) / 3600.0 *
                        RAD_PER_DEG;
    result[1] = b + 0.03916 * (clp - slp) / 3600.0 * RAD_PER_DEG;
  }
  return HELIO_OK;
}

}  // namespace orbitcore
