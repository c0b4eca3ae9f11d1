#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace scenario {

/// A line of a source text: bare file name and 1-based line number.
struct SourcePlace {
  std::string file;
  std::int32_t line = 0;
};

/// Where the sources wrote what the grid and the table hold, found by a light
/// scan of their lines (keyword field and leading numbers), for showing an
/// author the line behind an object. It is a guide, not a second reader: the
/// page shows a place only where the scanned kind matches the cell's object.
struct SourcePlaces {
  std::map<std::pair<std::int32_t, std::uint8_t>, SourcePlace> objects;  // {cell, kind}
  std::map<std::int32_t, SourcePlace> rows;     // station and indication-board rows
  std::map<std::int32_t, SourcePlace> tunnels;  // first cell of a tunnel span
};

/// Scans the line source text (`file` its bare name).
void scan_line_source(std::string_view file, std::string_view text, SourcePlaces& places);

/// Scans the train source text.
void scan_train_source(std::string_view file, std::string_view text, SourcePlaces& places);

}  // namespace scenario
