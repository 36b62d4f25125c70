// Tests of the drawing layer tGDIext: millimetre conversions per device
// resolution, the world window, round-half-even pixel mapping, circles on
// proportional and stretched areas, crosses, text cells and printer pages.
#include <gtest/gtest.h>

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <cmath>

#include "graphics/draw/GDIext.h"
#include "tests/graphics/recording_canvas.h"

using namespace nodalis;
using nodalis::test::DrawOp;
using nodalis::test::MakeImage;
using nodalis::test::RecordingCanvas;

namespace {

// A graph window stand-in for kind-0 layers.
struct FakeWindow : tGraphOwner {
  QImage Image;
  RecordingCanvas Canvas;
  float Zoom = 1.0f;
  DrawProc Stored = nullptr;
  FakeWindow(int W, int H) : Image(MakeImage(W, H, 96)), Canvas(&Image) {}
  tCanvas* GraphCanvas() override { return &Canvas; }
  float GraphZoom() const override { return Zoom; }
  void StoreDrawProc(DrawProc P) override { Stored = P; }
  void Resize(int W, int H) {
    Canvas.End();
    Image = MakeImage(W, H, 96);
    Canvas.SetDevice(&Image);
  }
};

void NoDraw(tGDIext&) {}

QRgb Px(const QImage& I, int X, int Y) { return I.pixel(X, Y) & 0xFFFFFF; }

}  // namespace

// Pen widths and font cells in device pixels at screen and 600 dpi.
TEST(GDIextUnits, PenAndFontPerResolution) {
  struct Case {
    std::uint8_t Kind;
    int ImageDpi;
    int WantPen;       // px for 0.1 mm (0 = thinnest line)
    int WantCell45;    // px for 4.5 mm
    int WantCell30;    // px for 3 mm
  } Cases[] = {
      {GDI_BITMAP_SCREEN, 96, 0, 17, 11},
      {GDI_BITMAP_600, 96, 2, 106, 71},
  };
  // The font really produced may differ by one pixel from the wanted cell
  // (whole-pixel font sizes).
  constexpr int CELL_TOL_PX = 1;
  for (const auto& C : Cases) {
    QImage Img = MakeImage(200, 300, C.ImageDpi);
    tCanvas Canvas(&Img);
    tGDIext G(C.Kind, Canvas);
    G.Prepare();
    SCOPED_TRACE(testing::Message() << "kind " << int(C.Kind));
    EXPECT_EQ(Canvas.PenWidth, C.WantPen) << "pen 0.1 mm";
    EXPECT_EQ(G.MMToPxY(4.5f), C.WantCell45) << "4.5 mm";
    EXPECT_EQ(G.MMToPxY(3.0f), C.WantCell30) << "3 mm";
    EXPECT_NEAR(Canvas.FontHeight(), C.WantCell45, CELL_TOL_PX) << "font after Prepare";
    const int Got3 = G.SetFontHeight(G.MMToPxY(3.0f));
    EXPECT_NEAR(Got3, C.WantCell30, CELL_TOL_PX) << "font reported back";
  }
}

TEST(GDIextUnits, ScreenZoomScalesResolution) {
  FakeWindow W(400, 565);
  tGDIext G(&NoDraw, W);
  EXPECT_EQ(W.Stored, &NoDraw) << "constructor stores the drawing procedure";
  W.Zoom = 2.0f;
  G.Prepare();
  EXPECT_EQ(G.DpiX, 192);
  EXPECT_EQ(G.DpiY, 192);
  EXPECT_EQ(G.WidthPx, 400);
  EXPECT_EQ(G.HeightPx, 565);
  W.Zoom = std::sqrt(2.0f);
  G.Prepare();
  EXPECT_EQ(G.DpiX, 136) << "Round(96 * 1.41421)";
}

