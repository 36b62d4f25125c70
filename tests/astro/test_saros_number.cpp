// Saros numbering: published series of well-known eclipses (NASA canon) and
// the era table's boundaries.
#include <gtest/gtest.h>

#include <cmath>

#include "astro/Astrcalc.h"

using namespace nodalis;

namespace {
long double JDof(int y, int m, int d, int h, int mi, int s) {
  return CalendarToJD(y, m, static_cast<float>(d)) + (h + mi / 60.0L + s / 3600.0L) / 24;
}
}  // namespace

TEST(SarosNumber, WellKnownEclipsesFromTheNasaCanon) {
  std::string text;
  const long double aug2017 = JDof(2017, 8, 21, 18, 25, 29);
  EXPECT_EQ(LunationNumber(aug2017), 218);
  EXPECT_EQ(SarosNumber(aug2017, text), 145);
  EXPECT_EQ(text, "145. Saros, \xC4ra M");
  const long double apr2024 = JDof(2024, 4, 8, 18, 17, 16);
  EXPECT_EQ(LunationNumber(apr2024), 300);
  EXPECT_EQ(SarosNumber(apr2024, text), 139);
  const long double aug1999 = JDof(1999, 8, 11, 11, 3, 55);
  EXPECT_EQ(LunationNumber(aug1999), -5);
  EXPECT_EQ(SarosNumber(aug1999, text), 145);
  // Canon catalogue no. 1: -1999 June 12, Saros 5; no. 11898: 3000 Oct 19, Saros 169.
  EXPECT_EQ(SarosNumber(JDof(-1999, 6, 12, 3, 14, 51), text), 5);
  EXPECT_EQ(text, "  5. Saros, \xC4ra M");
  EXPECT_EQ(SarosNumber(JDof(3000, 10, 19, 16, 10, 16), text), 169);
}

TEST(SarosNumber, EraTableBoundaries) {
  std::string text;
  // Find a date in year 16290 whose series number within the era is <= 178:
  // rows 13 (Year < 16290) and 15 (Year > 16290) both fail, letter stays "N".
  long double jd = CalendarToJD(16290, 6, 1);
  int n = 0;
  for (int k = 0; k < 12; ++k, jd += 29.530588861L) {
    n = SarosNumber(jd, text) - ('N' - 'M') * 223;
    if (n <= 178) break;
  }
  ASSERT_LE(n, 178);
  EXPECT_EQ(text.back(), 'N') << text;
  // Year -29415 or earlier: no row matches, "?" and (63 - 77) * 223 + n.
  const long double early = CalendarToJD(-29420, 6, 1);
  const int32_t s = SarosNumber(early, text);
  EXPECT_EQ(text.back(), '?');
  EXPECT_EQ(s, ('?' - 'M') * 223 + std::stoi(text.substr(0, 3)));
  EXPECT_EQ(SarosNumber(NAN, text) % 223 != 0, true);
}
