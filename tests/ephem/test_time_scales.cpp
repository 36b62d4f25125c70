// Calendar conversion and Delta T of orbitcore.
#include <gtest/gtest.h>

#include <cmath>

#include <erfa.h>

#include "ephem/orbitcore_internal.h"
#include "tests/reference_tables.h"

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

// Every row of the published polynomials on both sides of each boundary,
// at the decimal year of the month's middle, months 1 and 12: orbitcore
// picks the row by the integer year, so a boundary year from 500 on still
// belongs to the earlier row (all of 1600 uses 500 ... 1600, all of 2005
// 1986 ... 2005), -500 to the later; after 2150 the parabola takes the
// integer year. 2050 ... 2150 must lie below the parabola (-0.5628 (2150 - y)).
TEST(DeltaT, PublishedPolynomialsOnBothSidesOfEveryBoundary) {
  namespace ref = delta_t_reference;
  constexpr double REL_TOL = 1e-12;
  for (std::size_t i = 1; i < ref::ROW_COUNT; ++i) {
    const int b = static_cast<int>(ref::ROWS[i].from);
    for (int year : {b - 1, b, b + 1}) {
      for (int month : {1, 12}) {
        const bool later = b == -500 ? year >= b : year > b;
        const std::size_t row = later ? i : i - 1;
        const double y = row + 1 == ref::ROW_COUNT ? year : year + (month - 0.5) / 12.0;
        const double want = ref::Evaluate(row, y);
        const double got = delta_t(year, month);
        EXPECT_NEAR(got, want, REL_TOL * std::fabs(want))
            << year << "-" << month << " (row from " << ref::ROWS[row].from << "): want " << want
            << " s, got " << got << " s";
      }
    }
  }
  for (int year : {2051, 2100, 2149})
    EXPECT_LT(delta_t(year, 6), ref::Evaluate(ref::ROW_COUNT - 1, year + 5.5 / 12.0)) << year;
  // The canon's ends and year 2000 (63.87 s in January).
  EXPECT_NEAR(delta_t(2000, 1), 63.874, 0.001);
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
  // Gregorian dates take the year and month ERFA gives them (last and
  // first day of a month, 1600 ... 2400).
  for (double jd = 2305447.5; jd < 2600000.0; jd += 9999.9) {
    for (double day : {0.0, 0.99}) {
      int iy, im, id;
      double fd;
      ASSERT_EQ(eraJd2cal(std::floor(jd - 0.5) + 0.5 + day, 0.0, &iy, &im, &id, &fd), 0);
      EXPECT_EQ(delta_t_at(std::floor(jd - 0.5) + 0.5 + day), delta_t(iy, im)) << "JD " << jd;
    }
  }
}

TEST(DeltaT, NonFiniteAndFarDates) {
  EXPECT_TRUE(std::isnan(delta_t_at(NAN)));
  EXPECT_TRUE(std::isnan(delta_t_at(INFINITY)));
  EXPECT_TRUE(std::isfinite(delta_t_at(1e12)));
  EXPECT_TRUE(std::isfinite(delta_t_at(-1e12)));
  EXPECT_GT(delta_t_at(1e12), 0.0);
}

}  // namespace
