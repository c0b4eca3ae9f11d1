#include "lsp/features.h"

#include <algorithm>
#include <string>

#include "check/explanations.h"
#include "format/format_source.h"
#include "language/translate.h"
#include "lsp/findings.h"
#include "lsp/value_info.h"
#include "output/cp1252.h"

namespace scenario {
namespace {

using E = KeywordEntry;

bool before_or_at(std::int32_t line_a, std::int32_t column_a, std::int32_t line_b,
                  std::int32_t column_b) {
  return line_a < line_b || (line_a == line_b && column_a <= column_b);
}

bool within(const FieldSpan& span, std::int32_t line, std::int32_t column) {
  return span.line == line && column >= span.column && column <= span.end_column;
}

std::string short_name(const SourceKeyword& keyword, std::size_t index, Language language) {
  const ValueInfo info = value_info(keyword, index);
  return info.short_name.empty() ? value_name(keyword, index, language)
                                 : tr(language, info.short_name);
}

std::string range_text(const ValueInfo& info, Language language) {
  if (info.min == INT32_MIN && info.max == INT32_MAX) return tr(language, "any 32-bit integer");
  return trf(language, "{1} to {2}", {std::to_string(info.min), std::to_string(info.max)});
}

std::string cell_text(const TrackCell& cell, Language language) {
  const char* kind = cell_kind_name(cell.kind);
  const std::string object = cell.kind == cell_kind::kNone ? tr(language, "none")
                             : *kind != '\0'               ? std::string(kind)
                                       : trf(language, "kind {1}", {std::to_string(cell.kind)});
  std::string text = trf(language,
                         "object: {1}; speed limit {2} km/h; gradient {3} permille; adhesion {4}",
                         {object, std::to_string(int{cell.speed_limit} * 5),
                          std::to_string(int{cell.gradient} - 100), std::to_string(cell.adhesion)});
  if (cell.tunnel != 0) text += tr(language, "; in a tunnel");
  return text;
}

// The cell an entry's position puts its object in: the readers' rule for
// each kind (the fills from a position start at the lower cell).
std::int32_t cell_of(const SourceKeyword& keyword, std::int32_t position) {
  switch (keyword.entry) {
    case E::gradient:
    case E::speed:
    case E::adhesion:
    case E::reduction_point:
    case E::tunnel:
    case E::station: return lower_cell_index(position);
    default: return cell_index(position);
  }
}

std::string value_hover(const SourceEntry& entry, std::size_t index, const CellGrid* grid,
                        Language language) {
  const SourceKeyword& keyword = *entry.keyword;
  const ValueInfo info = value_info(keyword, index);
  std::string text = trf(language, "**{1}**, value {2} of {3}",
                         {value_name(keyword, index, language), std::to_string(index + 1),
                          entry_name(keyword, language)});
  if (is_text_value(keyword, index)) {
    return text + "\n\n" + tr(language, "A text, shown by the simulator as written.");
  }
  if (!info.unit.empty()) text += "\n\n" + trf(language, "unit: {1}", {tr(language, info.unit)});
  text += "\n\n" + trf(language, "range: {1}", {range_text(info, language)});
  const std::optional<std::int32_t> value = entry.values[index].number;
  if (info.position && value) {
    const std::int32_t cell = cell_of(keyword, *value);
    text += "\n\n" + trf(language, "{1}, cell {2}", {kilometre_form(*value), std::to_string(cell)});
    if (grid != nullptr && grid->contains(cell)) {
      text += "\n\n" + trf(language, "the compiled model at cell {1}: {2}",
                            {std::to_string(cell), cell_text((*grid)[cell], language)});
    } else if (grid != nullptr) {
      text += trf(language, " (outside the grid, cells 0 to {1})",
                  {std::to_string(grid->last_index())});
    }
  }
  return text;
}

std::string keyword_hover(const SourceKeyword& keyword, Language language) {
  std::string text = "**" + std::string(keyword.written) + "**: " + tr(language, keyword.meaning);
  if (keyword.fields.empty()) return text;
  text += "\n\n";
  for (std::size_t index = 0; index < keyword.fields.size(); ++index) {
    const ValueInfo info = value_info(keyword, index);
    text += std::to_string(index + 1) + ". " + value_name(keyword, index, language);
    if (!is_text_value(keyword, index) && !(info.min == INT32_MIN && info.max == INT32_MAX)) {
      text += " (" + range_text(info, language) + ")";
    }
    text += "\n";
  }
  return text;
}

nlohmann::json markup(std::string text) {
  return {{"kind", "markdown"}, {"value", std::move(text)}};
}

nlohmann::json symbol(std::string name, std::string detail, int kind, nlohmann::json range,
                      nlohmann::json selection) {
  nlohmann::json item = {{"name", name.empty() ? std::string("(unnamed)") : std::move(name)},
                         {"kind", kind},
                         {"range", std::move(range)},
                         {"selectionRange", std::move(selection)}};
  if (!detail.empty()) item["detail"] = std::move(detail);
  return item;
}

// The symbol kind an entry shows in the outline, 0 for an entry left out.
int symbol_kind(KeywordEntry entry) {
  switch (entry) {
    case E::station: return 20;           // key
    case E::signal: return 24;            // event
    case E::restriction: return 25;       // operator
    case E::speed_indicator:
    case E::indication_board: return 14;  // constant
    case E::tunnel: return 2;             // module
    default: return 0;
  }
}

std::string trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return std::string(text);
}

// The section headers the built-in sources use, offered where an entry may start.
constexpr std::string_view kLineSections[] = {"[curve]", "[pendenze]", "[montagne]",
                                              "[cartelli]", "[indicazioni]", "[fine]"};
constexpr std::string_view kTrainSections[] = {"[aderenze]", "[vel_limite]", "[segnali]",
                                               "[rallentamenti]", "[stazioni]", "[fine]"};

std::string snippet_of(const SourceKeyword& keyword, Language language) {
  std::string text(keyword.written);
  for (std::size_t index = 0; index < keyword.fields.size(); ++index) {
    text += ", ${" + std::to_string(index + 1) + ":" + short_name(keyword, index, language) + "}";
  }
  return text;
}

nlohmann::json location(const Document& document, const FieldSpan& span, PositionEncoding encoding) {
  return {{"uri", document.uri}, {"range", document.range(span.line, span.column, span.end_column, encoding)}};
}

}  // namespace

