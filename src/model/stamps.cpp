#include "model/stamps.h"

#include <string>

#include "model/rounding.h"

namespace scenario {
namespace {

constexpr std::size_t kCodedCharacters = 25;
constexpr std::int16_t kTableMarker = 610;
constexpr std::int16_t kGridMarker = 5121;

// Train number, then base name, A-Z folded to a-z, padded by the fill text;
// only the first 25 characters count, as unsigned byte codes.
std::string working_string(const RecordTable& table) {
  std::string text = table.rows[table_row::kTrainHeader].text +
                     table.rows[table_row::kScenarioHeader].text;
  for (char& c : text) c = ascii_lower(c);
  text += "aabbccddeeffgghhiillmmnnoo";
  text.resize(kCodedCharacters);
  return text;
}

}  // namespace

std::int32_t codice_gara_og(const RecordTable& table) {
  std::int32_t sum = 0;
  for (unsigned char c : working_string(table)) sum += c;
  return sum;
}

std::int32_t codice_gara_st(const RecordTable& table) {
  std::int32_t sum = 0;
  std::int32_t weight = 1;
  for (unsigned char c : working_string(table)) sum += weight++ * c;
  return sum;
}

std::optional<std::int32_t> stamp_headers(RecordTable& table, CellGrid& grid) {
  TableRow& header = table.rows[table_row::kScenarioHeader];
  TrackCell& first = grid[1];
  if (header.word_a != 0 || first.val_a != 0) return 1250;
  header.word_a = kTableMarker;
  first.val_a = kGridMarker;
  if (header.num_d != 0 || first.val_b != 0) return 1251;
  header.num_d = codice_gara_st(table);
  first.val_b = low16(codice_gara_og(table));
  return std::nullopt;
}

}  // namespace scenario
