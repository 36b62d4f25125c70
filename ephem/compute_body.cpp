// orbitcore — apparent geocentric place of a body (the position pipeline).
//
// compute_body(jd, b, &ra, &dec, &delta, &r, &elongation, &illumination,
//              &magnitude, &diameter, &lon, &lat, light_time, aberration,
//              nutation, physical)
//
// jd: Julian date in dynamical time (TDT), used unchanged for every series.
// b:  internal body code: 0 or 10 Sun, -1 or 11 Moon, 1 ... 9 Mercury ...
//     Pluto, 3 Earth (heliocentric L, B, R of date in ra, dec, delta only);
//     20 ... 29 the same bodies with the complete VSOP87 Earth series
//     ("precise mode").  Any other code leaves all ten results at 0.
// Results: ra, dec (rad, equator of date), delta (AU), r (heliocentric
// distance, AU; 0 for Sun and Moon), elongation (rad, negative west of the
// Sun), illumination (percent), magnitude, diameter (arcsec), lon, lat
// (rad, ecliptic of date).
//
// Steps: heliocentric body and Earth (VSOP87 D with FK5, or Pluto, J2000);
// geocentric vector with one light-time step for planets; the Sun is the
// Earth turned by 180 deg (no light time); the Moon comes from the lunar
// series; physical data; annual aberration (for the Moon only subtracted
// when aberration is off and light time on); nutation in longitude; ecliptic
// to equator with the true (or mean) obliquity, for Pluto, still on the
// J2000 ecliptic, with the mean obliquity of J2000; for Pluto precession of
// (ra, dec) from J2000 to the date and back to the ecliptic.
//
// Cache: the last request (jd, b, the four switches) and its ten results.
// Callers ask for one item at a time (_planetinfo), three items of one date
// and body in a row; the second and third then cost a lookup.  The results
// depend on the arguments alone, so a hit returns exactly what the pipeline
// would compute again.
//
// References: Meeus, Astronomical Algorithms (2nd ed.), chs. 13, 23, 33, 41,
// 48; magnitudes after Mueller and Harris as given there.
#include <cmath>
#include <initializer_list>

#include "ephem/moon_geocentric.h"
#include "ephem/orbitcore_internal.h"

