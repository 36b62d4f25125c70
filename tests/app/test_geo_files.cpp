// The path files of nodalis-cli --paths and --catalog-paths as a GIS program
// reads them: GeoJSON by RFC 7946 (QJsonDocument), KML 2.2 as XML
// (QXmlStreamReader); positions within the map, no line across the map at
// the antimeridian, closed counter-clockwise rings; the central line of
// 2017 Aug 21 against NASA's path table; a full disk keeps the old file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "tests/qt_cli_run.h"

#include <cmath>
#include <map>
#include <vector>

namespace {

using qt_cli_test::Cli;
using qt_cli_test::CliRun;
using qt_cli_test::Slurp;

constexpr double RAD = 0.017453292519943295;
constexpr double EARTH_KM = 6371.0;
// Neighbouring positions of a line: their step in longitude, times the
// cosine of the latitude (near a pole a short chord spans many degrees of
// longitude), stays far below this unless the line jumps across the map.
constexpr double MAX_STEP_ALONG_PARALLEL_DEG = 30;
// The central line of 2017 from our own elements against NASA's table from
// the canon's: the table's rounding (0.1', 0.19 km) and our Moon's place
// (0.5 km measured here; up to 0.8 km 1000 .. 2500 in tests/astro).
constexpr double CENTRAL_LINE_TOL_KM = 1.5;
constexpr double DURATION_TOL_S = 0.5;    // the table gives 0.1 s; 0.17 s measured
constexpr double ALTITUDE_TOL_DEG = 0.7;  // the table gives whole degrees; 0.34 measured
const char* const KML_NS = "http://www.opengis.net/kml/2.2";

struct Pos {
  double Lon, Lat;
};
using Line = std::vector<Pos>;

bool ReadPosition(const QJsonValue& V, Pos& P) {
  const QJsonArray A = V.toArray();
  if (A.size() != 2 || !A[0].isDouble() || !A[1].isDouble()) return false;
  P = {A[0].toDouble(), A[1].toDouble()};
  return std::isfinite(P.Lon) && std::isfinite(P.Lat);
}

// The lines of a LineString / MultiLineString or the rings of a Polygon /
// MultiPolygon, as positions; false on any malformed position.
bool ReadGeometry(const QJsonObject& G, std::vector<Line>& Out) {
  const QString T = G["type"].toString();
  const QJsonArray C = G["coordinates"].toArray();
  auto line = [&](const QJsonArray& A) {
    Line L;
    for (const QJsonValue& v : A) {
      Pos p;
      if (!ReadPosition(v, p)) return false;
      L.push_back(p);
    }
    Out.push_back(L);
    return true;
  };
  if (T == "LineString") return line(C);
  for (const QJsonValue& v : C) {
    if (T == "MultiLineString" || T == "Polygon") {
      if (!line(v.toArray())) return false;
    } else if (T == "MultiPolygon") {
      for (const QJsonValue& r : v.toArray())
        if (!line(r.toArray())) return false;
    } else {
      return false;
    }
  }
  return !Out.empty();
}

bool InMap(const Pos& P) { return std::fabs(P.Lon) <= 180 && std::fabs(P.Lat) <= 90; }

double ShoelaceArea(const Line& R) {
  double a = 0;
  for (std::size_t i = 1; i < R.size(); ++i) a += R[i - 1].Lon * R[i].Lat - R[i].Lon * R[i - 1].Lat;
  return a / 2;
}

// The place of a polyline of short chords nearest a given place: its
// distance in km (a local plane around the place), the chord and the
// fraction along it.
struct Nearest {
  double Km = 1e9;
  std::size_t Line = 0, Index = 0;  // the chord from Index - 1 to Index
  double T = 0;
};

Nearest NearestOnLine(const std::vector<Line>& Lines, double Lat, double Lon) {
  Nearest best;
  const double k = std::cos(Lat * RAD);
  for (std::size_t n = 0; n < Lines.size(); ++n) {
    const Line& L = Lines[n];
    for (std::size_t i = 1; i < L.size(); ++i) {
      auto xy = [&](const Pos& p, double& x, double& y) {
        double dl = p.Lon - Lon;
        if (dl > 180) dl -= 360;
        if (dl < -180) dl += 360;
        x = dl * k * RAD * EARTH_KM;
        y = (p.Lat - Lat) * RAD * EARTH_KM;
      };
      double ax, ay, bx, by;
      xy(L[i - 1], ax, ay);
      xy(L[i], bx, by);
      const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
      double t = len2 > 0 ? -(ax * dx + ay * dy) / len2 : 0;
      t = std::fmax(0.0, std::fmin(1.0, t));
      const double d = std::hypot(ax + t * dx, ay + t * dy);
      if (d < best.Km) best = {d, n, i, t};
    }
  }
  return best;
}

// A per-position value interpolated at the nearest place.
double ValueAt(const QJsonArray& Values, const Nearest& N) {
  const double a = Values[static_cast<int>(N.Index - 1)].toDouble(), b = Values[static_cast<int>(N.Index)].toDouble();
  return a + N.T * (b - a);
}

double Dms(const char* S) {  // "40 50.3N", "098 18.3W"
  double d = 0, m = 0;
  char h = 0;
  std::sscanf(S, "%lf %lf%c", &d, &m, &h);
  const double v = d + m / 60;
  return (h == 'S' || h == 'W') ? -v : v;
}

const QSet<QString> LINE_KINDS = {"central",        "umbra_north",     "umbra_south",   "penumbra_north",
                                  "penumbra_south", "sunrise_maximum", "sunset_maximum"};

struct Feature {
  QJsonObject Props;
  QString GeometryType;
  std::vector<Line> Lines;
};

// Reads a GeoJSON file and checks what every reader relies on: a
// FeatureCollection of Features with the named properties, geometries of
// the kind's type, positions within the map, lines without a jump across
// the map, rings closed and counter-clockwise.
std::vector<Feature> ReadGeoJson(const QString& File) {
  std::vector<Feature> out;
  QJsonParseError err;
  const QJsonDocument D = QJsonDocument::fromJson(Slurp(File), &err);
  EXPECT_EQ(err.error, QJsonParseError::NoError) << err.errorString().toStdString();
  const QJsonObject Root = D.object();
  EXPECT_EQ(Root["type"].toString(), "FeatureCollection");
  for (const QJsonValue& v : Root["features"].toArray()) {
    const QJsonObject F = v.toObject();
    Feature f;
    f.Props = F["properties"].toObject();
    const QString kind = f.Props["kind"].toString();
    const std::string id = (f.Props["date"].toString() + " " + kind).toStdString();
    EXPECT_EQ(F["type"].toString(), "Feature") << id;
    for (const char* key : {"saros", "member", "type_code", "gamma", "delta_t_s"})
      EXPECT_TRUE(f.Props[key].isDouble()) << id << " " << key;
    for (const char* key : {"date", "calendar", "greatest_td", "type", "kind", "ut_start", "ut_end"})
      EXPECT_TRUE(f.Props[key].isString()) << id << " " << key;
    EXPECT_TRUE(QRegularExpression("^-?\\d{4}-\\d\\d-\\d\\d$").match(f.Props["date"].toString()).hasMatch()) << id;
    EXPECT_LE(f.Props["ut_start"].toString(), f.Props["ut_end"].toString()) << id;
    const QJsonObject G = F["geometry"].toObject();
    f.GeometryType = G["type"].toString();
    EXPECT_TRUE(ReadGeometry(G, f.Lines)) << id << ": malformed geometry";
    const bool ring = kind == "umbra";
    if (ring)
      EXPECT_TRUE(f.GeometryType == "Polygon" || f.GeometryType == "MultiPolygon") << id;
    else
      EXPECT_TRUE(LINE_KINDS.contains(kind) &&
                  (f.GeometryType == "LineString" || f.GeometryType == "MultiLineString"))
          << id << " " << f.GeometryType.toStdString();
    for (const Line& L : f.Lines) {
      EXPECT_GE(L.size(), ring ? 4u : 2u) << id;
      for (std::size_t i = 0; i < L.size(); ++i) {
        EXPECT_TRUE(InMap(L[i])) << id << ": " << L[i].Lon << " " << L[i].Lat;
        // Rings around a pole run along its latitude from -180 to 180.
        if (i && !(ring && std::fabs(L[i].Lat) == 90 && std::fabs(L[i - 1].Lat) == 90)) {
          const double lat = std::fmax(std::fabs(L[i].Lat), std::fabs(L[i - 1].Lat));
          EXPECT_LT(std::fabs(L[i].Lon - L[i - 1].Lon) * std::cos(lat * RAD), MAX_STEP_ALONG_PARALLEL_DEG)
              << id << ": " << L[i - 1].Lon << " " << L[i - 1].Lat << " to " << L[i].Lon << " " << L[i].Lat;
        }
      }
      if (ring) {
        EXPECT_TRUE(L.front().Lon == L.back().Lon && L.front().Lat == L.back().Lat) << id << ": ring not closed";
        EXPECT_GT(ShoelaceArea(L), 0) << id << ": exterior ring clockwise";
      }
    }
    out.push_back(f);
  }
  return out;
}

const Feature* Find(const std::vector<Feature>& Fs, const QString& Date, const QString& Kind) {
  for (const Feature& f : Fs)
    if (f.Props["date"].toString() == Date && f.Props["kind"].toString() == Kind) return &f;
  return nullptr;
}

}  // namespace

