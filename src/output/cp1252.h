#pragma once

#include <string>
#include <string_view>

namespace scenario {

/// The texts of the scenario files are bytes of code page 1252. Decoded to
/// UTF-8 byte for byte, losing nothing: the five bytes the code page leaves
/// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters
/// U+0081 ... of the same number, so the original bytes can always be recovered.
std::string cp1252_to_utf8(std::string_view bytes);

/// A finding's message in UTF-8. Its own words are UTF-8 (they may be a
/// translation), the source text it quotes is code page 1252: each well-formed
/// UTF-8 sequence is kept as it stands, every other byte is decoded from the
/// code page.
std::string message_to_utf8(std::string_view message);

}  // namespace scenario
