// Paths on the ground (ComputeEclipsePaths) from the canon's polynomial
// Besselian elements (fixture canon_besselian.csv; F. Espenak and J. Meeus,
// Five Millennium Canon of Solar Eclipses, NASA/TP-2006-214141; Eclipse
// Predictions by Fred Espenak, NASA's GSFC) against the path tables that
// NASA publishes, and from our own elements against the canon's.
//
// The path tables were computed from elements of their own (JPL DE405 and
// the Delta T given under each table) which differ from the canon's by up
// to 1e-4 Earth radii (0.6 km); each table's Delta T replaces the canon's
// before the comparison, since Delta T turns the whole path in longitude
// (1 s of Delta T is 15" of longitude, 0.36 km at latitude 40 deg).  The
// tables round coordinates to 0.1' (0.19 km), the Sun's altitude to 1 deg
// and durations to 0.1 s.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "astro/Astrcalc.h"
#include "astro/BesselPolynomialFit.h"
#include "astro/DeltaTModel.h"
#include "astro/EclipsePaths.h"
#include "tests/astro/canon_besselian.h"
#include "tests/astro/our_elements.h"

using namespace nodalis;
using nodalis::test::CanonBesselian;
using nodalis::test::CanonBesselianOn;
using nodalis::test::CanonElementsRow;

