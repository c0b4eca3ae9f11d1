#pragma once

// What formatting must keep, whatever the two source texts hold: formatted
// sources compile to the same bytes and status as the originals, and
// formatting a formatted source changes nothing.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace scenario::testing {

/// Formats both sources and returns a description of the first broken
/// property, if any. Both pairs are compiled in memory with the geometry
/// flags 0 and 1; with a `longest_line` (a fast run), with the flag 1 alone
/// for a line of up to that many metres and with the flag 0 alone beyond.
std::optional<std::string> check_format_properties(
    std::string_view line_source, std::string_view train_source,
    std::int64_t longest_line = std::numeric_limits<std::int64_t>::max());

}  // namespace scenario::testing
