#include "lsp/source_entries.h"

#include <algorithm>

#include "sources/field_reader.h"

namespace scenario {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The span of the field the reader last read, from its bytes in `text`.
FieldSpan span_of(std::string_view text, const FieldReader& fields, std::string field) {
  const FieldPlace& place = fields.field_place();
  FieldSpan span;
  span.line = place.line;
  span.column = place.column;
  const std::size_t start = place.line_start + static_cast<std::size_t>(place.column) - 1;
  std::size_t end = start;
  if (start < text.size() && text[start] == '"') {
    // A quoted text: up to its closing quote, or the line's end.
    end = start + 1;
    while (end < text.size() && text[end] != '"' && text[end] != '\r' && text[end] != '\n') ++end;
    if (end < text.size() && text[end] == '"') ++end;
  } else {
    while (end < text.size() && text[end] != ',' && text[end] != '\r' && text[end] != '\n') ++end;
    while (end > start && is_blank(text[end - 1])) --end;
  }
  span.end_column = place.column + static_cast<std::int32_t>(end - start);
  span.text = std::move(field);
  return span;
}

// A number's span: its sign and digits.
FieldSpan number_span(std::string_view text, const FieldReader& fields, std::int32_t value) {
  const FieldPlace& place = fields.field_place();
  FieldSpan span;
  span.line = place.line;
  span.column = place.column;
  std::size_t at = place.line_start + static_cast<std::size_t>(place.column) - 1;
  const std::size_t start = at;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  span.end_column = place.column + static_cast<std::int32_t>(at - start);
  span.text = std::string(text.substr(start, at - start));
  span.number = value;
  return span;
}

bool names_section(std::string_view field) {
  return field.find('[') != std::string_view::npos && field.find(']') != std::string_view::npos;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

bool is_text_value(const SourceKeyword& keyword, std::size_t index) {
  return (keyword.entry == KeywordEntry::station && index == 16) ||
         (keyword.entry == KeywordEntry::indication_board && index == 1);
}

SourceEntries read_entries(std::string_view bytes, SourceKind kind) {
  SourceEntries out;
  out.kind = kind;
  FieldReader fields(bytes);
  KeywordPlace place = KeywordPlace::section;
  std::string field;
  while (!fields.at_end()) {
    if (!fields.read_text(field)) {
      fields.skip_to_next_line(false);
      continue;
    }
    const std::string_view shown = trimmed(field);
    if (shown.empty()) continue;
    FieldSpan span = span_of(bytes, fields, field);
    if (place == KeywordPlace::section) {
      if (contains_ignore_case(field, "[generale]")) {
        out.general_line = span.line;
        out.sections.push_back(std::move(span));
        place = kind == SourceKind::line ? KeywordPlace::header : KeywordPlace::records;
      }
      continue;
    }
    // A field holding a dash is dropped: the sources' comments.
    if (contains(field, "-")) continue;
    const SourceKeyword* keyword = nullptr;
    for (const SourceKeyword& candidate : keywords_of(kind, place)) {
      if (matches(candidate, field)) {
        keyword = &candidate;
        break;
      }
    }
    if (keyword == nullptr) {
      if (names_section(shown)) {
        if (place == KeywordPlace::header) {
          out.body_line = span.line;
          place = KeywordPlace::body;
        }
        out.sections.push_back(std::move(span));
      } else if (std::any_of(shown.begin(), shown.end(), is_letter)) {
        // Stray numbers are the rest of a line already passed over.
        out.unknown.push_back(std::move(span));
      }
      continue;
    }
    SourceEntry entry;
    entry.keyword = keyword;
    entry.key = std::move(span);
    entry.section = out.sections.empty() ? 0 : out.sections.size() - 1;
    entry.complete = true;
    entry.values.reserve(keyword->fields.size());
    for (std::size_t index = 0; index < keyword->fields.size(); ++index) {
      if (is_text_value(*keyword, index)) {
        if (!fields.read_text(field)) {
          entry.complete = false;
          break;
        }
        entry.values.push_back(span_of(bytes, fields, field));
        continue;
      }
      std::int32_t value = 0;
      if (!fields.read_number(value)) {
        entry.complete = false;
        break;
      }
      entry.values.push_back(number_span(bytes, fields, value));
    }
    if (!entry.complete) {
      // As the checker goes on: at the line of the field that failed when
      // it stands on a later line, else at the next line.
      const FieldPlace failed = fields.field_place();
      fields.clear_fault();
      if (failed.line > entry.key.line) {
        fields.go_to_line_of(failed);
      } else {
        fields.go_to_line_of(failed);
        fields.skip_to_next_line(false);
      }
    }
    out.entries.push_back(std::move(entry));
  }
  return out;
}

KeywordPlace place_of_line(const SourceEntries& entries, std::int32_t line) {
  if (entries.general_line == 0 || line <= entries.general_line) return KeywordPlace::section;
  if (entries.kind == SourceKind::train) return KeywordPlace::records;
  if (entries.body_line == 0 || line <= entries.body_line) return KeywordPlace::header;
  return KeywordPlace::body;
}

}  // namespace scenario
