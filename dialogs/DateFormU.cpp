// DateFormU — the date and period dialog. See DateFormU.h.
#include "dialogs/DateFormU.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>
#include <climits>
#include <cmath>

#include "astro/TIMLIB.h"
#include "app/qt/QtText.h"
#include "app/base/Utils.h"

namespace nodalis {

namespace {

constexpr long double HOURS_PER_DAY = 24.0L;
// Years the calendar fields accept: the range of supported Julian dates.
constexpr int YEAR_MIN = -10000;
constexpr int YEAR_MAX = 17000;
// From this year on the drop-down calendar stands in for the hint.
constexpr int PICKER_FIRST_YEAR = 1900;
constexpr int PICKER_LAST_YEAR = 9999;
// JD of 1582 October 15 0h less a tenth of a day: the Gregorian hint starts.
constexpr long double GREGORIAN_HINT_JD = 2299160.9L;
// Limits of "changed" in the close question: JD in days, zone in hours,
// step in days.
constexpr long double JD_CHANGE_DAYS = 0.0001L;
constexpr long double ZONE_CHANGE_HOURS = 0.01L;
constexpr long double STEP_CHANGE_DAYS = 0.001L;

// The hint for a Julian date outside the supported range, short enough for
// two lines of the hint label; the full text is its tooltip.
QString RangeHint() {
  return QStringLiteral("Nur Julianische Daten von\n%1 bis %2")
      .arg(QString::fromLatin1(ShortRealToStr(MIN_SUPPORTED_JD).c_str()),
           QString::fromLatin1(ShortRealToStr(MAX_SUPPORTED_JD).c_str()));
}

long double ReadNumber(const QString& text) {
  long double v = StrToReal(Utf8ToCp1252(text.toStdString()));
  return std::isfinite(static_cast<double>(v)) ? v : 0.0L;
}

int ClampToInt(long double v, int lo, int hi) {
  if (!(v >= lo)) return lo;  // also NaN
  if (v > hi) return hi;
  return static_cast<int>(v);
}

}  // namespace

// The zone's up/down arrows without a text of their own: each step goes to
// the handler, the shown value lives in the "UTC +" edit.
class ZoneSpinButton : public QAbstractSpinBox {
 public:
  using QAbstractSpinBox::QAbstractSpinBox;
  std::function<void(int)> OnStep;
  void stepBy(int steps) override {
    if (OnStep) OnStep(steps);
  }

