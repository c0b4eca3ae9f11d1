#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "language/language.h"

namespace scenario {

/// What `dump` is asked for.
struct DumpOptions {
  std::string path;
  bool json = false;
  std::optional<std::int32_t> at;  // only the cell (or metre) of this position
  std::optional<std::string> kind; // only the cells of this kind name
  bool summary = false;            // counts, stations and texts instead of every record
  bool entries = false;            // the entries by meaning, from this file alone
  Language language = Language::english;  // of the words for reading
};

/// Decodes a scenario file to standard output.
int run_dump(const DumpOptions& options);

}  // namespace scenario
