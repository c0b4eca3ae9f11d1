// End-to-end, at the system-call boundary: a library preloaded into the
// program (tests/fault_injection) fails one file operation at a time, or kills
// the program there. Every operation of export, build and compile is made to
// fail in turn; runs killed at every operation leave nothing behind once a
// normal run has followed; two runs in one folder at once both finish whole.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <thread>

#include "run_program.h"
#include "testing/compile_properties.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

const std::string kLineSource = "Orvale_Varcona_linea.txt";
const std::string kTrainSource = "Orvale_Varcona_593-.txt";
const std::vector<std::string> kScenarioFiles = {"Orvale_Varcona_linea.dat",
                                                 "Orvale_Varcona_593.sim", "Orvale_Varcona_593.dat"};
const std::vector<std::string> kDocuments = {"Orvale_Varcona_593_note.txt",
                                             "Orvale_Varcona_593_rallentamenti.txt",
                                             "Orvale_Varcona_593_scheda_treno.txt"};

// One intercepted call, as the preloaded library logs it.
struct Call {
  std::string function;
  std::string file;  // for a temporary file, the name it stands in for
  bool temporary = false;
  bool folder = false;
};

std::vector<Call> read_log(const fs::path& log) {
  std::vector<Call> calls;
  std::istringstream lines(read_file(log));
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string number, flags;
    Call call;
    std::getline(fields, number, '\t');
    std::getline(fields, call.function, '\t');
    std::getline(fields, call.file, '\t');
    std::getline(fields, flags, '\t');
    const std::size_t marker = call.file.find(".tmp.");
    call.temporary = marker != std::string::npos;
    if (call.temporary) call.file.erase(marker);
    // The program names a folder with a trailing separator.
    call.folder = !call.file.empty() && call.file.back() == '/';
    calls.push_back(call);
  }
  return calls;
}

std::string describe(const Call& call) {
  return call.function + " " + call.file + (call.temporary ? " (temporary)" : "");
}

// What the program's message must say for a failure of `call`, and which
// file it concerns: the folder's calls are made for the file being replaced.
struct Expected {
  std::string words;
  std::string file;
};

Expected expected_message(const std::vector<Call>& calls, std::size_t index) {
  const Call& call = calls[index];
  if (call.folder) {
    std::string file;
    for (std::size_t i = index; i-- > 0;) {
      if (calls[i].temporary) {
        file = calls[i].file;
        break;
      }
    }
    const bool sync = call.function == "fsync" || call.function == "fdatasync";
    return {sync ? "cannot sync the folder of" : "cannot open the folder of", file};
  }
  if (call.function == "rename" || call.function == "renameat") {
    return {"cannot rename the temporary file to", call.file};
  }
  if (call.function == "unlink" || call.function == "unlinkat") return {"cannot delete", call.file};
  if (call.function == "fsync" || call.function == "fdatasync") return {"cannot sync", call.file};
  if (call.temporary) return {"cannot write", call.file};  // creating or writing it
  return {"cannot read", call.file};
}

// The environment that preloads the library with `settings` and logs to `log`.
ProgramOptions preloaded(const fs::path& folder, const fs::path& log,
                         std::vector<std::pair<std::string, std::string>> settings = {}) {
  ProgramOptions options = in_folder(folder);
  options.environment = std::move(settings);
  options.environment.emplace_back("LD_PRELOAD", FAULT_INJECTION_LIBRARY);
  options.environment.emplace_back("FAULT_LOG", log.string());
  // A sanitizer build wants its runtime first among the loaded libraries.
  const char* asan = std::getenv("ASAN_OPTIONS");
  options.environment.emplace_back(
      "ASAN_OPTIONS", std::string(asan != nullptr ? asan : "") + ":verify_asan_link_order=0");
  return options;
}

std::map<std::string, std::string> snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] =
        entry.is_regular_file() ? read_file(entry.path()) : "(not a file)";
  }
  return files;
}

std::vector<std::string> temporaries(const fs::path& folder) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.find(".tmp.") != std::string::npos) found.push_back(name);
  }
  return found;
}

void write_short_sources(const fs::path& folder) {
  write_file(folder / kLineSource, std::string(fixed_line_source()));
  write_file(folder / kTrainSource, std::string(fixed_train_source()));
}

// A command run over a folder prepared by `prepare`, which holds an earlier
// file under every name the command writes.
struct Command {
  std::string label;
  std::vector<std::string> args;
  void (*prepare)(const fs::path& folder);
};

void earlier_files(const fs::path& folder, const std::vector<std::string>& names) {
  for (const std::string& name : names) write_file(folder / name, "earlier " + name + "\r\n");
}