namespace {
constexpr double RAD = 0.017453292519943295;
constexpr double EARTH_KM = 6371.0;
constexpr long double SECONDS_PER_DAY = 86400;

// Against the published tables: position at the table's instant and the
// distance of a published point from our curve, within the table's rounding
// plus the difference of the elements on the fundamental plane, which the
// ground magnifies by 1 / sin(altitude) where the Sun is low; duration and
// altitude.
constexpr double ROUNDING_KM = 0.3;
constexpr double MIN_ALTITUDE_DEG = 5;
constexpr double DURATION_TOL_S = 0.6;
constexpr double DURATION_TOL_NO_INSTANT_S = 1.0;  // the table's Delta T unknown to a second
constexpr double RATIO_TOL = 0.0008;  // the tables give 0.001
constexpr double ALTITUDE_TOL_DEG = 0.8;
// The ends of the curves on the horizon ("Limits" rows): the central line
// ends on the limb; a limit may end short of it, below a Sun's altitude of
// 0.6 deg: there the envelope of the shadow's edge folds within a second
// (a hundred metres on the fundamental plane are tens of kilometres on the
// ground beside the limb) and its short branch to the horizon, which the
// tables end with, is not traced.
constexpr double CENTRAL_END_TOL_KM = 2.0;
constexpr double END_TIME_TOL_S = 1.0;  // the table gives 0.1 s; 0.2 s measured
constexpr double LIMIT_END_TOL_KM = 60.0;
constexpr double LIMIT_END_ALTITUDE_DEG = 0.6;
// Densification: a chord departs from the curve by less than this.
constexpr double CHORD_TOL_KM = 1.0;
constexpr long double FINE_CHORD_KM = 0.02L;
// Paths from our elements against paths from the canon's, 1000-2500 (the
// Moon's place along its orbit differs by up to 1 s: along the track;
// 7.3 km and 0.8 km measured).
constexpr double SAME_INSTANT_TOL_KM = 15.0;
constexpr double OURS_CURVE_TOL_KM = 1.5;

// "41 29.7N" or "164 30.3W" to signed degrees.
double Angle(const std::string& s) {
  double deg = 0, min = 0;
  char hemi = 0;
  std::sscanf(s.c_str(), "%lf %lf%c", &deg, &min, &hemi);
  const double v = deg + min / 60;
  return hemi == 'S' || hemi == 'W' ? -v : v;
}

double DistanceKm(double lat1, double lon1, double lat2, double lon2) {
  const double a = std::sin((lat2 - lat1) * RAD / 2), b = std::sin((lon2 - lon1) * RAD / 2);
  const double h = a * a + std::cos(lat1 * RAD) * std::cos(lat2 * RAD) * b * b;
  return 2 * EARTH_KM * std::asin(std::sqrt(std::fmin(1.0, h)));
}

double DistanceKm(const PathPoint& p, double lat, double lon) {
  return DistanceKm(static_cast<double>(p.LatitudeDeg), static_cast<double>(p.LongitudeDeg), lat, lon);
}

// Unit vector of a point on the sphere.
void Unit(double lat, double lon, double v[3]) {
  v[0] = std::cos(lat * RAD) * std::cos(lon * RAD);
  v[1] = std::cos(lat * RAD) * std::sin(lon * RAD);
  v[2] = std::sin(lat * RAD);
}

// Distance of a point from the nearest segment of the curve's pieces (great
// circles between neighbours), km.
double DistanceToCurveKm(const EclipsePaths& E, PathCurveKind Kind, double lat, double lon) {
  double best = 1e9;
  double m[3];
  Unit(lat, lon, m);
  for (const PathCurve& c : E.Curves) {
    if (c.Kind != Kind) continue;
    for (std::size_t i = 0; i < c.Points.size(); ++i) {
      best = std::fmin(best, DistanceKm(c.Points[i], lat, lon));
      if (i == 0) continue;
      double a[3], b[3];
      Unit(static_cast<double>(c.Points[i - 1].LatitudeDeg), static_cast<double>(c.Points[i - 1].LongitudeDeg), a);
      Unit(static_cast<double>(c.Points[i].LatitudeDeg), static_cast<double>(c.Points[i].LongitudeDeg), b);
      double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
      const double nn = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
      if (nn == 0) continue;
      for (double& v : n) v /= nn;
      const double s = m[0] * n[0] + m[1] * n[1] + m[2] * n[2];
      // The foot of the perpendicular must lie between a and b.
      double f[3] = {m[0] - s * n[0], m[1] - s * n[1], m[2] - s * n[2]};
      const double ab = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
      const double fa = f[0] * a[0] + f[1] * a[1] + f[2] * a[2], fb = f[0] * b[0] + f[1] * b[1] + f[2] * b[2];
      const double ff = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
      if (ff > 0 && fa / ff >= ab && fb / ff >= ab) best = std::fmin(best, std::fabs(std::asin(s)) * EARTH_KM);
    }
  }
  return best;
}

// One row of a published path table: UT, the northern limit, the southern
// limit and the central line ("" where the table has "-"), the Sun's
// altitude and the central duration there.
struct TableRow {
  const char* ut;  // "HH:MM"
  const char *nlat, *nlon, *slat, *slon, *clat, *clon;
  int alt;          // deg; -1 where the table leaves it out
  double duration;  // s
  double ratio = 0; // the Moon's apparent diameter over the Sun's; 0 not checked
  int day = 0;      // days after the table's date
};

// A curve's ends on the horizon ("Limits" rows of the table).
struct TableLimits {
  const char *nlat, *nlon, *slat, *slon, *clat, *clon;
};

struct PathTable {
  const char* name;
  int year, month, day;
  long double delta_t;  // the table's Delta T, s
  // How far the table's elements lie from the canon's on the fundamental
  // plane, km.
  double plane_offset_km;
  std::vector<TableRow> rows;
  bool has_limits = false;
  TableLimits first, last;
  bool check_instants = true;  // the table's Delta T is known: positions at its instants
};

// NASA, "Path of the Total Solar Eclipse of 2017 Aug 21" (F. Espenak),
// https://eclipse.gsfc.nasa.gov/SEpath/SEpath2001/SE2017Aug21Tpath.html
// (WGS 84, Delta T = 68.4 s); every fifth row and both "Limits" rows.
PathTable Table2017() {
  // The table's elements are the canon's (the eclipse's element page,
  // SEbeselm/SEbeselm2001/SE2017Aug21Tbeselm.html, gives the same
  // coefficients), with another Delta T.
  PathTable t{"2017 Aug 21 T", 2017, 8, 21, 68.4L, 0.1, {}, true, {}, {}};
  t.rows = {
      {"16:50", "41 29.7N", "164 30.3W", "41 25.2N", "161 24.4W", "41 29.2N", "162 51.0W", 7, 61.6},
      {"17:00", "44 45.1N", "142 02.8W", "44 02.9N", "140 57.8W", "44 24.1N", "141 29.7W", 24, 90.9, 1.023},
      {"17:10", "45 21.0N", "130 33.6W", "44 30.0N", "129 52.2W", "44 55.6N", "130 12.5W", 34, 108.6},
      {"17:20", "45 11.9N", "121 50.6W", "44 16.0N", "121 26.0W", "44 44.0N", "121 38.0W", 41, 122.6},
      {"17:30", "44 36.7N", "114 39.0W", "43 38.2N", "114 28.1W", "44 07.4N", "114 33.3W", 47, 134.0},
      {"17:40", "43 43.6N", "108 28.3W", "42 43.9N", "108 29.0W", "43 13.7N", "108 28.5W", 52, 143.3},
      {"17:50", "42 37.1N", "103 01.9W", "41 37.2N", "103 12.3W", "42 07.1N", "103 07.0W", 57, 150.5},
      {"18:00", "41 20.0N", "098 08.9W", "40 20.6N", "098 27.7W", "40 50.3N", "098 18.3W", 60, 155.7},
      {"18:10", "39 54.1N", "093 41.6W", "38 55.8N", "094 07.3W", "39 24.9N", "093 54.5W", 62, 158.9},
      {"18:20", "38 20.5N", "089 33.7W", "37 23.9N", "090 05.3W", "37 52.2N", "089 49.6W", 64, 160.2, 1.031},
      {"18:30", "36 40.1N", "085 40.0W", "35 45.4N", "086 16.4W", "36 12.7N", "085 58.3W", 64, 159.6},
      {"18:40", "34 53.2N", "081 55.6W", "34 00.6N", "082 36.0W", "34 26.9N", "082 15.9W", 63, 157.2},
      {"18:50", "32 59.9N", "078 15.6W", "32 09.8N", "078 59.3W", "32 34.9N", "078 37.6W", 60, 152.9},
      {"19:00", "30 59.9N", "074 34.9W", "30 12.4N", "075 21.3W", "30 36.2N", "074 58.2W", 57, 146.8},
      {"19:10", "28 52.5N", "070 47.1W", "28 07.9N", "071 35.8W", "28 30.3N", "071 11.6W", 53, 139.0},
      {"19:20", "26 36.4N", "066 44.2W", "25 55.0N", "067 34.9W", "26 15.8N", "067 09.7W", 48, 129.5},
      {"19:30", "24 09.1N", "062 13.5W", "23 31.3N", "063 06.4W", "23 50.3N", "062 40.1W", 42, 118.1},
      {"19:40", "21 25.8N", "056 52.8W", "20 52.4N", "057 48.5W", "21 09.2N", "057 20.8W", 35, 104.5},
      {"19:50", "18 14.8N", "049 49.7W", "17 47.6N", "050 51.4W", "18 01.4N", "050 20.7W", 26, 87.7},
      {"20:00", "13 39.6N", "036 48.6W", "13 28.6N", "038 28.0W", "13 34.6N", "037 39.5W", 11, 62.5, 1.017},
      {"20:02", "", "", "11 46.0N", "031 59.5W", "11 34.2N", "029 56.2W", 3, 50.5},
  };
  t.first = {"39 59.7N", "171 44.9W", "39 28.8N", "171 26.0W", "39 44.2N", "171 35.4W"};
  t.last = {"11 15.6N", "027 19.9W", "10 46.9N", "027 33.1W", "11 01.2N", "027 26.5W"};
  return t;
}

// NASA, "Path of the Total Solar Eclipse of 2024 Apr 08" (F. Espenak),
// https://eclipse.gsfc.nasa.gov/SEpath/SEpath2001/SE2024Apr08Tpath.html
// (WGS 84; Delta T = 70.6 s as the eclipse's element page
// SEbeselm/SEbeselm2001/SE2024Apr08Tbeselm.html gives it); every fifth row.
PathTable Table2024() {
  // The table's elements (JPL DE405) differ from the canon's by 8.7e-5
  // Earth radii in x0 (0.55 km).
  PathTable t{"2024 Apr 08 T", 2024, 4, 8, 70.6L, 0.7, {}, false, {}, {}};
  t.rows = {
      {"16:42", "05 30.6S", "149 47.6W", "06 11.7S", "146 38.0W", "05 50.2S", "148 07.8W", 11, 147.5},
      {"16:50", "01 36.2S", "137 58.5W", "02 30.8S", "136 02.5W", "02 03.3S", "136 59.7W", 25, 176.3},
      {"17:00", "02 11.8N", "130 32.7W", "01 13.2N", "128 50.5W", "01 42.7N", "129 41.2W", 35, 199.3},
      {"17:10", "05 37.5N", "125 24.9W", "04 36.8N", "123 47.8W", "05 07.3N", "124 36.1W", 43, 216.9},
      {"17:20", "08 51.6N", "121 23.2W", "07 49.2N", "119 48.5W", "08 20.5N", "120 35.6W", 49, 231.1},
      {"17:30", "11 58.3N", "117 59.4W", "10 54.4N", "116 26.3W", "11 26.4N", "117 12.6W", 55, 242.7},
      {"17:40", "14 59.9N", "114 58.5W", "13 54.6N", "113 26.8W", "14 27.3N", "114 12.5W", 60, 252.0},
      {"17:50", "17 58.1N", "112 11.3W", "16 51.0N", "110 40.8W", "17 24.5N", "111 25.8W", 64, 259.1},
      {"18:00", "20 53.8N", "109 30.6W", "19 44.6N", "108 01.5W", "20 19.2N", "108 45.8W", 67, 264.2},
      {"18:10", "23 47.7N", "106 50.7W", "22 36.2N", "105 23.3W", "23 11.9N", "106 06.8W", 69, 267.2},
      {"18:20", "26 40.4N", "104 06.3W", "25 26.3N", "102 41.2W", "26 03.3N", "103 23.6W", 70, 268.2},
      {"18:30", "29 32.2N", "101 11.9W", "28 15.1N", "099 49.8W", "28 53.6N", "100 30.7W", 68, 267.0},
      {"18:40", "32 23.5N", "098 01.3W", "31 03.1N", "096 43.3W", "31 43.2N", "097 22.2W", 66, 263.7},
      {"18:50", "35 14.1N", "094 26.9W", "33 50.1N", "093 14.6W", "34 32.0N", "093 50.7W", 62, 258.0},
      {"19:00", "38 03.8N", "090 18.7W", "36 36.0N", "089 14.5W", "37 19.7N", "089 46.6W", 57, 250.0},
      {"19:10", "40 51.6N", "085 22.6W", "39 19.9N", "084 29.8W", "40 05.6N", "084 56.3W", 52, 239.4},
      {"19:20", "43 35.6N", "079 16.9W", "42 00.4N", "078 40.9W", "42 47.8N", "078 59.2W", 46, 225.9},
      {"19:30", "46 11.6N", "071 24.2W", "44 33.8N", "071 13.8W", "45 22.4N", "071 19.7W", 38, 209.1},
      {"19:40", "48 29.1N", "060 26.8W", "46 51.5N", "060 59.6W", "47 40.1N", "060 44.7W", 29, 187.7},
      {"19:50", "49 49.3N", "041 59.5W", "48 23.3N", "044 17.7W", "49 06.6N", "043 13.1W", 16, 157.3},
  };
  return t;
}

// EclipseWise (F. Espenak), "Path of the Annular Solar Eclipse of 1131 Sep
// 23", http://eclipsewise.com/solar/SEpath/1101-1200/SE1131Sep23Apath.html
// (WGS 84, Julian calendar), computed from the canon's elements with a
// Delta T of its own near the canon's 954.8 s, which the page does not
// give: the published points are checked against our curves (the distance
// from the curve leaves the timing out; 1 s of Delta T moves the path by
// 0.4 km here), not at the table's instants.  The table leaves the altitude
// out below 10 deg.
PathTable Table1131() {
  PathTable t{"1131 Sep 23 A", 1131, 9, 23, 954.8L, 0.1, {}, false, {}, {}};
  t.check_instants = false;
  t.rows = {
      {"04:02", "16 14.4S", "037 25.6E", "", "", "16 57.4S", "027 45.8E", -1, 319.8, 0.923},
      {"04:04", "16 53.7S", "040 18.5E", "", "", "17 46.5S", "035 09.5E", -1, 330.2, 0.925},
      {"04:06", "17 31.2S", "042 32.2E", "19 19.6S", "032 06.2E", "18 25.5S", "038 25.7E", 12, 335.3, 0.926},
      {"04:08", "18 07.6S", "044 23.3E", "19 58.9S", "036 09.6E", "19 02.5S", "040 50.2E", 15, 339.3, 0.927},
      {"04:10", "18 43.3S", "045 59.4E", "20 35.5S", "038 51.8E", "19 38.4S", "042 47.8E", 17, 342.7, 0.927},
      {"04:12", "19 18.6S", "047 24.6E", "21 11.0S", "040 59.3E", "20 13.7S", "044 28.3E", 19, 345.8, 0.928},
      {"04:14", "19 53.5S", "048 41.5E", "21 45.9S", "042 46.1E", "20 48.5S", "045 56.7E", 21, 348.5, 0.928},
  };
  return t;
}

// NASA, "Hybrid Solar Eclipse of 2005 Apr 08", Table 2 "Shadow Contacts
// and Circumstances" (F. Espenak),
// https://eclipse.gsfc.nasa.gov/SEmono/HSE2005/HSE2005tab/HSE2005-Tab02.html
// (Delta T = 64.8 s): the ends of the umbral limits (N1, S1, N2, S2) and
// of the central line (C1, C2) on the horizon, "True Longitude".  C2's
// true longitude is cut off in our copy of the page: its ephemeris
// longitude 063 22.0W plus the Earth's turn in Delta T (1.002738 * 64.8 s
// * 15"/s = 16.2', as every other row of the table has it).  The table's
// elements (VSOP87/ELP2000-85) put greatest eclipse 0.6 s before the
// canon's: 0.5 km on the fundamental plane.
PathTable Table2005() {
  PathTable t{"2005 Apr 08 H", 2005, 4, 8, 64.8L, 0.5, {}, true, {}, {}};
  t.first = {"47 49.2S", "175 20.5E", "48 04.6S", "175 22.9E", "47 56.9S", "175 21.7E"};
  t.last = {"07 44.6N", "063 05.8W", "07 26.2N", "063 05.7W", "07 35.4N", "063 05.8W"};
  return t;
}

// The canon's elements of the table's eclipse with the table's Delta T.
BesselPolynomials CanonWithTableDeltaT(const PathTable& t) {
  const CanonElementsRow* r = CanonBesselianOn(t.year, t.month, t.day);
  EXPECT_NE(r, nullptr) << t.name << " missing from the fixture";
  if (!r) return {};
  BesselPolynomials P = r->p;
  P.DeltaTSeconds = t.delta_t;
  return P;
}

long double TableJDUT(const PathTable& t, const TableRow& r) {
  int h = 0, m = 0;
  std::sscanf(r.ut, "%d:%d", &h, &m);
  return CalendarToJD(t.year, t.month, static_cast<float>(t.day)) + r.day + (h * 60 + m) / 1440.0L;
}

struct Worst {
  std::string name;
  double value = 0;
  void Add(double v) { value = std::fmax(value, std::fabs(v)); }
};

void ExpectFinite(const EclipsePaths& E, const std::string& id) {
  for (const PathCurve& c : E.Curves)
    for (const PathPoint& p : c.Points)
      ASSERT_TRUE(std::isfinite(p.JDUT) && std::isfinite(p.LatitudeDeg) && std::isfinite(p.LongitudeDeg) &&
                  std::isfinite(p.SunAltitudeDeg) && std::isfinite(p.DurationS))
          << id << " " << PathCurveKindName(c.Kind);
  for (const GeoRing& r : E.UmbraPolygons)
    for (const GeoPoint& g : r)
      ASSERT_TRUE(std::isfinite(g.LatitudeDeg) && std::isfinite(g.LongitudeDeg)) << id;
}

const PathCurve* FirstPiece(const EclipsePaths& E, PathCurveKind Kind) {
  for (const PathCurve& c : E.Curves)
    if (c.Kind == Kind) return &c;
  return nullptr;
}
const PathCurve* LastPiece(const EclipsePaths& E, PathCurveKind Kind) {
  const PathCurve* last = nullptr;
  for (const PathCurve& c : E.Curves)
    if (c.Kind == Kind) last = &c;
  return last;
}

double Tolerance(const PathTable& t, const PathPoint& p) {
  const double alt = std::fmax(MIN_ALTITUDE_DEG, static_cast<double>(p.SunAltitudeDeg));
  return ROUNDING_KM + t.plane_offset_km / std::sin(alt * RAD);
}

void CheckAgainstTable(const PathTable& t) {
  const BesselPolynomials P = CanonWithTableDeltaT(t);
  // Dense enough that the polyline is the curve, for the distances below.
  PathOptions fine;
  fine.MaxChordKm = FINE_CHORD_KM;
  const EclipsePaths E = ComputeEclipsePaths(P, fine);
  ASSERT_TRUE(E.Valid && E.Central && E.Umbral) << t.name;
  ExpectFinite(E, t.name);
  Worst at{"central at the table's UT, km"}, nat{"limits at the table's UT, km"},
      curve{"published points from our curves, km"}, dur{"duration, s"}, alt{"Sun's altitude, deg"},
      ratio{"diameter ratio"};
  for (const TableRow& r : t.rows) {
    const long double jd = TableJDUT(t, r);
    const std::string id = std::string(t.name) + " " + r.ut;
    PathPoint c;
    ASSERT_TRUE(PathPointAt(P, PathCurveKind::Central, jd, c)) << id;
    const double dc = DistanceKm(c, Angle(r.clat), Angle(r.clon));
    if (t.check_instants) {
      EXPECT_LE(dc, Tolerance(t, c)) << id << " central line at the table's UT";
    }
    EXPECT_LE(DistanceToCurveKm(E, PathCurveKind::Central, Angle(r.clat), Angle(r.clon)), Tolerance(t, c)) << id;
    EXPECT_NEAR(static_cast<double>(c.DurationS), r.duration,
                t.check_instants ? DURATION_TOL_S : DURATION_TOL_NO_INSTANT_S)
        << id;
    if (r.alt >= 0) {
      EXPECT_NEAR(static_cast<double>(c.SunAltitudeDeg), r.alt, ALTITUDE_TOL_DEG) << id;
      alt.Add(static_cast<double>(c.SunAltitudeDeg) - r.alt);
    }
    if (r.ratio > 0) {
      EXPECT_NEAR(static_cast<double>(c.DiameterRatio), r.ratio, RATIO_TOL) << id;
      ratio.Add(static_cast<double>(c.DiameterRatio) - r.ratio);
    }
    at.Add(dc);
    dur.Add(static_cast<double>(c.DurationS) - r.duration);
    curve.Add(DistanceToCurveKm(E, PathCurveKind::Central, Angle(r.clat), Angle(r.clon)));
    for (bool north : {true, false}) {
      const char* lat = north ? r.nlat : r.slat;
      const char* lon = north ? r.nlon : r.slon;
      const PathCurveKind kind = north ? PathCurveKind::UmbraNorth : PathCurveKind::UmbraSouth;
      PathPoint l;
      const bool on = PathPointAt(P, kind, jd, l);
      if (!*lat) {
        EXPECT_FALSE(on) << id << " " << PathCurveKindName(kind) << " is off the Earth in the table";
        continue;
      }
      ASSERT_TRUE(on) << id << " " << PathCurveKindName(kind);
      const double dl = DistanceKm(l, Angle(lat), Angle(lon));
      const double dcurve = DistanceToCurveKm(E, kind, Angle(lat), Angle(lon));
      if (t.check_instants) {
        EXPECT_LE(dl, Tolerance(t, l)) << id << " " << PathCurveKindName(kind);
      }
      EXPECT_LE(dcurve, Tolerance(t, l)) << id << " " << PathCurveKindName(kind);
      nat.Add(dl);
      curve.Add(dcurve);
    }
  }
  Worst ends{"limits' ends, km"}, cends{"central line's ends, km"};
  if (t.has_limits) {
    const struct {
      PathCurveKind kind;
      const char *flat, *flon, *llat, *llon;
    } curves[] = {{PathCurveKind::UmbraNorth, t.first.nlat, t.first.nlon, t.last.nlat, t.last.nlon},
                  {PathCurveKind::UmbraSouth, t.first.slat, t.first.slon, t.last.slat, t.last.slon},
                  {PathCurveKind::Central, t.first.clat, t.first.clon, t.last.clat, t.last.clon}};
    for (const auto& k : curves) {
      const PathCurve* a = FirstPiece(E, k.kind);
      const PathCurve* b = LastPiece(E, k.kind);
      ASSERT_TRUE(a && b) << t.name << " " << PathCurveKindName(k.kind);
      const double d1 = DistanceKm(a->Points.front(), Angle(k.flat), Angle(k.flon));
      const double d2 = DistanceKm(b->Points.back(), Angle(k.llat), Angle(k.llon));
      const bool central = k.kind == PathCurveKind::Central;
      const double tol = central ? CENTRAL_END_TOL_KM : LIMIT_END_TOL_KM;
      const double horizon = central ? 0.01 : LIMIT_END_ALTITUDE_DEG;
      EXPECT_LE(d1, tol) << t.name << " start of " << PathCurveKindName(k.kind);
      EXPECT_LE(d2, tol) << t.name << " end of " << PathCurveKindName(k.kind);
      EXPECT_NEAR(static_cast<double>(a->Points.front().SunAltitudeDeg), 0, horizon) << t.name;
      EXPECT_NEAR(static_cast<double>(b->Points.back().SunAltitudeDeg), 0, horizon) << t.name;
      (central ? cends : ends).Add(std::fmax(d1, d2));
    }
  }
  std::printf("  %s (%zu rows):", t.name, t.rows.size());
  for (const Worst* w : {&at, &nat, &curve, &dur, &alt, &ratio, &cends, &ends}) std::printf(" %s %.2f;", w->name.c_str(), w->value);
  std::printf("\n");
}
}  // namespace

