#include "model/plan_geometry.h"

#include <algorithm>

namespace scenario {
namespace {

// A curve may not carry the walk beyond this metre; the completion may.
constexpr std::int64_t kCurveMetreLimit = 1000000;

// Metre m from the two metres before it. The step is taken afresh from the
// stored values every time and never normalised, so every curved metre
// lengthens it by sqrt(1 + k^2) for good. Each operation is rounded on its own
// (the build forbids fused multiply-add), which keeps the doubles identical on
// every machine.
void step(PlanGeometry& geometry, std::int32_t m, double curvature, bool curved) {
  const auto at = static_cast<std::size_t>(m);
  const double dx = geometry.x[at - 1] - geometry.x[at - 2];
  const double dy = geometry.y[at - 1] - geometry.y[at - 2];
  if (curved) {
    const double step_x = dx + curvature * dy;
    const double step_y = dy - curvature * dx;
    geometry.x[at] = geometry.x[at - 1] + step_x;
    geometry.y[at] = geometry.y[at - 1] + step_y;
  } else {
    geometry.x[at] = geometry.x[at - 1] + dx;
    geometry.y[at] = geometry.y[at - 1] + dy;
  }
  geometry.tags[at] = GeometryTag::real;
}

// The last metre any step may write: M - 1 and M stay empty.
std::int64_t last_computed_metre(const PlanGeometry& geometry) {
  return std::int64_t{geometry.last_metre} - 2;
}

// Steps need the two metres before the cursor: nothing to extend before seeding.
bool seeded(const PlanGeometry& geometry) {
  return geometry.cursor >= 2 && geometry.tags.size() == geometry.x.size() &&
         geometry.x.size() == geometry.y.size();
}

// Steps from the cursor up to metre `until` (inclusive); false when a step
// carries the cursor past the curve limit.
bool walk_to(PlanGeometry& geometry, std::int64_t until, double curvature, bool curved) {
  const std::int64_t end = std::min(until, last_computed_metre(geometry));
  while (geometry.cursor <= end) {
    step(geometry, geometry.cursor, curvature, curved);
    ++geometry.cursor;
    if (geometry.cursor > kCurveMetreLimit) return false;
  }
  return true;
}

}  // namespace

PlanGeometry create_plan_geometry(std::int32_t line_length) {
  PlanGeometry geometry;
  geometry.last_metre = line_length + 7000;
  const auto size = static_cast<std::size_t>(geometry.last_metre) + 1;
  geometry.tags.assign(size, GeometryTag::empty);
  geometry.x.assign(size, 0.0);
  geometry.y.assign(size, 0.0);
  return geometry;
}

void seed_plan_geometry(PlanGeometry& geometry) {
  if (geometry.tags.size() < 2) return;
  geometry.x[0] = 0;
  geometry.y[0] = 0;
  geometry.x[1] = 0;
  geometry.y[1] = 1;
  geometry.tags[0] = GeometryTag::int16;
  geometry.tags[1] = GeometryTag::int16;
  geometry.cursor = 2;
}

bool run_curve(PlanGeometry& geometry, std::int32_t start, std::int32_t length,
               double curvature) {
  if (!seeded(geometry)) return true;
  // A curve that would run past metre M - 2 stops there without complaint:
  // only its start is checked against the line.
  if (!walk_to(geometry, start, 0.0, false)) return false;
  return walk_to(geometry, std::int64_t{start} + length, curvature, true);
}

void complete_plan_geometry(PlanGeometry& geometry) {
  if (!seeded(geometry)) return;
  const std::int64_t end = last_computed_metre(geometry);
  while (geometry.cursor <= end) {
    step(geometry, geometry.cursor, 0.0, false);
    ++geometry.cursor;
  }
}

}  // namespace scenario
