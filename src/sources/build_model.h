#pragma once

#include <cstdint>
#include <optional>

#include "model/build_context.h"

namespace scenario {

/// Builds the model from the two sources of the context without writing a
/// scenario file: clears the status, the table and the findings, reads both
/// sources, runs the code-reduction pass and stamps the headers. Returns the
/// fatal code (1250 or 1251) when the stamps refuse the model. Every status
/// set on the way has its error Diagnostic in `context.state.diagnostics`.
std::optional<std::int32_t> build_model(BuildContext& context);

}  // namespace scenario
