// PrintControlU.cpp - the print dialog "Drucken" (TPrintControl) and the
// print command of a picture window. See PrintControlU.h.
#include "graphics/windows/PrintControlU.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>

#include "app/base/Utils.h"
#include "graphics/draw/PrintLayout.h"

namespace nodalis {

const QString PDF_PRINTER_NAME = QStringLiteral("PDF-Datei");

namespace {

// Delay between a change in the dialog and the preview's redrawing, ms.
constexpr int PREVIEW_DELAY_MS = 100;
// Client height of the dialog with its preview part, pixels.
constexpr int CLIENT_HEIGHT_WITH_PREVIEW_PX = 490;
constexpr int CLIENT_WIDTH_PX = 470;
constexpr int MAX_COPIES = 10000;

const QString DEFAULT_JOB_TITLE = QStringLiteral("Druckausgabe");

bool RunFontDialog(QFont& Font, QWidget* Parent) {
  bool Ok = false;
  const QFont F = QFontDialog::getFont(&Ok, Font, Parent, QStringLiteral("Schriftart"));
  if (Ok) Font = F;
  return Ok;
}

bool RunPrinterSetup(QPrinter& Printer, QWidget* Parent) {
  QPageSetupDialog Dlg(&Printer, Parent);
  return Dlg.exec() == QDialog::Accepted;
}

QString AskPdfFileName(QWidget* Parent, const QString& Suggested) {
  QFileDialog Dlg(Parent, QStringLiteral("Drucken in PDF-Datei"), Suggested,
                  QStringLiteral("PDF-Dateien (*.pdf)"));
  Dlg.setAcceptMode(QFileDialog::AcceptSave);
  Dlg.setDefaultSuffix(QStringLiteral("pdf"));
  if (Dlg.exec() != QDialog::Accepted || Dlg.selectedFiles().isEmpty()) return {};
  return Dlg.selectedFiles().first();
}

// Margin in mm as the field shows it: fixed point with one decimal.
QString MarginText(float MM) { return QString::fromStdString(RealToStr(0, 1, MM)); }

}  // namespace

QPrinter& PlatformPrinter() {
  static QPrinter Printer(QPrinter::HighResolution);
  return Printer;
}

TPrintControl* PrintControl = nullptr;

// ---------------------------------------------------------------------------
// Creation

TPrintControl::TPrintControl(QWidget* Parent) : QDialog(Parent) {
  setObjectName(QStringLiteral("PrintControl"));
  setWindowTitle(QStringLiteral("Drucken"));
  BuildForm();

  // The system's printers, then the PDF-file printer that is always there.
  for (const QString& Name : QPrinterInfo::availablePrinterNames())
    PrnList->addItem(Name, Name);
  PrnList->addItem(PDF_PRINTER_NAME, QVariant());
  HasSource = false;
  LeftMarginMM = 15;

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setSingleShot(true);
  Timer1->setInterval(PREVIEW_DELAY_MS);
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

  connect(PrnList, &QComboBox::currentIndexChanged, this, [this] {
    ShowCopies();
    DrawVorschau();
  });
  connect(HochChk, &QRadioButton::clicked, this, [this] { DrawVorschau(); });
  connect(QuerChk, &QRadioButton::clicked, this, [this] { DrawVorschau(); });
  connect(PrintBackgroundChk, &QCheckBox::clicked, this, [this] { DrawVorschau(); });
  connect(PageScaleChk, &QCheckBox::clicked, this, [this] { DrawVorschau(); });
  connect(ProportionalChk, &QCheckBox::clicked, this, [this] { DrawVorschau(); });
  connect(LinkerRandEdit, &QLineEdit::textChanged, this, [this] { LinkerRandEditChange(); });
  connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
  connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
  connect(FontBtn, &QPushButton::clicked, this, [this] { FontBtnClick(); });
  connect(PrnSettingsBtn, &QPushButton::clicked, this, [this] { PrnSettingsBtnClick(); });

  // The dialog sees key presses before its controls.
  installEventFilter(this);
  for (QWidget* W : findChildren<QWidget*>()) W->installEventFilter(this);
}

TPrintControl::~TPrintControl() {
  delete PreviewGDI;
  PreviewGDI = nullptr;
  if (PrintControl == this) PrintControl = nullptr;
}

void TPrintControl::BuildForm() {
  // A new widget named and placed.
  auto Make = [](auto* W, const char* Name, const QRect& Geometry) {
    W->setObjectName(QLatin1String(Name));
    W->setGeometry(Geometry);
    return W;
  };
  // Printer group, top left.
  GroupBox1 = Make(new QGroupBox(QStringLiteral("&Drucker"), this), "GroupBox1", {8, 8, 270, 204});
  PrnList = Make(new QComboBox(GroupBox1), "PrnList", {10, 24, 250, 26});
  DummyLabel = Make(new QLabel(QStringLiteral("&Drucker"), GroupBox1), "DummyLabel", {});
  DummyLabel->hide();
  DummyLabel->setBuddy(PrnList);
  HochChk = Make(new QRadioButton(QStringLiteral("&Hochformat"), GroupBox1),
                 "HochChk", {10, 56, 120, 22});
  HochChk->setChecked(true);
  QuerChk = Make(new QRadioButton(QStringLiteral("&Querformat"), GroupBox1),
                 "QuerChk", {136, 56, 124, 22});
  PrnSettingsBtn = Make(new QPushButton(QStringLiteral("&Eigenschaften"), GroupBox1),
                        "PrnSettingsBtn", {10, 84, 120, 28});
  FontBtn = Make(new QPushButton(QStringLiteral("&Schriftart:"), GroupBox1),
                 "FontBtn", {10, 118, 120, 28});
  PrinterFont = Make(new QLabel(QStringLiteral("Standard"), GroupBox1),
                     "PrinterFont", {136, 118, 128, 28});
  Label5 = Make(new QLabel(QStringLiteral("linker Rand"), GroupBox1), "Label5", {10, 152, 80, 26});
  LinkerRandEdit = Make(new QLineEdit(QStringLiteral("15"), GroupBox1),
                        "LinkerRandEdit", {96, 152, 64, 26});
  LinkerRandEdit->setMaxLength(32);
  Label5->setBuddy(LinkerRandEdit);
  Label2 = Make(new QLabel(QStringLiteral("mm"), GroupBox1), "Label2", {166, 152, 30, 26});
  PrintBackgroundChk = Make(new QCheckBox(QStringLiteral("Hinter&grund drucken"), GroupBox1),
                            "PrintBackgroundChk", {10, 180, 250, 22});
  PrintBackgroundChk->hide();

  // Buttons, copies and print range, top right.
  const int RX = 288, RW = CLIENT_WIDTH_PX - RX - 8;
  OKBtn = Make(new QPushButton(QStringLiteral("&OK"), this), "OKBtn", {RX, 14, RW, 28});
  OKBtn->setDefault(true);
  CancelBtn = Make(new QPushButton(QStringLiteral("A&bbruch"), this),
                   "CancelBtn", {RX, 48, RW, 28});
  GroupBox2 = Make(new QGroupBox(QStringLiteral("Kopien"), this), "GroupBox2", {RX, 84, RW, 58});
  Label4 = Make(new QLabel(QStringLiteral("An&zahl"), GroupBox2), "Label4", {10, 24, 60, 24});
  SelCopies = Make(new QSpinBox(GroupBox2), "SelCopies", {76, 22, RW - 86, 26});
  SelCopies->setRange(1, MAX_COPIES);
  SelCopies->setValue(1);
  Label4->setBuddy(SelCopies);
  GroupBox3 = Make(new QGroupBox(QStringLiteral("Druckbereich"), this),
                   "GroupBox3", {RX, 148, RW, 64});
  allesChk = Make(new QRadioButton(QStringLiteral("&alles"), GroupBox3),
                  "allesChk", {10, 20, RW - 20, 20});
  allesChk->setChecked(true);
  MarkierungChk = Make(new QRadioButton(QStringLiteral("&Markierung"), GroupBox3),
                       "MarkierungChk", {10, 40, RW - 20, 20});

  // Preview, bottom. The page surface is centred on the printer group's
  // width; the scaling ticks stand to its right.
  const int PY = 220;
  PreviewBox = Make(new QGroupBox(QStringLiteral("Druckvorschau"), this),
                    "PreviewBox",
                    {8, PY, CLIENT_WIDTH_PX - 16, CLIENT_HEIGHT_WITH_PREVIEW_PX - PY - 8});
  Label1 = Make(new QLabel(PreviewBox), "Label1", {55, 18, PREVIEW_PAGE_PX, PREVIEW_PAGE_PX});
  Label1->setAutoFillBackground(true);
  QPalette Pal = Label1->palette();
  Pal.setColor(QPalette::Window, Qt::white);
  Label1->setPalette(Pal);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The scaling ticks, right of the page.
  const QRect Tick(GroupBox1->width() + 2, 40, PreviewBox->width() - GroupBox1->width() - 6, 22);
  PageScaleChk = Make(new QCheckBox(QStringLiteral("Auf Seitengröße skalieren"), PreviewBox),
                      "PageScaleChk", Tick);
  ProportionalChk = Make(new QCheckBox(QStringLiteral("Proportional"), PreviewBox),
                         "ProportionalChk", Tick.translated(0, 26));

  FontDialog1Font = QApplication::font();
  setFixedSize(CLIENT_WIDTH_PX, CLIENT_HEIGHT_WITH_PREVIEW_PX);
}

// ---------------------------------------------------------------------------
// Printer

bool TPrintControl::PdfSelected() const {
  return PrnList->currentIndex() < 0 || !PrnList->currentData().isValid();
}

void TPrintControl::ApplyToPrinter(QPrinter& Printer) const {
  if (PdfSelected()) {
    Printer.setOutputFormat(QPrinter::PdfFormat);
  } else {
    const QString Name = PrnList->currentData().toString();
    if (Printer.outputFormat() != QPrinter::NativeFormat || Printer.printerName() != Name) {
      Printer.setOutputFileName(QString());
      Printer.setOutputFormat(QPrinter::NativeFormat);
      Printer.setPrinterName(Name);
    }
  }
  Printer.setPageOrientation(HochChk->isChecked() ? QPageLayout::Portrait : QPageLayout::Landscape);
}

// A PDF file has no copies (it is printed as often as one likes later):
// for the PDF-file printer the box shows 1 and is off; a printer of the
// system gets back the number it had.
void TPrintControl::ShowCopies() {
  const bool Pdf = PdfSelected();
  if (Pdf == !SelCopies->isEnabled()) return;
  const QSignalBlocker Block(SelCopies);
  if (Pdf) {
    PrinterCopies_ = SelCopies->value();
    SelCopies->setValue(1);
  } else {
    SelCopies->setValue(PrinterCopies_);
  }
  SelCopies->setEnabled(!Pdf);
  Label4->setEnabled(!Pdf);
}

void TPrintControl::ReadPrinterIntoControls() {
  const QPrinter& Printer = PlatformPrinter();
  const QSignalBlocker B1(PrnList), B2(HochChk), B3(QuerChk), B4(SelCopies);
  int Index = PrnList->count() - 1;  // the PDF-file printer
  if (Printer.outputFormat() == QPrinter::NativeFormat && !Printer.printerName().isEmpty()) {
    const int Found = PrnList->findData(Printer.printerName());
    if (Found >= 0) Index = Found;
  }
  PrnList->setCurrentIndex(Index);
  if (Printer.pageLayout().orientation() == QPageLayout::Landscape)
    QuerChk->setChecked(true);
  else
    HochChk->setChecked(true);
  SelCopies->setEnabled(true);
  Label4->setEnabled(true);
  SelCopies->setValue(std::clamp(Printer.copyCount(), 1, MAX_COPIES));
  ShowCopies();
}

// ---------------------------------------------------------------------------
// Showing and the preview

void TPrintControl::showEvent(QShowEvent* E) {
  QDialog::showEvent(E);
  FormShow();
}

void TPrintControl::FormShow() {
  ReadPrinterIntoControls();
  ShowFont();
  const QString Text = MarginText(LeftMarginMM);
  if (LinkerRandEdit->text() != Text)
    LinkerRandEdit->setText(Text);  // the change event follows
  PreviewBox->setVisible(HasSource);
  setFixedSize(CLIENT_WIDTH_PX, HasSource ? CLIENT_HEIGHT_WITH_PREVIEW_PX : PreviewBox->y());
  if (HasSource) DrawVorschau();
}

void TPrintControl::ShowFont() {
  PrinterFont->setText(FontDialog1Font.family() + QStringLiteral("  ") +
                       QString::number(FontDialog1Font.pointSize()));
}

void TPrintControl::SetPrintSource(tGDIext* Source, nodalis::DrawProc Proc) {
  SourceGDI = Source;
  DrawProc = Proc;
  HasSource = Source != nullptr && Proc != nullptr;
  if (!PreviewGDI) {
    PreviewImage_ = std::make_unique<QImage>(Label1->size(), QImage::Format_RGB32);
    PreviewImage_->fill(Qt::white);
    PreviewCanvas_ = std::make_unique<tCanvas>(PreviewImage_.get());
    PreviewGDI = new tGDIext(GDI_PREVIEW, *PreviewCanvas_, &PlatformPrinter());
    PreviewGDI->Owner = this;
  }
  if (Source) CopyWorld(*Source, *PreviewGDI);
}

void TPrintControl::DrawVorschau() {
  ProportionalChk->setEnabled(PageScaleChk->isChecked());
  if (!HasSource || !PreviewGDI) return;

  QPrinter& Printer = PlatformPrinter();
  const bool Portrait = HochChk->isChecked();
  ApplyToPrinter(Printer);
  // The printable page in millimetres as the printer has it now: the
  // printer set-up may have changed the paper since the layer was made.
  if (Printer.widthMM() > 0 && Printer.heightMM() > 0) {
    PreviewGDI->PaperWidthMM = float(Printer.widthMM());
    PreviewGDI->PaperHeightMM = float(Printer.heightMM());
  }

  // Page surface in the printer's proportions for this orientation.
  const PreviewPage Page = PreviewPageSurface(Printer.width(), Printer.height(), Portrait,
                                              PreviewGDI->PaperWidthMM, PreviewGDI->PaperHeightMM);
  PreviewGDI->PaperWidthMM = Page.PaperWidthMM;
  PreviewGDI->PaperHeightMM = Page.PaperHeightMM;
  Label1->setGeometry(PreviewSurfaceLeft(GroupBox1->width(), Page.WidthPx),
                      PreviewSurfaceTop(PreviewBox->height(), Page.HeightPx),
                      Page.WidthPx, Page.HeightPx);
  Label1->clear();  // the old preview disappears

  PreviewGDI->LeftMarginMM = MarginFromText(LinkerRandEdit->text().toStdString());
  PreviewGDI->FillBackground = PrintBackgroundChk->isChecked();
  const PrintSizeMM Size = PrintSizeOnPage(
      PreviewGDI->PaperWidthMM, PreviewGDI->PaperHeightMM, PreviewGDI->LeftMarginMM,
      PreviewGDI->TopMarginMM, PictureWidthMM, PictureHeightMM, PageScaleChk->isChecked(),
      ProportionalChk->isChecked());
  PreviewGDI->PrintWidthMM = Size.Width;
  PreviewGDI->PrintHeightMM = Size.Height;
  Timer1->start();
}

void TPrintControl::Timer1Timer() {
  Timer1->stop();
  if (!PreviewGDI || !DrawProc) return;
  // A fresh white page of the surface's size in device pixels (on a
  // high-resolution screen the device pixel ratio times its size, so the
  // preview is as sharp as the screen); the layer maps the whole printable
  // page onto it.
  PreviewCanvas_->End();
  const double Ratio = std::max(1.0, Label1->devicePixelRatioF());
  const QSize Device(std::max(1, RoundPx(Label1->width() * Ratio)),
                     std::max(1, RoundPx(Label1->height() * Ratio)));
  *PreviewImage_ = QImage(Device, QImage::Format_RGB32);
  PreviewImage_->fill(Qt::white);
  PreviewCanvas_->SetDevice(PreviewImage_.get());
  DrawProc(*PreviewGDI);
  PreviewCanvas_->End();
  QPixmap Page = QPixmap::fromImage(*PreviewImage_);
  Page.setDevicePixelRatio(Ratio);
  Label1->setPixmap(Page);
  ++PreviewDraws_;
}

void TPrintControl::LinkerRandEditChange() {
  TakeMarginText(LinkerRandEdit->text().toStdString(), LeftMarginMM);
  DrawVorschau();
}

// ---------------------------------------------------------------------------
// Buttons, keys and closing

void TPrintControl::OKBtnClick() {
  QPrinter& Printer = PlatformPrinter();
  ApplyToPrinter(Printer);
  Printer.setCopyCount(SelCopies->value());
  if (Printer.docName().isEmpty()) Printer.setDocName(DEFAULT_JOB_TITLE);
  accept();
}

void TPrintControl::CancelBtnClick() { reject(); }

void TPrintControl::FontBtnClick() {
  QFont F = FontDialog1Font;
  if (FontDialogHook ? FontDialogHook(F) : RunFontDialog(F, this)) {
    FontDialog1Font = F;
    ShowFont();
  }
}

void TPrintControl::PrnSettingsBtnClick() {
  QPrinter& Printer = PlatformPrinter();
  ApplyToPrinter(Printer);
  Printer.setCopyCount(SelCopies->value());
  // Orientation and copies chosen in the set-up dialog are taken back, so
  // that the preview and the print use them.
  if (PrinterSetupHook ? PrinterSetupHook(Printer) : RunPrinterSetup(Printer, this))
    ReadPrinterIntoControls();
  DrawVorschau();
}

bool TPrintControl::eventFilter(QObject* O, QEvent* E) {
  if (E->type() == QEvent::KeyPress && !QApplication::activePopupWidget()) {
    const int Key = static_cast<QKeyEvent*>(E)->key();
    if (Key == Qt::Key_Return || Key == Qt::Key_Enter) {
      OKBtnClick();
      return true;
    }
    if (Key == Qt::Key_Escape) {
      reject();
      return true;
    }
  }
  return QDialog::eventFilter(O, E);
}

void TPrintControl::done(int Result) {
  Timer1->stop();
  MarkierungChk->setEnabled(true);
  PrintBackgroundChk->hide();
  QDialog::done(Result);
}

// ---------------------------------------------------------------------------
// The print command

bool PrintPicture(const PrintJobSource& Source) {
  if (!Source.GDI || !Source.DrawProc) return false;
  if (!PrintControl) PrintControl = new TPrintControl(Source.Window);
  TPrintControl& D = *PrintControl;
  D.allesChk->setChecked(true);
  D.PrintBackgroundChk->show();
  D.MarkierungChk->setEnabled(false);  // there is no partial print
  D.LeftMarginMM = Source.LeftMarginMM;
  D.PageScaleChk->setChecked(Source.PageScale);
  D.ProportionalChk->setChecked(Source.Proportional);
  D.PictureWidthMM = Source.WidthMM;
  D.PictureHeightMM = Source.HeightMM;
  D.SetPrintSource(Source.GDI, Source.DrawProc);
  if (D.exec() != QDialog::Accepted) return false;

  QPrinter& Printer = PlatformPrinter();
  Printer.setDocName(Source.Caption.isEmpty() ? DEFAULT_JOB_TITLE : Source.Caption);
  if (D.PdfSelected()) {
    const QString Suggested = Printer.docName().simplified() + QStringLiteral(".pdf");
    const QString File = D.PdfFileNameHook ? D.PdfFileNameHook(Suggested)
                                           : AskPdfFileName(Source.Window, Suggested);
    if (File.isEmpty()) return false;
    Printer.setOutputFormat(QPrinter::PdfFormat);
    Printer.setOutputFileName(File);
  }

  QPainter Painter;
  if (!Painter.begin(&Printer)) {
    QMessageBox::warning(Source.Window, QStringLiteral("Drucken"),
                         QStringLiteral("Der Druckauftrag konnte nicht begonnen werden."));
    return false;
  }
  {
    tCanvas Canvas(&Printer, &Painter);
    tGDIext P(GDI_PRINTER, Canvas, &Printer);
    P.Owner = &Printer;
    CopyWorld(*Source.GDI, P);
    P.LeftMarginMM = D.LeftMarginMM;
    P.FillBackground = D.PrintBackgroundChk->isChecked();
    P.PrintWidthMM = Source.WidthMM;
    P.PrintHeightMM = Source.HeightMM;
    if (D.PageScaleChk->isChecked()) {
      const PrintSizeMM Size = PrintSizeOnPage(
          static_cast<float>(DeviceWidthMM(Canvas)), static_cast<float>(DeviceHeightMM(Canvas)),
          P.LeftMarginMM, P.TopMarginMM, Source.WidthMM, Source.HeightMM, true,
          D.ProportionalChk->isChecked());
      P.PrintWidthMM = Size.Width;
      P.PrintHeightMM = Size.Height;
    }
    Source.DrawProc(P);
  }
  Painter.end();
  return true;
}

}  // namespace nodalis
