// Tests of the graph window under the offscreen platform: zoom commands and
// their caption, typed zoom, fitting with and without proportions, saving
// at three resolutions with the overwrite question, Escape and re-showing.
// Widgets and menu items are found by object name; the modal dialogs are
// driven through the window's test seams.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QLabel>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QTest>
#include <cmath>

#include "app/core/SeriesState.h"
#include "app/base/Utils.h"
#include "graphics/draw/DiagramFile.h"
#include "graphics/windows/GrafikForm.h"
#include "graphics/draw/SeriesDiagram.h"
#include "tests/graphics/one_eclipse_series.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

using namespace nodalis;

namespace {

constexpr int WAIT_MS = 3000;  // longest wait for the offscreen window system
constexpr float ZOOM_TOL = 1e-4f;

struct GraphWindow : testing::Test {
  TGraphForm* Form = nullptr;
  tGDIext* GDI = nullptr;
  void SetUp() override {
    // The save dialog keeps Qt's file-dialog settings in the configuration
    // directory: a folder of the test's own.
    static QTemporaryDir ConfigHome;
    qputenv("XDG_CONFIG_HOME", ConfigHome.path().toUtf8());
    LoadOneEclipse();
    // The picture of the main window: 1 : sqrt(2), here 105.8 x 149.6 mm.
    ShowGraph(Form, GDI, &DrawSeriesDiagram, -DIAGRAM_HALF_WIDTH, -DIAGRAM_HALF_HEIGHT,
              DIAGRAM_HALF_WIDTH, DIAGRAM_HALF_HEIGHT, 105.8f, 149.6f);
    Form->Sized = true;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form, WAIT_MS));
  }
  void TearDown() override { delete Form; }

  QAction* Item(const char* Name) { return Form->findChild<QAction*>(Name); }
  // Client area of exactly W x H pixels.
  bool SetClient(int W, int H) {
    const QSize Frame = Form->size() - Form->ClientSize();
    Form->resize(W + Frame.width(), H + Frame.height());
    return QTest::qWaitFor([&] { return Form->ClientSize() == QSize(W, H); }, WAIT_MS);
  }
};

}  // namespace

TEST_F(GraphWindow, MenuItemsTagsAndCaptions) {
  ASSERT_NE(Form->findChild<TGraphSurface*>("Label1"), nullptr);
  EXPECT_EQ(Form->windowTitle(), "Graphikausgabe");
  EXPECT_EQ(Item("SaveScreenDPI")->text(),
            QString("&Bildschirmauflösung %1 dpi").arg(Form->PxX()));
  EXPECT_EQ(Item("SaveHiRes300dpi")->data().toInt(), 2);
  EXPECT_EQ(Item("SaveXXL600dpi")->text(), "&XXL 600 dpi");
  EXPECT_TRUE(Item("Drucken1")->isEnabled());
  const char* Names[] = {"N251", "N501", "N701", "N100Proz", "N1401", "N2001", "N4001"};
  const int Tags[] = {25, 50, 70, 100, 140, 200, 400};
  for (int i = 0; i < 7; ++i) {
    ASSERT_NE(Item(Names[i]), nullptr) << Names[i];
    EXPECT_EQ(Item(Names[i])->data().toInt(), Tags[i]);
    EXPECT_EQ(Item(Names[i])->text(), QString("%1%").arg(Tags[i]));
  }
  EXPECT_EQ(Item("N100Proz")->shortcut(), QKeySequence(Qt::Key_Return));
  EXPECT_TRUE(Item("Proportional")->isChecked());
  EXPECT_FALSE(Item("SeitenbreiteMen")->isChecked());
  EXPECT_EQ(Form->PrintLeftMarginMM, 25.0f) << "after ShowGraph";
}

TEST_F(GraphWindow, ZoomCommandsAndCaption) {
  for (int i = 0; i < 3; ++i) Item("Zoomin")->trigger();
  EXPECT_NEAR(Form->Zoom, 2.8284271f, ZOOM_TOL);
  EXPECT_EQ(Item("Eingabe1")->text(), "Eingabe (283%)");
  // The surface grows with the zoom, proportions kept.
  const double Px = Form->PxX();
  EXPECT_EQ(Form->Label1->width(), RoundPx(Px * Form->Zoom * 105.8 / 25.4));
  Item("N501")->trigger();
  EXPECT_NEAR(Form->Zoom, 0.5f, ZOOM_TOL);
  EXPECT_EQ(Item("Eingabe1")->text(), "Eingabe (50%)");
  // "-" zooms out, Escape hides the window.
  QTest::keyClick(Form, Qt::Key_Minus);
  EXPECT_NEAR(Form->Zoom, 0.5f / 1.41421356f, ZOOM_TOL);
  Form->Sized = false;
  QTest::keyClick(Form, Qt::Key_Escape);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Form->isVisible(); }, WAIT_MS));
  EXPECT_TRUE(Form->Sized) << "closing marks the window sized";
}

