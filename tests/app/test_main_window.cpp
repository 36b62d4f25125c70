// The main window driven like a user (offscreen): start-up notice, Saros
// steps, "Gehe zu:" by button and by Enter, eclipse steps with their marker,
// an unreachable Saros, the canon box, Ctrl+A, the settings written on close,
// the command line handed over by a second start, commands arriving while a
// series is being built, and the same commands through nodalis-cli.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QMenuBar>
#include <QMouseEvent>
#include <QCheckBox>
#include <QClipboard>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTextCursor>
#include <cstdio>
#include <functional>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "dialogs/DateFormU.h"
#include "graphics/draw/WorldMap.h"
#include "graphics/windows/GrafikForm.h"
#include "graphics/windows/MapForm.h"
#include "app/gui/NodalisU.h"
#include "app/core/PIniFile.h"
#include "app/core/SarosSearch.h"
#include "app/core/SeriesState.h"
#include "astro/TIMLIB.h"
#include "app/base/Utils.h"

QT_BEGIN_NAMESPACE
inline std::ostream& operator<<(std::ostream& os, const QString& s) { return os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace fs = std::filesystem;
using namespace nodalis;

namespace {

constexpr int WAIT_MS = 20000;          // generous for a loaded 2-core machine
constexpr long double JD_TOL_DAYS = 1e-6L;
const QString PROGRESS_PREFIX = QStringLiteral("berechne Sonnenfinsternis am   ");

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallGuiHooks();  // as the program does at start
    old_cwd_ = fs::current_path();
    root_ = fs::temp_directory_path() /
            ("nodalis-mainwin-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "cwd");
    fs::current_path(root_ / "cwd");
    ::setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    SeriesList.clear();
    EkliptikalNordChecked = false;
    ShowSchattenbahnChecked = false;
    TimesAreTDT = false;
  }
  void TearDown() override {
    delete form;
    fs::current_path(old_cwd_);
    fs::remove_all(root_);
  }
  void Open(const QStringList& args = {}) {
    form = new TForm1(args);
    date = new TDateForm(form);
    form->DateForm = date;
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
  }
  template <class T>
  T* W(const char* name) {
    T* w = form->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void Click(const char* button) { QTest::mouseClick(W<QPushButton>(button), Qt::LeftButton); }
  int Saros() { return W<QSpinBox>("EditSarosNr")->value(); }
  QStringList Lines() { return form->MemoLines(); }
  // The table rows (member lines) of the text area.
  QStringList Rows() {
    QStringList rows;
    for (const QString& l : Lines())
      if (l.size() > 4 && l[2] == ':' && l.left(2).trimmed().toInt() > 0) rows << l;
    return rows;
  }
  bool WaitIdle() {
    return QTest::qWaitFor([&] { return !form->Busy(); }, WAIT_MS);
  }
  // "Datum", a Julian date typed into the dialog, OK; waits for the series.
  bool ChooseDate(const char* jd) {
    form->DateDialogHook = [jd](TDateForm* d) {
      d->show();
      d->findChild<QLineEdit*>("SJD")->setText(jd);
      QTest::mouseClick(d->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
      return d->result();
    };
    Click("DateBtn");
    return WaitIdle();
  }

  fs::path root_, old_cwd_;
  TForm1* form = nullptr;
  TDateForm* date = nullptr;  // child of form
};

}  // namespace

TEST_F(MainWindow, StartUpShowsNoticeAndNextEclipseSeries) {
  Open();
  QStringList want = {"",
                      QString::fromStdString(TitleText),
                      "",
                      "Zur Berechnung von Sarosserien und Sonnenfinsterniszyklen.",
                      QString::fromUtf8("Zum Starten Finsternisdatum oder Saroszyklus auswählen."),
                      "",
                      "Diese Software befindet sich noch im Betastatium.",
                      QString::fromUtf8("Keine Gewähr für Richtigkeit der Berechnungen."),
                      "Jede Haftung ist ausgeschlossen!",
                      ""};
  EXPECT_EQ(Lines().join("|"), want.join("|"));
  EXPECT_TRUE(SeriesList.empty()) << "no series is computed at start";
  // Series of the solar eclipses of the present era run from about 117 to 170.
  EXPECT_GE(Saros(), 110);
  EXPECT_LE(Saros(), 175);
  EXPECT_FALSE(W<QCheckBox>("CanonChk")->isVisible()) << "no canon file: no Canon box";
  EXPECT_TRUE(W<QCheckBox>("Lunar_Eph")->isChecked());
  EXPECT_FALSE(W<QRadioButton>("ELP2000")->isEnabled());
  EXPECT_FALSE(W<QRadioButton>("DE404")->isEnabled());
  EXPECT_FALSE(date->SelTable->isVisible());
  EXPECT_FALSE(date->SelTable->isChecked());
}

TEST_F(MainWindow, SarosStepsThereAndBackAndGotoByEnter) {
  Open();
  const int start = Saros();
  Click("SarMin2Btn");
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(Saros(), start - 2);
  EXPECT_TRUE(Lines().first().startsWith(QStringLiteral("Saros %1 ").arg(start - 2))) << Lines().first();
  EXPECT_EQ(W<QLabel>("TitleLabel")->text(), Lines().first());
  EXPECT_FALSE(Rows().isEmpty());
  Click("SarPlus2Btn");
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(Saros(), start) << "-2 then +2 returns to the starting series";
  EXPECT_TRUE(Lines().first().startsWith(QStringLiteral("Saros %1 ").arg(start)));

  // Enter in the spin edit goes to the typed number, like "Gehe zu:".
  QSpinBox* spin = W<QSpinBox>("EditSarosNr");
  spin->setFocus();
  spin->selectAll();
  QTest::keyClicks(spin, "136");
  QTest::keyClick(spin, Qt::Key_Return);
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(Saros(), 136);
  EXPECT_TRUE(Lines().first().startsWith("Saros 136 ")) << Lines().first();
  QWidget* graph = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "GraphForm" && w->isVisible()) graph = w;
  ASSERT_NE(graph, nullptr) << "the series is shown in the graph window";
  EXPECT_EQ(graph->windowTitle(), "Nodalis  136");
  // The last line names the reference date: today after a Saros change.
  EXPECT_EQ(Lines().last(), QStringLiteral("Erstellt am %1 mit %2")
                                .arg(QString::fromStdString(DateShort(0, NowJD(0))))
                                .arg(QString::fromStdString(TitleText)));
}

TEST_F(MainWindow, EclipseStepsMarkTheCurrentEclipse) {
  Open();
  Click("NextEclBtn");
  ASSERT_TRUE(WaitIdle());
  auto check = [&](const char* what) {
    QStringList current;
    for (const QString& r : Rows())
      if (r.endsWith(" (aktuelle Finsternis)")) current << r;
    ASSERT_EQ(current.size(), 1) << what << ": one row is the eclipse stepped to";
    // Row: "NN:  DD.MM.YYYY  HHhMMm ..."; the last line repeats that date.
    const QString rowDate = current.first().mid(5, 10);
    EXPECT_EQ(Lines().last().mid(12, 10), rowDate) << what << ": " << Lines().last();
  };
  check("next eclipse");
  const long double first = ReferenceJD;
  Click("NextEclBtn");
  ASSERT_TRUE(WaitIdle());
  check("the one after");
  EXPECT_GT(ReferenceJD, first + 20) << "the next eclipse lies after the previous one";
  EXPECT_LT(ReferenceJD, first + 200) << "and within half a year";
  Click("Button1");
  ASSERT_TRUE(WaitIdle());
  check("back again");
  EXPECT_NEAR(double(ReferenceJD), double(first), 0.01) << "-1 returns to the first eclipse (days)";
}

TEST_F(MainWindow, UnreachableSarosReportsAfterProgressLines) {
  Open();
  const int start = Saros();
  QSpinBox* spin = W<QSpinBox>("EditSarosNr");
  spin->setValue(5000);
  Click("GotoBtn");
  ASSERT_TRUE(WaitIdle());
  QStringList lines = Lines();
  while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  ASSERT_GE(lines.size(), 2);
  // The message, then the series that can be reached.
  EXPECT_EQ(lines[lines.size() - 2], "Saros5000 nicht gefunden");
  EXPECT_EQ(lines.last(), QString::fromStdString(SarosReachableText()));
  for (int i = 0; i + 2 < lines.size(); ++i)
    EXPECT_TRUE(lines[i].startsWith(PROGRESS_PREFIX)) << "line " << i << ": " << lines[i];
  EXPECT_LE(lines.size() - 2, 31) << "at most 31 passes";
  // The window stays usable.
  spin->setValue(start);
  Click("GotoBtn");
  ASSERT_TRUE(WaitIdle());
  EXPECT_TRUE(Lines().first().startsWith(QStringLiteral("Saros %1 ").arg(start)));
}

TEST_F(MainWindow, CanonBoxForcesElp2000AndClosingKeepsSettings) {
  fs::path canon = root_ / "canon.txt";
  std::ofstream(canon) << "canon\n";
  const std::string ini =
      "; Nodalis\n[Ini]\nUseWinDir=0\n\n[Eclipses]\nLorvan-Canon=" + canon.string() + "\nOther=1\n";
  std::ofstream(root_ / "cwd" / "Nodalis.ini") << ini;
  Open();
  QCheckBox* canonBox = W<QCheckBox>("CanonChk");
  EXPECT_TRUE(canonBox->isVisible());
  EXPECT_TRUE(canonBox->isChecked()) << "an existing canon file starts canon mode";
  EXPECT_TRUE(W<QRadioButton>("ELP2000")->isChecked());
  for (const char* name : {"Lunar_Eph", "ELP2000", "DE404"})
    EXPECT_FALSE(form->findChild<QWidget*>(name)->isEnabled()) << name;
  QTest::mouseClick(canonBox, Qt::LeftButton);
  for (const char* name : {"Lunar_Eph", "ELP2000", "DE404"})
    EXPECT_TRUE(form->findChild<QWidget*>(name)->isEnabled()) << name << " after unchecking Canon";
  form->close();
  EXPECT_EQ(Slurp(root_ / "cwd" / "Nodalis.ini"), ini) << "closing rewrites the same canon key only";
}

// Without a settings file in the folder the program was started from, the
// first close writes one into the configuration folder, not there.
TEST_F(MainWindow, ClosingWritesCanonKeyIntoNewSettingsFile) {
  Open();
  form->close();
  const std::string written = Slurp(root_ / "config" / "nodalis" / "Nodalis.ini");
  EXPECT_EQ(written, "[Eclipses]\nLorvan-Canon=" + DefaultCanonPath() + "\n");
  EXPECT_TRUE(fs::is_empty(root_ / "cwd"));
  EXPECT_NE(DefaultCanonPath().find((root_ / "data").string()), std::string::npos)
      << "the default canon lies in the user's data directory: " << DefaultCanonPath();
}

TEST_F(MainWindow, CtrlASelectsAllButCtrlShiftADoesNot) {
  Open();
  QPlainTextEdit* memo = W<QPlainTextEdit>("Memo1");
  QSpinBox* spin = W<QSpinBox>("EditSarosNr");
  QPushButton* dateBtn = W<QPushButton>("DateBtn");
  dateBtn->setFocus();
  QTest::keyClick(dateBtn, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_FALSE(memo->textCursor().hasSelection());
  QTest::keyClick(dateBtn, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(memo->textCursor().selectedText().size(), memo->toPlainText().size())
      << "Ctrl+A elsewhere in the window selects the whole text area";
  QTextCursor c = memo->textCursor();
  c.clearSelection();
  memo->setTextCursor(c);

  // In the Saros field Ctrl+A selects the field, so a number typed next
  // replaces it: "Ctrl+A, 145, Enter" goes to Saros 145.
  spin->setFocus();
  QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
  EXPECT_FALSE(memo->textCursor().hasSelection()) << "the text area stays unselected";
  EXPECT_EQ(spin->findChild<QLineEdit*>()->selectedText(), spin->text());
  QTest::keyClicks(spin, "145");
  QTest::keyClick(spin, Qt::Key_Return);
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(Saros(), 145);
  EXPECT_TRUE(Lines().first().startsWith("Saros 145 ")) << Lines().first();

  c = memo->textCursor();
  c.clearSelection();
  memo->setTextCursor(c);
  memo->setFocus();
  const QString text = memo->toPlainText();
  QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(memo->textCursor().selectedText().size(), text.size());
  EXPECT_EQ(memo->toPlainText(), text) << "no character typed into the text";
}

TEST_F(MainWindow, DateDialogOkShowsTheChosenDatesSeries) {
  Open();
  ASSERT_TRUE(ChooseDate("2451570.0"));  // 2000 January 26 12h
  // The partial eclipse of 2000 February 5 (Saros 150) follows within 15
  // days: the chosen date is the reference, marked in the last line.
  EXPECT_EQ(Saros(), 150);
  EXPECT_NEAR(double(ReferenceJD), 2451570.0, double(JD_TOL_DAYS));
  EXPECT_EQ(Lines().last().mid(12, 10), "26.01.2000");

  ASSERT_TRUE(ChooseDate("2451735.0"));  // 2000 July 1 12h
  // The partial eclipse of 2000 July 1 (Saros 117) follows within 15 days:
  // the chosen date is the reference.
  EXPECT_EQ(Saros(), 117);
  EXPECT_NEAR(double(ReferenceJD), 2451735.0, double(JD_TOL_DAYS));

  ASSERT_TRUE(ChooseDate("2451545.0"));  // 2000 January 1 12h
  // The next eclipse (February 5, Saros 150) is more than 15 days away:
  // the reference, and the date in the last line, are today's.
  EXPECT_EQ(Saros(), 150);
  EXPECT_EQ(Lines().last().mid(12, 10), QString::fromStdString(DateShort(0, NowJD(0))));

  form->DateDialogHook = [](TDateForm*) { return int(QDialog::Rejected); };
  const QStringList before = Lines();
  Click("DateBtn");
  EXPECT_EQ(Lines().join("|"), before.join("|")) << "a cancelled dialog changes nothing";
}

TEST_F(MainWindow, HandedOverCommandLines) {
  Open();
  uint8_t answer = 9;
  std::string quoted = "\"/opt/my progs 7/nodalis\" 2451735.0";
  answer = 0;
  form->ReceiveCommandLine(int32_t(quoted.size()), quoted, answer);
  EXPECT_EQ(answer, 0) << "a Julian date after the quoted path is taken over";
  ASSERT_TRUE(QTest::qWaitFor([&] { return !SeriesList.empty() && !form->Busy(); }, WAIT_MS));
  EXPECT_NEAR(double(ReferenceJD), 2451735.0, double(JD_TOL_DAYS));
  EXPECT_EQ(Saros(), 117);

  struct Case {
    std::string text;
    const char* why;
  } goOn[] = {{"/opt/nodalis7/nodalis", "unquoted path: its digit 7 is too small"},
              {"\"/opt/nodalis\"", "no argument"},
              {"\"/opt/nodalis\" --help", "no number"},
              {"\"/opt/nodalis\" 999999", "not above 999999"},
              {std::string("\x01\xff\"\0\"zz", 7), "garbage bytes"},
              {"", "empty"}};
  for (const Case& c : goOn) {
    answer = 0;
    form->ReceiveCommandLine(int32_t(c.text.size()), c.text, answer);
    EXPECT_EQ(answer, 1) << c.why;
  }

  // A number outside the supported dates is taken over (the sender ends)
  // but refused: the text area says so, the three instants stay, and the
  // commands go on from them.
  const int saros = Saros();
  for (const std::string far : {"\"/p\" 9e9", "\"/p\" 1e300"}) {
    const long double ref = ReferenceJD, sel = SelectedJD, ser = SeriesJD;
    answer = 0;
    form->ReceiveCommandLine(int32_t(far.size()), far, answer);
    EXPECT_EQ(answer, 0) << far;
    ASSERT_TRUE(QTest::qWaitFor([&] { return Lines().join("\n").contains("Bereich"); }, WAIT_MS))
        << Lines().join("\n").toStdString();
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Lines().join("|"), QString::fromUtf8(Cp1252ToUtf8(JDRangeText()).c_str()));
    EXPECT_EQ(ReferenceJD, ref) << far;
    EXPECT_EQ(SelectedJD, sel) << far;
    EXPECT_EQ(SeriesJD, ser) << far;
  }
  Click("SarPlus1Btn");
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(Saros(), saros + 1) << Lines().join("\n").toStdString();
  Click("NextEclBtn");
  ASSERT_TRUE(WaitIdle());
  EXPECT_FALSE(Rows().isEmpty()) << Lines().join("\n").toStdString();
}

// The program's own command line: a Julian date beyond the supported range
// is refused with the same message; the window works on.
TEST_F(MainWindow, OwnCommandLineOutOfRangeIsRefused) {
  Open({"9e9"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return Lines().join("\n").contains("Bereich"); }, WAIT_MS));
  ASSERT_TRUE(WaitIdle());
  EXPECT_TRUE(SeriesList.empty());
  EXPECT_TRUE(JDSupported(SelectedJD) && JDSupported(SeriesJD) && JDSupported(ReferenceJD));
  const int saros = Saros();
  Click("SarMin1Btn");
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(Saros(), saros - 1) << Lines().join("\n").toStdString();
}

// Steps that find SelectedJD outside the supported range (however it got
// there) start from the series on screen.
TEST_F(MainWindow, StepsFromAnUnsupportedDateStartFromTheSeries) {
  Open();
  ASSERT_TRUE(ChooseDate("2451735.0"));  // Saros 117
  for (const char* step : {"NextEclBtn", "SarPlus1Btn"}) {
    const int before = Saros();
    SelectedJD = 9e9L;
    Click(step);
    ASSERT_TRUE(WaitIdle());
    EXPECT_FALSE(Rows().isEmpty()) << step << ": " << Lines().join("\n").toStdString();
    EXPECT_TRUE(JDSupported(SelectedJD)) << step;
    if (step[0] == 'S') {
      EXPECT_EQ(Saros(), before + 1);
    }
  }
}

// The text area holds output: Tab moves on to the next control, keys type
// nothing into it, and its rows can be selected and copied.
TEST_F(MainWindow, TextAreaIsReadOnlyAndTabLeavesIt) {
  Open();
  ASSERT_TRUE(ChooseDate("2451735.0"));
  QPlainTextEdit* memo = W<QPlainTextEdit>("Memo1");
  const QString table = memo->toPlainText();
  form->activateWindow();  // the graph window came up over it
  ASSERT_TRUE(QTest::qWaitForWindowActive(form));
  memo->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return memo->hasFocus(); }, WAIT_MS));
  QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(memo, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), table) << "Ctrl+A, Ctrl+C copies the table";
  QTest::keyClick(memo, Qt::Key_Tab);
  EXPECT_EQ(memo->toPlainText(), table) << "Tab types nothing";
  EXPECT_EQ(QApplication::focusWidget(), W<QPushButton>("SarMin1Btn")) << "Tab goes on in the tab order";
  memo->setFocus();
  QTest::keyClicks(memo, "x");
  QTest::keyClick(memo, Qt::Key_Delete);
  EXPECT_EQ(memo->toPlainText(), table) << "keys do not change the table";
  // The widest row the table can hold fits the text area at the start size.
  const QString widest = QString(45, '0') + QString::fromUtf8("nichtzentrale ringförmige Finsternis (nächste Finsternis)");
  EXPECT_GE(memo->viewport()->width() - 2 * memo->document()->documentMargin(),
            memo->fontMetrics().horizontalAdvance(widest));
  EXPECT_EQ(memo->horizontalScrollBar()->maximum(), 0) << "nothing hidden to the right";
}

