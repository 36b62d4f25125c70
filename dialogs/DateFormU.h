// DateFormU — the date and period dialog "Datum und Uhrzeit wählen".
//
// The user enters a start date and time (and, in table mode, an end date and
// a step width) either as calendar fields in the local time of the zone in
// "UTC +" or as a Julian date; both views stay in step. Times can be taken as
// dynamical time (TDT, zone 0). OK writes the time-keeping settings of TIMLIB
// (SelectedJD, EndJD, PeriodDays, StepDays, Zone, BaseZone, TableMode,
// SaveDate, DateStyle, TimesAreTDT); nothing is stored otherwise.
//
// Calendar dates use astronomical year numbering, Julian calendar before
// 1582 October 15. Julian dates are shown with six decimals.
#pragma once

#include <QDialog>
#include <QMessageBox>
#include <functional>

class QAbstractSpinBox;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace nodalis {

class ZoneSpinButton;

class TDateForm : public QDialog {
  Q_OBJECT
 public:
  explicit TDateForm(QWidget* Owner = nullptr);

  // Width with and without the end half ("&Tabelle berechnen").
  static constexpr int WIDTH_TABLE_PX = 402;
  static constexpr int WIDTH_SINGLE_PX = 208;

  // Test seam for the message boxes (the two questions and the range
  // message): when set, called with the box's text in place of the box; its
  // answer (Yes, No or Cancel) is taken for a question.
  std::function<QMessageBox::StandardButton(const QString& Text)> MessageBoxHook;

  // The dialog's widgets (named as in the window: SelTable, SaveDatChk, ...).
  QCheckBox* SelTable = nullptr;
  QCheckBox* SaveDatChk = nullptr;

  void OKBtnClick();
  void reject() override;  // Esc and the window's close button

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  // The steps of creation.
  void BuildHalf(bool start);
  void BuildStepFields();
  void BuildZoneAndFormat();
  void BuildButtons();
  // A button or box of kind T with caption, name, hint ("" for none) and place.
  template <class T>
  T* Make(const char* name, const QString& text, const QString& hint, int x, int y, int w, int h);
  // A spin edit 60 pixels wide under its label at (x, y).
  QSpinBox* LabelledSpin(const char* name, int lo, int hi, const QString& label, int x, int y);
  QSpinBox* Spin(const char* name, int lo, int hi);
  QLabel* Label(const QString& text, const char* name, int x, int y, int w, QWidget* buddy = nullptr);
  void Place(QWidget* w, int x, int y, int width, int height);

  long double ZoneValue() const;      // TZ, or 0 with TDT ticked
  bool FieldsComplete(bool start) const;
  void CalendarChanged(bool start);   // SChange / EChange
  void JDChanged(bool start);         // SJDChange / EJDChange
  void UpdateHint(bool start);
  void CalendarPicked(bool start);    // SCalChange / ECalChange
  void SummerTimeCheck();                // for the start Julian date
  void SummerTimeCheck(long double jd);  // for the instant jd (UT)
  void UpdatePeriod();
  void TabChange();
  void CalculationsChange();
  void TDTChkClick();
  void ZoneStep(int steps);
  void TZChange();
  void ComputerTime(bool start);
  void ZeroTime(int tag);
  void SelTableClick();
  void SetFormatCaptions();
  float StepFromFields() const;
  void ShowStep(long double Step);  // days, into TabD, TabH, TabM
  long double JDOf(const QLineEdit* e) const;
  void SetJDText(QLineEdit* e, long double jd);
  QMessageBox::StandardButton Ask(const QString& text);
  void Tell(const QString& text);  // a warning box with an OK button

  bool Updating = false;

  QSpinBox *SY, *SMon, *SD, *SH, *SMin, *SS;
  QSpinBox *EY, *EMon, *ED, *EH, *EMin, *ES;
  QLineEdit *SJD, *EJD, *TZ;
  QDateEdit *SCal, *ECal;
  QLabel *DatHintLabel, *DatHintLabelE, *ZeitraumLabel, *TZLabel, *Label8;
  QSpinBox *TabD, *TabH, *TabM, *Calculations;
  ZoneSpinButton* ZZSpin;
  QCheckBox *DSTChk, *AutoDSTChk, *TDTChk;
  QRadioButton *DatumklassischChk, *NewDateChk;
  QPushButton *OKBtn, *Abbruch;
};

}  // namespace nodalis
