#include "view/source_places.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "model/cell_grid.h"
#include "model/record_table.h"
#include "sources/field_reader.h"

namespace scenario {
namespace {

struct Entry {
  std::string_view keyword;
  std::vector<std::int64_t> numbers;  // the leading numbers after the keyword field
};

// The keyword field up to the first comma, then every number separated by
// commas or blanks up to the first field that is not a number.
Entry split_entry(std::string_view line) {
  Entry entry;
  const std::size_t comma = line.find(',');
  entry.keyword = line.substr(0, comma);
  if (comma == std::string_view::npos) return entry;
  std::string_view rest = line.substr(comma + 1);
  while (!rest.empty()) {
    const std::size_t start = rest.find_first_not_of(" \t,");
    if (start == std::string_view::npos) break;
    rest.remove_prefix(start);
    std::int64_t value = 0;
    const char* first = rest.data();
    if (*first == '+') ++first;
    const auto [end, error] = std::from_chars(first, rest.data() + rest.size(), value);
    if (error != std::errc() || (end != rest.data() + rest.size() && *end != ',' &&
                                 *end != ' ' && *end != '\t')) {
      break;
    }
    entry.numbers.push_back(value);
    rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
  }
  return entry;
}

template <class Visit>
void for_each_line(std::string_view text, Visit visit) {
  std::int32_t number = 1;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    visit(text.substr(0, end), number++);
    if (end == std::string_view::npos) break;
    const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
    text.remove_prefix(next);
  }
}

std::int32_t cell_at(double metres_over_50) {
  return static_cast<std::int32_t>(std::nearbyint(metres_over_50));
}

std::int32_t narrow(std::int64_t value) { return static_cast<std::int32_t>(value); }

}  // namespace

void scan_line_source(std::string_view file, std::string_view text, SourcePlaces& places) {
  std::int32_t sign_row = table_row::kFirstSign;
  for_each_line(text, [&](std::string_view line, std::int32_t number) {
    const Entry entry = split_entry(line);
    const SourcePlace place{std::string(file), number};
    if (entry.numbers.empty()) return;
    const std::int32_t p = narrow(entry.numbers[0]);
    // The reader's body tests, in its order: the first that matches takes the line.
    if (contains_ignore_case(entry.keyword, "pendenza") ||
        contains_ignore_case(entry.keyword, "curva")) {
      return;
    }
    if (contains_ignore_case(entry.keyword, "montagna")) {
      places.tunnels[lower_cell_index(p)] = place;
    } else if (contains_ignore_case(entry.keyword, "indicatori_v")) {
      places.objects[{cell_index(p), cell_kind::kSpeedIndicator}] = place;
    } else if (contains_ignore_case(entry.keyword, "cartello") &&
               contains_ignore_case(entry.keyword, "indicat")) {
      places.objects[{cell_index(p), cell_kind::kIndicationBoard}] = place;
      places.rows[sign_row--] = place;
    }
  });
}

void scan_train_source(std::string_view file, std::string_view text, SourcePlaces& places) {
  std::int32_t station_row = table_row::kFirstStation;
  for_each_line(text, [&](std::string_view line, std::int32_t number) {
    const Entry entry = split_entry(line);
    const SourcePlace place{std::string(file), number};
    const std::vector<std::int64_t>& n = entry.numbers;
    if (n.empty()) return;
    const std::int32_t p = narrow(n[0]);
    for (const char* other : {"frenata", "vetture", "velocit", "aderenza", "orologio", "sabbia"}) {
      if (contains_ignore_case(entry.keyword, other)) return;
    }
    if (contains_ignore_case(entry.keyword, "segnale")) {
      places.objects[{cell_index(p), cell_kind::kSignal}] = place;
    } else if (contains_ignore_case(entry.keyword, "rallentamento")) {
      places.objects[{cell_index(p), cell_kind::kStartBoard}] = place;
      if (n.size() > 2) places.objects[{cell_index(narrow(n[0] + n[2])), cell_kind::kEndBoard}] = place;
      const std::int32_t warning = cell_at((p - 1200.0) / 50.0 + 1.0);
      places.objects[{warning, cell_kind::kWarningBoard}] = place;
      const std::int32_t base = cell_at((p - 1200.0) / 50.0);
      for (std::int32_t k = 0; k < 4; ++k) places.objects[{base - k, cell_kind::kPreWarning}] = place;
    } else if (contains_ignore_case(entry.keyword, "abbattimento")) {
      places.objects[{lower_cell_index(p), cell_kind::kReductionPoint}] = place;
      places.objects[{lower_cell_index(p), cell_kind::kCodeCut}] = place;
    } else if (contains_ignore_case(entry.keyword, "stazione")) {
      places.rows[station_row++] = place;
    }
  });
}

}  // namespace scenario