TEST_F(MainWindow, CommandsDuringABuildAreQueuedNotNested) {
  Open();
  const int start = Saros();
  // Inject a step and a hand-over from inside the first build's event pump.
  int pumps = 0;
  bool injected = false;
  std::size_t listSizeSeenByInjected = 0;
  PumpMessageHook = [&] {
    ++pumps;
    if (!injected && form->Busy()) {
      injected = true;
      EXPECT_TRUE(QApplication::overrideCursor() &&
                  QApplication::overrideCursor()->shape() == Qt::WaitCursor)
          << "the wait cursor shows while a series is built";
      QTest::mouseClick(W<QPushButton>("SarPlus1Btn"), Qt::LeftButton);
      EXPECT_EQ(form->QueuedCommands(), 1u) << "the click is queued, not run inside the build";
      form->RunCommand([&] { listSizeSeenByInjected = SeriesList.size(); });
      EXPECT_EQ(form->QueuedCommands(), 2u);
    }
    QCoreApplication::processEvents();
  };
  Click("SarMin1Btn");
  ASSERT_TRUE(WaitIdle());
  InstallGuiHooks();
  ASSERT_TRUE(injected) << "the build dispatched no events (" << pumps << " pumps)";
  EXPECT_EQ(form->QueuedCommands(), 0u);
  EXPECT_EQ(Saros(), start) << "-1 ran, then the queued +1";
  EXPECT_GT(listSizeSeenByInjected, 2u) << "the queued command saw a complete series";
  EXPECT_TRUE(Lines().first().startsWith(QStringLiteral("Saros %1 ").arg(start)));
}

