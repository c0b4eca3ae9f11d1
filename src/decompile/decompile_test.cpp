#include "decompile/decompile.h"

#include <gtest/gtest.h>

#include "decompile/write_sources.h"
#include "check/explanations.h"
#include "testing/decompile_properties.h"
#include "testing/example_sources.h"
#include "testing/memory_compile.h"

namespace scenario {
namespace {

using testing::check_decompile_round_trip;

constexpr const char* kHeader =
    "[generale]\r\n"
    "lunghezza percorso, 20000\r\n"
    "sfondo uno, 1\r\n"
    "ripetizione segnali 4 codici, 0, 19000\r\n";

std::string line_with(const std::string& body) { return kHeader + body + "[fine]\r\n\r\n"; }

std::string train_with(const std::string& body) {
  return "[generale]\r\nnumero vetture, 8\r\nvelocita, 0, 100\r\naderenza, 0, 90\r\n" + body +
         "[fine]\r\n\r\n";
}

// Sources whose compile stops early, leaves odd fills or needs entries the
// plain reading of the files would not give: each compiles, decompiles and
// compiles again to the same bytes, with and without the plan geometry.
TEST(DecompileRoundTrip, GivesTheSameBytesWhereverTheCompileStopped) {
  const struct {
    const char* name;
    std::string line;
    std::string train;
  } cases[] = {
      {"a second length beyond the limit keeps the first one's grid",
       "[generale]\r\nlunghezza percorso, 3000\r\nsfondo due, 4\r\nlunghezza percorso, 2000000\r\n"
       "[curve]\r\ncurvad1, 100, 50\r\n[fine]\r\n\r\n",
       train_with("")},
      {"a reading stopped in the header leaves the progressives as read",
       "[generale]\r\nlunghezza percorso, 3000\r\nprogressiva chilometrica uno, 1000, 200, 1\r\n"
       "progressiva chilometrica due, 3000, 0, 0\r\nlunghezza percorso, 2000000\r\n[fine]\r\n\r\n",
       train_with("")},
      {"a repetition keyword without 4 or 9",
       "[generale]\r\nlunghezza percorso, 3000\r\nripetizione segnali, 100, 200\r\n[fine]\r\n\r\n",
       train_with("")},
      {"a repetition start off the 50 m grid",
       "[generale]\r\nlunghezza percorso, 3000\r\nripetizione segnali 9, 120, 200\r\n[fine]\r\n\r\n",
       train_with("")},
      {"a second repetition off the grid keeps the first one's count",
       "[generale]\r\nlunghezza percorso, 3000\r\nripetizione segnali 9 codici, 0, 2000\r\n"
       "ripetizione segnali 8, 50, 2\r\n[fine]\r\n\r\n",
       train_with("")},
      {"a second repetition without 4 or 9 and an end of 0 keeps the first one's count",
       "[generale]\r\nlunghezza percorso, 3000\r\nripetizione segnali 4 codici, 0, 2000\r\n"
       "ripetizione segnali, 100, 0\r\n[fine]\r\n\r\n",
       train_with("")},
      {"a number too wide in the body after a curve",
       line_with("curvad3, 500, 300\r\npendenza, 1000, 5\r\npendenza, 99999999999, 1\r\n"),
       train_with("segnale, 5000, 2, 4, 1, 0, 0, 1, 3, 1, 0, 0\r\n")},
      {"a board on a taken cell after a tunnel",
       line_with("montagna, 1000, 3000, 12\r\nindicatori_vmax, 4000, 100, 105, 110, 2, 90, 95, "
                 "100, 1\r\ncartello_indicatore, 4000, (Km 4+000)\r\n"),
       train_with("")},
      {"tunnels closer than 150 m, of other types, overlapping",
       line_with("montagna, 1000, 2000, 11\r\nmontagna, 2100, 3000, 2\r\nmontagna, 2900, 4000, "
                 "14\r\nmontagna, 9000, 9500, 1\r\n"),
       train_with("")},
      {"gradients and speeds pushed onto the last cells",
       line_with("pendenza, 26800, 4\r\npendenza, 26800, -3\r\npendenza, 26800, 7\r\n"),
       train_with("velocita, 26800, 60\r\nvelocita, 26800, 70\r\nvelocita, 26800, 80\r\n"
                  "aderenza, 26800, 7\r\naderenza, 26800, 300\r\n")},
      {"a station cut short after its position",
       line_with(""),
       train_with("stazione, 3000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Miralto\r\n"
                  "stazione, 8025, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Borgo\r\n")},
      {"a station length off the 100 m grid",
       line_with(""),
       train_with("stazione, 3000, 12, 450, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Miralto\r\n")},
      {"stations too close, then more entries",
       line_with(""),
       train_with("stazione, 3000, 4, 800, 1, 2, 1, 1,1,0, 4,1,1, 30, 7,16,0, Miralto\r\n"
                  "stazione, 3500, 7, 200, 0, 0, 1, 1,1,0, 4,1,1, 30, 7,16,0, Borgo\r\n"
                  "segnale, 9000, 2, 4, 1, 0, 0, 1, 3,1,0, 0\r\n")},
      {"a station whose stop marker would fall before cell 2",
       line_with(""),
       train_with("stazione, 0, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Capo\r\n")},
      {"stations reaching the board rows",
       line_with([] {
         std::string boards;
         for (int b = 0; b < 76; ++b) {
           boards += "cartello_indicatore, " + std::to_string(1000 + 100 * b) + ", B" +
                     std::to_string(b) + "\r\n";
         }
         return boards;
       }()),
       train_with("stazione, 3000, 28, 200, 0, 0, 0, 0,0,0, 0,0,0, 0, 0,0,0, A\r\n"
                  "stazione, 4000, 28, 200, 0, 0, 0, 0,0,0, 0,0,0, 0, 0,0,0, B\r\n"
                  "stazione, 5000, 28, 200, 0, 0, 0, 0,0,0, 0,0,0, 0, 0,0,0, C\r\n"
                  "velocita, 9000, 150\r\n")},
      {"a station of every extent rule, the first one extended",
       line_with(""),
       train_with("stazione, 3000, 2, 800, 1, 9, 1, 1,1,0, 4,1,1, 1, 7,16,0, A\r\n"
                  "stazione, 6000, 5, 300, 0, 0, 1, 1,1,0, 4,1,1, 30, 7,20,0, B\r\n"
                  "stazione, 9000, 8, 300, 0, 0, 1, 1,1,0, 4,1,1, 30, 7,25,0, C\r\n"
                  "stazione, 12000, 12, 600, 3, 5, 1, -7,300,255, -2,3,4, 255, 25,70,-5, D\r\n")},
      {"user points beside the pass's own, one of them 180",
       line_with(""),
       train_with("rallentamento, 9000, 60, 1000, 1, 1, 0\r\nsegnale, 8200, 2, 4, 1, 0, 0, 1, "
                  "3,1,0, 0\r\nabbattimento, 8600, 180\r\nabbattimento, 9400, 70\r\n"
                  "abbattimento, 12000, 0\r\nsegnale, 10500, 2, 4, 1, 0, 0, 1, 3,1,0, 0\r\n")},
      {"a line stopped at 15 stops the train at its first signal",
       line_with("pendenza, 1000, 3\r\npendenza, 900000, 1\r\n"),
       train_with("velocita, 2000, 140\r\nsegnale, 5000, 2, 4, 1, 0, 0, 1, 3,1,0, 0\r\n"
                  "segnale, 6000, 2, 4, 1, 0, 0, 1, 3,1,0, 0\r\n")},
      {"signals of every type, timers and values beyond one digit",
       line_with(""),
       train_with("segnale, 4000, 0, 4, 1, 0, 7, 1, 3,1,0, 50\r\n"
                  "segnale, 5000, 2, 14, -1, 0, 0, 2, 3,1,0, 50\r\n"
                  "segnale, 6000, 1, 4, 1, 0, -3, 2, 3,1,0, 0\r\n"
                  "segnale, 6025, 2, 4, 1, 0, 0, 1, 3,1,0, 300\r\n")},
      {"signals before the station whose approach they share",
       line_with(""),
       train_with("segnale, 5050, 2, 4, 1, 0, 0, 1, 3,1,0, 0\r\n"
                  "stazione, 5000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, A\r\n")},
      {"an entry of 180 where the pass's walk would put its point",
       line_with(""),
       train_with("rallentamento, 9000, 60, 2000, 1, 1, 0\r\nabbattimento, 9450, 180\r\n"
                  "abbattimento, 8700, 180\r\nsegnale, 12000, 2, 4, 1, 0, 0, 1, 3,1,0, 0\r\n")},
      {"a signal whose rapp runs past 16 bits and a board text over two lines",
       line_with("cartello_indicatore, 3000, \"a\r\nb\"\r\n"),
       train_with("segnale, 9000, 2, 400, -100, 32767, 7777, 1, 3,1,0, 77\r\n")},
      {"a train source that ends inside a station's name",
       line_with(""),
       "[generale]\r\nstazione, 3000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, A\r\n"
       "stazione, 9000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0\r\n"},
      {"a stop marker over a signal",
       line_with(""),
       train_with("segnale, 5000, 2, 4, 1, 0, 0, 1, 3,1,0, 0\r\n"
                  "stazione, 5000, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, A\r\n")},
      {"a stop marker over an indicator board",
       line_with("indicatori_vmax, 5000, 100, 105, 110, 2, 90, 95, 100, 0\r\n"),
       train_with("stazione, 5000, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, A\r\n")},
      {"texts that need quotes and kilometre progressives out of order",
       "[generale]\r\nlunghezza percorso, 20000\r\nprogressiva chilometrica uno, 1000, 200, 1\r\n"
       "progressiva chilometrica due, 3000, 0, 0\r\nprogressiva chilometrica tre, 3000, 50, 0\r\n"
       "[x]\r\ncartello_indicatore, 3000, \" (Km 3,000)\"\r\ncartello_indicatore, 4000, "
       "\"\"\r\n[fine]\r\n\r\n",
       train_with("stazione, 3000, 28, 200, 0, 0, 0, 0,0,0, 0,0,0, 0, 0,0,0, \"Borgo, Alto\"\r\n")},
      {"a marked tunnel over the first part of an unmarked one of its type",
       line_with("[montagne]\r\nmontagna, 1000, 6000, 3\r\nmontagna, 1000, 3000, 13\r\n"),
       train_with("")},
      {"a marked tunnel whose first cells later ones took",
       line_with("[montagne]\r\nmontagna, 100, 600, 12\r\nmontagna, 50, 150, 1\r\n"
                 "montagna, 0, 100, 2\r\n"),
       train_with("")},
      {"a tunnel stored with a type above 10 whose first cell a later one took",
       line_with("[montagne]\r\nmontagna, 100, 600, 52\r\nmontagna, 100, 150, 1\r\n"),
       train_with("")},
      {"markers on open air: a marked tunnel whose type's low 8 bits are 0",
       line_with("[montagne]\r\nmontagna, 1000, 3000, 266\r\nmontagna, 5000, 6000, 2\r\n"),
       train_with("")},
      {"markers on open air: a tunnel of type 0 over a marked one",
       line_with("[montagne]\r\nmontagna, 1000, 3000, 11\r\nmontagna, 0, -1000000, 0\r\n"
                 "montagna, 1000, 3000, 0\r\nmontagna, 3100, 4000, 2\r\n"),
       train_with("")},
      {"markers on open air whose first cells a later tunnel took",
       line_with("[montagne]\r\nmontagna, 1000, 3000, 522\r\nmontagna, 900, 1100, 4\r\n"),
       train_with("")},
      {"markers of another step in a run after open air, from a tunnel starting in it",
       line_with("[montagne]\r\nmontagna, 0, 300, 13\r\nmontagna, 500, 3000, 13\r\n"
                 "montagna, 1000, 3000, 13\r\n"),
       train_with("")},
      {"markers of one step on both sides of an unmarked stretch of the type",
       line_with("[montagne]\r\nmontagna, 0, 300, 13\r\nmontagna, 250, 3000, 0\r\n"
                 "montagna, 1000, 3000, 13\r\n"),
       train_with("")},
      {"a marked tunnel whose first part a later tunnel of type 0 took",
       line_with("[montagne]\r\nmontagna, 999, 3000, 11\r\nmontagna, 0, -1000000, 0\r\n"
                 "montagna, 1000, 1500, 0\r\n"),
       train_with("")},
      {"an unmarked tunnel whose type's low 8 bits are above 10",
       line_with("[montagne]\r\nmontagna, 1000, 3000, -64\r\n"), train_with("")},
      {"a marked tunnel that an unmarked one of its type above 10 runs on from",
       line_with("[montagne]\r\nmontagna, 1000, 3000, -206\r\nmontagna, 0, -1000000, 0\r\n"
                 "montagna, 1000, 2000, 60\r\n"),
       train_with("")},
      {"a pre-warned restriction 25 m past a multiple of 100: its pre-warning base 26 cells back",
       line_with(""), train_with("rallentamento, 3325, 60, 1500, 0, 1, 60\r\n")},
      {"a pre-warned restriction before a station whose stop marker takes a pre-warning cell",
       line_with(""),
       train_with("rallentamento, 3325, 60, 1500, 0, 1, 60\r\n"
                  "stazione, 2000, 12, 100, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,4,0, A\r\n")},
      {"a pre-warned restriction refused the pre-warning cells an earlier one holds",
       line_with(""),
       train_with("rallentamento, 3324, 60, 1500, 0, 1, 60\r\n"
                  "stazione, 2000, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,4,0, A\r\n"
                  "rallentamento, 3325, 60, 1500, 0, 1, 60\r\n")},
      {"a restriction before a station whose stop marker takes its warning board",
       line_with(""),
       train_with("rallentamento, 3219, 60, 1500, 0, 1, 60\r\n"
                  "stazione, 2000, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,4,0, A\r\n")},
      {"a restriction before a station whose stop marker takes its start board",
       line_with(""),
       train_with("rallentamento, 3300, 60, 1500, 0, 1, 60\r\n"
                  "stazione, 3300, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,4,0, A\r\n")},
      {"a restriction of values 0 before a station whose stop marker takes its start board",
       line_with(""),
       train_with("rallentamento, 3300, 60, 1500, 0, 0, 0\r\n"
                  "stazione, 3300, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,4,0, A\r\n")},
      {"a restriction without a warning board whose start board a stop marker takes",
       line_with(""),
       train_with("rallentamento, 1000, 60, 1500, 3, 0, 7\r\n"
                  "stazione, 1000, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,4,0, A\r\n")},
      {"a restriction of values 0 without a warning board whose start board a stop marker takes",
       line_with(""),
       train_with("rallentamento, 1000, 60, 510, 0, 0, 0\r\n"
                  "stazione, 1000, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,4,0, A\r\n")},
      {"two restrictions of the same values, the first one's start board under a stop marker",
       line_with(""),
       train_with("rallentamento, 1000, 60, 1500, 3, 0, 7\r\nrallentamento, 500, 60, 1500, 3, 0, 7\r\n"
                  "stazione, 1000, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,4,0, A\r\n")},
      {"a pre-warned restriction whose last value's low 16 bits are 0",
       line_with(""), train_with("rallentamento, 3300, 60, 1500, 0, 1, 3276800\r\n")},
      {"restrictions near the start, with and without a warning board",
       line_with(""),
       train_with("rallentamento, 1500, 30, 100, 0, 1, 0\r\nrallentamento, 1501, 40, 0, 2, 1, 45"
                  "\r\nrallentamento, 5000, 100, 200, 0, 1, 0\r\n")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(check_decompile_round_trip(c.line, c.train), std::nullopt) << c.name;
  }
}

// The example of every status code and fatal error of `explain`: a compile
// of every outcome, each decompiled exactly.
TEST(DecompileRoundTrip, GivesTheSameBytesForTheExampleOfEveryStatus) {
  int examples = 0;
  for (const Explanation& explanation : all_explanations()) {
    if (explanation.example.empty()) continue;
    const auto [line, train] = testing::example_sources(explanation);
    EXPECT_EQ(check_decompile_round_trip(line, train), std::nullopt) << explanation.id;
    ++examples;
  }
  EXPECT_GT(examples, 15);
}

// Files a compile cannot have written: each place is named with its bytes.
TEST(Decompile, NamesEveryPlaceItCannotExpress) {
  const MemoryCompile run = compile_in_memory(
      line_with("pendenza, 1000, 3\r\n"),
      train_with("segnale, 5000, 2, 4, 1, 0, 0, 1, 3,1,0, 0\r\n"));
  ASSERT_TRUE(run.record_table && run.cell_grid && run.plan_geometry);
  std::string grid = *run.cell_grid;
  grid[15 * 300] = 9;          // a kind no entry writes
  std::string table = *run.record_table;
  table[0] = 1;                // row 0 is never used
  const Decompiled made =
      decompile({table, grid, *run.plan_geometry}, kDefaultBaseName, kDefaultTrainNumber);
  ASSERT_FALSE(made.broken_file);
  ASSERT_EQ(made.place_count, 2u);
  EXPECT_EQ(place_text(made.places[0]),
            "row 0: found 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
            "00 00 00 00 00 00 00 00 00 00, nearest 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(made.places[1].where, "cell 300 at 14950 m");
  EXPECT_EQ(made.places[1].found.substr(0, 2), "09");
  EXPECT_EQ(made.places[1].nearest.substr(0, 2), "00");
}

TEST(Decompile, RefusesALayoutThatIsNoScenarioFile) {
  const MemoryCompile run = compile_in_memory(line_with(""), train_with(""));
  ASSERT_TRUE(run.record_table && run.cell_grid);
  const Decompiled made = decompile({*run.record_table, run.cell_grid->substr(1), std::nullopt},
                                    kDefaultBaseName, kDefaultTrainNumber);
  ASSERT_EQ(made.broken_file, ScenarioFileKind::cell_grid);
  EXPECT_NE(made.error.find("is not a whole, non-zero number of 15-byte cells"), std::string::npos)
      << made.error;
}

TEST(TextField, QuotesOnlyWhatAPlainFieldCannotHold) {
  const struct {
    const char* text;
    const char* field;
    bool exact;
  } cases[] = {
      {"(Km 99+996)", "(Km 99+996)", true},   {"", "", true},
      {"Borgo, Alto", "\"Borgo, Alto\"", true}, {" lead", "\" lead\"", true},
      {"trail  ", "trail  ", true},           {"a \"b\"", "a \"b\"", true},
      {"\"q\", r", "\"q, r\"", false},
  };
  for (const auto& c : cases) {
    std::string field;
    EXPECT_EQ(text_field(c.text, field), c.exact) << c.text;
    EXPECT_EQ(field, c.field) << c.text;
  }
}

}  // namespace
}  // namespace scenario
