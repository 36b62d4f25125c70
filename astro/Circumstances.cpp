// Circumstances — position, Sun, magnitude, path width and duration at
// greatest eclipse (see Circumstances.h).
//
// Fundamental-plane coordinates of a point of the Earth with geocentric
// rho cos phi', rho sin phi' and hour angle H = mu + lambda (east) of the
// shadow axis (Explanatory Supplement 1961, sec. 9B):
//   xi   = rho cos phi' sin H
//   eta  = rho sin phi' cos d - rho cos phi' cos H sin d
//   zeta = rho sin phi' sin d + rho cos phi' cos H cos d
//   xi'  = mu' rho cos phi' cos H,   eta' = mu' xi sin d - zeta d'
// The ellipsoid x^2 + y^2 + z^2 / (1 - e^2) = 1 (equatorial radius 1) cut by
// the line (xi, eta) along the axis gives a quadratic in zeta; its outline
// seen along the axis is the ellipse xi^2 + eta^2 / rho1^2 = 1 with
// rho1 = sqrt(1 - e^2 cos^2 d) (Meeus, Elements of Solar Eclipses, ch. 3).
//
// Shadow radii at the height zeta: L1' = l1 - zeta tan f1, L2' = l2 - zeta
// tan f2.  Magnitude at distance Delta from the axis: (L1' - Delta) / (L1'
// + L2'); on the central line (L1' - L2') / (L1' + L2').  With the motion of the shadow relative to the point, a = x' -
// xi', b = y' - eta', n = sqrt(a^2 + b^2): duration of the central phase on
// the central line 2 |L2'| / n hours; width of the path on the ground
// 2 |L2'| / sqrt(N_zeta^2 + ((a N_xi + b N_eta) / n)^2), N the ellipsoid's
// unit normal there in fundamental-plane coordinates (the projection of the
// ground onto the fundamental plane shortens distances across the slope by
// N_zeta; for a sphere N = (xi, eta, zeta), the Supplement's formula).
#include "astro/Circumstances.h"

#include <cmath>

#include "astro/Astrcalc.h"
#include "astro/Trigonom.h"

