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
            "word_c=0 word_d=0 word_e=0 byte_a=0 byte_b=0 byte_c=0 byte_d=0 num_d=33220 "
            "role=scenario-header");
  EXPECT_NE(rows[80].find(" text=\"(Km 25+050) \\\"x\\\"\\\\\" "), std::string::npos) << rows[80];

  ProgramResult dat = dump("Abc_12.dat");
  ASSERT_EQ(dat.exit_status, 0) << dat.err;
  const std::vector<std::string> cells = lines_of(dat.out);
  ASSERT_EQ(cells.size(), 141u);
  EXPECT_EQ(cells[1],
            "cell=1 kind=0 kind_name=none val_a=5121 val_b=2427 val_c=0 val_d=0 timer=0 "
            "approach=0 tunnel=0 speed_limit=0 gradient=0 adhesion=0 at_m=0 speed_kmh=0 "
            "gradient_permille=unset");
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

TEST_F(DumpCommand, ReadableValuesStandBesideTheRawFields) {
  RecordTable table;
  name_scenario(table, "Abc", "12");
  table.rows[1].num_c = 2050;
  table.rows[1].num_d = 53400;
  table.rows[1].byte_b = 30;
  table.rows[1].text = "Porto";
  table.rows[80].text = "VERSO LAGO";
  table.rows[86].word_c = 8;
  table.rows[86].word_d = 5;
  CellGrid grid = make_cell_grid(0);
  grid[5].gradient = 94;
  grid[5].speed_limit = 23;
  grid[30].kind = cell_kind::kIndicationBoard;
  grid[30].val_a = 80;
  ASSERT_EQ(stamp_headers(table, grid), std::nullopt);
  write_file(dir_.file("Abc_12.sim"), encode_record_table(table));
  write_file(dir_.file("Abc_12.dat"), encode_cell_grid(grid));

  const std::vector<std::string> rows = lines_of(dump("Abc_12.sim").out);
  ASSERT_EQ(rows.size(), 87u);
  const struct {
    std::size_t row;
    const char* tail;
  } row_cases[] = {{0, " role=unused"},
                   {1, " role=station time=14:50:00 stand_s=30"},
                   {2, " role=empty"},
                   {80, " role=board-text"},
                   {84, " role=quantities line_length_m=0"},
                   {86, " role=train-header clock=08:05:00"}};
  for (const auto& c : row_cases) {
    const std::string& line = rows[c.row];
    EXPECT_EQ(line.substr(line.size() - std::string(c.tail).size()), c.tail) << line;
  }
  const std::vector<std::string> cells = lines_of(dump("Abc_12.dat").out);
  ASSERT_EQ(cells.size(), 141u);
  EXPECT_NE(cells[5].find(" adhesion=0 at_m=200 speed_kmh=115 gradient_permille=-6"),
            std::string::npos) << cells[5];
  // The board's text comes from the record table beside the grid.
  EXPECT_NE(cells[30].find(" at_m=1450 speed_kmh=0 gradient_permille=unset details=\"VERSO LAGO\""),
            std::string::npos) << cells[30];
}

TEST_F(DumpCommand, AtKindAndSummarySelect) {
  // 1000 m falls in cell 21, the signal's.
  ProgramResult at = run_program({"dump", dir_.file("Abc_12.dat"), "--at", "1000"});
  ASSERT_EQ(at.exit_status, 0) << at.err;
  EXPECT_EQ(lines_of(at.out).size(), 1u);
  EXPECT_EQ(at.out.substr(0, 15), "cell=21 kind=1 ");
  ProgramResult kind = run_program({"dump", dir_.file("Abc_12.dat"), "--kind", "signal", "--json"});
  ASSERT_EQ(kind.exit_status, 0) << kind.err;
  const auto signals = nlohmann::json::parse(kind.out)["records"];
  ASSERT_EQ(signals.size(), 1u);
  EXPECT_EQ(signals[0]["cell"], 21);
  EXPECT_EQ(signals[0]["at_m"], 1000);
  ProgramResult metre = run_program({"dump", dir_.file("Abc_linea.dat"), "--at", "2"});
  EXPECT_EQ(metre.out, "metre=2 x=f64:0.001 y=f64:2\n");

  ProgramResult summary = run_program({"dump", dir_.file("Abc_12.dat"), "--summary"});
  ASSERT_EQ(summary.exit_status, 0) << summary.err;
  EXPECT_NE(summary.out.find("\nkind=0 kind_name=none count=140\nkind=1 kind_name=signal count=1\n"),
            std::string::npos) << summary.out;
  EXPECT_NE(summary.out.find("\nboard row=80 text=\"(Km 25+050) \\\"x\\\"\\\\\"\n"),
            std::string::npos) << summary.out;

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--kind", "semaphore"}, {"--kind", "stop-marker", "--summary"}}) {
    std::vector<std::string> command = {"dump", dir_.file("Abc_12.dat")};
    command.insert(command.end(), args.begin(), args.end());
    EXPECT_EQ(run_program(command).exit_status, args.size() == 2 ? 64 : 0) << args[1];
  }
  EXPECT_EQ(run_program({"dump", dir_.file("Abc_12.sim"), "--at", "1000"}).exit_status, 64);
  // Cells 0..140 cover up to 6975 m; metres 0..3 of the plan.
  for (const auto& [file, at] : {std::pair{"Abc_12.dat", "-100"}, {"Abc_12.dat", "7000"},
                                 {"Abc_linea.dat", "4"}, {"Abc_linea.dat", "-1"}}) {
    ProgramResult outside = run_program({"dump", dir_.file(file), "--at", at});
    EXPECT_EQ(outside.exit_status, 64) << file << " " << at;
    EXPECT_EQ(outside.out, "");
    EXPECT_NE(outside.err.find("lies outside"), std::string::npos) << outside.err;
  }
  EXPECT_EQ(run_program({"dump", dir_.file("Abc_12.dat"), "--at", "6975"}).out.substr(0, 9),
            "cell=140 ");
}

