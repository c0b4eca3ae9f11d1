#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "language/language.h"

#include "model/build_status.h"
#include "model/cell_grid.h"
#include "model/diagnostic.h"
#include "model/record_table.h"
#include "output/describe.h"
#include "view/plan_points.h"
#include "view/source_places.h"

namespace scenario {

/// Everything the page of a scenario shows, from a compile in memory or from
/// the three scenario files.
struct ViewInput {
  std::string title;                      // NAME_NUMBER
  std::string origin;                     // where the data came from, in a few words
  RecordTable table;
  std::optional<CellGrid> grid;           // none when no grid was made or read
  std::vector<PlanPoint> plan;            // already thinned; empty without a plan
  std::optional<BuildStatus> status;      // known for a compile only
  std::optional<std::int32_t> fatal;      // 1250 or 1251
  std::vector<std::string> problems;      // files that could not be read, and why
  std::vector<Diagnostic> diagnostics;
  SourcePlaces places;
  bool watch = false;
  Language language = Language::english;  // of the page's words
};

/// The page's data as one JSON object (UTF-8, safe inside a <script>).
std::string view_data_json(const ViewInput& input);

}  // namespace scenario
