// EclipseCatalog — every solar eclipse between two dates, date-ordered, with
// each member's place in its Saros series (first, last, middle).
//
// The eclipse new moons are found as FindEclipseNewMoon finds them (new moon
// within 1.7 deg of a node and an eclipse by CalcEclipse), all times TDT.
// After the last eclipse of an eclipse season the next season's first new
// moon within the limit lies at least five lunations later (1.7 deg of
// latitude at new moon is at most 20 deg of the Sun from the node; the Sun
// moves 30.7 deg per lunation with respect to the node), so the search
// tests only the new moon after an eclipse and then jumps to the fifth.
// An eclipse is a new moon for which CalcEclipse gives a type and whose
// penumbra reaches the reference ellipsoid (Circumstances valid) at greatest
// eclipse, found to a fraction of a second by RefineGreatestEclipse: the
// spherical Earth of the type test admits a few grazing partial eclipses
// more, about one in 500.  Its type letter is the canon's
// (EclipseCircumstances::CanonType), not the type code.  A series' first and last members and its length
// follow BuildSeriesComputed's steps: one Saros step back or forward
// without such an eclipse ends it; the middle member is number N / 2 (from
// 0) of N.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "astro/Astrcalc.h"
#include "app/core/CatalogRow.h"

namespace nodalis {

struct CatalogEntry {
  BesselRec Rec;               // CalcEclipse(0, true, ...), then RefineGreatestEclipse
  EclipseCircumstances Circ;   // with the Delta T model of the catalogue
  SarosPlace Place;
};

// The eclipses with greatest eclipse in [FromJD, ToJD] (Julian dates TDT),
// with the Moon that UseLunarLib selects and Delta T by Model.  Progress, when set, receives the
// fraction done (0 .. 1) now and then.  false (Out empty) when a date lies
// outside the supported range, FromJD > ToJD, or a search fails.
bool BuildEclipseCatalog(long double FromJD, long double ToJD, DeltaTModel Model,
                         std::vector<CatalogEntry>& Out,
                         const std::function<void(double)>& Progress = {});

// The whole years a catalogue can span (astronomical numbering): the
// supported Julian dates (JDSupported) with one lunation to spare on each
// side for the new-moon search.
constexpr int32_t CATALOG_FIRST_YEAR = -10187;
constexpr int32_t CATALOG_LAST_YEAR = 17190;

// The span of the whole years FromYear .. ToYear as Julian dates TDT:
// FromJD = January 1.0 of FromYear, ToJD = January 1.0 of ToYear + 1 less
// 1e-6 day (calendar as CalendarToJD: Julian before 1582 October 15).
// false when FromYear > ToYear or a year lies outside CATALOG_FIRST_YEAR ..
// CATALOG_LAST_YEAR.
bool CatalogYears(int32_t FromYear, int32_t ToYear, long double& FromJD, long double& ToJD);

// BuildEclipseCatalog of the whole years FromYear .. ToYear (CatalogYears),
// Progress receiving Share times its fraction (the rest of a caller's work
// follows).  false (Out empty) as both.
bool BuildCatalogOfYears(int32_t FromYear, int32_t ToYear, DeltaTModel Model,
                         std::vector<CatalogEntry>& Out,
                         const std::function<void(double)>& Progress, double Share);

// The catalogue of the years FromYear .. ToYear as text in the canon's CSV
// layout (CatalogRow): the header, then one row per eclipse, date-ordered,
// "\n" line ends, catalogue numbers counted from 1.  A non-empty Saros keeps
// only the members of those series (the search still covers the span).
// The Moon is the one UseLunarLib selects.  false (Out empty) as
// BuildEclipseCatalog and CatalogYears.
bool EclipseCatalogCsv(int32_t FromYear, int32_t ToYear, DeltaTModel Model,
                       const std::set<int32_t>& Saros, std::string& Out,
                       const std::function<void(double)>& Progress = {});

}  // namespace nodalis
