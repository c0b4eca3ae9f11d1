#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "diff/loaded_scenario.h"
#include "diff/scenario_entries.h"

namespace scenario {

enum class ChangeKind { added, removed, changed, moved };

/// One value of an entry that changed; for an entry added or removed, one
/// value it holds (the other side is none).
struct FieldChange {
  std::string field;  // "" for an entry of one value (a header value, a stretch)
  std::optional<DiffValue> old_value;
  std::optional<DiffValue> new_value;
};

/// An entry added, removed, changed or moved, at its place on the line.
struct Change {
  ChangeKind kind = ChangeKind::changed;
  std::string entry;                 // "station", "speed limit", "header", ...
  std::string name;                  // may be empty
  std::optional<std::int64_t> at_m;  // none for a header value
  std::optional<std::int64_t> to_m;  // the end of a stretch of the line
  std::vector<FieldChange> fields;
  std::optional<SourceLink> source;
};

/// Bytes that changed only because another entry did (approach codes of a
/// signal that moved, the integrity codes of a new name), counted by kind.
struct FollowOn {
  std::string what;
  std::string cause;
  std::size_t count = 0;
};

/// One of the three files, byte by byte.
struct FileComparison {
  std::string file;  // bare name
  bool in_old = false;
  bool in_new = false;
  std::size_t old_size = 0;
  std::size_t new_size = 0;
  std::optional<std::size_t> first_difference;  // none: the same bytes
  std::string place;  // the record and field at that offset, in the old file
};

struct ScenarioDiff {
  std::vector<Change> changes;  // header values first, then in position order
  std::vector<FollowOn> follow_on;
  std::vector<FileComparison> files;

  bool same_bytes() const;
};

/// Compares two scenarios by meaning, and their files byte by byte.
ScenarioDiff diff_scenarios(const LoadedScenario& old_scenario,
                            const LoadedScenario& new_scenario, const std::string& base_name,
                            const std::string& train_number);

}  // namespace scenario
