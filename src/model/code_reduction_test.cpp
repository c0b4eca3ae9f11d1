#include "model/code_reduction.h"

#include <cstdint>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "model/placement.h"

namespace scenario {
namespace {

using Points = std::vector<std::pair<std::int32_t, std::int16_t>>;  // cell, val_a

CellGrid grid_of(std::int32_t last_index) {
  CellGrid grid;
  grid.cells.resize(static_cast<std::size_t>(last_index) + 1);
  return grid;
}

void put(CellGrid& grid, std::int32_t cell, std::uint8_t kind, std::int16_t val_a = 0) {
  grid[cell].kind = kind;
  grid[cell].val_a = val_a;
}

Points points(const CellGrid& grid) {
  Points found;
  for (std::int32_t c = 0; c <= grid.last_index(); ++c) {
    if (grid[c].kind == cell_kind::kReductionPoint) found.emplace_back(c, grid[c].val_a);
  }
  return found;
}

Points points_at(std::vector<std::int32_t> cells) {
  Points expected;
  for (std::int32_t c : cells) expected.emplace_back(c, 180);
  return expected;
}

// A status as a reader left it, so the tests see what the pass replaces.
BuildStatus reader_status() {
  return BuildStatus{status::kOutOfRange, 4200, SourceLine{"line.txt", 7}};
}

// ---- step A: signals before a warning board ----

TEST(CodeReductionPass, PointsBeforeSignalsWithin20CellsOfAWarningBoard) {
  CellGrid grid = grid_of(60);
  put(grid, 30, cell_kind::kWarningBoard);
  put(grid, 25, cell_kind::kSignal);
  put(grid, 12, cell_kind::kSignal);
  put(grid, 9, cell_kind::kSignal);  // 21 cells before: not treated
  BuildStatus status = reader_status();
  code_reduction_pass(grid, status);
  EXPECT_EQ(points(grid), points_at({11, 24}));
  EXPECT_EQ(status.code, status::kOutOfRange);
  EXPECT_TRUE(status.origin.has_value());
}

TEST(CodeReductionPass, SignalBeforeWarningBoardCases) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::int32_t, std::uint8_t>> objects;  // board at 30
    std::int16_t value_23;  // val_a put into cell 23
    Points expected;
    StatusCode code;
  };
  using K = std::pair<std::int32_t, std::uint8_t>;
  const Case cases[] = {
      {"cell before taken", {K{25, 1}, K{24, 6}}, 0, points_at({23}), status::kNone},
      {"point of 270 lowered", {K{25, 1}, K{24, 6}, K{23, 12}}, 270, Points{{23, 180}}, status::kNone},
      {"point of 75 kept", {K{25, 1}, K{24, 6}, K{23, 12}}, 75, Points{{23, 75}}, status::kNone},
      // The signal in 24 is treated too: its own point goes to 22.
      {"signal and point before", {K{25, 1}, K{24, 1}, K{23, 12}}, 270, points_at({22, 23}), status::kNone},
      {"tunnel marker yields", {K{25, 1}, K{24, 11}}, 0, points_at({24}), status::kNone},
      {"no room", {K{25, 1}, K{24, 6}, K{23, 14}}, 0, Points{}, status::kNoRoomBeforeSignal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CellGrid grid = grid_of(60);
    put(grid, 30, cell_kind::kWarningBoard);
    for (const auto& [cell, kind] : c.objects) put(grid, cell, kind);
    grid[23].val_a = c.value_23;
    BuildStatus status;
    code_reduction_pass(grid, status);
    EXPECT_EQ(points(grid), c.expected);
    EXPECT_EQ(status.code, c.code);
    if (c.code != 0) {
      EXPECT_EQ(status.position, 25 * 50);
    }
  }
}

TEST(CodeReductionPass, ExistingPointOneCellBeforeIsLoweredFirst) {
  CellGrid grid = grid_of(60);
  put(grid, 30, cell_kind::kWarningBoard);
  put(grid, 25, cell_kind::kSignal);
  put(grid, 24, cell_kind::kReductionPoint, 300);
  put(grid, 23, cell_kind::kReductionPoint, 250);
  BuildStatus status;
  code_reduction_pass(grid, status);
  EXPECT_EQ(points(grid), (Points{{23, 250}, {24, 180}}));
}

TEST(CodeReductionPass, SignalsInCellsOneAndTwoAreNeverTreated) {
  CellGrid grid = grid_of(60);
  put(grid, 10, cell_kind::kWarningBoard);
  put(grid, 3, cell_kind::kSignal);  // treated: cell 2 is taken, the point falls to 1
  put(grid, 2, cell_kind::kSignal);  // not treated: nothing goes to cell 0
  BuildStatus status;
  code_reduction_pass(grid, status);
  EXPECT_EQ(points(grid), points_at({1}));
  EXPECT_EQ(grid[0].kind, cell_kind::kNone);

  CellGrid only_low = grid_of(60);
  put(only_low, 10, cell_kind::kWarningBoard);
  put(only_low, 2, cell_kind::kSignal);
  code_reduction_pass(only_low, status);
  EXPECT_TRUE(points(only_low).empty());
}

TEST(CodeReductionPass, CodeSetByThePassReplacesTheReaderOriginAndThePassGoesOn) {
  CellGrid grid = grid_of(60);
  put(grid, 30, cell_kind::kWarningBoard);
  put(grid, 25, cell_kind::kSignal);
  put(grid, 24, cell_kind::kSpeedIndicator);
  put(grid, 23, cell_kind::kIndicationBoard);
  put(grid, 15, cell_kind::kSignal);  // treated after the code
  put(grid, 50, cell_kind::kWarningBoard);
  put(grid, 45, cell_kind::kSignal);
  BuildStatus status = reader_status();
  code_reduction_pass(grid, status);
  EXPECT_EQ(points(grid), points_at({14, 44}));
  EXPECT_EQ(status.code, status::kNoRoomBeforeSignal);
  EXPECT_EQ(status.position, 1250);
  EXPECT_FALSE(status.origin.has_value());
}

// ---- step B: the three bands before a start board ----

TEST(CodeReductionPass, BandsBeforeAStartBoard) {
  struct Case {
    std::int32_t start;
    std::vector<std::int32_t> taken;
    std::vector<std::int32_t> expected;
    StatusCode code;
  };
  const Case cases[] = {
      {7, {}, {}, status::kNone},
      {8, {}, {3}, status::kNone},
      {8, {3, 2}, {1}, status::kNone},  // cell 1 gets a point; the stamps refuse it later
      {8, {3, 2, 1}, {}, status::kBandFull},
      {13, {}, {8}, status::kNone},
      {14, {}, {3, 9}, status::kNone},
      {20, {}, {9, 15}, status::kNone},
      {21, {}, {3, 10, 16}, status::kNone},
      {40, {}, {22, 29, 35}, status::kNone},
      {40, {35}, {22, 29, 34}, status::kNone},
      {40, {35, 34, 33}, {22, 29}, status::kBandFull},  // the later bands still get points
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "start " << c.start << ", " << c.taken.size() << " taken");
    CellGrid grid = grid_of(60);
    put(grid, c.start, cell_kind::kStartBoard, 110);  // no walk at 110 km/h
    for (std::int32_t cell : c.taken) put(grid, cell, cell_kind::kSignal);
    BuildStatus status;
    code_reduction_pass(grid, status);
    EXPECT_EQ(points(grid), points_at(c.expected));
    EXPECT_EQ(status.code, c.code);
    if (c.code != 0) {
      EXPECT_EQ(status.position, c.start * 50);
    }
  }
}

