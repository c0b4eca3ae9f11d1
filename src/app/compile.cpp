#include "app/compile.h"

#include "app/errore.h"
#include "output/scenario_writer.h"
#include "sources/build_model.h"

namespace scenario {

CompileOutcome memorizza_percorso(BuildContext& context, std::int32_t geometry_flag) {
  CompileOutcome outcome;
  context.options.geometry_flag = geometry_flag;
  if (auto fatal = build_model(context)) {
    // The error box ends the build: no scenario file is written, renamed or
    // deleted after it.
    errore(std::to_string(*fatal));
    outcome.fatal = fatal;
    return outcome;
  }
  const BuildState& state = context.state;
  if (state.file_error || !state.grid || !state.grid->contains(1)) return outcome;
  // Each file is encoded just before it is written and freed right after, so
  // at most one file's bytes are held at a time.
  auto write = [&](const std::string& path, std::string_view bytes) {
    IoResult result = context.files.replace(path, bytes);
    if (!result.ok) {
      context.state.file_error = result.message;
      return false;
    }
    outcome.written.push_back(path);
    return true;
  };
  const ScenarioFileNames& names = context.names;
  if (context.options.geometry_flag != 0 && state.geometry &&
      !write(names.plan_geometry, plan_geometry_file(*context.state.geometry))) {
    return outcome;
  }
  if (!write(names.record_table, encode_record_table(state.table))) return outcome;
  write(names.cell_grid, encode_cell_grid(*state.grid));
  return outcome;
}

}  // namespace scenario
