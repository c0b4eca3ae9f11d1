#include "sources/text_match.h"

#include <algorithm>

#include "model/rounding.h"

namespace scenario {

bool contains(std::string_view field, std::string_view keyword) {
  return field.find(keyword) != std::string_view::npos;
}

bool contains_ignore_case(std::string_view field, std::string_view keyword) {
  if (keyword.empty()) return true;
  if (keyword.size() > field.size()) return false;
  return std::search(field.begin(), field.end(), keyword.begin(), keyword.end(),
                     [](char a, char b) { return ascii_lower(a) == ascii_lower(b); }) != field.end();
}

std::size_t first_line_break(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || text[i] == '\r') return i;
  }
  return text.size();
}

}  // namespace scenario
