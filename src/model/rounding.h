#pragma once

#include <cstdint>

namespace scenario {

/// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2,
/// 3.5 -> 4), whatever the floating-point rounding mode. Every conversion of a
/// real value to an integer in the program goes through here. `value` must be
/// finite and below 2^62 in magnitude.
std::int64_t round_half_even(double value);

/// Keeps the low 16 bits of a value stored into a 16-bit field.
inline std::int16_t low16(std::int64_t value) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

/// Keeps the low 32 bits of a value stored into a 32-bit field.
inline std::int32_t low32(std::int64_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

/// Keeps the low 8 bits of a value stored into an 8-bit field.
inline std::uint8_t low8(std::int64_t value) {
  return static_cast<std::uint8_t>(value);
}

/// ASCII A-Z folded to a-z; every other byte as it is. Letter case is
/// ignored this way wherever the program ignores it: no locale is involved.
inline char ascii_lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace scenario
