// Fuzzes the line source alone, with a fixed valid train source; the plan
// geometry of lines up to kFastLongestLine.

#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return scenario::fuzz::run_fuzz_input(scenario::testing::FuzzInput::line_source, data, size,
                                        scenario::fuzz::kFastLongestLine);
}
