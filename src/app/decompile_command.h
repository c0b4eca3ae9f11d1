#pragma once

#include <optional>
#include <string>

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
};

/// Turns the scenario files of a folder back into their two sources.
int run_decompile(const DecompileOptions& options);

}  // namespace scenario
