#include "decompile/recover.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <utility>

#include "decompile/fill_points.h"
#include "decompile/recover_curves.h"
#include "model/placement.h"
#include "model/rounding.h"
#include "sources/progressive_ordina.h"

namespace scenario {
namespace {

using Numbers = std::vector<std::int64_t>;
// The approach codes an entry writes: (cell, code).
using Writes = std::vector<std::pair<std::int64_t, std::int64_t>>;

constexpr std::int64_t kCodeReductionValue = 180;

RecoveredEntry entry(std::string keyword, Numbers numbers, std::string section = "") {
  RecoveredEntry e;
  e.keyword = std::move(keyword);
  e.numbers = std::move(numbers);
  e.section = std::move(section);
  return e;
}

RecoveredEntry text_entry(std::string keyword, Numbers numbers, std::string text,
                          std::string section) {
  RecoveredEntry e = entry(std::move(keyword), std::move(numbers), std::move(section));
  e.has_text = true;
  e.text = std::move(text);
  return e;
}

// The position whose `cell_index` is the cell: its centre.
std::int64_t centre_of(std::int32_t cell) { return (std::int64_t{cell} - 1) * 50; }

// The position whose `lower_cell_index` is the cell.
std::int64_t lower_of(std::int32_t cell) { return std::int64_t{cell} * 50; }

std::string cell_place(std::int32_t cell) { return "cell " + std::to_string(cell); }

class Recovery {
 public:
  Recovery(const DecodedScenario& files, const std::set<std::int32_t>& reduction_entries)
      : files_(files), table_(files.table), grid_(files.grid), reductions_(reduction_entries) {
    n_ = grid_.last_index();
    // The stamps took cell 1's first two values; the object there had 0.
    if (grid_.contains(1)) {
      grid_[1].val_a = 0;
      grid_[1].val_b = 0;
    }
  }

  Recovered run() {
    out_.geometry_flag = files_.geometry ? 1 : 0;
    recover_line_header();
    recover_geometry();
    recover_boards();
    recover_stations();
    const bool line_stops = out_.line.stop_after_header || out_.line.stop_after_body ||
                            header_entry_stops_;
    recover_gradients(!line_stops);
    recover_tunnels();
    recover_indicators();
    recover_train_header();
    recover_train_fills(!train_stops_, line_stops);
    recover_train_objects();
    out_.line.header_entry_stops = header_entry_stops_;
    return std::move(out_);
  }

 private:
  void note(std::string where, std::string what) {
    out_.notes.push_back({std::move(where), std::move(what)});
  }

  TableRow& row(int index) { return table_.rows[static_cast<std::size_t>(index)]; }

  // --- line header ---------------------------------------------------------

  void recover_line_header() {
    auto& header = out_.line.header;
    const std::int64_t length = row(table_row::kQuantities).num_b;
    const bool fits = length >= 0 && length <= 1000000 &&
                      grid_last_index_for_length(static_cast<std::int32_t>(length)) == n_;
    std::optional<std::int64_t> created_by;  // an earlier length that made the grid
    if (!fits) {
      std::int64_t earlier = files_.geometry
                                 ? static_cast<std::int64_t>(files_.geometry->x.size()) - 7001
                                 : std::int64_t{n_} * 50 - 7000;
      if ((length < 0 || length > 1000000) && earlier >= 0 && earlier <= 1000000 &&
          grid_last_index_for_length(static_cast<std::int32_t>(earlier)) == n_) {
        created_by = earlier;
      } else {
        note("row 84", "the line length " + std::to_string(length) +
                           " m does not give the grid's " + std::to_string(n_ + 1) + " cells");
      }
    }
    line_length_ = created_by ? *created_by : length;
    if (!fits && !created_by) {
      // The nearest: the length of the grid found.
      line_length_ = files_.geometry ? static_cast<std::int64_t>(files_.geometry->x.size()) - 7001
                                     : std::int64_t{n_} * 50 - 7000;
    }
    header.push_back(entry("lunghezza percorso", {line_length_}));
    std::vector<RecoveredEntry> repetition;
    const bool repetition_stops = recover_repetition(repetition);
    // A reading that stopped within the header never ordered the progressives
    // (a plan geometry never seeded says so too).
    const bool never_seeded = files_.geometry && !files_.geometry->x.empty() &&
                              files_.geometry->x[0].tag == GeometryTag::empty;
    recover_progressives(!(created_by || repetition_stops || never_seeded));
    const TableRow& scenario_row = row(table_row::kScenarioHeader);
    header.push_back(entry("sfondo uno", {scenario_row.num_a}));
    header.push_back(entry("sfondo due", {scenario_row.num_c}));
    header.push_back(entry("sfondo tre", {scenario_row.num_b}));
    for (RecoveredEntry& e : repetition) header.push_back(std::move(e));
    header_entry_stops_ = repetition_stops;
    if (created_by) {
      // The longer length stopped the reading before anything of the body.
      header.push_back(entry("lunghezza percorso", {length}));
      header_entry_stops_ = true;
    }
  }

  // The three definitions as read, in an order that `progressive_ordina`
  // turns into the rows found.
  void recover_progressives(bool ordered) {
    std::array<std::array<std::int64_t, 3>, 3> found;
    for (int r = 0; r < 3; ++r) {
      const TableRow& source = row(table_row::kProgressiveTre + r);
      found[static_cast<std::size_t>(r)] = {source.num_a, source.num_b, source.num_c};
    }
    // As read: the ordering adds 100 to num_b where num_c is 1.
    auto as_read = [](std::array<std::int64_t, 3> triple) {
      if (triple[2] == 1) triple[1] -= 100;
      return triple;
    };
    std::array<int, 3> order = {0, 1, 2};  // found row for "tre", "due", "uno"
    bool matched = false;
    if (ordered) do {
      RecordTable trial;
      bool fits = true;
      for (int r = 0; r < 3; ++r) {
        const auto triple = as_read(found[static_cast<std::size_t>(order[static_cast<std::size_t>(r)])]);
        if (triple[1] < INT32_MIN) fits = false;
        TableRow& t = trial.rows[static_cast<std::size_t>(table_row::kProgressiveTre + r)];
        t.num_a = static_cast<std::int32_t>(triple[0]);
        t.num_b = static_cast<std::int32_t>(triple[1]);
        t.num_c = static_cast<std::int32_t>(triple[2]);
      }
      if (!fits) continue;
      progressive_ordina(trial);
      bool same = true;
      for (int r = 0; r < 3; ++r) {
        const TableRow& t = trial.rows[static_cast<std::size_t>(table_row::kProgressiveTre + r)];
        const auto& want = found[static_cast<std::size_t>(r)];
        same = same && t.num_a == want[0] && t.num_b == want[1] && t.num_c == want[2];
      }
      if (same) {
        matched = true;
        break;
      }
    } while (std::next_permutation(order.begin(), order.end()));
    if (ordered && !matched) {
      // Rows no ordering gives were never ordered: the reading stopped
      // within the header, before `progressive_ordina`.
      order = {0, 1, 2};
      out_.line.stop_after_header = true;
    }
    const char* names[] = {"progressiva chilometrica uno", "progressiva chilometrica due",
                           "progressiva chilometrica tre"};
    for (int k = 0; k < 3; ++k) {
      // order[0] is "tre", order[1] "due", order[2] "uno".
      const auto triple = matched ? as_read(found[static_cast<std::size_t>(order[static_cast<std::size_t>(2 - k)])])
                                  : found[static_cast<std::size_t>(2 - k)];
      out_.line.header.push_back(entry(names[k], {triple[0], triple[1], triple[2]}));
    }
  }