// Sources as export writes them: export and build replace them without --force.
void builtin_sources(const fs::path& folder) {
  static const std::map<std::string, std::string> exported = [] {
    TempDir dir;
    EXPECT_EQ(run_program({"export", "--quiet"}, in_folder(dir.path())).exit_status, 0);
    return std::map<std::string, std::string>{
        {kLineSource, read_file(dir.path() / kLineSource)},
        {kTrainSource, read_file(dir.path() / kTrainSource)}};
  }();
  for (const auto& [name, content] : exported) write_file(folder / name, content);
}

const std::vector<Command>& commands() {
  static const std::vector<Command> all = {
      {"export", {"export", "--quiet"},
       [](const fs::path& folder) {
         builtin_sources(folder);
         earlier_files(folder, kDocuments);
       }},
      {"build", {"build", "--quiet"},
       [](const fs::path& folder) {
         builtin_sources(folder);
         earlier_files(folder, kDocuments);
         earlier_files(folder, kScenarioFiles);
       }},
      {"compile", {"compile", "--quiet"},
       [](const fs::path& folder) {
         write_short_sources(folder);
         earlier_files(folder, kScenarioFiles);
       }},
      {"compile --delete-sources", {"compile", "--quiet", "--delete-sources"},
       [](const fs::path& folder) {
         write_short_sources(folder);
         earlier_files(folder, kScenarioFiles);
       }},
  };
  return all;
}

// A clean run's calls and the folder it leaves.
struct Reference {
  std::vector<Call> calls;
  std::map<std::string, std::string> after;
};

Reference reference_run(const Command& command) {
  TempDir dir, logs;
  command.prepare(dir.path());
  const ProgramResult result =
      run_program(command.args, preloaded(dir.path(), logs.path() / "calls.log"));
  EXPECT_EQ(result.exit_status, 0) << command.label << ": " << result.err;
  return {read_log(logs.path() / "calls.log"), snapshot(dir.path())};
}

// Runs `command` with call `index` of its clean run failing, and checks what
// it leaves.
void check_failing_call(const Command& command, const Reference& reference, std::size_t index) {
  const Call& failing = reference.calls[index];
  SCOPED_TRACE(command.label + ", call " + std::to_string(index + 1) + ": " + describe(failing));
  TempDir dir, logs;
  command.prepare(dir.path());
  const std::map<std::string, std::string> before = snapshot(dir.path());
  const int error = failing.function == "write" ? ENOSPC : EIO;

  const ProgramResult result = run_program(
      command.args, preloaded(dir.path(), logs.path() / "calls.log",
                              {{"FAULT_FAIL_AT", std::to_string(index + 1)},
                               {"FAULT_ERRNO", std::to_string(error)}}));

  EXPECT_EQ(result.exit_status, 3) << result.err;
  const Expected expected = expected_message(reference.calls, index);
  EXPECT_NE(result.err.find(expected.words + " '" + expected.file + "'"), std::string::npos)
      << result.err;
  EXPECT_EQ(temporaries(dir.path()), std::vector<std::string>{});
  // A source that cannot be read takes the readers' failure path, after
  // which the build goes on as it does for any read failure.
  if (expected.words == "cannot read") return;

  // The calls up to the failing one are those of the clean run; after it
  // comes only the removal of its temporary file.
  const std::vector<Call> calls = read_log(logs.path() / "calls.log");
  ASSERT_GE(calls.size(), index + 1);
  for (std::size_t i = 0; i <= index; ++i) EXPECT_EQ(describe(calls[i]), describe(reference.calls[i]));
  for (std::size_t i = index + 1; i < calls.size(); ++i) {
    EXPECT_TRUE(calls[i].function == "unlink" && calls[i].temporary)
        << "after the failure: " << describe(calls[i]);
  }
  // Every file is whole: as the clean run left it, if replaced before the
  // failure, or as it was before the run.
  const std::map<std::string, std::string> after = snapshot(dir.path());
  const bool renamed = failing.folder && expected.words == "cannot sync the folder of";
  for (const auto& [name, content] : after) {
    const bool done = reference.after.count(name) && reference.after.at(name) == content;
    const bool kept = before.count(name) && before.at(name) == content;
    EXPECT_TRUE(done || kept) << name << " is neither the earlier nor the new file";
    // The file whose step failed is the earlier one, unless the failure
    // came after its rename (the folder could not be synced).
    if (fs::path(expected.file).filename() == name && !renamed) {
      EXPECT_TRUE(kept) << name << ", the file that failed";
    }
  }
  for (const auto& [name, content] : before) {
    EXPECT_TRUE(after.count(name) || !reference.after.count(name)) << name << " lost";
  }
}

