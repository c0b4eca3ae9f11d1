#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/build_context.h"
#include "sources/field_reader.h"
#include "sources/keywords.h"

namespace scenario {

/// How the reading of an entry ended, in both readers.
enum class EntryEnd {
  kGoOn,         // the entry is stored; the next keyword field follows
  kEndNormally,  // status 15: skip the rest, but finish the source normally
  kEndReading,   // a status is set: close and delete, nothing more
  kReadFailure,  // the common failure path (status 25) is the caller's to take
};

/// How the dropping of dash fields ended.
enum class DashDrop { kField, kEnd, kFailure };

/// Drops up to `limit` dash fields in a row (fields holding "-"), each in
/// favour of the next keyword field `read_keyword` reads into `field`; the
/// field after the last drop is tested whatever it holds. With `end_stops`, a
/// field that ends the text ends the dropping (kEnd).
template <typename ReadKeyword>
DashDrop drop_dash_fields(const std::string& field, int limit, bool end_stops,
                          const FieldReader& fields, ReadKeyword read_keyword) {
  for (int dropped = 0; dropped < limit && contains(field, "-"); ++dropped) {
    if (!read_keyword()) return DashDrop::kFailure;
    if (end_stops && fields.at_end()) return DashDrop::kEnd;
  }
  return DashDrop::kField;
}

/// Deletes a source text when the run deletes sources; a failure is recorded
/// in `file_error`. A file that is already gone is not an error.
void delete_source(BuildContext& context, const std::string& path);

/// The common failure path of both readers: deletes the line source and the
/// train source where they still exist and records status 25.
void take_failure_path(BuildContext& context, std::optional<SourceLine> origin);

/// Reads a source text whole. A source that exists but cannot be read sets
/// `source_error` and takes the failure path, with its error Diagnostic.
std::optional<std::string> read_source(BuildContext& context, const std::string& path);

/// The error Diagnostic of a missing source: its full path, whether its
/// folder exists, and the names the folder's sources suggest.
Diagnostic missing_source(BuildContext& context, StatusCode code, const std::string& path);

/// A finding of no source text, tied to no position.
Diagnostic unplaced_error(StatusCode code, std::string message);

/// Appends `finding` as the cause of the status it carries and records that
/// status (with `origin`). In a `check` run the status is cleared again at
/// once, so that the reading goes on as after no error.
void report_status(BuildContext& context, Diagnostic finding, std::optional<SourceLine> origin);

/// One source text being read: its bytes, the field reader over them and
/// what the readers tell the author about it.
class SourceText {
 public:
  SourceText(BuildContext& context, const std::string& path, std::string text);
  SourceText(const SourceText&) = delete;
  SourceText& operator=(const SourceText&) = delete;

  FieldReader& fields() { return fields_; }
  const std::string& file() const { return file_; }
  const std::string& text() const { return text_; }
  bool keep_going() const { return context_.options.keep_going; }
  /// The language of the findings' words.
  Language language() const { return context_.options.language; }

  /// A finding at a field of this text, with its source line.
  Diagnostic at(Severity severity, const FieldPlace& place, std::string message) const;
  /// Where a field stands, and the text of its line: what an entry keeps
  /// for the notes of later findings.
  SourcePoint point(const FieldPlace& place) const {
    return SourcePoint{file_, place.line, place.column, place.end_column};
  }
  std::string line_of(const FieldPlace& place) const;
  SourceLine origin(const FieldPlace& place) const { return {file_, place.line}; }

  /// Records a status set at `place` with its cause.
  void error(StatusCode code, std::optional<std::int32_t> position, const FieldPlace& place,
             std::string message, std::optional<Diagnostic> note = std::nullopt);

  /// A read failure of the value at `value_index` of the entry of `keyword`
  /// started at `entry`: the cause from what the field reader saw. Returns
  /// its message; the status is the caller's to set (failure path).
  Diagnostic read_failure(const SourceKeyword& keyword, const FieldPlace& entry,
                          std::size_t value_index) const;

  /// After an error in a `check` run: go on at the next entry. A record cut
  /// short goes on at the line of the field that ended it.
  void resume_after_error(const FieldPlace& entry);

  void warn(WarningKind kind, const FieldPlace& place, std::string message,
            std::optional<Diagnostic> note = std::nullopt);

 private:
  BuildContext& context_;
  std::string file_;
  std::string text_;
  FieldReader fields_;
};

/// Why a source text holds nothing a reader can take (" (the text is
/// empty)", a UTF-16 byte order mark, NUL bytes), or "".
std::string empty_reason(std::string_view text, Language language);

/// ", from ...": what holds a taken cell, at which position and from which
/// entry, as far as the readers recorded it.
std::string occupant_text(const BuildState& state, const CellGrid& grid, std::int32_t index,
                          Language language);

/// An object kind in words, with its article ("a signal").
std::string object_name(std::uint8_t kind, Language language);

/// `text` quoted for a message, control bytes shown as \xNN.
std::string quoted(std::string_view text);

}  // namespace scenario
