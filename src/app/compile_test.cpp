#include "testing/memory_compile.h"

#include <gtest/gtest.h>

#include "output/dump.h"

namespace scenario {
namespace {

std::string crlf(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

// A 1000 m line without objects: N = 160.
const std::string kLine = crlf({"[generale]", "lunghezza percorso, 1000", "[fine]", ""});

// A code set by the code-reduction pass replaces a reader's code and must
// not keep that reader's source line, or the report blames an unrelated entry.
TEST(CompileInMemory, PassCodeCarriesNoSourceLine) {
  const std::string train = crlf({
      "[generale]",
      "rallentamento, 2000, 60, 200, 0, 1, 60",  // start board in cell 41
      "segnale, 1650, 2, 4, 1, 0, 0, 1, 3,1,0, 0",  // cells 34, 35, 36: the whole
      "segnale, 1700, 2, 4, 1, 0, 0, 1, 3,1,0, 0",  // band 5..7 cells before it
      "segnale, 1750, 2, 4, 1, 0, 0, 1, 3,1,0, 0",
      "segnale, 7950, 2, 4, 1, 0, 0, 1, 3,1,0, 0",  // beyond the grid: reader code 15
      "[fine]",
      "",
  });
  const MemoryCompile result = compile_in_memory(kLine, train);
  EXPECT_EQ(result.status.code, 12);
  EXPECT_EQ(result.status.position, 41 * 50);
  EXPECT_EQ(result.status.origin, std::nullopt);
  EXPECT_TRUE(result.cell_grid.has_value());
}

TEST(CompileInMemory, ReaderCodeKeepsItsSourceLineWhenThePassSetsNone) {
  const std::string train = crlf({"[generale]", "segnale, 7950, 2, 4, 1, 0, 0, 1, 3,1,0, 0",
                                  "[fine]", ""});
  const MemoryCompile result = compile_in_memory(kLine, train, "Abc", "12");
  EXPECT_EQ(result.status.code, 15);
  EXPECT_EQ(result.status.origin, (SourceLine{"Abc_12-.txt", 2}));
}

TEST(CompileInMemory, GeometryFlagZeroWritesNoGeometry) {
  const MemoryCompile result =
      compile_in_memory(kLine, crlf({"[generale]", "[fine]", ""}), "Abc", "12", 0);
  EXPECT_EQ(result.status.code, 0);
  EXPECT_FALSE(result.plan_geometry.has_value());
  ASSERT_TRUE(result.record_table.has_value());
  ASSERT_TRUE(result.cell_grid.has_value());
  EXPECT_EQ(result.cell_grid->size(), 15u * 161);
  RecordTable table;
  std::string error;
  ASSERT_TRUE(decode_record_table(*result.record_table, table, error)) << error;
  EXPECT_EQ(table.rows[84].num_b, 1000);
  EXPECT_EQ(table.rows[85].num_d, 33220);
}

}  // namespace
}  // namespace scenario
