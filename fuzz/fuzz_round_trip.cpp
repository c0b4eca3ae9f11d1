// Fuzzes the round trip: both sources (split at the first "=====") are
// compiled, the files decompiled, and the sources made must compile to the
// same bytes (decompile's own check compiles them; the corpus test compiles
// them again as `compile` does); the plan geometry for lines up to
// kFastLongestLine.

#include "fuzz_target.h"
#include "testing/decompile_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto [line_source, train_source] =
      scenario::testing::sources_of(scenario::testing::FuzzInput::both_sources, input);
  if (auto broken = scenario::testing::check_decompile_round_trip(
          line_source, train_source, scenario::fuzz::kFastLongestLine,
          scenario::testing::CompileBack::by_decompile_check)) {
    std::fprintf(stderr, "broken property: %s\n", broken->c_str());
    std::abort();
  }
  return 0;
}
