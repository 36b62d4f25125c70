// CatalogRow — rows in the canon's CSV layout (see CatalogRow.h).
#include "app/core/CatalogRow.h"

#include <cmath>
#include <cstdio>

#include "astro/TIMLIB.h"
#include "app/base/Utils.h"

namespace nodalis {

const char* const CATALOG_HEADER =
    "Catalog Number,Calendar Date,Eclipse Time,Delta T (s),Lunation Number,Saros Number,"
    "Eclipse Type,Gamma,Eclipse Magnitude,Latitude,Longitude,Sun Altitude,Sun Azimuth,"
    "Path Width (km),Central Duration";

namespace {
const char* const MONTH_NAMES[12] = {"January", "February", "March",     "April",
                                     "May",     "June",     "July",      "August",
                                     "September", "October", "November", "December"};

// "6.0N", "33.3W": the hemisphere from the sign of the unrounded value.
std::string Angle(long double Deg, char Plus, char Minus) {
  return RealToStr(1, 1, std::fabs(Deg)) + (Deg < 0 ? Minus : Plus);
}

// "-1999 June 12" and "03:14:51".
void DateAndTime(long double JD, std::string& Date, std::string& Time) {
  std::string iso;
  JDToIsoDateTime(JD, iso, Time);
  int y = 0, m = 1, d = 1;
  std::sscanf(iso.c_str(), "%d-%d-%d", &y, &m, &d);
  if (m < 1 || m > 12) m = 1;
  Date = std::to_string(y) + " " + MONTH_NAMES[m - 1] + " " + std::to_string(d);
}

std::string Duration(long double Seconds) {
  const long long s = std::llround(Seconds);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02lldm%02llds", s / 60, s % 60);
  return buf;
}
}  // namespace

std::string CatalogTypeText(const BesselRec& Rec, const EclipseCircumstances& C,
                            const SarosPlace& Place) {
  const char letter = C.Valid ? C.CanonType : 0;
  if (letter != 'P' && letter != 'A' && letter != 'T' && letter != 'H') return "";
  std::string t(1, letter);
  if (Place.First) return t + "b";
  if (Place.Last) return t + "e";
  // A hybrid's course goes before its place in the middle of the series
  // (the canon: 508 Sep 11 "H3", 1423 Jul 8 "H2", middle members both).
  if (letter == 'H' && C.Course == HybridCourse::TotalToAnnular) return t + "2";
  if (letter == 'H' && C.Course == HybridCourse::AnnularToTotal) return t + "3";
  if (Place.Middle) return t + "m";
  if (letter == 'P') return t;
  if (!C.Central) return t + (Rec.Gamma >= 0 ? "+" : "-");
  if (!C.NorthLimit) return t + "n";
  if (!C.SouthLimit) return t + "s";
  return t;
}

std::string CatalogRow(long CatalogNo, const BesselRec& Rec, const EclipseCircumstances& C,
                       const SarosPlace& Place) {
  char no[24];
  std::snprintf(no, sizeof no, "%05ld", CatalogNo);
  std::string date, time;
  DateAndTime(Rec.JDMax, date, time);
  const bool partial = C.CanonType == 'P';
  const bool central = !partial && C.Central;
  long double azimuth = std::nearbyint(C.SunAzimuthDeg);
  if (azimuth >= 360) azimuth -= 360;

  std::string s = no;
  s += "," + date + "," + time;
  s += "," + DataRealToStr(0, C.DeltaTSeconds);
  s += "," + std::to_string(C.Lunation);
  s += "," + std::to_string(Rec.SarosNo);
  s += "," + CatalogTypeText(Rec, C, Place);
  s += "," + DataRealToStr(-4, Rec.Gamma);
  s += "," + DataRealToStr(-4, C.Magnitude);
  s += "," + Angle(C.LatitudeDeg, 'N', 'S');
  s += "," + Angle(C.LongitudeDeg, 'E', 'W');
  s += "," + DataRealToStr(0, C.SunAltitudeDeg);
  s += "," + DataRealToStr(0, azimuth);
  if (partial) {
    s += ",,";
  } else if (!central) {
    s += ",-,-";
  } else {
    s += "," + (C.NorthLimit && C.SouthLimit ? DataRealToStr(0, C.PathWidthKm) : std::string("-"));
    s += "," + Duration(C.CentralDurationS);
  }
  return s;
}

}  // namespace nodalis
