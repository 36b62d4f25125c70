// BuildSeriesComputed, RotateToEclipticNorth — the computed Saros series.
//
// From one eclipse new moon: estimate the series' first member from gamma
// (phase A), step back one Saros while there is still an eclipse (phase B),
// then step forward one Saros at a time, one member line per new moon,
// until 100 Saros past the estimated start and a new moon without eclipse
// (phase C).  Trailing type-0 members are removed.  Each phase is capped so
// that no input can keep the builder running.
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

bool BuildSeriesComputed(std::vector<std::string>& List, long double JD) {
  List.clear();
  if (!JDSupported(JD)) return false;
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
  if (!JDSupported(JD)) return false;

  List.push_back(RealToStr(1, 6, JD) + " Start");

  // Phase B: back while the new moon one Saros earlier still has an eclipse.
  for (int step = 0; step < MAX_PHASE_B_STEPS && CalcEclipse(0, true, Rec, JD) > 0; ++step) {
    JD = Rec.JDMax - SAROS_DAYS;
    SelectedJD = JD;
  }

  // Phase C: the members.
  bool Found = false;
  for (int member = 0; member < MAX_PHASE_C_MEMBERS; ++member) {
    PumpMessage();
    if (CalcEclipse(0, true, Rec, JD) > 0) JD = Rec.JDMax;
    if (EkliptikalNordChecked) RotateToEclipticNorth(Rec);
    if (Rec.EclType > 0 && !Found) {
      List[0] += " (" + Rec.SarosText + ")";
      Found = true;
    }
    if (Found) AppendMemberLine(Rec, List);
    JD += SAROS_DAYS;
    if (JD > JD0 + SERIES_SPAN_DAYS && Rec.EclType == 0) break;
  }
  while (List.size() > 1 && List.back().find("Max 0") != std::string::npos) List.pop_back();
  List.push_back(RealToStr(1, 6, JD) + " Ende");
  return true;
}

}  // namespace nodalis
