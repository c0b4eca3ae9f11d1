#include "app/command_line.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "app/commands.h"
#include "app/platform.h"

namespace scenario {

std::optional<std::string> name_problem(const std::string& name) {
  if (name == "." || name == "..") return "must not be \"" + name + "\"";
  if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos) {
    return "must not hold a path separator";
  }
  if (name.find('\0') != std::string::npos) return "must not hold a NUL byte";
  return std::nullopt;
}

namespace {

void add_naming_options(CLI::App& command, RunOptions& options) {
  command.add_option("--dir", options.dir, "Folder of every file (default: current folder)");
  command.add_option("--base", options.base_name, "Scenario base name")
      ->capture_default_str();
  command.add_option("--train", options.train_number, "Train number")->capture_default_str();
  command.add_flag("--quiet", options.quiet, "Do not print \"Attendere\"");
}

void add_force_option(CLI::App& command, RunOptions& options) {
  command.add_flag("--force", options.force,
                   "Replace the line and train sources in DIR even where they differ from the "
                   "built-in texts (an author's edits); without it such a source is kept, "
                   "nothing is written and the exit status is 3");
}

void add_report_option(CLI::App& command, RunOptions& options) {
  command.add_option("--report", options.report, "Write a JSON report of the outcome to FILE");
}

std::optional<std::string> check_names(const RunOptions& options) {
  if (auto problem = name_problem(options.base_name)) return "--base " + *problem;
  if (auto problem = name_problem(options.train_number)) return "--train " + *problem;
  return std::nullopt;
}

}  // namespace

int run_command_line(int argc, char** argv) {
  prepare_process();
  CLI::App app{"Compiles a train-driving scenario into the simulator's binary files.\n"
               "Without a command: the standard run, a build in the executable's folder.",
               "scenario-compiler"};
  app.set_version_flag("--version", SCENARIO_COMPILER_VERSION);
  app.require_subcommand(0, 1);

  RunOptions build_options, export_options, compile_options;
  CLI::App* build = app.add_subcommand(
      "build", "Write the built-in texts, compile them (deleting the sources) and write the "
               "scenario files");
  add_naming_options(*build, build_options);
  add_report_option(*build, build_options);
  add_force_option(*build, build_options);

  CLI::App* export_command =
      app.add_subcommand("export", "Write the five built-in texts and stop");
  add_naming_options(*export_command, export_options);
  add_force_option(*export_command, export_options);

  CLI::App* compile = app.add_subcommand(
      "compile", "Compile the line and train sources of DIR into the scenario files");
  add_naming_options(*compile, compile_options);
  add_report_option(*compile, compile_options);
  compile->add_flag("--no-geometry", compile_options.no_geometry,
                    "Pass over curves and leave the plan geometry file untouched");
  compile->add_flag("--delete-sources", compile_options.delete_sources,
                    "Delete the sources as the standard run does");

  std::string dump_path;
  bool dump_json = false;
  CLI::App* dump = app.add_subcommand("dump", "Decode a scenario file and print it");
  dump->add_option("FILE", dump_path, "A .sim, _linea.dat or cell grid .dat file")->required();
  dump->add_flag("--json", dump_json, "Print JSON instead of text");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    return code == 0 ? exit_status::kSuccess : exit_status::kUsage;
  }

  RunOptions* options = nullptr;
  if (build->parsed()) options = &build_options;
  if (export_command->parsed()) options = &export_options;
  if (compile->parsed()) options = &compile_options;
  if (options != nullptr) {
    if (auto problem = check_names(*options)) {
      std::cerr << "scenario-compiler: " << *problem << std::endl;
      return exit_status::kUsage;
    }
  }
  if (build->parsed()) return run_build(build_options);
  if (export_command->parsed()) return run_export(export_options);
  if (compile->parsed()) return run_compile(compile_options);
  if (dump->parsed()) return run_dump(dump_path, dump_json);

  RunOptions standard;
  standard.dir = executable_folder(argc > 0 ? argv[0] : nullptr);
  standard.progress_window = true;
  standard.force = true;  // the executable's own folder holds the program's own files
  return run_build(standard);
}

}  // namespace scenario
