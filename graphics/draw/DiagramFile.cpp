// DiagramFile.cpp — drawing procedures rendered into files (DiagramFile.h).
#include "graphics/draw/DiagramFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <cmath>

namespace nodalis {

std::function<std::unique_ptr<QSaveFile>(const QString&)> SaveFileHook;

namespace {
constexpr double INCH_PER_METRE = 1.0 / 0.0254;
const double SQRT2 = std::sqrt(2.0);

QString CannotWrite(const QString& FileName, const QString& Why) {
  return QStringLiteral("Datei %1 kann nicht geschrieben werden: %2").arg(FileName, Why);
}

// One file being written: a QSaveFile (unbuffered, so that every write
// reaches the system at once) behind a device that passes each write on
// whole or marks the file failed. Qt reports a short write without an error
// (the disk filled up within it) as success, and not every image writer
// checks what it wrote; here a short write leads to another one for the
// rest, and any failure means the file is never committed. The writer
// itself is never told: its own error paths are not needed (Qt's BMP and
// PNG writers leak a row buffer on them), it just writes into nothing.
class SaveTarget : public QIODevice {
 public:
  explicit SaveTarget(const QString& FileName)
      : File_(SaveFileHook ? SaveFileHook(FileName) : std::make_unique<QSaveFile>(FileName)) {}

  // Opens the temporary file; false with a message when it cannot be made.
  bool Open(QString* Error) {
    if (File_ && File_->open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        open(QIODevice::WriteOnly))
      return true;
    if (Error) *Error = CannotWrite(Name(), File_ ? File_->errorString() : QString());
    return false;
  }

  // Replaces the target with the new file when the writer succeeded and
  // every write went through; otherwise discards it (the target keeps its
  // old bytes) and gives a message: the system's reason (a full disk), else
  // WriterWhy.
  bool Finish(bool WriterOk, const QString& WriterWhy, QString* Error) {
    if (!Failed_ && WriterOk && File_->commit()) return true;
    QString Why = File_->error() != QFileDevice::NoError ? File_->errorString() : WriterWhy;
    if (Why.isEmpty()) Why = QStringLiteral("Schreibfehler");
    if (Error) *Error = CannotWrite(Name(), Why);
    File_->cancelWriting();
    return false;
  }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* Data, qint64 Size) override {
    qint64 Done = 0;
    while (!Failed_ && Done < Size) {
      const qint64 N = File_->write(Data + Done, Size - Done);
      if (N <= 0) Failed_ = true;
      else Done += N;
    }
    return Size;
  }

 private:
  QString Name() const { return File_ ? File_->fileName() : QString(); }
  std::unique_ptr<QSaveFile> File_;
  bool Failed_ = false;
};

// Each font-family="X" of an SVG document becomes "X, <generic>".
QByteArray WithGenericFamily(const QByteArray& Svg) {
  QString Text = QString::fromUtf8(Svg);
  static const QRegularExpression Family(QStringLiteral("font-family=\"([^\"]*)\""));
  Text.replace(Family, QStringLiteral("font-family=\"\\1, %1\"").arg(SVG_GENERIC_FAMILY));
  return Text.toUtf8();
}
}  // namespace

QSize ExportPagePixels(int Dpi) {
  return QSize(RoundPx(EXPORT_PAGE_WIDTH_IN * Dpi), RoundPx(EXPORT_PAGE_WIDTH_IN * SQRT2 * Dpi));
}

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
  SaveTarget Out(FileName);
  if (!Out.Open(Error)) return false;
  QImageWriter W(&Out, Fmt);
  const bool Ok = W.write(Image);
  return Out.Finish(Ok, W.errorString(), Error);
}

bool WriteDataFile(const QString& FileName, const QByteArray& Data, QString* Error) {
  SaveTarget Out(FileName);
  if (!Out.Open(Error)) return false;
  const bool Ok = Out.write(Data) == Data.size();
  return Out.Finish(Ok, QString(), Error);
}

bool WriteDiagramFile(DrawProc Proc, float X1, float Y1, float X2, float Y2,
                      const QString& FileName, int Dpi, QString* Error, const QString& Title) {
  return WritePictureFile(Proc, X1, Y1, X2, Y2, EXPORT_PAGE_WIDTH_IN, EXPORT_PAGE_WIDTH_IN * SQRT2,
                          FileName, Dpi, Error, Title);
}

bool WritePictureFile(DrawProc Proc, float X1, float Y1, float X2, float Y2, double PageWidthIn,
                      double PageHeightIn, const QString& FileName, int Dpi, QString* Error,
                      const QString& Title) {
  auto Fail = [&](const QString& M) {
    if (Error) *Error = M;
    return false;
  };
  if (Dpi != 96 && Dpi != 300 && Dpi != 600)
    return Fail(QStringLiteral("Auflösung %1 dpi nicht unterstützt (96, 300 oder 600)").arg(Dpi));
  const DiagramFormat F = FormatOfFileName(FileName);
  const QSize Page(RoundPx(PageWidthIn * Dpi), RoundPx(PageHeightIn * Dpi));
  switch (F) {
    case DiagramFormat::Bmp:
    case DiagramFormat::Png: {
      QImage Img = MakeBitmap(Page.width(), Page.height(), Dpi == 96 ? ScreenLogicalDpiX() : Dpi);
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
      SaveTarget Out(FileName);
      if (!Out.Open(Error)) return false;
      bool Ok;
      {
        QPdfWriter Pdf(&Out);
        Pdf.setResolution(Dpi);
        Pdf.setCreator(QStringLiteral("Nodalis"));
        Pdf.setTitle(Title);
        const QSizeF PageMM(PageWidthIn * MM_PER_INCH, PageHeightIn * MM_PER_INCH);
        Pdf.setPageLayout(QPageLayout(QPageSize(PageMM, QPageSize::Millimeter),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter P;
        Ok = P.begin(&Pdf);
        if (Ok) {
          {
            tCanvas Canvas(&Pdf, &P);
            tGDIext G(GDI_BITMAP_SCREEN, Canvas);
            G.SetWorld(X1, Y1, X2, Y2);
            Proc(G);
          }
          Ok = P.end();
        }
      }
      return Out.Finish(Ok, QString(), Error);
    }
    case DiagramFormat::Svg: {
      // Drawn into memory first: the font families get their generic
      // fallback before the document goes to the file.
      QBuffer Buffer;
      Buffer.open(QIODevice::WriteOnly);
      {
        QSvgGenerator Svg;
        Svg.setOutputDevice(&Buffer);
        Svg.setResolution(Dpi);
        Svg.setSize(Page);
        Svg.setViewBox(QRect(QPoint(0, 0), Page));
        Svg.setTitle(Title);
        QPainter P;
        if (!P.begin(&Svg)) return Fail(CannotWrite(FileName, QStringLiteral("SVG")));
        {
          tCanvas Canvas(&Svg, &P);
          tGDIext G(GDI_BITMAP_SCREEN, Canvas);
          G.SetWorld(X1, Y1, X2, Y2);
          Proc(G);
        }
        P.end();
      }
      SaveTarget Out(FileName);
      if (!Out.Open(Error)) return false;
      const QByteArray Data = WithGenericFamily(Buffer.data());
      const bool Ok = Out.write(Data) == Data.size();
      return Out.Finish(Ok, QString(), Error);
    }
    case DiagramFormat::Unknown: break;
  }
  return Fail(QStringLiteral("Unbekanntes Dateiformat: %1 (.bmp, .png, .pdf oder .svg)").arg(FileName));
}

}  // namespace nodalis
