// SarosClass — the Saros series of one lunation class, from mean elements.
//
// The series number n of SarosNumber (1 .. 223 within an era) depends on
// the lunation number L only through L modulo 223: L + 179 + 88 n is a
// multiple of 223.  All lunations of one such class lie one Saros (223
// lunations) apart; the class holds a Saros series wherever its new moons
// fall near a node of the Moon's orbit, one series about every 6 500
// years, in turn at either node.  This unit finds those stretches from the
// mean new moon and the Moon's mean argument of latitude F, with the
// criterion "|sin F| > 0.36: no eclipse" (Meeus, ch. 54): no ephemeris is
// called, so a whole class over the supported dates costs a few thousand
// polynomial evaluations.  The stretches are generous (up to 88 new moons);
// which of their new moons are eclipses is for CalcEclipse to say.
//
// Reference: J. Meeus, Astronomical Algorithms (1998), eq. 49.1 and ch. 54.
#pragma once

#include <cstdint>
#include <vector>

namespace nodalis {

// Lunations of one Saros class, one Saros apart.
constexpr long long LUNATIONS_PER_SAROS = 223;

// The residue modulo 223 (0 .. 222) of the lunation numbers whose eclipses
// SarosNumber numbers SarosNo (any era: SarosNo and SarosNo + 223 share it).
long long SarosClassResidue(long long SarosNo);

// Mean new moon of lunation K (0 = 2000 January 6), JDE (TDT), Meeus 49.1.
long double MeanNewMoonJDE(long long K);
// The Moon's mean argument of latitude at that new moon, degrees (not
// reduced), Meeus ch. 49.
long double MeanNewMoonArgumentOfLatitudeDeg(long long K);

// One stretch of a class where |sin F| <= 0.36: lunation numbers of its
// first and last new moon and of the one nearest a node (the middle of
// the series, gamma near 0).
struct SarosStretch {
  long long First = 0, Middle = 0, Last = 0;
};

// The stretches of the class of SarosNo among the lunations FromK .. ToK,
// in time order (a stretch cut by either end is kept as far as it goes).
std::vector<SarosStretch> SarosClassStretches(long long SarosNo, long long FromK, long long ToK);

}  // namespace nodalis
