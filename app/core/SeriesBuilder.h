// SeriesBuilder — the Saros series as text lines, and the computed builder.
//
// SeriesList holds, in order: the start line ("<JD> Start" plus
// " (<SarosText>)" once an eclipse is found; canon series "<JD> Start +(...)"),
// one member line per new moon of the series (one Saros apart, type-0 members
// only between eclipses), and the end line "<JD> Ende".
//
// Member line (Windows-1252), the only carrier of member data between the
// builders, the table and the diagram:
//   <JDMax:1:6> dT <DeltaTDays:1:6> Gam<Gamma:6:3> x<X:7:4> y<Y:7:4>
//   rP<L1:7:4> rU<L2:7:4> AP<F1:7:4> AU<F2:7:4> incl <Slope:7:4>
//   Max <EclType> Sar <SarosNo:3:0>
// (one line; v:w:d as RealToStr(w, d, v)).
#pragma once

#include <string>
#include <vector>

#include "astro/Astrcalc.h"

namespace nodalis {

constexpr long double SERIES_SPAN_DAYS = 658532.1316003L;  // 100 Saros
constexpr long double PHASE_A_JUMP_DAYS = 98779.819740045L;  // 15 Saros
// Loop caps of the builder (valid input needs 2..4 passes / ~100 members).
constexpr int MAX_PHASE_A_PASSES = 20;
constexpr int MAX_PHASE_B_STEPS = 200;
constexpr int MAX_PHASE_C_MEMBERS = 400;

// Appends Rec as a member line; Rec is not changed.
void AppendMemberLine(const BesselRec& Rec, std::vector<std::string>& List);
std::string MemberLine(const BesselRec& Rec);

// Reads JDMax, DeltaTDays, Gamma, X, Y, L1, L2, F1, F2, Slope, EclType and
// SarosNo back (type and Saros rounded to integers) and sets TypeText; other
// fields are untouched.  Returns false (and sets type 0) when a value is not
// finite or the type code lies outside 0..6.
bool ParseMemberLine(const std::string& Line, BesselRec& Rec);

// Turns X, Y and Slope of Rec to ecliptic north (the Sun's longitude at JDMax).
void RotateToEclipticNorth(BesselRec& Rec);

// Fills List with the computed series through the eclipse new moon JD
// (Julian date TDT).  Uses EkliptikalNordChecked and UseLunarLib; moves
// SelectedJD in its backward phase.  A JD outside the supported range leaves
// List empty and returns false.
bool BuildSeriesComputed(std::vector<std::string>& List, long double JD);

}  // namespace nodalis
