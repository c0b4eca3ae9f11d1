#include "testing/compile_properties.h"

#include <algorithm>

#include <vector>

#include "testing/memory_compile.h"
#include "model/build_status.h"
#include "model/cell_grid.h"

namespace scenario::testing {
namespace {

constexpr std::string_view kFixedTrainSource =
    "[generale]\r\n"
    "numero vetture, 8\r\n"
    "percentuale massa frenata, 120\r\n"
    "sabbia, 150\r\n"
    "orologio, 7 15 0\r\n"
    "aderenza, 0, 100\r\n"
    "velocita, 0, 100\r\n"
    "velocita, 2000, 140\r\n"
    "stazione, 1500, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Miralto\r\n"
    "rallentamento, 3500, 60, 400, 0, 1, 60\r\n"
    "segnale, 4800, 2, 4, 1, 0, 0, 1, 3,1,0, 0\r\n"
    "abbattimento, 5500, 70\r\n"
    "stazione, 6000, 28, 200, 0, 0, 0, 0,0,0, 0,0,0, 0, 0,0,0, Borgo Sereno\r\n"
    "[fine]\r\n"
    "\r\n";

// Short, so that every run's plan geometry stays small: M = 8000, N = 160.
constexpr std::string_view kFixedLineSource =
    "[generale]\r\n"
    "lunghezza percorso,    1000\r\n"
    "progressiva chilometrica uno,    0,    0,    0\r\n"
    "progressiva chilometrica due,    0,    0,    0\r\n"
    "progressiva chilometrica tre,    0,    0,    0\r\n"
    "sfondo uno,    1\r\n"
    "sfondo due,    0\r\n"
    "sfondo tre,    0\r\n"
    "ripetizione segnali 4 codici,    0,    900\r\n"
    "[curve]\r\n"
    "curvad2,  200,  300\r\n"
    "curvas4,  600,  100\r\n"
    "[pendenze]\r\n"
    "pendenza,  150,   6\r\n"
    "pendenza,  500,   -4\r\n"
    "pendenza,  900,   0\r\n"
    "[montagne]\r\n"
    "montagna,   2000,  2600,  11\r\n"
    "[cartelli]\r\n"
    "indicatori_vmax,  2050,  120,  130,  140,  0,  120,  130,  140,  0\r\n"
    "[indicazioni]\r\n"
    "cartello_indicatore,  2550,   (Km 2+550)\r\n"
    "[fine]\r\n"
    "\r\n";

constexpr std::string_view kSeparator = "=====";

std::uint32_t u16_at(const std::string& bytes, std::size_t offset) {
  return static_cast<std::uint8_t>(bytes[offset]) |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[offset + 1])) << 8;
}

std::int32_t i32_at(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[offset + i]);
  return static_cast<std::int32_t>(value);
}

std::size_t element_size(std::uint32_t tag) {
  switch (tag) {
    case 0: return 2;
    case 2: return 4;
    case 5: return 10;
    default: return 0;
  }
}

// The record table file walked row by row: 87 rows of 34 + n bytes, n each
// row's text length, fill it exactly. Gives row 84's num_b, the line length.
std::optional<std::string> check_record_table(const std::string& bytes, std::int32_t& line_length) {
  std::size_t offset = 0;
  for (int row = 0; row < 87; ++row) {
    if (offset + 34 > bytes.size()) return "record table file ends inside row " + std::to_string(row);
    const std::size_t text_bytes = u16_at(bytes, offset + 14);
    if (offset + 34 + text_bytes > bytes.size()) {
      return "record table file ends inside row " + std::to_string(row);
    }
    if (row == 84) line_length = i32_at(bytes, offset + 5);
    if (row == 85 && u16_at(bytes, offset + 16 + text_bytes) != 610) {
      return "row 85 does not carry the stamp 610";
    }
    offset += 34 + text_bytes;
  }
  if (offset != bytes.size()) {
    return "record table file of " + std::to_string(bytes.size()) + " bytes, its rows take " +
           std::to_string(offset);
  }
  return std::nullopt;
}