TEST(EclipsePaths, Total2017Aug21AgainstNasaPathTable) { CheckAgainstTable(Table2017()); }
TEST(EclipsePaths, Total2024Apr08AgainstNasaPathTable) { CheckAgainstTable(Table2024()); }
TEST(EclipsePaths, Annular1131Sep23AgainstEclipseWise) { CheckAgainstTable(Table1131()); }

// A hybrid eclipse: the path's ends against NASA's, and the central line
// annular at both ends (the Moon's disk smaller than the Sun's), total in
// between.
TEST(EclipsePaths, Hybrid2005Apr08AgainstNasaShadowContacts) {
  const PathTable t = Table2005();
  CheckAgainstTable(t);
  const EclipsePaths E = ComputeEclipsePaths(CanonWithTableDeltaT(t));
  const PathCurve* a = FirstPiece(E, PathCurveKind::Central);
  const PathCurve* b = LastPiece(E, PathCurveKind::Central);
  ASSERT_TRUE(a && b);
  EXPECT_LT(a->Points.front().DiameterRatio, 1);
  EXPECT_LT(b->Points.back().DiameterRatio, 1);
  // C1 18:54:44.0 and C2 22:19:09.9 TD.
  const long double day = CalendarToJD(2005, 4, 8.0f), dt = t.delta_t / SECONDS_PER_DAY;
  const double c1 = static_cast<double>((a->Points.front().JDUT + dt - day) * SECONDS_PER_DAY - (18 * 3600 + 54 * 60 + 44.0L));
  const double c2 = static_cast<double>((b->Points.back().JDUT + dt - day) * SECONDS_PER_DAY - (22 * 3600 + 19 * 60 + 9.9L));
  std::printf("  central line's ends: %+.1f s, %+.1f s\n", c1, c2);
  EXPECT_NEAR(c1, 0, END_TIME_TOL_S);
  EXPECT_NEAR(c2, 0, END_TIME_TOL_S);
  long double most = 0;
  for (const PathCurve& c : E.Curves)
    if (c.Kind == PathCurveKind::Central)
      for (const PathPoint& p : c.Points) most = std::fmax(most, p.DiameterRatio);
  EXPECT_GT(most, 1);
}

