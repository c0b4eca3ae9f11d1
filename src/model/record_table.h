#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace scenario {

/// One row of the record table; field order is the order on disk. The fields
/// mean what the kind of row gives them (station, indication board, header).
struct TableRow {
  std::uint8_t kind = 0;
  std::int32_t num_a = 0;
  std::int32_t num_b = 0;
  std::int32_t num_c = 0;
  std::uint8_t flag = 0;
  std::string text;
  std::int16_t word_a = 0;
  std::int16_t word_b = 0;
  std::int16_t word_c = 0;
  std::int16_t word_d = 0;
  std::int16_t word_e = 0;
  std::uint8_t byte_a = 0;
  std::uint8_t byte_b = 0;
  std::uint8_t byte_c = 0;
  std::uint8_t byte_d = 0;
  std::int32_t num_d = 0;
  bool operator==(const TableRow&) const = default;
};

namespace table_row {
inline constexpr int kCount = 87;
inline constexpr int kFirstStation = 1;
inline constexpr int kFirstSign = 80;           // indication-board texts go down from here
inline constexpr int kProgressiveTre = 81;
inline constexpr int kProgressiveDue = 82;
inline constexpr int kProgressiveUno = 83;
inline constexpr int kQuantities = 84;
inline constexpr int kScenarioHeader = 85;
inline constexpr int kTrainHeader = 86;
}  // namespace table_row

/// Rows 0..86.
struct RecordTable {
  std::array<TableRow, table_row::kCount> rows;
};

/// Every row back to zeros and an empty text.
void clear_table(RecordTable& table);

/// Row 85 takes the scenario base name and row 86 the train number.
void name_scenario(RecordTable& table, const std::string& base_name,
                   const std::string& train_number);

}  // namespace scenario
