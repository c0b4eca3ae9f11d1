#include "output/scenario_writer.h"

#include <gtest/gtest.h>

#include "files/coding.h"

namespace scenario {
namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

TEST(RecordTableFile, RowsArePackedFieldByField) {
  RecordTable table;
  TableRow& row = table.rows[1];
  row.kind = 12;
  row.num_a = -2;
  row.num_b = 0x01020304;
  row.num_c = 121050;
  row.flag = 0xFE;
  row.text = "Miralto";
  row.word_a = -1;
  row.word_b = 2;
  row.word_c = 3;
  row.word_d = 4;
  row.word_e = 32767;
  row.byte_a = 5;
  row.byte_b = 30;
  row.byte_c = 1;
  row.byte_d = 255;
  row.num_d = 53400;
  const std::string file = encode_record_table(table);
  ASSERT_EQ(file.size(), 87 * 34 + 7u);
  EXPECT_EQ(file.substr(0, 34), std::string(34, '\0'));
  std::string expected = bytes({12, 0xFE, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1, 0xDA, 0xD8, 1, 0, 0xFE, 7, 0});
  expected += "Miralto";
  expected += bytes({0xFF, 0xFF, 2, 0, 3, 0, 4, 0, 0xFF, 0x7F, 5, 30, 1, 255, 0x98, 0xD0, 0, 0});
  EXPECT_EQ(file.substr(34, 41), expected);
  EXPECT_EQ(file.substr(75), std::string(85 * 34, '\0'));
}

TEST(RecordTableFile, RowSizeFollowsTextLength) {
  struct Case {
    std::size_t text_length;
    std::size_t row_size;
  };
  const Case cases[] = {{0, 34}, {17, 51}, {65535, 65569}, {70000, 65569}};
  for (const Case& c : cases) {
    RecordTable table;
    table.rows[86].text.assign(c.text_length, 'q');
    const std::string file = encode_record_table(table);
    EXPECT_EQ(file.size(), 86 * 34 + c.row_size) << c.text_length;
    // The count at offset 14 of the row says exactly how many bytes follow.
    ByteReader count(std::string_view(file).substr(86 * 34 + 14));
    std::uint16_t n = 0;
    ASSERT_TRUE(count.get_u16(n));
    EXPECT_EQ(n + 34u, c.row_size) << c.text_length;
  }
}

TEST(CellGridFile, CellsAre15BytesInFieldOrder) {
  CellGrid grid = make_cell_grid(0);
  TrackCell& cell = grid[2];
  cell.kind = 12;
  cell.val_a = 180;
  cell.val_b = -2;
  cell.val_c = 0x0102;
  cell.val_d = -32768;
  cell.timer = 1;
  cell.approach = 84;
  cell.tunnel = 11;
  cell.speed_limit = 32;
  cell.gradient = 94;
  cell.adhesion = 255;
  const std::string file = encode_cell_grid(grid);
  ASSERT_EQ(file.size(), 15u * 141);
  EXPECT_EQ(file.substr(30, 15),
            bytes({12, 0xB4, 0, 0xFE, 0xFF, 2, 1, 0, 0x80, 1, 84, 11, 32, 94, 255}));
  EXPECT_EQ(file.substr(0, 30), std::string(30, '\0'));
  EXPECT_EQ(file.substr(45), std::string(15 * 138, '\0'));
}

}  // namespace
}  // namespace scenario
