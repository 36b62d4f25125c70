// BuildSeriesComputed, RotateToEclipticNorth — the computed Saros series.
//
// From one eclipse new moon: estimate the series' first member from gamma
// (phase A), step back one Saros while there is still an eclipse (phase B),
// then step forward one Saros at a time, one member line per new moon,
// until 100 Saros past the estimated start and a new moon without eclipse
// (phase C).  Trailing type-0 members are removed.  Each phase is capped so
// that no input can keep the builder running.  A list that does not hold
// the eclipse it was built from (phase A misled) is built again from that
// eclipse; a series reaching beyond the supported dates is refused.
#include <cmath>

#include "app/core/SeriesBuilder.h"
#include "app/core/SeriesState.h"
#include "astro/Trigonom.h"
#include "app/base/Utils.h"

namespace nodalis {

namespace {
constexpr long double J2000_OBLIQUITY_RAD = 0.40909280422038968L;  // 23.4392911 deg
constexpr int BODY_SUN_REDUCED = 1000;
}  // namespace

void RotateToEclipticNorth(BesselRec& Rec) {
  const long double lambda = PlanetInfo(Rec.JDMax, BODY_SUN_REDUCED, 8);
  const long double a = -EclipticNorthAngle(J2000_OBLIQUITY_RAD, lambda);
  RotateXY(Rec.X, Rec.Y, a);
  long double sx = 1, sy = Rec.Slope;
  RotateXY(sx, sy, a);
  Rec.Slope = sy / sx;
}

namespace {
// Phases B and C from the estimated start JD; Span0 is the instant the
// "100 Saros" of phase C count from.  False when the series reaches beyond
// the supported dates, before their first or after their last day: cut
// there it would show ends it does not have (and its title the number of
// a member that is not its first).
bool BuildFromStart(std::vector<std::string>& List, long double JD, long double Span0) {
  BesselRec Rec;
  List.push_back(RealToStr(1, 6, JD) + " Start");

  // Phase B: back while the new moon one Saros earlier still has an eclipse.
  for (int step = 0; step < MAX_PHASE_B_STEPS && CalcEclipse(0, true, Rec, JD) > 0; ++step) {
    JD = Rec.JDMax - SAROS_DAYS;
    SelectedJD = JD;
    if (!JDSupported(JD)) return false;
  }

  // Phase C: the members.
  bool Found = false;
  for (int member = 0; member < MAX_PHASE_C_MEMBERS; ++member) {
    PumpMessage();
    if (!JDSupported(JD) && Rec.EclType > 0) return false;
    if (CalcEclipse(0, true, Rec, JD) > 0) JD = Rec.JDMax;
    if (EkliptikalNordChecked) RotateToEclipticNorth(Rec);
    if (Rec.EclType > 0 && !Found) {
      List[0] += " (" + Rec.SarosText + ")";
      Found = true;
    }
    if (Found) AppendMemberLine(Rec, List);
    JD += SAROS_DAYS;
    if (JD > Span0 + SERIES_SPAN_DAYS && Rec.EclType == 0) break;
  }
  while (List.size() > 1 && List.back().find("Max 0") != std::string::npos) List.pop_back();
  List.push_back(RealToStr(1, 6, JD) + " Ende");
  return true;
}

// True when a member line of List is the eclipse of greatest eclipse JDMax.
bool HoldsMember(const std::vector<std::string>& List, long double JDMax) {
  constexpr long double SAME_MEMBER_DAYS = 0.5L;
  for (std::size_t i = 1; i + 1 < List.size(); ++i)
    if (std::fabs(LineJD(List[i]) - JDMax) < SAME_MEMBER_DAYS) return true;
  return false;
}
}  // namespace

bool BuildSeriesComputed(std::vector<std::string>& List, long double JD) {
  List.clear();
  if (!JDSupported(JD)) return false;
  const long double input = JD;
  long double JD0 = JD;
  BesselRec Rec;

  // Phase A: estimate of the series' start from gamma and its trend.
  for (int pass = 0; pass < MAX_PHASE_A_PASSES; ++pass) {
    if (CalcEclipse(0, true, Rec, JD) > 0) JD = Rec.JDMax;
    float g = Rec.Gamma;
    JD += PHASE_A_JUMP_DAYS;
    CalcEclipse(1, true, Rec, JD);
    if (!(Rec.Gamma > g)) g = -g;
    const long double n = std::nearbyint((static_cast<long double>(g) + 1.5L) * 50.0L);
    JD = JD0 - n * SAROS_DAYS;
    JD0 = JD;
    if (-1.5f < g && g < 0.7f) break;
  }
  if (JDSupported(JD) && !BuildFromStart(List, JD, JD0)) List.clear();

  // The trend of gamma misleads phase A at a series' last members (15 Saros
  // later the series has ended, and the eclipse found there belongs to
  // another one): it then lands on another series of the same class,
  // thousands of years away, or outside the supported dates.  A series that
  // does not hold the eclipse it was built from is built again from that
  // eclipse itself, phase B stepping back to its first member.
  BesselRec given;
  if (CalcEclipse(0, true, given, input) > 0 && !HoldsMember(List, given.JDMax)) {
    List.clear();
    if (!BuildFromStart(List, given.JDMax, given.JDMax)) List.clear();
  }
  return !List.empty();
}

}  // namespace nodalis
