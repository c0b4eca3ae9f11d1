#include "sources/source_text.h"

#include <utility>

#include "language/translate.h"

namespace scenario {
namespace {

// Digits, a decimal point or comma, digits: a number written with decimals.
bool looks_decimal(std::string_view text) {
  std::size_t i = text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1;
  const auto digits = [&] {
    const std::size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i > start;
  };
  if (!digits() || i >= text.size() || (text[i] != '.' && text[i] != ',')) return false;
  ++i;
  return digits();
}


std::string number_text(std::int64_t value) { return std::to_string(value); }

// "the a", "the a and the b", "3 values, the a to the c".
std::string missing_values(const SourceKeyword& keyword, std::size_t from, Language language) {
  const std::size_t total = std::max(keyword.fields.size(), from + 1);
  const std::size_t count = total - from;
  const std::string first = value_name(keyword, from, language);
  if (count == 1) return trf(language, "the {1}", {first});
  if (count == 2) {
    return trf(language, "the {1} and the {2}",
               {first, value_name(keyword, from + 1, language)});
  }
  return trf(language, "{1} values, the {2} to the {3}",
             {number_text(static_cast<std::int64_t>(count)), first,
              value_name(keyword, total - 1, language)});
}

}  // namespace

std::string quoted(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

void delete_source(BuildContext& context, const std::string& path) {
  if (!context.options.delete_sources || !context.files.exists(path)) return;
  IoResult result = context.files.remove(path);
  if (!result.ok && !context.state.file_error) context.state.file_error = result.message;
}

void take_failure_path(BuildContext& context, std::optional<SourceLine> origin) {
  delete_source(context, context.names.line_source);
  delete_source(context, context.names.train_source);
  set_reader_status(context.state.status, status::kReadFailure, std::nullopt, std::move(origin));
}

Diagnostic unplaced_error(StatusCode code, std::string message) {
  Diagnostic finding;
  finding.id = status_id(code);
  finding.code = code;
  finding.message = std::move(message);
  return finding;
}

void report_status(BuildContext& context, Diagnostic finding, std::optional<SourceLine> origin) {
  BuildStatus& status = context.state.status;
  const StatusCode code = finding.code.value_or(status::kReadFailure);
  context.state.diagnostics.push_back(std::move(finding));
  if (context.options.keep_going) {
    status.code = status::kNone;
    status.origin.reset();
    return;
  }
  if (code == status::kReadFailure) {
    take_failure_path(context, std::move(origin));
  } else {
    set_reader_status(status, code, std::nullopt, std::move(origin));
  }
}

std::optional<std::string> read_source(BuildContext& context, const std::string& path) {
  std::string text;
  IoResult result = context.files.read(path, text);
  if (result.ok) return text;
  // The status says the reading failed; the message says why.
  context.state.source_error = result.message;
  Diagnostic finding = unplaced_error(
      status::kReadFailure,
      trf(context.options.language, "the source could not be read: {1}", {result.message}));
  finding.where = SourcePoint{bare_name(path), 0, 0};
  report_status(context, std::move(finding), std::nullopt);
  return std::nullopt;
}

SourceText::SourceText(BuildContext& context, const std::string& path, std::string text)
    : context_(context), file_(bare_name(path)), text_(std::move(text)), fields_(text_) {}

Diagnostic SourceText::at(Severity severity, const FieldPlace& place, std::string message) const {
  Diagnostic finding;
  finding.severity = severity;
  finding.where = point(place);
  finding.message = std::move(message);
  finding.source_line = line_of(place);
  return finding;
}

std::string SourceText::line_of(const FieldPlace& place) const {
  return std::string(fields_.line_text(place.line_start));
}

void SourceText::error(StatusCode code, std::optional<std::int32_t> position,
                       const FieldPlace& place, std::string message,
                       std::optional<Diagnostic> note) {
  Diagnostic finding = at(Severity::error, place, std::move(message));
  finding.id = status_id(code);
  finding.code = code;
  finding.position = position;
  if (note) finding.notes.push_back(std::move(*note));
  if (position) context_.state.status.position = *position;
  report_status(context_, std::move(finding), origin(place));
}

Diagnostic SourceText::read_failure(const SourceKeyword& keyword, const FieldPlace& entry,
                                    std::size_t value_index) const {
  const FieldPlace& field = fields_.field_place();
  const Language language = this->language();
  const std::string name = value_name(keyword, value_index, language);
  const std::string what = entry_name(keyword, language);
  const std::string found = quoted(fields_.fault_text());
  // The status is set at the entry's line; the column is the failed field's
  // where it stands on that line.
  FieldPlace place = entry;
  if (field.line == entry.line) {
    place.column = field.column;
    place.end_column = field.end_column;
  }
  std::string message;
  switch (fields_.fault()) {
    case FieldFault::at_end:
      message = trf(language, "the {1} entry is cut short by the end of the text: missing {2}",
                    {what, missing_values(keyword, value_index, language)});
      break;
    case FieldFault::not_a_number:
      if (field.line != entry.line) {
        message = trf(language,
                      "the {1} entry is cut short: missing {2} (found {3} on line {4} instead)",
                      {what, missing_values(keyword, value_index, language), found,
                       number_text(field.line)});
      } else if (looks_decimal(fields_.fault_text())) {
        message = trf(language,
                      "expected a whole number for the {1}, found {2}: the sources hold whole "
                      "numbers only, with no decimals",
                      {name, found});
      } else {
        message = trf(language, "expected a whole number for the {1}, found {2}", {name, found});
      }
      break;
    case FieldFault::too_large:
      message = trf(language,
                    "the {1} {2} is outside the range of a number, -2147483648..2147483647",
                    {name, found});
      break;
    case FieldFault::out_of_range:
      message = trf(language, "the {1} {2} does not fit its field: allowed {3}..{4}",
                    {name, number_text(fields_.fault_value()), number_text(fields_.fault_min()),
                     number_text(fields_.fault_max())});
      break;
    case FieldFault::text_too_long:
      message = trf(language, "the {1} is longer than 65535 bytes", {name});
      break;
    case FieldFault::none:
      message = trf(language, "the {1} could not be read", {name});
      break;
  }
  if (field.line != entry.line && fields_.fault() != FieldFault::not_a_number &&
      fields_.fault() != FieldFault::at_end) {
    message += trf(language, " (line {1}, column {2})",
                   {number_text(field.line), number_text(field.column)});
  }
  Diagnostic finding = at(Severity::error, place, std::move(message));
  finding.id = status_id(status::kReadFailure);
  finding.code = status::kReadFailure;
  return finding;
}

void SourceText::resume_after_error(const FieldPlace& entry) {
  if (fields_.fault() != FieldFault::none) {
    const FieldPlace failed = fields_.field_place();
    if (failed.line > entry.line && fields_.fault() == FieldFault::not_a_number) {
      fields_.go_to_line_of(failed);
    } else {
      fields_.skip_to_next_line(false);
    }
    fields_.clear_fault();
    return;
  }
  fields_.skip_to_next_line(true);
}

void SourceText::warn(WarningKind kind, const FieldPlace& place, std::string message,
                      std::optional<Diagnostic> note) {
  Diagnostic finding = at(Severity::warning, place, std::move(message));
  finding.id = std::string(warning_id(kind));
  if (note) finding.notes.push_back(std::move(*note));
  context_.state.diagnostics.push_back(std::move(finding));
}

namespace {

bool ends_with(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string folder_of(const std::string& path) {
  const std::string name = bare_name(path);
  return path.substr(0, path.size() - name.size());
}

Diagnostic plain_note(std::string message) {
  Diagnostic note;
  note.severity = Severity::note;
  note.message = std::move(message);
  return note;
}

}  // namespace

Diagnostic missing_source(BuildContext& context, StatusCode code, const std::string& path) {
  const Language language = context.options.language;
  const bool line = path == context.names.line_source;
  const std::string full = quoted(context.files.full_path(path));
  Diagnostic finding = unplaced_error(
      code, line ? trf(language, "the line source {1} does not exist", {full})
                 : trf(language, "the train source {1} does not exist", {full}));
  finding.where = SourcePoint{bare_name(path), 0, 0};
  const std::string folder = folder_of(path);
  // The folder in full, without a separator at its end ("/tmp/." reads "/tmp").
  std::string shown = context.files.full_path(folder.empty() ? std::string(".") : folder);
  while (shown.size() > 1 && (shown.back() == '/' || shown.back() == '\\')) shown.pop_back();
  shown = quoted(shown);
  const std::optional<std::vector<std::string>> names = context.files.list_folder(folder);
  if (!names) {
    finding.notes.push_back(plain_note(trf(language, "the folder {1} does not exist", {shown})));
    return finding;
  }
  const std::string& base = context.options.base_name;
  const std::string& train = context.options.train_number;
  std::vector<std::string> hints;
  for (const std::string& name : *names) {
    if (line && ends_with(name, "_linea.txt")) {
      hints.push_back(trf(language, "the folder holds {1}: try {2}",
                          {quoted(name), "--base " + name.substr(0, name.size() - 10)}));
    } else if (!line && name == base + "_" + train + ".txt") {
      hints.push_back(trf(language, "the folder holds {1}: the name of a train source ends in {2}",
                          {quoted(name), "\"-.txt\""}));
    } else if (!line && ends_with(name, "-.txt")) {
      const std::string stem = name.substr(0, name.size() - 5);
      const std::size_t cut = stem.rfind('_');
      if (cut == std::string::npos) continue;
      const std::string other_base = stem.substr(0, cut);
      const std::string other_train = stem.substr(cut + 1);
      hints.push_back(trf(language, "the folder holds {1}: try {2}",
                          {quoted(name), (other_base == base ? std::string()
                                                             : "--base " + other_base + " ") +
                                             "--train " + other_train}));
    }
  }
  if (hints.empty()) {
    hints.push_back(line ? trf(language, "the folder {1} holds no other line source", {shown})
                         : trf(language, "the folder {1} holds no other train source", {shown}));
  }
  for (std::string& hint : hints) finding.notes.push_back(plain_note(std::move(hint)));
  return finding;
}

std::string object_name(std::uint8_t kind, Language language) {
  switch (kind) {
    case cell_kind::kSignal: return tr(language, "a signal");
    case cell_kind::kEndBoard: return tr(language, "the end board of a speed restriction");
    case cell_kind::kStartBoard: return tr(language, "the start board of a speed restriction");
    case cell_kind::kWarningBoard: return tr(language, "the warning board of a speed restriction");
    case cell_kind::kPreWarning: return tr(language, "a pre-warning cell of a speed restriction");
    case cell_kind::kSpeedIndicator: return tr(language, "a maximum-speed indicator board");
    case cell_kind::kStopMarker: return tr(language, "the stop marker of a station");
    case cell_kind::kReductionPoint: return tr(language, "a code-reduction point");
    case cell_kind::kCodeCut: return tr(language, "a code cut");
    case cell_kind::kIndicationBoard: return tr(language, "an indication board");
    default: return trf(language, "an object of kind {1}", {std::to_string(kind)});
  }
}

std::string empty_reason(std::string_view text, Language language) {
  if (text.empty()) return tr(language, " (the text is empty)");
  if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
    return tr(language, " (it is saved as UTF-16: save it as plain text in code page 1252)");
  }
  if (text.find('\0') != std::string_view::npos) return tr(language, " (it holds NUL bytes)");
  return "";
}

std::string occupant_text(const BuildState& state, const CellGrid& grid, std::int32_t index,
                          Language language) {
  if (!grid.contains(index)) return tr(language, " (it lies outside the grid)");
  const auto found = state.occupants.find(index);
  const std::uint8_t kind = grid[index].kind;
  if (found != state.occupants.end() && found->second.kind == kind) {
    const CellOccupant& occupant = found->second;
    return trf(language, " by {1} at {2} m, from {3} line {4}",
               {object_name(kind, language), std::to_string(occupant.position),
                occupant.where.file, std::to_string(occupant.where.line)});
  }
  return trf(language, " by {1}", {object_name(kind, language)});
}

}  // namespace scenario
