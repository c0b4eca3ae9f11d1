#pragma once

// The points of one of the three fills that give each cell the value in
// force (gradient, speed limit, adhesion), from the values the cells hold:
// a point where the value changes; repeated points at the last position
// where the fill reaches the last cells; and, where the reader never reached
// its final fill, a point that closes the last run.

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace scenario {

struct FillShape {
  bool final_fill = true;        // the reader ran its final fill up to N - 3
  std::int64_t point_limit = 0;  // the first cell a point's fill never writes
};

/// A point: the cell its position names (`lower_cell_index`) and its value.
using FillPoint = std::pair<std::int32_t, std::int64_t>;

/// The points, in file order, that give `values` (one per cell 0..N); none
/// when no points can (a value the fills cannot reach).
std::optional<std::vector<FillPoint>> fill_points(const std::vector<std::int64_t>& values,
                                                  const FillShape& shape);

}  // namespace scenario
