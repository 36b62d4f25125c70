// TIMLIB — the program's time keeping: Julian date <-> calendar date with
// the Julian/Gregorian switch of 1582, Delta T (TDT - UT), the system clock
// as a Julian date, the European summer-time rule, and the date, time and
// zone texts of the table, the main window and the date dialog.
//
// Julian dates are extended-precision days.  Calendar dates use astronomical
// year numbering (year 0 = 1 BC), Julian calendar before 1582 October 15.
// Zones are hours east of UTC, single precision (1 = "MEZ", 2 = "MESZ").
#pragma once

#include <string>

namespace nodalis {

// ---- time-keeping settings (one run; edited by the date dialog) ----------
extern long double SelectedJD;  // chosen instant, start of the calculation
extern long double SeriesJD;    // eclipse new moon of the series on screen
extern long double EndJD;       // end of the calculation
extern long double PeriodDays;  // EndJD - SelectedJD, never negative
extern float StepDays;          // step width in days
extern float Zone;              // zone in effect, hours (0 when TimesAreTDT)
extern float BaseZone;          // standard (winter) zone, hours
extern bool TableMode;          // "Tabelle berechnen"
extern bool SaveDate;           // "Datum speichern"
extern unsigned char DateStyle; // 0 = day.month.year, 1 = year-month-day
extern char DateSep;            // separator of the year-month-day style
extern bool TimesAreTDT;        // dates are TDT: zone 0 and Delta T 0

// ---- supported range ------------------------------------------------------
// Julian dates the eclipse routines accept (about -10190 to +17190).  Outside
// (and for NaN or infinities) the searches are not run; callers report
// JDRangeText.
constexpr long double MIN_SUPPORTED_JD = -2000000.0L;
constexpr long double MAX_SUPPORTED_JD = 8000000.0L;
bool JDSupported(long double JD);
// "Julianisches Datum außerhalb des unterstützten Bereichs (...)" (Windows-1252).
std::string JDRangeText();

// ---- conversions ------------------------------------------------------------
// Day includes the fraction of the day (single precision).
void JDToCalendar(long double JD, int& Year, int& Month, float& Day);
long double CalendarToJD(int Year, int Month, float Day);
// Delta T in days (0 when IsTDT); true inside -500 < y < 2050 of the
// Espenak-Meeus polynomials (the value is delivered outside as well).
bool DeltaT(float& DeltaTDays, bool IsTDT, long double JD);
// The Espenak-Meeus polynomials of DeltaT: Delta T in seconds at the decimal
// year y (each interval's argument u stored in single precision).
long double DeltaTPolynomialSeconds(float y);
// The system's local date and time, taken as local time in AZone, as JD;
// while ClockJD is finite, ClockJD - AZone / 24 instead (a clock set by
// nodalis-cli --now and by tests; NaN, the system's clock, by default).
long double NowJD(float AZone);
extern long double ClockJD;
// European summer time (last Sunday of March to last Sunday of September,
// of October from 1996, at 02:00 standard time).  AZone := summer + base;
// true when it changed by more than 0.1 h.
bool AutoSummerTime(float& AZone, float ABaseZone, long double JD);

// ---- calendar fields and step widths (the date dialog, nodalis-cli) --------
// A date and time of day as the date dialog's fields hold them.
struct CalendarFields {
  int Year = 0, Month = 1, Day = 1;
  int Hour = 0, Minute = 0, Second = 0;
};
// JD split into its calendar date and its time of day rounded to the nearest
// whole second (23:59:59.6 is 0:00:00 of the next day).  False, with the
// fields of 0-01-01 0:00:00, for a non-finite JD.
bool JDToFields(long double JD, CalendarFields& Fields);
// The Julian date of calendar fields read in the local time of a zone
// (hours east of UTC; 0 for UT and for TDT).  The day argument of
// CalendarToJD carries the time of day less the zone in single precision,
// so the result resolves about a tenth of a second.
long double FieldsToJD(const CalendarFields& Fields, long double ZoneHours);
// A Julian date as the date dialog's edit fields show it: "2451545.000000"
// (six decimals, at least seven characters).
std::string JDFieldText(long double JD);

// Step width in days of the fields days, hours and minutes (single precision).
float StepDaysOf(int Days, int Hours, int Minutes);
// A step width split into whole days, hours and minutes, to the nearest
// minute (2 h 59.99 min is 3 h 0 min).  Zeros for a non-finite step.
struct StepFields {
  long double Days = 0;
  int Hours = 0, Minutes = 0;
};
StepFields SplitStepDays(long double Step);
// Number of calculations a period of SpanDays holds at a step of Step
// days: the quotient plus 0.4993, rounded (a step 0 gives 1).
long double CalculationCount(long double SpanDays, float Step);

// ---- texts ------------------------------------------------------------------
// "TDT", "UTC", "MEZ", "MESZ" or "UTC+5.5h", padded right to Width.
std::string ZoneText(unsigned char Width, float AZone);
// " 9h05m" (hours right-aligned in two characters, minutes with leading 0).
std::string TimeText(float Hours);
// Style 0: "dd.mm.yyyy"; otherwise "yyyy-mm-dd" with DateSep.
std::string DateText(unsigned char Style, float AZone, long double JD);
// DateText with the global DateStyle.
std::string DateShort(float AZone, long double JD);
// DateShort, two blanks, TimeText.
std::string DateTimeText(float AZone, long double JD);
// Calendar date and time of day of JD to the whole second (JDToFields):
// "YYYY-MM-DD" (astronomical year, at least four digits) and "HH:MM:SS";
// both empty for a non-finite JD.
void JDToIsoDateTime(long double JD, std::string& Date, std::string& Time);

}  // namespace nodalis
