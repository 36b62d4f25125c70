// Calendar conversion and Delta T of orbitcore.
#include <gtest/gtest.h>

#include <cmath>

#include "ephem/orbitcore_internal.h"

using namespace orbitcore;

namespace {

struct DayNumberCase {
  int n, year, month, day;
};

TEST(Calendar, DayNumbersGiveTheirCalendarDates) {
  // Julian day numbers and dates of the classical conversion (Meeus ch. 7),
  // including the Julian/Gregorian switch and the years around 0.
  const DayNumberCase cases[] = {
      {2451545, 2000, 1, 1},  {2299161, 1582, 10, 15}, {2299160, 1582, 10, 4},
      {0, -4712, 1, 1},       {-1, -4713, 12, 31},     {1721424, 1, 1, 1},
      {1721058, 0, 1, 1},     {2436116, 1957, 10, 4},  {2415021, 1900, 1, 1},
      {2451604, 2000, 2, 29}, {2378497, 1800, 1, 1},   {-1461, -4716, 1, 1},
  };
  for (const auto& c : cases) {
    CalendarDate d = jdn_to_calendar(c.n);
    EXPECT_EQ(d.year, c.year) << "n=" << c.n;
    EXPECT_EQ(d.month, c.month) << "n=" << c.n;
    EXPECT_EQ(d.day, c.day) << "n=" << c.n;
  }
}

TEST(Calendar, TimeOfDayIsTruncatedNotRounded) {
  // mjd 51544.0 = 2000-01-01 0h; fraction 0.99999 = 23:59:59.136.
  CalendarDateTime t = mjd_to_calendar(51544.99999);
  EXPECT_EQ(t.year, 2000);
  EXPECT_EQ(t.month, 1);
  EXPECT_EQ(t.day, 1);
  EXPECT_EQ(t.hour, 23);
  EXPECT_EQ(t.minute, 59);
  EXPECT_EQ(t.second, 59);
  t = mjd_to_calendar(51544.5);
  EXPECT_EQ(t.hour, 12);
  EXPECT_EQ(t.minute, 0);
  EXPECT_EQ(t.second, 0);
  // Negative mjd: floor, so the date is the previous day.
  t = mjd_to_calendar(-0.25);  // 1858-11-16 18:00
  EXPECT_EQ(t.year, 1858);
  EXPECT_EQ(t.month, 11);
  EXPECT_EQ(t.day, 16);
  EXPECT_EQ(t.hour, 18);
}

TEST(Calendar, AbsurdDatesStayInRange) {
  for (double mjd : {double(NAN), double(INFINITY), -double(INFINITY), 1e12, -1e12}) {
    CalendarDateTime t = mjd_to_calendar(mjd);
    EXPECT_GE(t.month, 1);
    EXPECT_LE(t.month, 12);
    EXPECT_GE(t.hour, 0);
    EXPECT_LE(t.hour, 23);
  }
}

TEST(DeltaT, PublishedPolynomialValues) {
  // Espenak & Meeus polynomials: values at the decimal year of the month.
  constexpr double TOL_S = 1e-9;
  // 2000 January: y = 2000 + 0.5/12, t = 0.041666...
  const double t = 0.5 / 12.0;
  const double want2000 = 63.86 + 0.3345 * t - 0.060374 * t * t +
                          0.0017275 * t * t * t + 0.000651814 * std::pow(t, 4) +
                          0.00002373599 * std::pow(t, 5);
  EXPECT_NEAR(delta_t(2000, 1), want2000, TOL_S);
  EXPECT_NEAR(want2000, 63.874, 0.001);
  // Year 1600 still uses the 501 ... 1600 polynomial (u = (y - 1000)/100).
  const double u = (1600 + 5.5 / 12.0 - 1000.0) / 100.0;
  const double want1600 =
      1574.2 - 556.01 * u + 71.23472 * u * u + 0.319781 * std::pow(u, 3) -
      0.8503463 * std::pow(u, 4) - 0.005050998 * std::pow(u, 5) +
      0.0083572073 * std::pow(u, 6);
  EXPECT_NEAR(delta_t(1600, 6), want1600, TOL_S);
  // Before -500: the parabola -20 + 32 u^2.
  const double y = -501 + 0.5 / 12.0;
  EXPECT_NEAR(delta_t(-501, 1), -20.0 + 32.0 * std::pow((y - 1820.0) / 100.0, 2), TOL_S);
  // After 2150: integer year.
  EXPECT_NEAR(delta_t(2151, 12), -20.0 + 32.0 * std::pow(3.31, 2), TOL_S);
}

TEST(DeltaT, IntegerYearBoundariesSwitchFormula) {
  // 2005 uses the 1987-2005 polynomial, 2006 the 2006-2050 one.
  const double t05 = 2005 + 11.5 / 12.0 - 2000.0;
  const double want05 = 63.86 + 0.3345 * t05 - 0.060374 * t05 * t05 +
                        0.0017275 * std::pow(t05, 3) + 0.000651814 * std::pow(t05, 4) +
                        0.00002373599 * std::pow(t05, 5);
  EXPECT_NEAR(delta_t(2005, 12), want05, 1e-9);
  const double t06 = 2006 + 0.5 / 12.0 - 2000.0;
  EXPECT_NEAR(delta_t(2006, 1), 62.92 + 0.32217 * t06 + 0.005589 * t06 * t06, 1e-9);
  // Each side of 1941/1942 and 1986/1987 is its own polynomial; the values
  // stay continuous to within a second there.
  EXPECT_NEAR(delta_t(1941, 12), delta_t(1942, 1), 1.0);
  EXPECT_NEAR(delta_t(1986, 12), delta_t(1987, 1), 1.0);
  // Every formula gives a finite number for every year.
  for (int year = -3000; year <= 3000; year += 7)
    for (int month = 1; month <= 12; month += 11)
      EXPECT_TRUE(std::isfinite(delta_t(year, month))) << year;
}

TEST(DeltaT, MonthNotDaySelectsTheValue) {
  // 2000-01-01 and 2000-01-31 share one value; February differs.
  EXPECT_EQ(delta_t_at(2451544.5), delta_t_at(2451574.4));
  EXPECT_NE(delta_t_at(2451544.5), delta_t_at(2451576.5));
  // The date before the Gregorian switch converts in the Julian calendar.
  EXPECT_EQ(delta_t_at(2299160.0), delta_t(1582, 10));
}

TEST(DeltaT, NonFiniteAndFarDates) {
  EXPECT_TRUE(std::isnan(delta_t_at(NAN)));
  EXPECT_TRUE(std::isnan(delta_t_at(INFINITY)));
  EXPECT_TRUE(std::isfinite(delta_t_at(1e12)));
  EXPECT_TRUE(std::isfinite(delta_t_at(-1e12)));
  EXPECT_GT(delta_t_at(1e12), 0.0);
}

}  // namespace
