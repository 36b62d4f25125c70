// Calendar and time keeping: Julian dates against Meeus' published examples,
// the 1582 switch, Delta T against the Espenak-Meeus polynomials, zone and
// date texts the table shows.
#include <gtest/gtest.h>

#include <cmath>

#include <erfa.h>

#include "astro/SunMoon.h"
#include "astro/TIMLIB.h"
#include "tests/reference_tables.h"

using namespace nodalis;

namespace {
// A single-precision day of month near 31 resolves ~2e-6 day.
constexpr long double DAY_SINGLE = 4e-6L;
}

TEST(Calendar, MeeusExamplesAndTheGregorianSwitch) {
  // Meeus, Astronomical Algorithms, ch. 7 (examples 7.a, 7.b and table).
  struct { int y, m; float d; long double jd; } cases[] = {
      {2000, 1, 1.5f, 2451545.0L},   {1957, 10, 4.81f, 2436116.31L},
      {333, 1, 27.5f, 1842713.0L},   {1987, 6, 19.5f, 2446966.0L},
      {1600, 12, 31.0f, 2305812.5L}, {837, 4, 10.3f, 2026871.8L},
      {-1000, 7, 12.5f, 1356001.0L}, {-4712, 1, 1.5f, 0.0L},
      {1582, 10, 4.0f, 2299159.5L},  {1582, 10, 15.0f, 2299160.5L},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(CalendarToJD(c.y, c.m, c.d), c.jd, DAY_SINGLE)
        << c.y << "-" << c.m << "-" << c.d;
    int Y, M;
    float D;
    JDToCalendar(c.jd, Y, M, D);
    EXPECT_EQ(Y, c.y) << "want year for JD " << static_cast<double>(c.jd);
    EXPECT_EQ(M, c.m);
    EXPECT_NEAR(D, c.d, DAY_SINGLE);
  }
  int Y, M;
  float D;
  JDToCalendar(2299160.4999L, Y, M, D);  // last moment of the Julian calendar
  EXPECT_EQ(M, 10);
  EXPECT_EQ(static_cast<int>(D), 4);
  JDToCalendar(2299160.5L, Y, M, D);
  EXPECT_EQ(static_cast<int>(D), 15);
}

// The leap-year rules on both sides of the calendar reform: Gregorian
// century years (1600 and 2000 leap, 1700, 1800, 1900, 2100 not) against
// ERFA, Julian years (every fourth, also 1500 and 100 BC) against the Julian
// day-number formula; February 28, 29 and March 1 each way.
TEST(Calendar, LeapYearRulesAgainstErfaAndTheJulianCalendar) {
  struct { int year; bool leap; } years[] = {
      {1583, false}, {1584, true},  {1600, true},  {1700, false}, {1800, false}, {1900, false},
      {2000, true},  {2023, false}, {2024, true},  {2100, false}, {2400, true},  {1500, true},
      {1300, true},  {1100, true},  {1581, false}, {4, true},     {1, false},    {0, true},
      {-1, false},   {-100, true},  {-1000, true}, {-4001, false}};
  for (const auto& c : years) {
    const bool gregorian = c.year > 1582;
    auto want_jd = [&](int m, int d) {
      if (!gregorian) return calendar_reference::JulianCalendarJD(c.year, m, d);
      double mjd0, mjd;
      EXPECT_EQ(eraCal2jd(c.year, m, d, &mjd0, &mjd), 0);
      return mjd0 + mjd;
    };
    const double feb28 = want_jd(2, 28), mar1 = want_jd(3, 1);
    EXPECT_EQ(mar1 - feb28, c.leap ? 2.0 : 1.0) << c.year << ": the reference itself";
    EXPECT_EQ(static_cast<double>(CalendarToJD(c.year, 2, 28)), feb28) << c.year << "-02-28";
    EXPECT_EQ(static_cast<double>(CalendarToJD(c.year, 3, 1)), mar1) << c.year << "-03-01";
    // The day after February 28, at noon.
    int Y, M;
    float D;
    JDToCalendar(feb28 + 1.5, Y, M, D);
    EXPECT_TRUE(Y == c.year && M == (c.leap ? 2 : 3) && D == (c.leap ? 29.5f : 1.5f))
        << c.year << ": want " << (c.leap ? "02-29" : "03-01") << ", got " << Y << "-" << M << "-" << D;
    if (gregorian) {
      int iy, im, id;
      double fd;
      ASSERT_EQ(eraJd2cal(feb28, 1.5, &iy, &im, &id, &fd), 0);
      EXPECT_TRUE(iy == Y && im == M && id == static_cast<int>(D)) << c.year << " against eraJd2cal";
    }
  }
}

