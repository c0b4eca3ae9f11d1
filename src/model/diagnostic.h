#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/build_status.h"

namespace scenario {

enum class Severity { error, warning, note };

/// What `compile` accepts silently but an author most likely did not mean.
/// Each kind has a stable id (`warning_id`), used in messages, SARIF and
/// `explain`.
enum class WarningKind {
  unknown_keyword,   // a field that matches no keyword of its section
  extra_values,      // values left over after a record (dropped)
  comment_marker,    // a line that starts with #, // or ; (no comments in this format)
  narrowed_value,    // a value stored with its high bits cut
  out_of_order,      // speed, gradient or curve entries out of ascending order
  empty_source,      // a source that contributed nothing
  utf8_text,         // a shown text that looks like UTF-8 where code page 1252 is read
  trailing_blanks,   // blanks or tabs at the end of a station name or board text
  keyword_case,      // a header keyword in a letter case the reader does not match
  empty_text,        // an empty station name or board text
  field_separator,   // values separated by tabs or semicolons inside one field
  decimal_comma,     // a whole number followed by a comma and digits (a decimal comma)
  tunnel_overlap,    // a tunnel that overlaps an earlier one
  repeated_position, // a speed, gradient or adhesion point at the position of the one before
  past_line_end,     // a tunnel or restriction that starts on the line and ends past its end
  rounded_speed,     // a speed-limit point whose speed is not a multiple of 5 km/h
  close_tunnels,     // a tunnel at most 150 m after the one before, stored as kind 3
};

/// Every warning kind, in the order above.
inline constexpr WarningKind kAllWarningKinds[] = {
    WarningKind::unknown_keyword, WarningKind::extra_values,    WarningKind::comment_marker,
    WarningKind::narrowed_value,  WarningKind::out_of_order,    WarningKind::empty_source,
    WarningKind::utf8_text,       WarningKind::trailing_blanks, WarningKind::keyword_case,
    WarningKind::empty_text,      WarningKind::field_separator, WarningKind::decimal_comma,
    WarningKind::tunnel_overlap,  WarningKind::repeated_position, WarningKind::past_line_end,
    WarningKind::rounded_speed,   WarningKind::close_tunnels,
};

/// The stable id of a warning kind ("unknown-keyword", ...).
std::string_view warning_id(WarningKind kind);

/// The id of a status code's finding: "S" and the number ("S25").
std::string status_id(StatusCode code);

/// The id of a fatal stamping error: "F" and the number ("F1250").
std::string fatal_id(std::int32_t number);

/// A place in a source text: bare file name, 1-based line and column (the
/// column of the field's first byte; 0 when only the line is known), and the
/// column just past the field's last byte, so that a field is the bytes
/// [column, end_column) of its line.
struct SourcePoint {
  std::string file;
  std::int32_t line = 0;
  std::int32_t column = 0;
  std::int32_t end_column = 0;  // 1-based column just past the field's last byte; 0 when unknown
  bool operator==(const SourcePoint&) const = default;
};

/// One finding for the author: an error (what sets a status code or a fatal
/// error in a compile), a warning, or a note under either.
struct Diagnostic {
  Severity severity = Severity::error;
  std::string id;                        // status_id, fatal_id or warning_id; "" for a note
  std::optional<StatusCode> code;        // the status code of an error that sets one
  std::optional<std::int32_t> position;  // metres along the line, where one was recorded
  std::optional<SourcePoint> where;      // none for findings tied to no source text
  std::string message;                   // the cause in words, without the id
  std::string source_line;               // the text of line `where->line`, without its end
  std::vector<Diagnostic> notes;         // shown under it
  /// For an error that only follows from an earlier one (a status left set
  /// that stops a later reading): where that earlier error was found.
  std::optional<SourcePoint> root;
};

}  // namespace scenario
