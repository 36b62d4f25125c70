// Settings file: defaults, resolution of the file to use, boolean words and
// writing that keeps every other line of the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/core/PIniFile.h"

namespace fs = std::filesystem;
using namespace nodalis;

namespace {

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void Spit(const fs::path& p, const std::string& text) {
  std::ofstream o(p, std::ios::binary);
  o << text;
}

// Each test runs in a fresh current directory with its own configuration
// directory, as the program would after a start from that directory.
class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    old_cwd_ = fs::current_path();
    root_ = fs::temp_directory_path() /
            ("nodalis-ini-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "cwd");
    fs::create_directories(root_ / "config");
    fs::current_path(root_ / "cwd");
    ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    const char* home = std::getenv("HOME");
    old_home_ = home ? home : "";
  }
  void TearDown() override {
    ::setenv("HOME", old_home_.c_str(), 1);
    fs::current_path(old_cwd_);
    fs::remove_all(root_);
  }
  fs::path Cwd() const { return root_ / "cwd"; }
  fs::path Config() const { return root_ / "config"; }
  fs::path root_, old_cwd_;
  std::string old_home_;
};

}  // namespace

// Without a settings file in the current directory the program's own
// folder in the configuration directory holds it: reading there gives the
// defaults and creates nothing; the first write makes the folder, private
// to the user, and the file; the current directory stays untouched.
TEST_F(SettingsFile, MissingFileGivesDefaultsAndWritingCreatesItInTheConfigFolder) {
  const fs::path folder = Config() / "nodalis";
  SetIniFile("Nodalis.ini");
  EXPECT_EQ(IniFilePath(), (folder / "Nodalis.ini").string());
  EXPECT_EQ(IniReadString("Eclipses", "Lorvan-Canon", "/default/canon.txt"), "/default/canon.txt");
  EXPECT_TRUE(IniReadBool("Ini", "UseWinDir", true));
  EXPECT_FALSE(IniReadBool("Ini", "UseWinDir", false));
  EXPECT_FALSE(fs::exists(folder)) << "reading creates nothing";

  const mode_t mask = ::umask(0);  // the folder's mode must not come from a loose umask
  const bool written = IniWriteString("Eclipses", "Lorvan-Canon", "/data/NewSolarCanon.txt");
  ::umask(mask);
  ASSERT_TRUE(written);
  EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms(0700));
  EXPECT_EQ(Slurp(folder / "Nodalis.ini"), "[Eclipses]\nLorvan-Canon=/data/NewSolarCanon.txt\n");
  EXPECT_EQ(IniReadString("eclipses", "LORVAN-CANON", ""), "/data/NewSolarCanon.txt");
  EXPECT_TRUE(fs::is_empty(Cwd()));
  // A later start finds it there.
  SetIniFile("Nodalis.ini");
  EXPECT_EQ(IniReadString("Eclipses", "Lorvan-Canon", ""), "/data/NewSolarCanon.txt");
}

// A settings file in the current directory keeps its place (portable use),
// also beside one in the configuration folder, and so does anything else
// standing under that name there (a FIFO, a dangling link: the user's).
TEST_F(SettingsFile, AFileInTheCurrentDirectoryComesFirst) {
  fs::create_directories(Config() / "nodalis");
  Spit(Config() / "nodalis" / "Nodalis.ini", "[Eclipses]\nLorvan-Canon=/from/config\n");
  SetIniFile("Nodalis.ini");
  EXPECT_EQ(IniReadString("Eclipses", "Lorvan-Canon", ""), "/from/config");

  Spit(Cwd() / "Nodalis.ini", "[Eclipses]\nLorvan-Canon=/from/cwd\n");
  SetIniFile("Nodalis.ini");
  EXPECT_EQ(IniFilePath(), (Cwd() / "Nodalis.ini").string());
  EXPECT_EQ(IniReadString("Eclipses", "Lorvan-Canon", ""), "/from/cwd");
  ASSERT_TRUE(IniWriteString("Eclipses", "Lorvan-Canon", "/new"));
  EXPECT_EQ(Slurp(Cwd() / "Nodalis.ini"), "[Eclipses]\nLorvan-Canon=/new\n");
  EXPECT_EQ(Slurp(Config() / "nodalis" / "Nodalis.ini"), "[Eclipses]\nLorvan-Canon=/from/config\n");

  fs::remove(Cwd() / "Nodalis.ini");
  fs::create_symlink(root_ / "nowhere.ini", Cwd() / "Nodalis.ini");
  SetIniFile("Nodalis.ini");
  EXPECT_EQ(IniFilePath(), (Cwd() / "Nodalis.ini").string()) << "a dangling link counts";
}

