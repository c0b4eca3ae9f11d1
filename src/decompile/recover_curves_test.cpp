#include "decompile/recover_curves.h"

#include <gtest/gtest.h>

#include "testing/memory_compile.h"

namespace scenario {
namespace {

DecodedGeometry geometry_of(const std::string& body) {
  const MemoryCompile run = compile_in_memory(
      "[generale]\r\nlunghezza percorso, 3000\r\n[x]\r\n" + body + "[fine]\r\n\r\n",
      "[generale]\r\n[fine]\r\n\r\n");
  DecodedGeometry geometry;
  std::string error;
  EXPECT_TRUE(run.plan_geometry && decode_plan_geometry(*run.plan_geometry, geometry, error));
  return geometry;
}

TEST(RecoverCurves, FindsEachCurveBitForBit) {
  // Two curves end to end, one of length 0 (no metre bent) and one that
  // starts inside the one before (it goes on from there).
  const RecoveredPlan plan = recover_curves(
      geometry_of("curvad2, 100, 50\r\ncurvas6, 150, 20\r\ncurvad1, 400, 0\r\n"
                  "curvad4, 1000, 300\r\ncurvas3, 1200, 300\r\n"));
  ASSERT_EQ(plan.curves.size(), 4u);
  const PlanCurve expected[] = {
      {100, 50, 0.0002}, {150, 20, -0.003}, {1000, 300, 0.001}, {1300, 200, -0.0004}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(plan.curves[i].start, expected[i].start) << i;
    EXPECT_EQ(plan.curves[i].length, expected[i].length) << i;
    EXPECT_EQ(plan.curves[i].curvature, expected[i].curvature) << i;
  }
  EXPECT_EQ(plan.computed_end, 3000 + 7000 - 1);
  EXPECT_FALSE(plan.fault_metre);
  EXPECT_EQ(curve_class(-0.003), 6);
}

TEST(RecoverCurves, NamesTheFirstMetreNoStepReaches) {
  DecodedGeometry geometry = geometry_of("curvad2, 100, 50\r\n");
  geometry.x[120].value += 1e-9;
  EXPECT_EQ(recover_curves(geometry).fault_metre, 120);
  geometry.x.back() = {GeometryTag::real, 1.0};
  geometry.x[120].value -= 1e-9;
  EXPECT_EQ(recover_curves(geometry).fault_metre, static_cast<std::int64_t>(geometry.x.size()) - 1);
}

}  // namespace
}  // namespace scenario
