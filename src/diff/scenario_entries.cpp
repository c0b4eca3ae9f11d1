#include "diff/scenario_entries.h"

#include "language/translate.h"

#include <algorithm>
#include <map>

#include "diff/plan_curves.h"
#include "files/file_names.h"
#include "model/stamps.h"
#include "output/describe.h"

namespace scenario {
namespace {

DiffValue number(std::int64_t value, const std::string& unit = "") {
  return {std::to_string(value) + unit, value};
}

DiffValue words(std::string text) { return {std::move(text), std::nullopt}; }

DiffValue place(std::int64_t metres) { return {kilometre_text(metres), metres}; }

DiffValue quoted_value(const std::string& text) { return words("\"" + text + "\""); }

// Seconds since midnight as hh:mm:ss.
DiffValue clock(std::int64_t seconds) { return {clock_text(seconds), seconds}; }

std::optional<SourceLink> link(const LoadedScenario& scenario, const SourcePoint& where) {
  if (!scenario.lines_known || where.line <= 0) return std::nullopt;
  return SourceLink{join_path(scenario.folder, where.file), where.line};
}

// The entry that placed an object of this kind in this cell, when known.
const CellOccupant* occupant(const LoadedScenario& scenario, std::int32_t cell,
                             std::uint8_t kind) {
  if (!scenario.lines_known) return nullptr;
  const auto found = scenario.occupants.find(cell);
  return found != scenario.occupants.end() && found->second.kind == kind ? &found->second
                                                                          : nullptr;
}

ScenarioEntry object(const LoadedScenario& scenario, std::string entry, std::int32_t cell,
                     std::uint8_t kind) {
  ScenarioEntry e;
  e.entry = std::move(entry);
  e.key = e.entry + "@" + std::to_string(cell);
  e.at_m = cell_metres(static_cast<std::size_t>(cell));
  if (const CellOccupant* by = occupant(scenario, cell, kind)) {
    e.at_m = by->position;
    e.source = link(scenario, by->where);
  }
  return e;
}

// A maximum-speed indicator board packs a left speed vs and a right speed vd
// as vd / 5 + vs × 20: for speeds that are multiples of 5, hundreds of the
// left speed's fifths and the right speed's fifths.
DiffValue board_speeds(std::int16_t a, std::int16_t b, std::int16_t c, bool left) {
  std::string text;
  std::int64_t key = 0;
  for (const std::int16_t packed : {a, b, c}) {
    if (!text.empty()) text += "/";
    const int part = left ? packed / 100 : packed % 100;
    text += std::to_string(part * 5);
    key = key * 1000 + part;
  }
  return {text + " km/h", key};
}

void add_signal(const LoadedScenario& scenario, std::int32_t cell, std::vector<ScenarioEntry>& out) {
  const TrackCell& c = scenario.grid[cell];
  ScenarioEntry e = object(scenario, N_("signal"), cell, c.kind);
  // val_d = rapp × 10 + sx × 3 + dx; val_a..c = left × 10 + right.
  const int types = c.val_d % 10;
  e.fields = {{"sx", number(types / 3)},          {"s1", number(c.val_a / 10)},
              {"s2", number(c.val_b / 10)},       {"s3", number(c.val_c / 10)},
              {"rapp", number(c.val_d / 10)},     {"dx", number(types % 3)},
              {"d1", number(c.val_a % 10)},       {"d2", number(c.val_b % 10)},
              {"d3", number(c.val_c % 10)},       {N_("time"), number(c.timer)}};
  out.push_back(std::move(e));
}

bool yes_no_cell(const CellGrid& grid, std::int64_t cell, std::uint8_t kind) {
  return grid.contains(cell) && grid[static_cast<std::int32_t>(cell)].kind == kind;
}

// One restriction: its start board, the end board that follows with the
// same values (or none, when both fell into this cell), the warning board 24
// cells before and the pre-warning cells before that.
void add_restriction(const LoadedScenario& scenario, std::int32_t i, std::vector<bool>& taken,
                     std::vector<ScenarioEntry>& out) {
  const CellGrid& grid = scenario.grid;
  const TrackCell& c = grid[i];
  std::int32_t end = i;
  for (std::int32_t j = i + 1; j <= grid.last_index() && grid[j].kind != cell_kind::kStartBoard;
       ++j) {
    const TrackCell& d = grid[j];
    if (d.kind == cell_kind::kEndBoard && d.val_a == c.val_a && d.val_b == c.val_b &&
        d.val_c == c.val_c && !taken[static_cast<std::size_t>(j)]) {
      end = j;
      break;
    }
  }
  taken[static_cast<std::size_t>(end)] = true;
  const std::int64_t warning = std::int64_t{i} - 24;
  const bool warned = yes_no_cell(grid, warning, cell_kind::kWarningBoard) &&
                      grid[static_cast<std::int32_t>(warning)].val_a == c.val_a;
  bool pre_warned = false;
  if (warned) {
    taken[static_cast<std::size_t>(warning)] = true;
    for (std::int64_t n = warning - 4; n <= warning - 1; ++n) {
      if (yes_no_cell(grid, n, cell_kind::kPreWarning)) {
        taken[static_cast<std::size_t>(n)] = true;
        pre_warned = true;
      }
    }
  }
  ScenarioEntry e = object(scenario, N_("speed restriction"), i, c.kind);
  e.fields = {{N_("speed"), number(c.val_a, " km/h")},
              {N_("right-hand speed"), number(c.val_b, " km/h")},
              {N_("length"), number(std::int64_t{end - i} * 50, " m")},
              {N_("board flag"), number(c.val_c)},
              {N_("warning board"), words(warned ? N_("yes") : N_("no"))},
              {N_("pre-warning"), words(pre_warned ? N_("yes") : N_("no"))}};
  out.push_back(std::move(e));
}

}  // namespace

std::string kilometre_text(std::int64_t metres) {
  const std::string sign = metres < 0 ? "-" : "";
  const std::int64_t m = metres < 0 ? -metres : metres;
  std::string rest = std::to_string(m % 1000);
  rest.insert(0, 3 - rest.size(), '0');
  return "km " + sign + std::to_string(m / 1000) + "+" + rest;
}

bool is_pass_point(const TrackCell& cell) {
  return cell.kind == cell_kind::kReductionPoint && cell.val_a == 180;
}

std::vector<ScenarioEntry> header_entries(const LoadedScenario& scenario) {
  const auto& rows = scenario.table.rows;
  const TableRow& quantities = rows[table_row::kQuantities];
  const TableRow& header = rows[table_row::kScenarioHeader];
  const TableRow& train = rows[table_row::kTrainHeader];
  std::vector<ScenarioEntry> out;
  auto add = [&](std::string name, DiffValue value) {
    ScenarioEntry e;
    e.entry = N_("header");
    e.key = name;
    e.name = std::move(name);
    e.fields.emplace_back("", std::move(value));
    out.push_back(std::move(e));
  };
  add(N_("scenario name"), quoted_value(header.text));
  add(N_("train number"), quoted_value(train.text));
  add(N_("line length"), number(quantities.num_b, " m"));
  for (const int row : {table_row::kProgressiveTre, table_row::kProgressiveDue,
                        table_row::kProgressiveUno}) {
    const TableRow& r = rows[static_cast<std::size_t>(row)];
    add("kilometre progressive of row " + std::to_string(row),
        words(std::to_string(r.num_a) + ", " + std::to_string(r.num_b) + ", " +
              std::to_string(r.num_c)));
  }
  add(N_("background one"), number(header.num_a));
  add(N_("background two"), number(header.num_c));
  add(N_("background three"), number(header.num_b));
  add(N_("signal repetition"),
      train.num_b == 0 && train.num_a == 0 && train.num_c == 0
          ? words(N_("none"))
          : words(kilometre_text(train.num_a) + " to " + kilometre_text(train.num_b) + ", " +
                  std::to_string(train.num_c) + " codes"));
  add(N_("braked mass"), number(quantities.num_a, " %"));
  add(N_("coaches"), number(quantities.num_c));
  add(N_("sand"), number(train.word_a));
  add(N_("start clock"),
      clock((std::int64_t{train.word_c} * 60 + train.word_d) * 60 + train.word_e));
  // The stamps and integrity codes follow from the two names: they are an
  // entry of their own only where they do not.
  RecordTable named;
  name_scenario(named, header.text, train.text);
  std::string stamps;
  auto note = [&](const std::string& what, std::int64_t found, std::int64_t expected) {
    if (found == expected) return;
    if (!stamps.empty()) stamps += ", ";
    stamps += what + " " + std::to_string(found) + " (expected " + std::to_string(expected) + ")";
  };
  note("row 85 word_a", header.word_a, 610);
  note("row 85 num_d", header.num_d, codice_gara_st(named));
  if (scenario.grid.contains(1)) {
    note("cell 1 val_a", scenario.grid[1].val_a, 5121);
    note("cell 1 val_b", scenario.grid[1].val_b,
         static_cast<std::int16_t>(codice_gara_og(named)));
  }
  add(N_("stamps and integrity codes"), words(stamps.empty() ? N_("fit the names") : stamps));
  return out;
}

std::vector<ScenarioEntry> station_entries(const LoadedScenario& scenario) {
  std::vector<ScenarioEntry> out;
  std::map<std::string, int> seen;
  for (int index = table_row::kFirstStation; index < table_row::kFirstSign; ++index) {
    const TableRow& r = scenario.table.rows[static_cast<std::size_t>(index)];
    TableRow numbers = r;
    numbers.text.clear();
    if (numbers == TableRow{}) continue;  // empty, or an indication board's text
    ScenarioEntry e;
    e.entry = N_("station");
    e.name = r.text;
    // Two stations of one name are told apart by their order.
    e.key = r.text + "#" + std::to_string(seen[r.text]++);
    e.at_m = r.num_c;
    // The extent follows from the position, the kind and the length: codes 5
    // and 6 reach the length before the position, 7 and 8 the length on both
    // sides, any other half the length on each side; the end extension adds 50 m.
    const std::int64_t before = std::int64_t{r.num_c} - r.num_a;
    std::int64_t length = before * 2, nominal_end = std::int64_t{r.num_c} + before;
    if (r.kind == 5 || r.kind == 6) {
      length = before;
      nominal_end = std::int64_t{r.num_c} + 150;
    } else if (r.kind == 7 || r.kind == 8) {
      length = before;
    }
    e.fields = {{N_("position"), place(r.num_c)},
                {N_("kind"), number(r.kind)},
                {N_("length"), number(length, " m")},
                {N_("end extension"), number(r.num_b - nominal_end, " m")},
                {N_("flag"), number(r.flag)},
                {"byte_d", number(r.byte_d)},
                {"byte_c", number(r.byte_c)},
                {N_("first parameters"), words(std::to_string(r.word_a) + ", " +
                                           std::to_string(r.word_b) + ", " +
                                           std::to_string(r.byte_a))},
                {N_("second parameters"), words(std::to_string(r.word_c) + ", " +
                                            std::to_string(r.word_d) + ", " +
                                            std::to_string(r.word_e))},
                {N_("standing time"), number(r.byte_b, " s")},
                {N_("scheduled time"), DiffValue{scheduled_text(r.num_d), r.num_d}},
                {N_("name"), quoted_value(r.text)}};
    if (const auto found = scenario.row_origins.find(index); found != scenario.row_origins.end()) {
      e.source = link(scenario, found->second);
    }
    out.push_back(std::move(e));
  }
  return out;
}

std::vector<ScenarioEntry> object_entries(const LoadedScenario& scenario, bool texts) {
  const CellGrid& grid = scenario.grid;
  std::vector<ScenarioEntry> out;
  std::vector<bool> taken(grid.cells.size(), false);
  // A restriction's warning board and pre-warning cells stand before its
  // start board: the restrictions are gathered first.
  for (std::int32_t i = 0; i <= grid.last_index(); ++i) {
    if (grid[i].kind == cell_kind::kStartBoard) add_restriction(scenario, i, taken, out);
  }
  for (std::int32_t i = 0; i <= grid.last_index(); ++i) {
    const TrackCell& c = grid[i];
    if (taken[static_cast<std::size_t>(i)]) continue;
    switch (c.kind) {
      case cell_kind::kNone:
      case cell_kind::kStopMarker:
      case cell_kind::kTunnelMarker:
        break;
      case cell_kind::kSignal:
        add_signal(scenario, i, out);
        break;
      case cell_kind::kStartBoard:
        break;  // above, with its other boards
      case cell_kind::kEndBoard:
      case cell_kind::kWarningBoard:
      case cell_kind::kPreWarning: {
        ScenarioEntry e = object(scenario,
                                 c.kind == cell_kind::kEndBoard       ? N_("end board")
                                 : c.kind == cell_kind::kWarningBoard ? N_("warning board")
                                                                      : N_("pre-warning cell"),
                                 i, c.kind);
        e.fields = {{"val_a", number(c.val_a)}, {"val_b", number(c.val_b)},
                    {"val_c", number(c.val_c)}};
        out.push_back(std::move(e));
        break;
      }
      case cell_kind::kSpeedIndicator: {
        ScenarioEntry e = object(scenario, N_("speed indicator board"), i, c.kind);
        e.fields = {{N_("left speeds"), board_speeds(c.val_a, c.val_b, c.val_c, true)},
                    {N_("left stripes"), number(c.val_d / 10)},
                    {N_("right speeds"), board_speeds(c.val_a, c.val_b, c.val_c, false)},
                    {N_("right stripes"), number(c.val_d % 10)}};
        out.push_back(std::move(e));
        break;
      }
      case cell_kind::kReductionPoint:
        if (is_pass_point(c)) break;
        [[fallthrough]];
      case cell_kind::kCodeCut: {
        ScenarioEntry e = object(scenario,
                                 c.kind == cell_kind::kCodeCut ? N_("code-cut point")
                                                               : N_("code-reduction point"),
                                 i, c.kind);
        if (c.kind == cell_kind::kReductionPoint) e.fields = {{N_("value"), number(c.val_a)}};
        out.push_back(std::move(e));
        break;
      }
      case cell_kind::kIndicationBoard: {
        ScenarioEntry e = object(scenario, N_("indication board"), i, c.kind);
        const bool row_ok = c.val_a >= 0 && c.val_a < table_row::kCount;
        if (!texts) {
          e.fields = {{N_("row"), number(c.val_a)}};
        } else if (row_ok) {
          e.fields = {{N_("text"), quoted_value(scenario.table.rows[static_cast<std::size_t>(c.val_a)].text)}};
        } else {
          e.fields = {{N_("text"), words("row " + std::to_string(c.val_a) + ", outside the table")}};
        }
        out.push_back(std::move(e));
        break;
      }
      default: {
        ScenarioEntry e = object(scenario, "object of kind " + std::to_string(c.kind), i, c.kind);
        e.fields = {{"val_a", number(c.val_a)}, {"val_b", number(c.val_b)},
                    {"val_c", number(c.val_c)}, {"val_d", number(c.val_d)},
                    {N_("timer"), number(c.timer)}};
        out.push_back(std::move(e));
        break;
      }
    }
  }
  std::stable_sort(out.begin(), out.end(), [](const ScenarioEntry& a, const ScenarioEntry& b) {
    return a.at_m < b.at_m;
  });
  return out;
}

std::vector<ScenarioEntry> tunnel_entries(const LoadedScenario& scenario) {
  const CellGrid& grid = scenario.grid;
  std::vector<ScenarioEntry> out;
  std::int32_t i = 0;
  while (i <= grid.last_index()) {
    const std::uint8_t type = grid[i].tunnel;
    std::int32_t end = i + 1;
    while (end <= grid.last_index() && grid[end].tunnel == type) ++end;
    if (type != 0) {
      // A tunnel from p to q covers the cells round(p / 50) .. round(q / 50 - 1).
      ScenarioEntry e;
      e.entry = "tunnel";
      e.key = "tunnel@" + std::to_string(i);
      e.at_m = std::int64_t{i} * 50;
      e.fields = {{N_("length"), number(std::int64_t{end - i} * 50, " m")}, {N_("type"), number(type)}};
      if (scenario.lines_known) {
        if (const auto found = scenario.tunnel_origins.find(i); found != scenario.tunnel_origins.end()) {
          e.source = link(scenario, found->second);
        }
      }
      out.push_back(std::move(e));
    }
    i = end;
  }
  return out;
}

std::vector<ScenarioEntry> curve_entries(const LoadedScenario& scenario) {
  std::vector<ScenarioEntry> out;
  if (!scenario.geometry) return out;
  for (const CurveOfPlan& curve : plan_curves(*scenario.geometry)) {
    ScenarioEntry e;
    e.entry = "curve";
    e.key = "curve@" + std::to_string(curve.start);
    e.at_m = curve.start;
    if (const auto found = scenario.curve_origins.find(curve.start);
        found != scenario.curve_origins.end()) {
      e.source = link(scenario, found->second);
    }
    e.fields = {{N_("length"), number(curve.length, " m")},
                {N_("class"), number(curve.curve_class)},
                {N_("direction"), words(curve.direction == 'd' ? "d (clockwise)"
                                                           : "s (counter-clockwise)")}};
    out.push_back(std::move(e));
  }
  return out;
}

}  // namespace scenario
