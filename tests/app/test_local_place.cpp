// Places as users give them (LocalPlace: nodalis-cli --place and the
// settings file's [Ini] Place) and the status text of a member seen from
// one, with the 2017 Aug 21 eclipse at Casper from the canon's elements
// (fixture canon_besselian.csv of tests/astro; Eclipse Predictions by Fred
// Espenak, NASA's GSFC).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "app/core/LocalPlace.h"
#include "app/core/PIniFile.h"
#include "tests/astro/canon_besselian.h"

using namespace nodalis;

namespace {
GeodeticPlace Parsed(const std::string& Lat, const std::string& Lon, const std::string& H = "") {
  GeodeticPlace p;
  std::string e;
  EXPECT_TRUE(ParsePlace(Lat, Lon, H, p, e)) << Lat << " " << Lon << " " << H << ": " << e;
  return p;
}

std::string Refused(const std::string& Lat, const std::string& Lon, const std::string& H = "") {
  GeodeticPlace p{1, 2, 3};
  std::string e;
  EXPECT_FALSE(ParsePlace(Lat, Lon, H, p, e)) << Lat << " " << Lon << " " << H;
  EXPECT_EQ(p.LatitudeDeg, 1);  // unchanged
  EXPECT_FALSE(e.empty());
  return e;
}
}  // namespace

TEST(LocalPlace, DecimalsAndHemispheres) {
  const GeodeticPlace a = Parsed("48.2", "16.4");
  EXPECT_DOUBLE_EQ(static_cast<double>(a.LatitudeDeg), 48.2);
  EXPECT_DOUBLE_EQ(static_cast<double>(a.LongitudeDeg), 16.4);
  EXPECT_EQ(a.HeightM, 0);
  const GeodeticPlace b = Parsed("48.2N", "16.4E", "170");
  EXPECT_EQ(b.LatitudeDeg, a.LatitudeDeg);
  EXPECT_EQ(b.LongitudeDeg, a.LongitudeDeg);
  EXPECT_EQ(b.HeightM, 170);
  const GeodeticPlace c = Parsed("33.87s", "151.21e");
  EXPECT_DOUBLE_EQ(static_cast<double>(c.LatitudeDeg), -33.87);
  EXPECT_DOUBLE_EQ(static_cast<double>(c.LongitudeDeg), 151.21);
  EXPECT_DOUBLE_EQ(static_cast<double>(Parsed("40.4167", "3.7167W").LongitudeDeg), -3.7167);
  EXPECT_DOUBLE_EQ(static_cast<double>(Parsed("40", "16.4O").LongitudeDeg), 16.4);  // Ost
  EXPECT_DOUBLE_EQ(static_cast<double>(Parsed("48.2\xB0N", "16.4\xC2\xB0" "E").LatitudeDeg), 48.2);
  EXPECT_EQ(Parsed("-90", "0").LatitudeDeg, -90);
  EXPECT_EQ(Parsed("+90", "0", "-430").HeightM, -430);
}

TEST(LocalPlace, LongitudeIsNormalised) {
  EXPECT_DOUBLE_EQ(static_cast<double>(Parsed("0", "190").LongitudeDeg), -170);
  EXPECT_DOUBLE_EQ(static_cast<double>(Parsed("0", "-180").LongitudeDeg), 180);
  EXPECT_DOUBLE_EQ(static_cast<double>(Parsed("0", "180").LongitudeDeg), 180);
  EXPECT_DOUBLE_EQ(static_cast<double>(Parsed("0", "540").LongitudeDeg), 180);
  EXPECT_DOUBLE_EQ(static_cast<double>(Parsed("0", "-190").LongitudeDeg), 170);
  EXPECT_DOUBLE_EQ(static_cast<double>(Parsed("0", "190W").LongitudeDeg), 170);
  EXPECT_DOUBLE_EQ(static_cast<double>(Parsed("0", "720.5").LongitudeDeg), 0.5);
  for (long double l : {-1e6L, -361.0L, -180.0L, 0.0L, 179.999L, 1e6L}) {
    const long double n = NormalizeLongitudeDeg(l);
    EXPECT_GT(n, -180) << static_cast<double>(l);
    EXPECT_LE(n, 180) << static_cast<double>(l);
  }
}

