#include "sources/train_reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "files/file_names.h"
#include "sources/memorizza_dati.h"
#include "testing/test_support.h"

namespace scenario {
namespace {

constexpr std::int32_t kUnchanged = 4242;  // a position no record of these tests holds
constexpr const char* kTrainFile = "Orvale_Varcona_593-.txt";

// "[generale]" on line 1, the given lines from line 2 on, then the trailer.
std::string source(const std::vector<std::string>& lines) {
  std::string text = "[generale]\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  return text + "[fine]\r\n";
}

std::string stations(std::int32_t count) {
  std::string text;
  for (std::int32_t s = 1; s <= count; ++s) {
    text += "stazione, " + std::to_string(1000 + 400 * s) +
            ", 28, 0, 0, 0, 0, 0,0,0, 0,0,0, 0, 0,0,0, Halt\r\n";
  }
  return text;
}

class TrainReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context.state.grid = make_cell_grid(358000);  // cells 0..7300
    context.state.status.position = kUnchanged;
    files.files[names.line_source] = "line source";  // only the failure path deletes it
  }

  void read(const std::string& text, std::int32_t sign_row = 80) {
    files.files[names.train_source] = text;
    read_train_source(context, sign_row);
  }

  CellGrid& grid() { return *context.state.grid; }
  TableRow& row(int index) { return context.state.table.rows[static_cast<std::size_t>(index)]; }
  std::int32_t n() { return grid().last_index(); }
  bool exists(const std::string& path) { return files.files.count(path) != 0; }
  static SourceLine at_line(std::int32_t line) { return SourceLine{kTrainFile, line}; }

  MemoryFileSystem files;
  BuildContext context{files, test::options_in("scen")};
  const ScenarioFileNames& names = context.names;
};

TEST_F(TrainReaderTest, WithoutGeneralSectionOnlyTheFinalFillsRun) {
  for (TrackCell& cell : grid().cells) cell.speed_limit = cell.adhesion = 99;
  read("velocita, 0, 100\r\naderenza, 0, 5\r\nsabbia, 7\r\n[fine]\r\n");
  for (std::int32_t i = 0; i <= n(); ++i) {
    const std::uint8_t expected = i <= n() - 3 ? 0 : 99;
    ASSERT_EQ(grid()[i].speed_limit, expected) << "cell " << i;
    ASSERT_EQ(grid()[i].adhesion, expected) << "cell " << i;
  }
  EXPECT_EQ(row(table_row::kTrainHeader).word_a, 0);
  EXPECT_EQ(context.state.status.code, 0);
  EXPECT_FALSE(exists(names.train_source));
}

TEST_F(TrainReaderTest, GeneralIsFoundWhateverTheCaseAndAfterOtherFields) {
  read("train 593, notes\r\n  [Generale] \r\nsabbia, 7\r\n[fine]\r\n");
  EXPECT_EQ(row(table_row::kTrainHeader).word_a, 7);
}

TEST_F(TrainReaderTest, KeywordsMatchAnywhereIgnoringCase) {
  const struct {
    const char* lines;
    std::uint8_t cell0_speed;
  } cases[] = {
      {"velocita, 0, 100", 20},
      {"Velocita, 0, 100", 20},
      {"VELOCIT\xC0, 0, 100", 20},     // the accented letter as one 8-bit byte
      {"VELOCIT\xC3\x80, 0, 100", 20},
      {"[velocita]\r\n0, 100", 20},    // a section title reads the next two fields
      {"limite di velocit\xE0 massima, 0, 100", 20},
      {"veloce, 0, 100", 0},           // no keyword: its numbers are passed over
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    grid() = make_cell_grid(358000);
    read(source({c.lines}));
    EXPECT_EQ(grid()[0].speed_limit, c.cell0_speed);
    EXPECT_EQ(context.state.status.code, 0);
  }
}

