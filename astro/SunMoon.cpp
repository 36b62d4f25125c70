// SunMoon — Sun and Moon through orbitcore and lunaris (see SunMoon.h).
//
// References: J. Laskar, A&A 157, 59 (1986) for the mean obliquity;
// J. Meeus, Astronomical Algorithms (1998), eq. 13.3 and 13.4 for the
// ecliptic-to-equatorial conversion (here in its half-angle form).
#include "SunMoon.h"

#include <cmath>

#include "Trigonom.h"
#include "lunaris.h"
#include "orbitcore.h"

namespace nodalis {

bool UseLunarLib = true;

namespace {
constexpr int BODY_SUN = 1020;   // Sun, complete Earth series
constexpr int BODY_MOON = 1011;
constexpr int ITEM_DIST = 3, ITEM_LON = 8, ITEM_LAT = 9;
constexpr long double DEG_TO_RAD_LITERAL = 0.017453292519943295769L;  // degrees -> rad
}  // namespace

double PlanetInfo(long double JD, int Body, int Item) {
  return _planetinfo(static_cast<double>(JD), Body, Item, 1, 0, 0);
}

namespace {
void Ecliptic(int Body, long double& Lambda, long double& Beta, long double& R,
              long double JD, int Flags, unsigned char Mode) {
  const double jd = static_cast<double>(JD);
  R = _planetinfo(jd, Body, ITEM_DIST, 1, Flags & 127, Mode);
  Lambda = _planetinfo(jd, Body, ITEM_LON, 1, Flags & 127, Mode);
  Beta = _planetinfo(jd, Body, ITEM_LAT, 1, Flags & 127, Mode);
}
}  // namespace

void SunEcliptic(long double& Lambda, long double& Beta, long double& R,
                 long double JD, int Flags, unsigned char Mode) {
  Ecliptic(BODY_SUN, Lambda, Beta, R, JD, Flags, Mode);
}

void MoonEcliptic(long double& Lambda, long double& Beta, long double& R,
                  long double JD, int Flags, unsigned char Mode) {
  Ecliptic(BODY_MOON, Lambda, Beta, R, JD, Flags, Mode);
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

long double MeanObliquity(long double JD) {
  const long double U = (JD - 2451545.0L) / 3652500.0L;
  auto P = [U](int n) { return std::pow(U, static_cast<long double>(n)); };
  return (23.439291111L + (-4680.93L * U - 1.55L * P(2) + 1999.25L * P(3) - 51.38L * P(4) -
                           249.67L * P(5) - 39.05L * P(6) + 7.12L * P(7) + 27.87L * P(8) +
                           5.79L * P(9) + 2.45L * P(10)) / 3600.0L) *
         DEG_TO_RAD_LITERAL;
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