// Saros 136: partial, annular, hybrid and total members from 1360 to 2622;
// 2009 Jul 22 ends over the Pacific across the antimeridian.
TEST(GeoJsonFile, SeriesFileAsRfc7946ReadersTakeIt) {
  QTemporaryDir Dir;
  const QString F = Dir.filePath("saros136.geojson");
  const CliRun R = Cli({"--saros", "136", "--paths", F});
  ASSERT_EQ(R.Code, 0) << R.Err.toStdString();
  const std::vector<Feature> Fs = ReadGeoJson(F);
  QSet<int> members;
  for (const Feature& f : Fs) {
    EXPECT_EQ(f.Props["saros"].toInt(), 136);
    members.insert(f.Props["member"].toInt());
    const bool julian = f.Props["date"].toString() < "1582-10-15";
    EXPECT_EQ(f.Props["calendar"].toString(), julian ? "julian" : "gregorian");
    // The series' file gives every position's instant; the central line also
    // the duration and the Sun's altitude, one array per piece.
    if (f.Props["kind"].toString() == "umbra") continue;
    const bool multi = f.GeometryType == "MultiLineString";
    std::vector<const char*> arrays = {"ut"};
    if (f.Props["kind"].toString() == "central") arrays = {"ut", "duration_s", "sun_altitude_deg"};
    for (const char* name : arrays) {
      const QJsonArray A = f.Props[name].toArray();
      ASSERT_EQ(static_cast<std::size_t>(multi ? A.size() : 1), f.Lines.size()) << name;
      for (std::size_t k = 0; k < f.Lines.size(); ++k) {
        const QJsonArray piece = multi ? A[static_cast<int>(k)].toArray() : A;
        ASSERT_EQ(static_cast<std::size_t>(piece.size()), f.Lines[k].size()) << name;
        for (int i = 0; i < piece.size(); ++i) {
          if (std::string(name) == "ut") {
            if (i) {
              EXPECT_LE(piece[i - 1].toString(), piece[i].toString());
            }
          } else {
            EXPECT_TRUE(piece[i].isDouble() && std::isfinite(piece[i].toDouble())) << name;
          }
        }
      }
    }
  }
  EXPECT_EQ(members.size(), 71) << "every member has its paths";
  // 2009 Jul 22: the central line in pieces that meet on the antimeridian.
  const Feature* C = Find(Fs, "2009-07-22", "central");
  ASSERT_NE(C, nullptr);
  ASSERT_EQ(C->GeometryType, "MultiLineString");
  for (std::size_t k = 1; k < C->Lines.size(); ++k) {
    const Pos& end = C->Lines[k - 1].back();
    const Pos& start = C->Lines[k].front();
    EXPECT_EQ(std::fabs(end.Lon), 180.0);
    EXPECT_EQ(start.Lon, -end.Lon);
    EXPECT_EQ(start.Lat, end.Lat);
  }
  ASSERT_NE(Find(Fs, "2009-07-22", "umbra"), nullptr);
  EXPECT_EQ(Find(Fs, "2009-07-22", "umbra")->GeometryType, "MultiPolygon");
  // Partial members have no umbra and no central line.
  EXPECT_EQ(Find(Fs, "1360-06-14", "central"), nullptr);
  EXPECT_EQ(Find(Fs, "1360-06-14", "umbra"), nullptr);
  EXPECT_NE(Find(Fs, "1360-06-14", "penumbra_north"), nullptr);
}

