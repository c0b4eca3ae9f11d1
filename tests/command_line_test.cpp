// End-to-end tests of the command line: usage, help and refusals.

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "run_program.h"

namespace scenario::testing {
namespace {

// The help's line of a command: the command's name first on the line (after
// the indent), then its description; not a word met in the program's own
// name or description.
bool lists_command(const std::string& help, const std::string& command) {
  std::istringstream lines(help);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == 0 || start == std::string::npos) continue;
    const std::size_t end = line.find(' ', start);
    if (end != std::string::npos && line.compare(start, end - start, command) == 0 &&
        line.find_first_not_of(' ', end) != std::string::npos) {
      return true;
    }
  }
  return false;
}

TEST(CommandLine, HelpListsEveryCommand) {
  ProgramResult result = run_program({"--help"});
  EXPECT_EQ(result.exit_status, 0);
  for (const char* command : {"build", "export", "compile", "check", "explain", "dump"}) {
    EXPECT_TRUE(lists_command(result.out, command)) << command << " in\n" << result.out;
    EXPECT_EQ(run_program({command, "--help"}).exit_status, 0) << command;
  }
  EXPECT_FALSE(lists_command(result.out, "scenario"));
  EXPECT_FALSE(lists_command(result.out, "Compiles"));
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
      {{"compil"}, "unknown command 'compil'; did you mean 'compile'?"},
      {{"compile", "--reprot", "r.json"}, "unknown option '--reprot' for compile; did you mean '--report'?"},
      {{"check", "--fromat", "json"}, "did you mean '--format'?"},
      {{"check", "--format", "xml"}, "xml"},
      {{"check", "--base", "a/b"}, "--base must not hold a path separator"},
      {{"explain", "S9999"}, "'S9999'"},
  };
  for (const Refusal& refusal : refusals) {
    ProgramResult result = run_program(refusal.args, in_folder(dir.path()));
    EXPECT_EQ(result.exit_status, 64) << refusal.args.back();
    EXPECT_NE(result.err.find(refusal.message), std::string::npos) << result.err;
  }
  // A refused command writes nothing.
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// The help and the usage errors in the language the environment picks; the
// command and option names and CLI11's type names stay as they are.
TEST(CommandLine, HelpAndUsageErrorsSpeakTheUsersLanguage) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> environment;
    std::vector<std::string> args;
    std::string expected;  // a line of the output or of standard error
    int exit_status;
  };
  const std::vector<std::pair<std::string, std::string>> italian = {
      {"LANGUAGE", ""}, {"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "it_IT.UTF-8"}};
  const std::vector<std::pair<std::string, std::string>> c_locale = {
      {"LANGUAGE", "it"}, {"LC_ALL", "C"}, {"LC_MESSAGES", ""}, {"LANG", "it_IT.UTF-8"}};
  const Case cases[] = {
      {italian, {"--help"}, "Uso: scenario-compiler [OPZIONI] [COMANDO]", 0},
      {italian, {"--help"}, "  export                      Scrive i cinque testi incorporati e si ferma", 0},
      {italian, {"compile", "--help"}, "  --train TEXT=593            Numero del treno", 0},
      {italian, {"compil"}, "scenario-compiler: comando 'compil' sconosciuto; forse intendevi 'compile'?", 64},
      {italian, {"compile", "--reprot", "r.json"},
       "scenario-compiler: opzione '--reprot' sconosciuta per compile; forse intendevi '--report'?", 64},
      {italian, {"check", "--base", "a/b"}, "scenario-compiler: --base non può contenere un separatore di percorso", 64},
      {italian, {"frobnicate"}, "Eseguire con --help per altre informazioni.", 64},
      {italian, {"explain", "--help"}, "Opzioni:\n  -h,--help                   Stampa questo aiuto ed esce", 0},
      {italian, {"explain", "S2S"}, "scenario-compiler: nessuna segnalazione ha l'identificativo 'S2S'; forse intendevi 'S2'?", 64},
      {italian, {"explain", "F1251"},
       "F1251: un oggetto nella cella 1 ha raggiunto il secondo timbro di integrità", 0},
      {c_locale, {"--help"}, "Usage: scenario-compiler [OPTIONS] [SUBCOMMAND]", 0},
      {c_locale, {"explain", "F1251"}, "F1251: an object in cell 1 reached the second integrity stamp", 0},
      {c_locale, {"compil"}, "scenario-compiler: unknown command 'compil'; did you mean 'compile'?", 64},
  };
  TempDir dir;
  for (const Case& c : cases) {
    ProgramOptions options = in_folder(dir.path());
    options.environment = c.environment;
    ProgramResult result = run_program(c.args, options);
    EXPECT_EQ(result.exit_status, c.exit_status) << c.args.front();
    const std::string lines = "\n" + result.out + result.err;
    EXPECT_NE(lines.find("\n" + c.expected + "\n"), std::string::npos) << lines;
  }
  // No command's help keeps an English heading (its help flag once stood
  // under "Options:" apart from the command's own options).
  for (const char* command : {"build", "export", "compile", "check", "explain", "dump", "view",
                              "fmt", "diff", "decompile", "lsp"}) {
    ProgramOptions options = in_folder(dir.path());
    options.environment = italian;
    const ProgramResult result = run_program({command, "--help"}, options);
    EXPECT_EQ(result.exit_status, 0) << command;
    for (const char* heading : {"\nOptions:", "\nPositionals:", "\nSubcommands:"}) {
      EXPECT_EQ(result.out.find(heading), std::string::npos) << command << "\n" << result.out;
    }
  }
}

}  // namespace
}  // namespace scenario::testing