namespace {
// Distance of M from the segment A-B, km: in longitude and latitude (the
// longitude scaled by the cosine of M's latitude) and from the great
// circle through A and B; the larger, as the files' readers draw either.
double ChordDistanceKm(const PathPoint& A, const PathPoint& B, const PathPoint& M) {
  const double km = EARTH_KM * RAD, c = std::cos(static_cast<double>(M.LatitudeDeg) * RAD);
  const double bx = std::remainder(static_cast<double>(B.LongitudeDeg - A.LongitudeDeg), 360.0) * c * km;
  const double by = static_cast<double>(B.LatitudeDeg - A.LatitudeDeg) * km;
  const double mx = std::remainder(static_cast<double>(M.LongitudeDeg - A.LongitudeDeg), 360.0) * c * km;
  const double my = static_cast<double>(M.LatitudeDeg - A.LatitudeDeg) * km;
  const double len2 = bx * bx + by * by;
  const double s = len2 > 0 ? std::fmax(0.0, std::fmin(1.0, (mx * bx + my * by) / len2)) : 0;
  const double plane = std::hypot(mx - s * bx, my - s * by);
  double a[3], b[3], m[3];
  Unit(static_cast<double>(A.LatitudeDeg), static_cast<double>(A.LongitudeDeg), a);
  Unit(static_cast<double>(B.LatitudeDeg), static_cast<double>(B.LongitudeDeg), b);
  Unit(static_cast<double>(M.LatitudeDeg), static_cast<double>(M.LongitudeDeg), m);
  double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  const double nn = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  const double great = nn > 0 ? std::fabs(std::asin((m[0] * n[0] + m[1] * n[1] + m[2] * n[2]) / nn)) * EARTH_KM : 0;
  return std::fmax(plane, great);
}

// The canon's elements of a fixture eclipse, as they are.
BesselPolynomials Canon(int year, int month, int day) {
  const CanonElementsRow* r = CanonBesselianOn(year, month, day);
  EXPECT_NE(r, nullptr) << year << "-" << month << "-" << day << " missing from the fixture";
  return r ? r->p : BesselPolynomials{};
}

// Point-in-polygon in longitude and latitude (even-odd rule).
bool Inside(const GeoRing& ring, double lat, double lon) {
  bool in = false;
  for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    const double yi = static_cast<double>(ring[i].LatitudeDeg), yj = static_cast<double>(ring[j].LatitudeDeg);
    const double xi = static_cast<double>(ring[i].LongitudeDeg), xj = static_cast<double>(ring[j].LongitudeDeg);
    if ((yi > lat) != (yj > lat) && lon < (xj - xi) * (lat - yi) / (yj - yi) + xi) in = !in;
  }
  return in;
}
}  // namespace

