// The fixture canon_besselian.csv (tools/extract_besselian_fixture.py): the
// polynomial Besselian elements of the Five Millennium Canon of Solar
// Eclipses (F. Espenak and J. Meeus, NASA/TP-2006-214141, 2006) for a few
// dozen eclipses, each row prefixed by its Saros number, catalogue number
// and type.  Eclipse Predictions by Fred Espenak, NASA's GSFC.
#pragma once

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "astro/BesselPolynomials.h"
#include "astro/TIMLIB.h"

namespace nodalis::test {

struct CanonElementsRow {
  int saros = 0;
  std::string catalog, type;  // "09563", "T", "Am", "H3", ...
  int year = 0, month = 0, day = 0;
  BesselPolynomials p;        // with the canon's Delta T
  std::string id() const {
    return std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day) + " " +
           type + " (Saros " + std::to_string(saros) + ")";
  }
  bool central() const {
    return type[0] != 'P' && type.find_first_of("+-") == std::string::npos;
  }
};

// One line of the canon's element-table layout after Prefix leading
// columns (the fixture's saros, catalog, type: 3; the canon's own file and
// nodalis-cli --elements: 0) into Row; false for a line that is not one.
// t0 is the hour of the day of greatest eclipse; the canon writes 0.000
// with the date of greatest eclipse when that is at 23:30 or later, so t0
// is the whole hour within 12 h of greatest eclipse.
inline bool ParseCanonElementsLine(const std::string& Line, int Prefix, CanonElementsRow& Row) {
  if (Line.empty() || Line[0] == '#' || Line.rfind("saros", 0) == 0) return false;
  std::vector<std::string> c;
  std::stringstream ss(Line);
  for (std::string v; std::getline(ss, v, ',');) {
    const std::size_t b = v.find_first_not_of(' '), e = v.find_last_not_of(' ');
    c.push_back(b == std::string::npos ? "" : v.substr(b, e - b + 1));
  }
  if (c.size() < static_cast<std::size_t>(Prefix + 28)) return false;
  CanonElementsRow r;
  if (Prefix == 3) {
    r.saros = std::stoi(c[0]);
    r.catalog = c[1];
    r.type = c[2];
  }
  auto col = [&](int i) { return std::stold(c[Prefix + i]); };
  r.year = std::stoi(c[Prefix]);
  r.month = std::stoi(c[Prefix + 1]);
  r.day = std::stoi(c[Prefix + 2]);
  BesselPolynomials& p = r.p;
  p.JDGreatestTD = col(3);
  p.JDT0TD = CalendarToJD(r.year, r.month, static_cast<float>(r.day)) + col(4) / 24;
  if (p.JDT0TD < p.JDGreatestTD - 0.5L) p.JDT0TD += 1;
  p.DeltaTSeconds = col(5);
  for (int k = 0; k < 4; ++k) p.X[k] = col(6 + k);
  for (int k = 0; k < 4; ++k) p.Y[k] = col(10 + k);
  for (int k = 0; k < 3; ++k) p.DDeg[k] = col(14 + k);
  for (int k = 0; k < 3; ++k) p.MuDeg[k] = col(17 + k);
  for (int k = 0; k < 3; ++k) p.L1[k] = col(20 + k);
  for (int k = 0; k < 3; ++k) p.L2[k] = col(23 + k);
  p.TanF1 = col(26);
  p.TanF2 = col(27);
  Row = r;
  return true;
}

inline std::vector<CanonElementsRow> ReadCanonBesselian(const std::string& File) {
  std::vector<CanonElementsRow> rows;
  std::ifstream f(File);
  std::string line;
  CanonElementsRow r;
  while (std::getline(f, line))
    if (ParseCanonElementsLine(line, 3, r)) rows.push_back(r);
  return rows;
}

inline const std::vector<CanonElementsRow>& CanonBesselian() {
  static const std::vector<CanonElementsRow> rows =
      ReadCanonBesselian(NODALIS_TEST_DATA_DIR "/canon_besselian.csv");
  return rows;
}

// The fixture's row of the eclipse on that date (TD); nullptr when absent.
inline const CanonElementsRow* CanonBesselianOn(int Year, int Month, int Day) {
  for (const CanonElementsRow& r : CanonBesselian())
    if (r.year == Year && r.month == Month && r.day == Day) return &r;
  return nullptr;
}

}  // namespace nodalis::test
