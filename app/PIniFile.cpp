// PIniFile — settings file reader and writer with profile-file semantics.
// See PIniFile.h for the rules.
#include "PIniFile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace nodalis {

namespace {

// Settings files are a few lines long; anything beyond this is not read in
// full, and is then never rewritten (so that no data beyond it gets lost).
constexpr std::size_t INI_MAX_BYTES = 1u << 20;

std::string g_iniPath;

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

// Whole file, or nullopt when it does not exist or cannot be read. Sets
// *truncated when the file is larger than INI_MAX_BYTES.
std::optional<std::string> ReadFile(const std::string& path, bool* truncated) {
  *truncated = false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string data;
  data.resize(INI_MAX_BYTES + 1);
  in.read(data.data(), static_cast<std::streamsize>(data.size()));
  data.resize(static_cast<std::size_t>(in.gcount()));
  if (data.size() > INI_MAX_BYTES) {
    data.resize(INI_MAX_BYTES);
    *truncated = true;
  }
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

bool IniPathIsAbsolute(const std::string& Name) {
  return (!Name.empty() && Name[0] == '/') || (Name.size() >= 2 && Name[1] == ':');
}

std::string IniSystemDir() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string dir;
  if (xdg && xdg[0] == '/') {
    dir = xdg;
  } else {
    const char* home = std::getenv("HOME");
    dir = std::string(home && home[0] ? home : "/tmp") + "/.config";
  }
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

std::string IniFileReadString(const std::string& Path, const std::string& Section,
                              const std::string& Key, const std::string& Default) {
  bool truncated = false;
  std::optional<std::string> data = ReadFile(Path, &truncated);
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

  bool truncated = false;
  std::optional<std::string> data = ReadFile(Path, &truncated);
  if (truncated) return false;
  std::vector<Line> lines = data ? SplitLines(*data) : std::vector<Line>{};
  std::string eol = (data && data->find("\r\n") != std::string::npos) ? "\r\n" : "\n";

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
    Line& before = lines[lastInSection];
    if (before.eol.empty()) before.eol = eol;
    lines.insert(lines.begin() + lastInSection + 1, Line{Key + "=" + value, eol});
  } else {
    if (!lines.empty() && lines.back().eol.empty()) lines.back().eol = eol;
    lines.push_back(Line{"[" + Section + "]", eol});
    lines.push_back(Line{Key + "=" + value, eol});
  }

  std::string out;
  for (const Line& l : lines) out += l.text + l.eol;

  // Write a sibling file and rename it over the old one, so that a failed
  // write never leaves a half-written settings file behind.
  std::error_code ec;
  std::filesystem::path target(Path);
  if (std::filesystem::is_symlink(target, ec)) {
    std::filesystem::path resolved = std::filesystem::canonical(target, ec);
    if (!ec) target = resolved;
  }
  std::filesystem::path tmp = target;
  tmp += ".tmp" + std::to_string(static_cast<long>(::getpid()));
  {
    std::ofstream o(tmp, std::ios::binary | std::ios::trunc);
    if (!o) return false;
    o.write(out.data(), static_cast<std::streamsize>(out.size()));
    o.flush();
    if (!o) {
      o.close();
      std::filesystem::remove(tmp, ec);
      return false;
    }
  }
  if (data) {
    // Keep the old file's permissions.
    std::filesystem::perms p = std::filesystem::status(target, ec).permissions();
    if (!ec) std::filesystem::permissions(tmp, p, ec);
  }
  std::filesystem::rename(tmp, target, ec);
  if (ec) {
    std::filesystem::remove(tmp, ec);
    return false;
  }
  return true;
}

void SetIniFile(const std::string& Name) {
  std::error_code ec;
  std::string dir = std::filesystem::current_path(ec).string();
  if (ec) dir = ".";
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();

  g_iniPath = IniPathIsAbsolute(Name) ? Name : dir + "/" + Name;

  std::string s = Trim(IniReadString("Ini", "IniFile", ""));
  bool useSystemDir = IniReadBool("Ini", "UseWinDir", false);
  std::string path = g_iniPath;
  if (!s.empty()) {
    if (useSystemDir) dir = IniSystemDir();
    std::string n = IniReadString("Ini", "IniFile", "");
    path = IniPathIsAbsolute(n) ? n : dir + "/" + n;
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
  return IniFileWriteString(g_iniPath, Section, Key, Value);
}

}  // namespace nodalis
