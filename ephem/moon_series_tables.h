// orbitcore — constant tables of the lunar series (generated data).
//
// A series is a descriptor plus streams:
//   max_multiple[n]  highest multiple k of argument n+1 (1..18) that the
//                    series uses, 0 = argument unused (sizes the multiples
//                    table);
//   terms            int16 term stream, one term after another:
//                      n            number of argument factors, n < 0 ends;
//                      n == 0:      d, then d+1 coefficients per stream
//                                   (polynomial term);
//                      n > 0:       n pairs (m, a): multiple m of argument a,
//                                   then d, then d+1 pairs (c, s) per stream;
//                    coefficients highest power of tau first; the term's value
//                    is C(tau) cos(theta) + S(tau) sin(theta), theta = sum m x_a;
//   coef             int32 coefficient stream (longitude or latitude);
//   coef_dist        int32 distance stream, laid out like coef (longitude/
//                    distance series only, else nullptr);
//   a0_au            mean distance the distance stream is relative to (AU);
//   time_unit_days   tau = (JD - 2451545) / time_unit_days;
//   scale            unit of the coefficients (0.0001 arcsec).
// Reference: ELP 2000-82B, Chapront-Touze & Chapront (1983, 1988).
#pragma once

#include <cstdint>

namespace orbitcore {

struct MoonSeries {
  std::uint8_t max_multiple[18];
  const std::int16_t* terms;
  const std::int32_t* coef;
  const std::int32_t* coef_dist;
  double a0_au;
  double time_unit_days;
  double scale;
};

extern const std::int16_t kMoonLonDistTerms[];
extern const std::int32_t kMoonLonCoef[];
extern const std::int32_t kMoonDistCoef[];
extern const std::int16_t kMoonLatTerms[];
extern const std::int32_t kMoonLatCoef[];

extern const MoonSeries kMoonLonDistSeries;  // longitude and distance
extern const MoonSeries kMoonLatSeries;      // latitude

}  // namespace orbitcore
