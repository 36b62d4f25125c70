// PathsFiles — the paths on the ground of a Saros series and of a span of
// years as GIS files (GeoFiles), from each eclipse's polynomial Besselian
// elements (FitBesselPolynomials) with the Moon that UseLunarLib selects
// and Delta T by the given model.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/core/GeoFiles.h"
#include "astro/DeltaTModel.h"

namespace nodalis {

// Every curve of every eclipse member of the series in List (SeriesList's
// member lines), with the per-position arrays (GeoFiles' Detailed), titled
// TitleUtf8.  false (Out empty) when a member's elements cannot be fitted.
bool SeriesPathsText(const std::vector<std::string>& List, bool Canon, DeltaTModel Model,
                     GeoFileFormat Format, const std::string& TitleUtf8, std::string& Out);

// The ground path of every eclipse of the years FromYear .. ToYear whose
// umbra or antumbra reaches the Earth: its central line (when the axis
// meets the Earth) and the limits of the umbra, as EclipseCatalogCsv finds
// the eclipses (a non-empty Saros keeps only those series).  false (Out
// empty) as EclipseCatalogCsv, or when a fit fails.
bool CatalogPathsText(int32_t FromYear, int32_t ToYear, DeltaTModel Model,
                      const std::set<int32_t>& Saros, GeoFileFormat Format, std::string& Out,
                      const std::function<void(double)>& Progress = {});

}  // namespace nodalis
