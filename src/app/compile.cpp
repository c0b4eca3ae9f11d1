#include "app/compile.h"

#include "app/errore.h"
#include "app/file_names.h"
#include "model/code_reduction.h"
#include "output/scenario_writer.h"
#include "output/stamps.h"
#include "sources/memorizza_dati.h"

namespace scenario {

CompileOutcome memorizza_percorso(BuildContext& context, std::int32_t geometry_flag) {
  CompileOutcome outcome;
  context.geometry_flag = geometry_flag;
  context.status.code = status::kNone;
  clear_table(context.table);
  memorizza_dati(context);
  if (context.file_error) return outcome;
  // Without a grid (the line reader stopped before the length entry) there is
  // nothing to stamp or write; files of an earlier run stay as they were.
  if (!context.grid) return outcome;
  code_reduction_pass(*context.grid, context.status);
  if (auto fatal = stamp_headers(context.table, *context.grid)) {
    errore(context, std::to_string(*fatal));
    outcome.fatal = fatal;
    return outcome;
  }
  const ScenarioFileNames names =
      scenario_file_names(context.folder, context.base_name, context.train_number);
  auto write = [&](const std::string& path, const std::string& bytes) {
    IoResult result = context.files.replace(path, bytes);
    if (!result.ok) {
      context.file_error = result.message;
      return false;
    }
    outcome.written.push_back(path);
    return true;
  };
  if (context.geometry_flag != 0 && context.geometry &&
      !write(names.plan_geometry, encode_plan_geometry(*context.geometry))) {
    return outcome;
  }
  if (!write(names.record_table, encode_record_table(context.table))) return outcome;
  write(names.cell_grid, encode_cell_grid(*context.grid));
  return outcome;
}

}  // namespace scenario
