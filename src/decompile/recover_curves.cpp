#include "decompile/recover_curves.h"

#include <bit>

namespace scenario {
namespace {

// Curvature per metre of the curve classes 1 to 6, as the line reader has them.
constexpr double kCurvatures[] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

bool same_bits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool both(const DecodedGeometry& g, std::size_t m, GeometryTag tag) {
  return g.x[m].tag == tag && g.y[m].tag == tag;
}

// The curvature that takes the two metres before to (x, y), as the line
// reader's step computes it: 0 for a straight step, none when no step does.
std::optional<double> step_curvature(double x0, double y0, double x1, double y1, double x,
                                     double y) {
  const double dx = x1 - x0, dy = y1 - y0;
  if (same_bits(x, x1 + dx) && same_bits(y, y1 + dy)) return 0.0;
  for (double magnitude : kCurvatures) {
    for (double k : {magnitude, -magnitude}) {
      const double step_x = dx + k * dy;
      const double step_y = dy - k * dx;
      if (same_bits(x, x1 + step_x) && same_bits(y, y1 + step_y)) return k;
    }
  }
  return std::nullopt;
}

}  // namespace

int curve_class(double curvature) {
  const double size = curvature < 0 ? -curvature : curvature;
  for (int c = 0; c < 6; ++c) {
    if (kCurvatures[c] == size) return c + 1;
  }
  return 0;
}

RecoveredPlan recover_curves(const DecodedGeometry& g) {
  RecoveredPlan plan;
  const std::size_t metres = g.x.size();
  std::size_t end = 0;
  if (metres >= 2 && both(g, 0, GeometryTag::int16) && both(g, 1, GeometryTag::int16) &&
      g.x[0].value == 0 && g.y[0].value == 0 && g.x[1].value == 0 && g.y[1].value == 1) {
    end = 2;
    while (end < metres && both(g, end, GeometryTag::real)) ++end;
  }
  for (std::size_t m = end; m < metres && !plan.fault_metre; ++m) {
    if (!both(g, m, GeometryTag::empty)) plan.fault_metre = static_cast<std::int64_t>(m);
  }
  plan.computed_end = static_cast<std::int64_t>(end);
  std::int64_t run_start = -1;
  double run_k = 0;
  auto close_run = [&](std::int64_t last) {
    if (run_start >= 0) plan.curves.push_back({run_start - 1, last - run_start + 1, run_k});
    run_start = -1;
  };
  for (std::size_t m = 2; m < end; ++m) {
    const auto k = step_curvature(g.x[m - 2].value, g.y[m - 2].value, g.x[m - 1].value,
                                  g.y[m - 1].value, g.x[m].value, g.y[m].value);
    const auto metre = static_cast<std::int64_t>(m);
    if (!k) {
      plan.fault_metre = metre;
      break;
    }
    if (run_start >= 0 && run_k != *k) close_run(metre - 1);
    if (*k != 0 && run_start < 0) {
      run_start = metre;
      run_k = *k;
    }
  }
  close_run(plan.fault_metre ? *plan.fault_metre - 1 : static_cast<std::int64_t>(end) - 1);
  return plan;
}

}  // namespace scenario
