#include "sources/keyword_warnings.h"

#include <algorithm>
#include <vector>

#include "language/translate.h"
#include "sources/edit_distance.h"

namespace scenario {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

// The letters (and underscores) a keyword field starts with: "curvd" of "curvd2".
std::string_view leading_word(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && (is_letter(text[end]) || text[end] == '_')) ++end;
  return text.substr(0, end);
}

bool starts_line(const SourceText& source, const FieldPlace& place) {
  const std::string& text = source.text();
  for (std::size_t i = place.line_start; i + 1 < place.line_start + place.column; ++i) {
    if (i >= text.size() || !is_blank(text[i])) return false;
  }
  return true;
}

bool is_comment_marker(std::string_view text) {
  return text.starts_with('#') || text.starts_with("//") || text.starts_with(';');
}

// The same test as the reader's, with the letter case of every word ignored.
bool matches_ignoring_case(const SourceKeyword& keyword, std::string_view field) {
  SourceKeyword folded = keyword;
  folded.ignore_case = true;
  return matches(folded, field);
}

// A valid UTF-8 sequence of two to four bytes starts at `i`.
std::size_t utf8_sequence_at(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  if (length == 0 || i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if (next < 0x80 || next > 0xBF) return 0;
  }
  return length;
}

}  // namespace

const SourceKeyword* nearest_keyword(std::string_view field,
                                     std::span<const SourceKeyword> section) {
  const std::string_view whole = trimmed(field);
  const std::string_view word = leading_word(whole);
  const SourceKeyword* best = nullptr;
  std::size_t best_distance = 0;
  for (const SourceKeyword& keyword : section) {
    const std::string_view written = keyword.written;
    const std::string_view written_word = leading_word(written);
    // One slip in a short word, two in a longer one.
    const std::size_t allowed = written_word.size() >= 6 ? 2 : 1;
    std::size_t distance = edit_distance_up_to(whole, written, allowed);
    if (!word.empty()) distance = std::min(distance, edit_distance_up_to(word, written_word, allowed));
    if (distance > allowed) continue;
    if (best == nullptr || distance < best_distance) {
      best = &keyword;
      best_distance = distance;
    }
  }
  return best;
}

bool KeywordWatch::separated(std::string_view shown, const FieldPlace& place, bool dropped) {
  const std::size_t cut = shown.find_first_of("\t;");
  if (cut == std::string_view::npos || cut == 0 || trimmed(shown.substr(cut + 1)).empty() ||
      is_comment_marker(shown)) {
    return false;
  }
  quiet_line_ = place.line;
  // By whether the field is dropped for a "-", then by the separator found.
  static constexpr const char* kMessages[2][2] = {
      {N_("{1} is read as one field: fields are separated by commas, not tabs"),
       N_("{1} is read as one field: fields are separated by commas, not semicolons")},
      {N_("{1} is read as one field, and dropped for the \"-\" it holds: fields are separated "
          "by commas, not tabs"),
       N_("{1} is read as one field, and dropped for the \"-\" it holds: fields are separated "
          "by commas, not semicolons")}};
  const char* message = kMessages[dropped ? 1 : 0][shown[cut] == ';' ? 1 : 0];
  source_.warn(WarningKind::field_separator, place,
               trf(source_.language(), message, {quoted(shown)}));
  return true;
}

void KeywordWatch::dropped(const std::string& text, const FieldPlace& place) {
  if (place.line == quiet_line_) return;
  const std::string_view shown = trimmed(text);
  if (!shown.empty()) separated(shown, place, true);
}

void KeywordWatch::field(const std::string& text, const FieldPlace& place, bool matched,
                         std::span<const SourceKeyword> section) {
  if (place.line == quiet_line_) return;
  const std::string_view shown = trimmed(text);
  if (shown.empty()) return;
  if (separated(shown, place, false)) return;
  const bool first_on_line = starts_line(source_, place);
  if (first_on_line && is_comment_marker(shown)) {
    quiet_line_ = place.line;
    source_.warn(
        WarningKind::comment_marker, place,
        matched ? tr(source_.language(),
                     "this source format has no comments: the line is read like any other and "
                     "its entry is taken; to leave an entry out, put a \"-\" in front of its "
                     "keyword (a field holding \"-\" is dropped by the readers)")
                : tr(source_.language(),
                     "this source format has no comments: the line is read like any other; to "
                     "leave an entry out, put a \"-\" in front of its keyword (a field holding "
                     "\"-\" is dropped by the readers)"));
    return;
  }
  if (matched) return;
  if (!first_on_line && place.line == open_line_) {
    quiet_line_ = place.line;
    if (decimal_comma(shown, place)) return;
    source_.warn(WarningKind::extra_values, place,
                 trf(source_.language(),
                     "values left over after the {1} entry are dropped, from {2} on",
                     {tr(source_.language(), open_entry_), quoted(shown)}));
    return;
  }
  // Section names, and stray numbers (as the rest of a line already dropped).
  if (shown.find('[') != std::string_view::npos && shown.find(']') != std::string_view::npos) return;
  if (std::none_of(shown.begin(), shown.end(), is_letter)) return;
  quiet_line_ = place.line;
  for (const SourceKeyword& keyword : section) {
    if (keyword.ignore_case || !matches_ignoring_case(keyword, shown)) continue;
    source_.warn(WarningKind::keyword_case, place,
                 trf(source_.language(),
                     "{1} is not taken: the words of this keyword are matched in lower case "
                     "only, as in {2}",
                     {quoted(shown), quoted(keyword.written)}));
    return;
  }
  const Language language = source_.language();
  const std::string section_name = tr(language, section_name_);
  std::string message;
  if (const SourceKeyword* near = nearest_keyword(shown, section)) {
    message = trf(language,
                  "{1} matches no keyword of {2} and is dropped, with the values after it; did "
                  "you mean {3}?",
                  {quoted(shown), section_name, quoted(near->written)});
  } else {
    message = trf(language,
                  "{1} matches no keyword of {2} and is dropped, with the values after it",
                  {quoted(shown), section_name});
  }
  source_.warn(WarningKind::unknown_keyword, place, std::move(message));
}

