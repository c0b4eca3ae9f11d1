#include "model/placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace scenario {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

CellGrid grid_of(std::int32_t last_index) {
  CellGrid grid;
  grid.cells.resize(static_cast<std::size_t>(last_index) + 1);
  return grid;
}

std::vector<std::int32_t> cells_of_kind(const CellGrid& grid, std::uint8_t kind) {
  std::vector<std::int32_t> found;
  for (std::int32_t c = 0; c <= grid.last_index(); ++c) {
    if (grid[c].kind == kind) found.push_back(c);
  }
  return found;
}

std::vector<std::int32_t> tunnel_cells(const CellGrid& grid) {
  std::vector<std::int32_t> found;
  for (std::int32_t c = 0; c <= grid.last_index(); ++c) {
    if (grid[c].tunnel != 0) found.push_back(c);
  }
  return found;
}

std::vector<std::int32_t> range(std::int32_t from, std::int32_t to, std::int32_t step = 1) {
  std::vector<std::int32_t> values;
  for (std::int32_t v = from; v <= to; v += step) values.push_back(v);
  return values;
}

// ---- memo_montagna ----

TEST(MemoMontagna, TypeAboveTenMarksEveryFourthEmptyCell) {
  CellGrid grid = make_cell_grid(358000);
  TunnelList tunnels;
  std::int32_t tipo = 11;
  memo_montagna(grid, tunnels, 135400, 137400, tipo);

  EXPECT_EQ(tipo, 1);
  EXPECT_EQ(tunnel_cells(grid), range(2708, 2747));
  EXPECT_EQ(grid[2708].tunnel, 1);
  EXPECT_EQ(cells_of_kind(grid, cell_kind::kTunnelMarker), range(2711, 2747, 4));
}

TEST(MemoMontagna, TypeUpToTenPutsNoMarkers) {
  CellGrid grid = make_cell_grid(10000);
  TunnelList tunnels;
  std::int32_t tipo = 10;
  memo_montagna(grid, tunnels, 1000, 3000, tipo);
  EXPECT_EQ(tunnel_cells(grid), range(20, 59));
  EXPECT_EQ(grid[20].tunnel, 10);
  EXPECT_TRUE(cells_of_kind(grid, cell_kind::kTunnelMarker).empty());
}

TEST(MemoMontagna, MarkerGoesOnlyOntoEmptyCells) {
  CellGrid grid = make_cell_grid(10000);
  grid[23].kind = cell_kind::kSpeedIndicator;  // the 4th cell from 20
  grid[23].val_a = 2020;
  grid[27].kind = cell_kind::kIndicationBoard;
  TunnelList tunnels;
  std::int32_t tipo = 12;
  memo_montagna(grid, tunnels, 1000, 2000, tipo);

  EXPECT_EQ(grid[23].kind, cell_kind::kSpeedIndicator);
  EXPECT_EQ(grid[23].val_a, 2020);
  EXPECT_EQ(grid[23].tunnel, 2);
  EXPECT_EQ(grid[27].kind, cell_kind::kIndicationBoard);
  EXPECT_EQ(cells_of_kind(grid, cell_kind::kTunnelMarker), (std::vector<std::int32_t>{31, 35, 39}));
}

