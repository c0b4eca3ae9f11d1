// End-to-end tests of `scenario-compiler dump` on files made by the writers.

#include <gtest/gtest.h>

#include "testing/geometry_bytes.h"

#include <nlohmann/json.hpp>

#include "model/cell_grid.h"
#include "model/record_table.h"
#include "output/scenario_writer.h"
#include "model/stamps.h"
#include "run_program.h"

namespace scenario::testing {
namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

class DumpCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordTable table;
    name_scenario(table, "Abc", "12");
    table.rows[80].text = "(Km 25+050) \"x\"\\";
    CellGrid grid = make_cell_grid(0);
    grid[21].kind = cell_kind::kSignal;
    grid[21].val_a = 41;
    ASSERT_EQ(stamp_headers(table, grid), std::nullopt);
    using enum GeometryTag;
    const std::string geometry =
        test::plan_geometry_bytes({{int16, 0}, {int16, 0}, {real, 0.001}, {empty, 0}},
                                  {{int16, 0}, {int16, 1}, {real, 2}, {empty, 0}});
    write_file(dir_.file("Abc_12.sim"), encode_record_table(table));
    write_file(dir_.file("Abc_12.dat"), encode_cell_grid(grid));
    write_file(dir_.file("Abc_linea.dat"), geometry);
  }

  ProgramResult dump(const std::string& name, bool json = false) {
    std::vector<std::string> args = {"dump", dir_.file(name)};
    if (json) args.push_back("--json");
    return run_program(args);
  }

  TempDir dir_{"dump test"};
};

TEST_F(DumpCommand, PrintsOneRecordALineWithTheStamps) {
  ProgramResult sim = dump("Abc_12.sim");
  ASSERT_EQ(sim.exit_status, 0) << sim.err;
  const std::vector<std::string> rows = lines_of(sim.out);
  ASSERT_EQ(rows.size(), 87u);
  EXPECT_EQ(rows[85],
            "row=85 kind=0 num_a=0 num_b=0 num_c=0 flag=0 text=\"Abc\" word_a=610 word_b=0 "
            "word_c=0 word_d=0 word_e=0 byte_a=0 byte_b=0 byte_c=0 byte_d=0 num_d=33220");
  EXPECT_NE(rows[80].find(" text=\"(Km 25+050) \\\"x\\\"\\\\\" "), std::string::npos) << rows[80];

  ProgramResult dat = dump("Abc_12.dat");
  ASSERT_EQ(dat.exit_status, 0) << dat.err;
  const std::vector<std::string> cells = lines_of(dat.out);
  ASSERT_EQ(cells.size(), 141u);
  EXPECT_EQ(cells[1],
            "cell=1 kind=0 kind_name=none val_a=5121 val_b=2427 val_c=0 val_d=0 timer=0 "
            "approach=0 tunnel=0 speed_limit=0 gradient=0 adhesion=0");
  EXPECT_EQ(cells[21].substr(0, 40), "cell=21 kind=1 kind_name=signal val_a=41");

  ProgramResult linea = dump("Abc_linea.dat");
  ASSERT_EQ(linea.exit_status, 0) << linea.err;
  EXPECT_EQ(linea.out,
            "metre=0 x=i16:0 y=i16:0\nmetre=1 x=i16:0 y=i16:1\nmetre=2 x=f64:0.001 y=f64:2\n"
            "metre=3 x=empty y=empty\n");
}

TEST_F(DumpCommand, JsonCarriesTheSameRecords) {
  ProgramResult sim = dump("Abc_12.sim", true);
  ASSERT_EQ(sim.exit_status, 0) << sim.err;
  const auto table = nlohmann::json::parse(sim.out);
  EXPECT_EQ(table["kind"], "record_table");
  EXPECT_EQ(table["file"], "Abc_12.sim");
  ASSERT_EQ(table["records"].size(), 87u);
  EXPECT_EQ(table["records"][85]["word_a"], 610);
  EXPECT_EQ(table["records"][85]["text"], "Abc");
  EXPECT_EQ(table["records"][86]["text"], "12");

  const auto grid = nlohmann::json::parse(dump("Abc_12.dat", true).out);
  EXPECT_EQ(grid["kind"], "cell_grid");
  EXPECT_EQ(grid["records"][1]["val_a"], 5121);
  EXPECT_EQ(grid["records"][1]["val_b"], 2427);
  EXPECT_EQ(grid["records"][21]["kind_name"], "signal");

  const auto geometry = nlohmann::json::parse(dump("Abc_linea.dat", true).out);
  EXPECT_EQ(geometry["kind"], "plan_geometry");
  EXPECT_EQ(geometry["records"][1]["y"], (nlohmann::json{{"type", "i16"}, {"value", 1}}));
  EXPECT_EQ(geometry["records"][2]["x"]["value"], 0.001);
  EXPECT_TRUE(geometry["records"][3]["y"]["value"].is_null());
}

TEST_F(DumpCommand, RefusesTruncatedMissingAndUnknownFiles) {
  const std::string sim = read_file(dir_.file("Abc_12.sim"));
  write_file(dir_.file("Cut_12.sim"), sim.substr(0, sim.size() - 1));
  ProgramResult cut = dump("Cut_12.sim");
  EXPECT_EQ(cut.exit_status, 3);
  EXPECT_EQ(cut.out, "");
  EXPECT_EQ(cut.err, "scenario-compiler: '" + dir_.file("Cut_12.sim") +
                         "' is not a valid record table file: truncated row 86 starting at byte "
                         "2943: the file ends before its 87 rows\n");

  const std::string grid = read_file(dir_.file("Abc_12.dat"));
  write_file(dir_.file("Cut_12.dat"), grid.substr(0, grid.size() - 7));
  ProgramResult cut_grid = dump("Cut_12.dat", true);
  EXPECT_EQ(cut_grid.exit_status, 3);
  EXPECT_NE(cut_grid.err.find("is not a valid cell grid file: size 2108 bytes"), std::string::npos)
      << cut_grid.err;

  ProgramResult missing = dump("None_linea.dat");
  EXPECT_EQ(missing.exit_status, 3);
  EXPECT_EQ(missing.err, "scenario-compiler: cannot read '" + dir_.file("None_linea.dat") +
                             "': No such file or directory\n");

  ProgramResult unknown = dump("notes.txt");
  EXPECT_EQ(unknown.exit_status, 64);
  EXPECT_NE(unknown.err.find("is not a scenario file name"), std::string::npos) << unknown.err;
}

}  // namespace
}  // namespace scenario::testing
