#pragma once

#include <optional>
#include <string>

#include "language/language.h"

#include "model/build_context.h"

namespace scenario {

/// What `decompile` is asked for.
struct DecompileOptions {
  std::string dir;
  std::string base_name = kDefaultBaseName;
  std::string train_number = kDefaultTrainNumber;
  std::optional<std::string> out;  // the folder of the sources (default: dir)
  bool force = false;              // replace sources that differ from the ones made
  bool lossy = false;              // write the nearest sources when they are not exact
  Language language = Language::english;  // of the messages (the sources are the same)
};

/// Turns the scenario files of a folder back into their two sources.
int run_decompile(const DecompileOptions& options);

}  // namespace scenario
