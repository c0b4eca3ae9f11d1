#include "app/command_line.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "app/commands.h"
#include "app/diff_command.h"
#include "app/decompile_command.h"
#include "app/dump_command.h"
#include "app/fmt_command.h"
#include "app/lsp_command.h"
#include "app/platform.h"
#include "app/version.h"
#include "language/translate.h"
#include "check/suggest.h"
#include "app/view_command.h"

namespace scenario {

std::optional<std::string> name_problem(const std::string& name, Language language) {
  if (name == "." || name == "..") return trf(language, "must not be \"{1}\"", {name});
  if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos) {
    return tr(language, "must not hold a path separator");
  }
  if (name.find('\0') != std::string::npos) return tr(language, "must not hold a NUL byte");
  return std::nullopt;
}

namespace {

void add_naming_options(CLI::App& command, RunOptions& options, Language language) {
  command.add_option("--dir", options.dir, tr(language, "Folder of every file (default: current folder)"));
  command.add_option("--base", options.base_name, tr(language, "Scenario base name"))
      ->capture_default_str();
  command.add_option("--train", options.train_number, tr(language, "Train number"))->capture_default_str();
  command.add_flag("--quiet", options.quiet, tr(language, "Do not print \"Attendere\""));
}

void add_force_option(CLI::App& command, RunOptions& options, Language language) {
  command.add_flag("--force", options.force,
                   tr(language, "Replace the line and train sources in DIR even where they differ from the "
                   "built-in texts (an author's edits); without it such a source is kept, "
                   "nothing is written and the exit status is 3"));
}

void add_report_option(CLI::App& command, RunOptions& options, Language language) {
  command.add_option("--report", options.report, tr(language, "Write a JSON report of the outcome to FILE"));
}

std::optional<std::string> check_names(const std::string& base_name,
                                       const std::string& train_number, Language language) {
  if (auto problem = name_problem(base_name, language)) return "--base " + *problem;
  if (auto problem = name_problem(train_number, language)) return "--train " + *problem;
  return std::nullopt;
}

// CLI11's words around the help: its labels, the group names and the help
// flag's text. Its type names (TEXT, INT) and its messages for other usage
// errors stay English.
void speak_language(CLI::App& app, Language language) {
  app.option_defaults()->group(tr(language, "Options"));
  app.set_help_flag("-h,--help", tr(language, "Print this help message and exit"));
  const std::shared_ptr<CLI::FormatterBase> formatter = app.get_formatter();
  for (const char* label : {N_("Usage"), N_("OPTIONS"), N_("Positionals"), N_("REQUIRED"),
                            N_("Env"), N_("Excludes"), N_("Needs"), N_("SUBCOMMAND"),
                            N_("SUBCOMMANDS")}) {
    formatter->label(label, tr(language, label));
  }
}

// CLI11's own words for a mistyped command or option, replaced by one line
// that names the word and, where one is near, what was probably meant.
std::optional<std::string> unknown_word_message(const CLI::App& app, const CLI::ParseError& error,
                                                Language language) {
  if (dynamic_cast<const CLI::ExtrasError*>(&error) == nullptr) return std::nullopt;
  const CLI::App* command = nullptr;
  for (const CLI::App* sub : app.get_subcommands({})) {
    if (sub->count() > 0) command = sub;
  }
  const std::vector<std::string> extras = app.remaining(true);
  if (extras.empty()) return std::nullopt;
  const std::string& word = extras.front();
  std::vector<std::string> candidates;
  std::string message = "scenario-compiler: ";
  if (!word.empty() && word[0] == '-') {
    const CLI::App& owner = command != nullptr ? *command : app;
    for (const CLI::Option* option : owner.get_options()) {
      for (const std::string& name : option->get_lnames()) candidates.push_back("--" + name);
    }
    message += command != nullptr
                   ? trf(language, "unknown option '{1}' for {2}", {word, command->get_name()})
                   : trf(language, "unknown option '{1}'", {word});
  } else if (command == nullptr) {
    for (const CLI::App* sub : app.get_subcommands({})) candidates.push_back(sub->get_name());
    message += trf(language, "unknown command '{1}'", {word});
  } else {
    message += trf(language, "unexpected argument '{1}' for {2}", {word, command->get_name()});
  }
  if (auto near = closest_match(word, candidates)) {
    message += trf(language, "; did you mean '{1}'?", {*near});
  }
  message += "\n" + tr(language, "Run with --help for more information.");
  return message;
}

}  // namespace

