// SarosSearch — the search of "Gehe zu:" and the Saros step buttons, and
// the headless pipeline of Recompute (lunar choice, series, table).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SeriesTable.h"

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

// Saros series whose members all lie within the supported Julian dates
// (MIN_SUPPORTED_JD ... MAX_SUPPORTED_JD, about -10190 to +17190): the
// series a Saros search can reach and build. Found by searching every
// number from the present: -194 is found but has members before the
// range, 655 lies beyond it.
constexpr int32_t SAROS_REACHABLE_FIRST = -193;
constexpr int32_t SAROS_REACHABLE_LAST = 654;
// "Erreichbar sind die Serien Saros -193 bis 654", the line after a failed
// search (Windows-1252).
std::string SarosReachableText();

enum class LunarMode { Auto, ELP2000, DE404 };

struct RecomputeSettings {
  LunarMode Lunar = LunarMode::Auto;  // "Auto" / "ELP2000" / "DE404"
  bool Canon = false;                 // "Canon": series from CanonPath
  bool Backward = false;              // direction of the eclipse new-moon search
};

// The pipeline of Recompute without windows: chooses the Moon's source
// (UseLunarLib; canon mode forces ELP2000), finds the eclipse new moon from
// SelectedJD into SeriesJD, builds SeriesList (computed or from the canon)
// and writes the table into Memo.  Returns the Saros number of the series,
// or sets Message and returns false (SeriesList unchanged, Memo holds the
// message) when SelectedJD is outside the supported range or the canon
// cannot be read.  ELP2000Used tells which lunar theory was used.
bool RecomputeSeries(const RecomputeSettings& Settings, std::vector<std::string>& Memo,
                     int32_t& Saros, bool& ELP2000Used, std::string& Message);

}  // namespace nodalis
