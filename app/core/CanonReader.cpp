// BuildSeriesFromCanon — the Saros series from the canon file.
//
// Canon members keep the computed l1, l2, f1, f2, slope and Saros fields;
// their time, gamma and type are the canon's, and x, y are scaled so that
// their distance from the centre matches the canon's gamma.  Gaps of more
// than one Saros between canon members are filled with computed members of
// type 0 (shown as "interpoliert"), shifted and scaled like the canon member
// before them.  The file is read and checked completely (ReadCanonSeries)
// before the first eclipse is computed; the caller's list changes only when
// the file held data.
#include <cmath>

#include "app/core/CanonReader.h"
#include "app/core/SeriesBuilder.h"
#include "app/core/SeriesState.h"
#include "app/base/Utils.h"

namespace nodalis {

namespace {
constexpr long double PREV_START = 99999999.9L;
}  // namespace

bool BuildSeriesFromCanon(std::vector<std::string>& List, long double JD, std::string* Message,
                          const std::function<void(const std::string&)>& Progress,
                          int* SkippedLines) {
  auto fail = [&](const std::string& text) {
    if (Message) *Message = text;
    return false;
  };
  if (!JDSupported(JD)) return fail(JDRangeText());
  std::string T;
  const int32_t N = SarosNumber(JD, T);
  CanonSeriesLines S;
  std::string why;
  if (!ReadCanonSeries(CanonPath, N, JD, S, why)) return fail(why);
  if (SkippedLines) *SkippedLines = S.Skipped;
  // A series without a member is no answer: say so instead of an empty table.
  if (S.Members.empty())
    return fail("Die Canon-Datei " + CanonFileName() + " enth\xE4lt keine Finsternis der Saros " +
                std::to_string(N) + (S.Skipped > 0 ? " (" + SkippedLinesText(S.Skipped) + ")" : ""));

  std::vector<std::string> out;
  out.push_back(RealToStr(1, 6, S.StartJD) + " Start +(" + T + ")");
  long double Prev = PREV_START, Shift = 0;
  float Scale = 1.0f;
  BesselRec R;
  for (const CanonMember& m : S.Members) {
    // Gap filling: computed members one Saros apart, as type 0.
    for (int k = 0; k < m.FillsBefore; ++k) {
      PumpMessage();
      Prev += SAROS_DAYS;
      CalcEclipse(0, true, R, Prev);
      R.JDMax += Shift;
      R.EclType = 0;
      R.X *= Scale;
      R.Y *= Scale;
      if (EkliptikalNordChecked) RotateToEclipticNorth(R);
      AppendMemberLine(R, out);
    }
    PumpMessage();
    const long double J = m.Line.JD;
    Prev = J;
    if (Progress) Progress(DateShort(0, J) + RealToStr(9, 4, m.Line.Gamma));
    CalcEclipse(0, true, R, J);
    Shift = J - R.JDMax;
    // A computed gamma of exactly 0 cannot be scaled; keep x, y then.
    Scale = R.Gamma != 0 ? m.Line.Gamma / R.Gamma : 1.0f;
    if (!std::isfinite(Scale)) Scale = 1.0f;
    R.X *= Scale;
    R.Y *= Scale;
    R.Gamma = m.Line.Gamma;
    R.JDMax = J;
    R.EclType = CanonTypeToCode(m.Line.Kind, m.Line.Central);
    if (EkliptikalNordChecked) RotateToEclipticNorth(R);
    AppendMemberLine(R, out);
  }
  out.push_back(RealToStr(1, 6, S.EndJD) + " Ende");
  List = std::move(out);
  return true;
}

}  // namespace nodalis
