// SeriesState — the program-wide state of the series on screen, shared by
// the series builders, the result table, the diagram and the windows.
#pragma once

#include <string>
#include <vector>

namespace nodalis {

// Start line, member lines, end line (Windows-1252 text); see MemberLine.h.
extern std::vector<std::string> SeriesList;
// Instant of the table markers and the diagram cross (Julian date, TDT).
extern long double ReferenceJD;
// State of the check box "Orientierung Ekliptikal Nord".
extern bool EkliptikalNordChecked;
// State of the check box "Schattenbahn zeigen".
extern bool ShowSchattenbahnChecked;
// Caption of the main window's title label (series title, Windows-1252).
extern std::string TitleCaption;
// The program's name and version: "Nodalis Beta V. 05.02.2010".
extern const std::string TitleText;

}  // namespace nodalis
