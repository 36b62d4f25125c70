// The world map's pixels: the 2017 path where NASA's table has it (inside
// the band and just outside it), land and sea at known places, a path
// across the antimeridian drawn on both sides, and the page of the map.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "app/core/SeriesCommands.h"
#include "app/core/SeriesState.h"
#include "astro/TIMLIB.h"
#include "graphics/draw/DiagramFile.h"
#include "graphics/draw/SeriesDiagram.h"
#include "graphics/draw/WorldMap.h"
#include "tests/graphics/map_places.h"

using namespace nodalis;
using map_test::PATH_2017;
using map_test::SeriesOf;

namespace {

QRgb Rgb(TColor C) { return qRgb(RedOf(C), GreenOf(C), BlueOf(C)) & 0xFFFFFF; }

// The map of M drawn with the world window (X1, Y1)-(X2, Y2) degrees into
// a W x H bitmap at 96 dpi.
QImage Render(const SeriesMap& M, int W, int H, float X1, float Y1, float X2, float Y2) {
  QImage img = MakeBitmap(W, H, 96);
  {
    tCanvas canvas(&img);
    tGDIext g(GDI_BITMAP_SCREEN, canvas);
    g.SetWorld(X1, Y1, X2, Y2);
    DrawWorldMap(g, M);
  }
  return img;
}

// The pixel under (Lon, Lat) of an image drawn with that world window.
QRgb PixelAt(const QImage& I, float X1, float Y1, float X2, float Y2, double Lon, double Lat) {
  const int x = int((Lon - X1) / (X2 - X1) * I.width());
  const int y = int((Y2 - Lat) / (Y2 - Y1) * I.height());
  return I.pixel(x, y) & 0xFFFFFF;
}


}  // namespace

// The United States at 20 pixels per degree (the fine outlines): each of
// the table's three instants inside the band at a quarter and three
// quarters of the width, and a quarter of the width beyond each limit the
// land or the sea.
TEST(WorldMapPixels, PathOf2017WhereNasaHasIt) {
  const SeriesMap M = BuildSeriesMap(SeriesOf(145), DeltaTModel::EspenakMeeus2006);
  constexpr float X1 = -112, X2 = -70, Y1 = 25, Y2 = 48;
  const QImage I = Render(M, 840, 460, X1, Y1, X2, Y2);
  const QRgb total = Rgb(EclipseFillColor(5, 0));
  for (const auto& r : PATH_2017) {
    SCOPED_TRACE(r.Ut);
    double lat = 0, lon = 0;
    for (double f : {0.25, 0.75}) {
      map_test::Across(r, f, lat, lon);
      EXPECT_EQ(PixelAt(I, X1, Y1, X2, Y2, lon, lat), total) << "inside at " << f;
    }
    const QRgb ground = Rgb(r.OverLand ? MAP_LAND : MAP_SEA);
    for (double f : {-0.25, 1.25}) {
      map_test::Across(r, f, lat, lon);
      EXPECT_EQ(PixelAt(I, X1, Y1, X2, Y2, lon, lat), ground) << "outside at " << f;
    }
  }
}

// The whole world on the map's page at 96 dpi, without a series.
TEST(WorldMapPixels, LandAndSeaAtKnownPlaces) {
  const QSize page(RoundPx(MAP_PAGE_WIDTH_IN * 96), RoundPx(MAP_PAGE_HEIGHT_IN * 96));
  EXPECT_EQ(page, QSize(960, 591));
  const QImage I = Render(SeriesMap{}, page.width(), page.height(), MAP_WORLD_X1, MAP_WORLD_Y1,
                          MAP_WORLD_X2, MAP_WORLD_Y2);
  for (const auto& c : map_test::CITIES)
    EXPECT_EQ(PixelAt(I, MAP_WORLD_X1, MAP_WORLD_Y1, MAP_WORLD_X2, MAP_WORLD_Y2, c.Lon, c.Lat),
              Rgb(MAP_LAND))
        << c.Name;
  for (const auto& s : map_test::SEA)
    EXPECT_EQ(PixelAt(I, MAP_WORLD_X1, MAP_WORLD_Y1, MAP_WORLD_X2, MAP_WORLD_Y2, s.Lon, s.Lat),
              Rgb(MAP_SEA))
        << s.Name;
  // Outside the frame the page stays white.
  EXPECT_EQ(I.pixel(3, 300) & 0xFFFFFF, qRgb(255, 255, 255) & 0xFFFFFF);
}

