// nodalis-cli --elements and --catalog-elements (polynomial Besselian
// elements in the layout of the Five Millennium Canon's element table),
// --paths and --catalog-paths (GIS files): the layout, the values against
// the canon's elements (fixture canon_besselian.csv of tests/astro; Eclipse
// Predictions by Fred Espenak, NASA's GSFC), and bad input.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/app/cli_run.h"
#include "tests/astro/canon_besselian.h"

using cli_test::Cli;
using cli_test::CliOnTerminal;
using cli_test::Lines;
using cli_test::Result;
using nodalis::test::CanonElementsRow;
using nodalis::test::ParseCanonElementsLine;
using nodalis::test::ReadCanonBesselian;
using std::string;

namespace {
// The canon's element rows of the astronomy tests (tests/astro/data).
const string CANON_ELEMENTS = NODALIS_TEST_DATA_DIR "/../../astro/data/canon_besselian.csv";
// The canon's columns, comma-separated with a comma after the last: the
// width of every field (tools/extract_besselian_fixture.py's source, all
// 11 898 rows).
const std::vector<std::size_t> CANON_WIDTHS = {5,  3,  3,  14, 7,  9,  12, 13, 12, 12,
                                               12, 13, 12, 12, 12, 13, 12, 12, 13, 12,
                                               12, 13, 12, 12, 13, 12, 12, 13, 0};
// Ours against the canon's at t0 for an eclipse of 2017 (see
// tests/astro/test_bessel_polynomial_fit.cpp for the whole fixture).
constexpr long double XY_TOL_ER = 2e-4L;
constexpr long double D_MU_TOL_DEG = 5e-5L;
constexpr long double L_TOL_ER = 1e-5L;

std::vector<std::size_t> Widths(const string& line) {
  std::vector<std::size_t> w;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = line.find(',', start);
    w.push_back((comma == string::npos ? line.size() : comma) - start);
    if (comma == string::npos) break;
    start = comma + 1;
  }
  return w;
}

std::vector<CanonElementsRow> Rows(const string& text) {
  std::vector<CanonElementsRow> rows;
  CanonElementsRow r;
  for (const string& l : Lines(text))
    if (ParseCanonElementsLine(l, 0, r)) rows.push_back(r);
  return rows;
}
}  // namespace

TEST(CliElements, SeriesInTheCanonsLayoutWithTheCanonsValues) {
  const Result r = Cli("--saros 145 --lunar elp2000 --elements --delta-t espenak-meeus-2006");
  ASSERT_EQ(r.code, 0);
  const std::vector<string> lines = Lines(r.out);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "#Polynomial Besselian elements from Nodalis (VSOP87 + ELP2000, Delta T espenak-meeus-2006)");
  EXPECT_EQ(lines[1].substr(0, 26), "#year, mon, day, jd, t0, d");
  for (std::size_t i = 2; i < lines.size(); ++i) EXPECT_EQ(Widths(lines[i]), CANON_WIDTHS) << lines[i];
  const std::vector<CanonElementsRow> ours = Rows(r.out);
  // Saros 145: 77 members from 1639 Jan 4 to 3009 Apr 17, every one an eclipse.
  ASSERT_EQ(ours.size(), 77u);
  EXPECT_EQ(ours.front().year, 1639);
  EXPECT_EQ(ours.back().year, 3009);
  const std::vector<CanonElementsRow> canon = ReadCanonBesselian(CANON_ELEMENTS);
  int compared = 0;
  for (const CanonElementsRow& o : ours) {
    if (o.year != 2017) continue;
    for (const CanonElementsRow& c : canon) {
      if (c.year != 2017 || c.month != 8 || c.day != 21) continue;
      ++compared;
      EXPECT_NEAR(static_cast<double>(o.p.JDT0TD), static_cast<double>(c.p.JDT0TD), 1e-9);
      EXPECT_NEAR(static_cast<double>(o.p.DeltaTSeconds), static_cast<double>(c.p.DeltaTSeconds), 0.1);
      for (int k = 0; k < 2; ++k) {
        EXPECT_NEAR(static_cast<double>(o.p.X[k]), static_cast<double>(c.p.X[k]), XY_TOL_ER) << k;
        EXPECT_NEAR(static_cast<double>(o.p.Y[k]), static_cast<double>(c.p.Y[k]), XY_TOL_ER) << k;
      }
      EXPECT_NEAR(static_cast<double>(o.p.DDeg[0]), static_cast<double>(c.p.DDeg[0]), D_MU_TOL_DEG);
      EXPECT_NEAR(static_cast<double>(o.p.MuDeg[0]), static_cast<double>(c.p.MuDeg[0]), D_MU_TOL_DEG);
      EXPECT_NEAR(static_cast<double>(o.p.L1[0]), static_cast<double>(c.p.L1[0]), L_TOL_ER);
      EXPECT_NEAR(static_cast<double>(o.p.L2[0]), static_cast<double>(c.p.L2[0]), L_TOL_ER);
      EXPECT_NEAR(static_cast<double>(o.p.TanF1), static_cast<double>(c.p.TanF1), 2e-7);
    }
  }
  EXPECT_EQ(compared, 1);
  // --delta-t changes only the Delta T column (1639: the canon's lunar
  // acceleration correction is -1.3 s).
  const Result own = Cli("--saros 145 --lunar elp2000 --elements");
  ASSERT_EQ(own.code, 0);
  const std::vector<CanonElementsRow> nodalis = Rows(own.out);
  ASSERT_EQ(nodalis.size(), ours.size());
  EXPECT_GT(std::fabs(nodalis[0].p.DeltaTSeconds - ours[0].p.DeltaTSeconds), 1.0);
  EXPECT_EQ(nodalis[0].p.X[0], ours[0].p.X[0]);
}

