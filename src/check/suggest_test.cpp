#include "check/suggest.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(Suggest, OffersOnlyACandidateNearEnough) {
  const std::vector<std::string> commands = {"build", "export", "compile", "check", "explain",
                                             "dump"};
  EXPECT_EQ(closest_match("compil", commands), "compile");
  EXPECT_EQ(closest_match("chek", commands), "check");
  EXPECT_EQ(closest_match("explian", commands), "explain");
  EXPECT_EQ(closest_match("frobnicate", commands), std::nullopt);
  EXPECT_EQ(closest_match("x", commands), std::nullopt);
  EXPECT_EQ(closest_match("anything", {}), std::nullopt);
}

}  // namespace
}  // namespace scenario
