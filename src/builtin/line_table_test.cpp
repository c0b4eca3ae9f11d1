#include "builtin/line_table.h"

#include <gtest/gtest.h>

#include "testing/memory_file_system.h"

#include <string>
#include <vector>

namespace scenario {
namespace {

TEST(LineTable, WritesEachEntryWithCrLfUpToTheEndMarker) {
  const std::string_view table[] = {"[generale]", "", "  blanks kept  ", kEndMarker, "never seen"};
  EXPECT_EQ(render_line_table(table), "[generale]\r\n\r\n  blanks kept  \r\n");
}

// Only an entry that equals the marker exactly stops the writer: one that
// merely holds its text, or differs in case or by a blank, is a line like any other.
TEST(LineTable, OnlyAnExactWholeEntryMatchStops) {
  const std::string_view near_misses[] = {
      "Riferimento fine del file", "RIFERIMENTO FINE DEL FILE", "riferimento fine del file ",
      " riferimento fine del file", "- riferimento fine del file", "riferimento fine del fil",
  };
  for (std::string_view entry : near_misses) {
    const std::string_view table[] = {"a", entry, "b", kEndMarker, "c"};
    EXPECT_EQ(render_line_table(table), "a\r\n" + std::string(entry) + "\r\nb\r\n")
        << "entry: \"" << entry << "\"";
  }
}

TEST(LineTable, MarkerFirstWritesNothingAndAMissingMarkerStopsAtTheTableEnd) {
  const std::string_view only_marker[] = {kEndMarker, "x"};
  EXPECT_EQ(render_line_table(only_marker), "");
  const std::string_view no_marker[] = {"x", "y"};
  EXPECT_EQ(render_line_table(no_marker), "x\r\ny\r\n");
}

TEST(LineTable, ReplacesTheFileWholeAndReportsAFailure) {
  MemoryFileSystem files;
  files.files["t.txt"] = std::string(1000, 'z');  // a longer file of an earlier run
  const std::string_view table[] = {"uno", kEndMarker};
  ASSERT_TRUE(write_line_table(files, "t.txt", table).ok);
  EXPECT_EQ(files.files["t.txt"], "uno\r\n");

  files.failing.insert("t.txt");
  const IoResult result = write_line_table(files, "t.txt", table);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("t.txt"), std::string::npos) << result.message;
  EXPECT_EQ(files.files["t.txt"], "uno\r\n");
}

}  // namespace
}  // namespace scenario
