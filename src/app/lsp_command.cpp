// `lsp`: the language server for editors, on standard input and output.

#include "app/lsp_command.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "app/platform.h"
#include "app/version.h"
#include "lsp/document.h"
#include "lsp/server.h"

namespace scenario {
namespace {

// docs/diagnostics.md (or its Italian page) where an install, the Windows
// package or the build tree puts it beside the program; "" when none is found.
std::string explanations_uri(const char* argv0, const char* page) {
  const std::filesystem::path folder = executable_folder(argv0);
  const std::filesystem::path candidates[] = {
      folder / ".." / "share" / "doc" / "scenario-compiler" / "docs" / page,
      folder / "docs" / page,
      folder / ".." / "docs" / page,
  };
  for (const std::filesystem::path& candidate : candidates) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(candidate, error)) continue;
    const std::filesystem::path full = std::filesystem::weakly_canonical(candidate, error);
    if (!error) return uri_of_path(full.string());
  }
  return "";
}

}  // namespace

int run_lsp(const char* argv0, Language language) {
#ifdef _WIN32
  // The frames count bytes: no line-end translation on either stream.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::ios::sync_with_stdio(false);
  DiskFileSystem disk;
  ServerOptions options;
  options.version = version_text();
  options.explanations_uri = explanations_uri(argv0, "diagnostics.md");
  options.italian_explanations_uri = explanations_uri(argv0, "diagnostics.it.md");
  options.language = language;
  std::cerr << "scenario-compiler lsp: ready" << std::endl;
  return serve(std::cin, std::cout, std::cerr, disk, options);
}

}  // namespace scenario
