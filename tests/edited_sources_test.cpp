// End-to-end: export and build write the built-in sources into a folder
// where an author may have edited them. An edited source is kept byte for
// byte and nothing is written, unless --force; the standard run is unchanged.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#include "builtin/builtin_scenario.h"
#include "builtin/line_table.h"
#include "run_program.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

const std::string kLineSource = "Orvale_Varcona_linea.txt";
const std::string kTrainSource = "Orvale_Varcona_593-.txt";

std::map<std::string, std::string> snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] = read_file(entry.path());
  }
  return files;
}

// An author's day of work: the built-in text with one entry changed.
std::string edited(LineTable table) {
  std::string text = render_line_table(table);
  text.insert(text.find("\r\n") + 2, "; a comment of the author\r\n");
  return text;
}

struct EditedCase {
  std::vector<std::string> command;
  std::vector<std::string> edited_names;
};

TEST(EditedSources, ExportAndBuildKeepThemAndWriteNothing) {
  const std::vector<EditedCase> cases = {
      {{"export"}, {kLineSource}},
      {{"export"}, {kTrainSource}},
      {{"build"}, {kLineSource, kTrainSource}},
      {{"build"}, {kTrainSource}},
  };
  for (const EditedCase& c : cases) {
    SCOPED_TRACE(c.command[0] + " with " + c.edited_names.back() + " edited");
    TempDir dir;
    // The other source, unedited, and an earlier scenario file.
    write_file(dir.path() / kLineSource, render_line_table(dati_linea()));
    write_file(dir.path() / kTrainSource, render_line_table(dati_treno()));
    write_file(dir.path() / "Orvale_Varcona_593.sim", "earlier table");
    for (const std::string& name : c.edited_names) {
      write_file(dir.path() / name, edited(name == kLineSource ? dati_linea() : dati_treno()));
    }
    const std::map<std::string, std::string> before = snapshot(dir.path());

    std::vector<std::string> args = c.command;
    args.push_back("--quiet");
    const ProgramResult result = run_program(args, in_folder(dir.path()));

    EXPECT_EQ(result.exit_status, 3);
    for (const std::string& name : c.edited_names) {
      EXPECT_NE(result.err.find("scenario-compiler: '" + name +
                                "' differs from the built-in text; nothing written "
                                "(--force replaces it)\n"),
                std::string::npos)
          << result.err;
    }
    EXPECT_EQ(snapshot(dir.path()), before);

    args.push_back("--force");
    const ProgramResult forced = run_program(args, in_folder(dir.path()));
    EXPECT_EQ(forced.exit_status, 0) << forced.err;
    if (c.command[0] == "export") {
      EXPECT_EQ(read_file(dir.path() / kLineSource), render_line_table(dati_linea()));
      EXPECT_EQ(read_file(dir.path() / kTrainSource), render_line_table(dati_treno()));
    } else {
      EXPECT_NE(read_file(dir.path() / "Orvale_Varcona_593.sim"), "earlier table");
    }
  }
}

TEST(EditedSources, ARefusedBuildStillWritesItsReport) {
  TempDir dir;
  write_file(dir.path() / kTrainSource, "edited");
  const ProgramResult result =
      run_program({"build", "--quiet", "--report", "report.json"}, in_folder(dir.path()));
  EXPECT_EQ(result.exit_status, 3);
  const auto report = nlohmann::json::parse(read_file(dir.path() / "report.json"));
  EXPECT_EQ(report["written"], nlohmann::json::array());
  EXPECT_EQ(report["grid_last_index"], nullptr);
  EXPECT_EQ(read_file(dir.path() / kTrainSource), "edited");
}

TEST(EditedSources, HelpOfExportAndBuildTellsOfForce) {
  for (const char* command : {"export", "build"}) {
    const ProgramResult result = run_program({command, "--help"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_NE(result.out.find("--force"), std::string::npos) << command;
    EXPECT_NE(result.out.find("edits"), std::string::npos) << command;
  }
}

// The standard run works in the executable's own folder, which holds the
// program's own files: it replaces the sources there as it always has.
TEST(EditedSources, TheStandardRunReplacesThem) {
  TempDir program_dir("program folder");
  const fs::path copy = program_dir.path() / "scenario-compiler";
  fs::copy_file(SCENARIO_COMPILER_EXE, copy);
  write_file(program_dir.path() / kLineSource, "edited");
  ProgramOptions options = in_folder(program_dir.path());
  options.executable = copy.string();
  const ProgramResult result = run_program({}, options);
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_TRUE(fs::exists(program_dir.path() / "Orvale_Varcona_593.dat"));
}

}  // namespace
}  // namespace scenario::testing
