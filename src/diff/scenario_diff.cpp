#include "diff/scenario_diff.h"

#include "language/translate.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>

#include "files/file_names.h"
#include "output/record_fields.h"
#include "output/scenario_writer.h"

namespace scenario {
namespace {

Change change_of(ChangeKind kind, const ScenarioEntry& entry) {
  Change c;
  c.kind = kind;
  c.entry = entry.entry;
  c.name = entry.name;
  c.at_m = entry.at_m;
  c.source = entry.source;
  return c;
}

Change added(const ScenarioEntry& entry) {
  Change c = change_of(ChangeKind::added, entry);
  for (const auto& [field, value] : entry.fields) c.fields.push_back({field, std::nullopt, value});
  return c;
}

Change removed(const ScenarioEntry& entry) {
  Change c = change_of(ChangeKind::removed, entry);
  for (const auto& [field, value] : entry.fields) c.fields.push_back({field, value, std::nullopt});
  return c;
}

// The values that differ; none when the entries mean the same.
std::optional<Change> changed(const ScenarioEntry& before, const ScenarioEntry& after) {
  Change c = change_of(ChangeKind::changed, after);
  if (!c.source) c.source = before.source;
  for (std::size_t i = 0; i < std::max(before.fields.size(), after.fields.size()); ++i) {
    const auto* a = i < before.fields.size() ? &before.fields[i] : nullptr;
    const auto* b = i < after.fields.size() ? &after.fields[i] : nullptr;
    if (a != nullptr && b != nullptr && a->second == b->second) continue;
    FieldChange field;
    field.field = b != nullptr ? b->first : a->first;
    if (a != nullptr) field.old_value = a->second;
    if (b != nullptr) field.new_value = b->second;
    c.fields.push_back(std::move(field));
  }
  if (c.fields.empty()) return std::nullopt;
  return c;
}

bool same_fields(const ScenarioEntry& a, const ScenarioEntry& b) {
  return a.entry == b.entry && a.fields == b.fields;
}

// Matches entries by key; what is left on both sides with the same values
// is an entry that moved, paired with the nearest one (within 1000 m).
void compare_entries(const std::vector<ScenarioEntry>& before,
                     const std::vector<ScenarioEntry>& after, std::vector<Change>& out) {
  std::map<std::string, std::size_t> by_key;
  for (std::size_t i = 0; i < after.size(); ++i) by_key.emplace(after[i].key, i);
  std::vector<bool> matched(after.size(), false);
  std::vector<std::size_t> gone;
  for (std::size_t i = 0; i < before.size(); ++i) {
    const auto found = by_key.find(before[i].key);
    if (found == by_key.end() || matched[found->second]) {
      gone.push_back(i);
      continue;
    }
    matched[found->second] = true;
    if (auto c = changed(before[i], after[found->second])) out.push_back(std::move(*c));
  }
  for (const std::size_t i : gone) {
    const ScenarioEntry& a = before[i];
    std::optional<std::size_t> best;
    for (std::size_t j = 0; j < after.size(); ++j) {
      if (matched[j] || !same_fields(a, after[j]) || !a.at_m || !after[j].at_m) continue;
      const std::int64_t distance = std::llabs(*after[j].at_m - *a.at_m);
      if (distance > 1000) continue;
      if (!best || distance < std::llabs(*after[*best].at_m - *a.at_m)) best = j;
    }
    if (!best) {
      out.push_back(removed(a));
      continue;
    }
    matched[*best] = true;
    Change c = change_of(ChangeKind::moved, after[*best]);
    if (!c.source) c.source = a.source;
    c.fields.push_back({N_("position"), DiffValue{kilometre_text(*a.at_m), *a.at_m},
                        DiffValue{kilometre_text(*after[*best].at_m), *after[*best].at_m}});
    out.push_back(std::move(c));
  }
  for (std::size_t j = 0; j < after.size(); ++j) {
    if (!matched[j]) out.push_back(added(after[j]));
  }
}

// Stations are matched by name first (a station that moved or whose time
// changed), then, among those left, by position (a station renamed).
void compare_stations(std::vector<ScenarioEntry> before, std::vector<ScenarioEntry> after,
                      std::vector<Change>& out) {
  std::map<std::string, std::size_t> by_key;
  for (std::size_t i = 0; i < after.size(); ++i) by_key.emplace(after[i].key, i);
  std::vector<bool> matched(after.size(), false), used(before.size(), false);
  for (std::size_t i = 0; i < before.size(); ++i) {
    const auto found = by_key.find(before[i].key);
    if (found == by_key.end()) continue;
    matched[found->second] = used[i] = true;
    if (auto c = changed(before[i], after[found->second])) out.push_back(std::move(*c));
  }
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (used[i]) continue;
    for (std::size_t j = 0; j < after.size(); ++j) {
      if (matched[j] || after[j].at_m != before[i].at_m) continue;
      matched[j] = used[i] = true;
      if (auto c = changed(before[i], after[j])) out.push_back(std::move(*c));
      break;
    }
    if (!used[i]) out.push_back(removed(before[i]));
  }
  for (std::size_t j = 0; j < after.size(); ++j) {
    if (!matched[j]) out.push_back(added(after[j]));
  }
}

// A property of the cells written along the line from an entry onward (speed
// limit, gradient, adhesion): each run of cells where the old and the
// new value stay the same and differ from each other is one change. Cell k
// holds what is in force from k × 50 m.
// The entry whose value is in force at a cell: the last point at or before it.
std::optional<SourceLink> in_force(const LoadedScenario& scenario,
                                   const std::map<std::int32_t, SourcePoint>& origins,
                                   std::int32_t cell) {
  if (!scenario.lines_known) return std::nullopt;
  auto found = origins.upper_bound(cell);
  if (found == origins.begin()) return std::nullopt;
  --found;
  return SourceLink{join_path(scenario.folder, found->second.file), found->second.line};
}

void compare_stretches(const LoadedScenario& before, const LoadedScenario& after,
                       std::int32_t cells, const std::string& entry,
                       const std::function<int(const TrackCell&)>& get,
                       const std::function<DiffValue(int)>& show,
                       std::map<std::int32_t, SourcePoint> LoadedScenario::*origins,
                       std::vector<Change>& out) {
  std::int32_t i = 0;
  while (i < cells) {
    const int a = get(before.grid[i]), b = get(after.grid[i]);
    if (a == b) {
      ++i;
      continue;
    }
    std::int32_t end = i + 1;
    while (end < cells && get(before.grid[end]) == a && get(after.grid[end]) == b) ++end;
    Change c;
    c.entry = entry;
    c.at_m = std::int64_t{i} * 50;
    c.to_m = std::int64_t{end} * 50;
    c.kind = ChangeKind::changed;
    c.fields.push_back({"", show(a), show(b)});
    // The new value's entry, or where it is gone, the old one's.
    c.source = in_force(after, after.*origins, i);
    if (!c.source) c.source = in_force(before, before.*origins, i);
    out.push_back(std::move(c));
    i = end;
  }
}

DiffValue plain(int value, const char* unit) { return {std::to_string(value) + unit, value}; }

void count(std::vector<FollowOn>& follow_on, const std::string& what, const std::string& cause,
           std::size_t n) {
  if (n > 0) follow_on.push_back({what, cause, n});
}

bool stamps_fit(const std::vector<ScenarioEntry>& header) {
  for (const ScenarioEntry& e : header) {
    if (e.key == "stamps and integrity codes") return e.fields.front().second.text == "fit the names";
  }
  return true;
}

void follow_on_counts(const LoadedScenario& before, const LoadedScenario& after,
                      bool stamps_follow, std::vector<FollowOn>& out) {
  const std::int32_t common =
      std::min(before.grid.last_index(), after.grid.last_index()) + 1;
  std::size_t approach = 0, stops = 0, markers = 0, pass = 0, rows = 0;
  for (std::int32_t i = 0; i < common; ++i) {
    const TrackCell& a = before.grid[i];
    const TrackCell& b = after.grid[i];
    if (a.approach != b.approach) ++approach;
    auto differs = [&](auto is) { return (is(a) || is(b)) && (is(a) != is(b) || a.val_a != b.val_a); };
    if (differs([](const TrackCell& c) { return c.kind == cell_kind::kStopMarker; })) ++stops;
    if (differs([](const TrackCell& c) { return c.kind == cell_kind::kTunnelMarker; })) ++markers;
    if (differs([](const TrackCell& c) { return is_pass_point(c); })) ++pass;
    if (a.kind == cell_kind::kIndicationBoard && b.kind == cell_kind::kIndicationBoard &&
        a.val_a != b.val_a) {
      ++rows;
    }
  }
  count(out, N_("approach codes"), N_("the signals and stations"), approach);
  count(out, N_("stop markers"), N_("the stations"), stops);
  count(out, N_("tunnel markers"), N_("the tunnels"), markers);
  count(out, N_("code-reduction points of the pass"), N_("the signals and speed restrictions"), pass);
  count(out, N_("rows of indication-board texts"), N_("the order of the boards"), rows);
  if (stamps_follow) {
    const TableRow& a = before.table.rows[table_row::kScenarioHeader];
    const TableRow& b = after.table.rows[table_row::kScenarioHeader];
    std::size_t codes = (a.num_d != b.num_d) + (a.word_a != b.word_a);
    if (common > 1) codes += (before.grid[1].val_b != after.grid[1].val_b) +
                             (before.grid[1].val_a != after.grid[1].val_a);
    count(out, N_("integrity codes"), N_("the scenario and train names"), codes);
  }
  const std::int32_t longer = std::max(before.grid.last_index(), after.grid.last_index()) + 1;
  if (longer != common) {
    // The last three cells keep no fill; beyond the shorter line, every cell
    // follows from the length.
    count(out, N_("cells at the end of the line"), N_("the line length"),
          static_cast<std::size_t>(longer - common) + 3);
  }
  if (before.geometry && after.geometry) {
    const auto& a = *before.geometry;
    const auto& b = *after.geometry;
    const std::size_t metres = std::min(a.x.size(), b.x.size());
    std::size_t moved = std::max(a.x.size(), b.x.size()) - metres;
    for (std::size_t m = 0; m < metres; ++m) {
      if (a.x[m].tag != b.x[m].tag || a.x[m].value != b.x[m].value || a.y[m].tag != b.y[m].tag ||
          a.y[m].value != b.y[m].value) {
        ++moved;
      }
    }
    count(out, N_("metres of the plan geometry"),
          a.x.size() == b.x.size() ? N_("the curves") : N_("the curves and the line length"), moved);
  }
}

// The record and field of a byte of the record table.
std::string table_place(const RecordTable& table, std::size_t offset) {
  std::size_t at = 0;
  for (std::size_t row = 0; row < table.rows.size(); ++row) {
    for (const RowField& field : kRowFields) {
      std::string bytes;
      put_field(bytes, table.rows[row], field);
      if (offset < at + bytes.size()) {
        return "row " + std::to_string(row) + ", " + field.name;
      }
      at += bytes.size();
    }
  }
  return "after the last row";
}

std::string grid_place(std::size_t offset) {
  static const char* names[kCellBytes] = {"kind",   "val_a",    "val_a",  "val_b",
                                          "val_b",  "val_c",    "val_c",  "val_d",
                                          "val_d",  "timer",    "approach", "tunnel",
                                          "speed_limit", "gradient", "adhesion"};
  return "cell " + std::to_string(offset / kCellBytes) + ", " + names[offset % kCellBytes];
}

std::string geometry_place(const std::optional<DecodedGeometry>& geometry, std::size_t offset) {
  if (!geometry) return "";
  std::size_t at = 0;
  for (const auto* half : {&geometry->x, &geometry->y}) {
    for (std::size_t m = 0; m < half->size(); ++m) {
      const GeometryTag tag = (*half)[m].tag;
      at += tag == GeometryTag::empty ? 2 : tag == GeometryTag::int16 ? 4 : 10;
      if (offset < at) return std::string("metre ") + std::to_string(m) + ", " +
                              (half == &geometry->x ? "x" : "y");
    }
  }
  return "after the last metre";
}

FileComparison compare_file(const std::string& file, const std::optional<std::string>& a,
                            const std::optional<std::string>& b) {
  FileComparison c;
  c.file = file;
  c.in_old = a.has_value();
  c.in_new = b.has_value();
  c.old_size = a ? a->size() : 0;
  c.new_size = b ? b->size() : 0;
  if (!a || !b) {
    if (a || b) c.first_difference = 0;
    return c;
  }
  const auto mismatch = std::mismatch(a->begin(), a->end(), b->begin(), b->end());
  if (mismatch.first != a->end() || mismatch.second != b->end()) {
    c.first_difference = static_cast<std::size_t>(mismatch.first - a->begin());
  }
  return c;
}

}  // namespace