// The plan geometry file: the x of metres 0..M, then their y, one tagged
// value each. x and y of a metre are written together, so both carry the
// same tag: 16-bit seeds on metres 0 and 1, doubles from metre 2 up to where
// the computation got, then empty values, always on M - 1 and M.
std::optional<std::string> check_plan_geometry(const std::string& bytes,
                                               std::int32_t& last_metre) {
  std::vector<std::uint32_t> tags;
  tags.reserve(bytes.size() / 10);
  for (std::size_t offset = 0; offset < bytes.size();) {
    if (offset + 2 > bytes.size()) return "plan geometry file ends inside a tag";
    const std::uint32_t tag = u16_at(bytes, offset);
    if (element_size(tag) == 0) return "plan geometry tag " + std::to_string(tag);
    offset += element_size(tag);
    if (offset > bytes.size()) return "plan geometry file ends inside a value";
    tags.push_back(tag);
  }
  if (tags.size() % 2 != 0 || tags.size() < 4) {
    return "plan geometry file of " + std::to_string(tags.size()) + " values";
  }
  const std::size_t metres = tags.size() / 2;
  last_metre = static_cast<std::int32_t>(metres - 1);
  bool computed_part_ended = false;
  for (std::size_t metre = 0; metre < metres; ++metre) {
    const std::uint32_t tag = tags[metre];
    if (tags[metres + metre] != tag) {
      return "plan geometry x and y of metre " + std::to_string(metre) + " differ in type";
    }
    const bool allowed = metre < 2 ? (tag == 0 || tag == 2) : (tag == 0 || tag == 5);
    if (!allowed) return "plan geometry metre " + std::to_string(metre) + " has tag " + std::to_string(tag);
    if (metre >= 2 && tag == 0) computed_part_ended = true;
    if (computed_part_ended && tag == 5) return "plan geometry has a gap before metre " + std::to_string(metre);
  }
  if (tags[metres - 1] != 0 || tags[metres - 2] != 0) return "plan geometry metre M - 1 or M holds a value";
  return std::nullopt;
}

std::optional<std::string> check_run(const MemoryCompile& run, std::int32_t geometry_flag) {
  if (run.file_error) return "a file operation failed in memory: " + *run.file_error;
  const std::int32_t code = code_number(run.status.code);
  if (!status_code_of(code)) return "unknown status code " + std::to_string(code);
  // Every code the build sets comes with the finding that tells its cause.
  if (run.status.code != status::kNone &&
      std::none_of(run.diagnostics.begin(), run.diagnostics.end(), [&](const Diagnostic& d) {
        return d.severity == Severity::error && d.code == run.status.code;
      })) {
    return "status " + std::to_string(code) + " set without its finding";
  }
  const bool wrote_any = run.plan_geometry || run.record_table || run.cell_grid;
  if (run.fatal) {
    if (*run.fatal != 1250 && *run.fatal != 1251) return "unknown fatal error";
    if (wrote_any) return "a fatal error wrote a scenario file";
    return std::nullopt;
  }
  if (!run.grid_last_index) {
    // Only the line reader's stops before or at the length entry leave no grid.
    for (std::int32_t early : {101, 102, 1, 3, 4, 5, 25}) {
      if (code == early) {
        if (wrote_any) return "a scenario file was written without a grid";
        return std::nullopt;
      }
    }
    return "no grid with status " + std::to_string(code);
  }
  const std::int32_t last = *run.grid_last_index;
  if (last < 1) return "a grid without cells 0 and 1";
  if (!run.record_table || !run.cell_grid) return "a grid exists but a scenario file is missing";
  if (run.cell_grid->size() != 15 * (static_cast<std::size_t>(last) + 1)) {
    return "cell grid file of " + std::to_string(run.cell_grid->size()) + " bytes for N = " +
           std::to_string(last);
  }
  if (u16_at(*run.cell_grid, 16) != 5121) return "cell 1 does not carry the stamp 5121";
  std::int32_t line_length = 0;
  if (auto broken = check_record_table(*run.record_table, line_length)) return broken;
  // A refused second length entry (status 1) leaves the first one's grid.
  if (run.status.code != 1 && last != grid_last_index_for_length(line_length)) {
    return "grid last index " + std::to_string(last) + " for a line of " + std::to_string(line_length);
  }
  if (geometry_flag == 0) {
    if (run.plan_geometry) return "plan geometry file written with the geometry flag 0";
    return std::nullopt;
  }
  if (!run.plan_geometry) return "plan geometry file missing with the geometry flag 1";
  std::int32_t last_metre = 0;
  if (auto broken = check_plan_geometry(*run.plan_geometry, last_metre)) return broken;
  // The grid and the geometry are made together by the same length entry.
  if (grid_last_index_for_length(last_metre - 7000) != last) {
    return "plan geometry M = " + std::to_string(last_metre) + " for a grid of N = " + std::to_string(last);
  }
  if (run.status.code != 1 && last_metre != std::int64_t{line_length} + 7000) {
    return "plan geometry M = " + std::to_string(last_metre) + " for a line of " + std::to_string(line_length);
  }
  return std::nullopt;
}

