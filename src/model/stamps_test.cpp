#include "model/stamps.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

RecordTable named(const std::string& base_name, const std::string& train_number) {
  RecordTable table;
  name_scenario(table, base_name, train_number);
  return table;
}

TEST(IntegrityCodes, FollowTheWorkingString) {
  struct Case {
    std::string base_name;
    std::string train_number;
    std::int32_t og;
    std::int32_t st;
  };
  const std::string long_name(40, 'z');  // only 25 characters count
  const Case cases[] = {
      {"Abc", "12", 2427, 33220},
      {"abc", "12", 2427, 33220},
      {"ABC", "12", 2427, 33220},
      {"", "", 2583, 34355},
      {"12", "Abc", 2427, 32929},
      {long_name, "", 25 * 'z', 325 * 'z'},
      // Only A-Z fold; bytes above 127 count as unsigned codes.
      {"\xC9", "", 0xC9 + 2583 - 'o', 0xC9 + 34355 - 25 * 'o' + (2583 - 'o')},
  };
  for (const Case& c : cases) {
    const RecordTable table = named(c.base_name, c.train_number);
    EXPECT_EQ(codice_gara_og(table), c.og) << c.base_name << "/" << c.train_number;
    EXPECT_EQ(codice_gara_st(table), c.st) << c.base_name << "/" << c.train_number;
  }
}

TEST(IntegrityCodes, DefaultNamesGiveTheCodesOfTheBuiltInFiles) {
  // "593orvale_varcona" + "aabbccdd": the byte sum and the weighted sum, as
  // the built-in scenario's files carry them.
  const RecordTable table = named("Orvale_Varcona", "593");
  EXPECT_EQ(codice_gara_og(table), 2439);
  EXPECT_EQ(codice_gara_st(table), 32810);
}

TEST(StampHeaders, StampsMarkersAndCodes) {
  RecordTable table = named("Abc", "12");
  CellGrid grid = make_cell_grid(0);
  EXPECT_EQ(stamp_headers(table, grid), std::nullopt);
  EXPECT_EQ(table.rows[85].word_a, 610);
  EXPECT_EQ(table.rows[85].num_d, 33220);
  EXPECT_EQ(grid[1].val_a, 5121);
  EXPECT_EQ(grid[1].val_b, 2427);
  // Nothing else moves: cell 0 and the rest of cell 1 stay as they were.
  TrackCell expected_first;
  expected_first.val_a = 5121;
  expected_first.val_b = 2427;
  EXPECT_EQ(grid[1], expected_first);
  EXPECT_EQ(grid[0], TrackCell{});
}

TEST(StampHeaders, RefusesTakenReservedPlaces) {
  struct Case {
    const char* what;
    void (*take)(RecordTable&, CellGrid&);
    std::int32_t fatal;
    bool markers_set;  // 1251 comes after the markers were set in memory
  };
  const Case cases[] = {
      {"row 85 word_a", [](RecordTable& t, CellGrid&) { t.rows[85].word_a = 1; }, 1250, false},
      {"cell 1 val_a", [](RecordTable&, CellGrid& g) { g[1].val_a = 180; }, 1250, false},
      {"row 85 num_d", [](RecordTable& t, CellGrid&) { t.rows[85].num_d = -1; }, 1251, true},
      {"cell 1 val_b", [](RecordTable&, CellGrid& g) { g[1].val_b = 5; }, 1251, true},
  };
  for (const Case& c : cases) {
    RecordTable table = named("Abc", "12");
    CellGrid grid = make_cell_grid(1000);
    c.take(table, grid);
    const RecordTable table_before = table;
    const TrackCell cell_before = grid[1];
    EXPECT_EQ(stamp_headers(table, grid), c.fatal) << c.what;
    if (c.markers_set) {
      EXPECT_EQ(table.rows[85].word_a, 610) << c.what;
      EXPECT_EQ(grid[1].val_a, 5121) << c.what;
      EXPECT_EQ(table.rows[85].num_d, table_before.rows[85].num_d) << c.what;
      EXPECT_EQ(grid[1].val_b, cell_before.val_b) << c.what;
    } else {
      EXPECT_EQ(table.rows[85], table_before.rows[85]) << c.what;
      EXPECT_EQ(grid[1], cell_before) << c.what;
    }
  }
}

}  // namespace
}  // namespace scenario
