#include "output/scenario_writer.h"

#include <algorithm>

#include "model/rounding.h"
#include "output/coding.h"
#include "output/record_fields.h"

namespace scenario {
namespace {

std::size_t tagged_value_size(GeometryTag tag) {
  switch (tag) {
    case GeometryTag::int16: return 4;
    case GeometryTag::real: return 10;
    case GeometryTag::empty: break;
  }
  return 2;
}

char* store_tagged_value(char* at, GeometryTag tag, double value) {
  switch (tag) {
    case GeometryTag::int16:
      at = store_u16(at, 2);
      return store_u16(at, static_cast<std::uint16_t>(low16(round_half_even(value))));
    case GeometryTag::real:
      return store_f64(store_u16(at, 5), value);
    case GeometryTag::empty:
      break;
  }
  return store_u16(at, 0);
}

}  // namespace

std::string encode_plan_geometry(const PlanGeometry& geometry) {
  const std::size_t metres = std::min({geometry.tags.size(), geometry.x.size(), geometry.y.size()});
  std::size_t size = 0;
  for (std::size_t m = 0; m < metres; ++m) size += tagged_value_size(geometry.tags[m]);
  // 20 MB for the longest line: sized once and filled in place.
  std::string out(2 * size, '\0');
  char* at = out.data();
  for (std::size_t m = 0; m < metres; ++m) at = store_tagged_value(at, geometry.tags[m], geometry.x[m]);
  for (std::size_t m = 0; m < metres; ++m) at = store_tagged_value(at, geometry.tags[m], geometry.y[m]);
  return out;
}

std::string encode_record_table(const RecordTable& table) {
  std::size_t size = 0;
  for (const TableRow& row : table.rows) size += kRecordRowFixedBytes + stored_text_size(row.text);
  std::string out;
  out.reserve(size);
  for (const TableRow& row : table.rows) put_record(out, row, kRowFields);
  return out;
}

std::string encode_cell_grid(const CellGrid& grid) {
  std::string out;
  out.reserve(grid.cells.size() * kCellBytes);
  for (const TrackCell& cell : grid.cells) put_record(out, cell, kCellFields);
  return out;
}

}  // namespace scenario