bool same_outcome(const MemoryCompile& a, const MemoryCompile& b) {
  return a.status.code == b.status.code && a.status.position == b.status.position &&
         a.status.origin == b.status.origin && a.fatal == b.fatal &&
         a.grid_last_index == b.grid_last_index && a.plan_geometry == b.plan_geometry &&
         a.record_table == b.record_table && a.cell_grid == b.cell_grid;
}

// Two compiles with the geometry flag 0; the first is left in `flat`.
std::optional<std::string> check_flat(std::string_view line_source, std::string_view train_source,
                                      MemoryCompile& flat) {
  flat = compile_in_memory(line_source, train_source, kDefaultBaseName, kDefaultTrainNumber, 0);
  if (auto broken = check_run(flat, 0)) return "geometry flag 0: " + *broken;
  const MemoryCompile again =
      compile_in_memory(line_source, train_source, kDefaultBaseName, kDefaultTrainNumber, 0);
  if (!same_outcome(flat, again)) return "two compiles of the same sources differ";
  return std::nullopt;
}

}  // namespace

std::string_view fixed_train_source() { return kFixedTrainSource; }
std::string_view fixed_line_source() { return kFixedLineSource; }

std::pair<std::string_view, std::string_view> split_sources(std::string_view data) {
  const std::size_t separator = data.find(kSeparator);
  if (separator == std::string_view::npos) return {data, kFixedTrainSource};
  return {data.substr(0, separator), data.substr(separator + kSeparator.size())};
}

std::pair<std::string_view, std::string_view> sources_of(FuzzInput kind, std::string_view data) {
  switch (kind) {
    case FuzzInput::line_source: return {data, kFixedTrainSource};
    case FuzzInput::train_source: return {kFixedLineSource, data};
    case FuzzInput::both_sources: break;
  }
  return split_sources(data);
}

std::optional<std::string> check_compile_properties_without_geometry(
    std::string_view line_source, std::string_view train_source) {
  MemoryCompile flat;
  return check_flat(line_source, train_source, flat);
}

std::optional<std::string> check_compile_properties_up_to(std::string_view line_source,
                                                          std::string_view train_source,
                                                          std::int64_t longest_line) {
  MemoryCompile flat;
  if (auto broken = check_flat(line_source, train_source, flat)) return broken;
  // The grid's last index grows with the line (50 m a cell), and a refused
  // second length entry leaves the first one's grid.
  if (flat.grid_last_index &&
      *flat.grid_last_index > grid_last_index_for_length(static_cast<std::int32_t>(longest_line))) {
    return std::nullopt;
  }
  // Once with the geometry: its metres are pure arithmetic on the curves read,
  // and two compiles with it are compared on every corpus input by the tests.
  const MemoryCompile run = compile_in_memory(line_source, train_source);
  if (auto broken = check_run(run, 1)) return "geometry flag 1: " + *broken;
  return std::nullopt;
}

std::optional<std::string> check_compile_properties(std::string_view line_source,
                                                    std::string_view train_source,
                                                    bool without_geometry_too) {
  const MemoryCompile first = compile_in_memory(line_source, train_source);
  if (auto broken = check_run(first, 1)) return "geometry flag 1: " + *broken;
  const MemoryCompile second = compile_in_memory(line_source, train_source);
  if (!same_outcome(first, second)) return "two compiles of the same sources differ";
  if (!without_geometry_too) return std::nullopt;
  const MemoryCompile flat =
      compile_in_memory(line_source, train_source, kDefaultBaseName, kDefaultTrainNumber, 0);
  if (auto broken = check_run(flat, 0)) return "geometry flag 0: " + *broken;
  return std::nullopt;
}

}  // namespace scenario::testing
