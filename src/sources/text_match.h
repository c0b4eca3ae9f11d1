#pragma once

// The readers' searches in a source's text: whether a field holds a keyword's
// word, where a line ends.

#include <cstddef>
#include <string_view>

namespace scenario {

/// The keyword test: `field` contains `keyword` anywhere, letter case counts.
bool contains(std::string_view field, std::string_view keyword);

/// The same, with ASCII letters compared without case; other bytes as they are.
bool contains_ignore_case(std::string_view field, std::string_view keyword);

/// Whether two texts are equal with ASCII letters compared without case.
bool equal_ignoring_case(std::string_view a, std::string_view b);

/// Where the first line break (CR or LF) of `text` stands; its size when none.
std::size_t first_line_break(std::string_view text);

}  // namespace scenario
