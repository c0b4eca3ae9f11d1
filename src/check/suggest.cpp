#include "check/suggest.h"

#include <algorithm>

#include "sources/edit_distance.h"

namespace scenario {

std::optional<std::string> closest_match(std::string_view word,
                                         const std::vector<std::string>& candidates) {
  const std::size_t limit = std::max<std::size_t>(1, (word.size() + 2) / 3);
  std::optional<std::string> best;
  std::size_t best_distance = limit + 1;
  for (const std::string& candidate : candidates) {
    const std::size_t distance = edit_distance(word, candidate);
    if (distance < best_distance) {
      best = candidate;
      best_distance = distance;
    }
  }
  return best;
}

}  // namespace scenario
