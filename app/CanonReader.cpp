// BuildSeriesFromCanon — the Saros series from the canon file.
//
// Canon members keep the computed l1, l2, f1, f2, slope and Saros fields;
// their time, gamma and type are the canon's, and x, y are scaled so that
// their distance from the centre matches the canon's gamma.  Gaps of more
// than one Saros between canon members are filled with computed members of
// type 0 (shown as "interpoliert"), shifted and scaled like the canon member
// before them.  The file is read into a new list; the caller's list changes
// only when the file held data.
#include <cmath>
#include <fstream>

#include "CanonReader.h"
#include "SeriesBuilder.h"
#include "SeriesState.h"
#include "Utils.h"

namespace nodalis {

namespace {
constexpr long double GAP_DAYS = 6586.321316003L;    // one Saros + 1 day
constexpr long double PREV_START = 99999999.9L;
constexpr int MAX_FILL_PER_GAP = 400;

// getline with a length bound: an overlong line is consumed and reported
// as too long instead of being held in memory.
bool ReadBoundedLine(std::istream& in, std::string& line, bool& too_long, std::size_t& total) {
  line.clear();
  too_long = false;
  char c;
  bool any = false;
  while (total < MAX_CANON_FILE_BYTES && in.get(c)) {
    ++total;
    any = true;
    if (c == '\n') return true;
    if (line.size() <= MAX_CANON_LINE_BYTES) line += c;
    else too_long = true;
  }
  return any;
}
}  // namespace

std::string CanonFileName() {
  const std::size_t p = CanonPath.find_last_of("/\\");
  return p == std::string::npos ? CanonPath : CanonPath.substr(p + 1);
}

bool BuildSeriesFromCanon(std::vector<std::string>& List, long double JD, std::string* Message,
                          const std::function<void(const std::string&)>& Progress) {
  auto fail = [&](const std::string& text) {
    if (Message) *Message = text;
    return false;
  };
  if (!JDSupported(JD)) return fail(JDRangeText());
  std::string T;
  const int32_t N = SarosNumber(JD, T);
  std::ifstream F;
  if (!OpenTextFile(F, CanonPath))
    return fail("Canon-Datei nicht gefunden oder nicht lesbar: " + CanonPath);

  std::vector<std::string> out;
  bool Found = false;
  long double Prev = PREV_START, Shift = 0, lastJD = 1.0L;
  float Scale = 1.0f;
  BesselRec R;
  std::string line;
  bool too_long = false;
  std::size_t total = 0;
  while (ReadBoundedLine(F, line, too_long, total)) {
    PumpMessage();
    CanonLine c;
    const bool ok = !too_long && ParseCanonLine(line, c);
    lastJD = c.JD;
    if (!Found) {
      if (ok && std::fabs(CalendarToJD(c.Year, c.Month, static_cast<float>(c.Day)) - c.JD) < 1.0L) {
        Found = true;
        out.push_back(RealToStr(1, 6, c.JD) + " Start +(" + T + ")");
      }
      continue;
    }
    if (!ok || c.Saros != N) continue;
    const long double J = c.JD;
    // Gap filling: computed members one Saros apart, as type 0.
    if (J - Prev > GAP_DAYS) {
      int filled = 0;
      do {
        Prev += SAROS_DAYS;
        CalcEclipse(0, true, R, Prev);
        R.JDMax += Shift;
        R.EclType = 0;
        R.X *= Scale;
        R.Y *= Scale;
        if (EkliptikalNordChecked) RotateToEclipticNorth(R);
        AppendMemberLine(R, out);
      } while (J - Prev >= GAP_DAYS && ++filled < MAX_FILL_PER_GAP);
    }
    Prev = J;
    if (Progress) Progress(DateShort(0, J) + RealToStr(9, 4, c.Gamma));
    CalcEclipse(0, true, R, J);
    Shift = J - R.JDMax;
    // A computed gamma of exactly 0 cannot be scaled; keep x, y then.
    Scale = R.Gamma != 0 ? c.Gamma / R.Gamma : 1.0f;
    if (!std::isfinite(Scale)) Scale = 1.0f;
    R.X *= Scale;
    R.Y *= Scale;
    R.Gamma = c.Gamma;
    R.JDMax = J;
    R.EclType = CanonTypeToCode(c.Kind, c.Central);
    if (EkliptikalNordChecked) RotateToEclipticNorth(R);
    AppendMemberLine(R, out);
  }
  if (total >= MAX_CANON_FILE_BYTES)
    return fail("Canon-Datei zu gro\xDF (mehr als " + std::to_string(MAX_CANON_FILE_BYTES >> 20) +
                " MB): " + CanonFileName());
  if (!Found)
    return fail("Canon-Datei enth\xE4lt keine Daten: " + CanonFileName());
  out.push_back(RealToStr(1, 6, lastJD) + " Ende");
  List = std::move(out);
  return true;
}

}  // namespace nodalis
