// nodalis-cli never reports a failure as success: a canon file without the
// series, canon lines passed over, a closed pipe and the file-size limit,
// file names beyond the file system's limits, a clock at the end of the
// supported dates, a number that names no series.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/app/cli_run.h"

using cli_test::Cli;
using cli_test::Result;
using std::string;
namespace fs = std::filesystem;

namespace {

const string FIXTURE = NODALIS_TEST_DATA_DIR "/canon_saros_145_136.txt";

class CliFailures : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("nodalis-cli-failures-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // The fixture's lines, each passed through Edit (which returns the line to
  // write, or "" to drop it).
  template <class F>
  string Canon(const string& name, F Edit) {
    std::ifstream in(FIXTURE);
    std::ofstream out(dir_ / name, std::ios::binary);
    for (string line; std::getline(in, line);) {
      const string l = Edit(line);
      if (!l.empty()) out << l << "\n";
    }
    return (dir_ / name).string();
  }
  // Runs a shell command line (bash) and returns its exit code and output.
  static Result Shell(const string& script) {
    const string cmd = "bash -c '" + script + "' 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    string out;
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int status = pclose(p);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
  }

  fs::path dir_;
};

bool IsSaros145(const string& line) {
  std::istringstream f(line);
  string field;
  for (int i = 0; i < 8 && (f >> field); ++i) {
  }
  return field == "145" && line[0] != '#';
}

// The seventh field (gamma) replaced.
string WithGamma(const string& line, const string& gamma) {
  std::istringstream f(line);
  string out, field;
  for (int i = 0; f >> field; ++i) out += (i ? " " : "") + (i == 6 ? gamma : field);
  return out;
}

}  // namespace

// Every line of Saros 145 with a gamma of "nan": no member, so no table, no
// diagram, exit code 1, and the message says why.
TEST_F(CliFailures, CanonWithoutAUsableLineOfTheSeriesIsAnError) {
  int lines145 = 0;
  const string canon = Canon("nan145.txt", [&](const string& l) {
    if (!IsSaros145(l)) return l;
    ++lines145;
    return WithGamma(l, "nan");
  });
  ASSERT_GT(lines145, 70);
  const fs::path diagram = dir_ / "d.png";
  for (const char* format : {"table", "csv", "json"}) {
    const Result r = Cli("--canon " + canon + " --saros 145 --format " + format + " --diagram " +
                             diagram.string(),
                         true);
    EXPECT_EQ(r.code, 1) << format << ": " << r.out;
    EXPECT_EQ(r.out, "nodalis-cli: Die Canon-Datei nan145.txt enth\xC3\xA4lt keine Finsternis der Saros 145 (" +
                         std::to_string(lines145) + " Zeilen \xC3\xBC" "bergangen)\n")
        << format;
    EXPECT_FALSE(fs::exists(diagram)) << format;
  }
}

// Lines passed over are counted and named: in "Datenbasis:" and on the
// standard error, for every format; blank lines and "#" comments are no
// lines passed over, and the table of the series is the same.
TEST_F(CliFailures, CanonLinesPassedOverAreCountedAndNamed) {
  bool once = false;
  const string canon = Canon("skips.txt", [&](const string& l) {
    if (!IsSaros145(l) || once) return l;
    once = true;
    return l + "\n1 2 3 x y z\n\xFF\xFE\x01\x02 binary\n" + string(5000, '7') +
           "\n\n   \n# a comment\n" + WithGamma(l, "inf");
  });
  const Result clean = Cli("--canon " + FIXTURE + " --saros 145 --reference 2460000.5");
  ASSERT_EQ(clean.code, 0);
  const Result r = Cli("--canon " + canon + " --saros 145 --reference 2460000.5");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("\nDatenbasis: skips.txt (4 Zeilen \xC3\xBC" "bergangen)\n"), string::npos) << r.out;
  string want = clean.out;
  const string basis = "Datenbasis: canon_saros_145_136.txt";
  want.replace(want.find(basis), basis.size(), "Datenbasis: skips.txt (4 Zeilen \xC3\xBC" "bergangen)");
  EXPECT_EQ(r.out, want);
  for (const char* format : {"table", "csv", "json"}) {
    const Result e = Shell("\"" + string(NODALIS_CLI_PATH) + "\" --canon " + canon +
                           " --saros 145 --format " + format + " >/dev/null");
    EXPECT_EQ(e.code, 0) << format;
    EXPECT_EQ(e.out, "nodalis-cli: Canon-Datei skips.txt: 4 Zeilen \xC3\xBC" "bergangen\n") << format;
  }
  // Only "/" separates folders: a backslash belongs to the file's name.
  fs::copy_file(FIXTURE, dir_ / "a\\b.txt");
  const Result b = Cli("--canon '" + (dir_ / "a\\b.txt").string() + "' --saros 145");
  EXPECT_EQ(b.code, 0);
  EXPECT_NE(b.out.find("\nDatenbasis: a\\b.txt\n"), string::npos) << b.out;
}

