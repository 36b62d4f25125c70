// PictureView.cpp — picture surface and scrolling picture area (PictureView.h).
#include "graphics/windows/PictureView.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "graphics/draw/DiagramFile.h"
#include "graphics/draw/GDIext.h"

namespace nodalis {

// ---- the picture surface ---------------------------------------------------

TGraphSurface::TGraphSurface(QWidget* Parent)
    : QWidget(Parent), Image_(MakeBitmap(1, 1, ScreenLogicalDpiX())) {
  setObjectName("Label1");
  setAttribute(Qt::WA_OpaquePaintEvent);
  Canvas_ = std::make_unique<tCanvas>(&Image_);
  Canvas_->OnBegin = [this] { update(); };
}

tCanvas* TGraphSurface::Canvas() {
  FitImage();  // a hidden surface gets its resize event only when shown
  return Canvas_.get();
}

void TGraphSurface::resizeEvent(QResizeEvent*) { FitImage(); }

// On a high-resolution screen (device pixel ratio above 1) the backing
// image has the screen's device pixels and a resolution raised by the same
// ratio, so the layer draws the picture sharp at its size in millimetres.
void TGraphSurface::FitImage() {
  const double Ratio = std::max(1.0, devicePixelRatioF());
  const QSize S(std::max(1, RoundPx(width() * Ratio)), std::max(1, RoundPx(height() * Ratio)));
  if (S == Image_.size()) return;
  Canvas_->End();
  const int Dpi = logicalDpiX() > 0 ? logicalDpiX() : ScreenLogicalDpiX();
  QImage New = MakeBitmap(S.width(), S.height(), RoundPx(Dpi * Ratio));
  if (New.isNull()) return;  // keep the old picture when memory runs out
  Image_ = std::move(New);
  Canvas_->SetDevice(&Image_);
}

void TGraphSurface::paintEvent(QPaintEvent*) {
  Canvas_->End();  // finish what was drawn since the last repaint
  FitImage();      // the window may have moved to a screen of another ratio
  QPainter P(this);
  // Device pixels onto device pixels: the image fills the surface.
  P.drawImage(QRectF(0, 0, width(), height()), Image_);
}

// ---- the scrolling area ----------------------------------------------------

TPictureView::TPictureView(QWidget* Picture, QWidget* Parent) : QScrollArea(Parent) {
  setObjectName("PictureView");
  setFrameShape(QFrame::NoFrame);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setWidgetResizable(false);  // the picture's size is the zoom's, not the window's
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setWidget(Picture);
  // The note: a child of the viewport beside the picture, so it stays put
  // while the picture scrolls; drawn like a tooltip.
  Note_ = new QLabel(viewport());
  Note_->setObjectName("PictureNote");
  Note_->setAutoFillBackground(true);
  Note_->setBackgroundRole(QPalette::ToolTipBase);
  Note_->setForegroundRole(QPalette::ToolTipText);
  Note_->setFrameShape(QFrame::Box);
  Note_->setMargin(4);
  Note_->setWordWrap(true);
  Note_->hide();
}

void TPictureView::SetNote(const QString& Text) {
  Note_->setText(Text);
  Note_->setVisible(!Text.isEmpty());
  if (!Text.isEmpty()) {
    Note_->raise();  // above the picture
    PlaceNote();
  }
}

QString TPictureView::Note() const { return Note_->isHidden() ? QString() : Note_->text(); }

// Lower left corner of the visible part, at most as wide as that.
void TPictureView::PlaceNote() {
  constexpr int GAP_PX = 6;
  const QSize Room = viewport()->size() - QSize(2 * GAP_PX, 2 * GAP_PX);
  const int W = std::max(1, std::min(Note_->sizeHint().width(), Room.width()));
  const int H = std::min(Note_->heightForWidth(W) > 0 ? Note_->heightForWidth(W) : Note_->sizeHint().height(),
                         std::max(1, Room.height()));
  Note_->setGeometry(GAP_PX, GAP_PX + Room.height() - H, W, H);
}

bool TPictureView::viewportEvent(QEvent* E) {
  if (E->type() == QEvent::Resize && !Note_->isHidden()) PlaceNote();
  return QScrollArea::viewportEvent(E);
}

int TPictureView::ScrollBarExtent() const {
  return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

void TPictureView::SetPictureSize(const QSize& Size) {
  QWidget* P = widget();
  if (!P || P->size() == Size) return;
  const QSize Old = P->size();
  QScrollBar* H = horizontalScrollBar();
  QScrollBar* V = verticalScrollBar();
  // The point in the middle of the visible part, as a fraction of the
  // picture.
  const double Fx = Old.width() > 0 ? (H->value() + viewport()->width() / 2.0) / Old.width() : 0.5;
  const double Fy = Old.height() > 0 ? (V->value() + viewport()->height() / 2.0) / Old.height() : 0.5;
  P->resize(Size);
  // The scroll ranges follow the new size (and the viewport the scroll bars
  // that appear or go); the values are clamped to them.
  H->setValue(int(std::lround(Fx * Size.width() - viewport()->width() / 2.0)));
  V->setValue(int(std::lround(Fy * Size.height() - viewport()->height() / 2.0)));
}

void TPictureView::wheelEvent(QWheelEvent* E) {
  const QPoint Angle = E->angleDelta();
  const bool Upright = Angle.x() == 0 && Angle.y() != 0;
  QScrollBar* H = horizontalScrollBar();
  QScrollBar* V = verticalScrollBar();
  // Shift turns the wheel sideways (as in other desktop programs), and so
  // does a picture that is cut off only at the side.
  const bool Sideways = Upright && ((E->modifiers() & Qt::ShiftModifier) ||
                                    (V->maximum() == V->minimum() && H->maximum() > H->minimum()));
  if (!Sideways) {
    QScrollArea::wheelEvent(E);
    return;
  }
  QWheelEvent Turned(E->position(), E->globalPosition(), E->pixelDelta().transposed(),
                     Angle.transposed(), E->buttons(), E->modifiers() & ~Qt::ShiftModifier,
                     E->phase(), E->inverted(), E->source());
  QCoreApplication::sendEvent(H, &Turned);
  E->setAccepted(Turned.isAccepted());
}

}  // namespace nodalis
