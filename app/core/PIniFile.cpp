// PIniFile — settings file reader and writer with profile-file semantics.
// See PIniFile.h for the rules.
#include "app/core/PIniFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "app/base/SafeFile.h"

namespace nodalis {

namespace {

// Settings files are a few lines long; anything beyond this is not read in
// full, and is then never rewritten (so that no data beyond it gets lost).
constexpr std::size_t INI_MAX_BYTES = 1u << 20;

std::string g_iniPath;
// The configuration folder of the program, created (mode 0700) when the
// settings file in it is first written; empty when the file lies elsewhere.
std::string g_createDir;

// The program's own folder in the configuration directory.
constexpr const char* CONFIG_SUBDIR = "nodalis";

bool IsBlankOrControl(unsigned char c) { return c <= 0x20; }

std::string Trim(const std::string& s) {
  std::size_t a = 0, b = s.size();
  while (a < b && IsBlankOrControl(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && IsBlankOrControl(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

// Whole file, or nullopt when it cannot be used: missing, not a regular
// file (a FIFO would block), unreadable, or larger than INI_MAX_BYTES.
std::optional<std::string> ReadFile(const std::string& path, FileStatus* status) {
  std::string data;
  *status = ReadRegularFile(path, INI_MAX_BYTES, data);
  if (*status != FileStatus::Ok) return std::nullopt;
  return data;
}

// One line of the file: its text without the line end, and the line end
// itself ("\r\n", "\n" or empty for the last line).
struct Line {
  std::string text;
  std::string eol;
};

std::vector<Line> SplitLines(const std::string& data) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < data.size()) {
    std::size_t nl = data.find('\n', pos);
    Line l;
    if (nl == std::string::npos) {
      l.text = data.substr(pos);
      pos = data.size();
    } else {
      l.text = data.substr(pos, nl - pos);
      l.eol = "\n";
      pos = nl + 1;
    }
    if (!l.text.empty() && l.text.back() == '\r') {
      l.text.pop_back();
      l.eol = "\r" + l.eol;
    }
    lines.push_back(std::move(l));
  }
  return lines;
}

// Section name when the line is a section header.
std::optional<std::string> SectionOf(const std::string& text) {
  std::string t = Trim(text);
  if (t.empty() || t[0] != '[') return std::nullopt;
  std::size_t close = t.find(']');
  return Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

// Key and raw value when the line is "Key=Value" (not a comment).
bool KeyValueOf(const std::string& text, std::string* key, std::string* value) {
  std::size_t eq = text.find('=');
  if (eq == std::string::npos) return false;
  std::string k = Trim(text.substr(0, eq));
  if (k.empty() || k[0] == ';') return false;
  *key = k;
  *value = text.substr(eq + 1);
  return true;
}

std::string CleanValue(const std::string& raw) {
  std::string v = Trim(raw);
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
  return v;
}

}  // namespace

bool IniPathIsAbsolute(const std::string& Name) { return !Name.empty() && Name[0] == '/'; }

bool IniPathHasDrive(const std::string& Name) { return Name.size() >= 2 && Name[1] == ':'; }

std::string IniResolveName(const std::string& Name, const std::string& Dir) {
  if (IniPathIsAbsolute(Name)) return Name;
  if (IniPathHasDrive(Name)) {
    const std::size_t p = Name.find_last_of("\\/");
    const std::string base = Name.substr(p == std::string::npos || p < 2 ? 2 : p + 1);
    return base.empty() ? std::string() : IniSystemDir() + "/" + base;
  }
  return Dir + "/" + Name;
}

std::string IniSystemDir() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string dir;
  if (xdg && xdg[0] == '/') {
    dir = xdg;
  } else {
    // The home directory; without $HOME, the one the user database names.
    const char* home = std::getenv("HOME");
    std::string h = home && home[0] == '/' ? home : "";
    if (h.empty()) {
      if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/')
        h = pw->pw_dir;
    }
    dir = (h.empty() ? std::string("/tmp") : h) + "/.config";
  }
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

std::string IniConfigDir() { return IniSystemDir() + "/" + CONFIG_SUBDIR; }

namespace {
// Creates Dir and its missing parents with mode 0700 (less the umask), as
// the XDG base directory rules ask for. True when Dir is a directory then.
bool MakePrivateDirs(const std::string& Dir) {
  struct stat st{};
  if (::stat(Dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const std::size_t slash = Dir.rfind('/');
  if (slash != std::string::npos && slash > 0 && !MakePrivateDirs(Dir.substr(0, slash))) return false;
  if (::mkdir(Dir.c_str(), 0700) == 0) return true;
  return errno == EEXIST && ::stat(Dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
}  // namespace

std::string IniFileReadString(const std::string& Path, const std::string& Section,
                              const std::string& Key, const std::string& Default) {
  FileStatus status;
  std::optional<std::string> data = ReadFile(Path, &status);
  if (!data) return Default;
  bool inSection = false;
  for (const Line& l : SplitLines(*data)) {
    if (std::optional<std::string> sec = SectionOf(l.text)) {
      inSection = SameName(*sec, Section);
      continue;
    }
    std::string k, v;
    if (inSection && KeyValueOf(l.text, &k, &v) && SameName(k, Key)) return CleanValue(v);
  }
  return Default;
}

bool IniFileWriteString(const std::string& Path, const std::string& Section,
                        const std::string& Key, const std::string& Value) {
  // A line end inside the value would split the key's line.
  std::string value;
  for (char c : Value)
    if (c != '\r' && c != '\n') value += c;

  // The file written is the link's target when Path is a link (the user's
  // own arrangement); a dangling or looping link is left alone, and so is a
  // link someone else planted in a shared sticky directory such as /tmp
  // (the rule of the kernel's fs.protected_symlinks, also where it is off).
  std::string target = Path;
  struct stat st{};
  if (::lstat(Path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    const std::size_t slash = Path.rfind('/');
    const std::string dir =
        slash == std::string::npos ? "." : slash == 0 ? "/" : Path.substr(0, slash);
    struct stat ds{};
    if (::stat(dir.c_str(), &ds) != 0) return false;
    const bool shared = (ds.st_mode & S_ISVTX) && (ds.st_mode & S_IWOTH);
    if (shared && st.st_uid != ::geteuid() && st.st_uid != ds.st_uid) return false;
    char resolved[PATH_MAX];
    if (!::realpath(Path.c_str(), resolved)) return false;
    target = resolved;
  }
  // Only a file that does not exist counts as missing. One that exists but
  // cannot be read completely, or is read-only, is left as it is: rewriting
  // it from what could be read would lose the rest. "Read-only" means no
  // write permission bit at all, also for a user whom the system would let
  // write (root), as the read-only attribute of a profile file works.
  FileStatus status;
  std::optional<std::string> data = ReadFile(target, &status);
  if (status != FileStatus::Ok && status != FileStatus::Missing) return false;
  if (data && (::stat(target.c_str(), &st) != 0 || (st.st_mode & 0222) == 0 ||
               ::access(target.c_str(), W_OK) != 0))
    return false;
  std::vector<Line> lines = data ? SplitLines(*data) : std::vector<Line>{};
  std::string eol = (data && data->find("\r\n") != std::string::npos) ? "\r\n" : "\n";
  // A line that gets a successor needs a full line end: the last line of a
  // file may have none, or a lone CR that readers do not take as one.
  auto endLine = [&](Line& l) {
    if (l.eol.empty()) l.eol = eol;
    else if (l.eol == "\r") l.eol = "\r\n";
  };

  std::ptrdiff_t sectionLine = -1, lastInSection = -1, keyLine = -1;
  std::string keySpelling = Key;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (std::optional<std::string> sec = SectionOf(lines[i].text)) {
      if (sectionLine >= 0) break;  // end of the wanted section
      if (SameName(*sec, Section)) sectionLine = lastInSection = static_cast<std::ptrdiff_t>(i);
      continue;
    }
    if (sectionLine < 0) continue;
    if (!Trim(lines[i].text).empty()) lastInSection = static_cast<std::ptrdiff_t>(i);
    std::string k, v;
    if (KeyValueOf(lines[i].text, &k, &v) && SameName(k, Key)) {
      keyLine = static_cast<std::ptrdiff_t>(i);
      keySpelling = k;
      break;
    }
  }

  if (keyLine >= 0) {
    lines[keyLine].text = keySpelling + "=" + value;
  } else if (sectionLine >= 0) {
    endLine(lines[lastInSection]);
    lines.insert(lines.begin() + lastInSection + 1, Line{Key + "=" + value, eol});
  } else {
    if (!lines.empty()) endLine(lines.back());
    lines.push_back(Line{"[" + Section + "]", eol});
    lines.push_back(Line{Key + "=" + value, eol});
  }

  std::string out;
  for (const Line& l : lines) out += l.text + l.eol;

  // A temporary file beside the target, renamed over it when complete: a
  // failed write never leaves a half-written settings file behind.
  return WriteFileAtomic(target, out);
}

void SetIniFile(const std::string& Name) {
  std::error_code ec;
  std::string dir = std::filesystem::current_path(ec).string();
  if (ec) dir = ".";
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();

  g_createDir.clear();
  g_iniPath = IniResolveName(Name, dir);
  if (g_iniPath.empty()) g_iniPath = dir + "/" + Name;
  // A plain name that the current directory does not hold (in any form: a
  // FIFO or a dangling link there is the user's and stays in charge) lives
  // in the program's configuration folder; plain IniFile names then resolve
  // beside it.
  if (!IniPathIsAbsolute(Name) && !IniPathHasDrive(Name) && !PathExists(g_iniPath)) {
    dir = IniConfigDir();
    g_iniPath = dir + "/" + Name;
    g_createDir = dir;
  }

  std::string s = Trim(IniReadString("Ini", "IniFile", ""));
  bool useSystemDir = IniReadBool("Ini", "UseWinDir", false);
  std::string path = g_iniPath;
  if (!s.empty()) {
    if (useSystemDir) dir = IniSystemDir();
    // A name that leaves no file name ("C:\") keeps the first file.
    const std::string n = IniResolveName(IniReadString("Ini", "IniFile", ""), dir);
    if (!n.empty()) path = n;
  } else if (useSystemDir) {
    path = IniSystemDir() + "/" + Name;
  }
  g_iniPath = path;
}

const std::string& IniFilePath() { return g_iniPath; }

std::string IniReadString(const std::string& Section, const std::string& Key,
                          const std::string& Default) {
  if (g_iniPath.empty()) return Default;
  return IniFileReadString(g_iniPath, Section, Key, Default);
}

bool IniReadBool(const std::string& Section, const std::string& Key, bool Default) {
  std::string t = IniReadString(Section, Key, Default ? "1" : "0");
  for (char& c : t) c = AsciiUpper(c);
  if (t == "TRUE" || t == "1") return true;
  if (t == "FALSE" || t == "0") return false;
  return Default;
}

bool IniWriteString(const std::string& Section, const std::string& Key,
                    const std::string& Value) {
  if (g_iniPath.empty()) return false;
  // The configuration folder is made when its settings file is first written.
  if (!g_createDir.empty() && g_iniPath.compare(0, g_createDir.size() + 1, g_createDir + "/") == 0 &&
      !MakePrivateDirs(g_createDir))
    return false;
  return IniFileWriteString(g_iniPath, Section, Key, Value);
}

}  // namespace nodalis
