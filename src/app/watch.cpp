#include "app/watch.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <thread>

#include "files/file_names.h"

namespace scenario {
namespace {

volatile std::sig_atomic_t interrupted = 0;

// The run under way ends normally after a first interrupt; a second one ends
// the program at once.
extern "C" void on_interrupt(int) {
  interrupted = 1;
  std::signal(SIGINT, SIG_DFL);
}

struct FileStamp {
  bool exists = false;
  std::filesystem::file_time_type modified{};
  std::uintmax_t size = 0;
  bool operator==(const FileStamp&) const = default;
};

std::vector<FileStamp> stamps_of(const std::vector<std::string>& paths) {
  std::vector<FileStamp> stamps;
  for (const std::string& path : paths) {
    FileStamp stamp;
    std::error_code error;
    stamp.modified = std::filesystem::last_write_time(path, error);
    if (!error) {
      stamp.size = std::filesystem::file_size(path, error);
      stamp.exists = !error;
    }
    if (!stamp.exists) stamp = FileStamp{};
    stamps.push_back(stamp);
  }
  return stamps;
}

// Whether a file is there with another time or size than when last seen. A
// file that went away (deleted by the run itself with --delete-sources, or
// by an editor that saves by replacing) is no save: it counts once it is back.
bool saved_since(std::vector<FileStamp>& seen, const std::vector<FileStamp>& now) {
  bool saved = false;
  for (std::size_t i = 0; i < now.size(); ++i) {
    if (!now[i].exists) {
      seen[i] = now[i];
    } else if (now[i] != seen[i]) {
      saved = true;
    }
  }
  return saved;
}

std::optional<long> run_limit() {
  const char* text = std::getenv("SCENARIO_COMPILER_WATCH_RUNS");
  if (text == nullptr || *text == '\0') return std::nullopt;
  char* end = nullptr;
  const long limit = std::strtol(text, &end, 10);
  if (*end != '\0' || limit < 1) return std::nullopt;
  return limit;
}

constexpr auto kPollInterval = std::chrono::milliseconds(300);

}  // namespace

int watch_and_run(const std::vector<std::string>& paths, const std::function<RunSummary()>& run) {
  interrupted = 0;
  auto previous_handler = std::signal(SIGINT, on_interrupt);
  const std::optional<long> limit = run_limit();
  std::string names;
  for (const std::string& path : paths) names += (names.empty() ? "" : ", ") + bare_name(path);
  std::cerr << "scenario-compiler: watching " << names << " (Ctrl+C ends)" << std::endl;

  int status = 0;
  // Stamps are taken before each run, so that a save during the run starts
  // the next one.
  std::vector<FileStamp> seen = stamps_of(paths);
  for (long runs = 1;; ++runs) {
    std::cerr << "scenario-compiler: run started" << std::endl;
    const RunSummary summary = run();
    status = summary.exit_status;
    std::cerr << "scenario-compiler: run finished: " << counts_text(summary.counts, Language::english) << std::endl;
    if (interrupted || (limit && runs >= *limit)) break;
    // Wait for a change, then for the files to hold still over one interval
    // (an editor may write a file in several steps), but not for ever.
    std::vector<FileStamp> now;
    do {
      std::this_thread::sleep_for(kPollInterval);
      now = stamps_of(paths);
    } while (!interrupted && !saved_since(seen, now));
    for (int settling = 0; settling < 10 && !interrupted; ++settling) {
      std::this_thread::sleep_for(kPollInterval);
      std::vector<FileStamp> settled = stamps_of(paths);
      if (settled == now) break;
      now = std::move(settled);
    }
    if (interrupted) break;
    seen = std::move(now);
  }
  std::signal(SIGINT, previous_handler == SIG_ERR ? SIG_DFL : previous_handler);
  return interrupted ? 0 : status;
}

}  // namespace scenario