TEST_F(MainWindow, CanonModeTakesTheSeriesFromTheCanonFile) {
  const std::string fixture = NODALIS_TEST_DATA_DIR "/canon_saros_145_136.txt";
  std::ofstream(root_ / "cwd" / "Nodalis.ini") << "[Eclipses]\nLorvan-Canon=" << fixture << "\n";
  Open();
  ASSERT_TRUE(W<QCheckBox>("CanonChk")->isChecked());
  W<QSpinBox>("EditSarosNr")->setValue(145);
  Click("GotoBtn");
  ASSERT_TRUE(WaitIdle());
  EXPECT_TRUE(Lines().first().startsWith("Saros 145 ")) << Lines().first();
  EXPECT_TRUE(Lines().contains("Datenbasis: canon_saros_145_136.txt")) << Lines().join("\n");
  EXPECT_TRUE(W<QRadioButton>("ELP2000")->isChecked());
  // The total eclipse of 2017 August 21 is a member, with the canon's date.
  bool found = false;
  for (const QString& r : Rows()) found = found || r.contains("21.08.2017");
  EXPECT_TRUE(found) << Lines().join("\n");
}

TEST_F(MainWindow, CanonFileNameShownAsText) {
  // The canon path travels as the file's bytes (here UTF-8); "Datenbasis:"
  // shows the name, not its bytes read as Windows-1252 ("cÃ¤non.txt").
  const fs::path canon = root_ / "c\xC3\xA4non.txt";
  fs::copy_file(NODALIS_TEST_DATA_DIR "/canon_saros_145_136.txt", canon);
  std::ofstream(root_ / "cwd" / "Nodalis.ini")
      << "[Eclipses]\nLorvan-Canon=" << canon.string() << "\n";
  Open();
  ASSERT_TRUE(W<QCheckBox>("CanonChk")->isChecked());
  W<QSpinBox>("EditSarosNr")->setValue(145);
  Click("GotoBtn");
  ASSERT_TRUE(WaitIdle());
  EXPECT_TRUE(Lines().contains(QString::fromUtf8("Datenbasis: c\xC3\xA4non.txt")))
      << Lines().join("\n").toStdString();
}

