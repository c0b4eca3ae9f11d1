// End-to-end tests of the command line: usage, help and refusals.

#include <gtest/gtest.h>

#include <regex>

#include "run_program.h"

namespace scenario::testing {
namespace {

TEST(CommandLine, HelpListsEveryCommand) {
  ProgramResult result = run_program({"--help"});
  EXPECT_EQ(result.exit_status, 0);
  for (const char* command : {"build", "export", "compile", "dump"}) {
    EXPECT_NE(result.out.find(command), std::string::npos) << command;
    EXPECT_EQ(run_program({command, "--help"}).exit_status, 0) << command;
  }
}

TEST(CommandLine, VersionExitsZero) {
  ProgramResult result = run_program({"--version"});
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_FALSE(result.out.empty());
  // The version of the build and the commit it was made from, or "unknown"
  // outside a git checkout.
  const std::regex version_line("scenario-compiler " SCENARIO_COMPILER_VERSION
                                " \\(commit ([0-9a-f]{12}(-dirty)?|unknown)\\)\n");
  EXPECT_TRUE(std::regex_match(result.out, version_line)) << result.out;
}

struct Refusal {
  std::vector<std::string> args;
  std::string message;
};

TEST(CommandLine, RefusesNamesThatLeaveTheFolderAndUnknownOptions) {
  TempDir dir;
  const std::vector<Refusal> refusals = {
      {{"build", "--base", "a/b"}, "--base must not hold a path separator"},
      {{"build", "--base", "a\\b"}, "--base must not hold a path separator"},
      {{"compile", "--train", ".."}, "--train must not be \"..\""},
      {{"export", "--train", "."}, "--train must not be \".\""},
      {{"compile", "--bogus"}, "--bogus"},
      {{"frobnicate"}, "frobnicate"},
      {{"dump"}, "FILE"},
  };
  for (const Refusal& refusal : refusals) {
    ProgramResult result = run_program(refusal.args, in_folder(dir.path()));
    EXPECT_EQ(result.exit_status, 64) << refusal.args.back();
    EXPECT_NE(result.err.find(refusal.message), std::string::npos) << result.err;
  }
  // A refused command writes nothing.
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace scenario::testing
