#include "view/view_data.h"

#include <map>
#include <set>
#include <string_view>
#include <type_traits>

#include "language/translate.h"
#include "model/text_cat.h"
#include "output/cp1252.h"
#include "view/json_text.h"

namespace scenario {
namespace {

std::string number_text(std::int64_t value) { return std::to_string(value); }


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
