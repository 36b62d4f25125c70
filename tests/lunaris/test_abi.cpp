// liblunaris.so as the program loads it: one export, and no crash or hang
// on dates a user or a file can produce.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "lunaris/lunaris.h"

namespace {

// Output lines of a command, without line ends; false when it failed.
bool run_lines(const std::string& cmd, std::vector<std::string>* lines) {
  FILE* pipe = popen(cmd.c_str(), "r");
  if (pipe == nullptr) return false;
  char line[512];
  while (std::fgets(line, sizeof line, pipe)) {
    std::string s(line);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    lines->push_back(s);
  }
  return pclose(pipe) == 0;
}

TEST(LunarisAbi, ExportsExactlyClunaris) {
  const std::string nm = LUNARIS_NM_PATH;
  if (nm.empty() || !std::filesystem::exists(nm)) GTEST_SKIP() << "nm not found";
  const std::string cmd = nm + " -D --defined-only '" + LUNARIS_SO_PATH + "'";
  std::vector<std::string> lines;
  ASSERT_TRUE(run_lines(cmd, &lines)) << cmd;
  std::vector<std::string> symbols;
  for (const std::string& s : lines) {
    const auto blank = s.rfind(' ');
    symbols.push_back(blank == std::string::npos ? s : s.substr(blank + 1));
  }
  ASSERT_EQ(symbols.size(), 1u) << "want only _clunaris, got " << symbols.size() << " symbols, first "
                                << (symbols.empty() ? "" : symbols.front());
  EXPECT_EQ(symbols.front(), "_clunaris");
}

// lunaris carries its own copy of the nutation code; it must load without
// liborbitcore.so.
TEST(LunarisAbi, DoesNotNeedOrbitcore) {
  const std::string readelf = LUNARIS_READELF_PATH;
  if (readelf.empty() || !std::filesystem::exists(readelf)) GTEST_SKIP() << "readelf not found";
  std::vector<std::string> lines;
  ASSERT_TRUE(run_lines(readelf + " -d '" + LUNARIS_SO_PATH + "'", &lines));
  for (const std::string& s : lines)
    EXPECT_EQ(s.find("orbitcore"), std::string::npos) << "dynamic section entry: " << s;
}

// The date range of lunaris.h, and its one rule outside: zeros in all six
// outputs (as orbitcore gives for a date outside its range). At the ends of
// the range the Moon is where it can be: 356 000 ... 407 000 km away, its
// latitude within the orbit's 5.3 degrees, x, y, z its place.
TEST(LunarisAbi, DateRangeAndZerosOutside) {
  constexpr double KM_PER_AU = 149597870.7;
  constexpr double MOON_KM_MIN = 356000.0, MOON_KM_MAX = 407000.0;
  constexpr double MAX_LATITUDE_RAD = 5.4 * 3.14159265358979323846 / 180.0;
  constexpr double XYZ_TOL_AU = 1e-15;
  for (double jd : {LUNARIS_FIRST_JD, LUNARIS_LAST_JD, 2451545.0, 0.0, -1e6}) {
    double v[6];
    _clunaris(jd, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    for (double x : v) EXPECT_TRUE(std::isfinite(x)) << "JD " << jd;
    EXPECT_GE(v[5] * KM_PER_AU, MOON_KM_MIN) << "JD " << jd;
    EXPECT_LE(v[5] * KM_PER_AU, MOON_KM_MAX) << "JD " << jd;
    EXPECT_GE(v[3], 0.0) << "JD " << jd;
    EXPECT_LT(v[3], 2.0 * 3.14159265358979323846) << "JD " << jd;
    EXPECT_LT(std::fabs(v[4]), MAX_LATITUDE_RAD) << "JD " << jd;
    EXPECT_NEAR(v[2], v[5] * std::sin(v[4]), XYZ_TOL_AU) << "JD " << jd;
  }
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double max = std::numeric_limits<double>::max();
  for (double jd : {std::nextafter(LUNARIS_FIRST_JD, -inf), std::nextafter(LUNARIS_LAST_JD, inf),
                    nan, inf, -inf, 1e12, -1e12, 1e15, 1e300, -1e300, max, -max, 1e8}) {
    double v[6] = {1.0, 1.0, 1.0, 1.0, 1.0, 1.0};
    _clunaris(jd, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    for (double x : v) EXPECT_EQ(x, 0.0) << "JD " << jd;
  }
}

TEST(LunarisAbi, NullResultPointersAreSkipped) {
  // As orbitcore's exports: a caller may ask for some results only; each
  // result given is the one of a call with all six.
  double all[6];
  _clunaris(2451545.0, &all[0], &all[1], &all[2], &all[3], &all[4], &all[5]);
  for (int keep = 0; keep < 6; ++keep) {
    double v[6] = {-7, -7, -7, -7, -7, -7};
    double* p[6] = {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    p[keep] = &v[keep];
    _clunaris(2451545.0, p[0], p[1], p[2], p[3], p[4], p[5]);
    EXPECT_EQ(v[keep], all[keep]) << "result " << keep;
  }
  _clunaris(2451545.0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace
