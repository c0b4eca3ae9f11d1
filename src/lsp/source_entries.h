#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sources/keywords.h"

namespace scenario {

/// One field of a source text: where it stands (1-based line, byte columns
/// of its first byte and just past its last one, trailing blanks left out)
/// and what it holds.
struct FieldSpan {
  std::int32_t line = 1;
  std::int32_t column = 1;
  std::int32_t end_column = 1;
  std::string text;
  std::optional<std::int32_t> number;  // a value read as a number
};

/// One entry as the readers see it: its keyword field, the keyword it
/// matches first, and its values up to the first that could not be read.
struct SourceEntry {
  const SourceKeyword* keyword = nullptr;
  FieldSpan key;
  std::vector<FieldSpan> values;
  std::size_t section = 0;  // index in SourceEntries::sections
  bool complete = false;    // every value was read
};

/// A source text cut into its entries, for the editor: the fields are read
/// by the readers' own field reader and matched against the keyword table,
/// without any of the checks a compile makes.
struct SourceEntries {
  SourceKind kind = SourceKind::line;
  std::vector<FieldSpan> sections;  // "[generale]" and every field naming a section
  std::vector<SourceEntry> entries;
  std::vector<FieldSpan> unknown;   // keyword fields that match no keyword
  std::int32_t general_line = 0;    // the line of "[generale]", 0 when none
  std::int32_t body_line = 0;       // the line source's first body section, 0 when none
};

SourceEntries read_entries(std::string_view bytes, SourceKind kind);

/// Which keywords a keyword field on `line` is tested against: `section`
/// before "[generale]" (only the section header is looked for there).
KeywordPlace place_of_line(const SourceEntries& entries, std::int32_t line);

/// Whether a value of an entry is its text (a station's name, a board's text).
bool is_text_value(const SourceKeyword& keyword, std::size_t index);

}  // namespace scenario
