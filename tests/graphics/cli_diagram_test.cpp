// nodalis-cli --diagram: the diagram of the printed series as a file, at the
// chosen resolution and in the format of the file-name extension; bad
// options end with a message and an exit code, never a crash.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace {

constexpr int RUN_TIMEOUT_MS = 60000;
const char* const AUG_2017_JD = "2457987.27";  // a member of Saros 145

struct CliRun {
  int Code = -1;
  QString Err;
};

CliRun Cli(const QStringList& Args) {
  QProcess P;
  P.start(NODALIS_CLI_PATH, Args);
  CliRun R;
  if (!P.waitForFinished(RUN_TIMEOUT_MS)) {
    P.kill();
    P.waitForFinished();
    return R;
  }
  R.Code = P.exitStatus() == QProcess::NormalExit ? P.exitCode() : -2;
  R.Err = QString::fromUtf8(P.readAllStandardError());
  return R;
}

}  // namespace

TEST(CliDiagram, BitmapAndVectorFiles) {
  QTemporaryDir Dir;
  const QString Png = Dir.filePath("s145.png");
  CliRun R = Cli({"--jd", AUG_2017_JD, "--diagram", Png, "--dpi", "300", "--tracks"});
  ASSERT_EQ(R.Code, 0) << R.Err.toStdString();
  QImage I(Png);
  EXPECT_EQ(I.size(), QSize(1250, 1766)) << "400 x 565 px at 96 dpi scaled to 300 dpi";
  EXPECT_NEAR(I.dotsPerMeterX() * 0.0254, 300, 0.5);
  EXPECT_EQ(I.pixel(3, 900) & 0xFFFFFF, qRgb(60, 60, 220) & 0xFFFFFF) << "background";

  const QString Bmp = Dir.filePath("s145.bmp");
  ASSERT_EQ(Cli({"--jd", AUG_2017_JD, "--diagram", Bmp}).Code, 0);
  EXPECT_EQ(QImage(Bmp).size(), QSize(400, 565));

  for (const char* Name : {"s145.pdf", "s145.svg"}) {
    const QString F = Dir.filePath(Name);
    ASSERT_EQ(Cli({"--jd", AUG_2017_JD, "--diagram", F}).Code, 0) << Name;
    EXPECT_GT(QFileInfo(F).size(), 1000) << Name;
  }
}

TEST(CliDiagram, BadOptions) {
  QTemporaryDir Dir;
  CliRun R = Cli({"--jd", AUG_2017_JD, "--diagram", Dir.filePath("x.png"), "--dpi", "150"});
  EXPECT_EQ(R.Code, 2) << "unsupported resolution is a usage error";
  EXPECT_TRUE(R.Err.contains("--dpi")) << R.Err.toStdString();
  R = Cli({"--jd", AUG_2017_JD, "--diagram", Dir.filePath("x.gif")});
  EXPECT_EQ(R.Code, 1);
  EXPECT_TRUE(R.Err.contains("Dateiformat")) << R.Err.toStdString();
  R = Cli({"--jd", AUG_2017_JD, "--diagram", "/nonexistent-dir/x.bmp"});
  EXPECT_EQ(R.Code, 1);
  EXPECT_FALSE(QFileInfo::exists("/nonexistent-dir/x.bmp"));
}
