// PrintControlU.h - the print dialog "Drucken" (TPrintControl) and printing.
//
// The dialog lets the user pick the printer (the system's printers and,
// always, a PDF-file printer), orientation, copies and left margin, choose
// whether the picture keeps its screen size in millimetres or is scaled to
// the page, and shows a live preview of the page. It knows nothing of what
// is drawn: it is handed a drawing layer and a drawing procedure and redraws
// the picture through its own preview layer (kind 1).
//
// PrintPicture runs the whole print command of a picture window: it fills
// the dialog from the window, shows it modally and, on OK, draws the picture
// once more through a printer layer (kind 2) onto one page.
//
// Printer choice, orientation and copies live in the process-wide printer
// (PlatformPrinter) and so carry over between prints.
#pragma once

#include <QDialog>
#include <QFont>
#include <QString>
#include <functional>
#include <memory>

#include "graphics/draw/GDIext.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QImage;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimer;

namespace nodalis {

// Name of the PDF-file printer in the printer list.
extern const QString PDF_PRINTER_NAME;  // "PDF-Datei"

// The program's printer: one QPrinter for the whole process.
QPrinter& PlatformPrinter();

class TPrintControl : public QDialog {
 public:
  explicit TPrintControl(QWidget* Parent = nullptr);  // FormCreate
  ~TPrintControl() override;                           // FormDestroy

  // Hands over the picture: its layer (not owned) and drawing procedure.
  // Creates the preview layer on first use and copies the world window.
  void SetPrintSource(tGDIext* Source, nodalis::DrawProc Proc);
  // Re-reads printer and orientation, sizes the preview page and starts the
  // 100 ms timer that draws the preview.
  void DrawVorschau();

  // Components.
  QGroupBox* GroupBox1;
  QLabel* DummyLabel;
  QComboBox* PrnList;
  QRadioButton* HochChk;
  QRadioButton* QuerChk;
  QPushButton* PrnSettingsBtn;
  QPushButton* FontBtn;
  QLabel* PrinterFont;
  QLabel* Label5;
  QLineEdit* LinkerRandEdit;
  QLabel* Label2;
  QCheckBox* PrintBackgroundChk;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QGroupBox* GroupBox2;
  QLabel* Label4;
  QSpinBox* SelCopies;
  QGroupBox* GroupBox3;
  QRadioButton* allesChk;
  QRadioButton* MarkierungChk;
  QGroupBox* PreviewBox;
  QLabel* Label1;  // the preview page surface
  QCheckBox* PageScaleChk;
  QCheckBox* ProportionalChk;
  QTimer* Timer1;
  QFont FontDialog1Font;  // the font dialog's font

  // Fields.
  bool HasSource = false;
  tGDIext* SourceGDI = nullptr;   // not owned
  tGDIext* PreviewGDI = nullptr;  // owned
  nodalis::DrawProc DrawProc = nullptr;
  float PictureWidthMM = 0, PictureHeightMM = 0;  // picture at zoom 1, mm
  float LeftMarginMM = 15;                        // mm

  // Test seams for the platform dialogs the print path opens: when set,
  // called in place of the dialog. The font dialog: true and Font changed
  // on OK; the printer set-up on Printer: true on OK; the file name for the
  // PDF-file printer (asked after OK): empty when cancelled.
  std::function<bool(QFont& Font)> FontDialogHook;
  std::function<bool(QPrinter& Printer)> PrinterSetupHook;
  std::function<QString(const QString& Suggested)> PdfFileNameHook;

  // Number of times the preview has been drawn (for tests and diagnostics).
  int PreviewDrawCount() const { return PreviewDraws_; }
  // Puts the printer list's choice, orientation and copies into Printer.
  void ApplyToPrinter(QPrinter& Printer) const;
  // True when the PDF-file printer is selected.
  bool PdfSelected() const;

 protected:
  void showEvent(QShowEvent* E) override;        // FormShow
  void done(int Result) override;                // FormClose
  bool eventFilter(QObject* O, QEvent* E) override;  // FormKeyPress

 private:
  void FormShow();
  void Timer1Timer();
  void OKBtnClick();
  void CancelBtnClick();
  void FontBtnClick();
  void PrnSettingsBtnClick();
  void LinkerRandEditChange();
  void ShowFont();
  void ReadPrinterIntoControls();
  void ShowCopies();
  void BuildForm();

  // The preview surface's picture and the canvas over it (declared in this
  // order so that the canvas goes first).
  std::unique_ptr<QImage> PreviewImage_;
  std::unique_ptr<tCanvas> PreviewCanvas_;
  int PreviewDraws_ = 0;
  int PrinterCopies_ = 1;  // copies of the system printer while the PDF file is chosen
};

// The dialog of the print command; created at the first print, kept after.
extern TPrintControl* PrintControl;

// A picture window's print command.
struct PrintJobSource {
  QWidget* Window = nullptr;       // parent of the dialog
  tGDIext* GDI = nullptr;          // the window's layer (world window)
  nodalis::DrawProc DrawProc = nullptr;
  QString Caption;                 // print job title; "Druckausgabe" if empty
  float WidthMM = 0, HeightMM = 0; // picture at zoom 1, mm
  float LeftMarginMM = 15;         // margin offered to the dialog, mm
  bool PageScale = false;          // window's "Einpassen" tick
  bool Proportional = true;        // window's "Proportional" tick
};
// Shows the print dialog and prints one page on OK. Returns true when a page
// was printed; false when the dialog was cancelled or the job could not be
// started (the user is told).
bool PrintPicture(const PrintJobSource& Source);

}  // namespace nodalis