TEST(MemoMontagna, GapRuleGivesTypeThree) {
  struct Case {
    std::int32_t second_start, second_end;
    std::int32_t second_tipo;
    std::int32_t expected_type;
  };
  // The first tunnel ends at 2000 m.
  const Case cases[] = {
      {2150, 3000, 5, 3},   // a gap of exactly 150 m still counts
      {2151, 3000, 5, 5},   // 151 m keeps the source's type
      {1900, 3000, 5, 3},   // starting before the previous end
      {2100, 3000, 14, 3},  // the gap rule replaces the type; markers stay on
      {kMin, kMin, 5, 3},
      {kMax, kMax, 5, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.second_start);
    CellGrid grid = make_cell_grid(10000);
    TunnelList tunnels;
    std::int32_t first = 6;
    memo_montagna(grid, tunnels, 1000, 2000, first);
    EXPECT_EQ(first, 6);
    std::int32_t second = c.second_tipo;
    memo_montagna(grid, tunnels, c.second_start, c.second_end, second);
    EXPECT_EQ(second, c.expected_type);
    EXPECT_EQ(tunnels.count, 2);
    EXPECT_EQ(tunnels.last_end, c.second_end);
  }
  // Markers kept on by a type above 10 survive the gap rule.
  CellGrid grid = make_cell_grid(10000);
  TunnelList tunnels;
  std::int32_t tipo = 1;
  memo_montagna(grid, tunnels, 1000, 2000, tipo);
  tipo = 14;
  memo_montagna(grid, tunnels, 2100, 2500, tipo);  // cells 42..49
  EXPECT_EQ(grid[42].tunnel, 3);
  EXPECT_EQ(cells_of_kind(grid, cell_kind::kTunnelMarker), (std::vector<std::int32_t>{45, 49}));
}

TEST(MemoMontagna, GapIsMeasuredFromThePreviousTunnelOnly) {
  CellGrid grid = make_cell_grid(20000);
  TunnelList tunnels;
  std::int32_t tipo = 4;
  memo_montagna(grid, tunnels, 1000, 5000, tipo);
  tipo = 4;
  memo_montagna(grid, tunnels, 6000, 7000, tipo);
  tipo = 4;
  // 100 m after the first tunnel's end, but 1000 m before the second's.
  memo_montagna(grid, tunnels, 5100, 5200, tipo);
  EXPECT_EQ(tipo, 3);
  tipo = 4;
  memo_montagna(grid, tunnels, 5500, 6000, tipo);
  EXPECT_EQ(tipo, 4);
  EXPECT_EQ(tunnels.count, 4);
}

TEST(MemoMontagna, EmptySpanWritesNothingButCounts) {
  CellGrid grid = make_cell_grid(10000);
  const CellGrid before = grid;
  TunnelList tunnels;
  std::int32_t tipo = 11;
  memo_montagna(grid, tunnels, 1000, 1000, tipo);  // cells 20..19
  EXPECT_EQ(grid.cells, before.cells);
  EXPECT_EQ(tunnels.count, 1);
  EXPECT_EQ(tunnels.last_end, 1000);
}

TEST(MemoMontagna, SpanIsClippedToTheGridAndMarkersKeepTheirPlaces) {
  CellGrid grid = grid_of(40);
  TunnelList tunnels;
  std::int32_t tipo = 11;
  // First cell -10: the count runs -10, -9, ... so the markers are on
  // -7, -3, 1, 5, ... and the span reaches cell 60, past N = 40.
  memo_montagna(grid, tunnels, -500, 3050, tipo);
  EXPECT_EQ(tunnel_cells(grid), range(0, 40));
  EXPECT_EQ(cells_of_kind(grid, cell_kind::kTunnelMarker), range(1, 37, 4));
}

TEST(MemoMontagna, ExtremeArgumentsStayInsideTheGrid) {
  const std::int32_t spans[][2] = {{kMin, kMax}, {kMax, kMax}, {kMin, kMin}, {kMax, kMin}};
  for (const auto& span : spans) {
    CellGrid grid = grid_of(12);
    TunnelList tunnels;
    std::int32_t tipo = kMax;
    memo_montagna(grid, tunnels, span[0], span[1], tipo);
    EXPECT_EQ(grid.cells.size(), 13u);
    tipo = kMin;
    memo_montagna(grid, tunnels, span[0], span[1], tipo);
  }
  CellGrid grid = grid_of(12);
  TunnelList tunnels;
  std::int32_t tipo = 11 + 256;  // the stored type keeps its low 8 bits
  memo_montagna(grid, tunnels, kMin, kMax, tipo);
  EXPECT_EQ(tunnel_cells(grid), range(0, 12));
  EXPECT_EQ(grid[5].tunnel, 1);
}

