#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/plan_geometry.h"
#include "output/dump.h"

namespace scenario {

/// A point of the line seen from above, at a metre of the line.
struct PlanPoint {
  std::int32_t metre = 0;
  double x = 0.0;
  double y = 0.0;
};

/// At most about `max_points` points of the plan, evenly spaced along the line,
/// the first and the last written metre always among them; metres never
/// computed (empty) are left out. A screen shows no more than that.
std::vector<PlanPoint> thin_plan(const PlanGeometry& geometry, std::size_t max_points);

/// The same from a decoded plan geometry file.
std::vector<PlanPoint> thin_plan(const DecodedGeometry& geometry, std::size_t max_points);

}  // namespace scenario
