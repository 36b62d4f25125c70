// CanonParse — the eclipse canon text file: its data lines and the bounded
// reader that picks the lines of one Saros series.
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
//
// The reader's work is bounded by what a real Saros series can need: a
// series lives about 1 500 years (69 to 87 members, one Saros apart), the
// NASA canon of 5 000 years is 0.7 MB.  Only regular files are read, and
// their size is checked before any byte is read.  A file that breaks one of
// the bounds below is refused as a whole with a message naming the line; the
// caller's series then stays as it was.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nodalis {

// Path of the canon file (settings key "Lorvan-Canon", section "Eclipses").
extern std::string CanonPath;
constexpr const char* DEFAULT_CANON_PATH = "D:/Nodalis/NewSolarCanon.txt";

// The canon file's name without directory, as Windows-1252 text to show
// ("Datenbasis:" in canon mode; see FileNameText).
std::string CanonFileName();

// Lines longer than this are not data lines (they are skipped unread).
constexpr std::size_t MAX_CANON_LINE_BYTES = 4096;

// A larger canon file is refused before it is read (the NASA canon is
// 0.7 MB; this leaves room for longer lines and comments).
constexpr std::size_t MAX_CANON_FILE_BYTES = 8u << 20;
// Members of one series in the list, canon members and filled-in ones
// together (a series has at most 87; room for the computed ends).
constexpr int MAX_SERIES_MEMBERS = 100;
// Filled-in members between two canon members: a gap inside one series.
constexpr int MAX_FILLS_PER_GAP = MAX_SERIES_MEMBERS - 2;
// A member lies at most this far from the start instant of the series in
// either direction (days): 2 000 Julian years, beyond any series' lifetime.
constexpr long double MAX_SERIES_REACH_DAYS = 2000 * 365.25L;

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

// The members of one Saros series as read from a canon file, before any
// eclipse is computed: each canon member with the number of members to be
// filled in before it (gaps of more than one Saros).
struct CanonMember {
  CanonLine Line;
  int FillsBefore = 0;
};
struct CanonSeriesLines {
  long double StartJD = 1.0L;  // Julian date of the first data line
  long double EndJD = 1.0L;    // of the last line (1.0 when it is no data line)
  std::vector<CanonMember> Members;
  // Lines after the first data line that are no data line and not blank or
  // a "#" comment: a field that does not read (a non-finite number, a Julian
  // date outside the supported range, binary bytes), or a line longer than
  // MAX_CANON_LINE_BYTES. They are passed over and counted, never silently.
  int Skipped = 0;
};

// "1 Zeile übergangen", "<n> Zeilen übergangen" (Windows-1252).
std::string SkippedLinesText(int Count);

// Reads the canon file Path (the file system's bytes) and picks the lines of
// Saros N; JD is the start instant of the series (an eclipse new moon of
// it). Members must follow one another in time, at least half a Saros
// apart, and lie within MAX_SERIES_REACH_DAYS of JD; the series and its gaps
// must stay within MAX_SERIES_MEMBERS and MAX_FILLS_PER_GAP. One pending
// window message is dispatched per line (PumpMessage). False with a German
// message (Windows-1252) for a missing, unreadable, too large or non-regular
// file, a file without data lines, or a member that breaks a bound. A file
// that holds data but no line of series N gives true and no members.
bool ReadCanonSeries(const std::string& Path, int32_t N, long double JD, CanonSeriesLines& Out,
                     std::string& Message);

}  // namespace nodalis
