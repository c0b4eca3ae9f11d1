#pragma once

#include "model/build_context.h"

namespace scenario {

/// Reads the line source, then (when the line reader reached its end) the
/// train source, into the build context.
void memorizza_dati(BuildContext& context);

}  // namespace scenario
