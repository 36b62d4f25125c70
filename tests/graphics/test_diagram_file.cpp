// Diagram files: the export page holds the longest title, a failed write
// (a full disk) keeps the old file byte for byte, SVG fonts carry a generic
// fallback family.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <functional>

#include "app/core/SeriesState.h"
#include "graphics/draw/DiagramFile.h"
#include "graphics/draw/SeriesDiagram.h"

using namespace nodalis;

namespace {

// The widest title of all 180 series, computed and from the NASA canon, in
// the fallback font at the title's 4.5 mm: 115.3 mm at 600 dpi (measured
// with the drawing layer; Saros 1..180 through nodalis-cli).
const char* const WIDEST_TITLE = "Saros 100 (100. Saros, \xC4ra M)  71 Neumonde,  1262.1 Jahre";

// A save file on a disk that fills up after Room bytes: the write that
// crosses the limit comes back short without an error (as Qt reports a
// full disk within one write), every later one fails.
class FullDiskFile : public QSaveFile {
 public:
  FullDiskFile(const QString& Name, qint64 Room) : QSaveFile(Name), Room_(Room) {}

 protected:
  qint64 writeData(const char* Data, qint64 Size) override {
    if (Room_ <= 0) return -1;
    const qint64 N = QSaveFile::writeData(Data, std::min(Size, Room_));
    if (N > 0) Room_ -= N;
    return N;
  }

 private:
  qint64 Room_;
};

QByteArray Slurp(const QString& F) {
  QFile In(F);
  return In.open(QIODevice::ReadOnly) ? In.readAll() : QByteArray();
}

void Spit(const QString& F, const QByteArray& Data) {
  QFile Out(F);
  ASSERT_TRUE(Out.open(QIODevice::WriteOnly));
  Out.write(Data);
}

bool Export(const QString& F, int Dpi, QString* Err) {
  return WriteDiagramFile(&DrawSeriesDiagram, -DIAGRAM_HALF_WIDTH, -DIAGRAM_HALF_HEIGHT,
                          DIAGRAM_HALF_WIDTH, DIAGRAM_HALF_HEIGHT, F, Dpi, Err);
}

class DiagramFile : public ::testing::Test {
 protected:
  void SetUp() override {
    SeriesList.clear();
    TitleCaption = WIDEST_TITLE;
  }
  void TearDown() override {
    SaveFileHook = nullptr;
    TitleCaption.clear();
  }
};

}  // namespace

TEST_F(DiagramFile, ExportPageHoldsTheLongestTitle) {
  // The title is black on the blue background in the top rows; its ink
  // must keep a margin to both page edges at every resolution.
  QTemporaryDir Dir;
  for (int Dpi : {96, 300, 600}) {
    SCOPED_TRACE(Dpi);
    const QString F = Dir.filePath(QStringLiteral("title%1.png").arg(Dpi));
    QString Err;
    ASSERT_TRUE(Export(F, Dpi, &Err)) << Err.toStdString();
    const QImage I = QImage(F).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(I.size(), ExportPagePixels(Dpi));
    const int Band = int(Dpi * 6.0 / 25.4);  // 6 mm: the title row
    int Left = I.width(), Right = -1;
    for (int Y = 0; Y < Band; ++Y)
      for (int X = 0; X < I.width(); ++X)
        if (qBlue(I.pixel(X, Y)) < 110) {  // text, not the blue (220) background
          Left = std::min(Left, X);
          Right = std::max(Right, X);
        }
    ASSERT_GE(Right, 0) << "no title drawn";
    const int MarginPx = int(Dpi * 2.0 / 25.4);  // at least 2 mm each side
    EXPECT_GE(Left, MarginPx) << "title cut at the left: ink from x = " << Left;
    EXPECT_LE(Right, I.width() - 1 - MarginPx) << "title cut at the right: ink to x = " << Right;
  }
  EXPECT_EQ(ExportPagePixels(96), QSize(480, 679));
  EXPECT_EQ(ExportPagePixels(600), QSize(3000, 4243));
}

TEST_F(DiagramFile, FailedWriteKeepsTheOldFile) {
  QTemporaryDir Dir;
  QByteArray Old(30000, '\0');
  for (int i = 0; i < Old.size(); ++i) Old[i] = char(i * 7919 % 251);
  for (const char* Name : {"old.bmp", "old.png", "old.pdf", "old.svg"}) {
    SCOPED_TRACE(Name);
    const QString F = Dir.filePath(Name);
    Spit(F, Old);
    SaveFileHook = [](const QString& N) { return std::make_unique<FullDiskFile>(N, 4096); };
    QString Err;
    EXPECT_FALSE(Export(F, 96, &Err));
    EXPECT_TRUE(Err.startsWith("Datei " + F + " kann nicht geschrieben werden")) << Err.toStdString();
    EXPECT_EQ(Slurp(F), Old) << "the old file byte for byte";
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{Name}) << "no temporary file";
    // With room on the disk the same call replaces the file.
    SaveFileHook = nullptr;
    EXPECT_TRUE(Export(F, 96, &Err)) << Err.toStdString();
    EXPECT_NE(Slurp(F), Old);
    QFile::remove(F);
  }
  // A save file that cannot even be created.
  EXPECT_FALSE(Export(Dir.filePath("no/such/dir.png"), 96, nullptr));
}

TEST_F(DiagramFile, SvgFontsHaveAGenericFamily) {
  QTemporaryDir Dir;
  const QString F = Dir.filePath("d.svg");
  QString Err;
  ASSERT_TRUE(WriteDiagramFile(&DrawSeriesDiagram, -DIAGRAM_HALF_WIDTH, -DIAGRAM_HALF_HEIGHT,
                               DIAGRAM_HALF_WIDTH, DIAGRAM_HALF_HEIGHT, F, 96, &Err,
                               QStringLiteral("Nodalis  145")))
      << Err.toStdString();
  const QString Svg = QString::fromUtf8(Slurp(F));
  EXPECT_TRUE(Svg.contains("<title>Nodalis  145</title>"));
  int Families = 0;
  QRegularExpression Re(QStringLiteral("font-family=\"([^\"]*)\""));
  for (auto M = Re.globalMatch(Svg); M.hasNext(); ++Families) {
    const QString Family = M.next().captured(1);
    EXPECT_TRUE(Family.endsWith(", sans-serif")) << Family.toStdString();
  }
  EXPECT_GT(Families, 0);
  EXPECT_TRUE(Svg.contains("font-family=\"Tahoma, sans-serif\""));
}
