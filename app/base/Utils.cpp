// Utils — text and number helpers (see Utils.h).
#include "app/base/Utils.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <iostream>
#include <limits>
#include <vector>

namespace nodalis {

std::function<void()> PumpMessageHook;
std::function<void(const std::string&)> ErrorBoxHook;

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNumberChar(char c) { return IsDigit(c) || c == ',' || c == '-' || c == '.'; }

// Pascal-style Val: checks that the whole of S is a real number in the
// standard syntax (leading blanks, optional sign, digits, optional "." and
// fraction, optional "E"/"e" with optional sign and digits).  Returns 0 when
// it is, otherwise the 1-based position of the first character that does not
// fit (length + 1 when the text ends too early).
std::size_t ValCode(const std::string& S) {
  std::size_t i = 0, n = S.size();
  while (i < n && S[i] == ' ') ++i;
  if (i < n && (S[i] == '+' || S[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && IsDigit(S[i])) { ++i; ++digits; }
  if (i < n && S[i] == '.') {
    ++i;
    while (i < n && IsDigit(S[i])) { ++i; ++digits; }
  }
  if (digits == 0) return i + 1;
  if (i < n && (S[i] == 'E' || S[i] == 'e')) {
    ++i;
    if (i < n && (S[i] == '+' || S[i] == '-')) ++i;
    std::size_t ed = 0;
    while (i < n && IsDigit(S[i])) { ++i; ++ed; }
    if (ed == 0) return i + 1;
  }
  return i == n ? 0 : i + 1;
}

// Value of the longest valid number at the start of S (0 without digits or
// when the value does not fit an extended).  Locale-independent.
long double PrefixValue(const std::string& S) {
  std::size_t i = 0, n = S.size();
  while (i < n && S[i] == ' ') ++i;
  std::string t;
  if (i < n && (S[i] == '+' || S[i] == '-')) { if (S[i] == '-') t += '-'; ++i; }
  std::size_t digits = 0;
  while (i < n && IsDigit(S[i])) { t += S[i++]; ++digits; }
  if (i < n && S[i] == '.') {
    t += S[i++];
    while (i < n && IsDigit(S[i])) { t += S[i++]; ++digits; }
  }
  if (digits == 0) return 0.0L;
  if (i < n && (S[i] == 'E' || S[i] == 'e')) {
    std::string e = "e";
    std::size_t j = i + 1;
    if (j < n && (S[j] == '+' || S[j] == '-')) e += S[j++];
    std::size_t ed = 0;
    while (j < n && IsDigit(S[j])) { e += S[j++]; ++ed; }
    if (ed > 0) t += e;
  }
  long double v = 0.0L;
  auto r = std::from_chars(t.data(), t.data() + t.size(), v);
  if (r.ec != std::errc() || !std::isfinite(v)) return 0.0L;
  return v;
}

}  // namespace

bool HasDigit(const std::string& Text) {
  for (char c : Text)
    if (IsDigit(c)) return true;
  return false;
}

int32_t ExtractInt(std::string& Text) {
  std::size_t i = 0;
  while (i < Text.size() && Text[i] != '-' && !IsDigit(Text[i])) ++i;
  Text.erase(0, i);
  std::size_t j = 0;
  while (j < Text.size() && (Text[j] == '-' || IsDigit(Text[j]))) ++j;
  std::string run = Text.substr(0, j);
  Text.erase(0, j);
  // The integer part of the run: an optional leading minus and its digits.
  std::size_t k = 0;
  bool neg = false;
  if (k < run.size() && run[k] == '-') { neg = true; ++k; }
  long long v = 0;
  while (k < run.size() && IsDigit(run[k])) {
    v = v * 10 + (run[k] - '0');
    if (v > 2147483648LL) v = 2147483648LL;
    ++k;
  }
  if (neg) v = -v;
  if (v > 2147483647LL) v = 2147483647LL;
  return static_cast<int32_t>(v);
}

int32_t StrToIntLoose(const std::string& Text) {
  std::string copy = Text;
  return ExtractInt(copy);
}

long double ExtractReal(std::string& Text) {
  // 1. Skip characters that cannot start a number.  After each deleted
  // character a "," or "." now in front becomes "0," / "0." when a digit
  // follows, otherwise a blank that is deleted in turn.  (One pass with an
  // index; the text is cut once.)
  std::size_t i = 0;
  bool prefix_zero = false;
  while (i < Text.size() && !IsNumberChar(Text[i])) {
    ++i;
    if (i == Text.size()) {
      Text.clear();
      return 0.0L;
    }
    if (Text[i] == ',' || Text[i] == '.') {
      if (i + 1 < Text.size() && IsDigit(Text[i + 1])) {
        prefix_zero = true;
        break;
      }
      Text[i] = ' ';
    }
  }
  Text.erase(0, i);
  if (prefix_zero) Text.insert(0, "0");
  if (Text.empty()) return 0.0L;
  // 2. The whole text is a number.
  std::size_t p = ValCode(Text);
  if (p == 0) {
    long double v = PrefixValue(Text);
    Text.clear();
    return v;
  }
  // 3. One comma is accepted as the decimal separator.
  if (p <= Text.size() && Text[p - 1] == ',') {
    Text[p - 1] = '.';
    p = ValCode(Text);
    if (p == 0) {
      long double v = PrefixValue(Text);
      Text.clear();
      return v;
    }
  }
  // 4. A trailing "E" without exponent does not belong to the number.
  if (p > 1 && (Text[p - 2] == 'E' || Text[p - 2] == 'e') &&
      (p > Text.size() || !(Text[p - 1] == '+' || Text[p - 1] == '-' || IsDigit(Text[p - 1]))))
    --p;
  // 5. Value of the first p - 1 characters; Text keeps the rest.
  std::string head = Text.substr(0, p - 1);
  long double v = HasDigit(head) ? PrefixValue(head) : 0.0L;
  Text.erase(0, p - 1);
  return v;
}

long double StrToReal(const std::string& Text) {
  std::string copy = Text;
  return ExtractReal(copy);
}

std::string UpperCaseText(const std::string& Text) {
  std::string r = Text;
  for (char& ch : r) {
    unsigned char c = static_cast<unsigned char>(ch);
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE))
      ch = static_cast<char>(c - 0x20);
  }
  return r;
}

