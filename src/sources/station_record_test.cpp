#include "sources/station_record.h"

#include <gtest/gtest.h>

#include <string>

namespace scenario {
namespace {

constexpr std::int32_t kUnchanged = 4242;  // a position no station records

class StationRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { status.position = kUnchanged; }

  EntryEnd read(const std::string& fields) {
    FieldReader reader(fields);
    return read_station_record(reader, table, grid, status, rows, origin);
  }

  // A record with the given position, kind, length and options; the
  // parameter groups, standing and scheduled time are 0.
  static std::string station(std::int32_t p, std::int32_t kind, std::int32_t length,
                             std::int32_t byte_c = 0, std::int32_t byte_d = 0) {
    return std::to_string(p) + ", " + std::to_string(kind) + ", " + std::to_string(length) +
           ", 0, " + std::to_string(byte_d) + ", " + std::to_string(byte_c) +
           ", 0,0,0, 0,0,0, 0, 0,0,0, Borgo Sereno\r\n";
  }

  // Makes the next station the second one, after a first that ended at 0.
  void after_first_station() { rows.counter = 2; }

  RecordTable table;
  CellGrid grid = make_cell_grid(358000);  // cells 0..7300
  BuildStatus status;
  StationRows rows;
  const SourceLine origin{"Orvale_Varcona_593-.txt", 7};
};

TEST_F(StationRecordTest, StoresEveryFieldOfTheRecord) {
  after_first_station();
  ASSERT_EQ(read("121050, 12, 600, 7, 9, 1, 1,2,3, 4,5,-6, 30, 14,50,0, Miralto\r\n"),
            EntryEnd::kGoOn);
  TableRow expected;
  expected.kind = 12;
  expected.num_a = 120750;
  expected.num_b = 121400;  // 121350 and the end extension
  expected.num_c = 121050;
  expected.flag = 7;
  expected.text = "Miralto";
  expected.word_a = 1;
  expected.word_b = 2;
  expected.byte_a = 3;
  expected.word_c = 4;
  expected.word_d = 5;
  expected.word_e = -6;
  expected.byte_b = 30;
  expected.byte_c = 1;
  expected.byte_d = 9;
  expected.num_d = 53400;
  EXPECT_EQ(table.rows[2], expected);
  EXPECT_EQ(grid[2427].kind, cell_kind::kStopMarker);
  EXPECT_EQ(grid[2427].val_a, 2);
  EXPECT_EQ(rows.counter, 3);
  EXPECT_EQ(status.code, 0);
}

struct ExtentCase {
  std::int32_t kind, p, length, byte_c;
  std::int32_t num_a, num_b;
  std::int32_t stop;  // stop-marker cell, or -1 for none
  bool approach;
};

TEST_F(StationRecordTest, ExtentAndGridMarksFollowTheKind) {
  const ExtentCase cases[] = {
      {12, 1500, 400, 0, 1300, 1700, 33, true},
      {12, 1500, 400, 1, 1300, 1750, 34, true},  // end extension: marks one cell later
      {24, 1500, 400, 0, 1300, 1700, 33, true},
      {5, 10000, 300, 1, 9700, 10150, 202, false},
      {6, 10000, 300, 0, 9700, 10150, 202, false},
      {7, 10000, 300, 1, 9700, 10300, 205, true},
      {8, 10000, 300, 0, 9700, 10300, 205, true},
      {25, 1500, 400, 0, 1300, 1700, -1, false},
      {28, 1500, 400, 1, 1300, 1750, -1, false},
  };
  for (const ExtentCase& c : cases) {
    SCOPED_TRACE("kind " + std::to_string(c.kind) + " byte_c " + std::to_string(c.byte_c));
    table = RecordTable{};
    grid = make_cell_grid(358000);
    rows = StationRows{};
    ASSERT_EQ(read(station(c.p, c.kind, c.length, c.byte_c, 1)), EntryEnd::kGoOn);
    const TableRow& row = table.rows[1];
    EXPECT_EQ(row.num_a, c.num_a);
    EXPECT_EQ(row.num_b, c.num_b);
    EXPECT_EQ(row.byte_c, 0);  // the first station never keeps it
    for (std::int32_t i = 0; i <= grid.last_index(); ++i) {
      const std::int32_t before_stop = c.stop - i;
      const bool is_approach = c.approach && before_stop >= 1 && before_stop <= 4;
      ASSERT_EQ(grid[i].approach, is_approach ? 80 + before_stop : 0) << "cell " << i;
      ASSERT_EQ(grid[i].kind, i == c.stop ? cell_kind::kStopMarker : 0) << "cell " << i;
      ASSERT_EQ(grid[i].val_a, i == c.stop ? 1 : 0) << "cell " << i;
    }
  }
}

struct OptionCase {
  bool first;
  std::int32_t kind, length;
  std::uint8_t byte_c, byte_d;  // as stored
};

TEST_F(StationRecordTest, OptionBytesFollowKindLengthAndFirstStation) {
  const OptionCase cases[] = {
      {false, 12, 600, 1, 1}, {false, 12, 500, 1, 0}, {false, 28, 800, 1, 1},
      {false, 7, 600, 0, 1},  {false, 5, 600, 0, 1},  {true, 12, 600, 0, 0},
  };
  for (const OptionCase& c : cases) {
    SCOPED_TRACE("kind " + std::to_string(c.kind) + " length " + std::to_string(c.length) +
                 (c.first ? " first" : ""));
    rows.counter = c.first ? 1 : 2;
    ASSERT_EQ(read(station(20000, c.kind, c.length, 1, 1)), EntryEnd::kGoOn);
    const TableRow& row = table.rows[static_cast<std::size_t>(c.first ? 1 : 2)];
    EXPECT_EQ(row.byte_c, c.byte_c);
    EXPECT_EQ(row.byte_d, c.byte_d);
  }
}

TEST_F(StationRecordTest, ScheduledTimeKeepsTheLow32BitsOfTheExactSum) {
  const struct {
    const char* time;
    std::int32_t num_d;
  } cases[] = {
      {"14,50,0", 53400},
      {"0,0,0", 0},
      {"-1,0,0", -3600},
      {"1000000,0,0", -694967296},               // 3600000000 - 2^32
      {"2147483647,59,59", -1},                   // (2^31 - 1) * 3600 + 3599 = 1800 * 2^32 - 1
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.time);
    rows = StationRows{};
    ASSERT_EQ(read(std::string("20000, 28, 400, 0, 0, 0, 0,0,0, 0,0,0, 0, ") + c.time + ", X\r\n"),
              EntryEnd::kGoOn);
    EXPECT_EQ(table.rows[1].num_d, c.num_d);
  }
}

