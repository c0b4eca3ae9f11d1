#pragma once

// Runs the scenario-compiler executable in a child process for end-to-end
// tests, capturing its standard output, standard error and exit status.

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace scenario::testing {

struct ProgramResult {
  int exit_status = -1;  // -1 when the child did not exit normally
  int signal = 0;        // the signal that ended the child, 0 when it exited
  std::string out;
  std::string err;
};

struct ProgramOptions {
  std::filesystem::path working_dir;  // empty: the current folder
  long file_size_limit = -1;          // RLIMIT_FSIZE in bytes for the child; -1: none
  std::string executable;             // empty: the built scenario-compiler
  /// Variables set in the child's environment, added to the inherited ones.
  std::vector<std::pair<std::string, std::string>> environment;
  unsigned timeout_seconds = 0;          // the child is killed (SIGALRM) after this; 0: never
  /// Called with the child's id and the file that takes its standard error
  /// (to be read while it runs) before waiting for it.
  std::function<void(pid_t, const std::string&)> while_running;
  long kill_after_us = -1;            // SIGKILL the child this long after its start; -1: never
};

ProgramResult run_program(const std::vector<std::string>& args,
                          const ProgramOptions& options = {});

/// Options that run the program in `folder`.
inline ProgramOptions in_folder(const std::filesystem::path& folder) {
  ProgramOptions options;
  options.working_dir = folder;
  return options;
}

/// A fresh folder under the system's temporary folder, removed on destruction.
class TempDir {
 public:
  explicit TempDir(const std::string& name_hint = "scenario test");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& content);

}  // namespace scenario::testing
