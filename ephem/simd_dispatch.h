// orbitcore — choice between the vector builds of the library's kernels.
//
// The hot loops (VSOP87 term products, the nutation's sines and cosines,
// the lunar terms) are compiled three times: for the x86-64 baseline
// (SSE2), for AVX2 with FMA and for AVX-512.  Every build executes the same
// IEEE operations in the same order (the library is compiled with
// -ffp-contract=off; fused multiply-adds are written out where wanted and
// std::fma is exact everywhere), so all three give the same bits and the
// choice is a matter of speed only.
//
// simd_level() is the best level this processor offers, lowered to the
// limit set by simd_set_limit (tests run the builds side by side with it).
// Header-only: each library that compiles it (orbitcore, lunaris) keeps its
// own limit.  Not thread-safe to change while another thread evaluates.
#pragma once

namespace orbitcore {

enum SimdLevel : int { SIMD_BASELINE = 0, SIMD_AVX2 = 1, SIMD_AVX512 = 2 };

// Target attributes of the two vector builds.
#define ORBITCORE_TARGET_AVX2 __attribute__((target("avx2,fma")))
#define ORBITCORE_TARGET_AVX512 \
  __attribute__((target("avx512f,avx512dq,avx512vl,avx2,fma")))

inline int simd_supported() {
  static const int level = [] {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
        __builtin_cpu_supports("avx512vl"))
      return static_cast<int>(SIMD_AVX512);
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
      return static_cast<int>(SIMD_AVX2);
    return static_cast<int>(SIMD_BASELINE);
  }();
  return level;
}

inline int simd_limit_value = SIMD_AVX512;

inline int simd_level() {
  const int s = simd_supported();
  return s < simd_limit_value ? s : simd_limit_value;
}

// Highest level the kernels may use from now on (for tests).
inline void simd_set_limit(int level) { simd_limit_value = level; }

}  // namespace orbitcore
