#include "model/placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "model/rounding.h"

namespace scenario {
namespace {

// Arguments are arbitrary 32-bit numbers from the sources, so every sum and
// product is taken in 64 bits and every cell is derived in double: nothing
// here can overflow, and only the stores narrow to 16 or 8 bits.

std::int64_t cell_at(double metres_over_50) { return round_half_even(metres_over_50); }

// An object cell outside 0..N is refused like an occupied one: the readers'
// range rule normally keeps it inside, but a write must never leave the grid.
bool can_place(const CellGrid& grid, std::int64_t cell) {
  return grid.contains(cell) && cell_is_free(grid[static_cast<std::int32_t>(cell)]);
}

// round-half-even(vd / 5 + vs * 20): an integer product and a floating
// quotient. Empty when the result leaves the 16-bit signed range.
std::optional<std::int16_t> pack_speeds(std::int32_t vs, std::int32_t vd) {
  const std::int64_t packed =
      round_half_even(vd / 5.0 + static_cast<double>(std::int64_t{vs} * 20));
  if (packed < std::numeric_limits<std::int16_t>::min() ||
      packed > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(packed);
}

}  // namespace

void memo_montagna(CellGrid& grid, TunnelList& tunnels, std::int32_t inizio, std::int32_t fine,
                   std::int32_t& tipo) {
  bool markers = false;
  if (tipo > 10) {
    tipo -= 10;
    markers = true;
  }
  if (tunnels.count < std::numeric_limits<std::int32_t>::max()) ++tunnels.count;
  // A tunnel that starts at most 150 m after the previous one ends (or before
  // it ends) is of type 3 whatever the source says.
  if (tunnels.count > 1 && std::int64_t{inizio} - tunnels.last_end <= 150) tipo = 3;
  tunnels.last_end = fine;

  const std::int64_t first = lower_cell_index(inizio);
  const std::int64_t last = cell_at(fine / 50.0 - 1.0);
  // Clipped to the grid; the marker count still runs from the unclipped first
  // cell so that the markers keep their places.
  const std::int64_t from = std::max<std::int64_t>(first, 0);
  const std::int64_t to = std::min<std::int64_t>(last, grid.last_index());
  for (std::int64_t c = from; c <= to; ++c) {
    TrackCell& cell = grid[static_cast<std::int32_t>(c)];
    cell.tunnel = low8(tipo);
    const std::int64_t n = c - first + 1;
    if (markers && n % 4 == 0 && cell.kind == cell_kind::kNone) cell.kind = cell_kind::kTunnelMarker;
  }
}

bool memo_indicatori_v_max(CellGrid& grid, BuildStatus& status, std::int32_t posizione,
                           std::int32_t vas, std::int32_t vbs, std::int32_t vcs,
                           std::int32_t strisces, std::int32_t vad, std::int32_t vbd,
                           std::int32_t vcd, std::int32_t strisced) {
  const std::int64_t i = cell_index(posizione);
  if (!can_place(grid, i)) {
    status.code = status::kSpeedIndicatorTaken;
    return true;
  }
  // All three packings are checked before anything is written, so a board
  // that fails leaves its cell as it was.
  const auto a = pack_speeds(vas, vad);
  const auto b = pack_speeds(vbs, vbd);
  const auto c = pack_speeds(vcs, vcd);
  if (!a || !b || !c) return false;

  TrackCell& cell = grid[static_cast<std::int32_t>(i)];
  cell.kind = cell_kind::kSpeedIndicator;
  cell.val_a = *a;
  cell.val_b = *b;
  cell.val_c = *c;
  cell.val_d = low16(std::int64_t{strisces} * 10 + strisced);
  return true;
}

void memo_segnale(CellGrid& grid, BuildStatus& status, std::int32_t posizione, std::int32_t sx,
                  std::int32_t s1, std::int32_t s2, std::int32_t s3, std::int32_t rapp,
                  std::int32_t dx, std::int32_t d1, std::int32_t d2, std::int32_t d3,
                  std::int32_t tempo) {
  const std::int64_t i = cell_index(posizione);
  if (!can_place(grid, i)) {
    status.code = status::kSignalTaken;
    return;
  }
  const std::int64_t types = std::int64_t{sx} * 3 + dx;
  TrackCell& cell = grid[static_cast<std::int32_t>(i)];
  cell.kind = cell_kind::kSignal;
  cell.val_d = low16(std::int64_t{rapp} * 10 + types);
  cell.val_a = low16(std::int64_t{s1} * 10 + d1);
  cell.val_b = low16(std::int64_t{s2} * 10 + d2);
  cell.val_c = low16(std::int64_t{s3} * 10 + d3);
  const std::int32_t time_value = (tempo >= 1 && tempo <= 100) ? 101 : tempo;
  cell.timer = sx == 2 ? low8(time_value) : 0;

  // The approach codes go onto whatever the cells hold; cells before the
  // start of the grid are skipped.
  for (std::int64_t k = 1; k <= 4; ++k) {
    const std::int64_t c = i - 2 * k;
    if (!grid.contains(c)) continue;
    grid[static_cast<std::int32_t>(c)].approach = low8(types * 10 + k);
  }
}

RestrictionCells restriction_cells(std::int32_t x, std::int32_t l) {
  RestrictionCells cells;
  cells.warned = x > 1500;
  cells.warning = cell_at((x - 1200.0) / 50.0 + 1.0);
  cells.start = cell_index(x);
  cells.end = cell_at((static_cast<double>(x) + l) / 50.0 + 1.0);
  // The pre-warning base is rounded on its own; for (x - 1200) mod 100 = 75 it
  // meets the warning board, which then refuses the pre-warning cells.
  cells.pre_warning = cell_at((x - 1200.0) / 50.0);
  return cells;
}

void memo_rallentamento(CellGrid& grid, BuildStatus& status, std::int32_t x, std::int32_t v,
                        std::int32_t l, std::int32_t f_tt, std::int32_t f_ta, std::int32_t d_v) {
  const RestrictionCells cells = restriction_cells(x, l);
  const bool warned = cells.warned;
  const std::int64_t w = cells.warning;
  if (warned && !can_place(grid, w)) {
    status.code = status::kWarningBoardTaken;
    return;
  }
  const std::int64_t s = cells.start;
  if (!can_place(grid, s)) {
    status.code = status::kStartBoardTaken;
    return;
  }
  const std::int64_t e = cells.end;
  if (!can_place(grid, e)) {
    status.code = status::kEndBoardTaken;
    return;
  }

  auto board = [&](std::int64_t index, std::uint8_t kind) -> TrackCell& {
    TrackCell& cell = grid[static_cast<std::int32_t>(index)];
    cell.kind = kind;
    if (d_v != 0) cell.val_b = low16(d_v);
    return cell;
  };
  // The start board is written after the end board, so a restriction whose
  // start and end fall into one cell leaves a start board there.
  TrackCell& end = board(e, cell_kind::kEndBoard);
  end.val_a = low16(v);
  end.val_c = low16(f_tt);
  TrackCell& start = board(s, cell_kind::kStartBoard);
  start.val_a = low16(v);
  start.val_c = low16(f_tt);
  if (warned) board(w, cell_kind::kWarningBoard).val_a = low16(v);

  if (!warned || f_ta == 0) return;
  const std::int64_t b = cells.pre_warning;
  for (std::int64_t n = 0; n <= 3; ++n) {
    const std::int64_t c = b - n;
    if (grid.contains(c) && !cell_is_free(grid[static_cast<std::int32_t>(c)])) {
      status.code = status::kPreWarningTaken;
      return;
    }
  }
  for (std::int64_t n = 0; n <= 3; ++n) {
    const std::int64_t c = b - n;
    if (!grid.contains(c)) continue;
    TrackCell& cell = grid[static_cast<std::int32_t>(c)];
    cell.kind = cell_kind::kPreWarning;
    cell.val_a = low16(n + 1);
    if (d_v != 0) cell.val_b = low16(n + 1);
  }
}

}  // namespace scenario
