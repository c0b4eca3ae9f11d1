#include "sources/memorizza_dati.h"

#include "app/file_names.h"
#include "sources/line_reader.h"
#include "sources/train_reader.h"

namespace scenario {

void memorizza_dati(BuildContext& context) {
  const LineReadEnd line = read_line_source(context);
  if (line.reached_end && !context.file_error) read_train_source(context, line.sign_row);
}

void take_failure_path(BuildContext& context, std::optional<SourceLine> origin) {
  const ScenarioFileNames names =
      scenario_file_names(context.folder, context.base_name, context.train_number);
  delete_source(context, names.line_source);
  delete_source(context, names.train_source);
  set_reader_status(context.status, status::kReadFailure, std::nullopt, std::move(origin));
}

}  // namespace scenario
