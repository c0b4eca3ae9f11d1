#include "files/coding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace scenario {
namespace {

std::string hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

TEST(Coding, WritesLittleEndianBytes) {
  struct Case {
    std::string bytes;
    const char* expected;
  };
  auto encode = [](auto put, auto value) {
    std::string out;
    put(out, value);
    return out;
  };
  const Case cases[] = {
      {encode(put_u8, std::uint8_t{0xFF}), "FF"},
      {encode(put_i16, std::int16_t{180}), "B4 00"},
      {encode(put_i16, std::int16_t{610}), "62 02"},
      {encode(put_i16, std::int16_t{5121}), "01 14"},
      {encode(put_i16, std::int16_t{-1}), "FF FF"},
      {encode(put_i16, std::numeric_limits<std::int16_t>::min()), "00 80"},
      {encode(put_u16, std::uint16_t{0xFFFF}), "FF FF"},
      {encode(put_i32, std::int32_t{0x01020304}), "04 03 02 01"},
      {encode(put_i32, std::numeric_limits<std::int32_t>::min()), "00 00 00 80"},
      {encode(put_i32, std::int32_t{-2}), "FE FF FF FF"},
      {encode(put_f64, 1.0), "00 00 00 00 00 00 F0 3F"},
      {encode(put_f64, -0.0), "00 00 00 00 00 00 00 80"},
      {encode(put_f64, 1002 - 0.000001), "43 C8 79 FF FF 4F 8F 40"},
  };
  for (const Case& c : cases) EXPECT_EQ(hex(c.bytes), c.expected);
}

TEST(Coding, RoundTripsEdgeValues) {
  std::string out;
  const std::int16_t shorts[] = {0, 1, -1, 32767, -32768};
  const std::int32_t ints[] = {0, 1, -1, 2147483647, -2147483647 - 1, 82875};
  const double reals[] = {0.0,
                          -0.0,
                          1e-300,
                          std::numeric_limits<double>::denorm_min(),
                          std::numeric_limits<double>::max(),
                          -std::numeric_limits<double>::infinity(),
                          1002 - 0.000001};
  for (auto v : shorts) put_i16(out, v);
  for (auto v : ints) put_i32(out, v);
  for (auto v : reals) put_f64(out, v);
  put_f64(out, std::numeric_limits<double>::quiet_NaN());
  put_u8(out, 200);

  ByteReader reader(out);
  for (auto v : shorts) {
    std::int16_t got = 7;
    ASSERT_TRUE(reader.get_i16(got));
    EXPECT_EQ(got, v);
  }
  for (auto v : ints) {
    std::int32_t got = 7;
    ASSERT_TRUE(reader.get_i32(got));
    EXPECT_EQ(got, v);
  }
  for (auto v : reals) {
    double got = 7;
    ASSERT_TRUE(reader.get_f64(got));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(v));
  }
  double nan = 0;
  ASSERT_TRUE(reader.get_f64(nan));
  EXPECT_TRUE(std::isnan(nan));
  std::uint8_t last = 0;
  ASSERT_TRUE(reader.get_u8(last));
  EXPECT_EQ(last, 200);
  EXPECT_TRUE(reader.at_end());
}

TEST(Coding, ReadPastTheEndFailsAndKeepsPosition) {
  ByteReader reader(std::string_view("\x01\x02\x03", 3));
  std::int32_t whole = 0;
  EXPECT_FALSE(reader.get_i32(whole));
  EXPECT_EQ(reader.position(), 0u);
  std::int16_t half = 0;
  EXPECT_TRUE(reader.get_i16(half));
  EXPECT_EQ(half, 0x0201);
  std::string rest;
  EXPECT_FALSE(reader.get_bytes(2, rest));
  EXPECT_TRUE(reader.get_bytes(1, rest));
  EXPECT_EQ(rest, "\x03");
  double real = 0;
  EXPECT_FALSE(reader.get_f64(real));
}

}  // namespace
}  // namespace scenario
