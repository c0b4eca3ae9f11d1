#include "lsp/text_coding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output/cp1252.h"

namespace scenario {
namespace {

using enum PositionEncoding;

// "a", "è" (2 bytes in UTF-8, 1 unit in UTF-16), "€" (3, 1), "😀" (4, 2), "b".
const std::string kLine = "a\xC3\xA8\xE2\x82\xAC\xF0\x9F\x98\x80" "b";

TEST(PositionConversion, CountsUnitsOfEachEncoding) {
  struct Case {
    std::int32_t characters;
    std::int32_t utf16;
    std::int32_t utf8;
  };
  const std::vector<Case> cases = {
      {0, 0, 0}, {1, 1, 1}, {2, 2, 3}, {3, 3, 6}, {4, 5, 10}, {5, 6, 11}, {9, 6, 11},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(units_of(kLine, c.characters, utf16), c.utf16) << c.characters;
    EXPECT_EQ(units_of(kLine, c.characters, utf8), c.utf8) << c.characters;
    if (c.characters <= 5) {
      EXPECT_EQ(characters_of(kLine, c.utf16, utf16), c.characters) << c.characters;
      EXPECT_EQ(characters_of(kLine, c.utf8, utf8), c.characters) << c.characters;
    }
  }
  // A unit inside a character does not reach past it; past the end is clamped.
  EXPECT_EQ(characters_of(kLine, 4, utf16), 3);  // inside the surrogate pair
  EXPECT_EQ(characters_of(kLine, 2, utf8), 1);   // inside "è"
  EXPECT_EQ(characters_of(kLine, 1000, utf16), 5);
  EXPECT_EQ(characters_of(kLine, -1, utf16), 0);
}

TEST(PositionConversion, SplitsLinesAsTheReadersDo) {
  EXPECT_EQ(split_lines("a\r\nb\nc\rd"), (std::vector<std::string_view>{"a", "b", "c", "d"}));
  EXPECT_EQ(split_lines("a\r\n"), (std::vector<std::string_view>{"a", ""}));
  EXPECT_EQ(split_lines("\r\r\n"), (std::vector<std::string_view>{"", "", ""}));
  EXPECT_EQ(split_lines(""), (std::vector<std::string_view>{""}));
}

TEST(Cp1252Encoder, WritesBackEveryByteTheDecoderReads) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  const EncodedText encoded = Cp1252Encoder().encode(cp1252_to_utf8(all));
  EXPECT_EQ(encoded.bytes, all);
  EXPECT_TRUE(encoded.faults.empty());
}

TEST(Cp1252Encoder, TellsEachCharacterItCannotHoldAtItsPlace) {
  // "Ω" and "😀" have no byte; "€" is 0x80; broken UTF-8 is a fault too.
  const EncodedText encoded =
      Cp1252Encoder().encode("ab\r\nc\xE2\x82\xAC\xCE\xA9\rx\xF0\x9F\x98\x80\n\xFFz");
  EXPECT_EQ(encoded.bytes, "ab\r\nc\x80?\rx?\n?z");
  ASSERT_EQ(encoded.faults.size(), 3u);
  EXPECT_EQ(encoded.faults[0].line, 2);
  EXPECT_EQ(encoded.faults[0].column, 3);
  EXPECT_EQ(encoded.faults[0].code, U'\u03A9');
  EXPECT_EQ(encoded.faults[1].line, 3);
  EXPECT_EQ(encoded.faults[1].column, 2);
  EXPECT_EQ(encoded.faults[1].code, U'\U0001F600');
  EXPECT_EQ(encoded.faults[2].line, 4);
  EXPECT_EQ(encoded.faults[2].column, 1);
}

}  // namespace
}  // namespace scenario