 protected:
  StepEnabled stepEnabled() const override {
    return isEnabled() ? (StepUpEnabled | StepDownEnabled) : StepNone;
  }
};

TDateForm::TDateForm(QWidget* Owner)
    : QDialog(Owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
  setObjectName("DateForm");
  setWindowTitle(QString::fromUtf8("Datum und Uhrzeit wählen"));
  QFont f = font();
  f.setPixelSize(11);
  setFont(f);
  BuildHalf(true);
  BuildHalf(false);
  BuildStepFields();
  BuildZoneAndFormat();
  BuildButtons();
  setFixedSize(WIDTH_SINGLE_PX, 448);
  setTabOrder(SY, SMon);
}

// The start half (left) or the end half (right): date and time fields, the
// "= 0" buttons, the Julian date, the drop-down calendar or its hint, and
// the computer-time buttons.
void TDateForm::BuildHalf(bool start) {
  const int x = start ? 0 : 200;
  QLabel* head = Label(start ? "Start Berechnung" : "Ende Berechnung", start ? "StartLab" : "EndLab",
                       x + 8, 6, 188, nullptr);
  QFont hf = head->font();
  hf.setBold(true);
  head->setFont(hf);

  QSpinBox* fields[] = {
      LabelledSpin(start ? "SY" : "EY", YEAR_MIN, YEAR_MAX, start ? "&Jahr" : "Jah&r", x + 8, 24),
      LabelledSpin(start ? "SMon" : "EMon", 1, 12, start ? "&Monat" : "Monat", x + 72, 24),
      LabelledSpin(start ? "SD" : "ED", 1, 31, "Tag", x + 136, 24),
      LabelledSpin(start ? "SH" : "EH", 0, 23, start ? "Stu&nde" : "Stun&de", x + 8, 66),
      LabelledSpin(start ? "SMin" : "EMin", 0, 59, "Minute", x + 72, 66),
      LabelledSpin(start ? "SS" : "ES", 0, 60, "Sekunde", x + 136, 66)};
  for (QSpinBox* sb : fields)
    connect(sb, &QSpinBox::textChanged, this, [this, start] { CalendarChanged(start); });

  const char* zeroNames[2][3] = {{"RSH", "RSM", "RSS"}, {"ESH", "ESM", "ESS"}};
  const char* zeroHints[3] = {"Zeit auf Null stellen", "Minuten und Sekunden auf Null stellen",
                              "Sekunden auf Null stellen"};
  for (int i = 0; i < 3; ++i) {
    const int tag = (start ? 1 : 4) + i;
    auto* b = Make<QPushButton>(zeroNames[start ? 0 : 1][i], "= 0", zeroHints[i], x + 8 + 64 * i, 108, 60, 22);
    b->setProperty("tag", tag);
    connect(b, &QPushButton::clicked, this, [this, tag] { ZeroTime(tag); });
  }

  auto* jd = new QLineEdit(this);
  jd->setObjectName(start ? "SJD" : "EJD");
  if (start) jd->setToolTip("Tage seit dem 1. Jan. 4713 12 Uhr Weltzeit");
  Label(start ? "Ju&lianisches Datum" : "Julianisches Datum", nullptr, x + 8, 136, 188, jd);
  Place(jd, x + 8, 152, 188, 22);
  connect(jd, &QLineEdit::textChanged, this, [this, start] { JDChanged(start); });

  auto* cal = new QDateEdit(this);
  cal->setObjectName(start ? "SCal" : "ECal");
  cal->setCalendarPopup(true);
  cal->setDisplayFormat("dd.MM.yyyy");
  cal->setDateRange(QDate(PICKER_FIRST_YEAR, 1, 1), QDate(PICKER_LAST_YEAR, 12, 31));
  Place(cal, x + 8, 178, 120, 22);
  connect(cal, &QDateEdit::dateChanged, this, [this, start] { CalendarPicked(start); });
  // Two lines high: the range hint needs both.
  auto* hint = new QLabel(this);
  hint->setObjectName(start ? "DatHintLabel" : "DatHintLabelE");
  hint->setWordWrap(true);
  hint->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Place(hint, x + 8, 176, 188, 30);

  auto* now = start ? Make<QPushButton>("SST", "&Computerzeit", "Zeit und Datum auf aktuelle Systemzeit stellen",
                                        x + 8, 208, 188, 24)
                    : Make<QPushButton>("EST", "Com&puterzeit", "", x + 8, 208, 92, 24);
  connect(now, &QPushButton::clicked, this, [this, start] { ComputerTime(start); });
  if (!start) {
    auto* fromStart = Make<QPushButton>("EStart", "= &Startzeit", QString::fromUtf8("Startzeit übernehmen"),
                                        x + 104, 208, 92, 24);
    connect(fromStart, &QPushButton::clicked, this, [this] { EJD->setText(SJD->text()); });
  }

  (start ? SY : EY) = fields[0];
  (start ? SMon : EMon) = fields[1];
  (start ? SD : ED) = fields[2];
  (start ? SH : EH) = fields[3];
  (start ? SMin : EMin) = fields[4];
  (start ? SS : ES) = fields[5];
  (start ? SJD : EJD) = jd;
  (start ? SCal : ECal) = cal;
  (start ? DatHintLabel : DatHintLabelE) = hint;
}

// Step width and number of calculations (end half).
void TDateForm::BuildStepFields() {
  QLabel* stepLab = Label("Schritt&weite", "StepLab", 208, 238, 188, nullptr);
  TabD = LabelledSpin("TabD", 0, 999999, "Tage", 208, 254);
  TabH = LabelledSpin("TabH", 0, 24, "Stunden", 272, 254);
  TabM = LabelledSpin("TabM", 0, 60, "Minuten", 336, 254);
  stepLab->setBuddy(TabD);
  Calculations = Spin("Calculations", INT_MIN + 1, INT_MAX);
  Label("&Berechnungen:", nullptr, 208, 302, 90, Calculations);
  Place(Calculations, 300, 300, 96, 22);
  ZeitraumLabel = Label("", "ZeitraumLabel", 208, 328, 188, nullptr);
  for (QSpinBox* sb : {TabD, TabH, TabM})
    connect(sb, &QSpinBox::textChanged, this, [this] { TabChange(); });
  connect(Calculations, &QSpinBox::textChanged, this, [this] { CalculationsChange(); });
}

// Zone, summer time, TDT, date format and the two period boxes (start half).
void TDateForm::BuildZoneAndFormat() {
  TZ = new QLineEdit("0", this);
  TZ->setObjectName("TZ");
  TZ->setToolTip("Zeitzone, UTC ist Welzeit, MEZ ist 1 MESZ ist 2 etc.");
  Label8 = Label("&UTC +", "Label8", 8, 240, 40, TZ);
  Place(TZ, 50, 238, 50, 22);
  ZZSpin = new ZoneSpinButton(this);
  ZZSpin->setObjectName("ZZSpin");
  ZZSpin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  ZZSpin->setReadOnly(true);
  ZZSpin->OnStep = [this](int steps) { ZoneStep(steps); };
  Place(ZZSpin, 102, 238, 20, 22);
  TZLabel = Label("", "TZLabel", 128, 240, 68, nullptr);
  connect(TZ, &QLineEdit::textChanged, this, [this] { TZChange(); });

  DSTChk = Make<QCheckBox>("DSTChk", "Sommer&zeit", "Die eingegebene Zeit ist Sommerzeit", 8, 266, 92, 20);
  AutoDSTChk = Make<QCheckBox>("AutoDSTChk", "&automatisch", "Sommerzeit automatisch umschalten", 102,
                               266, 96, 20);
  AutoDSTChk->setChecked(true);
  TDTChk = Make<QCheckBox>(
      "TDTChk", "TDT Ephemeridenzeit",
      QString::fromUtf8("TDT (Dynamische Zeit), Ephemeridenzeit. Vernachlässigt ungleichförmige Erdrotation"),
      8, 290, 188, 20);
  connect(TDTChk, &QCheckBox::clicked, this, [this] { TDTChkClick(); });
  // Ticked, the zone follows the start date at once.
  connect(AutoDSTChk, &QCheckBox::clicked, this, [this](bool on) {
    if (on) JDChanged(true);
  });

  DatumklassischChk = Make<QRadioButton>("DatumklassischChk", "Datumsformat klassisch",
                                         "Format Tag.Monat.Jahr", 8, 316, 188, 20);
  DatumklassischChk->setChecked(true);
  NewDateChk = Make<QRadioButton>("NewDateChk", "Datumsformat Neu", "Format Jahr-Monat-Tag", 8, 338, 188, 20);

  SelTable = Make<QCheckBox>("SelTable", "&Tabelle berechnen", "", 8, 364, 188, 20);
  connect(SelTable, &QCheckBox::clicked, this, [this] { SelTableClick(); });
  SaveDatChk = Make<QCheckBox>("SaveDatChk", "Datum speichern", "", 8, 386, 188, 20);
}

void TDateForm::BuildButtons() {
  OKBtn = Make<QPushButton>("OKBtn", "&OK !", "", 8, 414, 92, 26);
  OKBtn->setDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
  Abbruch = Make<QPushButton>("Abbruch", "&Abbruch", "", 104, 414, 92, 26);
  connect(Abbruch, &QPushButton::clicked, this, [this] { reject(); });
}

template <class T>
T* TDateForm::Make(const char* name, const QString& text, const QString& hint, int x, int y, int w, int h) {
  auto* b = new T(text, this);
  b->setObjectName(name);
  if (!hint.isEmpty()) b->setToolTip(hint);
  Place(b, x, y, w, h);
  return b;
}

QSpinBox* TDateForm::LabelledSpin(const char* name, int lo, int hi, const QString& label, int x, int y) {
  QSpinBox* s = Spin(name, lo, hi);
  Label(label, nullptr, x, y, 60, s);
  Place(s, x, y + 16, 60, 22);
  return s;
}

QSpinBox* TDateForm::Spin(const char* name, int lo, int hi) {
  auto* s = new QSpinBox(this);
  s->setObjectName(name);
  s->setRange(lo, hi);
  s->setKeyboardTracking(true);
  return s;
}

QLabel* TDateForm::Label(const QString& text, const char* name, int x, int y, int w, QWidget* buddy) {
  auto* l = new QLabel(text, this);
  if (name) l->setObjectName(name);
  if (buddy) l->setBuddy(buddy);
  Place(l, x, y, w, 16);
  return l;
}

void TDateForm::Place(QWidget* w, int x, int y, int width, int height) {
  w->setGeometry(x, y, width, height);
}

long double TDateForm::ZoneValue() const {
  return TDTChk->isChecked() ? 0.0L : ReadNumber(TZ->text());
}

long double TDateForm::JDOf(const QLineEdit* e) const { return ReadNumber(e->text()); }

void TDateForm::SetJDText(QLineEdit* e, long double jd) {
  e->setText(QString::fromLatin1(JDFieldText(jd).c_str()));
}

float TDateForm::StepFromFields() const {
  return StepDaysOf(TabD->value(), TabH->value(), TabM->value());
}

void TDateForm::ShowStep(long double Step) {
  const StepFields f = SplitStepDays(Step);
  TabD->setValue(ClampToInt(f.Days, TabD->minimum(), TabD->maximum()));
  TabH->setValue(std::clamp(f.Hours, TabH->minimum(), TabH->maximum()));
  TabM->setValue(std::clamp(f.Minutes, TabM->minimum(), TabM->maximum()));
}

bool TDateForm::FieldsComplete(bool start) const {
  QSpinBox* const startFields[] = {SY, SMon, SD, SH, SMin, SS};
  QSpinBox* const endFields[] = {EY, EMon, ED, EH, EMin, ES};
  for (QSpinBox* s : start ? startFields : endFields) {
    const QString t = s->text().trimmed();
    if (t.isEmpty() || t == "-" || t == "+" || !s->hasAcceptableInput()) return false;
  }
  return true;
}

// Calendar fields -> Julian date (local time of the zone, or TDT).
void TDateForm::CalendarChanged(bool start) {
  if (Updating || !FieldsComplete(start)) return;
  Updating = true;
  auto jdFromFields = [&] {
    const CalendarFields f{(start ? SY : EY)->value(), (start ? SMon : EMon)->value(),
                           (start ? SD : ED)->value(), (start ? SH : EH)->value(),
                           (start ? SMin : EMin)->value(), (start ? SS : ES)->value()};
    SetJDText(start ? SJD : EJD, FieldsToJD(f, ZoneValue()));
  };
  jdFromFields();
  if (start && AutoDSTChk->isChecked() && !TDTChk->isChecked()) {
    const QString before = TZ->text();
    SummerTimeCheck();
    // The entered time is now read in the switched zone.
    if (TZ->text() != before) jdFromFields();
  }
  UpdatePeriod();
  UpdateHint(start);
  Updating = false;
}

// Julian date -> calendar fields.
void TDateForm::JDChanged(bool start) {
  if (Updating) return;
  const long double jd = JDOf(start ? SJD : EJD);
  if (!JDSupported(jd)) {
    UpdateHint(start);
    return;
  }
  Updating = true;
  // With automatic summer time the zone follows the date: the Julian date
  // stays, and the fields show it in the zone the rule gives for it.
  if (start && AutoDSTChk->isChecked() && !TDTChk->isChecked()) SummerTimeCheck();
  // To whole seconds, in the local time of the zone.
  CalendarFields f;
  JDToFields(jd + ZoneValue() / HOURS_PER_DAY, f);
  (start ? SY : EY)->setValue(f.Year);
  (start ? SMon : EMon)->setValue(f.Month);
  (start ? SD : ED)->setValue(f.Day);
  (start ? SH : EH)->setValue(f.Hour);
  (start ? SMin : EMin)->setValue(f.Minute);
  (start ? SS : ES)->setValue(f.Second);
  UpdateHint(start);
  UpdatePeriod();
  Updating = false;
}

void TDateForm::UpdateHint(bool start) {
  QLabel* hint = start ? DatHintLabel : DatHintLabelE;
  QDateEdit* cal = start ? SCal : ECal;
  const long double jd = JDOf(start ? SJD : EJD);
  if (!JDSupported(jd)) {
    cal->hide();
    hint->setText(RangeHint());
    hint->setToolTip(FromCp(JDRangeText()));
    hint->show();
    return;
  }
  hint->setToolTip(QString());
  int y = 0, m = 0;
  float d = 0;
  JDToCalendar(jd + ZoneValue() / HOURS_PER_DAY, y, m, d);
  const int yearField = (start ? SY : EY)->value();
  if (yearField < PICKER_FIRST_YEAR || y > PICKER_LAST_YEAR || y < PICKER_FIRST_YEAR) {
    cal->hide();
    if (yearField >= PICKER_FIRST_YEAR)
      hint->setText("");
    else if (jd >= GREGORIAN_HINT_JD)
      hint->setText("Gregorian. Kal. nach 15.10.1582");
    else if (y <= 0)
      hint->setText(QStringLiteral("Astron. Jahr %1 ist %2 v. Chr.").arg(y).arg(1 - y));
    else
      hint->setText("Julian. Kalender bis 04.10.1582");
    hint->show();
  } else {
    const bool wasUpdating = Updating;
    Updating = true;
    cal->setDate(QDate(y, m, static_cast<int>(d)));
    Updating = wasUpdating;
    hint->setText("");
    hint->hide();
    cal->show();
  }
}

void TDateForm::CalendarPicked(bool start) {
  if (Updating) return;
  const QDate date = (start ? SCal : ECal)->date();
  Updating = true;
  (start ? SY : EY)->setValue(date.year());
  (start ? SMon : EMon)->setValue(date.month());
  (start ? SD : ED)->setValue(date.day());
  Updating = false;
  CalendarChanged(start);
}

// Automatic summer time for the start date (European rule of TIMLIB).
void TDateForm::SummerTimeCheck() { SummerTimeCheck(JDOf(SJD)); }

void TDateForm::SummerTimeCheck(long double jd) {
  float z = static_cast<float>(ReadNumber(TZ->text()));
  const float base = DSTChk->isChecked() ? z - 1 : z;
  if (AutoSummerTime(z, base, jd)) {
    DSTChk->setChecked(!DSTChk->isChecked());
    TZ->setText(QString::fromLatin1(ShortRealToStr(z).c_str()));
  }
}

void TDateForm::UpdatePeriod() {
  const long double span = JDOf(EJD) - JDOf(SJD);
  ZeitraumLabel->setText("Zeitraum:" + QString::asprintf(" %1.4g ", static_cast<double>(span)) + "Tage");
  const bool wasUpdating = Updating;
  Updating = true;
  Calculations->setValue(ClampToInt(CalculationCount(span, StepFromFields()), Calculations->minimum(),
                                    Calculations->maximum()));
  Updating = wasUpdating;
}

void TDateForm::TabChange() {
  if (Updating) return;
  if (TabD->text().isEmpty() || TabH->text().isEmpty() || TabM->text().isEmpty()) return;
  Updating = true;
  UpdatePeriod();
  Updating = false;
}

void TDateForm::CalculationsChange() {
  if (Updating || Calculations->text().trimmed().isEmpty()) return;
  const int n = Calculations->value();
  if (n == 0) return;  // no step width divides a period into zero parts
  const float step = static_cast<float>((JDOf(EJD) - JDOf(SJD)) / n);
  Updating = true;
  ShowStep(step);
  Updating = false;
}

void TDateForm::TDTChkClick() {
  const bool zoneOn = !TDTChk->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(TZ), static_cast<QWidget*>(ZZSpin),
                     static_cast<QWidget*>(DSTChk), static_cast<QWidget*>(AutoDSTChk),
                     static_cast<QWidget*>(Label8)})
    w->setEnabled(zoneOn);
  // The entered calendar time is now read in the other time scale.
  if (!Updating) {
    CalendarChanged(true);
    CalendarChanged(false);
  }
}

