#include "sources/train_reader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "language/translate.h"
#include "model/cell_fill.h"
#include "model/placement.h"
#include "model/rounding.h"
#include "sources/field_reader.h"
#include "sources/keyword_warnings.h"
#include "sources/keywords.h"
#include "sources/source_text.h"
#include "sources/station_record.h"
#include "sources/train_fields.h"

namespace scenario {
namespace {

using E = KeywordEntry;

std::string metres(std::int64_t value) {
  std::string text = std::to_string(value);
  text += " m";
  return text;
}

struct TrainReading {
  BuildContext& context;
  CellGrid& grid;
  SourceText& source;
  FieldReader& fields;
  KeywordWatch watch;
  SourceLine origin{};  // the keyword field of the record being read
  FieldPlace entry{};   // where that keyword field starts
  const SourceKeyword* keyword = nullptr;
  std::int32_t entry_reads = 0;
  FieldPlace position_place{};  // where the entry's position was read
  bool any_record = false;

  std::int32_t speed_fill = 0;  // next cell whose `speed_limit` is to be written
  std::int32_t speed = 0;       // km/h of the last speed-limit point
  SourceLine speed_origin{};    // where that speed was read
  FieldPlace speed_place{};
  std::int32_t adhesion_fill = 0;
  std::int32_t adhesion = 0;
  StationRows stations;
  OrderWatch speed_order{"speed-limit point", true};
  OrderWatch adhesion_order{"adhesion point", true};

