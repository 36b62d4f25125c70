// PathsFiles — GIS files of the paths of a series and of a span of years
// (see PathsFiles.h).
#include "app/core/PathsFiles.h"

#include "app/core/EclipseCatalog.h"
#include "app/core/SeriesTable.h"
#include "astro/BesselPolynomialFit.h"
#include "astro/EclipsePaths.h"

namespace nodalis {

namespace {
// The eclipse's file entry and its paths from our polynomial elements.
bool Paths(const BesselRec& Rec, int Member, long double DeltaTSeconds, const PathOptions& Options,
           GeoEclipse& E, EclipsePaths& P) {
  BesselPolynomials B;
  if (!FitBesselPolynomials(Rec.JDMax, DeltaTSeconds, B)) return false;
  E.Saros = Rec.SarosNo;
  E.Member = Member;
  E.JDGreatestTD = Rec.JDMax;
  E.DeltaTSeconds = DeltaTSeconds;
  E.TypeCode = Rec.EclType;
  E.Gamma = Rec.Gamma;
  P = ComputeEclipsePaths(B, Options);
  return true;
}
}  // namespace

bool SeriesPathsText(const std::vector<std::string>& List, bool Canon, DeltaTModel Model,
                     GeoFileFormat Format, const std::string& TitleUtf8, std::string& Out) {
  Out.clear();
  GeoFileWriter w(Format, TitleUtf8, true);
  for (const TableRow& r : SeriesTableRows(List, Canon, 0)) {
    if (r.Rec.EclType == ECL_NONE) continue;
    GeoEclipse e;
    EclipsePaths p;
    if (!Paths(r.Rec, r.No, DeltaTSeconds(Model, r.Rec.JDMax), PathOptions{}, e, p)) return false;
    w.Add(e, p);
  }
  Out = w.Finish();
  return true;
}

bool CatalogPathsText(int32_t FromYear, int32_t ToYear, DeltaTModel Model,
                      const std::set<int32_t>& Saros, GeoFileFormat Format, std::string& Out,
                      const std::function<void(double)>& Progress) {
  Out.clear();
  constexpr double SEARCH_SHARE = 0.3;  // of the work: the catalogue; the rest the paths
  std::vector<CatalogEntry> entries;
  if (!BuildCatalogOfYears(FromYear, ToYear, Model, entries, Progress, SEARCH_SHARE)) return false;
  PathOptions ground;
  ground.Penumbra = false;
  ground.Horizon = false;
  ground.UmbraPolygons = false;
  GeoFileWriter w(Format,
                  "Nodalis: Pfade der Sonnenfinsternisse " + std::to_string(FromYear) + " bis " +
                      std::to_string(ToYear),
                  false);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const CatalogEntry& c = entries[i];
    if (Progress && i % 32 == 0)
      Progress(SEARCH_SHARE + (1 - SEARCH_SHARE) * static_cast<double>(i) / entries.size());
    if (c.Rec.EclType == ECL_PARTIAL || (!Saros.empty() && !Saros.count(c.Rec.SarosNo))) continue;
    GeoEclipse e;
    EclipsePaths p;
    if (!Paths(c.Rec, c.Place.Number, c.Circ.DeltaTSeconds, ground, e, p)) return false;
    if (p.Umbral || p.Central) w.Add(e, p);
  }
  if (Progress) Progress(1.0);
  Out = w.Finish();
  return true;
}

}  // namespace nodalis
