#pragma once

#include <cstdint>

#include "app/build_context.h"

namespace scenario {

/// How the line reader ended: at the end of its work (also after status 15),
/// with the sign row handed to the train reader, or by an early return.
struct LineReadEnd {
  bool reached_end = false;
  std::int32_t sign_row = 80;
};

/// Reads the line source of the context's folder and base name.
LineReadEnd read_line_source(BuildContext& context);

}  // namespace scenario
