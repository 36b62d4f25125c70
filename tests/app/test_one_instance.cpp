// Single instance with two real processes (the probe program around
// OneInstance): hand-over with and without take-over, hostile messages on the
// socket, and a socket left behind by a crashed first instance.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QtEndian>
#include <memory>
#include <unistd.h>

#include "app/gui/OneInstance.h"

using namespace nodalis;

namespace {

// A second start must be over well within the 2 s a user waits at most.
constexpr qint64 SECOND_START_LIMIT_MS = 2000;
constexpr int PROCESS_WAIT_MS = 10000;  // generous limit for a loaded machine

class OneInstanceProcesses : public ::testing::Test {
 protected:
  void SetUp() override {
    // Keeps parallel test runs apart: the tag is part of the socket name.
    tag_ = QStringLiteral("test-%1-%2")
               .arg(::getpid())
               .arg(::testing::UnitTest::GetInstance()->current_test_info()->name());
    qputenv("NODALIS_INSTANCE_TAG", tag_.toUtf8());
  }
  void TearDown() override {
    for (auto& p : procs_) {
      if (p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(PROCESS_WAIT_MS);
      }
    }
  }

  QProcess* Start(const QStringList& args) {
    procs_.push_back(std::make_unique<QProcess>());
    QProcess* p = procs_.back().get();
    p->setProcessChannelMode(QProcess::SeparateChannels);
    p->start(QStringLiteral(ONEINST_PROBE_PATH), args);
    EXPECT_TRUE(p->waitForStarted(PROCESS_WAIT_MS));
    return p;
  }

  // Reads stdout until a line starting with prefix appears; returns it.
  static QString WaitLine(QProcess* p, const QString& prefix, QString* all = nullptr) {
    QString seen;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < PROCESS_WAIT_MS) {
      while (p->canReadLine()) {
        QString line = QString::fromLocal8Bit(p->readLine()).trimmed();
        seen += line + "\n";
        if (line.startsWith(prefix)) {
          if (all) *all = seen;
          return line;
        }
      }
      if (p->state() == QProcess::NotRunning && !p->canReadLine()) break;
      p->waitForReadyRead(100);
    }
    if (all) *all = seen;
    return QString();
  }

  QProcess* StartFirst() {
    QProcess* first = Start({});
    EXPECT_EQ(WaitLine(first, "READY"), "READY listening");
    return first;
  }

  QString ServerName() const { return OneInstanceServerName(QStringLiteral(ONEINST_PROBE_PATH)); }

  QString tag_;
  std::vector<std::unique_ptr<QProcess>> procs_;
};

}  // namespace

TEST_F(OneInstanceProcesses, SecondStartHandsOverAndEnds) {
  QProcess* first = StartFirst();

  QElapsedTimer clock;
  clock.start();
  QProcess* second = Start({"take", "2451545.5"});
  ASSERT_TRUE(second->waitForFinished(PROCESS_WAIT_MS));
  qint64 ms = clock.elapsed();
  EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_LT(ms, SECOND_START_LIMIT_MS) << "second start took " << ms << " ms";
  EXPECT_EQ(QString::fromLocal8Bit(second->readAllStandardOutput()).trimmed(), "ENDED");

  // The first one got the raw command line: quoted program path, arguments.
  QString got = WaitLine(first, "GOT:");
  QString want = QStringLiteral("GOT:\"%1\" take 2451545.5").arg(QStringLiteral(ONEINST_PROBE_PATH));
  EXPECT_EQ(got, want);
  EXPECT_EQ(first->state(), QProcess::Running);
}

TEST_F(OneInstanceProcesses, SecondStartNotTakenOverGoesOn) {
  QProcess* first = StartFirst();
  QProcess* second = Start({"plain start"});
  // The second runs on as an instance of its own (it cannot listen itself).
  EXPECT_EQ(WaitLine(second, "READY"), "READY alone");
  EXPECT_EQ(second->state(), QProcess::Running);
  EXPECT_TRUE(WaitLine(first, "GOT:").endsWith("\"plain start\""));
}

