#include "lsp/findings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <regex>

#include "check/explanations.h"
#include "files/file_names.h"
#include "language/translate.h"
#include "output/cp1252.h"
#include "sources/keyword_warnings.h"

namespace scenario {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The end of the field that starts at `column` of a stored line: the next
// comma or the line's end, trailing blanks left out.
std::int32_t field_end(std::string_view line, std::int32_t column) {
  std::size_t end = static_cast<std::size_t>(std::max(column, 1) - 1);
  if (end > line.size()) return column;
  const std::size_t start = end;
  while (end < line.size() && line[end] != ',') ++end;
  while (end > start && is_blank(line[end - 1])) --end;
  if (end == start) {
    // Nothing there (a value missing at the line's end): the next character.
    return column + 1;
  }
  return static_cast<std::int32_t>(end) + 1;
}

// The end column of a finding's field: as the finding tells it, else the
// span of the field the document's entries know there, else up to the next
// comma.
std::int32_t end_of(const SourcePoint& where, const Document& document) {
  if (where.end_column > where.column) return where.end_column;
  const auto same = [&](const FieldSpan& span) {
    return span.line == where.line && span.column == where.column;
  };
  for (const SourceEntry& entry : document.entries.entries) {
    if (entry.key.line > where.line) break;
    if (same(entry.key)) return entry.key.end_column;
    for (const FieldSpan& value : entry.values) {
      if (same(value)) return value.end_column;
    }
  }
  for (const FieldSpan& span : document.entries.unknown) {
    if (same(span)) return span.end_column;
  }
  return field_end(document.byte_line(where.line), where.column);
}

std::string trimmed(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

// A range of a line of another file, known only by its stored bytes.
nlohmann::json range_in_bytes(std::string_view line_bytes, const SourcePoint& where,
                              PositionEncoding encoding) {
  const std::string line = cp1252_to_utf8(line_bytes);
  const std::int32_t row = std::max(where.line, 1) - 1;
  if (line_bytes.empty() && where.column > 0) {
    // The line's text is not known: a character a byte, as in UTF-16.
    const std::int32_t end = std::max(where.end_column, where.column + 1);
    return {{"start", {{"line", row}, {"character", where.column - 1}}},
            {"end", {{"line", row}, {"character", end - 1}}}};
  }
  std::int32_t column = where.column;
  std::int32_t end = where.end_column > column ? where.end_column : 0;
  if (column <= 0) {
    column = 1;
    end = static_cast<std::int32_t>(line_bytes.size()) + 1;
  } else if (end == 0) {
    end = field_end(line_bytes, column);
  }
  return {{"start", {{"line", row}, {"character", units_of(line, column - 1, encoding)}}},
          {"end", {{"line", row}, {"character", units_of(line, end - 1, encoding)}}}};
}

std::string hex_code(char32_t code) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string digits;
  for (int shift = code > 0xFFFF ? 20 : 12; shift >= 0; shift -= 4) digits += kHex[(code >> shift) & 15];
  return "U+" + digits;
}

std::string utf8_of(char32_t code) {
  std::string out;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

Diagnostic at_place(const SourcePoint& where) {
  Diagnostic finding;
  finding.where = where;
  return finding;
}

nlohmann::json severity_of(Severity severity) {
  switch (severity) {
    case Severity::error: return 1;
    case Severity::warning: return 2;
    case Severity::note: return 3;
  }
  return 1;
}

const FieldSpan* unknown_at(const Document& document, const SourcePoint& where) {
  for (const FieldSpan& span : document.entries.unknown) {
    if (span.line == where.line && span.column == where.column) return &span;
  }
  return nullptr;
}

// The keyword an unknown field most likely meant; a curve keeps the
// direction and class it was written with.
std::optional<std::string> keyword_meant(const Document& document, const FieldSpan& field) {
  const std::string shown = trimmed(field.text);
  const KeywordPlace place = place_of_line(document.entries, field.line);
  if (place == KeywordPlace::section) return std::nullopt;
  const SourceKeyword* near = nearest_keyword(shown, keywords_of(document.name.kind, place));
  if (near == nullptr) return std::nullopt;
  if (near->entry == KeywordEntry::curve && shown.size() >= 2) {
    const char direction = static_cast<char>(std::tolower(static_cast<unsigned char>(shown[shown.size() - 2])));
    const char digit = shown.back();
    if ((direction == 's' || direction == 'd') && digit >= '1' && digit <= '6') {
      return std::string("curva") + direction + digit;
    }
  }
  return std::string(near->written);
}

std::optional<SourceFix> unknown_keyword_fix(const Diagnostic& finding, const Document& document,
                                         Language language) {
  const FieldSpan* field = unknown_at(document, *finding.where);
  if (field == nullptr) return std::nullopt;
  const std::optional<std::string> meant = keyword_meant(document, *field);
  if (!meant) return std::nullopt;
  return SourceFix{trf(language, "Replace with \"{1}\"", {*meant}),
                   {{field->line, field->column, field->line, field->end_column, *meant}}};
}

std::optional<SourceFix> keyword_case_fix(const Diagnostic& finding, const Document& document,
                                         Language language) {
  const SourcePoint& where = *finding.where;
  const std::string_view line = document.byte_line(where.line);
  const std::int32_t end = field_end(line, where.column);
  if (where.column < 1 || static_cast<std::size_t>(end - 1) > line.size()) return std::nullopt;
  std::string lower(line.substr(static_cast<std::size_t>(where.column - 1),
                                static_cast<std::size_t>(end - where.column)));
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return SourceFix{trf(language, "Write \"{1}\" in lower case", {lower}),
                   {{where.line, where.column, where.line, end, cp1252_to_utf8(lower)}}};
}

std::optional<SourceFix> trailing_blanks_fix(const Diagnostic& finding, const Document& document,
                                         Language language) {
  const SourcePoint& where = *finding.where;
  const std::string_view line = document.byte_line(where.line);
  std::size_t end = static_cast<std::size_t>(std::max(where.column, 1) - 1);
  if (end > line.size()) return std::nullopt;
  while (end < line.size() && line[end] != ',') ++end;
  std::size_t start = end;
  while (start > static_cast<std::size_t>(where.column - 1) && is_blank(line[start - 1])) --start;
  if (start == end) return std::nullopt;
  return SourceFix{tr(language, "Remove the trailing blanks"),
                   {{where.line, static_cast<std::int32_t>(start) + 1, where.line,
                     static_cast<std::int32_t>(end) + 1, ""}}};
}

// Fields written with tabs or semicolons between them get commas there; a
// separator with nothing after it in the field stays as it is.
std::optional<SourceFix> field_separator_fix(const Diagnostic& finding, const Document& document,
                                             Language language) {
  const SourcePoint& where = *finding.where;
  const std::string_view line = document.byte_line(where.line);
  const std::size_t start = static_cast<std::size_t>(std::max(where.column, 1) - 1);
  std::size_t last =
      std::min(static_cast<std::size_t>(field_end(line, where.column)) - 1, line.size());
  while (last > start && (is_blank(line[last - 1]) || line[last - 1] == ';')) --last;
  if (last <= start) return std::nullopt;
  const std::string_view field = line.substr(start, last - start);
  std::string commas;
  for (const char c : field) {
    if (c == ';') {
      commas += ',';
    } else if (c == '\t') {
      commas += ", ";
    } else {
      commas += c;
    }
  }
  if (commas == field) return std::nullopt;
  return SourceFix{tr(language, "Separate the fields with commas"),
                   {{where.line, where.column, where.line, static_cast<std::int32_t>(last) + 1,
                     commas}}};
}

std::optional<SourceFix> extra_values_fix(const Diagnostic& finding, const Document& document,
                                         Language language) {
  const SourcePoint& where = *finding.where;
  const std::string_view line = document.byte_line(where.line);
  std::size_t start = static_cast<std::size_t>(std::max(where.column, 1) - 1);
  if (start > line.size()) return std::nullopt;
  while (start > 0 && (is_blank(line[start - 1]) || line[start - 1] == ',')) --start;
  return SourceFix{tr(language, "Remove the values left over"),
                   {{where.line, static_cast<std::int32_t>(start) + 1, where.line,
                     static_cast<std::int32_t>(line.size()) + 1, ""}}};
}

std::optional<SourceFix> comment_marker_fix(const Diagnostic& finding, const Document& document,
                                         Language language) {
  const SourcePoint& where = *finding.where;
  const std::string_view line = document.byte_line(where.line);
  std::size_t start = 0;
  while (start < line.size() && is_blank(line[start])) ++start;
  std::string_view rest = line.substr(start);
  if (rest.starts_with("//")) rest.remove_prefix(2);
  else if (rest.starts_with('#') || rest.starts_with(';')) rest.remove_prefix(1);
  else return std::nullopt;
  // One field holding a dash: commas would start fields the reader tests.
  std::string comment = "-";
  comment += rest;
  std::replace(comment.begin(), comment.end(), ',', ' ');
  return SourceFix{tr(language, "Turn the line into a comment (a field holding \"-\")"),
                   {{where.line, static_cast<std::int32_t>(start) + 1, where.line,
                     static_cast<std::int32_t>(line.size()) + 1, cp1252_to_utf8(comment)}}};
}

// The line end after a line of the editor's text ("" after the last).
std::string line_end_after(const Document& document, std::size_t row) {
  if (row + 1 >= document.lines.size()) return "";
  const char* end = document.lines[row].data() + document.lines[row].size();
  const char* next = document.lines[row + 1].data();
  return std::string(end, static_cast<std::size_t>(next - end));
}

std::optional<SourceFix> out_of_order_fix(const Diagnostic& finding, const Document& document,
                                         Language language) {
  const std::int32_t line = finding.where->line;
  const SourceEntry* moved = nullptr;
  for (const SourceEntry& entry : document.entries.entries) {
    if (entry.key.line == line) {
      moved = &entry;
      break;
    }
  }
  if (moved == nullptr || moved->values.empty() || !moved->values[0].number ||
      moved->values.back().line != line) {
    return std::nullopt;
  }
  const std::int32_t position = *moved->values[0].number;
  const SourceEntry* before = nullptr;
  for (const SourceEntry& entry : document.entries.entries) {
    if (&entry == moved) break;
    if (entry.keyword->entry != moved->keyword->entry || entry.values.empty() ||
        !entry.values[0].number || *entry.values[0].number <= position) {
      continue;
    }
    // The first one of the same kind with a greater position, alone on its line.
    if (entry.key.line < line) {
      before = &entry;
      break;
    }
  }
  if (before == nullptr) return std::nullopt;
  const std::size_t row = static_cast<std::size_t>(line) - 1;
  if (row >= document.lines.size()) return std::nullopt;
  std::string end = line_end_after(document, row);
  SourceFix fix;
  fix.title = trf(language, "Move this entry before line {1}, in order of position",
                  {std::to_string(before->key.line)});
  const std::string text(document.lines[row]);
  if (end.empty()) {
    // The last line: it goes with the line end before it.
    end = line_end_after(document, row - 1);
    const std::int32_t previous_end = static_cast<std::int32_t>(document.byte_line(line - 1).size()) + 1;
    fix.edits.push_back({before->key.line, 1, before->key.line, 1, text + end});
    fix.edits.push_back({line - 1, previous_end, line, static_cast<std::int32_t>(document.byte_line(line).size()) + 1, ""});
  } else {
    fix.edits.push_back({before->key.line, 1, before->key.line, 1, text + end});
    fix.edits.push_back({line, 1, line + 1, 1, ""});
  }
  return fix;
}

// A shown text written as UTF-8: the same characters in code page 1252,
// where the code page holds every one of them.
std::optional<SourceFix> utf8_text_fix(const Diagnostic& finding, const Document& document,
                                         Language language) {
  const SourcePoint& where = *finding.where;
  const std::string_view line = document.byte_line(where.line);
  const std::size_t start = static_cast<std::size_t>(std::max(where.column, 1) - 1);
  if (start > line.size()) return std::nullopt;
  std::size_t end = start;
  while (end < line.size() && line[end] != ',') ++end;
  const std::string_view bytes = line.substr(start, end - start);
  // The bytes read as UTF-8 must be valid and fit the code page.
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t length = 0;
    if (next_code_point(bytes, at, length) == 0xFFFD && length == 1) return std::nullopt;
    at += length;
  }
  if (!Cp1252Encoder().encode(bytes).faults.empty()) return std::nullopt;
  return SourceFix{tr(language, "Write the text in code page 1252"),
                   {{where.line, where.column, where.line, static_cast<std::int32_t>(end) + 1,
                     std::string(bytes)}}};
}

// The words of each language the readers write those places in. The patterns
// are constants, compiled once: compiling one costs more than a whole check.
const std::regex& holder_pattern(Language language) {
  static const std::regex english(R"(from (.+?\.txt) line (\d+))");
  static const std::regex italian(R"(\((.+?\.txt), riga (\d+)\))");
  return language == Language::italian ? italian : english;
}

const std::regex& earlier_line_pattern(Language language) {
  static const std::regex english(R"(\(line (\d+)\))");
  static const std::regex italian(R"(\(riga (\d+)\))");
  return language == Language::italian ? italian : english;
}

// The other entries a message names by their line: what holds a taken
// cell ("from FILE line N"), the entry one out of order comes after.
std::vector<std::pair<SourcePoint, std::string>> places_in_message(const Diagnostic& finding,
                                                                 Language language) {
  std::vector<std::pair<SourcePoint, std::string>> places;
  if (!finding.where) return places;
  const auto line_number = [](const std::string& digits) {
    std::int32_t line = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), line);
    return error == std::errc() && end == digits.data() + digits.size() ? line : 0;
  };
  std::smatch match;
  if (finding.severity == Severity::error &&
      std::regex_search(finding.message, match, holder_pattern(language))) {
    if (const std::int32_t line = line_number(match[2].str())) {
      places.push_back({SourcePoint{match[1].str(), line, 0},
                        tr(language, "the entry whose object holds the cell")});
    }
  }
  if (finding.id == warning_id(WarningKind::out_of_order)) {
    if (std::regex_search(finding.message, match, earlier_line_pattern(language))) {
      if (const std::int32_t line = line_number(match[1].str())) {
        places.push_back({SourcePoint{finding.where->file, line, 0},
                          tr(language, "the entry it comes after")});
      }
    }
  }
  return places;
}

}  // namespace

