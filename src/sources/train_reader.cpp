#include "sources/train_reader.h"

namespace scenario {

// Placeholder body until the train reader is built.
void read_train_source(BuildContext&, std::int32_t) {}

}  // namespace scenario
