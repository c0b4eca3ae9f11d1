#include "sources/edit_distance.h"

#include <algorithm>
#include <array>

#include "model/rounding.h"

namespace scenario {

std::size_t edit_distance(std::string_view a, std::string_view b) {
  a = a.substr(0, std::min(a.size(), kEditDistanceLongest));
  b = b.substr(0, std::min(b.size(), kEditDistanceLongest));
  // One row of the classic table at a time.
  std::array<std::size_t, kEditDistanceLongest + 1> row{};
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      const bool same = ascii_lower(a[i - 1]) == ascii_lower(b[j - 1]);
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace scenario
