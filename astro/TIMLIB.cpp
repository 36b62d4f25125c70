// TIMLIB — calendar, Delta T, zones and date texts (see TIMLIB.h).
//
// References: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), ch. 7;
// F. Espenak and J. Meeus, Five Millennium Canon of Solar Eclipses,
// NASA/TP-2006-214141, section 2.6 (Delta T polynomials).
#include "astro/TIMLIB.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "app/base/Utils.h"

namespace nodalis {

long double SelectedJD = 2444555.0L;
long double SeriesJD = 2444555.0L;
long double EndJD = 2444555.0L;
long double PeriodDays = 0.0L;
float StepDays = 1.0f;
float Zone = 1.0f;
float BaseZone = 1.0f;
bool TableMode = false;
bool SaveDate = false;
unsigned char DateStyle = 0;
char DateSep = '-';
bool TimesAreTDT = false;
long double ClockJD = std::numeric_limits<long double>::quiet_NaN();

namespace {
constexpr long double HOURS_PER_DAY = 24.0L;
constexpr long double MINUTES_PER_DAY = 1440.0L;
constexpr long double SECONDS_PER_DAY = 86400.0L;
}  // namespace

bool JDSupported(long double JD) {
  return std::isfinite(JD) && JD >= MIN_SUPPORTED_JD && JD <= MAX_SUPPORTED_JD;
}

std::string JDRangeText() {
  return "Julianisches Datum au\xDF" "erhalb des unterst\xFCtzten Bereichs (" +
         ShortRealToStr(MIN_SUPPORTED_JD) + " bis " + ShortRealToStr(MAX_SUPPORTED_JD) + ")";
}

void JDToCalendar(long double JDx, int& Year, int& Month, float& Day) {
  const double JD = static_cast<double>(JDx);
  if (!std::isfinite(JD)) {  // no calendar date: keep the fields defined
    Year = 0; Month = 1; Day = 1.0f;
    return;
  }
  double b = JD + 32082.5;
  if (std::trunc(JD + 0.5) >= 2299161.0) {
    double e = b + std::floor(b / 36525.0) - std::floor(b / 146100.0) - 38.0;
    if (JD >= 1830691.5) e += 1.0;
    b = b + std::floor(e / 36525.0) - std::floor(e / 146100.0) - 38.0;
  }
  const double c = std::floor(b + 123.0);
  const double d = std::floor((c - 122.2) / 365.25);
  const double f = std::floor((c - std::floor(365.25 * d)) / 30.6001);
  int m = static_cast<int>(f) - 1;
  if (m > 12) m -= 12;
  Month = m;
  const double day = c - std::floor(365.25 * d) - std::floor(30.6001 * f);
  Year = static_cast<int>(d + std::floor((f - 2.0) / 12.0) - 4800.0);
  const double hours = (JD - std::floor(JD + 0.5) + 0.5) * 24.0;
  Day = static_cast<float>(day + hours / 24.0);
}

long double CalendarToJD(int Year, int Month, float Day) {
  long double y = Year, m = Month;
  if (Month <= 2) { y -= 1; m += 12; }
  // Julian before 1582 October 15 (the comparison of y + m/100 + Day/10000
  // with 1582.1015, made exactly by scaling with 10000).
  long double B;
  if (y * 10000.0L + m * 100.0L + static_cast<long double>(Day) < 15821015.0L)
    B = -2.0L;
  else
    B = std::trunc(y / 400.0L) - std::trunc(y / 100.0L);
  const long double A = y > 0 ? std::trunc(365.25L * y) : std::trunc(365.25L * y - 0.75L);
  const long double C = std::trunc(30.6001L * (m + 1.0L));
  return A + C + B + static_cast<long double>(Day) + 1720996.5L;
}

bool JDToFields(long double JD, CalendarFields& F) {
  F = CalendarFields{};
  if (!std::isfinite(JD)) return false;
  // Whole seconds from the civil day's midnight.
  long double midnight = std::floor(JD + 0.5L) - 0.5L;
  long long seconds = std::llround((JD - midnight) * SECONDS_PER_DAY);
  if (seconds >= SECONDS_PER_DAY) {
    seconds -= static_cast<long long>(SECONDS_PER_DAY);
    midnight += 1;
  }
  float day = 0;
  JDToCalendar(midnight + 0.25L, F.Year, F.Month, day);  // 6h of that civil day
  F.Day = static_cast<int>(day);
  F.Hour = static_cast<int>(seconds / 3600);
  F.Minute = static_cast<int>(seconds / 60 % 60);
  F.Second = static_cast<int>(seconds % 60);
  return true;
}

long double FieldsToJD(const CalendarFields& F, long double ZoneHours) {
  const float day = static_cast<float>(F.Day + F.Hour / HOURS_PER_DAY + F.Minute / MINUTES_PER_DAY +
                                       F.Second / SECONDS_PER_DAY - ZoneHours / HOURS_PER_DAY);
  return CalendarToJD(F.Year, F.Month, day);
}

std::string JDFieldText(long double JD) { return RealToStr(7, 6, JD); }

float StepDaysOf(int Days, int Hours, int Minutes) {
  return static_cast<float>((Minutes / 60.0L + Hours) / HOURS_PER_DAY + Days);
}

StepFields SplitStepDays(long double Step) {
  StepFields F;
  if (!std::isfinite(Step)) return F;
  F.Days = std::trunc(Step);
  constexpr long long WHOLE_DAY_MINUTES = 1440;
  long long minutes = std::llround((Step - F.Days) * MINUTES_PER_DAY);
  if (minutes >= WHOLE_DAY_MINUTES) {
    F.Days += 1;
    minutes -= WHOLE_DAY_MINUTES;
  } else if (minutes <= -WHOLE_DAY_MINUTES) {
    F.Days -= 1;
    minutes += WHOLE_DAY_MINUTES;
  }
  F.Hours = static_cast<int>(minutes / 60);
  F.Minutes = static_cast<int>(minutes % 60);
  return F;
}

long double CalculationCount(long double SpanDays, float Step) {
  const long double count = Step != 0 ? SpanDays / Step : 1.0L;
  return std::round(count + 0.4993L);
}

long double DeltaTPolynomialSeconds(float y) {
  const long double Y = y;
  float u;
  long double dt;
  auto pw = [](long double v, int n) { long double r = 1; while (n-- > 0) r *= v; return r; };
  if (y < -500) {
    u = static_cast<float>((Y - 1820) / 100); long double U = u;
    dt = -20 + 32 * U * U;
  } else if (y < 500) {
    u = static_cast<float>(Y / 100); long double U = u;
    dt = 10583.6L - 1014.41L * U + 33.78311L * pw(U, 2) - 5.952053L * pw(U, 3) -
         0.1798452L * pw(U, 4) + 0.022174192L * pw(U, 5) + 0.0090316521L * pw(U, 6);
  } else if (y < 1600) {
    u = static_cast<float>((Y - 1000) / 100); long double U = u;
    dt = 1574.2L - 556.01L * U + 71.23472L * pw(U, 2) + 0.319781L * pw(U, 3) -
         0.8503463L * pw(U, 4) - 0.005050998L * pw(U, 5) + 0.0083572073L * pw(U, 6);
  } else if (y < 1700) {
    u = static_cast<float>(Y - 1600); long double U = u;
    dt = 120 - 0.9808L * U - 0.01532L * pw(U, 2) + pw(U, 3) / 7129;
  } else if (y < 1800) {
    u = static_cast<float>(Y - 1700); long double U = u;
    dt = 8.83L + 0.1603L * U - 0.0059285L * pw(U, 2) + 0.00013336L * pw(U, 3) -
         pw(U, 4) / 1174000;
  } else if (y < 1860) {
    u = static_cast<float>(Y - 1800); long double U = u;
    dt = 13.72L - 0.332447L * U + 0.0068612L * pw(U, 2) + 0.0041116L * pw(U, 3) -
         0.00037436L * pw(U, 4) + 0.0000121272L * pw(U, 5) - 0.0000001699L * pw(U, 6) +
         0.000000000875L * pw(U, 7);
  } else if (y < 1900) {
    u = static_cast<float>(Y - 1860); long double U = u;
    dt = 7.62L + 0.5737L * U - 0.251754L * pw(U, 2) + 0.01680668L * pw(U, 3) -
         0.0004473624L * pw(U, 4) + pw(U, 5) / 233174;
  } else if (y < 1920) {
    u = static_cast<float>(Y - 1900); long double U = u;
    dt = -2.79L + 1.494119L * U - 0.0598939L * pw(U, 2) + 0.0061966L * pw(U, 3) -
         0.000197L * pw(U, 4);
  } else if (y < 1941) {
    u = static_cast<float>(Y - 1920); long double U = u;
    dt = 21.20L + 0.84493L * U - 0.0761L * pw(U, 2) + 0.0020936L * pw(U, 3);
  } else if (y < 1961) {
    u = static_cast<float>(Y - 1950); long double U = u;
    dt = 29.07L + 0.407L * U - pw(U, 2) / 233 + pw(U, 3) / 2547;
  } else if (y < 1986) {
    u = static_cast<float>(Y - 1975); long double U = u;
    dt = 45.45L + 1.067L * U - pw(U, 2) / 260 - pw(U, 3) / 718;
  } else if (y < 2005) {
    u = static_cast<float>(Y - 2000); long double U = u;
    dt = 63.86L + 0.3345L * U - 0.060374L * pw(U, 2) + 0.0017275L * pw(U, 3) +
         0.000651814L * pw(U, 4) + 0.00002373599L * pw(U, 5);
  } else if (y < 2050) {
    u = static_cast<float>(Y - 2000); long double U = u;
    dt = 62.92L + 0.32217L * U + 0.005589L * pw(U, 2);
  } else if (y < 2150) {
    u = static_cast<float>((Y - 1820) / 100); long double U = u;
    dt = -20 + 32 * U * U - 0.5628L * (2150 - Y);
  } else {
    u = static_cast<float>((Y - 1820) / 100); long double U = u;
    dt = -20 + 32 * U * U;
  }
  return dt;
}

bool DeltaT(float& DeltaTDays, bool IsTDT, long double JD) {
  if (IsTDT) {
    DeltaTDays = 0.0f;
    return true;
  }
  const float y = static_cast<float>(JD / 365.2425L - 4712.0991L);
  const float seconds = static_cast<float>(DeltaTPolynomialSeconds(y));
  DeltaTDays = static_cast<float>(static_cast<long double>(seconds) / 86400.0L);
  return y > -500 && y < 2050;
}

long double NowJD(float AZone) {
  if (std::isfinite(ClockJD)) return ClockJD - AZone / 24.0L;
  int Y, M, D, W, h, mi, s, hs;
  CurrentDate(Y, M, D, W);
  CurrentTime(h, mi, s, hs);
  const float day = static_cast<float>(D - AZone / 24.0L + h / 24.0L + mi / 1440.0L +
                                       (s + hs / 100.0L) / 86400.0L + 0.000000001L);
  return CalendarToJD(Y, M, day);
}

bool AutoSummerTime(float& AZone, float ABaseZone, long double JD) {
  int Y, M;
  float D;
  JDToCalendar(JD + ABaseZone / 24.0L, Y, M, D);
  const long double r = std::nearbyint(JD + ABaseZone / 24.0L + 0.000001L);
  long double w = std::fmod(r, 7.0L);
  if (w < 0) w += 7.0L;
  long double s = 6.0833333333L - ((D - std::trunc(static_cast<long double>(D))) + w);
  if (s < 0) s += 7.0L;
  const float md = static_cast<float>(100 * M + static_cast<long double>(D));
  // Month ends as "month * 100 + last day + 1" (the end of the last day):
  // with 331 / 1031 / 930 a last Sunday on the 31st (30th) would switch a
  // week early.
  const long double limit = Y >= 1996 ? 1032.0L : 931.0L;
  int Summer;
  if (332.0L - md > s) Summer = 0;
  else if (limit - md > s) Summer = 1;
  else Summer = 0;
  const bool changed = std::fabs(AZone - (Summer + ABaseZone)) > 0.1f;
  AZone = static_cast<float>(Summer + ABaseZone);
  return changed;
}

std::string ZoneText(unsigned char Width, float AZone) {
  std::string t;
  if (TimesAreTDT) t = "TDT";
  else if (std::fabs(AZone) < 0.001f) t = "UTC";
  else if (std::fabs(AZone - 1) < 0.001f) t = "MEZ";
  else if (std::fabs(AZone - 2) < 0.001f) t = "MESZ";
  else t = std::string("UTC") + (AZone > 0 ? "+" : "") + RealToStr(1, -3, AZone) + "h";
  return PadRight(t, Width);
}

namespace {
// Delphi Round: to nearest, ties to even (processor default).
long double RoundEven(long double x) { return std::nearbyint(x); }

std::string ZeroPad2(long long v) {
  std::string s = RealToStr(2, 0, static_cast<long double>(v));
  if (s[0] == ' ') s[0] = '0';
  return s;
}
}  // namespace

std::string TimeText(float Hours) {
  if (!std::isfinite(Hours)) return "--h--m";
  const long double m = RoundEven(static_cast<long double>(Hours) * 60.0L);
  const float c = static_cast<float>(m / 60.0L);
  const long double C = c;
  const long double hrs = std::trunc(C);
  const long double mins = RoundEven((C - hrs) * 60.0L);
  return RealToStr(2, 0, hrs) + "h" + ZeroPad2(static_cast<long long>(mins)) + "m";
}

std::string DateText(unsigned char Style, float AZone, long double JD) {
  int Y, M;
  float D;
  JDToCalendar(JD + AZone / 24.00001L + 0.00002L, Y, M, D);
  const std::string ys = RealToStr(4, 0, Y);
  const std::string ms = ZeroPad2(M);
  const std::string ds = ZeroPad2(static_cast<long long>(std::trunc(D + 0.00001L)));
  if (Style != 0) return ys + DateSep + ms + DateSep + ds;
  return ds + "." + ms + "." + ys;
}

std::string DateShort(float AZone, long double JD) { return DateText(DateStyle, AZone, JD); }

std::string DateTimeText(float AZone, long double JD) {
  const long double x = JD + AZone / 24.0001L + 0.50002L;
  const long double f1 = x - std::trunc(x);
  const long double f2v = f1 + 1.0L;
  const long double f2 = f2v - std::trunc(f2v);
  return DateShort(AZone, JD) + "  " + TimeText(static_cast<float>(f2 * 24.0L));
}

void JDToIsoDateTime(long double JD, std::string& Date, std::string& Time) {
  CalendarFields f;
  if (!JDToFields(JD, f)) {
    Date = Time = "";
    return;
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s%04d-%02d-%02d", f.Year < 0 ? "-" : "", std::abs(f.Year), f.Month,
                f.Day);
  Date = buf;
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", f.Hour, f.Minute, f.Second);
  Time = buf;
}

}  // namespace nodalis
