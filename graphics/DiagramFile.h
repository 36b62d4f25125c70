// DiagramFile.h — a drawing procedure rendered into a file: bitmaps (BMP,
// PNG) at screen resolution, 300 or 600 dpi, and vector pages (PDF, SVG)
// through the same procedure.
#pragma once

#include <QImage>
#include <QString>

#include "graphics/GDIext.h"

namespace nodalis {

// The graph window's picture at zoom 1: a 400 x 565 pixel surface at
// 96 dpi (about 105.8 x 149.5 mm, the 1 : sqrt(2) proportion).
constexpr int DEFAULT_PICTURE_WIDTH_PX = 400;
constexpr int DEFAULT_PICTURE_HEIGHT_PX = 565;
constexpr int DEFAULT_PICTURE_DPI = 96;

// Image formats by file-name extension (case-insensitive).
enum class DiagramFormat { Bmp, Png, Pdf, Svg, Unknown };
DiagramFormat FormatOfFileName(const QString& FileName);

// Layer kind for a bitmap of Dpi: 4 for 300, 5 for 600, else 3.
std::uint8_t BitmapKindOfDpi(int Dpi);

// A white RGB32 image of W x H pixels whose dots-per-metre give Dpi.
QImage MakeBitmap(int W, int H, int Dpi);

// Writes Image as BMP, or as PNG when FileName ends in ".png", with its
// dots per metre set to Dpi. On failure returns false with a message.
bool WriteBitmapFile(QImage& Image, const QString& FileName, int Dpi, QString* Error);

// Draws Proc with the world window of World (any layer; only its world is
// read) into FileName: a bitmap of the default picture size scaled to Dpi
// (96, 300 or 600), or a PDF/SVG page of the default picture's size in
// millimetres. Returns false with a message for an unknown extension, a
// resolution other than 96/300/600 or a write error.
bool WriteDiagramFile(DrawProc Proc, float X1, float Y1, float X2, float Y2,
                      const QString& FileName, int Dpi, QString* Error);

}  // namespace nodalis
