#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/build_status.h"
#include "model/cell_grid.h"
#include "model/record_table.h"
#include "output/file_system.h"
#include "sources/plan_geometry.h"

namespace scenario {

inline constexpr const char* kDefaultBaseName = "Orvale_Varcona";
inline constexpr const char* kDefaultTrainNumber = "593";

/// All state of one run. Every procedure of the build is an operation on it.
struct BuildContext {
  explicit BuildContext(FileSystem& file_system) : files(file_system) {}

  FileSystem& files;
  std::string folder;                        // where every file of the run lives
  std::string base_name = kDefaultBaseName;
  std::string train_number = kDefaultTrainNumber;
  std::int32_t geometry_flag = 1;            // 0: no plan geometry read or written
  bool delete_sources = true;                // the readers delete what they read

  RecordTable table;
  std::optional<CellGrid> grid;              // made by the line reader's length entry
  std::optional<PlanGeometry> geometry;      // likewise, with the geometry flag set
  std::string current_token;                 // the text field last read
  BuildStatus status;
  std::int32_t message_box_result = 0;       // stored, never used

  /// The first file operation that failed; the build stops at it.
  std::optional<std::string> file_error;

  /// Why a source text that exists could not be read. The reader has taken
  /// its failure path (status 25) and the build goes on, as after any 25;
  /// the command reports the reason as a failed file operation at the end.
  std::optional<std::string> source_error;
};

/// Deletes a source text when the run deletes sources; a failure is recorded
/// in `file_error`. A file that is already gone is not an error.
void delete_source(BuildContext& context, const std::string& path);

}  // namespace scenario
