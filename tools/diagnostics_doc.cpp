// Writes the pages docs/diagnostics.md and docs/diagnostics.it.md from the
// table that `explain` prints, so that the pages and the program say the same.
//
//   diagnostics_doc ENGLISH_FILE ITALIAN_FILE

#include <fstream>
#include <iostream>

#include "check/explanations.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: diagnostics_doc ENGLISH_FILE ITALIAN_FILE" << std::endl;
    return 64;
  }
  const scenario::Language languages[] = {scenario::Language::english,
                                          scenario::Language::italian};
  for (int i = 0; i < 2; ++i) {
    std::ofstream out(argv[i + 1], std::ios::binary | std::ios::trunc);
    out << scenario::diagnostics_markdown(languages[i]);
    out.close();
    if (!out) {
      std::cerr << "diagnostics_doc: cannot write " << argv[i + 1] << std::endl;
      return 1;
    }
  }
  return 0;
}
