// End-to-end tests of `scenario-compiler diff` and `dump --entries`: what
// they print and how they exit.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "run_program.h"

namespace scenario::testing {
namespace {

// Two folders holding the built-in sources: "old" also holds the files
// they compile to, "new" only the sources, which a test edits.
class DiffCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"old", "new"}) {
      std::filesystem::create_directory(dir_.file(folder));
      ASSERT_EQ(run_program({"export", "--dir", dir_.file(folder), "--quiet"}).exit_status, 0);
    }
    ASSERT_EQ(run_program({"compile", "--dir", dir_.file("old"), "--quiet"}).exit_status, 0);
  }

  void edit(const std::string& from, const std::string& to) {
    const std::string path = dir_.file("new/Orvale_Varcona_593-.txt");
    std::string text = read_file(path);
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos);
    write_file(path, text.replace(at, from.size(), to));
  }

  ProgramResult diff(std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"diff", "old", "new"};
    args.insert(args.end(), more.begin(), more.end());
    return run_program(args, in_folder(dir_.path()));
  }

  TempDir dir_{"diff test"};
};

TEST_F(DiffCommand, CompiledFilesAgainstTheirSourcesAreTheSame) {
  const ProgramResult result = diff();
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(result.out,
            "--- old (compiled files)\n"
            "+++ new (sources, built in memory)\n"
            "no difference\n");
  EXPECT_EQ(result.err, "");
  // Nothing in either folder was written or deleted.
  EXPECT_TRUE(std::filesystem::exists(dir_.file("new/Orvale_Varcona_593-.txt")));
  EXPECT_FALSE(std::filesystem::exists(dir_.file("new/Orvale_Varcona_593.sim")));
}

TEST_F(DiffCommand, TellsAnEditAsOneChangeInTextAndJson) {
  edit("30, 14, 50, 0, MIRALTO", "40, 14, 50, 0, MIRALTO");
  const ProgramResult text = diff();
  EXPECT_EQ(text.exit_status, 1) << text.err;
  EXPECT_EQ(text.out,
            "--- old (compiled files)\n"
            "+++ new (sources, built in memory)\n"
            "km 121+050  station \"MIRALTO\" changed: standing time from 30 s to 40 s  "
            "(new/Orvale_Varcona_593-.txt:47)\n"
            "1 change\n");

  const ProgramResult json = diff({"--format", "json"});
  EXPECT_EQ(json.exit_status, 1) << json.err;
  const auto document = nlohmann::json::parse(json.out);
  EXPECT_EQ(document["old"]["from"], "compiled");
  EXPECT_EQ(document["old"]["sources_build_other_bytes"], false);
  EXPECT_EQ(document["new"]["from"], "sources");
  EXPECT_EQ(document["same"], false);
  EXPECT_EQ(document["same_meaning"], false);
  ASSERT_EQ(document["changes"].size(), 1u);
  const auto& change = document["changes"][0];
  EXPECT_EQ(change["change"], "changed");
  EXPECT_EQ(change["entry"], "station");
  EXPECT_EQ(change["name"], "MIRALTO");
  EXPECT_EQ(change["at_m"], 121050);
  EXPECT_EQ(change["km"], "km 121+050");
  EXPECT_EQ(change["fields"][0]["field"], "standing time");
  EXPECT_EQ(change["fields"][0]["old"], 30);
  EXPECT_EQ(change["fields"][0]["new"], 40);
  EXPECT_EQ(change["fields"][0]["new_text"], "40 s");
  EXPECT_EQ(change["source"]["file"], "new/Orvale_Varcona_593-.txt");
  EXPECT_EQ(change["source"]["line"], 47);
  EXPECT_EQ(document["files"][1]["file"], "Orvale_Varcona_593.sim");
  EXPECT_TRUE(document["files"][1]["first_difference"].is_number());
}

