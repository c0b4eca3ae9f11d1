#include "testing/check_properties.h"

#include "check/diagnostic_format.h"
#include "model/cell_grid.h"
#include "sources/build_model.h"
#include "testing/memory_file_system.h"

namespace scenario::testing {
namespace {

std::string status_text(const BuildStatus& status) {
  std::string text = std::to_string(code_number(status.code));
  text += " at ";
  text += std::to_string(status.position);
  if (status.origin) {
    text += " from ";
    text += status.origin->file;
    text += ":";
    text += std::to_string(status.origin->line);
  }
  return text;
}

bool same_status(const BuildStatus& a, const BuildStatus& b) {
  return a.code == b.code && a.position == b.position && a.origin == b.origin;
}

bool is_status_of(const Diagnostic& finding, const BuildStatus& status) {
  if (finding.code != status.code) return false;
  if (!status.origin) return true;
  return finding.where && finding.where->file == status.origin->file &&
         finding.where->line == status.origin->line;
}

// The two sources in memory under the default names.
MemoryFileSystem with_sources(std::string_view line_source, std::string_view train_source) {
  MemoryFileSystem files;
  const ScenarioFileNames names = scenario_file_names("", kDefaultBaseName, kDefaultTrainNumber);
  files.files[names.line_source] = std::string(line_source);
  files.files[names.train_source] = std::string(train_source);
  return files;
}

// Everything a reading found, as text.
std::string reading_text(const CheckReading& reading) {
  std::string text;
  for (const Diagnostic& finding : reading.diagnostics) text += finding_text(finding) + "\n";
  if (reading.fatal_finding) text += finding_text(*reading.fatal_finding) + "\n";
  text += "status " + status_text(reading.status);
  if (reading.fatal) text += ", fatal " + std::to_string(*reading.fatal);
  if (reading.file_error) text += ", file error " + *reading.file_error;
  return text + ", grid " + std::to_string(reading.grid_last_index) + "\n";
}

// Whether two findings read the same as `finding_text` writes them: the same
// words at the same place, and the same notes.
bool same_finding(const Diagnostic& a, const Diagnostic& b) {
  if (a.severity != b.severity || a.id != b.id || a.message != b.message || a.where != b.where ||
      a.notes.size() != b.notes.size()) {
    return false;
  }
  for (std::size_t k = 0; k < a.notes.size(); ++k) {
    if (!same_finding(a.notes[k], b.notes[k])) return false;
  }
  return true;
}

// Whether two readings found the same, as `reading_text` writes it (which
// says how they differ).
bool same_reading(const CheckReading& a, const CheckReading& b) {
  if (a.diagnostics.size() != b.diagnostics.size() ||
      a.fatal_finding.has_value() != b.fatal_finding.has_value() ||
      !same_status(a.status, b.status) || a.fatal != b.fatal || a.file_error != b.file_error ||
      a.grid_last_index != b.grid_last_index) {
    return false;
  }
  if (a.fatal_finding && !same_finding(*a.fatal_finding, *b.fatal_finding)) return false;
  for (std::size_t k = 0; k < a.diagnostics.size(); ++k) {
    if (!same_finding(a.diagnostics[k], b.diagnostics[k])) return false;
  }
  return true;
}

// An error other than a fatal stamping error, which check adds after its reading.
bool has_reading_error(const CheckResult& result) {
  for (const Diagnostic& finding : result.diagnostics) {
    if (finding.severity == Severity::error && finding.id != fatal_id(1250) &&
        finding.id != fatal_id(1251)) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::string finding_text(const Diagnostic& finding) {
  std::string text;
  if (finding.where) {
    text += finding.where->file + ":" + std::to_string(finding.where->line) + ":" +
            std::to_string(finding.where->column);
    if (finding.where->column > 0) {
      text += '-';
      text += std::to_string(finding.where->end_column);
    }
    text += ": ";
  }
  text += severity_name(finding.severity);
  text += ": " + finding.message;
  if (!finding.id.empty()) text += " [" + finding.id + "]";
  for (const Diagnostic& note : finding.notes) text += "\n  " + finding_text(note);
  return text;
}

std::string findings_text(const CheckResult& result) {
  std::string text;
  for (const Diagnostic& finding : result.diagnostics) text += finding_text(finding) + "\n";
  return text;
}

CheckResult check_in_memory(std::string_view line_source, std::string_view train_source) {
  return check_in_memory(line_source, train_source, Language::english);
}

CheckResult check_in_memory(std::string_view line_source, std::string_view train_source,
                            Language language) {
  MemoryFileSystem files = with_sources(line_source, train_source);
  BuildOptions options;
  options.language = language;
  return check_sources(files, options);
}

std::optional<std::string> check_check_properties(std::string_view line_source,
                                                  std::string_view train_source,
                                                  std::int64_t longest_line_with_points) {
  MemoryFileSystem files = with_sources(line_source, train_source);
  const auto before = files.files;
  CheckReading reading = read_going_on(files, BuildOptions{});
  // No finding depends on the plan geometry's points: computing them changes
  // nothing the reading finds (the status included). They cost a metre of
  // work each, so a fast run leaves them out for long lines.
  if (longest_line_with_points >= 1000000 ||
      reading.grid_last_index <=
          grid_last_index_for_length(static_cast<std::int32_t>(longest_line_with_points))) {
    const CheckReading with_points = read_going_on(files, BuildOptions{}, true);
    if (!same_reading(with_points, reading)) {
      return "check's findings differ with the plan geometry's points:\n" +
             reading_text(with_points) + "without them:\n" + reading_text(reading);
    }
  }
  const CheckResult checked = check_sources(files, BuildOptions{}, std::move(reading));
  if (files.files != before) return "check changed the files";
  if (checked.file_error) return "check failed a file operation: " + *checked.file_error;

  // The compile's status and fatal error are set by its reading, before it
  // writes a file: the files are left out. Its reading keeps only how far
  // the plan geometry reaches: the points change no status (check's own
  // reading walks the same curves with them above, and says every status
  // the walk sets). When the sources hold an error, check took the status
  // from a compile's reading of its own; without one, from the reading that
  // went on, which a compile's must then match (a fatal stamping error comes
  // after the reading).
  BuildStatus status = checked.compile_status;
  std::optional<std::int32_t> fatal = checked.compile_fatal;
  if (!has_reading_error(checked)) {
    MemoryFileSystem compiled_files = with_sources(line_source, train_source);
    BuildOptions compiling;
    compiling.geometry_points = false;
    BuildContext compiled(compiled_files, compiling);
    fatal = build_model(compiled);
    status = compiled.state.status;
    if (!same_status(checked.compile_status, status)) {
      return "check's compile status " + status_text(checked.compile_status) +
             " differs from the compile's " + status_text(status);
    }
    if (checked.compile_fatal != fatal) return "check's compile fatal error differs from the compile's";
  }
  if (fatal) {
    const std::string id = fatal_id(*fatal);
    bool told = false;
    for (const Diagnostic& finding : checked.diagnostics) told = told || finding.id == id;
    if (!told) return "the compile's fatal error " + id + " is not among check's findings";
  }
  if (status.code == status::kNone) return std::nullopt;
  for (const Diagnostic& finding : checked.diagnostics) {
    if (finding.severity == Severity::error && is_status_of(finding, status)) return std::nullopt;
    for (const Diagnostic& note : finding.notes) {
      if (finding.severity == Severity::error && note.code == status.code &&
          is_status_of(note, status)) {
        return std::nullopt;
      }
    }
  }
  return "the compile's status " + status_text(status) + " is not among check's findings:\n" +
         findings_text(checked);
}

}  // namespace scenario::testing
