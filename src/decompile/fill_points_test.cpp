#include "decompile/fill_points.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

// A grid of cells 0..9 (N = 9): points name cells up to N - 2 = 7.
std::vector<std::int64_t> cells(std::initializer_list<std::int64_t> values) { return values; }

TEST(FillPoints, APointWhereTheValueChangesAndRepeatsAtTheLastPosition) {
  const struct {
    const char* name;
    std::vector<std::int64_t> values;
    bool final_fill;
    std::optional<std::vector<FillPoint>> points;
  } cases[] = {
      {"final fill up to N - 3", cells({5, 5, 7, 7, 7, 7, 7, 0, 0, 0}), true,
       std::vector<FillPoint>{{0, 5}, {2, 7}}},
      {"a zero run the final fill writes", cells({5, 5, 0, 0, 0, 0, 0, 0, 0, 0}), true,
       std::vector<FillPoint>{{0, 5}, {2, 0}}},
      {"the last cells, one point each at the last position",
       cells({5, 5, 5, 5, 5, 5, 5, 6, 8, 9}), true,
       std::vector<FillPoint>{{0, 5}, {7, 6}, {7, 8}, {7, 9}}},
      {"no final fill: a point closes the last run", cells({5, 5, 7, 0, 0, 0, 0, 0, 0, 0}),
       false, std::vector<FillPoint>{{0, 5}, {2, 7}, {3, 0}}},
      {"no final fill and nothing written", cells({0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), false,
       std::vector<FillPoint>{}},
      {"no final fill: the last cell is out of the points' reach",
       cells({5, 5, 5, 5, 5, 5, 5, 5, 5, 5}), false, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fill_points(c.values, {c.final_fill, 9}), c.points) << c.name;
  }
}

}  // namespace
}  // namespace scenario