TEST(CliElements, CatalogSpanAndSarosSelection) {
  // 2017: two solar eclipses, Feb 26 (annular) and Aug 21 (total).
  const Result r = Cli("--catalog-elements 2017 2017 --lunar elp2000");
  ASSERT_EQ(r.code, 0);
  const std::vector<CanonElementsRow> rows = Rows(r.out);
  ASSERT_EQ(rows.size(), 2u) << r.out;
  EXPECT_EQ(rows[0].month, 2);
  EXPECT_EQ(rows[1].month, 8);
  const Result one = Cli("--catalog-elements 2000 2030 --saros 145");
  ASSERT_EQ(one.code, 0);
  const std::vector<CanonElementsRow> s145 = Rows(one.out);
  ASSERT_EQ(s145.size(), 1u) << one.out;  // 2017 Aug 21 only
  EXPECT_EQ(s145[0].year, 2017);
}

TEST(CliGeo, BadInputExitsTwoBeforeAnyWork) {
  struct Case {
    const char* args;
    const char* message;
  };
  const Case cases[] = {
      {"--elements --format csv", "--elements gilt nicht mit --format"},
      {"--elements=1", "--elements hat keinen Wert"},
      {"--catalog-elements 2000", "--catalog-elements erwartet VON BIS"},
      {"--catalog-elements 2001 2000", "--catalog-elements: das Jahr VON liegt nach dem Jahr BIS"},
      {"--catalog-elements 2000 x", "--catalog-elements erwartet zwei ganze Jahreszahlen"},
      {"--catalog-elements 2000 2001 --catalog 2000 2001", "nur einmal und nicht zusammen"},
      {"--catalog-elements 2000 2001 --next", "--catalog-elements gilt nicht mit Befehlen"},
      {"--catalog-elements 2000 2001 --elements", "--catalog-elements gilt nur mit --lunar"},
      {"--paths /tmp/x.shp", "Unbekanntes Dateiformat: /tmp/x.shp (.geojson oder .kml)"},
      {"--paths /tmp/x", "Unbekanntes Dateiformat"},
      {"--paths /nonexistent-dir/x.kml", "Verzeichnis nicht gefunden"},
      {"--paths /tmp", "Unbekanntes Dateiformat"},
      {"--paths", "--paths erwartet DATEI"},
      {"--catalog 2000 2001 --paths /tmp/x.geojson", "--catalog gilt nur mit --lunar"},
      {"--catalog-paths 2000 2001", "--catalog-paths erwartet VON BIS DATEI"},
      {"--catalog-paths 2001 2000 /tmp/x.geojson", "das Jahr VON liegt nach dem Jahr BIS"},
      {"--catalog-paths 2000 2001 /tmp/x.txt", "Unbekanntes Dateiformat: /tmp/x.txt (.geojson oder .kml)"},
      {"--catalog-paths 2000 2001 /nonexistent-dir/x.geojson", "Verzeichnis nicht gefunden"},
      {"--catalog-paths 2000 2001 /tmp/x.geojson --paths /tmp/y.kml", "--catalog-paths gilt nur mit --lunar"},
      // The options named are those the catalogue of paths takes: not --place.
      {"--catalog-paths 2000 2001 /tmp/x.geojson --paths /tmp/y.kml",
       "--catalog-paths gilt nur mit --lunar, --delta-t und --saros N"},
      {"--catalog-elements 2000 2001 --map /tmp/y.png", "--catalog-elements gilt nur mit --lunar, --delta-t und --saros N"},
      {"--catalog-paths 2000 2001 /tmp/x.geojson --place 1 2", "--place gilt nicht mit --catalog-paths"},
      {"--catalog-paths 2000 2001 /tmp/x.geojson --catalog 2000 2001", "nur einmal"},
      {"--delta-t espenak-meeus-2006", "nur mit --format csv, --format json, --elements, --paths, --map, --place oder --catalog"},
  };
  for (const Case& c : cases) {
    const Result both = Cli(c.args, true), out = Cli(c.args);
    EXPECT_EQ(both.code, 2) << c.args;
    EXPECT_NE(both.out.find(c.message), string::npos) << c.args << ": " << both.out;
    EXPECT_EQ(out.out, "") << c.args;  // nothing computed, nothing written
  }
  // A directory under the file's name.
  char dir[] = "/tmp/nodalis-geo-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const string sub = string(dir) + "/d.kml";
  ASSERT_EQ(mkdir(sub.c_str(), 0700), 0);
  const Result r = Cli("--paths " + sub, true);
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.out.find("keine gew\xC3\xB6hnliche Datei"), string::npos) << r.out;
  rmdir(sub.c_str());
  rmdir(dir);
}

// --catalog-paths shows the catalogue's progress line on a terminal,
// cleared before the file is written.
TEST(CliGeo, CatalogPathsShowProgressOnATerminal) {
  char dir[] = "/tmp/nodalis-geo-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const string file = string(dir) + "/c.geojson";
  const Result r = CliOnTerminal({"--catalog-paths", "1700", "2300", file, "--lunar", "elp2000"});
  const string& terminal = r.out;
  EXPECT_EQ(r.code, 0) << terminal;
  EXPECT_NE(terminal.find("\rKatalog 1700 bis 2300: "), string::npos) << terminal;
  ASSERT_FALSE(terminal.empty());
  EXPECT_EQ(terminal.back(), '\r') << terminal;
  struct stat st {};
  EXPECT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_GT(st.st_size, 0);
  unlink(file.c_str());
  rmdir(dir);
}
