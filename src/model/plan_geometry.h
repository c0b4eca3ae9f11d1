#pragma once

#include <cstdint>
#include <vector>

namespace scenario {

/// Type of a plan-geometry element; the values are the file's type codes.
enum class GeometryTag : std::uint8_t { empty = 0, int16 = 2, real = 5 };

/// The line seen from above, one point per metre 0..M (M = line length + 7000).
/// x and y of one metre are always written together, so one tag per metre says
/// what both hold: nothing, the 16-bit seed values, or computed doubles.
struct PlanGeometry {
  std::int32_t last_metre = 0;     // M
  std::vector<GeometryTag> tags;   // M + 1 entries
  std::vector<double> x;           // M + 1 entries
  std::vector<double> y;           // M + 1 entries
  std::int32_t cursor = 0;         // next metre to compute; 2 after seeding
};

/// A new, all-empty geometry for metres 0..line_length + 7000.
PlanGeometry create_plan_geometry(std::int32_t line_length);

/// Metre 0 becomes (0, 0) and metre 1 (0, 1), as 16-bit values; cursor 2.
void seed_plan_geometry(PlanGeometry& geometry);

/// Straight up to metre `start`, then curved with `curvature` per metre up to
/// metre start + length. Returns false when the cursor passes metre 1000000
/// (status 103).
bool run_curve(PlanGeometry& geometry, std::int32_t start, std::int32_t length,
               double curvature);

/// Extends the line straight up to metre M - 2.
void complete_plan_geometry(PlanGeometry& geometry);

}  // namespace scenario