long double ValueAfterKey(const std::string& Text, const std::string& Key) {
  std::string t = UpperCaseText(Text), k = UpperCaseText(Key);
  std::size_t pos = t.find(k);
  if (pos == std::string::npos) return 0.0L;
  t.erase(0, pos + k.size());
  return ExtractReal(t);
}

std::string RealToStr(int Width, int Decimals, long double X) {
  const bool strip = Decimals < 0;
  int d = Decimals < 0 ? -Decimals : Decimals;
  if (d > 60) d = 60;
  std::string s;
  if (std::isnan(X)) {
    s = "NaN";
  } else if (std::isinf(X)) {
    s = X < 0 ? "-Inf" : "Inf";
  } else {
    // Extra digits so that rounding half away from zero is decided on the
    // (nearly) exact decimal expansion, not on a second binary rounding.
    const int extra = 30;
    // Digits before the point: at most 4933 for an extended.
    const long double ax = std::fabs(X);
    const int int_digits = ax < 1e18L ? 20 : static_cast<int>(std::log10(ax)) + 3;
    std::vector<char> buf(static_cast<std::size_t>(int_digits + d + extra + 8));
    auto r = std::to_chars(buf.data(), buf.data() + buf.size(), X,
                           std::chars_format::fixed, d + extra);
    s.assign(buf.data(), r.ptr);
    bool neg = !s.empty() && s[0] == '-';
    if (neg) s.erase(0, 1);
    std::size_t dot = s.find('.');
    std::size_t cut = dot + 1 + d;  // first digit to drop
    bool up = s[cut] >= '5';
    s.erase(d == 0 ? dot : cut);
    if (up) {
      int i = static_cast<int>(s.size()) - 1;
      for (; i >= 0; --i) {
        if (s[i] == '.') continue;
        if (s[i] == '9') { s[i] = '0'; continue; }
        ++s[i];
        break;
      }
      if (i < 0) s.insert(0, "1");
    }
    if (neg) s.insert(0, "-");
    if (strip && s.find('.') != std::string::npos) {
      while (!s.empty() && s.back() == '0') s.pop_back();
      if (!s.empty() && s.back() == '.') s.pop_back();
    }
  }
  if (Width > 0 && static_cast<int>(s.size()) < Width)
    s.insert(0, static_cast<std::size_t>(Width) - s.size(), ' ');
  return s;
}

std::string ShortRealToStr(long double X) { return RealToStr(1, -5, X); }

