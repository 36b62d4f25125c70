// PictureView.h — the scrolling picture area of a picture window.
//
// TGraphSurface is a picture drawn through a drawing layer: a plain widget
// whose size is the picture's size in pixels, backed by an image that the
// layer's canvas draws into (so the drawing procedure may run at any time;
// the widget repaints from the image).
//
// TPictureView holds such a picture at its top-left corner and scrolls it
// when it is larger than the window: scroll bars appear only then, the
// mouse wheel scrolls up and down (sideways with Shift, or when the picture
// is cut off only at the side), and the arrow and page keys scroll as in
// any scroll area. When the picture changes size (a zoom), the picture
// point in the middle of the visible part stays in the middle.
//
// A window that zooms a picture sets the picture's size from its own zoom
// rules through SetPictureSize; the area it fits a picture into is the
// view's whole size, AreaSize (the visible part without scroll bars). A
// note (SetNote) stands over the lower left corner of the visible part,
// where the user looks, and does not scroll with the picture: to say, for
// example, that a zoom had to be lowered.
#pragma once

#include <QImage>
#include <QScrollArea>
#include <QWidget>
#include <memory>

#include "graphics/draw/Canvas.h"

class QLabel;

namespace nodalis {

// Largest picture surface per side, in pixels, of the picture windows (the
// graph window and the map window). A zoom that would make the surface
// larger is lowered to the largest that fits, so the picture keeps its
// proportions (a wild typed zoom must not allocate gigabytes for the
// backing image).
constexpr int MAX_SURFACE_PX = 6000;

class TGraphSurface : public QWidget {
  Q_OBJECT
 public:
  explicit TGraphSurface(QWidget* Parent);
  // The canvas over the backing image, sized to the surface first.
  tCanvas* Canvas();
  const QImage& Picture() const { return Image_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  void FitImage();
  QImage Image_;
  std::unique_ptr<tCanvas> Canvas_;
};

class TPictureView : public QScrollArea {
  Q_OBJECT
 public:
  // The view takes Picture as its scrolled widget (reparented into it).
  TPictureView(QWidget* Picture, QWidget* Parent);

  // The area a picture fits into without scroll bars: the whole view.
  QSize AreaSize() const { return size(); }
  // Width of a scroll bar across the view, pixels.
  int ScrollBarExtent() const;

  // Sets the picture's size in pixels; the picture point in the middle of
  // the visible part stays there (as near as the scroll range allows).
  void SetPictureSize(const QSize& Size);

  // Shows Text as the note over the picture; an empty text hides it.
  void SetNote(const QString& Text);
  QString Note() const;  // "" when none is shown

 protected:
  void wheelEvent(QWheelEvent* E) override;
  bool viewportEvent(QEvent* E) override;

 private:
  void PlaceNote();
  QLabel* Note_ = nullptr;
};

}  // namespace nodalis