// Where the configuration folder is: $XDG_CONFIG_HOME when it is an
// absolute path (the base directory rules ignore a relative one), else
// ~/.config. A plain IniFile name in that folder's file lies beside it.
TEST_F(SettingsFile, ConfigFolderFollowsTheBaseDirectoryRules) {
  const fs::path home = root_ / "home";
  ::setenv("HOME", home.c_str(), 1);
  for (const char* xdg : {"", "relative/config"}) {
    ::setenv("XDG_CONFIG_HOME", xdg, 1);
    SetIniFile("Nodalis.ini");
    EXPECT_EQ(IniFilePath(), (home / ".config" / "nodalis" / "Nodalis.ini").string()) << "[" << xdg << "]";
  }
  ::unsetenv("XDG_CONFIG_HOME");
  SetIniFile("Nodalis.ini");
  EXPECT_EQ(IniFilePath(), (home / ".config" / "nodalis" / "Nodalis.ini").string());
  // Neither ~/.config nor its folder exist yet: both are made, private.
  ASSERT_TRUE(IniWriteString("Eclipses", "Lorvan-Canon", "/x"));
  EXPECT_EQ(fs::status(home / ".config").permissions() & fs::perms::all, fs::perms(0700));
  EXPECT_EQ(Slurp(home / ".config" / "nodalis" / "Nodalis.ini"), "[Eclipses]\nLorvan-Canon=/x\n");

  ::setenv("XDG_CONFIG_HOME", Config().c_str(), 1);
  fs::create_directories(Config() / "nodalis");
  Spit(Config() / "nodalis" / "Nodalis.ini", "[Ini]\nIniFile=other.ini\n");
  SetIniFile("Nodalis.ini");
  EXPECT_EQ(IniFilePath(), (Config() / "nodalis" / "other.ini").string());
}

// The current directory may be read-only (a system folder, a CD): the
// settings are still written, to the configuration folder. A folder that
// cannot be made (a file stands in its place) fails the write, no more.
TEST_F(SettingsFile, ReadOnlyCurrentDirectoryAndUnusableConfigFolder) {
  fs::permissions(Cwd(), fs::perms(0555));
  SetIniFile("Nodalis.ini");
  EXPECT_TRUE(IniWriteString("Eclipses", "Lorvan-Canon", "/canon.txt"));
  fs::permissions(Cwd(), fs::perms(0755));
  EXPECT_TRUE(fs::is_empty(Cwd()));
  EXPECT_EQ(Slurp(Config() / "nodalis" / "Nodalis.ini"), "[Eclipses]\nLorvan-Canon=/canon.txt\n");

  fs::remove_all(Config() / "nodalis");
  Spit(Config() / "nodalis", "not a folder");
  SetIniFile("Nodalis.ini");
  EXPECT_EQ(IniReadString("Eclipses", "Lorvan-Canon", "d"), "d");
  EXPECT_FALSE(IniWriteString("Eclipses", "Lorvan-Canon", "/canon.txt"));
  EXPECT_EQ(Slurp(Config() / "nodalis"), "not a folder");
}

TEST_F(SettingsFile, ReadingIgnoresLetterCaseBlanksAndQuotes) {
  Spit(Cwd() / "Nodalis.ini",
       "; comment line\r\n"
       "Orphan=before any section\r\n"
       "[ Eclipses ]\r\n"
       "  lorvan-canon  =  \"/x/y canon.txt\"  \r\n"
       "Empty=\r\n"
       "[Other]\r\n"
       "Lorvan-Canon=wrong section\r\n");
  SetIniFile("Nodalis.ini");
  EXPECT_EQ(IniReadString("ECLIPSES", "Lorvan-Canon", "d"), "/x/y canon.txt");
  EXPECT_EQ(IniReadString("Eclipses", "Empty", "d"), "") << "a present but empty key is not the default";
  EXPECT_EQ(IniReadString("Eclipses", "Orphan", "d"), "d");
  EXPECT_EQ(IniReadString("Missing", "Lorvan-Canon", "d"), "d");
}

