// CliArgs — command-line values of nodalis-cli (see CliArgs.h).
#include "app/cli/CliArgs.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "astro/TIMLIB.h"
#include "app/base/Utils.h"

namespace nodalis {

bool ParseCliReal(const std::string& Text, long double& Value) {
  if (Text.empty() || Text.size() > 64) return false;
  const char* b = Text.data();
  const char* e = b + Text.size();
  if (*b == '+' && ++b != e && (*b == '-' || *b == '+')) return false;  // "+-1"
  long double v = 0;
  auto r = std::from_chars(b, e, v, std::chars_format::general);
  if (r.ec != std::errc() || r.ptr != e || !std::isfinite(v)) return false;
  Value = v;
  return true;
}

bool ParseCliInt(const std::string& Text, int32_t& Value) {
  if (Text.empty() || Text.size() > 16) return false;
  const char* b = Text.data();
  const char* e = b + Text.size();
  if (*b == '+' && ++b != e && (*b == '-' || *b == '+')) return false;  // "+-5"
  int32_t v = 0;
  auto r = std::from_chars(b, e, v);
  if (r.ec != std::errc() || r.ptr != e) return false;
  Value = v;
  return true;
}

namespace {
// Years beyond this are outside the supported range without computing a
// Julian date (the range is a few thousand years either side of now).
constexpr long long YEAR_LIMIT = 100000;

// Reads exactly n digits at s[i...] (n = 0: one or more, at most 9).
bool Digits(const std::string& s, std::size_t& i, int n, long long& v) {
  const std::size_t b = i;
  v = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9' && (n == 0 ? i - b < 9 : i - b < std::size_t(n)))
    v = v * 10 + (s[i++] - '0');
  return n == 0 ? i > b : i - b == std::size_t(n);
}

// The Julian date the date dialog takes from these fields in zone 0 (TDT,
// or UT without summer time): its Julian-date field with six decimals.
long double DialogJD(const CalendarFields& Fields) {
  return StrToReal(JDFieldText(FieldsToJD(Fields, 0)));
}

int DaysInMonth(long long y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m != 2) return days[m - 1];
  const bool julian = y < 1582;
  const bool leap = julian ? (y % 4 == 0) : (y % 4 == 0 && (y % 100 != 0 || y % 400 == 0));
  return leap ? 29 : 28;
}
}  // namespace

bool ParseCliDate(const std::string& s, long double& JD, bool* OutOfRange) {
  if (OutOfRange) *OutOfRange = false;
  if (s.size() > 32) return false;
  std::size_t i = 0;
  bool neg = false;
  if (i < s.size() && s[i] == '-') { neg = true; ++i; }
  long long y, mo, d, h = 0, mi = 0, sec = 0;
  if (!Digits(s, i, 0, y) || i >= s.size() || s[i++] != '-') return false;
  if (!Digits(s, i, 2, mo) || i >= s.size() || s[i++] != '-') return false;
  if (!Digits(s, i, 2, d)) return false;
  if (i < s.size()) {
    if (s[i] != 'T' && s[i] != ' ') return false;
    ++i;
    if (!Digits(s, i, 2, h) || i >= s.size() || s[i++] != ':' || !Digits(s, i, 2, mi))
      return false;
    if (i < s.size()) {
      if (s[i++] != ':' || !Digits(s, i, 2, sec)) return false;
    }
    if (i != s.size()) return false;
  }
  if (neg) y = -y;
  if (mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, static_cast<int>(mo)) || h > 23 ||
      mi > 59 || sec > 59)
    return false;
  if (y == 1582 && mo == 10 && d > 4 && d < 15) return false;  // dropped by the reform
  // Well-formed from here on; years far outside need no calendar arithmetic.
  long double jd = 0;
  const bool inRange = y >= -YEAR_LIMIT && y <= YEAR_LIMIT &&
                       JDSupported(jd = DialogJD(CalendarFields{
                                       static_cast<int>(y), static_cast<int>(mo), static_cast<int>(d),
                                       static_cast<int>(h), static_cast<int>(mi), static_cast<int>(sec)}));
  if (!inRange) {
    if (OutOfRange) *OutOfRange = true;
    return false;
  }
  JD = jd;
  return true;
}

