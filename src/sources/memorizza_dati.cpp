#include "sources/memorizza_dati.h"

#include "sources/line_reader.h"
#include "sources/train_reader.h"

namespace scenario {

void memorizza_dati(BuildContext& context) {
  const LineReadEnd line = read_line_source(context);
  if (context.state.file_error) return;
  if (line.reached_end) {
    read_train_source(context, line.sign_row);
  } else if (context.options.keep_going) {
    // A `check` run reads the train source whatever the line source held,
    // over the longest line there can be when it gave no grid.
    if (!context.state.grid) context.state.grid = make_lazy_cell_grid(1000000);
    read_train_source(context, line.sign_row);
  }
}

}  // namespace scenario