TEST_F(TrainReaderTest, HeaderRecordsFillRows84And86) {
  read(source({"percentuale MASSA Frenata, 130", "numero vetture, 12", "massa, 400",
               "orologio, 14 40 40", "sabbia, -32768"}));
  EXPECT_EQ(row(table_row::kQuantities).num_a, 130);  // "massa, 400" lacks "frenata"
  EXPECT_EQ(row(table_row::kQuantities).num_c, 12);
  EXPECT_EQ(row(table_row::kTrainHeader).word_c, 14);
  EXPECT_EQ(row(table_row::kTrainHeader).word_d, 40);
  EXPECT_EQ(row(table_row::kTrainHeader).word_e, 40);
  EXPECT_EQ(row(table_row::kTrainHeader).word_a, -32768);
  EXPECT_EQ(context.state.status.code, 0);
}

TEST_F(TrainReaderTest, OneKeywordFieldRunsItsRecordsInTableOrder) {
  // "vetture" is tested before "sabbia", whatever the order in the field.
  read(source({"sabbia e vetture, 12, 150"}));
  EXPECT_EQ(row(table_row::kQuantities).num_c, 12);
  EXPECT_EQ(row(table_row::kTrainHeader).word_a, 150);
}

TEST_F(TrainReaderTest, DashFieldsAreDroppedAtMostTwiceInARow) {
  read(source({"-velocita, 0, 100", "aderenza, 0, 1"}));
  EXPECT_EQ(grid()[0].speed_limit, 0);  // "0" and "100" were passed over
  EXPECT_EQ(grid()[0].adhesion, 1);

  grid() = make_cell_grid(358000);
  read(source({"-, -, -velocita, 0, 80"}));  // the third field is taken as it is
  EXPECT_EQ(grid()[0].speed_limit, 16);
}

TEST_F(TrainReaderTest, KeywordFieldThatEndsTheFileIsNotActedOn) {
  read("[generale]\r\nsabbia\r\n");
  EXPECT_EQ(context.state.status.code, 0);
  read("[generale]\r\nsabbia");
  EXPECT_EQ(context.state.status.code, 0);
  read("[generale]\r\nsabbia, 10");  // its number follows: read normally
  EXPECT_EQ(row(table_row::kTrainHeader).word_a, 10);
  EXPECT_EQ(context.state.status.code, 0);
}

TEST_F(TrainReaderTest, SpeedPointsFillFromTheirCellToTheNextPoint) {
  read(source({"velocita, 0, 115", "velocita, 1000, 160"}));
  for (std::int32_t i = 0; i <= n(); ++i) {
    const std::uint8_t expected = i < 20 ? 23 : i <= n() - 3 ? 32 : 0;
    ASSERT_EQ(grid()[i].speed_limit, expected) << "cell " << i;
  }
}

TEST_F(TrainReaderTest, SecondPointAtTheSamePositionStillWritesOneCell) {
  read(source({"velocita, 0, 100", "velocita, 1000, 150", "velocita, 1000, 200"}));
  EXPECT_EQ(grid()[19].speed_limit, 20);
  EXPECT_EQ(grid()[20].speed_limit, 30);
  EXPECT_EQ(grid()[21].speed_limit, 40);
}

TEST_F(TrainReaderTest, PointAtANegativePositionOnlySetsTheValue) {
  for (TrackCell& cell : grid().cells) cell.speed_limit = 99;
  read(source({"velocita, -500, 60", "aderenza, -500, 3", "velocita, 1000, 100"}));
  EXPECT_EQ(grid()[0].speed_limit, 12);
  EXPECT_EQ(grid()[19].speed_limit, 12);
  EXPECT_EQ(grid()[20].speed_limit, 20);
  EXPECT_EQ(grid()[0].adhesion, 3);
  EXPECT_EQ(context.state.status.code, 0);
}

