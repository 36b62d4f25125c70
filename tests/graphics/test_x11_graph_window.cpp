// The graph window on a real X server under a window manager (openbox),
// which frames it and has the last word on its size and place, driven with
// real mouse events (xdotool): "Fenstergröße anpassen" for a picture taller
// than the screen keeps the framed window on the screen, and the wheel
// scrolls the picture. Run by run_under_xvfb.sh --wm; skipped without an
// X display.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>

#include "graphics/draw/SeriesDiagram.h"
#include "graphics/windows/GrafikForm.h"
#include "tests/graphics/one_eclipse_series.h"
#include "tests/x11_xdotool.h"

using namespace nodalis;

namespace {

constexpr int WAIT_MS = 30000;  // the window manager and a series build on a loaded machine
// A picture as tall as the main window makes it on a 1200-pixel screen of
// 320 mm: the screen's height less 8.5 mm, 1 : sqrt(2).
constexpr float PICTURE_H_MM = 311.5f;
constexpr float PICTURE_W_MM = PICTURE_H_MM / 1.41421356f;

void Xdotool(const QStringList& Args) { x11_test::Xdotool(Args, WAIT_MS); }

class X11GraphWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!x11_test::HaveXdotoolDisplay())
      GTEST_SKIP() << "needs an X display and xdotool (run_under_xvfb.sh --wm)";
    LoadOneEclipse();
    ShowGraph(Form, GDI, &DrawSeriesDiagram, -DIAGRAM_HALF_WIDTH, -DIAGRAM_HALF_HEIGHT,
              DIAGRAM_HALF_WIDTH, DIAGRAM_HALF_HEIGHT, PICTURE_W_MM, PICTURE_H_MM);
    Form->Sized = true;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form, WAIT_MS));
    // Framed by the window manager.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->frameGeometry() != Form->geometry(); }, WAIT_MS));
  }
  void TearDown() override { delete Form; }
  QAction* Item(const char* Name) { return Form->findChild<QAction*>(Name); }
  // Waits until the window's geometry has not changed for a while (the
  // window manager answers a resize in its own time).
  void Settle() {
    QRect Last;
    for (int Quiet = 0, I = 0; Quiet < 5 && I < 100; ++I) {
      QTest::qWait(50);
      Quiet = Form->frameGeometry() == Last ? Quiet + 1 : 0;
      Last = Form->frameGeometry();
    }
  }

  TGraphForm* Form = nullptr;
  tGDIext* GDI = nullptr;
};

}  // namespace

TEST_F(X11GraphWindow, WindowToPictureSizeKeepsTheFrameOnTheScreen) {
  const QRect Avail = Form->screen()->availableGeometry();
  Item("N100Proz")->trigger();
  const QSize Pic = Form->Label1->size();
  // The menu bar, the title bar and the frame's edges.
  const int Chrome = Form->frameGeometry().height() - Form->ClientSize().height();
  ASSERT_GT(Pic.height() + Chrome, Avail.height()) << "the framed window must not fit the screen";
  Item("Fenstergreanpassen1")->trigger();
  Settle();
  const QRect Frame = Form->frameGeometry();
  EXPECT_TRUE(Avail.contains(Frame)) << "frame " << Frame.width() << "x" << Frame.height() << " at "
                                     << Frame.x() << "," << Frame.y() << ", screen "
                                     << Avail.width() << "x" << Avail.height();
  EXPECT_TRUE(Form->View->verticalScrollBar()->isVisible()) << "the rest of the picture scrolls";
  EXPECT_FALSE(Form->View->horizontalScrollBar()->isVisible()) << "the whole width is seen";
  EXPECT_EQ(Form->View->viewport()->width(), Pic.width());
}

TEST_F(X11GraphWindow, TheWheelScrollsThePicture) {
  Item("N2001")->trigger();
  Settle();
  QScrollBar* H = Form->View->horizontalScrollBar();
  QScrollBar* V = Form->View->verticalScrollBar();
  ASSERT_TRUE(QTest::qWaitFor([&] { return H->isVisible() && V->isVisible(); }, WAIT_MS));
  H->setValue(0);
  V->setValue(0);
  const QPoint Mid = Form->View->viewport()->mapToGlobal(Form->View->viewport()->rect().center());
  Xdotool({"mousemove", QString::number(Mid.x()), QString::number(Mid.y())});
  Xdotool({"click", "5"});  // the wheel one notch down
  EXPECT_TRUE(QTest::qWaitFor([&] { return V->value() > 0; }, WAIT_MS)) << "scrolled down";
  EXPECT_EQ(H->value(), 0);
  Xdotool({"keydown", "shift", "click", "5", "keyup", "shift"});
  EXPECT_TRUE(QTest::qWaitFor([&] { return H->value() > 0; }, WAIT_MS)) << "Shift: to the right";
}