TEST_F(MainWindow, SettingsFileThatIsAFifoNeitherBlocksNorIsReplaced) {
  // Opening a FIFO for reading waits for a writer: the window would never
  // appear. It reads as all defaults and is left as it is on close.
  const fs::path ini = root_ / "cwd" / "Nodalis.ini";
  ASSERT_EQ(::mkfifo(ini.c_str(), 0644), 0);
  Open();
  EXPECT_FALSE(W<QCheckBox>("CanonChk")->isVisible()) << "default canon path: no such file";
  form->close();
  EXPECT_TRUE(fs::is_fifo(ini));
}

TEST_F(MainWindow, LunarTheoryAutoChoosesByDate) {
  Open();
  ASSERT_TRUE(ChooseDate("2451735.0"));  // 2000: orbitcore's lunar series
  EXPECT_TRUE(W<QRadioButton>("DE404")->isChecked());
  EXPECT_TRUE(Lines().contains("Datenbasis: VSOP87 + DE404")) << Lines().join("\n");
  ASSERT_TRUE(ChooseDate("1000000.5"));  // 1975 BC: lunaris
  EXPECT_TRUE(W<QRadioButton>("ELP2000")->isChecked());
  EXPECT_TRUE(Lines().contains("Datenbasis: VSOP 87 + ELP2000")) << Lines().join("\n");
  // Without "Auto" the user's choice stays.
  QTest::mouseClick(W<QCheckBox>("Lunar_Eph"), Qt::LeftButton);
  EXPECT_TRUE(W<QRadioButton>("DE404")->isEnabled());
  W<QRadioButton>("ELP2000")->setChecked(true);
  ASSERT_TRUE(ChooseDate("2451735.0"));
  EXPECT_TRUE(W<QRadioButton>("ELP2000")->isChecked());
  EXPECT_TRUE(Lines().contains("Datenbasis: VSOP 87 + ELP2000"));
}

