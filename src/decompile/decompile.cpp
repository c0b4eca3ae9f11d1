#include "decompile/decompile.h"

#include <bit>
#include <map>
#include <set>

#include "decompile/recover.h"
#include "decompile/write_sources.h"
#include "model/build_context.h"
#include "model/code_reduction.h"
#include "output/describe.h"
#include "output/record_fields.h"
#include "output/scenario_writer.h"
#include "sources/build_model.h"

namespace scenario {
namespace {

// How many places are named one by one.
constexpr std::size_t kPlacesNamed = 40;
// How many points of value 180 the search may turn into entries (or back).
constexpr int kReductionRounds = 24;
// How far from a place the pass missed a point is tried as an entry, in cells:
// a restriction's bands and walk reach this far from its boards.
constexpr std::int32_t kReductionReach = 64;

// The two sources held in memory for a compile that writes nothing.
class SourceFiles final : public FileSystem {
 public:
  std::map<std::string, std::string> files;

  bool exists(const std::string& path) override { return files.count(path) != 0; }
  IoResult read(const std::string& path, std::string& content) override {
    const auto found = files.find(path);
    if (found == files.end()) return IoResult::failure("cannot read '" + path + "': no such file");
    content = found->second;
    return IoResult::success();
  }
  IoResult replace(const std::string& path, std::string_view content) override {
    files[path] = std::string(content);
    return IoResult::success();
  }
  IoResult remove(const std::string& path) override {
    files.erase(path);
    return IoResult::success();
  }
};

// The files a compile of the sources writes; none after a fatal stamp error.
// The plan geometry's bytes stay in the geometry that computed them (millions
// of bytes on a long line: they are compared, never copied).
struct CompiledFiles {
  bool written = false;
  std::string record_table;
  std::string cell_grid;
  std::optional<PlanGeometry> geometry;
  std::optional<std::string_view> plan_geometry;  // the bytes of `geometry`
};

CompiledFiles compile_sources(const SourceTexts& texts, const std::string& base_name,
                              const std::string& train_number, std::int32_t geometry_flag) {
  SourceFiles files;
  BuildContext context(files, options_for("", base_name, train_number, false));
  context.options.geometry_flag = geometry_flag;
  files.files[context.names.line_source] = texts.line;
  files.files[context.names.train_source] = texts.train;
  CompiledFiles compiled;
  if (build_model(context)) return compiled;
  BuildState& state = context.state;
  if (!state.grid || !state.grid->contains(1)) return compiled;
  compiled.written = true;
  if (geometry_flag != 0 && state.geometry) {
    compiled.geometry = std::move(state.geometry);
    compiled.plan_geometry = plan_geometry_file(*compiled.geometry);
  }
  compiled.record_table = encode_record_table(state.table);
  compiled.cell_grid = encode_cell_grid(*state.grid);
  return compiled;
}

std::string hex_bytes(std::string_view bytes) { return hex(bytes, " "); }

std::string row_bytes(const TableRow& row) {
  std::string bytes;
  put_record(bytes, row, kRowFields);
  return bytes;
}

std::string tagged_text(const TaggedValue& value) {
  switch (value.tag) {
    case GeometryTag::int16: return std::to_string(static_cast<int>(value.value));
    case GeometryTag::real: {
      char buffer[40];
      std::snprintf(buffer, sizeof buffer, "%.17g", value.value);
      return buffer;
    }
    case GeometryTag::empty: break;
  }
  return "empty";
}

bool same_value(const TaggedValue& a, const TaggedValue& b) {
  return a.tag == b.tag &&
         std::bit_cast<std::uint64_t>(a.value) == std::bit_cast<std::uint64_t>(b.value);
}

class PlaceList {
 public:
  explicit PlaceList(Decompiled& out) : out_(out) {}
  void add(ScenarioFileKind file, std::string where, std::string found, std::string nearest) {
    ++out_.place_count;
    if (out_.places.size() < kPlacesNamed) {
      out_.places.push_back({file, std::move(where), std::move(found), std::move(nearest)});
    }
  }

