// nodalis-cli's eclipse circumstances (the CSV and JSON columns after the
// table's), its choice of Delta T and its catalogue mode, against rows of
// the NASA Five Millennium Canon of Solar Eclipses (F. Espenak and J. Meeus,
// NASA/TP-2006-214141, 2006; the committed fixture of the astronomy tests,
// tools/extract_canon_fixture.py).  The accuracy of the circumstances
// themselves is tested more tightly by test_astro_eclipse; here the bounds
// are the ones users are promised, and the point is that every column
// carries the right quantity, unit, sign and emptiness.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tests/app/cli_run.h"

using cli_test::Cli;
using cli_test::CliOnTerminal;
using cli_test::Lines;
using cli_test::Result;
using std::string;

namespace {
// Bounds for 1000 .. 2500 ("ELP2000", the canon's Delta T), each plus half
// the canon's last digit: central eclipses
constexpr double POS_TOL_DEG = 0.2 + 0.05;  // latitude, longitude (0.1 deg)
constexpr double MAG_TOL = 0.002 + 0.00005;
constexpr double ALT_TOL_DEG = 1.0 + 0.5;   // whole degrees
constexpr double WIDTH_TOL_KM = 3.0 + 0.5, WIDTH_TOL_REL = 0.03;
constexpr double DURATION_TOL_S = 3.0 + 0.5, DURATION_TOL_REL = 0.03;
// partial and non-central eclipses (the point on the limb)
constexpr double LIMB_MAG_TOL = 0.003 + 0.00005;
constexpr double LIMB_POS_TOL_DEG = 1.0 + 0.05;
// Delta T: the canon's whole seconds against our tenths.
constexpr double DELTA_T_TOL_S = 0.6 + 0.05;
constexpr double SIDEREAL_DEG_PER_S = 360.98564736629 / 86400.0;
constexpr double LON_ROUNDING_DEG = 0.011;  // two values to 0.01 deg
constexpr double RAD = 0.017453292519943295;

const char* const MONTHS[12] = {"January", "February", "March",     "April",
                                "May",     "June",     "July",      "August",
                                "September", "October", "November", "December"};
// The canon rows of the astronomy tests (tests/astro/data).
const string CANON_FIXTURE = NODALIS_TEST_DATA_DIR "/../../astro/data/canon_circumstances.csv";
const string CATALOG_HEADER =
    "Catalog Number,Calendar Date,Eclipse Time,Delta T (s),Lunation Number,Saros Number,"
    "Eclipse Type,Gamma,Eclipse Magnitude,Latitude,Longitude,Sun Altitude,Sun Azimuth,"
    "Path Width (km),Central Duration";

std::vector<string> Split(const string& line) {
  std::vector<string> f(1);
  for (char c : line) {
    if (c == ',') f.emplace_back();
    else f.back() += c;
  }
  return f;
}

// The fixture's canon rows by their "Calendar Date" ("2009 July 22").
const std::map<string, string>& CanonRows() {
  static const std::map<string, string> rows = [] {
    std::map<string, string> m;
    std::ifstream f(CANON_FIXTURE);
    for (string line; std::getline(f, line);)
      if (!line.empty() && line[0] != '#' && line.rfind("Catalog", 0) != 0)
        m[Split(line)[1]] = line;
    return m;
  }();
  return rows;
}

// "2009-07-22", "-1999-06-12" as the canon writes the date.
string CanonDate(const string& iso) {
  const std::size_t m = iso.find('-', 1);
  const int month = std::stoi(iso.substr(m + 1, 2));
  return std::to_string(std::stoi(iso.substr(0, m))) + " " + MONTHS[month - 1] + " " +
         std::to_string(std::stoi(iso.substr(m + 4, 2)));
}

double SignedAngle(const string& s) {
  const double v = std::stod(s.substr(0, s.size() - 1));
  return (s.back() == 'S' || s.back() == 'W') ? -v : v;
}

double Seconds(const string& mmss) {  // "06m37s"
  return std::stoi(mmss.substr(0, 2)) * 60 + std::stoi(mmss.substr(3, 2));
}

// A CSV text of nodalis-cli with its columns by name.
struct Csv {
  std::vector<string> head;
  std::vector<std::vector<string>> rows;
  explicit Csv(const string& text) {
    const auto lines = Lines(text);
    if (lines.empty()) return;
    head = Split(lines[0]);
    for (std::size_t i = 1; i < lines.size(); ++i) rows.push_back(Split(lines[i]));
  }
  std::size_t Col(const string& name) const {
    for (std::size_t i = 0; i < head.size(); ++i)
      if (head[i] == name) return i;
    ADD_FAILURE() << "no column " << name;
    return 0;
  }
};

// The letter of the table's type code (0 none, 1 partial, 2/4 annular,
// 3/5 total, 6 hybrid).
char TypeLetterOfCode(const string& code) {
  static const char LETTERS[] = "-PATATH";
  const int c = code.empty() ? 0 : std::stoi(code);
  return c >= 0 && c <= 6 ? LETTERS[c] : '?';
}

double Num(const string& s) {
  EXPECT_FALSE(s.empty());
  const double v = s.empty() ? NAN : std::stod(s);
  EXPECT_TRUE(std::isfinite(v)) << s;
  return v;
}

void ExpectNear(double got, double want, double tol, const string& what) {
  EXPECT_LE(std::fabs(got - want), tol) << what << ": want " << want << ", got " << got;
}
}  // namespace