  // The signal-repetition entry, if any; true when it stops the reading.
  bool recover_repetition(std::vector<RecoveredEntry>& header) {
    const TableRow& train = row(table_row::kTrainHeader);
    const std::int64_t start = train.num_a, end = train.num_b, codes = train.num_c;
    const bool multiples = start % 50 == 0 && end % 50 == 0;
    if (multiples && codes == 4 && end != 0) {
      header.push_back(entry("ripetizione segnali 4 codici", {start, end}));
    } else if (multiples && codes == 9 && end != 0) {
      header.push_back(entry("ripetizione segnali 9 codici", {start, end}));
    } else if (codes == 0 && (end == 0 || !multiples)) {
      // With an end of 0 the count is cleared; a start or end off the 50 m
      // grid stops the reading before the count is set.
      if (start != 0 || end != 0) header.push_back(entry("ripetizione segnali 4 codici", {start, end}));
      return !multiples;
    } else if (codes == 0) {
      // Neither 4 nor 9 in the keyword stops the reading with the count unset.
      header.push_back(entry("ripetizione segnali", {start, end}));
      return true;
    } else if ((codes == 4 || codes == 9) && (!multiples || end == 0)) {
      // A later entry stopped the reading before its count (off the 50 m
      // grid, or with neither 4 nor 9 in its keyword), leaving the count an
      // earlier entry set.
      const char* keyword =
          codes == 4 ? "ripetizione segnali 4 codici" : "ripetizione segnali 9 codici";
      header.push_back(entry(keyword, {0, 50}));
      header.push_back(entry("ripetizione segnali", {start, end}));
      return true;
    } else {
      note("row 86", "the signal repetition holds " + std::to_string(codes) +
                         " codes: only 4 and 9 (or 0) can be read");
      header.push_back(entry("ripetizione segnali 4 codici", {start, end}));
    }
    return false;
  }

  // --- plan geometry -------------------------------------------------------

  void recover_geometry() {
    if (!files_.geometry) return;
    const std::int64_t metres = static_cast<std::int64_t>(files_.geometry->x.size());
    if (metres != line_length_ + 7001) {
      note("metre 0", "the plan geometry has " + std::to_string(metres) +
                          " metres, the line length gives " + std::to_string(line_length_ + 7001));
    }
    const RecoveredPlan plan = recover_curves(*files_.geometry);
    if (plan.fault_metre) {
      note("metre " + std::to_string(*plan.fault_metre), "a point no straight or curved step reaches");
    }
    if (plan.computed_end == 0) {
      // Never seeded: the reading stopped within the header.
      out_.line.stop_after_header = true;
      return;
    }
    for (const PlanCurve& curve : plan.curves) add_curve(curve.start, curve.length, curve.curvature);
    if (plan.computed_end - 1 < metres - 3 && !plan.fault_metre) {
      // The reading stopped before the line was completed: the cursor stands
      // just after the last curve, which may be a straight one of length 0.
      const bool curve_ends_there = !plan.curves.empty() &&
                                    plan.curves.back().start + plan.curves.back().length ==
                                        plan.computed_end - 1;
      if (!curve_ends_there && plan.computed_end > 2) {
        add_curve(plan.computed_end - 1, 0, 0.0001);
      }
      out_.line.stop_after_body = true;
    }
  }

  void add_curve(std::int64_t start, std::int64_t length, double k) {
    std::string keyword = k < 0 ? "curvas" : "curvad";
    keyword += static_cast<char>('0' + curve_class(k));
    RecoveredEntry curve = entry(keyword, {start, length}, "[curve]");
    // A curve that takes the plan geometry past metre 1000000 ends the reading.
    curve.stops_reading = start + length >= 1000000;
    out_.line.body.push_back(std::move(curve));
  }

  // --- line body -----------------------------------------------------------

  void recover_gradients(bool final_fill) {
    std::vector<std::int64_t> values(grid_.cells.size());
    for (std::size_t c = 0; c < values.size(); ++c) values[c] = grid_.cells[c].gradient;
    // Cells before the first entry hold the level, 100: a fill value of 0 is
    // a cell never written, the same as the value 0 (a gradient of -100).
    const auto points = fill_points(values, {final_fill, std::int64_t{n_} + 1});
    if (!points) {
      note("cell " + std::to_string(n_), "gradients the fill cannot reach");
      return;
    }
    // The level from the start is the reader's own: no entry needed for it.
    std::size_t first = 0;
    if (!points->empty() && points->front().first == 0 && points->front().second == 100) first = 1;
    for (std::size_t i = first; i < points->size(); ++i) {
      const auto [cell, value] = (*points)[i];
      out_.line.body.push_back(entry("pendenza", {lower_of(cell), value - 100}, "[pendenze]"));
    }
  }

  struct Tunnel {
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::uint8_t type = 0;  // as stored: the low 8 bits
    bool markers = false;
  };

  // Markers on open-air cells (type 0): a marked tunnel whose type's low 8
  // bits are 0, or a marked one that a later tunnel of such a type covered.
  // Either way the cells read as a marked tunnel of type 0 from three cells
  // before the first marker to the last one that follows in step over open
  // air. Tunnels that wrote over its first cells came after it. Returns the
  // cell after the last marker.
  std::int32_t recover_open_air_markers(std::vector<Tunnel>& tunnels, std::int32_t c) const {
    std::int32_t last = c;
    auto open_air_marker_next = [&] {
      if (last + 4 > n_) return false;
      for (std::int32_t k = last + 1; k <= last + 4; ++k) {
        if (grid_[k].tunnel != 0) return false;
      }
      return grid_[last + 4].kind == cell_kind::kTunnelMarker;
    };
    while (open_air_marker_next()) last += 4;
    const Tunnel tunnel{std::int64_t{c} - 3, last, 0, true};
    auto over = std::find_if(tunnels.begin(), tunnels.end(),
                             [&](const Tunnel& t) { return t.last >= tunnel.first; });
    tunnels.insert(over, tunnel);
    return last + 1;
  }