// Every member of Saros 139 whose band crosses the antimeridian: at a
// quarter of the band's width where it crosses, the band's colour 0.3 deg
// east and west of it, at 20 pixels per degree.  (A path that crosses twice
// has two pairs of edge points on the antimeridian.)
TEST(WorldMapPixels, BandsAcrossTheAntimeridianOnBothSides) {
  const SeriesMap M = BuildSeriesMap(SeriesOf(139), DeltaTModel::Nodalis);
  int checked = 0;
  for (std::size_t i = 0; i < M.Members.size(); ++i) {
    const MapMember& m = M.Members[i];
    std::vector<double> edges;  // latitudes of the band's edges on the antimeridian (east side)
    for (const PlaneRing& r : m.Bands)
      for (const MapPoint& p : r.Points)
        if (p.LonDeg == 180 && std::fabs(p.LatDeg) < 85) edges.push_back(p.LatDeg);
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    if (edges.size() < 2 || edges.size() % 2 != 0) continue;
    const double lo = edges[0], hi = edges[1];
    if (!(hi - lo > 0.8)) continue;  // too narrow to sample at 20 pixels per degree
    SCOPED_TRACE(m.No);
    const double lat = lo + 0.25 * (hi - lo);
    // Only this member, so that no later band covers the pixels.
    SeriesMap one;
    one.Members.push_back(m);
    const float Y1 = float(lat - 5), Y2 = float(lat + 5);
    const QImage I = Render(one, 400, 200, 170, Y1, 190, Y2);
    const QRgb fill = Rgb(EclipseFillColor(m.TypeCode, m.L2));
    EXPECT_EQ(PixelAt(I, 170, Y1, 190, Y2, 179.7, lat), fill) << "west of the antimeridian";
    const QImage J = Render(one, 400, 200, -190, Y1, -170, Y2);
    EXPECT_EQ(PixelAt(J, -190, Y1, -170, Y2, -179.7, lat), fill) << "east of the antimeridian";
    ++checked;
  }
  EXPECT_GE(checked, 3);
}

// The marked place over the bands: Casper, Wyoming (GeoNames: 42.8666 N
// 106.3131 W), inside the 2017 path; at 20 pixels per degree the mark's
// centre is its black cross, a point between the cross's arms its white
// disc, and 0.5 deg away the band again.
TEST(WorldMapPixels, PlaceMarkedOverTheBands) {
  const SeriesMap M = BuildSeriesMap(SeriesOf(145), DeltaTModel::EspenakMeeus2006);
  constexpr float X1 = -112, X2 = -70, Y1 = 25, Y2 = 48;
  const MapPoint casper{-106.3131, 42.8666};
  QImage img = MakeBitmap(840, 460, 96);
  {
    tCanvas canvas(&img);
    tGDIext g(GDI_BITMAP_SCREEN, canvas);
    g.SetWorld(X1, Y1, X2, Y2);
    DrawWorldMap(g, M, casper);
  }
  // The cross's pixels: black within a pixel of the place's.
  const int cx = int((casper.LonDeg - X1) / (X2 - X1) * img.width());
  const int cy = int((Y2 - casper.LatDeg) / (Y2 - Y1) * img.height());
  int black = 0;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) black += (img.pixel(cx + dx, cy + dy) & 0xFFFFFF) == Rgb(MAP_PLACE_CROSS);
  EXPECT_GE(black, 3) << "the crossing arms";
  EXPECT_EQ(PixelAt(img, X1, Y1, X2, Y2, casper.LonDeg + 0.1, casper.LatDeg + 0.1), Rgb(MAP_PLACE_RING));
  EXPECT_EQ(PixelAt(img, X1, Y1, X2, Y2, casper.LonDeg + 0.5, casper.LatDeg - 0.1), Rgb(EclipseFillColor(5, 0)));
}
