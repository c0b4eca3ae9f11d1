#pragma once

// What every `check` run must keep, whatever its two source texts hold: it
// never writes a file, the status a compile of the same sources sets is among
// its errors (or a note under the error it follows from), and so is the
// compile's fatal stamping error.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "check/check.h"

namespace scenario::testing {

/// One finding as the front end prints its first line:
/// "FILE:LINE:COL-END: error: MESSAGE [ID]" (END the column just past the
/// field; "FILE:LINE:0:" where the column is unknown), notes below as
/// "  note: ...".
std::string finding_text(const Diagnostic& finding);

/// Every finding of a check, one `finding_text` a line.
std::string findings_text(const CheckResult& result);

/// Runs `check_sources` over the two texts in memory and returns its result.
CheckResult check_in_memory(std::string_view line_source, std::string_view train_source);
/// The same, its findings' words in `language`.
CheckResult check_in_memory(std::string_view line_source, std::string_view train_source,
                            Language language);

/// Checks and compiles the two sources in memory and returns a description
/// of the first broken property, if any: check changes no file, its findings
/// are the same with and without the plan geometry's points, and the status
/// the compile sets is among them. The findings with the points are
/// compared for lines of up to `longest_line_with_points` metres.
std::optional<std::string> check_check_properties(
    std::string_view line_source, std::string_view train_source,
    std::int64_t longest_line_with_points = std::numeric_limits<std::int64_t>::max());

}  // namespace scenario::testing
