// orbitcore — the six C exports of liborbitcore.so.
//
// Thin wrappers over the internal routines; body codes are internal code +
// BODY_OFFSET (1000).  See orbitcore.h for arguments, units and time scales.
#include "ephem/orbitcore.h"

#include <cmath>

#include "ephem/orbitcore_internal.h"

using namespace orbitcore;

namespace {
// Export body code to internal code without overflow for absurd codes (they
// map to an unknown body and give zeros).
int internal_body(int body) {
  return body < -100000 ? -100000 : body - BODY_OFFSET;
}

// The date range of the exports (orbitcore.h); false for NaN too.
bool in_range(double jd) { return jd >= ORBITCORE_FIRST_JD && jd <= ORBITCORE_LAST_JD; }

// The range of body's theory: Pluto's is narrower than the others'.
bool in_range(double jd, int body) {
  constexpr int PLUTO = 9, PLUTO_PRECISE = 29;
  const int b = internal_body(body);
  if (b == PLUTO || b == PLUTO_PRECISE) return jd >= PLUTO_FIRST_JD && jd <= PLUTO_LAST_JD;
  return in_range(jd);
}
}  // namespace

extern "C" {

ORBITCORE_API double _planetinfo(double jd, int body, int item, ...) {
  if (item < 0 || item > 9 || !in_range(jd, body)) return 0.0;
  double v[10];  // item order: r, ra, dec, delta, elong, illum, mag, diam, lon, lat
  // Light time, aberration and nutation on; the physical data (items 4 ... 7)
  // only when one of them is asked for: they feed no other item, and without
  // them the Moon needs no Earth.
  const int physical = item >= 4 && item <= 7 ? 1 : 0;
  compute_body(jd, internal_body(body), &v[1], &v[2], &v[3], &v[0], &v[4], &v[5],
               &v[6], &v[7], &v[8], &v[9], 1, 1, 1, physical);
  return v[item];
}

ORBITCORE_API void _calcplanet(double jd, int body, double* ra, double* dec,
                               double* delta, double* r, double* elongation,
                               double* illumination, double* magnitude,
                               double* diameter, double* lon, double* lat,
                               int use_light_time, int use_aberration,
                               int use_nutation, int want_physical) {
  // Results go through local slots so that a null pointer is skipped
  // instead of written through.
  double v[10] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  if (in_range(jd, body))
    compute_body(jd, internal_body(body), &v[0], &v[1], &v[2], &v[3], &v[4],
                 &v[5], &v[6], &v[7], &v[8], &v[9], use_light_time,
                 use_aberration, use_nutation, want_physical);
  double* out[10] = {ra, dec, delta, r, elongation, illumination, magnitude,
                     diameter, lon, lat};
  for (int i = 0; i < 10; ++i)
    if (out[i] != nullptr) *out[i] = v[i];
}

ORBITCORE_API double _jddtojdb(double jd) {
  if (!in_range(jd)) return 0.0;
  return finite_or_nan(jd + delta_t_at(jd) / 86400.0);
}

ORBITCORE_API double _localsiderealtime(double jd, double longitude_deg,
                                        int apparent) {
  if (!in_range(jd) || !std::isfinite(longitude_deg)) return 0.0;
  return finite_or_nan(sidereal_time(jd, longitude_deg, apparent));
}

ORBITCORE_API double _eclipticobliquity(double jd, int true_obliquity) {
  if (!in_range(jd)) return 0.0;
  return finite_or_nan(obliquity(jd, true_obliquity));
}

ORBITCORE_API void _aberrat_aux(double jd, double* a, double* b,
                                double sun_longitude, int mode) {
  if (a == nullptr || b == nullptr || !in_range(jd)) return;
  aberration(jd, a, b, sun_longitude, mode);
  *a = finite_or_nan(*a);
  *b = finite_or_nan(*b);
}

}  // extern "C"
