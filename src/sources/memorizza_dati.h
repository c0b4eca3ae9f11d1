#pragma once

#include <optional>

#include "app/build_context.h"

namespace scenario {

/// Reads the line source, then (when the line reader reached its end) the
/// train source, into the build context.
void memorizza_dati(BuildContext& context);

/// The common failure path of both readers: deletes the line source and the
/// train source where they still exist and records status 25.
void take_failure_path(BuildContext& context, std::optional<SourceLine> origin);

}  // namespace scenario
