// Utils — the program's small text and number routines.
//
// All texts are 8-bit Windows-1252 byte strings (std::string); positions in
// the descriptions count from 1.  Numbers shown to the user are formatted with
// RealToStr (fixed point, minimum field width, "." as decimal point); numbers
// read from the user or from files accept "," or "." and skip leading
// characters that cannot start a number (ExtractReal).
//
// PumpMessage and ErrorBox go through hooks: headless (command-line tool,
// tests) PumpMessage does nothing and ErrorBox writes to stderr; the windowed
// program installs its own handlers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace nodalis {

// true when Text contains at least one of "0" to "9".
bool HasDigit(const std::string& Text);

// Removes leading characters until "-" or a digit, takes the leading run of
// "-" and digits, removes it and returns its integer value (0 when Text runs
// empty; clamped to the 32-bit range).
int32_t ExtractInt(std::string& Text);
int32_t StrToIntLoose(const std::string& Text);

// Removes and returns the first number of Text ("," accepted once as the
// decimal separator; a number that does not fit an extended gives 0).
long double ExtractReal(std::string& Text);
long double StrToReal(const std::string& Text);

// Upper-cases copies of Text and Key; when Key occurs, returns ExtractReal of
// the text after its first occurrence, otherwise 0.
long double ValueAfterKey(const std::string& Text, const std::string& Key);

// "a".."z" and bytes E0h..FEh (F7h included) minus 20h; every other byte kept.
std::string UpperCaseText(const std::string& Text);

// X in fixed point with abs(Decimals) decimals, rounded half away from zero,
// right-aligned in at least Width characters (never cut).  Negative Decimals:
// trailing "0" and then a trailing "." are removed.  Non-finite X gives
// "NaN", "Inf" or "-Inf" (aligned the same way).
std::string RealToStr(int Width, int Decimals, long double X);
// RealToStr(1, -5, X): "136", "2.5".
std::string ShortRealToStr(long double X);
// RealToStr(1, Decimals, X) for data files: no sign on a value that rounds
// to zero ("0.00", not "-0.00").
std::string DataRealToStr(int Decimals, long double X);

std::string PadRight(const std::string& Text, std::size_t N);
// Without leading and trailing blanks and control characters (bytes <= 20h).
std::string TrimText(const std::string& Text);

// One pending window message of the GUI, through PumpMessageHook; a no-op
// when no hook is installed (headless use).
void PumpMessage();
extern std::function<void()> PumpMessageHook;

// Error message with one OK button, through ErrorBoxHook; without a hook the
// text goes to stderr (converted to UTF-8).
void ErrorBox(const std::string& Text);
extern std::function<void(const std::string&)> ErrorBoxHook;

// Local clock.  Weekday 1 = Sunday .. 7 = Saturday; Hundredths = ms / 10.
void CurrentDate(int& Year, int& Month, int& Day, int& Weekday);
void CurrentTime(int& Hour, int& Minute, int& Second, int& Hundredths);

// Windows-1252 <-> UTF-8.  Unassigned Windows-1252 bytes (81h, 8Dh, 8Fh,
// 90h, 9Dh) map to the C1 control of the same value; characters that
// Windows-1252 cannot hold (and malformed UTF-8) become "?".
std::string Cp1252ToUtf8(const std::string& Text);
std::string Utf8ToCp1252(const std::string& Text);

// True when Text is well-formed UTF-8 (RFC 3629: no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool IsValidUtf8(const std::string& Text);

// A file name (the file system's bytes, kept unchanged for opening) as
// Windows-1252 text to show: well-formed UTF-8, the system's encoding, is
// converted (characters Windows-1252 lacks become "?"); other bytes are
// taken as Windows-1252 already.
std::string FileNameText(const std::string& Bytes);

}  // namespace nodalis