TEST(Calendar, RoundTripOverTheSupportedYears) {
  for (long double jd = -1000000.25L; jd < 6000000; jd += 4321.37L) {
    int Y, M;
    float D;
    JDToCalendar(jd, Y, M, D);
    const long double back = CalendarToJD(Y, M, std::floor(D)) + (D - std::floor(D));
    ASSERT_NEAR(back, jd, 2e-3L) << "JD " << static_cast<double>(jd);
  }
}

// The program's Delta T: every row of the published polynomials on both
// sides of each boundary (a boundary year belongs to the later row), with
// the argument u in single precision as the program keeps it; and the flag
// of the polynomials' validity, -500 < y < 2050.
TEST(DeltaT, PublishedPolynomialsOnBothSidesOfEveryBoundary) {
  namespace ref = delta_t_reference;
  constexpr double REL_TOL = 2e-7;        // one single-precision step of u
  constexpr double SIDE_YEARS = 0.25;     // exact in single precision
  for (std::size_t i = 1; i < ref::ROW_COUNT; ++i) {
    const double b = ref::ROWS[i].from;
    for (double y : {b - SIDE_YEARS, b, b + SIDE_YEARS, ref::ROWS[i - 1].from + 1.0}) {
      if (i == 1 && y < b - 1) continue;  // the first row has no lower end
      const double want = ref::Evaluate(ref::RowOf(y), y, true);
      const double got = static_cast<double>(DeltaTPolynomialSeconds(static_cast<float>(y)));
      EXPECT_NEAR(got, want, REL_TOL * std::fabs(want))
          << "y " << y << " (row from " << ref::ROWS[ref::RowOf(y)].from << "): want " << want
          << " s, got " << got << " s";
    }
  }
  // The canon's span ends and the 2050 ... 2150 row, whose last term must
  // lower Delta T (-0.5628 (2150 - y)).
  for (double y : {-1999.0, 2075.0, 2149.0, 3000.0}) {
    const double want = ref::Evaluate(ref::RowOf(y), y, true);
    EXPECT_NEAR(static_cast<double>(DeltaTPolynomialSeconds(static_cast<float>(y))), want,
                REL_TOL * std::fabs(want)) << "y " << y;
  }
  // DeltaT: days at the decimal year JD / 365.2425 - 4712.0991.
  struct { double y; bool valid; } flags[] = {
      {-500.0, false}, {-499.99, true}, {2049.99, true}, {2050.0, false}, {-2000.0, false}, {2000.0, true}};
  for (const auto& f : flags) {
    float days = 0;
    const long double jd = (f.y + 4712.0991L) * 365.2425L;
    EXPECT_EQ(DeltaT(days, false, jd), f.valid) << "y " << f.y;
    const double want = ref::Evaluate(ref::RowOf(f.y), f.y, true);
    EXPECT_NEAR(days * 86400.0, want, 1e-6 * std::fabs(want) + 1e-3) << "y " << f.y;
    EXPECT_TRUE(DeltaT(days, true, jd));
    EXPECT_EQ(days, 0.0f) << "TDT input: no Delta T";
  }
}

