#pragma once

#include <cstddef>
#include <string_view>

namespace scenario {

/// One message of a catalogue: the English text and its translation.
struct CatalogueEntry {
  std::string_view english;
  std::string_view translation;
  bool page = false;  // a word of the page of `view` (marked in src/view/page.js)
};

/// The Italian catalogue, written at build time from po/it.po
/// (scripts/po_to_cpp.py), in ascending byte order of the English texts.
extern const CatalogueEntry kItalianCatalogue[];
extern const std::size_t kItalianCatalogueSize;

}  // namespace scenario
