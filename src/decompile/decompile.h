#pragma once

// A compiled scenario back to its two sources, checked: the sources made are
// compiled in memory and their files compared with the files given, byte
// for byte, before anyone writes them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/dump.h"

namespace scenario {

/// The bytes of the three files; no plan geometry for a scenario compiled
/// without one.
struct ScenarioBytes {
  std::string_view record_table;
  std::string_view cell_grid;
  std::optional<std::string_view> plan_geometry;
};

/// A record, cell or metre of the files the sources cannot express.
struct InexactPlace {
  ScenarioFileKind file = ScenarioFileKind::cell_grid;
  std::string where;    // "row 5", "cell 2541 at 127000 m", "metre 1201"
  std::string found;    // the bytes of the files, in hex
  std::string nearest;  // the bytes the sources give there, in hex ("" for none)
};

struct Decompiled {
  /// Set when a file is not a scenario file at all: which, and where its
  /// layout breaks. Nothing else is set then.
  std::optional<ScenarioFileKind> broken_file;
  std::string error;
  std::string line_source;
  std::string train_source;
  std::int32_t geometry_flag = 1;  // 0: compile with --no-geometry
  /// Empty when the sources compile to exactly the files given.
  std::vector<InexactPlace> places;
  /// How many places there are in all (`places` holds the first ones).
  std::size_t place_count = 0;
  /// Why, where the reading of the files found a rule no entry keeps
  /// ("row 5: a station whose extent no length gives"); only ever set
  /// beside places.
  std::vector<std::string> hints;
};

/// Makes the sources of the scenario `base_name`_`train_number` whose files
/// are `files` and checks them.
Decompiled decompile(const ScenarioBytes& files, const std::string& base_name,
                     const std::string& train_number);

/// The source with comment lines before it: each line starts with "- ", and
/// the readers pass over everything before "[generale]".
std::string with_comment(const std::vector<std::string>& lines, const std::string& source);

/// A place in words: "cell 2541 at 127000 m: found 01..., nearest 01...".
std::string place_text(const InexactPlace& place);

/// The 64-bit FNV-1a digest of the bytes, 16 hex digits.
std::string fnv1a_digest(std::string_view bytes);

}  // namespace scenario
