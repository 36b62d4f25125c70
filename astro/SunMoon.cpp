// SunMoon — Sun and Moon through orbitcore and lunaris (see SunMoon.h).
//
// References: J. Laskar, A&A 157, 59 (1986) for the mean obliquity;
// J. Meeus, Astronomical Algorithms (1998), eq. 13.3 and 13.4 for the
// ecliptic-to-equatorial conversion (here in its half-angle form).
#include "astro/SunMoon.h"

#include <cmath>

#include "astro/Trigonom.h"
#include "lunaris/lunaris.h"
#include "ephem/orbitcore.h"

namespace nodalis {

bool UseLunarLib = true;

namespace {
constexpr int BODY_SUN = 1020;   // Sun, complete Earth series
constexpr int BODY_MOON = 1011;
constexpr int ITEM_DIST = 3, ITEM_LON = 8, ITEM_LAT = 9;
}  // namespace

double PlanetInfo(long double JD, int Body, int Item) {
  return _planetinfo(static_cast<double>(JD), Body, Item, 1, 0, 0);
}

namespace {
// One-entry result cache per body: the three items of one date come from
// one pipeline run of _planetinfo, so a repeated date (three items, Sun and
// Moon at the same instant in several routines) costs nothing.  _planetinfo
// is a pure function of its arguments, so the values are identical.
struct EclipticCache {
  bool valid = false;
  double jd = 0;
  int flags = 0;
  unsigned char mode = 0;
  double r = 0, lambda = 0, beta = 0;
};

void Ecliptic(int Body, EclipticCache& cache, long double& Lambda, long double& Beta,
              long double& R, long double JD, int Flags, unsigned char Mode) {
  const double jd = static_cast<double>(JD);
  const int f = Flags & 127;
  if (!(cache.valid && cache.jd == jd && cache.flags == f && cache.mode == Mode)) {
    cache.r = _planetinfo(jd, Body, ITEM_DIST, 1, f, Mode);
    cache.lambda = _planetinfo(jd, Body, ITEM_LON, 1, f, Mode);
    cache.beta = _planetinfo(jd, Body, ITEM_LAT, 1, f, Mode);
    cache.jd = jd;
    cache.flags = f;
    cache.mode = Mode;
    cache.valid = true;
  }
  R = cache.r;
  Lambda = cache.lambda;
  Beta = cache.beta;
}

EclipticCache sun_cache, moon_cache;
}  // namespace

void SunEcliptic(long double& Lambda, long double& Beta, long double& R,
                 long double JD, int Flags, unsigned char Mode) {
  Ecliptic(BODY_SUN, sun_cache, Lambda, Beta, R, JD, Flags, Mode);
}

void MoonEcliptic(long double& Lambda, long double& Beta, long double& R,
                  long double JD, int Flags, unsigned char Mode) {
  Ecliptic(BODY_MOON, moon_cache, Lambda, Beta, R, JD, Flags, Mode);
}

void MoonPosition(long double& LambdaXYZ, long double& BetaXYZ, long double& Lambda,
                  double JD, long double& Beta, long double& Dist) {
  double X = 0, Y = 0, Z = 0, Lon = 0, Lat = 0, D = 0;
  _clunaris(JD, &X, &Y, &Z, &Lon, &Lat, &D);
  long double l = std::atan2(static_cast<long double>(Y), static_cast<long double>(X));
  if (l < 0) l += 2.0L * PI_EXT;
  LambdaXYZ = l;
  BetaXYZ = std::atan(static_cast<long double>(Z) /
                      std::sqrt(static_cast<long double>(X) * X + static_cast<long double>(Y) * Y));
  Lambda = Lon;
  Beta = Lat;
  Dist = D;
}

void ChosenMoon(long double& Lambda, long double& Beta, long double& Dist, long double JD) {
  if (UseLunarLib) {
    long double lx, bx;
    MoonPosition(lx, bx, Lambda, static_cast<double>(JD), Beta, Dist);
  } else {
    MoonEcliptic(Lambda, Beta, Dist, JD, 0, 0);
  }
}

long double GreenwichSiderealTime(long double JDUT) {
  constexpr int APPARENT = 1;
  constexpr long double RAD_PER_HOUR = 0.26179938779914943653855L;  // 2pi / 24
  long double theta = _localsiderealtime(static_cast<double>(JDUT), 0.0, APPARENT) * RAD_PER_HOUR;
  // [0, 24) h from orbitcore; 0 outside its dates, which callers never ask.
  if (theta < 0) theta += 2.0L * PI_EXT;
  return theta;
}

long double NutationInObliquity(long double JD) {
  const double jd = static_cast<double>(JD);
  return static_cast<long double>(_eclipticobliquity(jd, 1)) - _eclipticobliquity(jd, 0);
}

long double MeanObliquity(long double JD) {
  // Horner form of Laskar's polynomial (the same value to the last bits as
  // summing powers; evaluated twice per Besselian elements, so it matters).
  static const long double C[10] = {-4680.93L, -1.55L, 1999.25L, -51.38L, -249.67L,
                                    -39.05L,   7.12L,  27.87L,   5.79L,   2.45L};
  const long double U = (JD - 2451545.0L) / 3652500.0L;
  long double p = 0;
  for (int k = 9; k >= 0; --k) p = (p + C[k]) * U;
  return (23.439291111L + p / 3600.0L) * RAD_PER_DEG;
}

void EclToEqu(long double& Alpha, long double& Delta, long double JD,
              long double Beta, long double Lambda) {
  const long double eps = MeanObliquity(JD);
  const long double sb = std::sin(Beta), cb = std::cos(Beta);
  const long double se = std::sin(eps), ce = std::cos(eps);
  const long double sl = std::sin(Lambda), cl = std::cos(Lambda);
  Delta = ArcSin(sb * ce + cb * se * sl);
  const long double t = std::cos(Delta) + cb * cl;
  if (t != 0)
    Alpha = 2.0L * std::atan((-sb * se + cb * ce * sl) / t);
  else
    Alpha = PI_EXT;
}

}  // namespace nodalis
