#pragma once

// Test helpers: the sources of a finding's table, made by one edit of a text,
// and the check of one such edit's findings in each language.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "testing/check_properties.h"
#include "testing/compile_properties.h"

namespace scenario::test {

/// `text` with its first `from` replaced by `to`; `from` "*" replaces the
/// whole text. A `from` the text does not hold fails the test.
inline std::string edited(std::string_view text, std::string_view from, std::string_view to) {
  if (from == "*") return std::string(to);
  std::string result(text);
  const std::size_t at = result.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) result.replace(at, from.size(), to);
  return result;
}

/// One mistake made in the fixed sources, and every finding `check` gives
/// for it in each language (one a line, notes indented).
struct LanguageMistake {
  const char* name;
  bool in_line;  // the edit is of the line source (else of the train source)
  std::string_view from, to;
  std::string english, italian;
};

inline void expect_findings_in_each_language(const LanguageMistake& mistake) {
  SCOPED_TRACE(mistake.name);
  const std::string line = mistake.in_line
                               ? edited(testing::fixed_line_source(), mistake.from, mistake.to)
                               : std::string(testing::fixed_line_source());
  const std::string train = mistake.in_line
                                ? std::string(testing::fixed_train_source())
                                : edited(testing::fixed_train_source(), mistake.from, mistake.to);
  EXPECT_EQ(testing::findings_text(testing::check_in_memory(line, train, Language::english)),
            mistake.english);
  EXPECT_EQ(testing::findings_text(testing::check_in_memory(line, train, Language::italian)),
            mistake.italian);
}

}  // namespace scenario::test