TEST_F(GraphWindow, TypedZoom) {
  QString Next;
  bool NextOk = true;
  Form->ZoomInputHook = [&](bool* Ok) {
    *Ok = NextOk;
    return Next;
  };
  Next = "150";
  Item("Eingabe1")->trigger();
  EXPECT_NEAR(Form->Zoom, 1.5f, ZOOM_TOL);
  for (const char* Bad : {"abc", "0", "-20"}) {
    Next = Bad;
    Item("Eingabe1")->trigger();
    EXPECT_NEAR(Form->Zoom, 1.5f, ZOOM_TOL) << "typed '" << Bad << "' changes nothing";
  }
  Next = "70";
  NextOk = false;
  Item("Eingabe1")->trigger();
  EXPECT_NEAR(Form->Zoom, 1.5f, ZOOM_TOL) << "Cancel changes nothing";
  Next = "zoom 200 %";
  NextOk = true;
  Item("Eingabe1")->trigger();
  EXPECT_NEAR(Form->Zoom, 2.0f, ZOOM_TOL) << "leading letters are skipped";
}

TEST_F(GraphWindow, FitToWindow) {
  // Client twice as wide as the picture's proportion: the height limits.
  ASSERT_TRUE(SetClient(600, 424));
  Item("SeitenbreiteMen")->trigger();
  ASSERT_TRUE(Item("SeitenbreiteMen")->isChecked());
  const double WantZoom = 424 / (Form->PxY() * 149.6 / 25.4);
  EXPECT_NEAR(Form->Zoom, WantZoom, 1e-4);
  EXPECT_EQ(Form->Label1->height(), 424);
  const double Ratio = double(Form->Label1->height()) / Form->Label1->width();
  EXPECT_NEAR(Ratio, 149.6 / 105.8, 0.01) << "1 : sqrt(2) kept";
  // Any zoom command unticks the fit.
  Item("N2001")->trigger();
  EXPECT_FALSE(Item("SeitenbreiteMen")->isChecked());
  // Neither ticked: the surface follows the client area, scaled by zoom.
  Item("Proportional")->trigger();
  ASSERT_FALSE(Item("Proportional")->isChecked());
  Item("N501")->trigger();
  EXPECT_EQ(Form->Label1->size(), QSize(300, 212));
  // Fit without proportions: the whole client area.
  Item("SeitenbreiteMen")->trigger();
  EXPECT_EQ(Form->Label1->size(), QSize(600, 424));
}

TEST_F(GraphWindow, SaveResolutionsAndOverwriteQuestion) {
  QTemporaryDir Dir;
  ASSERT_TRUE(SetClient(400, 565));
  ASSERT_EQ(Form->PxX(), 96) << "offscreen screen resolution";
  int Asked = 0;
  QStringList Names;
  QList<QMessageBox::StandardButton> Answers;
  QString QuestionText;
  Form->SaveFileNameHook = [&](QFileDialog&) {
    ++Asked;
    return Names.isEmpty() ? QString() : Names.takeFirst();
  };
  Form->OverwriteHook = [&](const QString& T) {
    QuestionText = T;
    return Answers.isEmpty() ? QMessageBox::Cancel : Answers.takeFirst();
  };
  const QString F = Dir.filePath("saros.bmp");
  Names = {F};
  Item("SaveXXL600dpi")->trigger();
  QImage Big(F);
  EXPECT_EQ(Big.width(), 2500);
  EXPECT_EQ(Big.height(), 3531);
  EXPECT_NEAR(Big.dotsPerMeterX() * 0.0254, 600, 0.5) << "dots per metre in the file";
  EXPECT_EQ(Big.pixel(3, 1500) & 0xFFFFFF, qRgb(60, 60, 220) & 0xFFFFFF);

  // Screen resolution: the picture at zoom 1.
  const QString S = Dir.filePath("screen.bmp");
  Names = {S};
  Item("N2001")->trigger();
  Item("SaveScreenDPI")->trigger();
  QImage Small(S);
  EXPECT_EQ(Small.size(), QSize(RoundPx(Form->Label1->width() / 2.0),
                                RoundPx(Form->Label1->height() / 2.0)));

  // Existing file: No brings the dialog back, Cancel there writes nothing.
  const qint64 Before = QFileInfo(F).size();
  Asked = 0;
  Names = {F, F};
  Answers = {QMessageBox::No, QMessageBox::Cancel};
  Item("SaveHiRes300dpi")->trigger();
  EXPECT_EQ(Asked, 2) << "No shows the save dialog again";
  EXPECT_EQ(QuestionText, "Datei " + F + " ist schon vorhanden! Überschreiben?");
  EXPECT_EQ(QFileInfo(F).size(), Before) << "nothing written";
  // Yes overwrites (300 dpi: 1250 x 1766).
  Names = {F};
  Answers = {QMessageBox::Yes};
  Item("SaveHiRes300dpi")->trigger();
  EXPECT_EQ(QImage(F).size(), QSize(1250, 1766));
  // A cancelled save dialog writes nothing.
  Names = {};
  Item("SaveHiRes300dpi")->trigger();
  EXPECT_EQ(QImage(F).size(), QSize(1250, 1766));
}

