// Fuzzes the line source alone, with a fixed valid train source, computing
// the plan geometry of lines of any length (up to 1000 km, a million metres):
// slow, so its seeds are the long lines the fast targets pass over.

#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return scenario::fuzz::run_fuzz_input(scenario::testing::FuzzInput::line_source, data, size);
}
