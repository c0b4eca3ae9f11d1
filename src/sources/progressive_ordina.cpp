#include "sources/progressive_ordina.h"

#include <array>
#include <cstdint>
#include <utility>

#include "model/rounding.h"

namespace scenario {
namespace {

struct Progressive {
  std::int32_t num_a = 0;
  std::int32_t num_b = 0;
  std::int32_t num_c = 0;
};

Progressive take(const TableRow& row) { return {row.num_a, row.num_b, row.num_c}; }

void put(TableRow& row, const Progressive& progressive) {
  row.num_a = progressive.num_a;
  row.num_b = progressive.num_b;
  row.num_c = progressive.num_c;
}

// Rows 81, 82, 83 in their new order, or all zeros when no order is defined.
std::array<Progressive, 3> ordered(const Progressive& uno, const Progressive& due,
                                   const Progressive& tre) {
  // Exact sum: three 32-bit values cannot overflow 64 bits.
  const std::int64_t sum = std::int64_t{uno.num_a} + due.num_a + tre.num_a;
  if (sum == 0) {
    if (uno.num_b > 0) return {uno, due, tre};
    if (due.num_b > 0) return {due, tre, uno};
    if (tre.num_b > 0) return {tre, due, uno};
    return {};
  }
  // Listed so that on equal first values "uno" comes before "due" before "tre";
  // a stable descending sort keeps that order among equals.
  std::array<Progressive, 3> rows = {uno, due, tre};
  if (rows[1].num_a > rows[0].num_a) std::swap(rows[0], rows[1]);
  if (rows[2].num_a > rows[1].num_a) std::swap(rows[1], rows[2]);
  if (rows[1].num_a > rows[0].num_a) std::swap(rows[0], rows[1]);
  // The greatest first value must stand alone, or nothing is kept.
  if (rows[0].num_a == rows[1].num_a) return {};
  return rows;
}

}  // namespace

void progressive_ordina(RecordTable& table) {
  TableRow& row_81 = table.rows[table_row::kProgressiveTre];
  TableRow& row_82 = table.rows[table_row::kProgressiveDue];
  TableRow& row_83 = table.rows[table_row::kProgressiveUno];
  const std::array<Progressive, 3> rows = ordered(take(row_83), take(row_82), take(row_81));
  put(row_81, rows[0]);
  put(row_82, rows[1]);
  put(row_83, rows[2]);
  for (TableRow* row : {&row_81, &row_82, &row_83}) {
    // The 32-bit field keeps the low 32 bits of the sum.
    if (row->num_c == 1) {
      row->num_b = low32(std::int64_t{row->num_b} + 100);
    }
  }
}

}  // namespace scenario
