#pragma once

#include <optional>
#include <string>

#include "model/build_context.h"

namespace scenario {

/// Deletes a source text when the run deletes sources; a failure is recorded
/// in `file_error`. A file that is already gone is not an error.
void delete_source(BuildContext& context, const std::string& path);

/// The common failure path of both readers: deletes the line source and the
/// train source where they still exist and records status 25.
void take_failure_path(BuildContext& context, std::optional<SourceLine> origin);

}  // namespace scenario