// NASA, "Path of the Total Solar Eclipse of 2017 Aug 21" (F. Espenak),
// https://eclipse.gsfc.nasa.gov/SEpath/SEpath2001/SE2017Aug21Tpath.html:
// the central line, and the duration and the Sun's altitude where it passes
// the table's places, at three instants.
TEST(GeoJsonFile, CentralLineOf2017AgainstNasaPathTable) {
  struct Row {
    const char* ut;
    const char* lat;
    const char* lon;
    int altitude;
    double duration;
  };
  const Row rows[] = {{"17:20", "44 44.0N", "121 38.0W", 41, 122.6},
                      {"18:20", "37 52.2N", "089 49.6W", 64, 160.2},
                      {"19:20", "26 15.8N", "067 09.7W", 48, 129.5}};
  QTemporaryDir Dir;
  const QString F = Dir.filePath("saros145.geojson");
  const CliRun R = Cli({"--saros", "145", "--delta-t", "espenak-meeus-2006", "--paths", F});
  ASSERT_EQ(R.Code, 0) << R.Err.toStdString();
  const std::vector<Feature> Fs = ReadGeoJson(F);
  const Feature* C = Find(Fs, "2017-08-21", "central");
  ASSERT_NE(C, nullptr);
  EXPECT_EQ(C->Props["member"].toInt(), 22);
  EXPECT_EQ(C->Props["type"].toString(), "T");
  ASSERT_EQ(C->GeometryType, "LineString");
  const QJsonArray dur = C->Props["duration_s"].toArray(), alt = C->Props["sun_altitude_deg"].toArray();
  for (const Row& r : rows) {
    const Nearest N = NearestOnLine(C->Lines, Dms(r.lat), Dms(r.lon));
    EXPECT_LT(N.Km, CENTRAL_LINE_TOL_KM) << r.ut;
    EXPECT_NEAR(ValueAt(dur, N), r.duration, DURATION_TOL_S) << r.ut;
    EXPECT_NEAR(ValueAt(alt, N), r.altitude, ALTITUDE_TOL_DEG) << r.ut;
  }
}