  // Every cell from `first` up to `run_start` (those inside the grid) holds
  // some tunnel: a tunnel that began at `first` lies under them.
  bool covered_by_others(std::int64_t first, std::int32_t run_start) const {
    for (std::int64_t k = std::max<std::int64_t>(first, 0); k < run_start; ++k) {
      if (grid_[static_cast<std::int32_t>(k)].tunnel == 0) return false;
    }
    return true;
  }

  // Runs of one tunnel type are tunnels. Markers stand on every 4th cell
  // counted from a tunnel's first; markers in a run out of its step belong to
  // the tunnel before it, which then runs on under this one (a later tunnel
  // writes its type over an earlier one's).
  void recover_tunnels() {
    std::vector<Tunnel> tunnels;
    auto phase = [](std::int64_t cell) { return ((cell % 4) + 4) % 4; };
    for (std::int32_t c = 0; c <= n_;) {
      const std::uint8_t type = grid_[c].tunnel;
      if (type == 0) {
        if (grid_[c].kind == cell_kind::kTunnelMarker) c = recover_open_air_markers(tunnels, c);
        else ++c;
        continue;
      }
      std::int32_t end = c;
      while (end + 1 <= n_ && grid_[end + 1].tunnel == type) ++end;
      Tunnel tunnel{c, end, type, false};
      bool own_step_seen = false;
      // The tunnel before can run on under this one only across cells that
      // hold a tunnel: open air between them ends it.
      Tunnel* before = tunnels.empty() || !tunnels.back().markers ||
                               !covered_by_others(tunnels.back().last + 1, c)
                           ? nullptr
                           : &tunnels.back();
      const std::int64_t before_phase = before ? phase(before->first + 3) : -1;
      std::int64_t own_phase = phase(std::int64_t{c} + 3);
      std::int64_t under = -1;  // the last marker of the tunnel before
      // Markers of another step inside the run: a tunnel of the same type
      // that starts inside it (first and last marker of each step).
      std::map<std::int64_t, std::pair<std::int64_t, std::int64_t>> inner;
      // Markers in the run's own step that begin only after a bare cell of
      // that step belong to a tunnel starting later inside the run.
      for (std::int32_t m = c + 3; m <= end; m += 4) {
        if (grid_[m].kind == cell_kind::kTunnelMarker) break;
        if (grid_[m].kind == cell_kind::kNone) {
          own_phase = -1;
          break;
        }
      }
      // A stored type above 10 comes from a marked tunnel (the type plus 10)
      // or from a negative one (the type less 256). Marked, unless a bare
      // cell of its step comes before its first marker, where a marked one
      // would have put one. Whether a marker of the run's own step was seen
      // is asked apart from that.
      tunnel.markers = type > 10 && own_phase >= 0;
      for (std::int32_t m = c; m <= end; ++m) {
        if (grid_[m].kind != cell_kind::kTunnelMarker) continue;
        if (phase(m) == own_phase) {
          own_step_seen = true;
        } else if (phase(m) == before_phase) {
          under = m;
        } else if (c == 0 && own_phase >= 0 && !own_step_seen && inner.empty()) {
          // A tunnel that began before cell 0 keeps its markers' step.
          tunnel.first = c - phase(std::int64_t{c} - (m - 3));
          own_phase = phase(m);
          own_step_seen = true;
        } else if (m - 3 >= c) {
          auto [at, fresh] = inner.try_emplace(phase(m), m, m);
          if (!fresh) at->second.second = m;
        } else if (!own_step_seen && inner.empty() && under < 0 &&
                   covered_by_others(m - 3, c)) {
          // A tunnel whose first cells later tunnels took: it began at the
          // marker's step, under them.
          tunnel.first = m - 3;
          own_phase = phase(m);
          own_step_seen = true;
        }
        // Any other marker is left to the layers below.
      }
      tunnel.markers = tunnel.markers || own_step_seen;
      if (under >= 0) before->last = std::max(before->last, under);
      // Markers that stop with bare cells of their step after them: the
      // marked tunnel ends there and an unmarked one of the type runs on.
      std::optional<Tunnel> rest;
      if (tunnel.markers && own_phase >= 0) {
        std::int64_t bare = -1;
        bool marker_after = false;
        for (std::int64_t m = tunnel.first + 3; m <= end; m += 4) {
          if (m < c) continue;
          const std::uint8_t kind = grid_[static_cast<std::int32_t>(m)].kind;
          if (kind == cell_kind::kNone && bare < 0) bare = m;
          if (kind == cell_kind::kTunnelMarker && bare >= 0) marker_after = true;
        }
        if (bare >= 0 && !marker_after) {
          tunnel.last = bare - 1;
          rest = Tunnel{bare, end, type, false};
        }
      }
      if (tunnel.first < c && c > 0) {
        // It goes before the tunnels that wrote over its first cells, and
        // none of them may reach its run.
        auto over = std::find_if(tunnels.begin(), tunnels.end(),
                                 [&](const Tunnel& t) { return t.last >= tunnel.first; });
        if (std::any_of(over, tunnels.end(), [&](const Tunnel& t) { return t.last >= c; })) {
          tunnel.first = c;
          tunnels.push_back(tunnel);
        } else {
          tunnels.insert(over, tunnel);
        }
      } else {
        tunnels.push_back(tunnel);
      }
      if (rest) tunnels.push_back(*rest);
      for (const auto& [step, markers] : inner) {
        tunnels.push_back({markers.first - 3, markers.second, type, true});
      }
      c = end + 1;
    }
    // Tunnels laid over one another can leave patterns the reading above
    // does not take apart; the layers always can.
    std::vector<Numbers> entries = tunnel_entries(tunnels);
    if (!tunnel_entries_give_the_grid(entries)) {
      entries = tunnel_entries(layered_tunnels());
    }
    for (Numbers& numbers : entries) {
      out_.line.body.push_back(entry("montagna", std::move(numbers), "[montagne]"));
    }
  }

  // The "montagna" entries of the tunnels in order.
  static std::vector<Numbers> tunnel_entries(const std::vector<Tunnel>& tunnels) {
    std::vector<Numbers> entries;
    std::int64_t last_end = 0;
    for (std::size_t i = 0; i < tunnels.size(); ++i) {
      const Tunnel& t = tunnels[i];
      const std::int64_t inizio = t.first * 50;
      const std::int64_t fine = (t.last + 1) * 50;
      if (i > 0 && inizio - last_end <= 150 && t.type != 3) {
        // A tunnel this close to the one before becomes type 3; an empty
        // tunnel ending far back stands between them.
        entries.push_back({0, -1000000, 0});
      }
      // Markers over type 0 come from a type whose low 8 bits are 0: 256.
      // An unmarked type above 10 is written as the negative number with
      // the same low 8 bits, which sets no markers.
      const std::int64_t tipo = t.markers ? (t.type == 0 ? 256 : t.type) + 10
                                : t.type > 10 ? t.type - 256
                                              : t.type;
      entries.push_back({inizio, fine, tipo});
      last_end = fine;
    }
    return entries;
  }

