// SarosSearch (see SarosSearch.h).
#include "app/core/SarosSearch.h"

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

}  // namespace nodalis
