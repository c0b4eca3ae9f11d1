// The commands for authors that write no file: `check`, which reads the
// sources and tells every finding, and `explain`, which tells what one means.

#include <filesystem>
#include <iostream>

#include "app/commands.h"
#include "app/diagnostic_json.h"
#include "app/watch.h"
#include "check/check.h"
#include "check/diagnostic_format.h"
#include "check/explanations.h"
#include "check/suggest.h"
#include "files/file_names.h"

namespace scenario {
namespace {

RunSummary check_once(const RunOptions& options) {
  DiskFileSystem disk;
  const CheckResult result = check_sources(
      disk, options_for(options.dir, options.base_name, options.train_number, false,
                        options.language));

  RunSummary summary;
  summary.counts = count_findings(result.diagnostics);
  if (options.format == "json") {
    std::cout << json_text(diagnostics_json(result.diagnostics));
  } else if (options.format == "sarif") {
    std::error_code ignored;
    const std::filesystem::path folder =
        std::filesystem::absolute(options.dir.empty() ? "." : options.dir, ignored);
    std::cout << json_text(sarif_log(result.diagnostics, folder.lexically_normal().generic_string()));
  } else {
    for (const Diagnostic& diagnostic : result.diagnostics) {
      std::cout << format_diagnostic(diagnostic);
    }
  }
  std::cout << std::flush;
  if (result.file_error) {
    std::cerr << "scenario-compiler: " << *result.file_error << std::endl;
    ++summary.counts.errors;
  }
  if (options.format == "text") std::cout << counts_text(summary.counts) << std::endl;
  if (result.file_error) {
    summary.exit_status = exit_status::kFileError;
  } else if (summary.counts.errors > 0) {
    summary.exit_status = exit_status::kBuildStatus;
  }
  return summary;
}

}  // namespace

int run_check(const RunOptions& options) {
  auto once = [&] { return check_once(options); };
  if (!options.watch) return once().exit_status;
  const ScenarioFileNames names =
      scenario_file_names(options.dir, options.base_name, options.train_number);
  return watch_and_run({names.line_source, names.train_source}, once);
}

int run_explain(const std::optional<std::string>& id, Language /*language*/) {
  if (!id) {
    std::cout << explanation_list()
              << "\nscenario-compiler explain ID tells what one of them means." << std::endl;
    return exit_status::kSuccess;
  }
  if (auto explanation = find_explanation(*id)) {
    std::cout << explanation_text(*explanation) << std::flush;
    return exit_status::kSuccess;
  }
  std::cerr << "scenario-compiler: no finding has the id '" << *id << "'";
  if (auto near = closest_match(*id, explanation_ids())) {
    std::cerr << "; did you mean '" << *near << "'?";
  }
  std::cerr << "\nscenario-compiler explain lists every id." << std::endl;
  return exit_status::kUsage;
}

}  // namespace scenario
