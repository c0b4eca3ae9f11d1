// Fuzzes both sources, split at the first "=====".

#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return scenario::fuzz::run_fuzz_input(scenario::testing::FuzzInput::both_sources, data, size);
}
