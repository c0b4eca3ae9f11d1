#include "model/rounding.h"

#include <cmath>

namespace scenario {

std::int64_t round_half_even(double value) {
  // floor() and the subtraction below are exact for every double in range, so
  // the result does not depend on the current rounding mode, unlike nearbyint().
  const double below = std::floor(value);
  const double fraction = value - below;
  const auto whole = static_cast<std::int64_t>(below);
  if (fraction > 0.5) return whole + 1;
  if (fraction < 0.5) return whole;
  return (whole % 2 == 0) ? whole : whole + 1;
}

}  // namespace scenario
