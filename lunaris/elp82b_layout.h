// lunaris -- the generated ELP 2000-82B tables laid out for evaluation.
//
// The generated tables (generated/elp82b_tables.h) stay the stored form.  On
// first use they are decoded once into:
//  - products: every partial argument of two or more factors, and every
//    leading part of one (a partial of k factors is the product of its first
//    k - 1 factors and its last, so partials that begin alike share work),
//    in levels whose products use entries of earlier levels only;
//  - argument groups: the arguments with the same set of coefficient slots,
//    side by side (structure of arrays), padded with zero coefficients to
//    whole blocks of ELP_LANES.
//
// Evaluation table: entry e holds (cos, sin) at tab[2 e], tab[2 e + 1];
// entries 0 .. ELP_NMULT - 1 are the multiples table of the generated
// tables (k = 0 of base j at ELP_BASE_OFFSET[j]), the products follow.
//
// Every product, partial and argument is formed as before, in the same
// order and with the same roundings, (a, b) (c, d) = (a c - b d, a d + b c),
// and so is each term's value c cos(arg) + s sin(arg).  Only the order of
// the sums differs: lane l of ELP_LANES running sums per slot takes the
// arguments at l, l + ELP_LANES, ... of the groups in order, and the lanes
// are added pairwise at the end.  The vector builds (simd_dispatch.h) give
// the same bits as the baseline build.
#pragma once

#include <cstdint>
#include <vector>

#include "ephem/pair_table.h"
#include "lunaris/generated/elp82b_tables.h"

namespace lunaris {

constexpr int ELP_LANES = 8;
// Most slots one argument has (a coordinate's powers 0, 1, 2 for three
// coordinates).
constexpr int ELP_MAX_GROUP_SLOTS = tables::ELP_NSLOT;


// Arguments with the same slots: count lanes;
//   index[index_at + f * count + i]  offset 2 e of the planetary (f = 0)
//                                    and the lunar (f = 1) partial;
//   coef[coef_at + (2 * n + j) * count + i]  coefficient of the group's n-th
//                                    slot, j = 0 cosine, 1 sine.
struct ElpArgumentGroup {
  int slots;
  unsigned char slot[ELP_MAX_GROUP_SLOTS];
  int count, index_at, coef_at;
};

struct ElpLayout {
  bool usable = false;  // false: the tables broke their own format
  int entries = 0;      // table entries, multiples and products
  int products = 0;     // products without padding
  std::vector<orbitcore::PairProductLevel> levels;  // counts multiples of ELP_LANES
  std::vector<ElpArgumentGroup> groups;
  std::vector<std::int32_t> index;
  std::vector<double> coef;
};

// The layout (decoded on first call, then kept for the process).
const ElpLayout& elp82b_layout();

// The products into tab after the multiples (which must be filled).
void elp82b_build_products(const ElpLayout& layout, double* tab);

// Sum of every term per slot (coefficient units).
void elp82b_slot_sums(const ElpLayout& layout, const double* tab, double sum[tables::ELP_NSLOT]);

}  // namespace lunaris