TEST_F(TrainReaderTest, FillsNeverPassTheLastCell) {
  // Repeated points at the last position allowed each move the fill
  // positions one cell on, until cell N; the final fills write that cell.
  read(source({"velocita, 0, 100", "aderenza, 0, 1", "velocita, 364900, 110",
               "aderenza, 364900, 2", "velocita, 364900, 120", "aderenza, 364900, 3",
               "velocita, 364900, 130", "aderenza, 364900, 4", "velocita, 364900, 140",
               "aderenza, 364900, 5", "velocita, 364900, 150", "aderenza, 364900, 6"}));
  EXPECT_EQ(context.state.status.code, 0);
  EXPECT_EQ(grid()[7297].speed_limit, 20);
  EXPECT_EQ(grid()[7298].speed_limit, 22);
  EXPECT_EQ(grid()[7299].speed_limit, 24);
  EXPECT_EQ(grid()[7300].speed_limit, 30);
  EXPECT_EQ(grid()[7297].adhesion, 1);
  EXPECT_EQ(grid()[7298].adhesion, 2);
  EXPECT_EQ(grid()[7299].adhesion, 3);
  EXPECT_EQ(grid()[7300].adhesion, 6);
}

TEST_F(TrainReaderTest, SpeedIsStoredInUnitsOfFiveKmh) {
  const struct {
    std::int32_t speed;
    std::optional<std::uint8_t> units;  // none: the failure path
  } cases[] = {{1277, 255}, {1278, std::nullopt}, {7, 1}, {8, 2},
               {-2, 0},     {-3, std::nullopt},   {0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.speed);
    grid() = make_cell_grid(358000);
    context.state.status = BuildStatus{};
    context.state.status.position = kUnchanged;
    // The speed reaches its cells when the next point is read.
    read(source({"velocita, 0, " + std::to_string(c.speed), "velocita, 1000, 100"}));
    if (c.units) {
      EXPECT_EQ(context.state.status.code, 0);
      EXPECT_EQ(grid()[0].speed_limit, *c.units);
    } else {
      EXPECT_EQ(context.state.status.code, status::kReadFailure);
      EXPECT_EQ(context.state.status.position, kUnchanged);
      EXPECT_EQ(context.state.status.origin, at_line(2));  // where the speed was written
    }
  }
}

TEST_F(TrainReaderTest, SpeedTooHighForTheLastPointFailsInTheFinalFills) {
  read(source({"velocita, 0, 100", "sabbia, 1", "velocita, 2000, 1278", "sabbia, 2"}));
  EXPECT_EQ(context.state.status.code, status::kReadFailure);
  EXPECT_EQ(context.state.status.origin, at_line(4));
  EXPECT_FALSE(exists(names.train_source));
  EXPECT_FALSE(exists(names.line_source));
}

TEST_F(TrainReaderTest, AdhesionKeepsItsLowEightBits) {
  read(source({"aderenza, 0, 3", "aderenza, 500, 300"}));
  for (std::int32_t i = 0; i <= n(); ++i) {
    const std::uint8_t expected = i < 10 ? 3 : i <= n() - 3 ? 44 : 0;
    ASSERT_EQ(grid()[i].adhesion, expected) << "cell " << i;
  }
}

TEST_F(TrainReaderTest, ReductionPointsGoToTheLowerCell) {
  const struct {
    std::int32_t value;
    std::uint8_t kind;
    std::int16_t val_a;
  } cases[] = {{0, cell_kind::kCodeCut, 0},
               {-5, cell_kind::kCodeCut, 0},
               {70, cell_kind::kReductionPoint, 70},
               {40000, cell_kind::kReductionPoint, -25536}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    grid() = make_cell_grid(358000);
    grid()[20].kind = cell_kind::kTunnelMarker;  // yields its cell
    read(source({"abbattimento, 1000, " + std::to_string(c.value),
                 "abbattimento, -25, " + std::to_string(c.value)}));
    EXPECT_EQ(context.state.status.code, 0);
    for (std::int32_t cell : {20, 0}) {
      EXPECT_EQ(grid()[cell].kind, c.kind);
      EXPECT_EQ(grid()[cell].val_a, c.val_a);
    }
  }
}

