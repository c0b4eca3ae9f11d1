#include "model/cell_fill.h"

#include <algorithm>

namespace scenario {
namespace {

// Cells of a lazy grid are made at least this many at a time.
constexpr std::int64_t kCellsMadeAtOnce = 1024;

}  // namespace

CellGrid make_cell_grid(std::int32_t line_length) {
  CellGrid grid;
  grid.cells.resize(static_cast<std::size_t>(grid_last_index_for_length(line_length)) + 1);
  return grid;
}

CellGrid make_lazy_cell_grid(std::int32_t line_length) {
  CellGrid grid;
  grid.lazy_last_ = grid_last_index_for_length(line_length);
  // Room for every cell, so that making more never moves those made.
  grid.cells.reserve(static_cast<std::size_t>(grid.lazy_last_) + 1);
  return grid;
}

void CellGrid::make_cells_up_to(std::int32_t index) {
  const std::int64_t made = static_cast<std::int64_t>(cells.size());
  if (lazy_last_ < 0 || index < made || index > lazy_last_) return;
  const std::int64_t size =
      std::min<std::int64_t>(std::max<std::int64_t>(index + 1, made + kCellsMadeAtOnce),
                             std::int64_t{lazy_last_} + 1);
  cells.resize(static_cast<std::size_t>(size));
  for (const PendingFill& fill : pending_) {
    const std::int64_t to = std::min(fill.end, size);
    for (std::int64_t i = std::max(fill.first, made); i < to; ++i) cells[i].*fill.field = fill.value;
  }
  // A fill whose cells are all made now is done.
  std::erase_if(pending_, [size](const PendingFill& fill) { return fill.end <= size; });
}

TrackCell CellGrid::cell_not_made(std::int32_t index) const {
  TrackCell cell;
  for (const PendingFill& fill : pending_) {
    if (index >= fill.first && index < fill.end) cell.*fill.field = fill.value;
  }
  return cell;
}

void fill_cells(CellGrid& grid, std::uint8_t TrackCell::*field, std::int64_t first,
                std::int64_t end, std::uint8_t value) {
  const std::int64_t from = std::max<std::int64_t>(first, 0);
  const std::int64_t to = std::min<std::int64_t>(end, std::int64_t{grid.last_index()} + 1);
  const std::int64_t made = static_cast<std::int64_t>(grid.cells.size());
  TrackCell* cells = grid.cells.data();
  for (std::int64_t i = from; i < std::min(to, made); ++i) cells[i].*field = value;
  // Cells of a lazy grid not made yet get the fill when they are.
  if (to > std::max(from, made)) grid.pending_.push_back({field, std::max(from, made), to, value});
}

std::int32_t next_board_cell(const CellGrid& grid, std::int32_t from, std::int32_t last) {
  // Only the cells made: one not made yet holds no board (only fills reach it).
  const std::int32_t to = std::min(last, static_cast<std::int32_t>(grid.cells.size()) - 1);
  const TrackCell* cells = grid.cells.data();
  for (std::int32_t i = std::max(from, 0); i <= to; ++i) {
    const std::uint8_t kind = cells[i].kind;
    if (kind == cell_kind::kWarningBoard || kind == cell_kind::kStartBoard) return i;
  }
  return last + 1;
}

}  // namespace scenario
