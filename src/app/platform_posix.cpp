#ifndef _WIN32

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "app/platform.h"

namespace scenario {

void prepare_process() { std::signal(SIGXFSZ, SIG_IGN); }

std::string executable_folder(const char* argv0) {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) self = std::filesystem::absolute(argv0 != nullptr ? argv0 : "", error);
  return self.parent_path().string();
}

Language user_language() {
  auto variable = [](const char* name) -> std::string_view {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
  };
  return language_from_environment({variable("LANGUAGE"), variable("LC_ALL"),
                                    variable("LC_MESSAGES"), variable("LANG")});
}

// Without a window system the progress window is a line on standard error.
struct ProgressDisplay::Window {};

ProgressDisplay::ProgressDisplay(ProgressStyle style) {
  if (style != ProgressStyle::kNone) std::cerr << "Attendere" << std::endl;
}

ProgressDisplay::~ProgressDisplay() = default;

int show_error_box(const std::string& message) {
  std::cerr << message << std::endl;
  return 1;  // the OK button
}

void tell_failure(const std::string& line) { std::cerr << line << std::endl; }

}  // namespace scenario

#endif
