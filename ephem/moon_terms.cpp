// orbitcore — decoding the lunar term streams into parts and groups, and
// evaluating them (see moon_terms.h for the layout and the operations).
//
// Each group of terms and each level of products runs one kernel: four
// terms per AVX2 register (two registers per block of MOON_LANES) where the
// processor has AVX2 and FMA, one term at a time on the x86-64 baseline
// otherwise.  Both execute the same roundings per term and add to the lane
// sums in the same order (std::fma is exact everywhere), so they give the
// same bits.
#include "ephem/moon_terms.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include "ephem/pair_table.h"
#include "ephem/simd_dispatch.h"

namespace orbitcore {
namespace {

// A stream without its end marker is not decoded.
constexpr int MAX_TERMS = 100000;

using LaneSums = double[MOON_MAX_STREAMS][MOON_LANES];

// ---- Kernels ---------------------------------------------------------------

// Products of one level on the baseline.
void products_base(int n, const std::int32_t* index, double* sc, double* out) {
  for (int i = 0; i < n; ++i) {
    const double* a = sc + index[i];
    const double* b = sc + index[n + i];
    out[2 * i] = std::fma(a[0], b[1], a[1] * b[0]);
    out[2 * i + 1] = std::fma(a[1], b[1], -(a[0] * b[0]));
  }
}

// One group of terms on the baseline: term by term.
template <int D, int K>
void group_sums_base(int n, const std::int32_t* index, const double* coef, const double* sc,
                     double tau, LaneSums& sums) {
  for (int i = 0; i < n; ++i) {
    const double* a = sc + index[i];
    const double* b = sc + index[n + i];
    const double st = std::fma(a[0], b[1], a[1] * b[0]);
    const double ct = std::fma(a[1], b[1], -(a[0] * b[0]));
    for (int k = 0; k < K; ++k) {
      double cc = coef[(2 * k) * n + i], ss = coef[(2 * k + 1) * n + i];
      for (int p = 1; p <= D; ++p) {
        cc = std::fma(cc, tau, coef[(2 * (p * K + k)) * n + i]);
        ss = std::fma(ss, tau, coef[(2 * (p * K + k) + 1) * n + i]);
      }
      double& lane = sums[k][i % MOON_LANES];
      lane = std::fma(cc, ct, std::fma(ss, st, lane));
    }
  }
}

// The complex product of the two parts of four lanes.
ORBITCORE_TARGET_AVX2 inline void product4(const double* sc, const std::int32_t* index, int n,
                                           __m256d* st, __m256d* ct) {
  __m256d s1, c1, s2, c2;
  load_pairs4(sc, index, &s1, &c1);
  load_pairs4(sc, index + n, &s2, &c2);
  *st = _mm256_fmadd_pd(s1, c2, _mm256_mul_pd(c1, s2));
  *ct = _mm256_fmsub_pd(c1, c2, _mm256_mul_pd(s1, s2));
}

// Products of one level with AVX2 and FMA.
ORBITCORE_TARGET_AVX2 void products_avx2(int n, const std::int32_t* index, double* sc,
                                         double* out) {
  for (int i = 0; i < n; i += 4) {
    __m256d st, ct;
    product4(sc, index + i, n, &st, &ct);
    store_pairs4(out + 2 * i, st, ct);
  }
}

// One group of terms with AVX2 and FMA: lanes l .. l + 3 in one register.
// (The loops over streams and powers have fixed counts and are unrolled, so
// that the sums stay in registers.)
template <int D, int K>
ORBITCORE_TARGET_AVX2 void group_sums_avx2(int n, const std::int32_t* index, const double* coef,
                                           const double* sc, double tau, LaneSums& sums) {
  static_assert(MOON_LANES == 8, "two registers of four lanes");
  const __m256d vtau = _mm256_set1_pd(tau);
  __m256d acc[K][2];
#pragma GCC unroll 8
  for (int k = 0; k < K; ++k) {
    acc[k][0] = _mm256_loadu_pd(&sums[k][0]);
    acc[k][1] = _mm256_loadu_pd(&sums[k][4]);
  }
  for (int i = 0; i < n; i += MOON_LANES) {
#pragma GCC unroll 2
    for (int h = 0; h < 2; ++h) {
      const int l = i + 4 * h;
      __m256d st, ct;
      product4(sc, index + l, n, &st, &ct);
#pragma GCC unroll 8
      for (int k = 0; k < K; ++k) {
        __m256d cc = _mm256_loadu_pd(coef + (2 * k) * n + l);
        __m256d ss = _mm256_loadu_pd(coef + (2 * k + 1) * n + l);
#pragma GCC unroll 8
        for (int p = 1; p <= D; ++p) {
          cc = _mm256_fmadd_pd(cc, vtau, _mm256_loadu_pd(coef + (2 * (p * K + k)) * n + l));
          ss = _mm256_fmadd_pd(ss, vtau, _mm256_loadu_pd(coef + (2 * (p * K + k) + 1) * n + l));
        }
        acc[k][h] = _mm256_fmadd_pd(cc, ct, _mm256_fmadd_pd(ss, st, acc[k][h]));
      }
    }
  }
#pragma GCC unroll 8
  for (int k = 0; k < K; ++k) {
    _mm256_storeu_pd(&sums[k][0], acc[k][0]);
    _mm256_storeu_pd(&sums[k][4], acc[k][1]);
  }
}

using GroupKernel = void (*)(int n, const std::int32_t* index, const double* coef,
                             const double* sc, double tau, LaneSums& sums);
using Kernels = std::array<GroupKernel, MOON_MAX_DEGREE + 1>;  // by degree

template <int K, bool AVX2, int... D>
constexpr Kernels make_kernels(std::integer_sequence<int, D...>) {
  if constexpr (AVX2)
    return {&group_sums_avx2<D, K>...};
  else
    return {&group_sums_base<D, K>...};
}

template <int K>
const Kernels& kernels(bool avx2) {
  static constexpr Kernels vector =
      make_kernels<K, true>(std::make_integer_sequence<int, MOON_MAX_DEGREE + 1>());
  static constexpr Kernels base =
      make_kernels<K, false>(std::make_integer_sequence<int, MOON_MAX_DEGREE + 1>());
  return avx2 ? vector : base;
}

// ---- Decoding --------------------------------------------------------------

// A periodic term as it stands in the stream.
struct RawTerm {
  int factors, degree;
  int argument[MOON_MAX_FACTORS], multiple[MOON_MAX_FACTORS];
  const std::int32_t* coef[MOON_MAX_STREAMS];  // (c, s) pairs, highest power first
};

// Walks one stream: its periodic terms into raw, its polynomial terms summed
// into the layout's polynomial.  False when the stream breaks the format.
bool walk(const MoonSeries& s, MoonSeriesLayout& out, std::vector<RawTerm>& raw,
          int* max_multiple) {
  out.streams = s.coef_dist != nullptr ? 2 : 1;
  long long poly[MOON_MAX_STREAMS][MOON_MAX_DEGREE + 1] = {};  // lowest power first
  const std::int16_t* ts = s.terms;
  const std::int32_t* cs[MOON_MAX_STREAMS] = {s.coef, s.coef_dist};
  for (int t = 0;; ++t) {
    if (t == MAX_TERMS) return false;
    const int n = *ts++;
    if (n < 0) break;
    if (n > MOON_MAX_FACTORS) return false;
    RawTerm r{};
    r.factors = n;
    for (int f = 0; f < n; ++f, ts += 2) {
      const int m = ts[0], a = ts[1];
      if (a < 1 || a > MOON_ARGUMENTS || m < -MOON_MAX_MULTIPLE || m > MOON_MAX_MULTIPLE)
        return false;
      r.argument[f] = a;
      r.multiple[f] = m;
      max_multiple[a - 1] = std::max(max_multiple[a - 1], std::abs(m));
    }
    r.degree = *ts++;
    if (r.degree < 0 || r.degree > MOON_MAX_DEGREE) return false;
    const int count = (n == 0 ? 1 : 2) * (r.degree + 1);
    for (int k = 0; k < out.streams; ++k) {
      r.coef[k] = cs[k];
      cs[k] += count;
    }
    ++out.terms;
    if (n == 0) {  // pure polynomial: added into the polynomial of each stream
      for (int k = 0; k < out.streams; ++k)
        for (int p = 0; p <= r.degree; ++p) poly[k][r.degree - p] += r.coef[k][p];
      out.poly_degree = std::max(out.poly_degree, r.degree);
    } else {
      raw.push_back(r);
    }
  }
  for (int k = 0; k < out.streams; ++k)
    for (int p = 0; p <= out.poly_degree; ++p)
      out.poly[k][p] = static_cast<double>(poly[k][out.poly_degree - p]);
  return true;
}

// Which part a factor belongs to, and its place in the part's product:
// part 0 holds D and l (arguments 10 and 13), part 1 the planets 1 .. 8,
// then W1, l' and F.
int part_of(int argument) { return argument == 10 || argument == 13 ? 0 : 1; }
int rank_in_part(int argument) {
  switch (argument) {
    case 10: return 0;
    case 13: return 1;
    case 14: return 8;
    case 12: return 9;
    case 11: return 10;
    default: return argument - 1;  // planets
  }
}

// The products of parts, found while the terms are split.  References are
// table entries below MOON_MULTIPLES_ENTRIES, or product ids above.
class Products {
 public:
  struct Node {
    int a, b, level;
  };
  // The reference of the product of these entries (in product order).
  int of(const std::vector<int>& entries) {
    if (entries.empty()) return moon_multiples_entry(1, 0);  // sin 0, cos 1
    if (entries.size() == 1) return entries[0];
    auto it = memo_.find(entries);
    if (it != memo_.end()) return it->second;
    const int prefix = of(std::vector<int>(entries.begin(), entries.end() - 1));
    const int level = prefix >= MOON_MULTIPLES_ENTRIES ? nodes_[prefix - MOON_MULTIPLES_ENTRIES].level + 1 : 1;
    nodes_.push_back({prefix, entries.back(), level});
    const int id = MOON_MULTIPLES_ENTRIES + static_cast<int>(nodes_.size()) - 1;
    memo_.emplace(entries, id);
    return id;
  }
  const std::vector<Node>& nodes() const { return nodes_; }

