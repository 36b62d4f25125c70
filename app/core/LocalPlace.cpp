// LocalPlace — places given by the user and the status text of a member
// seen from one (see LocalPlace.h).
#include "app/core/LocalPlace.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/base/Utils.h"
#include "app/core/PIniFile.h"

namespace nodalis {

namespace {
constexpr std::size_t MAX_VALUE_CHARS = 64;
constexpr long double SECONDS_PER_DAY = 86400;

// A value as text to show in a message: the user's bytes, bounded.
std::string Shown(const std::string& v) {
  return FileNameText(v.size() > MAX_VALUE_CHARS ? v.substr(0, MAX_VALUE_CHARS) + "..." : v);
}

// A finite decimal number filling the whole text (one sign at most).
bool Number(const std::string& Text, long double& Value) {
  if (Text.empty() || Text.size() > MAX_VALUE_CHARS) return false;
  const char* b = Text.data();
  const char* e = b + Text.size();
  if (*b == '+' && ++b != e && (*b == '-' || *b == '+')) return false;
  if (b == e) return false;
  long double v = 0;
  const auto r = std::from_chars(b, e, v, std::chars_format::fixed);
  if (r.ec != std::errc() || r.ptr != e || !std::isfinite(v)) return false;
  Value = v;
  return true;
}

// Degrees with an optional hemisphere letter: Positive / Negative the
// letters of the two signs (upper case).  Returns "" or the message.
std::string Degrees(const std::string& What, const std::string& Text, const char* Positive,
                    const char* Negative, const char* Other, long double& Deg) {
  std::string t = Text;
  int sign = 0;
  if (!t.empty()) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(t.back())));
    if (std::string(Positive).find(c) != std::string::npos) sign = 1;
    else if (std::string(Negative).find(c) != std::string::npos) sign = -1;
    else if (std::string(Other).find(c) != std::string::npos) {
      // "16.4N" as a longitude; but "nan" is no number with a letter.
      long double v = 0;
      std::string n = t.substr(0, t.size() - 1);
      if (!n.empty() && (n[0] == '+' || n[0] == '-')) n.erase(0, 1);
      if (Number(n, v) || (n.size() >= 2 && static_cast<unsigned char>(n.back()) == 0xB0))
        return What + ": die Himmelsrichtung geh\xF6rt zur anderen Koordinate: " + Shown(Text);
    }
    if (sign != 0) {
      t.pop_back();
      // A degree sign before the letter: Windows-1252 B0 or UTF-8 C2 B0.
      if (!t.empty() && static_cast<unsigned char>(t.back()) == 0xB0) {
        t.pop_back();
        if (!t.empty() && static_cast<unsigned char>(t.back()) == 0xC2) t.pop_back();
      }
      if (!t.empty() && (t[0] == '+' || t[0] == '-'))
        return What + ": Vorzeichen und Himmelsrichtung zugleich: " + Shown(Text);
    }
  }
  long double v = 0;
  if (!Number(t, v))
    return What + " erwartet Grad als Zahl (48.2, -16.37 oder 48.2N, 16.37E): " + Shown(Text);
  Deg = sign < 0 ? -v : v;
  return "";
}

void Split(const std::string& Text, std::vector<std::string>& Out) {
  std::string cur;
  for (const char c : Text) {
    if (c == ' ' || c == '\t') {
      if (!cur.empty()) Out.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) Out.push_back(cur);
}

std::string Decimals(long double X, int N) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*Lf", N, X);
  std::string s = buf;
  for (char& c : s)
    if (c == '.') c = ',';
  return s;
}

// hh:mm:ss of the Julian date JD (UT), rounded to the second.
std::string ClockUT(long double JD) {
  const long double day = JD + 0.5L - std::floor(JD + 0.5L);
  long long s = std::llround(day * SECONDS_PER_DAY) % 86400;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  return buf;
}
}  // namespace

long double NormalizeLongitudeDeg(long double Deg) {
  long double v = std::fmod(Deg, 360.0L);  // (-360, 360)
  if (v > 180) v -= 360;
  if (v <= -180) v += 360;
  return v;
}