TEST(GDIextWorld, CreationAndSetWorld) {
  QImage Img = MakeImage(96, 192, 96);
  tCanvas Canvas(&Img);
  tGDIext G(GDI_BITMAP_SCREEN, Canvas);
  // At creation the world window is the area in millimetres, origin bottom-left.
  constexpr float MM_TOL = 1e-4f;
  EXPECT_FLOAT_EQ(G.XMin, 0);
  EXPECT_NEAR(G.XMax, 25.4f, MM_TOL);
  EXPECT_NEAR(G.YMax, 50.8f, MM_TOL);

  G.SetWorld(2, 5, -1, 0);
  EXPECT_FLOAT_EQ(G.XMin, -1);
  EXPECT_FLOAT_EQ(G.XMax, 2);
  EXPECT_FLOAT_EQ(G.YMin, 0);
  EXPECT_FLOAT_EQ(G.YMax, 5);
  EXPECT_FLOAT_EQ(G.ScaleX, 96.0f / 3);
  EXPECT_FLOAT_EQ(G.ScaleY, 192.0f / 5);
  // y points up: the top edge of the world is row 0.
  EXPECT_EQ(G.YToPx(5), 0);
  EXPECT_EQ(G.YToPx(0), 192);
  EXPECT_EQ(G.XToPx(-1), 0);

  // The world window survives Prepare and is copied by CopyWorld.
  G.Prepare();
  EXPECT_FLOAT_EQ(G.XMin, -1);
  QImage Img2 = MakeImage(50, 50, 96);
  tCanvas Canvas2(&Img2);
  tGDIext H(GDI_BITMAP_300, Canvas2);
  CopyWorld(G, H);
  H.Prepare();
  EXPECT_FLOAT_EQ(H.XMax, 2);
  EXPECT_FLOAT_EQ(H.YMax, 5);
  EXPECT_FLOAT_EQ(H.ScaleX, 50.0f / 3);
}

TEST(GDIextWorld, EmptyAreaGivesTinyWorldNotZero) {
  FakeWindow W(0, 0);
  tGDIext G(&NoDraw, W);
  EXPECT_GT(G.XMax, 0.0f);
  EXPECT_GT(G.YMax, 0.0f);
  G.Prepare();  // drawing on an empty surface does nothing harmful
  G.Circle(0, 0, 1);
  G.TextOut(0, 0, "x");
  EXPECT_TRUE(std::isfinite(G.ScaleX));
}

TEST(GDIextWorld, RoundHalfToEven) {
  EXPECT_EQ(RoundPx(2.5), 2);
  EXPECT_EQ(RoundPx(3.5), 4);
  EXPECT_EQ(RoundPx(-2.5), -2);
  EXPECT_EQ(RoundPx(2.5000001), 3);
  EXPECT_EQ(RoundPx(std::nan("")), 0);
  EXPECT_GT(RoundPx(1e300), 1000000000);
  // Through the world mapping: one world unit per pixel.
  QImage Img = MakeImage(10, 10, 96);
  tCanvas Canvas(&Img);
  tGDIext G(GDI_BITMAP_SCREEN, Canvas);
  G.SetWorld(0, 0, 10, 10);
  EXPECT_EQ(G.XToPx(2.5f), 2);
  EXPECT_EQ(G.XToPx(3.5f), 4);
  EXPECT_EQ(G.YToPx(7.5f), 2) << "YMax - 7.5 = 2.5 px";
}

// A circle of radius 1 in a 3.11 x 4.4 world on an area of the same
// proportions is round; stretching the area makes it an ellipse.
TEST(GDIextShapes, CircleRoundOnlyOnProportionalArea) {
  FakeWindow W(311, 440);
  tGDIext G(&NoDraw, W);
  G.SetWorld(-1.555f, -2.2f, 1.555f, 2.2f);
  G.Prepare();
  W.Canvas.Ops.clear();
  G.Circle(0, 0, 1);
  auto E = W.Canvas.OfType(DrawOp::Ellipse);
  ASSERT_EQ(E.size(), 1u);
  constexpr double ROUND_TOL_PX = 1.0;  // whole-pixel box corners
  EXPECT_NEAR(E[0].Rx(), E[0].Ry(), ROUND_TOL_PX) << "want round, got rx " << E[0].Rx()
                                                  << " ry " << E[0].Ry();
  EXPECT_NEAR(E[0].Cx(), 155.5, 1.0);
  EXPECT_NEAR(E[0].Cy(), 220.0, 1.0);

  W.Resize(622, 440);  // window made twice as wide, world unchanged
  G.Prepare();
  W.Canvas.Ops.clear();
  G.Circle(0, 0, 1);
  E = W.Canvas.OfType(DrawOp::Ellipse);
  ASSERT_EQ(E.size(), 1u);
  EXPECT_NEAR(E[0].Rx() / E[0].Ry(), 2.0, 0.02) << "want an ellipse twice as wide";
}