  // Whether the entries, placed as the line reader places them, give every
  // cell's tunnel type and marker. The other objects stay where they are: a
  // marker never goes onto them, and one placed later takes a marker's cell.
  bool tunnel_entries_give_the_grid(const std::vector<Numbers>& entries) const {
    CellGrid placed = grid_;
    for (TrackCell& cell : placed.cells) {
      cell.tunnel = 0;
      if (cell.kind == cell_kind::kTunnelMarker) cell.kind = cell_kind::kNone;
    }
    TunnelList list;
    for (const Numbers& numbers : entries) {
      std::int32_t tipo = static_cast<std::int32_t>(numbers[2]);
      memo_montagna(placed, list, static_cast<std::int32_t>(numbers[0]),
                    static_cast<std::int32_t>(numbers[1]), tipo);
    }
    for (std::int32_t c = 0; c <= n_; ++c) {
      if (placed[c].tunnel != grid_[c].tunnel ||
          (placed[c].kind == cell_kind::kTunnelMarker) !=
              (grid_[c].kind == cell_kind::kTunnelMarker)) {
        return false;
      }
    }
    return true;
  }

  // The tunnel layer as layers: first a marked tunnel for each piece of
  // markers of one step with no bare cell of that step between them (from
  // three cells before its first marker to its last), then unmarked tunnels
  // for each run of one type over them, type 0 included where a marked one
  // lies under open air.
  std::vector<Tunnel> layered_tunnels() const {
    std::vector<Tunnel> tunnels;
    std::vector<bool> under_marked(static_cast<std::size_t>(n_) + 1, false);
    auto add_piece = [&](std::int32_t first_marker, std::int32_t last_marker) {
      tunnels.push_back({std::int64_t{first_marker} - 3, last_marker,
                         grid_[first_marker].tunnel, true});
      for (std::int32_t k = std::max(first_marker - 3, 0); k <= last_marker; ++k) {
        under_marked[static_cast<std::size_t>(k)] = true;
      }
    };
    for (std::int32_t step = 0; step < 4; ++step) {
      std::optional<std::pair<std::int32_t, std::int32_t>> piece;
      for (std::int32_t k = step; k <= n_; k += 4) {
        if (grid_[k].kind == cell_kind::kNone) {
          if (piece) add_piece(piece->first, piece->second);
          piece.reset();
        } else if (grid_[k].kind == cell_kind::kTunnelMarker) {
          if (piece) piece->second = k;
          else piece.emplace(k, k);
        }
      }
      if (piece) add_piece(piece->first, piece->second);
    }
    for (std::int32_t c = 0; c <= n_;) {
      const std::uint8_t type = grid_[c].tunnel;
      const bool needed = type != 0 || under_marked[static_cast<std::size_t>(c)];
      std::int32_t end = c;
      while (end + 1 <= n_ && grid_[end + 1].tunnel == type &&
             (type != 0 || under_marked[static_cast<std::size_t>(end) + 1] == needed)) {
        ++end;
      }
      if (needed) tunnels.push_back({c, end, type, false});
      c = end + 1;
    }
    return tunnels;
  }

  // A stop marker is written without the free test, over whatever the cell
  // held: only `kind` and `val_a` change, so the other values of a signal
  // (one with a timer or a fourth value) or of an indicator board stay.
  enum class Under { nothing, signal, indicator, pre_warning, warning_board, start_board };

  // The end board of a start board's values (speed, last value, first flag)
  // at cell `s`: the nearest one not yet taken after it, before it when none.
  std::optional<std::int32_t> end_board_of(std::int32_t s, const TrackCell& start,
                                           const std::set<std::int32_t>& taken) const {
    auto free_end = [&](std::int32_t e) {
      const TrackCell& end = grid_[e];
      return end.kind == cell_kind::kEndBoard && end.val_a == start.val_a &&
             end.val_b == start.val_b && end.val_c == start.val_c && taken.count(e) == 0;
    };
    for (std::int32_t e = s + 1; e <= n_; ++e) {
      if (free_end(e)) return e;
    }
    for (std::int32_t e = s - 1; e >= 0; --e) {
      if (free_end(e)) return e;
    }
    return std::nullopt;
  }

  // The end boards the start boards in view take, as the restrictions are
  // read: the nearest of the same values after each (before when none). The
  // grid does not change once read: found once, when first asked.
  const std::set<std::int32_t>& ends_of_start_boards_in_view() const {
    if (!ends_of_start_boards_) {
      std::set<std::int32_t> taken;
      for (std::int32_t s = 0; s <= n_; ++s) {
        if (grid_[s].kind != cell_kind::kStartBoard) continue;
        if (auto end = end_board_of(s, grid_[s], taken)) taken.insert(*end);
      }
      ends_of_start_boards_ = std::move(taken);
    }
    return *ends_of_start_boards_;
  }

