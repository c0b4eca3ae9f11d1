#include "app/view_command.h"

#include <chrono>
#include <filesystem>
#include <iostream>
#include <thread>
#include <vector>

#include "app/commands.h"
#include "app/platform.h"
#include "language/translate.h"
#include "files/file_names.h"
#include "model/stamps.h"
#include "output/dump.h"
#include "sources/build_model.h"
#include "view/page.h"

namespace scenario {
namespace {

// A screen shows no more points of the plan than this.
constexpr std::size_t kPlanPoints = 6000;

std::string page_name(const ViewOptions& options) {
  if (options.out) return *options.out;
  return join_path(options.dir, options.base_name + "_" + options.train_number + ".html");
}

// A run over the folder's sources that keeps them and writes no file.
BuildOptions reading_options(const ViewOptions& options) {
  return options_for(options.dir, options.base_name, options.train_number, false,
                     options.language);
}

// The model as `compile` builds it, in memory: the sources are kept and no
// scenario file is written.
ViewInput from_sources(const ViewOptions& options) {
  DiskFileSystem disk;
  BuildContext context(disk, reading_options(options));
  ViewInput input;
  input.fatal = build_model(context);
  BuildState& state = context.state;
  input.language = options.language;
  input.origin = trf(options.language, "compiled in memory from {1} and {2}",
                     {bare_name(context.names.line_source), bare_name(context.names.train_source)});
  input.table = state.table;
  input.grid = std::move(state.grid);
  if (state.geometry) input.plan = thin_plan(*state.geometry, kPlanPoints);
  input.status = state.status;
  for (const auto& error : {state.source_error, state.file_error}) {
    if (error) input.problems.push_back(*error);
  }
  input.places = source_places(state);
  input.diagnostics = std::move(state.diagnostics);
  return input;
}

// Whether the stamps of the files fit the names the files carry; a note for
// the page where they do not.
void check_stamps(const ViewOptions& options, ViewInput& input) {
  RecordTable named;
  name_scenario(named, options.base_name, options.train_number);
  const TableRow& header = input.table.rows[table_row::kScenarioHeader];
  if (header.text != options.base_name ||
      input.table.rows[table_row::kTrainHeader].text != options.train_number) {
    input.problems.push_back(
        trf(options.language, "the record table names the scenario {1}, not its file name's {2}",
            {header.text + "_" + input.table.rows[table_row::kTrainHeader].text,
             options.base_name + "_" + options.train_number}));
  } else if (header.num_d != codice_gara_st(named)) {
    input.problems.push_back(
        trf(options.language, "the record table's integrity code {1} is not the one of its names ({2})",
            {std::to_string(header.num_d), std::to_string(codice_gara_st(named))}));
  }
  if (input.grid && input.grid->contains(1) &&
      (*input.grid)[1].val_b != static_cast<std::int16_t>(codice_gara_og(named))) {
    input.problems.push_back(
        trf(options.language, "the cell grid's integrity code {1} is not the one of the file's names",
            {std::to_string((*input.grid)[1].val_b)}));
  }
}

// The page of the three scenario files of the folder, decoded.
bool from_files(const ViewOptions& options, ViewInput& input, std::string& failure) {
  DiskFileSystem disk;
  const ScenarioFileNames names =
      scenario_file_names(options.dir, options.base_name, options.train_number);
  input.language = options.language;
  input.origin = trf(options.language, "read from {1}, {2} and {3}",
                     {bare_name(names.record_table), bare_name(names.cell_grid),
                      bare_name(names.plan_geometry)});
  DecodedScenario scenario;
  if (!read_scenario_files(disk, names, scenario, failure)) return false;
  input.table = std::move(scenario.table);
  input.grid = std::move(scenario.grid);
  // Without a plan geometry file the page shows the profile alone.
  if (scenario.geometry) input.plan = thin_plan(*scenario.geometry, kPlanPoints);
  check_stamps(options, input);
  // Sources still beside the files lend their lines to the objects they
  // wrote, as the readers record them; the page shows a line only where the
  // object it names is the one in the file.
  if (disk.exists(names.line_source) && disk.exists(names.train_source)) {
    BuildContext context(disk, reading_options(options));
    build_model(context);
    input.places = source_places(context.state);
  }
  return true;
}

int write_page(const ViewOptions& options) {
  ViewInput input;
  if (options.compiled) {
    std::string failure;
    if (!from_files(options, input, failure)) {
      tell_failure("scenario-compiler: " + failure);
      return exit_status::kFileError;
    }
  } else {
    input = from_sources(options);
  }
  input.title = options.base_name + "_" + options.train_number;
  input.watch = options.watch;
  DiskFileSystem disk;
  const std::string path = page_name(options);
  if (!prepare_folder(disk, parent_folder(path), false, options.language)) return exit_status::kFileError;
  if (IoResult result = disk.replace(path, render_view_page(input)); !result.ok) {
    tell_failure("scenario-compiler: " + result.message);
    return exit_status::kFileError;
  }
  std::cerr << "scenario-compiler: " << trf(options.language, "wrote {1}", {path}) << std::endl;
  return exit_status::kSuccess;
}

// Size and time of each watched file; a file that is missing counts too.
std::vector<std::pair<std::intmax_t, std::filesystem::file_time_type>> signature(
    const std::vector<std::string>& paths) {
  std::vector<std::pair<std::intmax_t, std::filesystem::file_time_type>> result;
  for (const std::string& path : paths) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    const auto time = std::filesystem::last_write_time(path, error);
    result.emplace_back(error ? -1 : static_cast<std::intmax_t>(size),
                        error ? std::filesystem::file_time_type{} : time);
  }
  return result;
}

}  // namespace

int run_view(const ViewOptions& options) {
  if (!options.watch) return write_page(options);
  const ScenarioFileNames names =
      scenario_file_names(options.dir, options.base_name, options.train_number);
  const std::vector<std::string> watched =
      options.compiled
          ? std::vector<std::string>{names.record_table, names.cell_grid, names.plan_geometry}
          : std::vector<std::string>{names.line_source, names.train_source};
  // The files as they were before the page is made, each time: a save while
  // it is made makes it again.
  auto seen = signature(watched);
  write_page(options);
  for (;;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    auto now = signature(watched);
    if (now == seen) continue;
    seen = std::move(now);
    write_page(options);
  }
}

}  // namespace scenario
