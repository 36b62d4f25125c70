// nodalis-cli's date reader (--date, --date-ut): which dates exist (the
// Gregorian 400-year rule, the Julian calendar before the reform, the ten
// days the reform dropped, month lengths, times of day) and the Julian date
// each gives, against ERFA's calendar (Gregorian) and the Julian day-number
// formula (Julian calendar); the six decimals of the date dialog's field.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include <erfa.h>

#include "app/cli/CliArgs.h"
#include "tests/reference_tables.h"

using namespace nodalis;

namespace {

// The reader's result has the dialog's six decimals; the dialog's day of
// month is single precision (2e-6 d near the 31st).
constexpr long double FIELD_TOL_DAYS = 2.5e-6L;

// Julian date at 0h of a calendar date: ERFA from 1582 October 15 on, the
// Julian calendar's day number before.
double ReferenceJD(long long y, int m, int d) {
  if (y > 1582 || (y == 1582 && (m > 10 || (m == 10 && d >= 15)))) {
    double mjd0, mjd;
    EXPECT_EQ(eraCal2jd(static_cast<int>(y), m, d, &mjd0, &mjd), 0) << y << "-" << m << "-" << d;
    return mjd0 + mjd;
  }
  return calendar_reference::JulianCalendarJD(y, m, d);
}

std::string Date(long long y, int m, int d) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%s%04lld-%02d-%02d", y < 0 ? "-" : "", std::llabs(y), m, d);
  return buf;
}

}  // namespace

TEST(CliDate, LeapDaysOnBothSidesOfTheCalendarRules) {
  struct { long long year; bool leap; } years[] = {
      {1600, true},  {1700, false}, {1800, false}, {1900, false}, {2000, true}, {2100, false},
      {2400, true},  {2023, false}, {2024, true},  {1584, true},  {1583, false}, {1582, false},
      {1581, false}, {1580, true},  {1500, true},  {1300, true},  {100, true},  {4, true},
      {1, false},    {0, true},     {-1, false},   {-100, true},  {-4000, true}, {-4001, false}};
  for (const auto& c : years) {
    long double jd = 0;
    bool out = true;
    EXPECT_EQ(ParseCliDate(Date(c.year, 2, 29), jd, &out), c.leap) << Date(c.year, 2, 29);
    EXPECT_FALSE(out);
    if (c.leap) {
      EXPECT_NEAR(jd, ReferenceJD(c.year, 2, 29), FIELD_TOL_DAYS) << Date(c.year, 2, 29);
    }
    for (auto [m, d] : {std::pair{2, 28}, std::pair{3, 1}, std::pair{12, 31}, std::pair{1, 1}}) {
      ASSERT_TRUE(ParseCliDate(Date(c.year, m, d), jd)) << Date(c.year, m, d);
      EXPECT_NEAR(jd, ReferenceJD(c.year, m, d), FIELD_TOL_DAYS)
          << Date(c.year, m, d) << ": want " << ReferenceJD(c.year, m, d) << " got " << double(jd);
    }
  }
}

TEST(CliDate, WhichDatesAndTimesExist) {
  struct { const char* text; bool ok; } cases[] = {
      {"1582-10-04", true},  {"1582-10-05", false}, {"1582-10-14", false}, {"1582-10-15", true},
      {"2023-04-30", true},  {"2023-04-31", false}, {"2023-06-31", false}, {"2023-12-31", true},
      {"2023-13-01", false}, {"2023-00-10", false}, {"2023-01-00", false}, {"2023-01-32", false},
      {"2023-01-01T23:59:59", true}, {"2023-01-01T24:00", false}, {"2023-01-01T12:60", false},
      {"2023-01-01T12:00:60", false}, {"2023-01-01 06:30", true}, {"2023-1-01", false},
      {"2023-01-01T6:30", false}, {"2023-01-01T06:30:", false}, {"--2023-01-01", false},
      {"2023-01-01x", false}, {"", false},
  };
  for (const auto& c : cases) {
    long double jd = 0;
    EXPECT_EQ(ParseCliDate(c.text, jd), c.ok) << c.text;
  }
}

TEST(CliDate, TimeOfDayToTheDialogsSixDecimals) {
  struct { const char* text; long double jd; } cases[] = {
      {"2000-01-01T12:00:00", 2451545.0L},    {"2000-01-01", 2451544.5L},
      {"2000-01-01T00:00:01", 2451544.500012L},  // 1 s = 0.0000116 d
      {"2000-01-01T23:59:59", 2451545.499988L}, {"2000-01-01T18:00", 2451545.25L},
      {"1582-10-04T12:00", 2299160.0L},       {"1582-10-15T00:00:00", 2299160.5L},
      {"-1000-07-12T12:00", 1356001.0L},
  };
  constexpr long double SIX_DECIMALS = 1e-9L;  // the value read back from the field's text
  for (const auto& c : cases) {
    long double jd = 0;
    ASSERT_TRUE(ParseCliDate(c.text, jd)) << c.text;
    EXPECT_NEAR(jd, c.jd, SIX_DECIMALS) << c.text << ": want " << double(c.jd) << " got " << double(jd);
  }
}

TEST(CliDate, YearsOutsideTheSupportedRangeAreToldApart) {
  struct { const char* text; bool out_of_range; } cases[] = {
      {"100001-01-01", true}, {"-100001-01-01", true}, {"999999999-01-01", true},
      {"17000-01-01", false},  // inside: about +17190 is the limit
      {"20000-01-01", true},   {"-10000-01-01", false}, {"-11000-01-01", true},
      {"2000-02-30", false},
  };
  for (const auto& c : cases) {
    long double jd = 0;
    bool out = !c.out_of_range;
    const bool ok = ParseCliDate(c.text, jd, &out);
    EXPECT_EQ(out, c.out_of_range) << c.text;
    EXPECT_EQ(ok, !c.out_of_range && std::string(c.text) != "2000-02-30") << c.text;
  }
}