TEST_F(OneInstanceProcesses, HostileMessagesAreIgnored) {
  QProcess* first = StartFirst();
  auto send = [&](const QByteArray& bytes, bool expectReply) {
    QLocalSocket s;
    s.connectToServer(ServerName());
    ASSERT_TRUE(s.waitForConnected(PROCESS_WAIT_MS));
    s.write(bytes);
    s.waitForBytesWritten(PROCESS_WAIT_MS);
    // The first instance either answers or drops the connection; it never
    // hangs the sender beyond its time-out.
    QElapsedTimer t;
    t.start();
    QByteArray reply;
    while (t.elapsed() < ONEINST_TIMEOUT_MS + 1000 && s.state() == QLocalSocket::ConnectedState) {
      if (s.waitForReadyRead(100)) reply += s.readAll();
    }
    reply += s.readAll();
    EXPECT_EQ(reply.size(), expectReply ? 4 : 0) << "bytes " << bytes.toHex().left(40).constData();
  };
  auto header = [](quint32 pid, quint32 len) {
    QByteArray h(8, '\0');
    qToLittleEndian<quint32>(pid, reinterpret_cast<uchar*>(h.data()));
    qToLittleEndian<quint32>(len, reinterpret_cast<uchar*>(h.data()) + 4);
    return h;
  };
  // The text's length limit exactly: limit - 1 and limit reach the
  // callback and get a reply, limit + 1 is dropped (also with its bytes).
  constexpr quint32 LIMIT = ONEINST_MAX_TEXT_BYTES;
  struct { QByteArray bytes; bool accepted; const char* what; } cases[] = {
      {QByteArray("\xff\x01\x02", 3), false, "short, then silence"},
      {header(1, 0xFFFFFFFFu), false, "absurd length"},
      {header(1, LIMIT + 1) + QByteArray(LIMIT + 1, 'x'), false, "limit + 1"},
      {header(1, LIMIT + 1) + QByteArray(64, 'x'), false, "limit + 1, short"},
      {header(1, 4) + QByteArray("take and more"), false, "trailing garbage"},
      {header(1, LIMIT - 1) + QByteArray(LIMIT - 1, 'y'), true, "limit - 1"},
      {header(1, LIMIT) + QByteArray(LIMIT, 'z'), true, "limit"},
  };
  int accepted = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    send(c.bytes, c.accepted);
    accepted += c.accepted;
  }

  // Only the accepted ones reached the callback, each whole, and the
  // instance still works.
  EXPECT_EQ(first->state(), QProcess::Running);
  QProcess* second = Start({"take"});
  ASSERT_TRUE(second->waitForFinished(PROCESS_WAIT_MS));
  EXPECT_EQ(second->exitCode(), 0);
  QString all;
  QString got = WaitLine(first, "GOT:\"", &all);
  EXPECT_TRUE(got.endsWith(" take")) << all.left(200).toStdString();
  EXPECT_EQ(all.count("GOT:"), accepted + 1);
  EXPECT_TRUE(all.contains(QStringLiteral("GOT:%1 bytes y...y\n").arg(LIMIT - 1))) << all.toStdString();
  EXPECT_TRUE(all.contains(QStringLiteral("GOT:%1 bytes z...z\n").arg(LIMIT))) << all.toStdString();
}

TEST_F(OneInstanceProcesses, StaleSocketOfCrashedInstanceIsCleanedUp) {
  QProcess* crashed = StartFirst();
  crashed->kill();  // SIGKILL: the socket file stays behind
  ASSERT_TRUE(crashed->waitForFinished(PROCESS_WAIT_MS));

  QProcess* next = Start({"2451545.5"});
  EXPECT_EQ(WaitLine(next, "READY"), "READY listening") << "the new start must take the place over";
  QProcess* third = Start({"take"});
  ASSERT_TRUE(third->waitForFinished(PROCESS_WAIT_MS));
  EXPECT_EQ(third->exitCode(), 0);
  EXPECT_TRUE(WaitLine(next, "GOT:").endsWith(" take"));
}

TEST(OneInstanceCommandLine, QuotesProgramPathAndArgumentsWithBlanks) {
  EXPECT_EQ(OneInstanceCommandLine({"/opt/n/nodalis", "2451545.5"}), "\"/opt/n/nodalis\" 2451545.5");
  EXPECT_EQ(OneInstanceCommandLine({"/p", "a b", ""}), "\"/p\" \"a b\" \"\"");
}
