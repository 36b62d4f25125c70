// CanonReader — the Saros series taken from the eclipse canon file (see
// CanonParse.h for the file and its bounds).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/core/CanonParse.h"

namespace nodalis {

// Fills List with the series of the eclipse new moon JD (SeriesJD) from the
// file CanonPath: canon members corrected to the canon's time, gamma and
// type, gaps of more than one Saros filled with computed type-0 members.
// Progress receives one line per canon member ("DD.MM.YYYY   gamma");
// SkippedLines the number of lines passed over (CanonSeriesLines::Skipped).
// On failure (ReadCanonSeries refused the file, the file holds no member of
// the series, or JD is outside the supported range) List is left unchanged,
// Message holds a German text and the result is false.
bool BuildSeriesFromCanon(std::vector<std::string>& List, long double JD,
                          std::string* Message = nullptr,
                          const std::function<void(const std::string&)>& Progress = {},
                          int* SkippedLines = nullptr);

}  // namespace nodalis
