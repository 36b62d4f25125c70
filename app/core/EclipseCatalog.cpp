// BuildEclipseCatalog — the eclipses of a date range (see EclipseCatalog.h).
#include "app/core/EclipseCatalog.h"

#include <cmath>
#include <map>

#include "app/core/SeriesBuilder.h"

namespace nodalis {

namespace {
constexpr int SEASON_JUMP_LUNATIONS = 5;
constexpr long double PROGRESS_STEP_DAYS = 3652.5L;  // report about every ten years
constexpr double SEARCH_SHARE = 0.85;  // of the work: the search; the rest the Saros places
constexpr long long SAROS_LUNATIONS = 223;

// TimesAreTDT set for the searches, restored on every way out.
struct TdtScope {
  bool saved = TimesAreTDT;
  TdtScope() { TimesAreTDT = true; }
  ~TdtScope() { TimesAreTDT = saved; }
};

// The eclipse of the new moon at JD (CalcEclipse(0, ...), its greatest
// eclipse refined, and valid circumstances there), into e.Rec and e.Circ.
bool Eclipse(long double JD, DeltaTModel Model, CatalogEntry& e) {
  if (CalcEclipse(0, true, e.Rec, JD) == ECL_NONE) return false;
  RefineGreatestEclipse(e.Rec);
  e.Circ = Circumstances(e.Rec, Model);
  return e.Circ.Valid;
}

// Members of the series beyond e, one Saros step at a time (Step -1 or +1),
// as the series builder steps: an eclipse 223 lunations on.  (Not by the
// Saros number: SarosNumber's era letter changes within a few series, e.g.
// -40 before 2757 and 183 after it for the canon's Saros 183.)
int MembersBeyond(const CatalogEntry& e, int Step, DeltaTModel Model) {
  CatalogEntry cur = e;
  int n = 0;
  for (CatalogEntry next; n < MAX_PHASE_B_STEPS; ++n) {
    if (!Eclipse(cur.Rec.JDMax + Step * SAROS_DAYS, Model, next) ||
        next.Circ.Lunation - cur.Circ.Lunation != Step * SAROS_LUNATIONS)
      break;
    cur = next;
  }
  return n;
}
}  // namespace

bool BuildEclipseCatalog(long double FromJD, long double ToJD, DeltaTModel Model,
                         std::vector<CatalogEntry>& Out,
                         const std::function<void(double)>& Progress) {
  Out.clear();
  if (!JDSupported(FromJD) || !JDSupported(ToJD) || FromJD > ToJD) return false;
  TdtScope tdt;

  // The eclipse new moons, season by season.
  long double jd = FromJD - SYNODIC_MONTH_DAYS;
  long double next_report = FromJD;
  bool after_eclipse = false;   // jd is the new moon after an eclipse
  long double season_last = 0;  // last eclipse new moon of the current season
  const long long max_lunations =
      static_cast<long long>((ToJD - FromJD) / SYNODIC_MONTH_DAYS) + 8;
  for (long long n = 0; n < max_lunations; ++n) {
    long double beta = 0;
    if (!FindNewMoon(jd, beta, 0)) {
      Out.clear();
      return false;
    }
    if (jd > ToJD + 1) break;
    CatalogEntry e;
    const bool eclipse = std::fabs(beta) <= ECLIPSE_LIMIT_RAD && Eclipse(jd, Model, e);
    if (eclipse && e.Rec.JDMax >= FromJD && e.Rec.JDMax <= ToJD) Out.push_back(e);
    if (Progress && jd >= next_report && jd < ToJD) {
      Progress(SEARCH_SHARE * static_cast<double>((jd - FromJD) / (ToJD - FromJD)));
      next_report = jd + PROGRESS_STEP_DAYS;
    }
    if (eclipse && !after_eclipse) {  // test the next new moon of this season
      season_last = jd;
      after_eclipse = true;
      jd += SYNODIC_MONTH_DAYS;
    } else if (after_eclipse) {       // season done: on to the next one
      if (eclipse) season_last = jd;
      after_eclipse = false;
      jd = season_last + SEASON_JUMP_LUNATIONS * SYNODIC_MONTH_DAYS;
    } else {
      jd += SYNODIC_MONTH_DAYS;
    }
  }

  // Places in the Saros series: the members in range as chains of Saros
  // steps (223 lunations), and the members before and after them.
  std::map<long long, std::size_t> by_lunation;
  for (std::size_t i = 0; i < Out.size(); ++i) by_lunation[Out[i].Circ.Lunation] = i;
  std::vector<std::vector<std::size_t>> series;
  for (const auto& [lunation, i] : by_lunation) {
    if (by_lunation.count(lunation - SAROS_LUNATIONS)) continue;  // not a chain's first
    std::vector<std::size_t> chain;
    for (long long l = lunation;; l += SAROS_LUNATIONS) {
      const auto it = by_lunation.find(l);
      if (it == by_lunation.end()) break;
      chain.push_back(it->second);
    }
    series.push_back(std::move(chain));
  }
  std::size_t done = 0;
  for (const std::vector<std::size_t>& idx : series) {
    if (Progress) Progress(SEARCH_SHARE + (1 - SEARCH_SHARE) * done++ / series.size());
    const int before = MembersBeyond(Out[idx.front()], -1, Model);
    const int after = MembersBeyond(Out[idx.back()], +1, Model);
    const std::size_t count = before + idx.size() + after;
    for (std::size_t k = 0; k < idx.size(); ++k) {
      SarosPlace& p = Out[idx[k]].Place;
      const std::size_t number = before + k;
      p.First = number == 0;
      p.Last = number + 1 == count;
      p.Middle = number == count / 2;
      p.Number = static_cast<int>(number) + 1;
    }
  }
  if (Progress) Progress(1.0);
  return true;
}

bool CatalogYears(int32_t FromYear, int32_t ToYear, long double& FromJD, long double& ToJD) {
  if (FromYear > ToYear || FromYear < CATALOG_FIRST_YEAR || ToYear > CATALOG_LAST_YEAR)
    return false;
  FromJD = CalendarToJD(FromYear, 1, 1.0f);
  ToJD = CalendarToJD(ToYear + 1, 1, 1.0f) - 1e-6L;
  return true;
}

bool BuildCatalogOfYears(int32_t FromYear, int32_t ToYear, DeltaTModel Model,
                         std::vector<CatalogEntry>& Out,
                         const std::function<void(double)>& Progress, double Share) {
  Out.clear();
  long double from = 0, to = 0;
  return CatalogYears(FromYear, ToYear, from, to) &&
         BuildEclipseCatalog(from, to, Model, Out, [&](double f) {
           if (Progress) Progress(Share * f);
         });
}

bool EclipseCatalogCsv(int32_t FromYear, int32_t ToYear, DeltaTModel Model,
                       const std::set<int32_t>& Saros, std::string& Out,
                       const std::function<void(double)>& Progress) {
  Out.clear();
  long double from = 0, to = 0;
  std::vector<CatalogEntry> entries;
  if (!CatalogYears(FromYear, ToYear, from, to) ||
      !BuildEclipseCatalog(from, to, Model, entries, Progress))
    return false;
  constexpr std::size_t ROW_BYTES = 96;  // a canon row is 70 .. 90 bytes
  Out.reserve((entries.size() + 1) * ROW_BYTES);
  Out += CATALOG_HEADER;
  Out += '\n';
  long no = 0;
  for (const CatalogEntry& e : entries) {
    if (!Saros.empty() && !Saros.count(e.Rec.SarosNo)) continue;
    Out += CatalogRow(++no, e.Rec, e.Circ, e.Place);
    Out += '\n';
  }
  return true;
}

}  // namespace nodalis