// The program's mean obliquity (Laskar 1986) against ERFA's IAU 1980
// expression from -3000 to +3000 (catches a wrong time unit far from 2000),
// and Meeus' example 22.a.
TEST(MeanObliquity, AgreesWithErfaObl80FromMinus3000To3000) {
  constexpr double ARCSEC_PER_RAD = 206264.80624709636;
  for (const auto& row : obliquity_reference::ROWS) {
    const double jd = obliquity_reference::JulianDateOf(row.year);
    const double got = static_cast<double>(MeanObliquity(jd)) * ARCSEC_PER_RAD;
    const double want = eraObl80(jd, 0.0) * ARCSEC_PER_RAD;
    EXPECT_NEAR(got, want, row.tol_arcsec) << "year " << row.year << ": want " << want
                                           << "\" got " << got << "\"";
  }
  // 1987 April 10, 0h TD: 23 26' 27.407".
  constexpr double MEEUS_TOL_ARCSEC = 0.001;
  EXPECT_NEAR(static_cast<double>(MeanObliquity(2446895.5L)) * ARCSEC_PER_RAD,
              (23 * 3600 + 26 * 60 + 27.407), MEEUS_TOL_ARCSEC);
}

TEST(ZoneAndTimeTexts, AsTheTableShowsThem) {
  TimesAreTDT = false;
  EXPECT_EQ(ZoneText(0, 5.5f), "UTC+5.5h");
  EXPECT_EQ(ZoneText(0, -3), "UTC-3h");
  EXPECT_EQ(ZoneText(5, 1), "MEZ  ");
  EXPECT_EQ(ZoneText(0, 2), "MESZ");
  EXPECT_EQ(ZoneText(0, 0), "UTC");
  TimesAreTDT = true;
  EXPECT_EQ(ZoneText(0, 1), "TDT");
  TimesAreTDT = false;
  EXPECT_EQ(TimeText(9.0833333f), " 9h05m");
  EXPECT_EQ(TimeText(18.0f + 25.4f / 60), "18h25m");  // rounded to the minute
  EXPECT_EQ(TimeText(18.0f + 25.6f / 60), "18h26m");
  EXPECT_EQ(TimeText(0), " 0h00m");
}

TEST(DateTexts, StylesAndNegativeYears) {
  DateStyle = 0;
  EXPECT_EQ(DateText(0, 0, 2451545.0L), "01.01.2000");
  EXPECT_EQ(DateText(1, 0, 2451545.0L), "2000-01-01");
  EXPECT_EQ(DateShort(0, CalendarToJD(-500, 3, 2.5f)), "02.03.-500");
  EXPECT_EQ(DateTimeText(0, 2451545.0L), "01.01.2000  12h00m");
  // 2017 Aug 21 18:25:29 TD (Saros 145): the texts add 1.7 s before
  // rounding to the minute, so 18:25:29 shows as 18h26m.
  EXPECT_EQ(DateTimeText(0, CalendarToJD(2017, 8, 21) + (18 + 25 / 60.0L + 29 / 3600.0L) / 24),
            "21.08.2017  18h26m");
  EXPECT_EQ(DateTimeText(0, CalendarToJD(2017, 8, 21) + (18 + 25 / 60.0L + 20 / 3600.0L) / 24),
            "21.08.2017  18h25m");
}