nlohmann::json inlay_hints(const Document& document, std::int32_t first_line,
                           std::int32_t last_line, PositionEncoding encoding, Language language) {
  nlohmann::json hints = nlohmann::json::array();
  for (const SourceEntry& entry : document.entries.entries) {
    if (entry.key.line > last_line) break;
    for (std::size_t index = 0; index < entry.values.size(); ++index) {
      const FieldSpan& value = entry.values[index];
      if (value.line < first_line || value.line > last_line) continue;
      hints.push_back({{"position", document.position(value.line, value.column, encoding)},
                       {"label", short_name(*entry.keyword, index, language) + ":"},
                       {"kind", 2},
                       {"paddingRight", true}});
      const ValueInfo info = value_info(*entry.keyword, index);
      // The kilometre form helps where the metres run past a kilometre.
      if (info.position && value.number && *value.number >= 1000) {
        hints.push_back({{"position", document.position(value.line, value.end_column, encoding)},
                         {"label", kilometre_form(*value.number)},
                         {"kind", 1},
                         {"paddingLeft", true}});
      }
    }
  }
  return hints;
}

nlohmann::json hover(const Document& document, std::int32_t line, std::int32_t column,
                     PositionEncoding encoding, const CellGrid* grid, Language language) {
  std::vector<std::string> parts;
  nlohmann::json range;
  if (const SourceEntry* entry = document.entry_at(line, column)) {
    if (within(entry->key, line, column)) {
      parts.push_back(keyword_hover(*entry->keyword, language));
      range = document.range(line, entry->key.column, entry->key.end_column, encoding);
    }
    for (std::size_t index = 0; index < entry->values.size(); ++index) {
      const FieldSpan& value = entry->values[index];
      if (!within(value, line, column)) continue;
      parts.push_back(value_hover(*entry, index, grid, language));
      range = document.range(line, value.column, value.end_column, encoding);
    }
  }
  for (const Diagnostic& finding : document.findings) {
    if (!finding.where || finding.where->line != line || finding.id.empty()) continue;
    const nlohmann::json covered = finding_range(finding, document, encoding);
    const std::int32_t start = finding.where->column < 1 ? 1 : finding.where->column;
    const std::int32_t units = units_of(document.lines[static_cast<std::size_t>(line) - 1], column - 1, encoding);
    const bool inside = finding.where->column < 1 ||
                        (units >= covered["start"]["character"].get<std::int32_t>() &&
                         units <= covered["end"]["character"].get<std::int32_t>());
    if (!inside) continue;
    (void)start;
    std::string text = "**" + finding.id + "**: " + message_to_utf8(finding.message);
    if (const std::optional<Explanation> explanation = find_explanation(finding.id)) {
      text += "\n\n" + tr(language, explanation->title) + ". " + tr(language, explanation->meaning);
      if (!explanation->fix.empty()) {
        text += "\n\n" + trf(language, "Fix: {1}", {tr(language, explanation->fix)});
      }
    }
    parts.push_back(std::move(text));
  }
  if (parts.empty()) return nullptr;
  std::string text;
  for (const std::string& part : parts) {
    if (!text.empty()) text += "\n\n---\n\n";
    text += part;
  }
  nlohmann::json result = {{"contents", markup(std::move(text))}};
  if (!range.is_null()) result["range"] = std::move(range);
  return result;
}

