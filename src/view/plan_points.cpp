#include "view/plan_points.h"

#include <algorithm>

namespace scenario {
namespace {

template <class Present, class Point>
std::vector<PlanPoint> thin(std::size_t metres, std::size_t max_points, Present present,
                            Point point) {
  std::vector<PlanPoint> points;
  if (metres == 0) return points;
  const std::size_t step = std::max<std::size_t>(1, (metres + max_points - 1) / std::max<std::size_t>(max_points, 1));
  std::size_t last = metres;
  for (std::size_t m = metres; m-- > 0;) {
    if (present(m)) {
      last = m;
      break;
    }
  }
  if (last == metres) return points;
  for (std::size_t m = 0; m < last; m += step) {
    if (present(m)) points.push_back(point(m));
  }
  points.push_back(point(last));
  return points;
}

}  // namespace

std::vector<PlanPoint> thin_plan(const PlanGeometry& geometry, std::size_t max_points) {
  const auto metres = static_cast<std::size_t>(geometry.metres());
  return thin(
      metres, max_points,
      [&](std::size_t m) { return geometry.tag(static_cast<std::int32_t>(m)) != GeometryTag::empty; },
      [&](std::size_t m) {
        const auto metre = static_cast<std::int32_t>(m);
        return PlanPoint{metre, geometry.x(metre), geometry.y(metre)};
      });
}

std::vector<PlanPoint> thin_plan(const DecodedGeometry& geometry, std::size_t max_points) {
  const std::size_t metres = std::min(geometry.x.size(), geometry.y.size());
  return thin(
      metres, max_points,
      [&](std::size_t m) {
        return geometry.x[m].tag != GeometryTag::empty && geometry.y[m].tag != GeometryTag::empty;
      },
      [&](std::size_t m) {
        return PlanPoint{static_cast<std::int32_t>(m), geometry.x[m].value, geometry.y[m].value};
      });
}

}  // namespace scenario
