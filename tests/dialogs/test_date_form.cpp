// The date and period dialog driven like a user: typed fields, the zone
// arrows, the TDT box, the two confirmation questions and the keys.
#include <gtest/gtest.h>

#include <deque>

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <cmath>

#include "dialogs/DateFormU.h"
#include "astro/TIMLIB.h"
#include "app/base/Utils.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

using namespace nodalis;

namespace {

constexpr long double JD_TOL_DAYS = 1e-6L;  // the edit shows six decimals
constexpr int WAIT_MS = 2000;

class DateForm : public ::testing::Test {
 protected:
  void SetUp() override {
    SelectedJD = 2451545.0L;  // 2000 January 1, 12h
    EndJD = 2451545.0L;
    PeriodDays = 0;
    StepDays = 1;
    Zone = 0;
    BaseZone = 0;
    TableMode = false;
    SaveDate = false;
    DateStyle = 0;
    TimesAreTDT = false;
    answers.clear();
    asked.clear();
    form = new TDateForm;
    // The message boxes answer from the queue; a box nobody expected fails.
    form->MessageBoxHook = [this](const QString& text) {
      asked = text;
      if (answers.empty()) {
        ADD_FAILURE() << "unexpected message box: " << text.toStdString();
        return QMessageBox::Cancel;
      }
      const QMessageBox::StandardButton a = answers.front();
      answers.pop_front();
      return a;
    };
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
  }
  void TearDown() override { delete form; }

