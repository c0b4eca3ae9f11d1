#include "sources/edit_distance.h"

#include <algorithm>
#include <array>

#include "model/rounding.h"

namespace scenario {
namespace {

constexpr std::size_t kLongestCompared = 64;

}  // namespace

std::size_t edit_distance_up_to(std::string_view a, std::string_view b, std::size_t limit) {
  a = a.substr(0, std::min(a.size(), kLongestCompared));
  b = b.substr(0, std::min(b.size(), kLongestCompared));
  // The lengths alone may tell it: each byte of the difference is an edit.
  if ((a.size() > b.size() ? a.size() - b.size() : b.size() - a.size()) > limit) return limit + 1;
  // One row of the classic table at a time, on the stack: the words are
  // short. Only the band of cells within `limit` of the diagonal is computed:
  // a cell farther off is at least its distance from the diagonal, so beyond
  // the limit, and `over` stands for every such value.
  const std::size_t over = limit + 1;
  std::array<std::size_t, kLongestCompared + 1> row{};
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = std::min(j, over);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    const std::size_t first = i > limit ? i - limit : 1;
    const std::size_t last = std::min(b.size(), i + limit);
    std::size_t diagonal = row[first - 1];
    row[first - 1] = first == 1 ? std::min(i, over) : over;
    std::size_t smallest = row[first - 1];
    for (std::size_t j = first; j <= last; ++j) {
      const std::size_t above = row[j];
      const bool same = ascii_lower(a[i - 1]) == ascii_lower(b[j - 1]);
      row[j] = std::min(std::min(above, row[j - 1]) + 1, diagonal + (same ? 0 : 1));
      diagonal = above;
      smallest = std::min(smallest, row[j]);
    }
    // No later row holds a smaller value than this row's smallest.
    if (smallest > limit) return over;
  }
  return std::min(row[b.size()], over);
}

std::size_t edit_distance(std::string_view a, std::string_view b) {
  return edit_distance_up_to(a, b, 2 * kLongestCompared);
}

}  // namespace scenario
