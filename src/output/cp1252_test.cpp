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

// A message mixes its own UTF-8 words with the code page 1252 bytes it
// quotes from a source: each part comes out as the character it is.
TEST(Cp1252, MessageKeepsItsUTF8WordsAndDecodesQuotedBytes) {
  const struct {
    std::string message, utf8;
  } cases[] = {
      {"la cella \xC3\xA8 occupata", "la cella \xC3\xA8 occupata"},       // UTF-8 words stay
      {"\"Citt\xE0\" non \xC3\xA8 valida", "\"Citt\xC3\xA0\" non \xC3\xA8 valida"},
      {"\x80 5", "\xE2\x82\xAC 5"},                                       // a lone 1252 byte
      {"\xC3", "\xC3\x83"},                                                // a lead cut off
      {"\xE0\x80\x80", "\xC3\xA0\xE2\x82\xAC\xE2\x82\xAC"},        // overlong: bytes
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},             // a surrogate: bytes
      {"\xF0\x9F\x9A\x86 treno", "\xF0\x9F\x9A\x86 treno"},
  };
  for (const auto& c : cases) EXPECT_EQ(message_to_utf8(c.message), c.utf8) << c.message;
}

}  // namespace
}  // namespace scenario
