// SarosSearch and the headless Recompute pipeline (see SarosSearch.h).
#include "app/core/SarosSearch.h"

#include "app/core/CanonReader.h"
#include "app/core/SeriesBuilder.h"
#include "app/core/SeriesState.h"
#include "app/base/Utils.h"

namespace nodalis {

bool SarosSearch(int32_t Wanted, int32_t& CurrentSaros, std::vector<std::string>& Memo) {
  const long double start = SelectedJD;
  for (int i = 0; i < MAX_SAROS_SEARCH_PASSES; ++i) {
    const long double D = static_cast<long double>(Wanted) - CurrentSaros;
    long double next = SelectedJD + D * INEX_DAYS - 1;
    if (i > 20 && next < 0) next -= 1000;
    if (i > 26 && next < 0) next -= 1000;
    if (!JDSupported(next)) {
      SelectedJD = start;
      break;
    }
    SelectedJD = next;
    FindEclipseNewMoon(SelectedJD, false);
    Memo.push_back("berechne Sonnenfinsternis am   " + DateShort(0, SelectedJD));
    std::string text;
    CurrentSaros = SarosNumber(SelectedJD, text);
    if (CurrentSaros == Wanted) return true;
  }
  Memo.push_back("Saros" + ShortRealToStr(Wanted) + " nicht gefunden");
  return false;
}

std::string SarosReachableText() {
  return "Erreichbar sind Serien zwischen JD " + ShortRealToStr(MIN_SUPPORTED_JD) + " und " +
         ShortRealToStr(MAX_SUPPORTED_JD) + ", etwa Saros " +
         ShortRealToStr(SAROS_REACHABLE_ABOUT_FIRST) + " bis " +
         ShortRealToStr(SAROS_REACHABLE_ABOUT_LAST);
}

bool RecomputeSeries(const RecomputeSettings& Settings, std::vector<std::string>& Memo,
                     int32_t& Saros, bool& ELP2000Used, std::string& Message) {
  Memo.clear();
  Saros = 0;
  auto fail = [&](const std::string& text) {
    Message = text;
    Memo.assign(1, text);
    return false;
  };
  if (!JDSupported(SelectedJD)) return fail(JDRangeText());
  if (Settings.Canon) {
    ELP2000Used = true;
    UseLunarLib = true;
    long double jd = SelectedJD;
    if (!FindEclipseNewMoon(jd, Settings.Backward)) return fail(JDRangeText());
    SeriesJD = jd;
    std::string msg;
    if (!BuildSeriesFromCanon(SeriesList, SeriesJD, &msg)) return fail(msg);
  } else {
    ELP2000Used = Settings.Lunar == LunarMode::Auto ? AutoChoosesELP2000(SelectedJD)
                                                    : Settings.Lunar == LunarMode::ELP2000;
    UseLunarLib = ELP2000Used;
    PumpMessage();
    long double jd = SelectedJD;
    if (!FindEclipseNewMoon(jd, Settings.Backward)) return fail(JDRangeText());
    SeriesJD = jd;
    if (!BuildSeriesComputed(SeriesList, SeriesJD)) return fail(JDRangeText());
  }
  TableSource src;
  src.ELP2000 = ELP2000Used;
  src.Canon = Settings.Canon;
  src.CanonFileName = CanonFileName();
  Saros = WriteSeriesTable(SeriesList, Memo, src);
  return true;
}

}  // namespace nodalis
