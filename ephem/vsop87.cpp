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

#include "orbitcore_internal.h"
#include "vsop87_tables.h"

namespace orbitcore {

namespace {

// Mean distance per slot (AU), scales the truncation threshold of R.
// (Pluto's 39.5 is the tenth value and unused by the series.)
const double MEAN_DISTANCE_AU[10] = {1.0, 0.39, 0.72, 1.0, 1.5,
                                     5.2, 9.6,  19.2, 30.1, 39.5};

constexpr double FK5_PRECISION_LIMIT = 5e-7;
constexpr double MAX_PRECISION = 0.001;

// Sums S = sum A cos(B + C t) and S' = sum -C A sin(B + C t) over
// terms [begin, end), skipping A < threshold when skip is set.
inline void sum_terms(const Vsop87Term* terms, int begin, int end, double t,
                      bool skip, double threshold, double* s, double* sd) {
  double acc = 0.0, acc_d = 0.0;
  for (int i = begin; i < end; ++i) {
    const Vsop87Term& term = terms[i];
    if (skip && term.a < threshold) continue;
    double sn, cs;
    ::sincos(term.b + term.c * t, &sn, &cs);
    acc += term.a * cs;
    acc_d -= term.c * term.a * sn;
  }
  *s = acc;
  *sd = acc_d;
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

  const double q = -std::log10(precision + 1e-35) - 2.0;
  const double base = precision * 1e8 * 0.1 / q;
  const bool truncate = slot != SLOT_EARTH_COMPLETE && base > 0.0;

  const Vsop87Slot& s = VSOP87_SLOTS[slot];
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
      double sum, sum_d;
      sum_terms(s.terms, begin, end, t, truncate, threshold, &sum, &sum_d);
      result[k] += tp[alpha] * sum;
      result[k + 3] += tp[alpha] * sum_d;
      if (alpha >= 1) result[k + 3] += alpha * tp[alpha - 1] * sum;
      begin = end;
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
