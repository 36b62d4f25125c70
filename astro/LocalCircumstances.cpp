// LocalCircumstances — contacts, maximum, magnitude and obscuration of a
// solar eclipse at one place from polynomial Besselian elements (see
// LocalCircumstances.h).
#include "astro/LocalCircumstances.h"

#include <cmath>

#include "astro/Circumstances.h"
#include "astro/PolynomialsInDouble.h"
#include "astro/Trigonom.h"

namespace nodalis {

namespace {
// The arithmetic in double: a part in 1e16 of an Earth radius is far below
// a millimetre, and a part in 1e16 of an hour far below a microsecond.
using Real = double;

constexpr Real PI = 3.141592653589793238462643;
constexpr Real RAD = static_cast<Real>(RAD_PER_DEG);
constexpr Real ONE_MINUS_F = 1 - static_cast<Real>(EARTH_FLATTENING);
constexpr Real EQUATORIAL_RADIUS_M = static_cast<Real>(EARTH_EQUATORIAL_RADIUS_KM) * 1000;
constexpr long double HOURS_PER_DAY = 24.0L;
constexpr long double SECONDS_PER_DAY = 86400.0L;
constexpr Real SECONDS_PER_HOUR = 3600;

// The search window around greatest eclipse and its sampling (hours).  The
// penumbra stays on the Earth for at most about 6.5 h; the polynomials are
// fitted over t0 +- 3 h and hold a little beyond.
constexpr Real WINDOW_HOURS = 4;
constexpr Real SCAN_STEP_HOURS = 5.0 / 60.0;
constexpr int SCAN_STEPS = static_cast<int>(2 * WINDOW_HOURS / SCAN_STEP_HOURS + 0.5);
// Roots to this precision (hours; 3.6 us).
constexpr Real ROOT_PRECISION_HOURS = 1e-9;
constexpr int MAX_ROOT_STEPS = 100;

using Elements = PolynomialsInDouble;

// The place: geocentric coordinates in equatorial Earth radii, geodetic
// latitude and longitude in radians.
struct Site {
  Real rsp = 0, rcp = 0;  // rho sin phi', rho cos phi'
  Real sphi = 0, cphi = 0, lon = 0;
};

// rho sin phi', rho cos phi' and the sine and cosine of the geodetic
// latitude.
void Geocentric(const GeodeticPlace& Place, Real& Rsp, Real& Rcp, Real& Sphi, Real& Cphi) {
  const Real phi = static_cast<Real>(Place.LatitudeDeg) * RAD;
  const Real h = static_cast<Real>(Place.HeightM) / EQUATORIAL_RADIUS_M;
  Sphi = std::sin(phi);
  Cphi = std::cos(phi);
  // Reduced latitude u: tan u = (1 - f) tan phi.
  const Real u = std::atan2(ONE_MINUS_F * Sphi, Cphi);
  Rsp = ONE_MINUS_F * std::sin(u) + h * Sphi;
  Rcp = std::cos(u) + h * Cphi;
}

Site MakeSite(const GeodeticPlace& Place) {
  Site s;
  Geocentric(Place, s.rsp, s.rcp, s.sphi, s.cphi);
  s.lon = std::remainder(static_cast<Real>(Place.LongitudeDeg), 360.0) * RAD;
  return s;
}

// The geometry at t hours from t0.
struct State {
  Real t = 0;
  Real u = 0, v = 0, a = 0, b = 0;  // shadow axis from the place and its rate
  Real L1 = 0, L2 = 0;              // shadow radii at the place
  Real sd = 0, cd = 0, sH = 0, cH = 0;
  Real m() const { return std::sqrt(u * u + v * v); }
};

State Evaluate(const Elements& E, const Site& S, Real t) {
  State s;
  s.t = t;
  const Real x = E.x[0] + t * (E.x[1] + t * (E.x[2] + t * E.x[3]));
  const Real y = E.y[0] + t * (E.y[1] + t * (E.y[2] + t * E.y[3]));
  const Real xr = E.x[1] + t * (2 * E.x[2] + t * 3 * E.x[3]);
  const Real yr = E.y[1] + t * (2 * E.y[2] + t * 3 * E.y[3]);
  const Real d = (E.d[0] + t * (E.d[1] + t * E.d[2])) * RAD;
  const Real dr = (E.d[1] + 2 * t * E.d[2]) * RAD;
  const Real H = (E.mu[0] + t * (E.mu[1] + t * E.mu[2]) - E.shiftDeg) * RAD + S.lon;
  const Real Hr = (E.mu[1] + 2 * t * E.mu[2]) * RAD;
  s.sd = std::sin(d);
  s.cd = std::cos(d);
  s.sH = std::sin(H);
  s.cH = std::cos(H);
  const Real xi = S.rcp * s.sH;
  const Real eta = S.rsp * s.cd - S.rcp * s.cH * s.sd;
  const Real zeta = S.rsp * s.sd + S.rcp * s.cH * s.cd;
  const Real xir = Hr * S.rcp * s.cH;
  const Real etar = Hr * xi * s.sd - zeta * dr;
  s.u = x - xi;
  s.v = y - eta;
  s.a = xr - xir;
  s.b = yr - etar;
  s.L1 = E.l1[0] + t * (E.l1[1] + t * E.l1[2]) - zeta * E.tf1;
  s.L2 = E.l2[0] + t * (E.l2[1] + t * E.l2[2]) - zeta * E.tf2;
  return s;
}

// Half the rate of m^2: negative while the axis approaches the place.
Real Approach(const State& s) { return s.u * s.a + s.v * s.b; }
Real OuterGap(const State& s) { return s.m() - s.L1; }
Real InnerGap(const State& s) { return s.m() - std::fabs(s.L2); }

// A root of F (a function of the State) in [A, B] where F changes sign,
// by the Illinois variant of the regula falsi.
template <class F>
State Root(const Elements& E, const Site& S, F Fn, State A, State B) {
  Real fa = Fn(A), fb = Fn(B);
  if (fa == 0) return A;
  if (fb == 0) return B;
  int side = 0;
  State c = A;
  for (int i = 0; i < MAX_ROOT_STEPS && std::fabs(B.t - A.t) > ROOT_PRECISION_HOURS; ++i) {
    Real t = (A.t * fb - B.t * fa) / (fb - fa);
    if (!(t > std::fmin(A.t, B.t) && t < std::fmax(A.t, B.t))) t = (A.t + B.t) / 2;
    c = Evaluate(E, S, t);
    const Real fc = Fn(c);
    if (fc == 0) return c;
    if ((fc < 0) == (fb < 0)) {
      B = c;
      fb = fc;
      if (side == -1) fa /= 2;
      side = -1;
    } else {
      A = c;
      fa = fc;
      if (side == 1) fb /= 2;
      side = 1;
    }
  }
  return std::fabs(Fn(A)) < std::fabs(Fn(B)) ? A : B;
}

Real Wrap360(Real a) {
  a = std::fmod(a, 360.0);
  if (a < 0) a += 360;
  return a < 360 ? a : 0;  // -1e-15 + 360 rounds to 360
}

LocalContact Describe(const BesselPolynomials& P, const Site& S, const State& s, bool Opposite) {
  LocalContact c;
  c.Exists = true;
  c.JDTD = P.JDT0TD + static_cast<long double>(s.t) / HOURS_PER_DAY;
  c.JDUT = c.JDTD - P.DeltaTSeconds / SECONDS_PER_DAY;
  // The Sun along the shadow axis (declination d, hour angle H).
  const Real sinAlt = S.sphi * s.sd + S.cphi * s.cd * s.cH;
  c.SunAltDeg = std::asin(std::fmax(-1.0, std::fmin(1.0, sinAlt))) / RAD;
  c.SunAziDeg = Wrap360(std::atan2(-s.cd * s.sH, s.sd * S.cphi - s.cd * s.cH * S.sphi) / RAD);
  const Real p = std::atan2(s.u, s.v) / RAD + (Opposite ? 180 : 0);
  c.PDeg = Wrap360(p);
  const Real q = std::atan2(S.cphi * s.sH, S.sphi * s.cd - S.cphi * s.sd * s.cH) / RAD;
  c.VDeg = Wrap360(p - q);
  c.SunBelowHorizon = c.SunAltDeg < 0;
  return c;
}

// Covered fraction of the Sun's disc (radius Rs) by the Moon's (Rm) at the
// distance Dist between their centres.
Real Obscuration(Real Rs, Real Rm, Real Dist) {
  if (!(Rs > 0) || !(Rm > 0)) return 0;
  if (Dist >= Rs + Rm) return 0;
  if (Dist <= std::fabs(Rs - Rm)) return Rm >= Rs ? 1 : (Rm * Rm) / (Rs * Rs);
  const Real ca = (Dist * Dist + Rs * Rs - Rm * Rm) / (2 * Dist * Rs);
  const Real cb = (Dist * Dist + Rm * Rm - Rs * Rs) / (2 * Dist * Rm);
  const Real alpha = std::acos(std::fmax(-1.0, std::fmin(1.0, ca)));
  const Real beta = std::acos(std::fmax(-1.0, std::fmin(1.0, cb)));
  const Real area = Rs * Rs * (alpha - std::sin(alpha) * std::cos(alpha)) +
                    Rm * Rm * (beta - std::sin(beta) * std::cos(beta));
  return std::fmin(1.0, std::fmax(0.0, area / (PI * Rs * Rs)));
}

bool FiniteContact(const LocalContact& c) {
  return !c.Exists || (std::isfinite(c.JDTD) && std::isfinite(c.JDUT) && std::isfinite(c.SunAltDeg) &&
                       std::isfinite(c.SunAziDeg) && std::isfinite(c.PDeg) && std::isfinite(c.VDeg));
}

Real SinAltitude(const Site& S, const State& s) { return S.sphi * s.sd + S.cphi * s.cd * s.cH; }

}  // namespace

const char* LocalEclipseKindName(LocalEclipseKind Kind) {
  switch (Kind) {
    case LocalEclipseKind::Partial: return "partial";
    case LocalEclipseKind::Annular: return "annular";
    case LocalEclipseKind::Total: return "total";
    case LocalEclipseKind::None: break;
  }
  return "none";
}

void GeocentricCoordinates(const GeodeticPlace& Place, long double& RhoSinPhi, long double& RhoCosPhi) {
  Real rsp = 0, rcp = 0, sphi = 0, cphi = 0;
  Geocentric(Place, rsp, rcp, sphi, cphi);
  RhoSinPhi = rsp;
  RhoCosPhi = rcp;
}

LocalCircumstances ComputeLocalCircumstances(const BesselPolynomials& P, const GeodeticPlace& Place) {
  LocalCircumstances out;
  if (!FiniteBesselPolynomials(P) || !std::isfinite(Place.LatitudeDeg) || !std::isfinite(Place.LongitudeDeg) ||
      !std::isfinite(Place.HeightM) || std::fabs(Place.LatitudeDeg) > 90)
    return out;
  const Elements E(P);
  const Site S = MakeSite(Place);
  const Real tg = static_cast<Real>(HoursFromT0(P, P.JDGreatestTD));
  const Real t0 = tg - WINDOW_HOURS;

  // The scan: the sample nearest the axis.
  State grid[SCAN_STEPS + 1];
  int best = 0;
  for (int i = 0; i <= SCAN_STEPS; ++i) {
    grid[i] = Evaluate(E, S, t0 + i * SCAN_STEP_HOURS);
    if (grid[i].m() < grid[best].m()) best = i;
  }
  // Maximum: where the axis stops approaching, between the neighbours of
  // the nearest sample (at an end of the window, the end).
  State mx = grid[best];
  if (best > 0 && Approach(grid[best - 1]) < 0 && Approach(grid[best]) >= 0)
    mx = Root(E, S, Approach, grid[best - 1], grid[best]);
  else if (best < SCAN_STEPS && Approach(grid[best]) < 0 && Approach(grid[best + 1]) >= 0)
    mx = Root(E, S, Approach, grid[best], grid[best + 1]);
  out.Valid = true;
  const Real m = mx.m();
  if (!(m < mx.L1)) return out;

  const bool umbral = m < std::fabs(mx.L2);
  const bool total = mx.L2 < 0;
  out.Kind = umbral ? (total ? LocalEclipseKind::Total : LocalEclipseKind::Annular)
                    : LocalEclipseKind::Partial;
  out.Maximum = Describe(P, S, mx, false);

  // A contact: the sign change of Gap nearest the maximum, before it
  // (Before) or after it.
  auto contact = [&](auto Gap, bool Before, bool Opposite) {
    LocalContact c;
    State inner = mx;
    if (Before) {
      for (int i = best; i >= 0; --i) {
        if (grid[i].t >= mx.t) continue;
        if (Gap(grid[i]) >= 0) return Describe(P, S, Root(E, S, Gap, grid[i], inner), Opposite);
        inner = grid[i];
      }
    } else {
      for (int i = best; i <= SCAN_STEPS; ++i) {
        if (grid[i].t <= mx.t) continue;
        if (Gap(grid[i]) >= 0) return Describe(P, S, Root(E, S, Gap, inner, grid[i]), Opposite);
        inner = grid[i];
      }
    }
    return c;  // beyond the window: not found
  };
  out.First = contact(OuterGap, true, false);
  out.Fourth = contact(OuterGap, false, false);
  if (umbral) {
    out.Second = contact(InnerGap, true, total);
    out.Third = contact(InnerGap, false, total);
    if (out.Second.Exists && out.Third.Exists)
      out.DurationSeconds = (out.Third.JDTD - out.Second.JDTD) * SECONDS_PER_DAY;
  }

  // Magnitude, obscuration, the ratio of the diameters at maximum.
  const Real rs = (mx.L1 + mx.L2) / 2, rm = (mx.L1 - mx.L2) / 2;
  out.DiameterRatio = rm / rs;
  out.Magnitude = umbral ? out.DiameterRatio : (mx.L1 - m) / (mx.L1 + mx.L2);
  out.Obscuration = Obscuration(rs, rm, m);

  // Sunrise and sunset during the eclipse, and whether any phase is seen.
  const Real ta = out.First.Exists ? static_cast<Real>(HoursFromT0(P, out.First.JDTD)) : grid[0].t;
  const Real tb = out.Fourth.Exists ? static_cast<Real>(HoursFromT0(P, out.Fourth.JDTD)) : grid[SCAN_STEPS].t;
  State prev = Evaluate(E, S, ta);
  bool visible = SinAltitude(S, prev) > 0;
  const int steps = static_cast<int>(std::ceil((tb - ta) / SCAN_STEP_HOURS));
  for (int i = 1; i <= steps; ++i) {
    const State cur = Evaluate(E, S, i == steps ? tb : ta + i * SCAN_STEP_HOURS);
    const Real h0 = SinAltitude(S, prev), h1 = SinAltitude(S, cur);
    if (h1 > 0) visible = true;
    if ((h0 < 0) != (h1 < 0)) {
      const State r = Root(E, S, [&](const State& s) { return SinAltitude(S, s); }, prev, cur);
      LocalContact& c = h1 > h0 ? out.Sunrise : out.Sunset;
      if (!c.Exists) c = Describe(P, S, r, false);
    }
    prev = cur;
  }
  out.Visible = visible;

  const bool finite = FiniteContact(out.First) && FiniteContact(out.Second) &&
                      FiniteContact(out.Maximum) && FiniteContact(out.Third) &&
                      FiniteContact(out.Fourth) && FiniteContact(out.Sunrise) &&
                      FiniteContact(out.Sunset) && std::isfinite(out.Magnitude) &&
                      std::isfinite(out.Obscuration) && std::isfinite(out.DiameterRatio) &&
                      std::isfinite(out.DurationSeconds);
  if (!finite) return LocalCircumstances{};
  return out;
}

}  // namespace nodalis
