#include "view/plan_points.h"

#include <gtest/gtest.h>

#include "output/dump.h"

namespace scenario {
namespace {

TEST(ThinPlan, KeepsTheEndsAndAtMostTheAskedNumberOfPoints) {
  PlanGeometry geometry = create_plan_geometry(10000);  // metres 0..17000
  seed_plan_geometry(geometry);
  ASSERT_TRUE(run_curve(geometry, 1000, 500, 0.001));
  complete_plan_geometry(geometry);  // the last two metres stay empty

  const std::vector<PlanPoint> points = thin_plan(geometry, 100);
  ASSERT_GE(points.size(), 90u);
  EXPECT_LE(points.size(), 101u);
  EXPECT_EQ(points.front().metre, 0);
  EXPECT_EQ(points.back().metre, 16998);
  EXPECT_EQ(points.back().x, geometry.x(16998));
  EXPECT_EQ(points.back().y, geometry.y(16998));
  for (std::size_t i = 1; i < points.size(); ++i) EXPECT_LT(points[i - 1].metre, points[i].metre);

  // The decoded file gives the same points.
  DecodedGeometry decoded;
  std::string error;
  ASSERT_TRUE(decode_plan_geometry(plan_geometry_file(geometry), decoded, error)) << error;
  const std::vector<PlanPoint> again = thin_plan(decoded, 100);
  ASSERT_EQ(again.size(), points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(again[i].metre, points[i].metre) << i;
    EXPECT_EQ(again[i].x, points[i].x) << i;
    EXPECT_EQ(again[i].y, points[i].y) << i;
  }
}

TEST(ThinPlan, AnUnwrittenPlanHasNoPoints) {
  EXPECT_TRUE(thin_plan(create_plan_geometry(100), 50).empty());
  EXPECT_TRUE(thin_plan(PlanGeometry{}, 50).empty());
}

}  // namespace
}  // namespace scenario
