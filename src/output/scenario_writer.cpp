#include "output/scenario_writer.h"

#include "files/coding.h"
#include "output/record_fields.h"

namespace scenario {

std::string encode_record_table(const RecordTable& table) {
  std::size_t size = 0;
  for (const TableRow& row : table.rows) size += kRecordRowFixedBytes + stored_text_size(row.text);
  // Sized once and filled in place, as the cell grid is.
  std::string out(size, '\0');
  char* at = out.data();
  for (const TableRow& row : table.rows) {
    for (const RowField& field : kRowFields) at = store_field(at, row, field);
  }
  return out;
}

std::string encode_cell_grid(const CellGrid& grid) {
  // Sized once and filled in place: a long line has tens of thousands of cells.
  std::string out(grid.cells.size() * kCellBytes, '\0');
  char* at = out.data();
  for (const TrackCell& cell : grid.cells) {
    for (const CellField& field : kCellFields) at = store_field(at, cell, field);
  }
  return out;
}

}  // namespace scenario
