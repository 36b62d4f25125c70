// SeriesCommands — the main window's commands (see SeriesCommands.h).
#include "app/core/SeriesCommands.h"

#include <algorithm>

#include "app/base/Utils.h"
#include "app/core/CanonReader.h"
#include "app/core/SarosSearch.h"
#include "app/core/SeriesBuilder.h"
#include "app/core/SeriesState.h"
#include "app/core/SeriesTable.h"
#include "astro/Astrcalc.h"

namespace nodalis {

namespace {
// The hourglass while a command computes (nested ones stack).
struct Hourglass {
  const CommandView& V;
  explicit Hourglass(const CommandView& View) : V(View) {
    if (V.Working) V.Working(true);
  }
  ~Hourglass() {
    if (V.Working) V.Working(false);
  }
};

const char* const NO_MEMBER_TEXT = "Keine Sonnenfinsternis der Serie gefunden";

int32_t SarosFieldValue(long long V) {
  return static_cast<int32_t>(std::clamp<long long>(V, SAROS_FIELD_MIN, SAROS_FIELD_MAX));
}
}  // namespace

bool AutoChoosesELP2000(long double JD) {
  return !(JD > AUTO_DE404_FIRST_JD && JD < AUTO_DE404_LAST_JD);
}

void SeriesCommands::SetLunarMode(LunarMode Mode) {
  Auto = Mode == LunarMode::Auto;
  if (!Auto) ELP2000 = Mode == LunarMode::ELP2000;
}

void SeriesCommands::SetCanon(bool On) {
  Canon = On;
  ELP2000 = true;
}

void SeriesCommands::ClearText() {
  Memo.clear();
  if (View.TextCleared) View.TextCleared();
}

void SeriesCommands::AddLine(const std::string& Line) {
  Memo.push_back(Line);
  if (View.LineAdded) View.LineAdded(Line);
}

bool SeriesCommands::Fail(const std::string& Text) {
  ClearText();
  AddLine(Text);
  Message = Text;
  return false;
}

// Steps start from SelectedJD; when it lies outside the supported range,
// from the series on screen or, without one, from now.
void SeriesCommands::SupportedStart() {
  if (JDSupported(SelectedJD)) return;
  SelectedJD = JDSupported(SeriesJD) ? SeriesJD : NowJD(0);
}

void SeriesCommands::Start() {
  Message.clear();
  ReferenceJD = NowJD(0);
  SelectedJD = ReferenceJD;
  SeriesJD = SelectedJD;
  const bool newMoon = FindEclipseNewMoon(SeriesJD, false);
  SelectedJD = SeriesJD;
  BesselRec rec{};
  StartFoundEclipse = newMoon && CalcEclipse(1, true, rec, SeriesJD) > 0;
  SarosField = SarosFieldValue(StartFoundEclipse ? rec.SarosNo : 0);
  CurrentSaros = SarosField;
  SeriesList.clear();
  Backward = false;
  ClearText();
  for (const std::string& line : StartupNoticeLines()) AddLine(line);
}

bool SeriesCommands::CommandLineJD(long double JD) {
  Message.clear();
  // Refused: the three instants stay, so every command goes on working.
  if (!JDSupported(JD)) return Fail(JDRangeText());
  ReferenceJD = SelectedJD = SeriesJD = JD;
  return Recompute();
}

bool SeriesCommands::ChooseDate(const std::function<bool()>& RunDialog) {
  Message.clear();
  Backward = false;
  if (!RunDialog || !RunDialog()) return false;
  BesselRec current;
  ReferenceJD = CalcEclipse(1, true, current, SelectedJD) > 0 ? SelectedJD : NowJD(0);
  return Recompute();
}

bool SeriesCommands::StepEclipse(int Tag) {
  Message.clear();
  SupportedStart();
  const long double before = SelectedJD;
  // The step goes from the eclipse new moon of the series on screen, not
  // from SelectedJD: the builder's backward phase leaves SelectedJD one
  // Saros before the series' first member whenever its estimate of the
  // start fell inside the series (centuries before the eclipse shown), and
  // a chosen date 10 to 15 days before its eclipse is less than 20 days
  // before that new moon.  From the eclipse new moon, 20 days on is past
  // the middle of the lunation, so the search begins with the next new moon.
  const long double from = JDSupported(SeriesJD) ? SeriesJD : SelectedJD;
  const long double step = Tag > 0 ? ECLIPSE_STEP_DAYS : -ECLIPSE_STEP_DAYS;
  SelectedJD = from + step;
  Backward = Tag < 0;
  BesselRec current;
  // A new moon within the 1.7 deg limit need not give an eclipse (the
  // limit is wider than the widest partial eclipse): such a new moon is
  // passed over, as the next one in that direction is searched.
  bool eclipse = false;
  for (int k = 0; k < MAX_STEP_NEW_MOONS && JDSupported(SelectedJD); ++k) {
    if (!FindEclipseNewMoon(SelectedJD, Backward)) break;
    if (CalcEclipse(0, true, current, SelectedJD) > 0) {
      eclipse = true;
      break;
    }
    SelectedJD += Backward ? -ECLIPSE_STEP_DAYS : ECLIPSE_STEP_DAYS;
  }
  if (!eclipse || !JDSupported(SelectedJD)) {
    SelectedJD = before;
    return Fail(JDRangeText());
  }
  ReferenceJD = current.JDMax;
  return Recompute();
}

bool SeriesCommands::ChangeSaros(int Tag) {
  // The search builds series of its own before Recompute builds the one found.
  const Hourglass hourglass(View);
  Message.clear();
  ClearText();
  Backward = false;
  SupportedStart();
  if (!SeriesList.empty()) {
    // Start the search from the beginning of the series on screen.
    SeriesJD = SelectedJD;
    FindEclipseNewMoon(SeriesJD, false);
    SelectedJD = SeriesJD;
    std::vector<std::string> list;
    if (BuildSeriesComputed(list, SeriesJD)) SeriesList.swap(list);
  }
  if (Tag != 0) SarosField = SarosFieldValue(static_cast<long long>(SarosField) + Tag);
  const int32_t wanted = SarosField;
  std::vector<std::string> progress;
  // The builds of the search take the Moon Recompute takes for the landing;
  // the series found is built already.
  SeriesBuild build;
  const bool found = SarosSearch(wanted, CurrentSaros, progress, [this](long double JD) {
    return Canon || (Auto ? AutoChoosesELP2000(JD) : ELP2000);
  }, &build);
  for (const std::string& line : progress) AddLine(line);
  if (!found) {
    const std::string missing = "Saros" + ShortRealToStr(wanted) + " nicht gefunden";
    Message = missing;
    // The line that says why, or else the range the search reaches.
    Message += "\n" + (progress.back() != missing ? progress.back() : SarosReachableText());
    AddLine(SarosReachableText());
    return false;
  }
  ReferenceJD = NowJD(0);
  if (!Recompute(&build)) return false;
  // A series from the canon may begin with another member than the one
  // computed: the number asked for is still what the title must show.
  if (CurrentSaros != wanted) {
    const std::string shown = "Saros" + ShortRealToStr(wanted) + " nicht gefunden";
    Fail(shown);
    AddLine("Die Canon-Datei beginnt diese Serie mit einer Finsternis der Serie Saros " +
            ShortRealToStr(CurrentSaros));
    SarosField = wanted;
    return false;
  }
  return true;
}

// Builds the series of the eclipse new moon JD (canon or computed) into a
// list of its own; SeriesList takes it over complete.
bool SeriesCommands::BuildSeriesInto(long double JD) {
  std::vector<std::string> list;
  if (Canon) {
    std::string message;
    if (!BuildSeriesFromCanon(list, JD, &message, {}, &CanonSkippedLines)) {
      AddLine(message);
      return false;
    }
  } else if (!BuildSeriesComputed(list, JD) || list.size() < 3) {
    return false;
  }
  SeriesList.swap(list);
  return true;
}

bool SeriesCommands::Reorient() {
  Message.clear();
  BuildSeriesInto(SeriesJD);
  if (View.RedrawSeries) View.RedrawSeries();
  WriteTable();
  return true;
}

bool SeriesCommands::Recompute(const SeriesBuild* Built) {
  Message.clear();
  const Hourglass hourglass(View);
  ClearText();
  if (!JDSupported(SelectedJD)) return Fail(JDRangeText());
  std::vector<std::string> list;
  bool built = false;
  std::string message;
  if (Canon) {
    UseLunarLib = true;
    AddLine("Suche Saros");
    SeriesJD = SelectedJD;
    FindEclipseNewMoon(SeriesJD, Backward);
    CanonSkippedLines = 0;
    built = BuildSeriesFromCanon(list, SeriesJD, &message,
                                 [this](const std::string& line) { AddLine(line); },
                                 &CanonSkippedLines);
  } else {
    if (Auto) {
      ELP2000 = AutoChoosesELP2000(SelectedJD);
      if (View.LunarChosen) View.LunarChosen();
    }
    UseLunarLib = ELP2000;
    PumpMessage();
    if (Built && !Built->List.empty() && Built->Landing == SelectedJD && !Backward &&
        Built->ELP2000 == UseLunarLib && Built->EclipticNorth == EkliptikalNordChecked) {
      // The same build from the same instant (the Saros search's): taken over.
      SeriesJD = Built->SeriesJD;
      SelectedJD = Built->SelectedJD;
      list = Built->List;
      built = true;
    } else {
      SeriesJD = SelectedJD;
      FindEclipseNewMoon(SeriesJD, Backward);
      built = BuildSeriesComputed(list, SeriesJD);
    }
  }
  if (!built) {
    // The canon reader says why; a computed series fails at a supported
    // date only when it reaches beyond the supported dates.
    if (message.empty())
      message = JDSupported(SeriesJD) ? SeriesBeyondRangeText(SeriesJD) : JDRangeText();
    return Fail(message);
  }
  // Start and end line only: no member, no table (the title would claim a
  // "Saros 0" of 0 new moons).
  if (list.size() < 3) return Fail(NO_MEMBER_TEXT);
  SeriesList.swap(list);
  ClearText();
  WriteTable();
  if (View.ShowSeries) View.ShowSeries();
  return true;
}

void SeriesCommands::WriteTable() {
  TableSource source;
  source.ELP2000 = ELP2000;
  source.Canon = Canon;
  source.CanonFileName = CanonFileName();
  source.SkippedLines = Canon ? CanonSkippedLines : 0;
  const int32_t saros = WriteSeriesTable(SeriesList, Memo, source);
  SarosField = SarosFieldValue(saros);
  CurrentSaros = saros;
  if (View.TableWritten) View.TableWritten();
}

}  // namespace nodalis
