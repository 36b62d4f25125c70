// Member lines of the series list: writing and reading (see MemberLine.h).
#include <cmath>
#include <limits>

#include "app/core/MemberLine.h"
#include "app/base/Utils.h"

namespace nodalis {

std::string MemberLine(const BesselRec& Rec) {
  std::string s;
  s.reserve(128);
  s += RealToStr(1, 6, Rec.JDMax);
  s += " dT " + RealToStr(1, 6, Rec.DeltaTDays);
  s += " Gam" + RealToStr(6, 3, Rec.Gamma);
  s += " x" + RealToStr(7, 4, Rec.X);
  s += " y" + RealToStr(7, 4, Rec.Y);
  s += " rP" + RealToStr(7, 4, Rec.L1);
  s += " rU" + RealToStr(7, 4, Rec.L2);
  s += " AP" + RealToStr(7, 4, Rec.F1);
  s += " AU" + RealToStr(7, 4, Rec.F2);
  s += " incl " + RealToStr(7, 4, Rec.Slope);
  s += " Max " + ShortRealToStr(Rec.EclType);
  s += " Sar " + RealToStr(3, 0, Rec.SarosNo);
  return s;
}

void AppendMemberLine(const BesselRec& Rec, std::vector<std::string>& List) {
  List.push_back(MemberLine(Rec));
}

bool ParseMemberLine(const std::string& Line, BesselRec& Rec) {
  std::string t = Line;
  bool ok = true;
  auto next = [&]() {
    long double v = ExtractReal(t);
    if (!std::isfinite(v)) { ok = false; v = 0; }
    return v;
  };
  Rec.JDMax = next();
  Rec.DeltaTDays = static_cast<float>(next());
  Rec.Gamma = static_cast<float>(next());
  if (!std::isfinite(Rec.DeltaTDays) || !std::isfinite(Rec.Gamma)) {
    ok = false;
    Rec.DeltaTDays = 0;
    Rec.Gamma = 0;
  }
  Rec.X = next();
  Rec.Y = next();
  Rec.L1 = next();
  Rec.L2 = next();
  Rec.F1 = next();
  Rec.F2 = next();
  Rec.Slope = next();
  const long double type = std::nearbyint(next());
  const long double saros = std::nearbyint(next());
  if (type >= 0 && type <= 6) {
    Rec.EclType = static_cast<uint8_t>(type);
  } else {
    Rec.EclType = 0;
    ok = false;
  }
  const long double lim = std::numeric_limits<int32_t>::max();
  Rec.SarosNo = static_cast<int32_t>(saros > lim ? lim : (saros < -lim ? -lim : saros));
  Rec.TypeText = EclipseText("Finsternis", Rec.EclType);
  return ok;
}

long double LineJD(const std::string& Line) { return StrToReal(Line); }

}  // namespace nodalis
