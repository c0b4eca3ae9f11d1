#include "model/cell_grid.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <limits>

#include "model/rounding.h"

namespace scenario {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbourInEveryRoundingMode) {
  const struct {
    double value;
    std::int64_t rounded;
  } cases[] = {{0.5, 0},  {1.5, 2},   {2.5, 2},   {3.5, 4},   {4.5, 4},   {-0.5, 0},
               {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {140.5, 140},
               {201.5, 202}, {7300.0, 7300}};
  for (int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    std::fesetround(mode);
    for (const auto& c : cases) EXPECT_EQ(round_half_even(c.value), c.rounded) << c.value;
  }
  std::fesetround(FE_TONEAREST);
}

TEST(Narrowing, KeepsTheLowBits) {
  EXPECT_EQ(low16(40000), -25536);
  EXPECT_EQ(low16(-1), -1);
  EXPECT_EQ(low16(65536 + 5), 5);
  EXPECT_EQ(low8(300), 44);
  EXPECT_EQ(low8(-1), 255);
}

TEST(CellIndex, PositionsGoToTheCellCentredOnThem) {
  const struct {
    std::int32_t position, cell, lower;
  } cases[] = {{0, 1, 0},   {24, 1, 0},   {25, 2, 0},   {50, 2, 1},   {75, 2, 2},
               {76, 3, 2},  {124, 3, 2},  {125, 4, 2},  {175, 4, 4},  {127000, 2541, 2540},
               {-25, 0, 0}, {-26, 0, -1}, {-75, -0, -2}};
  for (const auto& c : cases) {
    EXPECT_EQ(cell_index(c.position), c.cell) << c.position;
    EXPECT_EQ(lower_cell_index(c.position), c.lower) << c.position;
  }
  EXPECT_EQ(cell_index(std::numeric_limits<std::int32_t>::max()), 42949674);
  EXPECT_EQ(cell_index(std::numeric_limits<std::int32_t>::min()), -42949672);
}

TEST(CellGrid, ReachesSevenKilometresBeyondTheLine) {
  const struct {
    std::int32_t length, last_index;
  } cases[] = {{358000, 7300}, {25, 140}, {3025, 200}, {3075, 202}, {1000000, 20140}, {0, 140}};
  for (const auto& c : cases) {
    EXPECT_EQ(grid_last_index_for_length(c.length), c.last_index) << c.length;
    const CellGrid grid = make_cell_grid(c.length);
    EXPECT_EQ(grid.last_index(), c.last_index);
    EXPECT_EQ(grid[grid.last_index()], TrackCell{});
  }
}

TEST(CellGrid, OnlyEmptyAndTunnelMarkerCellsAreFree) {
  for (int kind = 0; kind < 256; ++kind) {
    TrackCell cell;
    cell.kind = static_cast<std::uint8_t>(kind);
    EXPECT_EQ(cell_is_free(cell), kind == 0 || kind == 11) << kind;
  }
}

TEST(CellGrid, RangeRuleLeavesTwoCellsAtTheEnd) {
  // 50 * U - 100 is the last position that passes: 364900 for U = 7300.
  EXPECT_TRUE(position_in_range(364900, 7300));
  EXPECT_FALSE(position_in_range(364901, 7300));
  EXPECT_TRUE(position_in_range(364200, 7300, 800));
  EXPECT_FALSE(position_in_range(364201, 7300, 800));
  EXPECT_FALSE(position_in_range(std::numeric_limits<std::int32_t>::max(), 7300));
  EXPECT_TRUE(position_in_range(std::numeric_limits<std::int32_t>::min(), 7300));
}

}  // namespace
}  // namespace scenario
