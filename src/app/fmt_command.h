#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "files/file_system.h"
#include "language/language.h"
#include "sources/keywords.h"

namespace scenario {

/// What `fmt` is asked for: the files named, or else the two sources of
/// DIR/NAME/NUMBER.
struct FmtOptions {
  std::string dir;
  std::string base_name;
  std::string train_number;
  bool check = false;  // change nothing; exit 1 when a file is not in the layout
  std::vector<std::string> files;
  Language language = Language::english;  // of the messages
};

/// Which source a file name stands for: "*_linea.txt" a line source,
/// "*-.txt" a train source; nothing for any other name.
std::optional<SourceKind> source_kind_of(const std::string& path);

/// Formats each file in place through `files` (replaced whole, and only when
/// its layout changes), or with `check` only names those not in the layout.
/// Exit status 0, 1 (`check` found one), 3 (a file could not be read or
/// written; the others are still done) or 64 (a name of no source).
int format_files(FileSystem& files, const FmtOptions& options, std::ostream& out,
                 std::ostream& err);

/// `format_files` on the disk, with standard output and error.
int run_fmt(const FmtOptions& options);

}  // namespace scenario
