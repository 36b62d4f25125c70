// Replays the committed fuzz corpus and seeded random inputs through the
// fuzz targets of the text and file readers: no crash, no hang, no broken
// invariant.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "tools/fuzz/fuzz_targets.h"

namespace fs = std::filesystem;
using Target = bool (*)(const uint8_t*, std::size_t);

namespace {
constexpr int RANDOM_INPUTS = 3000;

std::vector<uint8_t> ReadFile(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void Replay(const char* dir, Target target, const char* alphabet) {
  std::vector<std::vector<uint8_t>> seeds;
  for (const auto& e : fs::directory_iterator(fs::path(NODALIS_TEST_DATA_DIR) / dir)) {
    seeds.push_back(ReadFile(e.path()));
    EXPECT_TRUE(target(seeds.back().data(), seeds.back().size())) << e.path();
  }
  ASSERT_FALSE(seeds.empty()) << dir;
  // Mutations of the seeds and random strings over a number-heavy alphabet.
  std::mt19937 rng(20261207);
  const std::string alpha = alphabet;
  for (int i = 0; i < RANDOM_INPUTS; ++i) {
    std::vector<uint8_t> in = seeds[rng() % seeds.size()];
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int e = 0; e < edits; ++e) {
      const uint8_t c = rng() % 3 ? static_cast<uint8_t>(alpha[rng() % alpha.size()])
                                  : static_cast<uint8_t>(rng());
      const std::size_t pos = in.empty() ? 0 : rng() % (in.size() + 1);
      switch (rng() % 3) {
        case 0: in.insert(in.begin() + static_cast<long>(pos), c); break;
        case 1: if (pos < in.size()) in[pos] = c; break;
        default: if (pos < in.size()) in.erase(in.begin() + static_cast<long>(pos)); break;
      }
    }
    ASSERT_TRUE(target(in.data(), in.size()))
        << dir << " input: " << std::string(in.begin(), in.end());
  }
}
}  // namespace

TEST(FuzzReplay, ExtractReal) { Replay("extract_real", nodalis::fuzz::ExtractReal, "0123456789.,-+eE x"); }
TEST(FuzzReplay, MemberLine) { Replay("member_line", nodalis::fuzz::MemberLine, "0123456789.,-eE MaxSr"); }
TEST(FuzzReplay, CanonLine) { Replay("canon_line", nodalis::fuzz::CanonLine, "0123456789.-+eE \t"); }
TEST(FuzzReplay, CliArgs) { Replay("cli_args", nodalis::fuzz::CliArgs, "0123456789.-+eET: "); }
TEST(FuzzReplay, SettingsFile) {
  Replay("settings_file", nodalis::fuzz::SettingsFile, "[]=;\"\r\n \tEclipsesLorvan-CanonIniFile");
}
TEST(FuzzReplay, CanonFile) { Replay("canon_file", nodalis::fuzz::CanonFile, "0123456789.-+ \n\t#"); }
