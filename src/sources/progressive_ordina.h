#pragma once

#include "model/record_table.h"

namespace scenario {

/// Reorders the kilometre-progressive definitions held in rows 81 ("tre"),
/// 82 ("due") and 83 ("uno") once the line source's header is read: by
/// descending first value, or by which second value is set when the first
/// values add up to 0; then adds 100 to the second value of a row whose third
/// value is 1.
void progressive_ordina(RecordTable& table);

}  // namespace scenario
