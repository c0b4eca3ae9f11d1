#include "sources/memorizza_dati.h"

#include "sources/line_reader.h"
#include "sources/train_reader.h"

namespace scenario {

void memorizza_dati(BuildContext& context) {
  const LineReadEnd line = read_line_source(context);
  if (line.reached_end && !context.state.file_error) read_train_source(context, line.sign_row);
}

}  // namespace scenario
