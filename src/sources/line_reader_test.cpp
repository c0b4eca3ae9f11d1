#include "sources/line_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/plan_geometry.h"
#include "testing/test_support.h"

namespace scenario {
namespace {

constexpr std::int32_t kUntouched = -7;  // a position no status of these tests records
constexpr const char* kLineFile = "Orvale_Varcona_linea.txt";

std::string text_of(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// A line source of the given length whose body lines start on line 4; it ends,
// as the built-in one does, with "[fine]" and an empty line.
std::string line_source(std::int32_t length, const std::vector<std::string>& body = {}) {
  std::vector<std::string> lines = {"[generale]", "lunghezza percorso, " + std::to_string(length),
                                    "[tracciato]"};
  lines.insert(lines.end(), body.begin(), body.end());
  lines.push_back("[fine]");
  lines.push_back("");
  return text_of(lines);
}

// Runs the line reader alone over a line source and a train source in memory.
struct LineRun : test::MemoryBuild {
  LineReadEnd end;

  explicit LineRun(std::optional<std::string> text, std::int32_t geometry_flag = 1,
                   bool delete_sources = true)
      : MemoryBuild(std::move(text), "[generale]\r\n") {
    context.options.geometry_flag = geometry_flag;
    context.options.delete_sources = delete_sources;
    context.state.status.position = kUntouched;
    end = read_line_source(context);
  }

  const CellGrid& grid() const { return *context.state.grid; }
  const TableRow& row(int index) const { return context.state.table.rows[index]; }
  StatusCode code() const { return context.state.status.code; }
  std::int32_t position() const { return context.state.status.position; }
};

// --- header --------------------------------------------------------------

TEST(LineReader, ReadsTheHeaderOfAWholeSource) {
  LineRun run(text_of({
      "; anything before the section is ignored, lunghezza percorso, 5",
      "[generale]",
      "lunghezza percorso,    40000",
      "progressiva chilometrica uno,    1000,    200,    1",
      "progressiva chilometrica due,    3000,    0,    0",
      "progressiva chilometrica tre,    2000,    0,    0",
      "sfondo uno,    1",
      "sfondo due,    2",
      "sfondo tre,    3",
      "ripetizione segnali 4 codici,    0,    39000",
      "[curve]",
      "curvad2,  3000,  800",
      "[fine]",
      "",
  }));
  EXPECT_EQ(run.code(), 0);
  EXPECT_TRUE(run.end.reached_end);
  EXPECT_EQ(run.end.sign_row, 80);
  EXPECT_FALSE(run.has_line_source());
  EXPECT_TRUE(run.has_train_source());
  EXPECT_EQ(run.row(85).text, "Orvale_Varcona");
  EXPECT_EQ(run.row(86).text, "593");
  EXPECT_EQ(run.row(84).num_b, 40000);
  EXPECT_EQ(run.grid().last_index(), 940);
  // Progressives after ordering.
  EXPECT_EQ((std::array{run.row(81).num_a, run.row(81).num_b, run.row(81).num_c}),
            (std::array{3000, 0, 0}));
  EXPECT_EQ((std::array{run.row(82).num_a, run.row(82).num_b, run.row(82).num_c}),
            (std::array{2000, 0, 0}));
  EXPECT_EQ((std::array{run.row(83).num_a, run.row(83).num_b, run.row(83).num_c}),
            (std::array{1000, 300, 1}));
  // Backgrounds "uno", "tre", "due" in num_a, num_b, num_c.
  EXPECT_EQ(run.row(85).num_a, 1);
  EXPECT_EQ(run.row(85).num_b, 3);
  EXPECT_EQ(run.row(85).num_c, 2);
  EXPECT_EQ(run.row(86).num_a, 0);
  EXPECT_EQ(run.row(86).num_b, 39000);
  EXPECT_EQ(run.row(86).num_c, 4);
  ASSERT_TRUE(run.context.state.geometry);
  EXPECT_EQ(run.context.state.geometry->last_metre, 47000);
  EXPECT_EQ(run.context.state.geometry->cursor, 46999);
  EXPECT_GT(run.context.state.geometry->x(3900), 0.0);  // "d" turns towards +x
}

TEST(LineReader, GridLastIndexFromTheLength) {
  const struct {
    std::int32_t length, last_index;
  } cases[] = {{1000000, 20140}, {358000, 7300}, {3025, 200}, {3075, 202}, {25, 140}, {0, 140}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    LineRun run(line_source(c.length));
    EXPECT_EQ(run.code(), 0);
    ASSERT_TRUE(run.context.state.grid);
    EXPECT_EQ(run.grid().last_index(), c.last_index);
    EXPECT_EQ(run.context.state.geometry->last_metre, c.length + 7000);
  }
}

TEST(LineReader, HeaderWordsKeepTheirCaseExceptTheLength) {
  LineRun run(text_of({
      "[generale]",
      "LUNGHEZZA Percorso, 2000",
      "Progressiva chilometrica tre, 1000, 0, 0",
      "progressiva chilometrica DUE, 1000, 0, 0",
      "SFONDO uno, 4",
      "sfondo Tre, 4",
      "Ripetizione segnali 4 codici, 25, 25",
      "[x]",
      "sfondo uno, 9",  // header entries are not recognised in the body
      "",
  }));
  EXPECT_EQ(run.code(), 0);
  EXPECT_EQ(run.grid().last_index(), 180);
  for (int row = 81; row <= 83; ++row) EXPECT_EQ(run.row(row).num_a, 0) << row;
  EXPECT_EQ(run.row(85).num_a, 0);
  EXPECT_EQ(run.row(85).num_b, 0);
}

TEST(LineReader, SignalRepetitionCodes) {
  const struct {
    const char* entry;
    std::int32_t num_c;
  } cases[] = {{"ripetizione segnali 9 codici, 0, 0", 0},
               {"ripetizione segnali 9 codici, 100, 200", 9},
               {"ripetizione segnali 4 o 9, 100, 200", 4},
               {"ripetizione segnali 4 codici, 100, 0", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    LineRun run(text_of({"[generale]", c.entry, "lunghezza percorso, 1000", "[x]", ""}));
    EXPECT_EQ(run.code(), 0);
    EXPECT_EQ(run.row(86).num_c, c.num_c);
  }
}

TEST(LineReader, HeaderDropsUpToTenDashFieldsInARow) {
  // After ten drops the field is tested whatever it holds.
  LineRun tested(text_of({"[generale]", "-,-,-,-,-,-,-,-,-,-,-lunghezza percorso, 2000", "[x]", ""}));
  EXPECT_EQ(tested.code(), 0);
  EXPECT_EQ(tested.row(84).num_b, 2000);
  LineRun dropped(text_of({"[generale]", "-,-,-,-,-,-,-,-,-,-lunghezza percorso, 2000", "[x]", ""}));
  EXPECT_EQ(dropped.code(), 25);  // the length was dropped: no grid
  EXPECT_FALSE(dropped.context.state.grid);
  LineRun comment(text_of({"[generale]", "- lunghezza percorso, 5", "lunghezza percorso, 3000",
                           "-- sfondo uno, -5, -6", "[x]", ""}));
  EXPECT_EQ(comment.code(), 0);
  EXPECT_EQ(comment.row(84).num_b, 3000);
  EXPECT_EQ(comment.row(85).num_a, 0);
}

TEST(LineReader, HeaderEndedByTheFileStillReadsToTheEnd) {
  LineRun run("[generale]\r\nlunghezza percorso, 1000");
  EXPECT_EQ(run.code(), 0);
  EXPECT_TRUE(run.end.reached_end);
  EXPECT_EQ(run.grid().last_index(), 160);
}

// --- gradients -----------------------------------------------------------

TEST(LineReader, GradientsFillFromTheirChangeCell) {
  const struct {
    const char* name;
    std::vector<std::string> body;
    std::vector<std::pair<int, int>> cells;  // cell, gradient
  } cases[] = {
      {"no entry: level everywhere but the last three cells", {},
       {{0, 100}, {157, 100}, {158, 0}, {159, 0}, {160, 0}}},
      {"at 75 m from cell 2", {"pendenza, 75, 6"}, {{1, 100}, {2, 106}, {157, 106}, {158, 0}}},
      {"at 125 m also from cell 2", {"pendenza, 125, -6"}, {{1, 100}, {2, 94}, {157, 94}}},
      {"at 0 m: no cell before it", {"pendenza, 0, 3"}, {{0, 103}, {157, 103}}},
      {"in order", {"pendenza, 1500, 6", "pendenza, 6000, -4", "pendenza, 7000, 0"},
       {{29, 100}, {30, 106}, {119, 106}, {120, 96}, {139, 96}, {140, 100}, {157, 100}}},
      {"same position twice: one more cell", {"pendenza, 1000, 5", "pendenza, 1000, 7"},
       {{19, 100}, {20, 105}, {21, 107}}},
      {"dash in front changes nothing", {"-pendenza, 1000, 5"}, {{30, 100}}},
      {"two dash fields drop the keyword", {"-,-pendenza, 1000, 5"}, {{30, 100}}},
      {"after two drops the field is tested", {"-,-,-pendenza, 1000, 5"}, {{19, 100}, {20, 105}}},
      {"gradient kept in 8 bits", {"pendenza, 0, 200"}, {{0, 44}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LineRun run(line_source(1000, c.body));
    EXPECT_EQ(run.code(), 0);
    ASSERT_EQ(run.grid().last_index(), 160);
    for (auto [cell, gradient] : c.cells) EXPECT_EQ(run.grid()[cell].gradient, gradient) << cell;
  }
}

TEST(LineReader, GradientAtTheLastPositionInRange) {
  LineRun run(line_source(358000, {"pendenza, 364900, 5"}));
  EXPECT_EQ(run.code(), 0);
  EXPECT_EQ(run.grid()[7297].gradient, 100);
  EXPECT_EQ(run.grid()[7298].gradient, 105);
  EXPECT_EQ(run.grid()[7299].gradient, 0);
}

TEST(LineReader, GradientCursorPastTheGridWritesNothing) {
  std::vector<std::string> body(200, "pendenza, 7900, 5");
  LineRun run(line_source(1000, body));
  EXPECT_EQ(run.code(), 0);
  EXPECT_EQ(run.grid()[158].gradient, 105);
  EXPECT_EQ(run.grid()[160].gradient, 105);
  EXPECT_EQ(run.grid().cells.size(), 161u);
}

// --- indication boards ---------------------------------------------------

TEST(LineReader, IndicationBoardsGoToTheirCellAndRow) {
  LineRun run(line_source(100000, {"cartello_indicatore, 99975,   (Km 99+975)",
                                   "CARTELLO indicatore, 100025, \"Km 100, 025\" note",
                                   "cartello_indicatore, -75, origine"}));
  EXPECT_EQ(run.code(), 0);
  EXPECT_EQ(run.end.sign_row, 77);
  EXPECT_EQ(run.grid()[2000].kind, 14);
  EXPECT_EQ(run.grid()[2000].val_a, 80);
  EXPECT_EQ(run.row(80).text, "(Km 99+975)");
  EXPECT_EQ(run.grid()[2002].kind, 14);
  EXPECT_EQ(run.grid()[2002].val_a, 79);
  EXPECT_EQ(run.row(79).text, "Km 100, 025");
  EXPECT_EQ(run.grid()[0].kind, 14);  // -75 m rounds to cell 0
  EXPECT_EQ(run.row(78).text, "origine");
}

TEST(LineReader, SeventyNineIndicationBoardsAtMost) {
  std::vector<std::string> body;
  for (int board = 0; board < 80; ++board) {
    body.push_back("cartello_indicatore, " + std::to_string(1000 + 100 * board) + ", Km " +
                   std::to_string(board));
  }
  body.push_back("pendenza, 0, 5");
  LineRun run(line_source(20000, body));
  EXPECT_EQ(run.code(), 10);
  EXPECT_EQ(run.position(), 8900);
  EXPECT_EQ(run.context.state.status.origin, (SourceLine{kLineFile, 83}));
  EXPECT_FALSE(run.end.reached_end);
  EXPECT_FALSE(run.has_line_source());
  EXPECT_TRUE(run.has_train_source());
  EXPECT_EQ(run.row(2).text, "Km 78");
  EXPECT_EQ(run.row(1).text, "");
  EXPECT_EQ(run.grid()[cell_index(8900)].kind, 0);

  // The 80th board is range-checked and tested for a free cell first.
  body.resize(80);
  body.back() = "cartello_indicatore, 1000, taken";
  LineRun taken(line_source(20000, body));
  EXPECT_EQ(taken.code(), 6);
  body.back() = "cartello_indicatore, 30000, beyond";
  LineRun beyond(line_source(20000, body));
  EXPECT_EQ(beyond.code(), 15);
  EXPECT_TRUE(beyond.end.reached_end);
}

TEST(LineReader, TunnelsAndSpeedIndicatorsArePlaced) {
  LineRun run(line_source(40000, {"montagna,   20000,  21500,  11",
                                  "indicatori_vmax,  2050,  120,  130,  140,  0,  120,  130,  140,  0",
                                  "cartello_indicatore, 20100, on a marker",
                                  "montagna, 21600, 22000, 2"}));
  EXPECT_EQ(run.code(), 0);
  EXPECT_EQ(run.grid()[42].kind, 6);
  EXPECT_EQ(run.grid()[42].val_a, 2424);
  EXPECT_EQ(run.grid()[400].tunnel, 1);
  EXPECT_EQ(run.grid()[429].tunnel, 1);
  EXPECT_EQ(run.grid()[432].tunnel, 3);  // starts 100 m after the previous one: type 3
  EXPECT_EQ(run.grid()[439].tunnel, 3);
  EXPECT_EQ(run.grid()[407].kind, 11);
  // A board may take the place of a tunnel marker.
  EXPECT_EQ(run.grid()[403].kind, 14);
}

// --- several keywords, the end of the file --------------------------------

TEST(LineReader, OneFieldRunsEveryEntryItNames) {
  LineRun run(line_source(5000, {"pendenza+cartello_indicatore, 1000, 5, 2000, Km 2"}));
  EXPECT_EQ(run.code(), 0);
  EXPECT_EQ(run.grid()[20].gradient, 105);
  EXPECT_EQ(run.grid()[41].kind, 14);
  EXPECT_EQ(run.row(80).text, "Km 2");
}

TEST(LineReader, KeywordFieldThatEndsTheFileIsNotActedOn) {
  for (const char* tail : {"pendenza", "pendenza\r\n", "-,pendenza", "-, -, pendenza"}) {
    SCOPED_TRACE(tail);
    LineRun run("[generale]\r\nlunghezza percorso, 1000\r\n[x]\r\n" + std::string(tail));
    EXPECT_EQ(run.code(), 0);
    EXPECT_TRUE(run.end.reached_end);
  }
}

// --- plan geometry through the reader -------------------------------------

TEST(LineReader, CurvesDriveThePlanGeometry) {
  LineRun run(line_source(5000, {"curvad4, 1000, 2", "curvaS4, 2000, 1"}));
  EXPECT_EQ(run.code(), 0);
  PlanGeometry expected = create_plan_geometry(5000);
  seed_plan_geometry(expected);
  ASSERT_TRUE(run_curve(expected, 1000, 2, 0.001));
  ASSERT_TRUE(run_curve(expected, 2000, 1, -0.001));
  complete_plan_geometry(expected);
  PlanGeometry& geometry = *run.context.state.geometry;
  EXPECT_EQ(geometry.x(1001), 0.001);
  EXPECT_EQ(plan_geometry_file(geometry), plan_geometry_file(expected));
}

TEST(LineReader, CurveClassIsTheFirstDigitOneToSix) {
  const struct {
    const char* keyword;
    double curvature;
  } cases[] = {{"curvad1", 0.0001}, {"curvad2", 0.0002}, {"curvad3", 0.0004},
               {"curvad4", 0.001},  {"curvad5", 0.002},  {"curvad6", 0.003},
               {"curvad9 6 1", 0.0001}, {"curvas2", -0.0002}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keyword);
    LineRun run(line_source(1000, {std::string(c.keyword) + ", 100, 1"}));
    EXPECT_EQ(run.code(), 0);
    EXPECT_EQ(run.context.state.geometry->x(101), c.curvature);
  }
}

TEST(LineReader, WithoutGeometryFlagCurvesArePassedOver) {
  LineRun run(line_source(1000, {"curvax, 100, 50", "curvad1, 99999, 1"}), 0);
  EXPECT_EQ(run.code(), 0);
  EXPECT_FALSE(run.context.state.geometry);
  EXPECT_TRUE(run.end.reached_end);
}

TEST(LineReader, GeometryIsCompletedAfterAnEntryOutOfRange) {
  LineRun run(line_source(1000, {"curvad6, 500, 10", "pendenza, 99999, 1", "curvad6, 600, 10"}));
  EXPECT_EQ(run.code(), 15);
  EXPECT_EQ(run.context.state.geometry->cursor, 7999);
  EXPECT_EQ(run.context.state.geometry->tag(7998), GeometryTag::real);
  PlanGeometry expected = create_plan_geometry(1000);
  seed_plan_geometry(expected);
  ASSERT_TRUE(run_curve(expected, 500, 10, 0.003));
  complete_plan_geometry(expected);
  // The curve after the stop is skipped.
  EXPECT_EQ(plan_geometry_file(*run.context.state.geometry), plan_geometry_file(expected));
}

// --- every status of the line reader --------------------------------------

struct StatusCase {
  const char* name;
  std::optional<std::string> text;
  std::int32_t code;
  std::optional<std::int32_t> position;  // nullopt: left as it was
  std::optional<std::int32_t> line;      // nullopt: no origin recorded
  bool line_source_left;
  bool train_source_left;
  bool reached_end;
};

TEST(LineReader, EveryStatusWithItsPositionOriginAndFiles) {
  const std::string general = "[generale]\r\nlunghezza percorso, 358000\r\n";
  const StatusCase cases[] = {
      {"101 no line source", std::nullopt, 101, {}, {}, false, true, false},
      {"102 [generale] is the last field", "intro\r\n[generale]\r\n", 102, {}, {}, false, true,
       false},
      {"102 no [generale]", "lunghezza percorso, 1000\r\n[x]\r\n\r\n", 102, {}, {}, false, true,
       false},
      {"1 above 1000000", line_source(1000001), 1, {}, 2, false, true, false},
      {"1 below 0", line_source(-1), 1, {}, 2, false, true, false},
      {"3 repetition start", general + "\r\nripetizione segnali 4, 25, 100\r\n[x]\r\n\r\n", 3, {},
       4, false, true, false},
      {"4 repetition end", general + "ripetizione segnali 4, 50, 120\r\n[x]\r\n\r\n", 4, {}, 3,
       false, true, false},
      {"5 neither 4 nor 9", general + "ripetizione segnali, 0, 39000\r\n[x]\r\n\r\n", 5, {}, 3,
       false, true, false},
      {"15 gradient", line_source(358000, {"pendenza, 364901, 5", "curvax, 1, 1"}), 15, 364901,
       4, false, true, true},
      {"15 curve start", line_source(1000, {"", "curvad1, 7901, 5"}), 15, 7901, 5, false, true,
       true},
      {"15 tunnel start", line_source(1000, {"montagna, 7901, 8000, 1"}), 15, 7901, 4, false,
       true, true},
      {"15 speed indicator", line_source(1000, {"indicatori_vmax, 7901, 1,1,1,1,1,1,1,1"}), 15,
       7901, 4, false, true, true},
      {"15 indication board beyond", line_source(1000, {"cartello_indicatore, 7901, x"}), 15,
       7901, 4, false, true, true},
      {"15 indication board before cell 0", line_source(1000, {"cartello_indicatore, -76, x"}),
       15, -76, 4, false, true, true},
      {"15 speed indicator before cell 0",
       line_source(1000, {"indicatori_vmax, -76, 1,1,1,1,1,1,1,1"}), 15, -76, 4, false, true,
       true},
      {"103 no class digit", line_source(1000, {"curvax, 100, 50"}), 103, {}, 4, false, true,
       false},
      {"103 past metre 1000000", line_source(1000000, {"curvad1, 999000, 999", "curvad1,999999,2"}),
       103, {}, 5, false, true, false},
      {"6 indication board on a taken cell",
       line_source(1000, {"cartello_indicatore, 500, a", "cartello_indicatore, 510, b"}), 6, 510,
       5, false, true, false},
      {"21 speed indicator on a taken cell",
       line_source(1000, {"indicatori_vmax, 500, 1,1,1,1,1,1,1,1",
                          "cartello_indicatore, 1000, a", "indicatori_vmax, 1000, 1,1,1,1,1,1,1,1"}),
       21, 1000, 6, false, true, false},
      {"6 indication board on a speed indicator",
       line_source(1000, {"indicatori_vmax, 500, 1,1,1,1,1,1,1,1", "cartello_indicatore, 500, a"}),
       6, 500, 5, false, true, false},
      {"25 packed speed beyond 16 bits",
       line_source(1000, {"indicatori_vmax, 500, 1639, 1,1,1,1,1,1,1"}), 25, {}, 4, false, false,
       false},
      {"25 value cut off by the end", "[generale]\r\nlunghezza percorso, 1000\r\n[x]\r\npendenza, 100\r\n",
       25, {}, 4, false, false, false},
      {"25 a word for a number", line_source(1000, {"pendenza, cento, 5"}), 25, {}, 4, false,
       false, false},
      {"25 header without length", "[generale]\r\nsfondo uno, 1\r\n[x]\r\n\r\n", 25, {}, 3,
       false, false, false},
      {"25 length cut off", "[generale]\r\nlunghezza percorso,\r\n", 25, {}, 2, false, false,
       false},
      {"25 empty file", "", 25, {}, 1, false, false, false},
      {"25 keyword field too long", line_source(1000, {"pendenza, 10, 1", std::string(65536, 'x')}),
       25, {}, 5, false, false, false},
  };
  for (const StatusCase& c : cases) {
    SCOPED_TRACE(c.name);
    LineRun run(c.text);
    EXPECT_EQ(run.code(), c.code);
    EXPECT_EQ(run.position(), c.position.value_or(kUntouched));
    if (c.line) {
      EXPECT_EQ(run.context.state.status.origin, (SourceLine{kLineFile, *c.line}));
    } else {
      EXPECT_EQ(run.context.state.status.origin, std::nullopt);
    }
    EXPECT_EQ(run.has_line_source(), c.line_source_left);
    EXPECT_EQ(run.has_train_source(), c.train_source_left);
    EXPECT_EQ(run.end.reached_end, c.reached_end);
    EXPECT_FALSE(run.context.state.file_error);
  }
}

TEST(LineReader, KeepsTheSourcesWhenTheRunDoesNotDeleteThem) {
  LineRun refused(line_source(1000001), 1, /*delete_sources=*/false);
  EXPECT_EQ(refused.code(), 1);
  EXPECT_TRUE(refused.has_line_source());
  LineRun failed(line_source(1000, {"pendenza, x, 5"}), 1, /*delete_sources=*/false);
  EXPECT_EQ(failed.code(), 25);
  EXPECT_TRUE(failed.has_line_source());
  EXPECT_TRUE(failed.has_train_source());
  LineRun read(line_source(1000), 1, /*delete_sources=*/false);
  EXPECT_EQ(read.code(), 0);
  EXPECT_TRUE(read.has_line_source());
}

TEST(LineReader, UnreadableSourceTakesTheFailurePath) {
  test::MemoryBuild build(line_source(1000), "[generale]\r\n");
  build.files.failing.insert(build.names.line_source);
  const LineReadEnd end = read_line_source(build.context);
  EXPECT_FALSE(end.reached_end);
  EXPECT_EQ(build.context.state.status.code, 25);
  EXPECT_EQ(build.context.state.status.origin, std::nullopt);
  EXPECT_FALSE(build.context.state.grid);
  EXPECT_FALSE(build.has_train_source());
  ASSERT_TRUE(build.context.state.source_error);
  EXPECT_NE(build.context.state.source_error->find("Orvale_Varcona_linea.txt"), std::string::npos);
}

}  // namespace
}  // namespace scenario