// ---- steps C and D: the walk through a slow restriction and after it ----

TEST(CodeReductionPass, WalkPlacesAPointEveryEightCells) {
  CellGrid grid = grid_of(100);
  const std::int32_t i = 30;
  put(grid, i, cell_kind::kStartBoard, 60);
  put(grid, i + 40, cell_kind::kEndBoard, 60);
  BuildStatus status;
  code_reduction_pass(grid, status);
  // Bands 25, 19, 12; the 40th cell is the end board, so the last point
  // falls one cell before it.
  EXPECT_EQ(points(grid), points_at({12, 19, 25, i + 8, i + 16, i + 24, i + 32, i + 39}));
  EXPECT_EQ(status.code, 0);
}

TEST(CodeReductionPass, WalkOnlyBelow110KilometresPerHour) {
  for (const std::int16_t speed : {110, 105}) {
    SCOPED_TRACE(speed);
    CellGrid grid = grid_of(100);
    put(grid, 30, cell_kind::kStartBoard, speed);
    put(grid, 50, cell_kind::kEndBoard, speed);
    put(grid, 55, cell_kind::kSignal);
    BuildStatus status;
    code_reduction_pass(grid, status);
    if (speed == 110) {
      EXPECT_EQ(points(grid), points_at({12, 19, 25}));
    } else {
      EXPECT_EQ(points(grid), points_at({12, 19, 25, 38, 46, 54}));
    }
  }
}

