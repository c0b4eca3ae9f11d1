#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/diagnostic.h"

namespace scenario {

/// The findings as a plain JSON array: one object each with severity, id,
/// code, position, file, line, column, end_column (just past the field),
/// message, source_line and notes
/// (null where a finding has none).
nlohmann::ordered_json diagnostics_json(const std::vector<Diagnostic>& diagnostics);

/// The findings as one SARIF 2.1.0 log: one run whose tool lists a rule for
/// each id found, and one result each. File names are relative to the base
/// id SRCROOT, which stands for `source_folder` (an absolute path in its
/// generic form, "/" between parts) when given.
nlohmann::ordered_json sarif_log(const std::vector<Diagnostic>& diagnostics,
                                 const std::string& source_folder = "");

/// A JSON document as the program prints it: indented, ending in a line end,
/// with bytes that are not UTF-8 replaced (the sources are single-byte text).
std::string json_text(const nlohmann::ordered_json& json);

}  // namespace scenario
