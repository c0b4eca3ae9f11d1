// The command `fmt`: the sources rewritten in their canonical layout.

#include "app/fmt_command.h"

#include <iostream>

#include "app/commands.h"
#include "files/file_names.h"
#include "format/format_source.h"
#include "language/translate.h"

namespace scenario {
namespace {

bool ends_with(const std::string& text, std::string_view end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::optional<SourceKind> source_kind_of(const std::string& path) {
  if (ends_with(path, "_linea.txt")) return SourceKind::line;
  if (ends_with(path, "-.txt")) return SourceKind::train;
  return std::nullopt;
}

int format_files(FileSystem& files, const FmtOptions& options, std::ostream& out,
                 std::ostream& err) {
  std::vector<std::string> paths = options.files;
  if (paths.empty()) {
    const ScenarioFileNames names =
        scenario_file_names(options.dir, options.base_name, options.train_number);
    paths = {names.line_source, names.train_source};
  }
  // Every name is checked before any file is touched.
  for (const std::string& path : paths) {
    if (!source_kind_of(path)) {
      err << "scenario-compiler: "
          << trf(options.language,
                 "{1}: not a source name (a line source ends in \"_linea.txt\", a train source "
                 "in \"-.txt\")",
                 {path})
          << std::endl;
      return exit_status::kUsage;
    }
  }
  bool file_error = false;
  bool unformatted = false;
  for (const std::string& path : paths) {
    std::string text;
    if (IoResult read = files.read(path, text); !read.ok) {
      err << "scenario-compiler: " << read.message << std::endl;
      file_error = true;
      continue;
    }
    const std::string formatted = format_source(text, *source_kind_of(path));
    if (formatted == text) continue;
    if (options.check) {
      out << trf(options.language,
                 "{1}: not in the canonical layout (scenario-compiler fmt rewrites it)", {path})
          << std::endl;
      unformatted = true;
      continue;
    }
    if (IoResult written = files.replace(path, formatted); !written.ok) {
      err << "scenario-compiler: " << written.message << std::endl;
      file_error = true;
    }
  }
  if (file_error) return exit_status::kFileError;
  return unformatted ? exit_status::kBuildStatus : exit_status::kSuccess;
}

int run_fmt(const FmtOptions& options) {
  DiskFileSystem disk;
  return format_files(disk, options, std::cout, std::cerr);
}

}  // namespace scenario
