// Canon file lines: type codes and the eleven-field data line.
#include <charconv>
#include <cmath>

#include "CanonReader.h"
#include "TIMLIB.h"

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

}  // namespace nodalis
