#pragma once

// Plan geometry files made by hand, for tests of the decoders: any sequence
// of tagged values, including ones the computation never leaves.

#include <initializer_list>
#include <string>
#include <utility>

#include "files/coding.h"
#include "model/plan_geometry.h"

namespace scenario::test {

using TaggedMetre = std::pair<GeometryTag, double>;

/// The tagged values of `x`, then those of `y`, as the file holds them.
inline std::string plan_geometry_bytes(std::initializer_list<TaggedMetre> x,
                                       std::initializer_list<TaggedMetre> y) {
  std::string out;
  for (const auto& half : {x, y}) {
    for (const auto& [tag, value] : half) {
      put_u16(out, static_cast<std::uint16_t>(tag));
      if (tag == GeometryTag::int16) put_i16(out, static_cast<std::int16_t>(value));
      if (tag == GeometryTag::real) put_f64(out, value);
    }
  }
  return out;
}

}  // namespace scenario::test
