// Page arithmetic of printing: print size for the three scaling modes, the
// preview page surface per orientation, and the margin field's rules.
#include "graphics/draw/PrintLayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace nodalis {
namespace {

// Sizes are single-precision millimetres: 1e-3 mm is far below a printer dot
// (0.042 mm at 600 dpi) and far above float rounding at these magnitudes.
constexpr float SIZE_TOL_MM = 1e-3f;

// The worked example: a 180 x 255 mm picture on a 200 x 287 mm printable
// area, left margin 25 mm, top margin 15 mm.
constexpr float PAPER_W_MM = 200, PAPER_H_MM = 287;
constexpr float LEFT_MM = 25, TOP_MM = 15;
constexpr float PIC_W_MM = 180, PIC_H_MM = 255;

// The three scaling modes and degenerate input. Proportional scaling of the
// worked example: f = min(175/180, 272/255) = 0.97222..., 175 x 247.917 mm.
TEST(PrintSize, ScalingModesAndDegenerateInput) {
  struct Case {
    const char* why;
    float PaperW, PaperH, Left, PicW, PicH;
    bool Scale, Proportional;
    float WantW, WantH;
  } Cases[] = {
      {"proportional, the width limits", PAPER_W_MM, PAPER_H_MM, LEFT_MM, PIC_W_MM, PIC_H_MM, true,
       true, 175.0f, 255.0f * 175.0f / 180.0f},
      {"proportional on the landscape page, the height limits", PAPER_H_MM, PAPER_W_MM, LEFT_MM,
       PIC_W_MM, PIC_H_MM, true, true, 180.0f * 185.0f / 255.0f, 185.0f},
      {"stretched to the page", PAPER_W_MM, PAPER_H_MM, LEFT_MM, PIC_W_MM, PIC_H_MM, true, false,
       175.0f, 272.0f},
      {"unscaled: the screen size", PAPER_W_MM, PAPER_H_MM, LEFT_MM, PIC_W_MM, PIC_H_MM, false,
       true, PIC_W_MM, PIC_H_MM},
      {"unscaled, even off the page", PAPER_W_MM, PAPER_H_MM, LEFT_MM, 300, 400, false, false, 300,
       400},
      {"margin wider than the page", PAPER_W_MM, PAPER_H_MM, 500, PIC_W_MM, PIC_H_MM, true, true, 0,
       0},
      {"stretched past a margin wider than the page", PAPER_W_MM, PAPER_H_MM, 500, PIC_W_MM,
       PIC_H_MM, true, false, 0, 272.0f},
  };
  for (const Case& C : Cases) {
    const PrintSizeMM S = PrintSizeOnPage(C.PaperW, C.PaperH, C.Left, TOP_MM, C.PicW, C.PicH,
                                          C.Scale, C.Proportional);
    EXPECT_NEAR(S.Width, C.WantW, SIZE_TOL_MM)
        << C.why << ": want " << C.WantW << " mm, got " << S.Width;
    EXPECT_NEAR(S.Height, C.WantH, SIZE_TOL_MM)
        << C.why << ": want " << C.WantH << " mm, got " << S.Height;
  }
  const PrintSizeMM Empty =
      PrintSizeOnPage(PAPER_W_MM, PAPER_H_MM, LEFT_MM, TOP_MM, 0, 0, true, true);
  EXPECT_TRUE(std::isfinite(Empty.Width) && std::isfinite(Empty.Height)) << "a picture of no size";
}

// A4 at 600 dpi: printable 4760 x 6779 px (about 201.5 x 287 mm).
TEST(PreviewSurface, PortraitIs160WideAndKeepsPortraitPaper) {
  const PreviewPage P = PreviewPageSurface(4760, 6779, true, 201.5f, 287.0f);
  EXPECT_EQ(P.WidthPx, 160);
  EXPECT_EQ(P.HeightPx, 228) << "Round(6779 * 160 / 4760) = Round(227.87)";
  EXPECT_EQ(P.PaperWidthMM, 201.5f);
  EXPECT_EQ(P.PaperHeightMM, 287.0f);
  // Paper read while the printer was in landscape is turned back.
  const PreviewPage Q = PreviewPageSurface(4760, 6779, true, 287.0f, 201.5f);
  EXPECT_EQ(Q.PaperWidthMM, 201.5f);
  EXPECT_EQ(Q.PaperHeightMM, 287.0f);
}

TEST(PreviewSurface, LandscapeIs160HighAndSwapsPaper) {
  const PreviewPage P = PreviewPageSurface(6779, 4760, false, 201.5f, 287.0f);
  EXPECT_EQ(P.HeightPx, 160);
  EXPECT_EQ(P.WidthPx, 228);
  EXPECT_EQ(P.PaperWidthMM, 287.0f) << "landscape page is wider than high";
  EXPECT_EQ(P.PaperHeightMM, 201.5f);
  // The scaling then works on the landscape page: the worked example's
  // picture is limited by the 200 - 15 mm height.
  const PrintSizeMM S = PrintSizeOnPage(P.PaperWidthMM, P.PaperHeightMM, LEFT_MM, TOP_MM,
                                        PIC_W_MM, PIC_H_MM, true, true);
  EXPECT_NEAR(S.Height, 201.5f - TOP_MM, SIZE_TOL_MM);
}

TEST(PreviewSurface, HalvesRoundToEvenAndZeroPageIsSafe) {
  // 160 * 1001 / 640 = 250.25 -> 250; 160 * 1002 / 640 = 250.5 -> 250 (even);
  // 160 * 1006 / 640 = 251.5 -> 252 (even).
  EXPECT_EQ(PreviewPageSurface(640, 1001, true, 1, 2).HeightPx, 250);
  EXPECT_EQ(PreviewPageSurface(640, 1002, true, 1, 2).HeightPx, 250);
  EXPECT_EQ(PreviewPageSurface(640, 1006, true, 1, 2).HeightPx, 252);
  const PreviewPage Z = PreviewPageSurface(0, 0, false, 0, 0);
  EXPECT_EQ(Z.WidthPx, 160);
  EXPECT_EQ(Z.HeightPx, 160);
}

TEST(PreviewSurface, PlacementInsideThePreviewBox) {
  // Box 256 px high, surface 228: (256 - 28 - 228) div 2 + 18 = 18.
  EXPECT_EQ(PreviewSurfaceTop(256, 228), 18);
  // Surface 160 high: (256 - 28 - 160) div 2 + 18 = 52.
  EXPECT_EQ(PreviewSurfaceTop(256, 160), 52);
  EXPECT_EQ(PreviewSurfaceLeft(260, 160), 50);
  EXPECT_EQ(PreviewSurfaceLeft(260, 227), 16) << "integer division";
}

TEST(MarginField, TextWithoutDigitsPreviewsZeroAndPrintsTheLastNumber) {
  float Dialog = 15.0f;
  ASSERT_TRUE(TakeMarginText("32", Dialog));
  EXPECT_FLOAT_EQ(Dialog, 32.0f);
  // The user clears the field and types letters.
  for (const char* T : {"", "abc", "-", ",", "mm"}) {
    EXPECT_FALSE(TakeMarginText(T, Dialog)) << "text \"" << T << "\"";
    EXPECT_FLOAT_EQ(Dialog, 32.0f) << "print margin kept for \"" << T << "\"";
    EXPECT_FLOAT_EQ(MarginFromText(T), 0.0f) << "preview margin for \"" << T << "\"";
  }
}

TEST(MarginField, HugeOrNegativeNumbersAreClamped) {
  EXPECT_FLOAT_EQ(MarginFromText("1e30"), MAX_MARGIN_MM);
  EXPECT_FLOAT_EQ(MarginFromText("99999999999999999999999999999999999999999"), MAX_MARGIN_MM);
  EXPECT_FLOAT_EQ(MarginFromText("-5"), 0.0f);
  float M = 15;
  EXPECT_TRUE(TakeMarginText("1e999", M));
  EXPECT_TRUE(std::isfinite(M));
}

}  // namespace
}  // namespace nodalis
