// SarosSearch (see SarosSearch.h).
#include "app/core/SarosSearch.h"

#include <cmath>

#include "app/core/MemberLine.h"
#include "app/core/SeriesBuilder.h"
#include "app/core/SeriesState.h"
#include "app/base/Utils.h"
#include "astro/SarosClass.h"

namespace nodalis {

namespace {
// A series' first member lies at most this many Saros before the first new
// moon of its stretch (the stretches are generous: none was found before).
constexpr long long FIRST_MEMBER_MARGIN_SAROS = 3;

std::string ProgressLine(long double JD) {
  return "berechne Sonnenfinsternis am   " + DateShort(0, JD);
}

enum class WalkEnd { Reached, Passes, Range };

// The walk: whole inex periods until the date's number is Wanted.  A step
// that would leave the supported dates ends it (SelectedJD restored).
WalkEnd Walk(int32_t Wanted, int32_t& CurrentSaros, std::vector<std::string>& Memo) {
  const long double start = SelectedJD;
  for (int i = 0; i < MAX_SAROS_SEARCH_PASSES; ++i) {
    const long double D = static_cast<long double>(Wanted) - CurrentSaros;
    long double next = SelectedJD + D * INEX_DAYS - 1;
    if (i > 20 && next < 0) next -= 1000;
    if (i > 26 && next < 0) next -= 1000;
    if (!JDSupported(next)) {
      SelectedJD = start;
      return WalkEnd::Range;
    }
    SelectedJD = next;
    FindEclipseNewMoon(SelectedJD, false);
    Memo.push_back(ProgressLine(SelectedJD));
    std::string text;
    CurrentSaros = SarosNumber(SelectedJD, text);
    if (CurrentSaros == Wanted) return WalkEnd::Reached;
  }
  return WalkEnd::Passes;
}

int32_t NumberAt(long long K) {
  std::string text;
  return SarosNumber(MeanNewMoonJDE(K), text);
}
}  // namespace

bool SeriesTitleFrom(long double JD, int32_t& Title, const MoonForLanding& MoonFor,
                     SeriesBuild* Build) {
  const long double selected = SelectedJD;
  const bool moon = UseLunarLib;
  if (MoonFor) UseLunarLib = MoonFor(JD);
  SeriesBuild b;
  b.Landing = JD;
  b.SeriesJD = JD;
  b.ELP2000 = UseLunarLib;
  b.EclipticNorth = EkliptikalNordChecked;
  SelectedJD = JD;
  bool built = FindEclipseNewMoon(b.SeriesJD, false) && BuildSeriesComputed(b.List, b.SeriesJD) &&
               b.List.size() > 2;
  b.SelectedJD = SelectedJD;
  BesselRec first;
  built = built && ParseMemberLine(b.List[1], first);
  if (built) {
    Title = first.SarosNo;
    if (Build) *Build = std::move(b);
  }
  SelectedJD = selected;
  UseLunarLib = moon;
  return built;
}

bool SarosSearch(int32_t Wanted, int32_t& CurrentSaros, std::vector<std::string>& Memo,
                 const MoonForLanding& MoonFor, SeriesBuild* Found) {
  const bool walked = Walk(Wanted, CurrentSaros, Memo) == WalkEnd::Reached;
  const long double landing = SelectedJD;
  const long long landingK = walked ? LunationNumber(landing) : 0;

  // The series of the class in time order; within one class the number of
  // a date only grows with time, so a series can be titled Wanted only when
  // Wanted lies between the numbers at its first possible member and at
  // its middle.
  const long long fromK = LunationNumber(MIN_SUPPORTED_JD) + 1;
  const long long toK = LunationNumber(MAX_SUPPORTED_JD) - 1;
  for (const SarosStretch& s : SarosClassStretches(Wanted, fromK, toK)) {
    const long long firstK = s.First - FIRST_MEMBER_MARGIN_SAROS * LUNATIONS_PER_SAROS;
    if (!(NumberAt(firstK) <= Wanted && Wanted <= NumberAt(s.Middle))) continue;
    const bool walkedHere = walked && landingK >= firstK && landingK <= s.Last;
    long double jd = landing;
    if (!walkedHere) {
      jd = MeanNewMoonJDE(s.Middle);
      if (!JDSupported(jd) || !FindEclipseNewMoon(jd, false) || LunationNumber(jd) != s.Middle)
        continue;
    }
    int32_t title = 0;
    if (!SeriesTitleFrom(jd, title, MoonFor, Found) || title != Wanted) continue;
    SelectedJD = jd;
    if (!walkedHere) Memo.push_back(ProgressLine(jd));
    CurrentSaros = Wanted;
    return true;
  }
  SelectedJD = landing;
  Memo.push_back("Saros" + ShortRealToStr(Wanted) + " nicht gefunden");
  // Where the walk reached a date of that number, say whose series it is.
  int32_t title = 0;
  SeriesBuild there;
  BesselRec first;
  if (walked && SeriesTitleFrom(landing, title, MoonFor, &there)) {
    if (title != Wanted && ParseMemberLine(there.List[1], first))
      Memo.push_back("Finsternisse mit der Nummer " + ShortRealToStr(Wanted) +
                     " geh\xF6ren hier zur Serie Saros " + ShortRealToStr(title) + " (Beginn " +
                     DateShort(0, first.JDMax) + ")");
  } else if (walked) {
    // The series there begins before or ends after the supported dates.
    Memo.push_back(SeriesBeyondRangeText(landing));
  }
  if (Found) Found->List.clear();
  return false;
}

std::string SeriesBeyondRangeText(long double JD) {
  return "Die Serie der Finsternis vom " + DateShort(0, JD) +
         " reicht \xFC" "ber die unterst\xFCtzten Daten hinaus (JD " +
         ShortRealToStr(MIN_SUPPORTED_JD) + " bis " + ShortRealToStr(MAX_SUPPORTED_JD) + ")";
}

std::string SarosReachableText() {
  return "Erreichbar sind Serien zwischen JD " + ShortRealToStr(MIN_SUPPORTED_JD) + " und " +
         ShortRealToStr(MAX_SUPPORTED_JD) + ", etwa Saros " +
         ShortRealToStr(SAROS_REACHABLE_ABOUT_FIRST) + " bis " +
         ShortRealToStr(SAROS_REACHABLE_ABOUT_LAST);
}

}  // namespace nodalis
