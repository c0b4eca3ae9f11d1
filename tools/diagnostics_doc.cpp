// Writes the page docs/diagnostics.md (or, with "it", docs/diagnostics.it.md)
// from the table that `explain` prints, so that the page and the program say
// the same.
//
//   diagnostics_doc FILE [it]

#include <fstream>
#include <iostream>
#include <string_view>

#include "check/explanations.h"

int main(int argc, char** argv) {
  const bool italian = argc == 3 && std::string_view(argv[2]) == "it";
  if (argc != 2 && !italian) {
    std::cerr << "usage: diagnostics_doc FILE [it]" << std::endl;
    return 64;
  }
  const scenario::Language language =
      italian ? scenario::Language::italian : scenario::Language::english;
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << scenario::diagnostics_markdown(language);
  out.close();
  if (!out) {
    std::cerr << "diagnostics_doc: cannot write " << argv[1] << std::endl;
    return 1;
  }
  return 0;
}
