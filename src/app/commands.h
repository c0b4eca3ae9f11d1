#pragma once

#include <optional>
#include <string>

#include "language/language.h"
#include "model/build_context.h"

namespace scenario {

/// Exit statuses of the program.
namespace exit_status {
inline constexpr int kSuccess = 0;
inline constexpr int kBuildStatus = 1;   // the build ended with a status code
inline constexpr int kFatal = 2;         // 1250 or 1251
inline constexpr int kFileError = 3;     // a file operation failed
inline constexpr int kUsage = 64;
}  // namespace exit_status

/// The options shared by the commands that build, export or compile.
struct RunOptions {
  std::string dir;
  std::string base_name = kDefaultBaseName;
  std::string train_number = kDefaultTrainNumber;
  std::optional<std::string> report;
  bool quiet = false;
  bool progress_window = false; // the standard run: the progress window where there is one
  bool force = false;           // export and build: replace sources an author has edited
  bool no_geometry = false;     // compile only
  bool delete_sources = false;  // compile only
  bool watch = false;           // compile and check: again on each save of a source
  std::string format = "text";  // check only: text, json or sarif
  bool all = false;             // check only: every scenario of the folder
  Language language = Language::english;  // of the messages for people
};

/// Makes `folder` with its missing parents and says so on standard error
/// (unless `quiet`); false, with the failure told, when it cannot be made.
bool prepare_folder(FileSystem& files, const std::string& folder, bool quiet,
                    Language language = Language::english);

/// Writes the five built-in texts, compiles them deleting the sources, and
/// writes the scenario files. The standard run is this in the executable's folder.
int run_build(const RunOptions& options);

/// Writes the five built-in texts and stops.
int run_export(const RunOptions& options);

/// Compiles the sources found in the folder into the scenario files.
int run_compile(const RunOptions& options);

/// Reports every finding in the sources on standard output, writing no file.
int run_check(const RunOptions& options);

/// Explains a finding's id, or lists them all when none is given.
int run_explain(const std::optional<std::string>& id, Language language);

}  // namespace scenario
