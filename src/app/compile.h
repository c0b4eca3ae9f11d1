#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/build_context.h"

namespace scenario {

/// What a compile left behind besides the context's state.
struct CompileOutcome {
  std::optional<std::int32_t> fatal;  // 1250 or 1251: no scenario file written
  std::vector<std::string> written;   // full names, in the order written
};

/// Compiles the two sources of the context into the scenario files: the
/// model as `build_model` makes it, then the three files. A fatal code
/// shows the error box and writes nothing. A failed file operation stops it
/// and is left in `context.state.file_error`.
CompileOutcome memorizza_percorso(BuildContext& context, std::int32_t geometry_flag);

}  // namespace scenario