// Cross arms of SizeMM/2 each way; the end pixel of each stroke is not set.
TEST(GDIextShapes, CrossArmsAndLineEnds) {
  QImage Img = MakeImage(100, 100, 96);
  RecordingCanvas Canvas(&Img);
  tGDIext G(GDI_BITMAP_SCREEN, Canvas);
  G.SetWorld(0, 0, 100, 100);
  G.Prepare();
  Canvas.Ops.clear();
  G.Cross(50, 50, 6.0f);
  auto L = Canvas.OfType(DrawOp::Line);
  ASSERT_EQ(L.size(), 2u);
  const int Arm = G.MMToPxX(3.0f);
  EXPECT_EQ(Arm, 11);
  EXPECT_EQ(L[0].X1, 50 - Arm);
  EXPECT_EQ(L[0].X2, 50 + Arm);
  EXPECT_EQ(L[1].Y1, 50 - Arm);
  Canvas.End();
  EXPECT_EQ(Px(Img, 50 - Arm, 50), 0u) << "first pixel set (black)";
  EXPECT_EQ(Px(Img, 50 + Arm - 1, 50), 0u);
  EXPECT_EQ(Px(Img, 50 + Arm, 50), 0xFFFFFFu) << "last pixel not set";
  EXPECT_EQ(Px(Img, 50, 50 + Arm), 0xFFFFFFu);
}

TEST(GDIextShapes, AxesDashDotDotThenSolid) {
  QImage Img = MakeImage(60, 80, 96);
  RecordingCanvas Canvas(&Img);
  tGDIext G(GDI_BITMAP_SCREEN, Canvas);
  G.SetWorld(-1, -1, 2, 3);
  G.Prepare();
  Canvas.Ops.clear();
  G.DrawAxes();
  auto L = Canvas.OfType(DrawOp::Line);
  ASSERT_EQ(L.size(), 2u);
  EXPECT_EQ(L[0].PenStyle, PS_DASHDOTDOT);
  EXPECT_EQ(L[0].Y1, G.YToPx(0));
  EXPECT_EQ(L[0].X1, 0);
  EXPECT_EQ(L[0].X2, 60);
  EXPECT_EQ(L[1].X1, G.XToPx(0));
  EXPECT_EQ(Canvas.PenStyle, PS_SOLID);
  // Axes outside the window are not drawn.
  G.SetWorld(1, 1, 2, 2);
  Canvas.Ops.clear();
  G.DrawAxes();
  EXPECT_TRUE(Canvas.OfType(DrawOp::Line).empty());
}

// A 96 dpi bitmap layer of 300 x 200 pixels painted blue, with red as its
// fill colour.
struct BlueBitmap {
  QImage Img = MakeImage(300, 200, 96);
  tCanvas Canvas{&Img};
  tGDIext G{GDI_BITMAP_SCREEN, Canvas};
  BlueBitmap() {
    G.Prepare();
    G.FillArea(RGBColor(0, 0, 255));
    G.SetFillColor(RGBColor(255, 0, 0));
  }
};

