// The print dialog "Drucken": its controls, the live preview, and the print
// command end to end through the PDF-file printer (rendered with pdftoppm).
#include "graphics/windows/PrintControlU.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "graphics/draw/GDIext.h"
#include <QAction>

#include "app/core/SeriesState.h"
#include "graphics/windows/GrafikForm.h"
#include "graphics/windows/MapForm.h"
#include "tests/graphics/map_places.h"
#include "graphics/draw/SeriesDiagram.h"

namespace nodalis {
namespace {

// Time allowed for the 100 ms preview timer and for a modal dialog to come up.
constexpr int WAIT_MS = 3000;
// Resolution the printed PDF is rendered at for inspection, dots per inch.
constexpr int RENDER_DPI = 72;
// Place and size of the printed picture on the rendered page: the picture's
// 1 mm frame pen reaches 0.5 mm beyond its area, plus one render pixel.
constexpr double PLACE_TOL_MM = 0.5 + MM_PER_INCH / RENDER_DPI;

const TColor PICTURE_BLUE = RGBColor(0, 0, 255);

// The test picture: its own blue background (when the layer asks for it)
// and a black 1 mm frame along the edges of the world window.
void TestPicture(tGDIext& G) {
  G.Prepare();
  if (G.FillBackground) G.FillArea(PICTURE_BLUE);
  G.SetPenColor(RGBColor(0, 0, 0));
  G.SetPenWidthMM(1.0f);
  G.Line(G.XMin, G.YMin, G.XMax, G.YMin);
  G.Line(G.XMax, G.YMin, G.XMax, G.YMax);
  G.Line(G.XMax, G.YMax, G.XMin, G.YMax);
  G.Line(G.XMin, G.YMax, G.XMin, G.YMin);
}

// Picture at zoom 1 on screen: 180 x 255 mm.
constexpr float PIC_W_MM = 180, PIC_H_MM = 255;

// Stands for the graph window: a layer with a world window to copy.
struct SourceWindow {
  QImage Image{400, 566, QImage::Format_RGB32};
  tCanvas Canvas{&Image};
  tGDIext GDI{GDI_BITMAP_SCREEN, Canvas};
  SourceWindow() { GDI.SetWorld(-1.5f, -2.2f, 1.5f, 2.2f); }
};

int PdfIndex(const TPrintControl& D) { return D.PrnList->findText(PDF_PRINTER_NAME); }

// Runs Action as soon as the modal print dialog is up.
void WhenDialogShown(std::function<void(TPrintControl&)> Action) {
  QTimer::singleShot(0, [Action] {
    ASSERT_TRUE(QTest::qWaitFor([] { return PrintControl && PrintControl->isVisible(); }, WAIT_MS));
    Action(*PrintControl);
  });
}

class PrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    OutFile = Dir.filePath(QStringLiteral("druck.pdf"));
    if (!PrintControl) PrintControl = new TPrintControl;  // the print command's dialog
    PrintControl->PdfFileNameHook = [this](const QString&) {
      ++FileAsked;
      return OutFile;
    };
    QPrinter& P = PlatformPrinter();
    P.setOutputFormat(QPrinter::PdfFormat);
    P.setPageSize(QPageSize(QPageSize::A4));
    P.setPageOrientation(QPageLayout::Portrait);
    P.setCopyCount(1);
  }
  void TearDown() override {
    PrintControl->PdfFileNameHook = nullptr;
    PrintControl->PrinterSetupHook = nullptr;
  }

  bool Print(bool PageScale, bool Proportional, float MarginMM = 25) {
    PrintJobSource S;
    S.GDI = &Source.GDI;
    S.DrawProc = TestPicture;
    S.Caption = QStringLiteral("Nodalis  136");
    S.WidthMM = PIC_W_MM;
    S.HeightMM = PIC_H_MM;
    S.LeftMarginMM = MarginMM;
    S.PageScale = PageScale;
    S.Proportional = Proportional;
    return PrintPicture(S);
  }

  // The dialog on its own, shown with the test picture.
  void ShowWithPicture(TPrintControl& D) {
    D.PictureWidthMM = PIC_W_MM;
    D.PictureHeightMM = PIC_H_MM;
    D.SetPrintSource(&Source.GDI, TestPicture);
    D.show();
  }

  SourceWindow Source;
  QTemporaryDir Dir;
  QString OutFile;
  int FileAsked = 0;
};

// --- the dialog on its own -------------------------------------------------

