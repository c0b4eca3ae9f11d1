#pragma once

// Test helper: one mistake made in the fixed sources, and every finding
// `check` gives for it in each language.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "check/check_test_util.h"
#include "testing/check_properties.h"
#include "testing/compile_properties.h"

namespace scenario::test {

/// The edit of one source and the findings in each language (one a line,
/// notes indented).
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
