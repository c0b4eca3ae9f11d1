#include "check/check.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "builtin/builtin_scenario.h"
#include "check/check_test_util.h"
#include "testing/check_properties.h"
#include "testing/compile_properties.h"
#include "testing/test_support.h"

namespace scenario {
namespace {

using namespace std::string_view_literals;

// The sources of the table below: the fuzzers' small valid pair (a line of
// 1000 m, cells 0..160), with one edit each.
using test::edited;

struct Mistake {
  const char* name;
  std::string_view line_from, line_to;    // an edit of the line source ("" none, "*" all)
  std::string_view train_from, train_to;  // an edit of the train source
  std::string expected;                   // every finding, one a line, notes indented
};

void expect_findings(const std::vector<Mistake>& mistakes) {
  for (const Mistake& mistake : mistakes) {
    SCOPED_TRACE(mistake.name);
    const std::string line =
        mistake.line_from.empty() && mistake.line_to.empty()
            ? std::string(testing::fixed_line_source())
            : edited(testing::fixed_line_source(), mistake.line_from, mistake.line_to);
    const std::string train =
        mistake.train_from.empty() && mistake.train_to.empty()
            ? std::string(testing::fixed_train_source())
            : edited(testing::fixed_train_source(), mistake.train_from, mistake.train_to);
    EXPECT_EQ(testing::findings_text(testing::check_in_memory(line, train)), mistake.expected);
    // The compile's own status is among them.
    EXPECT_EQ(testing::check_check_properties(line, train), std::nullopt);
  }
}

// An author's mistakes, one at a time: each message verbatim, with its file,
// line, column and end column ("FILE:LINE:COL-END:").
TEST(Check, LineSourceMistakes) {
  expect_findings({
      {"misspelt curve keyword", "curvad2", "curvd2", "", "",
       "Orvale_Varcona_linea.txt:11:1-7: warning: \"curvd2\" matches no keyword of the line source's body and is dropped, with the values after it; did you mean \"curvad2\"? [unknown-keyword]\n"},
      {"misspelt gradient keyword", "pendenza,  500", "pendeza,  500", "", "",
       "Orvale_Varcona_linea.txt:15:1-8: warning: \"pendeza\" matches no keyword of the line source's body and is dropped, with the values after it; did you mean \"pendenza\"? [unknown-keyword]\n"},
      {"a value too many", "pendenza,  150,   6", "pendenza,  150,   6, 7", "", "",
       "Orvale_Varcona_linea.txt:14:22-23: warning: values left over after the gradient entry are dropped, from \"7\" on [extra-values]\n"},
      {"a hash in front of a line", "pendenza,  500", "# pendenza,  500", "", "",
       "Orvale_Varcona_linea.txt:15:1-11: warning: this source format has no comments: the line is read like any other and its entry is taken; to leave an entry out, put a \"-\" in front of its keyword (a field holding \"-\" is dropped by the readers) [comment-marker]\n"},
      {"a gradient of 200 kept in a byte", "pendenza,  900,   0", "pendenza,  900,   200", "", "",
       "Orvale_Varcona_linea.txt:16:19-22: warning: the value 200 of the gradient in permille does not fit its field (-100..155): only its low bits are kept, and it is stored as -56 [narrowed-value]\n"},
      {"gradients out of order", "pendenza,  500", "pendenza,  100", "", "",
       "Orvale_Varcona_linea.txt:15:1-9: warning: the gradient at 100 m comes after one at 150 m (line 14): these entries must go in ascending order of position, or they do not take effect where they say [out-of-order]\n"},
      {"curves out of order", "curvas4,  600", "curvas4,  100", "", "",
       "Orvale_Varcona_linea.txt:12:1-8: warning: the curve at 100 m comes after one at 200 m (line 11): these entries must go in ascending order of position, or they do not take effect where they say [out-of-order]\n"},
      {"a gradient past the end of the line", "pendenza,  900,   0", "pendenza,  9000,   0", "", "",
       "Orvale_Varcona_linea.txt:16:12-16: error: the position 9000 m lies outside the line: valid are positions up to 7900 m (the line is 1000 m long; the rest of the line source is passed over) [S15]\n"
       "  Orvale_Varcona_593-.txt:10:16-20: note: compile reports status 15 here instead: the status this error leaves set stops the train reading at the first signal or speed restriction\n"},
      {"a decimal number", "pendenza,  150,   6", "pendenza,  150,   6.5", "", "",
       "Orvale_Varcona_linea.txt:14:19-22: error: expected a whole number for the gradient in permille, found \"6.5\": the sources hold whole numbers only, with no decimals [S25]\n"},
      {"a gradient cut short", "pendenza,  900,   0", "pendenza,  900", "", "",
       "Orvale_Varcona_linea.txt:16:1-9: error: the gradient entry is cut short: missing the gradient in permille (found \"[montagne]\" on line 17 instead) [S25]\n"},
      {"a number past 32 bits", "sfondo uno,    1", "sfondo uno,    99999999999", "", "",
       "Orvale_Varcona_linea.txt:6:16-27: error: the background value \"99999999999\" is outside the range of a number, -2147483648..2147483647 [S25]\n"},
      {"a line too long", "lunghezza percorso,    1000", "lunghezza percorso,    2000000", "", "",
       "Orvale_Varcona_linea.txt:2:24-31: error: the line length 2000000 m is outside 0..1000000 m [S1]\n"},
      {"the length keyword misspelt", "lunghezza percorso,    1000", "lunghezza percorsso,    1000", "", "",
       "Orvale_Varcona_linea.txt:2:1-20: warning: \"lunghezza percorsso\" matches no keyword of the line source's header and is dropped, with the values after it; did you mean \"lunghezza percorso\"? [unknown-keyword]\n"
       "Orvale_Varcona_linea.txt:10:0: error: the header ends without a \"lunghezza percorso\" entry: the line has no length, and no cell grid is made [S25]\n"},
      {"a header keyword in capitals", "sfondo uno", "Sfondo uno", "", "",
       "Orvale_Varcona_linea.txt:6:1-11: warning: \"Sfondo uno\" is not taken: the words of this keyword are matched in lower case only, as in \"sfondo uno\" [keyword-case]\n"},
      {"a repetition start off the 50 m grid", "0,    900", "25,    900", "", "",
       "Orvale_Varcona_linea.txt:9:34-36: error: the signal-repetition start 25 m is not a multiple of 50 m [S3]\n"},
      {"a repetition keyword without 4 or 9", "ripetizione segnali 4 codici", "ripetizione segnali codici", "", "",
       "Orvale_Varcona_linea.txt:9:1-27: error: the signal-repetition keyword \"ripetizione segnali codici\" holds neither the digit 4 nor the digit 9 (the number of codes) [S5]\n"},
      {"a curve without class digit", "curvas4", "curvas", "", "",
       "Orvale_Varcona_linea.txt:12:1-7: error: the curve keyword \"curvas\" holds no class digit 1 to 6 (as in \"curvad2\") [S103]\n"},
      {"an indication board on a taken cell", "cartello_indicatore,  2550", "cartello_indicatore,  2050", "", "",
       "Orvale_Varcona_linea.txt:22:23-27: error: the cell of the indication board at 2050 m (cell 42) is taken by a maximum-speed indicator board at 2050 m, from Orvale_Varcona_linea.txt line 20 [S6]\n"},
      {"no general section", "[generale]", "[general]", "", "",
       "Orvale_Varcona_linea.txt:0:0: error: the line source has no \"[generale]\" section [S102]\n"},
      {"speeds of an indicator board past 16 bits", "indicatori_vmax,  2050,  120", "indicatori_vmax,  2050,  2000", "", "",
       "Orvale_Varcona_linea.txt:20:1-16: error: the speeds of the maximum-speed indicator board do not fit its 16-bit fields: each left speed times 20 plus the right speed over 5 must stay within -32768..32767 [S25]\n"},
      {"blanks after a board text", "(Km 2+550)", "(Km 2+550)  ", "", "",
       "Orvale_Varcona_linea.txt:22:31-43: warning: the board text \"(Km 2+550)  \" ends in blanks or tabs, which the simulator shows as part of it [trailing-blanks]\n"},
      {"a board text in UTF-8", "(Km 2+550)", "(Citt\xC3\xA0)", "", "",
       "Orvale_Varcona_linea.txt:22:31-39: warning: the board text \"(Citt\xC3\xA0)\" holds bytes that look like UTF-8 (\"\xC3\xA0\"): the simulator reads code page 1252 and shows each of them as a character of its own [utf8-text]\n"},
      {"a gradient written with tabs", "pendenza,  150,   6", "pendenza\t150\t6", "", "",
       "Orvale_Varcona_linea.txt:14:1-15: warning: \"pendenza\\x09150\\x096\" is read as one field: fields are separated by commas, not tabs [field-separator]\nOrvale_Varcona_linea.txt:14:1-15: error: the gradient entry is cut short: missing the position in metres and the gradient in permille (found \"pendenza\" on line 15 instead) [S25]\n"},
      {"a gradient written with semicolons", "pendenza,  150,   6", "pendenza; 150; 6", "", "",
       "Orvale_Varcona_linea.txt:14:1-17: warning: \"pendenza; 150; 6\" is read as one field: fields are separated by commas, not semicolons [field-separator]\nOrvale_Varcona_linea.txt:14:1-17: error: the gradient entry is cut short: missing the position in metres and the gradient in permille (found \"pendenza\" on line 15 instead) [S25]\n"},
      {"a falling gradient written with semicolons", "pendenza,  500,   -4", "pendenza;  500;   -4", "", "",
       "Orvale_Varcona_linea.txt:15:1-21: warning: \"pendenza;  500;   -4\" is read as one field, and dropped for the \"-\" it holds: fields are separated by commas, not semicolons [field-separator]\n"},
      {"a decimal comma", "pendenza,  150,   6", "pendenza,  150,   -3,5", "", "",
       "Orvale_Varcona_linea.txt:14:19-23: warning: \"-3,5\" is read as -3: the sources hold whole numbers only, with no decimals, and the \"5\" after the comma is dropped [decimal-comma]\n"},
      {"two gradients at one position", "pendenza,  500,   -4", "pendenza,  150,   -4", "", "",
       "Orvale_Varcona_linea.txt:15:1-9: warning: the gradient at 150 m stands at the position of the one on line 14: this later one takes effect from there, and the earlier one holds one cell at most [repeated-position]\n"},
      {"a tunnel past the line's end", "montagna,   2000,  2600,  11", "montagna,   900,  1300,  11", "", "",
       "Orvale_Varcona_linea.txt:18:13-16: warning: the tunnel from 900 m ends at 1300 m, past the end of the line at 1000 m: the part beyond lies in the margin after the line [past-line-end]\n"},
      {"a tunnel 100 m after another", "montagna,   2000,  2600,  11", "montagna,   2000,  2600,  11\r\nmontagna,   2700,  3000,  2", "", "",
       "Orvale_Varcona_linea.txt:19:13-17: warning: the tunnel from 2700 m starts 100 m after the tunnel ending at 2600 m (line 18): a tunnel at most 150 m after the one before is stored as kind 3, not 2 [close-tunnels]\n  Orvale_Varcona_linea.txt:18:1-9: note: the tunnel from 2000 m to 2600 m is here\n"},
      {"overlapping tunnels", "montagna,   2000,  2600,  11", "montagna,   2000,  2600,  11\r\nmontagna,   2400,  3000,  11", "", "",
       "Orvale_Varcona_linea.txt:19:13-17: warning: the tunnel from 2400 m to 3000 m overlaps the tunnel from 2000 m to 2600 m (line 18): the cells they share take this tunnel's kind [tunnel-overlap]\n  Orvale_Varcona_linea.txt:18:1-9: note: the tunnel from 2000 m to 2600 m is here\n"},
      {"a tunnel kind past 8 bits", "montagna,   2000,  2600,  11", "montagna,   2000,  2600,  266", "", "",
       "Orvale_Varcona_linea.txt:18:27-30: warning: the value 256 of the tunnel kind does not fit its field (0..255): only its low bits are kept, and it is stored as 0 [narrowed-value]\n"},
      {"an empty board text", "(Km 2+550)", "", "", "",
       "Orvale_Varcona_linea.txt:22:31-31: warning: the board text is empty: the simulator shows nothing for it [empty-text]\n"},
      {"an empty line source", "*", "", "", "",
       "Orvale_Varcona_linea.txt:1:1-1: error: the line source ends before its \"[generale]\" line (the text is empty) [S25]\n"},
  });
}

TEST(Check, TrainSourceMistakes) {
  expect_findings({
      {"signals filling a band before a restriction's start board", "", "",
       "segnale, 4800",
       "segnale, 3150, 2, 4, 1, 0, 0, 1, 3,1,0, 0\r\n"
       "segnale, 3200, 2, 4, 1, 0, 0, 1, 3,1,0, 0\r\n"
       "segnale, 3250, 2, 4, 1, 0, 0, 1, 3,1,0, 0\r\n"
       "segnale, 4800",
       "Orvale_Varcona_593-.txt:10:1-14: error: all three cells of a band before the start board "
       "(at 3550 m (cell 71)) of the speed restriction at 3500 m are taken: no room for its "
       "code-reduction point [S12]\n"},
      {"misspelt speed keyword", "", "", "velocita, 2000", "velocta, 2000",
       "Orvale_Varcona_593-.txt:8:1-8: warning: \"velocta\" matches no keyword of the train source and is dropped, with the values after it; did you mean \"velocita\"? [unknown-keyword]\n"},
      {"misspelt station keyword", "", "", "stazione, 6000", "stazone, 6000",
       "Orvale_Varcona_593-.txt:13:1-8: warning: \"stazone\" matches no keyword of the train source and is dropped, with the values after it; did you mean \"stazione\"? [unknown-keyword]\n"},
      {"misspelt signal keyword", "", "", "segnale,", "segnal,",
       "Orvale_Varcona_593-.txt:11:1-7: warning: \"segnal\" matches no keyword of the train source and is dropped, with the values after it; did you mean \"segnale\"? [unknown-keyword]\n"},
      {"a signal on the start board of a restriction", "", "", "segnale, 4800", "segnale, 3500",
       "Orvale_Varcona_593-.txt:11:10-14: error: the cell of the signal at 3500 m (cell 71) is taken by the start board of a speed restriction at 3500 m, from Orvale_Varcona_593-.txt line 10 [S16]\n"},
      {"a signal past the end of the line", "", "", "segnale, 4800", "segnale, 8000",
       "Orvale_Varcona_593-.txt:11:10-14: error: the signal position 8000 m lies outside the line: valid are positions up to 7900 m (the rest of the train source is passed over) [S15]\n"},
      {"a station off the 50 m grid", "", "", "stazione, 1500", "stazione, 1525",
       "Orvale_Varcona_593-.txt:9:11-15: error: the station position 1525 m is not a multiple of 50 m [S8]\n"},
      {"a station length off the 100 m grid", "", "", "12, 400, 0", "12, 450, 0",
       "Orvale_Varcona_593-.txt:9:21-24: error: the station length 450 m is not a multiple of 100 m [S9]\n"},
      {"stations out of order", "", "", "stazione, 6000, 28", "stazione, 1000, 28",
       "Orvale_Varcona_593-.txt:13:1-9: error: the station at 1000 m (extent 900..1100 m) is out of order: it comes before the previous station at 1500 m (extent 1300..1700 m); stations go in ascending order of position [S22]\n"},
      {"stations too close", "", "", "stazione, 6000, 28", "stazione, 2000, 28",
       "Orvale_Varcona_593-.txt:13:1-9: error: the station at 2000 m (extent 1900..2100 m) is too close to the previous station at 1500 m (extent 1300..1700 m): a station must start at least 350 m after the previous one ends [S22]\n"},
      {"a sand value wider than its field", "", "", "sabbia, 150", "sabbia, 70000",
       "Orvale_Varcona_593-.txt:4:9-14: error: the sand value 70000 does not fit its field: allowed -32768..32767 [S25]\n"},
      {"a speed too high for its byte", "", "", "velocita, 2000, 140", "velocita, 2000, 1400",
       "Orvale_Varcona_593-.txt:8:1-9: error: the speed 1400 km/h does not fit the cells' speed limit, kept in units of 5 km/h: allowed -2..1277 km/h [S25]\n"},
      {"blanks after a station name", "", "", "Miralto", "Miralto ",
       "Orvale_Varcona_593-.txt:9:61-69: warning: the station name \"Miralto \" ends in blanks or tabs, which the simulator shows as part of it [trailing-blanks]\n"},
      {"a code-reduction point on a signal", "", "", "abbattimento, 5500", "abbattimento, 4850",
       "Orvale_Varcona_593-.txt:12:15-19: error: the cell of the code-reduction point at 4850 m (cell 97) is taken by a signal at 4800 m, from Orvale_Varcona_593-.txt line 11 [S7]\n"},
      {"a value too many in the train source", "", "", "numero vetture, 8", "numero vetture, 8, 9",
       "Orvale_Varcona_593-.txt:2:20-21: warning: values left over after the coaches entry are dropped, from \"9\" on [extra-values]\n"},
      {"speed points out of order", "", "", "velocita, 0, 100", "velocita, 3000, 100",
       "Orvale_Varcona_593-.txt:8:1-9: warning: the speed-limit point at 2000 m comes after one at 3000 m (line 7): these entries must go in ascending order of position, or they do not take effect where they say [out-of-order]\n"},
      {"two speed points at one position", "", "", "velocita, 2000, 140", "velocita, 0, 140",
       "Orvale_Varcona_593-.txt:8:1-9: warning: the speed-limit point at 0 m stands at the position of the one on line 7: this later one takes effect from there, and the earlier one holds one cell at most [repeated-position]\n"},
      {"two adhesion points at one position", "", "", "aderenza, 0, 100", "aderenza, 0, 100\r\naderenza, 0, 90",
       "Orvale_Varcona_593-.txt:7:1-9: warning: the adhesion point at 0 m stands at the position of the one on line 6: this later one takes effect from there, and the earlier one holds one cell at most [repeated-position]\n"},
      {"a speed that is no multiple of 5", "", "", "velocita, 2000, 140", "velocita, 2000, 143",
       "Orvale_Varcona_593-.txt:8:17-20: warning: the speed 143 km/h is kept in units of 5 km/h: the cells hold 145 km/h [rounded-speed]\n"},
      {"a restriction past the line's end", "", "", "rallentamento, 3500", "rallentamento, 800",
       "Orvale_Varcona_593-.txt:10:1-14: warning: the speed restriction at 800 m over 400 m ends at 1200 m, past the end of the line at 1000 m: the part beyond lies in the margin after the line [past-line-end]\n"},
      {"an adhesion wider than its byte", "", "", "aderenza, 0, 100", "aderenza, 0, 300",
       "Orvale_Varcona_593-.txt:6:14-17: warning: the value 300 of the adhesion value does not fit its field (0..255): only its low bits are kept, and it is stored as 44 [narrowed-value]\n"},
      {"a station cut short", "", "", "0,0,0, Borgo Sereno", "0,0",
       "Orvale_Varcona_593-.txt:13:1-9: error: the station entry is cut short: missing the scheduled seconds and the station name (found \"[fine]\" on line 14 instead) [S25]\n"},
      {"a station without its name", "", "", "7,16,0, Miralto", "7,16,0,",
       "Orvale_Varcona_593-.txt:9:60-60: warning: the station name is empty: the simulator shows nothing for it [empty-text]\n"},
      {"an empty train source", "", "", "*", "",
       "Orvale_Varcona_593-.txt:0:0: warning: the train source contributes nothing: no station, signal or speed (the text is empty) [empty-source]\n"},
      {"a train source saved as UTF-16", "", "", "*", "\xFF\xFE[\x00g\x00" "e\x00"sv,
       "Orvale_Varcona_593-.txt:0:0: warning: the train source contributes nothing: no station, signal or speed (it is saved as UTF-16: save it as plain text in code page 1252) [empty-source]\n"},
      {"no general line in the train source", "", "", "[generale]", "[generali]",
       "Orvale_Varcona_593-.txt:0:0: warning: the train source contributes nothing: no station, signal or speed (it has no \"[generale]\" line: everything before that line is passed over) [empty-source]\n"},
  });
}

TEST(Check, ReportsEveryIndependentMistakeOfOneRun) {
  std::string line(testing::fixed_line_source());
  line = edited(line, "curvad2", "curvd2");
  line = edited(line, "pendenza,  150,   6", "pendenza,  150,   6x");
  line = edited(line, "pendenza,  900,   0", "pendenza,  900,   200");
  line = edited(line, "cartello_indicatore,  2550", "cartello_indicatore,  2050");
  std::string train(testing::fixed_train_source());
  train = edited(train, "sabbia, 150", "sabbia, 70000");
  train = edited(train, "stazione, 1500", "stazione, 1525");
  train = edited(train, "segnale,", "segnal,");
  train = edited(train, "abbattimento, 5500", "abbattimento, 3550");
  const CheckResult result = testing::check_in_memory(line, train);
  EXPECT_EQ(testing::findings_text(result),
            "Orvale_Varcona_linea.txt:11:1-7: warning: \"curvd2\" matches no keyword of the line "
            "source's body and is dropped, with the values after it; did you mean \"curvad2\"? "
            "[unknown-keyword]\n"
            "Orvale_Varcona_linea.txt:14:19-21: error: expected a whole number for the gradient in "
            "permille, found \"6x\" [S25]\n"
            "Orvale_Varcona_linea.txt:16:19-22: warning: the value 200 of the gradient in permille "
            "does not fit its field (-100..155): only its low bits are kept, and it is stored as "
            "-56 [narrowed-value]\n"
            "Orvale_Varcona_linea.txt:22:23-27: error: the cell of the indication board at 2050 m "
            "(cell 42) is taken by a maximum-speed indicator board at 2050 m, from "
            "Orvale_Varcona_linea.txt line 20 [S6]\n"
            "Orvale_Varcona_593-.txt:4:9-14: error: the sand value 70000 does not fit its field: "
            "allowed -32768..32767 [S25]\n"
            "Orvale_Varcona_593-.txt:9:11-15: error: the station position 1525 m is not a multiple "
            "of 50 m [S8]\n"
            "Orvale_Varcona_593-.txt:11:1-7: warning: \"segnal\" matches no keyword of the train "
            "source and is dropped, with the values after it; did you mean \"segnale\"? "
            "[unknown-keyword]\n"
            "Orvale_Varcona_593-.txt:12:15-19: error: the cell of the code-reduction point at 3550 m "
            "(cell 71) is taken by the start board of a speed restriction at 3500 m, from "
            "Orvale_Varcona_593-.txt line 10 [S7]\n");
  // A compile stops at the first of them.
  EXPECT_EQ(result.compile_status.code, status::kReadFailure);
  EXPECT_EQ(testing::check_check_properties(line, train), std::nullopt);
}

TEST(Check, BuiltinSourcesGiveNoFinding) {
  const CheckResult result =
      testing::check_in_memory(render_line_table(dati_linea()), render_line_table(dati_treno()));
  EXPECT_EQ(testing::findings_text(result), "");
  EXPECT_EQ(result.compile_status.code, status::kNone);
  EXPECT_EQ(result.compile_fatal, std::nullopt);
  EXPECT_FALSE(result.file_error);
}

TEST(Check, MissingSourcesNameTheirPathAndWhatTheFolderHolds) {
  const struct {
    const char* name;
    std::vector<std::string> present;  // bare names in the folder "scenarios"
    std::string expected;
  } cases[] = {
      {"train source without its dash",
       {"Orvale_Varcona_linea.txt", "Orvale_Varcona_593.txt"},
       "Orvale_Varcona_593-.txt:0:0: error: the train source "
       "\"scenarios/Orvale_Varcona_593-.txt\" does not exist [S25]\n"
       "  note: the folder holds \"Orvale_Varcona_593.txt\": the name of a train source ends in "
       "\"-.txt\"\n"},
      {"another train number",
       {"Orvale_Varcona_linea.txt", "Orvale_Varcona_2417-.txt"},
       "Orvale_Varcona_593-.txt:0:0: error: the train source "
       "\"scenarios/Orvale_Varcona_593-.txt\" does not exist [S25]\n"
       "  note: the folder holds \"Orvale_Varcona_2417-.txt\": try --train 2417\n"},
      {"another base name",
       {"Selvamare_linea.txt", "Orvale_Varcona_593-.txt"},
       "Orvale_Varcona_linea.txt:0:0: error: the line source "
       "\"scenarios/Orvale_Varcona_linea.txt\" does not exist [S101]\n"
       "  note: the folder holds \"Selvamare_linea.txt\": try --base Selvamare\n"},
      {"no folder",
       {},
       "Orvale_Varcona_linea.txt:0:0: error: the line source "
       "\"scenarios/Orvale_Varcona_linea.txt\" does not exist [S101]\n"
       "  note: the folder \"scenarios\" does not exist\n"
       "Orvale_Varcona_593-.txt:0:0: error: the train source "
       "\"scenarios/Orvale_Varcona_593-.txt\" does not exist [S25]\n"
       "  note: the folder \"scenarios\" does not exist\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::MemoryBuild build;
    for (const std::string& name : c.present) {
      const bool line = name.ends_with("_linea.txt");
      build.files.files["scenarios/" + name] = std::string(
          line ? testing::fixed_line_source() : testing::fixed_train_source());
    }
    const CheckResult result = check_sources(build.files, build.context.options);
    EXPECT_EQ(testing::findings_text(result), c.expected);
  }
}

TEST(Check, FatalStampErrorNamesTheEntryOnCellOne) {
  const std::string train = edited(testing::fixed_train_source(), "segnale, 4800", "segnale, 0");
  const CheckResult result = testing::check_in_memory(testing::fixed_line_source(), train);
  EXPECT_EQ(testing::findings_text(result),
            "Orvale_Varcona_593-.txt:11:1-8: error: cell 1 of the grid is reserved for the header "
            "stamps (the grid marker), but a signal at 0 m stands there: move that entry so that "
            "its object leaves cell 1; no scenario file is written [F1250]\n");
  EXPECT_EQ(result.compile_fatal, 1250);
  // After an error a compile stops before it stamps the grid.
  const CheckResult after_error = testing::check_in_memory(
      testing::fixed_line_source(), edited(train, "numero vetture, 8", "numero vetture, x"));
  EXPECT_EQ(after_error.compile_fatal, std::nullopt);
}

}  // namespace
}  // namespace scenario
