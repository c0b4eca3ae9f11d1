#include "testing/format_properties.h"

#include "format/format_source.h"
#include "model/cell_grid.h"
#include "testing/memory_compile.h"

namespace scenario::testing {
namespace {

// The first difference between two outcomes, or nothing.
std::optional<std::string> difference(const MemoryCompile& a, const MemoryCompile& b) {
  if (a.status.code != b.status.code || a.status.position != b.status.position) {
    return "status " + std::to_string(static_cast<int>(a.status.code)) + " at " +
           std::to_string(a.status.position) + " became " +
           std::to_string(static_cast<int>(b.status.code)) + " at " +
           std::to_string(b.status.position);
  }
  if (a.status.origin != b.status.origin) return "the status's source line changed";
  if (a.fatal != b.fatal) return "the fatal error changed";
  if (a.grid_last_index != b.grid_last_index) return "the grid's last index changed";
  if (a.plan_geometry != b.plan_geometry) return "the plan geometry's bytes changed";
  if (a.record_table != b.record_table) return "the record table's bytes changed";
  if (a.cell_grid != b.cell_grid) return "the cell grid's bytes changed";
  if (a.file_error != b.file_error) return "a file error changed";
  return std::nullopt;
}

MemoryCompile compiled(std::string_view line, std::string_view train, std::int32_t flag) {
  return compile_in_memory(line, train, kDefaultBaseName, kDefaultTrainNumber, flag);
}

// The formatted sources compile with `flag` as `before`, the originals' compile.
std::optional<std::string> compiles_as(const MemoryCompile& before, std::string_view formatted_line,
                                       std::string_view formatted_train, std::int32_t flag) {
  const MemoryCompile after = compiled(formatted_line, formatted_train, flag);
  if (auto changed = difference(before, after)) {
    return "geometry flag " + std::to_string(flag) + ": formatting changed the compile: " + *changed;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> check_format_properties(std::string_view line_source,
                                                   std::string_view train_source,
                                                   std::int64_t longest_line) {
  const std::string line = format_source(line_source, SourceKind::line);
  const std::string train = format_source(train_source, SourceKind::train);
  if (format_source(line, SourceKind::line) != line) return "formatting the line source twice changes it";
  if (format_source(train, SourceKind::train) != train) {
    return "formatting the train source twice changes it";
  }
  if (line == line_source && train == train_source) return std::nullopt;
  const MemoryCompile flat = compiled(line_source, train_source, 0);
  if (longest_line >= 1000000) {
    if (auto broken = compiles_as(flat, line, train, 0)) return broken;
    return compiles_as(compiled(line_source, train_source, 1), line, train, 1);
  }
  // A fast run compares one pair of compiles: with the geometry flag 1, which
  // reads every entry the flag 0 reads and the curves too, up to
  // `longest_line`; with the flag 0 beyond it, where the plan geometry's
  // metre-by-metre work would slow every run.
  if (flat.grid_last_index &&
      *flat.grid_last_index > grid_last_index_for_length(static_cast<std::int32_t>(longest_line))) {
    return compiles_as(flat, line, train, 0);
  }
  return compiles_as(compiled(line_source, train_source, 1), line, train, 1);
}

}  // namespace scenario::testing
