// The main window and nodalis-cli through the same command sequences: after
// every command the window's text area and the tool's table are the same
// text. The window is clicked like a user (offscreen); the tool runs the
// sequence up to that command. Both read the same clock (ClockJD in the
// window, --now for the tool).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <cstdio>
#include <functional>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "app/base/Utils.h"
#include "app/core/SeriesState.h"
#include "app/gui/NodalisU.h"
#include "astro/TIMLIB.h"
#include "dialogs/DateFormU.h"

namespace fs = std::filesystem;
using namespace nodalis;

namespace {

constexpr int WAIT_MS = 60000;  // a loaded 2-core machine
// The clock of both: 2026 December 9, 0h.
constexpr const char* CLOCK_JD = "2461383.5";

QApplication* App() {
  static int argc = 1;
  static char name[] = "test_window_cli";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    auto* a = new QApplication(argc, argv);
    InstallGuiHooks();
    return a;
  }();
  return app;
}

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

class WindowAndCli : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    old_cwd_ = fs::current_path();
    root_ = fs::temp_directory_path() /
            ("nodalis-window-cli-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "cwd");
    fs::current_path(root_ / "cwd");
    ::setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);  // no canon file
    ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    // The state of a fresh program.
    ClockJD = StrToReal(CLOCK_JD);
    SeriesList.clear();
    EkliptikalNordChecked = ShowSchattenbahnChecked = false;
    TimesAreTDT = false;
    Zone = BaseZone = 1;
  }
  void TearDown() override {
    delete form;
    ClockJD = NAN;
    fs::current_path(old_cwd_);
    fs::remove_all(root_);
  }
  bool WaitIdle() { return QTest::qWaitFor([&] { return !form->Busy(); }, WAIT_MS); }
  void Click(const char* name) {
    QTest::mouseClick(form->findChild<QPushButton*>(name), Qt::LeftButton);
  }

  // Opens the window, with a Julian date on its command line when the
  // first step is --jd (which is then done).
  void Open(std::vector<Step>& steps) {
    QStringList args;
    if (!steps.empty() && steps.front().option == "--jd") args << QString::fromStdString(steps.front().value);
    form = new TForm1(args);
    auto* date = new TDateForm(form);
    form->DateForm = date;
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    if (!args.isEmpty())
      ASSERT_TRUE(QTest::qWaitFor([&] { return !SeriesList.empty() && !form->Busy(); }, WAIT_MS));
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
      ChooseDate(s.value, s.option == "--date");
    } else {
      FAIL() << s.option;
    }
    ASSERT_TRUE(WaitIdle());
  }

  // "&Datum": the Julian date or the calendar fields, with or without TDT
  // (without: zone 0, no summer time), "&OK !".
  void ChooseDate(const std::string& value, bool tdt) {
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
    ASSERT_NO_FATAL_FAILURE(Open(steps));
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

  fs::path root_, old_cwd_;
  TForm1* form = nullptr;
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
