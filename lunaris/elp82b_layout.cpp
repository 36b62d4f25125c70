// lunaris -- decoding the generated tables into products and argument
// groups, and evaluating them (see elp82b_layout.h).
//
// Each level of products and each argument group runs one kernel: four
// lanes per AVX2 register where the processor has AVX2 and FMA, one lane at
// a time on the x86-64 baseline otherwise; both execute the same roundings
// (no fused multiply-adds; the library is compiled with -ffp-contract=off)
// and add to the lane sums in the same order, so they give the same bits.
#include "lunaris/elp82b_layout.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <utility>
#include <vector>

#include "ephem/pair_table.h"
#include "ephem/simd_dispatch.h"

namespace lunaris {
namespace {

using namespace tables;
using orbitcore::load_pairs4;
using orbitcore::SIMD_AVX2;
using orbitcore::store_pairs4;
using orbitcore::simd_level;

using LaneSums = double[ELP_NSLOT][ELP_LANES];

// ---- Kernels ---------------------------------------------------------------

// (re, im) = a b for the table entries at offsets ea, eb.
inline void product(const double* tab, std::int32_t ea, std::int32_t eb, double* re, double* im) {
  const double ar = tab[ea], ai = tab[ea + 1], br = tab[eb], bi = tab[eb + 1];
  *re = ar * br - ai * bi;
  *im = ar * bi + ai * br;
}

void products_base(int n, const std::int32_t* index, double* tab, double* out) {
  for (int i = 0; i < n; ++i) product(tab, index[i], index[n + i], &out[2 * i], &out[2 * i + 1]);
}

template <int N>
void group_sums_base(int n, const std::int32_t* index, const double* coef, const double* tab,
                     const unsigned char* slot, LaneSums& sums) {
  for (int i = 0; i < n; ++i) {
    double re, im;
    product(tab, index[i], index[n + i], &re, &im);
    for (int f = 0; f < N; ++f)
      sums[slot[f]][i % ELP_LANES] += coef[(2 * f) * n + i] * re + coef[(2 * f + 1) * n + i] * im;
  }
}

ORBITCORE_TARGET_AVX2 inline void product4(const double* tab, const std::int32_t* index, int n,
                                           __m256d* re, __m256d* im) {
  __m256d ar, ai, br, bi;
  load_pairs4(tab, index, &ar, &ai);
  load_pairs4(tab, index + n, &br, &bi);
  *re = _mm256_sub_pd(_mm256_mul_pd(ar, br), _mm256_mul_pd(ai, bi));
  *im = _mm256_add_pd(_mm256_mul_pd(ar, bi), _mm256_mul_pd(ai, br));
}

ORBITCORE_TARGET_AVX2 void products_avx2(int n, const std::int32_t* index, double* tab,
                                         double* out) {
  for (int i = 0; i < n; i += 4) {
    __m256d re, im;
    product4(tab, index + i, n, &re, &im);
    store_pairs4(out + 2 * i, re, im);
  }
}

template <int N>
ORBITCORE_TARGET_AVX2 void group_sums_avx2(int n, const std::int32_t* index, const double* coef,
                                           const double* tab, const unsigned char* slot,
                                           LaneSums& sums) {
  static_assert(ELP_LANES == 8, "two registers of four lanes");
  __m256d acc[N][2];
#pragma GCC unroll 8
  for (int f = 0; f < N; ++f) {
    acc[f][0] = _mm256_loadu_pd(&sums[slot[f]][0]);
    acc[f][1] = _mm256_loadu_pd(&sums[slot[f]][4]);
  }
  for (int i = 0; i < n; i += ELP_LANES) {
#pragma GCC unroll 2
    for (int h = 0; h < 2; ++h) {
      const int l = i + 4 * h;
      __m256d re, im;
      product4(tab, index + l, n, &re, &im);
#pragma GCC unroll 8
      for (int f = 0; f < N; ++f) {
        const __m256d v = _mm256_add_pd(_mm256_mul_pd(_mm256_loadu_pd(coef + (2 * f) * n + l), re),
                                        _mm256_mul_pd(_mm256_loadu_pd(coef + (2 * f + 1) * n + l), im));
        acc[f][h] = _mm256_add_pd(acc[f][h], v);
      }
    }
  }
#pragma GCC unroll 8
  for (int f = 0; f < N; ++f) {
    _mm256_storeu_pd(&sums[slot[f]][0], acc[f][0]);
    _mm256_storeu_pd(&sums[slot[f]][4], acc[f][1]);
  }
}

using GroupKernel = void (*)(int n, const std::int32_t* index, const double* coef,
                             const double* tab, const unsigned char* slot, LaneSums& sums);
using Kernels = std::array<GroupKernel, ELP_MAX_GROUP_SLOTS>;  // by number of slots - 1

template <bool AVX2, int... I>
constexpr Kernels make_kernels(std::integer_sequence<int, I...>) {
  if constexpr (AVX2)
    return {&group_sums_avx2<I + 1>...};
  else
    return {&group_sums_base<I + 1>...};
}

const Kernels& kernels(bool avx2) {
  static constexpr Kernels vector =
      make_kernels<true>(std::make_integer_sequence<int, ELP_MAX_GROUP_SLOTS>());
  static constexpr Kernels base =
      make_kernels<false>(std::make_integer_sequence<int, ELP_MAX_GROUP_SLOTS>());
  return avx2 ? vector : base;
}

// ---- Decoding --------------------------------------------------------------

int padded(int n) { return (n + ELP_LANES - 1) / ELP_LANES * ELP_LANES; }

// Node ids by (reference, factor): open addressing, linear probing.
class NodeMemo {
 public:
  explicit NodeMemo(int capacity) : key_(capacity), value_(capacity) {}
  // The slot of the key: value() is -1 where the key is new.
  int& find(int ref, int factor) {
    const std::uint64_t key = ((static_cast<std::uint64_t>(ref) << 32) | static_cast<std::uint32_t>(factor)) + 1;
    std::size_t h = (key * 0x9E3779B97F4A7C15ull) >> 40;
    for (;; ++h) {
      h &= key_.size() - 1;
      if (key_[h] == key) return value_[h];
      if (key_[h] == 0) {
        key_[h] = key;
        value_[h] = -1;
        return value_[h];
      }
    }
  }

