// libFuzzer driver: NODALIS_FUZZ_TARGET names one function of fuzz_targets.h.
#include <cstdlib>

#include "tools/fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (!nodalis::fuzz::NODALIS_FUZZ_TARGET(data, size)) std::abort();
  return 0;
}
