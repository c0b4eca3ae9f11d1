#pragma once

#include <optional>
#include <string>

#include "model/build_context.h"

namespace scenario {

/// What `view` is asked for.
struct ViewOptions {
  std::string dir;
  std::string base_name = kDefaultBaseName;
  std::string train_number = kDefaultTrainNumber;
  std::optional<std::string> out;  // default DIR/NAME_NUMBER.html
  bool compiled = false;           // draw from the three scenario files instead of the sources
  bool watch = false;              // write the page again after each save, until interrupted
  Language language = Language::english;  // of the page's words
};

/// Writes the HTML page of the scenario. Exit status 0 when it is written
/// (whatever the scenario's own status, which the page shows), 3 when a file
/// cannot be read or the page cannot be written.
int run_view(const ViewOptions& options);

}  // namespace scenario
