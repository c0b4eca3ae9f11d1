#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/build_status.h"
#include "model/diagnostic.h"

namespace scenario {

/// What a command tells in its `--report` JSON object.
struct CommandReport {
  BuildStatus status;
  std::optional<std::int32_t> fatal;            // 1250 or 1251
  std::optional<std::int32_t> grid_last_index;  // N; none when no grid was made
  std::vector<std::string> written;             // bare file names, in writing order
  std::vector<Diagnostic> diagnostics;          // the findings the command told
};

/// The report as one JSON object with every key present.
std::string report_json(const CommandReport& report);

}  // namespace scenario