// ---- memo_indicatori_v_max ----

TEST(MemoIndicatoriVMax, PacksBothSidesIntoOneCell) {
  CellGrid grid = make_cell_grid(358000);
  BuildStatus status;
  EXPECT_TRUE(memo_indicatori_v_max(grid, status, 130200, 100, 105, 110, 2, 100, 105, 110, 2));
  EXPECT_EQ(status.code, 0);
  const TrackCell& cell = grid[2605];
  EXPECT_EQ(cell.kind, cell_kind::kSpeedIndicator);
  EXPECT_EQ(cell.val_a, 2020);
  EXPECT_EQ(cell.val_b, 2121);
  EXPECT_EQ(cell.val_c, 2222);
  EXPECT_EQ(cell.val_d, 22);
}

TEST(MemoIndicatoriVMax, PackingRoundsAndStaysWithinSixteenBits) {
  struct Case {
    std::int32_t vs, vd;
    bool ok;
    std::int16_t packed;
  };
  const Case cases[] = {
      {60, 13, true, 1203},        // 2.6 rounds up
      {60, 12, true, 1202},        // 2.4 rounds down
      {0, -13, true, -3},
      {1638, 35, true, 32767},     // the largest value that fits
      {1638, 38, false, 0},        // 32767.6 rounds to 32768
      {-1638, -40, true, -32768},  // the smallest
      {-1638, -45, false, 0},
      {1639, 0, false, 0},
      {kMax, kMax, false, 0},      // no overflow on the way
      {kMin, kMin, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.vs << "/" << c.vd);
    CellGrid grid = grid_of(20);
    const CellGrid before = grid;
    BuildStatus status;
    // The case is tried as speeds c only, so a and b pass before it fails.
    const bool ok = memo_indicatori_v_max(grid, status, 500, 0, 0, c.vs, 0, 0, 0, c.vd, 0);
    EXPECT_EQ(ok, c.ok);
    EXPECT_EQ(status.code, 0);
    if (c.ok) {
      EXPECT_EQ(grid[11].val_c, c.packed);
    } else {
      EXPECT_EQ(grid.cells, before.cells);
    }
  }
}

TEST(MemoIndicatoriVMax, StripesKeepTheirLowSixteenBits) {
  CellGrid grid = grid_of(20);
  BuildStatus status;
  ASSERT_TRUE(memo_indicatori_v_max(grid, status, 500, 0, 0, 0, kMax, 0, 0, 0, kMax));
  // (2^31 - 1) * 11 = 0x57FFFFFF5: low 16 bits 0xFFF5.
  EXPECT_EQ(grid[11].val_d, -11);
}

TEST(MemoIndicatoriVMax, TakenOrOutsideCellIsRefusedWith21) {
  struct Case {
    std::int32_t posizione;
    std::uint8_t existing_kind;  // put into cell 11 first
  };
  const Case cases[] = {
      {500, cell_kind::kSignal},
      {500, cell_kind::kReductionPoint},
      {1000, cell_kind::kNone},  // cell 21, one past N
      {-100, cell_kind::kNone},  // cell -1
      {kMax, cell_kind::kNone},
      {kMin, cell_kind::kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.posizione);
    CellGrid grid = grid_of(20);
    grid[11].kind = c.existing_kind;
    const CellGrid before = grid;
    BuildStatus status;
    // Even a packing that would fail gives 21 when the cell is refused.
    EXPECT_TRUE(memo_indicatori_v_max(grid, status, c.posizione, 100, 100, kMax, 1, 100, 100,
                                      100, 1));
    EXPECT_EQ(status.code, status::kSpeedIndicatorTaken);
    EXPECT_EQ(status.position, 0);
    EXPECT_EQ(grid.cells, before.cells);
  }
}

