#include "output/describe.h"

#include <string_view>
#include <type_traits>

#include "language/translate.h"
#include "model/stamps.h"
#include "model/text_cat.h"
#include "output/cp1252.h"

namespace scenario {
namespace {

std::string number_text(std::int64_t value) { return std::to_string(value); }


// A signal packs single digits: left × 10 + right, and rapp × 10 + 3 × sx + dx.
std::string signal_details(const TrackCell& cell, Language language) {
  const int types = ((cell.val_d % 10) + 10) % 10;
  auto digits = [&](int side) {
    std::string text;
    for (const std::int16_t value : {cell.val_a, cell.val_b, cell.val_c}) {
      if (!text.empty()) text += ',';
      text += number_text(side == 0 ? value / 10 : value % 10);
    }
    return text;
  };
  std::string text = trf(language, "left type {1} ({2}), right type {3} ({4}), rapp {5}",
                         {number_text(types / 3), digits(0), number_text(types % 3), digits(1),
                          number_text(cell.val_d / 10)});
  if (cell.timer != 0) text += trf(language, ", timer {1}", {number_text(cell.timer)});
  return text;
}

// A board's speeds are packed as left × 20 + right / 5: for speeds in steps
// of 5 km/h, hundreds give the left speed and the rest the right one.
std::string speed_pair(std::int16_t packed) {
  const int left = packed / 100 * 5;
  const int right = packed % 100 * 5;
  return left == right ? number_text(left) : cat(left, "/", right);
}

std::string row_text(const RecordTable& table, std::int16_t row, Language language) {
  if (row < 0 || row >= table_row::kCount) {
    return trf(language, "row {1} (outside the table)", {number_text(row)});
  }
  return cp1252_to_utf8(table.rows[static_cast<std::size_t>(row)].text);
}

bool is_station(const TableRow& row, std::size_t index) {
  return std::string_view(row_role(row, index)) == "station";
}

}  // namespace

std::int64_t cell_metres(std::size_t index) { return (static_cast<std::int64_t>(index) - 1) * 50; }

const char* cell_kind_label(std::uint8_t kind) {
  return *cell_kind_name(kind) != '\0' ? cell_kind_name(kind) : "unknown";
}

std::string object_details(const TrackCell& cell, const RecordTable& table, Language language) {
  switch (cell.kind) {
    case cell_kind::kSignal: return signal_details(cell, language);
    case cell_kind::kEndBoard:
    case cell_kind::kStartBoard:
    case cell_kind::kWarningBoard: {
      std::string text = number_text(cell.val_a) + " km/h";
      if (cell.val_b != 0) text += trf(language, ", right {1} km/h", {number_text(cell.val_b)});
      if (cell.kind != cell_kind::kWarningBoard && cell.val_c != 0) {
        text += trf(language, ", flag {1}", {number_text(cell.val_c)});
      }
      return text;
    }
    case cell_kind::kPreWarning:
      return trf(language, "pre-warning {1} of 4 before the warning board",
                 {number_text(cell.val_a)});
    case cell_kind::kSpeedIndicator:
      return trf(language, "a {1}, b {2}, c {3} km/h; stripes {4}/{5}",
                 {speed_pair(cell.val_a), speed_pair(cell.val_b), speed_pair(cell.val_c),
                  number_text(cell.val_d / 10), number_text(cell.val_d % 10)});
    case cell_kind::kStopMarker:
      return trf(language, "stop of {1}", {row_text(table, cell.val_a, language)});
    case cell_kind::kTunnelMarker: return tr(language, "tunnel marker");
    case cell_kind::kReductionPoint: return trf(language, "value {1}", {number_text(cell.val_a)});
    case cell_kind::kCodeCut: return tr(language, "code cut");
    case cell_kind::kIndicationBoard: return row_text(table, cell.val_a, language);
    default: return trf(language, "unknown kind {1}", {number_text(cell.kind)});
  }
}

// Stations grow up from row 1 and the indication-board texts down from row
// 80; a board's row holds its text alone.
const char* row_role(const TableRow& row, std::size_t index) {
  switch (index) {
    case 0: return "unused";
    case table_row::kProgressiveTre:
    case table_row::kProgressiveDue:
    case table_row::kProgressiveUno: return "progressive";
    case table_row::kQuantities: return "quantities";
    case table_row::kScenarioHeader: return "scenario-header";
    case table_row::kTrainHeader: return "train-header";
    default: break;
  }
  if (row == TableRow{}) return "empty";
  TableRow numbers = row;
  numbers.text.clear();
  return numbers == TableRow{} ? "board-text" : "station";
}

std::vector<std::pair<std::string, std::string>> row_readings(const TableRow& row,
                                                              std::size_t index) {
  std::vector<std::pair<std::string, std::string>> readings;
  if (is_station(row, index)) {
    readings.emplace_back("time", scheduled_text(row.num_d));
    readings.emplace_back("stand_s", std::to_string(row.byte_b));
  } else if (index == static_cast<std::size_t>(table_row::kTrainHeader)) {
    readings.emplace_back("clock", clock_text((std::int64_t{row.word_c} * 60 + row.word_d) * 60 +
                                              row.word_e));
  } else if (index == static_cast<std::size_t>(table_row::kQuantities)) {
    readings.emplace_back("line_length_m", std::to_string(row.num_b));
  }
  return readings;
}

std::string clock_text(std::int64_t seconds) {
  std::string sign = seconds < 0 ? "-" : "";
  if (seconds < 0) seconds = -seconds;
  auto two = [](std::int64_t value) {
    std::string digits = std::to_string(value);
    return digits.size() < 2 ? "0" + digits : digits;
  };
  sign += two(seconds / 3600);
  sign += ':';
  sign += two(seconds / 60 % 60);
  sign += ':';
  sign += two(seconds % 60);
  return sign;
}

std::string scheduled_text(std::int32_t seconds) {
  return seconds == 0 ? "none" : clock_text(seconds);
}

std::string quoted(const std::string& text) {
  static const char* digits = "0123456789abcdef";
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      out += "\\x";
      out += digits[c >> 4];
      out += digits[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string hex(std::string_view bytes, std::string_view between) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += between;
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::vector<std::string> stamp_notes(const std::string& base_name,
                                     const std::string& train_number, const RecordTable* table,
                                     const CellGrid* grid, Language language) {
  std::vector<std::string> notes;
  RecordTable named;
  name_scenario(named, base_name, train_number);
  if (table != nullptr) {
    const TableRow& header = table->rows[table_row::kScenarioHeader];
    const TableRow& train = table->rows[table_row::kTrainHeader];
    if (header.text != base_name || train.text != train_number) {
      notes.push_back(trf(language,
                          "rows 85 and 86 name the scenario {1} and train {2}, the file name "
                          "says {3} and {4}",
                          {quoted(header.text), quoted(train.text), quoted(base_name),
                           quoted(train_number)}));
    }
    if (header.word_a != 610) {
      notes.push_back(trf(language, "row 85 word_a is {1}, not the stamp 610",
                          {std::to_string(header.word_a)}));
    }
    if (header.num_d != codice_gara_st(named)) {
      notes.push_back(trf(language, "row 85 num_d is {1}, the names give {2}",
                          {std::to_string(header.num_d), std::to_string(codice_gara_st(named))}));
    }
  }
  if (grid != nullptr && grid->contains(1)) {
    const TrackCell& first = (*grid)[1];
    if (first.val_a != 5121) {
      notes.push_back(trf(language, "cell 1 val_a is {1}, not the stamp 5121",
                          {std::to_string(first.val_a)}));
    }
    const auto code = static_cast<std::int16_t>(codice_gara_og(named));
    if (first.val_b != code) {
      notes.push_back(trf(language, "cell 1 val_b is {1}, the names give {2}",
                          {std::to_string(first.val_b), std::to_string(code)}));
    }
  }
  return notes;
}

}  // namespace scenario
