#include "testing/example_sources.h"

#include <string_view>

namespace scenario::testing {
namespace {

// The sources of a 1000 m line (cells 0 to 160) that compile cleanly, into
// which an entry's example goes.
const char* const kLineHeader[] = {
    "[generale]",
    "lunghezza percorso, 1000",
    "progressiva chilometrica uno, 0, 0, 0",
    "progressiva chilometrica due, 0, 0, 0",
    "progressiva chilometrica tre, 0, 0, 0",
    "sfondo uno, 1",
    "sfondo due, 0",
    "sfondo tre, 0",
    "ripetizione segnali 4 codici, 0, 500",
};
const std::string kTrainHead =
    "[generale]\nnumero vetture, 8\npercentuale massa frenata, 120\nvelocita, 0, 100\n";
const std::string kTrailer = "[fine]\n\n";

std::string first_word(std::string_view text) { return std::string(text.substr(0, text.find(' '))); }

// The header with the example's entry in place of the one it stands for.
std::string header_with(std::string_view example) {
  const std::string_view keyword = example.substr(0, example.find(','));
  std::string header;
  bool replaced = false;
  for (std::string_view line : kLineHeader) {
    const std::string_view own = line.substr(0, line.find(','));
    const bool same = own == keyword || (first_word(own) == first_word(keyword) &&
                                         own.find("progressiva") == std::string_view::npos);
    header += std::string(same && !replaced ? example : line) + "\n";
    replaced = replaced || same;
  }
  // An entry the header does not hold in any case goes after the others.
  if (!replaced) header += std::string(example) + "\n";
  return header;
}

std::string clean_header() {
  std::string header;
  for (std::string_view line : kLineHeader) header += std::string(line) + "\n";
  return header;
}

}  // namespace

std::pair<std::string, std::string> clean_example_sources() {
  return {clean_header() + kTrailer, kTrainHead + kTrailer};
}

std::pair<std::string, std::string> example_sources(const Explanation& explanation) {
  if (explanation.example.empty()) return {};
  const std::string example = std::string(explanation.example) + "\n";
  const std::string_view of = explanation.example_of;
  auto [line, train] = clean_example_sources();
  if (of.starts_with("line source header")) {
    line = header_with(explanation.example) + kTrailer;
  } else if (of.starts_with("line source body")) {
    line = clean_header() + "[cartelli]\n" + example + kTrailer;
  } else if (of.starts_with("line source")) {
    line = example + kTrailer;
  } else {
    // An example that starts with the section is a whole train source.
    train = example.starts_with("[generale]") ? example : kTrainHead + example + kTrailer;
  }
  return {line, train};
}

}  // namespace scenario::testing
