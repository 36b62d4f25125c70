// Two real starts of the program (offscreen): a second start with a Julian
// date hands it to the first and ends; one without a number opens its own
// window. The program's trace (NODALIS_TRACE) tells what the first shows.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtEndian>
#include <memory>
#include <unistd.h>

#include "app/gui/OneInstance.h"

namespace {

// A second start must be over within 2 s.
constexpr qint64 SECOND_START_LIMIT_MS = 2000;
constexpr int PROCESS_WAIT_MS = 30000;  // generous for a loaded machine
constexpr int SETTLE_MS = 1500;         // a late command would show within this

class NodalisInstances : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert("QT_QPA_PLATFORM", "offscreen");
    env_.insert("NODALIS_TRACE", "1");
    tag_ = QStringLiteral("nodalis-test-%1-%2")
               .arg(::getpid())
               .arg(::testing::UnitTest::GetInstance()->current_test_info()->name());
    env_.insert("NODALIS_INSTANCE_TAG", tag_);
    env_.insert("XDG_CONFIG_HOME", dir_.path() + "/config");
    env_.insert("XDG_DATA_HOME", dir_.path() + "/data");
  }
  void TearDown() override {
    for (auto& p : procs_)
      if (p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(PROCESS_WAIT_MS);
      }
  }
  QProcess* Start(const QStringList& args) {
    procs_.push_back(std::make_unique<QProcess>());
    QProcess* p = procs_.back().get();
    p->setProcessEnvironment(env_);
    p->setWorkingDirectory(dir_.path());
    p->start(QStringLiteral(NODALIS_PROGRAM_PATH), args);
    EXPECT_TRUE(p->waitForStarted(PROCESS_WAIT_MS));
    return p;
  }
  // Waits for a trace line on the standard error containing text.
  static bool WaitTrace(QProcess* p, const QString& text, QString* seen) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < PROCESS_WAIT_MS) {
      *seen += QString::fromLocal8Bit(p->readAllStandardError());
      if (seen->contains(text)) return true;
      if (p->state() == QProcess::NotRunning) return false;
      p->waitForReadyRead(100);
    }
    return false;
  }

  QTemporaryDir dir_;
  QString tag_;
  QProcessEnvironment env_;
  std::vector<std::unique_ptr<QProcess>> procs_;
};

}  // namespace

TEST_F(NodalisInstances, SecondStartWithJulianDateHandsOverAndEnds) {
  QProcess* first = Start({});
  QString firstLog;
  ASSERT_TRUE(WaitTrace(first, "nodalis-trace: shown", &firstLog)) << firstLog.toStdString();

  QElapsedTimer clock;
  clock.start();
  QProcess* second = Start({"2451735.0"});  // 2000 July 1 12h, Saros 117
  ASSERT_TRUE(second->waitForFinished(PROCESS_WAIT_MS));
  const qint64 ms = clock.elapsed();
  EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_LT(ms, SECOND_START_LIMIT_MS) << "second start took " << ms << " ms";
  EXPECT_TRUE(QString::fromLocal8Bit(second->readAllStandardError()).contains("handed over"));

  EXPECT_TRUE(WaitTrace(first, "saros=117 reference=2451735.000000", &firstLog))
      << "the first instance shows the handed-over date's series:\n" << firstLog.toStdString();
}

TEST_F(NodalisInstances, SecondStartWithoutNumberOpensItsOwnWindow) {
  QProcess* first = Start({});
  QString firstLog, secondLog;
  ASSERT_TRUE(WaitTrace(first, "nodalis-trace: shown", &firstLog)) << firstLog.toStdString();
  QProcess* second = Start({"--kein-datum"});
  EXPECT_TRUE(WaitTrace(second, "nodalis-trace: shown", &secondLog)) << secondLog.toStdString();
  EXPECT_EQ(second->state(), QProcess::Running);
  EXPECT_FALSE(firstLog.contains("command")) << "the first instance computed nothing";
}

