// Entry of every Qt test program: one Qt application object for the whole
// run, then GoogleTest. The object's kind comes from the build
// (NODALIS_TEST_QT_WIDGETS: QApplication, NODALIS_TEST_QT_GUI:
// QGuiApplication, NODALIS_TEST_QT_CORE: QCoreApplication); tests reach it
// through qApp. The platform is offscreen unless the environment names one
// (the X11 key test runs under xcb), so a test started by hand needs no
// display.
#include <gtest/gtest.h>

#include <cstdlib>

#if defined(NODALIS_TEST_QT_WIDGETS)
#include <QApplication>
using TestApp = QApplication;
#elif defined(NODALIS_TEST_QT_GUI)
#include <QGuiApplication>
using TestApp = QGuiApplication;
#else
#include <QCoreApplication>
using TestApp = QCoreApplication;
#endif

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TestApp App(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
