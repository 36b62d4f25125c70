// SarosSearch — the search of "Gehe zu:" and the Saros step buttons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "astro/Astrcalc.h"

namespace nodalis {

constexpr int MAX_SAROS_SEARCH_PASSES = 31;
constexpr long double INEX_DAYS = 358.0L * SYNODIC_MONTH_DAYS;

// Moves SelectedJD by whole inex periods (358 lunations) until the eclipse
// new moon found there belongs to series Wanted (at most 31 passes), adding
// one progress line per pass ("berechne Sonnenfinsternis am   <date>") to
// Memo.  CurrentSaros follows the series reached.  On failure adds
// "Saros<N> nicht gefunden" and returns false; a step that would leave the
// supported date range ends the search and restores SelectedJD.
bool SarosSearch(int32_t Wanted, int32_t& CurrentSaros, std::vector<std::string>& Memo);

// The Saros series a search can reach and build: those whose members lie
// within the supported Julian dates (MIN_SUPPORTED_JD ... MAX_SUPPORTED_JD,
// about -10190 to +17190), roughly Saros -200 to 650. Near either end it
// depends on the series the search starts from and on the lunar theory
// whether a number is found and its series built: from 2017 the ends lie
// near -206 and 670, from 2026 February near -256 and 644.
constexpr int32_t SAROS_REACHABLE_ABOUT_FIRST = -200;
constexpr int32_t SAROS_REACHABLE_ABOUT_LAST = 650;
// "Erreichbar sind Serien zwischen JD -2000000 und 8000000, etwa Saros -200
// bis 650", the line after a failed search (Windows-1252).
std::string SarosReachableText();

}  // namespace nodalis
