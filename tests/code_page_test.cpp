// Texts are bytes: a station name written in the sources' code page (1252)
// reaches the record table as the same bytes, unconverted.

#include <gtest/gtest.h>

#include "output/dump.h"
#include "testing/compile_properties.h"
#include "testing/memory_compile.h"

namespace scenario::testing {
namespace {

TEST(CodePage, StationNameBytesReachTheRecordTableAsTheyAre) {
  // 0xE0 is "a" with a grave accent, 0x80 the euro sign; neither is ASCII
  // and neither is valid UTF-8 on its own.
  const std::string name = "CITT\xE0 \x80";
  const std::string train =
      "[generale]\r\nnumero vetture, 8\r\npercentuale massa frenata, 120\r\nvelocita, 0, 100\r\n"
      "[stazioni]\r\nstazione, 2000, 2, 500, 0, 0, 0, 1,1,0, 4,1,1, 1, 14,41, 0, " + name +
      "\r\n[fine]\r\n\r\n";
  const MemoryCompile run = compile_in_memory(fixed_line_source(), train);
  ASSERT_EQ(run.status.code, 0) << run.status.position;
  ASSERT_TRUE(run.record_table);
  RecordTable table;
  std::string error;
  ASSERT_TRUE(decode_record_table(*run.record_table, table, error)) << error;
  EXPECT_EQ(table.rows[1].text, name);
  // In the file: the 16-bit byte count, then the bytes themselves.
  const std::string stored = std::string{static_cast<char>(name.size()), 0} + name;
  EXPECT_NE(run.record_table->find(stored), std::string::npos);
}

}  // namespace
}  // namespace scenario::testing
