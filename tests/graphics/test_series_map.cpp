// A series on the world map: each member's band, central line and point of
// greatest eclipse where NASA's path table has them, the member under a
// point, and every coordinate finite in whole series.
#include <gtest/gtest.h>

#include <cmath>

#include "app/core/SeriesCommands.h"
#include "app/core/SeriesState.h"
#include "astro/TIMLIB.h"
#include "graphics/map/SeriesMap.h"
#include "tests/graphics/map_places.h"

using namespace nodalis;
using map_test::PATH_2017;
using map_test::SeriesOf;

namespace {


// The index of the member whose greatest eclipse falls on the TDT date.
int MemberOfDate(const SeriesMap& M, int Year, int Month, int Day) {
  for (std::size_t i = 0; i < M.Members.size(); ++i) {
    const long double jd0 = CalendarToJD(Year, Month, float(Day));
    if (M.Members[i].JDGreatestTD >= jd0 && M.Members[i].JDGreatestTD < jd0 + 1) return int(i);
  }
  return -1;
}

bool InBand(const MapMember& M, MapPoint P) {
  for (const PlaneRing& r : M.Bands)
    if (InsideRing(r.Points, P)) return true;
  return false;
}

// Inside the band, or within Tol degrees of its edge (where a hybrid's
// path narrows to nothing at the change of type).
bool InOrOnBand(const MapMember& M, MapPoint P, double Tol) {
  if (InBand(M, P)) return true;
  for (const PlaneRing& r : M.Bands)
    for (std::size_t k = 1; k < r.Points.size(); ++k)
      if (MapDistanceDeg(P, r.Points[k - 1], r.Points[k]) < Tol) return true;
  return false;
}

bool Finite(const MapRing& R) {
  for (const MapPoint& p : R)
    if (!std::isfinite(p.LonDeg) || !std::isfinite(p.LatDeg)) return false;
  return true;
}

}  // namespace

TEST(SeriesMap, Saros145AgainstNasaPathOf2017) {
  const SeriesMap M = BuildSeriesMap(SeriesOf(145), DeltaTModel::EspenakMeeus2006);
  ASSERT_TRUE(M.Complete);
  const int i = MemberOfDate(M, 2017, 8, 21);
  ASSERT_GE(i, 0);
  const MapMember& m = M.Members[std::size_t(i)];
  EXPECT_EQ(m.No, 22);
  EXPECT_EQ(m.TypeCode, 5) << "total";
  ASSERT_TRUE(m.Valid && m.Umbral);
  // NASA's greatest eclipse: 36 58.0 N, 87 40.3 W (the eclipse's page,
  // eclipse.gsfc.nasa.gov/SEsearch/SEsearchmap.php?Ecl=20170821); within
  // 0.1 deg (11 km), the canon's own rounding and the ground point's
  // sensitivity to Delta T.
  constexpr double GREATEST_TOL_DEG = 0.1;
  EXPECT_NEAR(m.Greatest.LatDeg, 36.9667, GREATEST_TOL_DEG);
  EXPECT_NEAR(m.Greatest.LonDeg, -87.6717, GREATEST_TOL_DEG);
  for (const auto& r : PATH_2017) {
    SCOPED_TRACE(r.Ut);
    double lat = 0, lon = 0;
    for (double f : {0.25, 0.75}) {
      map_test::Across(r, f, lat, lon);
      EXPECT_TRUE(InBand(m, {lon, lat})) << f;
      EXPECT_EQ(MemberAt(M, {lon, lat}, 0), i) << f;
    }
    for (double f : {-0.25, 1.25}) {
      map_test::Across(r, f, lat, lon);
      EXPECT_FALSE(InBand(m, {lon, lat})) << f;
      EXPECT_NE(MemberAt(M, {lon, lat}, 0), i) << f;
    }
    // The central line passes within 2 km (0.02 deg) of the table's point.
    constexpr double CENTRAL_TOL_DEG = 0.02;
    double nearest = 1e9;
    for (const MapRing& line : m.CentralLine)
      for (std::size_t k = 1; k < line.size(); ++k)
        nearest = std::min(nearest, MapDistanceDeg({r.CentralLon, r.CentralLat}, line[k - 1], line[k]));
    EXPECT_LT(nearest, CENTRAL_TOL_DEG);
  }
  // A partial member (the first) under a point 0.3 deg from its mark: found
  // within a tolerance of 0.5 deg, not within 0.1 deg.
  const MapMember& first = M.Members.front();
  ASSERT_EQ(first.TypeCode, 1);
  const MapPoint near{first.Greatest.LonDeg, first.Greatest.LatDeg - 0.3};
  EXPECT_EQ(MemberAt(M, near, 0.5), 0);
  EXPECT_EQ(MemberAt(M, near, 0.1), -1);
}

// In whole series, from pole to pole: every coordinate finite, every
// band's ring closed and within -180 .. 180, the central line inside the
// band (its inner points: the ends lie on the band's edge at the limb; within
// 5 km of the edge where a hybrid's path narrows to nothing), and
// a partial member without band or central line.
TEST(SeriesMap, WholeSeriesAreFiniteAndConsistent) {
  constexpr double EDGE_TOL_DEG = 0.05;  // 5 km
  for (int saros : {136, 139, 145}) {
    SCOPED_TRACE(saros);
    const SeriesMap M = BuildSeriesMap(SeriesOf(saros), DeltaTModel::Nodalis);
    ASSERT_TRUE(M.Complete);
    ASSERT_GT(M.Members.size(), 60u);
    int partial = 0, banded = 0, crossing = 0;
    for (const MapMember& m : M.Members) {
      SCOPED_TRACE(m.No);
      ASSERT_TRUE(m.Valid);
      ASSERT_TRUE(std::isfinite(m.Greatest.LatDeg) && std::isfinite(m.Greatest.LonDeg));
      EXPECT_LE(std::fabs(m.Greatest.LatDeg), 90);
      EXPECT_LE(std::fabs(m.Greatest.LonDeg), 180);
      if (m.TypeCode == 1) {
        ++partial;
        EXPECT_TRUE(m.Bands.empty());
        EXPECT_TRUE(m.CentralLine.empty());
        continue;
      }
      if (m.Bands.empty()) continue;
      ++banded;
      bool east = false, west = false;
      for (const PlaneRing& r : m.Bands) {
        ASSERT_TRUE(Finite(r.Points));
        ASSERT_GE(r.Points.size(), 4u);
        EXPECT_EQ(r.Points.front().LonDeg, r.Points.back().LonDeg);
        EXPECT_EQ(r.Points.front().LatDeg, r.Points.back().LatDeg);
        EXPECT_GE(r.MinLonDeg, -180);
        EXPECT_LE(r.MaxLonDeg, 180);
        east = east || r.MaxLonDeg >= 180;
        west = west || r.MinLonDeg <= -180;
      }
      crossing += east && west;
      for (const MapRing& line : m.CentralLine) {
        ASSERT_TRUE(Finite(line));
        for (std::size_t k = std::max<std::size_t>(1, line.size() / 10);
             k + std::max<std::size_t>(1, line.size() / 10) < line.size(); ++k)
          if (std::fabs(line[k].LonDeg) < 179.99) {  // the split's ends lie on the band's edge
            EXPECT_TRUE(InOrOnBand(m, line[k], EDGE_TOL_DEG)) << k << " of " << line.size();
          }
      }
    }
    EXPECT_GT(partial, 5) << "the series' ends";
    EXPECT_GT(banded, 30);
    EXPECT_GT(crossing, 3) << "paths across the antimeridian, drawn on both sides";
  }
}
