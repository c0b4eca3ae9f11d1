#include "app/status_finding.h"

#include "language/translate.h"

namespace scenario {

std::optional<Diagnostic> status_finding(const BuildState& state, Language language) {
  const BuildStatus& status = state.status;
  if (status.code == status::kNone) return std::nullopt;
  if (const Diagnostic* found = status_diagnostic(state)) return *found;
  // Every code the build sets comes with its cause (the compile properties
  // check it on every fuzz input); this only keeps the code from going unsaid.
  Diagnostic finding;
  finding.id = status_id(status.code);
  finding.code = status.code;
  finding.message = tr(language, status_meaning(status.code));
  if (status.origin) finding.where = SourcePoint{status.origin->file, status.origin->line, 0};
  return finding;
}

}  // namespace scenario
