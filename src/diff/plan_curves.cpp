#include "diff/plan_curves.h"

#include <cmath>
#include <cstddef>

namespace scenario {
namespace {

constexpr double kClassCurvature[] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

// The signed class of a turn: +class clockwise, -class counter-clockwise, 0
// straight or no class. A curved step turns the last step (dx, dy) into
// (dx + k dy, dy - k dx), so k = -(cross product) / |last step|²; the
// nearest class is taken within a tenth of the smallest curvature.
int turn_class(double k) {
  for (int index = 0; index < 6; ++index) {
    if (std::fabs(std::fabs(k) - kClassCurvature[index]) < 0.00001) {
      return k > 0 ? index + 1 : -(index + 1);
    }
  }
  return 0;
}

}  // namespace

std::vector<CurveOfPlan> plan_curves(const DecodedGeometry& geometry) {
  std::vector<CurveOfPlan> curves;
  const std::size_t metres = geometry.x.size();
  int current = 0;
  for (std::size_t m = 2; m < metres; ++m) {
    int turn = 0;
    if (geometry.x[m].tag != GeometryTag::empty && geometry.x[m - 1].tag != GeometryTag::empty &&
        geometry.x[m - 2].tag != GeometryTag::empty) {
      const double dx = geometry.x[m - 1].value - geometry.x[m - 2].value;
      const double dy = geometry.y[m - 1].value - geometry.y[m - 2].value;
      const double nx = geometry.x[m].value - geometry.x[m - 1].value;
      const double ny = geometry.y[m].value - geometry.y[m - 1].value;
      const double square = dx * dx + dy * dy;
      if (square > 0) turn = turn_class(-(dx * ny - dy * nx) / square);
    }
    if (turn != 0 && turn == current) {
      ++curves.back().length;
    } else if (turn != 0) {
      curves.push_back({static_cast<std::int32_t>(m) - 1, 1, turn > 0 ? turn : -turn,
                        turn > 0 ? 'd' : 's'});
    }
    current = turn;
  }
  return curves;
}

}  // namespace scenario
