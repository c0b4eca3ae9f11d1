#pragma once

// From the model of a compiled scenario back to the entries of its two
// sources: each reader's and placement's rule run backwards.

#include <cstdint>
#include <set>
#include <vector>

#include "decompile/recovered.h"
#include "output/dump.h"

namespace scenario {

/// The sources recovered from the files, and how they are to be compiled.
struct Recovered {
  RecoveredLine line;
  RecoveredTrain train;
  std::int32_t geometry_flag = 1;  // 0: the files hold no plan geometry
  std::vector<RecoveryNote> notes;  // what the entries cannot say as the files hold it
};

/// The cells of kind 12 and 13 that the code-reduction pass cannot have
/// placed: code cuts, and points whose value is not the pass's 180.
std::set<std::int32_t> certain_reduction_entries(const CellGrid& grid);

/// Recovers the entries of both sources. `reduction_entries` are the cells
/// whose kind 12 or 13 is written as an "abbattimento" entry; the other
/// points are left to the pass.
Recovered recover_sources(const DecodedScenario& files,
                          const std::set<std::int32_t>& reduction_entries);

}  // namespace scenario
