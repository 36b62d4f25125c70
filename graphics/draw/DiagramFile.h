// DiagramFile.h — a drawing procedure rendered into a file: bitmaps (BMP,
// PNG) at screen resolution, 300 or 600 dpi, and vector pages (PDF, SVG)
// through the same procedure.
//
// Every file is written through QSaveFile: the new contents go to a
// temporary file beside the target, which replaces the target only when it
// is complete. When anything fails (a full disk, no permission) the writer
// says so and an existing file keeps its old bytes.
#pragma once

#include <QImage>
#include <QSaveFile>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

#include "graphics/draw/GDIext.h"

namespace nodalis {

// The graph window's picture at zoom 1: a 400 x 565 pixel surface at
// 96 dpi (about 105.8 x 149.5 mm, the 1 : sqrt(2) proportion).
constexpr int DEFAULT_PICTURE_WIDTH_PX = 400;
constexpr int DEFAULT_PICTURE_HEIGHT_PX = 565;
constexpr int DEFAULT_PICTURE_DPI = 96;

// The page of a diagram written to a file by WriteDiagramFile: 5 inches
// (127 mm) wide, the 1 : sqrt(2) proportion of the graph window's picture.
// Wide enough for the longest series title at 4.5 mm in the fallback font
// (115 mm: "Saros 100 (100. Saros, Ära M)  71 Neumonde,  1262.1 Jahre").
constexpr double EXPORT_PAGE_WIDTH_IN = 5.0;
// The page in pixels at Dpi: 480 x 679 at 96 dpi, 1500 x 2121 at 300,
// 3000 x 4243 at 600.
QSize ExportPagePixels(int Dpi);

// Generic family written after every font family of an SVG file, for
// viewers without the named font (all diagram fonts are sans-serif).
constexpr const char* SVG_GENERIC_FAMILY = "sans-serif";

// Test seam: when set, makes the save file for a file name instead of a
// plain QSaveFile (a test gives one whose writes fail like a full disk).
extern std::function<std::unique_ptr<QSaveFile>(const QString& FileName)> SaveFileHook;

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

// Writes Data into FileName as the diagram files are written (QSaveFile,
// every write checked, the old file kept on any failure); false with a
// message.
bool WriteDataFile(const QString& FileName, const QByteArray& Data, QString* Error);

// Draws Proc with the world window (X1, Y1)-(X2, Y2) into FileName: a
// bitmap of the export page at Dpi (96, 300 or 600), or a PDF/SVG page of
// the export page's size; Title is the document title of PDF and SVG.
// Returns false with a message for an unknown extension, a resolution other
// than 96/300/600 or a write error.
bool WriteDiagramFile(DrawProc Proc, float X1, float Y1, float X2, float Y2,
                      const QString& FileName, int Dpi, QString* Error,
                      const QString& Title = QStringLiteral("Nodalis"));

// As WriteDiagramFile, on a page of PageWidthIn x PageHeightIn inches
// (the bitmap RoundPx(PageWidthIn * Dpi) x RoundPx(PageHeightIn * Dpi)
// pixels).
bool WritePictureFile(DrawProc Proc, float X1, float Y1, float X2, float Y2, double PageWidthIn,
                      double PageHeightIn, const QString& FileName, int Dpi, QString* Error,
                      const QString& Title);

}  // namespace nodalis
