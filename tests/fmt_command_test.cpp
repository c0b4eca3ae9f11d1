// End-to-end tests of `fmt`: it rewrites the sources in their layout without
// changing what they compile to, `--check` changes nothing, and its exit
// statuses.

#include <gtest/gtest.h>

#include <filesystem>

#include "run_program.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

const char* const kScenarioFiles[] = {"Orvale_Varcona_linea.dat", "Orvale_Varcona_593.sim",
                                      "Orvale_Varcona_593.dat"};

TEST(FmtCommand, FormatsTheBuiltInSourcesWithoutChangingTheCompiledFiles) {
  TempDir as_written("fmt written");
  TempDir formatted("fmt formatted");
  for (const TempDir* dir : {&as_written, &formatted}) {
    ASSERT_EQ(run_program({"export", "--quiet", "--dir", dir->path().string()}).exit_status, 0);
  }
  const std::string dir = formatted.path().string();
  const std::string line_before = read_file(formatted.file("Orvale_Varcona_linea.txt"));

  const ProgramResult unformatted = run_program({"fmt", "--check", "--dir", dir});
  EXPECT_EQ(unformatted.exit_status, 1) << unformatted.err;
  EXPECT_NE(unformatted.out.find("Orvale_Varcona_linea.txt: not in the canonical layout"),
            std::string::npos)
      << unformatted.out;
  EXPECT_NE(unformatted.out.find("Orvale_Varcona_593-.txt: not in the canonical layout"),
            std::string::npos);
  EXPECT_EQ(read_file(formatted.file("Orvale_Varcona_linea.txt")), line_before);

  const ProgramResult rewritten = run_program({"fmt", "--dir", dir});
  EXPECT_EQ(rewritten.exit_status, 0) << rewritten.err;
  const std::string line_after = read_file(formatted.file("Orvale_Varcona_linea.txt"));
  EXPECT_NE(line_after, line_before);
  EXPECT_NE(line_after.find("pendenza, 105600,  1\r\n"), std::string::npos);
  const ProgramResult clean = run_program({"fmt", "--check", "--dir", dir});
  EXPECT_EQ(clean.exit_status, 0) << clean.out;
  EXPECT_EQ(clean.out, "");

  for (const TempDir* one : {&as_written, &formatted}) {
    ASSERT_EQ(run_program({"compile", "--quiet", "--dir", one->path().string()}).exit_status, 0);
  }
  for (const char* name : kScenarioFiles) {
    EXPECT_EQ(read_file(formatted.path() / name), read_file(as_written.path() / name)) << name;
  }
}

TEST(FmtCommand, FormatsTheFilesNamedAndGoesOnPastOneItCannotRead) {
  TempDir dir("fmt files");
  write_file(dir.file("Lago_2041-.txt"), "[generale]\nvelocita,0,100\nvelocita,2000,90\n");
  const ProgramResult run = run_program(
      {"fmt", dir.file("Missing_linea.txt"), dir.file("Lago_2041-.txt")});
  EXPECT_EQ(run.exit_status, 3);
  EXPECT_NE(run.err.find("Missing_linea.txt"), std::string::npos) << run.err;
  EXPECT_EQ(read_file(dir.file("Lago_2041-.txt")),
            "[generale]\nvelocita,    0, 100\nvelocita, 2000,  90\n");
}

TEST(FmtCommand, RefusesNamesOfNoSourceBeforeTouchingAnyFile) {
  TempDir dir("fmt usage");
  const std::string train = "[generale]\nvelocita,0,100\n";
  write_file(dir.file("Lago_2041-.txt"), train);
  write_file(dir.file("notes.txt"), "velocita,0,100\n");
  const ProgramResult named =
      run_program({"fmt", dir.file("Lago_2041-.txt"), dir.file("notes.txt")});
  EXPECT_EQ(named.exit_status, 64);
  EXPECT_NE(named.err.find("notes.txt: not a source name"), std::string::npos) << named.err;
  EXPECT_EQ(read_file(dir.file("Lago_2041-.txt")), train);
  EXPECT_EQ(read_file(dir.file("notes.txt")), "velocita,0,100\n");
  EXPECT_EQ(run_program({"fmt", "--dir", dir.path().string(), "--base", "../x"}).exit_status, 64);
}

}  // namespace
}  // namespace scenario::testing