  // The speed of a restriction whose start board a stop marker covers, from
  // its warning board 24 cells before (the restriction writes none of its
  // boards when a cell is taken, so that one says the start board was placed),
  // or, for a start without one (at most 1500 m), from an end board after it
  // with the same last value and first flag that no start board in view
  // claims: only a stop marker hides a start board.
  std::optional<std::int16_t> start_speed_under_stop_marker(std::int32_t c) const {
    const TrackCell& cell = grid_[c];
    if (cell.kind != cell_kind::kStopMarker || cell.timer != 0 || cell.val_d != 0) {
      return std::nullopt;
    }
    if (grid_.contains(std::int64_t{c} - 24)) {
      const TrackCell& warning = grid_[c - 24];
      if (warning.kind == cell_kind::kWarningBoard && warning.val_b == cell.val_b) {
        return warning.val_a;
      }
    }
    if (c > 31) return std::nullopt;
    const std::set<std::int32_t>& taken = ends_of_start_boards_in_view();
    for (std::int32_t e = c + 1; e <= n_; ++e) {
      const TrackCell& end = grid_[e];
      if (end.kind == cell_kind::kEndBoard && end.val_b == cell.val_b &&
          end.val_c == cell.val_c && taken.count(e) == 0) {
        return end.val_a;
      }
    }
    return std::nullopt;
  }
  Under under_stop_marker(std::int32_t c) const {
    const TrackCell& cell = grid_[c];
    if (cell.kind != cell_kind::kStopMarker) return Under::nothing;
    // A restriction's start board keeps its last value in `val_b` and its
    // first flag in `val_c`.
    if (start_speed_under_stop_marker(c)) return Under::start_board;
    if (cell.timer == 0 && cell.val_b == 0 && cell.val_c == 0 && cell.val_d == 0) {
      return Under::nothing;
    }
    if (cell.timer != 0) return Under::signal;
    // A restriction's warning board keeps the last value in `val_b`, as its
    // start board 24 cells on does.
    if (cell.val_c == 0 && cell.val_d == 0 && grid_.contains(std::int64_t{c} + 24) &&
        grid_[c + 24].kind == cell_kind::kStartBoard && grid_[c + 24].val_b == cell.val_b) {
      return Under::warning_board;
    }
    // A restriction's pre-warning cell numbered v keeps v in `val_b` (when
    // the restriction sets it); its neighbours in the run keep their kind.
    const std::int64_t v = cell.val_b;
    if (cell.val_c == 0 && cell.val_d == 0 && v >= 1 && v <= 4) {
      const std::int64_t base = std::int64_t{c} + v - 1;
      for (std::int64_t k = base - 3; k <= base; ++k) {
        if (k == c || !grid_.contains(k)) continue;
        const TrackCell& other = grid_[static_cast<std::int32_t>(k)];
        if (other.kind == cell_kind::kPreWarning && other.val_a == base - k + 1) {
          return Under::pre_warning;
        }
      }
    }
    // A signal leaves its approach codes before it, where nothing later
    // wrote over them.
    const std::int64_t types = ((cell.val_d % 10) + 10) % 10;
    for (std::int64_t k = 1; k <= 4; ++k) {
      const std::int64_t before = std::int64_t{c} - 2 * k;
      if (grid_.contains(before) &&
          grid_[static_cast<std::int32_t>(before)].approach == low8(types * 10 + k)) {
        return Under::signal;
      }
    }
    return Under::indicator;
  }

  void recover_indicators() {
    for (std::int32_t c = 0; c <= n_; ++c) {
      TrackCell cell = grid_[c];
      if (under_stop_marker(c) == Under::indicator) cell.val_a = 0;
      else if (cell.kind != cell_kind::kSpeedIndicator) continue;
      Numbers numbers = {centre_of(c)};
      // val = round(right / 5 + left × 20): hundreds give the left speed,
      // the rest the right one, both in steps of 5 km/h.
      const std::int64_t packed[] = {cell.val_a, cell.val_b, cell.val_c};
      for (std::int64_t v : packed) numbers.push_back(v / 100 * 5);
      numbers.push_back(cell.val_d / 10);
      for (std::int64_t v : packed) numbers.push_back(v % 100 * 5);
      numbers.push_back(cell.val_d % 10);
      out_.line.body.push_back(entry("indicatori_vmax", numbers, "[cartelli]"));
    }
  }

  // Boards take rows 80, 79, ... in file order, so they are written in the
  // order of the rows their cells name.
  void recover_boards() {
    std::map<std::int32_t, std::int32_t, std::greater<>> by_row;  // row -> cell
    for (std::int32_t c = 0; c <= n_; ++c) {
      const TrackCell& cell = grid_[c];
      if (cell.kind != cell_kind::kIndicationBoard) continue;
      if (cell.val_a < 2 || cell.val_a > table_row::kFirstSign || by_row.count(cell.val_a) != 0) {
        note(cell_place(c), "an indication board naming row " + std::to_string(cell.val_a));
        continue;
      }
      by_row[cell.val_a] = c;
    }
    // A board's cell may have been taken by a station's stop marker, which is
    // written without the free test: its text row stays. Such a board stood
    // on a stop marker's cell whose other values are clear.
    std::set<std::int32_t> taken;
    for (const auto& [board_row, cell] : by_row) taken.insert(cell);
    std::int32_t r = table_row::kFirstSign;
    for (; r >= 2; --r) {
      std::int32_t cell = -1;
      if (const auto found = by_row.find(r); found != by_row.end()) {
        cell = found->second;
      } else {
        TableRow numbers = row(r);
        if (numbers.text.empty()) break;
        numbers.text.clear();
        if (!(numbers == TableRow{})) break;
        for (std::int32_t c = 0; c <= n_ && cell < 0; ++c) {
          const TrackCell& under = grid_[c];
          if (under.kind == cell_kind::kStopMarker && under.val_b == 0 && under.val_c == 0 &&
              under.val_d == 0 && under.timer == 0 && taken.count(c) == 0) {
            cell = c;
          }
        }
        if (cell < 0) {
          note("row " + std::to_string(r), "an indication-board text with no board");
          continue;
        }
        taken.insert(cell);
      }
      out_.line.body.push_back(text_entry("cartello_indicatore", {centre_of(cell)},
                                          row(r).text, "[indicazioni]"));
    }
    for (const auto& [board_row, cell] : by_row) {
      if (board_row <= r) note(cell_place(cell), "an indication board below the board rows");
    }
    sign_row_ = r;
  }

  // --- train ---------------------------------------------------------------

  void recover_train_header() {
    auto& header = out_.train.header;
    const TableRow& quantities = row(table_row::kQuantities);
    const TableRow& train = row(table_row::kTrainHeader);
    header.push_back(entry("numero vetture", {quantities.num_c}));
    header.push_back(entry("percentuale massa frenata", {quantities.num_a}));
    header.push_back(entry("sabbia", {train.word_a}));
    header.push_back(entry("orologio", {train.word_c, train.word_d, train.word_e}));
  }

  void recover_train_fills(bool final_fill, bool line_stops) {
    if (line_stops) final_fill = false;
    const FillShape shape{final_fill, n_};
    std::vector<std::int64_t> adhesion(grid_.cells.size()), speed(grid_.cells.size());
    for (std::size_t c = 0; c < grid_.cells.size(); ++c) {
      adhesion[c] = grid_.cells[c].adhesion;
      speed[c] = grid_.cells[c].speed_limit;
    }
    const auto adhesion_points = fill_points(adhesion, shape);
    const auto speed_points = fill_points(speed, shape);
    if (!adhesion_points || !speed_points) {
      note(cell_place(n_), "a speed limit or adhesion the fills cannot reach");
      return;
    }
    for (const auto& [cell, value] : *adhesion_points) {
      out_.train.body.push_back(entry("aderenza", {lower_of(cell), value}, "[aderenze]"));
    }
    for (const auto& [cell, value] : *speed_points) {
      out_.train.body.push_back(entry("velocita", {lower_of(cell), value * 5}, "[vel_limite]"));
    }
  }

