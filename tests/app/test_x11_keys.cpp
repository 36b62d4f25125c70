// The windows on a real X server, driven by real key events (xdotool), as a
// user meets them: the captions the window system shows, Escape in the graph
// window after a menu was closed with Escape, and the keypad's divide and
// Enter keys. Run by run_under_xvfb.sh; skipped without an X display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QAction>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "app/gui/AppSetup.h"
#include "dialogs/DateFormU.h"
#include "app/gui/NodalisU.h"
#include "app/core/SeriesState.h"
#include "graphics/windows/GrafikForm.h"
#include "tests/x11_xdotool.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

using namespace nodalis;

namespace {

constexpr int WAIT_MS = 20000;  // a series build on a loaded machine
constexpr float ZOOM_TOL = 1e-4f;

// xdotool with the arguments; its standard output, trimmed.
QString Xdotool(const QStringList& Args) { return x11_test::Xdotool(Args, WAIT_MS); }

// The caption the window system shows for a window.
QString ShownCaption(QWidget* W) { return Xdotool({"getwindowname", QString::number(W->winId())}); }

// Gives W the keyboard and waits until Qt knows.
bool Focus(QWidget* W) {
  W->raise();
  W->activateWindow();
  return QTest::qWaitForWindowActive(W, WAIT_MS);
}

void Key(const char* Name) { Xdotool({"key", "--delay", "50", Name}); }

class X11Keys : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!x11_test::HaveXdotoolDisplay())
      GTEST_SKIP() << "needs an X display and xdotool (run_under_xvfb.sh)";
    // As the program does at start (the German catalogue once per process).
    static const bool Ready = (SetUpApplication(*qApp), true);
    (void)Ready;
    InstallGuiHooks();
    ASSERT_TRUE(Home.isValid());
    old_cwd_ = std::filesystem::current_path();
    std::filesystem::current_path(Home.path().toStdString());
    qputenv("XDG_DATA_HOME", (Home.path() + "/data").toUtf8());
    qputenv("XDG_CONFIG_HOME", (Home.path() + "/config").toUtf8());
    SeriesList.clear();
    // The main window showing Saros 117 (2000 July 1) and its graph window.
    Form = new TForm1({"2451735.0"});
    Date = new TDateForm(Form);
    Form->DateForm = Date;
    Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->GraphForm && Form->GraphForm->isVisible() &&
                                             !Form->Busy(); }, WAIT_MS));
    Graph = Form->GraphForm;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Graph));
  }
  void TearDown() override {
    delete Form;
    if (!old_cwd_.empty()) std::filesystem::current_path(old_cwd_);
  }

  QTemporaryDir Home;
  std::filesystem::path old_cwd_;
  TForm1* Form = nullptr;
  TDateForm* Date = nullptr;
  TGraphForm* Graph = nullptr;
};

}  // namespace

// Captions are the windows' own, with nothing appended.
TEST_F(X11Keys, CaptionsAreExactlyTheWindowsOwn) {
  EXPECT_EQ(ShownCaption(Form), "Nodalis");
  EXPECT_EQ(ShownCaption(Graph), "Nodalis  117");
  Date->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Date));
  EXPECT_EQ(ShownCaption(Date), QString::fromUtf8("Datum und Uhrzeit wählen"));
  Date->hide();
}

// Alt+S opens "Speichern", Escape closes that menu, Escape hides the window.
TEST_F(X11Keys, EscapeAfterAMenuClosedWithEscapeHidesTheGraphWindow) {
  ASSERT_TRUE(Focus(Graph));
  Key("alt+s");
  ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, WAIT_MS))
      << "the menu opens";
  Key("Escape");
  ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }, WAIT_MS));
  QTest::qWait(100);
  EXPECT_TRUE(Graph->isVisible()) << "the first Escape closes the menu only";
  Key("Escape");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Graph->isVisible(); }, WAIT_MS));
}

// The keypad's divide key zooms out by sqrt(2), its Enter gives 100 %.
TEST_F(X11Keys, KeypadDivideAndEnterZoom) {
  ASSERT_TRUE(Focus(Graph));
  Graph->findChild<QAction*>("N2001")->trigger();
  Key("KP_Divide");
  EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(Graph->Zoom - 1.41421356f) < ZOOM_TOL; }, WAIT_MS))
      << "zoom " << Graph->Zoom;
  Key("KP_Enter");
  EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(Graph->Zoom - 1.0f) < ZOOM_TOL; }, WAIT_MS))
      << "zoom " << Graph->Zoom;
  Key("minus");
  EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(Graph->Zoom - 0.70710678f) < ZOOM_TOL; }, WAIT_MS))
      << "zoom " << Graph->Zoom;
}