TEST(CodeReductionPass, WalkFallsBackToTheNeighbouringCells) {
  struct Case {
    const char* name;
    std::vector<std::int32_t> taken;
    std::vector<std::int32_t> walk_points;
    StatusCode code;
  };
  // Start board 30, end board 70, no signal after it.
  const Case cases[] = {
      {"8th taken", {38}, {37, 45, 53, 61, 69}, status::kNone},
      {"8th and 7th taken", {38, 37}, {39, 47, 55, 63}, status::kNone},  // 71 is past the end
      {"no room", {38, 37, 39}, {}, status::kNoRoomInRestriction},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CellGrid grid = grid_of(100);
    put(grid, 30, cell_kind::kStartBoard, 60);
    put(grid, 70, cell_kind::kEndBoard, 60);
    for (std::int32_t cell : c.taken) put(grid, cell, cell_kind::kSpeedIndicator);
    BuildStatus status;
    code_reduction_pass(grid, status);
    std::vector<std::int32_t> expected = {12, 19, 25};
    expected.insert(expected.end(), c.walk_points.begin(), c.walk_points.end());
    EXPECT_EQ(points(grid), points_at(expected));
    EXPECT_EQ(status.code, c.code);
    if (c.code != 0) {
      EXPECT_EQ(status.position, 38 * 50);
    }
  }
}

TEST(CodeReductionPass, PointAfterTheEndBeforeTheFirstSignal) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::int32_t, std::uint8_t>> objects;
    std::vector<std::int32_t> after;
    StatusCode code;
  };
  using K = std::pair<std::int32_t, std::uint8_t>;
  // Start board 30, end board 34: a walk too short for a point.
  const Case cases[] = {
      {"signal 12 cells after", {K{46, 1}}, {45}, status::kNone},
      {"signal 13 cells after", {K{47, 1}}, {}, status::kNone},
      {"first signal only", {K{40, 1}, K{44, 1}}, {39}, status::kNone},
      {"cell before taken", {K{40, 1}, K{39, 6}}, {38}, status::kNone},
      {"no room", {K{40, 1}, K{39, 6}, K{38, 14}}, {}, status::kNoRoomInRestriction},
      {"signal right after the end board", {K{35, 1}}, {33}, status::kNone},  // 34 holds the end board
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CellGrid grid = grid_of(100);
    put(grid, 30, cell_kind::kStartBoard, 60);
    put(grid, 34, cell_kind::kEndBoard, 60);
    for (const auto& [cell, kind] : c.objects) put(grid, cell, kind);
    BuildStatus status;
    code_reduction_pass(grid, status);
    std::vector<std::int32_t> expected = {12, 19, 25};
    expected.insert(expected.end(), c.after.begin(), c.after.end());
    EXPECT_EQ(points(grid), points_at(expected));
    EXPECT_EQ(status.code, c.code);
    if (c.code != 0) {
      EXPECT_EQ(status.position, 34 * 50);
    }
  }
}