  Language language() const { return source.language(); }
};

EntryEnd end_reading(TrainReading& r, StatusCode code, std::optional<std::int32_t> position,
                     std::string cause, std::optional<Diagnostic> note = std::nullopt) {
  r.source.error(code, position, r.position_place, std::move(cause), std::move(note));
  return EntryEnd::kEndReading;
}

EntryEnd out_of_range(TrainReading& r, std::int32_t position, std::string cause) {
  r.source.error(status::kOutOfRange, position, r.position_place,
                 trf(r.language(), "{1} (the rest of the train source is passed over)", {cause}));
  return EntryEnd::kEndNormally;
}

// `outside`: "the ... position {1} lies outside the line: valid are
// positions up to {2}", marked.
std::string position_outside(const TrainReading& r, const char* outside, std::int32_t position) {
  return trf(r.language(), outside,
             {metres(position), metres(std::int64_t{r.grid.last_index()} * 50 - 100)});
}

// A read failure: its cause is told here; the failure path is the caller's.
EntryEnd read_failed(TrainReading& r) {
  r.context.state.diagnostics.push_back(r.source.read_failure(
      *r.keyword, r.entry, static_cast<std::size_t>(r.fields.reads() - r.entry_reads)));
  return EntryEnd::kReadFailure;
}

// `cell_index` of a sum of two read values, which can pass the 32-bit range.
std::int64_t wide_cell_index(std::int64_t position) {
  return round_half_even(static_cast<double>(position) / 50.0 + 1.0);
}

// The range rule on the entry's position, and its object cell inside the grid.
bool object_in_range(const TrainReading& r, std::int32_t position, std::int64_t cell) {
  return position_in_range(position, r.grid.last_index()) && r.grid.contains(cell);
}

template <std::size_t Count>
bool read_numbers(TrainReading& r, std::array<std::int32_t, Count>& values) {
  for (std::int32_t& value : values) {
    if (!r.fields.read_number(value)) return false;
    // The position comes first; a status is set at the keyword's line.
    if (&value == &values[0] && r.fields.field_place().line == r.entry.line) {
      r.position_place = r.fields.field_place();
    }
  }
  return true;
}

// The stored `speed_limit` of a speed in km/h; none when it leaves 0..255.
std::optional<std::uint8_t> speed_units(std::int32_t speed) {
  const std::int64_t units = round_half_even(speed / 5.0);
  if (units < 0 || units > 255) return std::nullopt;
  return static_cast<std::uint8_t>(units);
}

// The end of a fill from `from`: up to the cell before `until`, always at
// least one cell, none at or beyond `limit`.
std::int32_t fill_end(std::int32_t from, std::int32_t until, std::int32_t limit) {
  return std::min(limit, std::max(until, from + 1));
}

// Gives the current speed to the cells from the fill position up to the cell
// before `until`, always at least one cell, none at or beyond `limit`.
bool fill_speed(TrainReading& r, std::int32_t until, std::int32_t limit) {
  if (r.speed_fill >= limit) return true;
  const std::optional<std::uint8_t> units = speed_units(r.speed);
  if (!units) return false;
  const std::int32_t end = fill_end(r.speed_fill, until, limit);
  fill_cells(r.grid, &TrackCell::speed_limit, r.speed_fill, end, *units);
  r.speed_fill = end;
  return true;
}

// The cause of a speed that does not fit `speed_limit`, told at its entry.
void tell_speed_too_high(TrainReading& r) {
  Diagnostic finding = r.source.at(
      Severity::error, r.speed_place,
      trf(r.language(),
          "the speed {1} km/h does not fit the cells' speed limit, kept in units of 5 km/h: "
          "allowed -2..1277 km/h",
          {std::to_string(r.speed)}));
  finding.id = status_id(status::kReadFailure);
  finding.code = status::kReadFailure;
  r.context.state.diagnostics.push_back(std::move(finding));
}

void fill_adhesion(TrainReading& r, std::int32_t until, std::int32_t limit) {
  if (r.adhesion_fill >= limit) return;
  const std::uint8_t adhesion = low8(r.adhesion);
  const std::int32_t end = fill_end(r.adhesion_fill, until, limit);
  fill_cells(r.grid, &TrackCell::adhesion, r.adhesion_fill, end, adhesion);
  r.adhesion_fill = end;
}

void occupy(TrainReading& r, std::int64_t index, std::uint8_t kind, std::int32_t position) {
  if (!r.grid.contains(index)) return;
  r.context.state.occupants[static_cast<std::int32_t>(index)] =
      CellOccupant{kind, position, r.source.point(r.entry), r.source.line_of(r.entry)};
}

// `taken`: "the ... cell ... at {1} (cell {2}) is taken", marked.
std::string taken(const TrainReading& r, const char* taken, std::int32_t position,
                  std::int64_t index) {
  return trf(r.language(), taken, {metres(position), std::to_string(index)}) +
         occupant_text(r.context.state, r.grid, static_cast<std::int32_t>(index), r.language());
}

EntryEnd read_braked_mass(TrainReading& r) {
  std::int32_t percentage = 0;
  if (!r.fields.read_number(percentage)) return read_failed(r);
  r.context.state.table.rows[table_row::kQuantities].num_a = percentage;
  return EntryEnd::kGoOn;
}

EntryEnd read_coaches(TrainReading& r) {
  std::int32_t count = 0;
  if (!r.fields.read_number(count)) return read_failed(r);
  r.context.state.table.rows[table_row::kQuantities].num_c = count;
  return EntryEnd::kGoOn;
}

EntryEnd read_speed_point(TrainReading& r) {
  std::array<std::int32_t, 2> point{};  // position, speed
  if (!read_numbers(r, point)) return read_failed(r);
  const auto [p, v] = point;
  const FieldPlace speed_place = r.fields.field_place();
  if (!position_in_range(p, r.grid.last_index())) {
    return out_of_range(r, p, position_outside(r, N_("the speed-limit point position {1} lies outside the line: valid are positions up to {2}"), p));
  }
  r.speed_order.position(r.source, r.entry, p);
  // A point at or before the first cell writes nothing and only sets the speed.
  const std::int32_t w = lower_cell_index(p);
  if (w > 0 && !fill_speed(r, w, r.grid.last_index())) {
    tell_speed_too_high(r);
    // A `check` run goes on with this point's speed.
    if (!r.source.keep_going()) {
      r.origin = r.speed_origin;  // the speed that does not fit was read there
      return EntryEnd::kReadFailure;
    }
  }
  r.speed = v;
  if (const std::optional<std::uint8_t> units = speed_units(v); units && *units * 5 != v) {
    r.source.warn(WarningKind::rounded_speed, speed_place,
                  trf(r.language(),
                      "the speed {1} km/h is kept in units of 5 km/h: the cells hold {2} km/h",
                      {std::to_string(v), std::to_string(*units * 5)}));
  }
  r.context.state.speed_origins[w] = r.source.point(r.entry);
  r.speed_origin = r.origin;
  r.speed_place = r.entry;
  return EntryEnd::kGoOn;
}

EntryEnd read_adhesion_point(TrainReading& r) {
  std::array<std::int32_t, 2> point{};  // position, adhesion
  if (!read_numbers(r, point)) return read_failed(r);
  const auto [p, a] = point;
  const FieldPlace value_place = r.fields.field_place();
  if (!position_in_range(p, r.grid.last_index())) {
    return out_of_range(r, p, position_outside(r, N_("the adhesion point position {1} lies outside the line: valid are positions up to {2}"), p));
  }
  r.adhesion_order.position(r.source, r.entry, p);
  check_narrowing(r.source, value_place, tr(r.language(), "adhesion value"), a, 0, 255, low8(a));
  const std::int32_t w = lower_cell_index(p);
  if (w > 0) fill_adhesion(r, w, r.grid.last_index());
  r.adhesion = a;
  r.context.state.adhesion_origins[w] = r.source.point(r.entry);
  return EntryEnd::kGoOn;
}

EntryEnd read_clock(TrainReading& r) {
  TableRow& row = r.context.state.table.rows[table_row::kTrainHeader];
  if (!read_word_field(r.fields, row.word_c) || !read_word_field(r.fields, row.word_d) ||
      !read_word_field(r.fields, row.word_e)) {
    return read_failed(r);
  }
  return EntryEnd::kGoOn;
}

EntryEnd read_sand(TrainReading& r) {
  if (!read_word_field(r.fields, r.context.state.table.rows[table_row::kTrainHeader].word_a)) {
    return read_failed(r);
  }
  return EntryEnd::kGoOn;
}

// After a placement call the code held at that moment is tested, so a code
// left by the line reader also stops reading here, with this entry's position.
template <typename Cause>
EntryEnd stop_on_status(TrainReading& r, std::int32_t position, StatusCode before, Cause cause) {
  const StatusCode code = r.context.state.status.code;
  if (code == status::kNone) return EntryEnd::kGoOn;
  if (before == status::kNone || code != before) return end_reading(r, code, position, cause());
  // The code was left set by an earlier error: that error is the cause.
  const Diagnostic* earlier = status_diagnostic(r.context.state);
  std::string message = trf(r.language(),
                            "status {1}, left set by an earlier error, stops the train reading at "
                            "this {2}",
                            {std::to_string(code_number(code)), entry_name(*r.keyword, r.language())});
  if (earlier != nullptr && earlier->where) {
    message += trf(r.language(), " (the error is at {1} line {2})",
                   {earlier->where->file, std::to_string(earlier->where->line)});
  }
  std::optional<Diagnostic> note;
  std::optional<SourcePoint> root;
  if (earlier != nullptr) {
    note = *earlier;
    note->severity = Severity::note;
    note->id.clear();
    note->code.reset();
    note->notes.clear();
    note->message = trf(r.language(), "the earlier error: {1}", {earlier->message});
    root = earlier->where;
  }
  const EntryEnd end = end_reading(r, code, position, std::move(message), std::move(note));
  r.context.state.diagnostics.back().root = root;
  return end;
}

EntryEnd read_signal(TrainReading& r) {
  std::array<std::int32_t, 11> s{};  // posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo
  if (!read_numbers(r, s)) return read_failed(r);
  const std::int32_t posizione = s[0];
  const std::int32_t i = cell_index(posizione);
  if (!object_in_range(r, posizione, i)) {
    return out_of_range(r, posizione, position_outside(r, N_("the signal position {1} lies outside the line: valid are positions up to {2}"), posizione));
  }
  const StatusCode before = r.context.state.status.code;
  memo_segnale(r.grid, r.context.state.status, posizione, s[1], s[2], s[3], s[4], s[5], s[6], s[7],
               s[8], s[9], s[10]);
  // A refused signal writes nothing: the cell still holds what refused it.
  const EntryEnd end = stop_on_status(r, posizione, before, [&] {
    return taken(r, N_("the cell of the signal at {1} (cell {2}) is taken"), posizione, i);
  });
  if (end != EntryEnd::kGoOn) return end;
  occupy(r, i, cell_kind::kSignal, posizione);
  const auto packed = [&](const char* name, std::int64_t value) {
    check_narrowing(r.source, r.entry, tr(r.language(), name), value, -32768, 32767, low16(value));
  };
  packed(N_("first left and right values (left times 10 plus right)"), std::int64_t{s[2]} * 10 + s[7]);
  packed(N_("second left and right values (left times 10 plus right)"), std::int64_t{s[3]} * 10 + s[8]);
  packed(N_("third left and right values (left times 10 plus right)"), std::int64_t{s[4]} * 10 + s[9]);
  packed(N_("repetition value and signal types (repetition times 10 plus left type times 3 plus "
            "right type)"),
         std::int64_t{s[5]} * 10 + std::int64_t{s[1]} * 3 + s[6]);
  const std::int32_t time_value = (s[10] >= 1 && s[10] <= 100) ? 101 : s[10];
  if (s[1] == 2) {
    check_narrowing(r.source, r.entry, tr(r.language(), "time value"), time_value, 0, 255,
                    low8(time_value));
  }
  return EntryEnd::kGoOn;
}

EntryEnd read_restriction(TrainReading& r) {
  std::array<std::int32_t, 6> t{};  // x, v, l, f_tt, f_ta, d_v
  if (!read_numbers(r, t)) return read_failed(r);
  const auto [x, v, l, f_tt, f_ta, d_v] = t;
  // Both boards must lie in the grid; the warning and pre-warning cells lie
  // between cell 3 and the start board whenever they exist.
  if (!object_in_range(r, x, cell_index(x))) {
    return out_of_range(r, x, position_outside(r, N_("the speed restriction position {1} lies outside the line: valid are positions up to {2}"), x));
  }
  if (!r.grid.contains(wide_cell_index(std::int64_t{x} + l))) {
    return out_of_range(r, x,
                        trf(r.language(),
                            "the end board of the speed restriction at {1} over {2} would stand "
                            "at {3}, outside the line: valid are positions up to {4}",
                            {metres(x), metres(l), metres(std::int64_t{x} + l),
                             metres(std::int64_t{r.grid.last_index()} * 50 - 50)}));
  }
  warn_past_line_end(r.context.state, r.source, r.entry,
                     trf(r.language(), "speed restriction at {1} over {2}", {metres(x), metres(l)}),
                     x, std::int64_t{x} + l);
  const RestrictionCells cells = restriction_cells(x, l);
  const StatusCode before = r.context.state.status.code;
  memo_rallentamento(r.grid, r.context.state.status, x, v, l, f_tt, f_ta, d_v);
  // The board named by the code was refused and left as it was.
  const std::int32_t start_position = x;  // a structured binding is not captured
  const EntryEnd end = stop_on_status(r, x, before, [&] {
    const auto board = [&](const char* taken_text, std::int64_t index) {
      return taken(r, taken_text, start_position, index);
    };
    switch (r.context.state.status.code) {
      case status::kWarningBoardTaken:
        return board(N_("the warning-board cell of the speed restriction at {1} (cell {2}) is taken"),
                     cells.warning);
      case status::kStartBoardTaken:
        return board(N_("the start-board cell of the speed restriction at {1} (cell {2}) is taken"),
                     cells.start);
      case status::kEndBoardTaken:
        return board(N_("the end-board cell of the speed restriction at {1} (cell {2}) is taken"),
                     cells.end);
      default: break;
    }
    std::int64_t c = cells.pre_warning;
    while (c > cells.pre_warning - 3 &&
           !(r.grid.contains(c) && !cell_is_free(r.grid[static_cast<std::int32_t>(c)]))) {
      --c;
    }
    return board(N_("the pre-warning cell of the speed restriction at {1} (cell {2}) is taken"), c);
  });
  if (end != EntryEnd::kGoOn) return end;
  occupy(r, cells.end, cell_kind::kEndBoard, x);
  occupy(r, cells.start, cell_kind::kStartBoard, x);
  if (cells.warned) {
    occupy(r, cells.warning, cell_kind::kWarningBoard, x);
    if (f_ta != 0) {
      for (std::int64_t n = 0; n <= 3; ++n) occupy(r, cells.pre_warning - n, cell_kind::kPreWarning, x);
    }
  }
  r.context.state.restrictions.push_back(
      {cells.warned ? static_cast<std::int32_t>(cells.warning) : -1,
       static_cast<std::int32_t>(cells.start), static_cast<std::int32_t>(cells.end), x,
       r.source.point(r.entry), r.source.line_of(r.entry)});
  const Language language = r.language();
  check_narrowing(r.source, r.entry, tr(language, "speed in km/h"), v, -32768, 32767, low16(v));
  check_narrowing(r.source, r.entry, tr(language, "first flag"), f_tt, -32768, 32767, low16(f_tt));
  check_narrowing(r.source, r.entry, tr(language, "third flag"), d_v, -32768, 32767, low16(d_v));
  return EntryEnd::kGoOn;
}

EntryEnd read_reduction_point(TrainReading& r) {
  std::array<std::int32_t, 2> point{};  // position, value
  if (!read_numbers(r, point)) return read_failed(r);
  const auto [p, value] = point;
  const FieldPlace value_place = r.fields.field_place();
  const std::int32_t i = lower_cell_index(p);
  if (!object_in_range(r, p, i)) {
    return out_of_range(r, p, position_outside(r, N_("the code-reduction point position {1} lies outside the line: valid are positions up to {2}"), p));
  }
  TrackCell& cell = r.grid[i];
  if (!cell_is_free(cell)) {
    return end_reading(r, status::kReductionPointTaken, p,
                       taken(r, N_("the cell of the code-reduction point at {1} (cell {2}) is taken"), p, i));
  }
  if (value > 0) {
    check_narrowing(r.source, value_place, tr(r.language(), "code value"), value, 1, 32767, low16(value));
    cell.kind = cell_kind::kReductionPoint;
    cell.val_a = low16(value);
  } else {
    cell.kind = cell_kind::kCodeCut;
  }
  occupy(r, i, cell.kind, p);
  return EntryEnd::kGoOn;
}

EntryEnd read_station(TrainReading& r) {
  StationReport report;
  report.language = r.language();
  const std::int32_t row = r.stations.counter;
  const EntryEnd end = read_station_record(r.fields, r.context.state.table, r.grid,
                                           r.context.state.status, r.stations, r.origin, &report);
  if (end == EntryEnd::kReadFailure) return read_failed(r);
  if (end != EntryEnd::kGoOn || !report.cause.empty()) {
    // The record set its status; tell it with its cause.
    const BuildStatus set = r.context.state.status;
    std::optional<std::int32_t> position;
    if (set.code != status::kStationsReachSigns && set.code != status::kStopMarkerBeforeGrid) {
      position = set.position;
    }
    // Told at the value at fault where it stands on the keyword's line.
    FieldPlace place = r.entry;
    const FieldPlace& value =
        set.code == status::kStationLength ? report.length_place : report.position_place;
    if ((set.code == status::kStationLength || set.code == status::kStationNotMultiple ||
         set.code == status::kOutOfRange) &&
        value.line == r.entry.line) {
      place = value;
    }
    r.source.error(set.code, position, place, report.cause);
    return end;
  }
  const TableRow& station = r.context.state.table.rows[static_cast<std::size_t>(row)];
  check_shown_text(r.source, report.name_place, tr(r.language(), "station name"), station.text);
  check_narrowing(r.source, r.entry, tr(r.language(), "scheduled time in seconds"), report.scheduled,
                  -2147483648LL, 2147483647LL, station.num_d);
  if (station.kind < 25) {
    const std::int64_t stop = std::int64_t{station.num_b} / 50 - 1;
    occupy(r, stop, cell_kind::kStopMarker, station.num_c);
  }
  r.context.state.row_origins[row] = r.source.point(r.entry);
  return EntryEnd::kGoOn;
}

EntryEnd run_entry(TrainReading& r, KeywordEntry entry) {
  switch (entry) {
    case E::braked_mass: return read_braked_mass(r);
    case E::coaches: return read_coaches(r);
    case E::speed: return read_speed_point(r);
    case E::adhesion: return read_adhesion_point(r);
    case E::clock: return read_clock(r);
    case E::sand: return read_sand(r);
    case E::signal: return read_signal(r);
    case E::restriction: return read_restriction(r);
    case E::reduction_point: return read_reduction_point(r);
    case E::station: return read_station(r);
    default: return EntryEnd::kGoOn;
  }
}

// In the order of the keyword table: one keyword field can run several records.
EntryEnd run_records(TrainReading& r, const std::string& field) {
  const std::span<const SourceKeyword> records = keywords_of(SourceKind::train, KeywordPlace::records);
  bool matched = false;
  for (const SourceKeyword& keyword : records) {
    if (!matches(keyword, field)) continue;
    if (!matched) r.watch.field(field, r.entry, true, records);
    matched = true;
    r.any_record = true;
    r.keyword = &keyword;
    r.entry_reads = r.fields.reads();
    r.position_place = r.entry;
    const EntryEnd end = run_entry(r, keyword.entry);
    if (end == EntryEnd::kGoOn) {
      r.watch.entry_read(keyword);
      continue;
    }
    if (!r.source.keep_going()) return end;
    // In a `check` run the error is told (a read failure's status is never
    // set there) and the reading goes on at the next entry.
    r.source.resume_after_error(r.entry);
    return EntryEnd::kGoOn;
  }
  if (!matched) r.watch.field(field, r.entry, false, records);
  return EntryEnd::kGoOn;
}

bool read_keyword_field(TrainReading& r, std::string& field) {
  const bool ok = r.fields.read_text(field);
  r.entry = r.fields.field_place();
  r.origin = r.source.origin(r.entry);
  return ok;
}

Diagnostic keyword_failure(const TrainReading& r) {
  Diagnostic finding = r.source.at(Severity::error, r.fields.field_place(),
                                   r.fields.fault() == FieldFault::text_too_long
                                       ? tr(r.language(), "a field longer than 65535 bytes")
                                       : tr(r.language(), "the text ends where a keyword field is "
                                                          "due (after a final comma)"));
  finding.id = status_id(status::kReadFailure);
  finding.code = status::kReadFailure;
  return finding;
}

// A keyword field that could not be read: told; false when the reading
// stops there (always, but in a `check` run, which goes on after it).
bool keyword_failed(TrainReading& r) {
  r.context.state.diagnostics.push_back(keyword_failure(r));
  if (!r.source.keep_going() || r.fields.at_end()) return false;
  r.source.resume_after_error(r.entry);
  return true;
}

// The main loop: everything up to the first "[generale]" is skipped; a
// keyword field that is the last field of the file is never acted on.
EntryEnd read_records(TrainReading& r) {
  std::string field;
  const SourceKeyword& general = keywords_of(SourceKind::train, KeywordPlace::section)[0];
  do {
    if (r.fields.at_end()) return EntryEnd::kEndNormally;
    if (!read_keyword_field(r, field)) {
      if (!keyword_failed(r)) return EntryEnd::kReadFailure;
      field.clear();
    }
  } while (!matches(general, field));

  for (;;) {
    if (r.fields.at_end()) return EntryEnd::kEndNormally;
    if (!read_keyword_field(r, field)) {
      if (!keyword_failed(r)) return EntryEnd::kReadFailure;
      continue;
    }
    if (r.fields.at_end()) return EntryEnd::kEndNormally;
    // Up to two dash fields in a row are dropped; the third field is taken
    // as the keyword field whatever it holds.
    const DashDrop drop =
        drop_dash_fields(field, 2, true, r.fields, [&] {
          r.watch.dropped(field, r.entry);
          return read_keyword_field(r, field);
        });
    if (drop == DashDrop::kEnd) return EntryEnd::kEndNormally;
    if (drop == DashDrop::kFailure) {
      if (!keyword_failed(r)) return EntryEnd::kReadFailure;
      continue;
    }
    const EntryEnd end = run_records(r, field);
    if (end != EntryEnd::kGoOn) return end;
  }
}

// The last points' values reach cell N - 3, or only the cell at the fill
// position when that already stands there or beyond. The points never move
// a fill position past N, so that cell lies in the grid.
bool final_fills(TrainReading& r) {
  const std::int32_t until = r.grid.last_index() - 2;
  const std::int32_t limit = r.grid.last_index() + 1;
  if (!fill_speed(r, until, limit)) return false;
  fill_adhesion(r, until, limit);
  return true;
}

// The first progressive read whose first or second value is no multiple of 50.
const ProgressiveOrigin* progressive_off_grid(const BuildState& state) {
  for (const ProgressiveOrigin& progressive : state.progressives) {
    if (progressive.first % 50 != 0 || progressive.second % 50 != 0) return &progressive;
  }
  return nullptr;
}

bool progressives_on_grid(const RecordTable& table) {
  for (int row = table_row::kProgressiveTre; row <= table_row::kProgressiveUno; ++row) {
    const TableRow& progressive = table.rows[static_cast<std::size_t>(row)];
    if (progressive.num_a % 50 != 0 || progressive.num_b % 50 != 0) return false;
  }
  return true;
}

void tell_progressive_off_grid(BuildContext& context) {
  const Language language = context.options.language;
  Diagnostic finding = unplaced_error(
      status::kProgressiveNotMultiple,
      tr(language, "a kilometre progressive's first or second value, after the progressives are "
                   "ordered, is not a multiple of 50"));
  if (const ProgressiveOrigin* off = progressive_off_grid(context.state)) {
    finding.message = trf(language,
                          "the kilometre progressive's values {1} and {2} are not both multiples "
                          "of 50 (checked once the train source is read)",
                          {std::to_string(off->first), std::to_string(off->second)});
    finding.where = off->where;
    finding.source_line = off->source_line;
  }
  report_status(context, std::move(finding), std::nullopt);
}

}  // namespace

void read_train_source(BuildContext& context, std::int32_t sign_row) {
  const std::string& path = context.names.train_source;
  if (!context.state.grid) {
    report_status(context,
                  unplaced_error(status::kReadFailure,
                                 tr(context.options.language,
                                    "the train source is read only over the grid of a line source")),
                  std::nullopt);
    return;
  }
  if (!context.files.exists(path)) {
    report_status(context, missing_source(context, status::kReadFailure, path), std::nullopt);
    return;
  }
  std::optional<std::string> text = read_source(context, path);
  if (!text) return;
  SourceText source(context, path, std::move(*text));
  TrainReading r{.context = context,
                 .grid = *context.state.grid,
                 .source = source,
                 .fields = source.fields(),
                 .watch = KeywordWatch(source, N_("the train source")),
                 .stations = StationRows{table_row::kFirstStation, sign_row}};

  switch (read_records(r)) {
    case EntryEnd::kGoOn:
    case EntryEnd::kEndNormally:
      break;
    case EntryEnd::kEndReading:
      delete_source(context, path);
      return;
    case EntryEnd::kReadFailure:
      // A `check` run has told it and finishes the source.
      if (source.keep_going()) break;
      take_failure_path(context, r.origin);
      return;
  }
  if (!r.any_record) {
    Diagnostic finding;
    finding.severity = Severity::warning;
    finding.id = std::string(warning_id(WarningKind::empty_source));
    finding.where = SourcePoint{source.file(), 0, 0};
    const Language language = source.language();
    std::string reason = empty_reason(source.text(), language);
    if (reason.empty()) {
      reason = !contains_ignore_case(source.text(), "[generale]")
                   ? tr(language, " (it has no \"[generale]\" line: everything before that line "
                                  "is passed over)")
                   : tr(language, " (no entry after its \"[generale]\" line)");
    }
    finding.message =
        tr(language, "the train source contributes nothing: no station, signal or speed") + reason;
    context.state.diagnostics.push_back(std::move(finding));
  }
  delete_source(context, path);
  if (!final_fills(r)) {
    // A speed that does not fit `speed_limit` reaches its cells only now.
    tell_speed_too_high(r);
    if (!source.keep_going()) {
      take_failure_path(context, r.speed_origin);
      return;
    }
  }
  // Replaces a status 15 set while reading; no entry is at fault.
  if (!progressives_on_grid(context.state.table)) tell_progressive_off_grid(context);
}

}  // namespace scenario
