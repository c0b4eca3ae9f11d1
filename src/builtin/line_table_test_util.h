#pragma once

// Test helpers: the lines of a line table as they reach the file, and the
// comma-separated fields of one source line.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builtin/line_table.h"

namespace scenario::test {

/// The written text cut at each CR LF. Fails the test when the text does not
/// end with CR LF or holds a CR or LF of its own inside a line.
inline std::vector<std::string> written_lines(LineTable table) {
  const std::string text = render_line_table(table);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "text does not end with CR LF";
      break;
    }
    std::string line = text.substr(start, end - start);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line end in: " << line;
    lines.push_back(std::move(line));
    start = end + 2;
  }
  return lines;
}

/// The fields of a source line, split at commas, blanks around them trimmed.
inline std::vector<std::string> fields_of(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = line.find(',', start);
    std::string field = line.substr(start, comma == std::string::npos ? std::string::npos
                                                                       : comma - start);
    const std::size_t first = field.find_first_not_of(' ');
    const std::size_t last = field.find_last_not_of(' ');
    fields.push_back(first == std::string::npos ? "" : field.substr(first, last - first + 1));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return fields;
}

/// The lines numbered `first` to `last` (1-based, inclusive).
inline std::vector<std::string> lines_between(const std::vector<std::string>& lines, int first,
                                              int last) {
  return {lines.begin() + (first - 1), lines.begin() + last};
}

}  // namespace scenario::test
