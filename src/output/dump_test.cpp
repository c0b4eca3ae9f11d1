#include "output/dump.h"

#include <gtest/gtest.h>

#include "testing/geometry_bytes.h"

#include "output/scenario_writer.h"
#include "model/stamps.h"

namespace scenario {
namespace {

TEST(ScenarioFileKind, FollowsTheNameEnding) {
  EXPECT_EQ(scenario_file_kind("Orvale_Varcona_linea.dat"), ScenarioFileKind::plan_geometry);
  EXPECT_EQ(scenario_file_kind("Orvale_Varcona_593.sim"), ScenarioFileKind::record_table);
  EXPECT_EQ(scenario_file_kind("Orvale_Varcona_593.dat"), ScenarioFileKind::cell_grid);
  EXPECT_EQ(scenario_file_kind("linea.dat"), ScenarioFileKind::cell_grid);
  EXPECT_EQ(scenario_file_kind("Orvale_Varcona_linea.txt"), std::nullopt);
  EXPECT_EQ(scenario_file_kind("sim"), std::nullopt);
}

TEST(Decode, ReadsBackWhatTheWritersEncode) {
  RecordTable table;
  name_scenario(table, "Abc", "12");
  table.rows[1].text = std::string("Q\0\xFF", 3);
  table.rows[1].num_c = -121050;
  table.rows[3].byte_d = 255;
  CellGrid grid = make_cell_grid(500);
  grid[7].kind = cell_kind::kSignal;
  grid[7].val_d = -32768;
  grid[grid.last_index()].adhesion = 200;
  ASSERT_EQ(stamp_headers(table, grid), std::nullopt);

  RecordTable table_back;
  std::string error;
  ASSERT_TRUE(decode_record_table(encode_record_table(table), table_back, error)) << error;
  EXPECT_EQ(table_back.rows, table.rows);
  CellGrid grid_back;
  ASSERT_TRUE(decode_cell_grid(encode_cell_grid(grid), grid_back, error)) << error;
  EXPECT_EQ(grid_back.cells, grid.cells);

  using enum GeometryTag;
  const GeometryTag tags[] = {int16, int16, real, empty};
  const double x[] = {0, 0, -0.001, 0};
  const double y[] = {0, 1, 2.0000005, 0};
  const std::string file = test::plan_geometry_bytes(
      {{int16, 0}, {int16, 0}, {real, -0.001}, {empty, 0}},
      {{int16, 0}, {int16, 1}, {real, 2.0000005}, {empty, 0}});
  DecodedGeometry geometry_back;
  ASSERT_TRUE(decode_plan_geometry(file, geometry_back, error)) << error;
  ASSERT_EQ(geometry_back.x.size(), 4u);
  ASSERT_EQ(geometry_back.y.size(), 4u);
  for (std::size_t m = 0; m < 4; ++m) {
    EXPECT_EQ(geometry_back.x[m].tag, tags[m]);
    EXPECT_EQ(geometry_back.y[m].tag, tags[m]);
    if (tags[m] == GeometryTag::empty) continue;
    EXPECT_EQ(geometry_back.x[m].value, x[m]);
    EXPECT_EQ(geometry_back.y[m].value, y[m]);
  }
}

TEST(Decode, RefusesFilesThatDoNotFitTheirLayout) {
  RecordTable table;
  table.rows[40].text = "seventeen chars!!";
  const std::string sim = encode_record_table(table);
  const std::string grid = encode_cell_grid(make_cell_grid(0));
  const std::string geometry =  // 4 + 10 + 4 + 10 bytes
      test::plan_geometry_bytes({{GeometryTag::int16, 0}, {GeometryTag::real, 0}},
                                {{GeometryTag::int16, 0}, {GeometryTag::real, 1}});

  struct Case {
    ScenarioFileKind kind;
    std::string bytes;
    std::string error;
  };
  const Case cases[] = {
      {ScenarioFileKind::record_table, sim.substr(0, sim.size() - 1),
       "truncated row 86 starting at byte 2941: the file ends before its 87 rows"},
      {ScenarioFileKind::record_table, sim.substr(0, 40 * 34 + 20),
       "truncated row 40 starting at byte 1360: the file ends before its 87 rows"},
      {ScenarioFileKind::record_table, sim + "xy", "2 bytes after the last row (row 86) at byte 2975"},
      {ScenarioFileKind::record_table, "", "truncated row 0 starting at byte 0: the file ends before its 87 rows"},
      {ScenarioFileKind::cell_grid, grid.substr(1),
       "size 2114 bytes is not a whole, non-zero number of 15-byte cells"},
      {ScenarioFileKind::cell_grid, "", "size 0 bytes is not a whole, non-zero number of 15-byte cells"},
      {ScenarioFileKind::plan_geometry, geometry.substr(0, geometry.size() - 3),
       "truncated value of type code 5 at byte 18"},
      {ScenarioFileKind::plan_geometry, geometry.substr(0, 1), "truncated type code at byte 0"},
      {ScenarioFileKind::plan_geometry, geometry.substr(0, 4),
       "odd number of values (1): x and y must have one value each per metre"},
      {ScenarioFileKind::plan_geometry, std::string("\0\0\3\0", 4),
       "unknown type code 3 at byte 2 (expected 0, 2 or 5)"},
      {ScenarioFileKind::plan_geometry, "", "empty file: a plan geometry holds at least one metre"},
  };
  for (const Case& c : cases) {
    std::string error;
    bool decoded = true;
    RecordTable t;
    CellGrid g;
    DecodedGeometry p;
    switch (c.kind) {
      case ScenarioFileKind::record_table: decoded = decode_record_table(c.bytes, t, error); break;
      case ScenarioFileKind::cell_grid: decoded = decode_cell_grid(c.bytes, g, error); break;
      case ScenarioFileKind::plan_geometry: decoded = decode_plan_geometry(c.bytes, p, error); break;
    }
    EXPECT_FALSE(decoded) << c.error;
    EXPECT_EQ(error, c.error);
  }
}

}  // namespace
}  // namespace scenario