TEST(MemoIndicatoriVMax, TunnelMarkerYieldsItsCell) {
  CellGrid grid = grid_of(20);
  grid[20].kind = cell_kind::kTunnelMarker;
  grid[20].tunnel = 2;
  BuildStatus status;
  EXPECT_TRUE(memo_indicatori_v_max(grid, status, 950, 50, 50, 50, 0, 50, 50, 50, 1));
  EXPECT_EQ(status.code, 0);
  EXPECT_EQ(grid[20].kind, cell_kind::kSpeedIndicator);
  EXPECT_EQ(grid[20].val_a, 1010);
  EXPECT_EQ(grid[20].val_d, 1);
  EXPECT_EQ(grid[20].tunnel, 2);
}

// ---- memo_segnale ----

TEST(MemoSegnale, WritesSignalAndApproachCells) {
  CellGrid grid = make_cell_grid(358000);
  BuildStatus status;
  memo_segnale(grid, status, 127000, 2, 4, 1, 0, 0, 1, 3, 1, 0, 0);
  EXPECT_EQ(status.code, 0);
  const TrackCell& cell = grid[2541];
  EXPECT_EQ(cell.kind, cell_kind::kSignal);
  EXPECT_EQ(cell.val_a, 43);
  EXPECT_EQ(cell.val_b, 11);
  EXPECT_EQ(cell.val_c, 0);
  EXPECT_EQ(cell.val_d, 7);
  EXPECT_EQ(cell.timer, 0);
  EXPECT_EQ(cell.approach, 0);
  EXPECT_EQ(grid[2539].approach, 71);
  EXPECT_EQ(grid[2537].approach, 72);
  EXPECT_EQ(grid[2535].approach, 73);
  EXPECT_EQ(grid[2533].approach, 74);
  EXPECT_EQ(grid[2540].approach, 0);
  EXPECT_EQ(grid[2531].approach, 0);
  EXPECT_EQ(grid[2539].kind, cell_kind::kNone);
}

TEST(MemoSegnale, TimerFollowsTheTimeValueRule) {
  struct Case {
    std::int32_t sx, tempo;
    std::uint8_t timer;
  };
  const Case cases[] = {
      {2, 1, 101},   {2, 100, 101}, {2, 50, 101}, {2, 0, 0},   {2, 101, 101},
      {2, 255, 255}, {2, 300, 44},  {2, -5, 251}, {1, 50, 0},  {0, 200, 0},
      {2, kMax, 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "sx " << c.sx << " tempo " << c.tempo);
    CellGrid grid = grid_of(20);
    BuildStatus status;
    memo_segnale(grid, status, 500, c.sx, 0, 0, 0, 0, 0, 0, 0, 0, c.tempo);
    EXPECT_EQ(grid[11].timer, c.timer);
  }
}

TEST(MemoSegnale, ChangesOnlyKindValuesAndTimerOfItsCell) {
  CellGrid grid = grid_of(20);
  TrackCell& cell = grid[11];
  cell.kind = cell_kind::kTunnelMarker;
  cell.approach = 33;
  cell.tunnel = 3;
  cell.speed_limit = 20;
  cell.gradient = 94;
  cell.adhesion = 7;
  grid[9].kind = cell_kind::kSpeedIndicator;  // approach cells take no free test
  grid[9].approach = 55;                      // and replace an earlier code
  BuildStatus status;
  memo_segnale(grid, status, 500, 2, 1, 2, 3, 4, 2, 5, 6, 7, 9);

  EXPECT_EQ(status.code, 0);
  EXPECT_EQ(cell, (TrackCell{cell_kind::kSignal, 15, 26, 37, 48, 101, 33, 3, 20, 94, 7}));
  EXPECT_EQ(grid[9].kind, cell_kind::kSpeedIndicator);
  EXPECT_EQ(grid[9].approach, 81);
  EXPECT_EQ(grid[3].approach, 84);
}

