// End-to-end tests of `scenario-compiler view`: what it writes and what it leaves.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "run_program.h"

namespace scenario::testing {
namespace {

class ViewCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(run_program({"export", "--dir", dir_.path().string(), "--quiet"}).exit_status, 0);
  }

  std::vector<std::string> names() const {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
      found.push_back(entry.path().filename().string());
    }
    std::sort(found.begin(), found.end());
    return found;
  }

  TempDir dir_{"view test"};
};

TEST_F(ViewCommand, WritesThePageAndNothingElse) {
  const std::vector<std::string> before = names();
  const std::string line_source = read_file(dir_.file("Orvale_Varcona_linea.txt"));
  const ProgramResult result = run_program({"view", "--dir", dir_.path().string()});
  ASSERT_EQ(result.exit_status, 0) << result.err;
  std::vector<std::string> expected = before;
  expected.push_back("Orvale_Varcona_593.html");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names(), expected);
  EXPECT_EQ(read_file(dir_.file("Orvale_Varcona_linea.txt")), line_source);
  const std::string page = read_file(dir_.file("Orvale_Varcona_593.html"));
  EXPECT_NE(page.find("\"name\":\"VARCONA CENTRALE\""), std::string::npos);
  EXPECT_NE(page.find("\"status\":{\"code\":0,"), std::string::npos);

  const ProgramResult out = run_program(
      {"view", "--dir", dir_.path().string(), "--out", dir_.file("elsewhere.html")});
  ASSERT_EQ(out.exit_status, 0) << out.err;
  EXPECT_EQ(read_file(dir_.file("elsewhere.html")).size(), page.size());
}

TEST_F(ViewCommand, DrawsTheCompiledFilesAndNotesStampsOfAnotherName) {
  const std::string folder = dir_.path().string();
  ASSERT_EQ(run_program({"compile", "--dir", folder, "--quiet"}).exit_status, 0);
  const ProgramResult result = run_program({"view", "--dir", folder, "--compiled"});
  ASSERT_EQ(result.exit_status, 0) << result.err;
  const std::string page = read_file(dir_.file("Orvale_Varcona_593.html"));
  EXPECT_NE(page.find("\"origin\":\"read from Orvale_Varcona_593.sim"), std::string::npos);
  EXPECT_NE(page.find("\"problems\":[]"), std::string::npos);

  // The files of train 593 under the name of train 594: the stamps say otherwise.
  for (const char* ext : {".sim", ".dat"}) {
    std::filesystem::copy_file(dir_.file(std::string("Orvale_Varcona_593") + ext),
                               dir_.file(std::string("Orvale_Varcona_594") + ext));
  }
  ASSERT_EQ(run_program({"view", "--dir", folder, "--compiled", "--train", "594"}).exit_status, 0);
  const std::string other = read_file(dir_.file("Orvale_Varcona_594.html"));
  EXPECT_NE(other.find("the record table names the scenario Orvale_Varcona_593, not its file "
                       "name's Orvale_Varcona_594"),
            std::string::npos);
}

TEST_F(ViewCommand, RefusesWhatItCannotReadOrWrite) {
  const std::string folder = dir_.path().string();
  const struct {
    std::vector<std::string> args;
    int status;
    const char* message;
  } cases[] = {
      {{"view", "--dir", folder, "--compiled"}, 3, "cannot read '"},
      // A missing folder is made; a file in its place stops the command.
      {{"view", "--dir", folder, "--out", dir_.file("a file/page.html")}, 3,
       "cannot create the folder"},
      {{"view", "--dir", folder, "--base", "../up"}, 64, "--base must not hold a path separator"},
  };
  write_file(dir_.file("a file"), "");
  for (const auto& c : cases) {
    const ProgramResult result = run_program(c.args);
    EXPECT_EQ(result.exit_status, c.status) << c.args.back();
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.file("Orvale_Varcona_593.html")));
}

}  // namespace
}  // namespace scenario::testing
