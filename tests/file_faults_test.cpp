// End-to-end: every file the program writes is made to fail, and every source
// made unreadable. A failed write ends the program with exit status 3 and a
// message naming the file, leaves no temporary file, leaves the earlier file
// of that name as it was and writes nothing after it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#include "run_program.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

const std::string kLineSource = "Orvale_Varcona_linea.txt";
const std::string kTrainSource = "Orvale_Varcona_593-.txt";
const std::string kPlanGeometry = "Orvale_Varcona_linea.dat";
const std::string kRecordTable = "Orvale_Varcona_593.sim";
const std::string kCellGrid = "Orvale_Varcona_593.dat";

// The five texts in the order export and build write them.
const std::vector<std::string> kTexts = {kLineSource, kTrainSource, "Orvale_Varcona_593_note.txt",
                                         "Orvale_Varcona_593_rallentamenti.txt",
                                         "Orvale_Varcona_593_scheda_treno.txt"};
// The scenario files in the order compile and build write them.
const std::vector<std::string> kScenarioFiles = {kPlanGeometry, kRecordTable, kCellGrid};

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A command under test: its arguments, the files it writes in order, and
// whether the folder needs the exported sources first.
struct Command {
  std::vector<std::string> args;
  std::vector<std::string> writes;
  bool needs_sources = false;
};

const std::vector<Command>& commands() {
  static const std::vector<Command> all = {
      {{"export", "--quiet"}, kTexts, false},
      {{"build", "--quiet"}, concat(kTexts, kScenarioFiles), false},
      {{"compile", "--quiet"}, kScenarioFiles, true},
      {{"compile", "--quiet", "--no-geometry"}, {kRecordTable, kCellGrid}, true},
  };
  return all;
}

std::string joined(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& arg : args) text += arg + " ";
  return text;
}

// Entries of the folder other than the eight files and the report: what a
// failed replacement left behind, whatever its temporary files are called.
std::vector<std::string> strays(const fs::path& folder) {
  const std::vector<std::string> known = concat(concat(kTexts, kScenarioFiles), {"report.json"});
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (std::find(known.begin(), known.end(), name) == known.end()) names.push_back(name);
  }
  return names;
}

void export_sources(const fs::path& folder) {
  ASSERT_EQ(run_program({"export", "--quiet"}, in_folder(folder)).exit_status, 0);
}

// Content of every file of the folder, by bare name.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().filename().string()] = read_file(entry.path());
  }
  return files;
}

TEST(FileFaults, DirectoryOnAnOutputNameStopsTheCommandAtThatFile) {
  for (const Command& command : commands()) {
    for (std::size_t failing = 0; failing < command.writes.size(); ++failing) {
      const std::string& name = command.writes[failing];
      SCOPED_TRACE(joined(command.args) + "with a directory named " + name);
      TempDir dir;
      if (command.needs_sources) export_sources(dir.path());
      fs::create_directory(dir.path() / name);
      write_file(dir.path() / name / "kept.txt", "kept");

      const ProgramResult result = run_program(command.args, in_folder(dir.path()));

      EXPECT_EQ(result.exit_status, 3) << result.err;
      EXPECT_NE(result.err.find(name), std::string::npos) << result.err;
      EXPECT_EQ(strays(dir.path()), std::vector<std::string>{});
      EXPECT_EQ(read_file(dir.path() / name / "kept.txt"), "kept");
      for (std::size_t later = failing + 1; later < command.writes.size(); ++later) {
        const std::string& after = command.writes[later];
        // The sources exported beforehand are the one thing that was there.
        if (command.needs_sources && (after == kLineSource || after == kTrainSource)) continue;
        EXPECT_FALSE(fs::exists(dir.path() / after)) << after << " written after the failure";
      }
    }
  }
}

TEST(FileFaults, FileSizeLimitKeepsTheEarlierFileByteForByte) {
  // The sizes of a run without a limit say which file a limit stops: the
  // first one larger than every file written before it.
  TempDir reference;
  export_sources(reference.path());
  ASSERT_EQ(run_program({"compile", "--quiet"}, in_folder(reference.path())).exit_status, 0);
  for (const Command& command : commands()) {
    std::uintmax_t largest_before = 0;
    for (std::size_t failing = 0; failing < command.writes.size(); ++failing) {
      const std::string& name = command.writes[failing];
      const std::uintmax_t size = fs::file_size(reference.path() / name);
      if (size <= largest_before) continue;  // a limit cannot stop this one alone
      SCOPED_TRACE(joined(command.args) + "with a size limit stopping " + name);
      TempDir dir;
      if (command.needs_sources) export_sources(dir.path());
      // An earlier run's file of every name the command writes, each its own.
      for (const std::string& earlier : command.writes) {
        if (command.needs_sources && (earlier == kLineSource || earlier == kTrainSource)) continue;
        write_file(dir.path() / earlier, "earlier " + earlier + "\r\n");
      }
      const std::map<std::string, std::string> before = snapshot(dir.path());
      ProgramOptions options = in_folder(dir.path());
      options.file_size_limit = static_cast<long>(std::max<std::uintmax_t>(largest_before, 64));

      // Earlier sources of their own are what export and build keep unless forced.
      std::vector<std::string> args = command.args;
      if (!command.needs_sources) args.push_back("--force");
      const ProgramResult result = run_program(args, options);

      EXPECT_EQ(result.exit_status, 3) << result.err;
      EXPECT_NE(result.err.find(name), std::string::npos) << result.err;
      EXPECT_EQ(strays(dir.path()), std::vector<std::string>{});
      EXPECT_EQ(read_file(dir.path() / name), before.at(name));
      for (std::size_t later = failing + 1; later < command.writes.size(); ++later) {
        const std::string& after = command.writes[later];
        EXPECT_EQ(read_file(dir.path() / after), before.at(after)) << after << " changed";
      }
      largest_before = size;
    }
  }
}

