// WorldOutlines — the land of the world map: Natural Earth's land polygons
// at two levels of detail, as generated tables (generated/world_outlines.cpp,
// tools/gen_world_outlines.py; provenance in docs/generated.md).
//
// Points are (longitude, latitude) in 0.01 degree units, longitude east
// positive -18000 .. 18000, latitude -9000 .. 9000: the first pair of each
// ring absolute, every further pair the step from the one before.  Rings
// are closed (the last point repeats the first) and are the data's own: a
// ring that crosses the antimeridian steps by about 360 degrees there, and
// Antarctica's coast winds once around the south pole (MapGeometry makes
// them plane polygons).
#pragma once

#include <cstddef>
#include <cstdint>

namespace nodalis {

enum class OutlineDetail : std::uint8_t {
  Coarse,  // 1:110 million, the whole world on a screen or a page
  Fine,    // 1:50 million, zoomed in
};

constexpr int OUTLINE_UNITS_PER_DEG = 100;

struct OutlineRing {
  std::uint32_t First;  // index of its first pair in Points
  std::uint32_t Count;  // pairs
  bool Hole;            // false: the exterior that begins a polygon; true: a hole of it
};

struct OutlineLevel {
  const std::int32_t* Points = nullptr;  // 2 * PointCount values
  std::size_t PointCount = 0;
  const OutlineRing* Rings = nullptr;
  std::size_t RingCount = 0;
};

OutlineLevel LandOutline(OutlineDetail Detail);

}  // namespace nodalis
