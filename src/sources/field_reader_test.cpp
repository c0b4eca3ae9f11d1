#include "sources/field_reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace scenario {
namespace {

// One read of a script: 't' a text field, 'n' a number; the expected field,
// or nullopt for a read failure.
struct Read {
  char op;
  std::optional<std::string> expect;
};

struct FieldCase {
  const char* name;
  std::string input;
  std::vector<Read> reads;
  std::optional<bool> at_end_after;  // not looked at after a failure
};

const std::optional<std::string> kFails;

TEST(FieldReader, ReadsFieldsByteByByte) {
  const std::vector<FieldCase> cases = {
      {"comma separates", "abc,def", {{'t', "abc"}, {'t', "def"}}, true},
      {"leading blanks skipped, trailing kept", " \t abc  ,x", {{'t', "abc  "}, {'t', "x"}}, true},
      {"empty line is an empty field", "\r\nx", {{'t', ""}, {'t', "x"}}, true},
      {"CR LF, lone LF and lone CR end lines", "a\nb\rc\r\nd",
       {{'t', "a"}, {'t', "b"}, {'t', "c"}, {'t', "d"}}, true},
      {"quoted field keeps commas, drops the rest", "\"a,b\" junk,next",
       {{'t', "a,b"}, {'t', "next"}}, true},
      {"quoted field ended by line end", "  \"q\"\r\nz", {{'t', "q"}, {'t', "z"}}, true},
      {"unclosed quote runs to the end", "\"open, to end", {{'t', "open, to end"}}, true},
      {"quoted field at the very end", "x,\"y\"", {{'t', "x"}, {'t', "y"}}, true},
      {"nothing left is a failure", "", {{'t', kFails}}, true},
      {"field after a final comma fails", "x,", {{'t', "x"}, {'t', kFails}}, true},
      {"blanks at the end give an empty field", "   ", {{'t', ""}}, true},
      {"numbers end at blanks", "14 40 40 \r\nnext",
       {{'n', "14"}, {'n', "40"}, {'n', "40"}, {'t', "next"}}, true},
      {"blanks around a comma", "14 , 41", {{'n', "14"}, {'n', "41"}}, true},
      {"tab before a comma", "7\t,8", {{'n', "7"}, {'n', "8"}}, true},
      {"signs", "+7,-0,-12", {{'n', "7"}, {'n', "0"}, {'n', "-12"}}, true},
      {"line ends before a number are skipped", "\r\n\n\r  5", {{'n', "5"}}, true},
      {"one separator after a number", "5\r\n,6", {{'n', "5"}, {'t', ""}, {'n', "6"}}, true},
      {"leading zeros", "000000000000000000012", {{'n', "12"}}, true},
      {"32-bit limits", "-2147483648,2147483647",
       {{'n', "-2147483648"}, {'n', "2147483647"}}, true},
      {"above the 32-bit range", "2147483648", {{'n', kFails}}, std::nullopt},
      {"below the 32-bit range", "-2147483649", {{'n', kFails}}, std::nullopt},
      {"far too many digits", "99999999999999999999999", {{'n', kFails}}, std::nullopt},
      {"letters after the digits", "12abc", {{'n', kFails}}, std::nullopt},
      {"decimal point", "1.5", {{'n', kFails}}, std::nullopt},
      {"a word", "abc", {{'n', kFails}}, std::nullopt},
      {"a lone sign", "-,3", {{'n', kFails}}, std::nullopt},
      {"only blanks and line ends", " \r\n \t", {{'n', kFails}}, std::nullopt},
      {"nothing at all", "", {{'n', kFails}}, std::nullopt},
  };
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.name);
    FieldReader reader(c.input);
    for (const Read& read : c.reads) {
      std::optional<std::string> got;
      if (read.op == 't') {
        std::string field;
        if (reader.read_text(field)) got = field;
      } else {
        std::int32_t value = 0;
        if (reader.read_number(value)) got = std::to_string(value);
      }
      ASSERT_EQ(got, read.expect);
    }
    if (c.at_end_after) {
      EXPECT_EQ(reader.at_end(), *c.at_end_after);
    }
  }
}

TEST(FieldReader, TextLongerThan65535BytesFails) {
  const std::string longest(65535, 'a');
  const std::string too_long(65536, 'a');
  std::string field;
  EXPECT_TRUE(FieldReader(longest + ",x").read_text(field));
  EXPECT_EQ(field.size(), 65535u);
  EXPECT_FALSE(FieldReader(too_long + ",x").read_text(field));
  EXPECT_FALSE(FieldReader("\"" + too_long + "\"").read_text(field));
}

TEST(FieldReader, NumberInRangeOfItsField) {
  std::int32_t value = 0;
  EXPECT_TRUE(FieldReader("255").read_number_in(value, 0, 255));
  EXPECT_FALSE(FieldReader("256").read_number_in(value, 0, 255));
  EXPECT_FALSE(FieldReader("-1").read_number_in(value, 0, 255));
  EXPECT_TRUE(FieldReader("-32768").read_number_in(value, -32768, 32767));
  EXPECT_FALSE(FieldReader("32768").read_number_in(value, -32768, 32767));
}

TEST(FieldReader, FieldLineCountsEveryKindOfLineEnd) {
  // Line ends inside quotes count too, a CR LF once and a lone CR once.
  FieldReader reader("a\r\nb\nc\r\"x\r\ny\rz\"\r\n\r\n  7");
  std::string field;
  std::int32_t value = 0;
  const std::int32_t expected_lines[] = {1, 2, 3, 4};
  for (std::int32_t line : expected_lines) {
    ASSERT_TRUE(reader.read_text(field));
    EXPECT_EQ(reader.field_line(), line) << field;
  }
  EXPECT_EQ(field, "x\r\ny\rz");
  ASSERT_TRUE(reader.read_number(value));
  EXPECT_EQ(value, 7);
  EXPECT_EQ(reader.field_line(), 8);
}

