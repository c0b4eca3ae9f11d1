#include "lsp/text_coding.h"

#include <algorithm>

#include "output/cp1252.h"

namespace scenario {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

std::size_t utf16_units(char32_t code) { return code >= 0x10000 ? 2 : 1; }

std::size_t units(char32_t code, std::size_t bytes, PositionEncoding encoding) {
  return encoding == PositionEncoding::utf8 ? bytes : utf16_units(code);
}

}  // namespace

Cp1252Encoder::Cp1252Encoder() {
  // The table is the decoder's own, read back, so the two cannot differ.
  for (int byte = 0x80; byte < 0xA0; ++byte) {
    const std::string text = cp1252_to_utf8(std::string(1, static_cast<char>(byte)));
    std::size_t length = 0;
    high_[static_cast<std::size_t>(byte - 0x80)] = next_code_point(text, 0, length);
  }
}

EncodedText Cp1252Encoder::encode(std::string_view utf8) const {
  EncodedText out;
  out.bytes.reserve(utf8.size());
  std::int32_t line = 1;
  std::int32_t column = 1;
  for (std::size_t at = 0; at < utf8.size();) {
    std::size_t length = 0;
    const char32_t code = next_code_point(utf8, at, length);
    at += length;
    int byte = -1;
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
      byte = static_cast<int>(code);
    } else {
      for (std::size_t k = 0; k < high_.size(); ++k) {
        if (high_[k] == code) byte = static_cast<int>(0x80 + k);
      }
    }
    if (byte < 0 || (code == kReplacement && length == 1)) {
      out.faults.push_back({line, column, code});
      byte = '?';
    }
    out.bytes += static_cast<char>(byte);
    ++column;
    // Lines as split_lines counts them: a CR followed by LF ends one line.
    if (code == '\n' || (code == '\r' && (at >= utf8.size() || utf8[at] != '\n'))) {
      ++line;
      column = 1;
    }
  }
  return out;
}

char32_t next_code_point(std::string_view text, std::size_t at, std::size_t& length) {
  const auto lead = static_cast<unsigned char>(text[at]);
  length = 1;
  if (lead < 0x80) return lead;
  std::size_t count = 0;
  char32_t code = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    count = 2;
    code = lead & 0x1F;
    least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    count = 3;
    code = lead & 0x0F;
    least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    count = 4;
    code = lead & 0x07;
    least = 0x10000;
  } else {
    return kReplacement;
  }
  if (at + count > text.size()) return kReplacement;
  for (std::size_t k = 1; k < count; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) return kReplacement;
    code = (code << 6) | (next & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return kReplacement;
  length = count;
  return code;
}

std::vector<std::string_view> split_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  // At most a line a break character, and one after the last.
  lines.reserve(static_cast<std::size_t>(std::count_if(
                    text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; })) +
                1);
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

std::int32_t units_of(std::string_view line, std::int32_t characters, PositionEncoding encoding) {
  std::size_t total = 0;
  std::size_t at = 0;
  for (std::int32_t counted = 0; counted < characters && at < line.size(); ++counted) {
    std::size_t length = 0;
    const char32_t code = next_code_point(line, at, length);
    total += units(code, length, encoding);
    at += length;
  }
  return static_cast<std::int32_t>(total);
}

std::int32_t characters_of(std::string_view line, std::int32_t units_wanted,
                           PositionEncoding encoding) {
  std::int32_t characters = 0;
  std::size_t total = 0;
  for (std::size_t at = 0; at < line.size();) {
    std::size_t length = 0;
    const char32_t code = next_code_point(line, at, length);
    total += units(code, length, encoding);
    if (units_wanted < 0 || total > static_cast<std::size_t>(units_wanted)) break;
    ++characters;
    at += length;
  }
  return characters;
}

}  // namespace scenario
