// EclipsePaths — central line, limits, curves of maximum eclipse on the
// horizon and the umbral path from polynomial Besselian elements (see
// EclipsePaths.h).
//
// Fundamental-plane coordinates (xi, eta, zeta) of a ground point and its
// equatorial coordinates with the shadow axis' meridian as first axis:
//   X = zeta cos d - eta sin d,  Y = xi,  Z = eta cos d + zeta sin d.
// The ellipsoid X^2 + Y^2 + (1 + k) Z^2 = 1 (k = e^2 / (1 - e^2),
// equatorial radius 1) along a line parallel to the axis through (xi, eta)
// gives A zeta^2 + 2 B zeta + C = 0 with A = 1 + k sin^2 d, B = k eta
// sin d cos d, C = xi^2 + eta^2 (1 + k cos^2 d) - 1; the root with the
// larger zeta is the daylit side, and the discriminant vanishes on the
// outline xi^2 + eta^2 / rho1^2 = 1.  Geodetic latitude
// atan2((1 + k) Z, hypot(X, Y)), hour angle atan2(Y, X).
#include "astro/EclipsePaths.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_map>
#include <vector>

#include "astro/Circumstances.h"
#include "astro/PolynomialsInDouble.h"
#include "astro/Trigonom.h"

namespace nodalis {

namespace {
// The geometry is computed in double precision (a part in 1e16 of an Earth
// radius is below a millimetre); the results are handed over as extended.
using Real = double;

constexpr Real PI = 3.141592653589793238462643L;
constexpr Real TWO_PI = 2 * PI;
constexpr Real E2 = EARTH_FLATTENING * (2 - EARTH_FLATTENING);
constexpr Real K_ELL = E2 / (1 - E2);
constexpr Real RAD = static_cast<Real>(RAD_PER_DEG);  // the curves' arithmetic in double
constexpr Real MEAN_EARTH_RADIUS_KM = 6371.0L;  // chord errors only
constexpr Real HOURS_PER_DAY = 24.0L;
constexpr Real SECONDS_PER_HOUR = 3600.0L;

// Search window around t0 and its sampling.
constexpr Real WINDOW_HOURS = 4.0L;
constexpr Real SCAN_STEP_HOURS = 4.0L / 60.0L;
// Ends of a curve found to this precision (hours; 0.04 ms).
constexpr Real END_PRECISION_HOURS = 1e-8L;
// Longest time step between two points of a curve (hours).
constexpr Real MAX_STEP_HOURS = 5.0L / 60.0L;
// Subdivisions of an interval at most (2^-24 of the scan step: 7 us).
constexpr int MAX_REFINE_DEPTH = 26;
// Above this altitude of the Sun a segment whose middle lies within a
// quarter of the tolerance of its chord is taken as even (no quarters).
constexpr Real EVEN_ALTITUDE_DEG = 5;
// The limit point: convergence in the angle around the axis (radians;
// 1e-11 of 0.55 Earth radii is below a millimetre), the bracket of the
// root where the first-order passes do not settle; passes for the height
// of the edge and of the first-order solution.
constexpr Real LIMIT_CONVERGED = 1e-9;
constexpr Real LIMIT_BRACKET = 0.01;      // first half-width of the bracket, radians
constexpr Real MAX_LIMIT_BRACKET = 1.5;
constexpr int EDGE_HEIGHT_STEPS = 2;
// The height of the shadow's edge near the limb: searched up to, to the
// precision, accepted within (Earth radii).
constexpr Real EDGE_MAX_ZETA = 0.02;
// Outside the outline by more than about half this (Earth radii), an edge
// point is off the Earth at every height up to EDGE_MAX_ZETA (its radius
// changes by EDGE_MAX_ZETA tan f, 1e-4, over them).
constexpr Real EDGE_FAR_DISC = 2e-3;
constexpr Real EDGE_ZETA_PRECISION = 1e-10;
constexpr Real EDGE_ZETA_TOLERANCE = 1e-7;
constexpr int FIXED_POINT_PASSES = 10;
constexpr Real SETTLED_RATE = 1e-8;    // Earth radii^2 per hour; the rate is about 0.1 |dQ|
constexpr Real NEAR_LIMB_ZETA = 0.01;  // about 0.6 deg of the Sun's altitude
// The limb on the shadow's edge to this precision (radians).
constexpr Real OUTLINE_PRECISION = 1e-9;
// Newton's method on Q: the step of the numerical derivative and the
// largest step taken (radians).
constexpr Real LIMIT_DQ = 1e-7;
constexpr Real MAX_NEWTON_STEP = 0.2;
// Margin of a shadow's overlap with the outline, Earth radii.
constexpr Real WINDOW_MARGIN = 0.01;
// A settled solution this far outside the outline (in xi^2 + eta^2 /
// rho1^2 - 1) is off the Earth without a search.
constexpr Real FAR_OFF_EARTH = 0.02;
constexpr int EDGE_SCAN = 48;          // samples of half the shadow's edge near the limb
constexpr Real SCAN_WINDOW = 0.4;      // radians either side of the first-order solution, first
// Samples of the limb for the curves of maximum eclipse on the horizon.
constexpr int LIMB_SCAN = 48;
constexpr int NEWTON_STEPS = 12;
// Limb parameters to this precision (radians; 0.6 mm on the ground).
constexpr Real ARC_PRECISION = 1e-10;
// The secant method for the maximum on the horizon: first step, steps, and
// how far from the first-order root it may go.
constexpr Real HORIZON_SECANT_STEP = 1e-4;
constexpr int HORIZON_SECANT_STEPS = 10;
constexpr Real HORIZON_SECANT_RANGE = 0.3;
// |cos| of the first-order root beyond which there is none (the height of
// the outline above the fundamental plane moves it by far less).
constexpr Real NO_HORIZON_ROOTS = 1.01;
// First-order roots this much farther from the axis than the other (Earth
// radii) are not refined: the ground's motion moves them far less.
constexpr Real HORIZON_DISTINCT = 0.05;
constexpr int BISECTIONS = 60;

// The elements at one instant, angles in radians, rates per hour.
struct Frame {
  Real t = 0;  // hours from t0
  Real x = 0, y = 0, xr = 0, yr = 0;
  Real d = 0, sd = 0, cd = 0, dr = 0;
  Real mu = 0, mur = 0;  // hour angle at UT
  Real l1 = 0, l2 = 0, l1r = 0, l2r = 0, tf1 = 0, tf2 = 0;
  Real rho1 = 1;
  long double jdut = 0;
};

// The polynomial elements in double (the curves' arithmetic).
using Elements = PolynomialsInDouble;

// The elements at t (hours from t0), as EvaluateBesselPolynomials gives them.
Frame At(const Elements& P, Real t) {
  Frame f;
  f.t = t;
  f.x = P.x[0] + t * (P.x[1] + t * (P.x[2] + t * P.x[3]));
  f.y = P.y[0] + t * (P.y[1] + t * (P.y[2] + t * P.y[3]));
  f.xr = P.x[1] + t * (2 * P.x[2] + t * 3 * P.x[3]);
  f.yr = P.y[1] + t * (2 * P.y[2] + t * 3 * P.y[3]);
  f.d = (P.d[0] + t * (P.d[1] + t * P.d[2])) * RAD;
  f.sd = std::sin(f.d);
  f.cd = std::cos(f.d);
  f.dr = (P.d[1] + 2 * t * P.d[2]) * RAD;
  f.mu = (P.mu[0] + t * (P.mu[1] + t * P.mu[2]) - P.shiftDeg) * RAD;
  f.mur = (P.mu[1] + 2 * t * P.mu[2]) * RAD;
  f.l1 = P.l1[0] + t * (P.l1[1] + t * P.l1[2]);
  f.l2 = P.l2[0] + t * (P.l2[1] + t * P.l2[2]);
  f.l1r = P.l1[1] + 2 * t * P.l1[2];
  f.l2r = P.l2[1] + 2 * t * P.l2[2];
  f.tf1 = P.tf1;
  f.tf2 = P.tf2;
  f.rho1 = std::sqrt(1 - E2 * f.cd * f.cd);
  f.jdut = P.jdt0 + t / HOURS_PER_DAY - P.deltaTDays;
  return f;
}

// |(a, b)| for the arguments of order 1 here (std::hypot guards against
// overflow at several times the cost).
Real Norm(Real a, Real b) { return std::sqrt(a * a + b * b); }

// A point of the ground in fundamental-plane coordinates.
struct Ground {
  Real xi = 0, eta = 0, zeta = 0;
  Real disc = 0;  // of OnEllipsoid's quadratic: below 0 off the Earth, about -2 x the distance outside
};

// The daylit point of the ellipsoid on the line through (xi, eta) along the
// axis; false when the line misses the Earth (zeta is then the tangent
// point's, as on the outline).
bool OnEllipsoid(const Frame& f, Real xi, Real eta, Ground& g) {
  const Real A = 1 + K_ELL * f.sd * f.sd;
  const Real B = K_ELL * eta * f.sd * f.cd;
  const Real C = xi * xi + eta * eta * (1 + K_ELL * f.cd * f.cd) - 1;
  const Real disc = B * B - A * C;
  g.xi = xi;
  g.eta = eta;
  g.zeta = (-B + (disc > 0 ? std::sqrt(disc) : 0)) / A;
  g.disc = disc;
  return disc >= 0;
}

// Rates of a fixed ground point on the fundamental plane, per hour.
void GroundRates(const Frame& f, const Ground& g, Real& xir, Real& etar,
                 Real& zetar) {
  xir = f.mur * (g.zeta * f.cd - g.eta * f.sd);
  etar = f.mur * g.xi * f.sd - g.zeta * f.dr;
  zetar = -f.mur * g.xi * f.cd + g.eta * f.dr;
}

Real WrapPi(Real a) {
  a = std::fmod(a + PI, TWO_PI);
  if (a < 0) a += TWO_PI;
  return a - PI;
}

// Geographic position and the Sun's altitude of a ground point.
PathPoint Geographic(const Frame& f, const Ground& g) {
  const Real X = g.zeta * f.cd - g.eta * f.sd, Z = g.eta * f.cd + g.zeta * f.sd;
  const Real H = std::atan2(g.xi, X);
  const Real rho = Norm(X, g.xi), Zn = (1 + K_ELL) * Z;
  const Real phi = std::atan2(Zn, rho);
  PathPoint p;
  p.JDUT = f.jdut;
  p.LatitudeDeg = phi / RAD;
  p.LongitudeDeg = WrapPi(H - f.mu) / RAD;
  // The Sun lies along the axis: altitude from the ellipsoid's normal
  // (cos phi cos H, ., sin phi) = (X, ., Zn) / |(rho, Zn)|.
  const Real n = Norm(rho, Zn);
  const Real up = n > 0 ? (Zn * f.sd + X * f.cd) / n : 0;
  p.SunAltitudeDeg = std::asin(std::fmax(-1.0, std::fmin(1.0, up))) / RAD;
  return p;
}

bool FinitePoint(const PathPoint& p) {
  return std::isfinite(p.JDUT) && std::isfinite(p.LatitudeDeg) && std::isfinite(p.LongitudeDeg) &&
         std::isfinite(p.SunAltitudeDeg) && std::isfinite(p.DurationS) &&
         std::isfinite(p.DiameterRatio);
}

// ---- the curves at one instant ---------------------------------------------

bool CentralPoint(const Frame& f, PathPoint& out) {
  Ground g;
  if (!OnEllipsoid(f, f.x, f.y, g)) return false;
  out = Geographic(f, g);
  Real xir, etar, zetar;
  GroundRates(f, g, xir, etar, zetar);
  const Real n = Norm(f.xr - xir, f.yr - etar);
  const Real L1 = f.l1 - g.zeta * f.tf1, L2 = f.l2 - g.zeta * f.tf2;
  out.DurationS = n > 0 ? 2 * std::fabs(L2) / n * SECONDS_PER_HOUR : 0;
  out.DiameterRatio = (L1 - L2) / (L1 + L2);
  return FinitePoint(out);
}

// The root of F between a and b (F(a), F(b) of opposite signs) by the
// Illinois variant of regula falsi, to Tol.
template <class Fn>
Real Illinois(Fn F, Real a, Real fa, Real b, Real fb, Real Tol) {
  Real c = a, prev = b;
  int side = 0;
  for (int k = 0; k < BISECTIONS && std::fabs(c - prev) > Tol; ++k) {
    prev = c;
    c = fb != fa ? (a * fb - b * fa) / (fb - fa) : (a + b) / 2;
    const Real fc = F(c);
    if (fc == 0) return c;
    if ((fc > 0) == (fb > 0)) {
      b = c;
      fb = fc;
      if (side == -1) fa /= 2;
      side = -1;
    } else {
      a = c;
      fa = fc;
      if (side == 1) fb /= 2;
      side = 1;
    }
  }
  return c;
}

// The point of the shadow's edge at the angle Q around the axis (at its own
// height zeta, with the radius L there) and how fast the squared distance
// from the axis less L^2 changes for that fixed ground point, divided by
// 2 |L|: zero on the envelope of the moving edge.  Side: sin of the angle
// between the shadow's motion relative to the point and the direction to
// the point (> 0: on the left, north).
struct EdgePoint {
  Ground g;
  bool on = false;  // on the Earth (the daylit side)
  Real rate = 0, side = 0;
};

EdgePoint EdgeAt(const Frame& f, Real l, Real lr, Real tf, Real c, Real s, Real ZetaGuess) {
  EdgePoint e;
  auto place = [&](Real zeta, Ground& g) {
    const Real L = std::fabs(l - zeta * tf);
    return OnEllipsoid(f, f.x + L * c, f.y + L * s, g);
  };
  Real zeta = ZetaGuess;
  for (int k = 0; k < EDGE_HEIGHT_STEPS; ++k) {  // L depends on the height but weakly
    // Off the Earth, zeta is the outline's (continuous across the limb).
    e.on = place(zeta, e.g);
    zeta = e.g.zeta;
  }
  if (!e.on) {
    // Near the limb a point just off the outline and one a little inside
    // can both agree with their heights (the radius changes with the
    // height, the height fast with the place there): the one on the Earth
    // is the ground's.  h(zeta) = height at the edge of radius L(zeta) less
    // zeta falls with zeta; it is bisected where it has a root on the Earth.
    Real lo = 0, hi = EDGE_MAX_ZETA;
    Ground g;
    // Farther outside than the radius changes over these heights: off.
    if (e.g.disc > -EDGE_FAR_DISC && place(lo, g) != place(hi, g)) {
      for (int k = 0; k < BISECTIONS && hi - lo > EDGE_ZETA_PRECISION; ++k) {
        const Real mid = (lo + hi) / 2;
        const bool on = place(mid, g);
        if (on && g.zeta > mid) lo = mid; else hi = mid;
      }
      Ground h;
      if (place(lo, h) && std::fabs(h.zeta - lo) < EDGE_ZETA_TOLERANCE) {
        e.g = h;
        e.on = true;
      }
    }
  }
  Real xir, etar, zetar;
  GroundRates(f, e.g, xir, etar, zetar);
  const Real L = l - e.g.zeta * tf, Lr = lr - zetar * tf;
  const Real a = f.xr - xir, b = f.yr - etar;
  // d/dt[(x - xi)^2 + (y - eta)^2 - L^2] / 2 with (xi - x, eta - y) = |L| u.
  e.rate = -(a * c + b * s) * std::fabs(L) - L * Lr;
  e.side = (a * s - b * c) > 0 ? 1 : -1;
  return e;
}

EdgePoint EdgeAt(const Frame& f, Real l, Real lr, Real tf, Real Q, Real ZetaGuess) {
  return EdgeAt(f, l, lr, tf, std::cos(Q), std::sin(Q), ZetaGuess);
}

// The limit of the penumbra (Umbra false) or umbra on the left (North) or
// right side of the shadow's motion: the root in Q of the envelope
// condition.  The first-order solution Q = psi +- acos(-L L' / (|L| n)),
// with the rates of the ground point it gives, settles in a few passes
// (the rates change little from one to the next); where it does not (near
// the limb, where the height and so the rates change fast), the root is
// bracketed around it and found by bisection.
bool LimitGround(const Frame& f, bool Umbra, bool North, Ground& g) {
  const Real l = Umbra ? f.l2 : f.l1, lr = Umbra ? f.l2r : f.l1r;
  const Real tf = Umbra ? f.tf2 : f.tf1;
  Ground axis;
  OnEllipsoid(f, f.x, f.y, axis);
  Real xr0, yr0, zr0;
  GroundRates(f, axis, xr0, yr0, zr0);
  const Real a0 = f.xr - xr0, b0 = f.yr - yr0;
  // One pass: the first-order direction (ux, uy) from the rates of the
  // ground point cur; its point at the edge into cur.  false where there is
  // none.
  Ground cur = axis;
  auto pass = [&](Real& ux, Real& uy) {
    Real xir, etar, zetar;
    GroundRates(f, cur, xir, etar, zetar);
    const Real L = l - cur.zeta * tf, Lr = lr - zetar * tf;
    const Real a = f.xr - xir, b = f.yr - etar, n = Norm(a, b);
    if (!(n > 0) || L == 0) return false;
    const Real c = -L * Lr / (std::fabs(L) * n);
    if (!(std::fabs(c) <= 1)) return false;
    // The motion's direction (a, b) / n turned by acos c to the side.
    const Real s = (North ? 1 : -1) * std::sqrt(1 - c * c);
    ux = (a * c - b * s) / n;
    uy = (b * c + a * s) / n;
    const Real R = std::fabs(L);
    OnEllipsoid(f, f.x + R * ux, f.y + R * uy, cur);
    return true;
  };
  // The turn from direction (cq, sq) to (ux, uy) as a function rising with
  // the angle h between them, sin h while |h| < 90 deg (2 - |sin h| with
  // its sign beyond): no arc tangent in the passes.
  auto turn = [](Real cq, Real sq, Real ux, Real uy) {
    const Real cross = cq * uy - sq * ux, dot = cq * ux + sq * uy;
    return dot >= 0 ? cross : std::copysign(2 - std::fabs(cross), cross);
  };
  // The root of h(q) = pass(q) - q by the secant method from the first
  // passes (the plain passes converge only linearly, slowly for the
  // penumbra, whose edge lies far from the axis); h as turn above.
  Real nx = 0, ny = 0;  // the last pass's direction
  auto passFrom = [&](Real q, Real& h) {
    const Real L = std::fabs(l - cur.zeta * tf);
    const Real cq = std::cos(q), sq = std::sin(q);
    OnEllipsoid(f, f.x + L * cq, f.y + L * sq, cur);
    if (!pass(nx, ny)) return false;
    h = turn(cq, sq, nx, ny);
    return true;
  };
  Real ux0 = 0, uy0 = 0;
  if (!pass(ux0, uy0)) return false;
  const Real Q0 = std::atan2(uy0, ux0);  // the first-order solution
  if (!pass(nx, ny)) return false;
  Real qa = Q0, ha = turn(ux0, uy0, nx, ny);
  Real qb = Q0 + std::atan2(ux0 * ny - uy0 * nx, ux0 * nx + uy0 * ny), hb = 0;
  bool settled = std::fabs(ha) < LIMIT_CONVERGED;
  Real Q = qb;
  {
    Real last = qb;  // the instant's q of the last pass
    if (!settled) {
      if (!passFrom(qb, hb)) return false;
    }
    for (int i = 0; i < FIXED_POINT_PASSES && !settled; ++i) {
      if (hb == ha) break;
      Real qc = qb - hb * (qb - qa) / (hb - ha);
      if (!(std::fabs(qc - qb) < MAX_NEWTON_STEP)) qc = qb + hb;  // a plain pass instead
      if (!passFrom(qc, ha)) return false;
      std::swap(ha, hb);  // ha: the previous h, hb: h at qc
      qa = qb;
      qb = qc;
      last = qc;
      settled = std::fabs(qb - qa) < LIMIT_CONVERGED && std::fabs(hb) < 10 * LIMIT_CONVERGED;
    }
    // Unsettled: where the last pass pointed.
    Q = settled ? qb : last + std::atan2(std::cos(last) * ny - std::sin(last) * nx,
                                         std::cos(last) * nx + std::sin(last) * ny);
  }
  EdgePoint e = EdgeAt(f, l, lr, tf, Q, cur.zeta);
  // Near the limb the height, and so the rates, change fast with Q: there
  // the passes may stop beside the root, or on the outline's continuation
  // off the Earth next to a root on it.  Then the roots on the Earth are
  // looked for along that side's half of the shadow's edge, and the one
  // nearest the first-order solution is taken.
  // Passes that converge slowly (the penumbra's edge lies far from the
  // axis, where the ground's rates differ from the axis'): Newton's method
  // in Q from where they stopped, kept when it settles on the Earth away
  // from the limb.
  if (!settled) {
    Real q = Q;
    EdgePoint en = e;
    for (int i = 0; i < NEWTON_STEPS; ++i) {
      const EdgePoint e2 = EdgeAt(f, l, lr, tf, q + LIMIT_DQ, en.g.zeta);
      const Real slope = (e2.rate - en.rate) / LIMIT_DQ;
      if (!(std::fabs(slope) > 0) || !std::isfinite(slope)) break;
      const Real step = en.rate / slope;
      if (!(std::fabs(step) < MAX_NEWTON_STEP)) break;
      q -= step;
      en = EdgeAt(f, l, lr, tf, q, en.g.zeta);
      if (std::fabs(step) < LIMIT_CONVERGED) {
        if (en.on && en.g.zeta >= NEAR_LIMB_ZETA) {
          Q = q;
          e = en;
          settled = true;
        }
        break;
      }
    }
  }
  if (settled && !e.on &&
      e.g.xi * e.g.xi + e.g.eta * e.g.eta / (f.rho1 * f.rho1) - 1 > FAR_OFF_EARTH)
    return false;
  // Near the limb a settled root on the Earth stands when the edge's own
  // envelope condition holds there.
  const bool verified = settled && e.on && std::fabs(e.rate) < SETTLED_RATE;
  if (!settled || !e.on || (e.g.zeta < NEAR_LIMB_ZETA && !verified)) {
    Real best = 0, bestGap = -1;
    // Roots on the Earth along Q in [From, From + Span], N steps: where the
    // rate changes sign between two samples, at least one of them on the
    // Earth (off it, the rate is the outline's, continuous across the
    // limb), the root by regula falsi, kept when it lies on the Earth.
    // The samples' directions by rotation (their sines and cosines exact
    // to a few units of the last place).
    auto scan = [&](Real From, Real Span, int N) {
      EdgePoint prev = EdgeAt(f, l, lr, tf, From, axis.zeta);
      Real prevQ = From;
      Real c = std::cos(From), s = std::sin(From);
      const Real dc = std::cos(Span / N), ds = std::sin(Span / N);
      for (int i = 1; i <= N; ++i) {
        const Real q = From + Span * i / N;
        const Real cn = c * dc - s * ds;
        s = s * dc + c * ds;
        c = cn;
        const EdgePoint cur2 = EdgeAt(f, l, lr, tf, c, s, prev.g.zeta);
        if ((prev.on || cur2.on) && (prev.rate <= 0) != (cur2.rate <= 0)) {
          const Real guess = (prev.on ? prev : cur2).g.zeta;
          const Real root = Illinois([&](Real x) { return EdgeAt(f, l, lr, tf, x, guess).rate; }, prevQ,
                                     prev.rate, q, cur2.rate, LIMIT_CONVERGED);
          const Real gap = std::fabs(std::remainder(root - Q0, TWO_PI));
          if ((bestGap < 0 || gap < bestGap) && EdgeAt(f, l, lr, tf, root, guess).on) {
            best = root;
            bestGap = gap;
          }
        }
        prev = cur2;
        prevQ = q;
      }
    };
    // That side's half of the edge, first a window around the first-order
    // solution (which lies on that half): a root there is nearer to it than
    // any outside.  The rest only when the passes did not settle: a settled
    // solution beside the Earth or near the limb has its roots on the Earth
    // within a few thousandths of a radian (none farther than the window
    // in the limits of all eclipses -1999 .. 3000).
    const Real psi = std::atan2(b0, a0);
    const Real half0 = psi + (North ? 0 : -PI);
    const Real off = std::fmin(PI, std::fmax(0.0, std::remainder(Q0 - half0 - PI / 2, TWO_PI) + PI / 2));
    const Real lo = std::fmax(0.0, off - SCAN_WINDOW), hi = std::fmin(PI, off + SCAN_WINDOW);
    auto steps = [](Real Span) { return std::max(1, static_cast<int>(std::ceil(Span / PI * EDGE_SCAN))); };
    scan(half0 + lo, hi - lo, steps(hi - lo));
    if (!settled && (bestGap < 0 || (lo > 0 && bestGap > off - lo) || (hi < PI && bestGap > hi - off))) {
      if (lo > 0) scan(half0, lo, steps(lo));
      if (hi < PI) scan(half0 + hi, PI - hi, steps(PI - hi));
    }
    if (bestGap < 0) return false;
    Q = best;
    e = EdgeAt(f, l, lr, tf, Q, e.g.zeta);
    settled = true;
  }
  if (!settled || !e.on || (e.side > 0) != North) return false;
  g = e.g;
  return true;
}

bool LimitPoint(const Frame& f, bool Umbra, bool North, PathPoint& out) {
  Ground g;
  if (!LimitGround(f, Umbra, North, g)) return false;
  out = Geographic(f, g);
  return FinitePoint(out);
}

// The limb point of parameter th: (cos th, rho1 sin th) on the outline.
Ground LimbGround(const Frame& f, Real th) {
  Ground g;
  OnEllipsoid(f, std::cos(th), f.rho1 * std::sin(th), g);
  return g;
}

PathPoint LimbPoint(const Frame& f, const Ground& g) {
  PathPoint p = Geographic(f, g);
  p.SunAltitudeDeg = 0;
  return p;
}

// Time derivative of the squared distance between the axis and the limb
// point th (zero at the point's maximum eclipse).
Real ApproachRate(const Frame& f, Real th) {
  const Ground g = LimbGround(f, th);
  Real xir, etar, zetar;
  GroundRates(f, g, xir, etar, zetar);
  return (f.x - g.xi) * (f.xr - xir) + (f.y - g.eta) * (f.yr - etar);
}

// Squared distance of the limb point th from the axis on the fundamental
// plane, and the distance.
Real LimbDistance2(const Frame& f, Real th) {
  const Real dx = std::cos(th) - f.x, dy = f.rho1 * std::sin(th) - f.y;
  return dx * dx + dy * dy;
}
Real LimbDistance(const Frame& f, Real th) { return std::sqrt(LimbDistance2(f, th)); }

// Parameter of the limb point nearest the axis: Newton's method on the
// derivative of the squared distance, from the direction of the axis (the
// outline is nearly a circle, so that start lies within a few degrees of
// the answer); a scan of the limb when it does not settle.
Real NearestLimbParameter(const Frame& f) {
  const Real r = f.rho1;
  Real th = std::atan2(f.y / r, f.x);
  for (int i = 0; i < NEWTON_STEPS; ++i) {
    const Real s = std::sin(th), c = std::cos(th);
    // g = dist^2 / 2: g' = (c - x)(-s) + (r s - y) r c; g'' its derivative.
    const Real g1 = -(c - f.x) * s + (r * s - f.y) * r * c;
    const Real g2 = s * s - (c - f.x) * c + r * r * c * c - (r * s - f.y) * r * s;
    if (!(g2 > 0)) break;
    const Real step = g1 / g2;
    th -= step;
    if (std::fabs(step) < 1e-13) return th;
  }
  Real best = 0, bestD = LimbDistance2(f, 0);
  for (int i = 1; i < LIMB_SCAN; ++i) {
    const Real a = TWO_PI * i / LIMB_SCAN, d = LimbDistance2(f, a);
    if (d < bestD) { best = a; bestD = d; }
  }
  Real a = best - TWO_PI / LIMB_SCAN, b = best + TWO_PI / LIMB_SCAN;
  const Real g = 0.6180339887498948482;
  for (int k = 0; k < BISECTIONS && b - a > 1e-12; ++k) {
    const Real c = b - g * (b - a), d = a + g * (b - a);
    if (LimbDistance2(f, c) < LimbDistance2(f, d)) b = d; else a = c;
  }
  return (a + b) / 2;
}

// The arc of the limb within Radius of the axis, by its parameters
// lo < hi; false when the circle and the outline do not meet.
bool LimbArc(const Frame& f, Real Radius, Real& lo, Real& hi) {
  const Real near = NearestLimbParameter(f), r2 = Radius * Radius;
  if (LimbDistance2(f, near) > r2) return false;
  auto excess = [&](Real th) { return LimbDistance2(f, th) - r2; };
  auto edge = [&](Real inside, Real outside) {
    return Illinois(excess, inside, excess(inside), outside, excess(outside), ARC_PRECISION);
  };
  // A bracket a little wider than the arc on a unit circle, else half the
  // outline.
  const Real span = std::fmin(PI, 4 * Radius + 0.05);
  auto outside = [&](Real dir) {
    return LimbDistance2(f, near + dir * span) > r2 ? near + dir * span : near + dir * PI;
  };
  lo = edge(near, outside(-1));
  hi = edge(near, outside(1));
  return true;
}

// Maximum eclipse on the horizon: the limb point inside the penumbra whose
// distance from the axis is at its minimum.  Rising: the point rises.
// The roots of ApproachRate near its first-order ones, by the secant
// method; the nearer to the axis in Best.  On the outline (zeta about 0)
// the ground moves by xi' = -mu' eta sin d, eta' = mu' xi sin d, so that
// ApproachRate = x x' + y y' - A cos th - B sin th with A = x' + mu' y sin d,
// B = rho1 (y' - mu' x sin d).  Roots: false when there are none to first
// order (None set) or one does not settle.
bool NearHorizonRoots(const Frame& f, Real& Best, bool& None) {
  None = false;
  const Real k = f.mur * f.sd;
  const Real A = f.xr + k * f.y, B = f.rho1 * (f.yr - k * f.x), R = Norm(A, B);
  if (!(R > 0)) return false;
  const Real c = (f.x * f.xr + f.y * f.yr) / R;
  if (!(std::fabs(c) < 1)) {
    None = std::fabs(c) > NO_HORIZON_ROOTS;
    return false;
  }
  const Real phi = std::atan2(B, A), w = std::acos(c);
  // The farther first-order root is refined only when the two lie about
  // as far from the axis.
  const Real d1 = LimbDistance(f, phi - w), d2 = LimbDistance(f, phi + w);
  Real guesses[2] = {d1 <= d2 ? phi - w : phi + w, d1 <= d2 ? phi + w : phi - w};
  const int n = std::fabs(d1 - d2) > HORIZON_DISTINCT ? 1 : 2;
  Real bestDist = -1;
  for (int j = 0; j < n; ++j) {
    const Real th0 = guesses[j];
    // The first step with the first-order slope A sin th - B cos th.
    Real a = th0, fa = ApproachRate(f, a);
    const Real slope = A * std::sin(th0) - B * std::cos(th0);
    Real b = std::fabs(slope) > 0 && std::fabs(fa / slope) < HORIZON_SECANT_RANGE / 2 ? th0 - fa / slope
                                                                                      : th0 + HORIZON_SECANT_STEP;
    if (b == a) return fa == 0 ? (Best = a, true) : false;
    Real fb = ApproachRate(f, b);
    bool settled = false;
    for (int i = 0; i < HORIZON_SECANT_STEPS && !settled; ++i) {
      if (fb == fa) return false;
      const Real next = b - fb * (b - a) / (fb - fa);
      if (!(std::fabs(next - th0) < HORIZON_SECANT_RANGE)) return false;
      a = b;
      fa = fb;
      b = next;
      fb = ApproachRate(f, b);
      settled = std::fabs(b - a) < ARC_PRECISION;
    }
    if (!settled) return false;
    const Real dist = LimbDistance(f, b);
    if (bestDist < 0 || dist < bestDist) {
      Best = b;
      bestDist = dist;
    }
  }
  return true;
}

bool HorizonMaximum(const Frame& f, PathPoint& out, bool& Rising) {
  Real best = 0;
  bool none = false;
  if (!NearHorizonRoots(f, best, none)) {
    if (none) return false;
    // The roots of the arc inside the penumbra, by a scan of it.
    Real lo, hi;
    if (!LimbArc(f, f.l1, lo, hi)) return false;
    constexpr int ARC_SCAN = 8;
    Real bestDist = -1;
    Real prevTh = lo, prev = ApproachRate(f, lo);
    for (int i = 1; i <= ARC_SCAN; ++i) {
      const Real th = lo + (hi - lo) * i / ARC_SCAN, v = ApproachRate(f, th);
      if ((prev <= 0) != (v <= 0)) {
        const Real root = Illinois([&](Real x) { return ApproachRate(f, x); }, prevTh, prev, th, v,
                                   ARC_PRECISION);
        const Real dist = LimbDistance(f, root);
        if (bestDist < 0 || dist < bestDist) { best = root; bestDist = dist; }
      }
      prevTh = th;
      prev = v;
    }
    if (bestDist < 0) return false;
  }
  const Ground g = LimbGround(f, best);
  if (!(Norm(f.x - g.xi, f.y - g.eta) <= f.l1 - g.zeta * f.tf1)) return false;
  Real xir, etar, zetar;
  GroundRates(f, g, xir, etar, zetar);
  Rising = zetar > 0;
  out = LimbPoint(f, g);
  return FinitePoint(out);
}

// A boundary point of the ground swept by the umbra at this instant, on the
// left (North) or right side: the limit (limit: LimitGround's answer, its
// point g) where it lies on the Earth, else the point of the limb arc
// inside the umbra farthest to that side.
bool BandPoint(const Frame& f, bool North, bool limit, const Ground& g, PathPoint& out) {
  if (limit) {
    // The limit lies on the Earth; it bounds the band only while the umbra
    // still reaches past the limb on that side or is wholly on the Earth.
    out = Geographic(f, g);
    return FinitePoint(out);
  }
  Real lo, hi;
  if (!LimbArc(f, std::fabs(f.l2), lo, hi)) return false;
  const Real v = Norm(f.xr, f.yr);
  if (!(v > 0)) return false;
  const Real nx = (North ? -f.yr : f.yr) / v, ny = (North ? f.xr : -f.xr) / v;
  auto along = [&](Real th) { return nx * std::cos(th) + ny * f.rho1 * std::sin(th); };
  Real th = along(lo) >= along(hi) ? lo : hi;
  // The outline's support point in that direction, when inside the arc.
  Real s = std::atan2(f.rho1 * ny, nx);
  while (s < lo) s += TWO_PI;
  if (s <= hi && along(s) > along(th)) th = s;
  out = LimbPoint(f, LimbGround(f, th));
  return FinitePoint(out);
}

// ---- tracing -----------------------------------------------------------------

using Evaluator = std::function<bool(Real t, PathPoint& p)>;

struct Sample {
  Real t;
  PathPoint p;
  // The point's unit vector and the cosine of its latitude, for chord
  // errors; made on first use.
  mutable bool located = false;
  mutable Real u[3] = {0, 0, 0};
  mutable Real coslat = 0;
  void Locate() const;
};

void Sample::Locate() const {
  if (located) return;
  const Real la = static_cast<Real>(p.LatitudeDeg) * RAD, lo = static_cast<Real>(p.LongitudeDeg) * RAD;
  coslat = std::cos(la);
  u[0] = coslat * std::cos(lo);
  u[1] = coslat * std::sin(lo);
  u[2] = std::sin(la);
  located = true;
}

// How far M lies from the straight segment A-B, km: in longitude and
// latitude (longitude scaled by the cosine of the latitude), and from the
// great circle through A and B; the larger.
Real ChordErrorKm(const Sample& A, const Sample& B, const Sample& M) {
  A.Locate();
  B.Locate();
  M.Locate();
  const Real km = MEAN_EARTH_RADIUS_KM * RAD;
  const Real alat = static_cast<Real>(A.p.LatitudeDeg), alon = static_cast<Real>(A.p.LongitudeDeg);
  const Real c = M.coslat;
  const Real bx = std::remainder(static_cast<Real>(B.p.LongitudeDeg) - alon, 360.0) * c * km;
  const Real by = (static_cast<Real>(B.p.LatitudeDeg) - alat) * km;
  const Real mx = std::remainder(static_cast<Real>(M.p.LongitudeDeg) - alon, 360.0) * c * km;
  const Real my = (static_cast<Real>(M.p.LatitudeDeg) - alat) * km;
  const Real len2 = bx * bx + by * by;
  Real plane;
  if (len2 == 0) {
    plane = Norm(mx, my);
  } else {
    const Real s = std::fmax(0.0, std::fmin(1.0, (mx * bx + my * by) / len2));
    plane = Norm(mx - s * bx, my - s * by);
  }
  const Real* a = A.u;
  const Real* b = B.u;
  const Real* m = M.u;
  const Real n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  const Real nn = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  Real great = 0;
  if (nn > 0) {
    const Real s = (m[0] * n[0] + m[1] * n[1] + m[2] * n[2]) / nn;
    great = std::fabs(std::asin(std::fmax(-1.0, std::fmin(1.0, s)))) * MEAN_EARTH_RADIUS_KM;
  }
  return std::fmax(plane, great);
}

// The end of a valid stretch between a valid instant In and an invalid Out.
Sample FindEnd(const Evaluator& F, Real In, PathPoint pin, Real Out) {
  while (std::fabs(Out - In) > END_PRECISION_HOURS) {
    const Real mid = (In + Out) / 2;
    PathPoint p;
    if (F(mid, p)) { In = mid; pin = p; } else Out = mid;
  }
  return {In, pin};
}

// Points between A and B (B appended last) until the straight segment
// between neighbours departs from the curve by at most Tol: checked at a
// quarter, half and three quarters of each segment's time, since near the
// horizon the point moves fast and the time's midpoint lies off the arc's
// middle.  Mid, when set, is the curve at the middle instant already.
void Refine(const Evaluator& F, const Sample& A, const Sample& B, const Sample* Mid, Real Tol,
            int Depth, std::vector<Sample>& Out) {
  if (Depth >= MAX_REFINE_DEPTH) {
    Out.push_back(B);
    return;
  }
  Sample m, q1, q3;
  m.t = (A.t + B.t) / 2;
  q1.t = (A.t + m.t) / 2;
  q3.t = (m.t + B.t) / 2;
  const bool okM = Mid ? (m = *Mid, true) : F(m.t, m.p);
  if (!okM) {  // not on the curve inside: keep the chord
    Out.push_back(B);
    return;
  }
  const Real middle = ChordErrorKm(A, B, m);
  bool split = B.t - A.t > MAX_STEP_HOURS || middle > Tol;
  // Where the curve is far from the limb and the middle lies well on the
  // chord, the point moves evenly and the quarters need no look; near the
  // limb they do.
  const bool even = !split && middle < Tol / 4 &&
                    std::fmin(A.p.SunAltitudeDeg, B.p.SunAltitudeDeg) > EVEN_ALTITUDE_DEG &&
                    A.p.SunAltitudeDeg != 0;
  bool quarters = false;
  if (!split && !even) {
    quarters = F(q1.t, q1.p) && F(q3.t, q3.p);
    if (!quarters) {
      Out.push_back(B);
      return;
    }
    split = ChordErrorKm(A, B, q1) > Tol || ChordErrorKm(A, B, q3) > Tol;
  }
  if (!split) {
    Out.push_back(B);
    return;
  }
  Refine(F, A, m, quarters ? &q1 : nullptr, Tol, Depth + 1, Out);
  Refine(F, m, B, quarters ? &q3 : nullptr, Tol, Depth + 1, Out);
}

// Every stretch of instants in [T0, T1] where F gives a point, densified.
// Extra is an instant also sampled (greatest eclipse: short stretches lie
// around it).
std::vector<std::vector<Sample>> Trace(const Evaluator& F, Real T0, Real T1,
                                       Real Extra, Real Tol) {
  std::vector<Real> ts;
  for (Real t = T0; t < T1; t += SCAN_STEP_HOURS) ts.push_back(t);
  ts.push_back(T1);
  if (Extra > T0 && Extra < T1) ts.push_back(Extra);
  std::sort(ts.begin(), ts.end());
  std::vector<std::vector<Sample>> stretches;
  std::vector<Sample> coarse;  // valid samples of the current stretch
  Real lastInvalid = T0;
  bool haveInvalid = false;
  auto close = [&](Real invalidAfter, bool haveAfter) {
    if (coarse.empty()) return;
    std::vector<Sample> ends;
    Sample first = coarse.front(), last = coarse.back();
    if (haveInvalid) first = FindEnd(F, first.t, first.p, lastInvalid);
    if (haveAfter) last = FindEnd(F, last.t, last.p, invalidAfter);
    std::vector<Sample> pts;
    pts.push_back(first);
    std::vector<Sample> nodes;
    nodes.push_back(first);
    for (const Sample& s : coarse)
      if (s.t > first.t && s.t < last.t) nodes.push_back(s);
    if (last.t > first.t) nodes.push_back(last);
    for (std::size_t i = 1; i < nodes.size(); ++i) Refine(F, nodes[i - 1], nodes[i], nullptr, Tol, 0, pts);
    stretches.push_back(std::move(pts));
    coarse.clear();
  };
  for (Real t : ts) {
    PathPoint p;
    if (F(t, p)) {
      coarse.push_back({t, p});
    } else {
      close(t, true);
      lastInvalid = t;
      haveInvalid = true;
    }
  }
  close(T1, false);
  return stretches;
}

// The crossing of the antimeridian between two samples (longitudes of
// opposite sign, more than 180 deg apart), by bisection in time.
Sample Crossing(const Evaluator& F, Sample A, Sample B) {
  const bool aEast = A.p.LongitudeDeg > 0;
  for (int k = 0; k < BISECTIONS && B.t - A.t > END_PRECISION_HOURS; ++k) {
    const Real mid = (A.t + B.t) / 2;
    PathPoint p;
    if (!F(mid, p)) break;
    if ((p.LongitudeDeg > 0) == aEast) A = {mid, p}; else B = {mid, p};
  }
  return A;
}

// Splits a stretch into pieces at the antimeridian and appends them.
void AppendPieces(const Evaluator& F, PathCurveKind Kind, const std::vector<Sample>& S,
                  std::vector<PathCurve>& Out) {
  if (S.size() < 2) return;
  PathCurve piece{Kind, {S.front().p}};
  for (std::size_t i = 1; i < S.size(); ++i) {
    if (std::fabs(S[i].p.LongitudeDeg - S[i - 1].p.LongitudeDeg) > 180) {
      const Sample c = Crossing(F, S[i - 1], S[i]);
      PathPoint end = c.p, start = c.p;
      const Real side = S[i - 1].p.LongitudeDeg > 0 ? 180 : -180;
      end.LongitudeDeg = side;
      start.LongitudeDeg = -side;
      piece.Points.push_back(end);
      Out.push_back(std::move(piece));
      piece = PathCurve{Kind, {start}};
    }
    piece.Points.push_back(S[i].p);
  }
  if (piece.Points.size() >= 2) Out.push_back(std::move(piece));
}

// ---- the umbral path as polygons ---------------------------------------------

struct Vertex {
  Real lon, lat;  // longitude unwrapped along the ring
};

// Sutherland-Hodgman: the part of a closed polygon with lon >= Edge
// (Keep > 0) or lon <= Edge (Keep < 0).
std::vector<Vertex> ClipLongitude(const std::vector<Vertex>& In, Real Edge, int Keep) {
  std::vector<Vertex> out;
  if (In.empty()) return out;
  auto inside = [&](const Vertex& v) { return Keep > 0 ? v.lon >= Edge : v.lon <= Edge; };
  for (std::size_t i = 0; i < In.size(); ++i) {
    const Vertex& a = In[i];
    const Vertex& b = In[(i + 1) % In.size()];
    const bool ia = inside(a), ib = inside(b);
    if (ia) out.push_back(a);
    if (ia != ib) {
      const Real s = (Edge - a.lon) / (b.lon - a.lon);
      out.push_back({Edge, a.lat + s * (b.lat - a.lat)});
    }
  }
  return out;
}

void AppendRings(const std::vector<PathPoint>& Ring, std::vector<GeoRing>& Out) {
  if (Ring.size() < 3) return;
  std::vector<Vertex> v;
  v.push_back({static_cast<Real>(Ring[0].LongitudeDeg), static_cast<Real>(Ring[0].LatitudeDeg)});
  Real latSum = 0;
  for (std::size_t i = 1; i < Ring.size(); ++i) {
    const Real step = static_cast<Real>(std::remainder(Ring[i].LongitudeDeg - Ring[i - 1].LongitudeDeg, 360.0));
    v.push_back({v.back().lon + step, static_cast<Real>(Ring[i].LatitudeDeg)});
    latSum += Ring[i].LatitudeDeg;
  }
  // Back to the first point: a ring around a pole has turned by 360 deg.
  const Real closing = std::remainder(Ring[0].LongitudeDeg - Ring.back().LongitudeDeg, 360.0);
  const Real winding = v.back().lon + closing - v.front().lon;
  if (std::fabs(winding) > 180) {
    const Real pole = latSum >= 0 ? 90 : -90;
    v.push_back({v.back().lon + closing, v.front().lat});
    v.push_back({v.back().lon, pole});
    v.push_back({v.front().lon, pole});
  }
  Real lo = v[0].lon, hi = v[0].lon;
  for (const Vertex& p : v) { lo = std::fmin(lo, p.lon); hi = std::fmax(hi, p.lon); }
  const long k0 = std::lround(std::floor((lo + 180) / 360)), k1 = std::lround(std::floor((hi + 180) / 360));
  for (long k = k0; k <= k1; ++k) {
    const Real west = -180 + 360.0 * k, east = 180 + 360.0 * k;
    std::vector<Vertex> part = ClipLongitude(ClipLongitude(v, west, 1), east, -1);
    if (part.size() < 3) continue;
    GeoRing ring;
    Real area = 0;
    for (std::size_t i = 0; i < part.size(); ++i) {
      const Vertex& a = part[i];
      const Vertex& b = part[(i + 1) % part.size()];
      area += a.lon * b.lat - b.lon * a.lat;
      GeoPoint g;
      g.LatitudeDeg = a.lat;
      g.LongitudeDeg = std::fmax(-180.0L, std::fmin(180.0L, a.lon - 360.0 * k));
      ring.push_back(g);
    }
    if (area == 0) continue;
    if (area < 0) std::reverse(ring.begin(), ring.end());
    ring.push_back(ring.front());
    Out.push_back(std::move(ring));
  }
}

// The nearest limb point to the axis (greatest eclipse of a non-central
// eclipse).
PathPoint NearestLimb(const Frame& f) { return LimbPoint(f, LimbGround(f, NearestLimbParameter(f))); }
// The instants of [T0, T1] at which a shadow of radius Radius(f) on the
// fundamental plane (plus a margin) overlaps the Earth's outline, widened by
// a scan step each side: the curves of that shadow lie within.  false when
// it never does.
template <class R>
bool ShadowWindow(const Elements& P, Real T0, Real T1, R Radius, Real& From, Real& To) {
  bool any = false;
  for (Real t = T0; t <= T1 + 1e-9; t += SCAN_STEP_HOURS) {
    const Frame f = At(P, t);
    const bool inside = f.x * f.x + f.y * f.y / (f.rho1 * f.rho1) <= 1;
    if (!inside && LimbDistance(f, NearestLimbParameter(f)) > std::fabs(Radius(f)) + WINDOW_MARGIN) continue;
    if (!any) From = t;
    To = t;
    any = true;
  }
  From = std::fmax(T0, From - SCAN_STEP_HOURS);
  To = std::fmin(T1, To + SCAN_STEP_HOURS);
  return any;
}

}  // namespace

const char* PathCurveKindName(PathCurveKind Kind) {
  switch (Kind) {
    case PathCurveKind::Central: return "central";
    case PathCurveKind::UmbraNorth: return "umbra_north";
    case PathCurveKind::UmbraSouth: return "umbra_south";
    case PathCurveKind::PenumbraNorth: return "penumbra_north";
    case PathCurveKind::PenumbraSouth: return "penumbra_south";
    case PathCurveKind::SunriseMaximum: return "sunrise_maximum";
    case PathCurveKind::SunsetMaximum: return "sunset_maximum";
  }
  return "";
}

bool PathPointAt(const BesselPolynomials& P, PathCurveKind Kind, long double JDUT, PathPoint& Out) {
  if (!FiniteBesselPolynomials(P) || !std::isfinite(JDUT)) return false;
  const long double jdtd = JDUT + P.DeltaTSeconds / (HOURS_PER_DAY * SECONDS_PER_HOUR);
  const Real t = static_cast<Real>(HoursFromT0(P, jdtd));
  if (std::fabs(t) > WINDOW_HOURS) return false;
  const Frame f = At(Elements(P), t);
  bool rising = false;
  switch (Kind) {
    case PathCurveKind::Central: return CentralPoint(f, Out);
    case PathCurveKind::UmbraNorth: return LimitPoint(f, true, true, Out);
    case PathCurveKind::UmbraSouth: return LimitPoint(f, true, false, Out);
    case PathCurveKind::PenumbraNorth: return LimitPoint(f, false, true, Out);
    case PathCurveKind::PenumbraSouth: return LimitPoint(f, false, false, Out);
    case PathCurveKind::SunriseMaximum:
    case PathCurveKind::SunsetMaximum: return HorizonMaximum(f, Out, rising);
  }
  return false;
}

EclipsePaths ComputeEclipsePaths(const BesselPolynomials& P, const PathOptions& Options) {
  EclipsePaths out;
  if (!FiniteBesselPolynomials(P) || !(Options.MaxChordKm > 0)) return out;
  const Real tol = static_cast<Real>(Options.MaxChordKm);
  const Real tg = static_cast<Real>(HoursFromT0(P, P.JDGreatestTD));
  const Real T0 = -WINDOW_HOURS, T1 = WINDOW_HOURS;
  const Elements E(P);

  // Greatest eclipse, and whether the penumbra reaches the Earth at all.
  const Frame fg = At(E, tg);
  if (!CentralPoint(fg, out.Greatest)) {
    out.Greatest = NearestLimb(fg);
    const Real gap = LimbDistance(fg, NearestLimbParameter(fg));
    if (!(gap <= fg.l1)) return out;  // the penumbra misses the Earth
  }
  if (!FinitePoint(out.Greatest)) return out;

  // The instants at which the umbra and the penumbra reach the Earth.
  Real u0 = 0, u1 = 0, p0 = 0, p1 = 0;
  const bool umbral = ShadowWindow(E, T0, T1, [](const Frame& f) { return f.l2; }, u0, u1);
  if (!ShadowWindow(E, T0, T1, [](const Frame& f) { return f.l1; }, p0, p1)) return out;
  auto add = [&](PathCurveKind kind, const Evaluator& F, bool umbra) {
    if (umbra && !umbral) return;
    for (const std::vector<Sample>& s : Trace(F, umbra ? u0 : p0, umbra ? u1 : p1, tg, tol))
      AppendPieces(F, kind, s, out.Curves);
  };
  auto at = [&E](Real t) { return At(E, t); };

  add(PathCurveKind::Central, [&](Real t, PathPoint& p) { return CentralPoint(at(t), p); }, true);
  // The umbral limits' answers by instant, for the umbral path's edges,
  // which trace them again at the same instants where the limit lies on
  // the Earth.
  struct Known {
    bool limit;
    Ground g;
  };
  std::unordered_map<Real, Known> umbraLimit[2];
  auto umbraLimitAt = [&](const Frame& f, bool north, Ground& g) {
    auto& known = umbraLimit[north ? 1 : 0];
    const auto it = known.find(f.t);
    if (it != known.end()) {
      g = it->second.g;
      return it->second.limit;
    }
    const bool limit = LimitGround(f, true, north, g);
    known.emplace(f.t, Known{limit, g});
    return limit;
  };
  auto limits = [&](bool umbra, bool north) {
    const PathCurveKind kind = umbra ? (north ? PathCurveKind::UmbraNorth : PathCurveKind::UmbraSouth)
                                     : (north ? PathCurveKind::PenumbraNorth : PathCurveKind::PenumbraSouth);
    add(kind, [&, umbra, north](Real t, PathPoint& p) {
      const Frame f = at(t);
      Ground g;
      if (!(umbra ? umbraLimitAt(f, north, g) : LimitGround(f, false, north, g))) return false;
      p = Geographic(f, g);
      return FinitePoint(p);
    }, umbra);
  };
  for (bool north : {true, false}) limits(true, north);
  if (Options.Penumbra)
    for (bool north : {true, false}) limits(false, north);
  if (Options.Horizon) {
    // The maximum on the horizon traced once, then cut where the point
    // changes from rising to setting (the instant found by bisection, the
    // point there ending one piece and starting the next).  While tracing,
    // DurationS carries whether the point rises (1) or sets (0).
    const Evaluator any = [&](Real t, PathPoint& p) {
      bool rising = false;
      if (!HorizonMaximum(at(t), p, rising)) return false;
      p.DurationS = rising ? 1 : 0;
      return true;
    };
    for (const std::vector<Sample>& st : Trace(any, p0, p1, tg, tol)) {
      std::vector<Sample> run;
      auto flush = [&](bool rising) {
        for (Sample& x : run) x.p.DurationS = 0;
        AppendPieces(any, rising ? PathCurveKind::SunriseMaximum : PathCurveKind::SunsetMaximum, run,
                     out.Curves);
        run.clear();
      };
      for (const Sample& x : st) {
        if (!run.empty() && x.p.DurationS != run.back().p.DurationS) {
          Sample a = run.back(), b = x;
          for (int k = 0; k < BISECTIONS && b.t - a.t > END_PRECISION_HOURS; ++k) {
            Sample m{(a.t + b.t) / 2, {}};
            if (!any(m.t, m.p)) break;
            if (m.p.DurationS == a.p.DurationS) a = m; else b = m;
          }
          const bool rising = run.back().p.DurationS != 0;
          run.push_back(a);
          flush(rising);
          run.push_back(a);
          run.back().p.DurationS = x.p.DurationS;
        }
        run.push_back(x);
      }
      if (!run.empty()) flush(run.back().p.DurationS != 0);
    }
  }

  for (const PathCurve& c : out.Curves) {
    if (c.Kind == PathCurveKind::Central) out.Central = true;
    if (c.Kind == PathCurveKind::UmbraNorth || c.Kind == PathCurveKind::UmbraSouth) out.Umbral = true;
  }

  // The umbral path: the two boundaries over the same stretch, the southern
  // one reversed.
  auto band = [&](Real t, bool north, PathPoint& p) {
    const Frame f = at(t);
    Ground g;
    const bool limit = umbraLimitAt(f, north, g);
    return BandPoint(f, north, limit, g, p);
  };
  const Evaluator north = [&](Real t, PathPoint& p) { return band(t, true, p); };
  const Evaluator south = [&](Real t, PathPoint& p) { return band(t, false, p); };
  if (Options.UmbraPolygons && umbral) {
    const std::vector<std::vector<Sample>> ns = Trace(north, u0, u1, tg, tol);
    const std::vector<std::vector<Sample>> ss = ns.empty() ? ns : Trace(south, u0, u1, tg, tol);
    if (!ns.empty()) out.Umbral = true;
    for (std::size_t i = 0; i < ns.size() && i < ss.size(); ++i) {
      std::vector<PathPoint> ring;
      for (const Sample& s : ns[i]) ring.push_back(s.p);
      for (auto it = ss[i].rbegin(); it != ss[i].rend(); ++it) ring.push_back(it->p);
      AppendRings(ring, out.UmbraPolygons);
    }
  }
  std::stable_sort(out.Curves.begin(), out.Curves.end(), [](const PathCurve& a, const PathCurve& b) {
    return a.Kind != b.Kind ? a.Kind < b.Kind : a.Points.front().JDUT < b.Points.front().JDUT;
  });
  out.Valid = true;
  return out;
}

}  // namespace nodalis
