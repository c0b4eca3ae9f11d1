#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "model/build_context.h"

namespace scenario {

/// A line of a source text: bare file name and 1-based line number.
struct SourcePlace {
  std::string file;
  std::int32_t line = 0;
};

/// Where the sources wrote what the grid and the table hold, as the readers
/// recorded it, for showing an author the line behind an object.
struct SourcePlaces {
  std::map<std::pair<std::int32_t, std::uint8_t>, SourcePlace> objects;  // {cell, kind}
  std::map<std::int32_t, SourcePlace> rows;     // station and indication-board rows
  std::map<std::int32_t, SourcePlace> tunnels;  // the cell of a tunnel's position
};

/// The places the readers recorded while they built `state`.
SourcePlaces source_places(const BuildState& state);

}  // namespace scenario