TEST_F(DumpCommand, JsonLosesNoByteOfATextAndStampsAreChecked) {
  RecordTable table;
  name_scenario(table, "Abc", "12");
  table.rows[1].text = std::string("Citt\xE0\x81\0", 7);
  table.rows[1].num_c = 50;
  CellGrid grid = make_cell_grid(0);
  ASSERT_EQ(stamp_headers(table, grid), std::nullopt);
  write_file(dir_.file("Abc_12.sim"), encode_record_table(table));
  ProgramResult sim = dump("Abc_12.sim", true);
  ASSERT_EQ(sim.exit_status, 0) << sim.err;
  EXPECT_EQ(sim.err, "");
  const auto row = nlohmann::json::parse(sim.out)["records"][1];
  EXPECT_EQ(row["text"], "Citt\xC3\xA0\xC2\x81" + std::string(1, '\0'));
  EXPECT_EQ(row["text_hex"], "43697474e08100");
  EXPECT_EQ(row["role"], "station");

  // The same files under other names: the stamps no longer fit.
  write_file(dir_.file("Abd_12.sim"), encode_record_table(table));
  write_file(dir_.file("Abd_12.dat"), encode_cell_grid(grid));
  ProgramResult renamed = dump("Abd_12.sim");
  EXPECT_EQ(renamed.exit_status, 0);
  EXPECT_NE(renamed.err.find("note: Abd_12.sim: rows 85 and 86 name the scenario \"Abc\" and train "
                             "\"12\", the file name says \"Abd\" and \"12\""),
            std::string::npos) << renamed.err;
  ProgramResult renamed_grid = dump("Abd_12.dat");
  EXPECT_NE(renamed_grid.err.find("note: Abd_12.dat: cell 1 val_b is 2427, the names give "),
            std::string::npos) << renamed_grid.err;
  EXPECT_EQ(dump("Abc_12.dat").err, "");
}

TEST(DumpBuiltin, SummaryListsTheStationsAndAtFindsTheSignal) {
  TempDir dir("dump builtin");
  ASSERT_EQ(run_program({"build", "--dir", dir.path().string(), "--quiet"}).exit_status, 0);
  const std::string grid = dir.file("Orvale_Varcona_593.dat");
  ProgramResult summary = run_program({"dump", grid, "--summary"});
  ASSERT_EQ(summary.exit_status, 0) << summary.err;
  std::vector<std::string> stations;
  for (const std::string& line : lines_of(summary.out)) {
    if (line.rfind("station ", 0) == 0) stations.push_back(line);
  }
  ASSERT_EQ(stations.size(), 35u);
  EXPECT_EQ(stations[0],
            "station row=1 name=\"ORVALE\" kind=2 at_m=111050 from_m=110800 to_m=111300 "
            "time=14:41:00 stand_s=1 stop_cell=2225");
  EXPECT_EQ(stations[2].substr(0, 34), "station row=3 name=\"BORGO SERENO\" ");
  EXPECT_NE(stations[2].find(" time=none stand_s=0"), std::string::npos) << stations[2];
  EXPECT_EQ(stations[34].substr(0, 45), "station row=35 name=\"VARCONA CENTRALE\" kind=2");

  ProgramResult at = run_program({"dump", grid, "--at", "127000"});
  EXPECT_EQ(at.out.substr(0, 17), "cell=2541 kind=1 ") << at.out;
  EXPECT_NE(at.out.find(" at_m=127000 "), std::string::npos) << at.out;
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
