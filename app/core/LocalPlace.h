// LocalPlace — a place on the Earth as the user gives it (nodalis-cli
// --place, the settings file's [Ini] Place) and the short German text of
// how a member of the series looks from it, for the status bar of a window.
//
// A place is a latitude, a longitude and optionally a height:
//   - degrees as decimals ("48.2", "-16.37", "+3"; a dot, no comma) or with
//     a hemisphere letter instead of the sign ("48.2N", "33.9S", "16.4E",
//     "16.4O" (Ost), "3.7W"; any letter case, a degree sign before the
//     letter allowed: "48.2\xB0N" in Windows-1252 or UTF-8);
//   - the latitude within -90 ... 90 (N/S), the longitude any finite value
//     (E/O/W), normalised to (-180, 180]: 190 is -170, -180 is 180;
//   - the height in metres above the ellipsoid, -1000 ... 10000, 0 when
//     not given.
// Anything else (a missing value, a non-numeric or non-finite one, a
// latitude beyond +-90, the letter of the other coordinate, a sign and a
// letter together, more than three values) is refused with a German
// message (Windows-1252) naming the value.
#pragma once

#include <string>

#include "astro/LocalCircumstances.h"

namespace nodalis {

constexpr long double PLACE_MIN_HEIGHT_M = -1000;   // the shores of the Dead Sea lie at -430 m
constexpr long double PLACE_MAX_HEIGHT_M = 10000;   // above the highest summit

// Longitude in degrees reduced to (-180, 180].
long double NormalizeLongitudeDeg(long double Deg);

// The three values as separate texts (Height "" for none) into Out; false
// with Error set (Out unchanged) for any bad value.
bool ParsePlace(const std::string& Latitude, const std::string& Longitude, const std::string& Height,
                GeodeticPlace& Out, std::string& Error);

// "LAT LON [HEIGHT]" in one text, the values separated by blanks or tabs
// (the settings file's form).
bool ParsePlaceText(const std::string& Text, GeodeticPlace& Out, std::string& Error);

// The settings file's place: [Ini] Place of the current settings file
// (PIniFile).  Absent (no key, or an empty value): no place.  A bad value
// also means no place; Error then says why (the caller writes it to
// standard error once and carries on without a place).
enum class SettingsPlace { Absent, Set, Invalid };
SettingsPlace ReadSettingsPlace(GeodeticPlace& Out, std::string& Error);

// "48,20\xB0 N 16,37\xB0 O" (Windows-1252): two decimals, German comma.
std::string PlaceText(const GeodeticPlace& Place);

// One line for a status bar (Windows-1252), the place first:
//   "48,20° N 16,37° O: partiell, Größe 0,62, Max. 10:32:05 UT"
//   "...: total, Größe 1,03, Dauer 2 min 26 s, Max. 17:43:49 UT"
//   "...: ringförmig, ..." / "...: keine Finsternis"
// with ", Sonne unter dem Horizont" when no phase is seen above it and
// ", bei Sonnenaufgang" / ", bei Sonnenuntergang" when the Sun rises or
// sets during the eclipse.  Magnitude to two decimals, the maximum's UT to
// the second.
std::string LocalStatusText(const GeodeticPlace& Place, const LocalCircumstances& L);

// German name of the kind: "keine", "partiell", "ringf\xF6rmig", "total".
std::string LocalKindText(LocalEclipseKind Kind);

}  // namespace nodalis
