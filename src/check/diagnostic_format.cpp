#include "check/diagnostic_format.h"

#include <algorithm>

#include "language/translate.h"

namespace scenario {
namespace {

std::string where_prefix(const Diagnostic& diagnostic) {
  if (!diagnostic.where || diagnostic.where->file.empty()) return "scenario-compiler: ";
  const SourcePoint& where = *diagnostic.where;
  std::string prefix = where.file;
  if (where.line > 0) {
    prefix += ':';
    prefix += std::to_string(where.line);
    if (where.column > 0) {
      prefix += ':';
      prefix += std::to_string(where.column);
    }
  }
  prefix += ": ";
  return prefix;
}

// The caret sits under the column's byte, or just after the line's end for a
// column beyond it (a value missing at the end of the line), and tildes
// underline the rest of the field up to its end column; tabs before the caret
// are copied so that it lines up whatever width the terminal gives a tab.
std::string caret_line(const std::string& source_line, std::int32_t column,
                       std::int32_t end_column) {
  const std::size_t before =
      std::min(static_cast<std::size_t>(column - 1), source_line.size());
  std::string caret;
  for (std::size_t at = 0; at < before; ++at) caret += source_line[at] == '\t' ? '\t' : ' ';
  caret += '^';
  if (end_column > column + 1) {
    const std::size_t end = std::min(static_cast<std::size_t>(end_column - 1), source_line.size());
    if (end > before + 1) caret.append(end - before - 1, '~');
  }
  return caret;
}


}  // namespace

std::string_view severity_name(Severity severity) {
  switch (severity) {
    case Severity::error: return "error";
    case Severity::warning: return "warning";
    case Severity::note: return "note";
  }
  return "";
}

std::string format_diagnostic(const Diagnostic& diagnostic) {
  std::string text = where_prefix(diagnostic);
  text += severity_name(diagnostic.severity);
  text += ": ";
  text += diagnostic.message;
  if (!diagnostic.id.empty()) {
    text += " [";
    text += diagnostic.id;
    text += ']';
  }
  text += '\n';
  if (diagnostic.where && diagnostic.where->line > 0 && !diagnostic.source_line.empty()) {
    text += diagnostic.source_line;
    text += '\n';
    if (diagnostic.where->column > 0) {
      text += caret_line(diagnostic.source_line, diagnostic.where->column,
                         diagnostic.where->end_column);
      text += '\n';
    }
  }
  for (const Diagnostic& note : diagnostic.notes) text += format_diagnostic(note);
  return text;
}

FindingCounts count_findings(const std::vector<Diagnostic>& diagnostics) {
  FindingCounts counts;
  for (const Diagnostic& diagnostic : diagnostics) {
    if (diagnostic.severity == Severity::error) ++counts.errors;
    if (diagnostic.severity == Severity::warning) ++counts.warnings;
  }
  return counts;
}

std::string counts_text(FindingCounts counts, Language language) {
  const std::string errors = std::to_string(counts.errors);
  const std::string warnings = std::to_string(counts.warnings);
  return (counts.errors == 1 ? trf(language, "{1} error", {errors})
                             : trf(language, "{1} errors", {errors})) +
         ", " +
         (counts.warnings == 1 ? trf(language, "{1} warning", {warnings})
                               : trf(language, "{1} warnings", {warnings}));
}

}  // namespace scenario
