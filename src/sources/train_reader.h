#pragma once

#include <cstdint>

#include "model/build_context.h"

namespace scenario {

/// Reads the train source of the context's folder, base name and train number
/// into the cell grid and the record table, then deletes it (when the run
/// deletes sources). `sign_row` is the row the next indication board would
/// take, as the line reader left it. Needs the grid the line reader made;
/// every inconsistency ends up in `context.state.status`.
void read_train_source(BuildContext& context, std::int32_t sign_row);

}  // namespace scenario
