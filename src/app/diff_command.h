#pragma once

#include <string>

#include "model/build_context.h"

namespace scenario {

/// What `diff` is asked for.
struct DiffOptions {
  std::string old_folder;
  std::string new_folder;
  std::string base_name = kDefaultBaseName;
  std::string train_number = kDefaultTrainNumber;
  std::string format = "text";  // text or json
  Language language = Language::english;  // of the text form (JSON stays English)
};

/// Compares the scenarios of two folders by meaning and prints what changed.
/// 0 when they are the same, 1 when they differ, 3 when one cannot be read.
int run_diff(const DiffOptions& options);

}  // namespace scenario
