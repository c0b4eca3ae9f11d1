#include "sources/edit_distance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace scenario {
namespace {

TEST(EditDistance, CountsSingleByteEditsIgnoringCase) {
  const struct {
    const char* a;
    const char* b;
    std::size_t distance;
  } cases[] = {
      {"", "", 0},           {"", "abc", 3},           {"kitten", "sitting", 3},
      {"compil", "compile", 1}, {"--reprot", "--report", 2}, {"S25", "s25", 0},
      {"pendeza", "pendenza", 1}, {"STAZONE", "stazione", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(edit_distance(c.a, c.b), c.distance) << c.a << " " << c.b;
}

TEST(EditDistance, UpToALimitGivesTheDistanceOrOneMore) {
  const char* const words[] = {"",         "abc",     "kitten", "sitting", "pendenza",
                               "pendeza",  "pendneza", "STAZONE", "stazione", "velocita",
                               "rallentamento", "ralentamneto", "abbattimento", "x"};
  for (const char* a : words) {
    for (const char* b : words) {
      const std::size_t full = edit_distance(a, b);
      for (std::size_t limit = 0; limit <= 4; ++limit) {
        EXPECT_EQ(edit_distance_up_to(a, b, limit), std::min(full, limit + 1))
            << a << " " << b << " " << limit;
      }
    }
  }
}

TEST(EditDistance, ComparesOnlyTheFirst64Bytes) {
  const std::string long_field(100000, 'x');
  EXPECT_EQ(edit_distance(long_field, std::string(64, 'x') + "tail"), 0u);
}

}  // namespace
}  // namespace scenario