// "-3,5": digits left over straight after a comma that follows the last
// digit of the entry's last value.
bool KeywordWatch::decimal_comma(std::string_view shown, const FieldPlace& place) {
  const std::string& text = source_.text();
  const std::size_t at = place.line_start + static_cast<std::size_t>(place.column) - 1;
  if (at < 2 || text[at - 1] != ',' || !is_digit(text[at - 2])) return false;
  std::size_t digits = 0;
  while (digits < shown.size() && is_digit(shown[digits])) ++digits;
  if (digits == 0 || (digits < shown.size() && !is_blank(shown[digits]))) return false;
  std::size_t start = at - 2;
  while (start > place.line_start && is_digit(text[start - 1])) --start;
  if (start > place.line_start && (text[start - 1] == '-' || text[start - 1] == '+')) --start;
  const std::string_view whole(text.data() + start, at - 1 - start);
  FieldPlace number = place;
  number.column = static_cast<std::int32_t>(start - place.line_start) + 1;
  number.end_column = place.column + static_cast<std::int32_t>(digits);
  source_.warn(WarningKind::decimal_comma, number,
               trf(source_.language(),
                   "{1} is read as {2}: the sources hold whole numbers only, with no decimals, "
                   "and the {3} after the comma is dropped",
                   {quoted(std::string(whole) + "," + std::string(shown.substr(0, digits))),
                    std::string(whole), quoted(shown.substr(0, digits))}));
  return true;
}

void KeywordWatch::entry_read(const SourceKeyword& keyword) {
  const FieldReader& fields = source_.fields();
  const bool line_ended = fields.at_end() || fields.at_line_start();
  open_line_ = line_ended ? 0 : fields.line();
  open_entry_ = keyword.name;
}

void check_shown_text(SourceText& source, const FieldPlace& place, std::string_view what,
                      std::string_view text) {
  const Language language = source.language();
  if (text.empty()) {
    source.warn(WarningKind::empty_text, place,
                trf(language, "the {1} is empty: the simulator shows nothing for it", {what}));
    return;
  }
  if (is_blank(text.back())) {
    source.warn(WarningKind::trailing_blanks, place,
                trf(language,
                    "the {1} {2} ends in blanks or tabs, which the simulator shows as part of it",
                    {what, quoted(text)}));
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) < 0x80) continue;
    if (const std::size_t length = utf8_sequence_at(text, i)) {
      source.warn(WarningKind::utf8_text, place,
                  trf(language,
                      "the {1} {2} holds bytes that look like UTF-8 ({3}): the simulator reads "
                      "code page 1252 and shows each of them as a character of its own",
                      {what, quoted(text), quoted(text.substr(i, length))}));
      return;
    }
  }
}

void check_narrowing(SourceText& source, const FieldPlace& place, std::string_view name,
                     std::int64_t value, std::int64_t min, std::int64_t max, std::int64_t stored) {
  if (value >= min && value <= max) return;
  source.warn(WarningKind::narrowed_value, place,
              trf(source.language(),
                  "the value {1} of the {2} does not fit its field ({3}..{4}): only its low "
                  "bits are kept, and it is stored as {5}",
                  {std::to_string(value), name, std::to_string(min), std::to_string(max),
                   std::to_string(stored)}));
}

void warn_past_line_end(const BuildState& state, SourceText& source, const FieldPlace& place,
                        const std::string& what, std::int64_t start, std::int64_t end) {
  if (!state.line_length || start > *state.line_length || end <= *state.line_length) return;
  source.warn(WarningKind::past_line_end, place,
              trf(source.language(),
                  "the {1} ends at {2} m, past the end of the line at {3} m: the part beyond "
                  "lies in the margin after the line",
                  {what, std::to_string(end), std::to_string(*state.line_length)}));
}

void OrderWatch::position(SourceText& source, const FieldPlace& place, std::int32_t metres) {
  const Language language = source.language();
  const std::string what = tr(language, what_);
  if (any_ && metres < last_) {
    source.warn(WarningKind::out_of_order, place,
                trf(language,
                    "the {1} at {2} m comes after one at {3} m (line {4}): these entries must go "
                    "in ascending order of position, or they do not take effect where they say",
                    {what, std::to_string(metres), std::to_string(last_),
                     std::to_string(last_line_)}));
  } else if (any_ && repeats_ && metres == last_) {
    source.warn(WarningKind::repeated_position, place,
                trf(language,
                    "the {1} at {2} m stands at the position of the one on line {3}: this later "
                    "one takes effect from there, and the earlier one holds one cell at most",
                    {what, std::to_string(metres), std::to_string(last_line_)}));
  }
  any_ = true;
  last_ = metres;
  last_line_ = place.line;
}

}  // namespace scenario