namespace orbitcore {

namespace {

constexpr double MIN_SQUARE = 1e-35;
constexpr double KM_PER_AU_MILLIONS = 149.597870691;  // 1e6 km per AU
constexpr double EARTH_EQUATORIAL_RADIUS_KM = 6378.137;
constexpr double MOON_DIAMETER_CONSTANT = 112422.0;  // arcsec * Earth radii
const double SIN_EPS_J2000 = std::sin(EPS_J2000_RAD);
const double COS_EPS_J2000 = std::cos(EPS_J2000_RAD);
constexpr double SUN_DIAMETER_ARCSEC_AT_1AU = 1919.26;
constexpr double SUN_MAGNITUDE_AT_1AU = -26.80;
constexpr double MOON_MAGNITUDE_BASE = 12.95;

// One-entry cache of the Earth's (L, B, R) per Earth series.
struct EarthCache {
  bool valid = false;
  double jd = -100000000.0;
  double lbr[3] = {0.0, 0.0, 0.0};
};
EarthCache earth_cache[2];  // [0] reduced series, [1] complete series

void earth_lbr(double jd, bool precise, double* l0, double* b0, double* r0) {
  EarthCache& c = earth_cache[precise ? 1 : 0];
  if (!(c.valid && c.jd == jd)) {
    double res[HELIO_RESULTS];
    helio_position(jd, precise ? SLOT_EARTH_COMPLETE : SLOT_EARTH_REDUCED, 0.0,
                   res);
    c.lbr[0] = res[0];
    c.lbr[1] = res[1];
    c.lbr[2] = res[2];
    c.jd = jd;
    c.valid = true;
  }
  *l0 = c.lbr[0];
  *b0 = c.lbr[1];
  *r0 = c.lbr[2];
}

// Geocentric rectangular vector of a heliocentric (L, B, R) seen from the
// Earth's (L0, B0, R0).
void helio_to_geo(const double body[3], double l0, double b0, double r0,
                  double* x, double* y, double* z) {
  const double cb = std::cos(body[1]), cb0 = std::cos(b0);
  *x = body[2] * cb * std::cos(body[0]) - r0 * cb0 * std::cos(l0);
  *y = body[2] * cb * std::sin(body[0]) - r0 * cb0 * std::sin(l0);
  *z = body[2] * std::sin(body[1]) - r0 * std::sin(b0);
}

// Visual magnitude term beyond 5 log10(r delta) for phase angle i (deg).
double planet_magnitude_term(int h, double i, double jd, double lon,
                             double lat) {
  switch (h) {
    case 1: return -0.42 + 0.038 * i - 0.000273 * i * i + 0.000002 * i * i * i;
    case 2: return -4.40 + 0.0009 * i + 0.000239 * i * i - 0.00000065 * i * i * i;
    case 4: return -1.52 + 0.016 * i;
    case 5: return -9.40 + 0.005 * i;
    case 6: {
      const double t = centuries_j2000(jd);
      const double ring_inc = (28.075216 - 0.012998 * t + 0.000004 * t * t) * RAD_PER_DEG;
      const double ring_node = (169.50847 + 1.394681 * t + 0.000412 * t * t) * RAD_PER_DEG;
      const double s = safe_asin(std::cos(ring_inc) * std::sin(lat) -
                                 std::sin(ring_inc) * std::cos(lat) * std::sin(lon - ring_node));
      const double ss = std::sin(s);
      return -8.88 + 0.044 * i + 1.25 * ss * ss - 2.6 * std::fabs(ss);
    }
    case 7: return -7.19;
    case 8: return -6.87;
    case 9: return -1.00;
    default: return 0.0;
  }
}

// Apparent diameter at 1 AU, arcsec, per planet (index h).
const double PLANET_DIAMETER_AT_1AU[10] = {0.0,    6.72,  16.82, 0.0,  9.36,
                                           184.12, 147.64, 70.04, 67.0, 4.14};

// A body's geocentric place on the ecliptic of date (J2000 for Pluto until
// step 11): longitude, latitude (rad), distance (AU).
struct Geocentric {
  double lon = 0.0, lat = 0.0, delta = 0.0;
};

// 6. Geocentric position: the Sun as the Earth turned by 180 deg, the Moon
// from the lunar series, a planet from its heliocentric position body[]
// (retarded by one light-time step when asked: body[] then holds the
// position at jd - tau).  False when the retarded position fails.
bool geocentric_position(double jd, int h, int use_light_time, double* body, double l0,
                         double b0, double r0, Geocentric& g) {
  if (h == 0) {
    g.lon = norm_2pi(l0 + PI);
    g.lat = -b0;
    g.delta = r0;
    return true;
  }
  if (h == -1) {
    moon_geocentric(jd, use_light_time, &g.lon, &g.lat, &g.delta);
    return true;
  }
  double x, y, z;
  helio_to_geo(body, l0, b0, r0, &x, &y, &z);
  if (use_light_time) {
    const double tau = LIGHT_DAYS_PER_AU * std::sqrt(x * x + y * y + z * z);
    if (helio_position(jd - tau, h, 0.0, body) != HELIO_OK) return false;
    helio_to_geo(body, l0, b0, r0, &x, &y, &z);
  }
  g.delta = safe_sqrt(x * x + y * y + z * z);
  if (x * x + y * y > MIN_SQUARE) {
    g.lon = safe_atan2(y, x);
    g.lat = safe_atan2(z, safe_sqrt(x * x + y * y));
  } else {
    g.lon = 0.0;
    g.lat = z > 0.0 ? PI / 2 : (z < 0.0 ? -PI / 2 : 0.0);
  }
  return true;
}

// 7. Physical data: illumination (percent), elongation (rad, negative west
// of the Sun), apparent diameter (arcsec) and magnitude.
void physical_data(double jd, int h, const Geocentric& g, const double* body, double l0,
                   double r0, double* elongation, double* illumination, double* magnitude,
                   double* diameter) {
  const double dist = g.delta;
  if (h == 0) {
    *illumination = 100.0;
    *elongation = 0.0;
    *diameter = SUN_DIAMETER_ARCSEC_AT_1AU / r0;
    *magnitude = 5.0 * std::log10(r0) + SUN_MAGNITUDE_AT_1AU;
    return;
  }
  double elong;
  if (h == -1) {
    double k, i;
    moon_phase(jd, 0, &k, &i);
    *illumination = 100.0 * k;
    elong = (180.0 - i) * RAD_PER_DEG;
    if (dist > 0.0) {  // the series gives 0 while unavailable
      *diameter = MOON_DIAMETER_CONSTANT /
                  (dist * KM_PER_AU_MILLIONS * 1e6 / EARTH_EQUATORIAL_RADIUS_KM);
      *magnitude = 5.0 * std::log10(r0 * dist) + MOON_MAGNITUDE_BASE + moon_phase_magnitude(i);
    }
  } else {
    const double rb = body[2];
    elong = safe_acos((r0 * r0 + dist * dist - rb * rb) / (2.0 * r0 * dist));
    const double cos_i = (rb * rb + dist * dist - r0 * r0) / (2.0 * rb * dist);
    *illumination = 50.0 * (1.0 + cos_i);
    const double i = safe_acos(cos_i) * DEG_PER_RAD;
    *magnitude = 5.0 * std::log10(rb * dist) + planet_magnitude_term(h, i, jd, g.lon, g.lat);
    *diameter = PLANET_DIAMETER_AT_1AU[h] / dist;
  }
  if (std::sin(g.lon - l0) > 0.0) elong = -elong;
  *elongation = elong;
}

// 8. Annual aberration; for the Moon (whose series includes it) subtracted
// when aberration is off and light time on.
void annual_aberration(double jd, int h, int use_aberration, int use_light_time, double l0,
                       Geocentric& g) {
  const double sun_lon = norm_2pi(l0 + PI);
  if (h >= 0 && use_aberration) {
    aberration(jd, &g.lon, &g.lat, sun_lon, 0);
  } else if (h == -1 && !use_aberration && use_light_time) {
    double a_lon = g.lon, a_lat = g.lat;
    aberration(jd, &a_lon, &a_lat, sun_lon, 0);
    g.lon = 2.0 * g.lon - a_lon;
    g.lat = 2.0 * g.lat - a_lat;
  }
}

// 9. - 11. Nutation in longitude, ecliptic to equator, and for Pluto the
// precession from J2000 to the date and back to the ecliptic of date.
void to_equator_of_date(double jd, int h, int use_nutation, Geocentric& g, double* ra,
                        double* dec) {
  // 9. Obliquity and nutation in longitude.
  double sin_eps, cos_eps;
  obliquity_sincos(jd, use_nutation, &sin_eps, &cos_eps);
  if (use_nutation) {
    double dpsi, deps;
    nutation(jd, &dpsi, &deps);
    g.lon += dpsi;
  }

  // 10. Ecliptic to equator.  Pluto's position is still on the ecliptic of
  // J2000 here, so it takes the obliquity of J2000: with the obliquity of
  // date the J2000 equator it is precessed from would be tilted by the
  // obliquity's change (-47" per century).
  g.lon = norm_2pi(g.lon);
  const double sl = std::sin(g.lon), cl = std::cos(g.lon);
  const double se = h == 9 ? SIN_EPS_J2000 : sin_eps;
  const double ce = h == 9 ? COS_EPS_J2000 : cos_eps;
  *dec = safe_asin(std::sin(g.lat) * ce + std::cos(g.lat) * se * sl);
  *ra = norm_2pi(safe_atan2(sl * ce - std::tan(g.lat) * se, cl));

  // 11. Pluto: precess from the equator of J2000 to that of the date and
  // return to the ecliptic of date.
  if (h == 9) {
    precess_j2000_to_date(jd, ra, dec);
    const double sa = std::sin(*ra), ca = std::cos(*ra);
    g.lat = safe_asin(std::sin(*dec) * cos_eps - std::cos(*dec) * sin_eps * sa);
    g.lon = norm_2pi(safe_atan2(sa * cos_eps + std::tan(*dec) * sin_eps, ca));
  }
}

void compute_body_uncached(double jd, int b, double* ra, double* dec, double* delta,
                           double* r, double* elongation, double* illumination,
                           double* magnitude, double* diameter, double* lon,
                           double* lat, int use_light_time, int use_aberration,
                           int use_nutation, int want_physical) {
  *ra = *dec = *delta = *r = *elongation = *illumination = 0.0;
  *magnitude = *diameter = *lon = *lat = 0.0;

  // 1. Body code: 10 -> Sun, 11 -> Moon, >= 20 -> precise mode.
  if (b == 10) b = 0;
  if (b == 11) b = -1;
  bool precise = false;
  if (b >= 20) {
    precise = true;
    b -= 20;
  }
  const int h = b;

  // 2. Earth: heliocentric L, B, R of date only.
  if (h == 3) {
    double res[HELIO_RESULTS];
    if (helio_position(jd, precise ? SLOT_EARTH_COMPLETE : SLOT_EARTH_REDUCED,
                       0.0, res) == HELIO_OK) {
      *ra = finite_or_nan(res[0]);
      *dec = finite_or_nan(res[1]);
      *delta = finite_or_nan(res[2]);
    }
    return;
  }
  // 3. Unknown body.
  if (h < -1 || h > 9) return;

  // 4. Heliocentric body.
  double body[HELIO_RESULTS] = {0, 0, 0, 0, 0, 0};
  if (h >= 1) {
    if (helio_position(jd, h, 0.0, body) != HELIO_OK) return;
    *r = body[2];
  }

  // 5. The Earth.  Pluto's theory is referred to the ecliptic and equinox
  // of J2000, so for Pluto the Earth is turned into that frame too (without
  // it the geocentric vector would mix two frames, an error of the full
  // precession since 2000 times 1 AU, about 50" per century in Pluto's
  // direction and far more in its elongation).
  // The Moon needs the Earth only for its physical data and for the
  // subtracted aberration.
  double l0 = 0.0, b0 = 0.0, r0 = 0.0;
  if (h != -1 || want_physical || (!use_aberration && use_light_time))
    earth_lbr(jd, precise, &l0, &b0, &r0);
  if (h == 9) ecliptic_of_date_to_j2000(jd, &l0, &b0);

  // 6. - 11.
  Geocentric g;
  if (!geocentric_position(jd, h, use_light_time, body, l0, b0, r0, g)) {
    *r = 0.0;
    return;
  }
  if (want_physical)
    physical_data(jd, h, g, body, l0, r0, elongation, illumination, magnitude, diameter);
  annual_aberration(jd, h, use_aberration, use_light_time, l0, g);
  to_equator_of_date(jd, h, use_nutation, g, ra, dec);

  *delta = g.delta;
  *lon = g.lon;
  *lat = g.lat;
  // Absurd dates (|jd| ~ 1e300) overflow the series' powers of t.
  for (double* p : {ra, dec, delta, r, elongation, illumination, magnitude,
                    diameter, lon, lat})
    *p = finite_or_nan(*p);
}

// The last request and its results (slot order of the arguments).
struct ResultCache {
  bool valid = false;
  double jd = 0.0;
  int b = 0;
  bool switches[4] = {};
  double v[10] = {};
};
ResultCache result_cache;

}  // namespace

void compute_body(double jd, int b, double* ra, double* dec, double* delta,
                  double* r, double* elongation, double* illumination,
                  double* magnitude, double* diameter, double* lon,
                  double* lat, int use_light_time, int use_aberration,
                  int use_nutation, int want_physical) {
  const bool sw[4] = {use_light_time != 0, use_aberration != 0, use_nutation != 0,
                      want_physical != 0};
  ResultCache& c = result_cache;
  if (!(c.valid && c.jd == jd && c.b == b && c.switches[0] == sw[0] &&
        c.switches[1] == sw[1] && c.switches[2] == sw[2] && c.switches[3] == sw[3])) {
    double* v = c.v;
    compute_body_uncached(jd, b, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7],
                          &v[8], &v[9], sw[0], sw[1], sw[2], sw[3]);
    c.jd = jd;
    c.b = b;
    for (int k = 0; k < 4; ++k) c.switches[k] = sw[k];
    c.valid = true;
  }
  double* out[10] = {ra, dec, delta, r, elongation, illumination, magnitude, diameter, lon, lat};
  for (int k = 0; k < 10; ++k) *out[k] = c.v[k];
}

}  // namespace orbitcore
