#include "testing/memory_compile.h"

#include <utility>

#include "app/compile.h"
#include "testing/memory_file_system.h"

namespace scenario {

MemoryCompile compile_in_memory(std::string_view line_source, std::string_view train_source,
                                const std::string& base_name, const std::string& train_number,
                                std::int32_t geometry_flag) {
  MemoryFileSystem files;
  BuildOptions options;
  options.base_name = base_name;
  options.train_number = train_number;
  BuildContext context(files, options);
  const ScenarioFileNames& names = context.names;
  files.files[names.line_source] = std::string(line_source);
  files.files[names.train_source] = std::string(train_source);

  const CompileOutcome outcome = memorizza_percorso(context, geometry_flag);
  MemoryCompile result;
  result.status = context.state.status;
  result.fatal = outcome.fatal;
  if (context.state.grid) result.grid_last_index = context.state.grid->last_index();
  result.file_error = context.state.file_error;
  result.diagnostics = context.state.diagnostics;
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