// Between two neighbours of every curve the true curve stays within 1 km
// of the straight segment, also near the ends on the horizon, where the
// ground point races; checked at three instants inside every segment.
TEST(EclipsePaths, ChordsStayWithinAKilometreOfTheCurve) {
  const int dates[][3] = {{2017, 8, 21}, {2021, 6, 10}, {2025, 3, 29}, {2023, 4, 20}, {2009, 7, 22}};
  for (const auto& d : dates) {
    const BesselPolynomials P = Canon(d[0], d[1], d[2]);
    const EclipsePaths E = ComputeEclipsePaths(P);
    ASSERT_TRUE(E.Valid) << d[0];
    ExpectFinite(E, std::to_string(d[0]));
    double worst = 0;
    std::size_t points = 0;
    for (const PathCurve& c : E.Curves) {
      points += c.Points.size();
      for (std::size_t i = 1; i < c.Points.size(); ++i) {
        const PathPoint &a = c.Points[i - 1], &b = c.Points[i];
        EXPECT_GE(b.JDUT, a.JDUT) << d[0] << " " << PathCurveKindName(c.Kind) << ": time order";
        for (double f : {0.25, 0.5, 0.75}) {
          PathPoint m;
          if (!PathPointAt(P, c.Kind, a.JDUT + f * (b.JDUT - a.JDUT), m)) continue;
          const double e = ChordDistanceKm(a, b, m);
          worst = std::fmax(worst, e);
          EXPECT_LE(e, CHORD_TOL_KM) << d[0] << " " << PathCurveKindName(c.Kind) << " segment " << i;
        }
      }
    }
    std::printf("  %d: %zu points, largest chord error %.3f km\n", d[0], points, worst);
  }
}