// Every way the reading can end, with the status and origin it leaves, the
// files that remain and whether the final fills ran. Each source starts with
// a speed point on line 2, so the final fills show in cell N - 3.
struct EndCase {
  const char* name;
  std::vector<std::string> lines;  // from line 3 on
  std::int32_t code;
  std::optional<std::int32_t> position;  // none: left as it was
  std::optional<std::int32_t> line;      // none: no origin
  bool fills;
  std::int32_t sign_row = 80;
  std::int32_t progressive_a = 0;  // row 81 `num_a`
  std::int32_t progressive_b = 0;  // row 83 `num_b`
};

// Warning board on cell 3596, pre-warning cells 3595..3592, start 3620, end 3624.
const std::string kRestriction = "rallentamento, 180950, 40, 200, 0, 1, 40";

std::string signal_at(const std::string& p) {
  return "segnale, " + p + ", 2, 4, 1, 0, 0, 1, 3,1,0, 0";
}
std::string restriction_at(const std::string& x_v_l) {
  return "rallentamento, " + x_v_l + ", 0, 0, 0";
}
std::string station_at(const std::string& fields) {
  return "stazione, " + fields + ", 0, 0, 0, 0,0,0, 0,0,0, 0, 0,0,0, X";
}

TEST_F(TrainReaderTest, EveryEndOfReadingLeavesItsStatusAndFiles) {
  const EndCase cases[] = {
      // name, lines, code, position, origin line, final fills[, sign row, progressives]
      {"no status", {"sabbia, 1"}, 0, std::nullopt, std::nullopt, true},
      {"speed point beyond the grid",
       {"velocita, 364900, 80", "velocita, 364901, 80", "sabbia, 9"}, 15, 364901, 4, true},
      {"adhesion point beyond the grid", {"aderenza, 364901, 1"}, 15, 364901, 3, true},
      {"signal beyond the grid, record over two lines",
       {"segnale,", "364901, 2, 4, 1, 0, 0, 1, 3,1,0, 0"}, 15, 364901, 3, true},
      {"signal before cell 0", {signal_at("-76")}, 15, -76, 3, true},
      {"restriction beyond the grid", {restriction_at("364901, 40, 0")}, 15, 364901, 3, true},
      {"restriction ending beyond the grid", {restriction_at("364000, 40, 1000")}, 15, 364000,
       3, true},
      {"restriction end past 32 bits", {restriction_at("2000, 40, 2147483647")}, 15, 2000, 3,
       true},
      {"restriction ending before cell 0", {restriction_at("2000, 40, -2200")}, 15, 2000, 3,
       true},
      {"reduction point beyond the grid", {"abbattimento, 364901, 70"}, 15, 364901, 3, true},
      {"reduction point before cell 0", {"abbattimento, -26, 70"}, 15, -26, 3, true},
      {"station beyond the grid", {station_at("364250, 28, 0")}, 15, 364250, 3, true},
      {"station stop marker beyond the grid", {station_at("364200, 7, 900")}, 15, 364200, 3,
       true},
      {"reduction point on a taken cell", {"abbattimento, 1000, 70", "abbattimento, 1010, 0"},
       7, 1010, 4, false},
      {"signal on a taken cell", {"abbattimento, 127050, 70", signal_at("127000")}, 16, 127000,
       4, false},
      {"warning board on a taken cell", {"abbattimento, 179800, 70", kRestriction}, 17, 180950,
       4, false},
      {"start board on a taken cell", {"abbattimento, 181000, 70", kRestriction}, 18, 180950,
       4, false},
      {"end board on a taken cell", {"abbattimento, 181200, 70", kRestriction}, 19, 180950, 4,
       false},
      {"pre-warning cell taken", {"abbattimento, 179700, 70", kRestriction}, 20, 180950, 4,
       false},
      {"station position", {station_at("1525, 12, 400")}, 8, 1525, 3, false},
      {"station length", {station_at("1500, 12, 550")}, 9, 1500, 3, false},
      {"stations too close", {station_at("1500, 12, 400"), station_at("2200, 12, 400")}, 22,
       2200, 4, false},
      {"stop marker on cell 1", {station_at("0, 12, 200")}, 24, std::nullopt, 3, false},
      {"stations reach the sign rows", {station_at("1500, 12, 400")}, 10, std::nullopt, 3,
       false, 2},
      {"number too wide for its field", {"sabbia, 32768"}, 25, std::nullopt, 3, false},
      {"word where a number is expected", {"velocita, 1000, fast"}, 25, std::nullopt, 3, false},
      {"record cut short", {"sabbia, 1", "vetture,"}, 25, std::nullopt, 4, false},
      {"progressive start not a multiple of 50", {"sabbia, 1"}, 2, std::nullopt, std::nullopt,
       true, 80, 1025},
      {"progressive end not a multiple of 50", {"sabbia, 1"}, 2, std::nullopt, std::nullopt,
       true, 80, 0, 10},
      {"progressive check replaces 15", {"velocita, 364901, 80"}, 2, 364901, std::nullopt, true,
       80, 1025},
  };
  for (const EndCase& c : cases) {
    SCOPED_TRACE(c.name);
    context.state.table = RecordTable{};
    row(table_row::kProgressiveTre).num_a = c.progressive_a;
    row(table_row::kProgressiveUno).num_b = c.progressive_b;
    grid() = make_cell_grid(358000);
    context.state.status = BuildStatus{};
    context.state.status.position = kUnchanged;
    files.files[names.line_source] = "line source";
    std::vector<std::string> lines = {"velocita, 0, 100"};
    lines.insert(lines.end(), c.lines.begin(), c.lines.end());
    read(source(lines), c.sign_row);

    EXPECT_EQ(context.state.status.code, c.code);
    EXPECT_EQ(context.state.status.position, c.position.value_or(kUnchanged));
    EXPECT_EQ(context.state.status.origin,
              c.line ? std::optional<SourceLine>(at_line(*c.line)) : std::nullopt);
    EXPECT_EQ(grid()[n() - 3].speed_limit, c.fills ? 20 : 0);
    EXPECT_FALSE(exists(names.train_source));
    EXPECT_EQ(exists(names.line_source), c.code != status::kReadFailure);
  }
}