  template <class T>
  T* W(const char* name) {
    T* w = form->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  // Replaces the text of a spin edit by typing, as a user does.
  void Type(const char* spin, const QString& text) {
    QSpinBox* s = W<QSpinBox>(spin);
    s->setFocus();
    s->selectAll();
    QTest::keyClicks(s, text);
  }
  void SetStart(int y, int mo, int d, int h, int mi, int s) {
    W<QSpinBox>("SY")->setValue(y);
    W<QSpinBox>("SMon")->setValue(mo);
    W<QSpinBox>("SD")->setValue(d);
    W<QSpinBox>("SH")->setValue(h);
    W<QSpinBox>("SMin")->setValue(mi);
    W<QSpinBox>("SS")->setValue(s);
  }
  long double SJD() { return StrToReal(W<QLineEdit>("SJD")->text().toStdString()); }
  QString Hint() { return W<QLabel>("DatHintLabel")->text(); }

  TDateForm* form = nullptr;
  std::deque<QMessageBox::StandardButton> answers;  // for the next message boxes
  QString asked;                                    // text of the last box
};

}  // namespace

TEST_F(DateForm, ShowsSettingsAndJulianDateFillsFields) {
  EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Datum und Uhrzeit wählen"));
  EXPECT_EQ(W<QLineEdit>("SJD")->text(), "2451545.000000");
  EXPECT_EQ(W<QSpinBox>("SY")->value(), 2000);
  EXPECT_EQ(W<QSpinBox>("SH")->value(), 12);
  EXPECT_EQ(form->width(), TDateForm::WIDTH_SINGLE_PX);

  // A typed Julian date fills the fields in the zone's local time.
  W<QLineEdit>("TZ")->setText("1");
  W<QLineEdit>("SJD")->setText("2451545.5");
  EXPECT_EQ(W<QSpinBox>("SY")->value(), 2000);
  EXPECT_EQ(W<QSpinBox>("SMon")->value(), 1);
  EXPECT_EQ(W<QSpinBox>("SD")->value(), 2);
  EXPECT_EQ(W<QSpinBox>("SH")->value(), 1) << "0h UT is 1h in zone +1";
  EXPECT_EQ(W<QSpinBox>("SMin")->value(), 0);
  EXPECT_EQ(W<QSpinBox>("SS")->value(), 0);
  EXPECT_EQ(W<QLabel>("TZLabel")->text(), "MEZ");
  EXPECT_TRUE(W<QDateEdit>("SCal")->isVisible()) << "the drop-down calendar serves years from 1900";
  EXPECT_EQ(W<QDateEdit>("SCal")->date(), QDate(2000, 1, 2));
}

TEST_F(DateForm, LoneSignInYearWaitsForADigit) {
  const QString before = W<QLineEdit>("SJD")->text();
  Type("SY", "-");
  EXPECT_EQ(W<QLineEdit>("SJD")->text(), before) << "a lone minus must not recompute";
  QTest::keyClicks(W<QSpinBox>("SY"), "5");
  EXPECT_EQ(W<QSpinBox>("SY")->value(), -5);
  const long double want = CalendarToJD(-5, 1, 1.5f);
  EXPECT_NEAR(double(SJD()), double(want), double(JD_TOL_DAYS));
  EXPECT_EQ(Hint(), "Astron. Jahr -5 ist 6 v. Chr.");
}

TEST_F(DateForm, CalendarReformAndAstronomicalYearHints) {
  SetStart(1582, 10, 4, 0, 0, 0);
  const long double julianDay = SJD();
  EXPECT_NEAR(double(julianDay), 2299159.5, double(JD_TOL_DAYS));
  EXPECT_EQ(Hint(), "Julian. Kalender bis 04.10.1582");

  W<QSpinBox>("SD")->setValue(15);
  const long double gregorianDay = SJD();
  EXPECT_NEAR(double(gregorianDay), 2299160.5, double(JD_TOL_DAYS));
  EXPECT_NEAR(double(gregorianDay - julianDay), 1.0, double(JD_TOL_DAYS))
      << "1582 October 4 (Julian) and 15 (Gregorian) are consecutive days";
  // The Gregorian hint starts at JD 2299160.9, later on October 15.
  EXPECT_EQ(Hint(), "Julian. Kalender bis 04.10.1582");
  W<QSpinBox>("SH")->setValue(12);
  EXPECT_EQ(Hint(), "Gregorian. Kal. nach 15.10.1582");
  SetStart(1899, 12, 31, 0, 0, 0);
  EXPECT_EQ(Hint(), "Gregorian. Kal. nach 15.10.1582");
  EXPECT_FALSE(W<QDateEdit>("SCal")->isVisible());

  SetStart(0, 6, 1, 0, 0, 0);
  EXPECT_EQ(Hint(), "Astron. Jahr 0 ist 1 v. Chr.");
}

TEST_F(DateForm, TdtDisablesZoneAndTakesCalendarTimeAsIs) {
  W<QLineEdit>("TZ")->setText("2");
  QTest::mouseClick(W<QCheckBox>("TDTChk"), Qt::LeftButton);
  for (const char* name : {"TZ", "ZZSpin", "DSTChk", "AutoDSTChk", "Label8"})
    EXPECT_FALSE(form->findChild<QWidget*>(name)->isEnabled()) << name;
  SetStart(2000, 1, 1, 12, 0, 0);
  EXPECT_EQ(W<QLineEdit>("SJD")->text(), "2451545.000000");
  QTest::mouseClick(W<QPushButton>("OKBtn"), Qt::LeftButton);
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(Zone, 0.0f);
  EXPECT_TRUE(TimesAreTDT);
  EXPECT_NEAR(double(SelectedJD), 2451545.0, double(JD_TOL_DAYS));
}

TEST_F(DateForm, ZoneArrowsWrapWithinPlusMinus12Hours) {
  QLineEdit* tz = W<QLineEdit>("TZ");
  QAbstractSpinBox* arrows = W<QAbstractSpinBox>("ZZSpin");
  tz->setText("12");
  arrows->stepBy(1);
  EXPECT_EQ(tz->text(), "-11");
  arrows->stepBy(-1);
  EXPECT_EQ(tz->text(), "12");
  tz->setText("-11");
  arrows->setFocus();
  QTest::keyClick(arrows, Qt::Key_Down);
  EXPECT_EQ(tz->text(), "12");
  // The start JD follows the zone: 12h in zone +12 is 0h UT.
  SetStart(2000, 1, 1, 12, 0, 0);
  EXPECT_NEAR(double(SJD()), 2451544.5, double(JD_TOL_DAYS));
  tz->setText("1e30");  // absurd zone: the arrows still end in range
  arrows->stepBy(1);
  const long double z = StrToReal(tz->text().toStdString());
  EXPECT_TRUE(z > -12 && z <= 12) << "zone " << tz->text().toStdString();
}

TEST_F(DateForm, SummerTimeSwitchesAutomaticallyByDate) {
  QLineEdit* tz = W<QLineEdit>("TZ");
  tz->setText("1");
  SetStart(2010, 7, 1, 12, 0, 0);
  EXPECT_TRUE(W<QCheckBox>("DSTChk")->isChecked());
  EXPECT_EQ(tz->text(), "2");
  EXPECT_NEAR(double(SJD()), double(CalendarToJD(2010, 7, 1.5f - 2.0f / 24)), double(JD_TOL_DAYS))
      << "12h summer time is 10h UT";
  W<QSpinBox>("SMon")->setValue(12);
  EXPECT_FALSE(W<QCheckBox>("DSTChk")->isChecked());
  EXPECT_EQ(tz->text(), "1");
}

// What OK stores: the zone shown (summer time included, set automatically
// by the date) and the base zone without it; with TDT ticked zone 0 and the
// zone shown as the base. Summer time ended in September until 1995 and in
// October from 1996 (last Sundays: 1995-09-24, 1996-10-27).
TEST_F(DateForm, OkStoresTheZoneAndTheBaseZoneWithoutSummerTime) {
  struct { int y, mo, d; bool tdt; float zone, base; } cases[] = {
      {2010, 7, 1, false, 2, 1},   {2010, 12, 1, false, 1, 1}, {1995, 9, 23, false, 2, 1},
      {1995, 10, 1, false, 1, 1},  {1996, 10, 1, false, 2, 1}, {1996, 10, 26, false, 2, 1},
      {1996, 10, 28, false, 1, 1}, {2010, 7, 1, true, 0, 2},   {2010, 12, 1, true, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.y << "-" << c.mo << "-" << c.d << (c.tdt ? " TDT" : ""));
    delete form;
    Zone = BaseZone = 1;
    TimesAreTDT = false;
    SelectedJD = 2451545.0L;  // opens in winter time: zone 1 without summer time
    form = new TDateForm;
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    W<QLineEdit>("TZ")->setText("1");
    SetStart(c.y, c.mo, c.d, 12, 0, 0);
    if (c.tdt) QTest::mouseClick(W<QCheckBox>("TDTChk"), Qt::LeftButton);
    QTest::mouseClick(W<QPushButton>("OKBtn"), Qt::LeftButton);
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(TimesAreTDT, c.tdt);
    EXPECT_EQ(Zone, c.zone);
    EXPECT_EQ(BaseZone, c.base);
  }
}

TEST_F(DateForm, TableModeWidthStepAndCount) {
  QCheckBox* sel = W<QCheckBox>("SelTable");
  QTest::mouseClick(sel, Qt::LeftButton);
  EXPECT_TRUE(TableMode) << "the box sets table mode at once";
  EXPECT_EQ(form->width(), TDateForm::WIDTH_TABLE_PX);
  W<QLineEdit>("EJD")->setText("2451555.0");  // ten days after the start
  EXPECT_EQ(W<QSpinBox>("Calculations")->value(), 10);
  EXPECT_EQ(W<QLabel>("ZeitraumLabel")->text(), "Zeitraum: 10 Tage");
  W<QSpinBox>("TabD")->setValue(0);
  EXPECT_EQ(W<QSpinBox>("Calculations")->value(), 1) << "step 0 gives one calculation";
  W<QSpinBox>("Calculations")->setValue(4);
  EXPECT_EQ(W<QSpinBox>("TabD")->value(), 2);
  EXPECT_EQ(W<QSpinBox>("TabH")->value(), 12);
  W<QSpinBox>("Calculations")->setValue(0);  // no division by zero
  EXPECT_EQ(W<QSpinBox>("TabD")->value(), 2);
  QTest::mouseClick(sel, Qt::LeftButton);
  EXPECT_EQ(form->width(), TDateForm::WIDTH_SINGLE_PX);
}

// The end of the period OK stores: the end field in table mode; for a
// single calculation the start plus the period kept, whatever the (hidden)
// end field holds.
TEST_F(DateForm, OkStoresTheEndOfThePeriodInBothModes) {
  QTest::mouseClick(W<QCheckBox>("SelTable"), Qt::LeftButton);
  W<QLineEdit>("EJD")->setText("2451555.0");
  form->OKBtnClick();
  EXPECT_NEAR(double(EndJD), 2451555.0, double(JD_TOL_DAYS));
  EXPECT_NEAR(double(PeriodDays), 10.0, double(JD_TOL_DAYS));
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
  QTest::mouseClick(W<QCheckBox>("SelTable"), Qt::LeftButton);
  W<QLineEdit>("SJD")->setText("2451550.0");
  W<QLineEdit>("EJD")->setText("2451999.0");
  form->OKBtnClick();
  EXPECT_NEAR(double(SelectedJD), 2451550.0, double(JD_TOL_DAYS));
  EXPECT_NEAR(double(EndJD), 2451560.0, double(JD_TOL_DAYS));
  EXPECT_NEAR(double(PeriodDays), 10.0, double(JD_TOL_DAYS));
}

// A step of hours and minutes is stored and shown again as typed (it came
// back as 3 h 0 min: the hours were rounded before the minutes were taken).
TEST_F(DateForm, StepOfHoursAndMinutesComesBackAsTyped) {
  QTest::mouseClick(W<QCheckBox>("SelTable"), Qt::LeftButton);
  W<QSpinBox>("TabD")->setValue(0);
  W<QSpinBox>("TabH")->setValue(2);
  W<QSpinBox>("TabM")->setValue(36);
  form->OKBtnClick();
  EXPECT_NEAR(double(StepDays) * 1440, 156.0, 1e-3) << "minutes";
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
  EXPECT_EQ(W<QSpinBox>("TabH")->value(), 2);
  EXPECT_EQ(W<QSpinBox>("TabM")->value(), 36);
}

TEST_F(DateForm, EndBeforeStartAsksBeforeOk) {
  QTest::mouseClick(W<QCheckBox>("SelTable"), Qt::LeftButton);
  W<QLineEdit>("EJD")->setText("2451500.0");
  answers = {QMessageBox::Cancel};
  QTest::mouseClick(W<QPushButton>("OKBtn"), Qt::LeftButton);
  EXPECT_EQ(asked,
            QString::fromUtf8("Startdatum ist später als Enddatum\r\nEnddatum   =   Startdatum setzen?"));
  EXPECT_TRUE(form->isVisible()) << "Cancel keeps the dialog open";
  answers = {QMessageBox::Yes};
  QTest::mouseClick(W<QPushButton>("OKBtn"), Qt::LeftButton);
  EXPECT_FALSE(form->isVisible());
  EXPECT_NEAR(double(EndJD), 2451545.0, double(JD_TOL_DAYS)) << "Yes sets the end to the start";
  EXPECT_EQ(PeriodDays, 0.0L);
}

TEST_F(DateForm, EscapeAsksOnlyAboutRealChanges) {
  // A zone change of 0.005 h is below the limit: Esc closes silently.
  W<QLineEdit>("TZ")->setText("0.005");
  QTest::keyClick(form, Qt::Key_Escape);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, WAIT_MS));
  EXPECT_TRUE(asked.isEmpty()) << asked.toStdString();
  EXPECT_EQ(form->result(), QDialog::Rejected);
  EXPECT_EQ(Zone, 0.0f) << "nothing stored";

  // A changed date asks; Cancel stays, No closes without storing.
  form->show();
  SetStart(2001, 1, 1, 12, 0, 0);
  answers = {QMessageBox::Cancel};
  QTest::keyClick(form, Qt::Key_Escape);
  EXPECT_EQ(asked, QString::fromUtf8("Änderungen übernehmen?"));
  EXPECT_TRUE(form->isVisible());
  answers = {QMessageBox::No};
  QTest::keyClick(form, Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
  EXPECT_NEAR(double(SelectedJD), 2451545.0, double(JD_TOL_DAYS));

  // Yes stores as OK does.
  form->show();
  SetStart(2001, 1, 1, 12, 0, 0);
  answers = {QMessageBox::Yes};
  QTest::keyClick(form, Qt::Key_Escape);
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_NEAR(double(SelectedJD), 2451911.0, double(JD_TOL_DAYS));
}

