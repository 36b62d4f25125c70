// PrintLayout.cpp - page arithmetic of the print dialog and the print command.
// See PrintLayout.h for units and conventions.
#include "graphics/draw/PrintLayout.h"

#include "app/base/Utils.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace nodalis {

namespace {

// A length that may be used as a size: finite and not negative.
float NonNegative(float V) { return std::isfinite(V) && V > 0.0f ? V : 0.0f; }

}  // namespace

int RoundHalfEven(double X) {
  if (std::isnan(X)) return 0;
  if (X >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (X <= static_cast<double>(INT_MIN)) return INT_MIN;
  // nearbyint rounds in the current mode, which is to-nearest-even.
  return static_cast<int>(std::nearbyint(X));
}

PrintSizeMM PrintSizeOnPage(float PaperWidthMM, float PaperHeightMM,
                            float LeftMarginMM, float TopMarginMM,
                            float PictureWidthMM, float PictureHeightMM,
                            bool PageScale, bool Proportional) {
  if (!PageScale) return {PictureWidthMM, PictureHeightMM};
  const float AreaW = NonNegative(PaperWidthMM - LeftMarginMM);
  const float AreaH = NonNegative(PaperHeightMM - TopMarginMM);
  if (!Proportional) return {AreaW, AreaH};
  if (!(PictureWidthMM > 0.0f) || !(PictureHeightMM > 0.0f)) return {0.0f, 0.0f};
  const float FW = AreaW / PictureWidthMM;
  const float FH = AreaH / PictureHeightMM;
  const float F = FW < FH ? FW : FH;  // the height ratio when both are equal
  return {NonNegative(PictureWidthMM * F), NonNegative(PictureHeightMM * F)};
}

PreviewPage PreviewPageSurface(int PageWidthPx, int PageHeightPx, bool Portrait,
                               float PaperWidthMM, float PaperHeightMM) {
  PreviewPage P{PREVIEW_PAGE_PX, PREVIEW_PAGE_PX, PaperWidthMM, PaperHeightMM};
  // A printer reporting no page (0 pixels) gets a square surface.
  if (Portrait) {
    if (PageWidthPx > 0)
      P.HeightPx = RoundHalfEven(static_cast<double>(PageHeightPx) * PREVIEW_PAGE_PX / PageWidthPx);
    if (P.PaperWidthMM > P.PaperHeightMM) std::swap(P.PaperWidthMM, P.PaperHeightMM);
  } else {
    if (PageHeightPx > 0)
      P.WidthPx = RoundHalfEven(static_cast<double>(PageWidthPx) * PREVIEW_PAGE_PX / PageHeightPx);
    if (P.PaperWidthMM < P.PaperHeightMM) std::swap(P.PaperWidthMM, P.PaperHeightMM);
  }
  P.WidthPx = std::clamp(P.WidthPx, 0, 16 * PREVIEW_PAGE_PX);
  P.HeightPx = std::clamp(P.HeightPx, 0, 16 * PREVIEW_PAGE_PX);
  return P;
}

int PreviewSurfaceTop(int PreviewBoxHeight, int SurfaceHeight) {
  return (PreviewBoxHeight - 18 - 10 - SurfaceHeight) / 2 + 18;
}

int PreviewSurfaceLeft(int PrinterGroupWidth, int SurfaceWidth) {
  return (PrinterGroupWidth - SurfaceWidth) / 2;
}

float MarginFromText(const std::string& Text) {
  const long double V = StrToReal(Text);  // no number reads as 0
  if (!std::isfinite(V) || V <= 0.0L) return 0.0f;
  return V >= MAX_MARGIN_MM ? MAX_MARGIN_MM : static_cast<float>(V);
}

bool TakeMarginText(const std::string& Text, float& MarginMM) {
  if (!HasDigit(Text)) return false;
  MarginMM = MarginFromText(Text);
  return true;
}

}  // namespace nodalis
