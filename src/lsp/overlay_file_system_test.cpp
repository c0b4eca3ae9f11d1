#include "lsp/overlay_file_system.h"

#include <gtest/gtest.h>

#include "check/check.h"
#include "files/file_names.h"
#include "testing/memory_file_system.h"
#include "testing/test_support.h"

namespace scenario {
namespace {

TEST(OverlayFileSystem, OpenBuffersShadowTheFilesBelowAndNothingIsWritten) {
  MemoryFileSystem disk;
  disk.files[join_path("d", "a.txt")] = "on disk";
  disk.files[join_path("d", "b.txt")] = "other";
  OverlayFileSystem files(disk);
  const std::string a = join_path("d", "a.txt");
  const std::string c = join_path("d", "c.txt");
  files.open(a, "in the editor");
  files.open(c, "new, unsaved");

  std::string content;
  ASSERT_TRUE(files.read(a, content).ok);
  EXPECT_EQ(content, "in the editor");
  ASSERT_TRUE(files.read(c, content).ok);
  EXPECT_EQ(content, "new, unsaved");
  EXPECT_TRUE(files.exists(c));
  EXPECT_FALSE(files.exists(join_path("d", "x.txt")));
  EXPECT_EQ(files.list_folder("d"), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));

  EXPECT_FALSE(files.replace(a, "x").ok);
  EXPECT_FALSE(files.remove(join_path("d", "b.txt")).ok);
  EXPECT_EQ(disk.files.size(), 2u);
  EXPECT_EQ(disk.files[a], "on disk");

  files.close(a);
  files.close(c);
  ASSERT_TRUE(files.read(a, content).ok);
  EXPECT_EQ(content, "on disk");
  EXPECT_FALSE(files.exists(c));
}

TEST(OverlayFileSystem, TheCheckReadsTheOpenBufferOfASource) {
  MemoryFileSystem disk;
  const BuildOptions options = options_for("s", kDefaultBaseName, kDefaultTrainNumber, false);
  const ScenarioFileNames names = scenario_file_names("s", kDefaultBaseName, kDefaultTrainNumber);
  disk.files[names.line_source] =
      test::crlf_lines({"[generale]", "lunghezza percorso, 10000", "[pendenze]", "pendenza, 100, 1", "[fine]", ""});
  disk.files[names.train_source] = test::crlf_lines({"[generale]", "vetture, 3", "[fine]", ""});
  OverlayFileSystem files(disk);
  EXPECT_TRUE(check_sources(files, options).diagnostics.empty());

  files.open(names.train_source, test::crlf_lines({"[generale]", "vetture, 3", "vetture, 4, 5", "[fine]", ""}));
  const CheckResult result = check_sources(files, options);
  ASSERT_EQ(result.diagnostics.size(), 1u);
  EXPECT_EQ(result.diagnostics[0].id, "extra-values");
  EXPECT_EQ(result.diagnostics[0].where->line, 3);
}

}  // namespace
}  // namespace scenario
