// GDIext.cpp — the drawing layer tGDIext (see GDIext.h).
#include "graphics/draw/GDIext.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace nodalis {

namespace {
// Smallest world extent at creation (a zero-sized area would divide by 0).
constexpr float MIN_WORLD_EXTENT = 1e-20f;
// A4 less 5 mm margins, the printable area assumed without a printer.
constexpr float FALLBACK_PAPER_WIDTH_MM = 200.0f;
constexpr float FALLBACK_PAPER_HEIGHT_MM = 287.0f;
constexpr TColor WHITE = RGBColor(255, 255, 255);
constexpr TColor BLACK = RGBColor(0, 0, 0);
}  // namespace

std::int32_t RoundPx(double V) {
  if (std::isnan(V)) return 0;
  // Device coordinates far outside any surface are clamped; Qt and the
  // rasteriser cope with +-2^30 but not with overflowed integers.
  constexpr double LIMIT = 1073741824.0;
  if (V > LIMIT) return std::int32_t(LIMIT);
  if (V < -LIMIT) return -std::int32_t(LIMIT);
  return std::int32_t(std::nearbyint(V));
}

int ScreenLogicalDpiX() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    if (QScreen* S = QGuiApplication::primaryScreen())
      return std::max(1, int(std::lround(S->logicalDotsPerInchX())));
  return 96;
}

int ScreenLogicalDpiY() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    if (QScreen* S = QGuiApplication::primaryScreen())
      return std::max(1, int(std::lround(S->logicalDotsPerInchY())));
  return 96;
}

tGDIext::tGDIext(DrawProc Draw, tGraphOwner& Window) {
  Owner = &Window;
  Window_ = &Window;
  Kind = GDI_SCREEN;
  Canvas = Window.GraphCanvas();
  Proc_ = Draw;
  Window.StoreDrawProc(Draw);
  FillBackground = true;
  InitWorld();
}

tGDIext::tGDIext(std::uint8_t K, tCanvas& C, QPrinter* Printer) {
  Kind = K > GDI_BITMAP_600 ? std::uint8_t{GDI_BITMAP_SCREEN} : K;
  Canvas = &C;
  Owner = Printer ? static_cast<void*>(Printer) : static_cast<void*>(&C);
  if (Kind == GDI_PREVIEW || Kind == GDI_PRINTER) {
    ReadPaper(Printer);
    FillBackground = false;
  } else {
    FillBackground = true;
  }
  InitWorld();
}

void tGDIext::ReadPaper(QPrinter* Printer) {
  float W = FALLBACK_PAPER_WIDTH_MM, H = FALLBACK_PAPER_HEIGHT_MM;
  if (Printer) {
    const int PW = Printer->widthMM(), PH = Printer->heightMM();
    if (PW > 0 && PH > 0) {
      W = float(PW);
      H = float(PH);
    }
  }
  PaperWidthMM = PrintWidthMM = W;
  PaperHeightMM = PrintHeightMM = H;
}

void tGDIext::InitWorld() {
  UpdateDevice();
  XMin = 0;
  YMin = 0;
  XMax = float(WidthPx * MM_PER_INCH / std::max(DpiX, 1));
  YMax = float(HeightPx * MM_PER_INCH / std::max(DpiY, 1));
  if (XMax == 0) XMax = MIN_WORLD_EXTENT;
  if (YMax == 0) YMax = MIN_WORLD_EXTENT;
  UpdateScale();
}

void tGDIext::UpdateDevice() {
  OffsetX = OffsetY = 0;
  DpiX = Canvas ? Canvas->LogicalDpiX() : 96;
  DpiY = Canvas ? Canvas->LogicalDpiY() : 96;
  switch (Kind) {
    case GDI_SCREEN: {
      if (Window_) Canvas = Window_->GraphCanvas();  // the surface may have been resized
      WidthPx = Canvas ? Canvas->WidthPx() : 0;
      HeightPx = Canvas ? Canvas->HeightPx() : 0;
      const double Zoom = Window_ ? double(Window_->GraphZoom()) : 1.0;
      DpiX = RoundPx(DpiX * Zoom);
      DpiY = RoundPx(DpiY * Zoom);
      break;
    }
    case GDI_PREVIEW:
    case GDI_PRINTER:
      if (Kind == GDI_PREVIEW) {
        // The preview surface stands for the whole printable page.
        const int SW = Canvas ? Canvas->WidthPx() : 0;
        const int SH = Canvas ? Canvas->HeightPx() : 0;
        if (PaperWidthMM > 0) DpiX = RoundPx(SW / double(PaperWidthMM) * MM_PER_INCH);
        if (PaperHeightMM > 0) DpiY = RoundPx(SH / double(PaperHeightMM) * MM_PER_INCH);
      }
      WidthPx = RoundPx(DpiX * double(PrintWidthMM) / MM_PER_INCH);
      HeightPx = RoundPx(DpiY * double(PrintHeightMM) / MM_PER_INCH);
      OffsetX = SetLeftMarginMM(LeftMarginMM);
      OffsetY = RoundPx(DpiY * double(TopMarginMM) / MM_PER_INCH);
      break;
    default:
      WidthPx = Canvas ? Canvas->WidthPx() : 0;
      HeightPx = Canvas ? Canvas->HeightPx() : 0;
      if (Kind == GDI_BITMAP_300) DpiX = DpiY = 300;
      if (Kind == GDI_BITMAP_600) DpiX = DpiY = 600;
      break;
  }
}