TEST_F(MainWindow, OrientationAndShadowTrackBoxesRedrawTheSeries) {
  Open();
  Click("GotoBtn");
  ASSERT_TRUE(WaitIdle());
  const std::vector<std::string> equatorNorth = SeriesList;
  const QStringList table = Lines();
  QTest::mouseClick(W<QCheckBox>("ShowSchattenbahn"), Qt::LeftButton);
  ASSERT_TRUE(WaitIdle());
  EXPECT_TRUE(ShowSchattenbahnChecked);
  EXPECT_EQ(SeriesList, equatorNorth) << "the track box only redraws";

  QTest::mouseClick(W<QCheckBox>("EkliptikalNord"), Qt::LeftButton);
  ASSERT_TRUE(WaitIdle());
  EXPECT_TRUE(EkliptikalNordChecked);
  ASSERT_EQ(SeriesList.size(), equatorNorth.size()) << "same members, turned";
  EXPECT_NE(SeriesList, equatorNorth) << "x, y and the track slope turn to ecliptic north";
  EXPECT_EQ(Lines().first(), table.first()) << "same series in the table";
  QTest::mouseClick(W<QCheckBox>("EkliptikalNord"), Qt::LeftButton);
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(SeriesList, equatorNorth) << "unticking turns the series back";
}

// ---- the main window and nodalis-cli ------------------------------------------
//
// Through the same command sequences, after every command the window's text
// area and the tool's table are the same text. The window is clicked like a
// user; the tool runs the sequence up to that command. Both read the same
// clock (ClockJD here, --now for the tool).

