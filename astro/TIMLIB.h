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
// The system's local date and time, taken as local time in AZone, as JD.
long double NowJD(float AZone);
// European summer time (last Sunday of March to last Sunday of September,
// of October from 1996, at 02:00 standard time).  AZone := summer + base;
// true when it changed by more than 0.1 h.
bool AutoSummerTime(float& AZone, float ABaseZone, long double JD);

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

}  // namespace nodalis
