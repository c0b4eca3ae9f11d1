#include "files/file_names.h"

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

}  // namespace
}  // namespace scenario