// Calls `check(index)` for every index below `count`, a few at a time: most
// of each run is spent waiting for the disk to sync.
void for_each_index(std::size_t count, const std::function<void(std::size_t)>& check) {
  std::atomic<std::size_t> next{0};
  std::vector<std::thread> workers;
  const unsigned width = std::clamp(std::thread::hardware_concurrency(), 2u, 8u);
  for (unsigned worker = 0; worker < width; ++worker) {
    workers.emplace_back([&] {
      for (std::size_t index = next++; index < count; index = next++) check(index);
    });
  }
  for (std::thread& worker : workers) worker.join();
}

TEST(FileOperationFaults, EveryOperationFailingInTurnStopsTheCommandAndKeepsTheEarlierFiles) {
  for (const Command& command : commands()) {
    const Reference reference = reference_run(command);
    ASSERT_FALSE(reference.calls.empty()) << command.label << ": nothing intercepted";
    for_each_index(reference.calls.size(), [&](std::size_t index) {
      check_failing_call(command, reference, index);
    });
  }
}

// The folder holds sources and earlier scenario files that differ from what
// the compile writes, so that a torn file would show.
void killable_folder(const fs::path& folder) {
  write_short_sources(folder);
  earlier_files(folder, kScenarioFiles);
}

void expect_whole_files(const fs::path& folder, const std::map<std::string, std::string>& earlier,
                        const std::map<std::string, std::string>& compiled) {
  for (const std::string& name : kScenarioFiles) {
    const std::string content = read_file(folder / name);
    EXPECT_TRUE(content == earlier.at(name) || content == compiled.at(name)) << name << " torn";
  }
}

TEST(FileOperationFaults, KilledRunsLeaveOnlyTheirFilesOnceANormalRunFollows) {
  const Reference reference = reference_run(commands()[2]);  // compile of the short sources
  TempDir dir, logs;
  killable_folder(dir.path());
  const std::map<std::string, std::string> earlier = snapshot(dir.path());
  // Killed at each call in turn, then at random moments of compiles whose
  // calls are slowed down, each time over what the runs before left.
  for (std::size_t call = 1; call <= reference.calls.size(); ++call) {
    const ProgramResult result = run_program(
        {"compile", "--quiet"},
        preloaded(dir.path(), logs.path() / "kill.log", {{"FAULT_KILL_AT", std::to_string(call)}}));
    EXPECT_EQ(result.signal, SIGKILL) << "call " << call << ": " << result.err;
    expect_whole_files(dir.path(), earlier, reference.after);
  }
  std::mt19937 random(20261210);
  for (int run = 0; run < 8; ++run) {
    ProgramOptions options = preloaded(dir.path(), logs.path() / "kill.log", {{"FAULT_DELAY_US", "3000"}});
    options.kill_after_us = std::uniform_int_distribution<long>(0, 80000)(random);
    run_program({"compile", "--quiet"}, options);
    expect_whole_files(dir.path(), earlier, reference.after);
  }
  // Each run clears what the killed runs before it left, so the last random
  // kill may have left nothing: kill at each call in turn until one leaves
  // its temporary file for the normal run to find.
  for (std::size_t call = 1; call <= reference.calls.size() && temporaries(dir.path()).empty();
       ++call) {
    run_program({"compile", "--quiet"},
                preloaded(dir.path(), logs.path() / "kill.log", {{"FAULT_KILL_AT", std::to_string(call)}}));
    expect_whole_files(dir.path(), earlier, reference.after);
  }
  ASSERT_FALSE(temporaries(dir.path()).empty()) << "no run was killed with a temporary file";

  const ProgramResult normal = run_program({"compile", "--quiet"}, in_folder(dir.path()));

  EXPECT_EQ(normal.exit_status, 0) << normal.err;
  EXPECT_EQ(snapshot(dir.path()), reference.after);
}

TEST(FileOperationFaults, TwoRunsStartedTogetherInOneFolderBothEndWithWholeFiles) {
  const Reference reference = reference_run(commands()[2]);
  TempDir dir, logs;
  killable_folder(dir.path());
  // The first run is slowed down; the second starts once the first has a
  // temporary file, and clears the folder of stale ones while it is there.
  ProgramResult first, second;
  std::thread slow([&] {
    first = run_program({"compile", "--quiet"},
                        preloaded(dir.path(), logs.path() / "slow.log", {{"FAULT_DELAY_US", "100000"}}));
  });
  for (int wait = 0; wait < 5000 && temporaries(dir.path()).empty(); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  const bool overlapped = !temporaries(dir.path()).empty();
  second = run_program({"compile", "--quiet"}, in_folder(dir.path()));
  slow.join();

  EXPECT_TRUE(overlapped);
  EXPECT_EQ(first.exit_status, 0) << first.err;
  EXPECT_EQ(second.exit_status, 0) << second.err;
  EXPECT_EQ(snapshot(dir.path()), reference.after);
}

}  // namespace
}  // namespace scenario::testing
