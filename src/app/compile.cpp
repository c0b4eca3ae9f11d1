#include "app/compile.h"

#include <utility>

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
  context.status.origin.reset();
  clear_table(context.table);
  memorizza_dati(context);
  if (context.file_error) return outcome;
  // Without a grid (the line reader stopped before the length entry) there is
  // nothing to stamp or write; files of an earlier run stay as they were. A
  // grid always holds cells 0 and 1 (the length is at least 0).
  if (!context.grid || !context.grid->contains(1)) return outcome;
  code_reduction_pass(*context.grid, context.status);
  if (auto fatal = stamp_headers(context.table, *context.grid)) {
    // The error box ends the build: no scenario file is written, renamed or
    // deleted after it.
    errore(context, std::to_string(*fatal));
    outcome.fatal = fatal;
    return outcome;
  }
  const ScenarioFileNames names =
      scenario_file_names(context.folder, context.base_name, context.train_number);
  // Each file is encoded just before it is written and freed right after, so
  // at most one file's bytes are held at a time.
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

MemoryCompile compile_in_memory(std::string_view line_source, std::string_view train_source,
                                const std::string& base_name, const std::string& train_number,
                                std::int32_t geometry_flag) {
  MemoryFileSystem files;
  BuildContext context(files);
  context.base_name = base_name;
  context.train_number = train_number;
  const ScenarioFileNames names = scenario_file_names("", base_name, train_number);
  files.files[names.line_source] = std::string(line_source);
  files.files[names.train_source] = std::string(train_source);

  const CompileOutcome outcome = memorizza_percorso(context, geometry_flag);
  MemoryCompile result;
  result.status = context.status;
  result.fatal = outcome.fatal;
  if (context.grid) result.grid_last_index = context.grid->last_index();
  result.file_error = context.file_error;
  auto take = [&](const std::string& path, std::optional<std::string>& bytes) {
    for (const std::string& written : outcome.written) {
      if (written == path) bytes = std::move(files.files[path]);
    }
  };
  take(names.plan_geometry, result.plan_geometry);
  take(names.record_table, result.record_table);
  take(names.cell_grid, result.cell_grid);
  return result;
}

}  // namespace scenario
