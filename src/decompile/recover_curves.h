#pragma once

// The curves of the line from its plan geometry: each computed metre is a
// straight step or a step bent by one of the twelve curvatures, found bit for
// bit from the two metres before it; a run of one curvature is one curve.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "output/dump.h"

namespace scenario {

/// A curve entry: it bends the metres start + 1 .. start + length.
struct PlanCurve {
  std::int64_t start = 0;
  std::int64_t length = 0;
  double curvature = 0;  // per metre; negative turns counter-clockwise ("s")
};

struct RecoveredPlan {
  /// The first metre never computed: 0 when the geometry was never seeded,
  /// 2 when no metre was computed, M - 1 when the line was completed.
  std::int64_t computed_end = 0;
  std::vector<PlanCurve> curves;
  /// The first metre no step reaches, or that holds a value where none was
  /// computed.
  std::optional<std::int64_t> fault_metre;
};

RecoveredPlan recover_curves(const DecodedGeometry& geometry);

/// The curve class (1 to 6) of a curvature's size; 0 for none.
int curve_class(double curvature);

}  // namespace scenario
