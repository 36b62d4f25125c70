// LocalTable — local circumstances of members and catalogue eclipses as
// columns and as the table's block (see LocalTable.h).
#include "app/core/LocalTable.h"

#include <cmath>
#include <cstdio>

#include "app/base/Utils.h"
#include "app/core/EclipseCatalog.h"
#include "app/core/LocalPlace.h"
#include "app/core/SeriesTable.h"
#include "astro/BesselPolynomialFit.h"
#include "astro/TIMLIB.h"

namespace nodalis {

namespace {
constexpr int JD_DECIMALS = 6;         // 0.09 s
constexpr int ANGLE_DECIMALS = 1;      // deg
constexpr int MAGNITUDE_DECIMALS = 4;
constexpr int DURATION_DECIMALS = 1;   // s
const char* const CONTACTS[] = {"c1", "c2", "max", "c3", "c4"};
constexpr std::size_t PER_CONTACT = 7;
constexpr std::size_t LEAD = 2;  // local_type, local_visible

std::string Bool(bool b) { return b ? "true" : "false"; }

std::string IsoUT(long double JD) {
  std::string date, time;
  JDToIsoDateTime(JD, date, time);
  return date.empty() ? "" : date + "T" + time;
}

// An angle in [0, 360) to 0.1 deg: 359.96 is 0.0, not 360.0.
std::string Circle(long double Deg) {
  std::string s = DataRealToStr(ANGLE_DECIMALS, Deg);
  return s == "360.0" ? "0.0" : s;
}

void AddContact(const LocalContact& c, std::vector<std::string>& v) {
  if (!c.Exists) {
    v.insert(v.end(), PER_CONTACT, "");
    return;
  }
  v.push_back(IsoUT(c.JDUT));
  v.push_back(RealToStr(1, JD_DECIMALS, c.JDTD));
  v.push_back(DataRealToStr(ANGLE_DECIMALS, c.SunAltDeg));
  v.push_back(Circle(c.SunAziDeg));
  v.push_back(Circle(c.PDeg));
  v.push_back(Circle(c.VDeg));
  v.push_back(Bool(c.SunBelowHorizon));
}

// Text, the magnitude or obscuration X of L rounded to some decimals, as
// shown.  Below 1 a partial or annular eclipse's value never reads as 1:
// rounding 0.99996 up to "1.0000" would say that the Sun is wholly covered
// at a place just outside the path of totality, so it reads 0.9999 (the
// status line cuts it likewise).  A total eclipse keeps the rounded value.
std::string BelowWhole(std::string Text, long double X, const LocalCircumstances& L) {
  const std::size_t dot = Text.find('.');
  if (L.Kind != LocalEclipseKind::Total && X < 1 && dot == 1 && Text[0] == '1')
    Text = "0." + std::string(Text.size() - 2, '9');
  return Text;
}

bool Seen(const LocalCircumstances& L) { return L.Valid && L.Kind != LocalEclipseKind::None && L.Visible; }

// The local circumstances of the eclipse at JDMax (TD) with Delta T.
bool LocalOf(long double JDMax, long double DeltaT, const GeodeticPlace& Place, LocalCircumstances& Out) {
  BesselPolynomials P;
  if (!FitBesselPolynomials(JDMax, DeltaT, P)) return false;
  Out = ComputeLocalCircumstances(P, Place);
  return Out.Valid;
}

std::string Clock(const LocalContact& c) {
  if (!c.Exists) return "";
  std::string date, time;
  JDToIsoDateTime(c.JDUT, date, time);
  return time;
}
}  // namespace

const std::vector<std::string>& LocalColumns() {
  static const std::vector<std::string> columns = [] {
    std::vector<std::string> c = {"local_type", "local_visible"};
    for (const char* k : CONTACTS)
      for (const char* f : {"_ut", "_jd_td", "_sun_alt_deg", "_sun_azi_deg", "_p_deg", "_v_deg", "_below_horizon"})
        c.push_back(std::string(k) + f);
    for (const char* f : {"local_magnitude", "local_obscuration", "local_duration_s", "sunrise_ut", "sunset_ut"})
      c.push_back(f);
    return c;
  }();
  return columns;
}

LocalColumnKind LocalColumnKindOf(std::size_t Column) {
  if (Column == 0) return LocalColumnKind::Text;
  if (Column == 1) return LocalColumnKind::Bool;
  if (Column < LEAD + 5 * PER_CONTACT) {
    const std::size_t f = (Column - LEAD) % PER_CONTACT;
    return f == 0 ? LocalColumnKind::Text : f == PER_CONTACT - 1 ? LocalColumnKind::Bool : LocalColumnKind::Number;
  }
  return Column >= LEAD + 5 * PER_CONTACT + 3 ? LocalColumnKind::Text : LocalColumnKind::Number;
}

std::vector<std::string> LocalColumnValues(const LocalCircumstances& L) {
  std::vector<std::string> v;
  v.reserve(LocalColumns().size());
  if (!L.Valid) {
    v.assign(LocalColumns().size(), "");
    return v;
  }
  v.push_back(L.Kind == LocalEclipseKind::None ? "" : LocalEclipseKindName(L.Kind));
  v.push_back(Bool(L.Visible));
  for (const LocalContact* c : {&L.First, &L.Second, &L.Maximum, &L.Third, &L.Fourth}) AddContact(*c, v);
  const bool eclipse = L.Kind != LocalEclipseKind::None;
  v.push_back(eclipse ? BelowWhole(DataRealToStr(MAGNITUDE_DECIMALS, L.Magnitude), L.Magnitude, L) : "");
  v.push_back(eclipse ? BelowWhole(DataRealToStr(MAGNITUDE_DECIMALS, L.Obscuration), L.Obscuration, L) : "");
  v.push_back(L.Kind == LocalEclipseKind::Total || L.Kind == LocalEclipseKind::Annular
                  ? DataRealToStr(DURATION_DECIMALS, L.DurationSeconds)
                  : "");
  v.push_back(L.Sunrise.Exists ? IsoUT(L.Sunrise.JDUT) : "");
  v.push_back(L.Sunset.Exists ? IsoUT(L.Sunset.JDUT) : "");
  return v;
}

bool SeriesLocalCircumstances(const std::vector<std::string>& List, bool Canon, DeltaTModel Model,
                              const GeodeticPlace& Place, std::vector<LocalCircumstances>& Out) {
  Out.clear();
  std::vector<LocalCircumstances> out;
  for (const TableRow& r : SeriesTableRows(List, Canon, 0)) {
    LocalCircumstances L;
    if (r.Rec.EclType != ECL_NONE &&
        !LocalOf(r.Rec.JDMax, DeltaTSeconds(Model, r.Rec.JDMax), Place, L))
      return false;
    out.push_back(L);
  }
  Out = std::move(out);
  return true;
}

std::vector<std::string> LocalBlockLines(const std::vector<std::string>& List, bool Canon, DeltaTModel Model,
                                         const GeodeticPlace& Place) {
  std::vector<std::string> lines;
  std::string title = "\xD6rtliche Umst\xE4nde bei " + PlaceText(Place);
  if (Place.HeightM != 0) title += ", " + RealToStr(1, 0, Place.HeightM) + " m";
  title += std::string(" (Delta T ") + DeltaTModelName(Model) + ", Zeiten UT)";
  lines.push_back(title);
  std::vector<LocalCircumstances> local;
  if (!SeriesLocalCircumstances(List, Canon, Model, Place, local)) {
    lines.push_back("Bessel-Elemente konnten nicht berechnet werden");
    return lines;
  }
  const std::vector<TableRow> rows = SeriesTableRows(List, Canon, 0);
  lines.push_back("No  Datum        Art          Gr\xF6\xDF" "e  Bedeck.  Beginn    Maximum   Ende      Dauer  Sonne");
  int seen = 0;
  bool below = false;
  for (std::size_t i = 0; i < rows.size() && i < local.size(); ++i) {
    const LocalCircumstances& L = local[i];
    if (!Seen(L)) continue;
    ++seen;
    below = below || L.First.SunBelowHorizon || L.Maximum.SunBelowHorizon || L.Fourth.SunBelowHorizon;
    std::string date, time;
    JDToIsoDateTime(L.Maximum.JDUT, date, time);
    std::string line = PadRight(std::to_string(rows[i].No), 4) + PadRight(date, 13) +
                       PadRight(LocalKindText(L.Kind), 13) + PadRight(BelowWhole(RealToStr(1, 3, L.Magnitude), L.Magnitude, L), 7) +
                       PadRight(BelowWhole(RealToStr(1, 3, L.Obscuration), L.Obscuration, L), 9) +
                       PadRight(Clock(L.First) + (L.First.SunBelowHorizon ? "*" : ""), 10) +
                       PadRight(Clock(L.Maximum) + (L.Maximum.SunBelowHorizon ? "*" : ""), 10) +
                       PadRight(Clock(L.Fourth) + (L.Fourth.SunBelowHorizon ? "*" : ""), 10);
    std::string dur;
    if (L.Kind != LocalEclipseKind::Partial) {
      const long long d = std::llround(L.DurationSeconds);
      dur = std::to_string(d / 60) + "m" + (d % 60 < 10 ? "0" : "") + std::to_string(d % 60) + "s";
    }
    line += PadRight(dur, 7) + RealToStr(1, 0, L.Maximum.SunAltDeg) + "\xB0";
    lines.push_back(line);
  }
  if (seen == 0)
    lines.push_back("Kein Mitglied der Serie ist hier zu sehen.");
  else if (below)
    lines.push_back("* Sonne unter dem Horizont (die Finsternis beginnt vor Sonnenaufgang oder endet nach "
                    "Sonnenuntergang)");
  return lines;
}

bool CatalogLocalCsv(int32_t FromYear, int32_t ToYear, DeltaTModel Model, const std::set<int32_t>& Saros,
                     const GeodeticPlace& Place, std::string& Out,
                     const std::function<void(double)>& Progress) {
  Out.clear();
  constexpr double SEARCH_SHARE = 0.6;  // of the work: the catalogue; the rest the fits
  std::vector<CatalogEntry> entries;
  if (!BuildCatalogOfYears(FromYear, ToYear, Model, entries, Progress, SEARCH_SHARE)) return false;
  std::string text = CATALOG_HEADER;
  for (const std::string& c : LocalColumns()) text += "," + c;
  text += '\n';
  long no = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const CatalogEntry& e = entries[i];
    if (!Saros.empty() && !Saros.count(e.Rec.SarosNo)) continue;
    ++no;  // numbered as the catalogue without a place numbers them
    LocalCircumstances L;
    if (!LocalOf(e.Rec.JDMax, e.Circ.DeltaTSeconds, Place, L)) return false;
    if (Progress && i % 64 == 0)
      Progress(SEARCH_SHARE + (1 - SEARCH_SHARE) * static_cast<double>(i) / entries.size());
    if (!Seen(L)) continue;
    text += CatalogRow(no, e.Rec, e.Circ, e.Place);
    for (const std::string& v : LocalColumnValues(L)) text += "," + v;
    text += '\n';
  }
  if (Progress) Progress(1.0);
  Out = std::move(text);
  return true;
}

}  // namespace nodalis
