// Canon reader: the eleven-field lines, header skipping, canon members and
// gap filling, and files that are missing, empty, binary or absurd.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/core/CanonReader.h"
#include "app/core/MemberLine.h"
#include "app/core/SeriesState.h"
#include "app/core/SeriesTable.h"
#include "app/base/Utils.h"

using namespace nodalis;
namespace fs = std::filesystem;

namespace {
const std::string FIXTURE = NODALIS_TEST_DATA_DIR "/canon_saros_145_136.txt";
constexpr long double AUG_2017_JD = 2457987.268519L;  // Saros 145

std::string TempFile(const std::string& name, const std::string& content) {
  const fs::path p = fs::temp_directory_path() / ("nodalis_canon_test_" + name);
  std::ofstream(p, std::ios::binary) << content;
  return p.string();
}

// The fixture's lines of Saros 145 (data lines only).
std::vector<std::string> Saros145Lines() {
  std::vector<std::string> out;
  std::ifstream f(FIXTURE);
  std::string line;
  while (std::getline(f, line)) {
    CanonLine c;
    if (ParseCanonLine(line, c) && c.Saros == 145) out.push_back(line);
  }
  return out;
}
}  // namespace

TEST(CanonLine, TypeCodesAndFields) {
  EXPECT_EQ(CanonTypeToCode(1, 0), 1);
  EXPECT_EQ(CanonTypeToCode(1, 1), 1);
  EXPECT_EQ(CanonTypeToCode(2, 0), 3);
  EXPECT_EQ(CanonTypeToCode(2, 7), 5);
  EXPECT_EQ(CanonTypeToCode(3, 0), 2);
  EXPECT_EQ(CanonTypeToCode(3, 1), 4);
  EXPECT_EQ(CanonTypeToCode(4, 0), 6);
  EXPECT_EQ(CanonTypeToCode(9, 1), 0);
  EXPECT_EQ(EclipseText("Finsternis", CanonTypeToCode(2, 0)), "nichtzentrale totale Finsternis");

  CanonLine c;
  ASSERT_TRUE(ParseCanonLine("2017 8 21 2 1 1.0306 0.4367 145 9546 218 2457987.268519 rest", c));
  EXPECT_EQ(c.Year, 2017);
  EXPECT_EQ(c.Saros, 145);
  EXPECT_FLOAT_EQ(c.Gamma, 0.4367f);
  EXPECT_EQ(c.JD, 2457987.268519L);
  ASSERT_TRUE(ParseCanonLine("2017\t8\t21\t2\t1\t1\t0.4\t145\t1\t1\t2457987.2\r", c));
  const char* bad[] = {"# year month day", "", "2017 8 21 2 1 1.0 0.4 145 1 1",  // ten
                       "2017 8 21 2 1 1.0 0.4 145.5 1 1 2457987.2",              // real saros
                       "2017 8 21 2 1 1.0 0.4 145 1 1 1e15",                     // absurd JD
                       "2017 8 21 2 1 1.0 nan 145 1 1 2457987.2",
                       "99999999999 8 21 2 1 1.0 0.4 145 1 1 2457987.2"};
  for (const char* line : bad) {
    EXPECT_FALSE(ParseCanonLine(line, c)) << line;
    EXPECT_EQ(c.JD, 1.0L);
    EXPECT_EQ(c.Year, 1);
  }
  EXPECT_FALSE(ParseCanonLine(std::string(MAX_CANON_LINE_BYTES + 1, '1'), c));
}

TEST(CanonSeries, FixtureGivesTheCanonMembersOfTheSeries) {
  CanonPath = FIXTURE;
  UseLunarLib = true;
  EkliptikalNordChecked = false;
  std::vector<std::string> list, progress;
  std::string msg;
  ASSERT_TRUE(BuildSeriesFromCanon(list, AUG_2017_JD, &msg,
                                   [&](const std::string& s) { progress.push_back(s); }))
      << msg;
  const auto want = Saros145Lines();
  ASSERT_EQ(list.size(), want.size() + 2);
  EXPECT_EQ(progress.size(), want.size());
  EXPECT_NE(list.front().find(" Start +(145. Saros, \xC4ra M)"), std::string::npos);
  // Start line: the first data line (the coverage marker); end line: the last line.
  EXPECT_EQ(list.front().rfind("2217962.747269 Start", 0), 0u) << list.front();
  for (std::size_t i = 0; i < want.size(); ++i) {
    CanonLine c;
    ParseCanonLine(want[i], c);
    BesselRec r;
    ParseMemberLine(list[i + 1], r);
    EXPECT_NEAR(static_cast<double>(r.JDMax - c.JD), 0.0, 1e-6);
    EXPECT_NEAR(r.Gamma, c.Gamma, 5e-4);
    EXPECT_EQ(r.EclType, CanonTypeToCode(c.Kind, c.Central));
    // x, y scaled so that their distance matches the canon's gamma.
    EXPECT_NEAR(std::hypot(r.X, r.Y), std::fabs(c.Gamma), 2e-3) << list[i + 1];
  }
}