TEST_F(PrintTest, DialogOffersEveryControlWithItsCaption) {
  TPrintControl D;
  EXPECT_EQ(D.windowTitle(), QStringLiteral("Drucken"));
  const std::pair<const char*, const char*> Captions[] = {
      {"HochChk", "&Hochformat"},     {"QuerChk", "&Querformat"},
      {"PrnSettingsBtn", "&Eigenschaften"}, {"FontBtn", "&Schriftart:"},
      {"PrintBackgroundChk", "Hinter&grund drucken"}, {"OKBtn", "&OK"},
      {"CancelBtn", "A&bbruch"},      {"allesChk", "&alles"},
      {"MarkierungChk", "&Markierung"}, {"PageScaleChk", "Auf Seitengröße skalieren"},
      {"ProportionalChk", "Proportional"}};
  for (auto [Name, Caption] : Captions) {
    auto* B = D.findChild<QAbstractButton*>(QLatin1String(Name));
    ASSERT_NE(B, nullptr) << Name;
    EXPECT_EQ(B->text(), QString::fromUtf8(Caption)) << Name;
  }
  EXPECT_EQ(D.findChild<QGroupBox*>("PreviewBox")->title(), QStringLiteral("Druckvorschau"));
  EXPECT_EQ(D.findChild<QLabel*>("PrinterFont")->text(), QStringLiteral("Standard"));
  EXPECT_EQ(D.findChild<QLineEdit*>("LinkerRandEdit")->text(), QStringLiteral("15"));
  EXPECT_TRUE(D.HochChk->isChecked());
  EXPECT_TRUE(D.allesChk->isChecked());
  EXPECT_TRUE(D.PrintBackgroundChk->isHidden());
  EXPECT_FALSE(D.HasSource);
  EXPECT_EQ(D.LeftMarginMM, 15.0f);
  EXPECT_EQ(D.Timer1->interval(), 100);
  EXPECT_TRUE(D.Timer1->isSingleShot());
  // The PDF-file printer is always offered, after the system's printers.
  EXPECT_EQ(PdfIndex(D), D.PrnList->count() - 1);
}

TEST_F(PrintTest, CopiesStayWithinOneToTenThousandWhateverIsTyped) {
  TPrintControl D;
  D.show();
  auto* Copies = D.findChild<QSpinBox*>("SelCopies");
  for (const char* Typed : {"0", "99999", "abc", "-3", "12x"}) {
    Copies->setValue(7);
    Copies->selectAll();
    QTest::keyClicks(Copies, QLatin1String(Typed));
    Copies->interpretText();
    EXPECT_GE(Copies->value(), 1) << "typed " << Typed;
    EXPECT_LE(Copies->value(), 10000) << "typed " << Typed;
  }
  D.hide();
}

TEST_F(PrintTest, WithoutPictureThePreviewPartIsCutOff) {
  TPrintControl D;
  D.show();
  EXPECT_TRUE(D.PreviewBox->isHidden());
  EXPECT_EQ(D.height(), D.PreviewBox->y());
  D.reject();
}

// --- preview ---------------------------------------------------------------

