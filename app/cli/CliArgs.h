// CliArgs — strict parsing of the command-line values of nodalis-cli.
//
// Unlike the program's forgiving number reader (StrToReal), these accept
// only the whole argument as a value and never a non-finite number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nodalis {

// A finite real number filling the whole text ("2451545.5", "-1e3",
// "+7"; one sign at most).
bool ParseCliReal(const std::string& Text, long double& Value);
// A 32-bit integer filling the whole text (one sign at most).
bool ParseCliInt(const std::string& Text, int32_t& Value);
// YYYY-MM-DD[THH:MM[:SS]] (year may be negative, astronomical numbering;
// Julian calendar before 1582-10-15) to the Julian date the date dialog
// takes from these fields in zone 0 (FieldsToJD, to its six decimals);
// false for a malformed or impossible date, and for a well-formed date
// outside the supported range, which also sets *OutOfRange.
bool ParseCliDate(const std::string& Text, long double& JD, bool* OutOfRange = nullptr);

// Checks a file name for nodalis-cli --diagram before anything is computed:
// a known extension (.bmp, .png, .pdf, .svg, any letter case), well-formed
// UTF-8 (the name goes to Qt's file functions, which take it as UTF-8; any
// other bytes could not be kept exactly), a name within the file system's
// limits (PATH_MAX bytes in all, the directory's NAME_MAX for the file
// name), a directory that exists and may be written, and, when the file
// exists, a regular file that may be written. Returns "" or a German
// message (Windows-1252).
std::string CheckDiagramPath(const std::string& Path);

// The same checks for another output file: Extensions are the accepted
// extensions (lower case, without the dot), Known their text in the message
// ("(.geojson oder .kml)").
std::string CheckOutputFilePath(const std::string& Path, const std::vector<std::string>& Extensions,
                                const std::string& Known);

// Whether two output names that passed CheckOutputFilePath name one file:
// the same name in the same directory (by device and inode, so "x.png",
// "./x.png" and a link to the folder agree), or an existing file reached
// by both (a link to the other).
bool SameOutputFile(const std::string& A, const std::string& B);

}  // namespace nodalis
