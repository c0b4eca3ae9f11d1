#pragma once

// Test helper: the sources of a finding's table, made by one edit of a text.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

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

}  // namespace scenario::test
