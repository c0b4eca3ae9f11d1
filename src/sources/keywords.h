#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "language/language.h"

namespace scenario {

/// Which source text a keyword belongs to.
enum class SourceKind { line, train };

/// Where in its source a keyword is looked for: the line source's header
/// (between "[generale]" and the first body section) or its body; the train
/// source has records only, after its "[generale]".
enum class KeywordPlace { section, header, body, records };

/// Which entry a keyword starts; the readers dispatch on it.
enum class KeywordEntry {
  line_general, length, progressive_tre, progressive_due, progressive_uno, background_uno,
  background_due, background_tre, repetition, gradient, curve, tunnel, speed_indicator,
  indication_board, train_general, braked_mass, coaches, speed, adhesion, clock, sand, signal,
  restriction, reduction_point, station,
};

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
  KeywordEntry entry;
  std::string_view name;     // the entry's name in messages ("gradient")
  std::string_view written;  // the keyword field as the built-in sources write it
  std::span<const std::string_view> fields;  // each value's name, in reading order
};

/// Every keyword of both sources, in the order the readers test them.
std::span<const SourceKeyword> source_keywords();

/// The keyword test of one table entry on a keyword field.
bool matches(const SourceKeyword& keyword, std::string_view field);

/// The keywords of one place of one source, in the order the readers test them.
std::span<const SourceKeyword> keywords_of(SourceKind source, KeywordPlace place);

/// The name of the value at `index` of an entry ("value 12" past its names).
std::string value_name(const SourceKeyword& keyword, std::size_t index);
std::string value_name(const SourceKeyword& keyword, std::size_t index, Language language);

/// The entry's name in messages ("gradient"), in `language`.
std::string entry_name(const SourceKeyword& keyword, Language language);

}  // namespace scenario
