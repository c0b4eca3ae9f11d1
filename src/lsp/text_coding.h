#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

/// How the editor counts the characters of a position: UTF-16 code units
/// (the protocol's default) or UTF-8 bytes.
enum class PositionEncoding { utf16, utf8 };

/// A character of the editor's text that code page 1252 cannot hold: its
/// 1-based line and column (in characters, which are the bytes of the
/// encoded text) and its code point.
struct EncodingFault {
  std::int32_t line = 1;
  std::int32_t column = 1;
  char32_t code = 0;
};

/// The editor's text as the sources are stored: one byte per character.
struct EncodedText {
  std::string bytes;
  std::vector<EncodingFault> faults;  // each written as '?'
};

/// Writes Unicode text (UTF-8) as code page 1252, the inverse of
/// cp1252_to_utf8: the five unassigned bytes come back from U+0081 ... too.
class Cp1252Encoder {
 public:
  Cp1252Encoder();
  EncodedText encode(std::string_view utf8) const;

 private:
  std::array<char32_t, 32> high_{};  // the code points of the bytes 0x80 to 0x9F
};

/// The code point at `at` of a UTF-8 text and its length in bytes; a byte
/// that starts no valid sequence is U+FFFD of length 1.
char32_t next_code_point(std::string_view text, std::size_t at, std::size_t& length);

/// The lines of a text without their ends; CR LF, LF and CR each end one, as
/// both the readers and the protocol count them. A text ending in a line end
/// has an empty last line.
std::vector<std::string_view> split_lines(std::string_view text);

/// The units of `encoding` taken by the first `characters` characters of a
/// line of UTF-8 text (clamped at its end).
std::int32_t units_of(std::string_view line, std::int32_t characters, PositionEncoding encoding);

/// The characters that the first `units` units of a line hold; a unit inside
/// a character does not count it. Clamped at the end of the line.
std::int32_t characters_of(std::string_view line, std::int32_t units, PositionEncoding encoding);

}  // namespace scenario
