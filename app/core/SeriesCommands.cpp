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
  FindEclipseNewMoon(SeriesJD, false);
  SelectedJD = SeriesJD;
  BesselRec rec{};
  CalcEclipse(1, true, rec, SeriesJD);
  SarosField = SarosFieldValue(rec.SarosNo);
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
  SelectedJD += Tag > 0 ? ECLIPSE_STEP_DAYS : -ECLIPSE_STEP_DAYS;
  if (!JDSupported(SelectedJD)) {
    SelectedJD = before;
    return Fail(JDRangeText());
  }
  Backward = Tag < 0;
  FindEclipseNewMoon(SelectedJD, Backward);
  BesselRec current;
  ReferenceJD = CalcEclipse(1, true, current, SelectedJD) > 0 ? current.JDMax : NowJD(0);
  return Recompute();
}

bool SeriesCommands::ChangeSaros(int Tag) {
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
  std::vector<std::string> progress;
  const bool found = SarosSearch(SarosField, CurrentSaros, progress);
  for (const std::string& line : progress) AddLine(line);
  if (!found) {
    Message = progress.back();
    AddLine(SarosReachableText());
    return false;
  }
  ReferenceJD = NowJD(0);
  return Recompute();
}

// Builds the series of the eclipse new moon JD (canon or computed) into a
// list of its own; SeriesList takes it over complete.
bool SeriesCommands::BuildSeriesInto(long double JD) {
  std::vector<std::string> list;
  if (Canon) {
    std::string message;
    if (!BuildSeriesFromCanon(list, JD, &message)) {
      AddLine(message);
      return false;
    }
  } else if (!BuildSeriesComputed(list, JD)) {
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

bool SeriesCommands::Recompute() {
  Message.clear();
  struct Hourglass {
    const CommandView& V;
    explicit Hourglass(const CommandView& View) : V(View) { if (V.Working) V.Working(true); }
    ~Hourglass() { if (V.Working) V.Working(false); }
  } hourglass(View);
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
    built = BuildSeriesFromCanon(list, SeriesJD, &message,
                                 [this](const std::string& line) { AddLine(line); });
  } else {
    if (Auto) {
      ELP2000 = AutoChoosesELP2000(SelectedJD);
      if (View.LunarChosen) View.LunarChosen();
    }
    UseLunarLib = ELP2000;
    PumpMessage();
    SeriesJD = SelectedJD;
    FindEclipseNewMoon(SeriesJD, Backward);
    built = BuildSeriesComputed(list, SeriesJD);
  }
  if (!built) return Fail(message.empty() ? JDRangeText() : message);
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
  const int32_t saros = WriteSeriesTable(SeriesList, Memo, source);
  SarosField = SarosFieldValue(saros);
  CurrentSaros = saros;
  if (View.TableWritten) View.TableWritten();
}

}  // namespace nodalis