// A burst of second starts, each confirmed "taken over" (so each sender
// ends): the window must end on the newest date. Sent as the second starts
// send them, over 50 connections at once, while the first instance is busy
// building the series of the earlier ones.
TEST_F(NodalisInstances, BurstOfHandOversEndsOnTheNewestDate) {
  constexpr int BURST = 50;
  constexpr double FIRST_JD = 2451735.0;  // 2000 July 1 12h
  constexpr double STEP_DAYS = 177.0;     // another eclipse season each
  QProcess* first = Start({});
  QString log;
  ASSERT_TRUE(WaitTrace(first, "nodalis-trace: shown", &log)) << log.toStdString();

  // The first instance's socket, as a second start finds it.
  qputenv("NODALIS_INSTANCE_TAG", tag_.toUtf8());
  const QString program = QFileInfo(QStringLiteral(NODALIS_PROGRAM_PATH)).canonicalFilePath();
  const QString server = nodalis::OneInstanceServerName(program);
  qunsetenv("NODALIS_INSTANCE_TAG");

  std::vector<std::unique_ptr<QLocalSocket>> senders;
  for (int i = 0; i < BURST; ++i) {
    const QByteArray text = nodalis::OneInstanceCommandLine(
        {program, QString::number(FIRST_JD + i * STEP_DAYS, 'f', 1)});
    QByteArray msg(8, '\0');
    qToLittleEndian<quint32>(quint32(::getpid()), reinterpret_cast<uchar*>(msg.data()));
    qToLittleEndian<quint32>(quint32(text.size()), reinterpret_cast<uchar*>(msg.data()) + 4);
    senders.push_back(std::make_unique<QLocalSocket>());
    senders.back()->connectToServer(server);
    ASSERT_TRUE(senders.back()->waitForConnected(PROCESS_WAIT_MS)) << i;
    senders.back()->write(msg + text);
    senders.back()->flush();
  }
  int takenOver = 0;
  for (auto& s : senders) {
    QElapsedTimer t;
    t.start();
    while (s->bytesAvailable() < 4 && t.elapsed() < PROCESS_WAIT_MS) s->waitForReadyRead(100);
    const QByteArray reply = s->read(4);
    if (reply.size() == 4 &&
        qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(reply.constData())) ==
            nodalis::ONEINST_TAKEN_OVER)
      ++takenOver;
  }
  EXPECT_EQ(takenOver, BURST) << "every sender is told to end";

  const QString newest = QStringLiteral("reference=%1").arg(FIRST_JD + (BURST - 1) * STEP_DAYS, 0, 'f', 6);
  ASSERT_TRUE(WaitTrace(first, newest, &log)) << "the newest date is shown:\n" << log.toStdString();
  // Nothing older comes after it.
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < SETTLE_MS) {
    first->waitForReadyRead(100);
    log += QString::fromLocal8Bit(first->readAllStandardError());
  }
  const qsizetype last = log.lastIndexOf("reference=");
  EXPECT_EQ(log.mid(last, newest.size()), newest) << log.toStdString();
  // Every hand-over confirmed was accepted, in the order sent, the newest last.
  EXPECT_EQ(log.count("nodalis-trace: received "), BURST) << log.toStdString();
  const QString newestJD = newest.mid(QStringLiteral("reference=").size());
  const qsizetype received = log.lastIndexOf("nodalis-trace: received ");
  EXPECT_EQ(log.mid(received + QStringLiteral("nodalis-trace: received ").size(), newestJD.size()).toStdString(),
            newestJD.toStdString());
  EXPECT_EQ(first->state(), QProcess::Running);
}

// Without a display the program says so in German and points to
// nodalis-cli, with exit code 1: before Qt starts when no display is named,
// and when the named one cannot be opened (Qt would abort).
TEST_F(NodalisInstances, WithoutADisplayItSaysSoAndEndsWithExitCode1) {
  struct Case {
    const char* display;  // nullptr: unset
    const char* expected;
  } cases[] = {{nullptr, "Keine grafische Anzeige gefunden"},
               {":" "4711", "Die grafische Anzeige kann nicht ge\xC3\xB6" "ffnet werden"}};
  for (const Case& c : cases) {
    env_.remove("QT_QPA_PLATFORM");
    env_.remove("WAYLAND_DISPLAY");
    if (c.display)
      env_.insert("DISPLAY", c.display);
    else
      env_.remove("DISPLAY");
    QProcess* p = Start({"2451735.0"});
    ASSERT_TRUE(p->waitForFinished(PROCESS_WAIT_MS));
    const QString err = QString::fromUtf8(p->readAllStandardError());
    EXPECT_EQ(p->exitStatus(), QProcess::NormalExit) << err.toStdString();
    EXPECT_EQ(p->exitCode(), 1) << err.toStdString();
    EXPECT_TRUE(err.contains(QString::fromUtf8(c.expected))) << err.toStdString();
    EXPECT_TRUE(err.contains("nodalis-cli --saros")) << err.toStdString();
  }
}
