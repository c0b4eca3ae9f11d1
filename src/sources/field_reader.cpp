#include "sources/field_reader.h"

#include <algorithm>
#include <limits>

#include "model/rounding.h"

namespace scenario {
namespace {

constexpr std::size_t kMaxTextBytes = 65535;

// Line ends in a stretch of text, counted as the reader counts them: CR LF
// once, a lone CR or a lone LF once each.
std::int32_t count_line_ends(std::string_view text) {
  std::int32_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++count;
    } else if (text[i] == '\r') {
      ++count;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
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
}

bool FieldReader::read_text(std::string& field) {
  if (at_end()) return false;
  skip_blanks();
  field_line_ = line_;
  field.clear();
  if (at_line_end()) {
    consume_line_end();
    return true;
  }
  if (!at_end() && text_[pos_] == '"') {
    const std::size_t start = pos_ + 1;
    std::size_t close = text_.find('"', start);
    if (close == std::string_view::npos) close = text_.size();
    if (close - start > kMaxTextBytes) return false;
    // Line ends inside the quotes belong to the text but still count as lines.
    line_ += count_line_ends(text_.substr(start, close - start));
    field.assign(text_.substr(start, close - start));
    pos_ = std::min(close + 1, text_.size());
    while (!at_end() && text_[pos_] != ',' && !at_line_end()) ++pos_;
    if (at_end()) return true;
    if (text_[pos_] == ',') ++pos_;
    else consume_line_end();
    return true;
  }
  const std::size_t start = pos_;
  while (!at_end() && text_[pos_] != ',' && !at_line_end()) ++pos_;
  if (pos_ - start > kMaxTextBytes) return false;
  field.assign(text_.substr(start, pos_ - start));
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
  if (at_end()) return false;
  field_line_ = line_;
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
    if (magnitude > kLimit) return false;
    ++pos_;
    ++digits;
  }
  if (digits == 0) return false;
  if (!at_end() && !at_blank() && !at_line_end() && text_[pos_] != ',') return false;
  const std::int64_t signed_value = negative ? -magnitude : magnitude;
  if (signed_value > std::numeric_limits<std::int32_t>::max()) return false;
  value = static_cast<std::int32_t>(signed_value);
  skip_blanks();
  if (!at_end()) {
    if (text_[pos_] == ',') ++pos_;
    else if (at_line_end()) consume_line_end();
  }
  return true;
}

bool FieldReader::read_number_in(std::int32_t& value, std::int32_t min, std::int32_t max) {
  return read_number(value) && value >= min && value <= max;
}

bool contains(std::string_view field, std::string_view keyword) {
  return field.find(keyword) != std::string_view::npos;
}

bool contains_ignore_case(std::string_view field, std::string_view keyword) {
  if (keyword.empty()) return true;
  if (keyword.size() > field.size()) return false;
  return std::search(field.begin(), field.end(), keyword.begin(), keyword.end(),
                     [](char a, char b) { return ascii_lower(a) == ascii_lower(b); }) != field.end();
}

}  // namespace scenario