  // The stations, row by row; the last may be one whose record stopped the
  // reading (a row filled in part, or a station refused after its marks).
  void recover_stations() {
    std::int32_t count = 0;
    // The reader stores a station at row 1 even when the boards reach row 2.
    for (std::int32_t r = table_row::kFirstStation; r <= std::max(sign_row_ - 1, 1); ++r) {
      if (!(row(r) == TableRow{})) count = r;
    }
    for (std::int32_t r = table_row::kFirstStation; r <= count; ++r) {
      RecoveredEntry station = station_entry(r, r == count);
      stations_.push_back(std::move(station));
      // The approach cells the station marks, as the reader marks them.
      const TableRow& s = row(r);
      Writes writes;
      if (s.kind < 25 && s.kind != 5 && s.kind != 6) {
        const std::int64_t stop = std::int64_t{s.num_b} / 50 - 1;
        for (std::int64_t k = 1; k <= 4; ++k) {
          if (stop - k >= 2 && stop - k <= n_) writes.emplace_back(stop - k, 80 + k);
        }
      }
      station_writes_.push_back(std::move(writes));
    }
  }

  // Whether the row is one a whole "stazione" record stores: its extent
  // follows from its position, kind and a length, as the reader makes it.
  bool full_station_fits(std::int32_t r) {
    const TableRow& s = row(r);
    const std::int64_t p = s.num_c, start = s.num_a, end = s.num_b;
    if (p % 50 != 0) return false;
    std::int64_t length = 0;
    if (s.kind == 5 || s.kind == 6) {
      length = p - start;
      if (end != p + 150 || s.byte_c != 0) return false;
    } else if (s.kind == 7 || s.kind == 8) {
      length = p - start;
      if (end != p + length || s.byte_c != 0) return false;
    } else {
      length = 2 * (p - start);
      const std::int64_t extra = end - (p + length / 2);
      if (extra != 0 && extra != 50) return false;
      if (r != table_row::kFirstStation && (extra == 50) != (s.byte_c != 0)) return false;
    }
    if (length % 100 != 0) return false;
    if (r == table_row::kFirstStation && (s.byte_c != 0 || s.byte_d != 0)) return false;
    return length >= 600 || s.byte_d == 0;
  }

  RecoveredEntry station_entry(std::int32_t r, bool last) {
    const TableRow& s = row(r);
    const std::int64_t p = s.num_c;
    // A record cut short leaves the fields read so far: position, kind,
    // then the options and parameters in order, no extent, time or name.
    TableRow read_part = s;
    read_part.num_c = 0;
    read_part.kind = 0;
    const bool bare = read_part == TableRow{};
    read_part.flag = read_part.byte_a = read_part.byte_b = read_part.byte_c = read_part.byte_d = 0;
    read_part.word_a = read_part.word_b = read_part.word_c = read_part.word_d = read_part.word_e = 0;
    const bool cut_short = last && read_part == TableRow{} && !full_station_fits(r);
    if (last && s.num_a == 0 && s.num_b == 0 && s.text.empty() && s.num_d != 0 &&
        !full_station_fits(r)) {
      // Cut short at the name, after the time: a name longer than a text
      // field may be takes the failure path there.
      train_stops_ = true;
      const std::int64_t seconds = s.num_d;
      return text_entry("stazione",
                        {p, s.kind, 100, s.flag, s.byte_d, s.byte_c, s.word_a, s.word_b, s.byte_a,
                         s.word_c, s.word_d, s.word_e, s.byte_b, seconds / 3600,
                         seconds % 3600 / 60, seconds % 60},
                        std::string(65536, 'x'), "[stazioni]");
    }
    if (cut_short && bare && !position_in_range(s.num_c, n_, 800)) {
      // Out of range: the reading ends there, and the fills still run.
      last_station_ends_reading_ = true;
      return text_entry("stazione", {p}, "", "[stazioni]");
    }
    if (cut_short && bare && p % 50 != 0) {
      // Off the 50 m grid: the reading stops before the kind.
      train_stops_ = true;
      return text_entry("stazione", {p, 0, 100}, "", "[stazioni]");
    }
    if (cut_short) {
      // A word where the hours are due takes the failure path there.
      train_stops_ = true;
      return text_entry("stazione",
                        {p, s.kind, 100, s.flag, s.byte_d, s.byte_c, s.word_a, s.word_b, s.byte_a,
                         s.word_c, s.word_d, s.word_e, s.byte_b},
                        "x", "[stazioni]");
    }
    std::int64_t length = 0;
    std::int64_t extension = s.byte_c;
    const std::int64_t start = s.num_a, end = s.num_b;
    bool consistent = true;
    if (s.kind == 5 || s.kind == 6) {
      length = p - start;
      consistent = end == p + 150 && s.byte_c == 0;
    } else if (s.kind == 7 || s.kind == 8) {
      length = p - start;
      consistent = end == p + length && s.byte_c == 0;
    } else {
      length = 2 * (p - start);
      const std::int64_t extra = end - (p + length / 2);
      if (extra == 50 && r == table_row::kFirstStation) extension = 1;
      consistent = (extra == 50 && extension != 0) || (extra == 0 && extension == 0);
    }
    if (!consistent || length % 100 != 0 || p % 50 != 0) {
      note("row " + std::to_string(r), "a station whose extent no length gives");
      // The nearest length the reader takes, so that the stations after it
      // are still read.
      length = (length + (length >= 0 ? 50 : -50)) / 100 * 100;
    }
    const std::int64_t seconds = s.num_d;
    const std::int64_t stop = end / 50 - 1;
    const bool marked = s.kind < 25;
    if (r > table_row::kFirstStation && start - 350 < row(r - 1).num_b) train_stops_ = true;
    if (marked && stop < 2) train_stops_ = true;
    if (r + 1 >= sign_row_) train_stops_ = true;
    if (marked && stop > n_) last_station_ends_reading_ = true;
    if (train_stops_ && !last) note("row " + std::to_string(r), "a station that stops the reading before the last");
    return text_entry("stazione",
                      {p, s.kind, length, s.flag, s.byte_d, extension, s.word_a, s.word_b,
                       s.byte_a, s.word_c, s.word_d, s.word_e, s.byte_b, seconds / 3600,
                       seconds % 3600 / 60, seconds % 60},
                      s.text, "[stazioni]");
  }

