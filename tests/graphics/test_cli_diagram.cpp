// nodalis-cli --diagram: the diagram of the printed series as a file, at the
// chosen resolution and in the format of the file-name extension; bad
// options end with a message and an exit code, never a crash.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "tests/qt_cli_run.h"

namespace {

using qt_cli_test::Cli;
using qt_cli_test::CliRun;
using qt_cli_test::Slurp;

constexpr int RUN_TIMEOUT_MS = 60000;
const char* const AUG_2017_JD = "2457987.27";  // a member of Saros 145

// An old file of 50 000 bytes in each format, the diagram written over it
// at 600 dpi with the file-size limit of ShellPrefix or on a full disk in
// Dir: exit 1, a message naming the file, the old file byte for byte and
// no temporary file left.
void ExpectOldFilesSurvive(const QString& Dir, const QString& ShellPrefix) {
  QByteArray Old(50000, '\0');
  for (int i = 0; i < Old.size(); ++i) Old[i] = char(i * 7919 % 251);
  for (const char* Name : {"old.pdf", "old.svg", "old.png", "old.bmp"}) {
    SCOPED_TRACE(Name);
    const QString F = QDir(Dir).filePath(Name);
    QFile Out(F);
    ASSERT_TRUE(Out.open(QIODevice::WriteOnly));
    ASSERT_EQ(Out.write(Old), Old.size());
    Out.close();
    const CliRun R = Cli({"--jd", AUG_2017_JD, "--diagram", F, "--dpi", "600"}, ShellPrefix);
    EXPECT_EQ(R.Code, 1) << R.Err.toStdString();
    EXPECT_TRUE(R.Err.contains("Datei " + F + " kann nicht geschrieben werden")) << R.Err.toStdString();
    EXPECT_EQ(Slurp(F), Old);
    EXPECT_EQ(QDir(Dir).entryList(QDir::Files), QStringList{Name});
    QFile::remove(F);
  }
}

}  // namespace

TEST(CliDiagram, BitmapAndVectorFiles) {
  QTemporaryDir Dir;
  const QString Png = Dir.filePath("s145.png");
  CliRun R = Cli({"--jd", AUG_2017_JD, "--diagram", Png, "--dpi", "300", "--tracks"});
  ASSERT_EQ(R.Code, 0) << R.Err.toStdString();
  QImage I(Png);
  EXPECT_EQ(I.size(), QSize(1500, 2121)) << "the 5 x 7.07 inch export page at 300 dpi";
  EXPECT_NEAR(I.dotsPerMeterX() * 0.0254, 300, 0.5);
  EXPECT_EQ(I.pixel(3, 900) & 0xFFFFFF, qRgb(60, 60, 220) & 0xFFFFFF) << "background";

  const QString Bmp = Dir.filePath("s145.bmp");
  ASSERT_EQ(Cli({"--jd", AUG_2017_JD, "--diagram", Bmp}).Code, 0);
  EXPECT_EQ(QImage(Bmp).size(), QSize(480, 679));

  for (const char* Name : {"s145.pdf", "s145.svg"}) {
    const QString F = Dir.filePath(Name);
    ASSERT_EQ(Cli({"--jd", AUG_2017_JD, "--diagram", F}).Code, 0) << Name;
    EXPECT_GT(QFileInfo(F).size(), 1000) << Name;
  }
}

TEST(CliDiagram, BadOptions) {
  // Checked with the other arguments, before anything is computed: exit 2
  // and no table on the standard output.
  QTemporaryDir Dir;
  QFile::link("/nonexistent-target", Dir.filePath("dangling"));
  const struct {
    QStringList Args;
    const char* Message;
  } Cases[] = {
      {{"--diagram", Dir.filePath("x.png"), "--dpi", "150"}, "--dpi"},
      {{"--diagram", Dir.filePath("x.gif")}, "Dateiformat"},
      {{"--diagram", Dir.filePath("noext")}, "Dateiformat"},
      {{"--diagram", "/nonexistent-dir/x.bmp"}, "Verzeichnis nicht gefunden"},
      {{"--diagram", Dir.path()}, "Dateiformat"},
      {{"--diagram", Dir.filePath("dangling/x.png")}, "Verzeichnis nicht gefunden"},
      {{"--dpi", "300"}, "nur mit --diagram"},
      {{"--tracks"}, "nur mit --diagram"},
  };
  for (const auto& C : Cases) {
    const CliRun R = Cli(QStringList{"--jd", AUG_2017_JD} + C.Args);
    EXPECT_EQ(R.Code, 2) << C.Args.join(' ').toStdString();
    EXPECT_TRUE(R.Err.contains(C.Message)) << R.Err.toStdString();
    EXPECT_TRUE(R.Out.isEmpty()) << C.Args.join(' ').toStdString();
  }
  EXPECT_FALSE(QFileInfo::exists("/nonexistent-dir/x.bmp"));
}

