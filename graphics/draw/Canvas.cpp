// Canvas.cpp — QPainter realisation of tCanvas (see Canvas.h).
#include "graphics/draw/Canvas.h"

#include <QFontMetrics>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdlib>

namespace nodalis {

namespace {

QColor ToQColor(TColor C) {
  return QColor(int(C & 0xFF), int((C >> 8) & 0xFF), int((C >> 16) & 0xFF));
}

Qt::PenStyle ToQtStyle(int Style) {
  switch (Style) {
    case PS_DASH: return Qt::DashLine;
    case PS_DOT: return Qt::DotLine;
    case PS_DASHDOT: return Qt::DashDotLine;
    case PS_DASHDOTDOT: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
  }
}

// Largest cell height the layer asks for; beyond it fonts are not useful
// and the glyph cache would only grow.
constexpr int MAX_CELL_PX = 20000;

// Pixel size of a font whose cell (ascent + descent) is Height pixels.
// Fonts have a cell somewhat larger than their pixel (em) size; the ratio is
// measured once and the pixel size corrected, then checked one step each way.
struct FontFit {
  QFont Font;
  int Cell = 0;
};

FontFit FitFont(const QString& Name, int Height) {
  static QHash<QString, FontFit> Cache;
  const QString Key = Name + QLatin1Char('\x1f') + QString::number(Height);
  auto It = Cache.constFind(Key);
  if (It != Cache.constEnd()) return *It;
  QFont F(Name);
  F.setStyleHint(QFont::SansSerif);
  F.setHintingPreference(QFont::PreferNoHinting);
  auto CellOf = [&](int Px) {
    F.setPixelSize(Px);
    QFontMetrics M(F);
    return M.ascent() + M.descent();
  };
  int Px = Height;
  const int First = CellOf(Px);
  if (First > 0 && First != Height)
    Px = std::max(1, int(std::lround(double(Height) * Height / First)));
  int Cell = CellOf(Px);
  // One step towards the wanted cell if that gets closer.
  for (int Step = 0; Step < 3 && Cell != Height; ++Step) {
    const int Try = Cell > Height ? Px - 1 : Px + 1;
    if (Try < 1) break;
    const int TryCell = CellOf(Try);
    if (std::abs(TryCell - Height) >= std::abs(Cell - Height)) break;
    Px = Try;
    Cell = TryCell;
  }
  F.setPixelSize(Px);
  FontFit R{F, Cell};
  if (Cache.size() > 256) Cache.clear();
  Cache.insert(Key, R);
  return R;
}

}  // namespace

tCanvas::tCanvas(QPaintDevice* Device) : Device_(Device) { SetFont("Tahoma", 16); }

tCanvas::tCanvas(QPaintDevice* Device, QPainter* Painter)
    : Device_(Device), External_(Painter) {
  SetFont("Tahoma", 16);
}

tCanvas::~tCanvas() { End(); }

void tCanvas::SetDevice(QPaintDevice* Device) {
  End();
  Device_ = Device;
}

void tCanvas::End() {
  if (Owned_) {
    if (Owned_->isActive()) Owned_->end();
    Owned_.reset();
  }
}

QPainter* tCanvas::Painter() {
  if (External_) return External_;
  if (!Owned_) {
    Owned_ = std::make_unique<QPainter>();
    if (Device_ && Device_->width() > 0 && Device_->height() > 0) Owned_->begin(Device_);
    if (Owned_->isActive() && !Clip_.isEmpty()) Owned_->setClipRect(Clip_);
    if (OnBegin) OnBegin();
  }
  return Owned_.get();
}

int tCanvas::LogicalDpiX() const { return Device_ ? Device_->logicalDpiX() : 96; }
int tCanvas::LogicalDpiY() const { return Device_ ? Device_->logicalDpiY() : 96; }
int tCanvas::WidthPx() const { return Device_ ? Device_->width() : 0; }
int tCanvas::HeightPx() const { return Device_ ? Device_->height() : 0; }
double tCanvas::WidthMM() const {
  return Device_ ? Device_->widthMM() : 0.0;
}
double tCanvas::HeightMM() const {
  return Device_ ? Device_->heightMM() : 0.0;
}

int tCanvas::SetFont(const QString& Name, int Height) {
  // A zero or negative height asks for the default size; huge ones are
  // clamped so that a wild zoom cannot exhaust the glyph cache.
  int H = Height;
  if (H <= 0) H = 16;
  if (H > MAX_CELL_PX) H = MAX_CELL_PX;
  const FontFit Fit = FitFont(Name, H);
  FontName_ = Name;
  Font_ = Fit.Font;
  FontHeight_ = Fit.Cell;
  return FontHeight_;
}

int tCanvas::TextWidth(const QString& Text) const {
  return QFontMetrics(Font_).horizontalAdvance(Text);
}

void tCanvas::ApplyPen(QPainter& P) const {
  QPen Pen(ToQColor(PenColor));
  Pen.setWidth(PenWidth < 0 ? 0 : PenWidth);
  Pen.setStyle(ToQtStyle(PenStyle));
  Pen.setCapStyle(Qt::SquareCap);
  Pen.setJoinStyle(Qt::MiterJoin);
  P.setPen(Pen);
}

void tCanvas::FillRect(const QRect& R) {
  QPainter* P = Painter();
  if (!P->isActive()) return;
  P->fillRect(R, ToQColor(BrushColor));
}

void tCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  QPainter* P = Painter();
  if (!P->isActive()) return;
  const int L = std::min(X1, X2), T = std::min(Y1, Y2);
  const int W = std::abs(X2 - X1), H = std::abs(Y2 - Y1);
  if (W == 0 && H == 0) return;
  ApplyPen(*P);
  if (BrushSolid)
    P->setBrush(ToQColor(BrushColor));
  else
    P->setBrush(Qt::NoBrush);
  // The box is right/bottom exclusive: the outline's centre line runs half
  // a pixel inside the box on every side.
  const qreal Inset = 0.5;
  P->drawEllipse(QRectF(L + Inset, T + Inset, std::max<qreal>(W - 1, 0.0),
                        std::max<qreal>(H - 1, 0.0)));
}

