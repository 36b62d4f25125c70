// PrintLayout.h - page arithmetic of the print dialog and the print command.
//
// Where a picture lands on paper and how the dialog's preview page is sized,
// kept free of any window code so that it can be checked on its own.
//
// Lengths are millimetres on the printer's printable area (the part of the
// sheet the printer can reach; its origin is the area's top-left corner),
// preview sizes are pixels of the preview page surface. Rounding is to the
// nearest integer with halves to even, as everywhere in the drawing layer.
#pragma once

#include <string>

namespace nodalis {

// Width of the longer side of the preview page surface, in pixels.
inline constexpr int PREVIEW_PAGE_PX = 160;

// Largest margin the dialog accepts, in millimetres. Typed values beyond it
// (or below 0) are clamped so that the page arithmetic stays finite.
inline constexpr float MAX_MARGIN_MM = 1000.0f;

struct PrintSizeMM {
  float Width;   // mm
  float Height;  // mm
};

// Size of the picture on paper.
//   PaperWidthMM, PaperHeightMM: printable area of the page, mm
//   LeftMarginMM, TopMarginMM:   offsets of the picture on that area, mm
//   PictureWidthMM, PictureHeightMM: the picture at zoom 1 on screen, mm
//   PageScale:    scale the picture to the page ("Auf Seitengröße skalieren")
//   Proportional: keep the picture's proportions while scaling
// Without PageScale the picture keeps its screen size (even if it runs off
// the page). With PageScale alone it is stretched to the area left of the
// margins. With both, it is scaled by f = min((PaperW - Left) / PicW,
// (PaperH - Top) / PicH). A negative remaining area or a picture of zero
// size yields 0 rather than a negative or non-finite size.
PrintSizeMM PrintSizeOnPage(float PaperWidthMM, float PaperHeightMM,
                            float LeftMarginMM, float TopMarginMM,
                            float PictureWidthMM, float PictureHeightMM,
                            bool PageScale, bool Proportional);

// The preview page surface for a printer page of PageWidthPx x PageHeightPx
// printer pixels in the chosen orientation: in portrait the surface is
// PREVIEW_PAGE_PX wide, in landscape PREVIEW_PAGE_PX high, the other side
// following the page's proportions. The paper size in
// mm read when the preview layer was created is swapped when it does not
// match the orientation (wider than high in portrait, or higher than wide in
// landscape).
struct PreviewPage {
  int WidthPx;
  int HeightPx;
  float PaperWidthMM;
  float PaperHeightMM;
};
PreviewPage PreviewPageSurface(int PageWidthPx, int PageHeightPx, bool Portrait,
                               float PaperWidthMM, float PaperHeightMM);

// Position of the preview page surface inside the preview group box: the
// group's caption takes 18 px at the top and 10 px are kept free at the
// bottom; horizontally the surface is centred on the printer group's width.
int PreviewSurfaceTop(int PreviewBoxHeight, int SurfaceHeight);
int PreviewSurfaceLeft(int PrinterGroupWidth, int SurfaceWidth);

// Margin read from the margin field for the preview: the first number of
// the text, 0 when it holds none; clamped to 0 ... MAX_MARGIN_MM.
float MarginFromText(const std::string& Text);

// The dialog's own margin follows the field only while the field holds a
// digit: returns true and stores the number in MarginMM if Text has a digit,
// otherwise leaves MarginMM as it is (the last number typed is printed).
bool TakeMarginText(const std::string& Text, float& MarginMM);

// Round to the nearest integer, halves to even; non-finite or huge values
// are clamped to the int range instead of being undefined.
int RoundHalfEven(double X);

}  // namespace nodalis