  void recover_train_objects() {
    auto& body = out_.train.body;
    // Stations first, as the built-in source has them; a station whose
    // record stops the reading goes last.
    std::optional<RecoveredEntry> stopping;
    if (!stations_.empty() && (train_stops_ || last_station_ends_reading_)) {
      stopping = std::move(stations_.back());
      stations_.pop_back();
    }
    // Stations and signals both mark approach cells, and the later one
    // wins: they go in an order that lets each cell's winner come last.
    std::vector<RecoveredEntry> items = std::move(stations_);
    std::vector<Writes> writes(station_writes_.begin(),
                               station_writes_.begin() + static_cast<std::ptrdiff_t>(items.size()));
    const std::size_t station_count = items.size();
    std::vector<std::pair<std::size_t, std::size_t>> before;  // (item, station item)
    for (std::int32_t c = 0; c <= n_; ++c) {
      const bool under = under_stop_marker(c) == Under::signal;
      if (grid_[c].kind != cell_kind::kSignal && !under) continue;
      TrackCell cell = grid_[c];
      if (under) {
        cell.val_a = 0;
        // The signal comes before the station whose stop marker covers it.
        if (grid_[c].val_a >= 1 && static_cast<std::size_t>(grid_[c].val_a) <= station_count) {
          before.emplace_back(items.size(), static_cast<std::size_t>(grid_[c].val_a) - 1);
        }
      }
      items.push_back(signal_entry(c, cell));
      const std::int64_t types = signal_types(c, cell);
      Writes marks;
      for (std::int64_t k = 1; k <= 4; ++k) {
        if (grid_.contains(std::int64_t{c} - 2 * k)) {
          marks.emplace_back(std::int64_t{c} - 2 * k, low8(types * 10 + k));
        }
      }
      writes.push_back(std::move(marks));
    }
    RestrictionEntries restrictions = restriction_entries();
    bool restrictions_written = false;
    auto write_restrictions = [&] {
      for (RecoveredEntry& restriction : restrictions.entries) body.push_back(std::move(restriction));
      restrictions_written = true;
    };
    if (restrictions.before_stations) write_restrictions();
    for (std::size_t i : approach_order(writes, station_count, before)) {
      if (i >= station_count && !restrictions_written) write_restrictions();
      body.push_back(std::move(items[i]));
    }
    if (!restrictions_written) write_restrictions();
    for (std::int32_t c = 0; c <= n_; ++c) {
      const TrackCell& cell = grid_[c];
      if (reductions_.count(c) == 0) continue;
      if (cell.kind == cell_kind::kCodeCut) {
        body.push_back(entry("abbattimento", {lower_of(c), 0}, "[codici]"));
      } else if (cell.kind == cell_kind::kReductionPoint) {
        const std::int64_t value = cell.val_a > 0 ? cell.val_a : cell.val_a + 65536;
        body.push_back(entry("abbattimento", {lower_of(c), value}, "[codici]"));
      }
    }
    if (stopping) body.push_back(std::move(*stopping));
  }

  // Kahn's order of the items (stations first, in their rows' order, then
  // signals): an item whose approach code a cell holds comes after the items
  // whose codes it replaced there. The plain order where none fits.
  std::vector<std::size_t> approach_order(
      const std::vector<Writes>& writes, std::size_t station_count,
      const std::vector<std::pair<std::size_t, std::size_t>>& before) {
    const std::size_t count = writes.size();
    std::vector<std::vector<std::size_t>> after(count);
    std::vector<std::size_t> waiting(count, 0);
    auto edge = [&](std::size_t from, std::size_t to) {
      after[from].push_back(to);
      ++waiting[to];
    };
    for (std::size_t i = 1; i < station_count; ++i) edge(i - 1, i);
    for (const auto& [first, then] : before) edge(first, then);
    std::map<std::int64_t, std::vector<std::pair<std::size_t, std::int64_t>>> by_cell;
    for (std::size_t i = 0; i < count; ++i) {
      for (const auto& [cell, value] : writes[i]) by_cell[cell].emplace_back(i, value);
    }
    for (const auto& [cell, writers] : by_cell) {
      const std::int64_t held = grid_[static_cast<std::int32_t>(cell)].approach;
      std::optional<std::size_t> winner;
      for (const auto& [i, value] : writers) {
        if (value == held) winner = i;  // the last in the plain order
      }
      if (!winner) continue;
      for (const auto& [i, value] : writers) {
        if (value != held) edge(i, *winner);
      }
    }
    std::set<std::size_t> ready;
    for (std::size_t i = 0; i < count; ++i) {
      if (waiting[i] == 0) ready.insert(i);
    }
    std::vector<std::size_t> order;
    while (!ready.empty()) {
      const std::size_t i = *ready.begin();
      ready.erase(ready.begin());
      order.push_back(i);
      for (std::size_t next : after[i]) {
        if (--waiting[next] == 0) ready.insert(next);
      }
    }
    if (order.size() != count) {
      order.clear();
      for (std::size_t i = 0; i < count; ++i) order.push_back(i);
    }
    return order;
  }

  // 3 × sx + dx of the signal in cell c. `val_d` holds the low 16 bits of
  // rapp × 10 + that, so its last digit says it unless rapp ran past 16 bits;
  // the approach codes before the signal, low 8 bits of that × 10 + k, say it
  // too where no later entry wrote over them. The value most of them agree on.
  std::int64_t signal_types(std::int32_t c, const TrackCell& cell) const {
    const std::int64_t plain = ((cell.val_d % 10) + 10) % 10;
    std::vector<std::int64_t> candidates = {plain};
    for (std::int64_t k = 1; k <= 4; ++k) {
      const std::int64_t at = std::int64_t{c} - 2 * k;
      if (!grid_.contains(at)) continue;
      const std::int64_t code = grid_[static_cast<std::int32_t>(at)].approach;
      // 10 × types + k = code (mod 256): types = (code - k) / 2 × 5⁻¹ (mod 128).
      if ((code - k) % 2 != 0) continue;
      candidates.push_back((((code - k + 256) % 256) / 2 * 77) % 128);
    }
    std::int64_t best = plain;
    int best_votes = -1;
    for (std::int64_t q : candidates) {
      if ((cell.val_d - q) % 2 != 0) continue;  // rapp × 10 is even
      int votes = 0;
      for (std::int64_t k = 1; k <= 4; ++k) {
        const std::int64_t at = std::int64_t{c} - 2 * k;
        if (grid_.contains(at) && grid_[static_cast<std::int32_t>(at)].approach == low8(q * 10 + k)) {
          ++votes;
        }
      }
      if (votes > best_votes) {
        best_votes = votes;
        best = q;
      }
    }
    return best;
  }