// Pieces split at the antimeridian: no segment spans more than a few
// degrees of longitude, and a piece that ends at +-180 deg is continued by
// one that starts at the opposite sign, at the same place and instant.
TEST(EclipsePaths, SplitAtTheAntimeridian) {
  // 2009 Jul 22 (total) ends over the Pacific, 2399 Aug 2 (total) begins
  // over the Bering Sea.
  for (const auto& d : std::vector<std::array<int, 3>>{{2009, 7, 22}, {2399, 8, 2}}) {
    const EclipsePaths E = ComputeEclipsePaths(Canon(d[0], d[1], d[2]));
    ASSERT_TRUE(E.Valid);
    int splits = 0;
    for (std::size_t k = 0; k < E.Curves.size(); ++k) {
      const PathCurve& c = E.Curves[k];
      for (std::size_t i = 1; i < c.Points.size(); ++i)
        EXPECT_LT(std::fabs(static_cast<double>(c.Points[i].LongitudeDeg - c.Points[i - 1].LongitudeDeg)), 30.0)
            << d[0] << " " << PathCurveKindName(c.Kind);
      for (const PathPoint& p : c.Points) {
        EXPECT_LE(std::fabs(static_cast<double>(p.LongitudeDeg)), 180.0);
        EXPECT_LE(std::fabs(static_cast<double>(p.LatitudeDeg)), 90.0);
      }
      const PathPoint& end = c.Points.back();
      if (std::fabs(static_cast<double>(end.LongitudeDeg)) == 180 && k + 1 < E.Curves.size() &&
          E.Curves[k + 1].Kind == c.Kind) {
        const PathPoint& start = E.Curves[k + 1].Points.front();
        EXPECT_EQ(start.LongitudeDeg, -end.LongitudeDeg);
        EXPECT_EQ(start.LatitudeDeg, end.LatitudeDeg);
        EXPECT_EQ(start.JDUT, end.JDUT);
        ++splits;
      }
    }
    EXPECT_GE(splits, 3) << d[0] << ": the central line and both limits cross";
    // The umbral path comes in two rings, one on either side.
    EXPECT_GE(E.UmbraPolygons.size(), 2u) << d[0];
  }
}

