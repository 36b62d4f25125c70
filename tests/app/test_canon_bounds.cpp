// Canon reader bounds: crafted and hostile canon files end at once with a
// message naming the problem, and the series on screen stays as it was.
// Registered with a generous ctest time-out (the work is bounded; the
// figures are in bench_core); a reader that computes a fill member per
// line, or waits on a FIFO, runs into it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "astro/Astrcalc.h"
#include "app/core/CanonReader.h"
#include "app/base/SafeFile.h"
#include "app/core/SeriesState.h"

using namespace nodalis;
namespace fs = std::filesystem;

namespace {
constexpr long double AUG_2017_JD = 2457987.268519L;  // a member of Saros 145
// The canon's coverage marker: the first data line, never a member.
const std::string START = "2017 8 21 0 0 0.0 0.0 0 0 0 2457987.268519\n";

// A Saros 145 line at JD (the date fields are not checked after the start).
std::string Member(long double jd) {
  std::ostringstream s;
  s.precision(15);
  s << "2017 8 21 2 1 1.0306 0.4367 145 9546 218 " << jd << "\n";
  return s.str();
}

std::string Repeat(const std::string& text, int n) {
  std::string out;
  out.reserve(text.size() * n);
  for (int i = 0; i < n; ++i) out += text;
  return out;
}

class CanonBounds : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("nodalis-canon-bounds-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    UseLunarLib = true;
    EkliptikalNordChecked = false;
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};
}  // namespace

TEST_F(CanonBounds, HostileFilesAreRefusedAndTheListStays) {
  const long double S = SAROS_DAYS;
  std::string hundredOne;  // 101 members one Saros apart around 2017
  for (int k = -50; k <= 50; ++k) hundredOne += Member(AUG_2017_JD + k * S);
  struct Case {
    const char* name;
    std::string content;
    const char* message;  // part of the message (Windows-1252)
  } cases[] = {
      // 158 KB alternating far past and far future within one series: each
      // gap would be hundreds of computed fill members.
      {"alternating", START + Repeat(Member(-1990000.5L) + Member(7990000.5L), 1500),
       "weit au\xDF" "erhalb der Lebensdauer"},
      // 20 000 identical member lines: one computed eclipse each.
      {"identical", START + Repeat(Member(AUG_2017_JD), 20000), "doppelt oder nicht in zeitlicher"},
      {"backwards", START + Member(AUG_2017_JD) + Member(AUG_2017_JD - S), "nicht in zeitlicher"},
      // Two members 110 Saros apart (both within reach of the start): one
      // gap needs more fill members than any series has.
      {"long gap", START + Member(AUG_2017_JD - 55 * S) + Member(AUG_2017_JD + 55 * S),
       "L\xFC" "cke von mehr als 98 Saros-Perioden"},
      {"101 members", START + hundredOne, "mehr als 100 Finsternisse"},
  };
  const std::vector<std::string> before{"1 Start", "member", "2 Ende"};
  for (const Case& c : cases) {
    CanonPath = (dir_ / "canon.txt").string();
    std::ofstream(CanonPath, std::ios::binary) << c.content;
    std::vector<std::string> list = before;
    std::string msg;
    EXPECT_FALSE(BuildSeriesFromCanon(list, AUG_2017_JD, &msg)) << c.name;
    EXPECT_EQ(list, before) << c.name;
    EXPECT_NE(msg.find(c.message), std::string::npos) << c.name << ": " << msg;
    EXPECT_NE(msg.find("Zeile "), std::string::npos) << c.name << ": " << msg;
  }
  // The members of a real series are accepted: the 100 around 2017 (one
  // Saros apart, the bound itself) and a gap of a few Saros.
  std::ofstream(CanonPath, std::ios::binary)
      << START + hundredOne.substr(hundredOne.find('\n') + 1);
  std::vector<std::string> list;
  std::string msg;
  CanonSeriesLines lines;
  ASSERT_TRUE(ReadCanonSeries(CanonPath, 145, AUG_2017_JD, lines, msg)) << msg;
  EXPECT_EQ(lines.Members.size(), 100u);
}

TEST_F(CanonBounds, LargeFilesAndFifosAreNeverRead) {
  // A 100 MB file (sparse: no data to read) is refused by its size alone.
  const fs::path huge = dir_ / "huge.txt";
  std::ofstream(huge) << START;
  fs::resize_file(huge, 100u << 20);
  CanonPath = huge.string();
  std::vector<std::string> list{"x"};
  std::string msg;
  EXPECT_FALSE(BuildSeriesFromCanon(list, AUG_2017_JD, &msg));
  EXPECT_NE(msg.find("zu gro\xDF (mehr als 8 MB)"), std::string::npos) << msg;
  EXPECT_EQ(list, std::vector<std::string>{"x"});

  // A FIFO with no writer would block open() forever.
  const fs::path fifo = dir_ / "fifo.txt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  CanonPath = fifo.string();
  EXPECT_FALSE(BuildSeriesFromCanon(list, AUG_2017_JD, &msg));
  EXPECT_NE(msg.find("nicht gefunden oder nicht lesbar"), std::string::npos) << msg;
  EXPECT_FALSE(IsRegularFile(CanonPath)) << "the main window hides the Canon box";
}

TEST_F(CanonBounds, NonAsciiFileNamesAreKeptAsBytes) {
  // The file is opened by the bytes of its name; the name shown in
  // "Datenbasis:" and in messages is text (UTF-8 names converted).
  const std::string name = "c\xC3\xA4non \xF0\x9F\x98\x80.txt";  // "cänon 😀.txt"
  const fs::path path = dir_ / name;
  std::ofstream(path, std::ios::binary) << START << Member(AUG_2017_JD);
  CanonPath = path.string();
  std::vector<std::string> list;
  std::string msg;
  ASSERT_TRUE(BuildSeriesFromCanon(list, AUG_2017_JD, &msg)) << msg;
  EXPECT_EQ(list.size(), 3u);
  EXPECT_EQ(CanonFileName(), "c\xE4non ?.txt");
  // A name that is no UTF-8 is shown as Windows-1252 bytes.
  CanonPath = (dir_ / "c\xE4non.txt").string();
  EXPECT_EQ(CanonFileName(), "c\xE4non.txt");
  EXPECT_FALSE(BuildSeriesFromCanon(list, AUG_2017_JD, &msg));
  EXPECT_NE(msg.find("c\xE4non.txt"), std::string::npos) << msg;
}
