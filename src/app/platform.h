#pragma once

#include <string>

namespace scenario {

/// Process set-up: a write past the file-size limit then fails with an error
/// the program reports, instead of killing it.
void prepare_process();

/// The folder that holds the running executable.
std::string executable_folder(const char* argv0);

/// The progress display, shown from construction to destruction: the word
/// "Attendere" while the build works.
class ProgressDisplay {
 public:
  explicit ProgressDisplay(bool shown);
  ~ProgressDisplay();
  ProgressDisplay(const ProgressDisplay&) = delete;
  ProgressDisplay& operator=(const ProgressDisplay&) = delete;

 private:
  bool shown_;
};

/// Shows a fatal message with a single OK button; returns the box's result.
int show_error_box(const std::string& message);

}  // namespace scenario
