#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "files/file_system.h"
#include "language/language.h"
#include "model/build_context.h"
#include "model/build_status.h"
#include "model/cell_grid.h"
#include "model/record_table.h"
#include "output/dump.h"

namespace scenario {

/// Where a scenario to compare was taken from.
enum class ScenarioOrigin { compiled_files, sources };

/// One scenario as the simulator would load it: the three files' bytes and
/// their decoded model, with the source lines behind its entries where the
/// sources are at hand.
struct LoadedScenario {
  std::string folder;
  ScenarioOrigin origin = ScenarioOrigin::compiled_files;
  std::string table_bytes;
  std::string grid_bytes;
  std::optional<std::string> geometry_bytes;  // none: no plan geometry
  RecordTable table;
  CellGrid grid;
  std::optional<DecodedGeometry> geometry;
  /// The build's status, for a scenario built from its sources.
  std::optional<BuildStatus> status;
  /// Whether the source lines below belong to these bytes: the sources
  /// build them, or the sources beside the compiled files build the same.
  bool lines_known = false;
  /// Compiled files with sources beside them that build other bytes: the
  /// files are older or newer than the sources.
  bool stale_sources = false;
  std::map<std::int32_t, CellOccupant> occupants;      // by cell
  std::map<std::int32_t, SourcePoint> row_origins;     // by row
  std::map<std::int32_t, SourcePoint> tunnel_origins;  // by the cell of the tunnel's start
  std::map<std::int32_t, SourcePoint> speed_origins;     // by the first cell of the value
  std::map<std::int32_t, SourcePoint> adhesion_origins;  // likewise
  std::map<std::int32_t, SourcePoint> gradient_origins;  // likewise
  std::map<std::int32_t, SourcePoint> curve_origins;     // by the start metre
};

/// Loads the scenario `base_name`_`train_number` of `folder`: its compiled
/// files when the record table or cell grid file is there (the sources
/// beside them lend their lines when they build the same bytes), otherwise
/// its sources, built in memory without writing or deleting a file. False,
/// with `error` naming the file and the reason, when neither can be read as
/// a scenario.
bool load_scenario(FileSystem& files, const std::string& folder, const std::string& base_name,
                   const std::string& train_number, LoadedScenario& scenario, std::string& error,
                   Language language = Language::english);

}  // namespace scenario
