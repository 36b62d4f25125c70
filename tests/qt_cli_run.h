// Runs nodalis-cli (NODALIS_CLI_PATH) through QProcess for the tests that
// read the files it writes: exit code and standard error; optionally
// under a shell prefix (e.g. "ulimit -f 8;" for a disk that fills up).
#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace qt_cli_test {

constexpr int CLI_TIMEOUT_MS = 120000;

struct CliRun {
  int Code = -1;  // -1 did not finish in time, -2 crashed
  QString Err;
  QByteArray Out;
};

inline CliRun Cli(const QStringList& Args, const QString& ShellPrefix = QString()) {
  QProcess P;
  if (ShellPrefix.isEmpty())
    P.start(NODALIS_CLI_PATH, Args);
  else
    P.start("sh", QStringList{"-c", ShellPrefix + " exec \"$0\" \"$@\"", NODALIS_CLI_PATH} + Args);
  CliRun R;
  if (!P.waitForFinished(CLI_TIMEOUT_MS)) {
    P.kill();
    P.waitForFinished();
    return R;
  }
  R.Code = P.exitStatus() == QProcess::NormalExit ? P.exitCode() : -2;
  R.Err = QString::fromUtf8(P.readAllStandardError());
  R.Out = P.readAllStandardOutput();
  return R;
}

// A file's bytes (empty when it cannot be read).
inline QByteArray Slurp(const QString& F) {
  QFile In(F);
  return In.open(QIODevice::ReadOnly) ? In.readAll() : QByteArray();
}

}  // namespace qt_cli_test
