#pragma once

#include <string>

#include "diff/scenario_diff.h"
#include "language/language.h"

namespace scenario {

/// What a scenario was read from, in words: "compiled files" or "sources,
/// built in memory".
std::string origin_text(const LoadedScenario& scenario, Language language);

/// The word of a change's kind ("added", "removed", "moved", "changed"), as
/// the text and the JSON form give it.
const char* change_word(ChangeKind kind);

/// One change as a line: its place, the entry, what changed, the source line.
std::string change_text(const Change& change, Language language);

/// The whole comparison for a person: the two sides, one line a change, the
/// follow-on bytes counted in one line, and "no difference", the number of
/// changes, or, when only bytes differ, the first differing byte of each file.
std::string diff_text(const ScenarioDiff& diff, const LoadedScenario& old_scenario,
                      const LoadedScenario& new_scenario, const std::string& old_label,
                      const std::string& new_label, Language language);

}  // namespace scenario