TEST_F(TrainReaderTest, CodeLeftByTheLineReaderStopsAtTheFirstSignalOrRestriction) {
  for (const std::string& entry :
       {signal_at("127000"), std::string("rallentamento, 127000, 40, 200, 0, 1, 40")}) {
    SCOPED_TRACE(entry);
    context.state.table = RecordTable{};
    grid() = make_cell_grid(358000);
    context.state.status =
        BuildStatus{status::kOutOfRange, 364901, SourceLine{"Orvale_Varcona_linea.txt", 97}};
    read(source({"velocita, 0, 100", station_at("1500, 12, 400"), entry, "sabbia, 5"}));
    EXPECT_EQ(context.state.status.code, status::kOutOfRange);
    EXPECT_EQ(context.state.status.position, 127000);
    EXPECT_EQ(context.state.status.origin, at_line(4));
    EXPECT_EQ(row(1).num_c, 1500);  // the station before it was read
    EXPECT_EQ(row(table_row::kTrainHeader).word_a, 0);
    EXPECT_EQ(grid()[n() - 3].speed_limit, 0);  // no final fills
    EXPECT_FALSE(exists(names.train_source));
  }
}

TEST_F(TrainReaderTest, MissingOrUnreadableSourceTakesTheFailurePath) {
  read_train_source(context, 80);
  EXPECT_EQ(context.state.status.code, status::kReadFailure);
  EXPECT_EQ(context.state.status.position, kUnchanged);
  EXPECT_EQ(context.state.status.origin, std::nullopt);
  EXPECT_FALSE(exists(names.line_source));

  context.state.status = BuildStatus{};
  files.failing.insert(names.train_source);
  read(source({"sabbia, 5"}));
  EXPECT_EQ(context.state.status.code, status::kReadFailure);
  EXPECT_EQ(row(table_row::kTrainHeader).word_a, 0);
  // The reason is kept for the message; the build itself goes on.
  ASSERT_TRUE(context.state.source_error);
  EXPECT_NE(context.state.source_error->find(names.train_source), std::string::npos);
}

