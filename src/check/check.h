#pragma once

#include <optional>
#include <string>
#include <vector>

#include "files/file_system.h"
#include "model/build_context.h"
#include "model/diagnostic.h"

namespace scenario {

struct CheckResult {
  std::vector<Diagnostic> diagnostics;
  BuildStatus compile_status;
  std::optional<std::string> file_error;
};

CheckResult check_sources(FileSystem& files, const BuildOptions& options);

}  // namespace scenario
