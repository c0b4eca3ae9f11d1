// The README's guide for a new author, run as it is written: every command of
// "Writing a scenario", in order, in a fresh empty folder.

#include <gtest/gtest.h>

#include <sstream>

#include "run_program.h"

namespace scenario::testing {
namespace {

// The commands of the guide: the indented lines of its section that start
// with the program's name, split at blanks (the guide quotes nothing).
std::vector<std::vector<std::string>> guide_commands() {
  std::istringstream readme(read_file(std::filesystem::path(SOURCE_DIR) / "README.md"));
  std::vector<std::vector<std::string>> commands;
  bool in_guide = false;
  for (std::string line; std::getline(readme, line);) {
    if (line.rfind("## ", 0) == 0) in_guide = line == "## Writing a scenario";
    const std::size_t start = line.find_first_not_of(' ');
    if (!in_guide || start == std::string::npos || start < 4 || line.compare(start, 18, "scenario-compiler ") != 0) continue;
    std::istringstream words(line.substr(start + 18));
    std::vector<std::string> args;
    for (std::string word; words >> word;) args.push_back(word);
    commands.push_back(args);
  }
  return commands;
}

TEST(ReadmeGuide, EveryCommandSucceedsInAFreshFolderInOrder) {
  const auto commands = guide_commands();
  ASSERT_GE(commands.size(), 4u) << "the guide's commands were not found in README.md";
  EXPECT_EQ(commands.front().front(), "export");
  TempDir dir("readme guide");
  for (const auto& args : commands) {
    const ProgramResult result = run_program(args, in_folder(dir.path()));
    std::string shown;
    for (const std::string& arg : args) shown += " " + arg;
    EXPECT_EQ(result.exit_status, 0) << "scenario-compiler" << shown << "\n" << result.err;
  }
  // The guide's own words: the sources, the three files and the page are there.
  for (const char* name : {"work/Lago_Nero_linea.txt", "work/Lago_Nero_2041-.txt",
                           "work/Lago_Nero_linea.dat", "work/Lago_Nero_2041.sim",
                           "work/Lago_Nero_2041.dat", "work/Lago_Nero_2041.html"}) {
    EXPECT_TRUE(std::filesystem::exists(dir.path() / name)) << name;
  }
}

}  // namespace
}  // namespace scenario::testing
