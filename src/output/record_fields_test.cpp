#include "output/record_fields.h"

#include <gtest/gtest.h>

#include "files/coding.h"

namespace scenario {
namespace {

// Each field gets a value of its own, so a field listed twice, left out or
// out of its place shows at the documented offsets.
TEST(RecordFields, CellFieldsLandAtTheirDocumentedOffsets) {
  TrackCell cell;
  cell.kind = 1;
  cell.val_a = 0x0302;
  cell.val_b = 0x0504;
  cell.val_c = 0x0706;
  cell.val_d = 0x0908;
  cell.timer = 10;
  cell.approach = 11;
  cell.tunnel = 12;
  cell.speed_limit = 13;
  cell.gradient = 14;
  cell.adhesion = 15;
  std::string bytes;
  put_record(bytes, cell, kCellFields);
  ASSERT_EQ(bytes.size(), 15u);
  for (std::size_t i = 0; i < bytes.size(); ++i) EXPECT_EQ(bytes[i], static_cast<char>(i + 1)) << i;

  TrackCell back;
  ByteReader reader(bytes);
  ASSERT_TRUE(get_record(reader, back, kCellFields));
  EXPECT_EQ(back, cell);
  EXPECT_TRUE(reader.at_end());
}

TEST(RecordFields, RowFieldsLandAtTheirDocumentedOffsets) {
  TableRow row;
  row.kind = 1;
  row.num_a = 0x05040302;
  row.num_b = 0x09080706;
  row.num_c = 0x0D0C0B0A;
  row.flag = 14;
  row.text = "ab";
  row.word_a = 0x1413;
  row.word_b = 0x1615;
  row.word_c = 0x1817;
  row.word_d = 0x1A19;
  row.word_e = 0x1C1B;
  row.byte_a = 0x1D;
  row.byte_b = 0x1E;
  row.byte_c = 0x1F;
  row.byte_d = 0x20;
  row.num_d = 0x24232221;
  std::string bytes;
  put_record(bytes, row, kRowFields);
  ASSERT_EQ(bytes.size(), 36u);
  EXPECT_EQ(bytes.substr(0, 15), "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x02");
  EXPECT_EQ(bytes.substr(15, 4), std::string("\0ab\x13", 4));
  for (std::size_t i = 18; i < bytes.size(); ++i) {
    EXPECT_EQ(bytes[i], static_cast<char>(i + 1)) << i;
  }

  TableRow back;
  ByteReader reader(bytes);
  ASSERT_TRUE(get_record(reader, back, kRowFields));
  EXPECT_EQ(back, row);
  ByteReader cut(std::string_view(bytes).substr(0, 35));
  EXPECT_FALSE(get_record(cut, back, kRowFields));
}

TEST(RecordFields, TextLongerThanItsCountIsStoredCut) {
  TableRow row;
  row.text.assign(70000, 'q');
  std::string bytes;
  put_record(bytes, row, kRowFields);
  EXPECT_EQ(bytes.size(), 34u + 65535u);
  TableRow back;
  ByteReader reader(bytes);
  ASSERT_TRUE(get_record(reader, back, kRowFields));
  EXPECT_EQ(back.text.size(), 65535u);
}

}  // namespace
}  // namespace scenario