TEST_F(PrintTest, PreviewFollowsOrientationMarginAndBackground) {
  TPrintControl D;
  D.PictureWidthMM = PIC_W_MM;
  D.PictureHeightMM = PIC_H_MM;
  D.LeftMarginMM = 25;
  D.PageScaleChk->setChecked(true);
  D.ProportionalChk->setChecked(true);
  D.PrintBackgroundChk->show();
  D.SetPrintSource(&Source.GDI, TestPicture);
  D.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return D.PreviewDrawCount() >= 1; }, WAIT_MS));
  EXPECT_TRUE(D.PreviewBox->isVisible());
  EXPECT_EQ(D.height(), 490);
  EXPECT_EQ(D.LinkerRandEdit->text(), QStringLiteral("25.0"));

  // Portrait: 160 px wide, placed by the preview box and the printer group.
  const QRect Page = D.Label1->geometry();
  EXPECT_EQ(Page.width(), 160);
  EXPECT_GT(Page.height(), 160);
  EXPECT_EQ(Page.top(), (D.PreviewBox->height() - 28 - Page.height()) / 2 + 18);
  EXPECT_EQ(Page.left(), (D.GroupBox1->width() - 160) / 2);
  EXPECT_LT(D.PreviewGDI->PaperWidthMM, D.PreviewGDI->PaperHeightMM);
  // Picture fitted to the portrait page, proportions kept.
  EXPECT_NEAR(D.PreviewGDI->PrintWidthMM, D.PreviewGDI->PaperWidthMM - 25, 1e-3);
  EXPECT_NEAR(D.PreviewGDI->PrintWidthMM / PIC_W_MM, D.PreviewGDI->PrintHeightMM / PIC_H_MM, 1e-5);

  // Landscape: 160 px high, paper turned, the picture limited by the height.
  QTest::mouseClick(D.QuerChk, Qt::LeftButton);
  EXPECT_EQ(D.Label1->height(), 160);
  EXPECT_GT(D.Label1->width(), 160);
  EXPECT_GT(D.PreviewGDI->PaperWidthMM, D.PreviewGDI->PaperHeightMM);
  EXPECT_NEAR(D.PreviewGDI->PrintHeightMM, D.PreviewGDI->PaperHeightMM - D.PreviewGDI->TopMarginMM, 1e-3);
  QTest::mouseClick(D.HochChk, Qt::LeftButton);
  EXPECT_EQ(D.Label1->width(), 160);

  // Background: white page unless ticked, then the picture's blue.
  auto BluePixels = [&] {
    const int Before = D.PreviewDrawCount();
    EXPECT_TRUE(QTest::qWaitFor([&] { return D.PreviewDrawCount() > Before; }, WAIT_MS));
    const QImage Img = D.Label1->pixmap().toImage();
    int N = 0;
    for (int Y = 0; Y < Img.height(); ++Y)
      for (int X = 0; X < Img.width(); ++X)
        if (Img.pixelColor(X, Y) == QColor(0, 0, 255)) ++N;
    return N;
  };
  D.DrawVorschau();
  EXPECT_EQ(BluePixels(), 0) << "background not ticked: white page";
  QTest::mouseClick(D.PrintBackgroundChk, Qt::LeftButton);
  const int Blue = BluePixels();
  // The picture covers about (200-25) x 248 of 200 x 287 mm of the page.
  const double PagePx = D.Label1->width() * D.Label1->height();
  EXPECT_GT(Blue, 0.5 * PagePx) << "blue pixels " << Blue << " of " << PagePx;

  // Margin without a digit: preview at 0 mm, the dialog keeps 25 mm.
  D.LinkerRandEdit->setText(QStringLiteral("abc"));
  EXPECT_EQ(D.PreviewGDI->LeftMarginMM, 0.0f);
  EXPECT_EQ(D.LeftMarginMM, 25.0f);
  D.LinkerRandEdit->setText(QStringLiteral("30,5"));
  EXPECT_EQ(D.LeftMarginMM, 30.5f);
  D.reject();
}

// On a high-resolution screen the preview page has the screen's device
// pixels: the picture is drawn at the device pixel ratio, not drawn at the
// page's size in logical pixels and enlarged. (Also run with
// QT_SCALE_FACTOR=2, where the ratio is 2.)
TEST_F(PrintTest, PreviewIsDrawnAtTheScreensPixelRatio) {
  TPrintControl D;
  D.PrintBackgroundChk->show();
  D.PrintBackgroundChk->setChecked(true);
  D.PageScaleChk->setChecked(true);
  D.ProportionalChk->setChecked(true);
  ShowWithPicture(D);
  ASSERT_TRUE(QTest::qWaitFor([&] { return D.PreviewDrawCount() >= 1; }, WAIT_MS));
  const double Ratio = D.Label1->devicePixelRatioF();
  EXPECT_EQ(Ratio, qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble());
  const QPixmap Page = D.Label1->pixmap();
  EXPECT_EQ(Page.devicePixelRatio(), Ratio);
  EXPECT_EQ(Page.size(), D.Label1->size() * Ratio) << "device pixels of the page";
  // The picture fills its part of the page at that resolution.
  const QImage Img = Page.toImage();
  int Blue = 0;
  for (int Y = 0; Y < Img.height(); ++Y)
    for (int X = 0; X < Img.width(); ++X)
      if (Img.pixelColor(X, Y) == QColor(0, 0, 255)) ++Blue;
  EXPECT_GT(Blue, 0.5 * Img.width() * Img.height());
  D.reject();
}

TEST_F(PrintTest, RapidChangesRedrawThePreviewOnce) {
  TPrintControl D;
  ShowWithPicture(D);
  ASSERT_TRUE(QTest::qWaitFor([&] { return D.PreviewDrawCount() >= 1 && !D.Timer1->isActive(); }, WAIT_MS));
  const int Before = D.PreviewDrawCount();
  QTest::mouseClick(D.PageScaleChk, Qt::LeftButton);
  QTest::keyClicks(D.LinkerRandEdit, QStringLiteral("2"));
  QTest::mouseClick(D.QuerChk, Qt::LeftButton);
  EXPECT_EQ(D.PreviewDrawCount(), Before) << "drawn only after the 100 ms pause";
  ASSERT_TRUE(QTest::qWaitFor([&] { return !D.Timer1->isActive(); }, WAIT_MS));
  EXPECT_EQ(D.PreviewDrawCount(), Before + 1);
  // Proportional can be changed only while scaling to the page.
  EXPECT_EQ(D.ProportionalChk->isEnabled(), D.PageScaleChk->isChecked());
  D.reject();
}

