// GeoFiles — eclipse paths as GeoJSON and KML text (see GeoFiles.h).
#include "app/core/GeoFiles.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "astro/BesselRec.h"
#include "astro/TIMLIB.h"

namespace nodalis {

namespace {
constexpr int COORD_DECIMALS = 4;     // 0.0001 deg: 11 m
constexpr int VALUE_DECIMALS = 1;     // durations, altitudes, Delta T
constexpr int GAMMA_DECIMALS = 4;
constexpr long double GREGORIAN_START_JD = 2299160.5L;  // 1582 October 15
constexpr long double SECONDS_PER_DAY = 86400.0L;

// Fixed point without a sign on zero.
void AppendFixed(std::string& Out, long double V, int Decimals) {
  char buf[48];
  double v = static_cast<double>(V);
  if (!std::isfinite(v)) v = 0;  // never written: the paths are finite
  static constexpr double SCALES[] = {1, 10, 100, 1000, 1e4, 1e5, 1e6, 1e7, 1e8};
  const double scale = Decimals >= 0 && Decimals <= 8 ? SCALES[Decimals] : std::pow(10.0, Decimals);
  if (std::nearbyint(v * scale) == 0) v = 0;
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, Decimals);
  Out.append(buf, r.ptr);
}

std::string Fixed(long double V, int Decimals) {
  std::string s;
  AppendFixed(s, V, Decimals);
  return s;
}

std::string JsonText(const std::string& Utf8) {
  std::string out = "\"";
  for (unsigned char c : Utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      static const char* const HEX = "0123456789abcdef";
      out += "\\u00";
      out += HEX[c >> 4];
      out += HEX[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string XmlText(const std::string& Utf8) {
  std::string out;
  for (char c : Utf8) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') out += c;
    }
  }
  return out;
}

const char* TypeLetter(std::uint8_t Code) {
  switch (Code) {
    case ECL_PARTIAL: return "P";
    case ECL_NONCENTRAL_ANNULAR:
    case ECL_ANNULAR: return "A";
    case ECL_NONCENTRAL_TOTAL:
    case ECL_TOTAL: return "T";
    case ECL_HYBRID: return "H";
    default: return "";
  }
}

std::string DateOf(long double JD) {
  std::string date, time;
  JDToIsoDateTime(JD, date, time);
  return date;
}
std::string TimeOf(long double JD) {
  std::string date, time;
  JDToIsoDateTime(JD, date, time);
  return time;
}
std::string DateTimeOf(long double JD) {
  std::string date, time;
  JDToIsoDateTime(JD, date, time);
  return date + "T" + time;
}

// DateTimeOf for the many instants of one eclipse: the calendar date
// worked out once a civil day, the time rounded to the second as
// JDToFields rounds it.
class Stamps {
 public:
  std::string operator()(long double JD) {
    if (!std::isfinite(JD)) return DateTimeOf(JD);
    long double midnight = std::floor(JD + 0.5L) - 0.5L;
    long long seconds = std::llround((JD - midnight) * SECONDS_PER_DAY);
    if (seconds >= static_cast<long long>(SECONDS_PER_DAY)) {
      seconds -= static_cast<long long>(SECONDS_PER_DAY);
      midnight += 1;
    }
    if (date_.empty() || midnight != midnight_) {
      midnight_ = midnight;
      date_ = DateOf(midnight);
    }
    char t[10] = {'T'};
    const int h = static_cast<int>(seconds / 3600), m = static_cast<int>(seconds / 60 % 60),
              sec = static_cast<int>(seconds % 60);
    t[1] = static_cast<char>('0' + h / 10);
    t[2] = static_cast<char>('0' + h % 10);
    t[3] = ':';
    t[4] = static_cast<char>('0' + m / 10);
    t[5] = static_cast<char>('0' + m % 10);
    t[6] = ':';
    t[7] = static_cast<char>('0' + sec / 10);
    t[8] = static_cast<char>('0' + sec % 10);
    return date_ + std::string(t, 9);
  }

 private:
  long double midnight_ = 0;
  std::string date_;
};

// The pieces of one kind of curve.
std::vector<const PathCurve*> PiecesOf(const EclipsePaths& P, PathCurveKind Kind) {
  std::vector<const PathCurve*> out;
  for (const PathCurve& c : P.Curves)
    if (c.Kind == Kind && c.Points.size() >= 2) out.push_back(&c);
  return out;
}

constexpr PathCurveKind KINDS[] = {PathCurveKind::Central,        PathCurveKind::UmbraNorth,
                                   PathCurveKind::UmbraSouth,     PathCurveKind::PenumbraNorth,
                                   PathCurveKind::PenumbraSouth,  PathCurveKind::SunriseMaximum,
                                   PathCurveKind::SunsetMaximum};

// German names of the curves in KML.
const char* KmlName(PathCurveKind Kind) {
  switch (Kind) {
    case PathCurveKind::Central: return "Zentrallinie";
    case PathCurveKind::UmbraNorth: return "Nordgrenze des Kernschattens";
    case PathCurveKind::UmbraSouth: return "S\xC3\xBC" "dgrenze des Kernschattens";
    case PathCurveKind::PenumbraNorth: return "Nordgrenze der partiellen Finsternis";
    case PathCurveKind::PenumbraSouth: return "S\xC3\xBC" "dgrenze der partiellen Finsternis";
    case PathCurveKind::SunriseMaximum: return "Maximum bei Sonnenaufgang";
    case PathCurveKind::SunsetMaximum: return "Maximum bei Sonnenuntergang";
  }
  return "";
}

const char* KmlStyle(PathCurveKind Kind) {
  switch (Kind) {
    case PathCurveKind::Central: return "#central";
    case PathCurveKind::UmbraNorth:
    case PathCurveKind::UmbraSouth: return "#umbra_limit";
    case PathCurveKind::PenumbraNorth:
    case PathCurveKind::PenumbraSouth: return "#penumbra_limit";
    default: return "#horizon";
  }
}

const char* const KML_STYLES =
    "<Style id=\"central\"><LineStyle><color>ff0000cc</color><width>2</width></LineStyle></Style>\n"
    "<Style id=\"umbra_limit\"><LineStyle><color>ff3333ff</color><width>1.5</width></LineStyle></Style>\n"
    "<Style id=\"penumbra_limit\"><LineStyle><color>ffcc9933</color><width>1</width></LineStyle></Style>\n"
    "<Style id=\"horizon\"><LineStyle><color>ff0099ff</color><width>1</width></LineStyle></Style>\n"
    "<Style id=\"umbra_T\"><LineStyle><color>ff0000aa</color><width>1</width></LineStyle>"
    "<PolyStyle><color>660000cc</color></PolyStyle></Style>\n"
    "<Style id=\"umbra_A\"><LineStyle><color>ff00aaaa</color><width>1</width></LineStyle>"
    "<PolyStyle><color>6600cccc</color></PolyStyle></Style>\n"
    "<Style id=\"umbra_H\"><LineStyle><color>ffaa00aa</color><width>1</width></LineStyle>"
    "<PolyStyle><color>66cc00cc</color></PolyStyle></Style>\n"
    "<Style id=\"greatest\"><IconStyle><scale>0.8</scale></IconStyle></Style>\n";

// The first and last instant of the umbral path: of its limits and central
// line, else greatest eclipse.
void UmbraSpan(const GeoEclipse& E, const EclipsePaths& P, long double& First, long double& Last) {
  bool have = false;
  for (const PathCurve& c : P.Curves)
    if (c.Kind == PathCurveKind::UmbraNorth || c.Kind == PathCurveKind::UmbraSouth ||
        c.Kind == PathCurveKind::Central)
      for (const PathPoint& p : c.Points) {
        if (!have || p.JDUT < First) First = p.JDUT;
        if (!have || p.JDUT > Last) Last = p.JDUT;
        have = true;
      }
  if (!have) First = Last = E.JDGreatestTD - E.DeltaTSeconds / SECONDS_PER_DAY;
}

}  // namespace

bool GeoFileFormatOf(const std::string& FileName, GeoFileFormat& Format) {
  const std::size_t slash = FileName.rfind('/');
  const std::string base = slash == std::string::npos ? FileName : FileName.substr(slash + 1);
  const std::size_t dot = base.rfind('.');
  if (dot == std::string::npos || dot == 0) return false;
  std::string ext = base.substr(dot + 1);
  for (char& c : ext) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  if (ext == "geojson") Format = GeoFileFormat::GeoJson;
  else if (ext == "kml") Format = GeoFileFormat::Kml;
  else return false;
  return true;
}

GeoFileWriter::GeoFileWriter(GeoFileFormat Format, const std::string& TitleUtf8, bool Detailed)
    : Format_(Format), Detailed_(Detailed) {
  if (Format_ == GeoFileFormat::GeoJson) {
    Text_ = "{\"type\": \"FeatureCollection\", \"name\": " + JsonText(TitleUtf8) + ", \"features\": [";
  } else {
    Text_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
            "<Document>\n<name>" + XmlText(TitleUtf8) + "</name>\n";
    Text_ += KML_STYLES;
  }
}

void GeoFileWriter::Add(const GeoEclipse& E, const EclipsePaths& P) {
  if (!P.Valid) return;
  if (Format_ == GeoFileFormat::GeoJson) AddGeoJson(E, P);
  else AddKml(E, P);
}

std::string GeoFileWriter::Finish() {
  if (Format_ == GeoFileFormat::GeoJson) Text_ += First_ ? "]}\n" : "\n]}\n";
  else Text_ += "</Document>\n</kml>\n";
  return std::move(Text_);
}

void GeoFileWriter::AddGeoJson(const GeoEclipse& E, const EclipsePaths& P) {
  Stamps stamp;
  const std::string common =
      "\"saros\": " + std::to_string(E.Saros) + ", \"member\": " + std::to_string(E.Member) +
      ", \"date\": \"" + DateOf(E.JDGreatestTD) + "\", \"calendar\": \"" +
      (E.JDGreatestTD < GREGORIAN_START_JD ? "julian" : "gregorian") + "\", \"greatest_td\": \"" +
      TimeOf(E.JDGreatestTD) + "\", \"type\": \"" + TypeLetter(E.TypeCode) +
      "\", \"type_code\": " + std::to_string(E.TypeCode) + ", \"gamma\": " + Fixed(E.Gamma, GAMMA_DECIMALS) +
      ", \"delta_t_s\": " + Fixed(E.DeltaTSeconds, VALUE_DECIMALS);
  auto open = [&](const char* kind, long double first, long double last) {
    Text_ += First_ ? "\n" : ",\n";
    First_ = false;
    Text_ += "{\"type\": \"Feature\", \"properties\": {" + common + ", \"kind\": \"" + kind + "\"";
    Text_ += ", \"ut_start\": \"" + stamp(first) + "\", \"ut_end\": \"" + stamp(last) + "\"";
    ++Features_;
  };
  for (PathCurveKind kind : KINDS) {
    const std::vector<const PathCurve*> pieces = PiecesOf(P, kind);
    if (pieces.empty()) continue;
    open(PathCurveKindName(kind), pieces.front()->Points.front().JDUT, pieces.back()->Points.back().JDUT);
    const bool multi = pieces.size() > 1;
    auto arrays = [&](const char* name, auto value) {
      Text_ += std::string(", \"") + name + "\": ";
      if (multi) Text_ += "[";
      for (std::size_t i = 0; i < pieces.size(); ++i) {
        Text_ += i ? ", [" : "[";
        for (std::size_t k = 0; k < pieces[i]->Points.size(); ++k) {
          if (k) Text_ += ", ";
          value(pieces[i]->Points[k]);
        }
        Text_ += "]";
      }
      if (multi) Text_ += "]";
    };
    if (Detailed_) {
      arrays("ut", [&](const PathPoint& p) {
        Text_ += '"';
        Text_ += stamp(p.JDUT);
        Text_ += '"';
      });
      if (kind == PathCurveKind::Central) {
        arrays("duration_s", [&](const PathPoint& p) { AppendFixed(Text_, p.DurationS, VALUE_DECIMALS); });
        arrays("sun_altitude_deg",
               [&](const PathPoint& p) { AppendFixed(Text_, p.SunAltitudeDeg, VALUE_DECIMALS); });
      }
    }
    Text_ += "}, \"geometry\": {\"type\": \"";
    Text_ += multi ? "MultiLineString" : "LineString";
    Text_ += "\", \"coordinates\": [";
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if (i) Text_ += ", ";
      if (multi) Text_ += "[";
      for (std::size_t k = 0; k < pieces[i]->Points.size(); ++k) {
        const PathPoint& p = pieces[i]->Points[k];
        Text_ += k ? ", [" : "[";
        AppendFixed(Text_, p.LongitudeDeg, COORD_DECIMALS);
        Text_ += ", ";
        AppendFixed(Text_, p.LatitudeDeg, COORD_DECIMALS);
        Text_ += "]";
      }
      if (multi) Text_ += "]";
    }
    Text_ += "]}}";
  }
  if (!P.UmbraPolygons.empty()) {
    long double first = 0, last = 0;
    UmbraSpan(E, P, first, last);
    open("umbra", first, last);
    const bool multi = P.UmbraPolygons.size() > 1;
    Text_ += "}, \"geometry\": {\"type\": \"";
    Text_ += multi ? "MultiPolygon" : "Polygon";
    Text_ += "\", \"coordinates\": [";
    for (std::size_t i = 0; i < P.UmbraPolygons.size(); ++i) {
      if (i) Text_ += ", ";
      Text_ += multi ? "[[" : "[";
      for (std::size_t k = 0; k < P.UmbraPolygons[i].size(); ++k) {
        const GeoPoint& g = P.UmbraPolygons[i][k];
        Text_ += k ? ", [" : "[";
        AppendFixed(Text_, g.LongitudeDeg, COORD_DECIMALS);
        Text_ += ", ";
        AppendFixed(Text_, g.LatitudeDeg, COORD_DECIMALS);
        Text_ += "]";
      }
      Text_ += multi ? "]]" : "]";
    }
    Text_ += "]}}";
  }
}

