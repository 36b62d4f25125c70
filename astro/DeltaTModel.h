// DeltaTModel — the choice of Delta T (TDT - UT) for the local circumstances
// of an eclipse, whose geographic longitudes need universal time.
//
//   Nodalis           the program's own Delta T (TIMLIB DeltaT): the
//                     Espenak-Meeus polynomials at the decimal year
//                     JD / 365.2425 - 4712.0991, in single precision.
//   EspenakMeeus2006  Delta T as the Five Millennium Canon of Solar Eclipses
//                     adopts it: the same polynomials at the decimal year of
//                     the calendar date, plus the correction for the lunar
//                     ephemeris' secular acceleration (-25.858"/cy^2 instead
//                     of the -26"/cy^2 of the Delta T data):
//                     c = -0.000012932 (y - 1955)^2 seconds.
//
// Reference: F. Espenak and J. Meeus, Five Millennium Canon of Solar
// Eclipses: -1999 to +3000, NASA/TP-2006-214141 (2006), sec. 2.6 and
// "Polynomial expressions for Delta T" (NASA GSFC eclipse web site).
#pragma once

#include <string>

namespace nodalis {

enum class DeltaTModel { Nodalis, EspenakMeeus2006 };

// Delta T in seconds for the Julian date JD (TDT).  Finite for every finite
// JD in the supported range.
long double DeltaTSeconds(DeltaTModel Model, long double JD);

// Names as the command line spells them: "nodalis", "espenak-meeus-2006".
const char* DeltaTModelName(DeltaTModel Model);
// false (Model unchanged) for any other text.
bool ParseDeltaTModel(const std::string& Name, DeltaTModel& Model);

}  // namespace nodalis
