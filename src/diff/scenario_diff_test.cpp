#include "diff/scenario_diff.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>

#include "builtin/builtin_scenario.h"
#include "builtin/line_table.h"
#include "files/coding.h"
#include "diff/diff_text.h"
#include "diff/entry_listing.h"
#include "diff/plan_curves.h"
#include "output/scenario_writer.h"
#include "sources/build_model.h"
#include "testing/memory_file_system.h"

namespace scenario {
namespace {

// Two folders, "old" and "new", each holding the built-in sources, which a
// test edits; the comparison loads them as `diff` does.
class ScenarioDiffTest : public ::testing::Test {
 protected:
  ScenarioDiffTest() { reset_sources(); }

  void reset_sources() {
    files_.files.clear();
    for (const char* folder : {"old", "new"}) {
      const ScenarioFileNames names = scenario_file_names(folder, kDefaultBaseName, kDefaultTrainNumber);
      files_.files[names.line_source] = render_line_table(dati_linea());
      files_.files[names.train_source] = render_line_table(dati_treno());
    }
  }

  // Replaces the one occurrence of `from` in a source of the new folder.
  void edit(bool line_source, const std::string& from, const std::string& to) {
    const ScenarioFileNames names = scenario_file_names("new", kDefaultBaseName, kDefaultTrainNumber);
    std::string& text = files_.files[line_source ? names.line_source : names.train_source];
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    ASSERT_EQ(text.find(from, at + 1), std::string::npos) << from;
    text.replace(at, from.size(), to);
  }

  ScenarioDiff compare() {
    std::string error;
    EXPECT_TRUE(load_scenario(files_, "old", kDefaultBaseName, kDefaultTrainNumber, old_, error))
        << error;
    EXPECT_TRUE(load_scenario(files_, "new", kDefaultBaseName, kDefaultTrainNumber, new_, error))
        << error;
    return diff_scenarios(old_, new_, kDefaultBaseName, kDefaultTrainNumber);
  }

  std::vector<std::string> change_lines() {
    std::vector<std::string> lines;
    for (const Change& change : compare().changes) lines.push_back(change_text(change, Language::english));
    return lines;
  }

  // Puts the files the sources of "old" compile to into `folder`, without sources.
  void compile_into(const std::string& folder) {
    BuildContext context(files_, options_for("old", kDefaultBaseName, kDefaultTrainNumber, false));
    ASSERT_FALSE(build_model(context));
    const ScenarioFileNames names = scenario_file_names(folder, kDefaultBaseName, kDefaultTrainNumber);
    files_.files[names.record_table] = encode_record_table(context.state.table);
    files_.files[names.cell_grid] = encode_cell_grid(*context.state.grid);
    files_.files[names.plan_geometry] = std::string(plan_geometry_file(*context.state.geometry));
  }

