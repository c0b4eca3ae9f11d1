#include "output/scenario_writer.h"

#include <algorithm>
#include <limits>

#include "files/coding.h"

namespace scenario {
namespace {

// A text longer than its 16-bit count can say is cut at 65535 bytes, so the
// count always matches the bytes that follow it. The readers refuse such texts.
std::size_t stored_text_size(const std::string& text) {
  return std::min<std::size_t>(text.size(), std::numeric_limits<std::uint16_t>::max());
}

}  // namespace

std::string encode_record_table(const RecordTable& table) {
  std::size_t size = 0;
  for (const TableRow& row : table.rows) size += kRecordRowFixedBytes + stored_text_size(row.text);
  std::string out;
  out.reserve(size);
  for (const TableRow& row : table.rows) {
    const std::size_t text_size = stored_text_size(row.text);
    put_u8(out, row.kind);
    put_i32(out, row.num_a);
    put_i32(out, row.num_b);
    put_i32(out, row.num_c);
    put_u8(out, row.flag);
    put_u16(out, static_cast<std::uint16_t>(text_size));
    out.append(row.text, 0, text_size);
    put_i16(out, row.word_a);
    put_i16(out, row.word_b);
    put_i16(out, row.word_c);
    put_i16(out, row.word_d);
    put_i16(out, row.word_e);
    put_u8(out, row.byte_a);
    put_u8(out, row.byte_b);
    put_u8(out, row.byte_c);
    put_u8(out, row.byte_d);
    put_i32(out, row.num_d);
  }
  return out;
}

std::string encode_cell_grid(const CellGrid& grid) {
  std::string out;
  out.reserve(grid.cells.size() * kCellBytes);
  for (const TrackCell& cell : grid.cells) {
    put_u8(out, cell.kind);
    put_i16(out, cell.val_a);
    put_i16(out, cell.val_b);
    put_i16(out, cell.val_c);
    put_i16(out, cell.val_d);
    put_u8(out, cell.timer);
    put_u8(out, cell.approach);
    put_u8(out, cell.tunnel);
    put_u8(out, cell.speed_limit);
    put_u8(out, cell.gradient);
    put_u8(out, cell.adhesion);
  }
  return out;
}

}  // namespace scenario
