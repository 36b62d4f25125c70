// The world map's geometry: the land outline table, plane rings across the
// antimeridian and around a pole, land and sea at known places, the
// graticule.
//
// Places: tests/graphics/map_places.h.
#include <gtest/gtest.h>

#include <cmath>

#include "graphics/map/MapGeometry.h"
#include "graphics/map/WorldOutlines.h"
#include "tests/graphics/map_places.h"

using namespace nodalis;

namespace {

using map_test::CITIES;
using map_test::Place;
using map_test::SEA;

// Points of Antarctica's interior and of the eastern tip of Siberia beyond
// the antimeridian (Chukotka, 66 N 175 W; GeoNames' Uelen is 66.16 N
// 169.81 W on its coast): Eurasia's ring crosses the antimeridian.
const Place BEYOND[] = {{"South Pole", -89.5, 0},      {"Antarctica", -80, 100},
                        {"Antarctica", -80, -100},     {"Chukotka", 66.0, -175.0},
                        {"Siberia", 66.0, 175.0}};

}  // namespace

TEST(WorldOutlines, TablesAreClosedRingsOnTheGlobe) {
  for (OutlineDetail d : {OutlineDetail::Coarse, OutlineDetail::Fine}) {
    const OutlineLevel L = LandOutline(d);
    ASSERT_GT(L.RingCount, 100u);
    ASSERT_FALSE(L.Rings[0].Hole) << "the first ring begins a polygon";
    std::size_t points = 0;
    for (std::size_t r = 0; r < L.RingCount; ++r) {
      const OutlineRing& R = L.Rings[r];
      ASSERT_EQ(R.First, points) << "rings follow each other";
      ASSERT_GE(R.Count, 4u);
      long lon = 0, lat = 0, lon0 = 0, lat0 = 0;
      for (std::uint32_t i = 0; i < R.Count; ++i) {
        const std::int32_t* p = L.Points + 2 * (R.First + i);
        lon = i ? lon + p[0] : p[0];
        lat = i ? lat + p[1] : p[1];
        if (i == 0) lon0 = lon, lat0 = lat;
        ASSERT_LE(std::labs(lon), 180 * OUTLINE_UNITS_PER_DEG);
        ASSERT_LE(std::labs(lat), 90 * OUTLINE_UNITS_PER_DEG);
      }
      EXPECT_EQ(lon, lon0);
      EXPECT_EQ(lat, lat0);
      points += R.Count;
    }
    EXPECT_EQ(points, L.PointCount);
  }
  EXPECT_GT(LandOutline(OutlineDetail::Fine).PointCount,
            5 * LandOutline(OutlineDetail::Coarse).PointCount);
}

TEST(MapGeometry, RingAcrossTheAntimeridianIsContinuous) {
  // A square of 2 deg around (0 N, 180 E), as the globe's data gives it.
  const MapRing globe = {{179, -1}, {-179, -1}, {-179, 1}, {179, 1}, {179, -1}};
  const PlaneRing p = MakePlaneRing(globe);
  EXPECT_EQ(p.Pole, 0);
  ASSERT_EQ(p.Points.size(), 5u);
  EXPECT_DOUBLE_EQ(p.Points[1].LonDeg, 181);
  EXPECT_DOUBLE_EQ(p.MinLonDeg, 179);
  EXPECT_DOUBLE_EQ(p.MaxLonDeg, 181);
  // Drawn twice: as it stands and 360 deg west; each copy holds one half.
  EXPECT_EQ(WrapShifts(p.MinLonDeg, p.MaxLonDeg), (std::vector<double>{-360, 0}));
  EXPECT_TRUE(InsideRing(p.Points, {179.5, 0}));
  EXPECT_TRUE(InsideRing(p.Points, {-179.5 + 360, 0}));
  EXPECT_FALSE(InsideRing(p.Points, {178.5, 0}));
  EXPECT_EQ(WrapShifts(-10, 10), (std::vector<double>{0}));
}

TEST(MapGeometry, RingAroundAPoleIsClosedThroughIt) {
  // A parallel at 70 S once around the globe, eastward, in 60 deg steps.
  MapRing globe;
  for (int lon = -180; lon <= 180; lon += 60) globe.push_back({double(lon == 180 ? -180 : lon), -70});
  const PlaneRing p = MakePlaneRing(globe);
  EXPECT_EQ(p.Pole, -1);
  EXPECT_EQ(p.CoastCount, globe.size()) << "the closure along the pole is no coast";
  EXPECT_DOUBLE_EQ(p.Points.back().LonDeg, p.Points.front().LonDeg);
  EXPECT_DOUBLE_EQ(p.Points[p.CoastCount].LatDeg, -90);
  EXPECT_DOUBLE_EQ(p.MaxLonDeg - p.MinLonDeg, 360);
  EXPECT_TRUE(InsideRing(p.Points, {0, -80}));
  EXPECT_FALSE(InsideRing(p.Points, {0, -60}));
  // The same parallel in the north: closed through the north pole.
  for (MapPoint& q : globe) q.LatDeg = 70;
  EXPECT_EQ(MakePlaneRing(globe).Pole, 1);
}

TEST(MapGeometry, LandAndSeaAtKnownPlaces) {
  for (OutlineDetail d : {OutlineDetail::Coarse, OutlineDetail::Fine}) {
    SCOPED_TRACE(d == OutlineDetail::Fine ? "1:50 million" : "1:110 million");
    for (const Place& c : CITIES) EXPECT_TRUE(IsLand({c.Lon, c.Lat}, d)) << c.Name;
    for (const Place& s : SEA) EXPECT_FALSE(IsLand({s.Lon, s.Lat}, d)) << s.Name;
    for (const Place& b : BEYOND) EXPECT_TRUE(IsLand({b.Lon, b.Lat}, d)) << b.Name;
    // The Caspian Sea (42 N 50.5 E) is water within the land.
    EXPECT_FALSE(IsLand({50.5, 42}, d)) << "Caspian Sea";
  }
}

TEST(MapGeometry, GraticuleEveryThirtyDegrees) {
  const std::vector<MapSegment> g = Graticule();
  // 13 meridians -180 .. 180 and 5 parallels -60 .. 60.
  ASSERT_EQ(g.size(), 18u);
  EXPECT_DOUBLE_EQ(g.front().A.LonDeg, -180);
  EXPECT_DOUBLE_EQ(g[12].A.LonDeg, 180);
  EXPECT_DOUBLE_EQ(g[13].A.LatDeg, -60);
  EXPECT_DOUBLE_EQ(g.back().B.LatDeg, 60);
  EXPECT_EQ(DetailForScale(2.5), OutlineDetail::Coarse) << "the whole world at 96 dpi";
  EXPECT_EQ(DetailForScale(20), OutlineDetail::Fine);
}
