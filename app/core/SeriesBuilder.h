// SeriesBuilder — the computed Saros series: from one eclipse new moon,
// every member of its series as member lines (see MemberLine.h).
#pragma once

#include <string>
#include <vector>

#include "app/core/MemberLine.h"
#include "astro/Astrcalc.h"

namespace nodalis {

constexpr long double SERIES_SPAN_DAYS = 658532.1316003L;  // 100 Saros
constexpr long double PHASE_A_JUMP_DAYS = 98779.819740045L;  // 15 Saros
// Loop caps of the builder (valid input needs 2..4 passes / ~100 members).
constexpr int MAX_PHASE_A_PASSES = 20;
constexpr int MAX_PHASE_B_STEPS = 200;
constexpr int MAX_PHASE_C_MEMBERS = 400;

// Turns X, Y and Slope of Rec to ecliptic north (the Sun's longitude at JDMax).
void RotateToEclipticNorth(BesselRec& Rec);

// Fills List with the computed series through the eclipse new moon JD
// (Julian date TDT): the series that holds the eclipse of that new moon.
// Uses EkliptikalNordChecked and UseLunarLib; moves SelectedJD in its
// backward phase.  A JD outside the supported range, or a series with a
// member beyond the supported dates (one that begins before their first day
// or ends after their last), leaves List empty and returns false.
bool BuildSeriesComputed(std::vector<std::string>& List, long double JD);

}  // namespace nodalis