TEST(CliDiagram, FileNamesAreTheUsersBytes) {
  // Two names that an 8-bit conversion made "?.png" and "??.svg".
  QTemporaryDir Dir;
  const QString Names[] = {QString::fromUtf8("\xF0\x9F\x98\x80.png"),
                           QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC.svg"),
                           QString::fromUtf8("\xE5\xAF\x8C.svg")};
  for (const QString& N : Names)
    ASSERT_EQ(Cli({"--jd", AUG_2017_JD, "--diagram", Dir.filePath(N)}).Code, 0) << N.toStdString();
  QStringList Want(std::begin(Names), std::end(Names));
  Want.sort();
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files, QDir::Name), Want);
  // Bytes that are no UTF-8 cannot reach Qt's file functions unchanged:
  // refused with a message (exit 2) instead of writing another name.
  QProcess P;
  P.start("sh", {"-c", "exec \"$0\" --jd 2457987.27 --diagram \"$1\"/$(printf '\\377').png",
                 NODALIS_CLI_PATH, Dir.path()});
  ASSERT_TRUE(P.waitForFinished(RUN_TIMEOUT_MS));
  EXPECT_EQ(P.exitCode(), 2);
  EXPECT_TRUE(P.readAllStandardError().contains("UTF-8"));
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files).size(), 3);
}

TEST(CliDiagram, PdfTitleAndSvgFallbackFont) {
  QTemporaryDir Dir;
  const QString Pdf = Dir.filePath("s.pdf"), Svg = Dir.filePath("s.svg");
  ASSERT_EQ(Cli({"--jd", AUG_2017_JD, "--diagram", Svg}).Code, 0);
  const QByteArray S = Slurp(Svg);
  EXPECT_TRUE(S.contains("<title>Nodalis  145</title>"));
  EXPECT_TRUE(S.contains("font-family=\"Tahoma, sans-serif\""));
  EXPECT_FALSE(S.contains("font-family=\"Tahoma\""));
  ASSERT_EQ(Cli({"--jd", AUG_2017_JD, "--diagram", Pdf}).Code, 0);
  if (QStandardPaths::findExecutable("pdfinfo").isEmpty()) GTEST_SKIP() << "pdfinfo not installed";
  QProcess Info;
  Info.start("pdfinfo", {Pdf});
  ASSERT_TRUE(Info.waitForFinished(RUN_TIMEOUT_MS));
  const QString Text = QString::fromUtf8(Info.readAllStandardOutput());
  EXPECT_TRUE(Text.contains(QRegularExpression("Title: +Nodalis  145\n"))) << Text.toStdString();
  EXPECT_TRUE(Text.contains(QRegularExpression("Page size: +360 x 509"))) << Text.toStdString();
}

TEST(CliDiagram, FullDiskKeepsTheOldFile) {
  // The file-size limit fails writes as a full disk does, with no mount.
  QTemporaryDir Dir;
  ExpectOldFilesSurvive(Dir.path(), "trap '' XFSZ; ulimit -f 8;");
}

TEST(CliDiagram, FullTmpfsKeepsTheOldFile) {
  // A real full file system: a 64 KB tmpfs, where this test may mount one.
  QTemporaryDir Dir;
  const QString Mnt = Dir.filePath("full");
  QDir().mkpath(Mnt);
  if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", Mnt}) != 0)
    GTEST_SKIP() << "cannot mount a tmpfs here";
  struct Unmount {
    QString Path;
    ~Unmount() { QProcess::execute("umount", {Path}); }
  } Guard{Mnt};
  ExpectOldFilesSurvive(Mnt, QString());
}
