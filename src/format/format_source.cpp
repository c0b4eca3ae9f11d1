#include "format/format_source.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "sources/field_reader.h"

namespace scenario {
namespace {

// What makes the layout safe. The field reader skips the blanks before every
// field, and after a number it skips the blanks up to the comma; a text field
// keeps the blanks before its comma. So only the blanks before a field change,
// and the blanks after a field that holds nothing but numbers. A field is kept
// as a text (a station name, a board text) only right after the numbers of its
// entry: such an entry is laid out only when it holds exactly its numbers and
// its text last. A keyword field is kept byte for byte (a name cut short on
// the line before would take it), and no field starting a line other than an
// entry's keyword is touched.

constexpr std::size_t kLongestLine = 4096;  // longer lines are left as they are
constexpr std::size_t kLongestCell = 64;    // keyword and number fields
constexpr std::size_t kLongestText = 1000;  // names and board texts
constexpr std::size_t kMostValueCells = 32;

struct Line {
  std::string_view body;
  std::string_view end;  // "\r\n", "\n", "\r", or "" for a last line without one
};

// Lines as the field reader counts them: CR LF, a lone CR or a lone LF end one.
std::vector<Line> split_lines(std::string_view text) {
  std::vector<Line> lines;
  lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back({text.substr(start), {}});
      break;
    }
    std::size_t after = end + 1;
    if (text[end] == '\r' && after < text.size() && text[after] == '\n') ++after;
    lines.push_back({text.substr(start, end - start), text.substr(end, after - end)});
    start = after;
  }
  return lines;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim_leading(std::string_view s) {
  std::size_t first = 0;
  while (first < s.size() && is_blank(s[first])) ++first;
  return s.substr(first);
}

// A quote may open a quoted text only where a field can start: at a line
// start or after a comma (blanks between), or after the blanks that follow a
// number.
bool may_open_quote(std::string_view body, std::size_t quote) {
  std::size_t i = quote;
  while (i > 0 && is_blank(body[i - 1])) --i;
  if (i == 0 || body[i - 1] == ',') return true;
  return i < quote && body[i - 1] >= '0' && body[i - 1] <= '9';
}

// The lines a quoted text may cover are left as they are: every line holding
// a quote, every line between two quotes in a row (a quoted text runs from
// its quote to the next), and from a last quote that may open a text to the
// end.
std::vector<bool> quoted_lines(const std::vector<Line>& lines) {
  std::vector<bool> quoted(lines.size(), false);
  std::optional<std::size_t> last_quote_line;
  bool last_may_open = false;
  for (std::size_t index = 0; index < lines.size(); ++index) {
    const std::string_view body = lines[index].body;
    for (std::size_t at = body.find('"'); at != std::string_view::npos;
         at = body.find('"', at + 1)) {
      for (std::size_t mark = last_quote_line.value_or(index); mark <= index; ++mark) {
        quoted[mark] = true;
      }
      last_quote_line = index;
      last_may_open = may_open_quote(body, at);
    }
  }
  if (last_quote_line && last_may_open) {
    std::fill(quoted.begin() + static_cast<std::ptrdiff_t>(*last_quote_line), quoted.end(), true);
  }
  return quoted;
}

// The numbers of a field written with one blank between them ("14 40 40"),
// or nothing when it holds anything else. `count` grows by their number.
std::optional<std::string> numbers_field(std::string_view cell, std::size_t& count) {
  std::string canonical;
  std::size_t i = 0;
  while (i < cell.size()) {
    while (i < cell.size() && is_blank(cell[i])) ++i;
    if (i == cell.size()) break;
    const std::size_t start = i;
    if (cell[i] == '+' || cell[i] == '-') ++i;
    const std::size_t digits = i;
    while (i < cell.size() && cell[i] >= '0' && cell[i] <= '9') ++i;
    if (i == digits || (i < cell.size() && !is_blank(cell[i]))) return std::nullopt;
    if (!canonical.empty()) canonical += ' ';
    canonical.append(cell.substr(start, i - start));
    ++count;
  }
  if (canonical.empty() || canonical.size() > kLongestCell) return std::nullopt;
  return canonical;
}

// One entry line taken apart: its keyword field as written and its values.
struct Entry {
  std::string_view keyword;
  std::vector<std::string> values;
  bool text_last = false;  // the last value is a stored text, kept as written
};

const SourceKeyword* only_keyword(std::string_view field, SourceKind kind) {
  const SourceKeyword* found = nullptr;
  for (const SourceKeyword& keyword : source_keywords()) {
    if (keyword.source != kind || !matches(keyword, field)) continue;
    if (found) return nullptr;
    found = &keyword;
  }
  return found;
}

std::optional<Entry> read_entry(std::string_view body, SourceKind kind) {
  if (body.size() > kLongestLine) return std::nullopt;
  std::vector<std::string_view> cells;
  cells.reserve(static_cast<std::size_t>(std::count(body.begin(), body.end(), ',')) + 1);
  for (std::size_t start = 0;;) {
    const std::size_t comma = body.find(',', start);
    cells.push_back(body.substr(start, comma == std::string_view::npos ? comma : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  Entry entry;
  entry.keyword = trim_leading(cells[0]);
  // A dash makes a comment field, brackets a section name; a line an author
  // started with "#", "//" or ";" is read as an entry, but most likely meant
  // as a comment, and stays as written.
  if (entry.keyword.empty() || entry.keyword.size() > kLongestCell ||
      entry.keyword.find_first_of("-[]") != std::string_view::npos ||
      entry.keyword.find_first_of("#/;") == 0) {
    return std::nullopt;
  }
  const SourceKeyword* keyword = only_keyword(entry.keyword, kind);
  if (!keyword || cells.size() - 1 > kMostValueCells) return std::nullopt;
  entry.text_last =
      keyword->entry == KeywordEntry::station || keyword->entry == KeywordEntry::indication_board;
  const std::size_t numbered = entry.text_last ? cells.size() - 2 : cells.size() - 1;
  if (entry.text_last && cells.size() < 2) return std::nullopt;
  std::size_t numbers = 0;
  entry.values.reserve(cells.size() - 1);
  for (std::size_t index = 1; index <= numbered; ++index) {
    std::optional<std::string> value = numbers_field(cells[index], numbers);
    if (!value) return std::nullopt;
    entry.values.push_back(std::move(*value));
  }
  if (entry.text_last) {
    // An empty text at the very end of the source reads differently with and
    // without its blanks, so an entry needs a text that shows.
    const std::string_view text = trim_leading(cells.back());
    if (numbers + 1 != keyword->fields.size() || text.empty() || text.size() > kLongestText) {
      return std::nullopt;
    }
    entry.values.emplace_back(text);
  }
  return entry;
}

bool starts_section(std::string_view body) {
  const std::string_view text = trim_leading(body);
  return !text.empty() && text[0] == '[';
}

// Lays out the entries of one section in columns: the values start one blank
// after the longest "keyword,", and each column of numbers is right-aligned.
void write_section(std::vector<std::optional<Entry>>& entries, std::size_t first,
                   std::size_t last, std::vector<std::string>& out) {
  std::size_t keyword_width = 0;
  std::vector<std::size_t> widths;
  for (std::size_t index = first; index < last; ++index) {
    const std::optional<Entry>& entry = entries[index];
    if (!entry || entry->values.empty()) continue;
    keyword_width = std::max(keyword_width, entry->keyword.size());
    const std::size_t numbered = entry->values.size() - (entry->text_last ? 1 : 0);
    if (widths.size() < numbered) widths.resize(numbered, 0);
    for (std::size_t column = 0; column < numbered; ++column) {
      widths[column] = std::max(widths[column], entry->values[column].size());
    }
  }
  // Each line is laid out in one buffer, which grows to the widest, and
  // copied out at its size.
  std::string line;
  for (std::size_t index = first; index < last; ++index) {
    const std::optional<Entry>& entry = entries[index];
    if (!entry) continue;
    line = entry->keyword;
    for (std::size_t column = 0; column < entry->values.size(); ++column) {
      const std::string& value = entry->values[column];
      const bool text = entry->text_last && column + 1 == entry->values.size();
      std::size_t pad = 1;
      if (column == 0) pad += keyword_width - entry->keyword.size();
      if (!text) pad += widths[column] - value.size();
      line += ',';
      line.append(pad, ' ');
      line += value;
    }
    out[index] = line;
  }
}

}  // namespace

std::string format_source(std::string_view source, SourceKind kind) {
  const std::vector<Line> lines = split_lines(source);
  const std::vector<bool> quoted = quoted_lines(lines);
  std::vector<std::optional<Entry>> entries(lines.size());
  for (std::size_t index = 0; index < lines.size(); ++index) {
    if (!quoted[index]) entries[index] = read_entry(lines[index].body, kind);
  }
  // Every entry is laid out anew; any other line stays as written.
  std::vector<std::string> laid_out(lines.size());
  std::size_t first = 0;
  for (std::size_t index = 0; index <= lines.size(); ++index) {
    if (index == lines.size() || starts_section(lines[index].body)) {
      write_section(entries, first, index, laid_out);
      first = index + 1;
    }
  }
  std::string out;
  out.reserve(source.size() + source.size() / 4);
  for (std::size_t index = 0; index < lines.size(); ++index) {
    if (entries[index]) {
      out += laid_out[index];
    } else {
      out += lines[index].body;
    }
    out.append(lines[index].end);
  }
  return out;
}

}  // namespace scenario
