// nodalis-cli --place: the local circumstances of every member in csv and
// json (columns after the existing ones), the block after the table,
// --catalog with a place, and bad input.  Values against the local
// circumstances from the canon's elements (fixture canon_besselian.csv of
// tests/astro; Eclipse Predictions by Fred Espenak, NASA's GSFC), whose
// agreement with published city tables test_astro_local checks.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/core/LocalTable.h"
#include "astro/TIMLIB.h"
#include "tests/app/cli_run.h"
#include "tests/astro/canon_besselian.h"

using cli_test::Cli;
using cli_test::Lines;
using cli_test::Result;
using namespace nodalis;
using std::string;

namespace {
const string SERIES = "--jd 2461383.5 --reference 2461383.5 --saros 145 --lunar elp2000";
const string CASPER = "--place 42.8501 -106.3252 1560";
// Our elements against the canon's: contacts within 5 s (test_astro_local).
constexpr double OURS_TOL_S = 5;

std::vector<string> Fields(const string& line) {
  std::vector<string> f(1);
  for (char c : line) {
    if (c == ',') f.emplace_back();
    else f.back() += c;
  }
  return f;
}

// Seconds between an ISO UT text (YYYY-MM-DDTHH:MM:SS) and a Julian date UT.
double SecondsFrom(const string& iso, long double jd) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  if (std::sscanf(iso.c_str(), "%d-%d-%dT%d:%d:%d", &y, &mo, &d, &h, &mi, &s) != 6) return 1e9;
  const long double j = CalendarToJD(y, mo, static_cast<float>(d)) + (h * 3600 + mi * 60 + s) / 86400.0L;
  return static_cast<double>((j - jd) * 86400);
}

// The canon's elements of 2017 Aug 21 (the fixture of tests/astro).
const nodalis::test::CanonElementsRow* CanonRowOf2017Aug21() {
  static const std::vector<nodalis::test::CanonElementsRow> rows =
      nodalis::test::ReadCanonBesselian(NODALIS_TEST_DATA_DIR "/../../astro/data/canon_besselian.csv");
  for (const auto& row : rows)
    if (row.year == 2017 && row.month == 8 && row.day == 21) return &row;
  return nullptr;
}

std::size_t Column(const std::vector<string>& header, const string& name) {
  for (std::size_t i = 0; i < header.size(); ++i)
    if (header[i] == name) return i;
  ADD_FAILURE() << "no column " << name;
  return 0;
}
}  // namespace

TEST(CliPlace, CsvGainsTheLocalColumnsAfterTheOthers) {
  const Result plain = Cli(SERIES + " --format csv --delta-t espenak-meeus-2006");
  const Result local = Cli(SERIES + " --format csv --delta-t espenak-meeus-2006 " + CASPER);
  ASSERT_EQ(plain.code, 0);
  ASSERT_EQ(local.code, 0);
  const std::vector<string> a = Lines(plain.out), b = Lines(local.out);
  ASSERT_EQ(a.size(), b.size());
  ASSERT_GT(a.size(), 70u);
  for (std::size_t i = 0; i < a.size(); ++i) {
    ASSERT_EQ(b[i].rfind(a[i] + ",", 0), 0u) << "line " << i << " changed";
    EXPECT_EQ(Fields(b[i]).size(), Fields(a[i]).size() + LocalColumns().size()) << "line " << i;
  }
  // The member of 2017 Aug 21 against the canon's elements.
  const std::vector<string> head = Fields(b[0]);
  const nodalis::test::CanonElementsRow* r = CanonRowOf2017Aug21();
  ASSERT_NE(r, nullptr);
  const LocalCircumstances canon = ComputeLocalCircumstances(r->p, {42.8501L, -106.3252L, 1560});
  int found = 0;
  for (std::size_t i = 1; i < b.size(); ++i) {
    const std::vector<string> f = Fields(b[i]);
    if (f[Column(head, "date")] != "2017-08-21") {
      // Every other member: a value or an empty field, never "nan" / "inf".
      for (const string& v : f) EXPECT_EQ(v.find("nan"), string::npos) << b[i];
      continue;
    }
    ++found;
    EXPECT_EQ(f[Column(head, "local_type")], "total");
    EXPECT_EQ(f[Column(head, "local_visible")], "true");
    const LocalContact* c[] = {&canon.First, &canon.Second, &canon.Maximum, &canon.Third, &canon.Fourth};
    const char* names[] = {"c1_ut", "c2_ut", "max_ut", "c3_ut", "c4_ut"};
    for (int k = 0; k < 5; ++k)
      EXPECT_NEAR(SecondsFrom(f[Column(head, names[k])], c[k]->JDUT), 0, OURS_TOL_S + 0.5) << names[k];
    EXPECT_NEAR(std::stod(f[Column(head, "local_duration_s")]), static_cast<double>(canon.DurationSeconds), 1);
    EXPECT_NEAR(std::stod(f[Column(head, "local_magnitude")]), static_cast<double>(canon.Magnitude), 0.001);
    EXPECT_EQ(f[Column(head, "local_obscuration")], "1.0000");
    EXPECT_EQ(f[Column(head, "c1_below_horizon")], "false");
    EXPECT_EQ(f[Column(head, "sunrise_ut")], "");
  }
  EXPECT_EQ(found, 1);
}

