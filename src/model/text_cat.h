#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace scenario {

namespace text_cat_detail {
inline void append_part(std::string& out, std::string_view text) { out += text; }
template <class Number, class = std::enable_if_t<std::is_integral_v<Number>>>
void append_part(std::string& out, Number value) {
  out += std::to_string(static_cast<std::int64_t>(value));
}
}  // namespace text_cat_detail

/// Texts and whole numbers joined by appending (GCC 12 warns falsely on
/// "x" + std::to_string(n)).
template <class... Parts>
std::string cat(const Parts&... parts) {
  std::string out;
  (text_cat_detail::append_part(out, parts), ...);
  return out;
}

}  // namespace scenario
