// catalog-rows — the solar eclipses of a span of years in the CSV layout of
// the NASA Five Millennium Canon, for tools/compare_catalog.py.
//
//   catalog-rows FROM_YEAR TO_YEAR [--saros N]... [--lunar elp2000|de404]
//                [--delta-t nodalis|espenak-meeus-2006]
//
// Years astronomical (-1999 = 2000 BC), whole years, times TDT.  --saros
// keeps only the members of the named series (the search still runs over
// the whole span).  The Moon is lunaris' ("ELP2000") unless --lunar de404.
// Rows go to stdout with "\n" line ends; the elapsed time to stderr.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "app/core/CatalogRow.h"
#include "app/cli/CliArgs.h"
#include "app/core/EclipseCatalog.h"

using namespace nodalis;

namespace {
int Usage(const std::string& why) {
  std::cerr << "catalog-rows: " << why << "\n"
            << "usage: catalog-rows FROM_YEAR TO_YEAR [--saros N]... "
               "[--lunar elp2000|de404] [--delta-t nodalis|espenak-meeus-2006]\n";
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage("two years expected");
  int32_t from = 0, to = 0;
  if (!ParseCliInt(argv[1], from) || !ParseCliInt(argv[2], to) || from > to)
    return Usage("FROM_YEAR <= TO_YEAR expected");
  std::set<int32_t> saros;
  DeltaTModel model = DeltaTModel::Nodalis;
  UseLunarLib = true;
  for (int i = 3; i < argc; ++i) {
    const std::string a = argv[i];
    const std::string v = i + 1 < argc ? argv[i + 1] : "";
    int32_t n = 0;
    if (a == "--saros" && ParseCliInt(v, n)) saros.insert(n);
    else if (a == "--lunar" && (v == "elp2000" || v == "de404")) UseLunarLib = v == "elp2000";
    else if (a == "--delta-t" && ParseDeltaTModel(v, model)) {}
    else return Usage("bad option " + a);
    ++i;
  }
  const long double fromJD = CalendarToJD(from, 1, 1.0f);
  const long double toJD = CalendarToJD(to + 1, 1, 1.0f) - 1e-6L;
  const auto t0 = std::chrono::steady_clock::now();
  std::vector<CatalogEntry> entries;
  if (!BuildEclipseCatalog(fromJD, toJD, model, entries)) return Usage("years outside the supported range");
  std::string out = std::string(CATALOG_HEADER) + "\n";
  long no = 0;
  for (const CatalogEntry& e : entries) {
    if (!saros.empty() && !saros.count(e.Rec.SarosNo)) continue;
    out += CatalogRow(++no, e.Rec, e.Circ, e.Place) + "\n";
  }
  std::cout << out;
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::fprintf(stderr, "%zu eclipses, %ld rows, %.2f s\n", entries.size(), no, s);
  return std::cout ? 0 : 1;
}
