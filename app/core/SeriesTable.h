// SeriesTable — the result table of a Saros series, written as text lines
// (Windows-1252) into a sink instead of a text control.
//
// Layout (fixed-width, for a fixed-pitch font):
//   Saros 145 (145. Saros, Ära M)  77 Neumonde,  1370.9 Jahre
//   Beginn: 04.01.1639  Ende: 17.04.3009  1370.3 Jahre
//   Datenbasis: VSOP87 + DE404
//
//   Suche Start: ...
//   No     Datum       TDT     Gamma  D[km] Elev
//    1:  04.01.1639  13h32m    -1.545    ...  -- partielle Finsternis
//   ...
//   Suche Ende: ...
//
//   Erstellt am 07.12.2026 mit Nodalis Beta V. 05.02.2010
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "astro/Astrcalc.h"

namespace nodalis {

constexpr long double MARKER_WINDOW_DAYS = 14.1L;
constexpr long double KM_PER_EARTH_RADIUS_TABLE = 6367.44465L;  // diameter column factor

enum class RowMarker { None, Aktuelle, Letzte, Naechste };

// One member of the table, read back from its member line.
struct TableRow {
  int No = 0;               // 1-based member number
  BesselRec Rec;            // parsed member line
  std::string TypeText;     // type text, "(interpoliert)" added in canon mode
  long double UmbraKm = 0;  // |2 l2| in km
  bool HasElevation = false;
  long double ElevationDeg = 0;  // Sun's altitude at greatest eclipse
  RowMarker Marker = RowMarker::None;
};

// Where the series came from, for "Datenbasis:" and the type texts.
struct TableSource {
  bool ELP2000 = true;        // "VSOP 87 + ELP2000" else "VSOP87 + DE404"
  bool Canon = false;         // canon mode: the canon file's name instead
  std::string CanonFileName;  // without directory
  // Canon lines the reader passed over; when there are any, the canon's
  // name is followed by " (<n> Zeilen übergangen)".
  int SkippedLines = 0;
};

// Marker texts: " (aktuelle Finsternis)", " (letzte Finsternis)",
// " (nächste Finsternis)" or "".
std::string MarkerText(RowMarker m);

// The member rows of List (lines 1 .. C-2) with markers for ReferenceJD.
std::vector<TableRow> SeriesTableRows(const std::vector<std::string>& List, bool Canon,
                                      long double RefJD);

// The title caption (as TitleLabel shows it).  Empty for a list without
// start and end line.
std::string SeriesTitle(const std::vector<std::string>& List);

// Writes title and table into Memo (cleared first), sets TitleCaption and
// returns the Saros number of the first member (0 when there is none).
// A list without start and end line writes the line "Keine Sarosserie".
int32_t WriteSeriesTable(const std::vector<std::string>& List, std::vector<std::string>& Memo,
                         const TableSource& Source);

// The widest row the table can write: digits in place of the fixed columns
// (number, date and time, gamma, umbral width, elevation), the longest type
// text and the longest marker.
std::string WidestTableRow();

// The graph window's caption: "Nodalis  " and the Saros number of the
// first member ("Nodalis  145"); "Nodalis" for a list without members.
std::string GraphCaption(const std::vector<std::string>& List);

// The start-up notice of the text area, one entry per line (Windows-1252):
// "", TitleText, "", two lines of purpose, "", the three disclaimer
// sentences, "".
std::vector<std::string> StartupNoticeLines();

}  // namespace nodalis