// The European summer-time rule of every year: from the last Sunday of
// March to the last Sunday of September (of October from 1996 on), switching
// at 02:00 standard time; one minute on each side of each switch, the day
// before and after, in zones 1 (MEZ) and 0. The Sundays come from ERFA's
// calendar (MJD 0 was a Wednesday).
TEST(AutoSummerTime, EuropeanRuleOfEveryYear) {
  constexpr double MINUTE = 1.0 / 1440.0;
  auto last_sunday = [](int y, int m) {
    const int last = m == 3 || m == 10 ? 31 : 30;
    double mjd0, mjd;
    EXPECT_EQ(eraCal2jd(y, m, last, &mjd0, &mjd), 0);
    const int weekday = static_cast<int>(std::fmod(mjd + 3.0, 7.0));  // 0 = Sunday
    return mjd0 + mjd - weekday;  // 0h UT of that Sunday
  };
  for (int y : {1980, 1987, 1990, 1994, 1995, 1996, 1997, 2000, 2021, 2024, 2037, 2100}) {
    const int end_month = y >= 1996 ? 10 : 9;
    for (float base : {1.0f, 0.0f}) {
      // 02:00 standard time is 2 - base hours UT.
      const double start = last_sunday(y, 3) + (2.0 - base) / 24.0;
      const double end = last_sunday(y, end_month) + (2.0 - base) / 24.0;
      struct { double jd; bool summer; const char* what; } cases[] = {
          {start - 1.0, false, "day before the start"}, {start - MINUTE, false, "start - 1 min"},
          {start + MINUTE, true, "start + 1 min"},      {start + 1.0, true, "day after the start"},
          {end - 1.0, true, "day before the end"},      {end - MINUTE, true, "end - 1 min"},
          {end + MINUTE, false, "end + 1 min"},         {end + 1.0, false, "day after the end"},
          {last_sunday(y, 9) + 7.5, y >= 1996, "first week of October"},
      };
      for (const auto& c : cases) {
        float zone = base + 5;  // neither answer
        AutoSummerTime(zone, base, c.jd);
        EXPECT_EQ(zone, base + (c.summer ? 1.0f : 0.0f))
            << y << " base " << base << ": " << c.what << " (JD " << c.jd << ")";
      }
    }
  }
  // The answer says whether the zone changed (by more than 0.1 h).
  float zone = 2;
  EXPECT_FALSE(AutoSummerTime(zone, 1, CalendarToJD(2024, 7, 15.5f)));
  EXPECT_TRUE(AutoSummerTime(zone, 1, CalendarToJD(2024, 12, 15.5f)));
  EXPECT_EQ(zone, 1.0f);
}

TEST(NowJD, ClockIsAPlausibleModernDate) {
  const long double now = NowJD(0);
  EXPECT_GT(now, 2460000.0L);
  EXPECT_LT(now, 2500000.0L);
}

TEST(SupportedRange, RejectsNonFiniteAndAbsurdDates) {
  EXPECT_TRUE(JDSupported(2451545));
  EXPECT_TRUE(JDSupported(-1000));
  EXPECT_FALSE(JDSupported(NAN));
  EXPECT_FALSE(JDSupported(INFINITY));
  EXPECT_FALSE(JDSupported(1e15L));
  EXPECT_FALSE(JDSupported(-1e9L));
}

// The date dialog's fields and the command line's date columns: a Julian
// date to the whole second (Meeus' examples give the dates).
TEST(CalendarFields, JulianDateToTheSecond) {
  struct {
    long double jd;
    CalendarFields want;
  } cases[] = {
      {2451545.0L, {2000, 1, 1, 12, 0, 0}},
      {2436116.31L, {1957, 10, 4, 19, 26, 24}},  // Meeus ex. 7.a: 4.81 d
      {2299160.5L, {1582, 10, 15, 0, 0, 0}},     // first Gregorian day
      {2299160.49999L, {1582, 10, 4, 23, 59, 59}},
      {1356001.0L, {-1000, 7, 12, 12, 0, 0}},
      {2451545.5L - 0.4L / 86400, {2000, 1, 2, 0, 0, 0}},  // 23:59:59.6 rounds up
      {2451545.5L - 0.6L / 86400, {2000, 1, 1, 23, 59, 59}},
  };
  for (const auto& c : cases) {
    CalendarFields f;
    ASSERT_TRUE(JDToFields(c.jd, f));
    const auto& w = c.want;
    EXPECT_TRUE(f.Year == w.Year && f.Month == w.Month && f.Day == w.Day && f.Hour == w.Hour &&
                f.Minute == w.Minute && f.Second == w.Second)
        << "JD " << double(c.jd) << ": want " << w.Year << "-" << w.Month << "-" << w.Day << " "
        << w.Hour << ":" << w.Minute << ":" << w.Second << ", got " << f.Year << "-" << f.Month
        << "-" << f.Day << " " << f.Hour << ":" << f.Minute << ":" << f.Second;
  }
  CalendarFields f;
  EXPECT_FALSE(JDToFields(NAN, f));
  std::string date, time;
  JDToIsoDateTime(1356001.0L, date, time);
  EXPECT_EQ(date + " " + time, "-1000-07-12 12:00:00");
}