TEST_F(StationRecordTest, ApproachCellsStartAtCellTwo) {
  grid[0].approach = 7;
  grid[1].approach = 7;
  ASSERT_EQ(read(station(100, 12, 200)), EntryEnd::kGoOn);  // extent 0..200, stop cell 3
  EXPECT_EQ(grid[3].kind, cell_kind::kStopMarker);
  EXPECT_EQ(grid[2].approach, 81);
  EXPECT_EQ(grid[1].approach, 7);
  EXPECT_EQ(grid[0].approach, 7);
}

TEST_F(StationRecordTest, StopMarkerOnCellOneGives24WithoutPosition) {
  EXPECT_EQ(read(station(0, 12, 200)), EntryEnd::kEndReading);  // stop cell 1
  EXPECT_EQ(status.code, status::kStopMarkerBeforeGrid);
  EXPECT_EQ(status.position, kUnchanged);
  EXPECT_EQ(status.origin, origin);
  EXPECT_EQ(grid[1].kind, 0);
  EXPECT_EQ(table.rows[1].num_b, 100);  // the row stays as filled

  // Without a stop marker the same place is fine.
  table = RecordTable{};
  status = BuildStatus{};
  EXPECT_EQ(read(station(0, 28, 200)), EntryEnd::kGoOn);
  EXPECT_EQ(status.code, 0);
}

TEST_F(StationRecordTest, StopMarkerBeyondTheGridIsOutOfRangeAndMarksNothing) {
  // 364200 is the last position the station range rule lets through on 7300 cells.
  const struct {
    std::int32_t kind, length, byte_c;
    bool accepted;
  } cases[] = {
      {7, 800, 0, true},     // end 365000: stop marker on cell 7299
      {7, 900, 0, false},    // end 365100: cell 7301
      {12, 1600, 1, true},   // end 365050: cell 7300 = N
      {12, 1800, 0, false},  // end 365100
      {28, 1800, 0, true},   // no stop marker: nothing to fall outside
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("kind " + std::to_string(c.kind) + " length " + std::to_string(c.length));
    grid = make_cell_grid(358000);
    rows = StationRows{};
    status = BuildStatus{};
    status.position = kUnchanged;
    const EntryEnd end = read(station(364200, c.kind, c.length, c.byte_c));
    if (c.accepted) {
      EXPECT_EQ(end, EntryEnd::kGoOn);
      EXPECT_EQ(status.code, 0);
    } else {
      EXPECT_EQ(end, EntryEnd::kEndNormally);
      EXPECT_EQ(status.code, status::kOutOfRange);
      EXPECT_EQ(status.position, 364200);
      EXPECT_EQ(rows.counter, 1);
      for (const TrackCell& cell : grid.cells) ASSERT_EQ(cell, TrackCell{});
    }
  }
}