std::optional<SourceFix> fix_of(const Diagnostic& finding, const Document& document,
                                Language language) {
  if (finding.severity != Severity::warning || !finding.where || finding.where->line < 1) {
    return std::nullopt;
  }
  if (finding.id == warning_id(WarningKind::unknown_keyword)) return unknown_keyword_fix(finding, document, language);
  if (finding.id == warning_id(WarningKind::keyword_case)) return keyword_case_fix(finding, document, language);
  if (finding.id == warning_id(WarningKind::trailing_blanks)) return trailing_blanks_fix(finding, document, language);
  if (finding.id == warning_id(WarningKind::field_separator)) return field_separator_fix(finding, document, language);
  if (finding.id == warning_id(WarningKind::extra_values)) return extra_values_fix(finding, document, language);
  if (finding.id == warning_id(WarningKind::comment_marker)) return comment_marker_fix(finding, document, language);
  if (finding.id == warning_id(WarningKind::out_of_order)) return out_of_order_fix(finding, document, language);
  if (finding.id == warning_id(WarningKind::utf8_text)) return utf8_text_fix(finding, document, language);
  return std::nullopt;
}

std::string explanation_anchor(const std::string& id, Language language) {
  const std::optional<Explanation> explanation = find_explanation(id);
  if (!explanation) return "";
  // The heading's anchor as Markdown renderers make it: lower case, blanks
  // as dashes, other punctuation left out.
  const std::string heading = explanation->id + ": " + tr(language, explanation->title);
  std::string anchor = "#";
  for (const char c : heading) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || c == '-' || c == '_' || byte >= 0x80) {
      anchor += static_cast<char>(std::tolower(byte));
    } else if (c == ' ') {
      anchor += '-';
    }
  }
  return anchor;
}