// Quotes: only a pair enclosing the whole trimmed value goes; a lone quote,
// an unbalanced one or quotes inside stay, and the blanks between the quotes
// are kept.
TEST_F(SettingsFile, QuotesAroundTheWholeValueOnly) {
  struct { const char* raw; const char* want; } cases[] = {
      {"\"a b\"", "a b"},    {"  \"a\"  ", "a"},      {"\"\"", ""},        {"\"", "\""},
      {"\"a", "\"a"},        {"a\"", "a\""},          {"\"a\"b\"", "a\"b"}, {"a\"b\"c", "a\"b\"c"},
      {"\" padded \"", " padded "}, {"\"\"\"", "\""}, {"'single'", "'single'"},
  };
  std::string text = "[S]\n";
  for (std::size_t i = 0; i < std::size(cases); ++i)
    text += "K" + std::to_string(i) + "=" + cases[i].raw + "\n";
  Spit(Cwd() / "Nodalis.ini", text);
  SetIniFile("Nodalis.ini");
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(IniReadString("S", "K" + std::to_string(i), "default"), cases[i].want)
        << "raw value [" << cases[i].raw << "]";
}

TEST_F(SettingsFile, IniFileKeyRedirectsToAnotherFile) {
  // A plain name resolves against the current directory.
  Spit(Cwd() / "Nodalis.ini", "[Ini]\nIniFile=  other.ini  \n");
  Spit(Cwd() / "other.ini", "[Eclipses]\nLorvan-Canon=from-other\n");
  SetIniFile("Nodalis.ini");
  EXPECT_EQ(IniFilePath(), (Cwd() / "other.ini").string());
  EXPECT_EQ(IniReadString("Eclipses", "Lorvan-Canon", ""), "from-other");

  // A Windows name with a drive letter means its file name in the
  // configuration directory; one without a file name keeps the first file.
  const std::pair<const char*, fs::path> drives[] = {
      {"C:\\foo.ini", Config() / "foo.ini"}, {"d:/x/y/bar.ini", Config() / "bar.ini"},
      {"C:baz.ini", Config() / "baz.ini"},     {"C:\\", Cwd() / "Nodalis.ini"}};
  for (const auto& [name, want] : drives) {
    Spit(Cwd() / "Nodalis.ini", std::string("[Ini]\nIniFile=") + name + "\n");
    SetIniFile("Nodalis.ini");
    EXPECT_EQ(IniFilePath(), want.string()) << name;
  }

  // An absolute path is used unchanged, whatever UseWinDir says.
  fs::path abs = root_ / "elsewhere.ini";
  Spit(Cwd() / "Nodalis.ini", "[Ini]\nIniFile=" + abs.string() + "\nUseWinDir=TRUE\n");
  SetIniFile("Nodalis.ini");
  EXPECT_EQ(IniFilePath(), abs.string());

  // With UseWinDir a plain name resolves against the configuration directory.
  Spit(Cwd() / "Nodalis.ini", "[Ini]\nIniFile=other.ini\nUseWinDir=1\n");
  SetIniFile("Nodalis.ini");
  EXPECT_EQ(IniFilePath(), (Config() / "other.ini").string());
}

TEST_F(SettingsFile, UseWinDirWordsInAnyCaseOtherWordsFallBack) {
  struct Case {
    const char* word;
    bool system_dir;
  } cases[] = {{"TRUE", true}, {"true", true}, {"True", true}, {"1", true},
               {"FALSE", false}, {"false", false}, {"0", false},
               {"yes", false}, {"on", false}, {"2", false}, {"", false}};
  for (const Case& c : cases) {
    Spit(Cwd() / "Nodalis.ini", std::string("[Ini]\nUseWinDir=") + c.word + "\n");
    SetIniFile("Nodalis.ini");
    fs::path want = (c.system_dir ? Config() : Cwd()) / "Nodalis.ini";
    EXPECT_EQ(IniFilePath(), want.string()) << "UseWinDir=\"" << c.word << "\"";
  }
  // The boolean reader itself: other words give the caller's default.
  Spit(Cwd() / "flags.ini", "[F]\na=yes\nb=fAlSe\n");
  SetIniFile((Cwd() / "flags.ini").string());
  EXPECT_TRUE(IniReadBool("F", "a", true));
  EXPECT_FALSE(IniReadBool("F", "a", false));
  EXPECT_FALSE(IniReadBool("F", "b", true));
}

