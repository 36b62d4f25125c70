// Fuzz targets of the eclipse core's text readers (see fuzz_targets.h).
#include "tools/fuzz/fuzz_targets.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "astro/Astrcalc.h"
#include "app/core/CanonParse.h"
#include "app/cli/CliArgs.h"
#include "app/core/PIniFile.h"
#include "app/core/MemberLine.h"
#include "astro/TIMLIB.h"
#include "app/base/Utils.h"

namespace nodalis::fuzz {

namespace {
std::string Text(const uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// A private directory for the file targets, removed at exit; in memory
// (/dev/shm) where there is one, so that the writer's sync costs nothing.
const std::string& WorkDir() {
  static char shm[] = "/dev/shm/nodalis-fuzz-XXXXXX";
  static char tmp[] = "/tmp/nodalis-fuzz-XXXXXX";
  static const char* made = nullptr;
  static const std::string dir = [] {
    made = ::mkdtemp(shm);
    if (!made) made = ::mkdtemp(tmp);
    if (made) std::atexit([] { ::rmdir(made); });
    return std::string(made ? made : "/tmp");
  }();
  return dir;
}

bool WriteWhole(const std::string& path, const std::string& content) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(content.data(), 1, content.size(), f) == content.size();
  return std::fclose(f) == 0 && ok;
}

std::string ReadWhole(const std::string& path) {
  std::string out;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fclose(f);
  return out;
}

// Lines with their line ends (included when present).
std::vector<std::string> RawLines(const std::string& s) {
  // Lines end at LF, CR LF or a lone CR, as the settings file's reader
  // takes them; each line keeps its line end.
  std::vector<std::string> v;
  std::size_t pos = 0;
  while (pos < s.size()) {
    std::size_t end = s.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = s.size();
    else if (s[end] == '\r' && end + 1 < s.size() && s[end + 1] == '\n') end += 2;
    else end += 1;
    v.push_back(s.substr(pos, end - pos));
    pos = end;
  }
  return v;
}

// True when the old lines, except the one at index skip, appear in the new
// lines in order and unchanged; the old last line may have gained a line end
// ("\n", "\r\n" or "\r") when it had none, and a line ending in a lone CR
// may have gained "\n" (the writer's CR LF in a file of LF or CR LF lines).
bool KeepsLines(const std::vector<std::string>& o, const std::vector<std::string>& n,
                std::size_t skip) {
  std::size_t j = 0;
  for (std::size_t i = 0; i < o.size(); ++i) {
    if (i == skip) continue;
    const char last = o[i].back();
    const bool open = i + 1 == o.size() && last != '\n' && last != '\r';
    const bool loneCR = last == '\r';
    while (j < n.size() && n[j] != o[i] &&
           !(open && (n[j] == o[i] + "\n" || n[j] == o[i] + "\r\n" || n[j] == o[i] + "\r")) &&
           !(loneCR && n[j] == o[i] + "\n"))
      ++j;
    if (j == n.size()) return false;
    ++j;
  }
  return true;
}

std::size_t FilesIn(const std::string& dir) {
  std::size_t n = 0;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (const dirent* e = ::readdir(d))
      if (e->d_name[0] != '.') ++n;
    ::closedir(d);
  }
  return n;
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

bool SettingsFile(const uint8_t* data, std::size_t size) {
  static const char* const sections[] = {"Eclipses", "eclipses", "Ini", "Neu Teil"};
  static const char* const keys[] = {"Lorvan-Canon", "LORVAN-canon", "IniFile", "k"};
  const std::string section = size > 0 ? sections[data[0] % 4] : "Eclipses";
  const std::string key = size > 1 ? keys[data[1] % 4] : "Lorvan-Canon";
  const std::size_t vlen = size > 2 ? std::min<std::size_t>(data[2] % 32, size - 3) : 0;
  const std::string value = size > 2 ? Text(data + 3, vlen) : "";
  const std::string before = size > 3 + vlen ? Text(data + 3 + vlen, size - 3 - vlen) : "";

  const std::string path = WorkDir() + "/Nodalis.ini";
  const std::string ref = WorkDir() + "/ref.ini";
  const bool missing = size == 0;
  if (!missing && !WriteWhole(path, before)) return false;
  const bool written = IniFileWriteString(path, section, key, value);
  const std::string after = ReadWhole(path);
  // What a fresh file with only this key reads back.
  std::string clean;
  for (char c : value)
    if (c != '\r' && c != '\n') clean += c;
  WriteWhole(ref, "[" + section + "]\n" + key + "=" + clean + "\n");
  const std::string want = IniFileReadString(ref, section, key, "\x01");
  const std::string got = IniFileReadString(path, section, key, "\x01");
  ::unlink(ref.c_str());
  const std::size_t files = FilesIn(WorkDir());  // no temporary file left behind
  ::unlink(path.c_str());
  if (!written || got != want || files != 1) return false;

  const std::vector<std::string> o = RawLines(before), n = RawLines(after);
  if (n.size() > o.size() + 2) return false;
  if (KeepsLines(o, n, o.size())) return true;
  // Else exactly one old line changed: a line of that key.
  for (std::size_t i = 0; i < o.size(); ++i) {
    const std::size_t eq = o[i].find('=');
    if (eq == std::string::npos) continue;
    std::string k = o[i].substr(0, eq);
    while (!k.empty() && static_cast<unsigned char>(k.back()) <= 0x20) k.pop_back();
    while (!k.empty() && static_cast<unsigned char>(k.front()) <= 0x20) k.erase(0, 1);
    if (UpperCaseText(k) == UpperCaseText(key) && KeepsLines(o, n, i)) return true;
  }
  return false;
}

bool CanonFile(const uint8_t* data, std::size_t size) {
  constexpr int32_t N = 145;
  constexpr long double JD = 2457987.268519L;  // 2017 Aug 21, a member of Saros 145
  const std::string path = WorkDir() + "/canon.txt";
  if (!WriteWhole(path, Text(data, size))) return false;
  CanonSeriesLines s;
  std::string message;
  const bool ok = ReadCanonSeries(path, N, JD, s, message);
  ::unlink(path.c_str());
  if (!ok) return !message.empty();
  if (!std::isfinite(s.StartJD) || !std::isfinite(s.EndJD)) return false;
  int listed = 0;
  long double prev = 0;
  for (std::size_t i = 0; i < s.Members.size(); ++i) {
    const CanonMember& m = s.Members[i];
    if (m.Line.Saros != N || !JDSupported(m.Line.JD)) return false;
    if (std::fabs(m.Line.JD - JD) > MAX_SERIES_REACH_DAYS) return false;
    if (i > 0 && m.Line.JD - prev < SAROS_DAYS / 2) return false;
    if (m.FillsBefore < 0 || m.FillsBefore > MAX_FILLS_PER_GAP || (i == 0 && m.FillsBefore)) return false;
    listed += m.FillsBefore + 1;
    prev = m.Line.JD;
  }
  return listed <= MAX_SERIES_MEMBERS;
}

}  // namespace nodalis::fuzz
