#include "app/dump_command.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>

#include "app/commands.h"
#include "diff/entry_listing.h"
#include "files/file_names.h"
#include "files/file_system.h"
#include "model/rounding.h"
#include "output/cp1252.h"
#include "output/describe.h"
#include "output/dump.h"
#include "output/record_fields.h"

namespace scenario {
namespace {

using Json = nlohmann::ordered_json;

// Collects the output and hands it to standard output in large pieces: a
// plan geometry file gives a million lines.
class Printer {
 public:
  ~Printer() { flush(); }
  void line(const std::string& text) {
    buffer_ += text;
    buffer_ += '\n';
    if (buffer_.size() >= (1u << 20)) flush();
  }
  void json_record(const Json& record) {
    if (records_++ != 0) buffer_ += ",\n";
    buffer_ += record.dump(-1, ' ', false, Json::error_handler_t::replace);
    if (buffer_.size() >= (1u << 20)) flush();
  }
  void flush() {
    std::cout.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

 private:
  std::string buffer_;
  std::size_t records_ = 0;
};

// The shortest text that reads back as the same double.
std::string real_text(double value) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

const char* tag_name(GeometryTag tag) {
  switch (tag) {
    case GeometryTag::int16: return "i16";
    case GeometryTag::real: return "f64";
    case GeometryTag::empty: break;
  }
  return "empty";
}

std::string value_text(const TaggedValue& value) {
  switch (value.tag) {
    case GeometryTag::int16: return std::string("i16:") + std::to_string(static_cast<int>(value.value));
    case GeometryTag::real: return "f64:" + real_text(value.value);
    case GeometryTag::empty: break;
  }
  return "empty";
}

Json value_json(const TaggedValue& value) {
  Json json;
  json["type"] = tag_name(value.tag);
  if (value.tag == GeometryTag::empty) {
    json["value"] = nullptr;
  } else if (value.tag == GeometryTag::int16) {
    json["value"] = static_cast<int>(value.value);
  } else {
    json["value"] = value.value;
  }
  return json;
}

void print_geometry(const DecodedGeometry& geometry, const DumpOptions& options, Printer& out) {
  std::size_t first = 0, last = geometry.x.size();
  if (options.at) {
    first = static_cast<std::size_t>(*options.at);  // inside: checked before printing
    last = first + 1;
  }
  for (std::size_t m = first; m < last; ++m) {
    if (options.json) {
      Json record;
      record["metre"] = m;
      record["x"] = value_json(geometry.x[m]);
      record["y"] = value_json(geometry.y[m]);
      out.json_record(record);
    } else {
      out.line("metre=" + std::to_string(m) + " x=" + value_text(geometry.x[m]) +
               " y=" + value_text(geometry.y[m]));
    }
  }
}

void print_table(const RecordTable& table, bool json, Printer& out) {
  for (std::size_t index = 0; index < table.rows.size(); ++index) {
    const TableRow& r = table.rows[index];
    if (json) {
      Json record;
      record["row"] = index;
      for (const RowField& field : kRowFields) {
        if (is_text(field)) {
          record["text"] = cp1252_to_utf8(r.text);
        } else {
          record[field.name] = field_number(r, field);
        }
      }
      record["text_hex"] = hex(r.text);
      record["role"] = row_role(r, index);
      for (const auto& [name, value] : row_readings(r, index)) record[name] = value;
      out.json_record(record);
    } else {
      std::string line = "row=" + std::to_string(index);
      for (const RowField& field : kRowFields) {
        line += ' ';
        line += field.name;
        line += '=';
        line += is_text(field) ? quoted(r.text) : std::to_string(field_number(r, field));
      }
      line += " role=";
      line += row_role(r, index);
      for (const auto& [name, value] : row_readings(r, index)) line += " " + name + "=" + value;
      out.line(line);
    }
  }
}

void print_cell(const CellGrid& grid, std::size_t index, const RecordTable* table, bool json,
                Language language, Printer& out) {
  const TrackCell& c = grid.cells[index];
  static const RecordTable no_table;
  const std::string details =
      c.kind == cell_kind::kNone
          ? ""
          // The JSON form is for programs: its words stay English.
          : object_details(c, table != nullptr ? *table : no_table,
                           json ? Language::english : language);
  if (json) {
    Json record;
    record["cell"] = index;
    record["kind"] = c.kind;
    record["kind_name"] = cell_kind_label(c.kind);
    for (const CellField& field : kCellFields) {
      if (std::string_view(field.name) != "kind") record[field.name] = field_number(c, field);
    }
    record["at_m"] = cell_metres(index);
    record["speed_kmh"] = c.speed_limit * 5;
    if (c.gradient == 0) {
      record["gradient_permille"] = nullptr;
    } else {
      record["gradient_permille"] = c.gradient - 100;
    }
    if (!details.empty()) record["details"] = details;
    out.json_record(record);
    return;
  }
  std::string line = "cell=" + std::to_string(index) + " kind=" + std::to_string(c.kind) +
                     " kind_name=" + cell_kind_label(c.kind);
  for (const CellField& field : kCellFields) {
    if (std::string_view(field.name) == "kind") continue;
    line += ' ';
    line += field.name;
    line += '=';
    line += std::to_string(field_number(c, field));
  }
  line += " at_m=" + std::to_string(cell_metres(index));
  line += " speed_kmh=" + std::to_string(c.speed_limit * 5);
  // A gradient of 0 is a cell the gradient fill never reached, not -100 permille.
  line += " gradient_permille=";
  line += c.gradient == 0 ? std::string("unset") : std::to_string(c.gradient - 100);
  if (!details.empty()) line += " details=" + quoted(details);
  out.line(line);
}

void print_grid(const CellGrid& grid, const RecordTable* table, const DumpOptions& options,
                Printer& out) {
  std::size_t first = 0, last = grid.cells.size();
  if (options.at) {
    const std::int64_t cell = round_half_even(*options.at / 50.0 + 1.0);
    first = static_cast<std::size_t>(cell);  // inside: checked before printing
    last = first + 1;
  }
  for (std::size_t index = first; index < last; ++index) {
    if (options.kind && *options.kind != cell_kind_label(grid.cells[index].kind)) continue;
    print_cell(grid, index, table, options.json, options.language, out);
  }
}

const char* kind_label(ScenarioFileKind kind) {
  switch (kind) {
    case ScenarioFileKind::plan_geometry: return "plan_geometry";
    case ScenarioFileKind::record_table: return "record_table";
    case ScenarioFileKind::cell_grid: break;
  }
  return "cell_grid";
}

const char* kind_description(ScenarioFileKind kind) {
  switch (kind) {
    case ScenarioFileKind::plan_geometry: return "plan geometry";
    case ScenarioFileKind::record_table: return "record table";
    case ScenarioFileKind::cell_grid: break;
  }
  return "cell grid";
}

// The scenario's base name and train number from a file name NAME_NUMBER.ext.
std::optional<std::pair<std::string, std::string>> names_of(const std::string& bare) {
  const std::size_t dot = bare.rfind('.');
  const std::string stem = bare.substr(0, dot);
  const std::size_t cut = stem.rfind('_');
  if (cut == std::string::npos || cut == 0 || cut + 1 == stem.size()) return std::nullopt;
  return std::pair{stem.substr(0, cut), stem.substr(cut + 1)};
}

// The other file of the pair: NAME_NUMBER.sim beside NAME_NUMBER.dat and back.
std::string sibling(const std::string& path, const char* extension) {
  const std::size_t dot = path.rfind('.');
  return path.substr(0, dot) + extension;
}

void print_summary(const std::string& bare, const RecordTable* table, const CellGrid* grid,
                   const DecodedGeometry* geometry, bool json, Printer& out) {
  Json summary;
  std::vector<std::string> lines;
  if (geometry != nullptr) {
    std::size_t written = 0;
    double min_x = 0, max_x = 0, min_y = 0, max_y = 0;
    for (std::size_t m = 0; m < geometry->x.size(); ++m) {
      if (geometry->x[m].tag == GeometryTag::empty) continue;
      const double x = geometry->x[m].value, y = geometry->y[m].value;
      if (written++ == 0) {
        min_x = max_x = x;
        min_y = max_y = y;
      }
      min_x = std::min(min_x, x);
      max_x = std::max(max_x, x);
      min_y = std::min(min_y, y);
      max_y = std::max(max_y, y);
    }
    summary["metres"] = geometry->x.size();
    summary["written_metres"] = written;
    summary["x_range"] = {min_x, max_x};
    summary["y_range"] = {min_y, max_y};
    lines.push_back("metres=" + std::to_string(geometry->x.size()) +
                    " written_metres=" + std::to_string(written) + " x_m=" + real_text(min_x) +
                    ".." + real_text(max_x) + " y_m=" + real_text(min_y) + ".." + real_text(max_y));
  }
  std::map<std::int32_t, std::int32_t> stop_cells;
  if (grid != nullptr) {
    std::map<std::uint8_t, std::size_t> counts;
    for (std::size_t i = 0; i < grid->cells.size(); ++i) {
      const TrackCell& cell = grid->cells[i];
      ++counts[cell.kind];
      if (cell.kind == cell_kind::kStopMarker) stop_cells.emplace(cell.val_a, static_cast<std::int32_t>(i));
    }
    summary["cells"] = grid->cells.size();
    lines.push_back("cells=" + std::to_string(grid->cells.size()) + " last_index=" +
                    std::to_string(grid->last_index()) + " reach_m=" +
                    std::to_string(cell_metres(grid->cells.size() - 1)));
    Json count_json = Json::object();
    for (const auto& [kind, count] : counts) {
      count_json[cell_kind_label(kind)] = count;
      lines.push_back("kind=" + std::to_string(kind) + " kind_name=" + cell_kind_label(kind) +
                      " count=" + std::to_string(count));
    }
    summary["counts"] = count_json;
  }
  if (table != nullptr) {
    Json stations = Json::array(), boards = Json::array();
    for (std::size_t index = 1; index <= static_cast<std::size_t>(table_row::kFirstSign); ++index) {
      const TableRow& row = table->rows[index];
      const std::string_view role = row_role(row, index);
      if (role == "station") {
        const auto stop = stop_cells.find(static_cast<std::int32_t>(index));
        Json station = {{"row", index},          {"name", cp1252_to_utf8(row.text)},
                        {"kind", row.kind},      {"at_m", row.num_c},
                        {"from_m", row.num_a},   {"to_m", row.num_b},
                        {"time", scheduled_text(row.num_d)}, {"stand_s", row.byte_b}};
        station["stop_cell"] = stop != stop_cells.end() ? Json(stop->second) : Json(nullptr);
        stations.push_back(station);
        lines.push_back("station row=" + std::to_string(index) + " name=" + quoted(row.text) +
                        " kind=" + std::to_string(row.kind) + " at_m=" + std::to_string(row.num_c) +
                        " from_m=" + std::to_string(row.num_a) + " to_m=" +
                        std::to_string(row.num_b) + " time=" + scheduled_text(row.num_d) +
                        " stand_s=" + std::to_string(row.byte_b) +
                        (stop != stop_cells.end() ? " stop_cell=" + std::to_string(stop->second)
                                                  : std::string()));
      } else if (role == "board-text") {
        boards.push_back({{"row", index}, {"text", cp1252_to_utf8(row.text)}});
        lines.push_back("board row=" + std::to_string(index) + " text=" + quoted(row.text));
      }
    }
    summary["stations"] = stations;
    summary["boards"] = boards;
    const TableRow& train = table->rows[table_row::kTrainHeader];
    summary["line_length_m"] = table->rows[table_row::kQuantities].num_b;
    summary["start_clock"] =
        clock_text((std::int64_t{train.word_c} * 60 + train.word_d) * 60 + train.word_e);
    lines.insert(lines.begin(), "scenario=" + quoted(table->rows[table_row::kScenarioHeader].text) +
                                    " train=" + quoted(train.text) + " line_length_m=" +
                                    std::to_string(table->rows[table_row::kQuantities].num_b) +
                                    " start_clock=" + summary["start_clock"].get<std::string>());
  }
  if (json) {
    Json head;
    head["file"] = bare;
    head["summary"] = summary;
    out.line(head.dump(-1, ' ', false, Json::error_handler_t::replace));
  } else {
    out.line("file=" + bare);
    for (const std::string& line : lines) out.line(line);
  }
}

bool known_kind_name(const std::string& name) {
  for (int kind = 0; kind < 256; ++kind) {
    if (name == cell_kind_name(static_cast<std::uint8_t>(kind))) return true;
  }
  return name == "unknown";
}

// Reads and decodes one file; on failure, says why on standard error.
template <class Decode>
bool load(DiskFileSystem& disk, const std::string& path, ScenarioFileKind kind, Decode decode) {
  std::string bytes, error;
  if (IoResult result = disk.read(path, bytes); !result.ok) {
    std::cerr << "scenario-compiler: " << result.message << std::endl;
    return false;
  }
  if (!decode(std::string_view(bytes), error)) {
    std::cerr << "scenario-compiler: '" << path << "' is not a valid " << kind_description(kind)
              << " file: " << error << std::endl;
    return false;
  }
  return true;
}

// The file's entries by meaning; a name that is no scenario file's is a
// usage error, as for the other forms.
int print_entries(const std::string& path) {
  if (!scenario_file_kind(bare_name(path))) {
    std::cerr << "scenario-compiler: '" << path
              << "' is not a scenario file name (expected _linea.dat, .sim or .dat)" << std::endl;
    return exit_status::kUsage;
  }
  DiskFileSystem disk;
  std::string listing, error;
  if (!list_file_entries(disk, path, listing, error)) {
    std::cerr << "scenario-compiler: " << error << std::endl;
    return exit_status::kFileError;
  }
  std::cout << listing;
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "scenario-compiler: cannot write standard output" << std::endl;
    return exit_status::kFileError;
  }
  return exit_status::kSuccess;
}

}  // namespace

int run_dump(const DumpOptions& options) {
  const std::string& path = options.path;
  if (options.entries) return print_entries(path);
  const std::optional<ScenarioFileKind> kind = scenario_file_kind(bare_name(path));
  if (!kind) {
    std::cerr << "scenario-compiler: '" << path
              << "' is not a scenario file name (expected _linea.dat, .sim or .dat)" << std::endl;
    return exit_status::kUsage;
  }
  if ((options.at || options.kind) && *kind == ScenarioFileKind::record_table) {
    std::cerr << "scenario-compiler: --at and --kind select cells or metres, not rows of a "
                 "record table" << std::endl;
    return exit_status::kUsage;
  }
  if (options.kind && (*kind != ScenarioFileKind::cell_grid || !known_kind_name(*options.kind))) {
    std::cerr << "scenario-compiler: --kind takes the kind name of a cell (signal, "
                 "stop-marker, none, ...), not '" << *options.kind << "'" << std::endl;
    return exit_status::kUsage;
  }
  DiskFileSystem disk;
  DecodedGeometry geometry;
  RecordTable table;
  CellGrid grid;
  bool decoded = false;
  switch (*kind) {
    case ScenarioFileKind::plan_geometry:
      decoded = load(disk, path, *kind, [&](std::string_view b, std::string& e) {
        return decode_plan_geometry(b, geometry, e);
      });
      break;
    case ScenarioFileKind::record_table:
      decoded = load(disk, path, *kind, [&](std::string_view b, std::string& e) {
        return decode_record_table(b, table, e);
      });
      break;
    case ScenarioFileKind::cell_grid:
      decoded = load(disk, path, *kind, [&](std::string_view b, std::string& e) {
        return decode_cell_grid(b, grid, e);
      });
      break;
  }
  if (!decoded) return exit_status::kFileError;
  if (options.at) {
    // A position outside the file has no record to show: say so rather than
    // print the nearest one as if it were there.
    const std::int64_t records = *kind == ScenarioFileKind::cell_grid
                                     ? static_cast<std::int64_t>(grid.cells.size())
                                     : static_cast<std::int64_t>(geometry.x.size());
    const std::int64_t index = *kind == ScenarioFileKind::cell_grid
                                   ? round_half_even(*options.at / 50.0 + 1.0)
                                   : *options.at;
    if (index < 0 || index >= records) {
      std::cerr << "scenario-compiler: --at " << *options.at << " lies outside '" << bare_name(path)
                << "' (" << (*kind == ScenarioFileKind::cell_grid ? "cells" : "metres") << " 0 to "
                << records - 1 << ")" << std::endl;
      return exit_status::kUsage;
    }
  }

  // The other file of the pair, where it is there, lends the texts of the
  // cells' rows and the stations of the summary.
  const RecordTable* table_seen = nullptr;
  const CellGrid* grid_seen = nullptr;
  if (*kind == ScenarioFileKind::record_table) {
    table_seen = &table;
    if (options.summary && disk.exists(sibling(path, ".dat"))) {
      std::string bytes, error;
      if (disk.read(sibling(path, ".dat"), bytes).ok && decode_cell_grid(bytes, grid, error)) {
        grid_seen = &grid;
      }
    }
  } else if (*kind == ScenarioFileKind::cell_grid) {
    grid_seen = &grid;
    std::string bytes, error;
    if (disk.exists(sibling(path, ".sim")) && disk.read(sibling(path, ".sim"), bytes).ok &&
        decode_record_table(bytes, table, error)) {
      table_seen = &table;
    }
  }
  const auto names = names_of(bare_name(path));
  for (const std::string& note :
       !names ? std::vector<std::string>{}
              : stamp_notes(names->first, names->second, *kind == ScenarioFileKind::record_table ? &table : nullptr,
                   *kind == ScenarioFileKind::cell_grid ? &grid : nullptr, options.language)) {
    std::cerr << "scenario-compiler: note: " << bare_name(path) << ": " << note << std::endl;
  }

  {
    Printer out;
    if (options.summary) {
      print_summary(bare_name(path), table_seen, grid_seen,
                    *kind == ScenarioFileKind::plan_geometry ? &geometry : nullptr, options.json,
                    out);
    } else {
      if (options.json) {
        Json head;
        head["file"] = bare_name(path);
        head["kind"] = kind_label(*kind);
        std::string text = head.dump(-1, ' ', false, Json::error_handler_t::replace);
        text.pop_back();  // the records array goes inside the object
        out.line(text + ",\"records\":[");
      }
      switch (*kind) {
        case ScenarioFileKind::plan_geometry: print_geometry(geometry, options, out); break;
        case ScenarioFileKind::record_table: print_table(table, options.json, out); break;
        case ScenarioFileKind::cell_grid: print_grid(grid, table_seen, options, out); break;
      }
      if (options.json) out.line("\n]}");
    }
  }
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "scenario-compiler: cannot write standard output" << std::endl;
    return exit_status::kFileError;
  }
  return exit_status::kSuccess;
}

}  // namespace scenario