void TDateForm::ZoneStep(int steps) {
  if (!TZ->isEnabled()) return;
  long double v = ReadNumber(TZ->text());
  // Keep the zone in (-12, 12] hours.
  for (int i = 0; i < std::abs(steps); ++i) {
    v += steps > 0 ? 1 : -1;
    if (v > 12) v -= 24 * std::ceil((v - 12) / 24);
    if (v <= -12) v += 24 * (std::floor((-12 - v) / 24) + 1);
  }
  TZ->setText(QString::fromLatin1(ShortRealToStr(v).c_str()));
  CalendarChanged(true);
}

void TDateForm::TZChange() {
  TZLabel->setText(FromCp(ZoneText(1, static_cast<float>(ReadNumber(TZ->text())))));
  if (Updating || TZ->text().trimmed().isEmpty()) return;
  CalendarChanged(true);
  CalendarChanged(false);
}

// The clock's local time read in the zone shown; with automatic summer
// time on the start side, read in the zone the rule gives for that instant
// (the clock shows summer time in summer), which the fields then show.
void TDateForm::ComputerTime(bool start) {
  long double jd = NowJD(static_cast<float>(ZoneValue()));
  if (start && AutoDSTChk->isChecked() && !TDTChk->isChecked()) {
    const long double before = ReadNumber(TZ->text());
    Updating = true;
    SummerTimeCheck(jd);
    Updating = false;
    jd -= (ReadNumber(TZ->text()) - before) / HOURS_PER_DAY;
  }
  SetJDText(start ? SJD : EJD, jd);
}

