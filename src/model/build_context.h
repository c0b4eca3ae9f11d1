#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/file_names.h"
#include "files/file_system.h"
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
  bool delete_sources = true;                // the readers delete what they read
};

/// What a run builds: the model the readers fill and the writers store.
struct BuildState {
  RecordTable table;
  std::optional<CellGrid> grid;              // made by the line reader's length entry
  std::optional<PlanGeometry> geometry;      // likewise, with the geometry flag set
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
};

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
