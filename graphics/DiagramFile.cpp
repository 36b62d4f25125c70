// DiagramFile.cpp — drawing procedures rendered into files (DiagramFile.h).
#include "graphics/DiagramFile.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

namespace nodalis {

namespace {
constexpr double MM_PER_INCH = 25.4;
constexpr double INCH_PER_METRE = 1.0 / 0.0254;

int Scaled(int Px96, int Dpi) { return RoundPx(double(Px96) * Dpi / DEFAULT_PICTURE_DPI); }
}  // namespace

DiagramFormat FormatOfFileName(const QString& FileName) {
  const QString Ext = QFileInfo(FileName).suffix().toLower();
  if (Ext == "bmp") return DiagramFormat::Bmp;
  if (Ext == "png") return DiagramFormat::Png;
  if (Ext == "pdf") return DiagramFormat::Pdf;
  if (Ext == "svg") return DiagramFormat::Svg;
  return DiagramFormat::Unknown;
}

std::uint8_t BitmapKindOfDpi(int Dpi) {
  if (Dpi == 300) return GDI_BITMAP_300;
  if (Dpi == 600) return GDI_BITMAP_600;
  return GDI_BITMAP_SCREEN;
}

QImage MakeBitmap(int W, int H, int Dpi) {
  QImage Img(std::max(W, 1), std::max(H, 1), QImage::Format_RGB32);
  if (Img.isNull()) return Img;  // out of memory: the caller reports it
  Img.fill(Qt::white);
  const int Dpm = int(std::lround(std::max(Dpi, 1) * INCH_PER_METRE));
  Img.setDotsPerMeterX(Dpm);
  Img.setDotsPerMeterY(Dpm);
  return Img;
}

bool WriteBitmapFile(QImage& Image, const QString& FileName, int Dpi, QString* Error) {
  const int Dpm = int(std::lround(std::max(Dpi, 1) * INCH_PER_METRE));
  Image.setDotsPerMeterX(Dpm);
  Image.setDotsPerMeterY(Dpm);
  const char* Fmt = FormatOfFileName(FileName) == DiagramFormat::Png ? "PNG" : "BMP";
  QImageWriter W(FileName, Fmt);
  if (W.write(Image)) return true;
  if (Error) *Error = QStringLiteral("Datei %1 kann nicht geschrieben werden: %2")
                          .arg(FileName, W.errorString());
  return false;
}

bool WriteDiagramFile(DrawProc Proc, float X1, float Y1, float X2, float Y2,
                      const QString& FileName, int Dpi, QString* Error) {
  auto Fail = [&](const QString& M) {
    if (Error) *Error = M;
    return false;
  };
  if (Dpi != 96 && Dpi != 300 && Dpi != 600)
    return Fail(QStringLiteral("Auflösung %1 dpi nicht unterstützt (96, 300 oder 600)").arg(Dpi));
  const DiagramFormat F = FormatOfFileName(FileName);
  const int W = Scaled(DEFAULT_PICTURE_WIDTH_PX, Dpi);
  const int H = Scaled(DEFAULT_PICTURE_HEIGHT_PX, Dpi);
  switch (F) {
    case DiagramFormat::Bmp:
    case DiagramFormat::Png: {
      QImage Img = MakeBitmap(W, H, Dpi == 96 ? ScreenLogicalDpiX() : Dpi);
      if (Img.isNull()) return Fail(QStringLiteral("Kein Speicher für die Bitmap"));
      {
        tCanvas Canvas(&Img);
        tGDIext G(BitmapKindOfDpi(Dpi), Canvas);
        G.SetWorld(X1, Y1, X2, Y2);
        Proc(G);
      }
      return WriteBitmapFile(Img, FileName, Dpi == 96 ? ScreenLogicalDpiX() : Dpi, Error);
    }
    case DiagramFormat::Pdf: {
      QPdfWriter Pdf(FileName);
      Pdf.setResolution(Dpi);
      Pdf.setCreator(QStringLiteral("Nodalis"));
      const QSizeF PageMM(DEFAULT_PICTURE_WIDTH_PX * MM_PER_INCH / DEFAULT_PICTURE_DPI,
                          DEFAULT_PICTURE_HEIGHT_PX * MM_PER_INCH / DEFAULT_PICTURE_DPI);
      Pdf.setPageLayout(QPageLayout(QPageSize(PageMM, QPageSize::Millimeter),
                                    QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
      QPainter P;
      if (!P.begin(&Pdf)) return Fail(QStringLiteral("Datei %1 kann nicht geschrieben werden").arg(FileName));
      {
        tCanvas Canvas(&Pdf, &P);
        tGDIext G(GDI_BITMAP_SCREEN, Canvas);
        G.SetWorld(X1, Y1, X2, Y2);
        Proc(G);
      }
      if (!P.end()) return Fail(QStringLiteral("Datei %1 kann nicht geschrieben werden").arg(FileName));
      return true;
    }
    case DiagramFormat::Svg: {
      QSvgGenerator Svg;
      Svg.setFileName(FileName);
      Svg.setResolution(Dpi);
      Svg.setSize(QSize(W, H));
      Svg.setViewBox(QRect(0, 0, W, H));
      Svg.setTitle(QStringLiteral("Nodalis"));
      QPainter P;
      if (!P.begin(&Svg)) return Fail(QStringLiteral("Datei %1 kann nicht geschrieben werden").arg(FileName));
      {
        tCanvas Canvas(&Svg, &P);
        tGDIext G(GDI_BITMAP_SCREEN, Canvas);
        G.SetWorld(X1, Y1, X2, Y2);
        Proc(G);
      }
      P.end();
      if (!QFileInfo(FileName).isFile())
        return Fail(QStringLiteral("Datei %1 kann nicht geschrieben werden").arg(FileName));
      return true;
    }
    case DiagramFormat::Unknown: break;
  }
  return Fail(QStringLiteral("Unbekanntes Dateiformat: %1 (.bmp, .png, .pdf oder .svg)").arg(FileName));
}

}  // namespace nodalis
