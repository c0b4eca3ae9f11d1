#include "view/json_text.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(JsonText, StringsCannotCloseTheScriptTheySitIn) {
  std::string out;
  json_string(out, "</script><b>\"q\"\\\n\x01");
  EXPECT_EQ(out, R"("\u003c/script\u003e\u003cb\u003e\"q\"\\\u000a\u0001")");
}

TEST(JsonText, NumbersKeepOnlyTheDigitsThatCount) {
  const struct {
    double value;
    int decimals;
    const char* text;
  } cases[] = {{12.5, 1, "12.5"}, {3.0, 2, "3"},       {-0.001, 1, "0"},
               {-2.26, 1, "-2.3"}, {1e300 * 1e300, 1, "null"}, {100000.04, 1, "100000"}};
  for (const auto& c : cases) {
    std::string out;
    json_number(out, c.value, c.decimals);
    EXPECT_EQ(out, c.text) << c.value;
  }
}

}  // namespace
}  // namespace scenario
