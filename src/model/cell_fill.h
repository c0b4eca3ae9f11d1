#pragma once

// The loops that visit every cell of the grid: making it, the readers' fills
// of the values in force and the code-reduction pass's search for boards. They run
// over the whole line on every build, so they stay small and branch-free.

#include <cstdint>

#include "model/cell_grid.h"

namespace scenario {

/// Sets `field` of the cells `first` .. `end` - 1 to `value`; cells outside
/// the grid are passed over.
void fill_cells(CellGrid& grid, std::uint8_t TrackCell::*field, std::int64_t first,
                std::int64_t end, std::uint8_t value);

/// The first cell from `from` up to `last` (both included) that holds a
/// warning board or a start board; `last` + 1 when none does.
std::int32_t next_board_cell(const CellGrid& grid, std::int32_t from, std::int32_t last);

}  // namespace scenario
