#pragma once

// What the records of a decoded scenario mean, in words: the one place that
// knows which row is a station and what a cell's packed values say. `dump`,
// `view --compiled` and `decompile` describe rows and cells through it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "language/language.h"
#include "model/cell_grid.h"
#include "model/record_table.h"

namespace scenario {

/// An object in cell i stands at (i - 1) × 50 m: the cell of a position p is
/// round(p / 50 + 1).
std::int64_t cell_metres(std::size_t index);

/// The kind's short name, or "unknown" for a code no placement writes.
const char* cell_kind_label(std::uint8_t kind);

/// What an object of a cell is and holds ("40 km/h, right 40 km/h").
std::string object_details(const TrackCell& cell, const RecordTable& table, Language language);

/// What a row is: "unused", "progressive", "quantities", "scenario-header",
/// "train-header", "empty", "board-text" (its text alone) or "station".
const char* row_role(const TableRow& row, std::size_t index);

/// The readable values of a row besides its raw fields (a station's time).
std::vector<std::pair<std::string, std::string>> row_readings(const TableRow& row,
                                                              std::size_t index);

/// Seconds since midnight as hh:mm:ss; hours past 23 are kept as they are.
std::string clock_text(std::int64_t seconds);

/// A station's scheduled time; "none" for 0 (the train runs through).
std::string scheduled_text(std::int32_t seconds);

/// A text's bytes in double quotes: printable ASCII as it is, the rest \xNN.
std::string quoted(const std::string& text);

/// The bytes as lower-case hex digits, `between` between two bytes.
std::string hex(std::string_view bytes, std::string_view between = "");

/// The stamps and names of the files that do not fit the scenario's names:
/// a file renamed, or stamped for another scenario, which the simulator
/// refuses. Either file may be left out.
std::vector<std::string> stamp_notes(const std::string& base_name,
                                     const std::string& train_number, const RecordTable* table,
                                     const CellGrid* grid, Language language);

}  // namespace scenario
