// End-to-end tests of the runs that write the built-in texts: `export`,
// `build` and the standard run without arguments.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "builtin/builtin_scenario.h"
#include "builtin/driver_documents.h"
#include "run_program.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

const std::set<std::string> kDocuments = {"Orvale_Varcona_593_note.txt",
                                          "Orvale_Varcona_593_rallentamenti.txt",
                                          "Orvale_Varcona_593_scheda_treno.txt"};
const std::set<std::string> kScenarioFiles = {
    "Orvale_Varcona_linea.dat", "Orvale_Varcona_593.sim", "Orvale_Varcona_593.dat"};

std::set<std::string> files_in(const fs::path& folder) {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

std::set<std::string> documents_and_scenario_files() {
  std::set<std::string> names = kDocuments;
  names.insert(kScenarioFiles.begin(), kScenarioFiles.end());
  return names;
}

void expect_documents_written(const fs::path& folder) {
  EXPECT_EQ(read_file(folder / "Orvale_Varcona_593_note.txt"), render_line_table(dati_note()));
  EXPECT_EQ(read_file(folder / "Orvale_Varcona_593_rallentamenti.txt"),
            render_line_table(dati_rallentamenti()));
  EXPECT_EQ(read_file(folder / "Orvale_Varcona_593_scheda_treno.txt"),
            render_line_table(dati_scheda()));
}

TEST(ExportCommand, WritesTheFiveBuiltinTexts) {
  TempDir dir;
  const ProgramResult result = run_program({"export", "--dir", dir.path().string(), "--quiet"});
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  std::set<std::string> expected = kDocuments;
  expected.insert({"Orvale_Varcona_linea.txt", "Orvale_Varcona_593-.txt"});
  EXPECT_EQ(files_in(dir.path()), expected);
  EXPECT_EQ(read_file(dir.path() / "Orvale_Varcona_linea.txt"), render_line_table(dati_linea()));
  EXPECT_EQ(read_file(dir.path() / "Orvale_Varcona_593-.txt"), render_line_table(dati_treno()));
  expect_documents_written(dir.path());
}

// The readers delete the two sources: a build leaves the documents and the
// three scenario files, and a second build rewrites them byte for byte.
TEST(BuildCommand, LeavesTheDocumentsAndTheScenarioFilesAndRepeatsExactly) {
  TempDir dir("built in scenario");
  const ProgramResult first = run_program({"build"}, in_folder(dir.path()));
  EXPECT_EQ(first.exit_status, 0) << first.err;
  EXPECT_EQ(first.err, "Attendere\n");
  EXPECT_EQ(files_in(dir.path()), documents_and_scenario_files());
  expect_documents_written(dir.path());
  EXPECT_EQ(fs::file_size(dir.path() / "Orvale_Varcona_linea.dat"), 7299964u);
  EXPECT_EQ(fs::file_size(dir.path() / "Orvale_Varcona_593.dat"), 109515u);

  std::map<std::string, std::string> before;
  for (const std::string& name : documents_and_scenario_files()) {
    before[name] = read_file(dir.path() / name);
  }
  const ProgramResult second = run_program({"build", "--quiet"}, in_folder(dir.path()));
  EXPECT_EQ(second.exit_status, 0) << second.err;
  EXPECT_EQ(files_in(dir.path()), documents_and_scenario_files());
  for (const auto& [name, content] : before) {
    EXPECT_TRUE(read_file(dir.path() / name) == content) << name << " changed";
  }
}

// The standard run works in the executable's own folder, whatever the
// current one: run a copy of the executable so the build tree stays clean.
TEST(StandardRun, BuildsBesideTheExecutable) {
  TempDir program_dir("program folder");
  TempDir elsewhere;
  const fs::path copy = program_dir.path() / "scenario-compiler";
  fs::copy_file(SCENARIO_COMPILER_EXE, copy);
  ProgramOptions options = in_folder(elsewhere.path());
  options.executable = copy.string();
  const ProgramResult result = run_program({}, options);
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(result.err, "Attendere\n");
  std::set<std::string> expected = documents_and_scenario_files();
  expected.insert("scenario-compiler");
  EXPECT_EQ(files_in(program_dir.path()), expected);
  EXPECT_TRUE(files_in(elsewhere.path()).empty());
  expect_documents_written(program_dir.path());
}

}  // namespace
}  // namespace scenario::testing