nlohmann::json completion(const Document& document, std::int32_t line, std::int32_t column,
                          PositionEncoding encoding, Language language) {
  nlohmann::json items = nlohmann::json::array();
  const std::string_view text = document.byte_line(line);
  const std::size_t typed_end = std::min(static_cast<std::size_t>(std::max(column, 1) - 1), text.size());
  // Only where a keyword field starts: the first field of its line.
  if (text.substr(0, typed_end).find(',') != std::string_view::npos) return items;
  std::size_t typed_start = 0;
  while (typed_start < typed_end && (text[typed_start] == ' ' || text[typed_start] == '\t')) ++typed_start;
  const nlohmann::json replaced = {
      {"start", document.position(line, static_cast<std::int32_t>(typed_start) + 1, encoding)},
      {"end", document.position(line, static_cast<std::int32_t>(typed_end) + 1, encoding)}};
  const auto add = [&](std::string label, std::string detail, std::string insert, bool snippet,
                       int kind, std::string documentation) {
    nlohmann::json item = {{"label", label},
                           {"kind", kind},
                           {"detail", std::move(detail)},
                           {"filterText", label},
                           {"insertTextFormat", snippet ? 2 : 1},
                           {"textEdit", {{"range", replaced}, {"newText", std::move(insert)}}}};
    if (!documentation.empty()) item["documentation"] = markup(std::move(documentation));
    items.push_back(std::move(item));
  };
  const KeywordPlace place = place_of_line(document.entries, line);
  if (place == KeywordPlace::section) {
    add("[generale]", tr(language, "start of the source"), "[generale]", false, 9, "");
    return items;
  }
  for (const SourceKeyword& keyword : keywords_of(document.name.kind, place)) {
    add(std::string(keyword.written), tr(language, keyword.meaning), snippet_of(keyword, language), true, 14,
        keyword_hover(keyword, language));
  }
  if (place == KeywordPlace::body || place == KeywordPlace::header || place == KeywordPlace::records) {
    const auto sections = document.name.kind == SourceKind::line
                              ? std::span<const std::string_view>(kLineSections)
                              : std::span<const std::string_view>(kTrainSections);
    for (const std::string_view section : sections) {
      add(std::string(section), tr(language, "section header"), std::string(section), false, 9, "");
    }
  }
  if (place == KeywordPlace::header) {
    // The body's keywords follow the first section header.
    for (const SourceKeyword& keyword : keywords_of(SourceKind::line, KeywordPlace::body)) {
      add(std::string(keyword.written),
          trf(language, "{1} (after a section header)", {tr(language, keyword.meaning)}),
          snippet_of(keyword, language), true, 14, keyword_hover(keyword, language));
    }
  }
  return items;
}

