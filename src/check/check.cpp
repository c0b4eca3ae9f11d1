#include "check/check.h"

#include <algorithm>
#include <utility>

#include "files/file_names.h"
#include "language/translate.h"
#include "sources/build_model.h"
#include "sources/source_text.h"

namespace scenario {
namespace {

// The files as `check` sees them: read, never written nor deleted.
class ReadOnlyFiles final : public FileSystem {
 public:
  explicit ReadOnlyFiles(FileSystem& files) : files_(files) {}

  bool exists(const std::string& path) override { return files_.exists(path); }
  IoResult read(const std::string& path, std::string& content) override {
    return files_.read(path, content);
  }
  IoResult replace(const std::string& path, std::string_view) override {
    return IoResult::failure("check writes no file: '" + path + "' left as it is");
  }
  IoResult remove(const std::string& path) override {
    return IoResult::failure("check deletes no file: '" + path + "' left as it is");
  }
  std::optional<std::vector<std::string>> list_folder(const std::string& folder) override {
    return files_.list_folder(folder);
  }
  std::string full_path(const std::string& path) override { return files_.full_path(path); }

 private:
  FileSystem& files_;
};

bool same_place(const std::optional<SourcePoint>& where, const SourcePoint& place) {
  return where && where->file == place.file && where->line == place.line;
}

// Whether `finding` is the error of the final status `status`: same code,
// and the same file and line where the status has them.
bool tells_status(const Diagnostic& finding, const BuildStatus& status) {
  if (finding.severity != Severity::error || finding.code != status.code) return false;
  if (!status.origin) return true;
  return same_place(finding.where, SourcePoint{status.origin->file, status.origin->line, 0});
}

// Line source first, then the train source, then findings tied to no text;
// in each, by line and column. Notes stay under their finding.
void sort_in_source_order(std::vector<Diagnostic>& findings, const std::string& line_file,
                          const std::string& train_file) {
  const auto rank = [&](const Diagnostic& finding) {
    if (!finding.where) return 2;
    if (finding.where->file == line_file) return 0;
    return finding.where->file == train_file ? 1 : 2;
  };
  std::stable_sort(findings.begin(), findings.end(), [&](const Diagnostic& a, const Diagnostic& b) {
    const int ra = rank(a);
    const int rb = rank(b);
    if (ra != rb) return ra < rb;
    if (ra == 2) return false;
    if (a.where->line != b.where->line) return a.where->line < b.where->line;
    return a.where->column < b.where->column;
  });
}

// Puts the final status of a compile among the findings: found already, a
// note under its root cause, or else an error of its own.
void place_compile_status(std::vector<Diagnostic>& findings, const BuildState& compiled,
                          Language language) {
  if (compiled.status.code == status::kNone) return;
  for (const Diagnostic& finding : findings) {
    if (tells_status(finding, compiled.status)) return;
  }
  const Diagnostic* told = status_diagnostic(compiled);
  Diagnostic error;
  if (told != nullptr) {
    error = *told;
  } else {
    error.id = status_id(compiled.status.code);
    error.code = compiled.status.code;
    error.message = tr(language, status_meaning(compiled.status.code));
  }
  if (error.root) {
    for (Diagnostic& finding : findings) {
      if (finding.severity != Severity::error || !same_place(finding.where, *error.root)) continue;
      Diagnostic note = std::move(error);
      note.severity = Severity::note;
      note.id.clear();
      note.notes.clear();
      note.message = trf(language,
                         "compile reports status {1} here instead: the status this error leaves "
                         "set stops the train reading at the first signal or speed restriction",
                         {std::to_string(code_number(compiled.status.code))});
      finding.notes.push_back(std::move(note));
      return;
    }
  }
  // A status of the same sources that a `check` run does not reach on its
  // own way (its reading went on differently after an earlier error).
  if (compiled.status.origin) {
    error.where = SourcePoint{compiled.status.origin->file, compiled.status.origin->line,
                              error.where ? error.where->column : 0,
                              error.where ? error.where->end_column : 0};
  }
  findings.push_back(std::move(error));
}

bool has_error(const std::vector<Diagnostic>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const Diagnostic& finding) { return finding.severity == Severity::error; });
}

}  // namespace