TEST(MemoSegnale, TakenOrOutsideCellIsRefusedWith16) {
  struct Case {
    std::int32_t posizione;
    std::uint8_t existing_kind;  // put into cell 11 first
  };
  const Case cases[] = {
      {500, cell_kind::kSignal},    {500, cell_kind::kStopMarker}, {500, cell_kind::kCodeCut},
      {1000, cell_kind::kNone},     {-100, cell_kind::kNone},      {kMax, cell_kind::kNone},
      {kMin, cell_kind::kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.posizione);
    CellGrid grid = grid_of(20);
    grid[11].kind = c.existing_kind;
    const CellGrid before = grid;
    BuildStatus status;
    memo_segnale(grid, status, c.posizione, 2, 1, 1, 1, 1, 2, 1, 1, 1, 1);
    EXPECT_EQ(status.code, status::kSignalTaken);
    EXPECT_EQ(grid.cells, before.cells);  // approach cells included
  }
}

TEST(MemoSegnale, ApproachCellsBeforeTheGridAreSkipped) {
  struct Case {
    std::int32_t posizione;
    std::int32_t cell;
    std::vector<std::int32_t> approach_cells;
  };
  const Case cases[] = {
      {0, 1, {}},
      {100, 3, {1}},
      {250, 6, {4, 2, 0}},
      {350, 8, {6, 4, 2, 0}},
      {950, 20, {18, 16, 14, 12}},  // the last cell of the grid
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.posizione);
    CellGrid grid = grid_of(20);
    BuildStatus status;
    memo_segnale(grid, status, c.posizione, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0);
    EXPECT_EQ(status.code, 0);
    EXPECT_EQ(grid[c.cell].kind, cell_kind::kSignal);
    std::vector<std::int32_t> marked;
    for (std::int32_t k = 0; k <= grid.last_index(); ++k) {
      if (grid[k].approach != 0) marked.push_back(k);
    }
    std::vector<std::int32_t> expected = c.approach_cells;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(marked, expected);
    for (std::size_t k = 0; k < c.approach_cells.size(); ++k) {
      EXPECT_EQ(grid[c.approach_cells[k]].approach, static_cast<int>(11 + k));
    }
  }
}

TEST(MemoSegnale, ExtremeValuesKeepTheirLowBits) {
  CellGrid grid = grid_of(20);
  BuildStatus status;
  memo_segnale(grid, status, 950, kMax, kMax, kMin, 3276, kMax, kMax, kMax, kMin, 7, 0);
  const TrackCell& cell = grid[20];
  // types = 3 * (2^31 - 1) + (2^31 - 1) = 0x1FFFFFFFC.
  EXPECT_EQ(cell.val_a, -11);      // 11 * (2^31 - 1) = 0x57FFFFFF5
  EXPECT_EQ(cell.val_b, 0);        // 11 * -2^31 = -0x580000000
  EXPECT_EQ(cell.val_c, 32767);    // 32760 + 7
  EXPECT_EQ(cell.val_d, -14);      // 0x4FFFFFFF6 + 0x1FFFFFFFC = 0x6FFFFFFF2
  EXPECT_EQ(grid[18].approach, 217);  // 0x13FFFFFFD8 + 1
  EXPECT_EQ(cell.timer, 0);
}

// ---- memo_rallentamento ----

TEST(MemoRallentamento, WritesBoardsAndPreWarningCells) {
  CellGrid grid = make_cell_grid(358000);
  BuildStatus status;
  memo_rallentamento(grid, status, 180950, 40, 200, 0, 1, 40);
  EXPECT_EQ(status.code, 0);
  EXPECT_EQ(grid[3596], (TrackCell{cell_kind::kWarningBoard, 40, 40, 0, 0}));
  EXPECT_EQ(grid[3620], (TrackCell{cell_kind::kStartBoard, 40, 40, 0, 0}));
  EXPECT_EQ(grid[3624], (TrackCell{cell_kind::kEndBoard, 40, 40, 0, 0}));
  for (std::int16_t n = 1; n <= 4; ++n) {
    EXPECT_EQ(grid[3596 - n], (TrackCell{cell_kind::kPreWarning, n, n, 0, 0}));
  }
  EXPECT_EQ(grid[3591].kind, cell_kind::kNone);
  EXPECT_EQ(cells_of_kind(grid, cell_kind::kNone).size(), grid.cells.size() - 7);
}