TEST(LocalPlace, BadValuesAreRefusedWithTheirText) {
  EXPECT_NE(Refused("91", "0").find("-90 bis 90"), std::string::npos);
  EXPECT_NE(Refused("-90.0001", "0").find("-90.0001"), std::string::npos);
  EXPECT_NE(Refused("95N", "0").find("95N"), std::string::npos);
  for (const char* bad : {"", "abc", "nan", "inf", "-inf", "1e3", "48,2", "48.2.1", "+-4", "N", "--3", "0x10"})
    EXPECT_NE(Refused(bad, "0").find("Breite"), std::string::npos) << bad;
  for (const char* bad : {"", "x", "nan", "infinity", "16.4Q"})
    EXPECT_NE(Refused("0", bad).find("L\xE4nge"), std::string::npos) << bad;
  // swapped: the letters of the other coordinate
  EXPECT_NE(Refused("16.4E", "48.2N").find("anderen Koordinate"), std::string::npos);
  EXPECT_NE(Refused("0", "48.2\xB0S").find("anderen Koordinate"), std::string::npos);
  // ... but a word ending in such a letter is no number ("nan" is not "na" north)
  for (const char* word : {"nan", "-nan", "NaN", "n", "xs"})
    EXPECT_NE(Refused("0", word).find("L\xE4nge erwartet Grad als Zahl"), std::string::npos) << word;
  Refused("-48.2N", "0");     // a sign and a letter
  for (const char* bad : {"x", "nan", "20000", "-2000", "1e4"})
    EXPECT_NE(Refused("0", "0", bad).find("H\xF6he"), std::string::npos) << bad;
  Refused(std::string(100, '1'), "0");  // long text: bounded, refused
}

TEST(LocalPlace, OneTextAsTheSettingsFileHoldsIt) {
  GeodeticPlace p;
  std::string e;
  ASSERT_TRUE(ParsePlaceText("  48.2N\t16.4E  170 ", p, e)) << e;
  EXPECT_DOUBLE_EQ(static_cast<double>(p.LatitudeDeg), 48.2);
  EXPECT_EQ(p.HeightM, 170);
  ASSERT_TRUE(ParsePlaceText("-33.87 151.21", p, e)) << e;
  EXPECT_EQ(p.HeightM, 0);
  for (const char* bad : {"", "48.2", "48.2 16.4 170 5", "48.2 abc", "100 0"}) {
    e.clear();
    EXPECT_FALSE(ParsePlaceText(bad, p, e)) << bad;
    EXPECT_FALSE(e.empty()) << bad;
  }
}

namespace {
// A settings file of its own in a fresh folder, removed afterwards.
class SettingsPlaceFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(mkdtemp(dir_), nullptr);
    ini_ = std::string(dir_) + "/Nodalis.ini";
    SetIniFile(ini_);
  }
  void TearDown() override {
    std::remove(ini_.c_str());
    rmdir(dir_);
  }
  void write(const std::string& text) { std::ofstream(ini_, std::ios::binary | std::ios::trunc) << text; }
  char dir_[32] = "/tmp/nodalis_place_XXXXXX";
  std::string ini_;
};
}  // namespace

TEST_F(SettingsPlaceFile, SettingsFilePlace) {
  GeodeticPlace p;
  std::string e;
  write("[Ini]\nUseWinDir=0\n");
  EXPECT_EQ(ReadSettingsPlace(p, e), SettingsPlace::Absent);
  write("[Ini]\nPlace=\n");
  EXPECT_EQ(ReadSettingsPlace(p, e), SettingsPlace::Absent);
  write("[ini]\r\nplace = 42.85 -106.33 1560\r\n");
  ASSERT_EQ(ReadSettingsPlace(p, e), SettingsPlace::Set) << e;
  EXPECT_DOUBLE_EQ(static_cast<double>(p.LatitudeDeg), 42.85);
  EXPECT_DOUBLE_EQ(static_cast<double>(p.LongitudeDeg), -106.33);
  EXPECT_EQ(p.HeightM, 1560);
  write("[Ini]\nPlace=\"48.2N 196E\"\n");
  ASSERT_EQ(ReadSettingsPlace(p, e), SettingsPlace::Set) << e;
  EXPECT_DOUBLE_EQ(static_cast<double>(p.LongitudeDeg), -164);
  const GeodeticPlace before = p;
  write("[Ini]\nPlace=123 4\n");
  EXPECT_EQ(ReadSettingsPlace(p, e), SettingsPlace::Invalid);
  EXPECT_NE(e.find("[Ini] Place"), std::string::npos);
  EXPECT_NE(e.find("123"), std::string::npos);
  EXPECT_EQ(p.LatitudeDeg, before.LatitudeDeg);
}

