// BesselElements — Besselian elements of the Moon's shadow at one instant.
//
// JD on the input time scale; positions at t = JD + DeltaTDays (TDT).  The
// Sun (orbitcore body 1020) and the Moon (lunaris or orbitcore body 1011)
// are turned to the equator of date with the mean obliquity; the shadow
// axis g points from the Moon to the Sun; the fundamental plane's x axis
// lies in the equator, y = g x x.  Lengths in Earth radii (1 AU =
// 23454.77992 Earth radii), f1, f2 in degrees.
//
// Reference: Explanatory Supplement to the Astronomical Almanac (1992),
// sec. 8.3; W. Chauvenet, Manual of Spherical and Practical Astronomy, vol. 1.
#include <cmath>

#include "astro/Astrcalc.h"
#include "astro/Trigonom.h"

namespace nodalis {

void BesselElements(long double JD, float DeltaTDays, BesselRec& Rec,
                    long double& x, long double& y) {
  const long double t = JD + DeltaTDays;
  long double lsun, bsun, rsun;
  SunEcliptic(lsun, bsun, rsun, t, 0, 0);
  // Early dates: small empirical correction of the Sun's longitude.
  if (t < 1000000.0L) lsun -= DegToRad((t - 1000000.0L) / 8500000.0L);
  long double asun, dsun;
  EclToEqu(asun, dsun, t, bsun, lsun);

  long double lmoon, bmoon, dmoon;
  ChosenMoon(lmoon, bmoon, dmoon, t);
  long double amoon, dmoon_eq;
  EclToEqu(amoon, dmoon_eq, t, bmoon, lmoon);

  rsun *= EARTH_RADII_PER_AU;
  dmoon *= EARTH_RADII_PER_AU;
  TVector S, M;
  SphToRect(S.x, S.y, S.z, RadToDeg(asun), RadToDeg(dsun), rsun);
  SphToRect(M.x, M.y, M.z, RadToDeg(amoon), RadToDeg(dmoon_eq), dmoon);

  TVector G{S.x - M.x, S.y - M.y, S.z - M.z};
  const long double len = VecLength(G);
  TVector& g = Rec.Axes[2];
  g = TVector{G.x / len, G.y / len, G.z / len};
  const long double rho = std::sqrt(g.x * g.x + g.y * g.y);
  Rec.Axes[0] = TVector{-g.y / rho, g.x / rho, 0};
  CrossProduct(Rec.Axes[2], Rec.Axes[0], Rec.Axes[1]);

  x = DotProduct(M, Rec.Axes[0]);
  y = DotProduct(M, Rec.Axes[1]);
  const long double z = DotProduct(M, Rec.Axes[2]);
  Rec.F1 = ArcSinDeg(SUN_PLUS_K_ER / len);
  Rec.L1 = z * SUN_PLUS_K_ER / len + MOON_RADIUS_ER;
  Rec.F2 = ArcSinDeg(SUN_MINUS_K_ER / len);
  Rec.L2 = z * SUN_MINUS_K_ER / len - MOON_RADIUS_ER;
}

void BesselElements(long double JD, float DeltaTDays, BesselRec& Rec) {
  BesselElements(JD, DeltaTDays, Rec, Rec.X, Rec.Y);
}

}  // namespace nodalis
