#pragma once

#include <cstdint>
#include <vector>

#include "output/dump.h"

namespace scenario {

/// A curve as the plan geometry shows it: the metres S + 1 .. S + L turn by
/// the curvature of a class (1..6), clockwise ("d") or not ("s").
struct CurveOfPlan {
  std::int32_t start = 0;   // S
  std::int32_t length = 0;  // L
  int curve_class = 0;      // 1..6
  char direction = 'd';
  bool operator==(const CurveOfPlan&) const = default;
};

/// The curves of a plan geometry, in order: each run of metres that turn by
/// the same curvature is one curve. Curves that abut with the same class and
/// direction read as one; a metre whose turn is no class's curvature is left
/// out, as straight.
std::vector<CurveOfPlan> plan_curves(const DecodedGeometry& geometry);

}  // namespace scenario