// The catalogue's file: central lines and umbral limits of the central and
// umbral eclipses only, with their Saros places, without the per-position
// arrays.
TEST(GeoJsonFile, CatalogueFileHoldsCentralLinesAndLimits) {
  QTemporaryDir Dir;
  const QString F = Dir.filePath("catalog.geojson");
  const CliRun R = Cli({"--catalog-paths", "2009", "2017", F});
  ASSERT_EQ(R.Code, 0) << R.Err.toStdString();
  const std::vector<Feature> Fs = ReadGeoJson(F);
  ASSERT_FALSE(Fs.empty());
  QSet<QString> dates;
  for (const Feature& f : Fs) {
    const QString kind = f.Props["kind"].toString();
    EXPECT_TRUE(kind == "central" || kind == "umbra_north" || kind == "umbra_south") << kind.toStdString();
    EXPECT_NE(f.Props["type"].toString(), "P");
    EXPECT_FALSE(f.Props.contains("ut"));
    dates.insert(f.Props["date"].toString());
  }
  // 2009 .. 2017: 20 solar eclipses, 13 of them central and the
  // non-central annular 2014 Apr 29, whose umbra touches Antarctica.
  for (const char* d : {"2009-01-26", "2009-07-22", "2010-01-15", "2010-07-11", "2012-05-20", "2012-11-13",
                        "2013-05-10", "2013-11-03", "2014-04-29", "2015-03-20", "2016-03-09", "2016-09-01",
                        "2017-02-26", "2017-08-21"})
    EXPECT_TRUE(dates.contains(d)) << d;
  EXPECT_EQ(dates.size(), 14);
  const Feature* C = Find(Fs, "2017-08-21", "central");
  ASSERT_NE(C, nullptr);
  EXPECT_EQ(C->Props["saros"].toInt(), 145);
  EXPECT_EQ(C->Props["member"].toInt(), 22);
}

