// SeriesDiagram.cpp — DrawSeriesDiagram and SetEclipseColors (see
// SeriesDiagram.h).
//
// Drawing order (later elements cover earlier ones): background, Earth
// disc, penumbrae of the first and last member with their date labels, the
// Earth's outline again, axes, orientation labels, then per member its
// shadow track, umbral disc and the reference cross, and finally title,
// legend and the program's name. Lengths in millimetres are converted by
// the layer, so pens and fonts keep their physical size on every device.
#include "graphics/draw/SeriesDiagram.h"

#include <cmath>
#include <string>

#include "app/core/MemberLine.h"
#include "app/core/SeriesState.h"
#include "app/qt/QtText.h"
#include "app/base/Utils.h"
#include "astro/Astrcalc.h"
#include "astro/TIMLIB.h"

namespace nodalis {

namespace {

constexpr TColor BACKGROUND = RGBColor(60, 60, 220);
constexpr TColor EARTH_FILL = RGBColor(200, 255, 255);
constexpr TColor PENUMBRA_FILL = RGBColor(100, 100, 150);
constexpr TColor BLACK = RGBColor(0, 0, 0);
constexpr TColor CROSS_PEN = RGBColor(0, 0, 127);

constexpr float THIN_PEN_MM = 0.1f;
constexpr float CROSS_PEN_MM = 0.3f;
constexpr float CROSS_SIZE_MM = 6.0f;  // arms of 3 mm each way
constexpr float BIG_FONT_MM = 4.5f;
constexpr float SMALL_FONT_MM = 3.0f;
constexpr const char* FONT_NAME = "Tahoma";

constexpr float TRACK_HALF_LENGTH_ER = 1.3f;  // tracks from x = -1.3 to +1.3
constexpr long double MIN_DISC_RADIUS_ER = 0.01L;

// Legend geometry in world units (Earth radii) from the lower-left corner.
constexpr float LEGEND_ROW_STEP = 0.09f;
constexpr float LEGEND_DISC_X = 0.06f;
constexpr float LEGEND_DISC_R = 0.03f;
constexpr float LEGEND_TEXT_X = 0.12f;
constexpr float ORIENTATION_TEXT_X = 0.12f;

bool Finite(const BesselRec& R) {
  return std::isfinite(double(R.X)) && std::isfinite(double(R.Y)) &&
         std::isfinite(double(R.L1)) && std::isfinite(double(R.L2)) &&
         std::isfinite(double(R.Slope)) && std::isfinite(double(R.JDMax));
}

// Penumbra of one end member with its date label: centred, above the
// point when gamma > 0, below it otherwise; drawn on the solid fill.
void EndMember(tGDIext& GDI, const BesselRec& R, const char* Prefix) {
  if (!Finite(R)) return;
  GDI.Circle(float(R.X), float(R.Y), float(std::fabs(R.L1)));
  GDI.SetTextAlignment(R.Gamma > 0 ? TA_CENTER | TA_BOTTOM : TA_CENTER | TA_TOP);
  GDI.TextOut(float(R.X), float(R.Y),
              QString::fromLatin1(Prefix) + FromCp(DateText(0, 0.0f, R.JDMax)));
}

void DrawLegend(tGDIext& GDI, long double LastL2) {
  GDI.SetFontHeight(GDI.MMToPxY(SMALL_FONT_MM));
  for (int i = 0; i <= ECL_HYBRID; ++i) {
    SetEclipseColors(GDI, i, LastL2);
    if (i == 0) GDI.SetFillColor(GreyOf(Brightness(EclipseFillColor(0, LastL2))));
    const float Y = GDI.YMin + float(7 - i) * LEGEND_ROW_STEP;
    GDI.Circle(GDI.XMin + LEGEND_DISC_X, Y, LEGEND_DISC_R);
    GDI.ClearFill();
    GDI.SetTextAlignment(TA_LEFT | TA_TOP);
    GDI.TextOut(GDI.XMin + LEGEND_TEXT_X, Y + LEGEND_DISC_R,
                FromCp(EclipseText(i == 0 ? "Finsternis" : "", i)));
  }
  GDI.SetTextAlignment(TA_CENTER | TA_TOP);
  GDI.TextOut(0, GDI.YMin + LEGEND_ROW_STEP + LEGEND_DISC_R, FromCp(TitleText));
}

void DrawTitle(tGDIext& GDI) {
  GDI.ClearFill();
  GDI.SetTextAlignment(TA_CENTER | TA_TOP);
  GDI.SetFontHeight(GDI.MMToPxY(BIG_FONT_MM));
  GDI.TextOut(0, GDI.YMax, FromCp(TitleCaption));
}

}  // namespace

TColor EclipseFillColor(int EclType, long double L2) {
  switch (EclType) {
    case ECL_NONE: return RGBColor(255, 255, 255);
    case ECL_PARTIAL: return L2 < 0 ? RGBColor(0, 0, 64) : RGBColor(64, 0, 0);
    case ECL_NONCENTRAL_ANNULAR: return RGBColor(255, 127, 0);
    case ECL_NONCENTRAL_TOTAL: return RGBColor(128, 128, 255);
    case ECL_ANNULAR: return RGBColor(255, 0, 0);
    case ECL_TOTAL: return RGBColor(0, 0, 255);
    case ECL_HYBRID: return RGBColor(255, 0, 255);
    default: return RGBColor(128, 128, 128);
  }
}

void SetEclipseColors(tGDIext& GDI, int EclType, long double L2) {
  if (EclType >= ECL_NONE && EclType <= ECL_HYBRID)
    GDI.SetFillColor(EclipseFillColor(EclType, L2));
  const TColor Fill = GDI.Canvas ? GDI.Canvas->BrushColor : 0;
  // One integer division of the whole 24-bit value: the low bit of blue
  // moves into green's top bit, which shifts the hue of some outlines.
  GDI.SetPenColor(EclType == ECL_NONE ? BLACK : Fill / 2);
}

void DrawSeriesDiagram(tGDIext& GDI) {
  GDI.Prepare();
  if (GDI.FillBackground) {
    GDI.BackColor = BACKGROUND;
    GDI.FillArea(BACKGROUND);
  }
  // Earth disc.
  GDI.SetFillColor(EARTH_FILL);
  GDI.Circle(0, 0, 1);

  const std::vector<std::string>& List = SeriesList;
  const int N = int(List.size()) - 2;  // member lines 1..N
  BesselRec R;
  if (N < 1) {
    // No eclipse line: the Earth, the title and the legend only.
    DrawTitle(GDI);
    DrawLegend(GDI, R.L2);
    return;
  }

  // Penumbrae of the first and last member.
  GDI.SetFillColor(PENUMBRA_FILL);
  ParseMemberLine(List[1], R);
  EndMember(GDI, R, "Beginn: ");
  ParseMemberLine(List[std::size_t(N)], R);
  EndMember(GDI, R, "Ende: ");

  // Earth's outline over the penumbrae, then the axes.
  GDI.ClearFill();
  GDI.Circle(0, 0, 1);
  GDI.DrawAxes();

  // Orientation labels in the 4.5 mm font, transparent.
  if (EkliptikalNordChecked) {
    GDI.SetTextAlignment(TA_LEFT | TA_BOTTOM);
    GDI.TextOut(GDI.XMin + ORIENTATION_TEXT_X, 0, QStringLiteral("Ekliptik"));
  } else {
    GDI.SetTextAlignment(TA_CENTER | TA_TOP);
    // The letter's top edge lies the font's point size, counted in pixels,
    // above the north point: on a screen that puts the letter on the pole.
    const int Cell = GDI.MMToPxY(BIG_FONT_MM);
    const int S = RoundPx(Cell * 72.0 / std::max(1, GDI.FontPointDpi()));
    GDI.TextOutPx(GDI.XToPx(0), GDI.YToPx(1) - S, QStringLiteral("N"));
    GDI.TextOut(0, -1, QStringLiteral("S"));
  }

  GDI.SetTextAlignment(TA_CENTER | TA_TOP);
  for (int i = 1; i <= N; ++i) {
    ParseMemberLine(List[std::size_t(i)], R);
    if (!Finite(R)) continue;
    if (ShowSchattenbahnChecked) {
      GDI.SetPenColor(BLACK);
      GDI.SetPenStyle(PS_DOT);
      GDI.ClearFill();
      const long double H = TRACK_HALF_LENGTH_ER;
      GDI.Line(-TRACK_HALF_LENGTH_ER, float(R.Y + (-H - R.X) * R.Slope),
               TRACK_HALF_LENGTH_ER, float(R.Y + (H - R.X) * R.Slope));
      GDI.SetPenStyle(PS_SOLID);
    }
    SetEclipseColors(GDI, R.EclType, R.L2);
    long double Radius = std::fabs(R.L2);
    if (Radius < MIN_DISC_RADIUS_ER) Radius = MIN_DISC_RADIUS_ER;
    GDI.Circle(float(R.X), float(R.Y), float(Radius));

    // Cross at the reference instant, interpolated between this member and
    // the next; it lies over this disc and under the next one.
    if (i < N) {
      const long double J0 = LineJD(List[std::size_t(i)]);
      const long double J1 = LineJD(List[std::size_t(i + 1)]);
      if (J0 <= ReferenceJD && ReferenceJD <= J1) {
        const long double T = J1 > J0 ? (ReferenceJD - J0) / (J1 - J0) : 0.0L;
        const long double X0 = R.X, Y0 = R.Y;
        ParseMemberLine(List[std::size_t(i + 1)], R);
        if (Finite(R)) {
          GDI.SetPenColor(CROSS_PEN);
          GDI.SetPenWidthMM(CROSS_PEN_MM);
          GDI.Cross(float(X0 + T * (R.X - X0)), float(Y0 + T * (R.Y - Y0)), CROSS_SIZE_MM);
          GDI.SetPenWidthMM(THIN_PEN_MM);
        }
      }
    }
  }

  DrawTitle(GDI);
  DrawLegend(GDI, R.L2);
}

}  // namespace nodalis