// Compiled files whose sources were edited since: the files are compared,
// and the sources lend no line that would point at another entry.
TEST_F(DiffCommand, NotesSourcesThatDoNotBuildTheFilesBesideThem) {
  std::filesystem::copy_file(dir_.file("old/Orvale_Varcona_593.sim"),
                             dir_.file("new/Orvale_Varcona_593.sim"));
  std::filesystem::copy_file(dir_.file("old/Orvale_Varcona_593.dat"),
                             dir_.file("new/Orvale_Varcona_593.dat"));
  edit("30, 14, 50, 0, MIRALTO", "40, 14, 50, 0, MIRALTO");
  const ProgramResult result = run_program({"diff", "new", "old"}, in_folder(dir_.path()));
  EXPECT_EQ(result.exit_status, 1) << result.err;
  EXPECT_EQ(result.out,
            "--- new (compiled files)\n"
            "+++ old (compiled files)\n"
            "note: the sources in new do not build its compiled files, which are compared; no "
            "source lines are shown\n"
            "header  plan geometry added\n"
            "1 change\n");
}

TEST_F(DiffCommand, RefusesWhatItCannotReadAndWrongUsage) {
  std::filesystem::create_directory(dir_.file("broken"));
  write_file(dir_.file("broken/Orvale_Varcona_593.sim"), "x");
  write_file(dir_.file("broken/Orvale_Varcona_593.dat"), std::string(15, '\0'));
  const struct {
    std::vector<std::string> args;
    int status;
    const char* message;
  } cases[] = {
      {{"diff", "old", "missing"}, 3, "scenario-compiler: cannot read the folder '"},
      {{"diff", "old", "broken"}, 3,
       "scenario-compiler: 'broken/Orvale_Varcona_593.sim' is not a valid record table file: "
       "truncated row 0 starting at byte 0: the file ends before its 87 rows\n"},
      {{"diff", "old", "new", "--train", "594"}, 3,
       "old' holds neither the scenario files Orvale_Varcona_594.sim and "
       "Orvale_Varcona_594.dat nor the sources Orvale_Varcona_linea.txt and "
       "Orvale_Varcona_594-.txt\n"},
      {{"diff", "old"}, 64, nullptr},
      {{"diff", "old", "new", "--format", "xml"}, 64, nullptr},
      {{"diff", "old", "new", "--base", "a/b"}, 64,
       "scenario-compiler: --base must not hold a path separator\n"},
      {{"dump", "--entries", "--json", "old/Orvale_Varcona_593.sim"}, 64, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[1] + " " + c.args.back());
    const ProgramResult result = run_program(c.args, in_folder(dir_.path()));
    EXPECT_EQ(result.exit_status, c.status) << result.err;
    EXPECT_EQ(result.out, "");
    // A folder is named in full; the message is the rest of the line.
    if (c.message != nullptr) {
      EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
      EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
  }
}

TEST_F(DiffCommand, DumpEntriesListsOneEntryALine) {
  const ProgramResult sim =
      run_program({"dump", "--entries", "old/Orvale_Varcona_593.sim"}, in_folder(dir_.path()));
  ASSERT_EQ(sim.exit_status, 0) << sim.err;
  EXPECT_NE(sim.out.find("\nline length: 358000 m\n"), std::string::npos);
  EXPECT_NE(sim.out.find("\nkm 121+050  station \"MIRALTO\": position km 121+050, kind 12, "
                         "length 500 m, end extension 0 m, flag 0, byte_d 0, byte_c 0, first "
                         "parameters 1, 1, 0, second parameters 4, 1, 1, standing time 30 s, "
                         "scheduled time 14:50:00, name \"MIRALTO\"\n"),
            std::string::npos);
  const ProgramResult plan = run_program({"dump", "--entries", "old/Orvale_Varcona_linea.dat"},
                                         in_folder(dir_.path()));
  ASSERT_EQ(plan.exit_status, 0) << plan.err;
  EXPECT_EQ(plan.out.substr(0, plan.out.find('\n', plan.out.find('\n') + 1) + 1),
            "metres: 365001\n"
            "km 1+000  curve: length 600 m, class 1, direction d (clockwise)\n");
  const ProgramResult grid = run_program({"dump", "--entries", "old/Orvale_Varcona_593.dat"},
                                         in_folder(dir_.path()));
  ASSERT_EQ(grid.exit_status, 0) << grid.err;
  EXPECT_NE(grid.out.find("\nkm 180+950  speed restriction: speed 40 km/h, right-hand speed "
                          "40 km/h, length 200 m, board flag 0, warning board yes, pre-warning "
                          "yes\n"),
            std::string::npos);
  EXPECT_NE(grid.out.find("\nkm 0+000 to km 1+350  speed limit: 115 km/h\n"), std::string::npos);
}

}  // namespace
}  // namespace scenario::testing