// Every member of three series in 1000 .. 2500 that the fixture holds: the
// appended columns against the canon's row.
TEST(CliCircumstances, ColumnsOfSeriesMembersAgreeWithTheCanon) {
  int central = 0, limb = 0, canon_letters = 0, code_letters = 0;
  for (const char* date : {"2009-07-22", "2017-02-26", "2012-11-13"}) {
    const Result r = Cli(string("--date ") + date +
                         " --lunar elp2000 --delta-t espenak-meeus-2006 --format csv");
    ASSERT_EQ(r.code, 0) << date;
    const Csv csv(r.out);
    for (const auto& row : csv.rows) {
      const string iso = row[csv.Col("date")];
      const int year = std::stoi(iso.substr(0, iso.find('-', 1)));
      const auto canon = CanonRows().find(CanonDate(iso));
      if (year < 1000 || year > 2500 || canon == CanonRows().end()) continue;
      const auto c = Split(canon->second);
      const string id = canon->second;
      const string type = c[6];
      auto get = [&](const char* name) { return row[csv.Col(name)]; };
      // The canon's letter, whatever the table's type code says (the
      // hybrids of Saros 133 and 140 that CalcEclipse calls total).
      EXPECT_EQ(get("canon_type"), type.substr(0, 1)) << id << " type code " << get("type_code");
      canon_letters += get("canon_type") == type.substr(0, 1);
      code_letters += TypeLetterOfCode(get("type_code")) == type[0];
      ExpectNear(Num(get("delta_t_s")), std::stod(c[3]), DELTA_T_TOL_S, id + " delta T");
      EXPECT_EQ(get("lunation"), c[4]) << id;
      const double lat = Num(get("lat_deg")), lon = Num(get("lon_deg"));
      const bool centralRow = type[0] != 'P' && type.find_first_of("+-") == string::npos;
      if (centralRow) {
        ++central;
        ExpectNear(Num(get("magnitude")), std::stod(c[8]), MAG_TOL, id + " magnitude");
        ExpectNear(lat, SignedAngle(c[9]), POS_TOL_DEG, id + " latitude");
        ExpectNear(std::remainder(lon - SignedAngle(c[10]), 360.0), 0, POS_TOL_DEG, id + " longitude");
        ExpectNear(Num(get("sun_alt_ge_deg")), std::stod(c[11]), ALT_TOL_DEG, id + " altitude");
        ExpectNear(Num(get("central_duration_s")), Seconds(c[14]),
                   std::fmax(DURATION_TOL_S, DURATION_TOL_REL * Seconds(c[14])), id + " duration");
        if (c[13] == "-") {
          EXPECT_EQ(get("path_width_km"), "") << id;
        } else {
          const double w = std::stod(c[13]);
          ExpectNear(Num(get("path_width_km")), w, std::fmax(WIDTH_TOL_KM, WIDTH_TOL_REL * w),
                     id + " width");
        }
      } else {
        ++limb;
        ExpectNear(Num(get("magnitude")), std::stod(c[8]), LIMB_MAG_TOL, id + " magnitude");
        const double clat = SignedAngle(c[9]), clon = SignedAngle(c[10]);
        const double cosArc = std::sin(lat * RAD) * std::sin(clat * RAD) +
                              std::cos(lat * RAD) * std::cos(clat * RAD) * std::cos((lon - clon) * RAD);
        ExpectNear(std::acos(std::fmin(1.0, cosArc)) / RAD, 0, LIMB_POS_TOL_DEG, id + " position");
        // No central path: no width and no duration.
        EXPECT_EQ(get("path_width_km"), "") << id;
        EXPECT_EQ(get("central_duration_s"), "") << id;
      }
    }
  }
  // Saros 133, 136 and 140 give 3 dozen central and a dozen partial members.
  EXPECT_GE(central, 30);
  EXPECT_GE(limb, 10);
  EXPECT_GT(canon_letters, code_letters);  // the type code misses some hybrids
}

