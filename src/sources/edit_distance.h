#pragma once

#include <cstddef>
#include <string_view>

namespace scenario {

/// The number of single-byte insertions, deletions and substitutions that
/// turn `a` into `b`, ASCII letter case ignored. Only the first 64 bytes of
/// each are compared: a suggestion for a longer word would not help anyone,
/// and a field of a source may be very long.
std::size_t edit_distance(std::string_view a, std::string_view b);

/// The same distance where it is at most `limit`; any larger one is given as
/// `limit` + 1, found without finishing the table.
std::size_t edit_distance_up_to(std::string_view a, std::string_view b, std::size_t limit);

}  // namespace scenario
