// CalcEclipse — greatest eclipse, gamma and eclipse type near a new moon.
//
// Greatest eclipse is the foot of the perpendicular from the Earth's centre
// onto the straight shadow track through two Besselian positions that
// bracket x = 0 (start step 10 minutes, widened by 1.2 per shift).  Type
// from the distance m = |(x, y)| and the shadow radii l1, l2 of greatest
// eclipse: 0 none, 1 partial, 2/3 non-central annular/total, 4 annular,
// 5 total, 6 hybrid.  The bracketing loop is capped; a track that cannot be
// bracketed (non-finite positions) gives type 0.
//
// Reference: J. Meeus, Elements of Solar Eclipses 1951-2200 (1989), ch. 1;
// Explanatory Supplement to the Astronomical Almanac (1992), sec. 8.3.
#include <cmath>

#include "astro/Astrcalc.h"
#include "astro/Trigonom.h"

namespace nodalis {

namespace {
constexpr long double START_STEP_CENTURIES = 10.0L / (1440.0L * 36525.0L);  // 10 minutes
constexpr long double STEP_GROWTH = 1.2L;
constexpr long double REFINE_STEP_CENTURIES = 1.0L / (1440.0L * 36525.0L);  // one minute
constexpr long double REFINE_MAX_CHORDS = 5;  // the foot at most 5 chords (10 minutes) away

uint8_t EclipseType(long double m, const BesselRec& r) {
  if (m > std::fabs(r.L1) + 1) return ECL_NONE;
  if (m > std::fabs(r.L2) + 1) return ECL_PARTIAL;
  if (m > 1) return r.L2 > 0 ? ECL_NONCENTRAL_ANNULAR : ECL_NONCENTRAL_TOTAL;
  if (r.L2 < 0) return ECL_TOTAL;
  const long double q = r.L2 / std::tan(r.F2 * RAD_PER_DEG);
  return q > std::sqrt(1 - m * m) ? ECL_ANNULAR : ECL_HYBRID;
}

void CommonTail(BesselRec& Rec, uint8_t type) {
  Rec.JDMax = TToJD(Rec.TMax) + Rec.DeltaTDays;
  Rec.SarosNo = SarosNumber(Rec.JDMax, Rec.SarosText);
  Rec.EclType = type;
  Rec.TypeText = EclipseText("Finsternis", type);
}

// Type 0 at JD: gamma := sin(beta_moon) * Delta_moon (AU) at JD itself.
uint8_t NoEclipse(bool IsTDT, BesselRec& Rec, long double JD) {
  Rec.TMax = JDToT(JD);
  float dt;
  DeltaT(dt, IsTDT, JD);
  Rec.DeltaTDays = dt;
  long double lon, beta, dist;
  ChosenMoon(lon, beta, dist, JD);
  const long double g = std::sin(beta) * dist;
  Rec.Gamma = std::isfinite(g) ? static_cast<float>(g) : 0.0f;
  CommonTail(Rec, ECL_NONE);
  return ECL_NONE;
}
}  // namespace

uint8_t CalcEclipse(int Direction, bool IsTDT, BesselRec& Rec, long double JD) {
  if (!JDSupported(JD)) {
    Rec.EclType = ECL_NONE;
    Rec.TypeText = EclipseText("Finsternis", ECL_NONE);
    return ECL_NONE;
  }
  float dt;
  DeltaT(dt, IsTDT, JD);
  Rec.DeltaTDays = dt;
  long double T0 = JDToT(JD);
  const long double JD0 = JD;
  if (Direction != 0) {
    const bool found = FindEclipseNewMoon(JD, Direction < 0);
    if (!found || std::fabs(JD - JD0) >= SAME_ECLIPSE_DAYS) return NoEclipse(IsTDT, Rec, JD);
  }
  // Eclipse branch: bracket x = 0 starting from the caller's date.
  JD = TToJD(T0);
  DeltaT(dt, IsTDT, JD);
  Rec.DeltaTDays = dt;
  long double h = START_STEP_CENTURIES;
  long double xm = 0, ym = 0, xp = 0, yp = 0;
  for (int shifts = 0;; ) {
    BesselElements(TToJD(T0 - h), dt, Rec, xm, ym);
    BesselElements(TToJD(T0 + h), dt, Rec, xp, yp);
    if (!std::isfinite(xm) || !std::isfinite(xp) || !std::isfinite(ym) || !std::isfinite(yp))
      return NoEclipse(IsTDT, Rec, JD0);
    if (xm <= 0 && xp >= 0) break;
    if (xm > 0) T0 -= 2 * h;
    if (xp < 0) T0 += 2 * h;
    h *= STEP_GROWTH;
    if (++shifts > MAX_BRACKET_SHIFTS) return NoEclipse(IsTDT, Rec, JD0);
  }
  Rec.X = xm;
  Rec.Y = ym;
  // Straight track through the two positions; greatest eclipse at the foot
  // of the perpendicular from the centre.
  const long double dx = xp - xm, dy = yp - ym;
  long double xmax = 0;
  if (dx != 0) {
    Rec.Slope = dy / dx;
    const long double y0 = ym - dy * xm / dx;
    xmax = -y0 * Rec.Slope / (Rec.Slope * Rec.Slope + 1);
    Rec.TMax = (T0 - h) + 2 * h * (xmax - xm) / dx;
  } else {
    Rec.Slope = 0;
    Rec.TMax = T0;
  }
  BesselElements(TToJD(Rec.TMax), dt, Rec);
  const long double m = std::sqrt(Rec.X * Rec.X + Rec.Y * Rec.Y);
  Rec.Gamma = static_cast<float>(Rec.Y >= 0 ? m : -m);
  CommonTail(Rec, EclipseType(m, Rec));
  return Rec.EclType;
}

void RefineGreatestEclipse(BesselRec& Rec) {
  if (Rec.EclType == ECL_NONE) return;
  const long double h = REFINE_STEP_CENTURIES;
  BesselRec scratch;
  long double xm = 0, ym = 0, xp = 0, yp = 0;
  BesselElements(TToJD(Rec.TMax - h), Rec.DeltaTDays, scratch, xm, ym);
  BesselElements(TToJD(Rec.TMax + h), Rec.DeltaTDays, scratch, xp, yp);
  const long double dx = xp - xm, dy = yp - ym, d2 = dx * dx + dy * dy;
  // Position of the foot along the chord: 0 at -h, 1 at +h.
  const long double s = -(xm * dx + ym * dy) / d2;
  if (!std::isfinite(s) || !(d2 > 0) || std::fabs(s - 0.5L) > REFINE_MAX_CHORDS) return;
  BesselRec refined = Rec;
  refined.TMax = Rec.TMax - h + 2 * h * s;
  refined.Slope = dx != 0 ? dy / dx : 0;
  BesselElements(TToJD(refined.TMax), Rec.DeltaTDays, refined);
  const long double m = std::sqrt(refined.X * refined.X + refined.Y * refined.Y);
  if (!std::isfinite(m)) return;
  refined.Gamma = static_cast<float>(refined.Y >= 0 ? m : -m);
  refined.JDMax = TToJD(refined.TMax) + refined.DeltaTDays;
  Rec = refined;
}

}  // namespace nodalis
