// MapForm.cpp — the map window (MapForm.h).
#include "graphics/windows/MapForm.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/base/Utils.h"
#include "app/core/LocalPlace.h"
#include "app/core/SeriesState.h"
#include "app/qt/QtText.h"
#include "astro/BesselRec.h"
#include "astro/TIMLIB.h"
#include "graphics/draw/DiagramFile.h"
#include "graphics/draw/WorldMap.h"
#include "graphics/windows/PrintControlU.h"
#include "graphics/windows/SaveDialog.h"

namespace nodalis {

namespace {
constexpr float ZOOM_STEP = 1.41421356f;
constexpr float MIN_ZOOM = 0.25f;
// The member under the mouse: within this many pixels of its mark or line.
constexpr int HIT_TOLERANCE_PX = 6;
constexpr int PRINT_MARGIN_MM = 15;

const std::vector<SaveFormat> SAVE_FORMATS = {{"PNG-Bilder (*.png)", "png"},
                                              {"Bilddateien (*.bmp)", "bmp"},
                                              {"PDF-Dokumente (*.pdf)", "pdf"},
                                              {"SVG-Grafiken (*.svg)", "svg"}};

int ScreenDpi(const QWidget& W) { return W.logicalDpiX() > 0 ? W.logicalDpiX() : ScreenLogicalDpiX(); }

// "47,6° N", "16,4° O": one decimal with the German comma, as the place's
// text beside it in the status line writes its degrees.
QString Degrees(double V, char Plus, char Minus) {
  return QStringLiteral("%1° %2")
      .arg(QString::number(std::fabs(V), 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')))
      .arg(QChar(V >= 0 ? Plus : Minus));
}
}  // namespace

TMapForm::TMapForm(QWidget* Parent) : QMainWindow(Parent) {
  setObjectName("MapForm");
  setWindowTitle(FromCp(MapCaption(SeriesList)));
  Surface = new TGraphSurface(nullptr);
  Surface->setObjectName("MapSurface");
  Surface->setMouseTracking(true);
  View = new TPictureView(Surface, this);
  View->setObjectName("MapView");
  Surface->installEventFilter(this);
  View->viewport()->installEventFilter(this);
  setCentralWidget(View);
  Status = new QLabel(this);
  Status->setObjectName("MapStatus");
  statusBar()->addWidget(Status, 1);
  BuildMenu();
  GDI = new tGDIext(&DrawSeriesMap, *this);
  GDI->SetWorld(MAP_WORLD_X1, MAP_WORLD_Y1, MAP_WORLD_X2, MAP_WORLD_Y2);
  SetZoom(1.0f);
}

TMapForm::~TMapForm() {
  delete GDI;
  GDI = nullptr;
}

tCanvas* TMapForm::GraphCanvas() { return Surface->Canvas(); }

void TMapForm::BuildMenu() {
  QMenuBar* Bar = menuBar();
  Bar->setNativeMenuBar(false);
  QMenu* Save = Bar->addMenu("&Speichern");
  Save->setObjectName("MapSpeichern");
  auto AddSave = [&](const char* Name, const QString& Caption, int Dpi) {
    QAction* A = Save->addAction(Caption);
    A->setObjectName(Name);
    A->setData(Dpi);
    connect(A, &QAction::triggered, this, [this, Dpi] { SaveClick(Dpi); });
  };
  AddSave("MapSave96", "&Bildschirmauflösung 96 dpi", 96);
  AddSave("MapSave300", "&HiRes 300 dpi", 300);
  AddSave("MapSave600", "&XXL 600 dpi", 600);
  QAction* Print = Bar->addAction("&Drucken");
  Print->setObjectName("MapDrucken");
  connect(Print, &QAction::triggered, this, [this] { PrintClick(); });
  QMenu* ZoomMenu = Bar->addMenu("Zoom");
  ZoomMenu->setObjectName("MapZoom");
  Zoomin = ZoomMenu->addAction("Zoom in");
  Zoomin->setObjectName("MapZoomin");
  Zoomin->setShortcut(QKeySequence(Qt::Key_Plus));
  connect(Zoomin, &QAction::triggered, this, [this] { SetZoom(Zoom * ZOOM_STEP); });
  Zoomout = ZoomMenu->addAction("Zoom out");
  Zoomout->setObjectName("MapZoomout");
  Zoomout->setShortcut(QKeySequence(Qt::Key_Minus));
  connect(Zoomout, &QAction::triggered, this, [this] { SetZoom(Zoom / ZOOM_STEP); });
  ZoomMenu->addSeparator();
  for (int Percent : {50, 100, 200, 400, 800}) {
    QAction* A = ZoomMenu->addAction(QStringLiteral("%1%").arg(Percent));
    A->setObjectName(QStringLiteral("MapZoom%1").arg(Percent));
    if (Percent == 100) A->setShortcut(QKeySequence(Qt::Key_Return));
    connect(A, &QAction::triggered, this, [this, Percent] { SetZoom(float(Percent) / 100.0f); });
  }
}

void TMapForm::SetZoom(float NewZoom) {
  if (!(NewZoom > 0) || !std::isfinite(NewZoom)) return;
  const int Dpi = ScreenDpi(*this);
  const double Ratio = std::max(1.0, Surface->devicePixelRatioF());
  const double W = MAP_PAGE_WIDTH_IN * Dpi, H = MAP_PAGE_HEIGHT_IN * Dpi;
  const float Largest = float(MAX_SURFACE_PX / (W * Ratio));
  Zoom = std::clamp(NewZoom, MIN_ZOOM, Largest);
  View->SetPictureSize(QSize(RoundPx(W * Zoom), RoundPx(H * Zoom)));
  Redraw();
}

void TMapForm::Redraw() {
  if (Proc && GDI) {
    QApplication::setOverrideCursor(Qt::WaitCursor);  // a new series computes its paths
    Proc(*GDI);
    QApplication::restoreOverrideCursor();
  }
  Surface->update();
}

void TMapForm::SeriesChanged() {
  setWindowTitle(FromCp(MapCaption(SeriesList)));
  // The place of the settings file (a bad value: none, as everywhere).
  GeodeticPlace P;
  std::string Why;
  Place.reset();
  const SettingsPlace Read = ReadSettingsPlace(P, Why);
  if (Read == SettingsPlace::Set) Place = P;
  // A bad value is said on standard error, once, not at every series.
  if (Read == SettingsPlace::Invalid && Why != PlaceError_)
    std::fprintf(stderr, "nodalis: %s\n", FromCp(Why).toLocal8Bit().constData());
  PlaceError_ = Read == SettingsPlace::Invalid ? Why : std::string();
  MapMarkedPlace.reset();
  if (Place) MapMarkedPlace = MapPoint{double(Place->LongitudeDeg), double(Place->LatitudeDeg)};
  Redraw();
  Status->setText(QString());
}

MapPoint TMapForm::PointAt(const QPoint& P) const {
  const double Ratio = std::max(1.0, Surface->devicePixelRatioF());
  // The middle of the pixel.
  const double X = (P.x() + 0.5) * Ratio, Y = (P.y() + 0.5) * Ratio;
  return {double(GDI->XMin) + X / double(GDI->ScaleX), double(GDI->YMax) - Y / double(GDI->ScaleY)};
}

QString TMapForm::StatusText(const MapPoint& P) const {
  if (std::fabs(P.LatDeg) > 90 || std::fabs(P.LonDeg) > 180) return QString();
  QString Text = Degrees(P.LatDeg, 'N', 'S') + QStringLiteral("  ") + Degrees(P.LonDeg, 'O', 'W');
  const SeriesMap& M = CachedSeriesMap(SeriesList, MapDeltaTModel);
  const double Tol = HIT_TOLERANCE_PX / std::max(1e-9, double(GDI->ScaleX)) *
                     std::max(1.0, Surface->devicePixelRatioF());
  const int I = MemberAt(M, P, Tol);
  if (I < 0) return Text;
  const MapMember& m = M.Members[std::size_t(I)];
  Text += QStringLiteral("    Nr. %1  %2  %3")
              .arg(m.No)
              .arg(FromCp(DateText(0, 0.0f, m.JDGreatestTD)))
              .arg(FromCp(EclipseText("Finsternis", m.TypeCode)));
  if (Place && m.Valid)
    Text += QStringLiteral("    ") + FromCp(LocalStatusText(*Place, ComputeLocalCircumstances(m.Elements, *Place)));
  return Text;
}

bool TMapForm::eventFilter(QObject* Watched, QEvent* E) {
  if (Watched == Surface && E->type() == QEvent::MouseMove) {
    const auto* M = static_cast<QMouseEvent*>(E);
    Status->setText(StatusText(PointAt(M->position().toPoint())));
  } else if (Watched == Surface && E->type() == QEvent::Leave) {
    Status->setText(QString());
  } else if (View && Watched == View->viewport() && E->type() == QEvent::Wheel) {
    auto* W = static_cast<QWheelEvent*>(E);
    if (W->modifiers() & Qt::ControlModifier) {
      const int Dy = W->angleDelta().y();
      if (Dy != 0) SetZoom(Dy > 0 ? Zoom * ZOOM_STEP : Zoom / ZOOM_STEP);
      return true;
    }
  }
  return QMainWindow::eventFilter(Watched, E);
}

void TMapForm::showEvent(QShowEvent* E) {
  QMainWindow::showEvent(E);
  if (Placed_) return;
  Placed_ = true;
  // The whole map at 100 % where the screen has room, else as much as fits.
  const QSize Chrome(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
  QSize Want = Surface->size() + Chrome;
  QScreen* S = screen();
  if (!S) {
    resize(Want);
    return;
  }
  // Inside the screen's free area, with room for the window's frame.
  const QRect A = S->availableGeometry();
  const QSize Frame = frameGeometry().size() - size();
  Want = Want.boundedTo(A.size() - Frame);
  resize(Want);
  const int X = std::clamp(x(), A.left(), std::max(A.left(), A.right() + 1 - Want.width() - Frame.width()));
  const int Y = std::clamp(y(), A.top(), std::max(A.top(), A.bottom() + 1 - Want.height() - Frame.height()));
  move(X, Y);
}

void TMapForm::SaveClick(int Dpi) {
  const QString Name = AskSaveTarget(this, SAVE_FORMATS, SaveFolder_, SaveFileNameHook, OverwriteHook);
  if (Name.isEmpty()) return;
  QString Error;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool Ok = WriteSeriesMapFile(Name, Dpi, &Error, windowTitle());
  QApplication::restoreOverrideCursor();
  if (!Ok) ErrorBox(Utf8ToCp1252(Error.toStdString()));
}

void TMapForm::PrintClick() {
  PrintJobSource S;
  S.Window = this;
  S.GDI = GDI;
  S.DrawProc = Proc;
  S.Caption = windowTitle();
  S.WidthMM = float(MAP_PAGE_WIDTH_IN * MM_PER_INCH);
  S.HeightMM = float(MAP_PAGE_HEIGHT_IN * MM_PER_INCH);
  S.LeftMarginMM = PRINT_MARGIN_MM;
  S.PageScale = true;  // the map fitted to the page
  S.Proportional = true;
  PrintPicture(S);
}

}  // namespace nodalis
