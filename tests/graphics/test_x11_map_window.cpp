// The map window on a real X server under a window manager (openbox),
// driven with real mouse events (xdotool): the framed window stays on the
// screen, the member under the real mouse is named in the status line,
// and Ctrl with the wheel zooms until the map scrolls.  Run by
// run_under_xvfb.sh --wm; skipped without an X display.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>

#include "graphics/draw/WorldMap.h"
#include "graphics/windows/MapForm.h"
#include "tests/graphics/map_places.h"
#include "tests/x11_xdotool.h"

using namespace nodalis;

namespace {

constexpr int WAIT_MS = 30000;  // the window manager and a series build on a loaded machine

void Xdotool(const QStringList& Args) { x11_test::Xdotool(Args, WAIT_MS); }

class X11MapWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!x11_test::HaveXdotoolDisplay())
      GTEST_SKIP() << "needs an X display and xdotool (run_under_xvfb.sh --wm)";
    map_test::SeriesOf(145);
    Form = new TMapForm;
    Form->SeriesChanged();
    Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form, WAIT_MS));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->frameGeometry() != Form->geometry(); }, WAIT_MS));
    QTest::qWait(300);  // the window manager's last move
  }
  void TearDown() override { delete Form; }
  // The screen point of the map point (Lon, Lat) on the surface.
  QPoint ScreenPoint(double Lon, double Lat) const {
    const QSize S = Form->Surface->size();
    const QPoint P(int((Lon - MAP_WORLD_X1) / (MAP_WORLD_X2 - MAP_WORLD_X1) * S.width()),
                   int((MAP_WORLD_Y2 - Lat) / (MAP_WORLD_Y2 - MAP_WORLD_Y1) * S.height()));
    return Form->Surface->mapToGlobal(P);
  }
  TMapForm* Form = nullptr;
};

}  // namespace

TEST_F(X11MapWindow, OnTheScreenTheMouseNamesTheMemberAndCtrlWheelZooms) {
  const QRect Avail = Form->screen()->availableGeometry();
  EXPECT_TRUE(Avail.contains(Form->frameGeometry()));
  // NASA's central line of 2017 at 18:00 UT in Nebraska, 40 50.3 N 98 18.3 W
  // (tests/graphics/map_places.h).
  const QPoint P = ScreenPoint(-98.305, 40.838);
  Xdotool({"mousemove", QString::number(P.x()), QString::number(P.y())});
  auto* Status = Form->findChild<QLabel*>("MapStatus");
  ASSERT_NE(Status, nullptr);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Status->text().contains("Nr. 22  21.08.2017"); }, WAIT_MS))
      << Status->text().toStdString();
  // Ctrl and the wheel one notch up: 141 %, and the map scrolls.
  const float Before = Form->Zoom;
  Xdotool({"keydown", "ctrl", "click", "4", "keyup", "ctrl"});
  EXPECT_TRUE(QTest::qWaitFor([&] { return Form->Zoom > Before * 1.4f; }, WAIT_MS)) << Form->Zoom;
  EXPECT_TRUE(QTest::qWaitFor([&] { return Form->View->horizontalScrollBar()->maximum() > 0; }, WAIT_MS));
  // The wheel alone scrolls, as in the graph window.
  QScrollBar* V = Form->View->verticalScrollBar();
  V->setValue(0);
  const QPoint Mid = Form->View->viewport()->mapToGlobal(Form->View->viewport()->rect().center());
  Xdotool({"mousemove", QString::number(Mid.x()), QString::number(Mid.y())});
  Xdotool({"click", "5"});
  EXPECT_TRUE(QTest::qWaitFor([&] { return V->value() > 0; }, WAIT_MS)) << "scrolled down";
  EXPECT_NEAR(Form->Zoom, Before * 1.41421356f, 1e-3) << "the wheel alone does not zoom";
}
