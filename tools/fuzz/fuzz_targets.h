// Fuzz targets of the eclipse core's text readers.  Each returns false when
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

}  // namespace nodalis::fuzz
