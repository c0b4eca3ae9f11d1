#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/build_context.h"
#include "sources/keywords.h"
#include "sources/source_text.h"

namespace scenario {

/// The keyword of `section` an author most likely meant by `field`, if any
/// is close enough.
const SourceKeyword* nearest_keyword(std::string_view field,
                                     std::span<const SourceKeyword> section);

/// Watches the keyword fields of one source for what the reader passes over
/// silently: unknown keywords, values left over after a record, comment
/// markers and header words in the wrong case. Never changes the reading.
class KeywordWatch {
 public:
  KeywordWatch(SourceText& source, std::string_view section_name)
      : source_(source), section_name_(section_name) {}

  /// A keyword field that the reader tested against `section`; `matched`
  /// tells whether any of its entries ran.
  void field(const std::string& text, const FieldPlace& place, bool matched,
             std::span<const SourceKeyword> section);

  /// A field the reader drops for the "-" it holds: a whole line of fields
  /// separated by tabs or semicolons is dropped so when one of them is negative.
  void dropped(const std::string& text, const FieldPlace& place);

  /// After the entry of `keyword` read its values: a line it did not end is
  /// open for left-over values.
  void entry_read(const SourceKeyword& keyword);

  void set_section_name(std::string_view name) { section_name_ = name; }

 private:
  /// Warns of a field that holds a tab or a semicolon before more text; true
  /// when it did.
  bool separated(std::string_view shown, const FieldPlace& place, bool dropped);

  /// Left-over digits straight after a number's comma: warned as a decimal comma.
  bool decimal_comma(std::string_view shown, const FieldPlace& place);

  SourceText& source_;
  std::string_view section_name_;
  std::int32_t open_line_ = 0;        // a record's line whose end was not reached
  std::string_view open_entry_;       // that record's meaning
  std::int32_t quiet_line_ = 0;       // a line already warned about
};

/// Warnings on a text the simulator shows (station name, board text):
/// trailing blanks, bytes that look like UTF-8.
void check_shown_text(SourceText& source, const FieldPlace& place, std::string_view what,
                      std::string_view text);

/// A narrowed store: `value` outside `min`..`max` keeps only its low bits.
/// `stored` is what the simulator then reads, in the author's unit.
void check_narrowing(SourceText& source, const FieldPlace& place, std::string_view name,
                     std::int64_t value, std::int64_t min, std::int64_t max, std::int64_t stored);

/// Warns of an object that starts on the line and ends past its end (the
/// grid's margin takes it in silence).
void warn_past_line_end(const BuildState& state, SourceText& source, const FieldPlace& place,
                        const std::string& what, std::int64_t start, std::int64_t end);

/// Values of one kind of entry that must go in ascending order of position.
class OrderWatch {
 public:
  /// `repeats`: a point at the position of the one before is worth a word
  /// (the earlier one then holds one cell at most).
  explicit OrderWatch(std::string_view what, bool repeats = false)
      : what_(what), repeats_(repeats) {}
  void position(SourceText& source, const FieldPlace& place, std::int32_t metres);

 private:
  std::string_view what_;
  bool repeats_ = false;
  bool any_ = false;
  std::int32_t last_ = 0;
  std::int32_t last_line_ = 0;
};

}  // namespace scenario
