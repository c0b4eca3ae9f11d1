#pragma once

#include <optional>
#include <string>

#include "language/language.h"

namespace scenario {

/// Parses the command line and runs the command; returns the exit status.
int run_command_line(int argc, char** argv);

/// Why a base name or train number cannot compose a file name inside the
/// folder (a path separator, a NUL byte, "." or ".."), or nothing when it can.
std::optional<std::string> name_problem(const std::string& name,
                                        Language language = Language::english);

}  // namespace scenario