void TDateForm::ZeroTime(int tag) {
  switch (tag) {
    case 1: SH->setValue(0); [[fallthrough]];
    case 2: SMin->setValue(0); [[fallthrough]];
    case 3: SS->setValue(0); break;
    case 4: EH->setValue(0); [[fallthrough]];
    case 5: EMin->setValue(0); [[fallthrough]];
    case 6: ES->setValue(0); break;
    default: return;
  }
  CalendarChanged(true);
  UpdateHint(true);
}

void TDateForm::SelTableClick() {
  TableMode = SelTable->isChecked();
  setFixedWidth(TableMode ? WIDTH_TABLE_PX : WIDTH_SINGLE_PX);
}

void TDateForm::SetFormatCaptions() {
  const long double now = NowJD(Zone);
  DatumklassischChk->setText("Datumsformat: " + FromCp(DateText(0, Zone, now)));
  NewDateChk->setText("Datumsformat: " + FromCp(DateText(1, Zone, now)));
}

void TDateForm::showEvent(QShowEvent* e) {
  Updating = true;
  TZ->setText(QString::fromLatin1(ShortRealToStr(Zone).c_str()));
  DSTChk->setChecked(Zone != BaseZone);
  ShowStep(StepDays);
  Updating = false;

  SJD->blockSignals(true);
  EJD->blockSignals(true);
  SetJDText(SJD, SelectedJD);
  SetJDText(EJD, EndJD);
  SJD->blockSignals(false);
  EJD->blockSignals(false);
  // TDT first: the fields show the time in the scale that will be stored.
  Updating = true;
  TDTChk->setChecked(TimesAreTDT);
  TDTChkClick();
  Updating = false;
  JDChanged(true);
  JDChanged(false);

  SelTable->setChecked(TableMode);
  // Without the two period boxes (the main window hides them) the buttons
  // move up into their place.
  const bool boxes = !SelTable->isHidden() || !SaveDatChk->isHidden();
  OKBtn->move(OKBtn->x(), boxes ? 414 : 366);
  Abbruch->move(Abbruch->x(), boxes ? 414 : 366);
  setFixedSize(TableMode ? WIDTH_TABLE_PX : WIDTH_SINGLE_PX, boxes ? 448 : 400);
  (DateStyle == 1 ? NewDateChk : DatumklassischChk)->setChecked(true);
  SetFormatCaptions();
  SaveDatChk->setChecked(SaveDate);
  TZLabel->setText(FromCp(ZoneText(1, static_cast<float>(ReadNumber(TZ->text())))));
  SY->setFocus();
  SY->selectAll();
  QDialog::showEvent(e);
}

