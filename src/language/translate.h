#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "language/language.h"

namespace scenario {

/// Marks a text for the catalogue where it is written (a table of texts)
/// and translated later, where it is shown, with `tr`.
constexpr const char* N_(const char* text) { return text; }

/// The text in `language`: its translation from the catalogue compiled in
/// from po/, or the English text itself where the catalogue has none.
std::string tr(Language language, std::string_view english);

/// Puts the values into a text that holds {1}, {2}, ... (each any number of
/// times, in any order, so that a translation may reorder them); "{{" is a
/// brace. A placeholder without a value is left as it stands.
std::string format_text(std::string_view text, std::initializer_list<std::string_view> values);

/// The words of the page of `view` in `language`, as pairs of the English
/// text and its translation (none for English: the page's texts are English).
std::vector<std::pair<std::string_view, std::string_view>> page_words(Language language);

/// tr, then format_text: the one call for a message with values.
inline std::string trf(Language language, std::string_view english,
                       std::initializer_list<std::string_view> values) {
  return format_text(tr(language, english), values);
}

}  // namespace scenario