  MemoryFileSystem files_;
  LoadedScenario old_, new_;
};

TEST_F(ScenarioDiffTest, AScenarioAgainstItselfHasNoDifference) {
  const ScenarioDiff diff = compare();
  EXPECT_TRUE(diff.changes.empty());
  EXPECT_TRUE(diff.follow_on.empty());
  EXPECT_TRUE(diff.same_bytes());
  EXPECT_EQ(diff_text(diff, old_, new_, "old", "new", Language::english),
            "--- old (sources, built in memory)\n"
            "+++ new (sources, built in memory)\n"
            "no difference\n");
}

TEST_F(ScenarioDiffTest, CompiledFilesAndTheirSourcesHaveNoDifference) {
  compile_into("compiled");
  std::string error;
  ASSERT_TRUE(load_scenario(files_, "old", kDefaultBaseName, kDefaultTrainNumber, old_, error));
  ASSERT_TRUE(
      load_scenario(files_, "compiled", kDefaultBaseName, kDefaultTrainNumber, new_, error));
  EXPECT_EQ(new_.origin, ScenarioOrigin::compiled_files);
  EXPECT_FALSE(new_.lines_known);  // no sources beside the files
  const ScenarioDiff diff = diff_scenarios(old_, new_, kDefaultBaseName, kDefaultTrainNumber);
  EXPECT_TRUE(diff.changes.empty());
  EXPECT_TRUE(diff.same_bytes());
}

// Each edit of the built-in sources is told as that one change, at its
// kilometre, with the line of the new source where it is known.
TEST_F(ScenarioDiffTest, ASingleEditIsOneChangeAtItsKilometre) {
  const struct {
    const char* what;
    bool line_source;
    const char* from;
    const char* to;
    const char* change;
  } cases[] = {
      {"station moved", false, "stazione,   121050, 12,", "stazione,   121150, 12,",
       "km 121+150  station \"MIRALTO\" changed: position from km 121+050 to km 121+150  "
       "(new/Orvale_Varcona_593-.txt:47)"},
      {"station renamed", false, "0, MIRALTO", "0, MIRALTO ALTO",
       "km 121+050  station \"MIRALTO ALTO\" changed: name from \"MIRALTO\" to \"MIRALTO ALTO\"  "
       "(new/Orvale_Varcona_593-.txt:47)"},
      {"standing time", false, "30, 14, 50, 0, MIRALTO", "40, 14, 50, 0, MIRALTO",
       "km 121+050  station \"MIRALTO\" changed: standing time from 30 s to 40 s  "
       "(new/Orvale_Varcona_593-.txt:47)"},
      {"scheduled time", false, "30, 14, 50, 0, MIRALTO", "30, 14, 52, 30, MIRALTO",
       "km 121+050  station \"MIRALTO\" changed: scheduled time from 14:50:00 to 14:52:30  "
       "(new/Orvale_Varcona_593-.txt:47)"},
      {"signal added", false, "segnale,    113050,",
       "segnale,    150000,   2, 4, 1,  0, 0,    1,  3,1,0, 0\r\nsegnale,    113050,",
       "km 150+000  signal added: sx 2, s1 4, s2 1, s3 0, rapp 0, dx 1, d1 3, d2 1, d3 0, "
       "time 0  (new/Orvale_Varcona_593-.txt:87)"},
      {"signal moved", false, "segnale,    113050,", "segnale,    113150,",
       "km 113+150  signal moved: position from km 113+050 to km 113+150  "
       "(new/Orvale_Varcona_593-.txt:87)"},
      {"speed point", false, "velocita,   10350,   175", "velocita,   10350,   170",
       "km 10+350 to km 22+000  speed limit changed: from 175 km/h to 170 km/h  "
       "(new/Orvale_Varcona_593-.txt:11)"},
      {"restriction speed", false, "rallentamento,   180950,    40,", "rallentamento,   180950,    30,",
       "km 180+950  speed restriction changed: speed from 40 km/h to 30 km/h  "
       "(new/Orvale_Varcona_593-.txt:83)"},
      {"curve lengthened", true, "curvad2,  9500,  2250", "curvad2,  9500,  2350",
       "km 9+500  curve changed: length from 2250 m to 2350 m  (new/Orvale_Varcona_linea.txt:13)"},
      {"curve class", true, "curvad2,  9500,  2250", "curvad5,  9500,  2250",
       "km 9+500  curve changed: class from 2 to 5  (new/Orvale_Varcona_linea.txt:13)"},
      {"board text", true, "(Km 208+500)", "(Km 208+501)",
       "km 208+550  indication board changed: text from \"(Km 208+500)\" to \"(Km 208+501)\"  "
       "(new/Orvale_Varcona_linea.txt:216)"},
      {"gradient", true, "pendenza,  8400,   2", "pendenza,  8400,   3",
       "km 8+400 to km 15+900  gradient changed: from 2 permille to 3 permille  "
       "(new/Orvale_Varcona_linea.txt:98)"},
      {"tunnel lengthened", true, "montagna,   135400,  137400,  11", "montagna,   135400,  137600,  11",
       "km 135+400  tunnel changed: length from 2000 m to 2200 m  (new/Orvale_Varcona_linea.txt:163)"},
      {"tunnel moved", true, "montagna,   135400,  137400,  11", "montagna,   135600,  137600,  11",
       "km 135+600  tunnel moved: position from km 135+400 to km 135+600  "
       "(new/Orvale_Varcona_linea.txt:163)"},
      {"line length", true, "lunghezza percorso,    358000", "lunghezza percorso,    360000",
       "header  line length changed: from 358000 m to 360000 m"},
      {"sand", false, "sabbia,    200", "sabbia,    250", "header  sand changed: from 200 to 250"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    reset_sources();
    edit(c.line_source, c.from, c.to);
    EXPECT_EQ(change_lines(), std::vector<std::string>{c.change});
  }
}

// The text form in Italian: the words of every part, the values and names
// as the files hold them.
TEST_F(ScenarioDiffTest, TheTextSpeaksItalian) {
  reset_sources();
  edit(false, "stazione,   121050, 12,", "stazione,   121150, 12,");
  edit(false, "rallentamento,   180950,    40,", "rallentamento,   180950,    30,");
  edit(true, "pendenza,  8400,   2", "pendenza,  8400,   3");
  const ScenarioDiff diff = compare();
  EXPECT_EQ(diff_text(diff, old_, new_, "vecchio", "nuovo", Language::italian),
            "--- vecchio (sorgenti, compilate in memoria)\n"
            "+++ nuovo (sorgenti, compilate in memoria)\n"
            "da km 8+400 a km 15+900  pendenza cambia: da 2 per mille a 3 per mille  "
            "(new/Orvale_Varcona_linea.txt:98)\n"
            "km 121+150  stazione \"MIRALTO\" cambia: progressiva da km 121+050 a km 121+150  "
            "(new/Orvale_Varcona_593-.txt:47)\n"
            "km 180+950  rallentamento cambia: velocità da 40 km/h a 30 km/h  "
            "(new/Orvale_Varcona_593-.txt:83)\n"
            "byte conseguenti, non elencati uno per uno: 6 codici di avvicinamento (per i segnali "
            "e le stazioni); 2 paletti di fermata (per le stazioni)\n"
            "3 modifiche\n");
}

// Bytes that change with no entry of their own: counted, not listed, and
// when nothing else changed, the first differing byte is named.
TEST_F(ScenarioDiffTest, BytesWithoutAChangeOfMeaningAreToldApart) {
  compile_into("a");
  compile_into("b");
  const ScenarioFileNames b = scenario_file_names("b", kDefaultBaseName, kDefaultTrainNumber);
  files_.files[b.cell_grid][10] = 5;  // cell 0's approach code
  std::string error;
  ASSERT_TRUE(load_scenario(files_, "a", kDefaultBaseName, kDefaultTrainNumber, old_, error));
  ASSERT_TRUE(load_scenario(files_, "b", kDefaultBaseName, kDefaultTrainNumber, new_, error));
  const ScenarioDiff diff = diff_scenarios(old_, new_, kDefaultBaseName, kDefaultTrainNumber);
  EXPECT_TRUE(diff.changes.empty());
  EXPECT_EQ(diff_text(diff, old_, new_, "a", "b", Language::english),
            "--- a (compiled files)\n"
            "+++ b (compiled files)\n"
            "follow-on bytes, not listed one by one: 1 approach codes (from the signals and "
            "stations)\n"
            "the same meaning, but the bytes differ:\n"
            "  Orvale_Varcona_593.dat: first difference at byte 10 (cell 0, approach)\n");
}

// The integrity codes follow from the names: a new train number changes
// them without a line of their own, a code that fits no name is a change.
TEST_F(ScenarioDiffTest, IntegrityCodesFollowTheNamesOrAreAChange) {
  compile_into("a");
  {
    // The scenario of train 594 in files named for train 593.
    MemoryFileSystem other;
    const ScenarioFileNames names = scenario_file_names("x", kDefaultBaseName, "594");
    other.files[names.line_source] = render_line_table(dati_linea());
    other.files[names.train_source] = render_line_table(dati_treno());
    BuildContext context(other, options_for("x", kDefaultBaseName, "594", false));
    ASSERT_FALSE(build_model(context));
    const ScenarioFileNames b = scenario_file_names("b", kDefaultBaseName, kDefaultTrainNumber);
    files_.files[b.record_table] = encode_record_table(context.state.table);
    files_.files[b.cell_grid] = encode_cell_grid(*context.state.grid);
  }
  std::string error;
  ASSERT_TRUE(load_scenario(files_, "a", kDefaultBaseName, kDefaultTrainNumber, old_, error));
  ASSERT_TRUE(load_scenario(files_, "b", kDefaultBaseName, kDefaultTrainNumber, new_, error));
  ScenarioDiff diff = diff_scenarios(old_, new_, kDefaultBaseName, kDefaultTrainNumber);
  ASSERT_EQ(diff.changes.size(), 2u);
  EXPECT_EQ(change_text(diff.changes[0], Language::english), "header  train number changed: from \"593\" to \"594\"");
  EXPECT_EQ(change_text(diff.changes[1], Language::english), "header  plan geometry removed");
  ASSERT_EQ(diff.follow_on.size(), 1u);
  EXPECT_EQ(diff.follow_on[0].what, "integrity codes");
  EXPECT_EQ(diff.follow_on[0].count, 2u);

  // A code that no name gives.
  new_ = old_;
  new_.table.rows[table_row::kScenarioHeader].num_d += 1;
  diff = diff_scenarios(old_, new_, kDefaultBaseName, kDefaultTrainNumber);
  ASSERT_EQ(diff.changes.size(), 1u);
  EXPECT_EQ(change_text(diff.changes[0], Language::english),
            "header  stamps and integrity codes changed: from fit the names to row 85 num_d " +
                std::to_string(old_.table.rows[table_row::kScenarioHeader].num_d + 1) +
                " (expected " + std::to_string(old_.table.rows[table_row::kScenarioHeader].num_d) +
                ")");
}

TEST_F(ScenarioDiffTest, RefusesWhatIsNoScenario) {
  compile_into("a");
  const ScenarioFileNames a = scenario_file_names("a", kDefaultBaseName, kDefaultTrainNumber);
  files_.files[a.cell_grid].pop_back();
  std::string error;
  EXPECT_FALSE(load_scenario(files_, "a", kDefaultBaseName, kDefaultTrainNumber, old_, error));
  EXPECT_EQ(error, "'a/Orvale_Varcona_593.dat' is not a valid cell grid file: size 109514 bytes "
                   "is not a whole, non-zero number of 15-byte cells");
  files_.files.erase(a.record_table);
  EXPECT_FALSE(load_scenario(files_, "a", kDefaultBaseName, kDefaultTrainNumber, old_, error));
  EXPECT_NE(error.find("Orvale_Varcona_593.sim"), std::string::npos) << error;
  EXPECT_FALSE(load_scenario(files_, "none", kDefaultBaseName, kDefaultTrainNumber, old_, error));
  EXPECT_EQ(error, "cannot read the folder 'none'");
}

TEST(PlanCurves, TheCurvesOfTheSourceComeBackFromThePlan) {
  MemoryFileSystem files;
  const ScenarioFileNames names = scenario_file_names("s", kDefaultBaseName, kDefaultTrainNumber);
  files.files[names.line_source] =
      "[generale]\r\nlunghezza percorso, 40000\r\n[curve]\r\ncurvad2, 3000, 800\r\n"
      "curvas4, 12000, 400\r\ncurvad6, 12400, 50\r\ncurvas1, 20000, 1\r\n[fine]\r\n\r\n";
  files.files[names.train_source] = "[generale]\r\n[fine]\r\n\r\n";
  BuildContext context(files, options_for("s", kDefaultBaseName, kDefaultTrainNumber, false));
  ASSERT_FALSE(build_model(context));
  DecodedGeometry geometry;
  std::string error;
  ASSERT_TRUE(decode_plan_geometry(plan_geometry_file(*context.state.geometry), geometry, error));
  EXPECT_EQ(plan_curves(geometry), (std::vector<CurveOfPlan>{{3000, 800, 2, 'd'},
                                                           {12000, 400, 4, 's'},
                                                           {12400, 50, 6, 'd'},
                                                           {20000, 1, 1, 's'}}));
}

// Files of the right layout whatever they hold (as an editor or another tool
// may leave them): compared with the built-in scenario both ways and with
// themselves, and listed, without a fault; a scenario is always the same as
// itself.
TEST_F(ScenarioDiffTest, AnyFilesOfTheLayoutCompareWithoutFault) {
  compile_into("a");
  std::mt19937 random(21);
  const std::int32_t interesting[] = {0, 1, -1, 2, 5, 10, 14, 25, 80, 180, 255, 256,
                                      5121, 32767, -32768, 1000000, -1000000};
  auto pick = [&]() -> std::int32_t {
    return random() % 3 == 0 ? static_cast<std::int32_t>(random())
                             : interesting[random() % std::size(interesting)];
  };
  const ScenarioFileNames b = scenario_file_names("b", kDefaultBaseName, kDefaultTrainNumber);
  std::string error;
  ASSERT_TRUE(load_scenario(files_, "a", kDefaultBaseName, kDefaultTrainNumber, old_, error));
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE(round);
    RecordTable table;
    for (TableRow& row : table.rows) {
      if (random() % 2 == 0) continue;
      row.kind = static_cast<std::uint8_t>(pick());
      row.num_a = pick();
      row.num_b = pick();
      row.num_c = pick();
      row.text = std::string(random() % 4, static_cast<char>('A' + random() % 3));
      row.word_a = static_cast<std::int16_t>(pick());
      row.byte_b = static_cast<std::uint8_t>(pick());
      row.num_d = pick();
    }
    CellGrid grid;
    grid.cells.resize(1 + random() % 400);
    for (TrackCell& cell : grid.cells) {
      if (random() % 3 != 0) continue;
      cell.kind = static_cast<std::uint8_t>(random() % 4 == 0 ? pick() : random() % 16);
      cell.val_a = static_cast<std::int16_t>(pick());
      cell.val_b = static_cast<std::int16_t>(pick());
      cell.val_c = static_cast<std::int16_t>(pick());
      cell.val_d = static_cast<std::int16_t>(pick());
      cell.approach = static_cast<std::uint8_t>(pick());
      cell.tunnel = static_cast<std::uint8_t>(random() % 3);
      cell.speed_limit = static_cast<std::uint8_t>(pick());
      cell.gradient = static_cast<std::uint8_t>(pick());
    }
    files_.files[b.record_table] = encode_record_table(table);
    files_.files[b.cell_grid] = encode_cell_grid(grid);
    files_.files.erase(b.plan_geometry);
    if (random() % 2 == 0) {
      // Metres of any of the three tags, turning by any amount.
      std::string x, y;
      const std::size_t metres = random() % 300;
      double px = 0, py = 0;
      for (std::size_t m = 0; m < metres; ++m) {
        for (std::string* half : {&x, &y}) {
          const int tag = random() % 5;
          if (tag == 0) {
            put_u16(*half, 0);
          } else if (tag == 1) {
            put_u16(*half, 2);
            put_i16(*half, static_cast<std::int16_t>(pick()));
          } else {
            double& p = half == &x ? px : py;
            p += (random() % 7 == 0) ? 0.0 : static_cast<double>(random() % 2001) / 1000.0;
            put_u16(*half, 5);
            put_f64(*half, p);
          }
        }
      }
      files_.files[b.plan_geometry] = x + y;
    }
    ASSERT_TRUE(load_scenario(files_, "b", kDefaultBaseName, kDefaultTrainNumber, new_, error))
        << error;
    const ScenarioDiff there = diff_scenarios(old_, new_, kDefaultBaseName, kDefaultTrainNumber);
    const ScenarioDiff back = diff_scenarios(new_, old_, kDefaultBaseName, kDefaultTrainNumber);
    EXPECT_FALSE(there.same_bytes());
    EXPECT_EQ(there.changes.size(), back.changes.size());
    diff_text(there, old_, new_, "a", "b", Language::english);
    const ScenarioDiff itself = diff_scenarios(new_, new_, kDefaultBaseName, kDefaultTrainNumber);
    EXPECT_TRUE(itself.changes.empty());
    EXPECT_TRUE(itself.follow_on.empty());
    EXPECT_TRUE(itself.same_bytes());
    for (const std::string& path : {b.record_table, b.cell_grid, b.plan_geometry}) {
      std::string listing;
      if (files_.exists(path)) {
        EXPECT_TRUE(list_file_entries(files_, path, listing, error)) << error;
      }
    }
  }
}

}  // namespace
}  // namespace scenario
