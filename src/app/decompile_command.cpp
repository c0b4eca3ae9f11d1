#include "app/decompile_command.h"

#include <iostream>
#include <vector>

#include "app/commands.h"
#include "app/platform.h"
#include "app/version.h"
#include "decompile/decompile.h"
#include "files/file_names.h"
#include "files/file_system.h"
#include "language/translate.h"

namespace scenario {
namespace {

// "'{1}' is not a valid ... file: {2}" of each file, marked.
const char* not_valid_text(ScenarioFileKind kind) {
  switch (kind) {
    case ScenarioFileKind::plan_geometry: return N_("'{1}' is not a valid plan geometry file: {2}");
    case ScenarioFileKind::record_table: return N_("'{1}' is not a valid record table file: {2}");
    case ScenarioFileKind::cell_grid: break;
  }
  return N_("'{1}' is not a valid cell grid file: {2}");
}

std::string path_of(const ScenarioFileNames& names, ScenarioFileKind kind) {
  switch (kind) {
    case ScenarioFileKind::plan_geometry: return names.plan_geometry;
    case ScenarioFileKind::record_table: return names.record_table;
    case ScenarioFileKind::cell_grid: break;
  }
  return names.cell_grid;
}

}  // namespace

int run_decompile(const DecompileOptions& options) {
  DiskFileSystem disk;
  const Language language = options.language;
  const ScenarioFileNames names =
      scenario_file_names(options.dir, options.base_name, options.train_number);
  std::string table, grid, geometry;
  for (const auto& [path, bytes] : {std::pair{&names.record_table, &table},
                                    std::pair{&names.cell_grid, &grid}}) {
    if (IoResult result = disk.read(*path, *bytes); !result.ok) {
      tell_failure("scenario-compiler: " + result.message);
      return exit_status::kFileError;
    }
  }
  const bool has_geometry = disk.exists(names.plan_geometry);
  if (has_geometry) {
    if (IoResult result = disk.read(names.plan_geometry, geometry); !result.ok) {
      tell_failure("scenario-compiler: " + result.message);
      return exit_status::kFileError;
    }
  }
  ScenarioBytes files{table, grid, std::nullopt};
  if (has_geometry) files.plan_geometry = geometry;
  const Decompiled made = decompile(files, options.base_name, options.train_number);
  if (made.broken_file) {
    tell_failure("scenario-compiler: " + trf(language, not_valid_text(*made.broken_file),
                                             {path_of(names, *made.broken_file), made.error}));
    return exit_status::kFileError;
  }

  // The sources name the program and the files they came from.
  std::vector<std::string> comment = {
      "decompiled by " + version_text() + " from " + bare_name(names.record_table) + " (fnv1a " +
      fnv1a_digest(table) + ") and " + bare_name(names.cell_grid) + " (fnv1a " +
      fnv1a_digest(grid) + ")" +
      (has_geometry ? " and " + bare_name(names.plan_geometry) + " (fnv1a " +
                          fnv1a_digest(geometry) + ")"
                    : std::string())};
  if (!has_geometry) comment.push_back("no plan geometry: compile these sources with --no-geometry");
  if (!made.places.empty()) {
    for (const InexactPlace& place : made.places) {
      const std::string line =
          bare_name(path_of(names, place.file)) + ": " + place_text(place);
      if (!options.lossy) tell_failure("scenario-compiler: " + line);
      comment.push_back("not exact: " + line);
    }
    if (made.place_count > made.places.size()) {
      comment.push_back("not exact: and " + std::to_string(made.place_count - made.places.size()) +
                        " more places");
    }
    for (const std::string& hint : made.hints) {
      if (!options.lossy) tell_failure("scenario-compiler: note: " + hint);
      comment.push_back("note: " + hint);
    }
    if (!options.lossy) {
      const std::string count = std::to_string(made.place_count);
      tell_failure("scenario-compiler: " +
                   (made.place_count == 1
                        ? trf(language,
                              "the sources cannot express {1} place of the files; nothing "
                              "written (--lossy writes the nearest sources)",
                              {count})
                        : trf(language,
                              "the sources cannot express {1} places of the files; nothing "
                              "written (--lossy writes the nearest sources)",
                              {count})));
      return exit_status::kBuildStatus;
    }
  }

  const std::string out_dir = options.out ? *options.out : options.dir;
  // A missing folder is made, as export and build make theirs.
  if (!out_dir.empty() && !prepare_folder(disk, out_dir, false, language)) return exit_status::kFileError;
  const ScenarioFileNames out_names =
      scenario_file_names(out_dir, options.base_name, options.train_number);
  const std::pair<const std::string*, std::string> sources[] = {
      {&out_names.line_source, with_comment(comment, made.line_source)},
      {&out_names.train_source, with_comment(comment, made.train_source)}};
  if (!options.force) {
    bool edited = false;
    for (const auto& [path, text] : sources) {
      std::string held;
      if (disk.exists(*path) && disk.read(*path, held).ok && held != text) {
        tell_failure("scenario-compiler: " +
                     trf(language,
                         "'{1}' differs from the source decompiled; nothing written (--force "
                         "replaces it)",
                         {*path}));
        edited = true;
      }
    }
    if (edited) return exit_status::kFileError;
  }
  for (const auto& [path, text] : sources) {
    if (IoResult result = disk.replace(*path, text); !result.ok) {
      tell_failure("scenario-compiler: " + result.message);
      return exit_status::kFileError;
    }
    std::cerr << "scenario-compiler: " << trf(language, "wrote {1}", {*path}) << std::endl;
  }
  return made.places.empty() ? exit_status::kSuccess : exit_status::kBuildStatus;
}

}  // namespace scenario