// JSON carries the same values as CSV, null where CSV leaves a field empty,
// and names the Delta T model.
TEST(CliCircumstances, JsonHasTheCsvValuesAndNulls) {
  const string args = "--date 2017-02-26 --lunar elp2000 --delta-t espenak-meeus-2006 --format ";
  const Result csvRun = Cli(args + "csv"), json = Cli(args + "json");
  ASSERT_EQ(csvRun.code, 0);
  ASSERT_EQ(json.code, 0);
  EXPECT_NE(json.out.find("\"delta_t_model\": \"espenak-meeus-2006\""), string::npos);
  EXPECT_EQ(json.out.find("NaN"), string::npos);
  const Csv csv(csvRun.out);
  const auto lines = Lines(json.out);
  std::size_t member = 0;
  for (const string& l : lines) {
    if (l.find("{\"no\": ") == string::npos) continue;
    ASSERT_LT(member, csv.rows.size());
    const auto& row = csv.rows[member++];
    for (const char* name : {"magnitude", "lat_deg", "lon_deg", "sun_alt_ge_deg", "sun_azi_deg",
                             "path_width_km", "central_duration_s", "delta_t_s", "lunation"}) {
      const string v = row[csv.Col(name)];
      const string want = "\"" + string(name) + "\": " + (v.empty() ? "null" : v);
      EXPECT_TRUE(l.find(want + ",") != string::npos || l.find(want + "}") != string::npos)
          << want << " in " << l;
    }
    const string letter = row[csv.Col("canon_type")];
    EXPECT_NE(l.find("\"canon_type\": " + (letter.empty() ? string("null") : "\"" + letter + "\"")),
              string::npos) << l;
  }
  EXPECT_EQ(member, csv.rows.size());
}

// --delta-t: the program's own Delta T by default; the canon's on request,
// which moves every longitude by the Earth's turn in the difference and
// nothing else.  At -1999 the two differ by minutes (the canon's lunar
// acceleration correction).
TEST(CliCircumstances, DeltaTModelSwitch) {
  const string args = "--date -1999-06-12 --lunar elp2000 --format csv";
  const Result byDefault = Cli(args), own = Cli(args + " --delta-t nodalis"),
               canon = Cli(args + " --delta-t espenak-meeus-2006");
  ASSERT_EQ(own.code, 0);
  ASSERT_EQ(canon.code, 0);
  EXPECT_EQ(byDefault.out, own.out);
  const Csv a(own.out), b(canon.out);
  ASSERT_EQ(a.rows.size(), b.rows.size());
  ASSERT_GT(a.rows.size(), 50u);
  double largest = 0;
  int inFixture = 0;
  for (std::size_t i = 0; i < a.rows.size(); ++i) {
    const auto &x = a.rows[i], &y = b.rows[i];
    if (x[a.Col("magnitude")].empty()) continue;
    const double dt = Num(y[b.Col("delta_t_s")]) - Num(x[a.Col("delta_t_s")]);
    largest = std::fmax(largest, std::fabs(dt));
    const double dlon = std::remainder(Num(y[b.Col("lon_deg")]) - Num(x[a.Col("lon_deg")]), 360.0);
    ExpectNear(dlon, dt * SIDEREAL_DEG_PER_S, LON_ROUNDING_DEG, x[a.Col("date")] + " longitude");
    for (const char* same : {"magnitude", "lat_deg", "sun_alt_ge_deg", "jd_tdt", "lunation"})
      EXPECT_EQ(x[a.Col(same)], y[b.Col(same)]) << x[a.Col("date")] << " " << same;
    const auto row = CanonRows().find(CanonDate(y[b.Col("date")]));
    if (row != CanonRows().end()) {
      ++inFixture;
      ExpectNear(Num(y[b.Col("delta_t_s")]), std::stod(Split(row->second)[3]), DELTA_T_TOL_S,
                 row->second);
    }
  }
  EXPECT_GT(largest, 100.0);  // -0.000012932 (y - 1955)^2 s is 202 s at -1999
  EXPECT_EQ(inFixture, 33);  // the members of Saros 5 from -1999 on
}

