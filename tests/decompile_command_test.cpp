// End-to-end tests of `scenario-compiler decompile`.

#include <gtest/gtest.h>

#include <sstream>

#include "model/cell_grid.h"
#include "run_program.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLine = "Orvale_Varcona_linea.txt";
constexpr const char* kTrain = "Orvale_Varcona_593-.txt";
const char* const kFiles[] = {"Orvale_Varcona_linea.dat", "Orvale_Varcona_593.sim",
                              "Orvale_Varcona_593.dat"};

// An entry as the readers see it: the keyword and its fields, numbers split
// at commas and blanks, a station's name and a board's text whole.
using Entry = std::vector<std::string>;

std::vector<Entry> entries_of(const std::string& source) {
  std::vector<Entry> entries;
  std::istringstream lines(source);
  bool started = false;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find("[generale]") != std::string::npos) {
      started = true;
      continue;
    }
    if (!started || line.empty() || line[0] == '-' || line[0] == '[') continue;
    Entry entry;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, ',');) {
      const bool text = entry.size() > 1 && (entry[0] == "stazione" || entry[0] == "cartello_indicatore") &&
                        field.find_first_not_of(" -0123456789") != std::string::npos;
      std::istringstream words(field);
      if (text || entry.empty()) {
        const std::size_t first = field.find_first_not_of(' ');
        entry.push_back(first == std::string::npos ? "" : field.substr(first));
        continue;
      }
      for (std::string word; words >> word;) entry.push_back(word);
    }
    entries.push_back(entry);
  }
  return entries;
}

class DecompileCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    ProgramResult built = run_program({"build", "--dir", dir_.path().string(), "--quiet"});
    ASSERT_EQ(built.exit_status, 0) << built.err;
  }

  ProgramResult decompile(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"decompile", "--dir", dir_.path().string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return run_program(args);
  }

  std::string out(const std::string& name) const { return (dir_.path() / "src" / name).string(); }

  TempDir dir_{"decompile test"};
};

// The standard run's files give sources that compile to the same three files
// and hold the built-in entries value for value. The one difference: a
// signal's position is known only to its cell (50 m), and the built-in signal
// at 128280 m comes back at its cell's centre, 128300 m.
TEST_F(DecompileCommand, BuiltinFilesGiveTheBuiltinEntriesAndTheSameBytes) {
  ProgramResult made = decompile({"--out", (dir_.path() / "src").string()});
  ASSERT_EQ(made.exit_status, 0) << made.err;
  ProgramResult compiled =
      run_program({"compile", "--dir", (dir_.path() / "src").string(), "--quiet"});
  ASSERT_EQ(compiled.exit_status, 0) << compiled.err;
  for (const char* file : kFiles) {
    EXPECT_EQ(read_file(out(file)), read_file(dir_.file(file))) << file;
  }
  TempDir exported("decompile export");
  ASSERT_EQ(run_program({"export", "--dir", exported.path().string(), "--quiet"}).exit_status, 0);
  for (const char* source : {kLine, kTrain}) {
    std::vector<Entry> builtin = entries_of(read_file(exported.file(source)));
    for (Entry& entry : builtin) {
      if (entry[0] == "segnale") {
        entry[1] = std::to_string((cell_index(std::stoi(entry[1])) - 1) * 50);
      }
    }
    EXPECT_EQ(entries_of(read_file(out(source))), builtin) << source;
  }
  const std::string line = read_file(out(kLine));
  EXPECT_EQ(line.rfind("- decompiled by scenario-compiler ", 0), 0u) << line.substr(0, 200);
  EXPECT_NE(line.find("Orvale_Varcona_593.sim (fnv1a 62ed51b1cfae55aa)"), std::string::npos);
}

TEST_F(DecompileCommand, WithoutThePlanGeometryTheSourcesSaySo) {
  fs::remove(dir_.file("Orvale_Varcona_linea.dat"));
  ASSERT_EQ(decompile().exit_status, 0);
  const std::string line = read_file(dir_.file(kLine));
  EXPECT_NE(line.find("- no plan geometry: compile these sources with --no-geometry"),
            std::string::npos);
  EXPECT_EQ(line.find("curvad"), std::string::npos);
}

TEST_F(DecompileCommand, KeepsAnEditedSourceUnlessForced) {
  const std::string folder = (dir_.path() / "a" / "b").string();
  ASSERT_EQ(decompile({"--out", folder}).exit_status, 0);  // the folder is made
  const std::string edited = read_file(folder + "/" + kTrain) + "velocita, 1000, 90\r\n";
  write_file(folder + "/" + kTrain, edited);
  ProgramResult kept = decompile({"--out", folder});
  EXPECT_EQ(kept.exit_status, 3);
  EXPECT_NE(kept.err.find(kTrain + std::string("' differs from the source decompiled; nothing "
                                               "written (--force replaces it)")),
            std::string::npos)
      << kept.err;
  EXPECT_EQ(read_file(folder + "/" + kTrain), edited);
  // The same sources again are no edit.
  write_file(folder + "/" + kTrain, edited.substr(0, edited.size() - 20));
  EXPECT_EQ(decompile({"--out", folder}).exit_status, 0);
  write_file(folder + "/" + kTrain, edited);
  EXPECT_EQ(decompile({"--out", folder, "--force"}).exit_status, 0);
  EXPECT_EQ(read_file(folder + "/" + kTrain), edited.substr(0, edited.size() - 20));
}