TEST(FileFaults, SizeLimitedRunWritesEveryFileBeforeTheFailureWhole) {
  // With the limit just below the largest file, the smaller files written
  // before it are complete: the same bytes as a run without a limit.
  TempDir reference, dir;
  export_sources(reference.path());
  export_sources(dir.path());
  ASSERT_EQ(run_program({"compile", "--quiet"}, in_folder(reference.path())).exit_status, 0);
  ProgramOptions options = in_folder(dir.path());
  options.file_size_limit =
      static_cast<long>(fs::file_size(reference.path() / kCellGrid)) - 1;
  ASSERT_GT(fs::file_size(reference.path() / kPlanGeometry), fs::file_size(reference.path() / kCellGrid));

  // The plan geometry, written first, is the largest: nothing gets written.
  EXPECT_EQ(run_program({"compile", "--quiet"}, options).exit_status, 3);
  EXPECT_FALSE(fs::exists(dir.path() / kPlanGeometry));
  EXPECT_FALSE(fs::exists(dir.path() / kRecordTable));
  // Without the geometry, the record table is written whole before the grid fails.
  EXPECT_EQ(run_program({"compile", "--quiet", "--no-geometry"}, options).exit_status, 3);
  EXPECT_EQ(read_file(dir.path() / kRecordTable), read_file(reference.path() / kRecordTable));
  EXPECT_FALSE(fs::exists(dir.path() / kCellGrid));
  EXPECT_EQ(strays(dir.path()), std::vector<std::string>{});
}

struct UnreadableSource {
  std::string name;
  std::int32_t status;
  std::vector<std::string> extra_args;
};

TEST(FileFaults, ADirectoryInPlaceOfASourceGivesItsStatusAndLosesNothing) {
  const std::vector<UnreadableSource> cases = {
      {kLineSource, 101, {}},
      {kLineSource, 101, {"--delete-sources"}},
      {kTrainSource, 25, {}},
      {kTrainSource, 25, {"--delete-sources"}},
  };
  for (const UnreadableSource& source : cases) {
    SCOPED_TRACE(source.name + " " + joined(source.extra_args));
    TempDir dir;
    export_sources(dir.path());
    // Scenario files of an earlier run, which a status 101 must leave alone.
    for (const std::string& name : kScenarioFiles) write_file(dir.path() / name, "earlier");
    fs::remove(dir.path() / source.name);
    fs::create_directory(dir.path() / source.name);
    write_file(dir.path() / source.name / "kept.txt", "kept");
    const std::map<std::string, std::string> before = snapshot(dir.path());

    std::vector<std::string> args = {"compile", "--quiet", "--report", "report.json"};
    args.insert(args.end(), source.extra_args.begin(), source.extra_args.end());
    const ProgramResult result = run_program(args, in_folder(dir.path()));

    EXPECT_EQ(result.exit_status, 1) << result.err;
    EXPECT_NE(result.err.find("[S" + std::to_string(source.status) + "]"), std::string::npos)
        << result.err;
    const auto report = nlohmann::json::parse(read_file(dir.path() / "report.json"));
    EXPECT_EQ(report["status"]["code"], source.status);
    EXPECT_EQ(read_file(dir.path() / source.name / "kept.txt"), "kept");
    EXPECT_EQ(strays(dir.path()), std::vector<std::string>{});
    const std::map<std::string, std::string> after = snapshot(dir.path());
    if (source.status == 101) {
      // Nothing read, nothing written, nothing deleted.
      for (const auto& [name, content] : before) EXPECT_EQ(after.at(name), content) << name;
    } else {
      // The line source was read; it goes only when deleting was asked for.
      EXPECT_EQ(after.count(kLineSource), source.extra_args.empty() ? 1u : 0u);
      for (const std::string& text : kTexts) {
        if (text != kLineSource && text != kTrainSource) {
          EXPECT_EQ(after.at(text), before.at(text));
        }
      }
    }
  }
}

}  // namespace
}  // namespace scenario::testing