TEST_F(PrintTest, FontAndPrinterSetUpDialogsFeedBackIntoTheDialog) {
  TPrintControl D;
  ShowWithPicture(D);
  D.FontDialogHook = [](QFont& F) {
    F = QFont(QStringLiteral("DejaVu Serif"), 12);
    return true;
  };
  QTest::mouseClick(D.FontBtn, Qt::LeftButton);
  EXPECT_EQ(D.PrinterFont->text(), QFont(QStringLiteral("DejaVu Serif")).family() + QStringLiteral("  12"));
  D.FontDialogHook = [](QFont& F) {
    F = QFont(QStringLiteral("Courier"), 30);
    return false;  // cancelled
  };
  QTest::mouseClick(D.FontBtn, Qt::LeftButton);
  EXPECT_TRUE(D.PrinterFont->text().endsWith(QStringLiteral("  12"))) << "cancel keeps the font";

  // The set-up dialog turns the page and asks for 3 copies: the dialog
  // previews the landscape page; the PDF file keeps one copy.
  D.PrnList->setCurrentIndex(PdfIndex(D));
  D.HochChk->click();
  D.PrinterSetupHook = [](QPrinter& P) {
    EXPECT_EQ(P.outputFormat(), QPrinter::PdfFormat) << "dialog's printer applied first";
    P.setPageOrientation(QPageLayout::Landscape);
    P.setCopyCount(3);
    return true;
  };
  QTest::mouseClick(D.PrnSettingsBtn, Qt::LeftButton);
  EXPECT_TRUE(D.QuerChk->isChecked());
  EXPECT_EQ(D.SelCopies->value(), 1);
  EXPECT_FALSE(D.SelCopies->isEnabled());
  EXPECT_EQ(D.Label1->height(), 160);
  D.reject();
}

// --- the print command -------------------------------------------------------

TEST_F(PrintTest, EscapeAndCancelPrintNothing) {
  WhenDialogShown([](TPrintControl& D) { QTest::keyClick(&D, Qt::Key_Escape); });
  EXPECT_FALSE(Print(true, true));
  WhenDialogShown([](TPrintControl& D) {
    D.PrnList->setCurrentIndex(PdfIndex(D));
    QTest::mouseClick(D.CancelBtn, Qt::LeftButton);
  });
  EXPECT_FALSE(Print(true, true));
  // Escape while the margin field has the focus.
  WhenDialogShown([](TPrintControl& D) {
    D.LinkerRandEdit->setFocus();
    QTest::keyClick(D.LinkerRandEdit, Qt::Key_Escape);
  });
  EXPECT_FALSE(Print(true, true));
  EXPECT_EQ(FileAsked, 0);
  EXPECT_FALSE(QFile::exists(OutFile));
  // Closing restores the controls only the print command changes.
  EXPECT_TRUE(PrintControl->MarkierungChk->isEnabled());
  EXPECT_TRUE(PrintControl->PrintBackgroundChk->isHidden());
}

// Where the picture landed on a rendered page.
struct RenderedPage {
  int Pages = 0;
  QSizeF SizePt;       // page size from pdfinfo, points
  QImage Image;        // page 1 at RENDER_DPI
  QRect Ink;           // bounding box of non-white pixels
  int BluePixels = 0;  // pixels of the picture's background colour
};