TEST(FieldReader, KeywordTests) {
  EXPECT_TRUE(contains("progressiva chilometrica tre", "tre"));
  EXPECT_FALSE(contains("Progressiva", "progressiva"));
  EXPECT_TRUE(contains_ignore_case("[PenDenze] PENDENZA", "pendenza"));
  EXPECT_TRUE(contains_ignore_case("curvaD2", "CURVAd"));
  EXPECT_FALSE(contains_ignore_case("pend", "pendenza"));
  // A partial match before the whole one, and a match that ends the field.
  EXPECT_TRUE(contains_ignore_case("pePENDENZA", "pendenza"));
  EXPECT_TRUE(contains_ignore_case("x, CURVA", "curva"));
  EXPECT_FALSE(contains_ignore_case("x, CURV", "curva"));
  // Only ASCII letters fold: other bytes compare as they are.
  EXPECT_FALSE(contains_ignore_case("VELOCIT\xC0", "velocit\xE0"));
  EXPECT_TRUE(contains_ignore_case("VELOCIT\xC0", "velocit\xC0"));
  EXPECT_TRUE(equal_ignoring_case("Content-LENGTH", "content-length"));
  EXPECT_FALSE(equal_ignoring_case("content-length", "content-lengt"));
  EXPECT_FALSE(equal_ignoring_case("\xC0", "\xE0"));
}

TEST(FieldReader, TellsWhereEachFieldStarts) {
  // Columns count bytes from 1 after the blanks; a quoted text that spans
  // lines moves the line start to the last line it covers. The end column is
  // just past a number's last digit, a text's last byte before the comma
  // (blanks kept: they are part of the text), a quoted text's closing quote,
  // or the end of its first line when it spans lines.
  FieldReader reader("ab, \t cd\r\n  12 , x  \n\"q\r\nr\", 5,\"z\" ,-7");
  std::string field;
  std::int32_t value = 0;
  const struct {
    char op;
    std::int32_t line, column, end_column;
  } reads[] = {{'t', 1, 1, 3}, {'t', 1, 7, 9}, {'n', 2, 3, 5}, {'t', 2, 8, 11},
               {'t', 3, 1, 3}, {'n', 4, 5, 6}, {'t', 4, 7, 10}, {'n', 4, 12, 14}};
  for (const auto& read : reads) {
    ASSERT_TRUE(read.op == 't' ? reader.read_text(field) : reader.read_number(value));
    EXPECT_EQ(reader.field_place().line, read.line);
    EXPECT_EQ(reader.field_place().column, read.column);
    EXPECT_EQ(reader.field_place().end_column, read.end_column) << read.line << ":" << read.column;
  }
  EXPECT_EQ(reader.line_text(reader.field_place().line_start), "r\", 5,\"z\" ,-7");
  EXPECT_EQ(reader.reads(), 8);
}

TEST(FieldReader, TellsWhyANumberFailed) {
  const struct {
    const char* input;
    FieldFault fault;
    const char* seen;
    std::int32_t column, end_column;  // the failed field's extent: what was seen
  } cases[] = {
      {"  12abc , 3", FieldFault::not_a_number, "12abc", 3, 8},
      {"2.5", FieldFault::not_a_number, "2.5", 1, 4},
      {"x\r\n4", FieldFault::not_a_number, "x", 1, 2},
      {"99999999999", FieldFault::too_large, "99999999999", 1, 12},
      {" \r\n ", FieldFault::at_end, "", 2, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    FieldReader reader(c.input);
    std::int32_t value = 0;
    EXPECT_FALSE(reader.read_number(value));
    EXPECT_EQ(reader.fault(), c.fault);
    EXPECT_EQ(reader.fault_text(), c.seen);
    EXPECT_EQ(reader.field_place().column, c.column);
    EXPECT_EQ(reader.field_place().end_column, c.end_column);
    EXPECT_EQ(reader.reads(), 0);
  }
  FieldReader narrow("300");
  std::int32_t value = 0;
  EXPECT_FALSE(narrow.read_number_in(value, 0, 255));
  EXPECT_EQ(narrow.fault(), FieldFault::out_of_range);
  EXPECT_EQ(narrow.fault_value(), 300);
  EXPECT_EQ(narrow.fault_max(), 255);
}

TEST(FieldReader, GoesOnAtTheNextLineAfterAnError) {
  FieldReader reader("a, 1x, 2\r\nb, 3\r\nc");
  std::string field;
  std::int32_t value = 0;
  ASSERT_TRUE(reader.read_text(field));
  ASSERT_FALSE(reader.read_number(value));
  reader.skip_to_next_line(false);
  ASSERT_TRUE(reader.read_text(field));
  EXPECT_EQ(field, "b");
  const FieldPlace b = reader.field_place();
  ASSERT_TRUE(reader.read_number(value));
  EXPECT_TRUE(reader.at_line_start());
  reader.skip_to_next_line(true);  // already at the start of line 3
  ASSERT_TRUE(reader.read_text(field));
  EXPECT_EQ(field, "c");
  reader.go_to_line_of(b);
  ASSERT_TRUE(reader.read_text(field));
  EXPECT_EQ(field, "b");
  EXPECT_EQ(reader.field_line(), 2);
}

}  // namespace
}  // namespace scenario
