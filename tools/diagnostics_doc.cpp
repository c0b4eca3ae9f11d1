// Writes the page docs/diagnostics.md from the table that `explain` prints,
// so that the page and the program say the same.
//
//   diagnostics_doc FILE

#include <fstream>
#include <iostream>

#include "check/explanations.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: diagnostics_doc FILE" << std::endl;
    return 64;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << scenario::diagnostics_markdown();
  out.close();
  if (!out) {
    std::cerr << "diagnostics_doc: cannot write " << argv[1] << std::endl;
    return 1;
  }
  return 0;
}
