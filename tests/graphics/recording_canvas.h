// recording_canvas.h — a tCanvas over a QImage that also logs every drawing
// operation with the state it was drawn in, so tests can check what a
// drawing procedure drew (positions in device pixels, colours, texts).
#pragma once

#include <QImage>
#include <QString>
#include <string>
#include <vector>

#include "graphics/draw/Canvas.h"

namespace nodalis::test {

struct DrawOp {
  enum Type { Fill, Ellipse, Line, Text } Op;
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;  // box, line ends, or text point
  TColor Pen = 0;
  int PenWidth = 0;
  int PenStyle = 0;
  bool Solid = false;
  TColor Brush = 0;
  int Align = 0;
  int FontHeight = 0;
  QString Str;
  // Centre and half sizes of an ellipse box (right/bottom exclusive).
  double Cx() const { return (X1 + X2) / 2.0; }
  double Cy() const { return (Y1 + Y2) / 2.0; }
  double Rx() const { return (X2 - X1) / 2.0; }
  double Ry() const { return (Y2 - Y1) / 2.0; }
};

class RecordingCanvas : public tCanvas {
 public:
  explicit RecordingCanvas(QImage* Image) : tCanvas(Image) {}
  std::vector<DrawOp> Ops;

  void FillRect(const QRect& R) override {
    Ops.push_back(Make(DrawOp::Fill, R.left(), R.top(), R.right() + 1, R.bottom() + 1));
    tCanvas::FillRect(R);
  }
  void Ellipse(int X1, int Y1, int X2, int Y2) override {
    Ops.push_back(Make(DrawOp::Ellipse, X1, Y1, X2, Y2));
    tCanvas::Ellipse(X1, Y1, X2, Y2);
  }
  void Line(int X1, int Y1, int X2, int Y2) override {
    Ops.push_back(Make(DrawOp::Line, X1, Y1, X2, Y2));
    tCanvas::Line(X1, Y1, X2, Y2);
  }
  void TextOut(int X, int Y, const QString& S) override {
    DrawOp O = Make(DrawOp::Text, X, Y, X, Y);
    O.Str = S;
    Ops.push_back(O);
    tCanvas::TextOut(X, Y, S);
  }

  std::vector<DrawOp> OfType(DrawOp::Type T) const {
    std::vector<DrawOp> R;
    for (const auto& O : Ops)
      if (O.Op == T) R.push_back(O);
    return R;
  }
  // First text op whose string starts with Prefix (nullptr if none).
  const DrawOp* FindText(const QString& Prefix) const {
    for (const auto& O : Ops)
      if (O.Op == DrawOp::Text && O.Str.startsWith(Prefix)) return &O;
    return nullptr;
  }

 private:
  DrawOp Make(DrawOp::Type T, int X1, int Y1, int X2, int Y2) const {
    DrawOp O;
    O.Op = T;
    O.X1 = X1; O.Y1 = Y1; O.X2 = X2; O.Y2 = Y2;
    O.Pen = PenColor; O.PenWidth = PenWidth; O.PenStyle = PenStyle;
    O.Solid = BrushSolid; O.Brush = BrushColor;
    O.Align = TextAlign; O.FontHeight = FontHeight();
    return O;
  }
};

// An image with its resolution set, filled with a marker colour.
inline QImage MakeImage(int W, int H, int Dpi) {
  QImage Img(W, H, QImage::Format_RGB32);
  Img.fill(QColor(1, 2, 3));
  const int Dpm = int(Dpi / 0.0254 + 0.5);
  Img.setDotsPerMeterX(Dpm);
  Img.setDotsPerMeterY(Dpm);
  return Img;
}

}  // namespace nodalis::test