TEST_F(TrainReaderTest, KeepsTheSourcesWhenTheRunDoesNotDeleteThem) {
  context.options.delete_sources = false;
  read(source({"sabbia, 5"}));
  EXPECT_EQ(context.state.status.code, 0);
  EXPECT_TRUE(exists(names.train_source));

  read(source({"sabbia, 32768"}));
  EXPECT_EQ(context.state.status.code, status::kReadFailure);
  EXPECT_TRUE(exists(names.train_source));
  EXPECT_TRUE(exists(names.line_source));
}

TEST_F(TrainReaderTest, SeventyNinthStationWithoutIndicationBoardsGives10) {
  read("[generale]\r\n" + stations(79) + "[fine]\r\n");
  EXPECT_EQ(context.state.status.code, status::kStationsReachSigns);
  EXPECT_EQ(context.state.status.origin, at_line(80));
  EXPECT_EQ(row(79).num_c, 1000 + 400 * 79);

  context.state.status = BuildStatus{};
  context.state.table = RecordTable{};
  read("[generale]\r\n" + stations(78) + "[fine]\r\n");
  EXPECT_EQ(context.state.status.code, 0);
}

// --- after the line reader --------------------------------------------------

std::string line_source(const std::vector<std::string>& body) {
  std::string text = "[generale]\r\nlunghezza percorso, 358000\r\n[tracciato]\r\n";
  for (const std::string& line : body) text += line + "\r\n";
  return text + "[fine]\r\n\r\n";
}

TEST(TrainReaderAfterLineReader, StationsStopBelowTheIndicationBoardRows) {
  test::MemoryBuild build(line_source({"cartello_indicatore, 25050, (Km 25+050)",
                                       "cartello_indicatore, 26050, (Km 26+050)",
                                       "cartello_indicatore, 27050, (Km 27+050)"}),
                          "[generale]\r\n" + stations(80) + "[fine]\r\n");
  memorizza_dati(build.context);
  const RecordTable& table = build.context.state.table;
  EXPECT_EQ(build.context.state.status.code, status::kStationsReachSigns);
  EXPECT_EQ(build.context.state.status.origin, (SourceLine{kTrainFile, 77}));
  EXPECT_EQ(table.rows[76].num_c, 1000 + 400 * 76);
  EXPECT_EQ(table.rows[77], TableRow{});  // the sign row stays free
  EXPECT_EQ(table.rows[78].text, "(Km 27+050)");
  EXPECT_FALSE(build.has_train_source());
}

TEST(TrainReaderAfterLineReader, LineSourceOutOfRangeStopsAtTheFirstSignal) {
  test::MemoryBuild build(line_source({"pendenza, 364901, 0"}),
                          "[generale]\r\nsabbia, 5\r\nsegnale, 127000, 2, 4, 1, 0, 0, 1, 3,1,0, 0"
                          "\r\nvetture, 9\r\n[fine]\r\n");
  memorizza_dati(build.context);
  EXPECT_EQ(build.context.state.status.code, status::kOutOfRange);
  EXPECT_EQ(build.context.state.status.position, 127000);
  EXPECT_EQ(build.context.state.status.origin, (SourceLine{kTrainFile, 3}));
  EXPECT_EQ(build.context.state.table.rows[table_row::kTrainHeader].word_a, 5);
  EXPECT_EQ(build.context.state.table.rows[table_row::kQuantities].num_c, 0);
  EXPECT_FALSE(build.has_line_source());
  EXPECT_FALSE(build.has_train_source());
}

}  // namespace
}  // namespace scenario
