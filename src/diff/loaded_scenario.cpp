#include "diff/loaded_scenario.h"

#include "language/translate.h"

#include <utility>

#include "files/file_names.h"
#include "output/scenario_writer.h"
#include "sources/build_model.h"

namespace scenario {
namespace {

std::string quoted_folder(FileSystem& files, const std::string& folder) {
  std::string text(1, '\'');
  text += files.full_path(folder.empty() ? "." : folder);
  text += '\'';
  return text;
}

// The scenario the sources of the folder build, as `compile` would write it.
struct BuiltScenario {
  std::string table_bytes;
  std::string grid_bytes;
  std::optional<std::string> geometry_bytes;
  BuildState state;
};

bool build_sources(FileSystem& files, const std::string& folder, const std::string& base_name,
                   const std::string& train_number, BuiltScenario& built, std::string& error,
                   Language language) {
  BuildContext context(files, options_for(folder, base_name, train_number, false));
  const std::optional<std::int32_t> fatal = build_model(context);
  BuildState& state = context.state;
  for (const auto& failure : {state.file_error, state.source_error}) {
    if (failure) {
      error = *failure;
      return false;
    }
  }
  if (!state.grid || !state.grid->contains(1)) {
    error = trf(language,
                "the sources in {1} build no scenario: the line source stops with status {2} "
                "before the line length",
                {quoted_folder(files, folder), std::to_string(code_number(state.status.code))});
    return false;
  }
  if (fatal) {
    error = trf(language, "the sources in {1} build no scenario: fatal error {2}",
                {quoted_folder(files, folder), std::to_string(*fatal)});
    return false;
  }
  built.table_bytes = encode_record_table(state.table);
  built.grid_bytes = encode_cell_grid(*state.grid);
  if (state.geometry) built.geometry_bytes = std::string(plan_geometry_file(*state.geometry));
  built.state = std::move(state);
  return true;
}

void take_lines(BuildState& state, LoadedScenario& scenario) {
  scenario.lines_known = true;
  scenario.occupants = std::move(state.occupants);
  scenario.row_origins = std::move(state.row_origins);
  scenario.tunnel_origins = std::move(state.tunnel_origins);
  scenario.speed_origins = std::move(state.speed_origins);
  scenario.adhesion_origins = std::move(state.adhesion_origins);
  scenario.gradient_origins = std::move(state.gradient_origins);
  scenario.curve_origins = std::move(state.curve_origins);
}

// Decodes the bytes through the one decoder of the scenario files; a file
// that is not one is named in the error.
bool decode_all(const ScenarioFileNames& names, LoadedScenario& scenario, std::string& error) {
  DecodedScenario decoded;
  const std::string_view geometry =
      scenario.geometry_bytes ? std::string_view(*scenario.geometry_bytes) : std::string_view();
  if (!decode_scenario(scenario.table_bytes, scenario.grid_bytes,
                       scenario.geometry_bytes ? &geometry : nullptr, decoded, error)) {
    const std::string& path = error.find("record table") != std::string::npos ? names.record_table
                              : error.find("cell grid") != std::string::npos  ? names.cell_grid
                                                                              : names.plan_geometry;
    error = "'" + path + "' is " + error;
    return false;
  }
  scenario.table = std::move(decoded.table);
  scenario.grid = std::move(decoded.grid);
  scenario.geometry = std::move(decoded.geometry);
  return true;
}

bool read_file(FileSystem& files, const std::string& path, std::string& bytes,
               std::string& error) {
  if (IoResult result = files.read(path, bytes); !result.ok) {
    error = result.message;
    return false;
  }
  return true;
}

}  // namespace

bool load_scenario(FileSystem& files, const std::string& folder, const std::string& base_name,
                   const std::string& train_number, LoadedScenario& scenario, std::string& error,
                   Language language) {
  const ScenarioFileNames names = scenario_file_names(folder, base_name, train_number);
  scenario = LoadedScenario{};
  scenario.folder = folder;
  const bool table_there = files.exists(names.record_table);
  const bool grid_there = files.exists(names.cell_grid);
  if (table_there || grid_there) {
    scenario.origin = ScenarioOrigin::compiled_files;
    // A record table without its cell grid (or the other way) is half a
    // scenario: reading it stops at the missing one.
    if (!read_file(files, names.record_table, scenario.table_bytes, error) ||
        !read_file(files, names.cell_grid, scenario.grid_bytes, error)) {
      return false;
    }
    if (files.exists(names.plan_geometry)) {
      std::string bytes;
      if (!read_file(files, names.plan_geometry, bytes, error)) return false;
      scenario.geometry_bytes = std::move(bytes);
    }
    if (!decode_all(names, scenario, error)) {
      return false;
    }
    // Sources beside the files lend their lines only when they build these
    // very bytes; otherwise a line would point at an entry that is not the
    // one in the files.
    if (files.exists(names.line_source) && files.exists(names.train_source)) {
      BuiltScenario built;
      std::string ignored;
      if (build_sources(files, folder, base_name, train_number, built, ignored, language) &&
          built.table_bytes == scenario.table_bytes && built.grid_bytes == scenario.grid_bytes &&
          (!scenario.geometry_bytes || built.geometry_bytes == scenario.geometry_bytes)) {
        take_lines(built.state, scenario);
      } else {
        scenario.stale_sources = true;
      }
    }
    return true;
  }
  // A train source alone, or a line source alone, is no scenario: most
  // likely another name or number was meant.
  if (!files.exists(names.line_source) || !files.exists(names.train_source)) {
    if (!files.list_folder(folder)) {
      error = trf(language, "cannot read the folder {1}", {quoted_folder(files, folder)});
      return false;
    }
    error = trf(language, "{1} holds neither the scenario files {2} and {3} nor the sources {4} and {5}",
                {quoted_folder(files, folder), bare_name(names.record_table),
                 bare_name(names.cell_grid), bare_name(names.line_source),
                 bare_name(names.train_source)});
    return false;
  }
  BuiltScenario built;
  if (!build_sources(files, folder, base_name, train_number, built, error, language)) return false;
  scenario.origin = ScenarioOrigin::sources;
  scenario.table_bytes = std::move(built.table_bytes);
  scenario.grid_bytes = std::move(built.grid_bytes);
  scenario.geometry_bytes = std::move(built.geometry_bytes);
  scenario.status = built.state.status;
  take_lines(built.state, scenario);
  return decode_all(names, scenario, error);
}

}  // namespace scenario