void tCanvas::Line(int X1, int Y1, int X2, int Y2) {
  QPainter* P = Painter();
  if (!P->isActive()) return;
  ApplyPen(*P);
  const double Dx = X2 - X1, Dy = Y2 - Y1;
  const double Steps = std::max(std::fabs(Dx), std::fabs(Dy));
  if (Steps < 1.0) return;  // a line to its own start sets no pixel
  // Stop one pixel short of the end point along the major axis. Pixel
  // centres lie at +0.5 in Qt's coordinate model.
  const double Ex = X2 - Dx / Steps, Ey = Y2 - Dy / Steps;
  P->drawLine(QPointF(X1 + 0.5, Y1 + 0.5), QPointF(Ex + 0.5, Ey + 0.5));
}

void tCanvas::SetClipRect(const QRect& R) {
  Clip_ = R;
  QPainter* P = Painter();
  if (!P->isActive()) return;
  if (R.isEmpty()) P->setClipping(false);
  else P->setClipRect(R);
}

void tCanvas::FillPolygons(const std::vector<std::vector<QPoint>>& Rings) {
  QPainter* P = Painter();
  if (!P->isActive() || Rings.empty()) return;
  QPainterPath Path;
  Path.setFillRule(Qt::OddEvenFill);
  for (const std::vector<QPoint>& R : Rings) {
    if (R.size() < 3) continue;
    QPolygonF Poly;
    Poly.reserve(qsizetype(R.size()));
    for (const QPoint& Q : R) Poly << QPointF(Q);
    Path.addPolygon(Poly);
    Path.closeSubpath();
  }
  P->fillPath(Path, ToQColor(BrushColor));
}

void tCanvas::Polyline(const std::vector<QPoint>& Points) {
  QPainter* P = Painter();
  if (!P->isActive() || Points.size() < 2) return;
  ApplyPen(*P);
  QPolygonF Poly;
  Poly.reserve(qsizetype(Points.size()));
  // Pixel centres lie at +0.5 in Qt's coordinate model.
  for (const QPoint& Q : Points) Poly << QPointF(Q.x() + 0.5, Q.y() + 0.5);
  P->drawPolyline(Poly);
}

void tCanvas::TextOut(int X, int Y, const QString& Text) {
  QPainter* P = Painter();
  if (!P->isActive() || Text.isEmpty()) return;
  P->setFont(Font_);
  const QFontMetrics M(Font_);
  const int W = M.horizontalAdvance(Text);
  const int Cell = M.ascent() + M.descent();
  int Left = X;
  if ((TextAlign & TA_CENTER) == TA_CENTER) Left = X - W / 2;
  int Top = Y;
  if ((TextAlign & TA_BOTTOM) == TA_BOTTOM) Top = Y - Cell;
  if (BrushSolid) P->fillRect(QRect(Left, Top, W, Cell), ToQColor(BrushColor));
  P->setPen(QColor(0, 0, 0));  // the font colour stays the default black
  P->drawText(QPoint(Left, Top + M.ascent()), Text);
}

}  // namespace nodalis
