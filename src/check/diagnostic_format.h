#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "language/language.h"
#include "model/diagnostic.h"

namespace scenario {

/// "error", "warning" or "note".
std::string_view severity_name(Severity severity);

/// One finding as an author reads it, each line ending in "\n":
/// "FILE:LINE:COL: error: MESSAGE [ID]", then the source line with a caret
/// under the column where the line is known, then each note the same way.
/// A finding tied to no source starts with "scenario-compiler: " instead.
std::string format_diagnostic(const Diagnostic& diagnostic);

struct FindingCounts {
  int errors = 0;
  int warnings = 0;
};

/// The errors and warnings among the findings (notes are not counted).
FindingCounts count_findings(const std::vector<Diagnostic>& diagnostics);

/// "1 error, 2 warnings", in `language`.
std::string counts_text(FindingCounts counts, Language language);

}  // namespace scenario
