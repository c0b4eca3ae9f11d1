// Fuzzes the train source alone, with a fixed valid line source.

#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return scenario::fuzz::run_fuzz_input(scenario::testing::FuzzInput::train_source, data, size);
}