namespace {

// The clock of both: 2026 December 9, 0h.
constexpr const char* CLOCK_JD = "2461383.5";

// One command: the tool's option and value ("--next", "--date" "1991-07-11T12:30:15").
struct Step {
  std::string option, value;
};

// The tool's text for the given options.
QStringList CliLines(const std::vector<Step>& steps, const std::string& settings) {
  std::string cmd = std::string("'") + NODALIS_CLI_PATH + "' --now " + CLOCK_JD + " " + settings;
  for (const Step& s : steps) cmd += " " + s.option + (s.value.empty() ? "" : " '" + s.value + "'");
  cmd += " 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return {"popen failed"};
  std::string out;
  char buf[4096];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  const int status = pclose(p);
  QStringList lines = QString::fromUtf8(out).split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) lines << QStringLiteral("exit %1").arg(status);
  return lines;
}

class WindowAndCli : public MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    ClockJD = StrToReal(CLOCK_JD);
    Zone = BaseZone = 1;  // the start-up zone of the date dialog
  }
  void TearDown() override {
    MainWindow::TearDown();
    ClockJD = NAN;
  }

  // Opens the window, with a Julian date on its command line when the
  // first step is --jd (which is then done).
  void OpenFor(const std::vector<Step>& steps) {
    QStringList args;
    if (!steps.empty() && steps.front().option == "--jd") args << QString::fromStdString(steps.front().value);
    ASSERT_NO_FATAL_FAILURE(Open(args));
    if (!args.isEmpty()) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return !SeriesList.empty() && !form->Busy(); }, WAIT_MS));
    }
  }

  // The window's way of one step.
  void Do(const Step& s) {
    if (s.option == "--next") Click("NextEclBtn");
    else if (s.option == "--prev") Click("Button1");
    else if (s.option == "--saros-step")
      Click(s.value == "1" ? "SarPlus1Btn" : s.value == "2" ? "SarPlus2Btn"
            : s.value == "-1" ? "SarMin1Btn" : "SarMin2Btn");
    else if (s.option == "--saros") {
      form->findChild<QSpinBox*>("EditSarosNr")->setValue(std::stoi(s.value));
      Click("GotoBtn");
    } else if (s.option == "--jd") {  // a second start hands it over
      const std::string line = "\"/usr/bin/nodalis\" " + s.value;
      uint8_t answer = 0;  // as the single-instance window passes it
      form->ReceiveCommandLine(int32_t(line.size()), line, answer);
      ASSERT_EQ(answer, 0);
      QTest::qWait(0);
    } else if (s.option == "--date" || s.option == "--date-ut") {
      DialogOk(s.value, s.option == "--date");
    } else {
      FAIL() << s.option;
    }
    ASSERT_TRUE(WaitIdle());
  }

  // "&Datum": the Julian date or the calendar fields, with or without TDT
  // (without: zone 0, no summer time), "&OK !".
  void DialogOk(const std::string& value, bool tdt) {
    form->DateDialogHook = [value, tdt](TDateForm* d) {
      d->show();
      auto* tdtBox = d->findChild<QCheckBox*>("TDTChk");
      if (tdtBox->isChecked() != tdt) QTest::mouseClick(tdtBox, Qt::LeftButton);
      if (!tdt) {
        d->findChild<QCheckBox*>("AutoDSTChk")->setChecked(false);
        d->findChild<QCheckBox*>("DSTChk")->setChecked(false);
        d->findChild<QLineEdit*>("TZ")->setText("0");
      }
      int y, mo, day, h, mi, sec;
      if (std::sscanf(value.c_str(), "%d-%d-%dT%d:%d:%d", &y, &mo, &day, &h, &mi, &sec) == 6) {
        const char* names[] = {"SY", "SMon", "SD", "SH", "SMin", "SS"};
        const int values[] = {y, mo, day, h, mi, sec};
        for (int i = 0; i < 6; ++i) d->findChild<QSpinBox*>(names[i])->setValue(values[i]);
      } else {
        d->findChild<QLineEdit*>("SJD")->setText(QString::fromStdString(value));
      }
      QTest::mouseClick(d->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
      return d->result();
    };
    Click("DateBtn");
  }

  // Runs the sequence in the window and, after every step, compares the
  // text area with the tool's table for the steps so far.
  // Boxes is the window's way of the tool's settings, done after the start.
  void Compare(std::vector<Step> steps, const std::string& settings = "",
               const std::function<void()>& Boxes = {}) {
    ASSERT_NO_FATAL_FAILURE(OpenFor(steps));
    if (Boxes) Boxes();
    std::vector<Step> done;
    std::size_t first = 0;
    if (!steps.empty() && steps.front().option == "--jd") {
      done.push_back(steps.front());
      first = 1;
      ASSERT_NO_FATAL_FAILURE(Check(done, settings));
    }
    for (std::size_t i = first; i < steps.size(); ++i) {
      ASSERT_NO_FATAL_FAILURE(Do(steps[i]));
      done.push_back(steps[i]);
      ASSERT_NO_FATAL_FAILURE(Check(done, settings));
    }
  }

  void Check(const std::vector<Step>& done, const std::string& settings) {
    std::string path = settings;
    for (const Step& s : done) path += " " + s.option + " " + s.value;
    const QStringList window = form->MemoLines();
    const QStringList cli = CliLines(done, settings);
    ASSERT_GT(window.size(), 10) << path << ":\n" << window.join('\n').toStdString();
    EXPECT_EQ(window.join('\n').toStdString(), cli.join('\n').toStdString()) << "after" << path;
  }

};

}  // namespace