nlohmann::json finding_range(const Diagnostic& finding, const Document& document,
                             PositionEncoding encoding) {
  if (!finding.where || finding.where->line < 1) return document.range(1, 1, 1, encoding);
  const SourcePoint& where = *finding.where;
  if (where.column < 1) {
    // Only the line is known: the whole line, without its leading blanks.
    const std::string_view line = document.byte_line(where.line);
    std::int32_t start = 1;
    while (static_cast<std::size_t>(start) <= line.size() && is_blank(line[start - 1])) ++start;
    return document.range(where.line, start, static_cast<std::int32_t>(line.size()) + 1, encoding);
  }
  return document.range(where.line, where.column, end_of(where, document), encoding);
}

nlohmann::json text_edit(const SourceEdit& edit, const Document& document,
                         PositionEncoding encoding) {
  return {{"range",
           {{"start", document.position(edit.line, edit.column, encoding)},
            {"end", document.position(edit.end_line, edit.end_column, encoding)}}},
          {"newText", edit.text}};
}

nlohmann::json editor_diagnostics(const Document& document, const FindingPlaces& places) {
  nlohmann::json out = nlohmann::json::array();
  const auto location = [&](const SourcePoint& where, std::string_view source_line) {
    const Document* there = where.file == bare_name(document.path)
                                ? &document
                                : (places.open_document ? places.open_document(where.file) : nullptr);
    nlohmann::json range = there != nullptr
                               ? finding_range(at_place(where), *there, places.encoding)
                               : range_in_bytes(source_line, where, places.encoding);
    return nlohmann::json{{"uri", places.uri_of_file(where.file)}, {"range", std::move(range)}};
  };
  for (const Diagnostic& finding : document.findings) {
    nlohmann::json item;
    item["range"] = finding_range(finding, document, places.encoding);
    item["severity"] = severity_of(finding.severity);
    item["source"] = "scenario-compiler";
    item["message"] = message_to_utf8(finding.message);
    if (!finding.id.empty()) {
      item["code"] = finding.id;
      const std::string anchor = explanation_anchor(finding.id, places.language);
      if (!places.explanations_uri.empty() && !anchor.empty()) {
        item["codeDescription"] = {{"href", places.explanations_uri + anchor}};
      }
    }
    nlohmann::json related = nlohmann::json::array();
    for (const Diagnostic& note : finding.notes) {
      const SourcePoint here = note.where && note.where->line > 0 ? *note.where
                               : finding.where                   ? *finding.where
                                                                 : SourcePoint{};
      if (here.file.empty()) {
        item["message"] = item["message"].get<std::string>() + "\nnote: " + message_to_utf8(note.message);
        continue;
      }
      related.push_back({{"location", location(here, note.source_line)},
                         {"message", message_to_utf8(note.message)}});
    }
    for (const auto& [place, told] : places_in_message(finding, places.language)) {
      related.push_back({{"location", location(place, "")}, {"message", told}});
    }
    if (finding.root && finding.root->line > 0) {
      related.push_back({{"location", location(*finding.root, "")},
                         {"message", tr(places.language, "the earlier error this one follows from")}});
    }
    if (!related.empty()) item["relatedInformation"] = std::move(related);
    if (const std::optional<SourceFix> fix = fix_of(finding, document, places.language)) {
      nlohmann::json edits = nlohmann::json::array();
      for (const SourceEdit& edit : fix->edits) edits.push_back(text_edit(edit, document, places.encoding));
      item["data"] = {{"fix", {{"title", fix->title}, {"edits", std::move(edits)}}}};
    }
    out.push_back(std::move(item));
  }
  for (const EncodingFault& fault : document.encoded.faults) {
    std::string message = trf(places.language,
                              "\"{1}\" ({2}) cannot be written in code page 1252, the sources' "
                              "encoding: the simulator could not show it",
                              {utf8_of(fault.code), hex_code(fault.code)});
    out.push_back({{"range", document.range(fault.line, fault.column, fault.column + 1, places.encoding)},
                   {"severity", 1},
                   {"source", "scenario-compiler"},
                   {"code", "cp1252"},
                   {"message", std::move(message)}});
  }
  return out;
}

}  // namespace scenario
