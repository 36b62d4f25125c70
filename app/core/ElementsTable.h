// ElementsTable — polynomial Besselian elements of eclipses as text in the
// layout of the Five Millennium Canon's element table
// (FiveMillenniumCanonOfSolarEclipses.csv):
//
//   #year, mon, day, jd, t0, deltaT, x1, x2, x3, x4, y1, y2, y3, y4, d1, d2,
//   d3, m1, m2, m3, l11, l12, l13, l21, l22, l23, tanf1, tanf2
//      -1,  2,  5,   1720727.681,  4.000,  10543.3,   -0.488529, ...,    0.0046876,
//
// one row per eclipse: the calendar date of greatest eclipse (TD,
// astronomical year, Julian calendar before 1582 October 15), its Julian
// date TD to 0.001 day, t0 as the hour of that day (0.000 for a greatest
// eclipse at 23:30 or later: t0 is then midnight of the next day), Delta T
// in seconds, then the coefficients (the canon counts them from 1: x1 is
// the constant term), space-padded to the canon's widths, with the canon's
// decimals (mu's quadratic term, which the canon leaves 0, with six), each
// followed by a comma.  A first comment line names the source of the
// elements.  Lines end in "\n".
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "astro/BesselPolynomials.h"
#include "astro/DeltaTModel.h"

namespace nodalis {

extern const char* const ELEMENTS_HEADER;  // the column line, without line end

// One row, without line end.
std::string ElementsRow(const BesselPolynomials& P);

// "#Polynomial Besselian elements from Nodalis (VSOP87 + ELP2000, Delta T
// espenak-meeus-2006)", without line end.
std::string ElementsTitleLine(bool ELP2000, DeltaTModel Model);

// The polynomial elements of every eclipse member of the series in List
// (SeriesList's member lines; members of type 0 have none), with the Moon
// that UseLunarLib selects and Delta T by Model: title, header and rows.
// false (Out empty) when a member's elements cannot be fitted.
bool SeriesElementsText(const std::vector<std::string>& List, bool Canon, DeltaTModel Model,
                        std::string& Out);

// The elements of every eclipse of the years FromYear .. ToYear (as
// EclipseCatalogCsv finds them, date-ordered; a non-empty Saros keeps only
// those series), with the Moon that UseLunarLib selects.  false (Out empty)
// as EclipseCatalogCsv, or when a fit fails.
bool CatalogElementsText(int32_t FromYear, int32_t ToYear, DeltaTModel Model,
                         const std::set<int32_t>& Saros, std::string& Out,
                         const std::function<void(double)>& Progress = {});

}  // namespace nodalis