TEST(CanonSeries, HeaderSkippingAndGapFilling) {
  const auto lines = Saros145Lines();
  ASSERT_GT(lines.size(), 40u);
  // Header text, a first data line (never a member, even of series 145),
  // then members 30, 32 (one missing) and 35 (two missing).
  const std::string content = "Solar canon\nyear month day ...\n" + lines[29] + "\n" +
                              lines[30] + "\n" + lines[32] + "\n" + lines[35] + "\n";
  CanonPath = TempFile("gaps.txt", content);
  std::vector<std::string> list;
  ASSERT_TRUE(BuildSeriesFromCanon(list, AUG_2017_JD));
  ASSERT_EQ(list.size(), 2u + 3 + 1 + 2) << "3 canon members, 1 + 2 filled";
  std::vector<std::string> memo;
  WriteSeriesTable(list, memo, TableSource{true, true, "gaps.txt"});
  int interpolated = 0;
  for (const auto& l : memo)
    if (l.find("keine Finsternis (interpoliert)") != std::string::npos) ++interpolated;
  EXPECT_EQ(interpolated, 3);
  BesselRec filled, next;
  ParseMemberLine(list[2], filled);
  ParseMemberLine(list[3], next);
  EXPECT_EQ(filled.EclType, 0);
  EXPECT_NEAR(static_cast<double>(next.JDMax - filled.JDMax), 6585.32, 0.5);
  fs::remove(CanonPath);
}

TEST(CanonSeries, UnusableFilesGiveAMessageAndKeepTheList) {
  const std::vector<std::string> before{"1 Start", "x", "2 Ende"};
  std::string huge(3 * 1024 * 1024, 'x');
  huge += "\n";
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>(i * 37 % 256);
  const std::pair<const char*, std::string> files[] = {
      {"empty", ""},
      {"binary", binary},
      {"overlong", huge},
      {"absurd", "1 1 1 2 1 0 1e4000 145 0 0 1e300\n-5 13 99 9 9 9 9 9 9 9 -1e9\n"},
      {"text", "nur Text\nohne Zahlen\n"}};
  for (const auto& [name, content] : files) {
    CanonPath = TempFile(name, content);
    std::vector<std::string> list = before;
    std::string msg;
    EXPECT_FALSE(BuildSeriesFromCanon(list, AUG_2017_JD, &msg)) << name;
    EXPECT_EQ(list, before) << name;
    EXPECT_NE(msg.find("Canon-Datei"), std::string::npos) << name << ": " << msg;
    fs::remove(CanonPath);
  }
  // An endless stream and a directory.
  for (const char* path : {"/dev/zero", "/"}) {
    if (!fs::exists(path)) continue;
    CanonPath = path;
    std::vector<std::string> l = before;
    std::string m;
    EXPECT_FALSE(BuildSeriesFromCanon(l, AUG_2017_JD, &m)) << path;
    EXPECT_EQ(l, before);
    EXPECT_NE(m.find("Canon-Datei"), std::string::npos) << m;
  }
  CanonPath = "/nonexistent/NewSolarCanon.txt";
  std::vector<std::string> list = before;
  std::string msg;
  EXPECT_FALSE(BuildSeriesFromCanon(list, AUG_2017_JD, &msg));
  EXPECT_EQ(list, before);
  EXPECT_NE(msg.find("nicht gefunden"), std::string::npos);
}

// Lines after the data's first line that are no data line are counted
// (blank lines and "#" comments are not), and a file without a usable line
// of the series gives no series but a message: the table would otherwise
// read "Saros 0 ... 0 Neumonde".
TEST(CanonSeries, LinesPassedOverAreCountedAndAnEmptySeriesIsRefused) {
  const auto lines = Saros145Lines();
  ASSERT_GT(lines.size(), 40u);
  const std::string content = "Header\n" + lines[0] + "\n" + lines[10] + "\n" +
                              "2017 8 21 2 1 1.0 nan 145 1 1 2457987.2\n" + "\n \t\n# comment\n" +
                              std::string(MAX_CANON_LINE_BYTES + 10, '5') + "\n" + lines[11] + "\n" +
                              "\x01\x02\x03\n";
  CanonPath = TempFile("skipped.txt", content);
  CanonSeriesLines s;
  std::string msg;
  ASSERT_TRUE(ReadCanonSeries(CanonPath, 145, AUG_2017_JD, s, msg)) << msg;
  EXPECT_EQ(s.Members.size(), 2u);
  EXPECT_EQ(s.Skipped, 3);
  EXPECT_EQ(SkippedLinesText(1), "1 Zeile \xFC" "bergangen");
  EXPECT_EQ(SkippedLinesText(3), "3 Zeilen \xFC" "bergangen");
  std::vector<std::string> list;
  int skipped = -1;
  ASSERT_TRUE(BuildSeriesFromCanon(list, AUG_2017_JD, &msg, {}, &skipped));
  EXPECT_EQ(skipped, 3);
  std::vector<std::string> memo;
  WriteSeriesTable(list, memo, TableSource{true, true, "skipped.txt", skipped});
  EXPECT_EQ(memo.at(2), "Datenbasis: skipped.txt (3 Zeilen \xFC" "bergangen)");
  // Every line of the series unusable: refused, the list kept.
  std::string broken = "Header\n" + lines[0] + "\n";
  for (std::size_t i = 1; i < lines.size(); ++i) {
    CanonLine c;
    ParseCanonLine(lines[i], c);
    broken += "2017 8 21 2 1 1.0 nan 145 1 1 " + std::to_string(double(c.JD)) + "\n";
  }
  fs::remove(CanonPath);
  CanonPath = TempFile("broken.txt", broken);
  const std::vector<std::string> before{"1 Start", "x", "2 Ende"};
  list = before;
  EXPECT_FALSE(BuildSeriesFromCanon(list, AUG_2017_JD, &msg));
  EXPECT_EQ(list, before);
  EXPECT_EQ(msg, "Die Canon-Datei nodalis_canon_test_broken.txt enth\xE4lt keine Finsternis der Saros 145 (" +
                     std::to_string(lines.size() - 1) + " Zeilen \xFC" "bergangen)");
  fs::remove(CanonPath);
}
