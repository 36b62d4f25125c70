// SeriesTable — title, table rows and markers (see SeriesTable.h).
#include "app/core/SeriesTable.h"

#include <cmath>

#include "app/core/CanonParse.h"
#include "app/core/MemberLine.h"
#include "app/core/SeriesState.h"
#include "astro/Trigonom.h"
#include "app/base/Utils.h"

namespace nodalis {

namespace {
constexpr long double DAYS_PER_YEAR = 365.2425L;
constexpr long double DEG_PER_RAD_LITERAL = 57.29577951308232L;

long double SeriesYears(const std::vector<std::string>& List) {
  const std::size_t C = List.size();
  return (LineJD(List[C - 2]) - LineJD(List[1])) / DAYS_PER_YEAR;
}
}  // namespace

std::string WidestTableRow() {
  // "NN:  " 5, date and time 20, gamma 8, width 6, elevation 5, blank 1.
  constexpr std::size_t FIXED_COLUMNS_CHARS = 45;
  std::string type;
  for (int t = 0; t <= 6; ++t)
    if (EclipseText("Finsternis", t).size() > type.size()) type = EclipseText("Finsternis", t);
  std::string marker;
  for (RowMarker m : {RowMarker::Aktuelle, RowMarker::Letzte, RowMarker::Naechste})
    if (MarkerText(m).size() > marker.size()) marker = MarkerText(m);
  return std::string(FIXED_COLUMNS_CHARS, '0') + type + marker;
}

std::string GraphCaption(const std::vector<std::string>& List) {
  if (List.size() < 2) return "Nodalis";
  return "Nodalis  " + ShortRealToStr(ValueAfterKey(List[1], "Sar"));
}

std::vector<std::string> StartupNoticeLines() {
  return {"",
          TitleText,
          "",
          "Zur Berechnung von Sarosserien und Sonnenfinsterniszyklen.",
          "Zum Starten Finsternisdatum oder Saroszyklus ausw\xE4hlen.",
          "",
          "Diese Software befindet sich noch im Betastatium.",
          "Keine Gew\xE4hr f\xFCr Richtigkeit der Berechnungen.",
          "Jede Haftung ist ausgeschlossen!",
          ""};
}

std::string MarkerText(RowMarker m) {
  switch (m) {
    case RowMarker::Aktuelle: return " (aktuelle Finsternis)";
    case RowMarker::Letzte: return " (letzte Finsternis)";
    case RowMarker::Naechste: return " (n\xE4" "chste Finsternis)";
    default: return "";
  }
}

std::vector<TableRow> SeriesTableRows(const std::vector<std::string>& List, bool Canon,
                                      long double Ref) {
  std::vector<TableRow> rows;
  const std::size_t C = List.size();
  if (C < 3) return rows;
  std::vector<long double> J(C);
  for (std::size_t k = 0; k < C; ++k) J[k] = LineJD(List[k]);
  for (std::size_t i = 1; i + 1 < C; ++i) {
    TableRow row;
    row.No = static_cast<int>(i);
    ParseMemberLine(List[i], row.Rec);
    row.TypeText = row.Rec.TypeText;
    if (Canon && row.Rec.EclType == 0) row.TypeText += " (interpoliert)";
    row.UmbraKm = std::fabs(2 * row.Rec.L2 * KM_PER_EARTH_RADIUS_TABLE);
    const long double g = std::fabs(static_cast<long double>(row.Rec.Gamma));
    row.HasElevation = !(g > 1);
    if (row.HasElevation) row.ElevationDeg = ArcCos(g) * DEG_PER_RAD_LITERAL;
    if (std::fabs(J[i] - Ref) <= MARKER_WINDOW_DAYS)
      row.Marker = RowMarker::Aktuelle;
    else if (i + 3 <= C && J[i] < Ref && J[i + 1] > Ref &&
             std::fabs(J[i + 1] - Ref) > MARKER_WINDOW_DAYS)
      row.Marker = RowMarker::Letzte;
    else if (i > 1 && J[i] > Ref && J[i - 1] < Ref &&
             std::fabs(J[i - 1] - Ref) > MARKER_WINDOW_DAYS)
      row.Marker = RowMarker::Naechste;
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string SeriesTitle(const std::vector<std::string>& List) {
  const std::size_t C = List.size();
  if (C < 2) return "";
  BesselRec R;
  ParseMemberLine(List[1], R);
  const std::size_t paren = List[0].find('(');
  const std::string designation = paren == std::string::npos ? List[0] : List[0].substr(paren);
  return "Saros " + ShortRealToStr(R.SarosNo) + " " + designation + "  " +
         ShortRealToStr(static_cast<long double>(C) - 2) + " Neumonde,  " +
         RealToStr(1, 1, SeriesYears(List)) + " Jahre";
}

int32_t WriteSeriesTable(const std::vector<std::string>& List, std::vector<std::string>& Memo,
                         const TableSource& Source) {
  Memo.clear();
  const std::size_t C = List.size();
  if (C < 2) {
    TitleCaption.clear();
    Memo.push_back("Keine Sarosserie");
    return 0;
  }
  BesselRec R;
  ParseMemberLine(List[1], R);
  TitleCaption = SeriesTitle(List);
  Memo.push_back(TitleCaption);
  const long double Y = SeriesYears(List);
  Memo.push_back("Beginn: " + DateShort(0, LineJD(List[1])) + "  Ende: " +
                 DateShort(0, LineJD(List[C - 2])) + "  " + RealToStr(1, 1, Y) + " Jahre");
  std::string basis = Source.ELP2000 ? "VSOP 87 + ELP2000" : "VSOP87 + DE404";
  if (Source.Canon) {
    basis = Source.CanonFileName;
    if (Source.SkippedLines > 0) basis += " (" + SkippedLinesText(Source.SkippedLines) + ")";
  }
  Memo.push_back("Datenbasis: " + basis);
  Memo.push_back("");
  Memo.push_back("Suche Start: " + DateTimeText(0, LineJD(List[0])));
  Memo.push_back("No     Datum       TDT     Gamma  D[km] Elev");
  for (const TableRow& row : SeriesTableRows(List, Source.Canon, ReferenceJD)) {
    std::string s = RealToStr(2, 0, row.No) + ":  " +
                    PadRight(DateTimeText(0, row.Rec.JDMax), 20) +
                    RealToStr(8, 3, row.Rec.Gamma) + RealToStr(6, 0, row.UmbraKm);
    s += row.HasElevation ? RealToStr(4, 0, row.ElevationDeg) + "\xB0" : std::string("  -- ");
    s += " " + row.TypeText + MarkerText(row.Marker);
    Memo.push_back(s);
  }
  Memo.push_back("Suche Ende: " + DateTimeText(0, LineJD(List[C - 1])));
  Memo.push_back("");
  Memo.push_back("Erstellt am " + DateShort(0, ReferenceJD) + " mit " + TitleText);
  return R.SarosNo;
}

}  // namespace nodalis
