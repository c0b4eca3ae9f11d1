#include "model/build_context.h"

namespace scenario {

const Diagnostic* status_diagnostic(const BuildState& state) {
  if (state.status.code == status::kNone) return nullptr;
  // The last error of that code is the one that set it.
  for (auto it = state.diagnostics.rbegin(); it != state.diagnostics.rend(); ++it) {
    if (it->severity == Severity::error && it->code == state.status.code) return &*it;
  }
  return nullptr;
}

}  // namespace scenario
