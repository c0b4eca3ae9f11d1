#pragma once

#include <cstddef>
#include <string>

#include "model/cell_grid.h"
#include "model/record_table.h"
#include "model/plan_geometry.h"

namespace scenario {

/// The plan geometry file's bytes: one tagged value per coordinate and metre
/// (code 0 empty, code 2 + i16, code 5 + binary64), all x then all y.
std::string encode_plan_geometry(const PlanGeometry& geometry);

/// The record table file's bytes: rows 0..86 of 34 + n bytes, n the text's
/// byte count (at most 65535: a longer text is cut there).
std::string encode_record_table(const RecordTable& table);

/// The cell grid file's bytes: cells 0..N of 15 bytes.
std::string encode_cell_grid(const CellGrid& grid);

/// Bytes of a record-table row besides its text.
inline constexpr std::size_t kRecordRowFixedBytes = 34;

/// Bytes of one cell record.
inline constexpr std::size_t kCellBytes = 15;

}  // namespace scenario
