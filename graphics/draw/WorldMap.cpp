// WorldMap.cpp — DrawWorldMap, DrawSeriesMap and the map file (see
// WorldMap.h).
//
// Drawing order (later elements cover earlier ones): the page, then within
// the map's frame the sea, the land and its coast, the graticule, each
// member's band with its limits and central line, the partial members'
// rings, the member numbers; then the frame, the degree labels, the title,
// the legend and the program's name.
#include "graphics/draw/WorldMap.h"

#include <QFile>
#include <QPoint>
#include <cmath>
#include <vector>

#include "app/core/SeriesState.h"
#include "app/core/SeriesTable.h"
#include "app/qt/QtText.h"
#include "astro/BesselRec.h"
#include "graphics/draw/DiagramFile.h"
#include "graphics/draw/SeriesDiagram.h"

namespace nodalis {

DeltaTModel MapDeltaTModel = DeltaTModel::Nodalis;
std::optional<MapPoint> MapMarkedPlace;

namespace {

constexpr TColor BLACK = RGBColor(0, 0, 0);
constexpr TColor PARTIAL_MARK = RGBColor(110, 40, 40);
constexpr const char* FONT_NAME = "Tahoma";

constexpr float COAST_PEN_MM = 0.1f;
constexpr float GRATICULE_PEN_MM = 0.1f;
constexpr float LIMIT_PEN_MM = 0.1f;
constexpr float CENTRAL_PEN_MM = 0.3f;
constexpr float FRAME_PEN_MM = 0.2f;
constexpr float PARTIAL_RING_MM = 1.6f;   // diameter of a partial member's ring
constexpr float GREATEST_DOT_MM = 0.9f;   // diameter of the dot at greatest eclipse
constexpr float NUMBER_FONT_MM = 2.6f;
constexpr float LABEL_FONT_MM = 2.4f;
constexpr float LEGEND_FONT_MM = 3.0f;
constexpr float TITLE_FONT_MM = 4.5f;
constexpr float LEGEND_BOX_MM = 3.0f;
constexpr float PLACE_MARK_MM = 2.4f;

// Degrees below the frame: the degree labels, then the legend, then the
// program's name and the data's credit.
constexpr float LABEL_Y_DEG = -92.0f;
constexpr float LEGEND_Y_DEG = -101.0f;
constexpr float LEGEND_ROW_DEG = 8.0f;
constexpr int LEGEND_COLUMNS = 3;
constexpr float FOOT_Y_DEG = -120.0f;

// The types in the legend, in this order, and the partial ones' mark last.
constexpr int LEGEND_TYPES[] = {ECL_TOTAL, ECL_ANNULAR, ECL_HYBRID, ECL_NONCENTRAL_TOTAL,
                                ECL_NONCENTRAL_ANNULAR};

// The colour at half the brightness: the pen of a band's lines.
constexpr TColor Darker(TColor C) { return RGBColor(RedOf(C) / 2, GreenOf(C) / 2, BlueOf(C) / 2); }

QPoint Px(const tGDIext& G, const MapPoint& P, double Shift) {
  return QPoint(G.XToPx(float(P.LonDeg + Shift)), G.YToPx(float(P.LatDeg)));
}

std::vector<QPoint> PxRing(const tGDIext& G, const MapRing& R, std::size_t Count, double Shift) {
  std::vector<QPoint> out;
  out.reserve(Count);
  for (std::size_t i = 0; i < Count && i < R.size(); ++i) {
    const QPoint q = Px(G, R[i], Shift);
    if (out.empty() || out.back() != q) out.push_back(q);
  }
  return out;
}

// The frame of the map on the device.
QRect FrameRect(const tGDIext& G) {
  const QPoint a = Px(G, {MAP_WEST_DEG, MAP_NORTH_DEG}, 0);
  const QPoint b = Px(G, {MAP_EAST_DEG, MAP_SOUTH_DEG}, 0);
  return QRect(a, b);
}

void DrawLand(tGDIext& G) {
  const OutlineDetail detail = DetailForScale(double(G.ScaleX));
  const std::vector<LandPolygon>& land = LandPolygons(detail);
  G.SetFillColor(MAP_LAND);
  for (const LandPolygon& poly : land)
    for (double s : WrapShifts(poly.MinLonDeg, poly.MaxLonDeg)) {
      std::vector<std::vector<QPoint>> rings;
      for (const PlaneRing& r : poly.Rings) rings.push_back(PxRing(G, r.Points, r.Points.size(), s));
      G.Canvas->FillPolygons(rings);
    }
  G.SetPenColor(MAP_COAST);
  G.SetPenWidthMM(COAST_PEN_MM);
  for (const LandPolygon& poly : land)
    for (double s : WrapShifts(poly.MinLonDeg, poly.MaxLonDeg))
      for (const PlaneRing& r : poly.Rings) G.Canvas->Polyline(PxRing(G, r.Points, r.CoastCount, s));
}

void DrawGraticule(tGDIext& G) {
  G.SetPenColor(MAP_GRATICULE);
  G.SetPenWidthMM(GRATICULE_PEN_MM);
  G.SetPenStyle(PS_SOLID);
  for (const MapSegment& s : Graticule()) G.Canvas->Polyline({Px(G, s.A, 0), Px(G, s.B, 0)});
}

void DrawMembers(tGDIext& G, const SeriesMap& M) {
  for (const MapMember& m : M.Members) {
    if (!m.Valid) continue;
    const TColor fill = EclipseFillColor(m.TypeCode, m.L2);
    if (!m.Bands.empty()) {
      std::vector<std::vector<QPoint>> rings;
      for (const PlaneRing& r : m.Bands) rings.push_back(PxRing(G, r.Points, r.Points.size(), 0));
      G.SetFillColor(fill);
      G.Canvas->FillPolygons(rings);
    }
    G.SetPenColor(Darker(fill));
    G.SetPenWidthMM(LIMIT_PEN_MM);
    for (const MapRing& r : m.Limits) G.Canvas->Polyline(PxRing(G, r, r.size(), 0));
    G.SetPenWidthMM(CENTRAL_PEN_MM);
    for (const MapRing& r : m.CentralLine) G.Canvas->Polyline(PxRing(G, r, r.size(), 0));
  }
  // Marks and numbers over every band.
  G.SetPenWidthMM(COAST_PEN_MM);
  for (const MapMember& m : M.Members) {
    if (!m.Valid) continue;
    const QPoint c = Px(G, m.Greatest, 0);
    if (m.TypeCode == ECL_PARTIAL) {
      const int r = std::max(2, G.MMToPxX(PARTIAL_RING_MM / 2));
      G.SetPenColor(PARTIAL_MARK);
      G.SetPenWidthMM(CENTRAL_PEN_MM);
      G.ClearFill();
      G.Canvas->Ellipse(c.x() - r, c.y() - r, c.x() + r + 1, c.y() + r + 1);
    } else {
      const int r = std::max(1, G.MMToPxX(GREATEST_DOT_MM / 2));
      G.SetPenColor(BLACK);
      G.SetPenWidthMM(COAST_PEN_MM);
      G.SetFillColor(BLACK);
      G.Canvas->Ellipse(c.x() - r, c.y() - r, c.x() + r + 1, c.y() + r + 1);
    }
  }
  G.ClearFill();
  G.SetFontHeight(G.MMToPxY(NUMBER_FONT_MM));
  G.SetTextAlignment(TA_CENTER | TA_BOTTOM);
  const int lift = G.MMToPxY(PARTIAL_RING_MM / 2 + 0.3f);
  for (const MapMember& m : M.Members) {
    if (!m.Valid) continue;
    const QPoint c = Px(G, m.Greatest, 0);
    G.TextOutPx(c.x(), c.y() - lift, QString::number(m.No));
  }
}

// The place: a white disc with a black ring and cross, 2.4 mm across.
void DrawPlace(tGDIext& G, const MapPoint& P) {
  const QPoint c = Px(G, P, 0);
  const int r = std::max(3, G.MMToPxX(PLACE_MARK_MM / 2));
  G.SetPenColor(MAP_PLACE_CROSS);
  G.SetPenWidthMM(COAST_PEN_MM);
  G.SetFillColor(MAP_PLACE_RING);
  G.Canvas->Ellipse(c.x() - r, c.y() - r, c.x() + r + 1, c.y() + r + 1);
  G.SetPenWidthMM(CENTRAL_PEN_MM);
  G.LinePx(c.x() - r, c.y(), c.x() + r + 1, c.y());
  G.LinePx(c.x(), c.y() - r, c.x(), c.y() + r + 1);
  G.ClearFill();
}

QString DegreeLabel(int Deg, char Plus, char Minus) {
  if (Deg == 0) return QStringLiteral("0°");
  return QStringLiteral("%1°%2").arg(std::abs(Deg)).arg(QChar(Deg > 0 ? Plus : Minus));
}

void DrawFrameAndLabels(tGDIext& G) {
  G.ClearFill();
  G.SetPenColor(BLACK);
  G.SetPenWidthMM(FRAME_PEN_MM);
  const QRect f = FrameRect(G);
  G.Canvas->Polyline({f.topLeft(), f.topRight(), f.bottomRight(), f.bottomLeft(), f.topLeft()});
  G.SetFontHeight(G.MMToPxY(LABEL_FONT_MM));
  G.SetTextAlignment(TA_CENTER | TA_TOP);
  const int step = int(GRATICULE_STEP_DEG);
  for (int lon = -180; lon <= 180; lon += step)
    G.TextOut(float(lon), LABEL_Y_DEG, DegreeLabel(lon, 'E', 'W'));
  G.SetTextAlignment(TA_LEFT | TA_TOP);
  const int gap = G.MMToPxX(0.8f);
  const int half = G.Canvas->FontHeight() / 2;
  for (int lat = -60; lat <= 60; lat += step) {
    const QString t = DegreeLabel(lat, 'N', 'S');
    G.TextOutPx(G.XToPx(float(MAP_WEST_DEG)) - gap - G.Canvas->TextWidth(t), G.YToPx(float(lat)) - half, t);
  }
}

void DrawLegend(tGDIext& G, long double L2) {
  G.SetFontHeight(G.MMToPxY(LEGEND_FONT_MM));
  G.SetTextAlignment(TA_LEFT | TA_TOP);
  const int box = G.MMToPxX(LEGEND_BOX_MM);
  const int gap = G.MMToPxX(1.5f);
  const int n = int(std::size(LEGEND_TYPES)) + 1;
  const float column = (float(MAP_EAST_DEG) - float(MAP_WEST_DEG)) / float(LEGEND_COLUMNS);
  for (int i = 0; i < n; ++i) {
    const int x = G.XToPx(float(MAP_WEST_DEG) + column * float(i % LEGEND_COLUMNS));
    const int y = G.YToPx(LEGEND_Y_DEG - LEGEND_ROW_DEG * float(i / LEGEND_COLUMNS));
    const bool partial = i == n - 1;
    const int type = partial ? ECL_PARTIAL : LEGEND_TYPES[i];
    if (partial) {
      const int r = std::max(2, G.MMToPxX(PARTIAL_RING_MM / 2));
      G.SetPenColor(PARTIAL_MARK);
      G.SetPenWidthMM(CENTRAL_PEN_MM);
      G.ClearFill();
      G.Canvas->Ellipse(x + box / 2 - r, y + box / 2 - r, x + box / 2 + r + 1, y + box / 2 + r + 1);
    } else {
      G.SetFillColor(EclipseFillColor(type, L2));
      G.Canvas->FillRect(QRect(x, y, box, box));
    }
    G.ClearFill();
    G.TextOutPx(x + box + gap, y + box / 2 - G.Canvas->FontHeight() / 2,
                FromCp(EclipseText("Finsternis", type)));
  }
}

void DrawTitleAndFoot(tGDIext& G) {
  G.ClearFill();
  G.SetTextAlignment(TA_CENTER | TA_TOP);
  G.SetFontHeight(G.MMToPxY(TITLE_FONT_MM));
  G.TextOut(0, G.YMax, FromCp(TitleCaption));
  G.SetFontHeight(G.MMToPxY(LABEL_FONT_MM));
  G.SetTextAlignment(TA_LEFT | TA_TOP);
  G.TextOut(float(MAP_WEST_DEG), FOOT_Y_DEG, FromCp(TitleText));
  const QString credit = QStringLiteral("Made with Natural Earth");
  G.TextOutPx(G.XToPx(float(MAP_EAST_DEG)) - G.Canvas->TextWidth(credit), G.YToPx(FOOT_Y_DEG), credit);
}

}  // namespace

std::string MapCaption(const std::vector<std::string>& List) {
  const std::string graph = GraphCaption(List);  // "Nodalis  145" or "Nodalis"
  const std::string name = "Nodalis";
  return name + "  Karte" + (graph.size() > name.size() + 2 ? " " + graph.substr(name.size() + 2) : "");
}

void DrawWorldMap(tGDIext& G, const SeriesMap& M, const std::optional<MapPoint>& Place) {
  G.Prepare();
  if (!G.Canvas) return;
  G.SetFontName(QString::fromLatin1(FONT_NAME));
  const QRect frame = FrameRect(G);
  G.Canvas->SetClipRect(frame);
  G.SetFillColor(MAP_SEA);
  G.Canvas->FillRect(frame);
  DrawLand(G);
  DrawGraticule(G);
  DrawMembers(G, M);
  if (Place) DrawPlace(G, *Place);
  G.Canvas->SetClipRect(QRect());
  DrawFrameAndLabels(G);
  DrawTitleAndFoot(G);
  DrawLegend(G, M.Members.empty() ? 0.0L : M.Members.back().L2);
}

void DrawSeriesMap(tGDIext& G) {
  DrawWorldMap(G, CachedSeriesMap(SeriesList, MapDeltaTModel), MapMarkedPlace);
}

bool WriteSeriesMapFile(const QString& FileName, int Dpi, QString* Error, const QString& Title) {
  return WritePictureFile(&DrawSeriesMap, MAP_WORLD_X1, MAP_WORLD_Y1, MAP_WORLD_X2, MAP_WORLD_Y2,
                          MAP_PAGE_WIDTH_IN, MAP_PAGE_HEIGHT_IN, FileName, Dpi, Error, Title);
}

}  // namespace nodalis
