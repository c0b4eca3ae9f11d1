// Every input of the fuzz corpus (the seeds and the inputs that once broke a
// target) compiled with the same property checks as the fuzz targets, so the
// ordinary build keeps them as regression tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "testing/memory_compile.h"
#include "testing/check_properties.h"
#include "testing/compile_properties.h"
#include "testing/decode_properties.h"
#include "testing/decompile_properties.h"
#include "testing/format_properties.h"
#include "testing/lsp_properties.h"
#include "run_program.h"

namespace scenario::testing {
namespace {

struct CorpusFolder {
  const char* name;
  FuzzInput kind;
};

// Every file of the corpus folders, with the sources it stands for.
template <class Check>
void for_each_input(std::initializer_list<CorpusFolder> folders, Check check) {
  for (const CorpusFolder& folder : folders) {
    const std::filesystem::path path = std::filesystem::path(SOURCE_DIR) / "fuzz" / folder.name;
    ASSERT_TRUE(std::filesystem::is_directory(path)) << path;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
      const std::string input = read_file(entry.path());
      const auto [line_source, train_source] = sources_of(folder.kind, input);
      check(line_source, train_source, entry.path());
    }
  }
}

TEST(FuzzCorpus, EveryInputKeepsTheCompileProperties) {
  for_each_input({{"corpus/line_source", FuzzInput::line_source},
                  {"corpus/train_source", FuzzInput::train_source},
                  {"corpus/both_sources", FuzzInput::both_sources},
                  {"corpus/long_lines", FuzzInput::line_source}},
                 [](std::string_view line, std::string_view train, const auto& path) {
                   EXPECT_EQ(check_compile_properties(line, train), std::nullopt) << path;
                 });
}

TEST(FuzzCorpus, EveryInputKeepsTheCheckProperties) {
  for_each_input({{"corpus/line_source", FuzzInput::line_source},
                  {"corpus/train_source", FuzzInput::train_source},
                  {"corpus/both_sources", FuzzInput::both_sources},
                  {"corpus/check", FuzzInput::both_sources}},
                 [](std::string_view line, std::string_view train, const auto& path) {
                   EXPECT_EQ(check_check_properties(line, train), std::nullopt) << path;
                 });
}

TEST(FuzzCorpus, EveryInputFormatsToSourcesThatCompileTheSame) {
  for_each_input({{"corpus/line_source", FuzzInput::line_source},
                  {"corpus/train_source", FuzzInput::train_source},
                  {"corpus/both_sources", FuzzInput::both_sources},
                  {"corpus/check", FuzzInput::both_sources},
                  {"corpus/long_lines", FuzzInput::line_source},
                  {"corpus/format", FuzzInput::both_sources}},
                 [](std::string_view line, std::string_view train, const auto& path) {
                   EXPECT_EQ(check_format_properties(line, train), std::nullopt) << path;
                 });
}

TEST(FuzzCorpus, EveryScenarioFileDecodesBackToItsBytesOrSaysWhereItBreaks) {
  const std::filesystem::path path =
      std::filesystem::path(SOURCE_DIR) / "fuzz" / "corpus" / "scenario_files";
  ASSERT_TRUE(std::filesystem::is_directory(path)) << path;
  for (const auto& entry : std::filesystem::directory_iterator(path)) {
    EXPECT_EQ(check_decode_properties(read_file(entry.path())), std::nullopt) << entry.path();
  }
}

TEST(FuzzCorpus, TheLanguageServerAnswersEveryRequestOfEveryStream) {
  const std::filesystem::path path = std::filesystem::path(SOURCE_DIR) / "fuzz" / "corpus" / "lsp";
  ASSERT_TRUE(std::filesystem::is_directory(path)) << path;
  for (const auto& entry : std::filesystem::directory_iterator(path)) {
    EXPECT_EQ(check_lsp_properties(read_file(entry.path())), std::nullopt) << entry.path();
  }
  // The properties catch a request left unanswered: "exit" as a request is one
  // the server answers with an error, never with silence.
  EXPECT_EQ(check_lsp_properties(R"({"jsonrpc":"2.0","id":5,"method":"exit"})"), std::nullopt);
}

// The seeds hold one message each, so the fuzzer's runs stay short; one
// session of them all, twice over (requests before and after the changes and
// the closing), then "shutdown" and "exit".
TEST(FuzzCorpus, TheLanguageServerAnswersASessionOfEverySeedMessage) {
  const std::filesystem::path path = std::filesystem::path(SOURCE_DIR) / "fuzz" / "corpus" / "lsp";
  std::vector<std::string> messages;
  for (const auto& entry : std::filesystem::directory_iterator(path)) {
    const std::string input = read_file(entry.path());
    if (input.starts_with("{") && input.find('\x1e') == std::string::npos &&
        input.find("\"shutdown\"") == std::string::npos) {
      messages.push_back(input);
    }
  }
  ASSERT_GE(messages.size(), 10u);
  std::sort(messages.begin(), messages.end());
  std::string session;
  for (int round = 0; round < 2; ++round) {
    for (const std::string& message : messages) session += message + '\x1e';
  }
  session += read_file(path / "shutdown_exit");
  EXPECT_EQ(check_lsp_properties(session), std::nullopt);
}

TEST(FuzzCorpus, EveryCompiledInputDecompilesToSourcesThatCompileToTheSameBytes) {
  for_each_input({{"corpus/line_source", FuzzInput::line_source},
                  {"corpus/train_source", FuzzInput::train_source},
                  {"corpus/both_sources", FuzzInput::both_sources},
                  {"corpus/check", FuzzInput::both_sources},
                  {"corpus/round_trip", FuzzInput::both_sources},
                  {"regressions/round_trip", FuzzInput::both_sources}},
                 [](std::string_view line, std::string_view train, const auto& path) {
                   EXPECT_EQ(check_decompile_round_trip(line, train), std::nullopt) << path;
                 });
}

TEST(FuzzCorpus, EveryScenarioFileDecompilesExactlyOrSaysWhereNot) {
  const std::filesystem::path path =
      std::filesystem::path(SOURCE_DIR) / "fuzz" / "corpus" / "scenario_files";
  const MemoryCompile builtin = compile_in_memory(fixed_line_source(), fixed_train_source());
  ASSERT_TRUE(builtin.record_table && builtin.cell_grid && builtin.plan_geometry);
  for (const auto& entry : std::filesystem::directory_iterator(path)) {
    const std::string bytes = read_file(entry.path());
    // The input as each of the three files beside the other two of a compile.
    EXPECT_EQ(check_decompile_properties(bytes, *builtin.cell_grid, *builtin.plan_geometry),
              std::nullopt) << entry.path();
    EXPECT_EQ(check_decompile_properties(*builtin.record_table, bytes, std::nullopt),
              std::nullopt) << entry.path();
    EXPECT_EQ(check_decompile_properties(*builtin.record_table, *builtin.cell_grid, bytes),
              std::nullopt) << entry.path();
  }
}

TEST(FuzzCorpus, FixedSourcesCompileWithoutStatus) {
  // The fixed halves of the single-source targets must be valid themselves,
  // or every input of those targets would stop at the same place.
  const MemoryCompile run = compile_in_memory(fixed_line_source(), fixed_train_source());
  EXPECT_EQ(run.status.code, 0) << "position " << run.status.position;
  EXPECT_EQ(check_compile_properties(fixed_line_source(), fixed_train_source()), std::nullopt);
}

TEST(FuzzCorpus, BothSourcesSplitAtTheFirstSeparator) {
  EXPECT_EQ(split_sources("line=====train=====x"),
            (std::pair<std::string_view, std::string_view>("line", "train=====x")));
  EXPECT_EQ(split_sources("line only").second, fixed_train_source());
}

}  // namespace
}  // namespace scenario::testing
