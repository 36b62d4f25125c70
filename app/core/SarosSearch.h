// SarosSearch — the search of "Gehe zu:" and the Saros step buttons.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "astro/Astrcalc.h"

namespace nodalis {

constexpr int MAX_SAROS_SEARCH_PASSES = 31;
constexpr long double INEX_DAYS = 358.0L * SYNODIC_MONTH_DAYS;

// Which Moon a series built from a landing instant takes: true = lunaris
// ("ELP2000"), as Recompute chooses it for SelectedJD = that instant.
using MoonForLanding = std::function<bool(long double LandingJD)>;

// Finds the series Recompute shows under the number Wanted, that is the
// series whose first member SarosNumber numbers Wanted (the title's
// number), and leaves SelectedJD at an eclipse new moon of it.
//
// First the walk: SelectedJD moves by whole inex periods (358 lunations)
// until the eclipse new moon found there is numbered Wanted (at most 31
// passes), one progress line per pass ("berechne Sonnenfinsternis am
// <date>") in Memo; CurrentSaros follows the numbers reached.  A date
// numbered Wanted need not give a series titled Wanted: the era letter
// follows the calendar year, so a series whose first member lies before an
// era's first year is numbered in the era before (the NASA canon's Saros
// 180 begins 2742 here, before the year 2757 of era M, and is Saros -43),
// and a build from a series' last member may go astray.  So the series a
// build from the landing gives is checked, and so are the other series of
// the same class (SarosClass.h) that could carry the number: the earliest
// series titled Wanted is the one found (a number can name two series
// about 6 500 years apart, when an era holds the first members of both).
// Where the walk landed in it, SelectedJD stays there; otherwise it moves
// to that series' middle, with one more progress line.  The result depends
// on the number only, not on where the search started.
//
// MoonFor gives the Moon of those builds (empty: UseLunarLib as it is);
// Found, when given, receives the build of the series found, which
// Recompute can take instead of building the same series again.
// On failure adds "Saros<N> nicht gefunden" and, when the walk reached a
// date of that number, "Finsternisse mit der Nummer <N> gehören hier zur
// Serie Saros <T> (Beginn <date>)", or, when that date's series reaches
// beyond the supported dates, "Die Serie der Finsternis vom <date> reicht
// über die unterstützten Daten hinaus (JD ...)", and returns false;
// SelectedJD and CurrentSaros stay at the last landing (SelectedJD goes back
// to where it was when a step would leave the supported dates).
struct SeriesBuild;
bool SarosSearch(int32_t Wanted, int32_t& CurrentSaros, std::vector<std::string>& Memo,
                 const MoonForLanding& MoonFor = {}, SeriesBuild* Found = nullptr);

// The Saros series a search can reach and build: those whose members lie
// within the supported Julian dates (MIN_SUPPORTED_JD ... MAX_SUPPORTED_JD,
// about -10190 to +17190), roughly Saros -200 to 650. Near either end it
// depends on the lunar theory whether a series lies inside.
constexpr int32_t SAROS_REACHABLE_ABOUT_FIRST = -200;
constexpr int32_t SAROS_REACHABLE_ABOUT_LAST = 650;
// "Erreichbar sind Serien zwischen JD -2000000 und 8000000, etwa Saros -200
// bis 650", the line after a failed search (Windows-1252).
std::string SarosReachableText();
// "Die Serie der Finsternis vom <date> reicht über die unterstützten Daten
// hinaus (JD -2000000 bis 8000000)": the series of the eclipse new moon JD
// has a member beyond the supported dates (Windows-1252).
std::string SeriesBeyondRangeText(long double JD);

// A series as Recompute builds it from a landing instant: the eclipse new
// moon forwards from it (SeriesJD), the computed series with the Moon
// given, and SelectedJD where the builder's backward phase leaves it.
struct SeriesBuild {
  long double Landing = 0;     // SelectedJD before the build
  long double SeriesJD = 0;
  long double SelectedJD = 0;  // after the build
  bool ELP2000 = false;        // the Moon it was built with (UseLunarLib)
  bool EclipticNorth = false;  // EkliptikalNordChecked when it was built
  std::vector<std::string> List;
};

// Builds the series from the landing instant JD (Moon by MoonFor) and gives
// the number its title shows (the first member's SarosNumber); false when
// no series is built there.  SelectedJD and UseLunarLib are left as they
// were.
bool SeriesTitleFrom(long double JD, int32_t& Title, const MoonForLanding& MoonFor = {},
                     SeriesBuild* Build = nullptr);

}  // namespace nodalis