// Alignment flags 0, 6, 8, 14; a solid fill paints the text cell, a
// cleared fill leaves the background.
TEST(GDIextText, AlignmentAndOpaqueCell) {
  const QRgb BLUE = 0x0000FF, RED = 0xFF0000;
  for (int Align : {0, 6, 8, 14}) {
    BlueBitmap B;
    B.G.SetTextAlignment(Align);
    const int X = 150, Y = 100;
    const QString T = "Beginn: 01.01.2000";
    const int W = B.Canvas.TextWidth(T), H = B.Canvas.FontHeight();
    B.G.TextOutPx(X, Y, T);
    B.Canvas.End();
    const int Left = (Align & TA_CENTER) == TA_CENTER ? X - W / 2 : X;
    const int Top = (Align & TA_BOTTOM) ? Y - H : Y;
    SCOPED_TRACE(testing::Message() << "align " << Align << " cell " << Left << "," << Top
                                    << " " << W << "x" << H);
    EXPECT_EQ(Px(B.Img, Left + 1, Top + 1), RED) << "cell corner painted in fill colour";
    EXPECT_EQ(Px(B.Img, Left + W - 1, Top + H - 1), RED);
    EXPECT_EQ(Px(B.Img, Left - 1, Top + H / 2), BLUE) << "left of the cell untouched";
    EXPECT_EQ(Px(B.Img, Left + W / 2, Top + H + 1), BLUE) << "below the cell untouched";
  }
  // Transparent text: nothing of the fill colour appears.
  BlueBitmap B;
  B.G.ClearFill();
  B.G.TextOutPx(10, 10, "Ekliptik");
  B.Canvas.End();
  int Red = 0, Dark = 0;
  for (int y = 0; y < B.Img.height(); ++y)
    for (int x = 0; x < B.Img.width(); ++x) {
      if (Px(B.Img, x, y) == RED) ++Red;
      if (qBlue(B.Img.pixel(x, y)) < 128) ++Dark;
    }
  EXPECT_EQ(Red, 0);
  EXPECT_GT(Dark, 10) << "the letters are drawn";
}

// Printer pages: white page, picture offset by the margins, drawing area of
// the print size at the printer's resolution.
TEST(GDIextPrinter, MarginsAndPrintSizeOnPdfPrinter) {
  QTemporaryDir Dir;
  QPrinter Printer(QPrinter::HighResolution);
  Printer.setOutputFormat(QPrinter::PdfFormat);
  Printer.setOutputFileName(Dir.filePath("page.pdf"));
  Printer.setPageSize(QPageSize(QPageSize::A4));
  Printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
  QPainter P(&Printer);
  tCanvas Canvas(&Printer, &P);
  tGDIext G(GDI_PRINTER, Canvas, &Printer);
  EXPECT_FALSE(G.FillBackground);
  EXPECT_NEAR(G.PaperWidthMM, 200, 1) << "A4 less 2 x 5 mm";
  EXPECT_NEAR(G.PaperHeightMM, 287, 1);
  G.PrintWidthMM = 100;
  G.PrintHeightMM = 141.4f;
  G.LeftMarginMM = 25;
  G.Prepare();
  const int Dpi = Printer.logicalDpiX();
  EXPECT_EQ(G.DpiX, Dpi);
  EXPECT_EQ(G.OffsetX, RoundPx(Dpi * 25 / 25.4));
  EXPECT_EQ(G.OffsetY, RoundPx(Dpi * 15 / 25.4));
  EXPECT_EQ(G.WidthPx, RoundPx(Dpi * 100 / 25.4));
  G.SetWorld(0, 0, 1, 1);
  EXPECT_EQ(G.XToPx(0), G.OffsetX);
  EXPECT_EQ(G.YToPx(1), G.OffsetY);
  EXPECT_EQ(G.FontPointDpi(), Printer.logicalDpiY());
  P.end();
}

TEST(GDIextColors, ChannelsAndGrey) {
  constexpr TColor C = RGBColor(255, 127, 0);
  EXPECT_EQ(C, 0x007FFFu);
  EXPECT_EQ(RedOf(C), 255);
  EXPECT_EQ(GreenOf(C), 127);
  EXPECT_EQ(BlueOf(C), 0);
  EXPECT_EQ(Brightness(RGBColor(64, 0, 0)), 21);
  EXPECT_EQ(GreyOf(21), RGBColor(21, 21, 21));
  EXPECT_EQ(Brightness(RGBColor(255, 255, 255)), 255);
}
