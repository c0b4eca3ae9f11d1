#pragma once

#include <optional>

#include "model/build_context.h"
#include "model/diagnostic.h"

namespace scenario {

/// The finding that tells the exact cause of the build's final status code;
/// none for code 0. The readers' own finding for it when they recorded one,
/// otherwise one made from the status: its meaning and the source line where
/// a reader set it.
std::optional<Diagnostic> status_finding(const BuildState& state,
                                         Language language = Language::english);

}  // namespace scenario
