#pragma once

// The body shared by the fuzz targets: compile the sources that the input
// stands for and stop the run at the first broken property.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "testing/compile_properties.h"

namespace scenario::fuzz {

inline int run_fuzz_input(testing::FuzzInput kind, const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto [line_source, train_source] = testing::sources_of(kind, input);
  // The geometry flag changes only how curve entries are read: with the line
  // source fixed, a run without the geometry adds nothing.
  const bool without_geometry_too = kind != testing::FuzzInput::train_source;
  if (auto broken =
          testing::check_compile_properties(line_source, train_source, without_geometry_too)) {
    std::fprintf(stderr, "broken property: %s\n", broken->c_str());
    std::abort();
  }
  return 0;
}

}  // namespace scenario::fuzz
