// nodalis-cli --map: the world map of the printed series as a file, at the
// chosen resolution and in the format of the file-name extension, with the
// diagram's file checks; bad options end with a message and exit code 2.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "tests/qt_cli_run.h"

namespace {

using qt_cli_test::Cli;
using qt_cli_test::CliRun;
using qt_cli_test::Slurp;

// The map's sea colour (MAP_SEA) at 40 N 40 W in the North Atlantic.
constexpr QRgb SEA = 0xCCE2F4;

}  // namespace

TEST(CliMap, BitmapAndVectorFiles) {
  QTemporaryDir Dir;
  const QString Png = Dir.filePath("m145.png");
  CliRun R = Cli({"--saros", "145", "--map", Png, "--dpi", "300"});
  ASSERT_EQ(R.Code, 0) << R.Err.toStdString();
  EXPECT_TRUE(R.Out.startsWith("Saros 145")) << "the table comes out as without --map";
  QImage I(Png);
  EXPECT_EQ(I.size(), QSize(3000, 1847)) << "the 10 x 6.16 inch map page at 300 dpi";
  EXPECT_NEAR(I.dotsPerMeterX() * 0.0254, 300, 0.5);
  // The world window -190 .. 190 by -128 .. 106 degrees on the page.
  const int x = int((-40 + 190) / 380.0 * I.width()), y = int((106 - 40) / 234.0 * I.height());
  EXPECT_EQ(I.pixel(x, y) & 0xFFFFFF, SEA);

  const QString Bmp = Dir.filePath("m145.bmp");
  ASSERT_EQ(Cli({"--saros", "145", "--map", Bmp}).Code, 0);
  EXPECT_EQ(QImage(Bmp).size(), QSize(960, 591));

  const QString Svg = Dir.filePath("m145.svg");
  ASSERT_EQ(Cli({"--saros", "145", "--map", Svg}).Code, 0);
  const QByteArray S = Slurp(Svg);
  EXPECT_TRUE(S.contains("<title>Nodalis  Karte 145</title>"));
  EXPECT_TRUE(S.contains("viewBox=\"0 0 960 591\""));
  const QString Pdf = Dir.filePath("m145.pdf");
  ASSERT_EQ(Cli({"--saros", "145", "--map", Pdf, "--delta-t", "espenak-meeus-2006"}).Code, 0);
  // Landscape: 720 x 443 points.
  EXPECT_TRUE(Slurp(Pdf).contains("MediaBox [0 0 720.000000 443.000000]"));
  // --place marks the place (Casper, Wyoming, GeoNames 42.8666 N 106.3131 W):
  // the cross's black at its pixel.
  const QString Marked = Dir.filePath("marked.png");
  ASSERT_EQ(Cli({"--saros", "145", "--place", "42.8666", "-106.3131", "--map", Marked}).Code, 0);
  const QImage K(Marked);
  const int px = int((-106.3131 + 190) / 380.0 * K.width()), py = int((106 - 42.8666) / 234.0 * K.height());
  EXPECT_EQ(K.pixel(px, py) & 0xFFFFFF, 0u);
  // Diagram and map in one run.
  const QString Diagram = Dir.filePath("d145.png"), Map = Dir.filePath("k145.png");
  ASSERT_EQ(Cli({"--saros", "145", "--diagram", Diagram, "--map", Map}).Code, 0);
  EXPECT_EQ(QImage(Diagram).size(), QSize(480, 679));
  EXPECT_EQ(QImage(Map).size(), QSize(960, 591));
}

TEST(CliMap, BadOptionsAndAnUnwritableFile) {
  QTemporaryDir Dir;
  const struct {
    QStringList Args;
    const char* Message;
  } Cases[] = {
      {{"--map", Dir.filePath("x.png"), "--dpi", "150"}, "--dpi"},
      {{"--map", Dir.filePath("x.geojson")}, "Dateiformat"},
      {{"--map", Dir.filePath("noext")}, "Dateiformat"},
      {{"--map", ""}, "Dateinamen"},
      {{"--map"}, "--map erwartet DATEI"},
      {{"--map", "/nonexistent-dir/x.png"}, "Verzeichnis nicht gefunden"},
      {{"--map", Dir.path()}, "Dateiformat"},
      {{"--catalog", "2000", "2001", "--map", Dir.filePath("x.png")}, "--catalog gilt nur"},
  };
  for (const auto& C : Cases) {
    const CliRun R = Cli(QStringList{"--saros", "145"} + C.Args);
    EXPECT_EQ(R.Code, 2) << C.Args.join(' ').toStdString();
    EXPECT_TRUE(R.Err.contains(C.Message)) << R.Err.toStdString();
    EXPECT_TRUE(R.Out.isEmpty()) << C.Args.join(' ').toStdString();
  }
  EXPECT_TRUE(QDir(Dir.path()).entryList(QDir::Files).isEmpty());
  // A file the system refuses (beyond the file-size limit): exit 1, the old
  // file kept byte for byte.
  const QString Old = Dir.filePath("old.png");
  const QByteArray Bytes(50000, 'x');
  {
    QFile F(Old);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    ASSERT_EQ(F.write(Bytes), Bytes.size());
  }
  const CliRun R = Cli({"--saros", "145", "--map", Old, "--dpi", "600"}, "trap '' XFSZ; ulimit -f 8;");
  EXPECT_EQ(R.Code, 1);
  EXPECT_TRUE(R.Err.contains("Datei " + Old + " kann nicht geschrieben werden")) << R.Err.toStdString();
  EXPECT_EQ(Slurp(Old), Bytes);
}