TEST_F(StationRecordTest, HugeExtentIsComputedWithoutOverflow) {
  EXPECT_EQ(read(station(1000, 7, 2147483600)), EntryEnd::kEndNormally);
  EXPECT_EQ(status.code, status::kOutOfRange);
  EXPECT_EQ(table.rows[1].num_a, 1000 - 2147483600);
  EXPECT_EQ(table.rows[1].num_b, -2147482696);  // low 32 bits of 2147484600
}

TEST_F(StationRecordTest, StationTooCloseIsRefusedAfterItsMarks) {
  const struct {
    std::int32_t second;
    StatusCode code;
  } cases[] = {{2250, status::kNone}, {2200, status::kStationsTooClose}};  // first extent ends at 1700
  for (const auto& c : cases) {
    SCOPED_TRACE(c.second);
    table = RecordTable{};
    grid = make_cell_grid(358000);
    rows = StationRows{};
    status = BuildStatus{};
    ASSERT_EQ(read(station(1500, 12, 400)), EntryEnd::kGoOn);
    read(station(c.second, 12, 400));
    EXPECT_EQ(status.code, c.code);
    const std::int32_t stop = (c.second + 200) / 50 - 1;
    EXPECT_EQ(grid[stop].kind, cell_kind::kStopMarker);
    EXPECT_EQ(grid[stop].val_a, 2);
    EXPECT_EQ(grid[stop - 1].approach, 81);
    if (c.code != 0) {
      EXPECT_EQ(status.position, c.second);
      EXPECT_EQ(rows.counter, 2);
    }
  }
}

TEST_F(StationRecordTest, StationsStopWhereTheSignRowsBegin) {
  // 80 minus the number of indication boards: 3 boards, none, 79 boards.
  const struct {
    std::int32_t sign_row;
    std::int32_t last_station;
  } cases[] = {{77, 76}, {80, 79}, {1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE("sign row " + std::to_string(c.sign_row));
    table = RecordTable{};
    rows = StationRows{1, c.sign_row};
    status = BuildStatus{};
    status.position = kUnchanged;
    for (std::int32_t s = 1; s < c.last_station; ++s) {
      ASSERT_EQ(read(station(1000 + 400 * s, 28, 0)), EntryEnd::kGoOn) << "station " << s;
    }
    EXPECT_EQ(read(station(1000 + 400 * c.last_station, 28, 0)), EntryEnd::kEndReading);
    EXPECT_EQ(status.code, status::kStationsReachSigns);
    EXPECT_EQ(status.position, kUnchanged);
    EXPECT_EQ(table.rows[static_cast<std::size_t>(c.last_station)].num_c,
              1000 + 400 * c.last_station);
    EXPECT_EQ(table.rows[static_cast<std::size_t>(c.last_station) + 1], TableRow{});
  }
}

TEST_F(StationRecordTest, NeverWritesPastTheStationRows) {
  // A sign row beyond 80 cannot come from the line reader; the rows of the
  // indication boards and the header stay untouched all the same.
  rows = StationRows{1, 86};
  for (std::int32_t s = 1; s <= 79; ++s) {
    ASSERT_EQ(read(station(1000 + 400 * s, 28, 0)), EntryEnd::kGoOn) << "station " << s;
  }
  EXPECT_EQ(read(station(1000 + 400 * 80, 28, 0)), EntryEnd::kEndReading);
  EXPECT_EQ(status.code, status::kStationsReachSigns);
  for (std::size_t row = 80; row < table.rows.size(); ++row) EXPECT_EQ(table.rows[row], TableRow{});
}

TEST_F(StationRecordTest, FieldTooWideOrMissingIsAReadFailure) {
  const char* cases[] = {
      "20000, 256, 400, 0, 0, 0, 0,0,0, 0,0,0, 0, 0,0,0, X\r\n",     // kind
      "20000, 12, 400, -1, 0, 0, 0,0,0, 0,0,0, 0, 0,0,0, X\r\n",     // flag
      "20000, 12, 400, 0, 0, 0, 32768,0,0, 0,0,0, 0, 0,0,0, X\r\n",  // word_a
      "20000, 12, 400, 0, 0, 0, 0,0,0, 0,0,-32769, 0, 0,0,0, X\r\n", // word_e
      "20000, 12, 400, 0, 0, 0, 0,0,0, 0,0,0, 256, 0,0,0, X\r\n",    // standing time
      "20000, 12, 400, 0, 0, 0, 0,0,0, 0,0,0, 0, 0,0,0\r\n",         // no name
      "20000, 12, 400, 0, 0, 0, 0,0,0",                               // cut short
  };
  for (const char* c : cases) {
    SCOPED_TRACE(c);
    status = BuildStatus{};
    EXPECT_EQ(read(c), EntryEnd::kReadFailure);
    EXPECT_EQ(status.code, 0);  // the failure path is the train reader's
  }
}

}  // namespace
}  // namespace scenario