// ---- the ends of the grid ----

TEST(CodeReductionPass, WalkWithoutEndBoardStopsAtTheLastCell) {
  CellGrid grid = grid_of(40);
  put(grid, 30, cell_kind::kStartBoard, 60);
  put(grid, 39, cell_kind::kSignal);
  BuildStatus status;
  code_reduction_pass(grid, status);
  // Walk point at 38; the signal in 39 is no end board, so the walk runs on
  // to cell 40 and step D, searching from there, finds nothing.
  EXPECT_EQ(points(grid), points_at({12, 19, 25, 38}));
  EXPECT_EQ(status.code, 0);
  EXPECT_EQ(grid.cells.size(), 41u);
}

TEST(CodeReductionPass, FallbackPastTheLastCellIsNotTried) {
  CellGrid grid = grid_of(40);
  put(grid, 32, cell_kind::kStartBoard, 60);
  put(grid, 40, cell_kind::kSignal);
  put(grid, 39, cell_kind::kSpeedIndicator);
  BuildStatus status;
  code_reduction_pass(grid, status);
  // The 8th cell is the last one: 40 and 39 are taken and 41 is not tried.
  EXPECT_EQ(status.code, status::kNoRoomInRestriction);
  EXPECT_EQ(status.position, 2000);
  // Step D from cell 40 finds the signal there; 39 is taken, so 38 gets the point.
  EXPECT_EQ(points(grid), points_at({14, 21, 27, 38}));
}

TEST(CodeReductionPass, SmallGridsAndObjectsAtTheEdges) {
  for (const std::int32_t last : {0, 1, 2, 3, 4}) {
    SCOPED_TRACE(last);
    CellGrid grid = grid_of(last);
    for (std::int32_t c = 0; c <= last; ++c) {
      put(grid, c, c % 2 == 0 ? cell_kind::kStartBoard : cell_kind::kWarningBoard, 10);
    }
    BuildStatus status;
    code_reduction_pass(grid, status);
    EXPECT_TRUE(points(grid).empty());
  }
  // A start board in the last cell the loop visits (N - 2) and one in a cell
  // it skips; the walk stops at N, where step D finds a signal with both
  // cells before it taken.
  CellGrid grid = grid_of(30);
  put(grid, 28, cell_kind::kStartBoard, 10);
  put(grid, 29, cell_kind::kStartBoard, 10);
  put(grid, 30, cell_kind::kSignal);
  BuildStatus status;
  code_reduction_pass(grid, status);
  EXPECT_EQ(points(grid), points_at({10, 17, 23}));
  EXPECT_EQ(status.code, status::kNoRoomInRestriction);
  EXPECT_EQ(status.position, 1500);
  EXPECT_EQ(grid.cells.size(), 31u);
}

TEST(CodeReductionPass, RunsOnWhatThePlacementRoutinesWrite) {
  // The restriction of the worked example, with a signal 11 cells after its end.
  CellGrid grid = make_cell_grid(358000);
  BuildStatus status;
  memo_rallentamento(grid, status, 180950, 40, 200, 0, 1, 40);
  memo_segnale(grid, status, 181700, 2, 4, 1, 0, 0, 1, 3, 1, 0, 0);  // cell 3635
  ASSERT_EQ(status.code, 0);
  code_reduction_pass(grid, status);
  EXPECT_EQ(points(grid), points_at({3602, 3609, 3615, 3634}));
  EXPECT_EQ(status.code, 0);
}

}  // namespace
}  // namespace scenario
