#pragma once

#include <cstdint>
#include <vector>

#include "model/build_status.h"
#include "model/cell_grid.h"

namespace scenario {

/// The smaller of two numbers, `x` on ties.
inline std::int32_t minimo(std::int32_t x, std::int32_t y) { return x > y ? y : x; }

/// One place where the pass found no room: the code it set, the cell whose
/// metres it recorded, and the board of the restriction it was working for
/// (the warning board for code 11, the start board for 12 and 13).
struct ReductionFailure {
  StatusCode code = StatusCode::kNone;
  std::int32_t cell = 0;
  std::int32_t board_cell = 0;
};

/// Adds code-reduction points (kind 12, value 180) around every speed
/// restriction; sets codes 11 to 13 where there is no room and goes on.
/// Every such place is also added to `failures` when it is given.
void code_reduction_pass(CellGrid& grid, BuildStatus& status,
                         std::vector<ReductionFailure>* failures = nullptr);

}  // namespace scenario
