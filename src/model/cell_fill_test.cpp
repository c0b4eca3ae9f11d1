#include "model/cell_fill.h"

#include <gtest/gtest.h>

#include <random>

namespace scenario {
namespace {

// The longest line: the grid a `check` run reads a source without a valid
// length over, 20,141 cells.
constexpr std::int32_t kLongestLine = 1000000;

// The same fills, writes and reads on a grid that holds every cell and on a
// lazy one, drawn at random (a fixed seed: the same sequence every run).
// Writes go near the start, as a source's entries do; fills and reads go
// anywhere, past the ends of the line too. The lazy grid must read the same
// at every step, and every cell the same before it is made and after.
TEST(LazyCellGrid, ReadsAsTheWholeGridUnderTheSameFillsAndWrites) {
  CellGrid whole = make_cell_grid(kLongestLine);
  CellGrid lazy = make_lazy_cell_grid(kLongestLine);
  const CellGrid& seen = lazy;  // reads that make no cell
  ASSERT_EQ(lazy.last_index(), whole.last_index());
  const std::int32_t last = whole.last_index();
  std::mt19937 random(20261211);
  auto index = [&](std::int32_t from, std::int32_t to) {
    return std::uniform_int_distribution<std::int32_t>(from, to)(random);
  };
  std::uint8_t TrackCell::* const fields[] = {&TrackCell::gradient, &TrackCell::speed_limit,
                                              &TrackCell::adhesion, &TrackCell::tunnel};
  const std::uint8_t kinds[] = {cell_kind::kNone, cell_kind::kSignal, cell_kind::kWarningBoard,
                                cell_kind::kStartBoard, cell_kind::kTunnelMarker};
  for (int step = 0; step < 3000; ++step) {
    const std::int32_t near = index(-2, 1500);
    const std::int32_t anywhere = index(-5, last + 5);
    switch (index(0, 3)) {
      case 0: {
        const std::int32_t first = index(0, 1) == 0 ? near : anywhere;
        const std::int32_t end = index(0, 1) == 0 ? first + index(0, 3000) : last + index(-3, 2);
        const auto field = fields[index(0, 3)];
        const auto value = static_cast<std::uint8_t>(index(1, 255));
        fill_cells(whole, field, first, end, value);
        fill_cells(lazy, field, first, end, value);
        break;
      }
      case 1:
        if (!whole.contains(near)) break;
        whole[near].kind = lazy[near].kind = kinds[index(0, 4)];
        whole[near].val_a = lazy[near].val_a = static_cast<std::int16_t>(step);
        break;
      case 2:
        if (!whole.contains(anywhere)) break;
        ASSERT_EQ(seen[anywhere], whole[anywhere]) << "cell " << anywhere << " at step " << step;
        break;
      default: {
        const std::int32_t to = std::max(near, 0) + index(0, 3000);
        ASSERT_EQ(next_board_cell(lazy, near, to), next_board_cell(whole, near, to))
            << near << ".." << to;
      }
    }
  }
  EXPECT_LE(lazy.cells.size(), 3000u);
  for (std::int32_t c = 0; c <= last; ++c) ASSERT_EQ(seen[c], whole[c]) << "cell " << c;
  for (std::int32_t c = 0; c <= last; ++c) ASSERT_EQ(lazy[c], whole[c]) << "cell " << c;
  EXPECT_EQ(lazy.cells, whole.cells);
}

// A reference to a cell outlives the making of every later cell (the
// readers hold one while they look at others), and a board in the last cell
// made is found.
TEST(LazyCellGrid, KeepsEarlierCellsInPlaceAsLaterOnesAreMade) {
  CellGrid grid = make_lazy_cell_grid(kLongestLine);
  const std::int32_t last = grid.last_index();
  TrackCell& early = grid[3];
  const auto last_made = static_cast<std::int32_t>(grid.cells.size()) - 1;
  ASSERT_LT(last_made, last);
  grid[last_made].kind = cell_kind::kWarningBoard;
  EXPECT_EQ(next_board_cell(grid, 0, last), last_made);
  grid[last].kind = cell_kind::kSignal;
  early.kind = cell_kind::kStartBoard;
  EXPECT_EQ(grid[3].kind, cell_kind::kStartBoard);
  EXPECT_EQ(next_board_cell(grid, 0, last), 3);
  EXPECT_EQ(next_board_cell(grid, last_made + 1, last), last + 1);
}

// A fill waiting for cells not made yet, ending around the last cell a
// later making makes: each of its cells gets it, made or not.
TEST(LazyCellGrid, FillsEndingAroundTheCellsMadeReachTheirLastCell) {
  const std::int32_t made_at_first = static_cast<std::int32_t>([] {
    CellGrid grid = make_lazy_cell_grid(kLongestLine);
    grid[3];
    return grid.cells.size();
  }());
  for (std::int32_t end = 2 * made_at_first - 3; end <= 2 * made_at_first + 3; ++end) {
    CellGrid whole = make_cell_grid(kLongestLine);
    CellGrid lazy = make_lazy_cell_grid(kLongestLine);
    lazy[3];
    for (CellGrid* grid : {&whole, &lazy}) fill_cells(*grid, &TrackCell::gradient, 10, end, 7);
    lazy[made_at_first + 10];
    const CellGrid& seen = lazy;
    for (std::int32_t c = 0; c <= whole.last_index(); ++c) {
      ASSERT_EQ(seen[c], whole[c]) << "cell " << c << ", fill to " << end;
    }
  }
}

}  // namespace
}  // namespace scenario
