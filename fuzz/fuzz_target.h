#pragma once

// The body shared by the fuzz targets of the sources: compile the sources
// that the input stands for and stop the run at the first broken property.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "testing/compile_properties.h"

namespace scenario::fuzz {

/// The longest line whose plan geometry the fast targets compute (once). The
/// geometry costs a metre of work each, 7000 m more than the line: a line of
/// hundreds of kilometres makes every run a hundred times slower. Longer
/// lines are still read and checked with the geometry flag 0 there, and
/// checked whole, twice, by fuzz_long_lines.
inline constexpr std::int64_t kFastLongestLine = 10000;

inline int run_fuzz_input(testing::FuzzInput kind, const std::uint8_t* data, std::size_t size,
                          std::int64_t longest_line = std::numeric_limits<std::int64_t>::max()) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto [line_source, train_source] = testing::sources_of(kind, input);
  std::optional<std::string> broken;
  if (kind == testing::FuzzInput::train_source) {
    // The geometry comes from the line source's curves alone: over the fixed
    // line source it is the same for every input, and computing it (8000
    // metres, twice) would take nine tenths of each run.
    broken = testing::check_compile_properties_without_geometry(line_source, train_source);
  } else if (longest_line == std::numeric_limits<std::int64_t>::max()) {
    broken = testing::check_compile_properties(line_source, train_source);
  } else {
    broken = testing::check_compile_properties_up_to(line_source, train_source, longest_line);
  }
  if (broken) {
    std::fprintf(stderr, "broken property: %s\n", broken->c_str());
    std::abort();
  }
  return 0;
}

}  // namespace scenario::fuzz
