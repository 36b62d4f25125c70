// FindNewMoon, FindEclipseNewMoon — new moons and eclipse new moons.
//
// FindNewMoon corrects JD by the elongation error times the mean synodic
// month until the step is at most one minute; the Moon always comes from
// orbitcore (body 1011).  FindEclipseNewMoon steps whole lunations until the
// Moon's latitude at new moon is within the eclipse limit of 1.7 degrees.
// A new moon inside the latitude limit whose shadow misses the Earth is
// passed over as well: taken as an eclipse new moon it would make the
// series builder start from a new moon of no series and wander off to a
// series thousands of years away (e.g. "+1 Finsternis" after 2017 Aug 21
// landing on the new moon of 2018 Jan 17, latitude 1.63 deg).
// Both loops are capped (unbounded, a NaN date or a broken position would
// never end them).
//
// Reference: J. Meeus, Astronomical Algorithms (1998), ch. 49 and 54.
#include <cmath>

#include "astro/Astrcalc.h"
#include "astro/Trigonom.h"

namespace nodalis {

float NewMoonDeltaTDays = 0.0f;

namespace {
constexpr long double SYNODIC_RATE_PER_DAY = 0.033863191950718685L;  // 1 / synodic month
constexpr long double ONE_MINUTE_DAYS = 0.00069444444444444447L;
}  // namespace

bool FindNewMoon(long double& JD, long double& BetaMoon, long double TargetElongation) {
  if (!JDSupported(JD)) return false;
  float dt;
  DeltaT(dt, TimesAreTDT, JD);
  NewMoonDeltaTDays = dt;
  for (int pass = 0; pass < MAX_NEWMOON_PASSES; ++pass) {
    const long double JDold = JD;
    long double lsun, lmoon, scratch;
    SunEcliptic(lsun, BetaMoon, scratch, JD + dt, 0, 0);
    MoonEcliptic(lmoon, BetaMoon, scratch, JD + dt, 0, 0);
    const long double d =
        Frac01((lmoon - lsun - TargetElongation) / (2.0L * PI_EXT) + 0.5L) - 0.5L;
    JD = JD - d / SYNODIC_RATE_PER_DAY;
    if (!std::isfinite(JD) || !JDSupported(JD)) {
      JD = JDold;
      return false;
    }
    if (std::fabs(JD - JDold) <= ONE_MINUTE_DAYS) return true;
  }
  return false;
}

namespace {
// A new moon within 1.7 deg of a node that still misses the Earth (the
// limit is generous: an eclipse needs about 1.4 to 1.6 deg at most).
bool MissesTheEarth(long double JD) {
  BesselRec r;
  return CalcEclipse(0, true, r, JD) == ECL_NONE;
}
}  // namespace

bool FindEclipseNewMoon(long double& JD, bool Backwards) {
  long double beta = 0;
  if (!FindNewMoon(JD, beta, 0)) return false;
  for (int n = 0; std::fabs(beta) > ECLIPSE_LIMIT_RAD || MissesTheEarth(JD); ++n) {
    if (n >= MAX_ECLIPSE_LUNATIONS || !std::isfinite(beta)) return false;
    JD += Backwards ? -SYNODIC_MONTH_DAYS : SYNODIC_MONTH_DAYS;
    if (!FindNewMoon(JD, beta, 0)) return false;
  }
  return true;
}

}  // namespace nodalis
