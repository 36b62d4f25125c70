// nodalis-cli end to end: the table, CSV and JSON of a series, the commands
// that mirror the main window, and its answers to bad arguments.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/app/cli_run.h"

using std::string;

using cli_test::Cli;
using cli_test::Lines;
using cli_test::Result;

TEST(Cli, TableOfTheSeriesOfADate) {
  const Result r = Cli("--date 2017-08-21 --lunar de404");
  ASSERT_EQ(r.code, 0) << r.out;
  const auto lines = Lines(r.out);
  ASSERT_GT(lines.size(), 80u);
  EXPECT_EQ(lines[0].rfind("Saros 145 (145. Saros, Ära M)  77 Neumonde", 0), 0u) << lines[0];
  EXPECT_EQ(lines[2], "Datenbasis: VSOP87 + DE404");
  EXPECT_EQ(lines[5], "No     Datum       TDT     Gamma  D[km] Elev");
  bool current = false;
  for (const auto& l : lines)
    if (l.find("21.08.2017") != string::npos && l.find("(aktuelle Finsternis)") != string::npos)
      current = l.find("totale Finsternis") != string::npos;
  EXPECT_TRUE(current) << r.out;
  EXPECT_EQ(lines.back(), "Erstellt am 21.08.2017 mit Nodalis Beta V. 05.02.2010");
}

TEST(Cli, CsvAndJson) {
  Result r = Cli("--jd 2460408.5 --format csv");
  ASSERT_EQ(r.code, 0) << r.out;
  auto lines = Lines(r.out);
  ASSERT_GT(lines.size(), 60u);
  // The table's columns first, as always; the circumstances appended, and
  // after them the canon's type letter.
  EXPECT_EQ(lines[0],
            "no,jd_tdt,date,time_tdt,gamma,umbra_km,sun_alt_deg,type_code,type,saros,marker,"
            "magnitude,lat_deg,lon_deg,sun_alt_ge_deg,sun_azi_deg,path_width_km,"
            "central_duration_s,delta_t_s,lunation,canon_type");
  int aktuelle = 0;
  for (const auto& l : lines) {
    if (l.find(",2024-04-08,") != string::npos) {
      EXPECT_NE(l.find(",5,totale Finsternis,139,aktuelle"), string::npos) << l;
      EXPECT_EQ(l.back(), 'T') << l;
      ++aktuelle;
    }
    EXPECT_EQ(std::count(l.begin(), l.end(), ','), 20) << l;
  }
  EXPECT_EQ(aktuelle, 1);
  // Partial members have no Sun altitude.
  EXPECT_NE(lines[1].find(",,1,partielle Finsternis,139,"), string::npos) << lines[1];

  r = Cli("--jd 2460408.5 --format json");
  ASSERT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("\"saros\": 139"), string::npos);
  EXPECT_NE(r.out.find("\"title_lines\": ["), string::npos);
  EXPECT_NE(r.out.find("\"marker\": \"aktuelle\""), string::npos);
  EXPECT_EQ(r.out.find("NaN"), string::npos);
}

TEST(Cli, SarosNextPrevAndReference) {
  Result r = Cli("--date 2017-08-21 --saros 146 --format csv");
  ASSERT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find(",146,"), string::npos);
  r = Cli("--date 2017-08-21 --next --format csv");
  ASSERT_EQ(r.code, 0);
  // The eclipse after 2017 Aug 21 is 2018 Feb 15 (Saros 150), marked current.
  EXPECT_NE(r.out.find(",2018-02-15,"), string::npos);
  EXPECT_NE(r.out.find(",150,aktuelle"), string::npos);
  r = Cli("--date 2017-08-21 --prev --format csv");
  ASSERT_EQ(r.code, 0);
  EXPECT_NE(r.out.find(",2017-02-26,"), string::npos);
  // From the partial eclipse of 2029 Jun 12 (Saros 118, 04:06 TD in the
  // canon; the date 42 minutes after it) "+1" goes to the next one,
  // 2029 Jul 11 15:37:19 TD, Saros 156 (NASA canon, solar.csv), not to an
  // eclipse of 785 in Saros 85 from where the builder began Saros 118.
  r = Cli("--date 2462299.7 --next --format csv");
  ASSERT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find(",2029-07-11,15:37:1"), string::npos) << r.out;
  EXPECT_NE(r.out.find(",1,partielle Finsternis,156,aktuelle"), string::npos) << r.out;
  r = Cli("--date 2462299.7 --next --prev --format csv");
  ASSERT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find(",2029-06-12,04:0"), string::npos) << r.out;
  EXPECT_NE(r.out.find(",1,partielle Finsternis,118,aktuelle"), string::npos) << r.out;
  r = Cli("--date 2017-08-21 --reference 2457987.27 --format csv");
  EXPECT_NE(r.out.find("2017-08-21,18:26"), string::npos);
}