// Fields typed in the dialog come back unchanged from their Julian date,
// also in a zone and on the last second of a month.
TEST(CalendarFields, FieldsToJulianDateAndBack) {
  EXPECT_NEAR(FieldsToJD({2000, 1, 1, 13, 0, 0}, 1), 2451545.0L, DAY_SINGLE) << "13h in zone +1";
  for (int year : {-4000, -1, 1582, 2000, 2024, 9999})
    for (int month : {1, 2, 10, 12})
      for (const CalendarFields& t : {CalendarFields{0, 0, 1, 0, 0, 0}, CalendarFields{0, 0, 28, 23, 59, 59},
                                      CalendarFields{0, 0, 17, 6, 30, 1}}) {
        if (year == 1582 && month == 10) continue;  // days 5..14 do not exist
        const CalendarFields in{year, month, t.Day, t.Hour, t.Minute, t.Second};
        for (long double zone : {0.0L, 5.5L, -8.0L}) {
          CalendarFields out;
          ASSERT_TRUE(JDToFields(FieldsToJD(in, zone) + zone / 24, out));
          EXPECT_TRUE(out.Year == in.Year && out.Month == in.Month && out.Day == in.Day &&
                      out.Hour == in.Hour && out.Minute == in.Minute && out.Second == in.Second)
              << year << "-" << month << "-" << in.Day << " " << in.Hour << ":" << in.Minute << ":"
              << in.Second << " zone " << double(zone) << ": got " << out.Year << "-" << out.Month
              << "-" << out.Day << " " << out.Hour << ":" << out.Minute << ":" << out.Second;
        }
      }
  EXPECT_EQ(JDFieldText(2451545.0L), "2451545.000000");
  EXPECT_EQ(JDFieldText(-0.5L), "-0.500000");
}

// Step width and count of the period: every step of whole minutes within a
// day (and a year beyond) comes back as it was typed.
TEST(StepWidth, FieldsRoundTripAndCount) {
  for (int days : {0, 1, 365})
    for (int minutes = 0; minutes < 1440; ++minutes) {
      const StepFields f = SplitStepDays(StepDaysOf(days, minutes / 60, minutes % 60));
      ASSERT_TRUE(f.Days == days && f.Hours == minutes / 60 && f.Minutes == minutes % 60)
          << days << " d " << minutes / 60 << " h " << minutes % 60 << " min: got " << double(f.Days)
          << " d " << f.Hours << " h " << f.Minutes << " min";
    }
  const StepFields almost = SplitStepDays(2.99999L / 24);
  EXPECT_TRUE(almost.Days == 0 && almost.Hours == 3 && almost.Minutes == 0) << "never 2 h 60 min";
  const StepFields day = SplitStepDays(0.99999999L);
  EXPECT_TRUE(day.Days == 1 && day.Hours == 0 && day.Minutes == 0);
  EXPECT_EQ(CalculationCount(10, 1), 10);
  EXPECT_EQ(CalculationCount(10.001L, 1), 11) << "a period a little longer needs one more";
  EXPECT_EQ(CalculationCount(10, 2.5f), 4);
  EXPECT_EQ(CalculationCount(10, 0), 1) << "step 0: one calculation";
}
