#include "check/suggest.h"

#include <algorithm>
#include <numeric>

namespace scenario {
namespace {

char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::size_t edit_distance(std::string_view a, std::string_view b) {
  // One row of the classic table at a time.
  std::vector<std::size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), std::size_t{0});
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      const std::size_t substitute = diagonal + (folded(a[i - 1]) == folded(b[j - 1]) ? 0 : 1);
      row[j] = std::min({above + 1, row[j - 1] + 1, substitute});
      diagonal = above;
    }
  }
  return row[b.size()];
}

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