TEST_F(DateForm, EnterActsAsOkAndBadJulianDateIsNotStored) {
  QLineEdit* sjd = W<QLineEdit>("SJD");
  sjd->setText("x99999999");  // far beyond any supported date
  // The hint tells the range in full: two lines that fit the label, the
  // whole sentence as its tooltip.
  QLabel* hint = W<QLabel>("DatHintLabel");
  const QString range = QString::fromUtf8(Cp1252ToUtf8(JDRangeText()).c_str());
  EXPECT_TRUE(hint->isVisible());
  EXPECT_EQ(hint->text(), "Nur Julianische Daten von\n-2000000 bis 8000000");
  EXPECT_EQ(hint->toolTip(), range);
  const QRect need = hint->fontMetrics().boundingRect(QRect(0, 0, hint->width(), 1000),
                                                      Qt::TextWordWrap, hint->text());
  EXPECT_LE(need.width(), hint->contentsRect().width()) << "no line cut off";
  EXPECT_LE(need.height(), hint->contentsRect().height()) << "no line cut off";
  // OK says why it does not close.
  answers = {QMessageBox::Ok};
  sjd->setFocus();
  QTest::keyClick(sjd, Qt::Key_Return);
  EXPECT_TRUE(form->isVisible()) << "an unusable Julian date is not accepted";
  EXPECT_EQ(asked, range);
  EXPECT_TRUE(answers.empty()) << "one message box";
  EXPECT_EQ(sjd->selectedText(), "x99999999") << "the date to correct is selected";
  EXPECT_NEAR(double(SelectedJD), 2451545.0, double(JD_TOL_DAYS));

  sjd->setText("2460000.25");
  sjd->setFocus();
  QTest::keyClick(sjd, Qt::Key_Return);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_NEAR(double(SelectedJD), 2460000.25, double(JD_TOL_DAYS));
}