TEST_F(GraphWindow, SaveOnAFullDiskKeepsTheOldFile) {
  // The save goes through a save file whose disk is full: an error box
  // names the file, and the file chosen keeps its old bytes.
  QTemporaryDir Dir;
  const QString F = Dir.filePath("saros.bmp");
  const QByteArray Old(20000, 'o');
  {
    QFile Out(F);
    ASSERT_TRUE(Out.open(QIODevice::WriteOnly));
    Out.write(Old);
  }
  struct NoRoom : QSaveFile {
    using QSaveFile::QSaveFile;
    qint64 writeData(const char*, qint64) override { return -1; }
  };
  SaveFileHook = [](const QString& N) { return std::make_unique<NoRoom>(N); };
  std::string Shown;
  ErrorBoxHook = [&](const std::string& Text) { Shown = Text; };
  Form->SaveFileNameHook = [&](QFileDialog&) { return F; };
  Form->OverwriteHook = [](const QString&) { return QMessageBox::Yes; };
  Item("SaveScreenDPI")->trigger();
  SaveFileHook = nullptr;
  ErrorBoxHook = nullptr;
  EXPECT_NE(Shown.find("kann nicht geschrieben werden"), std::string::npos) << Shown;
  QFile In(F);
  ASSERT_TRUE(In.open(QIODevice::ReadOnly));
  EXPECT_EQ(In.readAll(), Old);
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{"saros.bmp"});
}

TEST_F(GraphWindow, ShowGraphKeepsUserSizeOnceSized) {
  ASSERT_TRUE(SetClient(300, 420));
  Form->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Form->isVisible(); }, WAIT_MS));
  tGDIext* Before = GDI;
  ShowGraph(Form, GDI, &DrawSeriesDiagram, -1, -2, 1, 2, 50, 70);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form, WAIT_MS));
  EXPECT_EQ(GDI, Before) << "one layer per window";
  EXPECT_EQ(Form->ClientSize(), QSize(300, 420)) << "user's size kept";
  EXPECT_EQ(Form->WidthMM, 50.0f);
  EXPECT_FLOAT_EQ(GDI->YMax, 2.0f);
  // The surface shows the diagram: blue background, Earth disc in the middle.
  const QImage& P = Form->Label1->Picture();
  ASSERT_FALSE(P.isNull());
  EXPECT_TRUE(QTest::qWaitFor([&] { return (P.pixel(2, 2) & 0xFFFFFF) == (qRgb(60, 60, 220) & 0xFFFFFF); },
                              WAIT_MS));
}

TEST_F(GraphWindow, WindowToPictureSize) {
  Item("N701")->trigger();
  const QSize Pic = Form->Label1->size();
  Item("Fenstergreanpassen1")->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return Form->ClientSize() == Pic; }, WAIT_MS))
      << "want client " << Pic.width() << "x" << Pic.height() << " got "
      << Form->ClientSize().width() << "x" << Form->ClientSize().height();
  EXPECT_EQ(Form->Label1->size(), Pic) << "the picture keeps its size";
}