// KML 2.2 as Google Earth and Marble read it: one Folder per eclipse that
// has paths, Placemarks with a name and a defined style, coordinates as
// longitude,latitude,height within the map, closed rings.
TEST(KmlFile, SeriesFileIsWellFormedKml) {
  QTemporaryDir Dir;
  const QString K = Dir.filePath("saros147.kml"), J = Dir.filePath("saros147.geojson");
  // Saros 147: 2021 Jun 10 annular near the North Pole.
  ASSERT_EQ(Cli({"--saros", "147", "--paths", K}).Code, 0);
  ASSERT_EQ(Cli({"--saros", "147", "--paths", J}).Code, 0);
  QSet<int> members;
  for (const Feature& f : ReadGeoJson(J)) members.insert(f.Props["member"].toInt());

  QXmlStreamReader X(Slurp(K));
  QSet<QString> styles, kinds;
  int folders = 0, placemarks = 0, points = 0, rings = 0;
  QString element, dataName;
  bool root = true;
  while (!X.atEnd()) {
    X.readNext();
    if (X.isStartElement()) {
      element = X.name().toString();
      if (root) {
        EXPECT_EQ(element, "kml");
        EXPECT_EQ(X.namespaceUri().toString(), KML_NS);
        root = false;
      }
      if (element == "Style") styles.insert(X.attributes().value("id").toString());
      if (element == "Folder") ++folders;
      if (element == "Placemark") ++placemarks;
      if (element == "Point") ++points;
      if (element == "Data") dataName = X.attributes().value("name").toString();
      if (element == "styleUrl") {
        const QString url = X.readElementText();
        EXPECT_TRUE(url.startsWith('#') && styles.contains(url.mid(1))) << url.toStdString();
      }
      if (element == "value" && dataName == "kind") kinds.insert(X.readElementText());
      if (element == "LinearRing") ++rings;
      if (element == "coordinates") {
        const QStringList triples = X.readElementText().split(' ', Qt::SkipEmptyParts);
        std::vector<Pos> ps;
        for (const QString& t : triples) {
          const QStringList c = t.split(',');
          ASSERT_EQ(c.size(), 3) << t.toStdString();
          bool okLon, okLat;
          const Pos p{c[0].toDouble(&okLon), c[1].toDouble(&okLat)};
          EXPECT_TRUE(okLon && okLat && InMap(p)) << t.toStdString();
          ps.push_back(p);
        }
        ASSERT_FALSE(ps.empty());
      }
    }
  }
  ASSERT_FALSE(X.hasError()) << X.errorString().toStdString();
  EXPECT_EQ(folders, members.size());
  EXPECT_EQ(points, folders) << "greatest eclipse in every folder";
  EXPECT_GT(placemarks, 2 * folders);
  EXPECT_GT(rings, 0);
  EXPECT_TRUE(kinds.contains("central") && kinds.contains("umbra") && kinds.contains("greatest"));
  // Closed rings: the text between <LinearRing><coordinates> and its end.
  const QString Text = QString::fromUtf8(Slurp(K));
  const QRegularExpression Ring("<LinearRing><coordinates>([^<]*)</coordinates>");
  for (auto m = Ring.globalMatch(Text); m.hasNext();) {
    const QStringList t = m.next().captured(1).split(' ');
    EXPECT_GE(t.size(), 4);
    EXPECT_EQ(t.front(), t.back());
  }
}

// The file replaces an old one only when it is complete: with writes
// failing as on a full disk, exit 1 with a message naming the file, the
// old file byte for byte, no temporary file left beside it.
TEST(PathFiles, FullDiskKeepsTheOldFile) {
  QTemporaryDir Dir;
  QByteArray Old(50000, '\0');
  for (int i = 0; i < Old.size(); ++i) Old[i] = char(i * 7919 % 251);
  for (const char* Name : {"old.geojson", "old.kml"}) {
    SCOPED_TRACE(Name);
    const QString F = QDir(Dir.path()).filePath(Name);
    {
      QFile Out(F);
      ASSERT_TRUE(Out.open(QIODevice::WriteOnly));
      ASSERT_EQ(Out.write(Old), Old.size());
    }
    for (const QStringList& args : {QStringList{"--saros", "145", "--paths", F},
                                    QStringList{"--catalog-paths", "2001", "2030", F}}) {
      const CliRun R = Cli(args, "trap '' XFSZ; ulimit -f 8;");
      EXPECT_EQ(R.Code, 1) << args.join(' ').toStdString();
      EXPECT_TRUE(R.Err.contains("kann nicht geschrieben werden")) << R.Err.toStdString();
      EXPECT_TRUE(R.Err.contains(F)) << R.Err.toStdString();
      EXPECT_EQ(Slurp(F), Old);
    }
  }
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files).size(), 2);
}

// The same command writes the same bytes, and a written file replaces the
// old one.
TEST(PathFiles, SameCommandSameBytes) {
  QTemporaryDir Dir;
  const QString A = Dir.filePath("a.kml"), B = Dir.filePath("b.kml");
  {
    QFile Out(B);
    ASSERT_TRUE(Out.open(QIODevice::WriteOnly));
    Out.write(QByteArray(3000000, 'x'));
  }
  ASSERT_EQ(Cli({"--catalog-paths", "2017", "2024", A}).Code, 0);
  ASSERT_EQ(Cli({"--catalog-paths", "2017", "2024", B}).Code, 0);
  EXPECT_FALSE(Slurp(A).isEmpty());
  EXPECT_EQ(Slurp(A), Slurp(B));
}