// The catalogue of 2012 is the canon's, byte for byte after the catalogue
// number (ours counts from the span's first eclipse) but for the time, which
// both round to the second: the canon's own elements put 2012 May 20 at
// 23:53:53.6 (printed 54), ours at 23:53:53.3.
TEST(CliCatalog, OneYearAsTheCanonByteForByte) {
  const Result r = Cli("--catalog 2012 2012 --lunar elp2000 --delta-t espenak-meeus-2006");
  ASSERT_EQ(r.code, 0);
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 3u) << r.out;
  EXPECT_EQ(lines[0], CATALOG_HEADER);
  const char* const dates[] = {"2012 May 20", "2012 November 13"};
  for (std::size_t i = 0; i < 2; ++i) {
    const string& want = CanonRows().at(dates[i]);
    EXPECT_EQ(lines[i + 1].substr(0, 6), "0000" + std::to_string(i + 1) + ",");
    auto o = Split(lines[i + 1]);
    auto c = Split(want);
    int h1, m1, s1, h2, m2, s2;
    ASSERT_EQ(std::sscanf(o[2].c_str(), "%d:%d:%d", &h1, &m1, &s1), 3);
    ASSERT_EQ(std::sscanf(c[2].c_str(), "%d:%d:%d", &h2, &m2, &s2), 3);
    ExpectNear((h1 - h2) * 3600 + (m1 - m2) * 60 + (s1 - s2), 0, 1.0, want + " time");
    o[0] = c[0] = o[2] = c[2] = "";
    EXPECT_EQ(o, c) << "want " << want << ", got " << lines[i + 1];
  }
}

// From the canon's first year our numbers are the canon's; the columns that
// do not depend on the lunar theory's last seconds agree exactly.  "auto"
// takes ELP2000 for a span reaching outside DE404's years; --saros keeps one
// series and numbers its rows.
TEST(CliCatalog, SpanFromTheCanonsStart) {
  constexpr double TIME_TOL_S = 11;  // before JD 1 000 000: the Sun's longitude correction
  const string span = "--catalog -1999 -1981 --delta-t espenak-meeus-2006";
  const Result elp = Cli(span + " --lunar elp2000"), autoRun = Cli(span),
               one = Cli(span + " --saros 5");
  ASSERT_EQ(elp.code, 0);
  EXPECT_EQ(autoRun.out, elp.out);
  std::map<string, std::vector<string>> ours;
  for (const string& l : Lines(elp.out)) ours[Split(l)[1]] = Split(l);
  int compared = 0;
  for (const auto& [date, line] : CanonRows()) {
    const auto c = Split(line);
    if (std::stoi(date) > -1981) continue;
    ASSERT_TRUE(ours.count(date)) << line;
    const auto& o = ours[date];
    ++compared;
    // Number, date, Delta T, lunation, Saros, type, magnitude, altitude,
    // azimuth, duration.
    for (int col : {0, 1, 3, 4, 5, 6, 8, 11, 12, 14})
      EXPECT_EQ(o[col], c[col]) << "column " << col << " of " << line;
    ExpectNear(std::stod(o[13]), std::stod(c[13]), WIDTH_TOL_KM, line + " width");
    int h1, m1, s1, h2, m2, s2;
    ASSERT_EQ(std::sscanf(o[2].c_str(), "%d:%d:%d", &h1, &m1, &s1), 3);
    ASSERT_EQ(std::sscanf(c[2].c_str(), "%d:%d:%d", &h2, &m2, &s2), 3);
    ExpectNear((h1 - h2) * 3600 + (m1 - m2) * 60 + (s1 - s2), 0, TIME_TOL_S, line + " time");
  }
  EXPECT_EQ(compared, 2);
  const auto saros5 = Lines(one.out);
  ASSERT_EQ(saros5.size(), 3u) << one.out;
  EXPECT_EQ(saros5[1].substr(0, 6), "00001,");
  EXPECT_EQ(saros5[2], "00002" + Lines(elp.out)[44].substr(5));
}

