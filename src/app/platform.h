#pragma once

#include <memory>
#include <string>

#include "language/language.h"

namespace scenario {

/// Process set-up: a write past the file-size limit then fails with an error
/// the program reports, instead of killing it.
void prepare_process();

/// The folder that holds the running executable, in the system's narrow
/// character set (the one the file functions take).
std::string executable_folder(const char* argv0);

/// The language the user reads: from LANGUAGE, LC_ALL, LC_MESSAGES and LANG
/// on POSIX systems, from the user's interface language on Windows.
Language user_language();

/// How a command shows that it is working.
enum class ProgressStyle {
  kNone,    // --quiet
  kLine,    // "Attendere" on standard error
  kWindow,  // the progress window too, where there is a window system (the standard run)
};

/// The progress display, shown from construction to destruction: the word
/// "Attendere" while the build works.
class ProgressDisplay {
 public:
  explicit ProgressDisplay(ProgressStyle style);
  ~ProgressDisplay();
  ProgressDisplay(const ProgressDisplay&) = delete;
  ProgressDisplay& operator=(const ProgressDisplay&) = delete;

 private:
  struct Window;                    // the progress window, where one was made
  std::unique_ptr<Window> window_;
};

/// Shows a fatal message with a single OK button; returns the box's result.
int show_error_box(const std::string& message);

/// Prints the line of a failed file operation on standard error. Where
/// standard error leads nowhere (a Windows program started by a double click),
/// the line is shown in a box instead, so that the failure is not lost.
void tell_failure(const std::string& line);

}  // namespace scenario
