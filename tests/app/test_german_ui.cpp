// The program speaks German also where Qt's own parts speak: the buttons of
// its question boxes and input boxes, the file and page set-up dialogs and
// the date picker's month and weekday names. Without Qt's catalogue the
// program still runs, in those parts with Qt's English texts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "dialogs/DateFormU.h"
#include "app/gui/AppSetup.h"
#include "astro/TIMLIB.h"

using namespace nodalis;

namespace {

constexpr int WAIT_MS = 5000;

QString Plain(QString s) { return s.remove(QLatin1Char('&')); }

// The texts of a message box's buttons, without their accelerator marks.
QStringList ButtonTexts(QMessageBox& box) {
  QStringList texts;
  for (auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
    if (box.button(b)) texts << Plain(box.button(b)->text());
  return texts;
}

// Runs the date dialog's question "Änderungen übernehmen?" for real and
// returns the texts of its buttons; answers Cancel.
QStringList AskDateDialogQuestion() {
  TDateForm form;
  SelectedJD = 2451545.0L;
  form.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
  form.findChild<QLineEdit*>("SJD")->setText("2451600.0");
  QStringList texts;
  QTimer::singleShot(0, [&] {
    QMessageBox* box = nullptr;
    EXPECT_TRUE(QTest::qWaitFor([&] {
      box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      return box != nullptr;
    }, WAIT_MS));
    if (!box) return;
    EXPECT_EQ(box->text(), QString::fromUtf8("Änderungen übernehmen?"));
    texts = ButtonTexts(*box);
    box->button(QMessageBox::Cancel)->click();
  });
  form.reject();
  return texts;
}

}  // namespace

// Runs first (one process, one application): the catalogue is missing.
TEST(GermanUi, AMissingCatalogueLeavesQtsEnglishTexts) {
  EXPECT_FALSE(UseGermanUi(*qApp, "/nonexistent/translations"));
  EXPECT_EQ(QLocale().language(), QLocale::German) << "the locale is German all the same";
  EXPECT_EQ(AskDateDialogQuestion(), QStringList({"Yes", "No", "Cancel"}));
}

TEST(GermanUi, QuestionBoxesDialogsAndDatePickerSpeakGerman) {
  ASSERT_TRUE(UseGermanUi(*qApp)) << "Qt's German catalogue qtbase_de.qm (qt6-translations-l10n)";
  EXPECT_EQ(AskDateDialogQuestion(), QStringList({"Ja", "Nein", "Abbrechen"}));

  // The zoom input box's buttons.
  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  EXPECT_EQ(Plain(buttons.button(QDialogButtonBox::Ok)->text()), "OK");
  EXPECT_EQ(Plain(buttons.button(QDialogButtonBox::Cancel)->text()), "Abbrechen");

  // The save dialog (Qt's own, as on a desktop without a platform dialog).
  QFileDialog files(nullptr, "Speichern");
  files.setOption(QFileDialog::DontUseNativeDialog);
  files.setAcceptMode(QFileDialog::AcceptSave);
  ASSERT_NE(files.findChild<QLabel*>("lookInLabel"), nullptr);
  EXPECT_EQ(Plain(files.findChild<QLabel*>("lookInLabel")->text()), "Suchen in:");
  EXPECT_EQ(Plain(files.findChild<QLabel*>("fileNameLabel")->text()), "Dateiname:");

  // The page set-up dialog.
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  QPageSetupDialog setup(&printer);
  QStringList setupTexts;
  for (QLabel* l : setup.findChildren<QLabel*>()) setupTexts << Plain(l->text());
  EXPECT_TRUE(setupTexts.contains("Breite:")) << setupTexts.join(" | ").toStdString();
  EXPECT_FALSE(setupTexts.contains("Width:"));

  // The date picker's month and weekday names.
  TDateForm form;
  auto* picker = form.findChild<QDateEdit*>("SCal");
  ASSERT_NE(picker, nullptr);
  const QLocale l = picker->calendarWidget()->locale();
  EXPECT_EQ(l.monthName(12), "Dezember");
  EXPECT_EQ(l.dayName(1, QLocale::ShortFormat), "Mo.");
}
