// Calendar and time keeping: Julian dates against Meeus' published examples,
// the 1582 switch, Delta T against the Espenak-Meeus polynomials, zone and
// date texts the table shows.
#include <gtest/gtest.h>

#include <cmath>

#include "astro/TIMLIB.h"

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

TEST(Calendar, RoundTripOverTheSupportedYears) {
  for (long double jd = -1000000.25L; jd < 6000000; jd += 4321.37L) {
    int Y, M;
    float D;
    JDToCalendar(jd, Y, M, D);
    const long double back = CalendarToJD(Y, M, std::floor(D)) + (D - std::floor(D));
    ASSERT_NEAR(back, jd, 2e-3L) << "JD " << static_cast<double>(jd);
  }
}

TEST(DeltaT, EspenakMeeusPolynomialsAndValidity) {
  float dt;
  // y = 2000.0: 63.86 s.
  EXPECT_TRUE(DeltaT(dt, false, (2000.0L + 4712.0991L) * 365.2425L));
  EXPECT_NEAR(dt * 86400.0, 63.86, 0.01);
  // y = 1960.5 lies in the 1941..1961 interval: 29.07 + 0.407u - u^2/233 + u^3/2547, u = 10.5
  const long double y = 1960.5L;
  EXPECT_TRUE(DeltaT(dt, false, (y + 4712.0991L) * 365.2425L));
  const double u = 10.5, want = 29.07 + 0.407 * u - u * u / 233 + u * u * u / 2547;
  EXPECT_NEAR(dt * 86400.0, want, 0.01) << "want " << want << " got " << dt * 86400.0;
  // From y = 2050 on the flag is false, the value still delivered.
  EXPECT_FALSE(DeltaT(dt, false, (2050.0L + 4712.0991L) * 365.2425L));
  EXPECT_NEAR(dt * 86400.0, -20 + 32 * 2.3 * 2.3 - 0.5628 * 100, 0.05);
  EXPECT_TRUE(DeltaT(dt, true, 2451545));
  EXPECT_EQ(dt, 0.0f);
  // 1000 BC (y = -999): Canon value about 25 400 s.
  EXPECT_FALSE(DeltaT(dt, false, (-999.0L + 4712.0991L) * 365.2425L));
  EXPECT_NEAR(dt * 86400.0, -20 + 32 * 28.19 * 28.19, 1.0);
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

TEST(AutoSummerTime, EuropeanRule) {
  float z = 1;
  AutoSummerTime(z, 1, CalendarToJD(2024, 1, 15.5f));
  EXPECT_EQ(z, 1.0f);
  EXPECT_TRUE(AutoSummerTime(z, 1, CalendarToJD(2024, 7, 15.5f)));
  EXPECT_EQ(z, 2.0f);
  AutoSummerTime(z, 1, CalendarToJD(2024, 11, 15.5f));
  EXPECT_EQ(z, 1.0f);
  // 2024: summer time from Sunday 31 March to Sunday 27 October.
  // A last Sunday on the 31st switches on that Sunday, not a week early.
  AutoSummerTime(z, 1, CalendarToJD(2024, 3, 30.5f));
  EXPECT_EQ(z, 1.0f);
  AutoSummerTime(z, 1, CalendarToJD(2024, 3, 31) + 0.5L / 24);  // 01:30 MEZ (JD is UT)
  EXPECT_EQ(z, 1.0f);
  AutoSummerTime(z, 1, CalendarToJD(2024, 3, 31) + 1.5L / 24);  // 02:30 MEZ
  EXPECT_EQ(z, 2.0f);
  AutoSummerTime(z, 1, CalendarToJD(2024, 4, 1.5f));
  EXPECT_EQ(z, 2.0f);
  AutoSummerTime(z, 1, CalendarToJD(2024, 10, 26.5f));
  EXPECT_EQ(z, 2.0f);
  AutoSummerTime(z, 1, CalendarToJD(2024, 10, 28.5f));
  EXPECT_EQ(z, 1.0f);
  AutoSummerTime(z, 1, CalendarToJD(2021, 10, 30.5f));  // last Sunday: 31st
  EXPECT_EQ(z, 2.0f);
  // Before 1996 it ended in September.
  AutoSummerTime(z, 1, CalendarToJD(1990, 10, 10.5f));
  EXPECT_EQ(z, 1.0f);
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
