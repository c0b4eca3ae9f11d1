#include "output/dump.h"

#include "files/coding.h"
#include "output/record_fields.h"
#include "output/scenario_writer.h"

namespace scenario {
namespace {

bool ends_with(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

std::string at_byte(std::size_t offset) { return "at byte " + std::to_string(offset); }

// Where the value at `at` ends when its type code is known and all its bytes
// are there; 0 otherwise (`tagged_value_fault` then says what is wrong).
std::size_t tagged_value_end(std::string_view bytes, std::size_t at) {
  if (bytes.size() - at < 2) return 0;
  const std::size_t size = tagged_value_size(load_u16(bytes.data() + at));
  return size != 0 && bytes.size() - at >= size ? at + size : 0;
}

// Why the value at `at` cannot be read, `tagged_value_end` having found so.
std::string tagged_value_fault(std::string_view bytes, std::size_t at) {
  if (bytes.size() - at < 2) return "truncated type code " + at_byte(at);
  const std::uint16_t code = load_u16(bytes.data() + at);
  if (tagged_value_size(code) == 0) {
    return "unknown type code " + std::to_string(code) + " " + at_byte(at) +
           " (expected 0, 2 or 5)";
  }
  return "truncated value of type code " + std::to_string(code) + " " + at_byte(at);
}

// The value at `at`, which `tagged_value_end` has found whole; `at` moves
// past it. A plan geometry holds two values a metre: this is its loop, and
// each branch moves `at` on by a constant, so the next load need not wait.
TaggedValue checked_tagged_value(std::string_view bytes, std::size_t& at) {
  const char* value = bytes.data() + at;
  const std::uint16_t code = load_u16(value);
  if (code == 5) {
    at += 10;
    return {GeometryTag::real, load_f64(value + 2)};
  }
  if (code == 2) {
    at += 4;
    return {GeometryTag::int16, static_cast<double>(static_cast<std::int16_t>(load_u16(value + 2)))};
  }
  at += 2;
  return {GeometryTag::empty, 0.0};
}

}  // namespace

std::optional<ScenarioFileKind> scenario_file_kind(std::string_view file_name) {
  if (ends_with(file_name, "_linea.dat")) return ScenarioFileKind::plan_geometry;
  if (ends_with(file_name, ".sim")) return ScenarioFileKind::record_table;
  if (ends_with(file_name, ".dat")) return ScenarioFileKind::cell_grid;
  return std::nullopt;
}

bool decode_plan_geometry(std::string_view bytes, DecodedGeometry& geometry,
                          std::string& error) {
  // The file does not say where the y part begins: a first pass checks and
  // counts the values, the second fills x with the first half and y with the rest.
  std::size_t count = 0;
  for (std::size_t at = 0; at < bytes.size(); ++count) {
    const std::size_t end = tagged_value_end(bytes, at);
    if (end == 0) {
      error = tagged_value_fault(bytes, at);
      return false;
    }
    at = end;
  }
  if (count == 0) {
    error = "empty file: a plan geometry holds at least one metre";
    return false;
  }
  if (count % 2 != 0) {
    error = "odd number of values (" + std::to_string(count) +
            "): x and y must have one value each per metre";
    return false;
  }
  // Sized once and filled in place: a value a metre, tens of thousands of them.
  geometry.x.resize(count / 2);
  geometry.y.resize(count / 2);
  std::size_t at = 0;
  for (TaggedValue& value : geometry.x) value = checked_tagged_value(bytes, at);
  for (TaggedValue& value : geometry.y) value = checked_tagged_value(bytes, at);
  return true;
}

bool decode_record_table(std::string_view bytes, RecordTable& table, std::string& error) {
  ByteReader reader(bytes);
  for (int index = 0; index < table_row::kCount; ++index) {
    const std::size_t start = reader.position();
    TableRow& row = table.rows[static_cast<std::size_t>(index)];
    row = TableRow{};
    if (!get_record(reader, row, kRowFields)) {
      error = "truncated row " + std::to_string(index) + " starting " + at_byte(start) +
              ": the file ends before its " + std::to_string(table_row::kCount) + " rows";
      return false;
    }
  }
  if (!reader.at_end()) {
    error = std::to_string(reader.left()) + " bytes after the last row (row " +
            std::to_string(table_row::kCount - 1) + ") " + at_byte(reader.position());
    return false;
  }
  return true;
}

bool decode_cell_grid(std::string_view bytes, CellGrid& grid, std::string& error) {
  if (bytes.empty() || bytes.size() % kCellBytes != 0) {
    error = "size " + std::to_string(bytes.size()) + " bytes is not a whole, non-zero number of " +
            std::to_string(kCellBytes) + "-byte cells";
    return false;
  }
  grid.cells.assign(bytes.size() / kCellBytes, TrackCell{});
  ByteReader reader(bytes);
  // The size check above makes every read succeed.
  for (TrackCell& cell : grid.cells) get_record(reader, cell, kCellFields);
  return true;
}

namespace {

// Reads one file and decodes it; `failure` names the file otherwise.
template <class Decode>
bool read_and_decode(FileSystem& files, const std::string& path, const char* what, Decode decode,
                     std::string& failure) {
  std::string bytes, error;
  if (IoResult result = files.read(path, bytes); !result.ok) {
    failure = result.message;
    return false;
  }
  if (!decode(std::string_view(bytes), error)) {
    failure = "'" + path + "' is not a valid " + what + " file: " + error;
    return false;
  }
  return true;
}

}  // namespace

bool decode_scenario(std::string_view table_bytes, std::string_view grid_bytes,
                     const std::string_view* geometry_bytes, DecodedScenario& scenario,
                     std::string& error) {
  std::string why;
  if (!decode_record_table(table_bytes, scenario.table, why)) {
    error = "not a valid record table file: " + why;
    return false;
  }
  if (!decode_cell_grid(grid_bytes, scenario.grid, why)) {
    error = "not a valid cell grid file: " + why;
    return false;
  }
  scenario.geometry.reset();
  if (geometry_bytes != nullptr) {
    DecodedGeometry geometry;
    if (!decode_plan_geometry(*geometry_bytes, geometry, why)) {
      error = "not a valid plan geometry file: " + why;
      return false;
    }
    scenario.geometry = std::move(geometry);
  }
  return true;
}

bool read_scenario_files(FileSystem& files, const ScenarioFileNames& names,
                         DecodedScenario& scenario, std::string& failure) {
  if (!read_and_decode(
          files, names.record_table, "record table",
          [&](std::string_view b, std::string& e) { return decode_record_table(b, scenario.table, e); },
          failure) ||
      !read_and_decode(
          files, names.cell_grid, "cell grid",
          [&](std::string_view b, std::string& e) { return decode_cell_grid(b, scenario.grid, e); },
          failure)) {
    return false;
  }
  scenario.geometry.reset();
  // A scenario compiled without a plan has no plan geometry file.
  if (!files.exists(names.plan_geometry)) return true;
  DecodedGeometry geometry;
  if (!read_and_decode(
          files, names.plan_geometry, "plan geometry",
          [&](std::string_view b, std::string& e) { return decode_plan_geometry(b, geometry, e); },
          failure)) {
    return false;
  }
  scenario.geometry = std::move(geometry);
  return true;
}

}  // namespace scenario