int run_command_line(int argc, char** argv) {
  prepare_process();
  const Language language = user_language();
  CLI::App app{tr(language,
                  "Compiles a train-driving scenario into the simulator's binary files.\n"
                  "Without a command: the standard run, a build in the executable's folder."),
               "scenario-compiler"};
  speak_language(app, language);
  app.set_version_flag("--version", version_text(),
                       tr(language, "Display program version information and exit"));
  app.require_subcommand(0, 1);

  RunOptions build_options, export_options, compile_options;
  CLI::App* build = app.add_subcommand(
      "build", tr(language, "Write the built-in texts, compile them (deleting the sources) and write the "
               "scenario files"));
  add_naming_options(*build, build_options, language);
  add_report_option(*build, build_options, language);
  add_force_option(*build, build_options, language);

  CLI::App* export_command =
      app.add_subcommand("export", tr(language, "Write the five built-in texts and stop"));
  add_naming_options(*export_command, export_options, language);
  add_force_option(*export_command, export_options, language);

  CLI::App* compile = app.add_subcommand(
      "compile", tr(language, "Compile the line and train sources of DIR into the scenario files"));
  add_naming_options(*compile, compile_options, language);
  add_report_option(*compile, compile_options, language);
  compile->add_flag("--no-geometry", compile_options.no_geometry,
                    tr(language, "Pass over curves and leave the plan geometry file untouched"));
  compile->add_flag("--delete-sources", compile_options.delete_sources,
                    tr(language, "Delete the sources as the standard run does"));
  compile->add_flag("--watch", compile_options.watch, tr(language, "Compile again each time a source is saved"));

  RunOptions check_options;
  CLI::App* check = app.add_subcommand(
      "check", tr(language, "Report every error and warning in the sources, writing no file"));
  add_naming_options(*check, check_options, language);
  check->remove_option(check->get_option("--quiet"));
  check->add_option("--format", check_options.format, tr(language, "Output format"))
      ->check(CLI::IsMember({"text", "json", "sarif"}))
      ->capture_default_str();
  CLI::Option* watch_check = check->add_flag("--watch", check_options.watch,
                                             tr(language, "Check again each time a source is saved"));
  check->add_flag("--all", check_options.all,
                  tr(language, "Check every scenario of DIR: each line source with each of its "
                               "train sources"))
      ->excludes(watch_check)
      ->excludes(check->get_option("--base"))
      ->excludes(check->get_option("--train"));

  std::optional<std::string> explain_id;
  CLI::App* explain =
      app.add_subcommand("explain", tr(language, "Explain a status code or warning id, or list them all"));
  explain->add_option("ID", explain_id, tr(language, "S25, 25, F1250, 1250 or a warning id"));

  DumpOptions dump_options;
  CLI::App* dump = app.add_subcommand("dump", tr(language, "Decode a scenario file and print it"));
  dump->add_option("FILE", dump_options.path, tr(language, "A .sim, _linea.dat or cell grid .dat file"))
      ->required();
  dump->add_flag("--json", dump_options.json, tr(language, "Print JSON instead of text"));
  dump->add_option("--at", dump_options.at,
                   tr(language, "Only the cell of this position in metres (the metre, in a plan geometry)"));
  dump->add_option("--kind", dump_options.kind,
                   tr(language, "Only the cells of this kind (signal, stop-marker, ...; none for empty cells)"));
  CLI::Option* summary = dump->add_flag(
      "--summary", dump_options.summary,
      tr(language, "Counts per kind, the stations in order with their extents and times, the texts"));
  dump->add_flag("--entries", dump_options.entries,
                 tr(language, "The file's entries by meaning, one a line, from this file alone (a git textconv)"))
      ->excludes(summary)
      ->excludes("--json")
      ->excludes("--at")
      ->excludes("--kind");

  ViewOptions view_options;
  CLI::App* view = app.add_subcommand(
      "view", tr(language, "Write one self-contained HTML page that shows the line: plan, profile, speed "
              "limits, every object and the findings"));
  view->add_option("--dir", view_options.dir, tr(language, "Folder of the sources (default: current folder)"));
  view->add_option("--base", view_options.base_name, tr(language, "Scenario base name"))->capture_default_str();
  view->add_option("--train", view_options.train_number, tr(language, "Train number"))->capture_default_str();
  view->add_option("--out", view_options.out, tr(language, "The page to write (default: DIR/NAME_NUMBER.html)"));
  view->add_flag("--compiled", view_options.compiled,
                 tr(language, "Draw the three scenario files of DIR instead of compiling the sources"));
  view->add_flag("--watch", view_options.watch,
                 tr(language, "Write the page again each time a source is saved, until interrupted"));

  FmtOptions fmt_options{"", kDefaultBaseName, kDefaultTrainNumber, false, {}, language};
  CLI::App* fmt = app.add_subcommand(
      "fmt", tr(language, "Rewrite the sources in the canonical layout (values in columns, CR LF "
                          "kept) without changing what they compile to"));
  fmt->add_option("--dir", fmt_options.dir,
                  tr(language, "Folder of the sources (default: current folder)"));
  fmt->add_option("--base", fmt_options.base_name, tr(language, "Scenario base name"))
      ->capture_default_str();
  fmt->add_option("--train", fmt_options.train_number, tr(language, "Train number"))
      ->capture_default_str();
  fmt->add_flag("--check", fmt_options.check,
                tr(language, "Change nothing; name each source not in the layout and exit 1"));
  fmt->add_option("FILE", fmt_options.files,
                  tr(language, "Sources to format instead (*_linea.txt, *-.txt)"));

  DiffOptions diff_options;
  diff_options.language = language;
  CLI::App* diff = app.add_subcommand(
      "diff", tr(language, "Compare two scenarios (folders of compiled files or of sources) by "
                           "meaning: exit 0 when the same, 1 when they differ"));
  diff->add_option("OLD", diff_options.old_folder, tr(language, "Folder of the old scenario"))
      ->required();
  diff->add_option("NEW", diff_options.new_folder, tr(language, "Folder of the new scenario"))
      ->required();
  diff->add_option("--base", diff_options.base_name, tr(language, "Scenario base name"))
      ->capture_default_str();
  diff->add_option("--train", diff_options.train_number, tr(language, "Train number"))
      ->capture_default_str();
  diff->add_option("--format", diff_options.format, tr(language, "Output format"))
      ->check(CLI::IsMember({"text", "json"}))
      ->capture_default_str();

  DecompileOptions decompile_options;
  decompile_options.language = language;
  CLI::App* decompile_command = app.add_subcommand(
      "decompile", tr(language, "Turn the scenario files of DIR back into the line and train "
                               "sources that compile to the same bytes"));
  decompile_command->add_option("--dir", decompile_options.dir,
                                tr(language, "Folder of the scenario files (default: current folder)"));
  decompile_command->add_option("--base", decompile_options.base_name,
                                tr(language, "Scenario base name"))
      ->capture_default_str();
  decompile_command->add_option("--train", decompile_options.train_number,
                                tr(language, "Train number"))
      ->capture_default_str();
  decompile_command->add_option("--out", decompile_options.out,
                                tr(language, "Folder of the sources written (default: DIR; made if missing)"));
  decompile_command->add_flag("--force", decompile_options.force,
                              tr(language, "Replace sources in OUT that differ from the ones decompiled"));
  decompile_command->add_flag("--lossy", decompile_options.lossy,
                              tr(language, "Where the sources cannot express the files exactly, write "
                                           "the nearest sources with those places as comments (exit "
                                           "status 1)"));

  CLI::App* lsp = app.add_subcommand(
      "lsp", tr(language, "Serve the editor protocol on standard input and output: findings while "
                          "typing, quick fixes, hints, hover, completion and an outline"));

  for (CLI::App* command : app.get_subcommands({})) {
    command->group(tr(language, "Subcommands"));
    // Each command's own help flag stands with its other options.
    if (CLI::Option* help = command->get_help_ptr()) help->group(tr(language, "Options"));
  }

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (auto unknown = unknown_word_message(app, error, language)) {
      std::cerr << *unknown << std::endl;
      return exit_status::kUsage;
    }
    const int code = app.exit(error);
    return code == 0 ? exit_status::kSuccess : exit_status::kUsage;
  }

  for (RunOptions* run : {&build_options, &export_options, &compile_options, &check_options}) {
    run->language = language;
  }
  dump_options.language = language;
  view_options.language = language;

  RunOptions* options = nullptr;
  if (build->parsed()) options = &build_options;
  if (export_command->parsed()) options = &export_options;
  if (compile->parsed()) options = &compile_options;
  if (check->parsed()) options = &check_options;
  std::optional<std::string> problem;
  if (options != nullptr) problem = check_names(options->base_name, options->train_number, language);
  if (view->parsed()) problem = check_names(view_options.base_name, view_options.train_number, language);
  if (fmt->parsed()) problem = check_names(fmt_options.base_name, fmt_options.train_number, language);
  if (diff->parsed()) problem = check_names(diff_options.base_name, diff_options.train_number, language);
  if (decompile_command->parsed()) {
    problem = check_names(decompile_options.base_name, decompile_options.train_number, language);
  }
  if (problem) {
    std::cerr << "scenario-compiler: " << *problem << std::endl;
    return exit_status::kUsage;
  }
  if (build->parsed()) return run_build(build_options);
  if (export_command->parsed()) return run_export(export_options);
  if (compile->parsed()) return run_compile(compile_options);
  if (check->parsed()) return run_check(check_options);
  if (explain->parsed()) return run_explain(explain_id, language);
  if (dump->parsed()) return run_dump(dump_options);
  if (view->parsed()) return run_view(view_options);
  if (fmt->parsed()) return run_fmt(fmt_options);
  if (lsp->parsed()) return run_lsp(argc > 0 ? argv[0] : nullptr, language);
  if (diff->parsed()) return run_diff(diff_options);
  if (decompile_command->parsed()) return run_decompile(decompile_options);

  RunOptions standard;
  standard.dir = executable_folder(argc > 0 ? argv[0] : nullptr);
  standard.progress_window = true;
  standard.force = true;  // the executable's own folder holds the program's own files
  standard.language = language;
  return run_build(standard);
}

}  // namespace scenario
