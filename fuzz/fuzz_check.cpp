// Fuzzes `check` over both sources, split at the first "=====": it never
// crashes, never writes a file, and the status a compile of the same sources
// sets is always among its errors (or a note under the error it follows from);
// its findings are the same with the plan geometry's points, for lines up to
// kFastLongestLine.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz_target.h"
#include "testing/check_properties.h"
#include "testing/compile_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto [line_source, train_source] = scenario::testing::split_sources(input);
  if (auto broken = scenario::testing::check_check_properties(line_source, train_source,
                                                                   scenario::fuzz::kFastLongestLine)) {
    std::fprintf(stderr, "broken property: %s\n", broken->c_str());
    std::abort();
  }
  return 0;
}
