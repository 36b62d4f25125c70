// Canon file reading: type codes, the eleven-field data line, and the
// bounded reader that picks the lines of one series (no eclipse computed).
#include <charconv>
#include <cmath>

#include "astro/Astrcalc.h"
#include "app/core/CanonParse.h"
#include "app/base/SafeFile.h"
#include "astro/TIMLIB.h"
#include "app/base/Utils.h"

namespace nodalis {

std::string CanonPath = DEFAULT_CANON_PATH;

uint8_t CanonTypeToCode(int Kind, int Central) {
  switch (Kind) {
    case 1: return 1;
    case 2: return Central == 0 ? 3 : 5;
    case 3: return Central == 0 ? 2 : 4;
    case 4: return 6;
    default: return 0;
  }
}

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Next blank-separated token of Line from position i.
bool NextToken(const std::string& Line, std::size_t& i, std::string_view& tok) {
  while (i < Line.size() && IsBlank(Line[i])) ++i;
  if (i >= Line.size()) return false;
  const std::size_t b = i;
  while (i < Line.size() && !IsBlank(Line[i])) ++i;
  tok = std::string_view(Line).substr(b, i - b);
  return true;
}

bool ReadInt(const std::string& Line, std::size_t& i, long long& v) {
  std::string_view t;
  if (!NextToken(Line, i, t)) return false;
  if (!t.empty() && t[0] == '+') t.remove_prefix(1);
  auto r = std::from_chars(t.data(), t.data() + t.size(), v);
  return r.ec == std::errc() && r.ptr == t.data() + t.size() &&
         v >= -2147483647LL && v <= 2147483647LL;
}

bool ReadReal(const std::string& Line, std::size_t& i, long double& v) {
  std::string_view t;
  if (!NextToken(Line, i, t)) return false;
  if (!t.empty() && t[0] == '+') t.remove_prefix(1);
  auto r = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
  return r.ec == std::errc() && r.ptr == t.data() + t.size() && std::isfinite(v);
}
}  // namespace

bool ParseCanonLine(const std::string& Line, CanonLine& Out) {
  long long y, m, d, kind, central, saros, skip_i;
  long double skip_r, gamma, jd;
  std::size_t i = 0;
  const bool ok = Line.size() <= MAX_CANON_LINE_BYTES &&
                  ReadInt(Line, i, y) && ReadInt(Line, i, m) && ReadInt(Line, i, d) &&
                  ReadInt(Line, i, kind) && ReadInt(Line, i, central) &&
                  ReadReal(Line, i, skip_r) && ReadReal(Line, i, gamma) &&
                  ReadInt(Line, i, saros) && ReadInt(Line, i, skip_i) &&
                  ReadInt(Line, i, skip_i) && ReadReal(Line, i, jd) &&
                  JDSupported(jd) && std::fabs(gamma) < 1e6L;
  Out = CanonLine{};
  if (!ok) return false;
  Out.Year = static_cast<int>(y);
  Out.Month = static_cast<int>(m);
  Out.Day = static_cast<int>(d);
  Out.Kind = static_cast<int>(kind);
  Out.Central = static_cast<int>(central);
  Out.Gamma = static_cast<float>(gamma);
  Out.Saros = static_cast<int32_t>(saros);
  Out.JD = jd;
  return true;
}

namespace {
constexpr long double GAP_DAYS = SAROS_DAYS + 1.0L;  // a gap: more than one Saros + 1 day
constexpr long double PREV_START = 99999999.9L;
constexpr long double MIN_MEMBER_STEP_DAYS = SAROS_DAYS / 2;

// The part of Path after its last "/", as text to show (only "/" separates
// folders here: a backslash is part of a file name).
std::string BaseNameText(const std::string& Path) {
  const std::size_t p = Path.rfind('/');
  return FileNameText(p == std::string::npos ? Path : Path.substr(p + 1));
}
}  // namespace

std::string CanonFileName() { return BaseNameText(CanonPath); }