namespace {
// The directory part and the file name of Path.
void SplitPath(const std::string& Path, std::string& Dir, std::string& Base) {
  const std::size_t slash = Path.rfind('/');
  Base = slash == std::string::npos ? Path : Path.substr(slash + 1);
  Dir = slash == std::string::npos ? "." : slash == 0 ? "/" : Path.substr(0, slash);
}
}  // namespace

std::string CheckDiagramPath(const std::string& Path) {
  return CheckOutputFilePath(Path, {"bmp", "png", "pdf", "svg"}, "(.bmp, .png, .pdf oder .svg)");
}

std::string CheckOutputFilePath(const std::string& Path, const std::vector<std::string>& Extensions,
                                const std::string& Known) {
  std::string dir, base;
  SplitPath(Path, dir, base);
  const std::size_t dot = base.rfind('.');
  std::string ext = dot == std::string::npos ? std::string() : base.substr(dot + 1);
  for (char& c : ext) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  const std::string shown = FileNameText(Path);
  bool known = false;
  for (const std::string& e : Extensions) known = known || ext == e;
  if (base.empty() || !known) return "Unbekanntes Dateiformat: " + shown + " " + Known;
  if (!IsValidUtf8(Path)) return "Dateiname ist kein g\xFCltiges UTF-8: " + shown;
  // The file system's limits, before anything is computed: a longer name
  // would only fail when the diagram is written, after the table.
  if (Path.size() >= PATH_MAX) return "Pfad zu lang (h\xF6" "chstens " + std::to_string(PATH_MAX - 1) + " Bytes): " + shown;
  const long nameMax = ::pathconf(dir.c_str(), _PC_NAME_MAX);
  const std::size_t nameLimit = nameMax > 0 ? static_cast<std::size_t>(nameMax) : NAME_MAX;
  if (base.size() > nameLimit)
    return "Dateiname zu lang (h\xF6" "chstens " + std::to_string(nameLimit) + " Bytes): " + shown;
  struct stat st{};
  if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    return "Verzeichnis nicht gefunden: " + FileNameText(dir);
  if (::access(dir.c_str(), W_OK | X_OK) != 0)
    return "Verzeichnis nicht beschreibbar: " + FileNameText(dir);
  if (::stat(Path.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return "keine gew\xF6hnliche Datei: " + shown;
    if (::access(Path.c_str(), W_OK) != 0) return "Datei schreibgesch\xFCtzt: " + shown;
  } else if (::lstat(Path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    // A link to a file not there yet is written through to its target: the
    // target's folder must exist, or the write would fail after the table.
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(Path.c_str(), target.data(), target.size());
    if (n > 0 && static_cast<std::size_t>(n) < target.size()) {
      target.resize(static_cast<std::size_t>(n));
      if (target[0] != '/') target = dir + "/" + target;
      std::string targetDir, targetBase;
      SplitPath(target, targetDir, targetBase);
      if (::stat(targetDir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return "Verzeichnis nicht gefunden: " + FileNameText(targetDir) + " (Ziel des Verweises " + shown + ")";
    }
  }
  return "";
}

bool SameOutputFile(const std::string& A, const std::string& B) {
  if (A == B) return true;
  struct stat a{}, b{};
  if (::stat(A.c_str(), &a) == 0 && ::stat(B.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino)
    return true;
  std::string dirA, baseA, dirB, baseB;
  SplitPath(A, dirA, baseA);
  SplitPath(B, dirB, baseB);
  return baseA == baseB && ::stat(dirA.c_str(), &a) == 0 && ::stat(dirB.c_str(), &b) == 0 &&
         a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace nodalis
