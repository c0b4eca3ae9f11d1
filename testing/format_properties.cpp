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

std::optional<std::string> same_compile(std::string_view line, std::string_view train,
                                        std::string_view formatted_line,
                                        std::string_view formatted_train, std::int32_t flag,
                                        MemoryCompile& before) {
  before = compile_in_memory(line, train, kDefaultBaseName, kDefaultTrainNumber, flag);
  const MemoryCompile after =
      compile_in_memory(formatted_line, formatted_train, kDefaultBaseName, kDefaultTrainNumber, flag);
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
  if (longest_line >= 1000000) {
    MemoryCompile flat;
    if (auto broken = same_compile(line_source, train_source, line, train, 0, flat)) return broken;
    MemoryCompile with_geometry;
    return same_compile(line_source, train_source, line, train, 1, with_geometry);
  }
  // A fast run compares one pair of compiles: with the geometry flag 1,
  // which reads every entry the flag 0 reads and the curves too, up to
  // `longest_line`; with the flag 0 beyond it, where the plan geometry's
  // metre-by-metre work would slow every run. The original's compile with
  // the flag 0 tells the line's length.
  const MemoryCompile flat =
      compile_in_memory(line_source, train_source, kDefaultBaseName, kDefaultTrainNumber, 0);
  const bool long_line =
      flat.grid_last_index &&
      *flat.grid_last_index > grid_last_index_for_length(static_cast<std::int32_t>(longest_line));
  if (!long_line) {
    MemoryCompile before;
    return same_compile(line_source, train_source, line, train, 1, before);
  }
  const MemoryCompile after =
      compile_in_memory(line, train, kDefaultBaseName, kDefaultTrainNumber, 0);
  if (auto changed = difference(flat, after)) {
    return "geometry flag 0: formatting changed the compile: " + *changed;
  }
  return std::nullopt;
}

}  // namespace scenario::testing
