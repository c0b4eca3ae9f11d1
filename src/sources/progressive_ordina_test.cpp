#include "sources/progressive_ordina.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace scenario {
namespace {

using Triple = std::array<std::int32_t, 3>;

struct OrderCase {
  const char* name;
  Triple uno, due, tre;     // as read: rows 83, 82, 81
  Triple row_81, row_82, row_83;
};

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(ProgressiveOrdina, OrdersTheThreeDefinitions) {
  const OrderCase cases[] = {
      {"greatest first, then by first value, num_c 1 adds 100",
       {1000, 200, 1}, {3000, 0, 0}, {2000, 0, 0},
       {3000, 0, 0}, {2000, 0, 0}, {1000, 300, 1}},
      {"greatest twice: all zeros", {0, 7, 1}, {5000, 8, 1}, {5000, 9, 1},
       {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"all equal and not zero: all zeros", {5, 1, 0}, {5, 2, 0}, {5, 3, 0},
       {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"ties below the greatest: uno before due before tre", {100, 1, 0}, {100, 2, 0},
       {900, 3, 0}, {900, 3, 0}, {100, 1, 0}, {100, 2, 0}},
      {"ties below the greatest: due before tre", {900, 1, 0}, {100, 2, 0}, {100, 3, 0},
       {900, 1, 0}, {100, 2, 0}, {100, 3, 0}},
      {"negative first values", {-10, 1, 0}, {-30, 2, 0}, {-20, 3, 0},
       {-10, 1, 0}, {-20, 3, 0}, {-30, 2, 0}},
      {"sum 0, uno set: uno, due, tre", {0, 50, 0}, {0, 60, 0}, {0, 70, 1},
       {0, 50, 0}, {0, 60, 0}, {0, 170, 1}},
      {"sum 0, due set: due, tre, uno", {0, 0, 0}, {0, 60, 0}, {0, 70, 0},
       {0, 60, 0}, {0, 70, 0}, {0, 0, 0}},
      {"sum 0, only tre set: tre, due, uno", {0, -5, 1}, {0, 0, 1}, {0, 70, 0},
       {0, 70, 0}, {0, 100, 1}, {0, -5 + 100, 1}},
      {"sum 0 from values that cancel", {-1, 0, 0}, {-2, 5, 0}, {3, 0, 0},
       {-2, 5, 0}, {3, 0, 0}, {-1, 0, 0}},
      {"sum 0, nothing set: all zeros", {0, 0, 1}, {0, -50, 1}, {0, 0, 1},
       {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"all zero stays zero", {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
       {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      // In 32 bits these first values would add up to 0 and take the other rule.
      {"sum is exact", {kMax, 50, 0}, {kMax, 0, 0}, {2, 0, 0},
       {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"the second value keeps its low 32 bits", {0, kMax, 1}, {0, 0, 0}, {0, 0, 0},
       {0, kMin + 99, 1}, {0, 0, 0}, {0, 0, 0}},
  };
  for (const OrderCase& c : cases) {
    SCOPED_TRACE(c.name);
    RecordTable table;
    auto put = [&](int row, const Triple& t) {
      table.rows[row].num_a = t[0];
      table.rows[row].num_b = t[1];
      table.rows[row].num_c = t[2];
    };
    auto get = [&](int row) {
      return Triple{table.rows[row].num_a, table.rows[row].num_b, table.rows[row].num_c};
    };
    put(table_row::kProgressiveUno, c.uno);
    put(table_row::kProgressiveDue, c.due);
    put(table_row::kProgressiveTre, c.tre);
    progressive_ordina(table);
    EXPECT_EQ(get(81), c.row_81);
    EXPECT_EQ(get(82), c.row_82);
    EXPECT_EQ(get(83), c.row_83);
  }
}

}  // namespace
}  // namespace scenario
