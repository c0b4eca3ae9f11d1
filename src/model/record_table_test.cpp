#include "model/record_table.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(RecordTable, ClearingResetsEveryFieldOfEveryRow) {
  RecordTable table;
  for (TableRow& row : table.rows) {
    row = {7, 1, 2, 3, 4, "text", 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
  }
  clear_table(table);
  for (const TableRow& row : table.rows) EXPECT_EQ(row, TableRow{});
}

TEST(RecordTable, NamingFillsRowsEightyFiveAndEightySixOnly) {
  RecordTable table;
  name_scenario(table, "Orvale_Varcona", "593");
  EXPECT_EQ(table.rows[85].text, "Orvale_Varcona");
  EXPECT_EQ(table.rows[86].text, "593");
  for (int row = 0; row < 85; ++row) EXPECT_EQ(table.rows[row], TableRow{}) << row;
}

}  // namespace
}  // namespace scenario
