#pragma once

#include <cstdint>

#include "app/build_context.h"

namespace scenario {

/// Reads the train source of the context's folder, base name and train number.
void read_train_source(BuildContext& context, std::int32_t sign_row);

}  // namespace scenario
