#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "diff/loaded_scenario.h"

namespace scenario {

/// A value as an author reads it ("km 121+050", "30 s"), with the number it
/// stands for where it is one. Two values are the same when both agree.
struct DiffValue {
  std::string text;
  std::optional<std::int64_t> number;
  bool operator==(const DiffValue&) const = default;
};

/// A source line behind an entry: the source's path in its folder and the line.
struct SourceLink {
  std::string path;
  std::int32_t line = 0;
};

/// One entry of a scenario by meaning: a header value, a station, an object
/// of the line, a curve of the plan.
struct ScenarioEntry {
  std::string entry;                      // "station", "signal", "header", ...
  std::string name;                       // what names it in words; may be empty
  std::string key;                        // the same entry in another scenario has the same key
  std::optional<std::int64_t> at_m;       // none for a header value
  std::vector<std::pair<std::string, DiffValue>> fields;
  std::optional<SourceLink> source;
};

/// "km 121+050" for 121050 m.
std::string kilometre_text(std::int64_t metres);

/// The header values, in a fixed order.
std::vector<ScenarioEntry> header_entries(const LoadedScenario& scenario);

/// The stations of the record table, in row order; the key is the name.
std::vector<ScenarioEntry> station_entries(const LoadedScenario& scenario);

/// The objects of the cell grid that an entry of a source places, in cell
/// order, keyed by kind and cell: signals, speed restrictions (their boards
/// and pre-warning cells as one), maximum-speed indicator boards, indication
/// boards, code-reduction and code-cut points, objects of unknown kinds.
/// What follows from other entries (stop markers, tunnel markers, approach
/// codes, the code-reduction pass's points) is left to the follow-on count.
/// Without `texts` (a cell grid read without its record table) an
/// indication board holds its row number instead of its text.
std::vector<ScenarioEntry> object_entries(const LoadedScenario& scenario, bool texts = true);

/// The tunnels: each run of cells of one tunnel type, keyed by its first
/// cell, with its length and type. Tunnels that abut with the same type read
/// as one.
std::vector<ScenarioEntry> tunnel_entries(const LoadedScenario& scenario);

/// The curves of the plan geometry, keyed by start; none without one.
std::vector<ScenarioEntry> curve_entries(const LoadedScenario& scenario);

/// Whether a cell holds a code-reduction point of the code-reduction pass
/// (value 180), which follows from the signals and restrictions around it.
bool is_pass_point(const TrackCell& cell);

}  // namespace scenario
