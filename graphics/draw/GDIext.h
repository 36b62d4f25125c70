// GDIext.h — tGDIext, the device-independent drawing layer.
//
// Maps a world window of single-precision coordinates (y upwards) onto a
// rectangular drawing area in device pixels and converts millimetre pen
// widths, font heights and marker sizes with the device resolution, so that
// one drawing procedure gives the same picture, at the same physical size,
// on each of the six device kinds:
//
//   Kind 0  graph window surface   resolution = logical dpi x zoom
//   Kind 1  print preview surface  resolution = preview pixels per page inch
//   Kind 2  printer                printer dpi, shifted by the margins
//   Kind 3  bitmap, screen dpi     the bitmap canvas's own dpi
//   Kind 4  bitmap, 300 dpi
//   Kind 5  bitmap, 600 dpi
//
// Device coordinates are 32-bit integers; Round is round-half-even
// (std::nearbyint under the default rounding mode).
#pragma once

#include <QString>
#include <cstdint>

#include "graphics/draw/Canvas.h"

class QPrinter;

namespace nodalis {

class tGDIext;

constexpr double MM_PER_INCH = 25.4;

// The drawing-procedure type shared by screen, preview, printer and bitmap:
// it draws a complete picture through the layer it is handed.
using DrawProc = void (*)(tGDIext& GDI);

// What a kind-0 layer needs from the window that owns it: the surface
// canvas (its size is the picture's size), the zoom factor, and a place to
// keep the drawing procedure.
class tGraphOwner {
 public:
  virtual tCanvas* GraphCanvas() = 0;
  virtual float GraphZoom() const = 0;
  virtual void StoreDrawProc(DrawProc Proc) = 0;

 protected:
  ~tGraphOwner() = default;
};

enum : std::uint8_t {
  GDI_SCREEN = 0,
  GDI_PREVIEW = 1,
  GDI_PRINTER = 2,
  GDI_BITMAP_SCREEN = 3,
  GDI_BITMAP_300 = 4,
  GDI_BITMAP_600 = 5,
};

// Round half to even, clamped to the 32-bit range (NaN gives 0).
std::int32_t RoundPx(double V);

class tGDIext {
 public:
  // Kind 0: the graph window's surface. Stores Draw in the window.
  tGDIext(DrawProc Draw, tGraphOwner& Window);
  // Kinds 1 to 5 on Canvas. Kinds 1 and 2 read the printable area in
  // millimetres from Printer (not owned; may be null, then A4 less 5 mm
  // margins is assumed).
  tGDIext(std::uint8_t Kind, tCanvas& Canvas, QPrinter* Printer = nullptr);

  // Fields, in the order of the classic layer.
  tCanvas* Canvas = nullptr;
  void* Owner = nullptr;  // graph window, print dialog, printer or bitmap
  std::uint8_t Kind = 0;
  TColor BackColor = 0xFFFFFF;
  bool FillBackground = true;
  std::int32_t WidthPx = 0, HeightPx = 0;
  std::int32_t DpiX = 96, DpiY = 96;
  std::int32_t OffsetX = 0, OffsetY = 0;
  float ScaleX = 1, ScaleY = 1;
  float XMin = 0, XMax = 1, YMin = 0, YMax = 1;
  float TopMarginMM = 15, LeftMarginMM = 15;
  float PaperWidthMM = 0, PaperHeightMM = 0;
  float PrintWidthMM = 0, PrintHeightMM = 0;

  // Device set-up.
  void UpdateDevice();
  void UpdateScale();
  void Prepare();
  void SetWorld(float X1, float Y1, float X2, float Y2);

  // State setters.
  void FillArea(TColor Color);
  void ClearFill();
  void SetFillColor(TColor Color);
  void SetPenStyle(int Style);
  void SetPenWidthMM(float MM);
  void SetPenColor(TColor Color);
  void SetFont(const QString& Name, int Height);
  int SetFontHeight(int Height);
  void SetFontName(const QString& Name);
  void SetTextAlignment(int Flags);
  std::int32_t SetLeftMarginMM(float MM);

  // Conversions.
  std::int32_t XToPx(float X) const;
  std::int32_t YToPx(float Y) const;
  std::int32_t MMToPxX(float MM) const;
  std::int32_t MMToPxY(float MM) const;

  // Drawing.
  void LinePx(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2);
  void Line(float X1, float Y1, float X2, float Y2);
  void Circle(float X, float Y, float R);
  void Cross(float X, float Y, float SizeMM);
  void DrawAxes();
  // Text at a device point under the current alignment, font and fill.
  void TextOutPx(std::int32_t X, std::int32_t Y, const QString& Text);
  // Text at the world point (X, Y).
  void TextOut(float X, float Y, const QString& Text);

  // Resolution at which point sizes convert to pixels for this device: the
  // printer's own for kind 2, the screen's logical resolution otherwise.
  int FontPointDpi() const;

  // The drawing procedure of a kind-0 layer (null for the other kinds).
  DrawProc Proc() const { return Proc_; }

 private:
  void InitWorld();
  void ReadPaper(QPrinter* Printer);
  tGraphOwner* Window_ = nullptr;
  DrawProc Proc_ = nullptr;
  int PenWidthPx_ = 0;
};

// Copies the world window of Source to Target; Target's scale follows at
// its next Prepare.
void CopyWorld(const tGDIext& Source, tGDIext& Target);

// Colour helpers on the 0x00BBGGRR layout.
constexpr TColor RGBColor(int R, int G, int B) {
  return TColor(R & 0xFF) | (TColor(G & 0xFF) << 8) | (TColor(B & 0xFF) << 16);
}
constexpr int RedOf(TColor C) { return int(C & 0xFF); }
constexpr int GreenOf(TColor C) { return int((C >> 8) & 0xFF); }
constexpr int BlueOf(TColor C) { return int((C >> 16) & 0xFF); }
constexpr int Brightness(TColor C) { return (RedOf(C) + GreenOf(C) + BlueOf(C)) / 3; }
constexpr TColor GreyOf(int V) { return RGBColor(V, V, V); }

// Device measurements of a canvas.
double DeviceWidthMM(const tCanvas& Canvas);
double DeviceHeightMM(const tCanvas& Canvas);
int DeviceHeightPx(const tCanvas& Canvas);

// Logical resolution of the primary screen (96 without a screen).
int ScreenLogicalDpiX();
int ScreenLogicalDpiY();

}  // namespace nodalis
