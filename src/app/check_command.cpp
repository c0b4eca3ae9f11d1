// The commands for authors that write no file: `check`, which reads the
// sources and tells every finding, and `explain`, which tells what one means.

#include <algorithm>
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
#include "language/translate.h"

namespace scenario {
namespace {

// The findings of line sources shared by several trains are told once.
void add_new(std::vector<Diagnostic>& all, const std::vector<Diagnostic>& found) {
  for (const Diagnostic& diagnostic : found) {
    const bool told = std::any_of(all.begin(), all.end(), [&](const Diagnostic& other) {
      return other.where && diagnostic.where && *other.where == *diagnostic.where &&
             other.id == diagnostic.id && other.message == diagnostic.message;
    });
    if (!told) all.push_back(diagnostic);
  }
}

RunSummary check_scenarios(const RunOptions& options,
                           const std::vector<FolderScenarios::Scenario>& scenarios) {
  DiskFileSystem disk;
  std::vector<Diagnostic> diagnostics;
  std::vector<std::string> file_errors;
  for (const FolderScenarios::Scenario& scenario : scenarios) {
    const CheckResult result = check_sources(
        disk, options_for(options.dir, scenario.base_name, scenario.train_number, false,
                          options.language));
    add_new(diagnostics, result.diagnostics);
    if (result.file_error) file_errors.push_back(*result.file_error);
  }

  RunSummary summary;
  summary.counts = count_findings(diagnostics);
  if (options.format == "json") {
    std::cout << json_text(diagnostics_json(diagnostics));
  } else if (options.format == "sarif") {
    std::error_code ignored;
    const std::filesystem::path folder =
        std::filesystem::absolute(options.dir.empty() ? "." : options.dir, ignored);
    std::cout << json_text(sarif_log(diagnostics, folder.lexically_normal().generic_string()));
  } else {
    for (const Diagnostic& diagnostic : diagnostics) std::cout << format_diagnostic(diagnostic);
  }
  std::cout << std::flush;
  for (const std::string& error : file_errors) {
    std::cerr << "scenario-compiler: " << error << std::endl;
    ++summary.counts.errors;
  }
  if (options.format == "text") {
    if (options.all) {
      const std::string count = std::to_string(scenarios.size());
      std::cout << (scenarios.size() == 1 ? trf(options.language, "{1} scenario: ", {count})
                                          : trf(options.language, "{1} scenarios: ", {count}));
    }
    std::cout << counts_text(summary.counts, options.language) << std::endl;
  }
  if (!file_errors.empty()) {
    summary.exit_status = exit_status::kFileError;
  } else if (summary.counts.errors > 0) {
    summary.exit_status = exit_status::kBuildStatus;
  }
  return summary;
}

RunSummary check_once(const RunOptions& options) {
  return check_scenarios(options, {{options.base_name, options.train_number}});
}

// Every scenario of the folder; line sources without a train are named.
RunSummary check_all(const RunOptions& options) {
  DiskFileSystem disk;
  const auto names = disk.list_folder(options.dir);
  if (!names) {
    std::cerr << "scenario-compiler: "
              << trf(options.language, "cannot list the folder '{1}'",
                     {options.dir.empty() ? "." : options.dir})
              << std::endl;
    return {exit_status::kFileError, {}};
  }
  const FolderScenarios found = scenarios_in(*names);
  for (const std::string& base : found.lone_lines) {
    std::cerr << "scenario-compiler: note: "
              << trf(options.language,
                     "{1}_linea.txt has no train source beside it ({1}_NUMBER-.txt) and is not "
                     "checked",
                     {base})
              << std::endl;
  }
  return check_scenarios(options, found.scenarios);
}

}  // namespace

int run_check(const RunOptions& options) {
  if (options.all) return check_all(options).exit_status;
  auto once = [&] { return check_once(options); };
  if (!options.watch) return once().exit_status;
  const ScenarioFileNames names =
      scenario_file_names(options.dir, options.base_name, options.train_number);
  return watch_and_run({names.line_source, names.train_source}, once);
}

int run_explain(const std::optional<std::string>& id, Language language) {
  if (!id) {
    std::cout << explanation_list(language) << "\n"
              << tr(language, "scenario-compiler explain ID tells what one of them means.")
              << std::endl;
    return exit_status::kSuccess;
  }
  if (auto explanation = find_explanation(*id)) {
    std::cout << explanation_text(*explanation, language) << std::flush;
    return exit_status::kSuccess;
  }
  std::cerr << "scenario-compiler: " << trf(language, "no finding has the id '{1}'", {*id});
  if (auto near = closest_match(*id, explanation_ids())) {
    std::cerr << trf(language, "; did you mean '{1}'?", {*near});
  }
  std::cerr << "\n" << tr(language, "scenario-compiler explain lists every id.") << std::endl;
  return exit_status::kUsage;
}

}  // namespace scenario
