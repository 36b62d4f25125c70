// Two real starts of the program (offscreen): a second start with a Julian
// date hands it to the first and ends; one without a number opens its own
// window. The program's trace (NODALIS_TRACE) tells what the first shows.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <memory>
#include <unistd.h>

namespace {

// A second start must be over within 2 s.
constexpr qint64 SECOND_START_LIMIT_MS = 2000;
constexpr int PROCESS_WAIT_MS = 30000;  // generous for a loaded machine

class NodalisInstances : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert("QT_QPA_PLATFORM", "offscreen");
    env_.insert("NODALIS_TRACE", "1");
    env_.insert("NODALIS_INSTANCE_TAG", QStringLiteral("nodalis-test-%1-%2")
                                            .arg(::getpid())
                                            .arg(::testing::UnitTest::GetInstance()->current_test_info()->name()));
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
