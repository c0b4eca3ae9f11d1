#include "language/translate.h"

#include <algorithm>
#include <iterator>

#include "language/catalogue.h"

namespace scenario {

std::string tr(Language language, std::string_view english) {
  if (language != Language::italian) return std::string(english);
  const CatalogueEntry* begin = kItalianCatalogue;
  const CatalogueEntry* end = kItalianCatalogue + kItalianCatalogueSize;
  const CatalogueEntry* found = std::lower_bound(
      begin, end, english,
      [](const CatalogueEntry& entry, std::string_view key) { return entry.english < key; });
  if (found == end || found->english != english || found->translation.empty()) {
    return std::string(english);
  }
  return std::string(found->translation);
}

std::vector<std::pair<std::string_view, std::string_view>> page_words(Language language) {
  std::vector<std::pair<std::string_view, std::string_view>> words;
  if (language != Language::italian) return words;
  for (std::size_t i = 0; i < kItalianCatalogueSize; ++i) {
    const CatalogueEntry& entry = kItalianCatalogue[i];
    if (entry.page && !entry.translation.empty()) words.emplace_back(entry.english, entry.translation);
  }
  return words;
}

std::string format_text(std::string_view text, std::initializer_list<std::string_view> values) {
  std::string out;
  out.reserve(text.size() + 16 * values.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '{' && i + 1 < text.size() && text[i + 1] == '{') {
      out += '{';
      i += 2;
      continue;
    }
    if (c == '{') {
      std::size_t j = i + 1;
      std::size_t number = 0;
      while (j < text.size() && text[j] >= '0' && text[j] <= '9' && j - i < 4) {
        number = number * 10 + static_cast<std::size_t>(text[j] - '0');
        ++j;
      }
      if (j > i + 1 && j < text.size() && text[j] == '}' && number >= 1 &&
          number <= values.size()) {
        out += *std::next(values.begin(), static_cast<std::ptrdiff_t>(number - 1));
        i = j + 1;
        continue;
      }
    }
    out += c;
    ++i;
  }
  return out;
}

}  // namespace scenario
