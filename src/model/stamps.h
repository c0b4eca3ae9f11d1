#pragma once

#include <cstdint>
#include <optional>

#include "model/cell_grid.h"
#include "model/record_table.h"

namespace scenario {

/// Plain character sum of the working string (train number, base name, fill text).
std::int32_t codice_gara_og(const RecordTable& table);

/// Position-weighted character sum of the same working string.
std::int32_t codice_gara_st(const RecordTable& table);

/// Stamps the markers 610 and 5121 and the two integrity codes into row 85
/// and cell 1. Returns the fatal error number (1250 or 1251) when a reserved
/// place was already taken; nothing after the check is stamped then.
/// The grid must hold cell 1.
std::optional<std::int32_t> stamp_headers(RecordTable& table, CellGrid& grid);

}  // namespace scenario
