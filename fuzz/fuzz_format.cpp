// Fuzzes the formatter over both sources, split at the first "=====": the
// formatted sources compile to the same bytes and status as the originals
// (the plan geometry of lines up to kFastLongestLine), and formatting them
// again changes nothing.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz_target.h"
#include "testing/format_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto [line_source, train_source] = scenario::testing::split_sources(input);
  if (auto broken = scenario::testing::check_format_properties(line_source, train_source,
                                                                scenario::fuzz::kFastLongestLine)) {
    std::fprintf(stderr, "broken property: %s\n", broken->c_str());
    std::abort();
  }
  return 0;
}