nlohmann::json signature_help(const Document& document, std::int32_t line, std::int32_t column,
                              Language language) {
  const SourceEntry* entry = document.entry_at(line, column);
  if (entry == nullptr || entry->keyword->fields.empty()) return nullptr;
  const SourceKeyword& keyword = *entry->keyword;
  std::string label(keyword.written);
  nlohmann::json parameters = nlohmann::json::array();
  for (std::size_t index = 0; index < keyword.fields.size(); ++index) {
    label += ", ";
    const std::string name = short_name(keyword, index, language);
    const std::size_t start = label.size();
    label += name;
    parameters.push_back({{"label", {start, label.size()}},
                          {"documentation", value_name(keyword, index, language)}});
  }
  // The value under the cursor, or the next one to type.
  std::size_t active = 0;
  if (!within(entry->key, line, column)) {
    active = entry->values.size();
    for (std::size_t index = 0; index < entry->values.size(); ++index) {
      const FieldSpan& value = entry->values[index];
      if (before_or_at(line, column, value.line, value.end_column)) {
        active = index;
        break;
      }
    }
    // Past a value's end, a comma moves on to the next one.
    if (active < entry->values.size()) {
      const FieldSpan& value = entry->values[active];
      if (line == value.line && column > value.end_column) ++active;
    }
  }
  active = std::min(active, keyword.fields.size() - 1);
  return {{"signatures", {{{"label", label},
                           {"documentation", tr(language, keyword.meaning)},
                           {"parameters", std::move(parameters)}}}},
          {"activeSignature", 0},
          {"activeParameter", active}};
}

nlohmann::json document_symbols(const Document& document, PositionEncoding encoding) {
  nlohmann::json out = nlohmann::json::array();
  const SourceEntries& entries = document.entries;
  const auto last_line = static_cast<std::int32_t>(document.lines.size());
  for (std::size_t s = 0; s < entries.sections.size(); ++s) {
    const FieldSpan& section = entries.sections[s];
    const std::int32_t end_line = s + 1 < entries.sections.size() ? entries.sections[s + 1].line - 1 : last_line;
    const std::string_view end_text = document.byte_line(std::max(end_line, section.line));
    nlohmann::json children = nlohmann::json::array();
    for (const SourceEntry& entry : entries.entries) {
      if (entry.section != s) continue;
      const int kind = symbol_kind(entry.keyword->entry);
      if (kind == 0) continue;
      const std::int32_t entry_end = entry.values.empty() ? entry.key.end_column : entry.values.back().end_column;
      const std::int32_t entry_end_line = entry.values.empty() ? entry.key.line : entry.values.back().line;
      std::string name(entry.keyword->name);
      if (entry.keyword->entry == E::station && entry.values.size() == entry.keyword->fields.size()) {
        name = cp1252_to_utf8(trimmed(entry.values.back().text));
      }
      if (entry.keyword->entry == E::indication_board && entry.values.size() == 2) {
        name = cp1252_to_utf8(trimmed(entry.values.back().text));
      }
      std::string detail;
      if (!entry.values.empty() && entry.values[0].number) {
        detail = kilometre_form(*entry.values[0].number);
        if (entry.keyword->entry != E::station && entry.keyword->entry != E::indication_board) {
          detail = std::string(entry.keyword->written) + ", " + detail;
        }
      }
      children.push_back(symbol(
          std::move(name), std::move(detail), kind,
          {{"start", document.position(entry.key.line, entry.key.column, encoding)},
           {"end", document.position(entry_end_line, entry_end, encoding)}},
          document.range(entry.key.line, entry.key.column, entry.key.end_column, encoding)));
    }
    nlohmann::json item = symbol(
        cp1252_to_utf8(trimmed(section.text)), "", 3,
        {{"start", document.position(section.line, section.column, encoding)},
         {"end", document.position(std::max(end_line, section.line),
                                   static_cast<std::int32_t>(end_text.size()) + 1, encoding)}},
        document.range(section.line, section.column, section.end_column, encoding));
    item["children"] = std::move(children);
    out.push_back(std::move(item));
  }
  return out;
}

