// Fuzz targets of the eclipse core's text and file readers.  Each returns false when
// an invariant breaks (the libFuzzer driver then aborts; the replay test
// reports it).  Inputs of any bytes and length are valid.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nodalis::fuzz {

// ExtractReal / StrToReal / ExtractInt / RealToStr: finite results, and
// extracting numbers one after another always empties the text.
bool ExtractReal(const uint8_t* data, std::size_t size);
// ParseMemberLine: finite fields, type 0..6, a written line reads back.
bool MemberLine(const uint8_t* data, std::size_t size);
// ParseCanonLine: accepted lines hold a supported Julian date and finite gamma.
bool CanonLine(const uint8_t* data, std::size_t size);
// The command-line values: --jd/--reference, --saros, --date.
bool CliArgs(const uint8_t* data, std::size_t size);
// The settings file: one key written into a file of any bytes (the first
// three input bytes choose section, key and value length) reads back as the
// same key in a fresh file would, and every other line of the file stays
// byte for byte, in order (the last line may gain its line end).
bool SettingsFile(const uint8_t* data, std::size_t size);
// The canon file reader on a file of any bytes, for Saros 145 around 2017:
// a refused file has a message; an accepted one keeps every bound (members
// of the series only, in time order at least half a Saros apart, near the
// start instant, within the member and gap caps).
bool CanonFile(const uint8_t* data, std::size_t size);

}  // namespace nodalis::fuzz
