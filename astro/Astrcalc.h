// Astrcalc — Besselian elements, greatest eclipse and type, new-moon and
// eclipse search, Saros numbering.
//
// Geometry of the classical Besselian fundamental plane with a spherical
// Earth of radius 1, k = 0.2725076, sin f for tan f and sec f = 1 in l1, l2.
// References: W. Chauvenet, A Manual of Spherical and Practical Astronomy
// (1863), vol. 1 ch. VII; Explanatory Supplement to the Astronomical Almanac
// (1992), ch. 8; J. Meeus, Elements of Solar Eclipses 1951-2200 (1989).
#pragma once

#include <cstdint>
#include <string>

#include "astro/BesselRec.h"
#include "astro/MATLIB.h"
#include "astro/SunMoon.h"
#include "astro/TIMLIB.h"

namespace nodalis {

constexpr long double MOON_RADIUS_ER = 0.2725076L;        // k
constexpr long double SUN_PLUS_K_ER = 109.3952076L;       // ds + k (penumbra)
constexpr long double SUN_MINUS_K_ER = 108.8501924L;      // ds - k (umbra)
constexpr long double EARTH_RADII_PER_AU = 23454.77992L;
constexpr long double SYNODIC_MONTH_DAYS = 29.530588861L;
constexpr long double SAROS_DAYS = 6585.321316003L;       // 223 synodic months
constexpr long double ECLIPSE_LIMIT_RAD = 0.029670597283903602L;  // 1.7 deg
constexpr long double SAME_ECLIPSE_DAYS = 15.0L;

// Loop caps (far above what valid input needs; they only stop runaway
// searches on absurd input).
constexpr int MAX_NEWMOON_PASSES = 50;        // FindNewMoon (converges in 3..6)
constexpr int MAX_ECLIPSE_LUNATIONS = 40;     // FindEclipseNewMoon (needs <= 7)
constexpr int MAX_BRACKET_SHIFTS = 60;        // CalcEclipse bracketing: the step grows
                                              // 1.2x per shift, to about a year at 60

// Delta T (days) used by the last FindNewMoon.
extern float NewMoonDeltaTDays;

// Besselian x, y, f1, l1, f2, l2 and Axes at JD + DeltaTDays (TDT) into Rec;
// the second form sends x and y to separate variables.
void BesselElements(long double JD, float DeltaTDays, BesselRec& Rec);
void BesselElements(long double JD, float DeltaTDays, BesselRec& Rec,
                    long double& x, long double& y);

// Greatest eclipse near JD.  Direction 0: JD is the new moon to evaluate;
// > 0 / < 0: first search the eclipse new moon forwards / backwards, and
// give type 0 when it lies 15 days or more from JD.  IsTDT: JD is TDT
// (Delta T 0).  Fills Rec and returns its type code (0 = no eclipse).
// JDs outside the supported range give type 0 without searching.
uint8_t CalcEclipse(int Direction, bool IsTDT, BesselRec& Rec, long double JD);

// Greatest eclipse of a record that CalcEclipse filled (type > 0) to a
// fraction of a second: the foot of the perpendicular from the Earth's
// centre on the chord through the shadow axis one minute either side of
// Rec's instant.  CalcEclipse's chord spans its bracketing step, ten minutes
// and more, and the track's curvature moves the foot by up to 10 s where the
// axis passes far from the centre.  Sets TMax, JDMax, Slope, Gamma and the
// elements of the new instant; the type code, the Saros number and the texts
// stay.  A record of type 0 or with non-finite elements is left as it is.
void RefineGreatestEclipse(BesselRec& Rec);

// Angle (rad, in (-pi/2, pi/2]) between equator north and ecliptic north on
// the fundamental plane for obliquity Eps and solar longitude Lambda.
long double EclipticNorthAngle(long double Eps, long double Lambda);

// Moves JD to the instant of the given Sun-Moon elongation (0 = new moon),
// to one minute; BetaMoon receives the Moon's latitude (rad) of the last
// pass.  false when it did not converge or JD is outside the supported range
// (JD is then left where the search stopped / unchanged).
bool FindNewMoon(long double& JD, long double& BetaMoon, long double TargetElongation);

// Moves JD to the first new moon (nearest one first, then forwards or
// backwards) with |BetaMoon| <= 1.7 deg.  false when none was found within
// MAX_ECLIPSE_LUNATIONS lunations or JD is outside the supported range.
bool FindEclipseNewMoon(long double& JD, bool Backwards);

// Saros series number of the eclipse at JD (TDT of greatest eclipse) and its
// text, e.g. "145. Saros, Ära M".
int32_t SarosNumber(long double JD, std::string& SarosText);
// The lunation number of JD (Meeus, 0 = new moon of 2000 January 6).
long long LunationNumber(long double JD);

}  // namespace nodalis
