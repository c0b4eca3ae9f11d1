#include "sources/train_reader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "model/placement.h"
#include "model/rounding.h"
#include "sources/field_reader.h"
#include "sources/source_text.h"
#include "sources/station_record.h"
#include "sources/train_fields.h"

namespace scenario {
namespace {

struct TrainReading {
  BuildContext& context;
  CellGrid& grid;
  FieldReader fields;
  std::string file;     // bare name of the source, for status origins
  SourceLine origin{};  // the keyword field of the record being read

  std::int32_t speed_fill = 0;  // next cell whose `speed_limit` is to be written
  std::int32_t speed = 0;       // km/h of the last speed-limit point
  SourceLine speed_origin{};    // where that speed was read
  std::int32_t adhesion_fill = 0;
  std::int32_t adhesion = 0;
  StationRows stations;
};

RecordEnd end_reading(TrainReading& r, StatusCode code, std::optional<std::int32_t> position) {
  set_reader_status(r.context.state.status, code, position, r.origin);
  return RecordEnd::kEndReading;
}

RecordEnd out_of_range(TrainReading& r, std::int32_t position) {
  set_reader_status(r.context.state.status, status::kOutOfRange, position, r.origin);
  return RecordEnd::kEndNormally;
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
  return std::all_of(values.begin(), values.end(),
                     [&](std::int32_t& value) { return r.fields.read_number(value); });
}

// The stored `speed_limit` of a speed in km/h; none when it leaves 0..255.
std::optional<std::uint8_t> speed_units(std::int32_t speed) {
  const std::int64_t units = round_half_even(speed / 5.0);
  if (units < 0 || units > 255) return std::nullopt;
  return static_cast<std::uint8_t>(units);
}

// Gives the current speed to the cells from the fill position up to the cell
// before `until`, always at least one cell, none at or beyond `limit`.
bool fill_speed(TrainReading& r, std::int32_t until, std::int32_t limit) {
  do {
    if (r.speed_fill >= limit) break;
    const std::optional<std::uint8_t> units = speed_units(r.speed);
    if (!units) return false;
    r.grid[r.speed_fill].speed_limit = *units;
    ++r.speed_fill;
  } while (r.speed_fill < until);
  return true;
}

void fill_adhesion(TrainReading& r, std::int32_t until, std::int32_t limit) {
  do {
    if (r.adhesion_fill >= limit) break;
    r.grid[r.adhesion_fill].adhesion = low8(r.adhesion);
    ++r.adhesion_fill;
  } while (r.adhesion_fill < until);
}

RecordEnd read_braked_mass(TrainReading& r) {
  std::int32_t percentage = 0;
  if (!r.fields.read_number(percentage)) return RecordEnd::kReadFailure;
  r.context.state.table.rows[table_row::kQuantities].num_a = percentage;
  return RecordEnd::kGoOn;
}

RecordEnd read_coaches(TrainReading& r) {
  std::int32_t count = 0;
  if (!r.fields.read_number(count)) return RecordEnd::kReadFailure;
  r.context.state.table.rows[table_row::kQuantities].num_c = count;
  return RecordEnd::kGoOn;
}

RecordEnd read_speed_point(TrainReading& r) {
  std::array<std::int32_t, 2> point{};  // position, speed
  if (!read_numbers(r, point)) return RecordEnd::kReadFailure;
  const auto [p, v] = point;
  if (!position_in_range(p, r.grid.last_index())) return out_of_range(r, p);
  // A point at or before the first cell writes nothing and only sets the speed.
  const std::int32_t w = lower_cell_index(p);
  if (w > 0 && !fill_speed(r, w, r.grid.last_index())) {
    r.origin = r.speed_origin;  // the speed that does not fit was read there
    return RecordEnd::kReadFailure;
  }
  r.speed = v;
  r.speed_origin = r.origin;
  return RecordEnd::kGoOn;
}

RecordEnd read_adhesion_point(TrainReading& r) {
  std::array<std::int32_t, 2> point{};  // position, adhesion
  if (!read_numbers(r, point)) return RecordEnd::kReadFailure;
  const auto [p, a] = point;
  if (!position_in_range(p, r.grid.last_index())) return out_of_range(r, p);
  const std::int32_t w = lower_cell_index(p);
  if (w > 0) fill_adhesion(r, w, r.grid.last_index());
  r.adhesion = a;
  return RecordEnd::kGoOn;
}

RecordEnd read_clock(TrainReading& r) {
  TableRow& row = r.context.state.table.rows[table_row::kTrainHeader];
  if (!read_word_field(r.fields, row.word_c) || !read_word_field(r.fields, row.word_d) ||
      !read_word_field(r.fields, row.word_e)) {
    return RecordEnd::kReadFailure;
  }
  return RecordEnd::kGoOn;
}

RecordEnd read_sand(TrainReading& r) {
  if (!read_word_field(r.fields, r.context.state.table.rows[table_row::kTrainHeader].word_a)) {
    return RecordEnd::kReadFailure;
  }
  return RecordEnd::kGoOn;
}

// After a placement call the code held at that moment is tested, so a code
// left by the line reader also stops reading here, with this entry's position.
RecordEnd stop_on_status(TrainReading& r, std::int32_t position) {
  const StatusCode code = r.context.state.status.code;
  if (code != status::kNone) return end_reading(r, code, position);
  return RecordEnd::kGoOn;
}

RecordEnd read_signal(TrainReading& r) {
  std::array<std::int32_t, 11> s{};  // posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo
  if (!read_numbers(r, s)) return RecordEnd::kReadFailure;
  const std::int32_t posizione = s[0];
  if (!object_in_range(r, posizione, cell_index(posizione))) return out_of_range(r, posizione);
  memo_segnale(r.grid, r.context.state.status, posizione, s[1], s[2], s[3], s[4], s[5], s[6], s[7], s[8],
               s[9], s[10]);
  return stop_on_status(r, posizione);
}

RecordEnd read_restriction(TrainReading& r) {
  std::array<std::int32_t, 6> t{};  // x, v, l, f_tt, f_ta, d_v
  if (!read_numbers(r, t)) return RecordEnd::kReadFailure;
  const auto [x, v, l, f_tt, f_ta, d_v] = t;
  // Both boards must lie in the grid; the warning and pre-warning cells lie
  // between cell 3 and the start board whenever they exist.
  if (!object_in_range(r, x, cell_index(x)) ||
      !r.grid.contains(wide_cell_index(std::int64_t{x} + l))) {
    return out_of_range(r, x);
  }
  memo_rallentamento(r.grid, r.context.state.status, x, v, l, f_tt, f_ta, d_v);
  return stop_on_status(r, x);
}

RecordEnd read_reduction_point(TrainReading& r) {
  std::array<std::int32_t, 2> point{};  // position, value
  if (!read_numbers(r, point)) return RecordEnd::kReadFailure;
  const auto [p, value] = point;
  const std::int32_t i = lower_cell_index(p);
  if (!object_in_range(r, p, i)) return out_of_range(r, p);
  TrackCell& cell = r.grid[i];
  if (!cell_is_free(cell)) return end_reading(r, status::kReductionPointTaken, p);
  if (value > 0) {
    cell.kind = cell_kind::kReductionPoint;
    cell.val_a = low16(value);
  } else {
    cell.kind = cell_kind::kCodeCut;
  }
  return RecordEnd::kGoOn;
}

RecordEnd read_station(TrainReading& r) {
  return read_station_record(r.fields, r.context.state.table, r.grid, r.context.state.status, r.stations,
                             r.origin);
}

struct Keyword {
  const char* word;
  const char* also;  // a second word the field must contain, or null
  RecordEnd (*read)(TrainReading&);
};

// In the order the tests are made: one keyword field can run several records.
constexpr std::array<Keyword, 10> kKeywords = {{
    {"frenata", "massa", read_braked_mass},
    {"vetture", nullptr, read_coaches},
    {"velocit", nullptr, read_speed_point},
    {"aderenza", nullptr, read_adhesion_point},
    {"orologio", nullptr, read_clock},
    {"sabbia", nullptr, read_sand},
    {"segnale", nullptr, read_signal},
    {"rallentamento", nullptr, read_restriction},
    {"abbattimento", nullptr, read_reduction_point},
    {"stazione", nullptr, read_station},
}};

RecordEnd run_records(TrainReading& r, const std::string& field) {
  for (const Keyword& keyword : kKeywords) {
    if (!contains_ignore_case(field, keyword.word)) continue;
    if (keyword.also != nullptr && !contains_ignore_case(field, keyword.also)) continue;
    const RecordEnd end = keyword.read(r);
    if (end != RecordEnd::kGoOn) return end;
  }
  return RecordEnd::kGoOn;
}

bool read_keyword_field(TrainReading& r, std::string& field) {
  const bool ok = r.fields.read_text(field);
  r.origin = SourceLine{r.file, r.fields.field_line()};
  return ok;
}

// The main loop: everything up to the first "[generale]" is skipped; a
// keyword field that is the last field of the file is never acted on.
RecordEnd read_records(TrainReading& r) {
  std::string field;
  do {
    if (r.fields.at_end()) return RecordEnd::kEndNormally;
    if (!read_keyword_field(r, field)) return RecordEnd::kReadFailure;
  } while (!contains_ignore_case(field, "[generale]"));

  for (;;) {
    if (r.fields.at_end()) return RecordEnd::kEndNormally;
    if (!read_keyword_field(r, field)) return RecordEnd::kReadFailure;
    if (r.fields.at_end()) return RecordEnd::kEndNormally;
    // Up to two dash fields in a row are dropped; the third field is taken
    // as the keyword field whatever it holds.
    for (int dropped = 0; dropped < 2 && contains(field, "-"); ++dropped) {
      if (!read_keyword_field(r, field)) return RecordEnd::kReadFailure;
      if (r.fields.at_end()) return RecordEnd::kEndNormally;
    }
    const RecordEnd end = run_records(r, field);
    if (end != RecordEnd::kGoOn) return end;
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

bool progressives_on_grid(const RecordTable& table) {
  for (int row = table_row::kProgressiveTre; row <= table_row::kProgressiveUno; ++row) {
    const TableRow& progressive = table.rows[static_cast<std::size_t>(row)];
    if (progressive.num_a % 50 != 0 || progressive.num_b % 50 != 0) return false;
  }
  return true;
}

}  // namespace

void read_train_source(BuildContext& context, std::int32_t sign_row) {
  const std::string& path = context.names.train_source;
  std::string text;
  if (!context.state.grid || !context.files.exists(path)) {
    take_failure_path(context, std::nullopt);
    return;
  }
  if (IoResult result = context.files.read(path, text); !result.ok) {
    context.state.source_error = result.message;
    take_failure_path(context, std::nullopt);
    return;
  }
  TrainReading r{.context = context,
                 .grid = *context.state.grid,
                 .fields = FieldReader(text),
                 .file = bare_name(path),
                 .stations = StationRows{table_row::kFirstStation, sign_row}};

  switch (read_records(r)) {
    case RecordEnd::kGoOn:
    case RecordEnd::kEndNormally:
      break;
    case RecordEnd::kEndReading:
      delete_source(context, path);
      return;
    case RecordEnd::kReadFailure:
      take_failure_path(context, r.origin);
      return;
  }
  delete_source(context, path);
  if (!final_fills(r)) {
    // A speed that does not fit `speed_limit` reaches its cells only now.
    take_failure_path(context, r.speed_origin);
    return;
  }
  // Replaces a status 15 set while reading; no entry is at fault.
  if (!progressives_on_grid(context.state.table)) {
    set_reader_status(context.state.status, status::kProgressiveNotMultiple, std::nullopt, std::nullopt);
  }
}

}  // namespace scenario
