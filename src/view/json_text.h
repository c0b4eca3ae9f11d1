#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

/// A small JSON emitter for the page's data: the caller writes the commas
/// and brackets, this keeps strings and numbers safe. Strings must be UTF-8.
/// Every '<' is escaped, so the text can sit inside a <script> element.
void json_string(std::string& out, std::string_view text);

/// A number with at most `decimals` digits after the point, trailing zeros
/// dropped ("12.5", "-3", "0").
void json_number(std::string& out, double value, int decimals);

inline void json_number(std::string& out, std::int64_t value) { out += std::to_string(value); }

/// `"key":` with the key escaped.
inline void json_key(std::string& out, std::string_view key) {
  json_string(out, key);
  out += ':';
}

}  // namespace scenario
