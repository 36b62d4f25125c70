// The tests on a real X server (tests/app/run_under_xvfb.sh): whether one
// is there, and xdotool to send it real key and mouse events.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace x11_test {

// true on a real X display (Qt's xcb platform) with xdotool installed.
inline bool HaveXdotoolDisplay() {
  return qgetenv("QT_QPA_PLATFORM") == "xcb" && !qEnvironmentVariableIsEmpty("DISPLAY") &&
         !QStandardPaths::findExecutable("xdotool").isEmpty();
}

// xdotool with Args, waiting up to WaitMs milliseconds; a test failure when
// it does not end or ends with another exit code than 0.  Its standard
// output, trimmed.
inline QString Xdotool(const QStringList& Args, int WaitMs) {
  QProcess P;
  P.start(QStringLiteral("xdotool"), Args);
  EXPECT_TRUE(P.waitForFinished(WaitMs)) << Args.join(' ').toStdString();
  EXPECT_EQ(P.exitCode(), 0) << Args.join(' ').toStdString() << ": "
                             << P.readAllStandardError().toStdString();
  return QString::fromUtf8(P.readAllStandardOutput()).trimmed();
}

}  // namespace x11_test