// With "automatisch" ticked the zone follows the start date whenever it
// changes, not only when a calendar field is typed: on showing, for a
// typed Julian date, for the drop-down calendar and for the computer time.
// A Julian date keeps its value and the fields show it in the rule's zone.
// (Instants from Python's datetime: 2027-08-02 10:07 UT = JD 2461619.921528,
// the eclipse "+1 Finsternis" gives; 2026-12-05 12:00 UT = 2461380.0;
// 2023-12-22 0:00 UT = 2460300.5; a clock reading 2026-07-15 14:00 = JD
// 2461237.083333.)
TEST_F(DateForm, ZoneFollowsTheDateWheneverItChanges) {
  auto reopen = [&](long double jd, float zone, float base) {
    delete form;
    SelectedJD = EndJD = jd;
    Zone = zone;
    BaseZone = base;
    form = new TDateForm;
    form->MessageBoxHook = [this](const QString& text) {
      asked = text;
      return QMessageBox::Cancel;
    };
    form->show();
    return QTest::qWaitForWindowExposed(form);
  };
  auto fields = [&] {
    return QString("%1.%2.%3 %4:%5")
        .arg(W<QSpinBox>("SD")->value())
        .arg(W<QSpinBox>("SMon")->value())
        .arg(W<QSpinBox>("SY")->value())
        .arg(W<QSpinBox>("SH")->value())
        .arg(W<QSpinBox>("SMin")->value(), 2, 10, QChar('0'));
  };
  QLineEdit* sjd = nullptr;

  // Opened on an August date after winter time was stored: summer time.
  ASSERT_TRUE(reopen(2461619.921528L, 1, 1));
  sjd = W<QLineEdit>("SJD");
  EXPECT_EQ(sjd->text(), "2461619.921528") << "the Julian date stays";
  EXPECT_EQ(W<QLabel>("TZLabel")->text(), "MESZ");
  EXPECT_EQ(W<QLineEdit>("TZ")->text(), "2");
  EXPECT_TRUE(W<QCheckBox>("DSTChk")->isChecked());
  EXPECT_EQ(fields(), "2.8.2027 12:07");
  // Nothing was changed by the user: Esc closes without a question.
  QTest::keyClick(form, Qt::Key_Escape);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, WAIT_MS));
  EXPECT_TRUE(asked.isEmpty()) << asked.toStdString();
  EXPECT_EQ(Zone, 1.0f) << "nothing stored";

  // Opened on a December date after summer time was stored: winter time.
  ASSERT_TRUE(reopen(2461380.0L, 2, 1));
  EXPECT_EQ(W<QLabel>("TZLabel")->text(), "MEZ");
  EXPECT_FALSE(W<QCheckBox>("DSTChk")->isChecked());
  EXPECT_EQ(fields(), "5.12.2026 13:00");

  // A typed Julian date, from summer time shown.
  ASSERT_TRUE(reopen(2461619.921528L, 1, 1));
  sjd = W<QLineEdit>("SJD");
  sjd->setFocus();
  sjd->selectAll();
  QTest::keyClicks(sjd, "2460300.5");
  EXPECT_EQ(W<QLabel>("TZLabel")->text(), "MEZ");
  EXPECT_EQ(fields(), "22.12.2023 1:00") << "0h UT is 1h MEZ, not 2h MESZ";
  EXPECT_EQ(sjd->text(), "2460300.5");

  // The drop-down calendar: the time fields stay, read in the new zone.
  W<QDateEdit>("SCal")->setDate(QDate(2010, 7, 1));
  EXPECT_EQ(W<QLabel>("TZLabel")->text(), "MESZ");
  EXPECT_EQ(fields(), "1.7.2010 1:00");
  EXPECT_NEAR(double(SJD()), 2455378.5 + (1.0 - 2.0) / 24, double(JD_TOL_DAYS));

  // The computer time: the clock shows summer time in July, so its 14:00
  // is 12:00 UT, whatever zone was shown before.
  ASSERT_TRUE(reopen(2461380.0L, 1, 1));
  ClockJD = 2461237.0833333333L;
  QTest::mouseClick(W<QPushButton>("SST"), Qt::LeftButton);
  ClockJD = NAN;
  EXPECT_EQ(W<QLabel>("TZLabel")->text(), "MESZ");
  EXPECT_EQ(fields(), "15.7.2026 14:00");
  EXPECT_NEAR(double(SJD()), 2461237.0, double(JD_TOL_DAYS));

  // Without "automatisch" the zone stays as it is.
  QTest::mouseClick(W<QCheckBox>("AutoDSTChk"), Qt::LeftButton);
  ASSERT_FALSE(W<QCheckBox>("AutoDSTChk")->isChecked());
  W<QLineEdit>("SJD")->setText("2460300.5");
  EXPECT_EQ(W<QLabel>("TZLabel")->text(), "MESZ");
  EXPECT_EQ(fields(), "22.12.2023 2:00");
  // Ticked again, the zone follows the date at once.
  QTest::mouseClick(W<QCheckBox>("AutoDSTChk"), Qt::LeftButton);
  EXPECT_EQ(W<QLabel>("TZLabel")->text(), "MEZ");
  EXPECT_EQ(fields(), "22.12.2023 1:00");
  EXPECT_EQ(W<QLineEdit>("SJD")->text(), "2460300.5");
}