void TDateForm::Tell(const QString& text) {
  if (MessageBoxHook)
    MessageBoxHook(text);
  else
    QMessageBox::warning(this, windowTitle(), text);
}

QMessageBox::StandardButton TDateForm::Ask(const QString& text) {
  if (MessageBoxHook) return MessageBoxHook(text);
  return QMessageBox::question(this, windowTitle(), text,
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                               QMessageBox::Yes);
}

void TDateForm::OKBtnClick() {
  const bool startOk = JDSupported(JDOf(SJD));
  if (!startOk || (TableMode && !JDSupported(JDOf(EJD)))) {
    // Nothing outside the supported range is stored; the dialog stays open
    // with the offending Julian date selected.
    Tell(FromCp(JDRangeText()));
    QLineEdit* jd = startOk ? EJD : SJD;
    jd->setFocus();
    jd->selectAll();
    return;
  }
  if (TableMode && JDOf(EJD) < JDOf(SJD)) {
    QMessageBox::StandardButton a =
        Ask(QString::fromUtf8("Startdatum ist später als Enddatum\r\nEnddatum   =   Startdatum setzen?"));
    if (a == QMessageBox::Cancel) return;
    if (a == QMessageBox::Yes) EJD->setText(SJD->text());
  }
  SelectedJD = JDOf(SJD);
  if (PeriodDays < 0) PeriodDays = 0;
  EndJD = TableMode ? JDOf(EJD) : SelectedJD + PeriodDays;
  Zone = static_cast<float>(ReadNumber(TZ->text()));
  StepDays = StepFromFields();
  PeriodDays = std::max(0.0L, EndJD - SelectedJD);
  BaseZone = Zone;
  TimesAreTDT = TDTChk->isChecked();
  if (TimesAreTDT)
    Zone = 0;
  else if (DSTChk->isChecked())
    BaseZone = BaseZone - 1;
  DateStyle = NewDateChk->isChecked() ? 1 : 0;
  SaveDate = SaveDatChk->isChecked();
  accept();
}

