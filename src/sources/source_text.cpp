#include "sources/source_text.h"

#include <utility>

namespace scenario {

void delete_source(BuildContext& context, const std::string& path) {
  if (!context.options.delete_sources || !context.files.exists(path)) return;
  IoResult result = context.files.remove(path);
  if (!result.ok && !context.state.file_error) context.state.file_error = result.message;
}

void take_failure_path(BuildContext& context, std::optional<SourceLine> origin) {
  delete_source(context, context.names.line_source);
  delete_source(context, context.names.train_source);
  set_reader_status(context.state.status, status::kReadFailure, std::nullopt, std::move(origin));
}

}  // namespace scenario
