#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/build_context.h"

namespace scenario {

/// What a compile left behind besides the context's status.
struct CompileOutcome {
  std::optional<std::int32_t> fatal;  // 1250 or 1251: no scenario file written
  std::vector<std::string> written;   // full names, in the order written
};

/// Compiles the two sources of the context into the scenario files: clear
/// the status and the table, read, code-reduction pass, stamps, write.
/// A failed file operation stops it and is left in `context.file_error`.
CompileOutcome memorizza_percorso(BuildContext& context, std::int32_t geometry_flag);

/// The whole compile of two source texts, run in memory.
struct MemoryCompile {
  BuildStatus status;                           // at the end of the build
  std::optional<std::int32_t> fatal;            // 1250 or 1251
  std::optional<std::int32_t> grid_last_index;  // N; none when no grid was made
  std::optional<std::string> plan_geometry;     // each file's bytes, when written
  std::optional<std::string> record_table;
  std::optional<std::string> cell_grid;
  std::optional<std::string> file_error;        // never set unless the seam fails
};

/// Runs `memorizza_percorso` over a `MemoryFileSystem` holding the two
/// sources, exactly as the disk run does (for tests, fuzzers and benchmarks).
MemoryCompile compile_in_memory(std::string_view line_source, std::string_view train_source,
                                const std::string& base_name = kDefaultBaseName,
                                const std::string& train_number = kDefaultTrainNumber,
                                std::int32_t geometry_flag = 1);

}  // namespace scenario