TEST(CliCatalog, BadInputExitsTwoBeforeAnyWork) {
  struct Case {
    const char* args;
    const char* message;
  };
  const Case cases[] = {
      {"--catalog 3000 -1999", "das Jahr VON liegt nach dem Jahr BIS"},
      {"--catalog -10188 0", "au\xC3\x9F" "erhalb des unterst\xC3\xBCtzten Bereichs (-10187 bis 17190)"},
      {"--catalog 0 17191", "(-10187 bis 17190)"},
      {"--catalog -99999999999 0", "zwei ganze Jahreszahlen"},
      {"--catalog 2000 x", "zwei ganze Jahreszahlen"},
      {"--catalog 1999.5 2000", "zwei ganze Jahreszahlen"},
      {"--catalog 2000", "--catalog erwartet VON BIS"},
      {"--catalog=2000", "--catalog erwartet VON BIS"},
      {"--catalog 2000 2001 --catalog 2000 2001", "nur einmal"},
      {"--catalog 2000 2001 --next", "nicht mit Befehlen"},
      {"--catalog 2000 2001 --jd 2451545", "nicht mit Befehlen"},
      {"--catalog 2000 2001 --format csv", "nur mit --lunar, --delta-t, --place und --saros N"},
      {"--catalog 2000 2001 --reference 2451545", "nur mit --lunar"},
      {"--catalog 2000 2001 --diagram x.png", "nur mit --lunar"},
      {"--catalog 2000 2001 --delta-t canon", "--delta-t erwartet nodalis oder espenak-meeus-2006"},
      {"--delta-t espenak-meeus-2006", "nur mit --format csv, --format json, --elements, --paths, --map, --place oder --catalog"},
  };
  for (const Case& c : cases) {
    const Result both = Cli(c.args, true), out = Cli(c.args);
    EXPECT_EQ(both.code, 2) << c.args;
    EXPECT_NE(both.out.find(string("nodalis-cli: ")), string::npos) << c.args;
    EXPECT_NE(both.out.find(c.message), string::npos) << c.args << ": " << both.out;
    EXPECT_EQ(out.out, "") << c.args;  // nothing computed, nothing written
  }
  // The first and last supported years are accepted.
  for (const char* args : {"--catalog -10187 -10187", "--catalog 17190 17190"}) {
    const Result r = Cli(args);
    EXPECT_EQ(r.code, 0) << args;
    EXPECT_EQ(Lines(r.out).size(), 3u) << r.out;
  }
}

// The progress line appears on a terminal only: a run of several seconds
// on a pipe writes nothing to the standard error; on a pseudo-terminal it
// redraws a percentage and clears the line at the end.
TEST(CliCatalog, ProgressOnATerminalOnly) {
  const string args = "--catalog 0 3000 --lunar elp2000";
  const Result piped = Cli(args, true, "/dev/null");  // stderr into the pipe
  EXPECT_EQ(piped.code, 0);
  EXPECT_EQ(piped.out, "");

  const Result r = CliOnTerminal({"--catalog", "0", "3000", "--lunar", "elp2000"});
  const string& terminal = r.out;
  EXPECT_EQ(r.code, 0) << terminal;
  EXPECT_NE(terminal.find("\rKatalog 0 bis 3000: "), string::npos) << terminal;
  EXPECT_NE(terminal.find(" %"), string::npos) << terminal;
  ASSERT_FALSE(terminal.empty());
  EXPECT_EQ(terminal.back(), '\r') << terminal;  // the line cleared
}