TEST(MemoRallentamento, StoresFlagAndRightHandSpeed) {
  CellGrid grid = grid_of(200);
  BuildStatus status;
  memo_rallentamento(grid, status, 5000, 60, 500, 1, 1, 0);
  EXPECT_EQ(status.code, 0);
  // No right-hand speed: val_b stays as it was; f_tt only on start and end.
  EXPECT_EQ(grid[77], (TrackCell{cell_kind::kWarningBoard, 60, 0, 0, 0}));
  EXPECT_EQ(grid[101], (TrackCell{cell_kind::kStartBoard, 60, 0, 1, 0}));
  EXPECT_EQ(grid[111], (TrackCell{cell_kind::kEndBoard, 60, 0, 1, 0}));
  EXPECT_EQ(grid[76], (TrackCell{cell_kind::kPreWarning, 1, 0, 0, 0}));
  EXPECT_EQ(grid[73], (TrackCell{cell_kind::kPreWarning, 4, 0, 0, 0}));
}

TEST(MemoRallentamento, WarningBoardOnlyAfter1500Metres) {
  struct Case {
    std::int32_t x;
    std::int32_t f_ta;
    std::vector<std::int32_t> warning, pre_warning;
  };
  const Case cases[] = {
      {1500, 1, {}, {}},
      {1501, 0, {7}, {}},
      {1550, 1, {8}, {4, 5, 6, 7}},
      {1550, 0, {8}, {}},
      {1625, 1, {10}, {5, 6, 7, 8}},  // (x - 1200) / 50 = 8.5 and 9.5 round apart
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    CellGrid grid = grid_of(100);
    BuildStatus status;
    memo_rallentamento(grid, status, c.x, 30, 300, 0, c.f_ta, 0);
    EXPECT_EQ(status.code, 0);
    EXPECT_EQ(cells_of_kind(grid, cell_kind::kWarningBoard), c.warning);
    EXPECT_EQ(cells_of_kind(grid, cell_kind::kPreWarning), c.pre_warning);
    EXPECT_EQ(cells_of_kind(grid, cell_kind::kStartBoard).size(), 1u);
    EXPECT_EQ(cells_of_kind(grid, cell_kind::kEndBoard).size(), 1u);
  }
}

TEST(MemoRallentamento, StartAndEndInOneCellLeaveAStartBoard) {
  for (const std::int32_t l : {0, 20}) {
    CellGrid grid = grid_of(100);
    BuildStatus status;
    memo_rallentamento(grid, status, 2000, 30, l, 1, 0, 25);
    EXPECT_EQ(status.code, 0);
    EXPECT_EQ(cells_of_kind(grid, cell_kind::kStartBoard), (std::vector<std::int32_t>{41}));
    EXPECT_TRUE(cells_of_kind(grid, cell_kind::kEndBoard).empty());
    EXPECT_EQ(grid[41], (TrackCell{cell_kind::kStartBoard, 30, 25, 1, 0}));
  }
}