bool ScenarioDiff::same_bytes() const {
  return std::none_of(files.begin(), files.end(),
                      [](const FileComparison& f) { return f.first_difference.has_value(); });
}

ScenarioDiff diff_scenarios(const LoadedScenario& before, const LoadedScenario& after,
                            const std::string& base_name, const std::string& train_number) {
  ScenarioDiff diff;
  const std::vector<ScenarioEntry> header_before = header_entries(before);
  const std::vector<ScenarioEntry> header_after = header_entries(after);
  std::vector<Change> header;
  compare_entries(header_before, header_after, header);

  std::vector<Change> along;
  compare_stations(station_entries(before), station_entries(after), along);
  compare_entries(object_entries(before), object_entries(after), along);
  compare_entries(tunnel_entries(before), tunnel_entries(after), along);
  if (before.geometry.has_value() != after.geometry.has_value()) {
    Change c;
    c.kind = before.geometry ? ChangeKind::removed : ChangeKind::added;
    c.entry = "header";
    c.name = N_("plan geometry");
    header.push_back(std::move(c));
  } else {
    compare_entries(curve_entries(before), curve_entries(after), along);
  }
  // Past the shorter line the fills follow from the length alone; with the
  // same length, the last three cells are compared like the others.
  const std::int32_t cells =
      before.grid.last_index() == after.grid.last_index()
          ? before.grid.last_index() + 1
          : std::max(0, std::min(before.grid.last_index(), after.grid.last_index()) + 1 - 3);
  compare_stretches(before, after, cells, N_("speed limit"),
                    [](const TrackCell& c) { return c.speed_limit; },
                    [](int v) { return plain(v * 5, " km/h"); }, &LoadedScenario::speed_origins,
                    along);
  compare_stretches(before, after, cells, N_("gradient"),
                    [](const TrackCell& c) { return c.gradient; },
                    [](int v) {
                      return v == 0 ? DiffValue{N_("unset"), std::nullopt} : plain(v - 100, " permille");
                    },
                    &LoadedScenario::gradient_origins, along);
  compare_stretches(before, after, cells, N_("adhesion"),
                    [](const TrackCell& c) { return c.adhesion; },
                    [](int v) { return plain(v, ""); }, &LoadedScenario::adhesion_origins, along);
  std::stable_sort(along.begin(), along.end(),
                   [](const Change& a, const Change& b) { return a.at_m < b.at_m; });
  diff.changes = std::move(header);
  diff.changes.insert(diff.changes.end(), along.begin(), along.end());

  follow_on_counts(before, after, stamps_fit(header_before) && stamps_fit(header_after),
                   diff.follow_on);

  const ScenarioFileNames names = scenario_file_names("", base_name, train_number);
  FileComparison table =
      compare_file(bare_name(names.record_table), before.table_bytes, after.table_bytes);
  if (table.first_difference) table.place = table_place(before.table, *table.first_difference);
  FileComparison grid =
      compare_file(bare_name(names.cell_grid), before.grid_bytes, after.grid_bytes);
  if (grid.first_difference) grid.place = grid_place(*grid.first_difference);
  FileComparison plan = compare_file(bare_name(names.plan_geometry), before.geometry_bytes,
                                     after.geometry_bytes);
  if (plan.first_difference && plan.in_old && plan.in_new) {
    plan.place = geometry_place(before.geometry, *plan.first_difference);
  }
  diff.files = {plan, table, grid};
  return diff;
}

}  // namespace scenario
