#pragma once

#include <cstdint>

#include "model/build_status.h"
#include "model/cell_grid.h"

namespace scenario {

/// The smaller of two numbers, `x` on ties.
inline std::int32_t minimo(std::int32_t x, std::int32_t y) { return x > y ? y : x; }

/// Adds code-reduction points (kind 12, value 180) around every speed
/// restriction; sets codes 11 to 13 where there is no room and goes on.
void code_reduction_pass(CellGrid& grid, BuildStatus& status);

}  // namespace scenario
