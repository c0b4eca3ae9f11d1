#pragma once

#include <string>
#include <vector>

#include "files/file_names.h"
#include "files/file_system.h"
#include "language/language.h"

namespace scenario {

/// Writes the five built-in texts in their order: line source, train source,
/// notes, slow-order form, timetable sheet. Stops at the first failure.
IoResult write_builtin_texts(FileSystem& files, const ScenarioFileNames& names);

/// The two sources among the names (line and train source) that exist and
/// differ from the built-in text that would replace them, or cannot be read
/// to tell: an author's edits, which writing the texts would lose. One
/// message each, naming the file. The driver documents are the program's
/// own output and are not looked at.
std::vector<std::string> edited_sources(FileSystem& files, const ScenarioFileNames& names,
                                        Language language = Language::english);

}  // namespace scenario
