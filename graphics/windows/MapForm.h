// MapForm.h — the map window TMapForm ("Nodalis  Karte 145").
//
// Shows the series on screen on the world map (DrawSeriesMap) through the
// window's kind-0 layer: at zoom 100 % the map's page at the screen's
// resolution (10 inches wide), larger or smaller by the "Zoom" menu, the
// keys + and -, or Ctrl with the mouse wheel; a map larger than the window
// scrolls (TPictureView).  "&Speichern" writes the map as PNG, BMP, PDF or
// SVG at 96, 300 or 600 dpi (WriteSeriesMapFile), "&Drucken" prints it
// fitted to the page.  The status line names the member under the mouse
// (number, date, type) and the place the mouse points at; with a place in
// the settings file ([Ini] Place, LocalPlace.h) the map marks it and the
// status line adds how the member under the mouse looked from there
// (LocalStatusText).
//
// The main window opens it from the graph window's "&Karte" and calls
// SeriesChanged after every command, as it redraws the diagram.
#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <functional>
#include <optional>
#include <string>

#include "astro/LocalCircumstances.h"

#include "graphics/draw/GDIext.h"
#include "graphics/map/MapGeometry.h"
#include "graphics/windows/PictureView.h"

class QAction;
class QFileDialog;
class QLabel;

namespace nodalis {

class TMapForm : public QMainWindow, public tGraphOwner {
  Q_OBJECT
 public:
  explicit TMapForm(QWidget* Parent = nullptr);
  ~TMapForm() override;

  float Zoom = 1.0f;
  tGDIext* GDI = nullptr;   // the kind-0 layer, owned
  DrawProc Proc = nullptr;  // stored by the layer's constructor

  TGraphSurface* Surface = nullptr;  // "MapSurface"
  TPictureView* View = nullptr;
  QLabel* Status = nullptr;          // "MapStatus", in the status bar
  QAction* Zoomin = nullptr;
  QAction* Zoomout = nullptr;

  // The series on screen changed (or the window opens): caption and map
  // anew.
  void SeriesChanged();
  // Zoom: the picture's size follows, the middle of the visible part stays.
  void SetZoom(float NewZoom);
  // Map point under a surface pixel, degrees.
  MapPoint PointAt(const QPoint& SurfacePx) const;
  // The status text for the map point P: the point, the member there, and
  // how that member looks from the settings file's place (when one is set).
  QString StatusText(const MapPoint& P) const;
  // The settings file's [Ini] Place, read when the series changes; marked
  // on the map.
  std::optional<GeodeticPlace> Place;
  // "&Speichern" at Dpi (96, 300, 600): asks for the name, writes the map.
  void SaveClick(int Dpi);
  void PrintClick();

  // Test seams for the modal dialogs, as the graph window has them: the
  // save dialog as it would open, returning the name typed (empty =
  // cancelled); the answer to the overwrite question.
  std::function<QString(QFileDialog& Dialog)> SaveFileNameHook;
  std::function<QMessageBox::StandardButton(const QString& Text)> OverwriteHook;

  // tGraphOwner.
  tCanvas* GraphCanvas() override;
  float GraphZoom() const override { return Zoom; }
  void StoreDrawProc(DrawProc P) override { Proc = P; }

 protected:
  bool eventFilter(QObject* Watched, QEvent* E) override;
  void showEvent(QShowEvent* E) override;

 private:
  void BuildMenu();
  void Redraw();
  QString SaveFolder_;
  bool Placed_ = false;
  std::string PlaceError_;  // the bad settings place last said on standard error
};

}  // namespace nodalis