// A menu closed with Escape leaves the keyboard with the menu bar; the next
// Escape still reaches the window and hides it.
TEST_F(GraphWindow, EscapeClosesAfterAMenuWasClosedWithEscape) {
  Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form, WAIT_MS));
  QMenuBar* Bar = Form->menuBar();
  auto* Menu = Form->findChild<QMenu*>("Zoom1");
  ASSERT_NE(Menu, nullptr);
  Bar->setActiveAction(Menu->menuAction());
  ASSERT_TRUE(QTest::qWaitFor([&] { return Menu->isVisible(); }, WAIT_MS));
  QTest::keyClick(Menu, Qt::Key_Escape);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Menu->isVisible(); }, WAIT_MS));
  EXPECT_TRUE(Form->isVisible()) << "the first Escape closes the menu only";
  ASSERT_EQ(QApplication::focusWidget(), Bar) << "the menu bar holds the keyboard";
  QTest::keyClick(Bar, Qt::Key_Escape);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Form->isVisible(); }, WAIT_MS));
}

// The keypad's divide key zooms out and its Enter key gives 100 %, also
// while the menu bar holds the keyboard.
TEST_F(GraphWindow, KeypadDivideAndEnter) {
  Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form, WAIT_MS));
  for (QWidget* Target : {static_cast<QWidget*>(Form->Label1), static_cast<QWidget*>(Form->menuBar())}) {
    Item("N2001")->trigger();
    QTest::keyClick(Target, Qt::Key_Slash, Qt::KeypadModifier);
    EXPECT_NEAR(Form->Zoom, 2.0f / 1.41421356f, ZOOM_TOL) << Target->objectName().toStdString();
    QTest::keyClick(Target, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_NEAR(Form->Zoom, 1.0f, ZOOM_TOL) << Target->objectName().toStdString();
    EXPECT_EQ(Item("Eingabe1")->text(), "Eingabe (100%)");
  }
  // The main keyboard's "/" (Shift+7 on a German keyboard) is no zoom key.
  QTest::keyClick(Form->Label1, Qt::Key_Slash);
  EXPECT_NEAR(Form->Zoom, 1.0f, ZOOM_TOL);
  EXPECT_TRUE(Form->isVisible());
}

// A zoom beyond the surface limit is lowered to the largest that fits: the
// picture keeps its 1 : sqrt(2) and the screen-resolution save its zoom-1
// size.
TEST_F(GraphWindow, LargeZoomKeepsProportionsAndSaveSize) {
  QTemporaryDir Dir;
  Form->SaveFileNameHook = [&](QFileDialog&) { return Dir.filePath("zoom.bmp"); };
  const double Px = Form->PxX(), Py = Form->PxY();
  const QSize AtOne(RoundPx(Px * 105.8 / 25.4), RoundPx(Py * 149.6 / 25.4));
  for (const char* Typed : {"1500", "5000"}) {
    Form->ZoomInputHook = [&](bool* Ok) {
      *Ok = true;
      return QString(Typed);
    };
    Item("Eingabe1")->trigger();
    const QSize S = Form->Label1->size();
    EXPECT_LE(std::max(S.width(), S.height()), 6000) << Typed;
    EXPECT_GT(S.height(), 5990) << Typed << ": the longer side at the limit";
    EXPECT_NEAR(double(S.height()) / S.width(), 149.6 / 105.8, 0.001) << Typed;
    EXPECT_LT(Form->Zoom, 15.0f) << "lowered to fit";
    EXPECT_EQ(Item("Eingabe1")->text(), QString("Eingabe (%1%)").arg(RoundPx(Form->Zoom * 100.0)));
    Item("SaveScreenDPI")->trigger();
    const QImage Saved(Dir.filePath("zoom.bmp"));
    EXPECT_NEAR(Saved.width(), AtOne.width(), 1) << Typed;
    EXPECT_NEAR(Saved.height(), AtOne.height(), 1) << Typed;
    QFile::remove(Dir.filePath("zoom.bmp"));
  }
}

