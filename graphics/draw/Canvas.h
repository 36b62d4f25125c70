// Canvas.h — the painting surface under the drawing layer tGDIext.
//
// A tCanvas wraps one Qt paint device (a QImage, a QPrinter, an SVG or PDF
// generator) and keeps the drawing state the layer sets on it, in the manner
// of a classic device context: pen (colour, width in device pixels, style),
// brush (solid colour or clear), font (family, cell height in pixels) and the
// text reference-point alignment. The drawing operations use that state.
//
// The painter is begun lazily at the first operation and stays active until
// End(); a caller that already holds an active QPainter on the device (a
// printer with an open job) passes it in and keeps ownership of it.
//
// Colours are 24-bit values with red in the low byte, green in the middle
// byte and blue in the high byte (RGBColor and its kin in GDIext.h).
//
// The operations are virtual so that tests can record what is drawn; the
// recording canvas forwards to this one, so pixels and records agree.
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPaintDevice;

namespace nodalis {

using TColor = std::uint32_t;  // 0x00BBGGRR

// Text reference-point alignment flags; they add up.
constexpr int TA_LEFT = 0;
constexpr int TA_CENTER = 6;
constexpr int TA_TOP = 0;
constexpr int TA_BOTTOM = 8;

// Pen style codes: solid 0, dash 1, dot 2, dash-dot 3, dash-dot-dot 4.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;

class tCanvas {
 public:
  // Canvas over Device; the painter is begun on first use and owned.
  explicit tCanvas(QPaintDevice* Device);
  // Canvas over Device drawn through an already active Painter (not owned).
  tCanvas(QPaintDevice* Device, QPainter* Painter);
  virtual ~tCanvas();
  tCanvas(const tCanvas&) = delete;
  tCanvas& operator=(const tCanvas&) = delete;

  QPaintDevice* Device() const { return Device_; }
  // Replaces the device (for instance after the backing image was resized);
  // ends an owned painter first.
  void SetDevice(QPaintDevice* Device);
  // Ends an owned painter so the device's pixels can be read or replaced.
  void End();
  // Called when an owned painter is begun (the surface then needs a repaint).
  std::function<void()> OnBegin;

  // Device capabilities.
  int LogicalDpiX() const;
  int LogicalDpiY() const;
  int WidthPx() const;
  int HeightPx() const;
  double WidthMM() const;
  double HeightMM() const;

  // Drawing state.
  TColor PenColor = 0;
  int PenWidth = 0;  // device pixels; 0 = thinnest line
  int PenStyle = PS_SOLID;
  bool BrushSolid = true;
  TColor BrushColor = 0xFFFFFF;
  int TextAlign = TA_LEFT | TA_TOP;

  // Font: Height > 0 is the character cell height in pixels (ascent plus
  // descent). Returns the cell height the font really has.
  int SetFont(const QString& Name, int Height);
  QString FontName() const { return FontName_; }
  int FontHeight() const { return FontHeight_; }
  const QFont& Font() const { return Font_; }

  // Operations, in device pixels.
  virtual void FillRect(const QRect& R);  // brush colour, pen unused
  // Ellipse inside the box (X1, Y1)-(X2, Y2), right and bottom exclusive;
  // outlined with the pen, filled with the brush when it is solid.
  virtual void Ellipse(int X1, int Y1, int X2, int Y2);
  // Line from (X1, Y1) to (X2, Y2); the last pixel is not set.
  virtual void Line(int X1, int Y1, int X2, int Y2);
  // Text at the reference point under TextAlign; with a solid brush the text
  // cell is painted in the brush colour first.
  virtual void TextOut(int X, int Y, const QString& Text);
  // Width of Text in pixels in the current font.
  int TextWidth(const QString& Text) const;
  // Rings, each closed, filled together in the brush colour by the
  // even-odd rule (a ring inside another is a hole); the pen is unused.
  virtual void FillPolygons(const std::vector<std::vector<QPoint>>& Rings);
  // An open line through Points with the pen (its last pixel set).
  virtual void Polyline(const std::vector<QPoint>& Points);
  // Limits every later operation to R (device pixels); an empty R lifts
  // the limit.
  void SetClipRect(const QRect& R);

 protected:
  QPainter* Painter();  // active painter (begun if needed)
  void ApplyPen(QPainter& P) const;

 private:
  QPaintDevice* Device_;
  QPainter* External_ = nullptr;
  std::unique_ptr<QPainter> Owned_;
  QString FontName_;
  int FontHeight_ = 0;
  QFont Font_;
  QRect Clip_;
};

}  // namespace nodalis