// A closed pipe ends the tool quietly with exit code 1 (as the manual
// says), not by SIGPIPE (141); the file-size limit gives a message and exit
// code 1, not SIGXFSZ (153).
TEST_F(CliFailures, ClosedPipeAndFileSizeLimitEndWithExitCodeOne) {
  const string cli = NODALIS_CLI_PATH;
  // The reader closes the pipe at once (as "| true" does when it has ended
  // before the tool writes); the tool writes after its computation.
  Result r = Shell("\"" + cli + "\" --catalog 1900 2100 | (exec <&-; sleep 1); echo status ${PIPESTATUS[0]}");
  EXPECT_EQ(r.out, "status 1\n");
  r = Shell("\"" + cli + "\" --saros 145 | (exec <&-; sleep 1); echo status ${PIPESTATUS[0]}");
  EXPECT_EQ(r.out, "status 1\n");
  const string out = (dir_ / "f").string();
  r = Shell("ulimit -f 2; \"" + cli + "\" --saros 139 > " + out + "; echo status $?");
  EXPECT_EQ(r.out,
            "nodalis-cli: Ausgabe konnte nicht geschrieben werden (Grenze der Dateigr\xC3\xB6\xC3\x9F"
            "e erreicht)\nstatus 1\n");
  r = Shell("ulimit -f 2; \"" + cli + "\" --saros 139 --diagram " + (dir_ / "d.png").string() +
            " > /dev/null; echo status $?");
  EXPECT_NE(r.out.find("status 1\n"), string::npos) << r.out;
  EXPECT_NE(r.out.find("nodalis-cli: "), string::npos) << r.out;
  EXPECT_FALSE(fs::exists(dir_ / "d.png"));
}

// A file name longer than the file system takes is refused with the other
// arguments (exit code 2, nothing computed, nothing printed), not after the
// table when the diagram is written.
TEST_F(CliFailures, DiagramNamesBeyondTheFileSystemsLimitsAreRefusedFirst) {
  const string base255 = string(251, 'n') + ".png", base256 = string(252, 'n') + ".png";
  Result r = Cli("--saros 145 --diagram " + (dir_ / base255).string());
  EXPECT_EQ(r.code, 0);
  EXPECT_TRUE(fs::exists(dir_ / base255));
  r = Cli("--saros 145 --diagram " + (dir_ / base256).string(), true);
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.out.rfind("nodalis-cli: Dateiname zu lang (h\xC3\xB6" "chstens 255 Bytes): ", 0), 0u) << r.out;
  string deep = dir_.string();
  while (deep.size() < 4100) deep += "/" + string(200, 'd');
  r = Cli("--saros 145 --diagram " + deep + "/x.png", true);
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.out.rfind("nodalis-cli: Pfad zu lang (h\xC3\xB6" "chstens 4095 Bytes): ", 0), 0u) << r.out;
}

