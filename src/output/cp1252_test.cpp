#include "output/cp1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace scenario {
namespace {

TEST(Cp1252, DecodesEveryByteToItsCharacter) {
  const struct {
    std::string bytes;
    std::string utf8;
  } cases[] = {
      {"Borgo Sereno", "Borgo Sereno"},
      {"Citt\xE0", "Citt\xC3\xA0"},                   // a grave
      {"\x80 5", "\xE2\x82\xAC 5"},                    // euro sign
      {"\x93x\x94", "\xE2\x80\x9Cx\xE2\x80\x9D"},      // curly quotes
      {"\x81\x9D", "\xC2\x81\xC2\x9D"},                // unassigned: kept as controls
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      {"\xFF", "\xC3\xBF"},
  };
  for (const auto& c : cases) EXPECT_EQ(cp1252_to_utf8(c.bytes), c.utf8) << c.bytes;
}

TEST(Cp1252, DistinctBytesGiveDistinctCharacters) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string decoded = cp1252_to_utf8(all);
  // No two bytes decode to the same text: decoding byte by byte, each result is new.
  std::vector<std::string> seen;
  for (int b = 0; b < 256; ++b) {
    const std::string one = cp1252_to_utf8(std::string(1, static_cast<char>(b)));
    EXPECT_EQ(std::count(seen.begin(), seen.end(), one), 0) << b;
    seen.push_back(one);
  }
  EXPECT_EQ(decoded.size(), 128u + 15 * 2 + 17 * 3 + 96 * 2);
}

}  // namespace
}  // namespace scenario
