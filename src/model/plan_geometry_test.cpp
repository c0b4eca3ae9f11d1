#include "model/plan_geometry.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "files/coding.h"

namespace scenario {
namespace {

PlanGeometry seeded(std::int32_t line_length) {
  PlanGeometry geometry = create_plan_geometry(line_length);
  seed_plan_geometry(geometry);
  return geometry;
}

TEST(PlanGeometry, LineWithoutCurvesRunsAlongY) {
  PlanGeometry geometry = seeded(1000);
  ASSERT_EQ(geometry.last_metre, 8000);
  ASSERT_EQ(geometry.metres(), 8001);
  EXPECT_EQ(geometry.cursor, 2);
  complete_plan_geometry(geometry);
  EXPECT_EQ(geometry.cursor, 7999);
  EXPECT_EQ(geometry.tag(0), GeometryTag::int16);
  EXPECT_EQ(geometry.tag(1), GeometryTag::int16);
  for (std::int32_t m = 0; m <= 7998; ++m) {
    ASSERT_EQ(geometry.x(m), 0.0) << m;
    ASSERT_EQ(geometry.y(m), m) << m;
    if (m >= 2) {
      ASSERT_EQ(geometry.tag(m), GeometryTag::real) << m;
    }
  }
  // The last two metres are never written.
  EXPECT_EQ(geometry.tag(7999), GeometryTag::empty);
  EXPECT_EQ(geometry.tag(8000), GeometryTag::empty);
}

TEST(PlanGeometry, CurveTurnsFromTheMetreAfterItsStart) {
  for (double k : {0.001, -0.001}) {
    SCOPED_TRACE(k);
    PlanGeometry geometry = seeded(5000);
    ASSERT_TRUE(run_curve(geometry, 1000, 2, k));
    EXPECT_EQ(geometry.cursor, 1003);
    EXPECT_EQ(geometry.x(1000), 0.0);
    EXPECT_EQ(geometry.y(1000), 1000.0);
    // The step is never normalised: each metre uses the stored differences.
    const double x1001 = 0.0 + (0.0 + k * 1.0);
    const double y1001 = 1000.0 + (1.0 - k * 0.0);
    EXPECT_EQ(geometry.x(1001), x1001);
    EXPECT_EQ(geometry.y(1001), y1001);
    const double dx = x1001 - 0.0;
    const double dy = y1001 - 1000.0;
    EXPECT_EQ(geometry.x(1002), x1001 + (dx + k * dy));
    EXPECT_EQ(geometry.y(1002), y1001 + (dy - k * dx));
    EXPECT_EQ(geometry.x(1001), k);          // 0.001, or -0.001 for "s"
    EXPECT_EQ(geometry.y(1001), 1001.0);
    EXPECT_DOUBLE_EQ(geometry.x(1002), 3 * k);
    EXPECT_DOUBLE_EQ(geometry.y(1002), 1002 - 0.000001);
    EXPECT_EQ(geometry.tag(1003), GeometryTag::empty);
  }
}

TEST(PlanGeometry, CurvesBehindTheCursor) {
  PlanGeometry geometry = seeded(5000);
  ASSERT_TRUE(run_curve(geometry, 100, 50, 0.002));
  ASSERT_EQ(geometry.cursor, 151);
  // Starts behind the cursor: curves on from the cursor to its own end.
  ASSERT_TRUE(run_curve(geometry, 120, 40, 0.002));
  EXPECT_EQ(geometry.cursor, 161);
  PlanGeometry reference = seeded(5000);
  ASSERT_TRUE(run_curve(reference, 100, 60, 0.002));
  // Ends behind the cursor: nothing changes.
  ASSERT_TRUE(run_curve(geometry, 10, 20, 0.003));
  EXPECT_EQ(geometry.cursor, 161);
  EXPECT_EQ(plan_geometry_file(geometry), plan_geometry_file(reference));
}

TEST(PlanGeometry, CurveMayNotPassMetreOneMillion) {
  PlanGeometry geometry = seeded(1000000);
  ASSERT_EQ(geometry.last_metre, 1007000);
  EXPECT_TRUE(run_curve(geometry, 999000, 999, 0.0001));
  EXPECT_EQ(geometry.cursor, 1000000);
  EXPECT_FALSE(run_curve(geometry, 999999, 5, 0.0001));
  EXPECT_EQ(geometry.cursor, 1000001);
  EXPECT_EQ(geometry.tag(1000000), GeometryTag::real);
  // The completion has no such limit.
  complete_plan_geometry(geometry);
  EXPECT_EQ(geometry.cursor, 1006999);
  EXPECT_EQ(geometry.tag(1006998), GeometryTag::real);
  EXPECT_EQ(geometry.tag(1006999), GeometryTag::empty);
}

TEST(PlanGeometry, CurveStopsSilentlyAtTheEndOfTheArray) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  const struct {
    std::int32_t start, length;
    std::int32_t cursor_after;
  } cases[] = {
      {7900, 500, 7999},   // curved part passes M - 2
      {9000, 10, 7999},    // straight part passes M - 2
      {kMax, kMax, 7999},  // the end S + L must not overflow
      {-50, 20, 2},        // wholly before the seed
      {10, -30, 11},       // negative length: straight to S only
      {kMin, kMin, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    PlanGeometry geometry = seeded(1000);
    EXPECT_TRUE(run_curve(geometry, c.start, c.length, 0.003));
    EXPECT_EQ(geometry.cursor, c.cursor_after);
    EXPECT_EQ(geometry.tag(7999), GeometryTag::empty);
    EXPECT_EQ(geometry.tag(8000), GeometryTag::empty);
    EXPECT_EQ(geometry.metres(), 8001);
  }
}

// Without its points a geometry moves its cursor and fails exactly as one
// with them, over the same walks; it reads as empty and makes no file.
TEST(PlanGeometry, WithoutPointsTheCursorMovesAndFailsTheSame) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const struct {
    std::int32_t start, length;
  } walks[] = {{100, 50},      {120, 40},    {10, 20},    {998000, 1500}, {999999, 5},
               {1000005, 10},  {kMax, kMax}, {-50, 20},   {500, -30}};
  for (const std::int32_t length : {1000, 1000000}) {
    SCOPED_TRACE(length);
    PlanGeometry full = create_plan_geometry(length);
    PlanGeometry cursor_only = create_plan_geometry(length, false);
    seed_plan_geometry(full);
    seed_plan_geometry(cursor_only);
    ASSERT_EQ(cursor_only.cursor, 2);
    for (const auto& walk : walks) {
      SCOPED_TRACE(walk.start);
      EXPECT_EQ(run_curve(cursor_only, walk.start, walk.length, 0.001),
                run_curve(full, walk.start, walk.length, 0.001));
      EXPECT_EQ(cursor_only.cursor, full.cursor);
    }
    complete_plan_geometry(full);
    complete_plan_geometry(cursor_only);
    EXPECT_EQ(cursor_only.cursor, full.cursor);
    EXPECT_EQ(cursor_only.tag(1), GeometryTag::empty);
    EXPECT_EQ(cursor_only.x(3), 0.0);
    EXPECT_EQ(plan_geometry_file(cursor_only), "");
  }
}

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

TEST(PlanGeometryFile, StartsWithSeedsAndKeepsTypes) {
  PlanGeometry geometry = seeded(0);
  complete_plan_geometry(geometry);
  const std::int64_t m = geometry.last_metre;  // 7000
  const std::string file(plan_geometry_file(geometry));
  // 20 M - 36 bytes: per coordinate two i16 seeds, M - 3 doubles, two empties.
  ASSERT_EQ(static_cast<std::int64_t>(file.size()), 20 * m - 36);
  EXPECT_EQ(file.substr(0, 10), bytes({2, 0, 0, 0, 2, 0, 0, 0, 5, 0}));
  const std::size_t y_part = file.size() / 2;
  EXPECT_EQ(file.substr(y_part, 8), bytes({2, 0, 0, 0, 2, 0, 1, 0}));
  // y of metre 2 is the double 2.0; the x part ends with two empty values.
  ByteReader y2(std::string_view(file).substr(y_part + 8));
  std::uint16_t tag = 0;
  double value = 0;
  ASSERT_TRUE(y2.get_u16(tag) && y2.get_f64(value));
  EXPECT_EQ(tag, 5);
  EXPECT_EQ(value, 2.0);
  EXPECT_EQ(file.substr(y_part - 4, 4), bytes({0, 0, 0, 0}));
  EXPECT_EQ(file.substr(file.size() - 4), bytes({0, 0, 0, 0}));
  // The values read back from the file's bytes are those computed.
  EXPECT_EQ(geometry.y(6998), 6998.0);
  EXPECT_EQ(geometry.tag(6999), GeometryTag::empty);
}

TEST(PlanGeometryFile, UnreachedMetresAreEmpty) {
  PlanGeometry geometry = seeded(0);
  const std::size_t metres = static_cast<std::size_t>(geometry.metres());
  EXPECT_EQ(plan_geometry_file(geometry).size(), 2 * (2 * 4 + (metres - 2) * 2));
  PlanGeometry never_created;
  EXPECT_TRUE(plan_geometry_file(never_created).empty());
  PlanGeometry never_seeded = create_plan_geometry(0);
  EXPECT_EQ(plan_geometry_file(never_seeded), std::string(4 * metres, '\0'));
}

TEST(PlanGeometryFile, NothingIsAddedOnceTheFileIsMade) {
  PlanGeometry geometry = seeded(1000);
  ASSERT_TRUE(run_curve(geometry, 100, 10, 0.001));
  const double x_before = geometry.x(110);
  const std::string file(plan_geometry_file(geometry));
  EXPECT_TRUE(run_curve(geometry, 200, 10, 0.001));
  complete_plan_geometry(geometry);
  EXPECT_EQ(geometry.cursor, 111);
  EXPECT_EQ(plan_geometry_file(geometry), file);
  // The halves moved together; the values read the same.
  EXPECT_EQ(geometry.x(110), x_before);
  EXPECT_NE(x_before, 0.0);
}

TEST(PlanGeometry, UnseededGeometryIsNotExtended) {
  PlanGeometry geometry = create_plan_geometry(0);
  EXPECT_TRUE(run_curve(geometry, 10, 10, 0.001));
  complete_plan_geometry(geometry);
  EXPECT_EQ(geometry.cursor, 0);
  EXPECT_EQ(geometry.tag(2), GeometryTag::empty);
}

}  // namespace
}  // namespace scenario