// Two files asked for under one option, or one file under two: before,
// the tool ended with success having written only the last (the second
// --map replaced the first, the map the diagram of the same name).  And a
// link into a folder that does not exist.
TEST_F(CliFailures, OutputNamesThatWouldLoseAFileAreRefusedFirst) {
  const string a = (dir_ / "a.png").string(), b = (dir_ / "b.png").string();
  for (const string& opt : {string("--map"), string("--diagram")}) {
    const Result r = Cli("--saros 145 " + opt + " " + a + " " + opt + " " + b, true);
    EXPECT_EQ(r.code, 2) << opt;
    EXPECT_EQ(r.out.rfind("nodalis-cli: " + opt + " nur einmal (die Datei " + a, 0), 0u) << r.out;
  }
  Result r = Cli("--saros 145 --paths " + (dir_ / "a.geojson").string() + " --paths " +
                     (dir_ / "b.kml").string(), true);
  EXPECT_EQ(r.code, 2);
  fs::create_directories(dir_ / "sub");
  fs::create_directory_symlink(dir_ / "sub", dir_ / "link");
  for (const string& map : {a, (dir_ / "." / "a.png").string()}) {
    r = Cli("--saros 145 --diagram " + a + " --map " + map, true);
    EXPECT_EQ(r.code, 2) << map;
    EXPECT_NE(r.out.find("--diagram und --map nennen dieselbe Datei"), string::npos) << r.out;
  }
  r = Cli("--saros 145 --diagram " + (dir_ / "sub" / "c.png").string() + " --map " +
              (dir_ / "link" / "c.png").string(), true);
  EXPECT_EQ(r.code, 2) << r.out;
  EXPECT_TRUE(fs::is_empty(dir_ / "sub"));
  EXPECT_FALSE(fs::exists(a));
  EXPECT_FALSE(fs::exists(b));
  // A link to a file in a folder that does not exist: refused first too
  // (before, the table was computed and the write failed with exit code 1).
  fs::create_symlink(dir_ / "nowhere" / "m.png", dir_ / "dangling.png");
  r = Cli("--saros 145 --map " + (dir_ / "dangling.png").string(), true);
  EXPECT_EQ(r.code, 2) << r.out;
  EXPECT_NE(r.out.find("Verzeichnis nicht gefunden: " + (dir_ / "nowhere").string()), string::npos) << r.out;
  // A link to a file not there yet in a folder that is: written through.
  fs::create_symlink("sub/m.png", dir_ / "ahead.png");
  EXPECT_EQ(Cli("--saros 145 --map " + (dir_ / "ahead.png").string()).code, 0);
  EXPECT_TRUE(fs::is_regular_file(dir_ / "sub" / "m.png"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "ahead.png"));
  // Two names, two files.
  r = Cli("--saros 145 --diagram " + a + " --map " + b);
  EXPECT_EQ(r.code, 0);
  EXPECT_TRUE(fs::exists(a));
  EXPECT_TRUE(fs::exists(b));
}

// At the last supported Julian date no eclipse follows: the range message,
// not the series "Saros 0" of -2955 (exit code 1, nothing on the output).
TEST_F(CliFailures, ClockAtTheEndOfTheSupportedDates) {
  Result r = Cli("--now 8000000");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  r = Cli("--now 8000000", true);
  EXPECT_EQ(r.out, "nodalis-cli: Julianisches Datum au\xC3\x9F" "erhalb des unterst\xC3\xBCtzten Bereichs "
                   "(-2000000 bis 8000000)\n");
  // Just before it the next eclipse's series runs past the end: not shown
  // cut off, and the message says why.
  r = Cli("--now 7990000", true);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find(" reicht \xC3\xBC" "ber die unterst\xC3\xBCtzten Daten hinaus (JD -2000000 bis 8000000)"),
            string::npos)
      << r.out;
    // A command of its own still works from there.
  r = Cli("--now 8000000 --saros 145");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out.rfind("Saros 145 (", 0), 0u) << r.out;
}

// A number whose dates belong to a series of another number: exit code 1,
// and both lines of the message carry the tool's name.
TEST_F(CliFailures, NumberThatNamesNoSeries) {
  const Result r = Cli("--now 2461000 --saros 180", true);
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out,
            "nodalis-cli: Saros180 nicht gefunden\n"
            "nodalis-cli: Finsternisse mit der Nummer 180 geh\xC3\xB6ren hier zur Serie Saros -43 "
            "(Beginn 28.03.2742)\n");
}

// --help wins over every other option that reads, --catalog included.
TEST_F(CliFailures, HelpWinsOverTheOtherOptions) {
  const Result help = Cli("--help");
  ASSERT_EQ(help.code, 0);
  for (const char* args : {"--catalog 2000 2001 --help", "--help --saros 145 --format csv"}) {
    const Result r = Cli(args);
    EXPECT_EQ(r.code, 0) << args;
    EXPECT_EQ(r.out, help.out) << args;
  }
  EXPECT_EQ(Cli("--help --bogus").code, 2);
}