// The umbral path: closed counter-clockwise rings within the map, the
// central line inside, the limits on its edge; near the poles too (the
// annular 2021 Jun 10 passes near the North Pole, the total 2003 Nov 23
// near the South Pole).
TEST(EclipsePaths, UmbralPolygonsHoldTheCentralLine) {
  for (const auto& d : std::vector<std::array<int, 3>>{{2017, 8, 21}, {2021, 6, 10}, {2003, 11, 23}, {2023, 4, 20}}) {
    const std::string id = std::to_string(d[0]);
    const EclipsePaths E = ComputeEclipsePaths(Canon(d[0], d[1], d[2]));
    ASSERT_TRUE(E.Valid && E.Central && E.Umbral) << id;
    ASSERT_FALSE(E.UmbraPolygons.empty()) << id;
    for (const GeoRing& r : E.UmbraPolygons) {
      ASSERT_GE(r.size(), 4u) << id;
      EXPECT_EQ(r.front().LatitudeDeg, r.back().LatitudeDeg) << id;
      EXPECT_EQ(r.front().LongitudeDeg, r.back().LongitudeDeg) << id;
      double area = 0;
      for (std::size_t i = 1; i < r.size(); ++i) {
        area += static_cast<double>(r[i - 1].LongitudeDeg * r[i].LatitudeDeg - r[i].LongitudeDeg * r[i - 1].LatitudeDeg);
        EXPECT_LE(std::fabs(static_cast<double>(r[i].LongitudeDeg)), 180.0) << id;
        EXPECT_LE(std::fabs(static_cast<double>(r[i].LatitudeDeg)), 90.0) << id;
      }
      EXPECT_GT(area, 0) << id << ": counter-clockwise";
    }
    int inside = 0, total = 0;
    for (const PathCurve& c : E.Curves) {
      if (c.Kind != PathCurveKind::Central) continue;
      for (std::size_t i = 1; i + 1 < c.Points.size(); i += 7) {
        const double lat = static_cast<double>(c.Points[i].LatitudeDeg), lon = static_cast<double>(c.Points[i].LongitudeDeg);
        if (c.Points[i].SunAltitudeDeg < 1) continue;  // the ends, where the path closes on the limb
        ++total;
        for (const GeoRing& r : E.UmbraPolygons)
          if (Inside(r, lat, lon)) {
            ++inside;
            break;
          }
      }
    }
    EXPECT_GT(total, 10) << id;
    EXPECT_EQ(inside, total) << id << ": central points inside the umbral path";
  }
}

