#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/build_context.h"

namespace scenario {

/// The whole compile of two source texts, run in memory.
struct MemoryCompile {
  BuildStatus status;                           // at the end of the build
  std::optional<std::int32_t> fatal;            // 1250 or 1251
  std::optional<std::int32_t> grid_last_index;  // N; none when no grid was made
  std::optional<std::string> plan_geometry;     // each file's bytes, when written
  std::optional<std::string> record_table;
  std::optional<std::string> cell_grid;
  std::optional<std::string> file_error;        // never set unless the seam fails
  std::vector<Diagnostic> diagnostics;          // what the readers told, in order
};

/// Runs `memorizza_percorso` over a `MemoryFileSystem` holding the two
/// sources, exactly as the disk run does (for tests, fuzzers and benchmarks).
MemoryCompile compile_in_memory(std::string_view line_source, std::string_view train_source,
                                const std::string& base_name = kDefaultBaseName,
                                const std::string& train_number = kDefaultTrainNumber,
                                std::int32_t geometry_flag = 1);

}  // namespace scenario