 private:
  std::map<std::vector<int>, int> memo_;
  std::vector<Node> nodes_;
};

// The two parts of a term as references.
std::array<int, 2> split(const RawTerm& r, Products& products) {
  std::vector<std::pair<int, int>> factors[2];  // (rank, entry) per part
  for (int f = 0; f < r.factors; ++f)
    factors[part_of(r.argument[f])].push_back(
        {rank_in_part(r.argument[f]), moon_multiples_entry(r.argument[f], r.multiple[f])});
  std::array<int, 2> ref{};
  for (int p = 0; p < 2; ++p) {
    std::sort(factors[p].begin(), factors[p].end());
    std::vector<int> entries;
    for (const auto& f : factors[p]) entries.push_back(f.second);
    ref[p] = products.of(entries);
  }
  return ref;
}

MoonLayout decode() {
  MoonLayout layout;
  std::vector<RawTerm> raw[2];
  if (!walk(kMoonLonDistSeries, layout.lon_dist, raw[0], layout.max_multiple) ||
      !walk(kMoonLatSeries, layout.lat, raw[1], layout.max_multiple))
    return layout;

  Products products;
  std::vector<std::array<int, 2>> parts[2];
  for (int s = 0; s < 2; ++s)
    for (const RawTerm& r : raw[s]) parts[s].push_back(split(r, products));

  // Table entries of the products: level by level, each level padded to
  // whole blocks; padding products multiply sin 0, cos 1 by itself.
  const std::vector<Products::Node>& nodes = products.nodes();
  layout.products = static_cast<int>(nodes.size());
  std::vector<int> entry_of(nodes.size());
  const std::int32_t unit = 2 * moon_multiples_entry(1, 0);
  auto offset = [&](int ref) {
    return 2 * (ref < MOON_MULTIPLES_ENTRIES ? ref : entry_of[ref - MOON_MULTIPLES_ENTRIES]);
  };
  int next_entry = MOON_MULTIPLES_ENTRIES;
  for (int level = 1;; ++level) {
    std::vector<int> members;
    for (int i = 0; i < static_cast<int>(nodes.size()); ++i)
      if (nodes[i].level == level) members.push_back(i);
    if (members.empty()) break;
    PairProductLevel l{};
    l.count = (static_cast<int>(members.size()) + MOON_LANES - 1) / MOON_LANES * MOON_LANES;
    l.index_at = static_cast<int>(layout.index.size());
    l.first = next_entry;
    if (next_entry + l.count > MOON_MULTIPLES_ENTRIES + MOON_MAX_PRODUCTS) return layout;
    layout.index.resize(layout.index.size() + 2 * static_cast<std::size_t>(l.count), unit);
    for (int i = 0; i < static_cast<int>(members.size()); ++i) {
      entry_of[members[i]] = next_entry + i;
      layout.index[l.index_at + i] = offset(nodes[members[i]].a);
      layout.index[l.index_at + l.count + i] = offset(nodes[members[i]].b);
    }
    next_entry += l.count;
    layout.levels.push_back(l);
  }

  // Groups by degree, stream order kept inside a group.
  for (int s = 0; s < 2; ++s) {
    MoonSeriesLayout& series = s == 0 ? layout.lon_dist : layout.lat;
    const int streams = series.streams;
    for (int d = 0; d <= MOON_MAX_DEGREE; ++d) {
      std::vector<int> members;
      for (int i = 0; i < static_cast<int>(raw[s].size()); ++i)
        if (raw[s][i].degree == d) members.push_back(i);
      if (members.empty()) continue;
      MoonTermGroup g{};
      g.degree = d;
      g.count = (static_cast<int>(members.size()) + MOON_LANES - 1) / MOON_LANES * MOON_LANES;
      g.index_at = static_cast<int>(layout.index.size());
      g.coef_at = static_cast<int>(layout.coef.size());
      // Padding lanes: sin 0, cos 1 twice, zero coefficients.
      layout.index.resize(layout.index.size() + 2 * static_cast<std::size_t>(g.count), unit);
      layout.coef.resize(
          layout.coef.size() + static_cast<std::size_t>(d + 1) * streams * 2 * g.count, 0.0);
      for (int i = 0; i < static_cast<int>(members.size()); ++i) {
        const RawTerm& r = raw[s][members[i]];
        for (int f = 0; f < 2; ++f)
          layout.index[g.index_at + f * g.count + i] = offset(parts[s][members[i]][f]);
        for (int p = 0; p <= d; ++p)
          for (int k = 0; k < streams; ++k)
            for (int j = 0; j < 2; ++j)
              layout.coef[g.coef_at + (2 * (p * streams + k) + j) * g.count + i] =
                  r.coef[k][2 * p + j];
      }
      series.groups.push_back(g);
    }
  }
  layout.usable = true;
  return layout;
}

}  // namespace

const MoonLayout& moon_layout() {
  static const MoonLayout layout = decode();
  return layout;
}

void moon_build_products(const MoonLayout& layout, double* sc) {
  build_product_levels(layout.levels, layout.index.data(), sc,
                       simd_level() >= SIMD_AVX2 ? products_avx2 : products_base);
}

void moon_series_sums(const MoonLayout& layout, const MoonSeriesLayout& series, const double* sc,
                      double tau, double* sums) {
  static_assert(MOON_LANES == 8, "the pairwise sum below adds eight lanes");
  const bool avx2 = simd_level() >= SIMD_AVX2;
  const Kernels& kernel = series.streams == 2 ? kernels<2>(avx2) : kernels<1>(avx2);
  LaneSums lanes = {};
  for (const MoonTermGroup& g : series.groups)
    kernel[g.degree](g.count, layout.index.data() + g.index_at, layout.coef.data() + g.coef_at,
                     sc, tau, lanes);
  for (int k = 0; k < series.streams; ++k) {
    const double* a = lanes[k];
    double p = 0.0;
    for (int e = 0; e <= series.poly_degree; ++e) p = p * tau + series.poly[k][e];
    sums[k] = p + (((a[0] + a[4]) + (a[2] + a[6])) + ((a[1] + a[5]) + (a[3] + a[7])));
  }
}

}  // namespace orbitcore