void GeoFileWriter::AddKml(const GeoEclipse& E, const EclipsePaths& P) {
  const std::string type = TypeLetter(E.TypeCode);
  Text_ += "<Folder>\n<name>Saros " + std::to_string(E.Saros) +
           (E.Member > 0 ? " Nr. " + std::to_string(E.Member) : std::string()) + "  " +
           DateOf(E.JDGreatestTD) + " " + type + "</name>\n";
  Text_ += "<description>Gr\xC3\xB6\xC3\x9Fte Finsternis " + DateOf(E.JDGreatestTD) + " " +
           TimeOf(E.JDGreatestTD) + " TD (" +
           (E.JDGreatestTD < GREGORIAN_START_JD ? "julianischer" : "gregorianischer") +
           " Kalender), Gamma " + Fixed(E.Gamma, GAMMA_DECIMALS) + ", Delta T " +
           Fixed(E.DeltaTSeconds, VALUE_DECIMALS) + " s</description>\n";
  auto data = [&](const char* kind, long double first, long double last) {
    Text_ += "<ExtendedData><Data name=\"kind\"><value>" + std::string(kind) +
             "</value></Data><Data name=\"ut_start\"><value>" + DateTimeOf(first) +
             "</value></Data><Data name=\"ut_end\"><value>" + DateTimeOf(last) +
             "</value></Data></ExtendedData>\n";
  };
  auto coords = [&](auto begin, auto end, auto lon, auto lat) {
    Text_ += "<coordinates>";
    for (auto it = begin; it != end; ++it) {
      if (it != begin) Text_ += ' ';
      AppendFixed(Text_, lon(*it), COORD_DECIMALS);
      Text_ += ',';
      AppendFixed(Text_, lat(*it), COORD_DECIMALS);
      Text_ += ",0";
    }
    Text_ += "</coordinates>";
  };
  if (!P.UmbraPolygons.empty() && !type.empty()) {
    Text_ += "<Placemark>\n<name>Pfad des Kernschattens</name>\n<styleUrl>#umbra_" +
             std::string(type == "P" ? "T" : type) + "</styleUrl>\n";
    long double first = 0, last = 0;
    UmbraSpan(E, P, first, last);
    data("umbra", first, last);
    Text_ += "<MultiGeometry>";
    for (const GeoRing& r : P.UmbraPolygons) {
      Text_ += "<Polygon><tessellate>1</tessellate><outerBoundaryIs><LinearRing>";
      coords(r.begin(), r.end(), [](const GeoPoint& g) { return g.LongitudeDeg; },
             [](const GeoPoint& g) { return g.LatitudeDeg; });
      Text_ += "</LinearRing></outerBoundaryIs></Polygon>";
    }
    Text_ += "</MultiGeometry>\n</Placemark>\n";
    ++Features_;
  }
  for (PathCurveKind kind : KINDS) {
    const std::vector<const PathCurve*> pieces = PiecesOf(P, kind);
    if (pieces.empty()) continue;
    Text_ += "<Placemark>\n<name>" + std::string(KmlName(kind)) + "</name>\n<styleUrl>" +
             KmlStyle(kind) + "</styleUrl>\n";
    data(PathCurveKindName(kind), pieces.front()->Points.front().JDUT, pieces.back()->Points.back().JDUT);
    Text_ += "<MultiGeometry>";
    for (const PathCurve* c : pieces) {
      Text_ += "<LineString><tessellate>1</tessellate>";
      coords(c->Points.begin(), c->Points.end(), [](const PathPoint& p) { return p.LongitudeDeg; },
             [](const PathPoint& p) { return p.LatitudeDeg; });
      Text_ += "</LineString>";
    }
    Text_ += "</MultiGeometry>\n</Placemark>\n";
    ++Features_;
  }
  Text_ += "<Placemark>\n<name>Gr\xC3\xB6\xC3\x9Fte Finsternis</name>\n<styleUrl>#greatest</styleUrl>\n";
  data("greatest", P.Greatest.JDUT, P.Greatest.JDUT);
  Text_ += "<Point><coordinates>";
  AppendFixed(Text_, P.Greatest.LongitudeDeg, COORD_DECIMALS);
  Text_ += ',';
  AppendFixed(Text_, P.Greatest.LatitudeDeg, COORD_DECIMALS);
  Text_ += ",0</coordinates></Point>\n</Placemark>\n</Folder>\n";
}

}  // namespace nodalis
