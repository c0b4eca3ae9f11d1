#include "sources/station_record.h"

#include <algorithm>

#include "language/translate.h"
#include "model/rounding.h"

namespace scenario {
namespace {

constexpr std::int32_t kFirstMarkableCell = 2;  // cells 0 and 1 carry no station marks
constexpr std::int32_t kMinimumGap = 350;       // metres between two stations' extents
constexpr std::int32_t kLongStation = 600;      // shorter stations lose `byte_d`
constexpr std::int32_t kFirstStopKind = 25;     // kinds below this have a stop marker

bool has_stop_marker(std::uint8_t kind) { return kind < kFirstStopKind; }

bool has_approach_cells(std::uint8_t kind) {
  return has_stop_marker(kind) && kind != 5 && kind != 6;
}

std::string metres(std::int64_t value) {
  std::string text = std::to_string(value);
  text += " m";
  return text;
}

std::string extent(std::int64_t start, std::int64_t end) {
  return std::to_string(start) + ".." + metres(end);
}

// The cause in the report's language: `english` with its values.
void tell(StationReport* report, std::string_view english,
          std::initializer_list<std::string_view> values = {}) {
  if (report != nullptr) report->cause = trf(report->language, english, values);
}

// Fields 4 to 17: options, the two parameter groups, standing time,
// scheduled time and name.
bool read_station_details(FieldReader& fields, TableRow& row, StationReport* report) {
  std::int32_t hours = 0;
  std::int32_t minutes = 0;
  std::int32_t seconds = 0;
  if (!read_byte_field(fields, row.flag) || !read_byte_field(fields, row.byte_d) ||
      !read_byte_field(fields, row.byte_c) || !read_word_field(fields, row.word_a) ||
      !read_word_field(fields, row.word_b) || !read_byte_field(fields, row.byte_a) ||
      !read_word_field(fields, row.word_c) || !read_word_field(fields, row.word_d) ||
      !read_word_field(fields, row.word_e) || !read_byte_field(fields, row.byte_b) ||
      !fields.read_number(hours) || !fields.read_number(minutes) || !fields.read_number(seconds)) {
    return false;
  }
  // Computed wide: hours up to 2^31 would overflow 32 bits; the field keeps
  // the low 32 bits of the exact value.
  const std::int64_t scheduled = (std::int64_t{hours} * 60 + minutes) * 60 + seconds;
  row.num_d = low32(scheduled);
  if (!fields.read_text(row.text)) return false;
  if (report != nullptr) {
    report->scheduled = scheduled;
    report->name_place = fields.field_place();
  }
  return true;
}

}  // namespace

EntryEnd read_station_record(FieldReader& fields, RecordTable& table, CellGrid& grid,
                             BuildStatus& status, StationRows& rows, const SourceLine& origin,
                             StationReport* report) {
  const std::int32_t c = rows.counter;
  // The train reader stops at status 10 before the counter reaches the sign
  // row; this keeps a caller that goes on regardless inside the station rows.
  const std::int32_t last_station_row = std::clamp(rows.sign_row, 1, table_row::kFirstSign) - 1;
  if (c < table_row::kFirstStation || c > std::max(last_station_row, 1)) {
    tell(report, N_("no room for another station: the stations have reached the rows of the "
                 "indication-board texts"));
    set_reader_status(status, status::kStationsReachSigns, std::nullopt, origin);
    return EntryEnd::kEndReading;
  }
  TableRow& row = table.rows[static_cast<std::size_t>(c)];
  const std::int32_t n = grid.last_index();

  std::int32_t p = 0;
  if (!fields.read_number(p)) return EntryEnd::kReadFailure;
  if (report != nullptr) report->position_place = fields.field_place();
  row.num_c = p;
  if (!position_in_range(p, n, 800)) {
    tell(report,
         N_("the station position {1} lies outside the line: valid are positions up to {2} (the "
         "rest of the train source is passed over)"),
         {metres(p), metres(std::int64_t{n} * 50 - 800)});
    set_reader_status(status, status::kOutOfRange, p, origin);
    return EntryEnd::kEndNormally;
  }
  if (p % 50 != 0) {
    tell(report, N_("the station position {1} is not a multiple of 50 m"), {metres(p)});
    set_reader_status(status, status::kStationNotMultiple, p, origin);
    return EntryEnd::kEndReading;
  }

  std::int32_t length = 0;
  if (!read_byte_field(fields, row.kind) || !fields.read_number(length)) {
    return EntryEnd::kReadFailure;
  }
  if (report != nullptr) report->length_place = fields.field_place();
  if (length % 100 != 0) {
    tell(report, N_("the station length {1} is not a multiple of 100 m"), {metres(length)});
    set_reader_status(status, status::kStationLength, p, origin);
    return EntryEnd::kEndReading;
  }
  if (!read_station_details(fields, row, report)) return EntryEnd::kReadFailure;

  // The extent, in 64 bits: p + L can pass the 32-bit range. Both ends are
  // multiples of 50, since p is one and L a multiple of 100.
  std::int64_t start = 0;
  std::int64_t end = 0;
  if (row.kind == 5 || row.kind == 6) {
    start = std::int64_t{p} - length;
    end = std::int64_t{p} + 150;
    row.byte_c = 0;
  } else if (row.kind == 7 || row.kind == 8) {
    start = std::int64_t{p} - length;
    end = std::int64_t{p} + length;
    row.byte_c = 0;
  } else {
    start = std::int64_t{p} - length / 2;
    end = std::int64_t{p} + length / 2 + (row.byte_c != 0 ? 50 : 0);
  }
  row.num_a = low32(start);
  row.num_b = low32(end);
  if (length < kLongStation) row.byte_d = 0;
  if (c == table_row::kFirstStation) {
    // The end extension already applied stays in `num_b`.
    row.byte_c = 0;
    row.byte_d = 0;
  }

  // The stop marker is the cell just before the cell that begins at the end
  // of the extent; the approach cells are the four before it.
  const std::int64_t stop = end / 50 - 1;
  if (has_stop_marker(row.kind) && stop > n) {
    // A long station near the end of the line: refused like a position
    // beyond the grid, before any of its marks is written.
    tell(report,
         N_("the stop marker of the station at {1} (extent {2}) would fall on cell {3}, past the "
         "last cell of the line, {4} (the rest of the train source is passed over)"),
         {metres(p), extent(start, end), std::to_string(stop), std::to_string(n)});
    set_reader_status(status, status::kOutOfRange, p, origin);
    return EntryEnd::kEndNormally;
  }
  if (has_approach_cells(row.kind)) {
    for (std::int32_t k = 1; k <= 4; ++k) {
      const std::int64_t cell = stop - k;
      if (cell >= kFirstMarkableCell) grid[static_cast<std::int32_t>(cell)].approach = low8(80 + k);
    }
  }
  if (has_stop_marker(row.kind)) {
    if (stop < kFirstMarkableCell) {
      tell(report,
           N_("the stop marker of the station at {1} (extent {2}) would fall on cell {3}: cells 0 "
           "and 1 take no station mark"),
           {metres(p), extent(start, end), std::to_string(stop)});
      set_reader_status(status, status::kStopMarkerBeforeGrid, std::nullopt, origin);
      return EntryEnd::kEndReading;
    }
    TrackCell& marker = grid[static_cast<std::int32_t>(stop)];
    marker.kind = cell_kind::kStopMarker;
    marker.val_a = low16(c);
  }

  // Checked after the marks: a station refused here has marked the grid.
  if (c > table_row::kFirstStation &&
      start - kMinimumGap < table.rows[static_cast<std::size_t>(c - 1)].num_b) {
    const TableRow& previous = table.rows[static_cast<std::size_t>(c - 1)];
    const std::string at = metres(p), here = extent(start, end);
    const std::string previous_at = metres(previous.num_c);
    const std::string previous_extent = extent(previous.num_a, previous.num_b);
    if (p < previous.num_c) {
      tell(report,
           N_("the station at {1} (extent {2}) is out of order: it comes before the previous "
           "station at {3} (extent {4}); stations go in ascending order of position"),
           {at, here, previous_at, previous_extent});
    } else {
      tell(report,
           N_("the station at {1} (extent {2}) is too close to the previous station at {3} (extent "
           "{4}): a station must start at least 350 m after the previous one ends"),
           {at, here, previous_at, previous_extent});
    }
    set_reader_status(status, status::kStationsTooClose, p, origin);
    return EntryEnd::kEndReading;
  }

  rows.counter = c + 1;
  if (rows.counter >= rows.sign_row) {
    tell(report,
         N_("the stations reach row {1} of the record table, where the indication-board texts "
         "begin: no room for more stations"),
         {std::to_string(rows.counter)});
    set_reader_status(status, status::kStationsReachSigns, std::nullopt, origin);
    return EntryEnd::kEndReading;
  }
  return EntryEnd::kGoOn;
}

}  // namespace scenario
