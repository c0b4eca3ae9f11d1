#include "decompile/fill_points.h"

#include <algorithm>

namespace scenario {

std::optional<std::vector<FillPoint>> fill_points(
    const std::vector<std::int64_t>& values, const FillShape& shape) {
  const std::int32_t n = static_cast<std::int32_t>(values.size()) - 1;
  std::vector<FillPoint> points;
  std::int32_t last_set = -1;
  for (std::int32_t c = 0; c <= n; ++c) {
    if (values[static_cast<std::size_t>(c)] != 0) last_set = c;
  }
  const std::int32_t z = shape.final_fill ? std::max(last_set, n - 3) : last_set;
  if (z < 0) return points;
  const std::int32_t last_point_cell = n - 2;
  if (last_point_cell < 0) return std::nullopt;
  points.emplace_back(0, values[0]);
  const std::int32_t runs_end = std::min(z, last_point_cell - 1);
  for (std::int32_t c = 1; c <= runs_end; ++c) {
    if (values[static_cast<std::size_t>(c)] != values[static_cast<std::size_t>(c - 1)]) {
      points.emplace_back(c, values[static_cast<std::size_t>(c)]);
    }
  }
  if (z >= last_point_cell) {
    // Each further point at the last position writes one cell more.
    for (std::int32_t c = last_point_cell; c <= z; ++c) {
      points.emplace_back(last_point_cell, values[static_cast<std::size_t>(c)]);
    }
    if (!shape.final_fill) {
      if (z >= shape.point_limit) return std::nullopt;
      points.emplace_back(last_point_cell, 0);
    }
  } else if (!shape.final_fill) {
    points.emplace_back(z + 1, 0);
  }
  return points;
}

}  // namespace scenario