TEST(CliPlace, JsonMembersGainTheLocalValues) {
  const Result r = Cli(SERIES + " --format json --place 42.85N 253.67E 1560");
  ASSERT_EQ(r.code, 0);
  // 253.67 E is 106.33 W.
  EXPECT_NE(r.out.find("\"place\": {\"lat_deg\": 42.850000, \"lon_deg\": -106.330000, \"height_m\": 1560.0}"),
            string::npos);
  std::size_t members = 0, nulls = 0;
  for (const string& l : Lines(r.out)) {
    if (l.find("{\"no\": ") == string::npos) continue;
    ++members;
    EXPECT_NE(l.find(", \"local_type\": "), string::npos) << l;
    EXPECT_NE(l.find(", \"sunset_ut\": "), string::npos) << l;
    if (l.find("\"local_type\": null") != string::npos) ++nulls;
    EXPECT_EQ(l.find("nan"), string::npos) << l;
    if (l.find("\"date\": \"2017-08-21\"") != string::npos) {
      EXPECT_NE(l.find("\"local_type\": \"total\", \"local_visible\": true"), string::npos) << l;
      EXPECT_NE(l.find("\"c2_ut\": \"2017-08-21T17:42:"), string::npos) << l;
      EXPECT_NE(l.find("\"c1_below_horizon\": false"), string::npos) << l;
    }
  }
  EXPECT_GT(members, 70u);
  EXPECT_GT(nulls, 10u);  // most members pass far from Wyoming
  EXPECT_LT(nulls, members);
}

TEST(CliPlace, TableGainsTheBlockOfTheMembersSeen) {
  const Result plain = Cli(SERIES);
  const Result local = Cli(SERIES + " --place 42.85N 106.33W 1560 --delta-t espenak-meeus-2006");
  ASSERT_EQ(plain.code, 0);
  ASSERT_EQ(local.code, 0);
  ASSERT_EQ(local.out.rfind(plain.out, 0), 0u) << "the table itself changed";
  const std::vector<string> block = Lines(local.out.substr(plain.out.size()));
  ASSERT_GT(block.size(), 4u);
  EXPECT_EQ(block[0], "");
  EXPECT_EQ(block[1].rfind("\xC3\x96rtliche Umst\xC3\xA4nde bei 42,85\xC2\xB0 N 106,33\xC2\xB0 W, 1560 m", 0), 0u)
      << block[1];
  bool total2017 = false;
  for (const string& l : block)
    if (l.find("2017-08-21") != string::npos) {
      total2017 = true;
      EXPECT_NE(l.find("total"), string::npos) << l;
      EXPECT_NE(l.find("2m26s"), string::npos) << l;
      EXPECT_NE(l.find("17:43:4"), string::npos) << l;
    }
  EXPECT_TRUE(total2017);
  // A member that begins before sunrise or ends after sunset is marked, and
  // the mark explained below: the 1945 member begins before sunrise.
  bool marked = false;
  for (const string& l : block)
    if (l.find("1945-07-09") != string::npos) marked = l.find("* ") != string::npos;
  EXPECT_TRUE(marked);
  EXPECT_EQ(block.back().rfind("* Sonne unter dem Horizont", 0), 0u) << block.back();
}