namespace nodalis {

namespace {
constexpr long double TWO_PI = 6.283185307179586476925L;
constexpr long double SECONDS_PER_DAY = 86400.0L;
constexpr long double RATE_STEP_HOURS = 10.0L / 60.0L;  // +-10 minutes
constexpr long double HOURS_PER_DAY = 24.0L;
constexpr int LIMB_NEWTON_STEPS = 8;

long double Wrap2Pi(long double a) {
  a = std::fmod(a, TWO_PI);
  return a < 0 ? a + TWO_PI : a;
}

// Into (-pi, pi].
long double WrapPi(long double a) {
  a = Wrap2Pi(a);
  return a > TWO_PI / 2 ? a - TWO_PI : a;
}

// Declination and right ascension of the shadow axis (row 2 of Axes).
void AxisDirection(const BesselRec& e, long double& d, long double& alpha) {
  const TVector& g = e.Axes[2];
  d = std::atan2(g.z, std::sqrt(g.x * g.x + g.y * g.y));
  alpha = std::atan2(g.y, g.x);
}

// Nearest point (xi, eta) of the outline xi^2 + eta^2 / rho1^2 = 1 to (x, y):
// Newton's method on the parameter of the ellipse.
void NearestLimbPoint(long double x, long double y, long double rho1, long double& xi,
                      long double& eta) {
  const long double q = rho1 * rho1 - 1;
  long double t = std::atan2(y / rho1, x);
  for (int i = 0; i < LIMB_NEWTON_STEPS; ++i) {
    const long double s = std::sin(t), c = std::cos(t);
    const long double g = q * s * c + x * s - y * rho1 * c;
    const long double dg = q * (c * c - s * s) + x * c + y * rho1 * s;
    if (dg == 0) break;
    const long double step = g / dg;
    t -= step;
    if (std::fabs(step) < 1e-16L) break;
  }
  xi = std::cos(t);
  eta = rho1 * std::sin(t);
}

struct Rates {
  long double x = 0, y = 0, d = 0, mu = 0, l2 = 0;  // per hour; d, mu radians
  long double l2acc = 0;                           // d2 l2 / dt2, per hour^2
};

// Symmetric difference of the elements over +-RATE_STEP_HOURS around JD;
// L2 the record's l2 at JD itself, for its second difference.
Rates ElementRates(long double JD, long double DeltaTDays, long double L2) {
  const long double h = RATE_STEP_HOURS / HOURS_PER_DAY;
  BesselRec e[2];
  long double x[2], y[2], d[2], mu[2];
  for (int k = 0; k < 2; ++k) {
    const long double t = JD + (k == 0 ? -h : h);
    BesselElements(t, 0, e[k], x[k], y[k]);
    long double alpha;
    AxisDirection(e[k], d[k], alpha);
    mu[k] = GreenwichSiderealTime(t - DeltaTDays) - alpha;
  }
  const long double span = 2 * RATE_STEP_HOURS;
  Rates r;
  r.x = (x[1] - x[0]) / span;
  r.y = (y[1] - y[0]) / span;
  r.d = (d[1] - d[0]) / span;
  r.mu = WrapPi(mu[1] - mu[0]) / span;
  r.l2 = (e[1].L2 - e[0].L2) / span;
  r.l2acc = (e[1].L2 - 2 * L2 + e[0].L2) / (RATE_STEP_HOURS * RATE_STEP_HOURS);
  return r;
}

bool Finite(const BesselRec& e) {
  for (long double v : {e.X, e.Y, e.F1, e.L1, e.F2, e.L2, e.JDMax})
    if (!std::isfinite(v)) return false;
  for (const TVector& a : e.Axes)
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(a.z)) return false;
  return true;
}

// Instant, Delta T, universal time and lunation of JD (TDT); not Valid.
EclipseCircumstances Instant(long double JD, DeltaTModel Model) {
  EclipseCircumstances c;
  c.JDTDT = JD;
  c.Model = Model;
  if (!JDSupported(JD)) return c;
  c.DeltaTSeconds = DeltaTSeconds(Model, JD);
  c.JDUT = JD - c.DeltaTSeconds / SECONDS_PER_DAY;
  c.Lunation = LunationNumber(JD);
  return c;
}

// Everything from the elements in e at e.JDMax (TDT).
EclipseCircumstances Evaluate(const BesselRec& e, DeltaTModel Model) {
  EclipseCircumstances c = Instant(e.JDMax, Model);
  if (!JDSupported(e.JDMax) || !Finite(e) || !std::isfinite(c.JDUT)) return c;

  long double d, alpha;
  AxisDirection(e, d, alpha);
  const long double mu = Wrap2Pi(GreenwichSiderealTime(c.JDUT) - alpha);
  c.DDeg = d / RAD_PER_DEG;
  c.MuDeg = mu / RAD_PER_DEG;
  const Rates rate = ElementRates(e.JDMax, c.DeltaTSeconds / SECONDS_PER_DAY, e.L2);
  c.XRate = rate.x;
  c.YRate = rate.y;
  c.DRateDeg = rate.d / RAD_PER_DEG;
  c.MuRateDeg = rate.mu / RAD_PER_DEG;

  // Exact cones with the canon's lunar radii: the record's l = z sin f +- k
  // gives the Moon's distance z from the fundamental plane.
  const long double sf1 = SinDeg(e.F1), sf2 = SinDeg(e.F2);
  const long double cf1 = CosDeg(e.F1), cf2 = CosDeg(e.F2);
  const long double z1 = (e.L1 - MOON_RADIUS_ER) / sf1, z2 = (e.L2 + MOON_RADIUS_ER) / sf2;
  c.TanF1 = sf1 / cf1;
  c.TanF2 = sf2 / cf2;
  c.L1 = z1 * c.TanF1 + CANON_K_PENUMBRA / cf1;
  c.L2 = z2 * c.TanF2 - CANON_K_UMBRA / cf2;

  const long double e2 = EARTH_FLATTENING * (2 - EARTH_FLATTENING);
  const long double k = e2 / (1 - e2);
  const long double sd = std::sin(d), cd = std::cos(d);
  const long double rho1 = std::sqrt(1 - e2 * cd * cd);
  const long double x = e.X, y = e.Y;

  // Where the axis meets the ellipsoid: A zeta^2 + 2 B zeta + C = 0.
  const long double A = 1 + k * sd * sd;
  long double B = k * sd * cd * y;
  const long double C = x * x + y * y * (1 + k * cd * cd) - 1;
  const long double disc = B * B - A * C;
  long double xi = x, eta = y, zeta, dist = 0;
  if (disc >= 0) {
    c.Central = true;
    zeta = (-B + std::sqrt(disc)) / A;
  } else {  // nearest point of the limb, where the line along the axis touches
    NearestLimbPoint(x, y, rho1, xi, eta);
    dist = std::hypot(x - xi, y - eta);
    B = k * sd * cd * eta;
    zeta = -B / A;
  }
  c.Xi = xi;
  c.Eta = eta;
  c.Zeta = zeta;

  // Equatorial coordinates with the axis' meridian as x axis.
  const long double X = zeta * cd - eta * sd, Z = eta * cd + zeta * sd;
  const long double rcos = std::hypot(X, xi);  // rho cos phi'
  const long double H = std::atan2(xi, X);
  const long double phi = std::atan2(Z * (1 + k), rcos);
  c.LatitudeDeg = phi / RAD_PER_DEG;
  c.LongitudeDeg = WrapPi(H - mu) / RAD_PER_DEG;
  if (c.LongitudeDeg == -180) c.LongitudeDeg = 180;

  // The Sun lies along the axis: unit normal N of the ellipsoid in
  // fundamental-plane coordinates.
  const long double sp = std::sin(phi), cp = std::cos(phi), sH = std::sin(H), cH = std::cos(H);
  const long double Nxi = cp * sH, Neta = sp * cd - cp * cH * sd, Nzeta = sp * sd + cp * cH * cd;
  c.SunAltitudeDeg = std::asin(std::fmax(-1.0L, std::fmin(1.0L, Nzeta))) / RAD_PER_DEG;
  c.SunAzimuthDeg = Wrap2Pi(std::atan2(-cd * sH, sd * cp - cd * cH * sp)) / RAD_PER_DEG;
  if (c.SunAzimuthDeg >= 360) c.SunAzimuthDeg = 0;

  const long double L1z = c.L1 - zeta * c.TanF1, L2z = c.L2 - zeta * c.TanF2;
  // On the central line the ratio of the apparent diameters of Moon and Sun
  // (L1' - L2') / (L1' + L2'); elsewhere the covered fraction of the Sun's
  // diameter.
  c.Magnitude = c.Central ? (L1z - L2z) / (L1z + L2z) : (L1z - dist) / (L1z + L2z);
  c.Valid = dist < L1z && std::isfinite(c.Magnitude);
  c.UmbraAtGreatest = L2z;
  if (!c.Valid) return c;
  if (!c.Central) {  // the umbra or antumbra beside the axis may still reach the limb
    c.CanonType = dist < std::fabs(L2z) ? (L2z <= 0 ? 'T' : 'A') : 'P';
    return c;
  }
  c.CanonType = L2z <= 0 ? 'T' : 'A';

  // Motion of the shadow relative to the ground point.
  const long double xiRate = rate.mu * rcos * cH;
  const long double etaRate = rate.mu * xi * sd - zeta * rate.d;
  const long double a = rate.x - xiRate, b = rate.y - etaRate;
  const long double n = std::hypot(a, b);
  if (n > 0) {
    c.CentralDurationS = 2 * std::fabs(L2z) / n * 3600.0L;
    const long double across = (a * Nxi + b * Neta) / n;
    c.PathWidthKm = 2 * std::fabs(L2z) / std::sqrt(Nzeta * Nzeta + across * across) *
                    EARTH_EQUATORIAL_RADIUS_KM;
  }

  // Limits: the edges of the umbra (radius |l2| at the limb) beside the
  // track on the fundamental plane, on its northern and southern side.
  const long double v = std::hypot(rate.x, rate.y);
  if (v > 0) {
    long double px = -rate.y / v, py = rate.x / v;
    if (py < 0) { px = -px; py = -py; }
    auto inside = [rho1](long double u, long double w) {
      return u * u + w * w / (rho1 * rho1) <= 1;
    };
    const long double r2 = std::fabs(c.L2);
    c.NorthLimit = inside(x + r2 * px, y + r2 * py);
    c.SouthLimit = inside(x - r2 * px, y - r2 * py);

    // Ends of the central line (linear motion, outline at zeta = 0): the
    // umbra there is l2 + l2' t + l2'' t^2 / 2 (l2'' is about -1.2e-5 Earth
    // radii per hour^2: without it the umbra two hours out is 5e-5 too
    // annular, and eight of the canon's total ends, -1803 ... 1854, came out
    // annular).
    // Its sign at an end unlike at greatest eclipse makes the eclipse hybrid.
    const long double qa = rate.x * rate.x + rate.y * rate.y / (rho1 * rho1);
    const long double qb = x * rate.x + y * rate.y / (rho1 * rho1);
    const long double qc = x * x + y * y / (rho1 * rho1) - 1;
    const long double qd = qb * qb - qa * qc;
    if (qd >= 0) {
      const long double t1 = (-qb - std::sqrt(qd)) / qa, t2 = (-qb + std::sqrt(qd)) / qa;
      c.UmbraAtStart = c.L2 + (rate.l2 + rate.l2acc * t1 / 2) * t1;
      c.UmbraAtEnd = c.L2 + (rate.l2 + rate.l2acc * t2 / 2) * t2;
      const bool mid = L2z <= 0, start = c.UmbraAtStart <= 0, end = c.UmbraAtEnd <= 0;
      if (start != mid || end != mid) {
        c.CanonType = 'H';
        if (start != end) c.Course = start ? HybridCourse::TotalToAnnular : HybridCourse::AnnularToTotal;
        else c.Course = mid ? HybridCourse::AnnularTotalAnnular : HybridCourse::TotalAnnularTotal;
      }
    }
  }
  return c;
}
}  // namespace

EclipseCircumstances Circumstances(const BesselRec& Rec, DeltaTModel Model) {
  if (Rec.EclType == ECL_NONE) return Instant(Rec.JDMax, Model);
  return Evaluate(Rec, Model);
}

EclipseCircumstances CircumstancesAt(long double JD, DeltaTModel Model) {
  if (!JDSupported(JD)) return Instant(JD, Model);
  BesselRec e;
  BesselElements(JD, 0, e);
  e.JDMax = JD;
  return Evaluate(e, Model);
}

}  // namespace nodalis
