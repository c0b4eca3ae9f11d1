#include "view/view_data.h"

#include <map>
#include <set>
#include <string_view>
#include <type_traits>

#include "language/translate.h"
#include "output/cp1252.h"
#include "view/json_text.h"

namespace scenario {
namespace {

std::string number_text(std::int64_t value) { return std::to_string(value); }

// Joins texts and numbers by appending (GCC 12 warns falsely on "x" + std::to_string(n)).
void append_part(std::string& out, std::string_view text) { out += text; }
template <class Number, class = std::enable_if_t<std::is_integral_v<Number>>>
void append_part(std::string& out, Number value) {
  out += std::to_string(static_cast<std::int64_t>(value));
}
template <class... Parts>
std::string cat(const Parts&... parts) {
  std::string out;
  (append_part(out, parts), ...);
  return out;
}

// A signal packs single digits: left × 10 + right, and rapp × 10 + 3 × sx + dx.
std::string signal_details(const TrackCell& cell, Language language) {
  const int types = ((cell.val_d % 10) + 10) % 10;
  auto digits = [&](int side) {
    std::string text;
    for (const std::int16_t value : {cell.val_a, cell.val_b, cell.val_c}) {
      if (!text.empty()) text += ',';
      text += number_text(side == 0 ? value / 10 : value % 10);
    }
    return text;
  };
  std::string text = trf(language, "left type {1} ({2}), right type {3} ({4}), rapp {5}",
                         {number_text(types / 3), digits(0), number_text(types % 3), digits(1),
                          number_text(cell.val_d / 10)});
  if (cell.timer != 0) text += trf(language, ", timer {1}", {number_text(cell.timer)});
  return text;
}

// A board's speeds are packed as left × 20 + right / 5: for speeds in steps
// of 5 km/h, hundreds give the left speed and the rest the right one.
std::string speed_pair(std::int16_t packed) {
  const int left = packed / 100 * 5;
  const int right = packed % 100 * 5;
  return left == right ? number_text(left) : cat(left, "/", right);
}

std::string row_text(const RecordTable& table, std::int16_t row, Language language) {
  if (row < 0 || row >= table_row::kCount) {
    return trf(language, "row {1} (outside the table)", {number_text(row)});
  }
  return cp1252_to_utf8(table.rows[static_cast<std::size_t>(row)].text);
}

void add_place(std::string& out, const std::optional<SourcePlace>& place) {
  out += ",\"src\":";
  if (!place) {
    out += "null";
    return;
  }
  json_string(out, cat(place->file, ":", place->line));
}

template <class Key, class Map>
std::optional<SourcePlace> find_place(const Map& map, const Key& key) {
  const auto found = map.find(key);
  if (found == map.end()) return std::nullopt;
  return found->second;
}

// Rows 1.. that are stations: every row below the indication boards' rows that
// holds anything. The boards' rows are the ones their cells name.
std::vector<std::int32_t> station_rows(const RecordTable& table, const std::set<std::int32_t>& signs) {
  std::vector<std::int32_t> rows;
  for (std::int32_t r = table_row::kFirstStation; r <= table_row::kFirstSign; ++r) {
    if (signs.count(r) != 0) break;
    const TableRow& row = table.rows[static_cast<std::size_t>(r)];
    if (row == TableRow{}) break;
    rows.push_back(r);
  }
  return rows;
}

void add_diagnostic(std::string& out, const Diagnostic& d) {
  out += "{\"severity\":";
  json_string(out, d.severity == Severity::error ? "error"
                   : d.severity == Severity::warning ? "warning" : "note");
  out += ",\"id\":";
  json_string(out, d.id);
  out += ",\"message\":";
  json_string(out, d.message);
  out += ",\"position\":";
  out += d.position ? number_text(*d.position) : "null";
  out += ",\"file\":";
  if (d.where) {
    json_string(out, d.where->file);
    out += cat(",\"line\":", d.where->line, ",\"column\":", d.where->column);
  } else {
    out += "null,\"line\":null,\"column\":null";
  }
  out += ",\"sourceLine\":";
  json_string(out, d.source_line);
  out += ",\"notes\":[";
  for (std::size_t i = 0; i < d.notes.size(); ++i) {
    if (i != 0) out += ',';
    json_string(out, d.notes[i].message);
  }
  out += "]}";
}

// Values that hold over runs of cells, as [first cell, value] at each change.
template <class Value>
void add_runs(std::string& out, const CellGrid& grid, Value value) {
  out += '[';
  bool first = true;
  std::optional<std::string> last;
  for (std::int32_t c = 0; c <= grid.last_index(); ++c) {
    std::string v = value(grid[c]);
    if (last && *last == v) continue;
    if (!first) out += ',';
    first = false;
    out += cat("[", c, ",", v, "]");
    last = std::move(v);
  }
  out += ']';
}

}  // namespace

std::string object_details(const TrackCell& cell, const RecordTable& table, Language language) {
  switch (cell.kind) {
    case cell_kind::kSignal: return signal_details(cell, language);
    case cell_kind::kEndBoard:
    case cell_kind::kStartBoard:
    case cell_kind::kWarningBoard: {
      std::string text = number_text(cell.val_a) + " km/h";
      if (cell.val_b != 0) text += trf(language, ", right {1} km/h", {number_text(cell.val_b)});
      if (cell.kind != cell_kind::kWarningBoard && cell.val_c != 0) {
        text += trf(language, ", flag {1}", {number_text(cell.val_c)});
      }
      return text;
    }
    case cell_kind::kPreWarning:
      return trf(language, "pre-warning {1} of 4 before the warning board",
                 {number_text(cell.val_a)});
    case cell_kind::kSpeedIndicator:
      return trf(language, "a {1}, b {2}, c {3} km/h; stripes {4}/{5}",
                 {speed_pair(cell.val_a), speed_pair(cell.val_b), speed_pair(cell.val_c),
                  number_text(cell.val_d / 10), number_text(cell.val_d % 10)});
    case cell_kind::kStopMarker:
      return trf(language, "stop of {1}", {row_text(table, cell.val_a, language)});
    case cell_kind::kTunnelMarker: return tr(language, "tunnel marker");
    case cell_kind::kReductionPoint: return trf(language, "value {1}", {number_text(cell.val_a)});
    case cell_kind::kCodeCut: return tr(language, "code cut");
    case cell_kind::kIndicationBoard: return row_text(table, cell.val_a, language);
    default: return trf(language, "unknown kind {1}", {number_text(cell.kind)});
  }
}

std::string view_data_json(const ViewInput& input) {
  std::string out = "{\"title\":";
  json_string(out, input.title);
  out += ",\"origin\":";
  json_string(out, input.origin);
  out += input.watch ? ",\"watch\":true" : ",\"watch\":false";
  const std::int32_t length = input.table.rows[table_row::kQuantities].num_b;
  out += cat(",\"length\":", length);
  out += cat(",\"lastCell\":", input.grid ? input.grid->last_index() : -1);

  out += ",\"status\":";
  if (input.status) {
    const BuildStatus& s = *input.status;
    out += cat("{\"code\":", code_number(s.code), ",\"position\":", s.position, ",\"meaning\":");
    json_string(out, s.code == status::kNone ? "" : tr(input.language, status_meaning(s.code)));
    out += ",\"src\":";
    if (s.origin) {
      json_string(out, cat(s.origin->file, ":", s.origin->line));
    } else {
      out += "null";
    }
    out += '}';
  } else {
    out += "null";
  }
  out += ",\"fatal\":" + (input.fatal ? number_text(*input.fatal) : std::string("null"));
  out += ",\"problems\":[";
  for (std::size_t i = 0; i < input.problems.size(); ++i) {
    if (i != 0) out += ',';
    json_string(out, input.problems[i]);
  }
  out += "],\"diagnostics\":[";
  for (std::size_t i = 0; i < input.diagnostics.size(); ++i) {
    if (i != 0) out += ',';
    add_diagnostic(out, input.diagnostics[i]);
  }

  out += "],\"plan\":[";
  for (std::size_t i = 0; i < input.plan.size(); ++i) {
    if (i != 0) out += ',';
    out += cat("[", input.plan[i].metre, ",");
    json_number(out, input.plan[i].x, 1);
    out += ',';
    json_number(out, input.plan[i].y, 1);
    out += ']';
  }
  out += ']';

  std::set<std::int32_t> sign_rows;
  std::map<std::int32_t, std::int32_t> stop_cells;  // station row -> its stop marker's cell
  if (input.grid) {
    const CellGrid& grid = *input.grid;
    for (std::int32_t c = 0; c <= grid.last_index(); ++c) {
      if (grid[c].kind == cell_kind::kIndicationBoard) sign_rows.insert(grid[c].val_a);
      if (grid[c].kind == cell_kind::kStopMarker) stop_cells.emplace(grid[c].val_a, c);
    }
    out += ",\"gradient\":";
    add_runs(out, grid, [](const TrackCell& cell) {
      return cell.gradient == 0 ? std::string("null") : number_text(cell.gradient - 100);
    });
    out += ",\"speed\":";
    add_runs(out, grid, [](const TrackCell& cell) { return number_text(cell.speed_limit * 5); });
    out += ",\"tunnels\":[";
    bool first = true;
    for (std::int32_t c = 0; c <= grid.last_index(); ++c) {
      if (grid[c].tunnel == 0) continue;
      std::int32_t end = c;
      while (end < grid.last_index() && grid[end + 1].tunnel == grid[c].tunnel) ++end;
      if (!first) out += ',';
      first = false;
      out += cat("{\"from\":", c, ",\"to\":", end, ",\"type\":", grid[c].tunnel);
      add_place(out, find_place(input.places.tunnels, c));
      out += '}';
      c = end;
    }
    out += "],\"objects\":[";
    first = true;
    std::int32_t id = 0;
    for (std::int32_t c = 0; c <= grid.last_index(); ++c) {
      const TrackCell& cell = grid[c];
      if (cell.kind == cell_kind::kNone || cell.kind == cell_kind::kTunnelMarker) continue;
      if (!first) out += ',';
      first = false;
      out += cat("{\"id\":", id++, ",\"kind\":", cell.kind, ",\"name\":");
      const char* name = cell_kind_name(cell.kind);
      json_string(out, *name != '\0' ? name : "unknown");
      out += cat(",\"cell\":", c, ",\"details\":");
      json_string(out, object_details(cell, input.table, input.language));
      out += cat(",\"values\":[", cell.val_a, ",", cell.val_b, ",", cell.val_c, ",", cell.val_d, "]");
      std::optional<SourcePlace> place = find_place(input.places.objects, std::pair{c, cell.kind});
      if (cell.kind == cell_kind::kStopMarker || cell.kind == cell_kind::kIndicationBoard) {
        out += cat(",\"row\":", cell.val_a);
        if (!place) place = find_place(input.places.rows, std::int32_t{cell.val_a});
      }
      add_place(out, place);
      out += '}';
    }
    out += ']';
  } else {
    out += ",\"gradient\":[],\"speed\":[],\"tunnels\":[],\"objects\":[]";
  }

  out += ",\"stations\":[";
  const std::vector<std::int32_t> rows = station_rows(input.table, sign_rows);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TableRow& row = input.table.rows[static_cast<std::size_t>(rows[i])];
    if (i != 0) out += ',';
    out += cat("{\"row\":", rows[i], ",\"name\":");
    json_string(out, cp1252_to_utf8(row.text));
    out += cat(",\"kind\":", row.kind, ",\"from\":", row.num_a, ",\"to\":", row.num_b,
               ",\"at\":", row.num_c, ",\"time\":", row.num_d, ",\"stand\":", row.byte_b);
    const auto stop = stop_cells.find(rows[i]);
    out += ",\"stop\":" + (stop != stop_cells.end() ? number_text(stop->second) : std::string("null"));
    add_place(out, find_place(input.places.rows, rows[i]));
    out += '}';
  }
  out += "]}";
  return out;
}

}  // namespace scenario
