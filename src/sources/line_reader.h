#pragma once

#include <cstdint>

#include "model/build_context.h"

namespace scenario {

/// How the line reader ended: at the end of its work (also after status 15),
/// with the sign row handed to the train reader, or by an early return.
struct LineReadEnd {
  bool reached_end = false;
  std::int32_t sign_row = 80;
};

/// Reads the line source of the context's folder and base name: names rows 85
/// and 86, fills the header rows, creates and fills the cell grid and (with
/// the geometry flag set) the plan geometry, and deletes the source wherever
/// the run deletes sources. Stops are recorded in the context's status with
/// where in the source they were set.
LineReadEnd read_line_source(BuildContext& context);

}  // namespace scenario