void tGDIext::UpdateScale() {
  ScaleX = float(WidthPx / (double(XMax) - double(XMin)));
  ScaleY = float(HeightPx / (double(YMax) - double(YMin)));
}

void tGDIext::Prepare() {
  UpdateDevice();
  UpdateScale();
  BackColor = WHITE;
  FillArea(BackColor);
  SetFillColor(RGBColor(128, 128, 128));
  SetPenColor(BLACK);
  SetPenStyle(PS_SOLID);
  SetPenWidthMM(0.1f);
  SetFont("Tahoma", MMToPxY(4.5f));
}

void tGDIext::SetWorld(float X1, float Y1, float X2, float Y2) {
  XMin = std::min(X1, X2);
  XMax = std::max(X1, X2);
  YMin = std::min(Y1, Y2);
  YMax = std::max(Y1, Y2);
  UpdateScale();
}

void CopyWorld(const tGDIext& Source, tGDIext& Target) {
  Target.XMin = Source.XMin;
  Target.XMax = Source.XMax;
  Target.YMin = Source.YMin;
  Target.YMax = Source.YMax;
}

void tGDIext::FillArea(TColor Color) {
  SetFillColor(Color);
  if (Canvas) Canvas->FillRect(QRect(OffsetX, OffsetY, WidthPx, HeightPx));
}

void tGDIext::ClearFill() {
  if (Canvas) Canvas->BrushSolid = false;
}

void tGDIext::SetFillColor(TColor Color) {
  if (!Canvas) return;
  Canvas->BrushSolid = true;
  Canvas->BrushColor = Color;
}

void tGDIext::SetPenStyle(int Style) {
  if (Canvas) Canvas->PenStyle = Style;
}

void tGDIext::SetPenWidthMM(float MM) {
  PenWidthPx_ = MMToPxX(MM);
  if (Canvas) Canvas->PenWidth = PenWidthPx_;
}

void tGDIext::SetPenColor(TColor Color) {
  if (Canvas) Canvas->PenColor = Color;
}

void tGDIext::SetFont(const QString& Name, int Height) {
  SetFontHeight(Height);
  SetFontName(Name);
}

int tGDIext::SetFontHeight(int Height) {
  if (!Canvas) return Height;
  return Canvas->SetFont(Canvas->FontName(), Height);
}

void tGDIext::SetFontName(const QString& Name) {
  if (Canvas) Canvas->SetFont(Name, Canvas->FontHeight());
}

void tGDIext::SetTextAlignment(int Flags) {
  if (Canvas) Canvas->TextAlign = Flags;
}

std::int32_t tGDIext::SetLeftMarginMM(float MM) {
  LeftMarginMM = MM;
  OffsetX = RoundPx(DpiX * double(MM) / MM_PER_INCH);
  return OffsetX;
}

std::int32_t tGDIext::XToPx(float X) const {
  return RoundPx((double(X) - double(XMin)) * double(ScaleX)) + OffsetX;
}

std::int32_t tGDIext::YToPx(float Y) const {
  return RoundPx((double(YMax) - double(Y)) * double(ScaleY)) + OffsetY;
}

std::int32_t tGDIext::MMToPxX(float MM) const { return RoundPx(DpiX * double(MM) / MM_PER_INCH); }

std::int32_t tGDIext::MMToPxY(float MM) const { return RoundPx(DpiY * double(MM) / MM_PER_INCH); }

void tGDIext::LinePx(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2) {
  if (Canvas) Canvas->Line(X1, Y1, X2, Y2);
}

void tGDIext::Line(float X1, float Y1, float X2, float Y2) {
  LinePx(XToPx(X1), YToPx(Y1), XToPx(X2), YToPx(Y2));
}

void tGDIext::Circle(float X, float Y, float R) {
  if (!Canvas) return;
  Canvas->Ellipse(XToPx(X - R), YToPx(Y + R), XToPx(X + R), YToPx(Y - R));
}

void tGDIext::Cross(float X, float Y, float SizeMM) {
  const std::int32_t Cx = XToPx(X), Cy = YToPx(Y);
  const std::int32_t Ax = MMToPxX(SizeMM / 2), Ay = MMToPxY(SizeMM / 2);
  LinePx(Cx - Ax, Cy, Cx + Ax, Cy);
  LinePx(Cx, Cy - Ay, Cx, Cy + Ay);
}

void tGDIext::DrawAxes() {
  SetPenStyle(PS_DASHDOTDOT);
  if (YMin <= 0 && 0 <= YMax) Line(XMin, 0, XMax, 0);
  if (XMin <= 0 && 0 <= XMax) Line(0, YMin, 0, YMax);
  SetPenStyle(PS_SOLID);
}

void tGDIext::TextOutPx(std::int32_t X, std::int32_t Y, const QString& Text) {
  if (Canvas) Canvas->TextOut(X, Y, Text);
}

void tGDIext::TextOut(float X, float Y, const QString& Text) {
  TextOutPx(XToPx(X), YToPx(Y), Text);
}

int tGDIext::FontPointDpi() const {
  if (Kind == GDI_PRINTER && Canvas) return Canvas->LogicalDpiY();
  return ScreenLogicalDpiY();
}

double DeviceWidthMM(const tCanvas& Canvas) { return Canvas.WidthMM(); }
double DeviceHeightMM(const tCanvas& Canvas) { return Canvas.HeightMM(); }
int DeviceHeightPx(const tCanvas& Canvas) { return Canvas.HeightPx(); }

}  // namespace nodalis
