// GrafikForm.cpp — the graph window TGraphForm and ShowGraph (GrafikForm.h).
#include "graphics/windows/GrafikForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "app/base/Utils.h"
#include "graphics/draw/DiagramFile.h"
#include "graphics/windows/PrintControlU.h"
#include "graphics/windows/SaveDialog.h"

namespace nodalis {

namespace {
constexpr float SQRT2 = 1.41421356f;
// Client area of a new window: the default picture at 96 dpi.
constexpr int INITIAL_CLIENT_W = DEFAULT_PICTURE_WIDTH_PX;
constexpr int INITIAL_CLIENT_H = DEFAULT_PICTURE_HEIGHT_PX;
// Save resolutions of the tags 2 and 3.
constexpr int HIRES_DPI = 300;
constexpr int XXL_DPI = 600;

int ClampSurface(double V) { return std::clamp(RoundPx(V), 0, MAX_SURFACE_PX); }

// The note on a zoom lowered to the surface limit.
const QString ZOOM_LIMIT_PREFIX = QStringLiteral("Zoom auf ");
QString ZoomLimitText(int Percent) {
  return ZOOM_LIMIT_PREFIX +
         QStringLiteral("%1% begrenzt: die längere Bildseite hat höchstens %2 Pixel")
             .arg(Percent)
             .arg(MAX_SURFACE_PX);
}

// The save dialog's formats.
const std::vector<SaveFormat> SAVE_FORMATS = {{"Bilddateien (*.bmp)", "bmp"}, {"PNG-Bilder (*.png)", "png"}};

struct PercentItem {
  const char* Name;
  const char* Caption;
  int Tag;
};
constexpr PercentItem PERCENT_ITEMS[] = {
    {"N251", "25%", 25},   {"N501", "50%", 50},   {"N701", "70%", 70},
    {"N100Proz", "100%", 100}, {"N1401", "140%", 140}, {"N2001", "200%", 200},
    {"N4001", "400%", 400},
};
}  // namespace

// ---- TGraphForm ------------------------------------------------------------

TGraphForm::TGraphForm(QWidget* Parent) : QMainWindow(Parent) {
  setObjectName("GraphForm");
  setWindowTitle("Graphikausgabe");
  Label1 = new TGraphSurface(nullptr);
  View = new TPictureView(Label1, this);
  setCentralWidget(View);
  BuildMenu();
  // The window sees its keys before its controls (also before a menu bar
  // that kept the focus after a menu was closed with Escape).
  qApp->installEventFilter(this);
  // FormCreate: picture size at zoom 1 from the initial client area.
  PrintLeftMarginMM = 15;
  Zoom = 1.0f;
  Sized = false;
  View->setMinimumSize(1, 1);
  resize(INITIAL_CLIENT_W, INITIAL_CLIENT_H + menuBar()->sizeHint().height());
  WidthMM = float(INITIAL_CLIENT_W / (PxX() / MM_PER_INCH));
  HeightMM = float(INITIAL_CLIENT_H / (PxY() / MM_PER_INCH));
}

TGraphForm::~TGraphForm() {
  qApp->removeEventFilter(this);
  delete GDI;
  GDI = nullptr;
}

int TGraphForm::PxX() const { return logicalDpiX() > 0 ? logicalDpiX() : ScreenLogicalDpiX(); }
int TGraphForm::PxY() const { return logicalDpiY() > 0 ? logicalDpiY() : ScreenLogicalDpiY(); }

QSize TGraphForm::ClientSize() const {
  // Before the window is shown its layout has not placed the client area.
  if (isVisible()) return View->AreaSize();
  return QSize(width(), std::max(0, height() - menuBar()->sizeHint().height()));
}

tCanvas* TGraphForm::GraphCanvas() { return Label1->Canvas(); }

void TGraphForm::BuildMenu() {
  QMenuBar* Bar = menuBar();
  Bar->setNativeMenuBar(false);
  QMenu* Speichern1 = Bar->addMenu("&Speichern");
  Speichern1->setObjectName("Speichern1");
  auto AddSave = [&](const char* Name, const QString& Caption, int Tag) {
    QAction* A = Speichern1->addAction(Caption);
    A->setObjectName(Name);
    A->setData(Tag);
    connect(A, &QAction::triggered, this, [this, Tag] { Speichern1Click(Tag); });
    return A;
  };
  SaveScreenDPI = AddSave("SaveScreenDPI",
                          QStringLiteral("&Bildschirmauflösung %1 dpi").arg(PxX()), 1);
  SaveHiRes300dpi = AddSave("SaveHiRes300dpi", "&HiRes 300 dpi", 2);
  SaveXXL600dpi = AddSave("SaveXXL600dpi", "&XXL 600 dpi", 3);

  Drucken1 = Bar->addAction("&Drucken");
  Drucken1->setObjectName("Drucken1");
  connect(Drucken1, &QAction::triggered, this, [this] { Drucken1Click(); });

  QMenu* Zoom1 = Bar->addMenu("Zoom");
  Zoom1->setObjectName("Zoom1");
  Zoomin = Zoom1->addAction("Zoom in");
  Zoomin->setObjectName("Zoomin");
  Zoomin->setShortcut(QKeySequence(Qt::Key_Plus));
  connect(Zoomin, &QAction::triggered, this, [this] { ZoominClick(); });
  Zoomout = Zoom1->addAction("Zoom out");
  Zoomout->setObjectName("Zoomout");
  Zoomout->setShortcut(QKeySequence(Qt::KeypadModifier | Qt::Key_Slash));
  connect(Zoomout, &QAction::triggered, this, [this] { ZoomoutClick(); });
  Zoom1->addSeparator()->setObjectName("N2");
  for (const auto& It : PERCENT_ITEMS) {
    QAction* A = Zoom1->addAction(It.Caption);
    A->setObjectName(It.Name);
    A->setData(It.Tag);
    if (It.Tag == 100) A->setShortcut(QKeySequence(Qt::Key_Return));
    connect(A, &QAction::triggered, this, [this, A] { PercentClick(A); });
  }
  Eingabe1 = Zoom1->addAction("&Eingabe");
  Eingabe1->setObjectName("Eingabe1");
  connect(Eingabe1, &QAction::triggered, this, [this] { Eingabe1Click(); });
  Fenstergreanpassen1 = Zoom1->addAction("Fenstergröße anpassen");
  Fenstergreanpassen1->setObjectName("Fenstergreanpassen1");
  connect(Fenstergreanpassen1, &QAction::triggered, this, [this] { Fenstergreanpassen1Click(); });
  Zoom1->addSeparator()->setObjectName("N1");
  SeitenbreiteMen = Zoom1->addAction("Einpassen");
  SeitenbreiteMen->setObjectName("SeitenbreiteMen");
  SeitenbreiteMen->setCheckable(true);
  connect(SeitenbreiteMen, &QAction::triggered, this, [this] { SeitenbreiteMenClick(); });
  Proportional = Zoom1->addAction("Proportional");
  Proportional->setObjectName("Proportional");
  Proportional->setCheckable(true);
  Proportional->setChecked(true);
  connect(Proportional, &QAction::triggered, this, [this] { ProportionalClick(); });

  Karte1 = Bar->addAction("&Karte");
  Karte1->setObjectName("Karte1");
  connect(Karte1, &QAction::triggered, this, [this] {
    if (OnKarte) OnKarte();
  });
}

void TGraphForm::FormPaint() {
  if (InPaint_) return;  // resizing the surface must not recurse
  InPaint_ = true;
  const QSize C = ClientSize();
  const double Cw = C.width(), Ch = C.height();
  const double Px = PxX(), Py = PxY();
  const bool Prop = Proportional->isChecked();
  const bool Fit = SeitenbreiteMen->isChecked();
  const bool HavePicture = WidthMM > 0 && HeightMM > 0;
  if (Prop && Fit && HavePicture && Cw > 0 && Ch > 0) {
    Zoom = float(Cw / (Px * WidthMM / MM_PER_INCH));
    if (Py * Zoom * HeightMM / MM_PER_INCH > Ch) Zoom = float(Ch / (Py * HeightMM / MM_PER_INCH));
  }
  // The zoom at which the larger side of the surface (in device pixels)
  // reaches its limit.
  const double Ratio = std::max(1.0, Label1->devicePixelRatioF());
  double Largest = 0;
  if (Prop && HavePicture)
    Largest = Ratio * std::max(Px * WidthMM, Py * HeightMM) / MM_PER_INCH;
  else if (!Prop && !Fit)
    Largest = Ratio * std::max(Cw, Ch);
  const bool Lowered = Largest > 0 && double(Zoom) * Largest > MAX_SURFACE_PX;
  if (Lowered) Zoom = float(MAX_SURFACE_PX / Largest * (1 - 1e-6));
  if (Prop) {
    View->SetPictureSize(QSize(ClampSurface(Px * Zoom * WidthMM / MM_PER_INCH),
                               ClampSurface(Py * Zoom * HeightMM / MM_PER_INCH)));
  } else if (Fit) {
    View->SetPictureSize(QSize(ClampSurface(Cw), ClampSurface(Ch)));
  } else {
    View->SetPictureSize(QSize(ClampSurface(Cw * Zoom), ClampSurface(Ch * Zoom)));
  }
  if (Proc && GDI) Proc(*GDI);
  Label1->update();
  const int Percent = RoundPx(double(Zoom) * 100.0);
  Eingabe1->setText(QStringLiteral("Eingabe (%1%)").arg(Percent));
  // The lowering is told where the user looks, over the picture; the note
  // stays while the zoom is the lowered one and goes with the next zoom
  // that is not.
  if (Lowered)
    View->SetNote(ZoomLimitText(Percent));
  else if (View->Note().startsWith(ZOOM_LIMIT_PREFIX))
    View->SetNote(QString());
  InPaint_ = false;
}

void TGraphForm::SetZoom(float NewZoom) {
  if (!(NewZoom > 0) || !std::isfinite(NewZoom)) return;
  Zoom = NewZoom;
  SeitenbreiteMen->setChecked(false);
  FormPaint();
}

void TGraphForm::ZoominClick() { SetZoom(Zoom * SQRT2); }
void TGraphForm::ZoomoutClick() { SetZoom(Zoom / SQRT2); }

void TGraphForm::PercentClick(QAction* Item) { SetZoom(float(Item->data().toInt()) / 100.0f); }

void TGraphForm::Eingabe1Click() {
  bool Ok = false;
  QString Text;
  if (ZoomInputHook)
    Text = ZoomInputHook(&Ok);
  else
    Text = QInputDialog::getText(this, "Zoom", "Bitte Zoomfaktor eingeben:", QLineEdit::Normal,
                                 QString(), &Ok);
  if (!Ok) return;
  const int N = StrToIntLoose(Utf8ToCp1252(Text.toStdString()));
  Eingabe1->setData(N);
  if (N > 0) SetZoom(float(N) / 100.0f);
}

void TGraphForm::Fenstergreanpassen1Click() {
  // Twice for the width: a menu bar that wraps changes the client width.
  for (int Pass = 0; Pass < 2; ++Pass)
    resize(Label1->width() + (width() - ClientSize().width()), height());
  resize(width(), Label1->height() + (height() - ClientSize().height()));
  // Never beyond the screen: a larger picture scrolls instead.
  KeepOnScreen(*this);
}

void TGraphForm::SeitenbreiteMenClick() { FormPaint(); }
void TGraphForm::ProportionalClick() { FormPaint(); }

void TGraphForm::Drucken1Click() {
  // The print dialog with its preview, then one page through a printer
  // layer: the picture at its zoom-1 size, or fitted to the page when
  // "Einpassen" is ticked; the job is titled with the window's caption.
  PrintJobSource S;
  S.Window = this;
  S.GDI = GDI;
  S.DrawProc = Proc;
  S.Caption = windowTitle();
  S.WidthMM = WidthMM;
  S.HeightMM = HeightMM;
  S.LeftMarginMM = PrintLeftMarginMM;
  S.PageScale = SeitenbreiteMen->isChecked();
  S.Proportional = Proportional->isChecked();
  PrintPicture(S);
}

QMessageBox::StandardButton TGraphForm::AskOverwrite(const QString& Text) {
  if (OverwriteHook) return OverwriteHook(Text);
  return QMessageBox::warning(this, "Warnung", Text,
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

QImage TGraphForm::RenderForSave(int Tag) {
  const int Px = PxX();
  const QSize C = ClientSize();
  int W = 0, H = 0, Dpi = Px;
  if (Tag == 2 || Tag == 3) {
    Dpi = Tag == 2 ? HIRES_DPI : XXL_DPI;
    H = RoundPx(double(C.height()) * Dpi / Px);
    W = RoundPx(double(C.width()) * Dpi / Px);
  } else {
    Tag = 1;
    H = RoundPx(Label1->height() / double(Zoom));
    W = RoundPx(Label1->width() / double(Zoom));
  }
  QImage Img = MakeBitmap(W, H, Dpi);
  if (Img.isNull()) return Img;
  tCanvas Canvas(&Img);
  tGDIext Layer(std::uint8_t(Tag + 2), Canvas);
  if (GDI) CopyWorld(*GDI, Layer);
  if (Proc) Proc(Layer);
  Canvas.End();
  return Img;
}

void TGraphForm::Speichern1Click(int Tag) {
  // The dialog opens in the folder of the last save of this run (at first
  // the current folder); the window asks about an existing file itself.
  const QString Name =
      AskSaveTarget(this, SAVE_FORMATS, SaveFolder_, SaveFileNameHook,
                    [this](const QString& Text) { return AskOverwrite(Text); });
  if (Name.isEmpty()) return;
  QImage Img = RenderForSave(Tag);
  QString Error;
  const int Dpi = Tag == 2 ? HIRES_DPI : Tag == 3 ? XXL_DPI : PxX();
  if (Img.isNull())
    Error = "Kein Speicher für die Bitmap";
  else if (WriteBitmapFile(Img, Name, Dpi, &Error))
    return;
  ErrorBox(Utf8ToCp1252(Error.toStdString()));
}

bool TGraphForm::eventFilter(QObject* Watched, QEvent* E) {
  if (E->type() != QEvent::KeyPress) return QMainWindow::eventFilter(Watched, E);
  auto* W = qobject_cast<QWidget*>(Watched);
  // Keys of this window only, and not while one of its menus is open.
  if (!W || W->window() != this || QApplication::activePopupWidget())
    return QMainWindow::eventFilter(Watched, E);
  auto* K = static_cast<QKeyEvent*>(E);
  const bool Keypad = K->modifiers() & Qt::KeypadModifier;
  if (K->key() == Qt::Key_Escape) {
    close();
  } else if (K->text() == QLatin1String("-")) {
    ZoomoutClick();
  } else if (Keypad && K->key() == Qt::Key_Slash) {
    // The keypad's divide key; X11 does not match it to a keypad shortcut.
    ZoomoutClick();
  } else if (K->key() == Qt::Key_Enter) {
    // The keypad's Enter: 100 % like Return.
    if (auto* Item = findChild<QAction*>(QStringLiteral("N100Proz"))) PercentClick(Item);
  } else {
    return QMainWindow::eventFilter(Watched, E);
  }
  return true;  // consumed
}

void TGraphForm::closeEvent(QCloseEvent* E) {
  Sized = true;  // later ShowGraph calls keep the user's size and place
  E->accept();   // hides; the window lives on
}

void TGraphForm::resizeEvent(QResizeEvent* E) {
  QMainWindow::resizeEvent(E);
  FormPaint();
}

void TGraphForm::moveEvent(QMoveEvent* E) {
  QMainWindow::moveEvent(E);
  if (FitToFrame_ && isVisible() && frameGeometry() != geometry()) {
    FitToFrame_ = false;
    KeepOnScreen(*this);
  }
}

void TGraphForm::showEvent(QShowEvent* E) {
  QMainWindow::showEvent(E);
  FormPaint();
}

// ---- ShowGraph -------------------------------------------------------------

namespace {
// Size of the window system's frame around a top-level window: title bar
// and borders. A window that is not yet on the screen has none so far; it
// will get the frame another window of the program has.
QMargins WindowFrame(const QWidget& W) {
  auto Of = [](const QWidget& T) {
    const QRect F = T.frameGeometry(), G = T.geometry();
    return QMargins(G.left() - F.left(), G.top() - F.top(), F.right() - G.right(),
                    F.bottom() - G.bottom());
  };
  if (W.isVisible()) return Of(W);
  for (QWidget* T : QApplication::topLevelWidgets())
    if (T != &W && T->isVisible() && T->isWindow() && !(T->windowFlags() & Qt::Popup) &&
        !Of(*T).isNull())
      return Of(*T);
  return {};
}
}  // namespace

void KeepOnScreen(TGraphForm& F) {
  QScreen* S = F.screen();
  if (!S) return;
  // The area left free by task bars and panels, with the window's frame.
  const QRect A = S->availableGeometry();
  const QMargins M = WindowFrame(F);
  const int MaxW = A.width() - M.left() - M.right(), MaxH = A.height() - M.top() - M.bottom();
  if (F.width() > MaxW || F.height() > MaxH) {
    // The menu bar above the client area.
    const QSize Chrome = F.size() - F.ClientSize();
    const QSize Pic = F.Label1->size();
    const int Bar = F.View->ScrollBarExtent();
    int W = std::min(F.width(), MaxW), H = std::min(F.height(), MaxH);
    const bool FitsAcross = Pic.width() <= F.width() - Chrome.width();
    const bool FitsDown = Pic.height() <= F.height() - Chrome.height();
    if (FitsAcross && Pic.height() > H - Chrome.height())
      W = std::min(std::max(W, Pic.width() + Bar + Chrome.width()), MaxW);
    if (FitsDown && Pic.width() > W - Chrome.width())
      H = std::min(std::max(H, Pic.height() + Bar + Chrome.height()), MaxH);
    F.resize(W, H);
  }
  const int W = F.width() + M.left() + M.right(), H = F.height() + M.top() + M.bottom();
  // pos() is the frame's top left corner.
  int X = F.x(), Y = F.y();
  if (X + W > A.right() + 1) X = A.right() + 1 - W;
  if (X < A.left()) X = A.left();
  if (Y + H > A.bottom() + 1) Y = A.bottom() + 1 - H;
  if (Y < A.top()) Y = A.top();
  F.move(X, Y);
}

void ShowGraph(TGraphForm*& Form, tGDIext*& GDI, DrawProc Proc, float X1, float Y1, float X2,
               float Y2, float WidthMM, float HeightMM) {
  if (!Form) Form = new TGraphForm();
  TGraphForm& F = *Form;
  if (!F.Sized) {
    const double Px = F.PxX(), Py = F.PxY();
    const QSize C = F.ClientSize();
    const int FrameW = F.width() - C.width(), FrameH = F.height() - C.height();
    const int PicW = ClampSurface(Px * WidthMM / MM_PER_INCH);
    const int PicH = ClampSurface(Py * HeightMM / MM_PER_INCH);
    F.resize(PicW + FrameW, PicH + FrameH);
    F.Label1->resize(PicW, PicH);
    KeepOnScreen(F);
    // Once the window manager has framed the window, fit it again with the
    // frame it really has.
    F.FitToFrame_ = true;
  }
  F.PrintLeftMarginMM = 25;
  F.WidthMM = WidthMM;
  F.HeightMM = HeightMM;
  if (!GDI) GDI = F.GDI;
  if (!GDI) GDI = new tGDIext(Proc, F);
  F.GDI = GDI;
  GDI->SetWorld(X1, Y1, X2, Y2);
  GDI->Prepare();
  F.show();
}

}  // namespace nodalis
