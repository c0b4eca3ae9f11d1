#include "diff/entry_listing.h"

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "diff/loaded_scenario.h"
#include "diff/scenario_entries.h"
#include "files/file_names.h"
#include "output/dump.h"

namespace scenario {
namespace {

std::string entry_line(const ScenarioEntry& entry) {
  std::string line;
  if (entry.at_m) line = kilometre_text(*entry.at_m) + "  ";
  line += entry.entry == "header" ? entry.name : entry.entry;
  if (entry.entry == "station") line += " \"" + entry.name + "\"";
  std::string values;
  for (const auto& [field, value] : entry.fields) {
    if (!values.empty()) values += ", ";
    values += field.empty() ? value.text : field + " " + value.text;
  }
  if (!values.empty()) line += ": " + values;
  return line + "\n";
}

// The runs of equal values of a property of the cells; cell k holds what is
// in force from k × 50 m. Runs of `skip` are left out.
void list_stretches(const CellGrid& grid, const std::string& what,
                    const std::function<int(const TrackCell&)>& get,
                    const std::function<std::string(int)>& show, int skip, std::string& out) {
  std::int32_t i = 0;
  while (i <= grid.last_index()) {
    const int value = get(grid[i]);
    std::int32_t end = i + 1;
    while (end <= grid.last_index() && get(grid[end]) == value) ++end;
    if (value != skip) {
      out += kilometre_text(std::int64_t{i} * 50) + " to " + kilometre_text(std::int64_t{end} * 50) +
             "  " + what + ": " + show(value) + "\n";
    }
    i = end;
  }
}

void list_grid(const LoadedScenario& scenario, std::string& out) {
  const CellGrid& grid = scenario.grid;
  out += "cells: " + std::to_string(grid.cells.size()) + "\n";
  if (grid.contains(1)) {
    out += "cell 1 stamps: " + std::to_string(grid[1].val_a) + ", " +
           std::to_string(grid[1].val_b) + "\n";
  }
  // The objects and the marks that follow from other entries, in cell order.
  std::vector<std::pair<std::int64_t, std::string>> lines;
  for (const ScenarioEntry& entry : object_entries(scenario, false)) {
    lines.emplace_back(entry.at_m.value_or(0), entry_line(entry));
  }
  std::size_t approach = 0;
  for (std::int32_t i = 0; i <= grid.last_index(); ++i) {
    const TrackCell& c = grid[i];
    const std::int64_t at = (std::int64_t{i} - 1) * 50;
    const std::string place = kilometre_text(at) + "  ";
    if (c.kind == cell_kind::kStopMarker) {
      lines.emplace_back(at, place + "stop marker: row " + std::to_string(c.val_a) + "\n");
    }
    if (c.kind == cell_kind::kTunnelMarker) lines.emplace_back(at, place + "tunnel marker\n");
    if (is_pass_point(c)) lines.emplace_back(at, place + "code-reduction point of the pass\n");
    if (c.approach != 0) ++approach;
  }
  std::stable_sort(lines.begin(), lines.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& line : lines) out += line.second;
  out += "approach codes: " + std::to_string(approach) + " cells\n";
  list_stretches(grid, "speed limit", [](const TrackCell& c) { return c.speed_limit; },
                 [](int v) { return std::to_string(v * 5) + " km/h"; }, -1, out);
  list_stretches(grid, "gradient", [](const TrackCell& c) { return c.gradient; },
                 [](int v) { return v == 0 ? std::string("unset") : std::to_string(v - 100) + " permille"; },
                 -1, out);
  list_stretches(grid, "adhesion", [](const TrackCell& c) { return c.adhesion; },
                 [](int v) { return std::to_string(v); }, -1, out);
  list_stretches(grid, "tunnel", [](const TrackCell& c) { return c.tunnel; },
                 [](int v) { return "type " + std::to_string(v); }, 0, out);
}

}  // namespace

bool list_file_entries(FileSystem& files, const std::string& path, std::string& listing,
                       std::string& error) {
  const std::optional<ScenarioFileKind> kind = scenario_file_kind(bare_name(path));
  if (!kind) {
    error = "'" + path + "' is not a scenario file name (expected _linea.dat, .sim or .dat)";
    return false;
  }
  std::string bytes;
  if (IoResult result = files.read(path, bytes); !result.ok) {
    error = result.message;
    return false;
  }
  LoadedScenario scenario;
  std::string why;
  listing.clear();
  switch (*kind) {
    case ScenarioFileKind::record_table:
      if (!decode_record_table(bytes, scenario.table, why)) break;
      for (const ScenarioEntry& entry : header_entries(scenario)) {
        // The integrity codes are checked against the cell grid's too,
        // which is not at hand: the row's own values are listed instead.
        if (entry.key == "stamps and integrity codes") continue;
        listing += entry_line(entry);
      }
      listing += "row 85 stamps: " +
                 std::to_string(scenario.table.rows[table_row::kScenarioHeader].word_a) + ", " +
                 std::to_string(scenario.table.rows[table_row::kScenarioHeader].num_d) + "\n";
      for (const ScenarioEntry& entry : station_entries(scenario)) listing += entry_line(entry);
      for (int row = table_row::kFirstSign; row > 0; --row) {
        const TableRow& r = scenario.table.rows[static_cast<std::size_t>(row)];
        TableRow numbers = r;
        numbers.text.clear();
        if (numbers == TableRow{} && !r.text.empty()) {
          listing += "board text row " + std::to_string(row) + ": \"" + r.text + "\"\n";
        }
      }
      return true;
    case ScenarioFileKind::cell_grid:
      if (!decode_cell_grid(bytes, scenario.grid, why)) break;
      list_grid(scenario, listing);
      return true;
    case ScenarioFileKind::plan_geometry: {
      DecodedGeometry geometry;
      if (!decode_plan_geometry(bytes, geometry, why)) break;
      listing += "metres: " + std::to_string(geometry.x.size()) + "\n";
      scenario.geometry = std::move(geometry);
      for (const ScenarioEntry& entry : curve_entries(scenario)) listing += entry_line(entry);
      return true;
    }
  }
  error = "'" + path + "' is not a valid " +
          (*kind == ScenarioFileKind::record_table ? std::string("record table")
           : *kind == ScenarioFileKind::cell_grid  ? std::string("cell grid")
                                                   : std::string("plan geometry")) +
          " file: " + why;
  return false;
}

}  // namespace scenario
