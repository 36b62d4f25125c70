// SeriesMap — a series' paths on the world map (see SeriesMap.h).
#include "graphics/map/SeriesMap.h"

#include <cmath>
#include <limits>

#include "app/core/SeriesTable.h"
#include "astro/BesselPolynomialFit.h"
#include "astro/EclipsePaths.h"
#include "astro/SunMoon.h"

namespace nodalis {

namespace {

MapRing RingOf(const std::vector<PathPoint>& Points) {
  MapRing out;
  out.reserve(Points.size());
  for (const PathPoint& p : Points) out.push_back({double(p.LongitudeDeg), double(p.LatitudeDeg)});
  return out;
}

bool Finite(const MapRing& R) {
  for (const MapPoint& p : R)
    if (!std::isfinite(p.LonDeg) || !std::isfinite(p.LatDeg)) return false;
  return true;
}

// A band ring from the paths: already split at the antimeridian and closed
// along a pole where it encloses one, so it is a plane ring as it stands.
PlaneRing BandOf(const GeoRing& Ring) {
  PlaneRing out;
  out.Points.reserve(Ring.size());
  for (const GeoPoint& p : Ring) out.Points.push_back({double(p.LongitudeDeg), double(p.LatitudeDeg)});
  out.CoastCount = out.Points.size();
  out.MinLonDeg = out.MaxLonDeg = out.Points.empty() ? 0 : out.Points.front().LonDeg;
  for (const MapPoint& p : out.Points) {
    out.MinLonDeg = std::min(out.MinLonDeg, p.LonDeg);
    out.MaxLonDeg = std::max(out.MaxLonDeg, p.LonDeg);
  }
  return out;
}

struct CacheKey {
  std::vector<std::string> List;
  bool Lunar = false;
  DeltaTModel Model = DeltaTModel::Nodalis;
  bool operator==(const CacheKey&) const = default;
};

}  // namespace

SeriesMap BuildSeriesMap(const std::vector<std::string>& List, DeltaTModel Model) {
  SeriesMap out;
  PathOptions options;
  options.MaxChordKm = MAP_CHORD_KM;
  options.Penumbra = false;
  options.Horizon = false;
  options.UmbraPolygons = true;
  for (const TableRow& r : SeriesTableRows(List, false, 0)) {
    if (r.Rec.EclType == ECL_NONE) continue;
    MapMember m;
    m.No = r.No;
    m.Saros = r.Rec.SarosNo;
    m.JDGreatestTD = r.Rec.JDMax;
    m.TypeCode = r.Rec.EclType;
    m.L2 = r.Rec.L2;
    BesselPolynomials b;
    if (!FitBesselPolynomials(r.Rec.JDMax, DeltaTSeconds(Model, r.Rec.JDMax), b)) {
      out.Complete = false;
      out.Members.push_back(std::move(m));
      continue;
    }
    m.Elements = b;
    const EclipsePaths p = ComputeEclipsePaths(b, options);
    m.Valid = p.Valid && std::isfinite(double(p.Greatest.LatitudeDeg)) &&
              std::isfinite(double(p.Greatest.LongitudeDeg));
    if (m.Valid) {
      m.Umbral = p.Umbral;
      m.Greatest = {double(p.Greatest.LongitudeDeg), double(p.Greatest.LatitudeDeg)};
      for (const GeoRing& ring : p.UmbraPolygons) {
        PlaneRing band = BandOf(ring);
        if (band.Points.size() >= 3 && Finite(band.Points)) m.Bands.push_back(std::move(band));
      }
      for (const PathCurve& c : p.Curves) {
        MapRing line = RingOf(c.Points);
        if (line.size() < 2 || !Finite(line)) continue;
        if (c.Kind == PathCurveKind::Central) m.CentralLine.push_back(std::move(line));
        else if (c.Kind == PathCurveKind::UmbraNorth || c.Kind == PathCurveKind::UmbraSouth)
          m.Limits.push_back(std::move(line));
      }
    }
    out.Members.push_back(std::move(m));
  }
  return out;
}

const SeriesMap& CachedSeriesMap(const std::vector<std::string>& List, DeltaTModel Model) {
  static CacheKey key;
  static SeriesMap map;
  static bool made = false;
  CacheKey now{List, UseLunarLib, Model};
  if (!made || !(now == key)) {
    map = BuildSeriesMap(List, Model);
    key = std::move(now);
    made = true;
  }
  return map;
}

int MemberAt(const SeriesMap& M, MapPoint P, double ToleranceDeg) {
  for (std::size_t i = M.Members.size(); i-- > 0;)
    for (const PlaneRing& band : M.Members[i].Bands)
      if (InsideRing(band.Points, P)) return int(i);
  int best = -1;
  double bestDistance = ToleranceDeg;
  auto Consider = [&](std::size_t i, double d) {
    if (d <= bestDistance) {
      bestDistance = d;
      best = int(i);
    }
  };
  for (std::size_t i = 0; i < M.Members.size(); ++i) {
    const MapMember& m = M.Members[i];
    if (!m.Valid) continue;
    Consider(i, MapDistanceDeg(P, m.Greatest, m.Greatest));
    for (const MapRing& line : m.CentralLine)
      for (std::size_t k = 1; k < line.size(); ++k) Consider(i, MapDistanceDeg(P, line[k - 1], line[k]));
  }
  return best;
}

}  // namespace nodalis
