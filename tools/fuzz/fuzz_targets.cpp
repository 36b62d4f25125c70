// Fuzz targets of the eclipse core's text readers (see fuzz_targets.h).
#include "fuzz_targets.h"

#include <cmath>
#include <string>

#include "CanonReader.h"
#include "CliArgs.h"
#include "SeriesBuilder.h"
#include "TIMLIB.h"
#include "Utils.h"

namespace nodalis::fuzz {

namespace {
std::string Text(const uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}
}  // namespace

bool ExtractReal(const uint8_t* data, std::size_t size) {
  std::string t = Text(data, size);
  if (!std::isfinite(StrToReal(t))) return false;
  (void)StrToIntLoose(t);
  // Every call removes at least one character (or empties the text).
  std::size_t calls = 0;
  while (!t.empty()) {
    const std::size_t before = t.size();
    const long double v = nodalis::ExtractReal(t);
    if (!std::isfinite(v)) return false;
    if (!t.empty() && t.size() >= before) return false;
    if (++calls > size + 2) return false;
    if (!t.empty() && calls % 7 == 0) {  // formatting of what was read
      const int width = static_cast<int>(data[calls % size] % 40);
      const int decimals = static_cast<int>(data[(calls + 1) % size] % 25) - 12;
      const std::string s = RealToStr(width, decimals, v);
      if (s.empty() || (std::isfinite(std::fabs(v)) && std::fabs(v) < 1e30L &&
                        std::fabs(StrToReal(s) - v) > std::fabs(v) * 1e-9L + 1.0L))
        return false;
    }
  }
  return true;
}

bool MemberLine(const uint8_t* data, std::size_t size) {
  BesselRec r;
  ParseMemberLine(Text(data, size), r);
  for (long double v : {r.JDMax, r.X, r.Y, r.L1, r.L2, r.F1, r.F2, r.Slope})
    if (!std::isfinite(v)) return false;
  if (!std::isfinite(r.Gamma) || !std::isfinite(r.DeltaTDays) || r.EclType > 6) return false;
  if (r.TypeText != EclipseText("Finsternis", r.EclType)) return false;
  BesselRec back;
  ParseMemberLine(nodalis::MemberLine(r), back);
  return back.EclType == r.EclType && back.SarosNo == r.SarosNo;
}

bool CanonLine(const uint8_t* data, std::size_t size) {
  nodalis::CanonLine c;
  const bool ok = ParseCanonLine(Text(data, size), c);
  if (!ok) return c.JD == 1.0L && c.Year == 1;
  if (!JDSupported(c.JD) || !std::isfinite(c.Gamma)) return false;
  return CanonTypeToCode(c.Kind, c.Central) <= 6;
}

bool CliArgs(const uint8_t* data, std::size_t size) {
  // Up to three arguments separated by NUL bytes.
  std::string args[3];
  std::size_t k = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0 && k < 2) ++k;
    else args[k] += static_cast<char>(data[i]);
  }
  long double v;
  if (ParseCliReal(args[0], v) && !std::isfinite(v)) return false;
  int32_t n;
  (void)ParseCliInt(args[1], n);
  long double jd;
  if (ParseCliDate(args[2], jd)) {
    if (!JDSupported(jd)) return false;
    std::string d, t;
    JDToIsoDateTime(jd, d, t);
    if (d.empty() || t.size() != 8) return false;
  }
  return true;
}

}  // namespace nodalis::fuzz
