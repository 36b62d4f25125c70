// GrafikForm.h — the graph window TGraphForm ("Graphikausgabe").
//
// Shows a picture drawn by a drawing procedure (DrawProc) through the
// window's kind-0 layer at a chosen zoom, fits it to the window, saves it as
// a bitmap at screen resolution, 300 or 600 dpi, and starts printing. It
// knows nothing of eclipses; the main window opens it through ShowGraph with
// the series diagram.
//
// The drawing surface Label1 keeps the picture in a backing image, so the
// procedure may be called at any time (the main window draws right after
// ShowGraph); the surface repaints from that image. It stands at the
// top-left corner of the client area, a scrolling view: a picture larger
// than the window scrolls. A note over the picture says when a zoom had to
// be lowered.
#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QWidget>
#include <functional>

#include "graphics/draw/GDIext.h"
#include "graphics/windows/PictureView.h"

class QAction;
class QFileDialog;
class QMenu;

namespace nodalis {

class TGraphForm : public QMainWindow, public tGraphOwner {
  Q_OBJECT
 public:
  explicit TGraphForm(QWidget* Parent = nullptr);
  ~TGraphForm() override;

  // Fields.
  float WidthMM = 0, HeightMM = 0;  // picture size at zoom 1, millimetres
  bool Sized = false;               // ShowGraph keeps size and place
  float PrintLeftMarginMM = 15;     // left margin offered to printing
  float Zoom = 1.0f;
  tGDIext* GDI = nullptr;           // the kind-0 layer, owned
  DrawProc Proc = nullptr;          // stored by the layer's constructor

  // Components.
  TGraphSurface* Label1 = nullptr;
  TPictureView* View = nullptr;  // the client area: Label1, scrolled
  QAction* SaveScreenDPI = nullptr;
  QAction* SaveHiRes300dpi = nullptr;
  QAction* SaveXXL600dpi = nullptr;
  QAction* Drucken1 = nullptr;
  QAction* Zoomin = nullptr;
  QAction* Zoomout = nullptr;
  QAction* Eingabe1 = nullptr;
  QAction* Fenstergreanpassen1 = nullptr;
  QAction* SeitenbreiteMen = nullptr;
  QAction* Proportional = nullptr;
  QAction* Karte1 = nullptr;  // "&Karte": opens the map window (OnKarte)

  // What "&Karte" does: set by the window that shows the series (the main
  // window opens the map window); the item does nothing without it.
  std::function<void()> OnKarte;

  // Logical pixels per inch of the window's screen.
  int PxX() const;
  int PxY() const;
  // Client area (the part under the menu bar; a picture of this size needs
  // no scroll bars).
  QSize ClientSize() const;

  // Handlers.
  void FormPaint();
  void SetZoom(float NewZoom);  // any zoom command: unticks SeitenbreiteMen
  void ZoominClick();
  void ZoomoutClick();
  void PercentClick(QAction* Item);
  void Eingabe1Click();
  void Fenstergreanpassen1Click();
  void SeitenbreiteMenClick();
  void ProportionalClick();
  void Speichern1Click(int Tag);
  // Printing: the print dialog with preview, then one printed page.
  void Drucken1Click();

  // The bitmap for save tag 1..3 (without writing it): size per the save
  // rules, drawn through a layer of kind Tag + 2.
  QImage RenderForSave(int Tag);

  // Test seams for the modal dialogs. When set they replace the dialog:
  // the file-name hook is handed the save dialog as it would open (folder,
  // filters, default suffix) instead of running it, and returns the name
  // as typed there (empty = cancelled); the overwrite hook returns the
  // answer (Yes, No or Cancel); the zoom hook the typed text (Ok = false
  // means cancelled).
  std::function<QString(QFileDialog& Dialog)> SaveFileNameHook;
  std::function<QMessageBox::StandardButton(const QString& Text)> OverwriteHook;
  std::function<QString(bool* Ok)> ZoomInputHook;

  // tGraphOwner.
  tCanvas* GraphCanvas() override;
  float GraphZoom() const override { return Zoom; }
  void StoreDrawProc(DrawProc P) override { Proc = P; }

 protected:
  // Escape closes, "-" and the keypad's divide key zoom out, the keypad's
  // Enter gives 100 %: seen before the focused control handles them.
  bool eventFilter(QObject* Watched, QEvent* E) override;
  void closeEvent(QCloseEvent* E) override;
  void resizeEvent(QResizeEvent* E) override;
  void showEvent(QShowEvent* E) override;
  void moveEvent(QMoveEvent* E) override;

 private:
  friend void ShowGraph(TGraphForm*&, tGDIext*&, DrawProc, float, float, float, float, float, float);
  bool FitToFrame_ = false;  // sized by ShowGraph, frame not known yet
  QString SaveFolder_;       // folder of the last bitmap saved in this run
  QMessageBox::StandardButton AskOverwrite(const QString& Text);
  void BuildMenu();
  bool InPaint_ = false;
};

// Opens (creating when Form is null) and shows the graph window with the
// drawing procedure Proc, the world window (X1, Y1)-(X2, Y2) and the
// picture size WidthMM x HeightMM at zoom 1. GDI receives the window's layer
// (created when null). Until the window is Sized, its size is set from the
// picture size and it is kept on the screen.
void ShowGraph(TGraphForm*& Form, tGDIext*& GDI, DrawProc Proc, float X1, float Y1, float X2,
               float Y2, float WidthMM, float HeightMM);

// Moves the window, with its frame, into the screen's available area
// (without task bars and panels), and makes it smaller when it is larger
// than that area. A picture that it cuts off in one direction gets a
// scroll bar across the other: the window keeps room for that bar where
// the screen has it, so that the picture is not cut off in both.
void KeepOnScreen(TGraphForm& Form);

}  // namespace nodalis