 private:
  std::vector<std::uint64_t> key_;
  std::vector<int> value_;
};

ElpLayout decode() {
  ElpLayout layout;
  const int unit = ELP_BASE_OFFSET[0];  // k = 0: (1, 0)
  if (ELP_NPART_FACTOR > (1 << 20) || ELP_NARG > (1 << 20)) return layout;

  // Products: a partial of k >= 2 factors is (its first k - 1 factors) times
  // its last; references below ELP_NMULT are multiples, above node ids.
  struct Node {
    int a, b, level;
  };
  std::vector<Node> nodes;
  nodes.reserve(ELP_NPART_FACTOR);
  NodeMemo memo(2 << std::bit_width(static_cast<unsigned>(ELP_NPART_FACTOR)));
  int levels = 0;
  std::vector<int> partial(ELP_NPART);
  const unsigned short* fac = ELP_PART_FACTOR;
  for (int p = 0; p < ELP_NPART; ++p) {
    const int n = ELP_PART_NFACTOR[p];
    if (fac + n > ELP_PART_FACTOR + ELP_NPART_FACTOR) return layout;
    for (int k = 0; k < n; ++k)
      if (fac[k] >= ELP_NMULT) return layout;
    int ref = n == 0 ? unit : fac[0];
    for (int k = 1; k < n; ++k) {
      int& node = memo.find(ref, fac[k]);
      if (node < 0) {
        const int level = (ref < ELP_NMULT ? 0 : nodes[ref - ELP_NMULT].level) + 1;
        levels = std::max(levels, level);
        nodes.push_back({ref, fac[k], level});
        node = ELP_NMULT + static_cast<int>(nodes.size()) - 1;
      }
      ref = node;
    }
    fac += n;
    partial[p] = ref;
  }
  layout.products = static_cast<int>(nodes.size());

  // The slots of an argument are increasing, so their bit set names its
  // group; count the groups' members first.
  std::vector<unsigned> set_of(ELP_NARG);
  std::vector<int> members(1u << ELP_NSLOT, 0);
  {
    const unsigned char* slot = ELP_COEF_SLOT;
    for (int i = 0; i < ELP_NARG; ++i) {
      const int n = ELP_ARG_NCOEF[i];
      if (n < 1 || n > ELP_MAX_GROUP_SLOTS || slot + n > ELP_COEF_SLOT + ELP_NCOEF) return layout;
      unsigned set = 0;
      for (int k = 0; k < n; ++k) {
        if (slot[k] >= ELP_NSLOT || (k > 0 && slot[k] <= slot[k - 1])) return layout;
        set |= 1u << slot[k];
      }
      for (int f = 0; f < 2; ++f)
        if (ELP_ARG_PART[2 * i + f] >= ELP_NPART) return layout;
      set_of[i] = set;
      ++members[set];
      slot += n;
    }
  }

  // Entries of the products, level by level, each level padded with unit
  // times unit.
  std::vector<int> per_level(levels + 1, 0);
  for (const Node& node : nodes) ++per_level[node.level];
  std::size_t index_size = 0, coef_size = 0;
  for (int level = 1; level <= levels; ++level) index_size += 2 * padded(per_level[level]);
  for (unsigned set = 1; set < members.size(); ++set) {
    index_size += 2 * padded(members[set]);
    coef_size += 2 * std::popcount(set) * padded(members[set]);
  }
  layout.index.assign(index_size, 2 * unit);
  layout.coef.assign(coef_size, 0.0);
  std::vector<int> entry_of(nodes.size());
  std::vector<int> filled(levels + 1, 0);
  int next_entry = ELP_NMULT;
  int next_index = 0;
  for (int level = 1; level <= levels; ++level) {
    const orbitcore::PairProductLevel l{padded(per_level[level]), next_index, next_entry};
    layout.levels.push_back(l);
    next_entry += l.count;
    next_index += 2 * l.count;
  }
  auto offset = [&](int ref) { return 2 * (ref < ELP_NMULT ? ref : entry_of[ref - ELP_NMULT]); };
  for (int i = 0; i < static_cast<int>(nodes.size()); ++i) {  // a node's factors come first
    const orbitcore::PairProductLevel& l = layout.levels[nodes[i].level - 1];
    const int k = filled[nodes[i].level]++;
    entry_of[i] = l.first + k;
    layout.index[l.index_at + k] = offset(nodes[i].a);
    layout.index[l.index_at + l.count + k] = offset(nodes[i].b);
  }
  layout.entries = next_entry;

  // Argument groups, table order kept inside a group.
  std::vector<int> group_of(members.size(), -1);
  int next_coef = 0;
  for (unsigned set = 1; set < members.size(); ++set) {
    if (members[set] == 0) continue;
    ElpArgumentGroup g{};
    for (int s = 0; s < ELP_NSLOT; ++s)
      if (set & (1u << s)) g.slot[g.slots++] = static_cast<unsigned char>(s);
    g.count = padded(members[set]);
    g.index_at = next_index;
    g.coef_at = next_coef;
    next_index += 2 * g.count;
    next_coef += 2 * g.slots * g.count;
    group_of[set] = static_cast<int>(layout.groups.size());
    layout.groups.push_back(g);
  }
  std::vector<int> fill(layout.groups.size(), 0);
  const ElpCoef* coef = ELP_COEF;
  for (int i = 0; i < ELP_NARG; ++i) {
    const int gi = group_of[set_of[i]];
    const ElpArgumentGroup& g = layout.groups[gi];
    const int k = fill[gi]++;
    for (int f = 0; f < 2; ++f)
      layout.index[g.index_at + f * g.count + k] = offset(partial[ELP_ARG_PART[2 * i + f]]);
    for (int n = 0; n < g.slots; ++n) {
      layout.coef[g.coef_at + (2 * n) * g.count + k] = coef[n].c;
      layout.coef[g.coef_at + (2 * n + 1) * g.count + k] = coef[n].s;
    }
    coef += g.slots;
  }
  layout.usable = true;
  return layout;
}

}  // namespace

const ElpLayout& elp82b_layout() {
  static const ElpLayout layout = decode();
  return layout;
}

void elp82b_build_products(const ElpLayout& layout, double* tab) {
  orbitcore::build_product_levels(layout.levels, layout.index.data(), tab,
                                  simd_level() >= SIMD_AVX2 ? products_avx2 : products_base);
}

void elp82b_slot_sums(const ElpLayout& layout, const double* tab, double sum[ELP_NSLOT]) {
  static_assert(ELP_LANES == 8, "the pairwise sum below adds eight lanes");
  const Kernels& kernel = kernels(simd_level() >= SIMD_AVX2);
  LaneSums lanes = {};
  for (const ElpArgumentGroup& g : layout.groups)
    kernel[g.slots - 1](g.count, layout.index.data() + g.index_at, layout.coef.data() + g.coef_at,
                        tab, g.slot, lanes);
  for (int s = 0; s < ELP_NSLOT; ++s) {
    const double* a = lanes[s];
    sum[s] = ((a[0] + a[4]) + (a[2] + a[6])) + ((a[1] + a[5]) + (a[3] + a[7]));
  }
}

}  // namespace lunaris
