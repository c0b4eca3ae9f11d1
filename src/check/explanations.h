#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "language/language.h"

namespace scenario {

/// What one finding means, for `explain` and docs/diagnostics.md.
struct Explanation {
  std::string id;                // "S15", "F1250", "unknown-keyword"
  std::string title;             // one line: what is wrong
  std::string_view meaning;      // when it is found and what the compile does then
  std::string_view example_of;   // where the example comes from ("" when none)
  std::string_view example;      // source lines that give it, one a line
  std::string_view fix;          // what the author changes
};

/// Every entry: the status codes in the order of their numbers, the two fatal
/// stamping errors, then the warning kinds.
std::vector<Explanation> all_explanations();

/// The entry of an id as an author may type it: "S25", "s25" or "25" for a
/// status code, "F1250" or "1250" for a fatal error, or a warning id.
std::optional<Explanation> find_explanation(std::string_view id);

/// Every id an author may type, for "did you mean".
std::vector<std::string> explanation_ids();

/// One entry as `explain ID` prints it, in `language`.
std::string explanation_text(const Explanation& explanation, Language language);

/// One line an entry, id and title, as `explain` prints it without an ID.
std::string explanation_list(Language language);

/// The whole table as the Markdown page docs/diagnostics.md (in Italian,
/// docs/diagnostics.it.md).
std::string diagnostics_markdown(Language language);

}  // namespace scenario
