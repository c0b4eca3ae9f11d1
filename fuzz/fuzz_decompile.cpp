// Fuzzes `decompile` with any bytes as the three scenario files: it either
// refuses them (a broken layout, or the places its sources cannot express)
// or makes sources that compile to exactly those bytes. An input with two
// "=====" is the record table, the cell grid and the plan geometry (none when
// empty); any other input replaces the file its first byte picks (0, 1, 2)
// in the files of the fixed sources' compile.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "testing/compile_properties.h"
#include "testing/decompile_properties.h"
#include "testing/memory_compile.h"

namespace {

constexpr std::string_view kSeparator = "=====";

void stop(const std::string& broken) {
  std::fprintf(stderr, "broken property: %s\n", broken.c_str());
  std::abort();
}

const scenario::MemoryCompile& fixed_files() {
  static const scenario::MemoryCompile files = scenario::compile_in_memory(
      scenario::testing::fixed_line_source(), scenario::testing::fixed_train_source());
  return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string_view table, grid;
  std::optional<std::string_view> geometry;
  const std::size_t first = input.find(kSeparator);
  const std::size_t second =
      first == std::string_view::npos ? first : input.find(kSeparator, first + kSeparator.size());
  if (second != std::string_view::npos) {
    table = input.substr(0, first);
    grid = input.substr(first + kSeparator.size(), second - first - kSeparator.size());
    const std::string_view rest = input.substr(second + kSeparator.size());
    if (!rest.empty()) geometry = rest;
  } else {
    if (input.empty()) return 0;
    const scenario::MemoryCompile& fixed = fixed_files();
    table = *fixed.record_table;
    grid = *fixed.cell_grid;
    geometry = *fixed.plan_geometry;
    const std::string_view bytes = input.substr(1);
    switch (static_cast<unsigned char>(input[0]) % 3) {
      case 0: table = bytes; break;
      case 1: grid = bytes; break;
      default: geometry = bytes; break;
    }
  }
  if (auto broken = scenario::testing::check_decompile_properties(table, grid, geometry)) {
    stop(*broken);
  }
  return 0;
}