nlohmann::json formatting_edits(const Document& document, PositionEncoding encoding) {
  nlohmann::json edits = nlohmann::json::array();
  if (!document.encoded.faults.empty()) return edits;
  const std::string formatted = cp1252_to_utf8(format_source(document.encoded.bytes, document.name.kind));
  if (formatted == document.text) return edits;
  const std::vector<std::string_view> lines = split_lines(formatted);
  if (lines.size() != document.lines.size()) {
    const auto last = static_cast<std::int32_t>(document.lines.size());
    edits.push_back({{"range", {{"start", {{"line", 0}, {"character", 0}}},
                                {"end", document.position(last, INT32_MAX, encoding)}}},
                     {"newText", formatted}});
    return edits;
  }
  for (std::size_t row = 0; row < lines.size(); ++row) {
    if (lines[row] == document.lines[row]) continue;
    const auto line = static_cast<std::int32_t>(row) + 1;
    edits.push_back({{"range", {{"start", {{"line", row}, {"character", 0}}},
                                {"end", document.position(line, INT32_MAX, encoding)}}},
                     {"newText", std::string(lines[row])}});
  }
  return edits;
}

nlohmann::json line_places_of(const Document& train, std::int32_t line, std::int32_t column,
                              const Document& line_source, PositionEncoding encoding) {
  nlohmann::json out = nlohmann::json::array();
  const SourceEntry* entry = train.entry_at(line, column);
  if (entry == nullptr || entry->values.empty() || !entry->values[0].number ||
      !value_info(*entry->keyword, 0).position || !within(entry->values[0], line, column)) {
    return out;
  }
  const std::int64_t position = *entry->values[0].number;
  const SourceEntry* gradient = nullptr;
  const SourceEntry* indicator = nullptr;
  for (const SourceEntry& candidate : line_source.entries.entries) {
    const auto& values = candidate.values;
    if (values.empty() || !values[0].number) continue;
    const std::int64_t start = *values[0].number;
    switch (candidate.keyword->entry) {
      case E::gradient:
        if (start <= position && (gradient == nullptr || start >= *gradient->values[0].number)) gradient = &candidate;
        break;
      case E::speed_indicator:
        if (start <= position && (indicator == nullptr || start >= *indicator->values[0].number)) indicator = &candidate;
        break;
      case E::curve:
        if (values.size() == 2 && values[1].number && start < position && position <= start + *values[1].number) {
          out.push_back(location(line_source, candidate.key, encoding));
        }
        break;
      case E::tunnel:
        if (values.size() >= 2 && values[1].number && start <= position && position <= *values[1].number) {
          out.push_back(location(line_source, candidate.key, encoding));
        }
        break;
      default: break;
    }
  }
  if (gradient != nullptr) out.insert(out.begin(), location(line_source, gradient->key, encoding));
  if (indicator != nullptr) out.push_back(location(line_source, indicator->key, encoding));
  return out;
}

}  // namespace scenario