std::string DataRealToStr(int Decimals, long double X) {
  std::string s = RealToStr(1, Decimals, X);
  if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

std::string PadRight(const std::string& Text, std::size_t N) {
  std::string r = Text;
  if (r.size() < N) r.append(N - r.size(), ' ');
  return r;
}

std::string TrimText(const std::string& Text) {
  std::size_t b = 0, e = Text.size();
  while (b < e && static_cast<unsigned char>(Text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(Text[e - 1]) <= ' ') --e;
  return Text.substr(b, e - b);
}

void PumpMessage() {
  if (PumpMessageHook) PumpMessageHook();
}

void ErrorBox(const std::string& Text) {
  if (ErrorBoxHook)
    ErrorBoxHook(Text);
  else
    std::cerr << Cp1252ToUtf8(Text) << '\n';
}

void CurrentDate(int& Year, int& Month, int& Day, int& Weekday) {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  Year = tm.tm_year + 1900;
  Month = tm.tm_mon + 1;
  Day = tm.tm_mday;
  Weekday = tm.tm_wday + 1;
}

void CurrentTime(int& Hour, int& Minute, int& Second, int& Hundredths) {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t t = system_clock::to_time_t(now);
  std::tm tm{};
  localtime_r(&t, &tm);
  auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  if (ms < 0) ms += 1000;
  Hour = tm.tm_hour;
  Minute = tm.tm_min;
  Second = tm.tm_sec;
  Hundredths = static_cast<int>(ms / 10);
}

namespace {
// Windows-1252 80h..9Fh as Unicode code points (unassigned bytes map to
// the C1 control of the same value).
const char32_t CP1252_HIGH[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace

std::string Cp1252ToUtf8(const std::string& Text) {
  std::string out;
  out.reserve(Text.size() + Text.size() / 4);
  for (char ch : Text) {
    unsigned char c = static_cast<unsigned char>(ch);
    char32_t u = c < 0x80 ? c : (c < 0xA0 ? CP1252_HIGH[c - 0x80] : c);
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

std::string Utf8ToCp1252(const std::string& Text) {
  std::string out;
  out.reserve(Text.size());
  std::size_t i = 0, n = Text.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(Text[i]);
    char32_t u = 0;
    std::size_t len = 0;
    if (c < 0x80) { u = c; len = 1; }
    else if ((c & 0xE0) == 0xC0) { u = c & 0x1F; len = 2; }
    else if ((c & 0xF0) == 0xE0) { u = c & 0x0F; len = 3; }
    else if ((c & 0xF8) == 0xF0) { u = c & 0x07; len = 4; }
    else { out += '?'; ++i; continue; }
    bool ok = i + len <= n;
    for (std::size_t k = 1; ok && k < len; ++k) {
      unsigned char cc = static_cast<unsigned char>(Text[i + k]);
      if ((cc & 0xC0) != 0x80) ok = false;
      else u = (u << 6) | (cc & 0x3F);
    }
    if (!ok) { out += '?'; ++i; continue; }
    i += len;
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      out += static_cast<char>(u);
      continue;
    }
    char r = '?';
    for (int k = 0; k < 32; ++k)
      if (CP1252_HIGH[k] == u) { r = static_cast<char>(0x80 + k); break; }
    out += r;
  }
  return out;
}

bool IsValidUtf8(const std::string& Text) {
  std::size_t i = 0;
  const std::size_t n = Text.size();
  while (i < n) {
    const unsigned char c = static_cast<unsigned char>(Text[i]);
    std::size_t len;
    char32_t u, min;
    if (c < 0x80) { ++i; continue; }
    if (c >= 0xC2 && c <= 0xDF) { len = 2; u = c & 0x1F; min = 0x80; }
    else if ((c & 0xF0) == 0xE0) { len = 3; u = c & 0x0F; min = 0x800; }
    else if (c >= 0xF0 && c <= 0xF4) { len = 4; u = c & 0x07; min = 0x10000; }
    else return false;
    if (i + len > n) return false;
    for (std::size_t k = 1; k < len; ++k) {
      const unsigned char cc = static_cast<unsigned char>(Text[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      u = (u << 6) | (cc & 0x3F);
    }
    if (u < min || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) return false;
    i += len;
  }
  return true;
}

std::string FileNameText(const std::string& Bytes) {
  return IsValidUtf8(Bytes) ? Utf8ToCp1252(Bytes) : Bytes;
}

}  // namespace nodalis