  RecoveredEntry signal_entry(std::int32_t c, const TrackCell& cell) {
    // val_d = rapp × 10 + 3 × sx + dx (low 16 bits); a timer needs sx = 2.
    const std::int64_t types = signal_types(c, cell);
    // 10 × rapp = val_d - types (mod 65536): rapp = (val_d - types) / 2 × 5⁻¹
    // (mod 32768), the plain quotient where it divides.
    std::int64_t rapp = (cell.val_d - types) / 10;
    if ((cell.val_d - types) % 10 != 0) {
      rapp = ((((cell.val_d - types) / 2) % 32768 + 32768) % 32768) * 19661 % 32768;
    }
    std::int64_t sx = types / 3, dx = types % 3;
    if (types >= 6 || cell.timer != 0) {
      sx = 2;
      dx = types - 6;
    }
    // The time value: 1..100 would be stored as 101, so those timers come
    // from a value 256 higher.
    std::int64_t tempo = cell.timer;
    if (tempo >= 1 && tempo <= 100) tempo += 256;
    Numbers numbers = {centre_of(c), sx};
    const std::int64_t values[] = {cell.val_a, cell.val_b, cell.val_c};
    std::int64_t right[3];
    for (int k = 0; k < 3; ++k) {
      right[k] = ((values[k] % 10) + 10) % 10;
      numbers.push_back((values[k] - right[k]) / 10);
    }
    numbers.push_back(rapp);
    numbers.push_back(dx);
    for (std::int64_t d : right) numbers.push_back(d);
    numbers.push_back(tempo);
    return entry("segnale", numbers, "[segnali]");
  }

  // The restrictions, and whether they go before the stations: a station's
  // stop marker is written over whatever its cell holds, so a start or
  // warning board or a pre-warning cell under one means the restriction came
  // first.
  struct RestrictionEntries {
    std::vector<RecoveredEntry> entries;
    bool before_stations = false;
  };

  // Each start board with the end board of the same speeds nearest after it
  // (before it when none follows), the warning board 24 cells before it and
  // the pre-warning cells before that.
  RestrictionEntries restriction_entries() const {
    RestrictionEntries out;
    std::set<std::int32_t> ends_taken;
    std::set<std::int32_t> bases_taken;  // pre-warning cells another restriction placed
    for (std::int32_t s = 0; s <= n_; ++s) {
      TrackCell start = grid_[s];
      const std::optional<std::int16_t> speed = start_speed_under_stop_marker(s);
      const bool start_under_stop_marker = speed.has_value();
      if (start_under_stop_marker) {
        start.val_a = *speed;
      } else if (start.kind != cell_kind::kStartBoard) {
        continue;
      }
      const std::optional<std::int32_t> end = end_board_of(s, start, ends_taken);
      // A stop marker found by an end board is a start only with one of its own.
      if (start_under_stop_marker && !end &&
          !(grid_.contains(s - 24) && grid_[s - 24].kind == cell_kind::kWarningBoard)) {
        continue;
      }
      if (end) ends_taken.insert(*end);
      const std::int32_t e = end ? *end : s;
      // A start at 1500 m or before has no warning board.
      std::int64_t x = centre_of(s);
      if (s == 31 && grid_.contains(7) && grid_[7].kind == cell_kind::kWarningBoard) x = 1501;
      const bool warned = x > 1500;
      // The four pre-warning cells from the base down, numbered 1 to 4;
      // stop markers may stand on some of them.
      bool stop_marker_on_cells = false;
      auto pre_warning_base = [&](std::int32_t base) {
        if (bases_taken.count(base) != 0) return false;
        bool seen = false, stop_marker = false;
        for (std::int32_t n = 0; n <= 3; ++n) {
          if (!grid_.contains(base - n)) continue;
          const TrackCell& cell = grid_[base - n];
          if (cell.kind == cell_kind::kStopMarker) {
            stop_marker = true;
          } else if (cell.kind != cell_kind::kPreWarning || cell.val_a != n + 1) {
            return false;
          } else {
            seen = true;
          }
        }
        stop_marker_on_cells = stop_marker_on_cells || (seen && stop_marker);
        return seen;
      };
      std::int32_t base = s - 25;
      bool pre_warned = warned && pre_warning_base(base);
      std::int64_t length = (std::int64_t{e} - s) * 50;
      // The pre-warning base is rounded on its own: for a start 25 m past a
      // multiple of 100 it lies 26 cells before the start board (an even
      // cell then), and the length makes up the 25 m.
      if (warned && !pre_warned && s % 2 == 0 && pre_warning_base(s - 26)) {
        pre_warned = true;
        base = s - 26;
        x -= 25;
        length += 25;
      }
      if (pre_warned) bases_taken.insert(base);
      const bool warning_under_stop_marker =
          warned && grid_.contains(s - 24) && grid_[s - 24].kind == cell_kind::kStopMarker;
      out.before_stations = out.before_stations || (pre_warned && stop_marker_on_cells) ||
                            warning_under_stop_marker || start_under_stop_marker;
      // The boards keep the low 16 bits of the last value; the pre-warning
      // cells get their numbers there whenever it is not 0, so a value
      // whose low 16 bits are 0 shows only on them.
      std::int64_t last_value = start.val_b;
      if (last_value == 0 && pre_warned) {
        for (std::int32_t n = 0; n <= 3; ++n) {
          if (grid_.contains(base - n) && grid_[base - n].kind == cell_kind::kPreWarning &&
              grid_[base - n].val_b != 0) {
            last_value = 65536;
          }
        }
      }
      out.entries.push_back(entry("rallentamento",
                                  {x, start.val_a, length, start.val_c, pre_warned ? 1 : 0,
                                   last_value},
                                  "[rallentamenti]"));
    }
    return out;
  }

  const DecodedScenario& files_;
  RecordTable table_;
  CellGrid grid_;
  mutable std::optional<std::set<std::int32_t>> ends_of_start_boards_;
  const std::set<std::int32_t>& reductions_;
  std::int32_t n_ = 0;
  std::int64_t line_length_ = 0;
  std::int32_t sign_row_ = table_row::kFirstSign;
  bool header_entry_stops_ = false;
  bool train_stops_ = false;
  bool last_station_ends_reading_ = false;
  std::vector<RecoveredEntry> stations_;
  std::vector<Writes> station_writes_;
  Recovered out_;
};

}  // namespace

std::set<std::int32_t> certain_reduction_entries(const CellGrid& grid) {
  std::set<std::int32_t> cells;
  for (std::int32_t c = 0; c <= grid.last_index(); ++c) {
    const TrackCell& cell = grid[c];
    // Cell 1's first value is the stamp; the point there had 0.
    const std::int64_t value = c == 1 ? 0 : cell.val_a;
    if (cell.kind == cell_kind::kCodeCut ||
        (cell.kind == cell_kind::kReductionPoint && value != kCodeReductionValue)) {
      cells.insert(c);
    }
  }
  return cells;
}

Recovered recover_sources(const DecodedScenario& files,
                          const std::set<std::int32_t>& reduction_entries) {
  return Recovery(files, reduction_entries).run();
}

}  // namespace scenario
