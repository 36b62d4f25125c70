// The result table: title, column layout, markers, elevation column and the
// canon's "interpoliert" — built from member lines as the builders write them.
#include <gtest/gtest.h>

#include <cmath>

#include "app/core/MemberLine.h"
#include "app/core/SeriesState.h"
#include "app/core/SeriesTable.h"
#include "app/base/Utils.h"

using namespace nodalis;

namespace {
constexpr long double SAROS = 6585.321316003L;

BesselRec Member(long double jd, float gamma, uint8_t type, long double l2 = -0.004L) {
  BesselRec r;
  r.JDMax = jd;
  r.Gamma = gamma;
  r.L2 = l2;
  r.EclType = type;
  r.SarosNo = 145;
  return r;
}

// Start line, members one Saros apart from 2017 Aug 21 18:26:40 TD, end line.
std::vector<std::string> List(const std::vector<std::pair<float, uint8_t>>& members) {
  const long double first = 2457987.268519L;
  std::vector<std::string> list{RealToStr(1, 6, first - 10 * SAROS) +
                                " Start (145. Saros, \xC4ra M)"};
  long double jd = first;
  for (auto [g, t] : members) {
    AppendMemberLine(Member(jd, g, t), list);
    jd += SAROS;
  }
  list.push_back(RealToStr(1, 6, jd) + " Ende");
  return list;
}
}  // namespace

TEST(SeriesTable, TitleHeaderRowsAndFooter) {
  ReferenceJD = 2457987.268519L;
  const auto list = List({{0.437f, 5}, {1.2f, 1}, {1.0f, 3}});
  std::vector<std::string> memo;
  const int32_t saros = WriteSeriesTable(list, memo, TableSource{false, false, ""});
  EXPECT_EQ(saros, 145);
  ASSERT_EQ(memo.size(), 12u);
  EXPECT_EQ(memo[0], "Saros 145 (145. Saros, \xC4ra M)  3 Neumonde,  36.1 Jahre");
  EXPECT_EQ(TitleCaption, memo[0]);
  EXPECT_EQ(memo[1], "Beginn: 21.08.2017  Ende: 12.09.2053  36.1 Jahre");
  EXPECT_EQ(memo[2], "Datenbasis: VSOP87 + DE404");
  EXPECT_EQ(memo[3], "");
  EXPECT_EQ(memo[5], "No     Datum       TDT     Gamma  D[km] Elev");
  EXPECT_EQ(memo[6],
            " 1:  21.08.2017  18h27m     0.437    51  64\xB0 totale Finsternis (aktuelle Finsternis)");
  // |gamma| > 1: no elevation but a diameter; |gamma| = 1: elevation 0.
  EXPECT_EQ(memo[7].substr(25), "   1.200    51  --  partielle Finsternis");
  EXPECT_EQ(memo[8].substr(25), "   1.000    51   0\xB0 nichtzentrale totale Finsternis");
  EXPECT_EQ(memo[9].rfind("Suche Ende: ", 0), 0u);
  EXPECT_EQ(memo[11], "Erstellt am 21.08.2017 mit Nodalis Beta V. 05.02.2010");
  WriteSeriesTable(list, memo, TableSource{true, false, ""});
  EXPECT_EQ(memo[2], "Datenbasis: VSOP 87 + ELP2000");
  WriteSeriesTable(list, memo, TableSource{true, true, "NewSolarCanon.txt"});
  EXPECT_EQ(memo[2], "Datenbasis: NewSolarCanon.txt");
}

// The Sun's altitude at greatest eclipse, acos |gamma|, exists up to
// |gamma| = 1 and not a hair beyond, on either side of the Earth.
TEST(SeriesTable, AltitudeOnlyUpToGammaOne) {
  constexpr double ALTITUDE_TOL_DEG = 0.01;
  // The member line keeps gamma to three decimals.
  const float gammas[] = {0.0f, 0.5f, -0.999f, 1.0f, -1.0f, 1.001f, -1.001f, 1.005f, 1.2f};
  std::vector<std::pair<float, uint8_t>> members;
  for (float g : gammas) members.push_back({g, 1});
  const auto rows = SeriesTableRows(List(members), false, 0);
  ASSERT_EQ(rows.size(), std::size(gammas));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const double g = std::fabs(gammas[i]);
    EXPECT_EQ(rows[i].HasElevation, g <= 1.0) << "gamma " << gammas[i];
    if (g <= 1.0) {
      EXPECT_NEAR(double(rows[i].ElevationDeg), std::acos(g) * 180.0 / M_PI, ALTITUDE_TOL_DEG)
          << "gamma " << gammas[i];
    }
  }
}

