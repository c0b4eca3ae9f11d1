#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sources/text_match.h"

namespace scenario {

/// Where a field starts: 1-based line and byte column, the column just past
/// its last byte (a text keeps the blanks at its end, a number ends at its
/// last digit; equal to `column` for an empty field), and the offset of the
/// line's first byte in the text.
struct FieldPlace {
  std::int32_t line = 1;
  std::int32_t column = 1;
  std::int32_t end_column = 1;
  std::size_t line_start = 0;
};

/// Why the last read failed.
enum class FieldFault {
  none,
  at_end,         // no byte left where a field was due
  not_a_number,   // no digit, or a byte other than a blank, comma or line end after them
  too_large,      // outside the 32-bit signed range
  out_of_range,   // outside the range the caller asked for (`read_number_in`)
  text_too_long,  // a text field of more than 65535 bytes
};

/// Reads the stream of fields of a source text. Commas and line ends (CR LF,
/// LF or CR) separate fields alike; blanks are spaces and tabs. Every read
/// returns false on a read failure, which the readers turn into status 25.
class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : text_(text) {}

  /// No byte is left after the current position.
  bool at_end() const { return pos_ >= text_.size(); }

  /// A text field: a quoted text, or the bytes up to the next comma or line
  /// end kept as they are. Fails at the end or past 65535 bytes.
  bool read_text(std::string& field);

  /// A decimal 32-bit integer with an optional sign, ended by a blank, a
  /// comma, a line end or the end; then one comma or line end is consumed.
  bool read_number(std::int32_t& value);

  /// `read_number` that also requires min <= value <= max (8- and 16-bit fields).
  bool read_number_in(std::int32_t& value, std::int32_t min, std::int32_t max);

  /// Fields read without failure so far (texts and numbers).
  std::int32_t reads() const { return reads_; }

  /// The 1-based line on which the last field read started.
  std::int32_t field_line() const { return field_.line; }

  /// Where the last field read started (for a failed number: where its text starts).
  const FieldPlace& field_place() const { return field_; }

  /// The reader stands at the first byte of a line (or of the text).
  bool at_line_start() const { return pos_ == line_start_; }

  /// The line the reader stands on now.
  std::int32_t line() const { return line_; }

  /// Why the last read failed, and the text it saw there (cut to 40 bytes;
  /// the number read for `out_of_range`).
  FieldFault fault() const { return fault_; }
  const std::string& fault_text() const { return fault_text_; }
  void clear_fault() { fault_ = FieldFault::none; }
  std::int32_t fault_value() const { return fault_value_; }
  std::int32_t fault_min() const { return fault_min_; }
  std::int32_t fault_max() const { return fault_max_; }

  /// The whole text of the line that starts at `line_start`, without its end.
  std::string_view line_text(std::size_t line_start) const;

  /// Goes on at the start of the line after the current one (or at the start
  /// of the current line when the reader already stands there).
  void skip_to_next_line(bool unless_at_line_start);

  /// Goes on at the start of the line of `place` (a place already read).
  void go_to_line_of(const FieldPlace& place);

 private:
  bool fail(FieldFault fault);
  void mark_field();
  void mark_field_end(std::size_t end);
  void note_text_seen();
  bool at_line_end() const;
  bool at_blank() const;
  void skip_blanks();
  void consume_line_end();

  std::string_view text_;
  std::size_t pos_ = 0;
  std::int32_t line_ = 1;
  std::size_t line_start_ = 0;
  FieldPlace field_;
  std::int32_t reads_ = 0;
  FieldFault fault_ = FieldFault::none;
  std::string fault_text_;
  std::int32_t fault_value_ = 0;
  std::int32_t fault_min_ = 0;
  std::int32_t fault_max_ = 0;
};

}  // namespace scenario
