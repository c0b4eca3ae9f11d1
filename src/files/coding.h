#pragma once

// Fixed-width little-endian encoding, byte by byte, whatever the host's byte
// order. Every scenario file is built from these and nothing else.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace scenario {

/// Stores a value at `at` and returns the byte after it: for writers that
/// size their output once and fill it in place.
inline char* store_u16(char* at, std::uint16_t value) {
  at[0] = static_cast<char>(value & 0xFF);
  at[1] = static_cast<char>(value >> 8);
  return at + 2;
}

inline char* store_u32(char* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return at + 4;
}

/// IEEE 754 binary64, the bits as they are (signed zeros and NaN payloads kept).
inline char* store_f64(char* at, double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(at, &bits, 8);  // one store: the plan geometry holds a million
  } else {
    for (int i = 0; i < 8; ++i) at[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  }
  return at + 8;
}

/// Loads a value stored at `at`, whose bytes the caller has checked are there:
/// for readers of a whole file's values in one loop.
inline std::uint16_t load_u16(const char* at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(at[0]) |
                                    static_cast<std::uint8_t>(at[1]) << 8);
}

inline double load_f64(const char* at) {
  std::uint64_t bits = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&bits, at, 8);
  } else {
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | static_cast<std::uint8_t>(at[i]);
  }
  return std::bit_cast<double>(bits);
}

/// Appends a value to `out`.
inline void put_u8(std::string& out, std::uint8_t value) {
  out.push_back(static_cast<char>(value));
}

inline void put_u16(std::string& out, std::uint16_t value) {
  char bytes[2];
  out.append(bytes, static_cast<std::size_t>(store_u16(bytes, value) - bytes));
}

inline void put_i16(std::string& out, std::int16_t value) {
  put_u16(out, static_cast<std::uint16_t>(value));
}

inline void put_u32(std::string& out, std::uint32_t value) {
  char bytes[4];
  out.append(bytes, static_cast<std::size_t>(store_u32(bytes, value) - bytes));
}

inline void put_i32(std::string& out, std::int32_t value) {
  put_u32(out, static_cast<std::uint32_t>(value));
}

inline void put_f64(std::string& out, double value) {
  char bytes[8];
  out.append(bytes, static_cast<std::size_t>(store_f64(bytes, value) - bytes));
}

/// Reads fixed-width little-endian values from a byte string. Every read
/// checks the bytes left first; a read past the end returns false and leaves
/// the position where it was.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  std::size_t position() const { return pos_; }
  std::size_t left() const { return bytes_.size() - pos_; }
  bool at_end() const { return pos_ == bytes_.size(); }

  bool get_u8(std::uint8_t& value) {
    if (left() < 1) return false;
    value = byte(pos_++);
    return true;
  }

  bool get_u16(std::uint16_t& value) {
    if (left() < 2) return false;
    value = load_u16(bytes_.data() + pos_);
    pos_ += 2;
    return true;
  }

  bool get_i16(std::int16_t& value) {
    std::uint16_t bits = 0;
    if (!get_u16(bits)) return false;
    value = static_cast<std::int16_t>(bits);
    return true;
  }

  bool get_u32(std::uint32_t& value) {
    if (left() < 4) return false;
    value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | byte(pos_ + static_cast<std::size_t>(i));
    pos_ += 4;
    return true;
  }

  bool get_i32(std::int32_t& value) {
    std::uint32_t bits = 0;
    if (!get_u32(bits)) return false;
    value = static_cast<std::int32_t>(bits);
    return true;
  }

  bool get_f64(double& value) {
    if (left() < 8) return false;
    value = load_f64(bytes_.data() + pos_);
    pos_ += 8;
    return true;
  }

  /// The next `count` bytes as they are.
  bool get_bytes(std::size_t count, std::string& value) {
    if (left() < count) return false;
    value.assign(bytes_.substr(pos_, count));
    pos_ += count;
    return true;
  }

 private:
  std::uint8_t byte(std::size_t at) const { return static_cast<std::uint8_t>(bytes_[at]); }

  std::string_view bytes_;
  std::size_t pos_ = 0;
};

}  // namespace scenario
