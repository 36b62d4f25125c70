// CanonReader — the Saros series taken from an eclipse canon text file.
//
// Canon file: text, read line by line.  A data line holds at least eleven
// blank- or tab-separated numbers: year month day kind central (unused real)
// gamma saros (unused integer) (unused integer) jd_tdt; the rest of the line
// is ignored.  kind: 1 partial, 2 total, 3 annular, 4 hybrid; central 0 =
// non-central.  Lines before the first data line whose date and Julian date
// agree within one day are headers; that first data line marks the start of
// the data and is never a member.  Lines that do not read as eleven numbers
// (or hold a Julian date outside the supported range) are skipped.
// tools/nasa_canon_to_canon.py makes such a file from the NASA canon.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace nodalis {

// Path of the canon file (settings key "Lorvan-Canon", section "Eclipses").
extern std::string CanonPath;
constexpr const char* DEFAULT_CANON_PATH = "D:/Nodalis/NewSolarCanon.txt";

// The canon file's name without directory ("Datenbasis:" in canon mode).
std::string CanonFileName();

// Lines longer than this are not data lines (they are skipped unread).
constexpr std::size_t MAX_CANON_LINE_BYTES = 4096;

// A canon file is read up to this many bytes (the NASA canon is 1 MB); a
// longer file or an endless stream (a device) is refused with a message.
constexpr std::size_t MAX_CANON_FILE_BYTES = 32u << 20;

// Eclipse type code (0..6) of a canon kind and central flag; kinds outside
// 1..4 give 0.
uint8_t CanonTypeToCode(int Kind, int Central);

// One data line of the canon.
struct CanonLine {
  int Year = 1, Month = 1, Day = 1;
  int Kind = 0, Central = 0;
  float Gamma = 0;
  int32_t Saros = 0;
  long double JD = 1.0L;
};
// Reads the eleven fields of Line; false (and Line's fields as for an
// unreadable line: date 1-1-1, JD 1.0) when it is not a data line.
bool ParseCanonLine(const std::string& Line, CanonLine& Out);

// Fills List with the series of the eclipse new moon JD (SeriesJD) from the
// file CanonPath: canon members corrected to the canon's time, gamma and
// type, gaps of more than one Saros filled with computed type-0 members.
// Progress receives one line per canon member ("DD.MM.YYYY   gamma").
// On failure (file missing or unreadable, no data line) List is left
// unchanged, Message holds a German text and the result is false.
bool BuildSeriesFromCanon(std::vector<std::string>& List, long double JD,
                          std::string* Message = nullptr,
                          const std::function<void(const std::string&)>& Progress = {});

}  // namespace nodalis