// A partial eclipse has no central line and no umbra, one limit of the
// penumbra and the curves of maximum eclipse on the horizon, which meet
// where the maximum passes from sunrise to sunset.
TEST(EclipsePaths, PartialEclipseHasPenumbralCurvesOnly) {
  const EclipsePaths E = ComputeEclipsePaths(Canon(2025, 3, 29));
  ASSERT_TRUE(E.Valid);
  ExpectFinite(E, "2025");
  EXPECT_FALSE(E.Central);
  EXPECT_FALSE(E.Umbral);
  EXPECT_TRUE(E.UmbraPolygons.empty());
  int penumbral = 0, rise = 0, set = 0;
  for (const PathCurve& c : E.Curves) {
    EXPECT_NE(c.Kind, PathCurveKind::Central);
    EXPECT_NE(c.Kind, PathCurveKind::UmbraNorth);
    EXPECT_NE(c.Kind, PathCurveKind::UmbraSouth);
    penumbral += c.Kind == PathCurveKind::PenumbraNorth || c.Kind == PathCurveKind::PenumbraSouth;
    rise += c.Kind == PathCurveKind::SunriseMaximum;
    set += c.Kind == PathCurveKind::SunsetMaximum;
    if (c.Kind == PathCurveKind::SunriseMaximum || c.Kind == PathCurveKind::SunsetMaximum) {
      for (const PathPoint& p : c.Points) {
        EXPECT_EQ(p.SunAltitudeDeg, 0);
      }
    }
  }
  EXPECT_GE(penumbral, 1);
  EXPECT_GE(rise, 1);
  EXPECT_GE(set, 1);
  // Greatest eclipse lies on the limb, near the canon's 61.1N 77.1W.
  EXPECT_LT(DistanceKm(E.Greatest, 61.1, -77.1), 30.0);
}

// Elements that are not finite, or an eclipse whose penumbra misses the
// Earth, give no paths (never a non-finite point).
TEST(EclipsePaths, NothingForElementsThatMissOrAreNotFinite) {
  const BesselPolynomials good = Canon(2017, 8, 21);
  BesselPolynomials miss = good;
  miss.Y[0] = 2.5;  // the penumbra passes 1.9 Earth radii north of the centre
  EXPECT_FALSE(ComputeEclipsePaths(miss).Valid);
  EXPECT_TRUE(ComputeEclipsePaths(miss).Curves.empty());
  const long double nan = std::nanl("");
  for (int field = 0; field < 6; ++field) {
    BesselPolynomials Q = good;
    switch (field) {
      case 0: Q.X[0] = nan; break;
      case 1: Q.MuDeg[1] = nan; break;
      case 2: Q.DeltaTSeconds = nan; break;
      case 3: Q.TanF2 = nan; break;
      case 4: Q.JDT0TD = nan; break;
      default: Q.L1[2] = std::numeric_limits<long double>::infinity(); break;
    }
    const EclipsePaths E = ComputeEclipsePaths(Q);
    EXPECT_FALSE(E.Valid) << field;
    EXPECT_TRUE(E.Curves.empty()) << field;
    EXPECT_TRUE(E.UmbraPolygons.empty()) << field;
    PathPoint p;
    EXPECT_FALSE(PathPointAt(Q, PathCurveKind::Central, good.JDGreatestTD, p)) << field;
  }
  PathPoint p;
  EXPECT_FALSE(PathPointAt(good, PathCurveKind::Central, nan, p));
  // Five hours after greatest eclipse the elements are not used.
  EXPECT_FALSE(PathPointAt(good, PathCurveKind::Central, good.JDGreatestTD + 5.0L / 24, p));
  PathOptions zero;
  zero.MaxChordKm = 0;
  EXPECT_FALSE(ComputeEclipsePaths(good, zero).Valid);
}

// Our elements against the canon's (ELP2000, the canon's Delta T for both),
// 1000-2500: the central line's place at the same instant and the distance
// of our central line from the canon's (which leaves the timing out).
TEST(EclipsePaths, OursAgainstTheCanonsElements1000To2500) {
  UseLunarLib = true;
  Worst same{"same instant, km"}, curve{"from the canon's curve, km"};
  int n = 0;
  for (const CanonElementsRow& r : CanonBesselian()) {
    if (r.year < 1000 || r.year > 2500 || !r.central()) continue;
    BesselPolynomials ours;
    ASSERT_TRUE(nodalis::test::OurElements(r, r.p.DeltaTSeconds, ours)) << r.id();
    PathOptions fine;
    fine.MaxChordKm = FINE_CHORD_KM;
    fine.Penumbra = fine.Horizon = fine.UmbraPolygons = false;
    PathOptions coarse = fine;
    coarse.MaxChordKm = 1;
    const EclipsePaths canon = ComputeEclipsePaths(r.p, fine);
    const EclipsePaths mine = ComputeEclipsePaths(ours, coarse);
    const PathCurve* c = FirstPiece(mine, PathCurveKind::Central);
    if (!c || !FirstPiece(canon, PathCurveKind::Central)) continue;  // grazing: one of them misses
    ++n;
    for (const PathCurve& piece : mine.Curves) {
      if (piece.Kind != PathCurveKind::Central) continue;
      for (std::size_t i = 0; i < piece.Points.size(); i += 5) {
        const PathPoint& p = piece.Points[i];
        if (p.SunAltitudeDeg < 5) continue;  // near the limb a second moves the point by km
        PathPoint q;
        if (PathPointAt(r.p, PathCurveKind::Central, p.JDUT, q)) {
          const double ds = DistanceKm(p, static_cast<double>(q.LatitudeDeg), static_cast<double>(q.LongitudeDeg));
          EXPECT_LE(ds, SAME_INSTANT_TOL_KM) << r.id();
          same.Add(ds);
        }
        const double dc = DistanceToCurveKm(canon, PathCurveKind::Central, static_cast<double>(p.LatitudeDeg),
                                            static_cast<double>(p.LongitudeDeg));
        EXPECT_LE(dc, OURS_CURVE_TOL_KM) << r.id();
        curve.Add(dc);
      }
    }
  }
  EXPECT_GE(n, 60);
  std::printf("  %d central eclipses: %s %.2f; %s %.2f\n", n, same.name.c_str(), same.value, curve.name.c_str(),
              curve.value);
}
