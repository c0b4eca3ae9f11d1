#pragma once

#include <span>
#include <string>
#include <string_view>

#include "files/file_system.h"

namespace scenario {

/// The entry that closes every line table. It is never written.
inline constexpr std::string_view kEndMarker = "riferimento fine del file";

/// A fixed text held as one entry per output line, closed by `kEndMarker`.
using LineTable = std::span<const std::string_view>;

/// The text of a line table: every entry before the first one that equals the
/// end marker exactly, each followed by CR LF. Entries after the marker are
/// never looked at; a table without it is rendered to its last entry.
std::string render_line_table(LineTable table);

/// Replaces the file at `path` whole with the rendered table.
IoResult write_line_table(FileSystem& files, const std::string& path, LineTable table);

}  // namespace scenario