bool ParsePlace(const std::string& Latitude, const std::string& Longitude, const std::string& Height,
                GeodeticPlace& Out, std::string& Error) {
  GeodeticPlace p;
  std::string e = Degrees("Breite", Latitude, "N", "S", "EOW", p.LatitudeDeg);
  if (e.empty() && std::fabs(p.LatitudeDeg) > 90)
    e = "Breite au\xDF" "erhalb von -90 bis 90 Grad: " + Shown(Latitude);
  if (e.empty()) e = Degrees("L\xE4nge", Longitude, "EO", "W", "NS", p.LongitudeDeg);
  if (e.empty() && !Height.empty()) {
    if (!Number(Height, p.HeightM))
      e = "H\xF6he erwartet Meter als Zahl: " + Shown(Height);
    else if (p.HeightM < PLACE_MIN_HEIGHT_M || p.HeightM > PLACE_MAX_HEIGHT_M)
      e = "H\xF6he au\xDF" "erhalb von -1000 bis 10000 m: " + Shown(Height);
  }
  if (!e.empty()) {
    Error = e;
    return false;
  }
  p.LongitudeDeg = NormalizeLongitudeDeg(p.LongitudeDeg);
  Out = p;
  return true;
}

bool ParsePlaceText(const std::string& Text, GeodeticPlace& Out, std::string& Error) {
  std::vector<std::string> v;
  Split(Text, v);
  if (v.size() < 2 || v.size() > 3) {
    Error = "Ort erwartet BREITE L\xC4NGE [H\xD6HE]: " + Shown(Text);
    return false;
  }
  return ParsePlace(v[0], v[1], v.size() == 3 ? v[2] : "", Out, Error);
}

SettingsPlace ReadSettingsPlace(GeodeticPlace& Out, std::string& Error) {
  const std::string v = TrimText(IniReadString("Ini", "Place", ""));
  if (v.empty()) return SettingsPlace::Absent;
  std::string e;
  if (!ParsePlaceText(v, Out, e)) {
    Error = "[Ini] Place: " + e + " (ohne Ort weiter)";
    return SettingsPlace::Invalid;
  }
  return SettingsPlace::Set;
}

std::string PlaceText(const GeodeticPlace& Place) {
  const long double lon = NormalizeLongitudeDeg(Place.LongitudeDeg);
  return Decimals(std::fabs(Place.LatitudeDeg), 2) + "\xB0 " + (Place.LatitudeDeg < 0 ? "S" : "N") + " " +
         Decimals(std::fabs(lon), 2) + "\xB0 " + (lon < 0 ? "W" : "O");
}

std::string LocalKindText(LocalEclipseKind Kind) {
  switch (Kind) {
    case LocalEclipseKind::Partial: return "partiell";
    case LocalEclipseKind::Annular: return "ringf\xF6rmig";
    case LocalEclipseKind::Total: return "total";
    case LocalEclipseKind::None: break;
  }
  return "keine";
}

std::string LocalStatusText(const GeodeticPlace& Place, const LocalCircumstances& L) {
  std::string s = PlaceText(Place) + ": ";
  if (!L.Valid || L.Kind == LocalEclipseKind::None) return s + "keine Finsternis";
  // A partial eclipse never reads as 1,00: its magnitude is cut, not rounded.
  const long double mag =
      L.Kind == LocalEclipseKind::Partial ? std::floor(L.Magnitude * 100) / 100 : L.Magnitude;
  // Nor does an annular one (0.996 is 0,99, not 1,00: the Sun's ring stays).
  std::string magText = Decimals(mag, 2);
  if (L.Kind == LocalEclipseKind::Annular && mag < 1 && magText == "1,00") magText = "0,99";
  s += LocalKindText(L.Kind) + ", Gr\xF6\xDF" "e " + magText;
  if (L.Kind != LocalEclipseKind::Partial && L.DurationSeconds > 0) {
    const long long d = std::llround(L.DurationSeconds);
    s += ", Dauer " + (d >= 60 ? std::to_string(d / 60) + " min " : std::string()) + std::to_string(d % 60) + " s";
  }
  s += ", Max. " + ClockUT(L.Maximum.JDUT) + " UT";
  if (!L.Visible) s += ", Sonne unter dem Horizont";
  else if (L.Sunrise.Exists) s += ", bei Sonnenaufgang";
  else if (L.Sunset.Exists) s += ", bei Sonnenuntergang";
  return s;
}

}  // namespace nodalis