TEST_F(SettingsFile, WritingKeepsEveryOtherLine) {
  const std::string before =
      "; Nodalis settings\r\n"
      "[Ini]\r\n"
      "UseWinDir=0\r\n"
      "\r\n"
      "[Eclipses]\r\n"
      "Other=keep me\r\n"
      "LORVAN-CANON = /old/path.txt\r\n"
      "; trailing comment\r\n"
      "\r\n"
      "[Zzz]\r\n"
      "x=1";  // last line without a line end
  Spit(Cwd() / "Nodalis.ini", before);
  SetIniFile("Nodalis.ini");
  ASSERT_TRUE(IniWriteString("Eclipses", "Lorvan-Canon", "/new/path.txt"));
  std::string want = before;
  want.replace(want.find("LORVAN-CANON = /old/path.txt"), 28, "LORVAN-CANON=/new/path.txt");
  EXPECT_EQ(Slurp(Cwd() / "Nodalis.ini"), want);

  // A new key goes to the end of its section; a new section to the end.
  ASSERT_TRUE(IniWriteString("Ini", "Extra", "v"));
  ASSERT_TRUE(IniWriteString("New", "k", "line\nbreak"));
  std::string got = Slurp(Cwd() / "Nodalis.ini");
  EXPECT_NE(got.find("UseWinDir=0\r\nExtra=v\r\n\r\n[Eclipses]"), std::string::npos) << got;
  EXPECT_NE(got.find("x=1\r\n[New]\r\nk=linebreak\r\n"), std::string::npos) << got;
  EXPECT_EQ(IniReadString("Zzz", "x", ""), "1");
}

TEST_F(SettingsFile, BadFilesNeverLoseData) {
  // Binary garbage reads as defaults.
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += char((i * 7919) & 0xFF);
  Spit(Cwd() / "Nodalis.ini", garbage);
  SetIniFile("Nodalis.ini");
  EXPECT_EQ(IniReadString("Eclipses", "Lorvan-Canon", "d"), "d");

  // A file too large to be a settings file is never rewritten.
  std::string huge(3u << 20, 'x');
  Spit(Cwd() / "Nodalis.ini", huge);
  EXPECT_FALSE(IniWriteString("Eclipses", "Lorvan-Canon", "v"));
  EXPECT_EQ(fs::file_size(Cwd() / "Nodalis.ini"), huge.size());

  // An unwritable place reports failure instead of pretending success.
  SetIniFile((root_ / "no-such-dir" / "Nodalis.ini").string());
  EXPECT_FALSE(IniWriteString("Eclipses", "Lorvan-Canon", "v"));
}

namespace {
// Everything in the directory (names), to see that no temporary file stays.
std::vector<std::string> DirNames(const fs::path& dir) {
  std::vector<std::string> v;
  for (const auto& e : fs::directory_iterator(dir)) v.push_back(e.path().filename().string());
  std::sort(v.begin(), v.end());
  return v;
}
}  // namespace

TEST_F(SettingsFile, ExistingUnusableFilesAreLeftAlone) {
  // Only a missing file counts as missing: a file that is unreadable (for
  // root too: no permission bit at all), read-only, or a FIFO (which would
  // block the reader forever) reads as defaults and is never rewritten.
  const std::string other = "[Other]\nkeep=1\n[Eclipses]\nLorvan-Canon=/old.txt\n";
  struct Case {
    const char* name;
    fs::perms mode;
  } cases[] = {{"mode 000", fs::perms::none}, {"mode 444", fs::perms(0444)}};
  const fs::path ini = Cwd() / "Nodalis.ini";
  for (const Case& c : cases) {
    Spit(ini, other);
    fs::permissions(ini, c.mode);
    SetIniFile("Nodalis.ini");
    EXPECT_FALSE(IniWriteString("Eclipses", "Lorvan-Canon", "/new.txt")) << c.name;
    EXPECT_EQ(fs::status(ini).permissions(), c.mode) << c.name;
    fs::permissions(ini, fs::perms(0644));
    EXPECT_EQ(Slurp(ini), other) << c.name;
    EXPECT_EQ(DirNames(Cwd()), std::vector<std::string>{"Nodalis.ini"}) << c.name;
    fs::remove(ini);
  }

  ASSERT_EQ(::mkfifo(ini.c_str(), 0644), 0);
  SetIniFile("Nodalis.ini");  // would block in open() if the FIFO were opened
  EXPECT_EQ(IniReadString("Eclipses", "Lorvan-Canon", "d"), "d");
  EXPECT_FALSE(IniWriteString("Eclipses", "Lorvan-Canon", "v"));
  EXPECT_TRUE(fs::is_fifo(ini)) << "the FIFO stays as it was";
}

