#include "view/view_data.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "model/placement.h"

namespace scenario {
namespace {

using nlohmann::json;

class ViewData : public ::testing::Test {
 protected:
  void SetUp() override {
    input_.grid = make_cell_grid(20000);
    CellGrid& grid = *input_.grid;
    for (std::int32_t c = 0; c <= grid.last_index() - 3; ++c) {
      grid[c].gradient = c < 100 ? 100 : 108;
      grid[c].speed_limit = 20;
    }
    grid[200].tunnel = 1;
    grid[201].tunnel = 1;
    BuildStatus status;
    memo_segnale(grid, status, 4000, 2, 4, 1, 0, 0, 1, 3, 1, 0, 0);  // cell 81
    grid[44].kind = cell_kind::kStopMarker;
    grid[44].val_a = 1;
    grid[140].kind = cell_kind::kIndicationBoard;
    grid[140].val_a = 80;
    input_.table.rows[1].text = "Porto";
    input_.table.rows[1].num_a = 1850;
    input_.table.rows[1].num_b = 2250;
    input_.table.rows[1].num_c = 2050;
    input_.table.rows[1].num_d = 8 * 3600 + 2 * 60;
    input_.table.rows[80].text = "VERSO LAGO";
    input_.table.rows[84].num_b = 20000;
  }

  json data() { return json::parse(view_data_json(input_)); }

  ViewInput input_;
};

TEST_F(ViewData, GivesTheLineItsObjectsAndItsStations) {
  const json d = data();
  EXPECT_EQ(d["length"], 20000);
  EXPECT_EQ(d["lastCell"], 540);
  EXPECT_EQ(d["gradient"], json::parse("[[0,0],[100,8],[538,null]]"));
  EXPECT_EQ(d["speed"], json::parse("[[0,100],[538,0]]"));
  ASSERT_EQ(d["tunnels"].size(), 1u);
  EXPECT_EQ(d["tunnels"][0]["from"], 200);
  EXPECT_EQ(d["tunnels"][0]["to"], 201);
  ASSERT_EQ(d["objects"].size(), 3u);
  EXPECT_EQ(d["objects"][0]["name"], "stop-marker");
  EXPECT_EQ(d["objects"][1]["name"], "signal");
  EXPECT_EQ(d["objects"][1]["cell"], 81);
  EXPECT_EQ(d["objects"][2]["details"], "VERSO LAGO");
  // The board's row is no station, though it holds a text.
  ASSERT_EQ(d["stations"].size(), 1u);
  EXPECT_EQ(d["stations"][0]["name"], "Porto");
  EXPECT_EQ(d["stations"][0]["stop"], 44);
  EXPECT_EQ(d["stations"][0]["time"], 28920);
  EXPECT_TRUE(d["status"].is_null());
}

TEST_F(ViewData, ShowsASourceLineOnlyForAnObjectOfTheRecordedKind) {
  SourcePlaces& places = input_.places;
  places.objects[{44, cell_kind::kStopMarker}] = {"T-.txt", 3};
  places.objects[{81, cell_kind::kSignal}] = {"T-.txt", 2};
  // A signal once read for the board's cell is not that board's source.
  places.objects[{140, cell_kind::kSignal}] = {"U-.txt", 1};
  places.rows[1] = {"T-.txt", 3};
  json d = data();
  EXPECT_EQ(d["objects"][0]["src"], "T-.txt:3");  // the stop marker: its station's line
  EXPECT_EQ(d["objects"][1]["src"], "T-.txt:2");
  EXPECT_TRUE(d["objects"][2]["src"].is_null());
  EXPECT_EQ(d["stations"][0]["src"], "T-.txt:3");
  places.objects[{140, cell_kind::kIndicationBoard}] = {"L.txt", 4};
  d = data();
  EXPECT_EQ(d["objects"][2]["src"], "L.txt:4");
}

TEST_F(ViewData, CarriesTheStatusAndTheFindings) {
  BuildStatus status;
  status.code = status::kSignalTaken;
  status.position = 9000;
  status.origin = SourceLine{"T-.txt", 13};
  input_.status = status;
  Diagnostic finding;
  finding.severity = Severity::warning;
  finding.id = "unknown-keyword";
  finding.position = 3000;
  finding.where = SourcePoint{"L.txt", 7, 1};
  finding.message = "no keyword matches </script>";
  input_.diagnostics.push_back(finding);
  const std::string text = view_data_json(input_);
  EXPECT_EQ(text.find("</"), std::string::npos);
  const json d = json::parse(text);
  EXPECT_EQ(d["status"]["code"], 16);
  EXPECT_EQ(d["status"]["src"], "T-.txt:13");
  EXPECT_EQ(d["diagnostics"][0]["severity"], "warning");
  EXPECT_EQ(d["diagnostics"][0]["message"], "no keyword matches </script>");
  EXPECT_EQ(d["diagnostics"][0]["line"], 7);
  EXPECT_EQ(d["diagnostics"][0]["position"], 3000);
}

}  // namespace
}  // namespace scenario
