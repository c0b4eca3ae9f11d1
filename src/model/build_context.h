#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "files/file_names.h"
#include "files/file_system.h"
#include "language/language.h"
#include "model/build_status.h"
#include "model/cell_grid.h"
#include "model/diagnostic.h"
#include "model/plan_geometry.h"
#include "model/record_table.h"

namespace scenario {

inline constexpr const char* kDefaultBaseName = "Orvale_Varcona";
inline constexpr const char* kDefaultTrainNumber = "593";

/// What a run is asked to do: where, with which names, and how.
struct BuildOptions {
  std::string folder;                        // where every file of the run lives
  std::string base_name = kDefaultBaseName;
  std::string train_number = kDefaultTrainNumber;
  std::int32_t geometry_flag = 1;            // 0: no plan geometry read or written
  /// With the geometry flag set: compute every metre's point (false: keep
  /// only how far the plan geometry reaches, for a run that writes nothing).
  bool geometry_points = true;
  bool delete_sources = true;                // the readers delete what they read
  /// A `check` run: the readers go on after every error, at the next entry,
  /// and the train source is read whatever the line source held. Never set
  /// by a compile.
  bool keep_going = false;
  /// The language of the findings' words (ids, severities and every byte
  /// written stay the same in every language).
  Language language = Language::english;
};

/// The entry that put an object into a cell.
struct CellOccupant {
  std::uint8_t kind = 0;        // the object kind it wrote there
  std::int32_t position = 0;    // the entry's position, metres
  SourcePoint where;
  std::string source_line;
};

/// A speed restriction as read: its boards' cells and its entry.
struct RestrictionOrigin {
  std::int32_t warning_cell = -1;  // -1: no warning board
  std::int32_t start_cell = 0;
  std::int32_t end_cell = 0;
  std::int32_t position = 0;
  SourcePoint where;
  std::string source_line;
};

/// A kilometre-progressive entry as read.
struct ProgressiveOrigin {
  std::int32_t first = 0;
  std::int32_t second = 0;
  SourcePoint where;
  std::string source_line;
};

/// The options of a run in `folder` with these names, the geometry flag 1.
inline BuildOptions options_for(std::string folder, std::string base_name,
                                std::string train_number, bool delete_sources,
                                Language language = Language::english) {
  BuildOptions options;
  options.folder = std::move(folder);
  options.base_name = std::move(base_name);
  options.train_number = std::move(train_number);
  options.delete_sources = delete_sources;
  options.language = language;
  return options;
}

/// What a run builds: the model the readers fill and the writers store.
struct BuildState {
  RecordTable table;
  std::optional<CellGrid> grid;              // made by the line reader's length entry
  std::optional<PlanGeometry> geometry;      // likewise, with the geometry flag set
  std::optional<std::int32_t> line_length;   // metres, from the same entry
  BuildStatus status;

  /// The first file operation that failed; the build stops at it.
  std::optional<std::string> file_error;

  /// Why a source text that exists could not be read. The reader has taken
  /// its failure path (status 25) and the build goes on, as after any 25;
  /// the command reports the reason as a failed file operation at the end.
  std::optional<std::string> source_error;

  /// What the readers found for the author, in the order found: warnings,
  /// and the exact cause of each status code they set.
  std::vector<Diagnostic> diagnostics;

  /// Which entry put each object into the grid, by cell, for the messages
  /// about a taken cell.
  std::map<std::int32_t, CellOccupant> occupants;

  /// The speed restrictions read, for the messages of the code-reduction pass.
  std::vector<RestrictionOrigin> restrictions;

  /// Where the kilometre progressives were read, for status 2.
  std::vector<ProgressiveOrigin> progressives;

  /// The entry behind each station row and indication-board text row, by row.
  std::map<std::int32_t, SourcePoint> row_origins;

  /// The entry of each tunnel, by the cell its position falls in.
  std::map<std::int32_t, SourcePoint> tunnel_origins;

  /// The entry of each point from which a value of the cells holds (speed
  /// limit, adhesion, gradient), by the first cell that takes it, and of each
  /// curve, by its start metre.
  std::map<std::int32_t, SourcePoint> speed_origins;
  std::map<std::int32_t, SourcePoint> adhesion_origins;
  std::map<std::int32_t, SourcePoint> gradient_origins;
  std::map<std::int32_t, SourcePoint> curve_origins;
};

/// The error whose code is the final status code; nullptr when it is 0 or
/// when no error was recorded for it.
const Diagnostic* status_diagnostic(const BuildState& state);

/// One run: its options, the eight file names composed once from them, and
/// its state. Every procedure of the build is an operation on it.
struct BuildContext {
  BuildContext(FileSystem& file_system, BuildOptions run_options)
      : files(file_system),
        options(std::move(run_options)),
        names(scenario_file_names(options.folder, options.base_name, options.train_number)) {}
  BuildContext(const BuildContext&) = delete;
  BuildContext& operator=(const BuildContext&) = delete;

  FileSystem& files;
  BuildOptions options;
  const ScenarioFileNames names;
  BuildState state;
};

}  // namespace scenario