TEST(MemoRallentamento, RefusedBoardWritesNothing) {
  struct Case {
    const char* name;
    std::int32_t x, l;
    std::int32_t taken_cell;  // -1: none
    StatusCode code;
  };
  // x 5000: warning board 77, start 101, end 101 + l / 50.
  const Case cases[] = {
      {"warning taken", 5000, 500, 77, status::kWarningBoardTaken},
      {"start taken", 5000, 500, 101, status::kStartBoardTaken},
      {"end taken", 5000, 500, 111, status::kEndBoardTaken},
      {"start taken, no warning", 1000, 500, 21, status::kStartBoardTaken},
      {"end past the grid", 5000, 5000, -1, status::kEndBoardTaken},
      {"end before the grid", 5000, -6000, -1, status::kEndBoardTaken},
      {"end far past", 5000, kMax, -1, status::kEndBoardTaken},
      {"start past the grid", 10000, 0, -1, status::kStartBoardTaken},
      {"warning past the grid", kMax, kMax, -1, status::kWarningBoardTaken},
      {"start before the grid", kMin, 0, -1, status::kStartBoardTaken},
      {"start before the grid, end far", kMin, kMax, -1, status::kStartBoardTaken},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CellGrid grid = grid_of(200);
    if (c.taken_cell >= 0) grid[c.taken_cell].kind = cell_kind::kSpeedIndicator;
    const CellGrid before = grid;
    BuildStatus status;
    memo_rallentamento(grid, status, c.x, 60, c.l, 1, 1, 60);
    EXPECT_EQ(status.code, c.code);
    EXPECT_EQ(grid.cells, before.cells);
  }
}

TEST(MemoRallentamento, TakenPreWarningCellLeavesTheBoards) {
  CellGrid grid = grid_of(200);
  grid[74].kind = cell_kind::kSignal;  // pre-warning cells are 76..73
  BuildStatus status;
  memo_rallentamento(grid, status, 5000, 60, 500, 0, 1, 0);
  EXPECT_EQ(status.code, status::kPreWarningTaken);
  EXPECT_EQ(grid[77].kind, cell_kind::kWarningBoard);
  EXPECT_EQ(grid[101].kind, cell_kind::kStartBoard);
  EXPECT_EQ(grid[111].kind, cell_kind::kEndBoard);
  EXPECT_TRUE(cells_of_kind(grid, cell_kind::kPreWarning).empty());
}

TEST(MemoRallentamento, PreWarningBaseOnTheWarningBoardAlwaysFails) {
  // (x - 1200) mod 100 = 75: both roundings land on the warning board's cell.
  for (const std::int32_t x : {1575, 2275, 5075}) {
    SCOPED_TRACE(x);
    CellGrid grid = grid_of(200);
    BuildStatus status;
    memo_rallentamento(grid, status, x, 60, 500, 0, 1, 0);
    EXPECT_EQ(status.code, status::kPreWarningTaken);
    EXPECT_EQ(cells_of_kind(grid, cell_kind::kWarningBoard).size(), 1u);
    EXPECT_TRUE(cells_of_kind(grid, cell_kind::kPreWarning).empty());
  }
}

TEST(MemoRallentamento, ValuesKeepTheirLowSixteenBits) {
  CellGrid grid = grid_of(200);
  BuildStatus status;
  memo_rallentamento(grid, status, 5000, 65536 + 40, 500, 65536 + 1, 1, -65536 - 2);
  EXPECT_EQ(status.code, 0);
  EXPECT_EQ(grid[101], (TrackCell{cell_kind::kStartBoard, 40, -2, 1, 0}));
  EXPECT_EQ(grid[77], (TrackCell{cell_kind::kWarningBoard, 40, -2, 0, 0}));
  EXPECT_EQ(grid[75], (TrackCell{cell_kind::kPreWarning, 2, 2, 0, 0}));
}

TEST(MemoRallentamento, BoardsAtTheLastCellOfTheGrid) {
  CellGrid grid = grid_of(200);
  BuildStatus status;
  memo_rallentamento(grid, status, 9900, 60, 50, 0, 1, 0);  // start 199, end 200 = N
  EXPECT_EQ(status.code, 0);
  EXPECT_EQ(grid[199].kind, cell_kind::kStartBoard);
  EXPECT_EQ(grid[200].kind, cell_kind::kEndBoard);
  EXPECT_EQ(grid[175].kind, cell_kind::kWarningBoard);
}

}  // namespace
}  // namespace scenario