void TDateForm::reject() {
  // With automatic summer time the summer hour is the rule's, not a change
  // the user made: the zones compare without it.
  const bool ruleHour = AutoDSTChk->isChecked() && !TDTChk->isChecked();
  const long double zoneTyped = ReadNumber(TZ->text()) - (ruleHour && DSTChk->isChecked() ? 1 : 0);
  const long double zoneStored = ruleHour ? BaseZone : Zone;
  const bool zoneChanged = !TimesAreTDT && std::fabs(zoneTyped - zoneStored) > ZONE_CHANGE_HOURS;
  // A zone change below the limit moves the Julian dates by itself; that
  // alone is no change of the chosen instants.
  const long double zoneShiftDays = (!zoneChanged && !TDTChk->isChecked() && !TimesAreTDT)
                                        ? (zoneTyped - zoneStored) / HOURS_PER_DAY
                                        : 0;
  const bool changed =
      std::fabs(JDOf(SJD) + zoneShiftDays - SelectedJD) > JD_CHANGE_DAYS ||
      (SelTable->isChecked() && std::fabs(JDOf(EJD) + zoneShiftDays - EndJD) > JD_CHANGE_DAYS) ||
      zoneChanged || std::fabs(StepFromFields() - StepDays) > STEP_CHANGE_DAYS;
  if (changed) {
    QMessageBox::StandardButton a = Ask(QString::fromUtf8("Änderungen übernehmen?"));
    if (a == QMessageBox::Cancel) return;
    if (a == QMessageBox::Yes) {
      OKBtnClick();
      return;
    }
  }
  QDialog::reject();
}

}  // namespace nodalis
