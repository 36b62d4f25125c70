// orbitcore — sine and cosine of one argument without branches, for loops
// the compiler vectorises (VSOP87 terms, the lunar arguments).
//
// sincos_kernel(x, &s, &c), |x| < SINCOS_KERNEL_LIMIT (radians): x is reduced
// by k pi/2 (Cody-Waite, pi/2 in three parts of 33, 33 and 53 bits as in
// fdlibm; k * PIO2_1 and k * PIO2_2 are exact for |k| < 2^20, i.e. for
// |x| < 2^20 pi/2 = 1.647e6, which covers the complete VSOP87 Earth's
// arguments from -2870 to +6870) to |r| <= pi/4, the fdlibm
// kernel polynomials give sin r and cos r, and the quadrant k mod 4 swaps and
// negates the pair.  Within 1-2 ulp of the C library.  Products and sums stay
// separately rounded (the library is compiled with -ffp-contract=off), so
// every instruction set gives the same bits.  Larger arguments need the C
// library.
//
// Reference: fdlibm 5.3 (Sun Microsystems), k_sin.c, k_cos.c, e_rem_pio2.c.
#pragma once

#include <bit>
#include <cstdint>

namespace orbitcore {

constexpr double SINCOS_KERNEL_LIMIT = 1.6e6;

inline void sincos_kernel(double x, double* s, double* c) {
  constexpr double TWO_OVER_PI = 6.36619772367581382433e-01;
  constexpr double PIO2_1 = 1.57079632673412561417e+00;
  constexpr double PIO2_2 = 6.07710050630396597660e-11;
  constexpr double PIO2_3 = 2.02226624871116645580e-21;
  constexpr double SHIFTER = 6755399441055744.0;  // 1.5 * 2^52
  constexpr double S1 = -1.66666666666666324348e-01, S2 = 8.33333333332248946124e-03,
                   S3 = -1.98412698298579493134e-04, S4 = 2.75573137070700676789e-06,
                   S5 = -2.50507602534068634195e-08, S6 = 1.58969099521155010221e-10;
  constexpr double C1 = 4.16666666666666019037e-02, C2 = -1.38888888888741095749e-03,
                   C3 = 2.48015872894767294178e-05, C4 = -2.75573143513906633035e-07,
                   C5 = 2.08757232129817482790e-09, C6 = -1.13596475577881948265e-11;
  const double shifted = x * TWO_OVER_PI + SHIFTER;
  const double k = shifted - SHIFTER;  // nearest integer to x / (pi/2)
  const std::uint64_t q = std::bit_cast<std::uint64_t>(shifted);
  const double r = ((x - k * PIO2_1) - k * PIO2_2) - k * PIO2_3;
  const double z = r * r;
  const double ps = r + r * z * (S1 + z * (S2 + z * (S3 + z * (S4 + z * (S5 + z * S6)))));
  const double pc = 1.0 - 0.5 * z + z * z * (C1 + z * (C2 + z * (C3 + z * (C4 + z * (C5 + z * C6)))));
  // Quadrant q mod 4: (sin, cos) = (s, c), (c, -s), (-s, -c), (-c, s).
  const std::uint64_t swap = 0 - (q & 1);
  const std::uint64_t bs = std::bit_cast<std::uint64_t>(ps);
  const std::uint64_t bc = std::bit_cast<std::uint64_t>(pc);
  *s = std::bit_cast<double>(((bc & swap) | (bs & ~swap)) ^ ((q & 2) << 62));
  *c = std::bit_cast<double>(((bs & swap) | (bc & ~swap)) ^ (((q + 1) & 2) << 62));
}

}  // namespace orbitcore
