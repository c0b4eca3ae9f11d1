#include "compile_properties.h"

#include <vector>

#include "app/build_context.h"
#include "app/compile.h"
#include "app/file_names.h"
#include "model/build_status.h"
#include "model/cell_grid.h"
#include "model/record_table.h"
#include "output/file_system.h"

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

constexpr std::string_view kFixedLineSource =
    "[generale]\r\n"
    "lunghezza percorso,    40000\r\n"
    "progressiva chilometrica uno,    0,    0,    0\r\n"
    "progressiva chilometrica due,    0,    0,    0\r\n"
    "progressiva chilometrica tre,    0,    0,    0\r\n"
    "sfondo uno,    1\r\n"
    "sfondo due,    0\r\n"
    "sfondo tre,    0\r\n"
    "ripetizione segnali 4 codici,    0,    39000\r\n"
    "[curve]\r\n"
    "curvad2,  3000,  800\r\n"
    "curvas4,  12000,  400\r\n"
    "[pendenze]\r\n"
    "pendenza,  1500,   6\r\n"
    "pendenza,  6000,   -4\r\n"
    "pendenza,  9000,   0\r\n"
    "[montagne]\r\n"
    "montagna,   20000,  21500,  11\r\n"
    "[cartelli]\r\n"
    "indicatori_vmax,  2050,  120,  130,  140,  0,  120,  130,  140,  0\r\n"
    "[indicazioni]\r\n"
    "cartello_indicatore,  25050,   (Km 25+050)\r\n"
    "[fine]\r\n"
    "\r\n";

constexpr std::string_view kSeparator = "=====";
constexpr const char* kBase = "fuzz";
constexpr const char* kTrain = "1";

std::optional<std::string> file_of(const MemoryFileSystem& files, const std::string& name) {
  auto found = files.files.find(name);
  if (found == files.files.end()) return std::nullopt;
  return found->second;
}

}  // namespace

CompiledRun compile_sources(std::string_view line_source, std::string_view train_source,
                            std::int32_t geometry_flag) {
  MemoryFileSystem files;
  const ScenarioFileNames names = scenario_file_names("", kBase, kTrain);
  files.files[names.line_source] = std::string(line_source);
  files.files[names.train_source] = std::string(train_source);
  BuildContext context(files);
  context.base_name = kBase;
  context.train_number = kTrain;
  const CompileOutcome outcome = memorizza_percorso(context, geometry_flag);

  CompiledRun run;
  run.status = context.status;
  run.fatal = outcome.fatal;
  run.file_error = context.file_error;
  if (context.grid) run.grid_last_index = context.grid->last_index();
  run.plan_geometry = file_of(files, names.plan_geometry);
  run.record_table = file_of(files, names.record_table);
  run.cell_grid = file_of(files, names.cell_grid);
  run.written = outcome.written;
  run.line_source_left = files.exists(names.line_source);
  run.train_source_left = files.exists(names.train_source);
  for (const TableRow& row : context.table.rows) run.table_text_bytes += row.text.size();
  run.line_length_entry = context.table.rows[table_row::kQuantities].num_b;
  if (context.geometry) {
    run.geometry_last_metre = context.geometry->last_metre;
    for (GeometryTag tag : context.geometry->tags) {
      run.geometry_tags.push_back(static_cast<std::uint8_t>(tag));
    }
  }
  return run;
}

namespace {

std::uint32_t u16_at(const std::string& bytes, std::size_t offset) {
  return static_cast<std::uint8_t>(bytes[offset]) |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[offset + 1])) << 8;
}

std::size_t element_size(std::uint32_t tag) {
  switch (tag) {
    case 0: return 2;
    case 2: return 4;
    case 5: return 10;
    default: return 0;
  }
}

// The record table file walked row by row: 87 rows of 34 + n bytes fill it.
std::optional<std::string> check_record_table(const CompiledRun& run) {
  const std::string& bytes = *run.record_table;
  if (bytes.size() != 2958 + run.table_text_bytes) {
    return "record table file of " + std::to_string(bytes.size()) + " bytes, expected " +
           std::to_string(2958 + run.table_text_bytes);
  }
  std::size_t offset = 0;
  for (int row = 0; row < 87; ++row) {
    if (offset + 34 > bytes.size()) return "record table file ends inside row " + std::to_string(row);
    const std::size_t text_bytes = u16_at(bytes, offset + 14);
    if (offset + 34 + text_bytes > bytes.size()) return "record table file ends inside row " + std::to_string(row);
    if (row == table_row::kScenarioHeader && u16_at(bytes, offset + 16 + text_bytes) != 610) {
      return "row 85 does not carry the stamp 610";
    }
    offset += 34 + text_bytes;
  }
  if (offset != bytes.size()) return "record table rows do not fill the file";
  return std::nullopt;
}

