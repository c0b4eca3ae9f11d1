// The built-in scenario compiled in memory, exactly as the standard run
// compiles it: what the simulator receives.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "testing/memory_compile.h"
#include "testing/test_support.h"
#include "builtin/builtin_scenario.h"
#include "builtin/line_table_test_util.h"
#include "output/dump.h"

namespace scenario {
namespace {

class BuiltinScenarioCompile : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    result_ = new MemoryCompile(
        compile_in_memory(render_line_table(dati_linea()), render_line_table(dati_treno())));
    grid_ = new CellGrid;
    table_ = new RecordTable;
    decode_error_ = new std::string;
    decoded_ = result_->cell_grid && result_->record_table &&
               decode_cell_grid(*result_->cell_grid, *grid_, *decode_error_) &&
               decode_record_table(*result_->record_table, *table_, *decode_error_);
  }

  // Every test reads the files as the simulator would: they must decode.
  void SetUp() override { ASSERT_TRUE(decoded_) << *decode_error_; }

  static void TearDownTestSuite() {
    delete result_;
    delete grid_;
    delete table_;
    delete decode_error_;
  }

  static std::set<int> cells_of_kind(std::uint8_t kind) {
    std::set<int> cells;
    for (int i = 0; i <= grid_->last_index(); ++i) {
      if ((*grid_)[i].kind == kind) cells.insert(i);
    }
    return cells;
  }

  static MemoryCompile* result_;
  static CellGrid* grid_;
  static RecordTable* table_;
  static std::string* decode_error_;
  static bool decoded_;
};

MemoryCompile* BuiltinScenarioCompile::result_ = nullptr;
CellGrid* BuiltinScenarioCompile::grid_ = nullptr;
RecordTable* BuiltinScenarioCompile::table_ = nullptr;
std::string* BuiltinScenarioCompile::decode_error_ = nullptr;
bool BuiltinScenarioCompile::decoded_ = false;

TEST_F(BuiltinScenarioCompile, BuildsWithoutAStatusIntoFilesOfTheExpectedSizes) {
  EXPECT_EQ(result_->status.code, 0) << "position " << result_->status.position;
  EXPECT_FALSE(result_->fatal.has_value());
  EXPECT_FALSE(result_->file_error.has_value());
  EXPECT_EQ(result_->grid_last_index, 7300);
  ASSERT_TRUE(result_->plan_geometry && result_->record_table && result_->cell_grid);
  EXPECT_EQ(result_->plan_geometry->size(), 7299964u);
  EXPECT_EQ(result_->cell_grid->size(), 109515u);
  EXPECT_EQ(grid_->last_index(), 7300);
}

using test::digest;

// The simulator reads these bytes: any change to any of them, in any field,
// is a regression. The digests are those of the files as first released.
TEST_F(BuiltinScenarioCompile, FilesKeepEveryByte) {
  EXPECT_EQ(digest(*result_->plan_geometry), 0xe8a7f7cffaa82c7eu);
  EXPECT_EQ(digest(*result_->record_table), 0x62ed51b1cfae55aau);
  EXPECT_EQ(digest(*result_->cell_grid), 0xd35f9463add91533u);
}

TEST_F(BuiltinScenarioCompile, GridHoldsEveryObjectOnItsOwnCell) {
  std::map<int, int> counts;
  for (const TrackCell& cell : grid_->cells) ++counts[cell.kind];
  counts.erase(0);
  EXPECT_EQ(counts, (std::map<int, int>{{1, 121}, {2, 2}, {3, 2}, {4, 2}, {5, 4}, {6, 48},
                                        {10, 30}, {11, 34}, {12, 7}, {14, 3}}));

  // Both tunnels keep every marker: no object was put on a marker cell.
  std::set<int> markers;
  for (int cell = 2711; cell <= 2747; cell += 4) markers.insert(cell);
  for (int cell = 4091; cell <= 4183; cell += 4) markers.insert(cell);
  EXPECT_EQ(cells_of_kind(cell_kind::kTunnelMarker), markers);

  // The code-reduction pass: three bands before each start board and the
  // point before the signal at 325700 m, 12 cells after the second end board.
  EXPECT_EQ(cells_of_kind(cell_kind::kReductionPoint),
            (std::set<int>{3602, 3609, 3615, 6481, 6488, 6494, 6514}));
  for (int cell : cells_of_kind(cell_kind::kReductionPoint)) EXPECT_EQ((*grid_)[cell].val_a, 180);
  EXPECT_EQ((*grid_)[6515].kind, cell_kind::kSignal);

  EXPECT_EQ(cells_of_kind(cell_kind::kWarningBoard), (std::set<int>{3596, 6475}));
  EXPECT_EQ(cells_of_kind(cell_kind::kStartBoard), (std::set<int>{3620, 6499}));
  EXPECT_EQ(cells_of_kind(cell_kind::kEndBoard), (std::set<int>{3624, 6503}));
  EXPECT_EQ(cells_of_kind(cell_kind::kPreWarning), (std::set<int>{3592, 3593, 3594, 3595}));
  EXPECT_EQ(cells_of_kind(cell_kind::kIndicationBoard), (std::set<int>{2000, 4172, 6470}));
}

TEST_F(BuiltinScenarioCompile, CellOneCarriesOnlyTheStamps) {
  const TrackCell& cell = (*grid_)[1];
  EXPECT_EQ(cell.kind, 0);
  EXPECT_EQ(cell.val_a, 5121);
  EXPECT_EQ(cell.val_b, 2439);  // plain sum of "593orvale_varcona" + "aabbccdd"
  EXPECT_EQ(result_->cell_grid->substr(16, 2), std::string("\x01\x14", 2));
}

TEST_F(BuiltinScenarioCompile, RecordTableHeaderAndStationRows) {
  const TableRow& scenario_row = table_->rows[85];
  EXPECT_EQ(scenario_row.text, "Orvale_Varcona");
  EXPECT_EQ(scenario_row.word_a, 610);
  EXPECT_EQ(scenario_row.num_d, 32810);  // weighted sum of the same 25 characters
  EXPECT_EQ(scenario_row.num_a, 1);      // "sfondo uno"
  const TableRow& train_row = table_->rows[86];
  EXPECT_EQ(train_row.text, "593");
  EXPECT_EQ(train_row.num_b, 349000);
  EXPECT_EQ(train_row.num_c, 4);
  EXPECT_EQ(train_row.word_a, 200);
  EXPECT_EQ(train_row.word_c, 14);
  EXPECT_EQ(train_row.word_d, 40);
  EXPECT_EQ(train_row.word_e, 40);
  EXPECT_EQ(table_->rows[84].num_a, 130);
  EXPECT_EQ(table_->rows[84].num_b, 358000);
  EXPECT_EQ(table_->rows[84].num_c, 12);

  const std::vector<std::string> stations =
      test::lines_between(test::written_lines(dati_treno()), 46, 80);
  for (int row = 1; row <= 35; ++row) {
    EXPECT_EQ(table_->rows[row].text, test::fields_of(stations[row - 1]).back()) << "row " << row;
  }
  EXPECT_EQ(table_->rows[36], TableRow{});
  EXPECT_EQ(table_->rows[80].text, "(Km 99+996)");
  EXPECT_EQ(table_->rows[79].text, "(Km 208+500)");
  EXPECT_EQ(table_->rows[78].text, "(Km 323+402)");
  EXPECT_EQ(table_->rows[0], TableRow{});
}

}  // namespace
}  // namespace scenario
