#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

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

  /// The 1-based line on which the last field read started.
  std::int32_t field_line() const { return field_line_; }

 private:
  bool at_line_end() const;
  bool at_blank() const;
  void skip_blanks();
  void consume_line_end();

  std::string_view text_;
  std::size_t pos_ = 0;
  std::int32_t line_ = 1;
  std::int32_t field_line_ = 1;
};

/// The keyword test: `field` contains `keyword` anywhere, letter case counts.
bool contains(std::string_view field, std::string_view keyword);

/// The same, with ASCII letters compared without case; other bytes as they are.
bool contains_ignore_case(std::string_view field, std::string_view keyword);

}  // namespace scenario
