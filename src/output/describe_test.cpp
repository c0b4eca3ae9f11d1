#include "output/describe.h"

#include <gtest/gtest.h>

#include "model/build_status.h"
#include "model/placement.h"

namespace scenario {
namespace {

TEST(ObjectDetails, UnpacksWhatThePlacementPacked) {
  CellGrid grid = make_cell_grid(200000);
  BuildStatus status;
  RecordTable table;
  table.rows[80].text = "Citt\xE0 Alta";
  memo_segnale(grid, status, 127000, 2, 4, 1, 0, 0, 1, 3, 1, 0, 0);
  memo_indicatori_v_max(grid, status, 130200, 100, 105, 110, 2, 100, 105, 110, 2);
  memo_indicatori_v_max(grid, status, 131200, 100, 105, 110, 0, 120, 105, 110, 1);
  memo_rallentamento(grid, status, 180950, 40, 200, 0, 1, 40);
  grid[500].kind = cell_kind::kIndicationBoard;
  grid[500].val_a = 80;
  grid[501].kind = cell_kind::kIndicationBoard;
  grid[501].val_a = 200;
  ASSERT_EQ(status.code, status::kNone);

  const struct {
    std::int32_t cell;
    const char* details;
    const char* italian;
  } cases[] = {
      {2541, "left type 2 (4,1,0), right type 1 (3,1,0), rapp 0",
       "tipo sinistro 2 (4,1,0), tipo destro 1 (3,1,0), rapp 0"},
      {2605, "a 100, b 105, c 110 km/h; stripes 2/2", "a 100, b 105, c 110 km/h; strisce 2/2"},
      {2625, "a 100/120, b 105, c 110 km/h; stripes 0/1", "a 100/120, b 105, c 110 km/h; strisce 0/1"},
      {3620, "40 km/h, right 40 km/h", "40 km/h, destra 40 km/h"},
      {3596, "40 km/h, right 40 km/h", "40 km/h, destra 40 km/h"},
      {3592, "pre-warning 4 of 4 before the warning board",
       "preavviso 4 di 4 prima del cartello di avviso"},
      {500, "Citt\xC3\xA0 Alta", "Citt\xC3\xA0 Alta"},
      {501, "row 200 (outside the table)", "riga 200 (fuori dalla tabella)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(object_details(grid[c.cell], table, Language::english), c.details) << c.cell;
    EXPECT_EQ(object_details(grid[c.cell], table, Language::italian), c.italian) << c.cell;
  }
}

TEST(RowRole, TellsStationsFromBoardTextsAndHeaders) {
  TableRow station;
  station.num_c = 1500;
  station.text = "Miralto";
  TableRow board;
  board.text = "(Km 1+000)";
  EXPECT_STREQ(row_role(station, 1), "station");
  EXPECT_STREQ(row_role(board, 80), "board-text");
  EXPECT_STREQ(row_role(TableRow{}, 5), "empty");
  EXPECT_STREQ(row_role(station, 85), "scenario-header");
  EXPECT_STREQ(row_role(TableRow{}, 0), "unused");
}

TEST(StampNotes, NameWhatDoesNotFitTheScenariosNames) {
  RecordTable table;
  CellGrid grid = make_cell_grid(1000);
  name_scenario(table, "Abc", "12");
  EXPECT_EQ(stamp_notes("Abc", "12", &table, nullptr, Language::english),
            (std::vector<std::string>{"row 85 word_a is 0, not the stamp 610",
                                      "row 85 num_d is 0, the names give 33220"}));
  grid[1].val_a = 5121;
  grid[1].val_b = 2427;
  EXPECT_TRUE(stamp_notes("abc", "12", nullptr, &grid, Language::english).empty());
}

}  // namespace
}  // namespace scenario
