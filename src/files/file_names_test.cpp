#include "files/file_names.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(FileNames, ComposesAllEightNamesInTheFolder) {
  const ScenarioFileNames names =
      scenario_file_names("/data/my scenarios", "Orvale_Varcona", "593");
  EXPECT_EQ(names.line_source, "/data/my scenarios/Orvale_Varcona_linea.txt");
  EXPECT_EQ(names.train_source, "/data/my scenarios/Orvale_Varcona_593-.txt");
  EXPECT_EQ(names.timetable, "/data/my scenarios/Orvale_Varcona_593_scheda_treno.txt");
  EXPECT_EQ(names.slow_orders, "/data/my scenarios/Orvale_Varcona_593_rallentamenti.txt");
  EXPECT_EQ(names.notes, "/data/my scenarios/Orvale_Varcona_593_note.txt");
  EXPECT_EQ(names.plan_geometry, "/data/my scenarios/Orvale_Varcona_linea.dat");
  EXPECT_EQ(names.record_table, "/data/my scenarios/Orvale_Varcona_593.sim");
  EXPECT_EQ(names.cell_grid, "/data/my scenarios/Orvale_Varcona_593.dat");
}

TEST(FileNames, EmptyFolderMeansTheCurrentOneAndBareNamesDropTheFolder) {
  EXPECT_EQ(scenario_file_names("", "Abc", "12").record_table, "Abc_12.sim");
  EXPECT_EQ(join_path("dir/", "x.dat"), "dir/x.dat");
  EXPECT_EQ(bare_name("/data/my scenarios/Abc_12.sim"), "Abc_12.sim");
}

#ifndef _WIN32
TEST(FileNames, JoiningAndSplittingGiveWhatTheFilesystemLibraryGives) {
  for (const std::string folder : {"", "/", "dir", "dir/", "/data/my scenarios", "a//", ".", ".."}) {
    for (const std::string name : {"x.dat", "", "/abs.txt", ".", "sub/x.dat"}) {
      const std::string expected =
          folder.empty() ? name : (std::filesystem::path(folder) / name).string();
      EXPECT_EQ(join_path(folder, name), expected) << folder << " + " << name;
    }
  }
  for (const std::string path : {"", "/", "x.dat", "/data/my scenarios/Abc_12.sim", "dir/", "a//b",
                                 ".", "..", "dir/.", "//host"}) {
    EXPECT_EQ(bare_name(path), std::filesystem::path(path).filename().string()) << path;
  }
}
#endif

TEST(FileNames, ScenariosOfAFolderPairEachLineWithItsTrains) {
  const FolderScenarios found = scenarios_in({
      "B_linea.txt", "A_linea.txt", "A_12-.txt", "A_7-.txt", "A_12.sim", "A_B_linea.txt",
      "A_B_5-.txt",   // the longer base claims it
      "C_9-.txt",     // a train without its line stands alone
      "A_-.txt", "_linea.txt", "notes-.txt", "A_12_note.txt",
  });
  using S = FolderScenarios::Scenario;
  EXPECT_EQ(found.scenarios,
            (std::vector<S>{{"A", "12"}, {"A", "7"}, {"A_B", "5"}, {"C", "9"}}));
  EXPECT_EQ(found.lone_lines, std::vector<std::string>{"B"});
}

}  // namespace
}  // namespace scenario
