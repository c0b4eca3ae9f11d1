// Writes the editors' highlighting rules for the two sources, made from the
// readers' keyword table:
//   make_grammar OUT_DIR
// gives OUT_DIR/scenario-line.tmLanguage.json, scenario-train.tmLanguage.json
// and scenario-sources.udl.xml.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "editors/editor_grammar.h"

namespace {

bool write(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  out.close();
  if (!out) {
    std::cerr << "make_grammar: cannot write " << path.string() << "\n";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_grammar OUT_DIR\n";
    return 64;
  }
  using namespace scenario;
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const bool written =
      write(folder / "scenario-line.tmLanguage.json", editors::textmate_grammar(SourceKind::line)) &&
      write(folder / "scenario-train.tmLanguage.json",
            editors::textmate_grammar(SourceKind::train)) &&
      write(folder / "scenario-sources.udl.xml", editors::notepad_plus_plus_languages());
  return written ? 0 : 3;
}
