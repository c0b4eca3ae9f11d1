#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sources/keywords.h"

namespace scenario {

/// What the editor tells about one value of an entry, beside its name in
/// the keyword table.
struct ValueInfo {
  std::string_view short_name;  // before the value in the editor ("position", "standing s")
  std::string_view unit;        // "m", "km/h", "s", "permille", or ""
  std::int64_t min = INT32_MIN; // the range the reader accepts or keeps whole
  std::int64_t max = INT32_MAX;
  bool position = false;        // metres along the line
};

/// The value at `index` of an entry; a value past the entry's names has the
/// name "value N" and no unit.
ValueInfo value_info(const SourceKeyword& keyword, std::size_t index);

/// A position in kilometre form: "km 111+050".
std::string kilometre_form(std::int64_t metres);

}  // namespace scenario
