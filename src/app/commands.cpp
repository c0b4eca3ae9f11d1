#include "app/commands.h"

#include <iostream>

#include "app/compile.h"
#include "app/status_finding.h"
#include "app/watch.h"
#include "files/file_names.h"
#include "app/platform.h"
#include "app/report.h"
#include "builtin/builtin_texts.h"
#include "check/check.h"
#include "check/diagnostic_format.h"
#include "language/translate.h"

namespace scenario {
namespace {

// Messages, report and exit status of a command that compiled (or tried to).
RunSummary finish(const BuildContext& context, const CompileOutcome& outcome,
                  const RunOptions& options) {
  int code = exit_status::kSuccess;
  std::vector<Diagnostic> told;
  for (const Diagnostic& diagnostic : context.state.diagnostics) {
    if (diagnostic.severity == Severity::warning) told.push_back(diagnostic);
  }
  for (const Diagnostic& warning : told) std::cerr << format_diagnostic(warning);
  if (outcome.fatal) {
    // The error box has shown " Errore n. N"; its cause follows it, naming
    // the entry that took the reserved place.
    const Diagnostic cause = fatal_diagnostic(context, *outcome.fatal);
    std::cerr << format_diagnostic(cause) << std::flush;
    told.push_back(cause);
    code = exit_status::kFatal;
  } else {
    // A status code set before a file operation failed is still worth telling.
    if (auto finding = status_finding(context.state, context.options.language)) {
      std::cerr << format_diagnostic(*finding) << std::flush;
      told.push_back(*finding);
      code = exit_status::kBuildStatus;
    }
    for (const auto& error : {context.state.source_error, context.state.file_error}) {
      if (!error) continue;
      tell_failure("scenario-compiler: " + *error);
      code = exit_status::kFileError;
    }
  }
  FindingCounts counts = count_findings(told);
  if (outcome.fatal || code == exit_status::kFileError) ++counts.errors;
  if (options.report) {
    CommandReport report;
    report.status = context.state.status;
    report.fatal = outcome.fatal;
    report.diagnostics = told;
    if (context.state.grid) report.grid_last_index = context.state.grid->last_index();
    for (const std::string& path : outcome.written) report.written.push_back(bare_name(path));
    IoResult result = context.files.replace(*options.report, report_json(report));
    if (!result.ok) {
      tell_failure("scenario-compiler: " + result.message);
      // A fatal stamping error stays the more important news.
      if (code != exit_status::kFatal) code = exit_status::kFileError;
    }
  }
  return {code, counts};
}

std::vector<std::string> source_paths(const RunOptions& options) {
  const ScenarioFileNames names =
      scenario_file_names(options.dir, options.base_name, options.train_number);
  return {names.line_source, names.train_source};
}

// Export and build write the built-in sources over whatever the folder holds
// under their names: one an author has edited stops the command before any
// file is written, unless forced. True when the command may go on.
bool sources_may_be_replaced(FileSystem& files, const ScenarioFileNames& names,
                             const RunOptions& options) {
  if (options.force) return true;
  const std::vector<std::string> edited = edited_sources(files, names, options.language);
  for (const std::string& message : edited) {
    tell_failure("scenario-compiler: " + message +
                 tr(options.language, "; nothing written (--force replaces it)"));
  }
  return edited.empty();
}

ProgressStyle progress_style(const RunOptions& options) {
  if (options.quiet) return ProgressStyle::kNone;
  return options.progress_window ? ProgressStyle::kWindow : ProgressStyle::kLine;
}

RunSummary compile_in_folder(const RunOptions& options, std::int32_t geometry_flag,
                             bool delete_sources, bool write_texts) {
  DiskFileSystem disk;
  BuildContext context(
      disk, options_for(options.dir, options.base_name, options.train_number, delete_sources,
                        options.language));
  if (write_texts && !sources_may_be_replaced(disk, context.names, options)) {
    RunSummary summary = finish(context, CompileOutcome{}, options);  // the report, if asked
    summary.exit_status = exit_status::kFileError;
    return summary;
  }
  if (write_texts && !prepare_folder(disk, options.dir, options.quiet, options.language)) {
    RunSummary summary = finish(context, CompileOutcome{}, options);
    summary.exit_status = exit_status::kFileError;
    return summary;
  }
  ProgressDisplay progress(progress_style(options));
  if (write_texts) {
    IoResult result = write_builtin_texts(disk, context.names);
    if (!result.ok) context.state.file_error = result.message;
  }
  CompileOutcome outcome;
  if (!context.state.file_error) outcome = memorizza_percorso(context, geometry_flag);
  return finish(context, outcome, options);
}

}  // namespace

bool prepare_folder(FileSystem& files, const std::string& folder, bool quiet, Language language) {
  bool created = false;
  if (IoResult result = files.make_folder(folder, created); !result.ok) {
    tell_failure("scenario-compiler: " + result.message);
    return false;
  }
  if (created && !quiet) {
    std::cerr << "scenario-compiler: " << trf(language, "created the folder '{1}'", {folder}) << "\n";
  }
  return true;
}

int run_build(const RunOptions& options) {
  return compile_in_folder(options, 1, /*delete_sources=*/true, /*write_texts=*/true).exit_status;
}

int run_export(const RunOptions& options) {
  DiskFileSystem disk;
  const ScenarioFileNames names =
      scenario_file_names(options.dir, options.base_name, options.train_number);
  if (!sources_may_be_replaced(disk, names, options)) return exit_status::kFileError;
  if (!prepare_folder(disk, options.dir, options.quiet, options.language)) return exit_status::kFileError;
  ProgressDisplay progress(progress_style(options));
  IoResult result = write_builtin_texts(disk, names);
  if (!result.ok) {
    tell_failure("scenario-compiler: " + result.message);
    return exit_status::kFileError;
  }
  return exit_status::kSuccess;
}

int run_compile(const RunOptions& options) {
  auto once = [&] {
    return compile_in_folder(options, options.no_geometry ? 0 : 1, options.delete_sources,
                             /*write_texts=*/false);
  };
  if (!options.watch) return once().exit_status;
  return watch_and_run(source_paths(options), once);
}

}  // namespace scenario
