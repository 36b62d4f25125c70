// Test entry for the graphics tests: GoogleTest under a Qt application on
// the offscreen platform (set here too, so a test binary started by hand
// needs no display).
#include <gtest/gtest.h>

#include <cstdlib>

#ifdef NODALIS_TEST_WIDGETS
#include <QApplication>
using TestApp = QApplication;
#else
#include <QGuiApplication>
using TestApp = QGuiApplication;
#endif

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TestApp App(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