 private:
  Decompiled& out_;
};

void compare_tables(const RecordTable& found, std::string_view produced_bytes, PlaceList& places) {
  RecordTable produced;
  std::string error;
  const bool decoded = decode_record_table(produced_bytes, produced, error);
  for (int r = 0; r < table_row::kCount; ++r) {
    const TableRow& want = found.rows[static_cast<std::size_t>(r)];
    if (decoded && produced.rows[static_cast<std::size_t>(r)] == want) continue;
    places.add(ScenarioFileKind::record_table, "row " + std::to_string(r),
               hex_bytes(row_bytes(want)),
               decoded ? hex_bytes(row_bytes(produced.rows[static_cast<std::size_t>(r)])) : "");
  }
}

void compare_grids(std::string_view found, std::string_view produced, PlaceList& places) {
  const std::size_t cells = found.size() / kCellBytes;
  for (std::size_t c = 0; c < cells; ++c) {
    const std::string_view want = found.substr(c * kCellBytes, kCellBytes);
    const std::string_view made = c * kCellBytes < produced.size()
                                      ? produced.substr(c * kCellBytes, kCellBytes)
                                      : std::string_view();
    if (want == made) continue;
    places.add(ScenarioFileKind::cell_grid,
               "cell " + std::to_string(c) + " at " + std::to_string((std::int64_t(c) - 1) * 50) +
                   " m",
               hex_bytes(want), hex_bytes(made));
  }
  if (produced.size() != found.size()) {
    places.add(ScenarioFileKind::cell_grid, "the cell count",
               std::to_string(cells) + " cells",
               std::to_string(produced.size() / kCellBytes) + " cells");
  }
}

void compare_geometries(const DecodedGeometry& found,
                        const std::optional<std::string_view>& produced,
                        PlaceList& places) {
  DecodedGeometry made;
  std::string error;
  if (!produced || !decode_plan_geometry(*produced, made, error)) {
    places.add(ScenarioFileKind::plan_geometry, "the plan geometry",
               std::to_string(found.x.size()) + " metres", "no plan geometry");
    return;
  }
  const std::size_t metres = std::min(found.x.size(), made.x.size());
  for (std::size_t m = 0; m < metres; ++m) {
    if (same_value(found.x[m], made.x[m]) && same_value(found.y[m], made.y[m])) continue;
    places.add(ScenarioFileKind::plan_geometry, "metre " + std::to_string(m),
               tagged_text(found.x[m]) + " " + tagged_text(found.y[m]),
               tagged_text(made.x[m]) + " " + tagged_text(made.y[m]));
  }
  if (found.x.size() != made.x.size()) {
    places.add(ScenarioFileKind::plan_geometry, "the metre count",
               std::to_string(found.x.size()) + " metres", std::to_string(made.x.size()) + " metres");
  }
}

bool is_reduction(const TrackCell& cell) {
  return cell.kind == cell_kind::kReductionPoint || cell.kind == cell_kind::kCodeCut;
}

// How many of the points the pass places, over the files' grid without the
// points of value 180 that are not entries, differ from the files' points.
std::vector<std::int32_t> points_missed(const CellGrid& found,
                                        const std::vector<std::int32_t>& candidates,
                                        const std::set<std::int32_t>& entries) {
  CellGrid grid = found;
  for (std::int32_t c : candidates) {
    if (entries.count(c) != 0) continue;
    grid[c].kind = cell_kind::kNone;
    grid[c].val_a = 0;
  }
  BuildStatus status;
  code_reduction_pass(grid, status);
  std::vector<std::int32_t> missed;
  for (std::int32_t c = 0; c <= found.last_index(); ++c) {
    if (is_reduction(found[c]) != is_reduction(grid[c]) || found[c].val_a != grid[c].val_a) {
      missed.push_back(c);
    }
  }
  return missed;
}

// Sorts the code-reduction points of value 180 into entries and the pass's
// own. The pass runs over the files' grid with the points it may have placed
// taken away; a point it does not place there becomes an entry, and where
// its points then fall elsewhere (an entry of 180 stood in its way in the
// files' compile) the points near them are tried as entries, one at a time,
// keeping each that brings the pass nearer to the files.
std::set<std::int32_t> reduction_entries(const DecodedScenario& found) {
  std::set<std::int32_t> entries = certain_reduction_entries(found.grid);
  CellGrid grid = found.grid;
  if (grid.contains(1)) grid[1].val_a = grid[1].val_b = 0;  // the stamps
  std::vector<std::int32_t> candidates;
  for (std::int32_t c = 0; c <= grid.last_index(); ++c) {
    if (is_reduction(grid[c]) && entries.count(c) == 0) candidates.push_back(c);
  }
  if (candidates.empty()) return entries;
  std::vector<std::int32_t> missed = points_missed(grid, candidates, entries);
  for (int round = 0; !missed.empty() && round < kReductionRounds; ++round) {
    std::optional<std::int32_t> best;
    std::vector<std::int32_t> best_missed = missed;
    // A point moves the pass's next points by a few cells at most: only the
    // points near the first place missed are tried.
    const std::int32_t first_missed = missed.front();
    for (std::int32_t c : candidates) {
      if (c < first_missed - kReductionReach || c > first_missed + kReductionReach) continue;
      std::set<std::int32_t> trial = entries;
      if (!trial.insert(c).second) trial.erase(c);
      std::vector<std::int32_t> now = points_missed(grid, candidates, trial);
      if (now.size() < best_missed.size()) {
        best_missed = std::move(now);
        best = c;
      }
    }
    if (!best) break;
    if (!entries.insert(*best).second) entries.erase(*best);
    missed = best_missed;
  }
  return entries;
}

}  // namespace

Decompiled decompile(const ScenarioBytes& files, const std::string& base_name,
                     const std::string& train_number) {
  Decompiled out;
  DecodedScenario found;
  std::string error;
  if (!decode_record_table(files.record_table, found.table, error)) {
    out.broken_file = ScenarioFileKind::record_table;
  } else if (!decode_cell_grid(files.cell_grid, found.grid, error)) {
    out.broken_file = ScenarioFileKind::cell_grid;
  } else if (files.plan_geometry) {
    DecodedGeometry geometry;
    if (!decode_plan_geometry(*files.plan_geometry, geometry, error)) {
      out.broken_file = ScenarioFileKind::plan_geometry;
    } else {
      found.geometry = std::move(geometry);
    }
  }
  if (out.broken_file) {
    out.error = error;
    return out;
  }

  const std::set<std::int32_t> entries = reduction_entries(found);
  const Recovered recovered = recover_sources(found, entries);
  std::vector<RecoveryNote> notes;
  const SourceTexts texts = write_sources(recovered, notes);
  out.line_source = texts.line;
  out.train_source = texts.train;
  out.geometry_flag = recovered.geometry_flag;

  // The answer is checked: the sources are compiled as they will be, and
  // every record, cell and metre that differs is named.
  const CompiledFiles compiled =
      compile_sources(texts, base_name, train_number, recovered.geometry_flag);
  PlaceList places(out);
  if (!compiled.written) {
    places.add(ScenarioFileKind::cell_grid, "the whole scenario", "three files",
               "no file (the stamps refuse the cell grid)");
    for (const RecoveryNote& note : recovered.notes) out.hints.push_back(note.where + ": " + note.what);
    return out;
  }
  if (compiled.record_table != files.record_table) {
    compare_tables(found.table, compiled.record_table, places);
  }
  if (compiled.cell_grid != files.cell_grid) {
    compare_grids(files.cell_grid, compiled.cell_grid, places);
  }
  if (found.geometry && (!compiled.plan_geometry || *compiled.plan_geometry != *files.plan_geometry)) {
    compare_geometries(*found.geometry, compiled.plan_geometry, places);
  }
  if (out.place_count != 0) {
    notes.insert(notes.begin(), recovered.notes.begin(), recovered.notes.end());
    for (const RecoveryNote& note : notes) out.hints.push_back(note.where + ": " + note.what);
  }
  return out;
}

std::string with_comment(const std::vector<std::string>& lines, const std::string& source) {
  std::string text;
  for (const std::string& line : lines) {
    text += "- " + line + "\r\n";
  }
  return text + source;
}

std::string place_text(const InexactPlace& place) {
  std::string text = place.where + ": found " + place.found;
  text += place.nearest.empty() ? ", nothing near it" : ", nearest " + place.nearest;
  return text;
}

std::string fnv1a_digest(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 0x100000001b3u;
  }
  static const char* digits = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i) {
    text[static_cast<std::size_t>(i)] = digits[hash & 15];
    hash >>= 4;
  }
  return text;
}

}  // namespace scenario
