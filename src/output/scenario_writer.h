#pragma once

#include <cstddef>
#include <string>

#include "model/cell_grid.h"
#include "model/record_table.h"

namespace scenario {

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