// Each option is a way through the main window, run in the order given
// from the window's start (the clock set with --now where it matters).
TEST(Cli, OptionsFollowTheMainWindowsPaths) {
  // "nodalis 2451600.0": the number is the reference; the eclipses around
  // 2000 Feb 25 in Saros 117 are marked, the last line names that date.
  Result r = Cli("--jd 2451600.0");
  ASSERT_EQ(r.code, 0) << r.out;
  auto lines = Lines(r.out);
  EXPECT_EQ(lines.back(), "Erstellt am 25.02.2000 mit Nodalis Beta V. 05.02.2010");
  EXPECT_NE(r.out.find("21.06.1982  12h05m    -1.210   205  --  partielle Finsternis (letzte Finsternis)"),
            string::npos) << r.out;
  EXPECT_NE(r.out.find("01.07.2000  19h34m    -1.282   206  --  partielle Finsternis (n\xC3\xA4" "chste Finsternis)"),
            string::npos) << r.out;
  // The first "+1 Finsternis" after a start on 2026 Dec 9 steps from the
  // next eclipse's new moon (2027 Feb 6) to the total eclipse of 2027 Aug 2.
  r = Cli("--now 2461383.5 --next --format csv");
  ASSERT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find(",2027-08-02,10:0"), string::npos) << r.out;
  EXPECT_NE(r.out.find(",5,totale Finsternis,136,aktuelle"), string::npos) << r.out;
  // Without a command: "Gehe zu:" with the Saros field of the start, the
  // series of the next eclipse, with the clock's date in the last line.
  r = Cli("--now 2461383.5");
  ASSERT_EQ(r.code, 0) << r.out;
  lines = Lines(r.out);
  EXPECT_EQ(lines.front().rfind("Saros 131 ", 0), 0u) << lines.front();
  EXPECT_EQ(lines.back(), "Erstellt am 09.12.2026 mit Nodalis Beta V. 05.02.2010");
  // Saros steps there and back give the same table as the start.
  const Result there = Cli("--now 2461383.5 --saros-step 2 --saros-step -1 --saros-step -1");
  ASSERT_EQ(there.code, 0) << there.out;
  EXPECT_EQ(Lines(there.out).front(), lines.front());
}

TEST(Cli, BadArgumentsExitTwoAndUnreachableSarosExitsOne) {
  for (const char* args : {"--bogus", "--jd", "--jd abc", "--jd nan", "--jd inf", "--jd 1e15",
                           "--date 2017-13-01", "--date 2017-02-30", "--date 1582-10-10",
                           "--date x", "--saros 1.5", "--saros 99999999999", "--lunar moon",
                           "--format xml", "--jd 1 --date 2000-01-01", "--next=1",
                           "--jd +-1", "--saros +-5", "--reference +-2", "--dpi 300", "--tracks",
                           "--jd 999999", "--saros 100000", "--saros-step 0", "--saros-step 3",
                           "--date-ut 2017-02-29", "--now x"}) {
    const Result r = Cli(args, true);
    EXPECT_EQ(r.code, 2) << args << ": " << r.out;
    EXPECT_NE(r.out.find("nodalis-cli: "), string::npos) << args;
  }
  const Result r = Cli("--saros 9999", true);
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_NE(r.out.find("Saros9999 nicht gefunden"), string::npos) << r.out;
  // The range the search reaches, as the window's last line says it.
  EXPECT_NE(r.out.find("Saros9999 nicht gefunden\nnodalis-cli: Erreichbar sind Serien zwischen JD"),
            string::npos) << r.out;
  const Result c = Cli("--canon /nonexistent/canon.txt", true);
  EXPECT_EQ(c.code, 1);
  EXPECT_NE(c.out.find("Canon-Datei"), string::npos);
}

TEST(Cli, ClearMessagesForRangeOutputAndOptionsWithoutDiagram) {
  // A well-formed date outside the supported range gets the range message.
  Result r = Cli("--date -20000-01-01", true);
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.out.find("au\xC3\x9F" "erhalb des unterst\xC3\xBCtzten Bereichs"), string::npos)
      << r.out;
  r = Cli("--dpi 600", true);
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.out.find("nur mit --diagram"), string::npos) << r.out;
  // Output that cannot be written is an error with a message.
  if (std::filesystem::exists("/dev/full")) {
    r = Cli("--jd 2460408.5 --format csv", true, "/dev/full");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("Ausgabe konnte nicht geschrieben werden"), string::npos) << r.out;
  }
}

TEST(Cli, CanonFileNamesAreBytesAndFifosAreRefused) {
  namespace fs = std::filesystem;
  const fs::path dir =
      fs::temp_directory_path() / ("nodalis-cli-canon-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  // A UTF-8 name is opened as given and shown in "Datenbasis:" as it is.
  const string name = "c\xC3\xA4non.txt";
  fs::copy_file(NODALIS_TEST_DATA_DIR "/canon_saros_145_136.txt", dir / name);
  Result r = Cli("--canon '" + (dir / name).string() + "' --date 2017-08-21");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("Datenbasis: " + name + "\n"), string::npos) << r.out;
  // A FIFO without a writer: refused at once instead of a blocking open().
  const fs::path fifo = dir / "fifo.txt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  r = Cli("--canon '" + fifo.string() + "' --date 2017-08-21", true);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find("nicht gefunden oder nicht lesbar"), string::npos) << r.out;
  fs::remove_all(dir);
}