std::string SkippedLinesText(int Count) {
  return std::to_string(Count) + (Count == 1 ? " Zeile" : " Zeilen") + " \xFC" "bergangen";
}

namespace {
// Blank (spaces, tabs, a CR) or a comment line beginning with "#".
bool HoldsNoData(const std::string& Line) {
  for (char c : Line) {
    if (c == '#') return true;
    if (!IsBlank(c)) return false;
  }
  return true;
}
}  // namespace

bool ReadCanonSeries(const std::string& Path, int32_t N, long double JD, CanonSeriesLines& Out,
                     std::string& Message) {
  const std::string name = BaseNameText(Path);
  std::string data;
  switch (ReadRegularFile(Path, MAX_CANON_FILE_BYTES, data)) {
    case FileStatus::Ok: break;
    case FileStatus::TooLarge:
      Message = "Canon-Datei zu gro\xDF (mehr als " + std::to_string(MAX_CANON_FILE_BYTES >> 20) +
                " MB): " + name;
      return false;
    default:  // missing, unreadable, or a FIFO, device or directory
      Message = "Canon-Datei nicht gefunden oder nicht lesbar: " + FileNameText(Path);
      return false;
  }
  auto refuse = [&](std::size_t lineNo, const std::string& why) {
    Message = "Canon-Datei " + name + ", Zeile " + std::to_string(lineNo) + ": " + why;
    return false;
  };
  const std::string series = "Saros " + std::to_string(N);

  CanonSeriesLines r;
  bool found = false;
  int listed = 0;  // members in the list so far, filled-in ones included
  long double prev = PREV_START;
  std::size_t pos = 0, lineNo = 0;
  std::string line;
  while (pos < data.size()) {
    std::size_t nl = data.find('\n', pos);
    if (nl == std::string::npos) nl = data.size();
    line.assign(data, pos, nl - pos);
    pos = nl + 1;
    ++lineNo;
    PumpMessage();
    CanonLine c;
    const bool ok = ParseCanonLine(line, c);
    r.EndJD = c.JD;
    if (!found) {
      // The first line whose date and Julian date agree starts the data.
      if (ok && std::fabs(CalendarToJD(c.Year, c.Month, static_cast<float>(c.Day)) - c.JD) < 1.0L) {
        found = true;
        r.StartJD = c.JD;
      }
      continue;
    }
    if (!ok) {
      if (!HoldsNoData(line)) ++r.Skipped;
      continue;
    }
    if (c.Saros != N) continue;
    const long double J = c.JD;
    if (std::fabs(J - JD) > MAX_SERIES_REACH_DAYS)
      return refuse(lineNo, "Finsternis der " + series + " weit au\xDF" "erhalb der Lebensdauer der Serie");
    int fills = 0;
    if (prev != PREV_START) {
      if (J - prev < MIN_MEMBER_STEP_DAYS)
        return refuse(lineNo, "Finsternis der " + series +
                                  " nicht eine Saros-Periode nach der vorigen (doppelt oder "
                                  "nicht in zeitlicher Reihenfolge)");
      // The same steps as the builder's gap filling (BuildSeriesFromCanon).
      if (J - prev > GAP_DAYS) {
        long double p = prev;
        do {
          p += SAROS_DAYS;
          if (++fills > MAX_FILLS_PER_GAP)
            return refuse(lineNo, "L\xFC" "cke von mehr als " + std::to_string(MAX_FILLS_PER_GAP) +
                                      " Saros-Perioden in der " + series);
        } while (J - p >= GAP_DAYS);
      }
    }
    listed += fills + 1;
    if (listed > MAX_SERIES_MEMBERS)
      return refuse(lineNo, "mehr als " + std::to_string(MAX_SERIES_MEMBERS) +
                                " Finsternisse in der " + series);
    r.Members.push_back(CanonMember{c, fills});
    prev = J;
  }
  if (!found) {
    Message = "Canon-Datei enth\xE4lt keine Daten: " + name;
    return false;
  }
  Out = std::move(r);
  return true;
}

}  // namespace nodalis
