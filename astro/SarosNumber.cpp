// SarosNumber — Saros series number and text of an eclipse date.
//
// The lunation number L (Meeus' count, 0 = new moon of 2000 January 6) gives
// the series within an era of 223 series: n is the smallest n >= 1 with
// L + 179 + 88 n divisible by 223.  The era letter ("H" .. "T", no "I") comes
// from the calendar year; series number = (letter - "M") * 223 + n, so that
// era "M" holds the series numbered as in the NASA canon (e.g. 2017 Aug 21:
// L = 218, Saros 145).
//
// Reference: J. Meeus, Mathematical Astronomy Morsels (1997), ch. 9;
// F. Espenak and J. Meeus, Five Millennium Canon of Solar Eclipses (2006).
#include <cmath>

#include "astro/Astrcalc.h"
#include "app/base/Utils.h"

namespace nodalis {

namespace {
constexpr long double LUNATION_EPOCH_JD = 2451550.09811L;

struct EraRow {
  char letter;
  int year_above;   // condition: Year > year_above
  int year_below;   // and Year < year_below (row 13 only; else INT_MAX)
  int n_min, n_max; // and n_min <= n <= n_max
};

// Every matching row replaces the letter; the last match wins.
const EraRow ERA_ROWS[24] = {
    {'H', -29415, 1 << 30, 1, 179},   {'H', -24935, 1 << 30, 180, 223},
    {'J', -23915, 1 << 30, 1, 179},   {'J', -18735, 1 << 30, 180, 223},
    {'K', -17350, 1 << 30, 1, 179},   {'K', -11740, 1 << 30, 180, 223},
    {'L', -10283, 1 << 30, 1, 179},   {'L', -4417, 1 << 30, 180, 223},
    {'M', -2875, 1 << 30, 1, 179},    {'M', 2757, 1 << 30, 180, 223},
    {'N', 3989, 1 << 30, 1, 179},     {'N', 9140, 1 << 30, 180, 223},
    {'O', 10289, 16290, 1, 178},      {'O', 15163, 1 << 30, 179, 223},
    {'P', 16290, 1 << 30, 1, 178},    {'P', 20724, 1 << 30, 179, 223},
    {'Q', 21846, 1 << 30, 1, 178},    {'Q', 26432, 1 << 30, 179, 223},
    {'R', 27489, 1 << 30, 1, 178},    {'R', 32032, 1 << 30, 179, 223},
    {'S', 34450, 1 << 30, 1, 178},    {'S', 38240, 1 << 30, 179, 223},
    {'T', 39712, 1 << 30, 1, 178},    {'T', 40920, 1 << 30, 179, 223},
};
}  // namespace

long long LunationNumber(long double JD) {
  const long double x = JD - LUNATION_EPOCH_JD;
  const long double T = x / 36525.0L;
  const long double L = std::nearbyint(x / (SYNODIC_MONTH_DAYS + 2.25e-7L * T - 1.1e-10L * T * T));
  if (!std::isfinite(L) || std::fabs(L) > 1e15L) return 0;
  return static_cast<long long>(L);
}

int32_t SarosNumber(long double JD, std::string& SarosText) {
  int Year = 0, Month;
  float Day;
  JDToCalendar(JD, Year, Month, Day);
  const long long L = std::isfinite(JD) ? LunationNumber(JD) : 0;
  long long r = (L + 179) % 223;
  if (r < 0) r += 223;
  int n = 1;
  for (; n <= 223; ++n)
    if ((r + 88LL * n) % 223 == 0) break;
  char letter = '?';
  if (std::isfinite(JD)) {
    for (const EraRow& row : ERA_ROWS)
      if (Year > row.year_above && Year < row.year_below && n >= row.n_min && n <= row.n_max)
        letter = row.letter;
  }
  SarosText = RealToStr(3, 0, n) + ". " + "Saros" + ", " + "\xC4ra" + " " + letter;
  return (static_cast<int32_t>(letter) - static_cast<int32_t>('M')) * 223 + n;
}

}  // namespace nodalis