// The plan geometry file: all x then all y, one tagged value a metre, each
// with the tag the model holds for that metre.
std::optional<std::string> check_plan_geometry(const CompiledRun& run) {
  const std::string& bytes = *run.plan_geometry;
  if (!run.geometry_last_metre) return "plan geometry file written without a geometry";
  const std::size_t metres = static_cast<std::size_t>(*run.geometry_last_metre) + 1;
  if (run.geometry_tags.size() != metres) return "plan geometry holds a tag count other than M + 1";
  std::size_t expected = 0;
  for (std::uint8_t tag : run.geometry_tags) expected += 2 * element_size(tag);
  if (bytes.size() != expected) {
    return "plan geometry file of " + std::to_string(bytes.size()) + " bytes, expected " +
           std::to_string(expected);
  }
  std::size_t offset = 0;
  for (int coordinate = 0; coordinate < 2; ++coordinate) {
    for (std::size_t metre = 0; metre < metres; ++metre) {
      if (offset + 2 > bytes.size()) return "plan geometry file cut short";
      const std::uint32_t tag = u16_at(bytes, offset);
      if (tag != run.geometry_tags[metre]) {
        return "plan geometry element of metre " + std::to_string(metre) + " has tag " +
               std::to_string(tag);
      }
      offset += element_size(tag);
    }
  }
  if (offset != bytes.size()) return "plan geometry elements do not fill the file";
  // The last two metres are never computed.
  if (metres >= 2 && (run.geometry_tags[metres - 1] != 0 || run.geometry_tags[metres - 2] != 0)) {
    return "plan geometry metre M - 1 or M holds a value";
  }
  if (run.status.code != 1 && *run.geometry_last_metre != run.line_length_entry + std::int64_t{7000}) {
    return "plan geometry M is not the line length + 7000";
  }
  return std::nullopt;
}

bool is_line_reader_return(std::int32_t code) {
  // Codes with which the line reader ends the reading before the train source.
  for (std::int32_t early : {102, 1, 3, 4, 5, 6, 10, 21, 103}) {
    if (code == early) return true;
  }
  return false;
}

std::optional<std::string> check_run(const CompiledRun& run, std::int32_t geometry_flag) {
  if (run.file_error) return "a file operation failed in memory: " + *run.file_error;
  if (!is_known_status(run.status.code)) {
    return "unknown status code " + std::to_string(run.status.code);
  }
  if (run.line_source_left) return "the line source was not deleted";
  if (run.train_source_left && !is_line_reader_return(run.status.code)) {
    return "the train source was left with status " + std::to_string(run.status.code);
  }
  if (run.fatal) {
    if (*run.fatal != 1250 && *run.fatal != 1251) return "unknown fatal error";
    if (run.plan_geometry || run.record_table || run.cell_grid || !run.written.empty()) {
      return "a fatal error wrote a scenario file";
    }
    return std::nullopt;
  }
  if (!run.grid_last_index) {
    for (std::int32_t code : {101, 102, 1, 3, 4, 5, 25}) {
      if (run.status.code == code) {
        if (run.plan_geometry || run.record_table || run.cell_grid) {
          return "a scenario file was written without a grid";
        }
        return std::nullopt;
      }
    }
    return "no grid with status " + std::to_string(run.status.code);
  }
  const std::int32_t last = *run.grid_last_index;
  if (last < 1) return "a grid without cells 0 and 1";
  if (run.status.code != 1 && last != grid_last_index_for_length(run.line_length_entry)) {
    return "grid last index " + std::to_string(last) + " does not follow the line length";
  }
  if (!run.record_table || !run.cell_grid) return "a grid exists but a scenario file is missing";
  if (run.cell_grid->size() != 15 * (static_cast<std::size_t>(last) + 1)) {
    return "cell grid file of " + std::to_string(run.cell_grid->size()) + " bytes for N = " +
           std::to_string(last);
  }
  if (u16_at(*run.cell_grid, 16) != 5121) return "cell 1 does not carry the stamp 5121";
  if (auto broken = check_record_table(run)) return broken;
  if (geometry_flag == 0) {
    if (run.plan_geometry) return "plan geometry file written with the geometry flag 0";
  } else {
    if (!run.plan_geometry) return "plan geometry file missing with the geometry flag 1";
    if (auto broken = check_plan_geometry(run)) return broken;
  }
  return std::nullopt;
}

bool same_outcome(const CompiledRun& a, const CompiledRun& b) {
  return a.status.code == b.status.code && a.status.position == b.status.position &&
         a.status.origin == b.status.origin && a.fatal == b.fatal &&
         a.grid_last_index == b.grid_last_index && a.plan_geometry == b.plan_geometry &&
         a.record_table == b.record_table && a.cell_grid == b.cell_grid &&
         a.written == b.written && a.train_source_left == b.train_source_left;
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

std::optional<std::string> check_compile_properties(std::string_view line_source,
                                                    std::string_view train_source) {
  const CompiledRun first = compile_sources(line_source, train_source, 1);
  if (auto broken = check_run(first, 1)) return "geometry flag 1: " + *broken;
  const CompiledRun second = compile_sources(line_source, train_source, 1);
  if (!same_outcome(first, second)) return "two compiles of the same sources differ";
  const CompiledRun flat = compile_sources(line_source, train_source, 0);
  if (auto broken = check_run(flat, 0)) return "geometry flag 0: " + *broken;
  return std::nullopt;
}

}  // namespace scenario::testing
