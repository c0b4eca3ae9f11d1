#pragma once

#include <cstdint>

#include "model/build_status.h"
#include "model/cell_grid.h"

namespace scenario {

/// What the tunnel gap rule needs of the tunnels read so far.
struct TunnelList {
  std::int32_t count = 0;
  std::int32_t last_end = 0;  // end of the previous tunnel, metres
};

/// A tunnel span from `inizio` to `fine`; `tipo` above 10 also puts markers
/// on every 4th empty cell. May change `tipo` (gap rule). Refuses nothing.
void memo_montagna(CellGrid& grid, TunnelList& tunnels, std::int32_t inizio, std::int32_t fine,
                   std::int32_t& tipo);

/// A maximum-speed indicator board (kind 6), or status 21 when its cell is
/// taken. Returns false when a packed speed leaves the 16-bit range: the
/// caller treats that as a read failure (status 25).
bool memo_indicatori_v_max(CellGrid& grid, BuildStatus& status, std::int32_t posizione,
                           std::int32_t vas, std::int32_t vbs, std::int32_t vcs,
                           std::int32_t strisces, std::int32_t vad, std::int32_t vbd,
                           std::int32_t vcd, std::int32_t strisced);

/// A signal (kind 1) with its four approach cells, or status 16.
void memo_segnale(CellGrid& grid, BuildStatus& status, std::int32_t posizione, std::int32_t sx,
                  std::int32_t s1, std::int32_t s2, std::int32_t s3, std::int32_t rapp,
                  std::int32_t dx, std::int32_t d1, std::int32_t d2, std::int32_t d3,
                  std::int32_t tempo);

/// The cells of a speed restriction's boards: warning board `warning` (only
/// when `warned`), start board, end board, and the first of the four
/// pre-warning cells (`pre_warning` down to `pre_warning` - 3).
struct RestrictionCells {
  bool warned = false;
  std::int64_t warning = 0;
  std::int64_t start = 0;
  std::int64_t end = 0;
  std::int64_t pre_warning = 0;
};
RestrictionCells restriction_cells(std::int32_t x, std::int32_t l);

/// A temporary speed restriction: warning, start and end boards and the
/// pre-warning cells, or one of the statuses 17 to 20.
void memo_rallentamento(CellGrid& grid, BuildStatus& status, std::int32_t x, std::int32_t v,
                        std::int32_t l, std::int32_t f_tt, std::int32_t f_ta, std::int32_t d_v);

}  // namespace scenario
