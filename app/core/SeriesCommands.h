// SeriesCommands — the main window's commands without the window.
//
// Start-up, a Julian date from the command line or a second start, a date
// chosen in the date dialog, a step to the next or previous eclipse, the
// Saros steps and "Gehe zu:", the orientation box, and Recompute with the
// choice of the lunar theory.  The main window (app/gui) runs these for its
// buttons and boxes and shows what they write; nodalis-cli runs the same
// commands for its options and prints the same text.  Free of Qt.
//
// The commands work on the shared instants (SelectedJD, SeriesJD,
// ReferenceJD), on SeriesList and on the window's state held here: the
// lunar-theory and canon boxes, the Saros field, the search direction and
// the text area's lines (Memo, Windows-1252).  While a command runs it tells
// a front end through View what to show; every callback may be empty.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace nodalis {

struct SeriesBuild;

// A number on the program's command line above this is a Julian date whose
// series is shown at once.
constexpr long double COMMAND_LINE_MIN_JD = 999999.0L;
// The eclipse step buttons move SelectedJD by this before they search the
// next (previous) eclipse new moon, days.
constexpr long double ECLIPSE_STEP_DAYS = 20.0L;
// At most this many new moons within the eclipse limit but without an
// eclipse are passed over by one step (one is the most seen).
constexpr int MAX_STEP_NEW_MOONS = 4;
// "Auto" takes the Moon from orbitcore ("DE404") strictly between these
// Julian dates and from lunaris ("ELP2000") outside.
constexpr long double AUTO_DE404_FIRST_JD = 1400000.0L;
constexpr long double AUTO_DE404_LAST_JD = 3300000.0L;
// Values the Saros field holds (the search reaches about -200 to 650).
constexpr int32_t SAROS_FIELD_MIN = -99999;
constexpr int32_t SAROS_FIELD_MAX = 99999;

// "Auto" choice of the lunar theory: true = ELP2000 (lunaris) for Julian
// dates at most AUTO_DE404_FIRST_JD or at least AUTO_DE404_LAST_JD.
bool AutoChoosesELP2000(long double JD);

// The three lunar-theory boxes as one choice: "Auto" ticked, or "Auto"
// unticked with "ELP2000" or "DE404" checked.
enum class LunarMode { Auto, ELP2000, DE404 };

// What a front end shows while a command runs.
struct CommandView {
  std::function<void()> TextCleared;                     // Memo emptied
  std::function<void(const std::string& Line)> LineAdded;  // appended to Memo
  std::function<void()> TableWritten;  // Memo holds title and table; SarosField, TitleCaption set
  std::function<void()> LunarChosen;   // "Auto" changed ELP2000 before a build
  std::function<void()> ShowSeries;    // a new series: show the graph window and draw it
  std::function<void()> RedrawSeries;  // the series turned: draw it again
  std::function<void(bool On)> Working;  // the hourglass while Recompute or a search runs (nested calls)
};

class SeriesCommands {
 public:
  // Boxes and fields of the main window.
  bool Auto = true;         // "Auto"
  bool ELP2000 = true;      // "ELP2000" checked, else "DE404"
  bool Canon = false;       // "Canon": the series from the file CanonPath
  int32_t SarosField = 0;   // EditSarosNr
  int32_t CurrentSaros = 0;  // the series on screen, or reached by a search
  bool Backward = false;    // direction of Recompute's eclipse new-moon search
  std::vector<std::string> Memo;  // the text area, one entry per line
  std::string Message;      // why the last command wrote no table ("" if it did)
  int CanonSkippedLines = 0;  // lines the canon reader passed over in the last build
  // Start found the next eclipse from now (not so when now lies at the end
  // of the supported dates: the Saros field then holds 0).
  bool StartFoundEclipse = false;
  CommandView View;

  void SetLunarMode(LunarMode Mode);
  // "Canon" ticked or unticked; either way "ELP2000" becomes checked.
  void SetCanon(bool On);

  // Start-up: the instants at the next eclipse new moon from now, the Saros
  // field at its series, no series, the start-up notice in Memo.
  void Start();
  // A Julian date on the command line or from a second start: ReferenceJD,
  // SelectedJD and SeriesJD := JD, then Recompute.  A date outside the
  // supported range is refused and the instants stay.
  bool CommandLineJD(long double JD);
  // "&Datum": RunDialog stands for the modal date dialog and returns whether
  // it closed with OK (leaving the chosen instant in SelectedJD).  The
  // chosen instant becomes the reference when an eclipse follows within 15
  // days, otherwise now; then Recompute.
  bool ChooseDate(const std::function<bool()>& RunDialog);
  // "+1" (Tag > 0) or "-1" (Tag < 0) beside "Finsternis": from the eclipse
  // new moon of the series on screen (SeriesJD) 20 days on, the next eclipse
  // in that direction, which becomes the reference and SelectedJD; its
  // series is shown.  A step beyond the supported dates is refused.
  bool StepEclipse(int Tag);
  // "-2", "-1", "+1", "+2" beside "Saros" (Tag) and "&Gehe zu:" or Enter in
  // the Saros field (Tag 0, the number in SarosField): the search from the
  // start of the series on screen for the series titled with that number
  // (SarosSearch), then Recompute with now as the reference.
  bool ChangeSaros(int Tag);
  // "Orientierung Ekliptikal Nord" changed while the graph window exists:
  // the series on screen built again from SeriesJD, redrawn, and its table.
  bool Reorient();
  // The pipeline every command ends in: lunar theory, series (computed or
  // from the canon), table, diagram.  Built, when it is the computed build
  // Recompute would make (same instant, Moon and orientation), is taken
  // instead of building the series again.
  bool Recompute(const SeriesBuild* Built = nullptr);
  // Title and table of SeriesList into Memo; SarosField and CurrentSaros
  // follow the series.
  void WriteTable();

 private:
  void ClearText();
  void AddLine(const std::string& Line);
  bool Fail(const std::string& Text);  // Memo := Text; Message := Text
  void SupportedStart();
  bool BuildSeriesInto(long double JD);
};

}  // namespace nodalis