namespace {
// One notch of the mouse wheel (down when Notches < 0) over the picture,
// with Mods held.
void Wheel(QWidget* Over, int Notches, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
  const QPointF At(Over->width() / 2.0, Over->height() / 2.0);
  QWheelEvent E(At, Over->mapToGlobal(At), QPoint(), QPoint(0, 120 * Notches), Qt::NoButton, Mods,
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(Over, &E);
}
}  // namespace

// A picture larger than the window scrolls: scroll bars over exactly the
// part that does not fit, the wheel (sideways with Shift), the arrow keys;
// a zoom keeps the picture point in the middle of the view there. A picture
// that fits has no scroll bars.
TEST_F(GraphWindow, PictureLargerThanTheWindowScrolls) {
  ASSERT_TRUE(SetClient(300, 300));
  QScrollBar* H = Form->View->horizontalScrollBar();
  QScrollBar* V = Form->View->verticalScrollBar();
  Item("N4001")->trigger();
  const QSize Pic = Form->Label1->size();
  EXPECT_EQ(Pic, QSize(RoundPx(Form->PxX() * 4 * 105.8 / 25.4), RoundPx(Form->PxY() * 4 * 149.6 / 25.4)));
  ASSERT_TRUE(QTest::qWaitFor([&] { return H->isVisible() && V->isVisible(); }, WAIT_MS));
  const QSize Seen = Form->View->viewport()->size();
  EXPECT_EQ(H->maximum(), Pic.width() - Seen.width());
  EXPECT_EQ(V->maximum(), Pic.height() - Seen.height());

  // A zoom keeps the picture point in the middle of the view there: the
  // point (x, y) of the 400 % picture is at (x / 2, y / 2) at 200 %.
  H->setValue(500);
  V->setValue(700);
  const QPointF Middle(500 + Seen.width() / 2.0, 700 + Seen.height() / 2.0);
  Item("N2001")->trigger();
  ASSERT_EQ(Form->View->viewport()->size(), Seen) << "still both scroll bars";
  EXPECT_NEAR(H->value() + Seen.width() / 2.0, Middle.x() / 2, 1);
  EXPECT_NEAR(V->value() + Seen.height() / 2.0, Middle.y() / 2, 1);
  Item("N4001")->trigger();
  EXPECT_NEAR(H->value(), 500, 2);
  EXPECT_NEAR(V->value(), 700, 2);

  // The wheel, over the picture. (A wheel event that a program sends does
  // not travel from the picture up to the view as the system's does, so it
  // goes to the view's viewport here; the X server test sends real ones.)
  QWidget* Over = Form->View->viewport();
  H->setValue(0);
  V->setValue(0);
  Wheel(Over, -1);
  EXPECT_GT(V->value(), 0) << "the wheel scrolls down";
  EXPECT_EQ(H->value(), 0);
  Wheel(Over, -1, Qt::ShiftModifier);
  EXPECT_GT(H->value(), 0) << "Shift and the wheel scroll to the right";
  const int Right = H->value();
  Wheel(Over, 1, Qt::ShiftModifier);
  EXPECT_LT(H->value(), Right) << "and back to the left";
  const int Down = V->value();
  Form->View->setFocus();
  QTest::keyClick(Form->View, Qt::Key_Down);
  EXPECT_GT(V->value(), Down) << "the arrow keys scroll";

  // The picture's lower right corner can be reached.
  H->setValue(H->maximum());
  V->setValue(V->maximum());
  const QPoint Corner = Form->Label1->mapTo(Form->View->viewport(), QPoint(Pic.width(), Pic.height()));
  EXPECT_EQ(Corner, QPoint(Seen.width(), Seen.height()));

  Item("N251")->trigger();  // 100 x 141: fits
  EXPECT_TRUE(QTest::qWaitFor([&] { return !H->isVisible() && !V->isVisible(); }, WAIT_MS));
  EXPECT_EQ(Form->Label1->pos(), QPoint(0, 0)) << "the picture at the top left corner";
  // Fitted to the window, the picture needs no scroll bar either.
  Item("SeitenbreiteMen")->trigger();
  EXPECT_EQ(Form->Label1->height(), 300);
  QTest::qWait(50);
  EXPECT_FALSE(H->isVisible());
  EXPECT_FALSE(V->isVisible());
}

// A zoom lowered to the picture limit is told in a note over the picture,
// in the visible part whatever the scrolling, and the note goes with the
// next zoom that is not lowered.
TEST_F(GraphWindow, LoweredZoomIsToldOverThePicture) {
  EXPECT_EQ(Form->View->Note(), "");
  Form->ZoomInputHook = [](bool* Ok) {
    *Ok = true;
    return QString("1500");
  };
  Item("Eingabe1")->trigger();
  const int Percent = RoundPx(Form->Zoom * 100.0);
  EXPECT_LT(Percent, 1500);
  EXPECT_EQ(Item("Eingabe1")->text(), QString("Eingabe (%1%)").arg(Percent));
  EXPECT_EQ(Form->View->Note(),
            QString("Zoom auf %1% begrenzt: die längere Bildseite hat höchstens 6000 Pixel").arg(Percent));
  auto* Note = Form->View->findChild<QLabel*>("PictureNote");
  ASSERT_NE(Note, nullptr);
  EXPECT_TRUE(Note->isVisible());
  Form->View->verticalScrollBar()->setValue(Form->View->verticalScrollBar()->maximum());
  EXPECT_TRUE(Form->View->viewport()->rect().contains(Note->geometry())) << "seen, wherever the picture is";
  Item("Zoomin")->trigger();  // lowered again
  EXPECT_TRUE(Form->View->Note().startsWith(QString("Zoom auf %1%").arg(Percent)));
  Item("N4001")->trigger();
  EXPECT_EQ(Form->View->Note(), "");
  EXPECT_FALSE(Note->isVisible());
}

// "Fenstergröße anpassen" keeps the window inside the screen's available
// area; a picture taller than that scrolls down, and the window keeps room
// for the vertical scroll bar, so that the picture's width is all seen.
TEST_F(GraphWindow, WindowToPictureSizeStaysOnTheScreen) {
  const QRect Avail = Form->screen()->availableGeometry();
  // A zoom that makes the picture a little taller than the screen.
  Form->SetZoom(float(1.15 * Avail.height() / (Form->PxY() * 149.6 / 25.4)));
  const QSize Pic = Form->Label1->size();
  ASSERT_GT(Pic.height(), Avail.height()) << "the test needs a picture taller than the screen";
  ASSERT_LT(Pic.width() + 40, Avail.width());
  Item("Fenstergreanpassen1")->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return Avail.contains(Form->frameGeometry()); }, WAIT_MS))
      << Form->frameGeometry().width() << "x" << Form->frameGeometry().height() << " at "
      << Form->frameGeometry().x() << "," << Form->frameGeometry().y();
  QScrollBar* H = Form->View->horizontalScrollBar();
  QScrollBar* V = Form->View->verticalScrollBar();
  EXPECT_TRUE(QTest::qWaitFor([&] { return V->isVisible(); }, WAIT_MS));
  EXPECT_FALSE(H->isVisible()) << "the whole width is seen";
  EXPECT_EQ(Form->View->viewport()->width(), Pic.width());
  EXPECT_EQ(Form->Label1->size(), Pic) << "the picture keeps its size";
}

