#pragma once

#include "files/file_names.h"
#include "files/file_system.h"

namespace scenario {

/// Writes the five built-in texts in their order: line source, train source,
/// notes, slow-order form, timetable sheet. Stops at the first failure.
IoResult write_builtin_texts(FileSystem& files, const ScenarioFileNames& names);

}  // namespace scenario
