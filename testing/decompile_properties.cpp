#include "testing/decompile_properties.h"

#include "decompile/decompile.h"
#include "testing/memory_compile.h"

namespace scenario::testing {
namespace {

// The sources made compile to exactly the files they came from.
std::optional<std::string> compiles_back(const Decompiled& made, const ScenarioBytes& files) {
  const MemoryCompile again = compile_in_memory(made.line_source, made.train_source,
                                                kDefaultBaseName, kDefaultTrainNumber,
                                                made.geometry_flag);
  if (!again.record_table || *again.record_table != files.record_table) {
    return "the decompiled sources give another record table";
  }
  if (!again.cell_grid || *again.cell_grid != files.cell_grid) {
    return "the decompiled sources give another cell grid";
  }
  if (files.plan_geometry.has_value() != again.plan_geometry.has_value() ||
      (files.plan_geometry && *files.plan_geometry != *again.plan_geometry)) {
    return "the decompiled sources give another plan geometry";
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> check_decompile_round_trip(std::string_view line_source,
                                                      std::string_view train_source,
                                                      std::int64_t longest_line_with_geometry,
                                                      CompileBack compile_back) {
  std::optional<std::int32_t> last_index;
  for (std::int32_t flag : {0, 1}) {
    // The geometry costs a metre of work each: long lines are checked without it.
    if (flag == 1 && last_index &&
        std::int64_t{*last_index} * 50 - 7000 > longest_line_with_geometry) {
      continue;
    }
    const MemoryCompile run =
        compile_in_memory(line_source, train_source, kDefaultBaseName, kDefaultTrainNumber, flag);
    last_index = run.grid_last_index;
    if (!run.record_table || !run.cell_grid) continue;  // nothing written to decompile
    ScenarioBytes files{*run.record_table, *run.cell_grid, std::nullopt};
    if (run.plan_geometry) files.plan_geometry = *run.plan_geometry;
    const Decompiled made = decompile(files, kDefaultBaseName, kDefaultTrainNumber);
    const std::string flag_text = " (geometry flag " + std::to_string(flag) + ")";
    if (made.broken_file) return "the compiled files do not decode: " + made.error + flag_text;
    if (!made.places.empty()) {
      return "the files of a compile are not expressed exactly: " + place_text(made.places[0]) +
             flag_text;
    }
    if (compile_back == CompileBack::by_decompile_check) continue;
    if (auto broken = compiles_back(made, files)) return *broken + flag_text;
  }
  return std::nullopt;
}

std::optional<std::string> check_decompile_properties(std::string_view record_table,
                                                      std::string_view cell_grid,
                                                      std::optional<std::string_view> geometry) {
  const ScenarioBytes files{record_table, cell_grid, geometry};
  const Decompiled made = decompile(files, kDefaultBaseName, kDefaultTrainNumber);
  if (made.broken_file) {
    if (made.error.empty()) return "a broken file without a word on where it breaks";
    return std::nullopt;
  }
  if (!made.places.empty()) {
    if (made.place_count < made.places.size()) return "fewer places counted than named";
    return std::nullopt;
  }
  if (made.place_count != 0) return "places counted but none named";
  return compiles_back(made, files);
}

}  // namespace scenario::testing
