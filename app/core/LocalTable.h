// LocalTable — the local circumstances of a series' members and of a
// catalogue's eclipses at one place, as columns (nodalis-cli --place with
// --format csv|json and --catalog) and as a text block after the table.
//
// Each eclipse's polynomial Besselian elements are fitted from the
// program's ephemeris (FitBesselPolynomials, the Moon that UseLunarLib
// selects) with Delta T by the model, then ComputeLocalCircumstances.
//
// Columns, in this order (LOCAL_COLUMNS), after a member's or a catalogue
// row's own: local_type ("partial", "annular", "total"; empty for none),
// local_visible (true / false), then for each of c1, c2, max, c3, c4:
// _ut (YYYY-MM-DDTHH:MM:SS, UT to the second), _jd_td (Julian date TD,
// 6 decimals), _sun_alt_deg, _sun_azi_deg, _p_deg, _v_deg (0.1 deg),
// _below_horizon (true / false); then local_magnitude, local_obscuration
// (4 decimals), local_duration_s (0.1 s), sunrise_ut, sunset_ut (the Sun
// rising or setting during the eclipse).  A value that does not exist (a
// contact of no eclipse, c2 and c3 of a partial one, a member that is no
// eclipse) is "" (CSV: an empty field, JSON: null).
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "astro/DeltaTModel.h"
#include "astro/LocalCircumstances.h"

namespace nodalis {

// The column names, in order.
const std::vector<std::string>& LocalColumns();
// Which columns are JSON booleans or strings (else numbers).
enum class LocalColumnKind { Text, Bool, Number };
LocalColumnKind LocalColumnKindOf(std::size_t Column);

// The values of the columns for L (L.Valid false: all "").
std::vector<std::string> LocalColumnValues(const LocalCircumstances& L);

// The local circumstances of every member line of List (SeriesList, as
// SeriesTableRows gives them: one per table row; members that are no
// eclipse get Valid = false) into Out.  false when a member's elements
// cannot be fitted.
bool SeriesLocalCircumstances(const std::vector<std::string>& List, bool Canon, DeltaTModel Model,
                              const GeodeticPlace& Place, std::vector<LocalCircumstances>& Out);

// The block after the table (Windows-1252 lines): a title naming the place
// and Delta T, a column line and one line for each member seen from the
// place (some phase with the Sun above the horizon), or a line saying that
// none is.
std::vector<std::string> LocalBlockLines(const std::vector<std::string>& List, bool Canon, DeltaTModel Model,
                                         const GeodeticPlace& Place);

// --catalog with a place: the catalogue's CSV (EclipseCatalogCsv's header
// and rows, numbered as there) with the local columns appended, keeping
// only the eclipses seen from the place.  false as EclipseCatalogCsv, or
// when a fit fails.
bool CatalogLocalCsv(int32_t FromYear, int32_t ToYear, DeltaTModel Model, const std::set<int32_t>& Saros,
                     const GeodeticPlace& Place, std::string& Out,
                     const std::function<void(double)>& Progress = {});

}  // namespace nodalis
