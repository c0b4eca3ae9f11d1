#include "sources/line_reader.h"

namespace scenario {

// Placeholder body until the line reader is built.
LineReadEnd read_line_source(BuildContext&) { return {}; }

}  // namespace scenario
