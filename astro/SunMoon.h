// SunMoon — geocentric Sun and Moon for the eclipse routines.
//
// Wrappers around orbitcore's _planetinfo (body 1020 Sun with the complete
// Earth series, 1011 Moon; items 3 distance AU, 8 ecliptic longitude rad,
// 9 ecliptic latitude rad) and the adapter to lunaris' _clunaris.  Times are
// Julian dates TDT; angles radians; distances AU.
#pragma once

namespace nodalis {

// true: the Moon of BesselElements and of CalcEclipse's no-eclipse branch
// comes from lunaris ("ELP2000"); false: from _planetinfo body 1011 ("DE404").
extern bool UseLunarLib;

// _planetinfo(JD, Body, Item) as the program calls it.
double PlanetInfo(long double JD, int Body, int Item);

// Three _planetinfo calls in the order item 3 (R), 8 (Lambda), 9 (Beta).
void SunEcliptic(long double& Lambda, long double& Beta, long double& R,
                 long double JD, int Flags, unsigned char Mode);
void MoonEcliptic(long double& Lambda, long double& Beta, long double& R,
                  long double JD, int Flags, unsigned char Mode);

// The Moon from lunaris: LambdaXYZ in [0, 2pi) and BetaXYZ from its
// rectangular output; Lambda, Beta (rad) and Dist (AU) as _clunaris gives them.
void MoonPosition(long double& LambdaXYZ, long double& BetaXYZ, long double& Lambda,
                  double JD, long double& Beta, long double& Dist);

// The Moon of the eclipse routines (BesselElements, CalcEclipse): from
// lunaris (MoonPosition) when UseLunarLib is set, else from _planetinfo
// body 1011 (MoonEcliptic).  Lambda, Beta rad, Dist AU; JD TDT.
void ChosenMoon(long double& Lambda, long double& Beta, long double& Dist, long double JD);

// Greenwich apparent sidereal time in radians, [0, 2pi), for a
// universal-time Julian date (orbitcore's _localsiderealtime at longitude 0).
long double GreenwichSiderealTime(long double JDUT);

// Nutation in obliquity (IAU 1980, orbitcore's true less its mean
// obliquity), radians, for a TDT Julian date.
long double NutationInObliquity(long double JD);

// Mean obliquity of the ecliptic, radians (Laskar 1986, no nutation).
long double MeanObliquity(long double JD);

// Ecliptic (Beta, Lambda) to equatorial (Alpha in (-pi, pi], Delta) with
// the mean obliquity of JD.
void EclToEqu(long double& Alpha, long double& Delta, long double JD,
              long double Beta, long double Lambda);

}  // namespace nodalis
