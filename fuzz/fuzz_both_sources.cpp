// Fuzzes both sources, split at the first "====="; the plan geometry of
// lines up to kFastLongestLine.

#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return scenario::fuzz::run_fuzz_input(scenario::testing::FuzzInput::both_sources, data, size,
                                        scenario::fuzz::kFastLongestLine);
}
