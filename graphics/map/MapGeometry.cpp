// MapGeometry — plane rings, land polygons, graticule (see MapGeometry.h).
#include "graphics/map/MapGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>

namespace nodalis {

namespace {
constexpr double FULL_TURN_DEG = 360;
constexpr double HALF_TURN_DEG = 180;
// A ring whose continuous longitudes end within this of 360 deg from their
// start winds around a pole (rounding of the outlines is 0.01 deg).
constexpr double WINDING_TOLERANCE_DEG = 1;

std::vector<LandPolygon> BuildLand(OutlineDetail Detail) {
  const OutlineLevel L = LandOutline(Detail);
  std::vector<LandPolygon> out;
  for (std::size_t r = 0; r < L.RingCount; ++r) {
    const OutlineRing& R = L.Rings[r];
    MapRing globe;
    globe.reserve(R.Count);
    long lon = 0, lat = 0;
    for (std::uint32_t i = 0; i < R.Count; ++i) {
      const std::int32_t* p = L.Points + 2 * (std::size_t(R.First) + i);
      if (i == 0) {
        lon = p[0];
        lat = p[1];
      } else {
        lon += p[0];
        lat += p[1];
      }
      globe.push_back({double(lon) / OUTLINE_UNITS_PER_DEG, double(lat) / OUTLINE_UNITS_PER_DEG});
    }
    PlaneRing plane = MakePlaneRing(globe);
    if (R.Hole && !out.empty() && !plane.Points.empty()) {
      // A hole made continuous from its own first point may lie a turn
      // away from its exterior (which began elsewhere): moved into the
      // exterior's longitudes, so that both are drawn and tested together.
      const LandPolygon& outer = out.back();
      const double lon0 = plane.Points.front().LonDeg;
      const double turns = std::floor((lon0 - outer.MinLonDeg) / FULL_TURN_DEG);
      const double shift = -turns * FULL_TURN_DEG;
      if (shift != 0) {
        for (MapPoint& p : plane.Points) p.LonDeg += shift;
        plane.MinLonDeg += shift;
        plane.MaxLonDeg += shift;
      }
    }
    if (!R.Hole || out.empty()) {
      out.emplace_back();
      out.back().MinLonDeg = plane.MinLonDeg;
      out.back().MaxLonDeg = plane.MaxLonDeg;
    }
    out.back().Rings.push_back(std::move(plane));
  }
  return out;
}
}  // namespace

PlaneRing MakePlaneRing(const MapRing& GlobeRing) {
  PlaneRing out;
  if (GlobeRing.empty()) return out;
  out.Points.reserve(GlobeRing.size() + 3);
  double lon = GlobeRing.front().LonDeg;
  double latSum = 0;
  out.Points.push_back(GlobeRing.front());
  latSum += GlobeRing.front().LatDeg;
  for (std::size_t i = 1; i < GlobeRing.size(); ++i) {
    double step = GlobeRing[i].LonDeg - GlobeRing[i - 1].LonDeg;
    if (step > HALF_TURN_DEG) step -= FULL_TURN_DEG;
    else if (step < -HALF_TURN_DEG) step += FULL_TURN_DEG;
    lon += step;
    out.Points.push_back({lon, GlobeRing[i].LatDeg});
    latSum += GlobeRing[i].LatDeg;
  }
  // A ring given open is closed (on the globe: its end steps back to its start).
  const MapPoint& first = out.Points.front();
  MapPoint last = out.Points.back();
  if (GlobeRing.back().LonDeg != GlobeRing.front().LonDeg ||
      GlobeRing.back().LatDeg != GlobeRing.front().LatDeg) {
    double step = GlobeRing.front().LonDeg - GlobeRing.back().LonDeg;
    if (step > HALF_TURN_DEG) step -= FULL_TURN_DEG;
    else if (step < -HALF_TURN_DEG) step += FULL_TURN_DEG;
    last = {last.LonDeg + step, first.LatDeg};
    out.Points.push_back(last);
  }
  out.CoastCount = out.Points.size();
  const double winding = last.LonDeg - first.LonDeg;
  if (std::fabs(std::fabs(winding) - FULL_TURN_DEG) < WINDING_TOLERANCE_DEG) {
    out.Pole = latSum >= 0 ? 1 : -1;
    const double poleLat = out.Pole > 0 ? MAP_NORTH_DEG : MAP_SOUTH_DEG;
    out.Points.push_back({last.LonDeg, poleLat});
    out.Points.push_back({first.LonDeg, poleLat});
    out.Points.push_back(first);
  } else if (last.LonDeg != first.LonDeg || last.LatDeg != first.LatDeg) {
    out.Points.push_back(first);  // a ring that winds oddly is still closed
  }
  out.MinLonDeg = out.MaxLonDeg = first.LonDeg;
  for (const MapPoint& p : out.Points) {
    out.MinLonDeg = std::min(out.MinLonDeg, p.LonDeg);
    out.MaxLonDeg = std::max(out.MaxLonDeg, p.LonDeg);
  }
  return out;
}

const std::vector<LandPolygon>& LandPolygons(OutlineDetail Detail) {
  static std::once_flag once[2];
  static std::array<std::vector<LandPolygon>, 2> land;
  const std::size_t i = Detail == OutlineDetail::Fine ? 1 : 0;
  std::call_once(once[i], [&] { land[i] = BuildLand(Detail); });
  return land[i];
}

std::vector<double> WrapShifts(double MinLonDeg, double MaxLonDeg) {
  std::vector<double> out;
  if (!(MinLonDeg <= MaxLonDeg)) return out;
  for (int k = -2; k <= 2; ++k) {
    const double s = k * FULL_TURN_DEG;
    if (MaxLonDeg + s > MAP_WEST_DEG && MinLonDeg + s < MAP_EAST_DEG) out.push_back(s);
  }
  return out;
}

bool InsideRing(const MapRing& Ring, MapPoint P) {
  bool inside = false;
  const std::size_t n = Ring.size();
  for (std::size_t i = 0, j = n ? n - 1 : 0; i < n; j = i++) {
    const MapPoint& a = Ring[i];
    const MapPoint& b = Ring[j];
    if ((a.LatDeg > P.LatDeg) != (b.LatDeg > P.LatDeg)) {
      const double x = a.LonDeg + (P.LatDeg - a.LatDeg) / (b.LatDeg - a.LatDeg) * (b.LonDeg - a.LonDeg);
      if (P.LonDeg < x) inside = !inside;
    }
  }
  return inside;
}

bool IsLand(MapPoint P, OutlineDetail Detail) {
  for (const LandPolygon& poly : LandPolygons(Detail)) {
    for (double s : WrapShifts(poly.MinLonDeg, poly.MaxLonDeg)) {
      const MapPoint q{P.LonDeg - s, P.LatDeg};
      if (q.LonDeg < poly.MinLonDeg || q.LonDeg > poly.MaxLonDeg) continue;
      bool in = false;
      for (const PlaneRing& r : poly.Rings) in ^= InsideRing(r.Points, q);
      if (in) return true;
    }
  }
  return false;
}

OutlineDetail DetailForScale(double PxPerDeg) {
  return PxPerDeg > FINE_OUTLINE_PX_PER_DEG ? OutlineDetail::Fine : OutlineDetail::Coarse;
}

std::vector<MapSegment> Graticule(double StepDeg) {
  std::vector<MapSegment> out;
  if (!(StepDeg > 0)) return out;
  const int n = int(std::floor(HALF_TURN_DEG / StepDeg + 1e-9));
  for (int k = -n; k <= n; ++k)
    out.push_back({{k * StepDeg, MAP_SOUTH_DEG}, {k * StepDeg, MAP_NORTH_DEG}});
  const int m = int(std::floor(MAP_NORTH_DEG / StepDeg - 1e-9));
  for (int k = -m; k <= m; ++k)
    out.push_back({{MAP_WEST_DEG, k * StepDeg}, {MAP_EAST_DEG, k * StepDeg}});
  return out;
}

double MapDistanceDeg(MapPoint P, MapPoint A, MapPoint B) {
  const double dx = B.LonDeg - A.LonDeg, dy = B.LatDeg - A.LatDeg;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((P.LonDeg - A.LonDeg) * dx + (P.LatDeg - A.LatDeg) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(P.LonDeg - (A.LonDeg + t * dx), P.LatDeg - (A.LatDeg + t * dy));
}

}  // namespace nodalis