// Under an Italian locale the messages are Italian, the sources the same
// bytes; `diff` of the files and their decompiled sources says so in Italian.
TEST_F(DecompileCommand, SpeaksItalianAndWritesTheSameSources) {
  ProgramOptions italian;
  italian.environment = {{"LANGUAGE", ""}, {"LC_ALL", ""}, {"LC_MESSAGES", ""},
                         {"LANG", "it_IT.UTF-8"}};
  const std::string folder = (dir_.path() / "it").string();
  ProgramResult made = run_program(
      {"decompile", "--dir", dir_.path().string(), "--out", folder}, italian);
  ASSERT_EQ(made.exit_status, 0) << made.err;
  EXPECT_EQ(made.err, "scenario-compiler: creata la cartella '" + folder + "'\n" +
                          "scenario-compiler: scritto " + folder + "/" + kLine + "\n" +
                          "scenario-compiler: scritto " + folder + "/" + kTrain + "\n");
  ASSERT_EQ(decompile({"--out", out("")}).exit_status, 0);
  EXPECT_EQ(read_file(folder + "/" + kTrain), read_file(out(kTrain)));
  EXPECT_EQ(read_file(folder + "/" + kLine), read_file(out(kLine)));

  write_file(folder + "/" + kTrain, read_file(out(kTrain)) + "velocita, 1000, 90\r\n");
  ProgramResult kept = run_program(
      {"decompile", "--dir", dir_.path().string(), "--out", folder}, italian);
  EXPECT_EQ(kept.exit_status, 3);
  EXPECT_EQ(kept.err, "scenario-compiler: '" + folder + "/" + kTrain +
                          "' è diverso dalla sorgente decompilata; non è stato scritto nulla "
                          "(--force lo sostituisce)\n");

  ProgramResult same = run_program({"diff", dir_.path().string(), out("")}, italian);
  EXPECT_EQ(same.exit_status, 0) << same.err;
  EXPECT_EQ(same.out, "--- " + dir_.path().string() + " (file compilati)\n+++ " + out("") +
                          " (sorgenti, compilate in memoria)\nnessuna differenza\n");
}

TEST_F(DecompileCommand, NamesWhatTheSourcesCannotExpressAndWritesOnlyWhenLossy) {
  std::string grid = read_file(dir_.file("Orvale_Varcona_593.dat"));
  grid[15 * 3000] = 9;  // no entry writes kind 9
  write_file(dir_.file("Orvale_Varcona_593.dat"), grid);
  ProgramResult refused = decompile();
  EXPECT_EQ(refused.exit_status, 1);
  EXPECT_NE(refused.err.find("scenario-compiler: Orvale_Varcona_593.dat: cell 3000 at 149950 m: "
                             "found 09 "),
            std::string::npos)
      << refused.err;
  EXPECT_NE(refused.err.find(", nearest 00 "), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("the sources cannot express 1 place of the files; nothing written "
                             "(--lossy writes the nearest sources)"),
            std::string::npos)
      << refused.err;
  EXPECT_FALSE(fs::exists(dir_.file(kLine)));
  ProgramResult lossy = decompile({"--lossy"});
  EXPECT_EQ(lossy.exit_status, 1) << lossy.err;
  const std::string train = read_file(dir_.file(kTrain));
  EXPECT_NE(train.find("- not exact: Orvale_Varcona_593.dat: cell 3000 at 149950 m: found 09 "),
            std::string::npos);
}

TEST_F(DecompileCommand, RefusesWhatIsNoScenarioFile) {
  std::string table = read_file(dir_.file("Orvale_Varcona_593.sim"));
  write_file(dir_.file("Orvale_Varcona_593.sim"), table + "x");
  ProgramResult broken = decompile();
  EXPECT_EQ(broken.exit_status, 3);
  EXPECT_NE(broken.err.find("Orvale_Varcona_593.sim' is not a valid record table file: 1 bytes "
                            "after the last row (row 86) at byte "),
            std::string::npos)
      << broken.err;
  fs::remove(dir_.file("Orvale_Varcona_593.sim"));
  EXPECT_EQ(decompile().exit_status, 3);
  EXPECT_EQ(run_program({"decompile", "--base", "../x"}).exit_status, 64);
  EXPECT_FALSE(fs::exists(dir_.file(kLine)));
}

}  // namespace
}  // namespace scenario::testing
