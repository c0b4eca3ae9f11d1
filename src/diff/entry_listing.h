#pragma once

#include <string>

#include "files/file_system.h"

namespace scenario {

/// The entries one scenario file holds, by meaning, one a line, from that
/// file alone: for a record table its header values and stations, for a
/// cell grid its objects and the stretches of speed limit, gradient,
/// adhesion and tunnels, for a plan geometry its curves. Made for a diff of
/// two versions of the file (a git textconv): an entry that changes changes
/// its own line. The kind of file follows from its name, as for `dump`.
/// False, with `error` naming the file, when it cannot be read or decoded.
bool list_file_entries(FileSystem& files, const std::string& path, std::string& listing,
                       std::string& error);

}  // namespace scenario
