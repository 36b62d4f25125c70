// orbitcore — cached heliocentric positions.
//
// helio_position(jd, body, precision, result): body 0 ... 8 selects a VSOP87
// series slot (vsop87_evaluate), 9 Pluto (pluto_heliocentric); any other body
// returns 2 and leaves result untouched.  The six results are L, B (rad),
// R (AU) and their rates per day; the return value is the computation's code.
//
// Cache: 80 entries, entry 0 never searched.  A request equal in date, body
// and precision to an entry is a hit: its use count goes up by one and its
// stored results and code are returned.  On a miss the victim is the entry
// (1 ... 79) with the smallest use count, ties to the lowest index; its count
// also goes up by one (counts are never reset, so busy entries stay).  Failed
// computations are cached like successful ones.  Entries not yet filled carry
// the body -1 and never match a request.
#include <cstdint>

#include "ephem/orbitcore_internal.h"

namespace orbitcore {

namespace {

constexpr double INITIAL_JD = -10000000.0;
constexpr std::int32_t MAX_VICTIM_COUNT = 100000000;

HelioCacheEntry helio_cache[HELIO_CACHE_SIZE];
bool helio_cache_ready = false;

void init_cache() {
  for (HelioCacheEntry& e : helio_cache) {
    e.use_count = 0;
    e.body = -1;
    e.result_code = 0;
    e.jd = INITIAL_JD;
    e.precision = 0.0;
    for (double& v : e.result) v = 0.0;
  }
  helio_cache_ready = true;
}

}  // namespace

const HelioCacheEntry* helio_cache_entries() {
  return helio_cache_ready ? helio_cache : nullptr;
}

int helio_position(double jd, int body, double precision,
                   double result[HELIO_RESULTS]) {
  if (body < 0 || body > BODY_PLUTO) return HELIO_BAD_BODY;
  if (!helio_cache_ready) init_cache();

  for (int i = 1; i < HELIO_CACHE_SIZE; ++i) {
    HelioCacheEntry& e = helio_cache[i];
    if (e.jd == jd && e.body == body && e.precision == precision) {
      if (e.use_count < INT32_MAX) ++e.use_count;
      for (int k = 0; k < HELIO_RESULTS; ++k) result[k] = e.result[k];
      return e.result_code;
    }
  }

  double computed[HELIO_RESULTS] = {0, 0, 0, 0, 0, 0};
  const int code = body == BODY_PLUTO
                       ? pluto_heliocentric(jd, computed)
                       : vsop87_evaluate(jd, body, precision, computed);

  int victim = 0;
  std::int32_t lowest = MAX_VICTIM_COUNT;
  for (int i = 1; i < HELIO_CACHE_SIZE; ++i) {
    if (helio_cache[i].use_count < lowest) {
      lowest = helio_cache[i].use_count;
      victim = i;
    }
  }
  HelioCacheEntry& v = helio_cache[victim];
  if (v.use_count < INT32_MAX) ++v.use_count;
  v.jd = jd;
  v.body = body;
  v.precision = precision;
  v.result_code = code;
  for (int k = 0; k < HELIO_RESULTS; ++k) {
    v.result[k] = computed[k];
    result[k] = computed[k];
  }
  return code;
}

}  // namespace orbitcore