TEST_F(WindowAndCli, StartWithAJulianDateAndEclipseSteps) {
  Compare({{"--jd", "2451600.0"}, {"--next", ""}, {"--next", ""}, {"--prev", ""}});
}

TEST_F(WindowAndCli, SarosStepsGoToAndASecondStart) {
  Compare({{"--jd", "2457987.27"},
           {"--saros-step", "1"},
           {"--saros-step", "-2"},
           {"--saros-step", "2"},
           {"--saros", "136"},
           {"--jd", "2460408.5"},
           {"--saros-step", "-1"}});
}

TEST_F(WindowAndCli, FirstCommandsAfterAPlainStart) {
  Compare({{"--next", ""}, {"--saros-step", "-1"}, {"--prev", ""}});
}

TEST_F(WindowAndCli, DateDialogWithAndWithoutTdt) {
  Compare({{"--date", "2451570.0"},
           {"--next", ""},
           {"--date-ut", "2451570.0"},
           {"--prev", ""},
           {"--date", "1991-07-11T12:30:15"},
           {"--saros-step", "1"},
           {"--date-ut", "2017-08-21T18:26:40"},
           {"--date-ut", "1000000.5"}});
}

// Without "Auto" the theory clicked stays, also when it was checked
// already (the date dialog's radio buttons, children of the main window,
// once joined its group, and a click on the checked "ELP2000" unchecked it).
TEST_F(WindowAndCli, LunarTheoryWithoutAuto) {
  Compare({{"--saros", "145"}, {"--next", ""}, {"--saros-step", "-2"}}, "--lunar elp2000", [this] {
    QTest::mouseClick(form->findChild<QCheckBox*>("Lunar_Eph"), Qt::LeftButton);
    auto* elp = form->findChild<QRadioButton*>("ELP2000");
    QTest::mouseClick(elp, Qt::LeftButton);
    EXPECT_TRUE(elp->isChecked());
  });
}

