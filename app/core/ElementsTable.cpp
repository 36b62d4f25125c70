// ElementsTable — polynomial Besselian elements in the canon's element-table
// layout (see ElementsTable.h).
#include "app/core/ElementsTable.h"

#include <cmath>
#include <cstdio>

#include "app/core/EclipseCatalog.h"
#include "app/core/SeriesTable.h"
#include "astro/BesselPolynomialFit.h"
#include "astro/TIMLIB.h"

namespace nodalis {

const char* const ELEMENTS_HEADER =
    "#year, mon, day, jd, t0, deltaT, x1, x2, x3, x4, y1, y2, y3, y4, d1, d2, d3, m1, m2, m3, "
    "l11, l12, l13, l21, l22, l23, tanf1, tanf2";

namespace {
constexpr long double HOURS_PER_DAY = 24.0L;

// One value right-aligned in Width characters with Decimals, then ",".
void Field(std::string& Out, int Width, int Decimals, long double Value) {
  char buf[64];
  // -0.0000000 is written as 0.0000000, as the canon never shows a sign on zero.
  const double v = static_cast<double>(Value);
  const double scale = std::pow(10.0, Decimals);
  const double shown = std::nearbyint(v * scale) == 0 ? 0.0 : v;
  std::snprintf(buf, sizeof buf, "%*.*f,", Width, Decimals, shown);
  Out += buf;
}

// Widths and decimals of the canon's columns (coefficient k of a cubic or
// quadratic).
struct Column {
  int width, decimals;
};
constexpr Column CUBIC[4] = {{12, 6}, {13, 7}, {12, 7}, {12, 7}};
constexpr Column D_COLS[3] = {{12, 7}, {13, 6}, {12, 6}};
constexpr Column MU_COLS[3] = {{12, 6}, {13, 5}, {12, 6}};
constexpr Column L_COLS[3] = {{12, 6}, {13, 7}, {12, 7}};

bool IsEclipse(const BesselRec& Rec) { return Rec.EclType != ECL_NONE; }
}  // namespace

std::string ElementsRow(const BesselPolynomials& P) {
  int year = 0, month = 0;
  float day = 0;
  JDToCalendar(P.JDGreatestTD, year, month, day);
  std::string out;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%5d,%3d,%3d,", year, month, static_cast<int>(std::floor(day)));
  out += buf;
  Field(out, 14, 3, P.JDGreatestTD);
  // Hour of t0 within its day (0 .. 23).
  long double hour = std::fmod((P.JDT0TD + 0.5L) * HOURS_PER_DAY, HOURS_PER_DAY);
  hour = std::nearbyint(hour < 0 ? hour + HOURS_PER_DAY : hour);
  if (hour >= HOURS_PER_DAY) hour -= HOURS_PER_DAY;
  Field(out, 7, 3, hour);
  Field(out, 9, 1, P.DeltaTSeconds);
  for (const long double* c : {P.X, P.Y})
    for (int k = 0; k < 4; ++k) Field(out, CUBIC[k].width, CUBIC[k].decimals, c[k]);
  for (int k = 0; k < 3; ++k) Field(out, D_COLS[k].width, D_COLS[k].decimals, P.DDeg[k]);
  for (int k = 0; k < 3; ++k) Field(out, MU_COLS[k].width, MU_COLS[k].decimals, P.MuDeg[k]);
  for (const long double* c : {P.L1, P.L2})
    for (int k = 0; k < 3; ++k) Field(out, L_COLS[k].width, L_COLS[k].decimals, c[k]);
  Field(out, 12, 7, P.TanF1);
  Field(out, 13, 7, P.TanF2);
  return out;
}

std::string ElementsTitleLine(bool ELP2000, DeltaTModel Model) {
  return std::string("#Polynomial Besselian elements from Nodalis (VSOP87 + ") +
         (ELP2000 ? "ELP2000" : "DE404") + ", Delta T " + DeltaTModelName(Model) + ")";
}

bool SeriesElementsText(const std::vector<std::string>& List, bool Canon, DeltaTModel Model,
                        std::string& Out) {
  Out.clear();
  std::string text = ElementsTitleLine(UseLunarLib, Model) + "\n" + ELEMENTS_HEADER + "\n";
  for (const TableRow& r : SeriesTableRows(List, Canon, 0)) {
    if (!IsEclipse(r.Rec)) continue;
    BesselPolynomials P;
    if (!FitBesselPolynomials(r.Rec.JDMax, DeltaTSeconds(Model, r.Rec.JDMax), P)) return false;
    text += ElementsRow(P) + "\n";
  }
  Out = std::move(text);
  return true;
}

bool CatalogElementsText(int32_t FromYear, int32_t ToYear, DeltaTModel Model,
                         const std::set<int32_t>& Saros, std::string& Out,
                         const std::function<void(double)>& Progress) {
  Out.clear();
  constexpr double SEARCH_SHARE = 0.6;  // of the work: the catalogue; the rest the fits
  std::vector<CatalogEntry> entries;
  if (!BuildCatalogOfYears(FromYear, ToYear, Model, entries, Progress, SEARCH_SHARE)) return false;
  constexpr std::size_t ROW_BYTES = 330;  // a row is 320 bytes
  std::string text;
  text.reserve((entries.size() + 2) * ROW_BYTES);
  text += ElementsTitleLine(UseLunarLib, Model) + "\n" + ELEMENTS_HEADER + "\n";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const BesselRec& rec = entries[i].Rec;
    if (!Saros.empty() && !Saros.count(rec.SarosNo)) continue;
    BesselPolynomials P;
    if (!FitBesselPolynomials(rec.JDMax, entries[i].Circ.DeltaTSeconds, P)) return false;
    text += ElementsRow(P) + "\n";
    if (Progress && i % 64 == 0)
      Progress(SEARCH_SHARE + (1 - SEARCH_SHARE) * static_cast<double>(i) / entries.size());
  }
  if (Progress) Progress(1.0);
  Out = std::move(text);
  return true;
}

}  // namespace nodalis
