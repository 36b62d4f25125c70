// MemberLine — the member line: one Saros series member as text, the only
// carrier of member data between the series builders, the result table and
// the diagram.
//
// A series list (SeriesList) holds, in order: the start line ("<JD> Start"
// plus " (<SarosText>)" once an eclipse is found; canon series
// "<JD> Start +(...)"), one member line per new moon of the series (one Saros
// apart, type-0 members only between eclipses), and the end line "<JD> Ende".
//
// Member line (Windows-1252):
//   <JDMax:1:6> dT <DeltaTDays:1:6> Gam<Gamma:6:3> x<X:7:4> y<Y:7:4>
//   rP<L1:7:4> rU<L2:7:4> AP<F1:7:4> AU<F2:7:4> incl <Slope:7:4>
//   Max <EclType> Sar <SarosNo:3:0>
// (one line; v:w:d as RealToStr(w, d, v)).  Read back, gamma keeps 3
// decimals, the elements 4 and the time 6 decimals of a day.
#pragma once

#include <string>
#include <vector>

#include "astro/BesselRec.h"

namespace nodalis {

// Appends Rec as a member line; Rec is not changed.
void AppendMemberLine(const BesselRec& Rec, std::vector<std::string>& List);
std::string MemberLine(const BesselRec& Rec);

// Reads JDMax, DeltaTDays, Gamma, X, Y, L1, L2, F1, F2, Slope, EclType and
// SarosNo back (type and Saros rounded to integers) and sets TypeText; other
// fields are untouched.  Returns false (and sets type 0) when a value is not
// finite or the type code lies outside 0..6.
bool ParseMemberLine(const std::string& Line, BesselRec& Rec);

// The Julian date a line of the series list starts with (the start line's
// start, a member's greatest eclipse, the end line's JD), as the number
// reader reads it.
long double LineJD(const std::string& Line);

}  // namespace nodalis
