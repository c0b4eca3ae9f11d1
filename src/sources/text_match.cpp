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
  // Every field is tested against every keyword of its place: a plain loop
  // that skips on the first byte.
  const char first = ascii_lower(keyword[0]);
  for (std::size_t at = 0; at + keyword.size() <= field.size(); ++at) {
    if (ascii_lower(field[at]) == first &&
        equal_ignoring_case(field.substr(at, keyword.size()), keyword)) {
      return true;
    }
  }
  return false;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  }
  return true;
}

std::size_t first_line_break(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || text[i] == '\r') return i;
  }
  return text.size();
}

}  // namespace scenario
