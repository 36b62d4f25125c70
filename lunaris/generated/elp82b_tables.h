// lunaris -- declarations of the generated ELP 2000-82B tables
// (lunaris/generated/elp82b_tables.cpp, written by tools/gen_elp82b.py).
//
// Layout, three levels:
//  1. Multiples table: for each base angle a_j, (cos k a_j, sin k a_j) for
//     k = -ELP_BASE_KMAX[j] ... +ELP_BASE_KMAX[j], with k = 0 at the flat
//     index ELP_BASE_OFFSET[j] (ELP_NMULT entries in all).
//  2. Partial arguments: products of ELP_PART_NFACTOR[p] multiples, given by
//     flat index in ELP_PART_FACTOR.  Partial 0 is the empty product (1).
//  3. Arguments: argument i is the product of the partial arguments
//     ELP_ARG_PART[2i] (planetary part) and ELP_ARG_PART[2i+1] (lunar part);
//     it contributes ELP_ARG_NCOEF[i] coefficient pairs
//     c cos(arg) + s sin(arg), each to its slot ELP_COEF_SLOT[] =
//     3*coordinate + power of t (coordinate 0 = longitude V and 1 =
//     latitude U in arcsec, 2 = distance r in km).
//
// Base angles, in order: D, l', l, F (main problem, full polynomials in t);
// zeta, D, l', l, F (linear in t); mean longitudes of Mercury, Venus, the
// Earth-Moon barycentre, Mars, Jupiter, Saturn, Uranus, Neptune (linear).
#pragma once

namespace lunaris::tables {

constexpr int ELP_NBASE = 17;
constexpr int ELP_NSLOT = 9;
constexpr int ELP_NMULT_MAX = 1024;    // room the evaluator reserves
constexpr int ELP_NPART_MAX = 8192;    // room the evaluator reserves

struct ElpCoef {
  double c;   // coefficient of cos(argument)
  double s;   // coefficient of sin(argument)
};

extern const double ELP_PREC_ARCSEC;   // truncation level, arcsec (0 = complete)
extern const int ELP_TERMS_KEPT;       // terms of ELP1..ELP36 kept
extern const int ELP_BASE_KMAX[ELP_NBASE];
extern const int ELP_BASE_OFFSET[ELP_NBASE];
extern const int ELP_NMULT;
extern const int ELP_NPART;
extern const int ELP_NPART_FACTOR;
extern const int ELP_NARG;
extern const int ELP_NCOEF;
extern const unsigned char ELP_PART_NFACTOR[];
extern const unsigned short ELP_PART_FACTOR[];
extern const unsigned short ELP_ARG_PART[];
extern const unsigned char ELP_ARG_NCOEF[];
extern const unsigned char ELP_COEF_SLOT[];
extern const ElpCoef ELP_COEF[];

// Abbreviated main-problem distance, used only for the light time.
struct ElpDistanceTerm {
  int mult[4];   // multipliers of D, l', l, F (full polynomial arguments)
  double a_km;   // amplitude of the cosine, km
};
extern const int ELP_LT_NTERM;
extern const ElpDistanceTerm ELP_LT_TERM[];

}  // namespace lunaris::tables