TEST(SeriesTable, MarkersForTheReferenceInstant) {
  const auto list = List({{0.1f, 5}, {0.2f, 5}, {0.3f, 5}, {0.4f, 5}});
  const long double j1 = StrToReal(list[1]), j2 = StrToReal(list[2]);
  auto markers = [&](long double ref) {
    std::string s;
    for (const TableRow& r : SeriesTableRows(list, false, ref))
      s += r.Marker == RowMarker::Aktuelle ? 'A' : r.Marker == RowMarker::Letzte ? 'L'
         : r.Marker == RowMarker::Naechste ? 'N' : '-';
    return s;
  };
  EXPECT_EQ(markers(j2 + 14.0L), "-A--");      // within 14.1 days
  EXPECT_EQ(markers(j2 - 14.2L), "LN--");      // just outside: between 1 and 2
  EXPECT_EQ(markers((j1 + j2) / 2), "LN--");   // between two members
  EXPECT_EQ(markers(j1 - 1000), "----");       // before the first
  EXPECT_EQ(markers(StrToReal(list[4]) + 1000), "----");  // after the last
  EXPECT_EQ(MarkerText(RowMarker::Naechste), " (n\xE4" "chste Finsternis)");
}

TEST(SeriesTable, TypeZeroMembersAndCanonInterpolation) {
  const auto list = List({{0.5f, 5}, {0.0f, 0}, {0.6f, 5}});
  std::vector<std::string> memo;
  WriteSeriesTable(list, memo, TableSource{true, false, ""});
  EXPECT_NE(memo[7].find(" keine Finsternis"), std::string::npos);
  EXPECT_EQ(memo[7].find("interpoliert"), std::string::npos);
  WriteSeriesTable(list, memo, TableSource{true, true, "c.txt"});
  EXPECT_NE(memo[7].find(" keine Finsternis (interpoliert)"), std::string::npos);
  EXPECT_EQ(memo[0].find("  3 Neumonde"), memo[0].find(")") + 1);  // type 0 counted
}

TEST(SeriesTable, ListsWithoutMembersNeverCrash) {
  std::vector<std::string> memo;
  // Only start and end line: no rows, Saros 0, a negative span of years.
  std::vector<std::string> list{"2451545.000000 Start", "2458130.000000 Ende"};
  EXPECT_EQ(WriteSeriesTable(list, memo, TableSource{}), 0);
  EXPECT_EQ(memo[0].rfind("Saros 0 2451545.000000 Start  0 Neumonde,  -18.0 Jahre", 0), 0u);
  EXPECT_EQ(memo[5], "No     Datum       TDT     Gamma  D[km] Elev");
  EXPECT_EQ(memo[6].rfind("Suche Ende: ", 0), 0u);
  list.clear();
  EXPECT_EQ(WriteSeriesTable(list, memo, TableSource{}), 0);
  EXPECT_EQ(memo, std::vector<std::string>{"Keine Sarosserie"});
  list = {"garbage \xFF", "Max 99 Sar 1e99999", "nan"};
  WriteSeriesTable(list, memo, TableSource{});
  EXPECT_FALSE(memo.empty());
}

TEST(StartupNotice, TextOfTheEmptyWindow) {
  const auto lines = StartupNoticeLines();
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[1], "Nodalis Beta V. 05.02.2010");
  EXPECT_EQ(Cp1252ToUtf8(lines[4]), "Zum Starten Finsternisdatum oder Saroszyklus ausw\u00e4hlen.");
  EXPECT_EQ(Cp1252ToUtf8(lines[7]), "Keine Gew\u00e4hr f\u00fcr Richtigkeit der Berechnungen.");
}