Diagnostic fatal_diagnostic(const BuildContext& context, std::int32_t number) {
  Diagnostic finding;
  finding.id = fatal_id(number);
  const Language language = context.options.language;
  std::string holder = tr(language, "an object");
  if (context.state.grid && context.state.grid->contains(1)) {
    const std::uint8_t kind = (*context.state.grid)[1].kind;
    const auto found = context.state.occupants.find(1);
    holder = object_name(kind, language);
    if (found != context.state.occupants.end() && found->second.kind == kind) {
      const CellOccupant& occupant = found->second;
      holder = trf(language, "{1} at {2} m", {holder, std::to_string(occupant.position)});
      finding.where = occupant.where;
      finding.source_line = occupant.source_line;
      finding.position = occupant.position;
    } else if (kind == cell_kind::kReductionPoint) {
      holder = trf(language, "{1}, added by the code-reduction pass,", {holder});
    }
  }
  finding.message =
      number == 1250
          ? trf(language,
                "cell 1 of the grid is reserved for the header stamps (the grid marker), but {1} "
                "stands there: move that entry so that its object leaves cell 1; no scenario "
                "file is written",
                {holder})
          : trf(language,
                "cell 1 of the grid is reserved for the header stamps (an integrity code), but "
                "{1} stands there: move that entry so that its object leaves cell 1; no scenario "
                "file is written",
                {holder});
  return finding;
}

CheckReading read_going_on(FileSystem& files, const BuildOptions& options,
                           bool geometry_points) {
  ReadOnlyFiles view(files);
  CheckReading reading;
  BuildOptions checking = options;
  checking.geometry_points = geometry_points;
  checking.delete_sources = false;
  checking.keep_going = true;
  BuildContext context(view, checking);
  reading.fatal = build_model(context);
  reading.diagnostics = std::move(context.state.diagnostics);
  reading.file_error = context.state.source_error;
  if (context.state.grid) reading.grid_last_index = context.state.grid->last_index();
  reading.status = context.state.status;
  if (reading.fatal) reading.fatal_finding = fatal_diagnostic(context, *reading.fatal);
  reading.line_file = bare_name(context.names.line_source);
  reading.train_file = bare_name(context.names.train_source);
  return reading;
}

CheckResult check_sources(FileSystem& files, const BuildOptions& options, CheckReading reading) {
  CheckResult result;
  result.diagnostics = std::move(reading.diagnostics);
  result.file_error = std::move(reading.file_error);
  result.grid_last_index = reading.grid_last_index;
  const bool errors_on_the_way = has_error(result.diagnostics);
  if (reading.fatal_finding) result.diagnostics.push_back(std::move(*reading.fatal_finding));

  if (!errors_on_the_way) {
    // Without an error the reading went exactly as a compile's.
    result.compile_status = reading.status;
    result.compile_fatal = reading.fatal;
  } else {
    ReadOnlyFiles view(files);
    BuildOptions compiling = options;
    compiling.geometry_points = false;
    compiling.delete_sources = false;
    compiling.keep_going = false;
    BuildContext compiled(view, compiling);
    const std::optional<std::int32_t> compiled_fatal = build_model(compiled);
    result.compile_status = compiled.state.status;
    result.compile_fatal = compiled_fatal;
    place_compile_status(result.diagnostics, compiled.state, options.language);
    if (compiled_fatal && !reading.fatal) {
      result.diagnostics.push_back(fatal_diagnostic(compiled, *compiled_fatal));
    }
  }
  sort_in_source_order(result.diagnostics, reading.line_file, reading.train_file);
  return result;
}

CheckResult check_sources(FileSystem& files, const BuildOptions& options, bool geometry_points) {
  return check_sources(files, options, read_going_on(files, options, geometry_points));
}

}  // namespace scenario