TEST(CliPlace, CatalogWritesTheEclipsesSeenFromThePlace) {
  const Result all = Cli("--catalog 2017 2024 --lunar elp2000");
  const Result seen = Cli("--catalog 2017 2024 --lunar elp2000 " + CASPER);
  ASSERT_EQ(all.code, 0);
  ASSERT_EQ(seen.code, 0);
  const std::vector<string> a = Lines(all.out), b = Lines(seen.out);
  ASSERT_GT(b.size(), 3u);
  EXPECT_LT(b.size(), a.size());
  ASSERT_EQ(b[0].rfind(a[0] + ",local_type,local_visible,c1_ut,", 0), 0u);
  // Every row is the catalogue's own row (same number), then the columns.
  for (std::size_t i = 1; i < b.size(); ++i) {
    bool same = false;
    for (std::size_t j = 1; j < a.size() && !same; ++j) same = b[i].rfind(a[j] + ",", 0) == 0;
    EXPECT_TRUE(same) << b[i];
    EXPECT_NE(b[i].find(",true,"), string::npos) << b[i];  // local_visible
  }
  EXPECT_NE(seen.out.find(",total,true,2017-08-21T16:22:"), string::npos);
  EXPECT_EQ(seen.out.find(",annular,true,2023-10-14T"), string::npos);  // Casper: partial in 2023
  EXPECT_NE(seen.out.find(",partial,true,2023-10-14T"), string::npos);
  EXPECT_NE(seen.out.find(",partial,true,2024-04-08T"), string::npos);
}

// Just outside the northern limit of totality of 2017 Aug 21 in Nebraska
// (0.4 km north of our limit at 100.5863 W, from --paths): the Sun is
// covered all but a sliver, and the output must not say "wholly".  The
// canon's elements put the place outside the umbra too.
TEST(CliPlace, PartialJustOutsideThePathNeverReadsAsWhollyCovered) {
  const GeodeticPlace place{42.0178L, -100.5863L, 0};
  const nodalis::test::CanonElementsRow* canonRow = CanonRowOf2017Aug21();
  ASSERT_NE(canonRow, nullptr);
  const LocalCircumstances canon = ComputeLocalCircumstances(canonRow->p, place);
  ASSERT_EQ(canon.Kind, LocalEclipseKind::Partial);
  EXPECT_GT(canon.Magnitude, 0.999);

  const string at = " --place 42.0178 -100.5863 --delta-t espenak-meeus-2006";
  const Result csv = Cli(SERIES + " --format csv" + at);
  ASSERT_EQ(csv.code, 0);
  const std::vector<string> lines = Lines(csv.out);
  const std::vector<string> head = Fields(lines.at(0));
  int found = 0;
  for (const string& l : lines) {
    const std::vector<string> f = Fields(l);
    if (f.size() != head.size() || f[Column(head, "date")] != "2017-08-21") continue;
    ++found;
    EXPECT_EQ(f[Column(head, "local_type")], "partial");
    EXPECT_EQ(f[Column(head, "local_magnitude")], "0.9999");
    EXPECT_EQ(f[Column(head, "local_obscuration")], "0.9999");  // was "1.0000"
    EXPECT_EQ(f[Column(head, "local_duration_s")], "");
  }
  EXPECT_EQ(found, 1);
  const Result table = Cli(SERIES + at);
  ASSERT_EQ(table.code, 0);
  EXPECT_NE(table.out.find("\n22  2017-08-21   partiell     0.999  0.999    "), string::npos) << table.out;
}

TEST(CliPlace, BadPlacesExitWith2) {
  for (const string& bad : {string("--place 91 0"), string("--place -90.5 0"), string("--place abc 10"),
                            string("--place 10 abc"), string("--place nan 0"), string("--place 0 inf"),
                            string("--place 48"), string("--place"), string("--place 10 20 high"),
                            string("--place 10 20 1e9"), string("--place 16E 48N"),
                            string("--place 10 20 --elements"),
                            string("--catalog-elements 2017 2017 --place 10 20")}) {
    const Result r = Cli(bad, true);
    EXPECT_EQ(r.code, 2) << bad;
    EXPECT_NE(r.out.find("nodalis-cli: "), string::npos) << bad;
    EXPECT_NE(r.out.find("--place"), string::npos) << bad;
  }
  // A height is optional and the next option is no height.
  EXPECT_EQ(Cli("--place 48.2N 16.4E --format csv --saros 145 --jd 2461383.5").code, 0);
  EXPECT_EQ(Cli("--place=48.2 16.4 170 --saros 145 --jd 2461383.5").code, 0);
  // --delta-t counts with the table when a place is given.
  EXPECT_EQ(Cli("--saros 145 --jd 2461383.5 --place 0 190 --delta-t espenak-meeus-2006").code, 0);
  EXPECT_EQ(Cli("--saros 145 --jd 2461383.5 --delta-t espenak-meeus-2006").code, 2);
}