// The save dialog: both formats, a name without a suffix gets the chosen
// format's, and the dialog opens where the last bitmap was saved.
TEST_F(GraphWindow, SaveDialogAddsTheSuffixAndRemembersTheFolder) {
  QTemporaryDir Dir;
  QString Folder, Suffix;
  QStringList Filters;
  QString Typed, Format;
  Form->SaveFileNameHook = [&](QFileDialog& D) {
    Folder = D.directory().absolutePath();
    Suffix = D.defaultSuffix();
    Filters = D.nameFilters();
    if (!Format.isEmpty()) D.selectNameFilter(Format);
    return Typed;
  };
  Typed = Dir.filePath("saros");
  Item("SaveScreenDPI")->trigger();
  EXPECT_EQ(Folder, QDir::currentPath()) << "the first save starts in the current folder";
  EXPECT_EQ(Suffix, "bmp");
  EXPECT_EQ(Filters, QStringList({"Bilddateien (*.bmp)", "PNG-Bilder (*.png)"}));
  ASSERT_TRUE(QFile::exists(Dir.filePath("saros.bmp")));
  EXPECT_EQ(QImageReader(Dir.filePath("saros.bmp")).format(), "bmp");
  EXPECT_FALSE(QFile::exists(Dir.filePath("saros")));

  // The next one opens in that folder; PNG chosen, ".png" added.
  Typed = Dir.filePath("saros-png");
  Format = "PNG-Bilder (*.png)";
  Item("SaveScreenDPI")->trigger();
  EXPECT_EQ(Folder, QDir(Dir.path()).absolutePath());
  ASSERT_TRUE(QFile::exists(Dir.filePath("saros-png.png")));
  EXPECT_EQ(QImageReader(Dir.filePath("saros-png.png")).format(), "png");

  // A name with a suffix stays as typed; the overwrite question names the
  // file that is written.
  Format.clear();
  Typed = Dir.filePath("saros");
  QString Question;
  Form->OverwriteHook = [&](const QString& T) {
    Question = T;
    return QMessageBox::Cancel;
  };
  Item("SaveScreenDPI")->trigger();
  EXPECT_EQ(Question, "Datei " + Dir.filePath("saros.bmp") + " ist schon vorhanden! Überschreiben?");
  Typed = Dir.filePath("copy.2027");
  Item("SaveScreenDPI")->trigger();
  EXPECT_TRUE(QFile::exists(Dir.filePath("copy.2027")));
}
