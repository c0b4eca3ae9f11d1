#include "sources/plan_geometry.h"

namespace scenario {

// Placeholder bodies; the metre-by-metre integration comes with the line reader.
PlanGeometry create_plan_geometry(std::int32_t line_length) {
  PlanGeometry geometry;
  geometry.last_metre = line_length + 7000;
  const auto size = static_cast<std::size_t>(geometry.last_metre) + 1;
  geometry.tags.assign(size, GeometryTag::empty);
  geometry.x.assign(size, 0.0);
  geometry.y.assign(size, 0.0);
  return geometry;
}

void seed_plan_geometry(PlanGeometry&) {}

bool run_curve(PlanGeometry&, std::int32_t, std::int32_t, double) { return true; }

void complete_plan_geometry(PlanGeometry&) {}

}  // namespace scenario
