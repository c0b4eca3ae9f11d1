#include "model/diagnostic.h"

namespace scenario {

std::string_view warning_id(WarningKind kind) {
  switch (kind) {
    case WarningKind::unknown_keyword: return "unknown-keyword";
    case WarningKind::extra_values: return "extra-values";
    case WarningKind::comment_marker: return "comment-marker";
    case WarningKind::narrowed_value: return "narrowed-value";
    case WarningKind::out_of_order: return "out-of-order";
    case WarningKind::empty_source: return "empty-source";
    case WarningKind::utf8_text: return "utf8-text";
    case WarningKind::trailing_blanks: return "trailing-blanks";
    case WarningKind::keyword_case: return "keyword-case";
    case WarningKind::empty_text: return "empty-text";
    case WarningKind::field_separator: return "field-separator";
    case WarningKind::decimal_comma: return "decimal-comma";
    case WarningKind::tunnel_overlap: return "tunnel-overlap";
    case WarningKind::repeated_position: return "repeated-position";
    case WarningKind::past_line_end: return "past-line-end";
    case WarningKind::rounded_speed: return "rounded-speed";
    case WarningKind::close_tunnels: return "close-tunnels";
  }
  return "";
}

namespace {

// Appended rather than concatenated: GCC 12 sees a false overlap in "S" + text.
std::string letter_and_number(char letter, std::int32_t number) {
  std::string id(1, letter);
  id += std::to_string(number);
  return id;
}

}  // namespace

std::string status_id(StatusCode code) { return letter_and_number('S', code_number(code)); }

std::string fatal_id(std::int32_t number) { return letter_and_number('F', number); }

}  // namespace scenario
