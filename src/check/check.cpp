#include "check/check.h"

#include "model/code_reduction.h"
#include "model/record_table.h"
#include "sources/memorizza_dati.h"

namespace scenario {

CheckResult check_sources(FileSystem& files, const BuildOptions& options) {
  BuildOptions reading = options;
  reading.delete_sources = false;
  BuildContext context(files, reading);
  BuildState& state = context.state;
  clear_table(state.table);
  memorizza_dati(context);
  if (!state.file_error && state.grid && state.grid->contains(1)) {
    code_reduction_pass(*state.grid, state.status);
  }
  CheckResult result;
  result.diagnostics = state.diagnostics;
  result.compile_status = state.status;
  if (state.status.code != status::kNone) {
    Diagnostic error;
    error.id = status_id(state.status.code);
    error.code = state.status.code;
    error.position = state.status.position;
    error.message = status_meaning(state.status.code);
    if (state.status.origin) {
      error.where = SourcePoint{state.status.origin->file, state.status.origin->line, 0};
    }
    result.diagnostics.push_back(std::move(error));
  }
  result.file_error = state.source_error ? state.source_error : state.file_error;
  return result;
}

}  // namespace scenario
