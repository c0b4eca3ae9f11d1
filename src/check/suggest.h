#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

/// The candidate nearest to a mistyped word, when one is near enough to be
/// what was meant (at most a third of the word's length away, at least 1);
/// the first of equally near ones.
std::optional<std::string> closest_match(std::string_view word,
                                         const std::vector<std::string>& candidates);

}  // namespace scenario
