#include "sources/field_reader.h"

#include <algorithm>
#include <limits>

#include "model/rounding.h"

namespace scenario {
namespace {

constexpr std::size_t kMaxTextBytes = 65535;
constexpr std::size_t kShownFaultBytes = 40;

// Line ends in a stretch of text, counted as the reader counts them: CR LF
// once, a lone CR or a lone LF once each. `after_last` is set to the offset,
// in the stretch, just after the last one.
std::int32_t count_line_ends(std::string_view text, std::size_t& after_last) {
  std::int32_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++count;
      after_last = i + 1;
    } else if (text[i] == '\r') {
      ++count;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      after_last = i + 1;
    }
  }
  return count;
}

}  // namespace

bool FieldReader::at_line_end() const {
  return !at_end() && (text_[pos_] == '\r' || text_[pos_] == '\n');
}

bool FieldReader::at_blank() const {
  return !at_end() && (text_[pos_] == ' ' || text_[pos_] == '\t');
}

void FieldReader::skip_blanks() {
  while (at_blank()) ++pos_;
}

void FieldReader::consume_line_end() {
  if (text_[pos_] == '\r') {
    ++pos_;
    if (!at_end() && text_[pos_] == '\n') ++pos_;
  } else {
    ++pos_;
  }
  ++line_;
  line_start_ = pos_;
}

bool FieldReader::fail(FieldFault fault) {
  fault_ = fault;
  return false;
}

// The bytes of the failed field from its start up to the next comma or line
// end, without trailing blanks.
void FieldReader::note_text_seen() {
  const std::size_t start = field_.line_start + static_cast<std::size_t>(field_.column) - 1;
  std::size_t end = start;
  while (end < text_.size() && text_[end] != ',' && text_[end] != '\r' && text_[end] != '\n') {
    ++end;
  }
  while (end > start && (text_[end - 1] == ' ' || text_[end - 1] == '\t')) --end;
  mark_field_end(end);
  fault_text_.assign(text_.substr(start, std::min(end - start, kShownFaultBytes)));
}

std::string_view FieldReader::line_text(std::size_t line_start) const {
  if (line_start >= text_.size()) return {};
  return text_.substr(line_start, first_line_break(text_.substr(line_start)));
}

void FieldReader::skip_to_next_line(bool unless_at_line_start) {
  if (unless_at_line_start && pos_ == line_start_) return;
  while (!at_end() && !at_line_end()) ++pos_;
  if (!at_end()) consume_line_end();
}

void FieldReader::go_to_line_of(const FieldPlace& place) {
  pos_ = place.line_start;
  line_ = place.line;
  line_start_ = place.line_start;
}

void FieldReader::mark_field() {
  field_.line = line_;
  field_.column = static_cast<std::int32_t>(pos_ - line_start_) + 1;
  field_.end_column = field_.column;
  field_.line_start = line_start_;
}

// The field ends at offset `end` of the text, or at the end of its first line
// when it runs on (a quoted text over several lines).
void FieldReader::mark_field_end(std::size_t end) {
  const std::size_t start = field_.line_start + static_cast<std::size_t>(field_.column) - 1;
  if (end <= start) return;
  // A field never runs on past its line.
  if (start < text_.size()) {
    const std::string_view field = text_.substr(start, end - start);
    if (const std::size_t cut = first_line_break(field); cut < field.size()) end = start + cut;
  }
  field_.end_column = static_cast<std::int32_t>(end - field_.line_start) + 1;
}

bool FieldReader::read_text(std::string& field) {
  if (at_end()) {
    mark_field();
    return fail(FieldFault::at_end);
  }
  skip_blanks();
  mark_field();
  field.clear();
  ++reads_;
  if (at_line_end()) {
    consume_line_end();
    return true;
  }
  if (!at_end() && text_[pos_] == '"') {
    const std::size_t start = pos_ + 1;
    std::size_t close = text_.find('"', start);
    if (close == std::string_view::npos) close = text_.size();
    if (close - start > kMaxTextBytes) {
      --reads_;
      return fail(FieldFault::text_too_long);
    }
    // Line ends inside the quotes belong to the text but still count as lines.
    std::size_t after_last = 0;
    if (const std::int32_t ends = count_line_ends(text_.substr(start, close - start), after_last)) {
      line_ += ends;
      line_start_ = start + after_last;
    }
    field.assign(text_.substr(start, close - start));
    pos_ = std::min(close + 1, text_.size());
    mark_field_end(pos_);
    while (!at_end() && text_[pos_] != ',' && !at_line_end()) ++pos_;
    if (at_end()) return true;
    if (text_[pos_] == ',') ++pos_;
    else consume_line_end();
    return true;
  }
  const std::size_t start = pos_;
  while (!at_end() && text_[pos_] != ',' && !at_line_end()) ++pos_;
  if (pos_ - start > kMaxTextBytes) {
    --reads_;
    return fail(FieldFault::text_too_long);
  }
  field.assign(text_.substr(start, pos_ - start));
  mark_field_end(pos_);  // blanks at its end belong to the text
  if (at_end()) return true;
  if (text_[pos_] == ',') ++pos_;
  else consume_line_end();
  return true;
}

bool FieldReader::read_number(std::int32_t& value) {
  while (at_blank() || at_line_end()) {
    if (at_blank()) ++pos_;
    else consume_line_end();
  }
  mark_field();
  if (at_end()) return fail(FieldFault::at_end);
  bool negative = false;
  if (text_[pos_] == '+' || text_[pos_] == '-') {
    negative = text_[pos_] == '-';
    ++pos_;
  }
  std::int64_t magnitude = 0;
  std::size_t digits = 0;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  while (!at_end() && text_[pos_] >= '0' && text_[pos_] <= '9') {
    magnitude = magnitude * 10 + (text_[pos_] - '0');
    if (magnitude > kLimit) {
      note_text_seen();
      return fail(FieldFault::too_large);
    }
    ++pos_;
    ++digits;
  }
  if (digits == 0 || (!at_end() && !at_blank() && !at_line_end() && text_[pos_] != ',')) {
    note_text_seen();
    return fail(FieldFault::not_a_number);
  }
  const std::int64_t signed_value = negative ? -magnitude : magnitude;
  if (signed_value > std::numeric_limits<std::int32_t>::max()) {
    note_text_seen();
    return fail(FieldFault::too_large);
  }
  value = static_cast<std::int32_t>(signed_value);
  mark_field_end(pos_);
  ++reads_;
  skip_blanks();
  if (!at_end()) {
    if (text_[pos_] == ',') ++pos_;
    else if (at_line_end()) consume_line_end();
  }
  return true;
}

bool FieldReader::read_number_in(std::int32_t& value, std::int32_t min, std::int32_t max) {
  if (!read_number(value)) return false;
  if (value >= min && value <= max) return true;
  --reads_;
  fault_value_ = value;
  fault_min_ = min;
  fault_max_ = max;
  return fail(FieldFault::out_of_range);
}

}  // namespace scenario