TEST(LocalPlace, StatusText) {
  const nodalis::test::CanonElementsRow* r = nodalis::test::CanonBesselianOn(2017, 8, 21);
  ASSERT_NE(r, nullptr);
  const GeodeticPlace casper{42.8501L, -106.3252L, 1560};
  EXPECT_EQ(PlaceText(casper), "42,85\xB0 N 106,33\xB0 W");
  const LocalCircumstances L = ComputeLocalCircumstances(r->p, casper);
  // Totality 145.9 s, maximum 17:43:48 UT (test_astro_local).
  EXPECT_EQ(LocalStatusText(casper, L),
            "42,85\xB0 N 106,33\xB0 W: total, Gr\xF6\xDF" "e 1,03, Dauer 2 min 26 s, Max. 17:43:48 UT");
  // Vienna: the penumbra passes after sunset (the Earth below the horizon
  // does not hide the geometry; the text says so).
  const GeodeticPlace wien{48.2L, 16.37L, 170};
  EXPECT_EQ(LocalStatusText(wien, ComputeLocalCircumstances(r->p, wien)),
            "48,20\xB0 N 16,37\xB0 O: partiell, Gr\xF6\xDF" "e 0,11, Max. 19:02:33 UT, Sonne unter dem Horizont");
  const GeodeticPlace sydney{-33.87L, 151.21L, 0};
  EXPECT_EQ(LocalStatusText(sydney, ComputeLocalCircumstances(r->p, sydney)),
            "33,87\xB0 S 151,21\xB0 O: keine Finsternis");
  // 2026 Aug 12 at Madrid: partial, the Sun setting in eclipse.
  const nodalis::test::CanonElementsRow* m = nodalis::test::CanonBesselianOn(2026, 8, 12);
  ASSERT_NE(m, nullptr);
  const GeodeticPlace madrid{40.4167L, -3.7167L, 667};
  const std::string t = LocalStatusText(madrid, ComputeLocalCircumstances(m->p, madrid));
  EXPECT_EQ(t.rfind("40,42\xB0 N 3,72\xB0 W: partiell, Gr\xF6\xDF" "e 0,99, Max. 18:32:", 0), 0u) << t;
  EXPECT_NE(t.find(", bei Sonnenuntergang"), std::string::npos) << t;
  EXPECT_EQ(LocalKindText(LocalEclipseKind::Annular), "ringf\xF6rmig");
  // An annular phase near the end of a hybrid path: the Moon covers 99.6 %
  // of the Sun's diameter, and the text must not say 1,00 (total).
  LocalCircumstances ring = L;
  ring.Kind = LocalEclipseKind::Annular;
  ring.Magnitude = 0.9962L;
  ring.DurationSeconds = 12;
  EXPECT_EQ(LocalStatusText(casper, ring),
            "42,85\xB0 N 106,33\xB0 W: ringf\xF6rmig, Gr\xF6\xDF" "e 0,99, Dauer 12 s, Max. 17:43:48 UT");
  ring.Magnitude = 0.9949L;
  EXPECT_NE(LocalStatusText(casper, ring).find("Gr\xF6\xDF" "e 0,99,"), std::string::npos);
}

// The settings file as a careless editor leaves it: lone CR line ends, a
// byte that is no ASCII in the value, a line far longer than any place.
TEST_F(SettingsPlaceFile, SettingsFilePlaceFromOddFiles) {
  GeodeticPlace p;
  std::string e;
  write("[Ini]\rPlace=48.2N 16.37E 170\rUseWinDir=0\r");
  ASSERT_EQ(ReadSettingsPlace(p, e), SettingsPlace::Set) << e;
  EXPECT_DOUBLE_EQ(static_cast<double>(p.LatitudeDeg), 48.2);
  EXPECT_EQ(p.HeightM, 170);
  write("[Ini]\rPlace=48.2N 16.37E\r");  // no height: not the next line's text
  ASSERT_EQ(ReadSettingsPlace(p, e), SettingsPlace::Set) << e;
  EXPECT_EQ(p.HeightM, 0);
  write("[Ini]\nPlace=48.2N 16.37\xE9\n");  // Windows-1252 e acute in place of E
  e.clear();
  EXPECT_EQ(ReadSettingsPlace(p, e), SettingsPlace::Invalid);
  EXPECT_NE(e.find("L\xE4nge"), std::string::npos) << e;
  write("[Ini]\nPlace=48.2\xC2\xB0N 16.37\xC2\xB0" "E\n");  // UTF-8 degree signs
  ASSERT_EQ(ReadSettingsPlace(p, e), SettingsPlace::Set) << e;
  EXPECT_DOUBLE_EQ(static_cast<double>(p.LongitudeDeg), 16.37);
  const std::string longLine = "[Ini]\nPlace=48.2 16.4 " + std::string(100000, '7') + "\n";
  write(longLine);
  e.clear();
  EXPECT_EQ(ReadSettingsPlace(p, e), SettingsPlace::Invalid);
  EXPECT_LT(e.size(), 400u) << "the message shows the value bounded";
  write("[Ini]\nPlace=" + std::string(100000, ' ') + "48.2 16.4\n");
  e.clear();
  EXPECT_EQ(ReadSettingsPlace(p, e), SettingsPlace::Set) << e;
}
