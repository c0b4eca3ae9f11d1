#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/build_context.h"

namespace scenario {

/// What a compile left behind besides the context's status.
struct CompileOutcome {
  std::optional<std::int32_t> fatal;  // 1250 or 1251: no scenario file written
  std::vector<std::string> written;   // full names, in the order written
};

/// Compiles the two sources of the context into the scenario files: clear
/// the status and the table, read, code-reduction pass, stamps, write.
/// A failed file operation stops it and is left in `context.file_error`.
CompileOutcome memorizza_percorso(BuildContext& context, std::int32_t geometry_flag);

}  // namespace scenario