// The map window: opened from the graph window's "&Karte", it shows the
// series on screen, names the member under the mouse, follows a Saros step
// as the graph window does, zooms and saves.
TEST_F(MainWindow, MapWindowOpensFromKarteFollowsASarosStepAndSaves) {
  // The settings file's place: Casper, Wyoming (GeoNames 42.8666 N
  // 106.3131 W, 1560 m), inside the 2017 path.
  {
    std::ofstream ini(root_ / "cwd" / "Nodalis.ini");
    ini << "[Ini]\nPlace=42.8666 -106.3131 1560\n";
  }
  Open();
  QSpinBox* spin = W<QSpinBox>("EditSarosNr");
  spin->setFocus();
  spin->selectAll();
  QTest::keyClicks(spin, "145");
  QTest::keyClick(spin, Qt::Key_Return);
  ASSERT_TRUE(WaitIdle());
  ASSERT_NE(form->GraphForm, nullptr);
  auto* karte = form->GraphForm->findChild<QAction*>("Karte1");
  ASSERT_NE(karte, nullptr) << "\"&Karte\" in the graph window's menu bar";
  EXPECT_EQ(karte->text(), "&Karte");
  EXPECT_TRUE(form->GraphForm->menuBar()->actions().contains(karte));
  karte->trigger();
  TMapForm* map = form->MapForm;
  ASSERT_NE(map, nullptr);
  QTRY_VERIFY_WITH_TIMEOUT(map->isVisible(), WAIT_MS);
  EXPECT_EQ(map->windowTitle(), "Nodalis  Karte 145");
  // The picture at 100 %: the map's page at the screen's resolution.
  const int dpi = map->logicalDpiX();
  EXPECT_EQ(map->Surface->width(), int(std::lround(MAP_PAGE_WIDTH_IN * dpi)));
  // The mouse over the 2017 path in Nebraska (NASA's central line at 18:00
  // UT, 40 50.3 N 98 18.3 W): the status line names member 22.
  auto pixelOf = [&](double lon, double lat) {
    return QPoint(int((lon - MAP_WORLD_X1) / (MAP_WORLD_X2 - MAP_WORLD_X1) * map->Surface->width()),
                  int((MAP_WORLD_Y2 - lat) / (MAP_WORLD_Y2 - MAP_WORLD_Y1) * map->Surface->height()));
  };
  auto moveTo = [&](QPoint p) {
    QMouseEvent move(QEvent::MouseMove, QPointF(p), map->Surface->mapToGlobal(QPointF(p)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(map->Surface, &move);
    return map->findChild<QLabel*>("MapStatus")->text();
  };
  QString status = moveTo(pixelOf(-98.305, 40.838));
  EXPECT_TRUE(status.contains("Nr. 22  21.08.2017  totale Finsternis")) << status;
  // ... and how it looked from the settings file's place: total there,
  // for about two and a half minutes (NASA's page for Casper gives 2 m 26 s;
  // the local circumstances' own tests hold the seconds).
  EXPECT_TRUE(status.contains(QString::fromUtf8("42,87° N 106,31° W: total, Größe 1,0"))) << status;
  EXPECT_TRUE(status.contains("Dauer 2 min 2")) << status;
  // The place is marked on the map: the cross's black at its pixel.
  EXPECT_EQ(map->Surface->Picture().pixel(pixelOf(-106.3131, 42.8666)) & 0xFFFFFF, 0u);
  // The place under the mouse, within a pixel (0.4 deg at 96 dpi).
  const QRegularExpressionMatch place =
      QRegularExpression(QString::fromUtf8("^([0-9]+,[0-9])° N  ([0-9]+,[0-9])° W")).match(status);
  ASSERT_TRUE(place.hasMatch()) << status;
  EXPECT_NEAR(place.captured(1).replace(',', '.').toDouble(), 40.838, 0.4) << status;
  EXPECT_NEAR(place.captured(2).replace(',', '.').toDouble(), 98.305, 0.4) << status;
  // Over the open South Atlantic (45 S 20 W) no member of Saros 145 passes.
  status = moveTo(pixelOf(-20, -45));
  EXPECT_FALSE(status.contains("Nr.")) << status;
  // East of Greenwich the longitude reads "O" (Ost), with the German comma.
  status = moveTo(pixelOf(30, 10));
  EXPECT_TRUE(status.contains(QRegularExpression(QString::fromUtf8("^[0-9]+,[0-9]° N  [0-9]+,[0-9]° O"))))
      << status;
  // Picture pixels: the band's blue in Nebraska, the sea in the North Atlantic.
  const QImage pic = map->Surface->Picture();
  EXPECT_EQ(pic.pixel(pixelOf(-40, 40)) & 0xFFFFFF, qRgb(204, 226, 244) & 0xFFFFFF);

  // "+1" beside "Saros": the map follows, as the graph window does.
  Click("SarPlus1Btn");
  ASSERT_TRUE(WaitIdle());
  QTRY_COMPARE_WITH_TIMEOUT(map->windowTitle(), QString("Nodalis  Karte 146"), WAIT_MS);
  EXPECT_EQ(form->GraphForm->windowTitle(), "Nodalis  146");

  // Zoom in: the picture grows by sqrt(2), the fine outlines take over.
  const int before = map->Surface->width();
  map->findChild<QAction*>("MapZoomin")->trigger();
  EXPECT_NEAR(map->Surface->width(), before * std::sqrt(2.0), 2);

  // "&Speichern": PNG at 96 dpi and SVG, the name from the save dialog.
  const QString dir = QString::fromStdString((root_ / "cwd").string());
  QString name = dir + "/karte146.png";
  map->SaveFileNameHook = [&](QFileDialog&) { return name; };
  map->findChild<QAction*>("MapSave96")->trigger();
  EXPECT_EQ(QImage(name).size(), QSize(960, 591));
  name = dir + "/hires";  // without suffix: the chosen filter's, PNG
  map->findChild<QAction*>("MapSave300")->trigger();
  EXPECT_EQ(QImage(name + ".png").size(), QSize(3000, 1847));
  name = dir + "/karte146.svg";
  map->findChild<QAction*>("MapSave96")->trigger();
  EXPECT_TRUE(QString::fromUtf8(Slurp(name.toStdString())).contains("<title>Nodalis  Karte 146</title>"));
  // An existing file: "No" asks again (here cancelled), nothing written.
  int asked = 0;
  map->OverwriteHook = [&](const QString&) { ++asked; return QMessageBox::No; };
  const std::string before_bytes = Slurp(name.toStdString());
  int calls = 0;
  map->SaveFileNameHook = [&](QFileDialog&) { return ++calls == 1 ? name : QString(); };
  map->findChild<QAction*>("MapSave96")->trigger();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(Slurp(name.toStdString()), before_bytes);
}

// A bad settings place ("Place=123 4": a latitude beyond 90 deg) gives no
// marker, and the map window says why on standard error once, not at
// every series; before, it said nothing.
TEST_F(MainWindow, MapWindowSaysOnceWhyTheSettingsPlaceIsNotUsed) {
  {
    std::ofstream ini(root_ / "cwd" / "Nodalis.ini");
    ini << "[Ini]\nPlace=123 4\n";
  }
  Open();
  const std::string log = (root_ / "stderr.txt").string();
  std::fflush(stderr);
  const int saved = ::dup(2);
  FILE* f = std::fopen(log.c_str(), "w");
  ASSERT_NE(f, nullptr);
  ::dup2(::fileno(f), 2);
  QSpinBox* spin = W<QSpinBox>("EditSarosNr");
  spin->setFocus();
  spin->selectAll();
  QTest::keyClicks(spin, "145");
  QTest::keyClick(spin, Qt::Key_Return);
  const bool idle = WaitIdle();
  if (idle && form->GraphForm) form->GraphForm->findChild<QAction*>("Karte1")->trigger();
  TMapForm* map = form->MapForm;
  if (map) {
    QTRY_VERIFY_WITH_TIMEOUT(map->isVisible(), WAIT_MS);
    Click("SarPlus1Btn");
    WaitIdle();
    QTRY_COMPARE_WITH_TIMEOUT(map->windowTitle(), QString("Nodalis  Karte 146"), WAIT_MS);
  }
  std::fflush(stderr);
  ::dup2(saved, 2);
  ::close(saved);
  std::fclose(f);
  ASSERT_TRUE(idle);
  ASSERT_NE(map, nullptr);
  EXPECT_FALSE(map->Place.has_value());
  std::ifstream in(log);
  std::stringstream text;
  text << in.rdbuf();
  const std::string said = text.str();
  const std::string why = "[Ini] Place: Breite au\xC3\x9F" "erhalb von -90 bis 90 Grad: 123 (ohne Ort weiter)";
  const std::size_t first = said.find(why);
  EXPECT_NE(first, std::string::npos) << said;
  EXPECT_EQ(said.find(why, first + 1), std::string::npos) << "said more than once: " << said;
}
