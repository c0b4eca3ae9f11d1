#include "model/cell_fill.h"

#include <algorithm>

namespace scenario {

CellGrid make_cell_grid(std::int32_t line_length) {
  CellGrid grid;
  grid.cells.resize(static_cast<std::size_t>(grid_last_index_for_length(line_length)) + 1);
  return grid;
}

void fill_cells(CellGrid& grid, std::uint8_t TrackCell::*field, std::int64_t first,
                std::int64_t end, std::uint8_t value) {
  const std::int64_t from = std::max<std::int64_t>(first, 0);
  const std::int64_t to = std::min<std::int64_t>(end, std::int64_t{grid.last_index()} + 1);
  TrackCell* cells = grid.cells.data();
  for (std::int64_t i = from; i < to; ++i) cells[i].*field = value;
}

std::int32_t next_board_cell(const CellGrid& grid, std::int32_t from, std::int32_t last) {
  const std::int32_t to = std::min(last, grid.last_index());
  const TrackCell* cells = grid.cells.data();
  for (std::int32_t i = std::max(from, 0); i <= to; ++i) {
    const std::uint8_t kind = cells[i].kind;
    if (kind == cell_kind::kWarningBoard || kind == cell_kind::kStartBoard) return i;
  }
  return last + 1;
}

}  // namespace scenario
