#pragma once

#include <cstdint>

#include "language/language.h"
#include "model/build_status.h"
#include "model/cell_grid.h"
#include "model/record_table.h"
#include "sources/field_reader.h"
#include "sources/source_text.h"
#include "sources/train_fields.h"

namespace scenario {

/// Where the stations stand in the record table while the train source is read.
struct StationRows {
  std::int32_t counter = table_row::kFirstStation;  // the row of the next station
  std::int32_t sign_row = table_row::kFirstSign;    // the row the next indication board would take
};

/// What the train reader tells the author about a station record.
struct StationReport {
  std::string cause;           // the cause of the status set, in words
  std::int64_t scheduled = 0;  // the scheduled time in seconds, before it is cut to 32 bits
  FieldPlace name_place;       // where the name was read
  FieldPlace position_place;   // where the position was read
  FieldPlace length_place;     // where the length was read
  Language language = Language::english;  // of the cause's words
};

/// Reads the seventeen fields of a "stazione" record that follow its keyword
/// field, stores the station at row `rows.counter`, marks its stop marker and
/// approach cells and checks it against the grid, the previous station and
/// the rows left. Every status it sets carries `origin`; on kReadFailure it
/// sets none (the caller takes the failure path). `report`, when given, gets
/// the cause of the status set.
EntryEnd read_station_record(FieldReader& fields, RecordTable& table, CellGrid& grid,
                             BuildStatus& status, StationRows& rows, const SourceLine& origin,
                             StationReport* report = nullptr);

}  // namespace scenario
