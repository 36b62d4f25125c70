// lunaris -- declarations of the generated ELP 2000-82B tables
// (lunaris/generated/elp82b_tables.cpp, written by tools/gen_elp82b.py).
//
// The series is stored as a list of arguments.  Argument i is the sum of
// ELP_ARG_NFACTOR[i] base-angle multiples k*a_j, each given by its flat index
// into the multiples table (cos k*a_j, sin k*a_j), laid out base after base:
// base j holds k = -ELP_BASE_KMAX[j] ... +ELP_BASE_KMAX[j] with k = 0 at
// ELP_BASE_OFFSET[j].  Argument i contributes ELP_ARG_NCOEF[i] coefficient
// pairs c cos(arg) + s sin(arg), each to one slot (3*coordinate + power of t;
// coordinate 0 = longitude V and 1 = latitude U in arcsec, 2 = distance r in
// km).
//
// Base angles, in order: D, l', l, F (main problem, full polynomials in t);
// zeta, D, l', l, F (linear in t); mean longitudes of Mercury, Venus, the
// Earth-Moon barycentre, Mars, Jupiter, Saturn, Uranus, Neptune (linear).
#pragma once

namespace lunaris::tables {

constexpr int ELP_NBASE = 17;
constexpr int ELP_NSLOT = 9;

struct ElpCoef {
  double c;   // coefficient of cos(argument)
  double s;   // coefficient of sin(argument)
  int slot;   // 3*coordinate + power of t
};

extern const double ELP_PREC_ARCSEC;   // truncation level, arcsec (0 = complete)
extern const int ELP_TERMS_KEPT;       // terms of ELP1..ELP36 kept
extern const int ELP_BASE_KMAX[ELP_NBASE];
extern const int ELP_BASE_OFFSET[ELP_NBASE];
extern const int ELP_NMULT;            // entries of the multiples table
constexpr int ELP_NMULT_MAX = 1024;    // room the evaluator reserves for it
extern const int ELP_NARG;
extern const int ELP_NFACTOR;
extern const int ELP_NCOEF;
extern const unsigned char ELP_ARG_NFACTOR[];
extern const unsigned char ELP_ARG_NCOEF[];
extern const unsigned short ELP_FACTOR[];
extern const ElpCoef ELP_COEF[];

// Abbreviated main-problem distance, used only for the light time.
struct ElpDistanceTerm {
  int mult[4];   // multipliers of D, l', l, F (full polynomial arguments)
  double a_km;   // amplitude of the cosine, km
};
extern const int ELP_LT_NTERM;
extern const ElpDistanceTerm ELP_LT_TERM[];

}  // namespace lunaris::tables
