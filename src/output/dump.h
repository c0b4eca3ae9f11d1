#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_names.h"
#include "files/file_system.h"
#include "model/cell_grid.h"
#include "model/record_table.h"
#include "model/plan_geometry.h"

namespace scenario {

/// The three scenario files, told apart by name.
enum class ScenarioFileKind { plan_geometry, record_table, cell_grid };

/// "_linea.dat" is the plan geometry, ".sim" the record table, any other
/// ".dat" the cell grid; none for other names.
std::optional<ScenarioFileKind> scenario_file_kind(std::string_view file_name);

/// One tagged value of the plan geometry file; a 16-bit value is held as a double.
struct TaggedValue {
  GeometryTag tag = GeometryTag::empty;
  double value = 0.0;
};

/// The plan geometry file: x and y of metres 0..M.
struct DecodedGeometry {
  std::vector<TaggedValue> x;
  std::vector<TaggedValue> y;
};

/// Decodes a plan geometry file. False, with `error` saying what and where,
/// when it is not a whole, even number of tagged values of codes 0, 2 and 5.
bool decode_plan_geometry(std::string_view bytes, DecodedGeometry& geometry, std::string& error);

/// Decodes a record table file: exactly 87 rows and nothing after them.
bool decode_record_table(std::string_view bytes, RecordTable& table, std::string& error);

/// Decodes a cell grid file: a non-empty whole number of 15-byte cells.
bool decode_cell_grid(std::string_view bytes, CellGrid& grid, std::string& error);

/// The three files of a scenario, decoded into the model of the track.
struct DecodedScenario {
  RecordTable table;
  CellGrid grid;
  std::optional<DecodedGeometry> geometry;  // none without a plan geometry file
};

/// Decodes the record table, the cell grid and, when given, the plan
/// geometry. False, with `error` naming the file's kind and where its layout
/// breaks ("not a valid cell grid file: ..."), on the first that is not one.
bool decode_scenario(std::string_view table_bytes, std::string_view grid_bytes,
                     const std::string_view* geometry_bytes, DecodedScenario& scenario,
                     std::string& error);

/// Reads and decodes the scenario files of `names`: the plan geometry only
/// when it exists. False, with `failure` naming the file, when one cannot be
/// read or is not a scenario file.
bool read_scenario_files(FileSystem& files, const ScenarioFileNames& names,
                         DecodedScenario& scenario, std::string& failure);

}  // namespace scenario