TEST_F(SettingsFile, LastLineWithALoneCarriageReturn) {
  // "foo=bar\r" ends without a line end a reader takes as one: the new
  // section must start on a line of its own, and a second write finds it.
  Spit(Cwd() / "Nodalis.ini", "[Ini]\nfoo=bar\r");
  SetIniFile("Nodalis.ini");
  ASSERT_TRUE(IniWriteString("Eclipses", "Lorvan-Canon", "/a.txt"));
  ASSERT_TRUE(IniWriteString("Eclipses", "Lorvan-Canon", "/b.txt"));
  EXPECT_EQ(Slurp(Cwd() / "Nodalis.ini"), "[Ini]\nfoo=bar\r\n[Eclipses]\nLorvan-Canon=/b.txt\n");
  EXPECT_EQ(IniReadString("Ini", "foo", ""), "bar");
  EXPECT_EQ(IniReadString("Eclipses", "Lorvan-Canon", ""), "/b.txt");
}

TEST_F(SettingsFile, PlantedLinksAreNeverFollowed) {
  // Links planted in the settings directory under temporary names (the
  // old writer's "Nodalis.ini.tmp<pid>" and names of the form the writer
  // uses now) point at a victim file: writing must not touch it.
  const fs::path victim = root_ / "victim.txt";
  Spit(victim, "precious");
  std::vector<std::string> planted = {"Nodalis.ini.tmp" + std::to_string(::getpid())};
  for (int i = 0; i < 200; ++i) planted.push_back("Nodalis.ini." + std::to_string(100000 + i));
  for (const std::string& name : planted) fs::create_symlink(victim, Cwd() / name);
  Spit(Cwd() / "Nodalis.ini", "");
  SetIniFile("Nodalis.ini");
  ASSERT_TRUE(IniWriteString("Eclipses", "Lorvan-Canon", "/c.txt"));
  ASSERT_TRUE(IniWriteString("Eclipses", "Lorvan-Canon", "/d.txt"));
  EXPECT_EQ(Slurp(victim), "precious");
  for (const std::string& name : planted) EXPECT_TRUE(fs::is_symlink(Cwd() / name)) << name;
  EXPECT_EQ(fs::directory_entry(Cwd() / "Nodalis.ini").is_symlink(), false);
  EXPECT_EQ(DirNames(Cwd()).size(), planted.size() + 1) << "no temporary file left";

  // The settings file itself may be the user's own link: the target is
  // written and the link stays; a dangling link is left alone.
  fs::remove(Cwd() / "Nodalis.ini");
  const fs::path real = root_ / "real.ini";
  Spit(real, "[Eclipses]\nLorvan-Canon=/x\n");
  fs::create_symlink(real, Cwd() / "Nodalis.ini");
  ASSERT_TRUE(IniWriteString("Eclipses", "Lorvan-Canon", "/y"));
  EXPECT_TRUE(fs::is_symlink(Cwd() / "Nodalis.ini"));
  EXPECT_EQ(Slurp(real), "[Eclipses]\nLorvan-Canon=/y\n");
  fs::remove(Cwd() / "Nodalis.ini");
  fs::create_symlink(root_ / "nowhere.ini", Cwd() / "Nodalis.ini");
  EXPECT_FALSE(IniWriteString("Eclipses", "Lorvan-Canon", "/z"));
  EXPECT_FALSE(fs::exists(root_ / "nowhere.ini"));

  // In a shared sticky directory (like /tmp) a link that belongs to someone
  // else is never followed (root can plant one owned by "nobody" to try).
  if (::geteuid() == 0) {
    const fs::path shared = root_ / "shared";
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms(01777));
    fs::create_symlink(victim, shared / "Nodalis.ini");
    ASSERT_EQ(::lchown((shared / "Nodalis.ini").c_str(), 65534, 65534), 0);
    SetIniFile((shared / "Nodalis.ini").string());
    EXPECT_FALSE(IniWriteString("Eclipses", "Lorvan-Canon", "/w"));
    EXPECT_EQ(Slurp(victim), "precious");
  }
}

TEST_F(SettingsFile, FailedWriteKeepsTheOldFile) {
  // A write that fails half-way (here: the file-size limit, which fails
  // writes exactly as a full disk does) leaves the old file byte for byte
  // and no temporary file behind.
  std::string old = "[Eclipses]\r\nLorvan-Canon=/old.txt\r\n";
  Spit(Cwd() / "Nodalis.ini", old);
  SetIniFile("Nodalis.ini");
  const std::string big(8192, 'x');
  rlimit before{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = before;
  small.rlim_cur = 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = IniWriteString("Eclipses", "Lorvan-Canon", big);
  ::setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(written);
  EXPECT_EQ(Slurp(Cwd() / "Nodalis.ini"), old);
  EXPECT_EQ(DirNames(Cwd()), std::vector<std::string>{"Nodalis.ini"});
}
