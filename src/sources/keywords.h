#pragma once

#include <span>
#include <string_view>

namespace scenario {

/// Which source text a keyword belongs to.
enum class SourceKind { line, train };

/// Where in its source a keyword is looked for: the line source's header
/// (between "[generale]" and the first body section) or its body; the train
/// source has records only, after its "[generale]".
enum class KeywordPlace { section, header, body, records };

/// One keyword of the sources, as the readers match it: the keyword field
/// must contain every word of `words` (the second may be empty), with ASCII
/// case ignored or not.
struct SourceKeyword {
  SourceKind source;
  KeywordPlace place;
  std::string_view words[2];
  bool ignore_case;
  std::string_view meaning;  // what the entry is, in a few English words
  std::string_view values;   // the values that follow, by name, as an author writes them
};

/// Every keyword of both sources, in the order the readers test them.
std::span<const SourceKeyword> source_keywords();

/// The keyword test of one table entry on a keyword field.
bool matches(const SourceKeyword& keyword, std::string_view field);

}  // namespace scenario