RenderedPage Render(const QString& Pdf, const QString& Dir) {
  RenderedPage R;
  QProcess Info;
  Info.start(QStringLiteral("pdfinfo"), {Pdf});
  Info.waitForFinished(WAIT_MS);
  for (const QString& Line : QString::fromUtf8(Info.readAllStandardOutput()).split('\n')) {
    const QStringList W = Line.simplified().split(' ');
    if (Line.startsWith(QStringLiteral("Pages:")) && W.size() > 1) R.Pages = W[1].toInt();
    if (Line.startsWith(QStringLiteral("Page size:")) && W.size() > 4)
      R.SizePt = QSizeF(W[2].toDouble(), W[4].toDouble());
  }
  const QString Prefix = QDir(Dir).filePath(QStringLiteral("seite"));
  QProcess::execute(QStringLiteral("pdftoppm"),
                    {QStringLiteral("-r"), QString::number(RENDER_DPI), QStringLiteral("-png"),
                     QStringLiteral("-singlefile"), Pdf, Prefix});
  R.Image = QImage(Prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
  for (int Y = 0; Y < R.Image.height(); ++Y)
    for (int X = 0; X < R.Image.width(); ++X) {
      const QColor C = R.Image.pixelColor(X, Y);
      if (C.red() > 240 && C.green() > 240 && C.blue() > 240) continue;
      R.Ink |= QRect(X, Y, 1, 1);
      if (C.blue() > 200 && C.red() < 100 && C.green() < 100) ++R.BluePixels;
    }
  return R;
}

bool HavePoppler() {
  return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty() &&
         !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

// Expected picture rectangle on the page in mm, from the printable area's
// corner, the margins and the print size.
void ExpectPicture(const RenderedPage& R, QRectF WantMM) {
  const QRectF Got(R.Ink.left() * MM_PER_INCH / RENDER_DPI, R.Ink.top() * MM_PER_INCH / RENDER_DPI,
                   (R.Ink.width()) * MM_PER_INCH / RENDER_DPI, R.Ink.height() * MM_PER_INCH / RENDER_DPI);
  EXPECT_NEAR(Got.left(), WantMM.left(), PLACE_TOL_MM) << "left edge, mm";
  EXPECT_NEAR(Got.top(), WantMM.top(), PLACE_TOL_MM) << "top edge, mm";
  EXPECT_NEAR(Got.width(), WantMM.width() + 1.0, PLACE_TOL_MM) << "width, mm (frame pen 1 mm)";
  EXPECT_NEAR(Got.height(), WantMM.height() + 1.0, PLACE_TOL_MM) << "height, mm (frame pen 1 mm)";
}

// A4 in points (1 pt = 1/72 inch).
constexpr double A4_W_PT = 595.276, A4_H_PT = 841.89, PT_TOL = 0.5;

TEST_F(PrintTest, PdfPageScaledToFitWithBackground) {
  if (!HavePoppler()) GTEST_SKIP() << "pdftoppm/pdfinfo not installed";
  WhenDialogShown([](TPrintControl& D) {
    D.PrnList->setCurrentIndex(PdfIndex(D));
    D.HochChk->click();
    D.PrintBackgroundChk->setChecked(false);
    QTest::mouseClick(D.PrintBackgroundChk, Qt::LeftButton);
    QTest::keyClick(D.LinkerRandEdit, Qt::Key_Return);  // Enter means OK
  });
  ASSERT_TRUE(Print(true, true));
  EXPECT_EQ(FileAsked, 1);
  ASSERT_TRUE(QFile::exists(OutFile));
  EXPECT_EQ(PlatformPrinter().docName(), QStringLiteral("Nodalis  136"));
  const RenderedPage R = Render(OutFile, Dir.path());
  EXPECT_EQ(R.Pages, 1);
  EXPECT_NEAR(R.SizePt.width(), A4_W_PT, PT_TOL) << "got " << R.SizePt.width() << " pt";
  EXPECT_NEAR(R.SizePt.height(), A4_H_PT, PT_TOL) << "got " << R.SizePt.height() << " pt";

  // Printable area of the page and the picture fitted into it.
  const QRectF Area = PlatformPrinter().pageLayout().paintRect(QPageLayout::Millimeter);
  const double F = std::min((Area.width() - 25) / PIC_W_MM, (Area.height() - 15) / PIC_H_MM);
  const QRectF Want(Area.left() + 25, Area.top() + 15, PIC_W_MM * F, PIC_H_MM * F);
  ExpectPicture(R, Want);
  // The picture's background fills its area (less the frame).
  const double AreaPx = (Want.width() - 1) * (Want.height() - 1) * std::pow(RENDER_DPI / MM_PER_INCH, 2);
  EXPECT_GT(R.BluePixels, 0.95 * AreaPx) << "blue " << R.BluePixels << " want about " << AreaPx;
}

// Paper chosen in the printer set-up ("Eigenschaften", here A5) is what the
// preview shows and what the page is: the picture scaled to fit lies wholly
// on the A5 page.
TEST_F(PrintTest, PaperFromPrinterSetUpReachesPreviewAndPage) {
  if (!HavePoppler()) GTEST_SKIP() << "pdftoppm/pdfinfo not installed";
  PrintControl->PrinterSetupHook = [](QPrinter& P) {
    P.setPageSize(QPageSize(QPageSize::A5));
    return true;
  };
  float PreviewW = 0, PreviewH = 0;
  WhenDialogShown([&](TPrintControl& D) {
    D.PrnList->setCurrentIndex(PdfIndex(D));
    D.HochChk->click();
    QTest::mouseClick(D.PrnSettingsBtn, Qt::LeftButton);
    PreviewW = D.PreviewGDI->PaperWidthMM;
    PreviewH = D.PreviewGDI->PaperHeightMM;
    QTest::mouseClick(D.OKBtn, Qt::LeftButton);
  });
  const bool Printed = Print(true, true);
  ASSERT_TRUE(Printed);
  const QRectF Area = PlatformPrinter().pageLayout().paintRect(QPageLayout::Millimeter);
  EXPECT_NEAR(PreviewW, Area.width(), 1.0) << "preview page width, mm";
  EXPECT_NEAR(PreviewH, Area.height(), 1.0) << "preview page height, mm";
  const RenderedPage R = Render(OutFile, Dir.path());
  constexpr double A5_W_PT = 419.528, A5_H_PT = 595.276;
  EXPECT_NEAR(R.SizePt.width(), A5_W_PT, PT_TOL);
  EXPECT_NEAR(R.SizePt.height(), A5_H_PT, PT_TOL);
  const double F = std::min((Area.width() - 25) / PIC_W_MM, (Area.height() - 15) / PIC_H_MM);
  ExpectPicture(R, QRectF(Area.left() + 25, Area.top() + 15, PIC_W_MM * F, PIC_H_MM * F));
}

// Copies belong to a printer: for the PDF file the box is off and shows 1;
// a printer of the system gets the number back.
TEST_F(PrintTest, PdfFileHasNoCopies) {
  TPrintControl D;
  D.show();
  D.PrnList->setCurrentIndex(PdfIndex(D));
  EXPECT_FALSE(D.SelCopies->isEnabled());
  EXPECT_EQ(D.SelCopies->value(), 1);
  if (D.PrnList->count() > 1) {
    D.PrnList->setCurrentIndex(0);
    EXPECT_TRUE(D.SelCopies->isEnabled());
  }
  D.reject();
}

TEST_F(PrintTest, PdfPageAtScreenSizeOnWhite) {
  if (!HavePoppler()) GTEST_SKIP() << "pdftoppm/pdfinfo not installed";
  WhenDialogShown([](TPrintControl& D) {
    D.PrnList->setCurrentIndex(PdfIndex(D));
    D.PrintBackgroundChk->setChecked(false);
    D.LinkerRandEdit->setText(QStringLiteral("20"));
    D.LinkerRandEdit->setText(QStringLiteral("mm"));  // no digit: the 20 stays for printing
    QTest::mouseClick(D.OKBtn, Qt::LeftButton);
  });
  // A smaller picture so that it fits at its screen size.
  Source.GDI.SetWorld(0, 0, 1, 1);
  PrintJobSource S;
  S.GDI = &Source.GDI;
  S.DrawProc = TestPicture;
  S.WidthMM = 120;
  S.HeightMM = 90;
  S.LeftMarginMM = 25;
  S.PageScale = false;
  ASSERT_TRUE(PrintPicture(S));
  EXPECT_EQ(PlatformPrinter().docName(), QStringLiteral("Druckausgabe")) << "job title without caption";
  const RenderedPage R = Render(OutFile, Dir.path());
  EXPECT_EQ(R.Pages, 1);
  EXPECT_EQ(R.BluePixels, 0) << "background not ticked";
  const QRectF Area = PlatformPrinter().pageLayout().paintRect(QPageLayout::Millimeter);
  ExpectPicture(R, QRectF(Area.left() + 20, Area.top() + 15, 120, 90));
}

TEST_F(PrintTest, PdfLandscapeStretchedToThePage) {
  if (!HavePoppler()) GTEST_SKIP() << "pdftoppm/pdfinfo not installed";
  WhenDialogShown([](TPrintControl& D) {
    D.PrnList->setCurrentIndex(PdfIndex(D));
    QTest::mouseClick(D.QuerChk, Qt::LeftButton);
    D.PrintBackgroundChk->setChecked(false);
    QTest::mouseClick(D.OKBtn, Qt::LeftButton);
  });
  ASSERT_TRUE(Print(true, false, 10));
  const RenderedPage R = Render(OutFile, Dir.path());
  EXPECT_EQ(R.Pages, 1);
  EXPECT_NEAR(R.SizePt.width(), A4_H_PT, PT_TOL) << "landscape page";
  EXPECT_NEAR(R.SizePt.height(), A4_W_PT, PT_TOL);
  const QRectF Area = PlatformPrinter().pageLayout().paintRect(QPageLayout::Millimeter);
  ExpectPicture(R, QRectF(Area.left() + 10, Area.top() + 15, Area.width() - 10, Area.height() - 15));
  PlatformPrinter().setPageOrientation(QPageLayout::Portrait);
}

TEST_F(PrintTest, CancelledFileNamePrintsNothing) {
  PrintControl->PdfFileNameHook = [](const QString&) { return QString(); };
  WhenDialogShown([](TPrintControl& D) {
    D.PrnList->setCurrentIndex(PdfIndex(D));
    QTest::mouseClick(D.OKBtn, Qt::LeftButton);
  });
  EXPECT_FALSE(Print(true, true));
  EXPECT_FALSE(QFile::exists(OutFile));
}


// The real print path through the system's print service. Opt-in, because
// it sends a job to a printer: NODALIS_TEST_CUPS_PRINTER names a CUPS queue
// (a virtual PDF printer, see docs/testing.md, "Printing") and NODALIS_TEST_CUPS_OUTDIR
// the folder where that printer writes its PDF files.
TEST_F(PrintTest, SystemPrinterIsListedAndPrintedTo) {
  const QString Queue = qEnvironmentVariable("NODALIS_TEST_CUPS_PRINTER");
  const QString OutDir = qEnvironmentVariable("NODALIS_TEST_CUPS_OUTDIR");
  if (Queue.isEmpty() || OutDir.isEmpty() || !HavePoppler())
    GTEST_SKIP() << "set NODALIS_TEST_CUPS_PRINTER and NODALIS_TEST_CUPS_OUTDIR to print to CUPS";
  const QStringList Before = QDir(OutDir).entryList({QStringLiteral("*.pdf")}, QDir::Files);
  bool Listed = false;
  WhenDialogShown([&](TPrintControl& D) {
    const int I = D.PrnList->findText(Queue);
    Listed = I >= 0;
    if (Listed) D.PrnList->setCurrentIndex(I);
    D.HochChk->click();
    D.PrintBackgroundChk->setChecked(true);
    QTest::mouseClick(D.OKBtn, Qt::LeftButton);
  });
  const bool Printed = Print(true, true);
  ASSERT_TRUE(Listed) << Queue.toStdString() << " not in the printer list";
  ASSERT_TRUE(Printed);
  EXPECT_EQ(FileAsked, 0) << "a system printer needs no file name";
  EXPECT_EQ(PlatformPrinter().printerName(), Queue);
  // The print service converts the job and writes a new PDF file.
  QString NewFile;
  constexpr int CUPS_WAIT_MS = 30000;
  EXPECT_TRUE(QTest::qWaitFor([&] {
    for (const QString& F : QDir(OutDir).entryList({QStringLiteral("*.pdf")}, QDir::Files))
      if (!Before.contains(F)) NewFile = QDir(OutDir).filePath(F);
    return !NewFile.isEmpty() && QFileInfo(NewFile).size() > 0;
  }, CUPS_WAIT_MS)) << "no new PDF in " << OutDir.toStdString();
  if (NewFile.isEmpty()) return;
  QTest::qWait(500);  // let the backend finish writing
  const RenderedPage R = Render(NewFile, Dir.path());
  EXPECT_EQ(R.Pages, 1);
  EXPECT_GT(R.BluePixels, 0) << "background ticked: blue picture on the page";
}


// The graph window's "&Drucken": the dialog starts from the window's margin
// and ticks, and the series diagram is printed on one page, its blue
// background only when asked for.
TEST_F(PrintTest, GraphWindowPrintsTheSeriesDiagram) {
  if (!HavePoppler()) GTEST_SKIP() << "pdftoppm/pdfinfo not installed";
  SeriesList = {"2459000.000000 Start (145)",
                "2460541.500000 dT 0.000000 Gam 0.500 x 0.1000 y 0.5000 rP 0.5500 rU-0.0100 AP "
                "0.2700 AU 0.2690 incl  0.2000 Max 5 Sar 145",
                "2467126.800000 Ende"};
  ReferenceJD = 0;
  TGraphForm* Form = nullptr;
  tGDIext* GDI = nullptr;
  constexpr float W_MM = 105.8f, H_MM = 149.6f;  // the window's picture, 1 : sqrt(2)
  ShowGraph(Form, GDI, &DrawSeriesDiagram, -DIAGRAM_HALF_WIDTH, -DIAGRAM_HALF_HEIGHT,
            DIAGRAM_HALF_WIDTH, DIAGRAM_HALF_HEIGHT, W_MM, H_MM);
  Form->setWindowTitle(QStringLiteral("Nodalis  145"));
  auto* Print = Form->findChild<QAction*>(QStringLiteral("Drucken1"));
  ASSERT_NE(Print, nullptr);
  ASSERT_TRUE(Print->isEnabled());

  for (const bool Background : {false, true}) {
    bool Seen = false;
    WhenDialogShown([&](TPrintControl& D) {
      Seen = true;
      EXPECT_EQ(D.LinkerRandEdit->text(), QStringLiteral("25.0")) << "margin of the window";
      EXPECT_FALSE(D.PageScaleChk->isChecked()) << "window's Einpassen not ticked";
      EXPECT_TRUE(D.ProportionalChk->isChecked());
      EXPECT_TRUE(D.PrintBackgroundChk->isVisible());
      EXPECT_FALSE(D.MarkierungChk->isEnabled());
      EXPECT_TRUE(D.allesChk->isChecked());
      D.PrnList->setCurrentIndex(PdfIndex(D));
      D.PrintBackgroundChk->setChecked(Background);
      QTest::mouseClick(D.OKBtn, Qt::LeftButton);
    });
    QFile::remove(OutFile);
    Print->trigger();
    ASSERT_TRUE(Seen);
    ASSERT_TRUE(QFile::exists(OutFile)) << "background " << Background;
    EXPECT_EQ(PlatformPrinter().docName(), QStringLiteral("Nodalis  145"));
    const RenderedPage R = Render(OutFile, Dir.path());
    EXPECT_EQ(R.Pages, 1);
    // The diagram at its screen size, 25 mm and 15 mm into the printable area.
    const QRectF Area = PlatformPrinter().pageLayout().paintRect(QPageLayout::Millimeter);
    const double Left = R.Ink.left() * MM_PER_INCH / RENDER_DPI;
    const double Top = R.Ink.top() * MM_PER_INCH / RENDER_DPI;
    EXPECT_GE(Left, Area.left() + 25 - PLACE_TOL_MM) << "nothing left of the margin";
    EXPECT_GE(Top, Area.top() + 15 - PLACE_TOL_MM) << "nothing above the top margin";
    EXPECT_LE(R.Ink.right() * MM_PER_INCH / RENDER_DPI, Area.left() + 25 + W_MM + PLACE_TOL_MM);
    EXPECT_LE(R.Ink.bottom() * MM_PER_INCH / RENDER_DPI, Area.top() + 15 + H_MM + PLACE_TOL_MM);
    const double PicturePx = W_MM * H_MM * std::pow(RENDER_DPI / MM_PER_INCH, 2);
    if (Background) {
      // The blue background covers the whole picture.
      EXPECT_GT(R.BluePixels, 0.5 * PicturePx) << "blue " << R.BluePixels << " of " << PicturePx;
      EXPECT_NEAR(Left, Area.left() + 25, PLACE_TOL_MM);
      EXPECT_NEAR(Top, Area.top() + 15, PLACE_TOL_MM);
    } else {
      // White page; only a few strokes of the diagram are blue.
      EXPECT_LT(R.BluePixels, 0.01 * PicturePx) << "blue " << R.BluePixels << " of " << PicturePx;
    }
  }
  delete Form;
}

// The map window's "&Drucken": the dialog starts with the map fitted to the
// page, and the map of Saros 145 comes out on one page in its proportions
// (the world window's 380 x 234 degrees), its total paths in blue.
TEST_F(PrintTest, MapWindowPrintsTheMapFittedToThePage) {
  if (!HavePoppler()) GTEST_SKIP() << "pdftoppm/pdfinfo not installed";
  map_test::SeriesOf(145);
  TMapForm Form;
  Form.SeriesChanged();
  auto* Print = Form.findChild<QAction*>(QStringLiteral("MapDrucken"));
  ASSERT_NE(Print, nullptr);
  bool Seen = false;
  WhenDialogShown([&](TPrintControl& D) {
    Seen = true;
    EXPECT_TRUE(D.PageScaleChk->isChecked()) << "the map fitted to the page";
    EXPECT_TRUE(D.ProportionalChk->isChecked());
    D.PrnList->setCurrentIndex(PdfIndex(D));
    QTest::mouseClick(D.OKBtn, Qt::LeftButton);
  });
  QFile::remove(OutFile);
  Print->trigger();
  ASSERT_TRUE(Seen);
  ASSERT_TRUE(QFile::exists(OutFile));
  EXPECT_EQ(PlatformPrinter().docName(), QStringLiteral("Nodalis  Karte 145"));
  const RenderedPage R = Render(OutFile, Dir.path());
  EXPECT_EQ(R.Pages, 1);
  const QRectF Area = PlatformPrinter().pageLayout().paintRect(QPageLayout::Millimeter);
  const double WidthMM = R.Ink.width() * MM_PER_INCH / RENDER_DPI;
  const double HeightMM = R.Ink.height() * MM_PER_INCH / RENDER_DPI;
  EXPECT_GT(WidthMM, 0.7 * Area.width()) << "fitted to the page's width";
  EXPECT_LE(WidthMM, Area.width() + PLACE_TOL_MM);
  // Title to foot and labels to frame: the world window's proportion within
  // 0.05 (the labels and the title stand inside it, the white corners not).
  EXPECT_NEAR(HeightMM / WidthMM, 234.0 / 380.0, 0.05);
  EXPECT_GT(R.BluePixels, 1000) << "the total paths";
}

}  // namespace
}  // namespace nodalis
