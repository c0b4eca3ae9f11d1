#include "sources/line_reader.h"

#include <optional>
#include <string>
#include <string_view>

#include "model/placement.h"
#include "model/rounding.h"
#include "sources/field_reader.h"
#include "sources/source_text.h"
#include "model/plan_geometry.h"
#include "sources/progressive_ordina.h"

namespace scenario {
namespace {

constexpr std::int32_t kLongestLine = 1000000;
// Dash fields dropped in a row before a field is tested whatever it holds.
constexpr int kHeaderDashLimit = 10;
constexpr int kBodyDashLimit = 2;
// Indication-board texts go from row 80 down to row 2: station rows start at
// row 1 and row 0 stays cleared.
constexpr std::int32_t kLowestSignRow = 2;

// Curvature per metre of the curve classes 1 to 6.
constexpr double kCurvatures[] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

// What the reading does after an entry.
enum class Flow {
  next,        // go on with the next keyword field
  leave_body,  // status 15: skip the rest, but finish the line source normally
  stop,        // status set (or failure path taken): return at once
};

bool ci(std::string_view field, std::string_view keyword) {
  return contains_ignore_case(field, keyword);
}

// A body section name ends the header: it holds "[" and "]" and is no comment.
bool ends_header(std::string_view field) {
  const std::size_t first = field.find_first_not_of(" \t");
  return contains(field, "[") && contains(field, "]") && first != std::string_view::npos &&
         field[first] != '-';
}

class LineReader {
 public:
  LineReader(BuildContext& context, std::string path, std::string_view text)
      : context_(context), path_(std::move(path)), fields_(text) {}

  LineReadEnd run() {
    if (!find_general_section()) return {};
    if (!read_header()) return {};
    progressive_ordina(context_.state.table);
    start_body();
    if (!read_body()) return {};
    finish();
    return {true, sign_row_};
  }

 private:
  // --- sections -----------------------------------------------------------

  bool find_general_section() {
    for (;;) {
      if (!read_keyword()) return fail();
      // A field that ends the file is not tested.
      if (fields_.at_end()) {
        delete_source(context_, path_);
        set_reader_status(context_.state.status, status::kNoGeneralSection, std::nullopt, std::nullopt);
        return false;
      }
      if (ci(token(), "[generale]")) return true;
    }
  }

  bool read_header() {
    while (!fields_.at_end()) {
      if (!read_keyword()) return fail();
      if (fields_.at_end()) break;
      // The end of the file is not tested for a field read in place of a dash
      // field here: it is tested like any other.
      for (int drops = 0; drops < kHeaderDashLimit && contains(token(), "-"); ++drops) {
        if (!read_keyword()) return fail();
      }
      if (header_tests() == Flow::stop) return false;
      if (ends_header(token())) break;
    }
    // Every body entry and the gradient tail need the grid.
    if (!context_.state.grid) return fail();
    return true;
  }

  void start_body() {
    tunnels_ = TunnelList{};
    sign_row_ = table_row::kFirstSign;
    gradient_cursor_ = 0;
    current_gradient_ = 0;
    if (geometry_on()) seed_plan_geometry(*context_.state.geometry);
  }

  bool read_body() {
    while (!fields_.at_end()) {
      if (!read_keyword()) return fail();
      if (fields_.at_end()) return true;
      for (int drops = 0; drops < kBodyDashLimit && contains(token(), "-"); ++drops) {
        if (!read_keyword()) return fail();
        if (fields_.at_end()) return true;
      }
      const Flow flow = body_tests();
      if (flow == Flow::stop) return false;
      if (flow == Flow::leave_body) return true;
    }
    return true;
  }

  // End of the line source, also after status 15.
  void finish() {
    delete_source(context_, path_);
    const std::int64_t tail_end = std::int64_t{grid().last_index()} - 2;
    do {
      write_gradient();
    } while (gradient_cursor_ < tail_end);
    if (geometry_on()) complete_plan_geometry(*context_.state.geometry);
  }

  // --- header entries -----------------------------------------------------

  Flow header_tests() {
    // The header words other than the length's are matched with their case.
    const std::string& field = token();
    RecordTable& table = context_.state.table;
    if (ci(field, "lunghezza") && ci(field, "percorso") && length_entry() == Flow::stop) {
      return Flow::stop;
    }
    const struct {
      const char* word;
      int row;
    } progressives[] = {{"tre", table_row::kProgressiveTre},
                        {"due", table_row::kProgressiveDue},
                        {"uno", table_row::kProgressiveUno}};
    for (const auto& progressive : progressives) {
      if (contains(field, "progressiva") && contains(field, progressive.word)) {
        TableRow& row = table.rows[progressive.row];
        if (!number(row.num_a) || !number(row.num_b) || !number(row.num_c)) return fail_flow();
      }
    }
    TableRow& scenario_row = table.rows[table_row::kScenarioHeader];
    const struct {
      const char* word;
      std::int32_t* value;
    } backgrounds[] = {{"uno", &scenario_row.num_a},
                       {"due", &scenario_row.num_c},
                       {"tre", &scenario_row.num_b}};
    for (const auto& background : backgrounds) {
      if (contains(field, "sfondo") && contains(field, background.word) &&
          !number(*background.value)) {
        return fail_flow();
      }
    }
    if (contains(field, "ripetizione") && contains(field, "segnali")) return repetition_entry();
    return Flow::next;
  }

  Flow length_entry() {
    std::int32_t& length = context_.state.table.rows[table_row::kQuantities].num_b;
    if (!number(length)) return fail_flow();
    // A grid needs at least cells 0 and 1, and the plan geometry its margin.
    if (length < 0 || length > kLongestLine) return stop_with(status::kLineTooLong, std::nullopt);
    context_.state.grid = make_cell_grid(length);
    if (context_.options.geometry_flag != 0) context_.state.geometry = create_plan_geometry(length);
    return Flow::next;
  }

  Flow repetition_entry() {
    TableRow& row = context_.state.table.rows[table_row::kTrainHeader];
    if (!number(row.num_a) || !number(row.num_b)) return fail_flow();
    if (row.num_a % 50 != 0) return stop_with(status::kRepetitionStart, std::nullopt);
    if (row.num_b % 50 != 0) return stop_with(status::kRepetitionEnd, std::nullopt);
    if (contains(token(), "4")) {
      row.num_c = 4;
    } else if (contains(token(), "9")) {
      row.num_c = 9;
    } else {
      return stop_with(status::kRepetitionCodes, std::nullopt);
    }
    if (row.num_b == 0) row.num_c = 0;
    return Flow::next;
  }

  // --- body entries -------------------------------------------------------

  Flow body_tests() {
    // Every test is made on the same keyword field; only the indication board,
    // the last one, replaces the current token (with its text).
    if (ci(token(), "pendenza")) {
      if (Flow flow = gradient_entry(); flow != Flow::next) return flow;
    }
    if (context_.options.geometry_flag != 0 && ci(token(), "curva")) {
      if (Flow flow = curve_entry(); flow != Flow::next) return flow;
    }
    if (ci(token(), "montagna")) {
      if (Flow flow = tunnel_entry(); flow != Flow::next) return flow;
    }
    if (ci(token(), "indicatori_v")) {
      if (Flow flow = speed_indicator_entry(); flow != Flow::next) return flow;
    }
    if (ci(token(), "cartello") && ci(token(), "indicat")) return indication_board_entry();
    return Flow::next;
  }

  Flow gradient_entry() {
    std::int32_t position = 0;
    std::int32_t gradient = 0;
    if (!number(position) || !number(gradient)) return fail_flow();
    if (!in_range(position)) return out_of_range(position);
    // Cells up to the one before the entry's change cell keep the gradient in
    // force so far; at least one cell is written, so two entries at the same
    // position still move the cursor on.
    const std::int32_t change_cell = lower_cell_index(position);
    if (change_cell > 0) {
      do {
        write_gradient();
      } while (gradient_cursor_ < change_cell);
    }
    current_gradient_ = gradient;
    return Flow::next;
  }

  Flow curve_entry() {
    std::int32_t start = 0;
    std::int32_t length = 0;
    if (!number(start) || !number(length)) return fail_flow();
    if (!in_range(start)) return out_of_range(start);
    std::optional<double> curvature;
    // The class is the first of the digits 1..6, in that order, in the field.
    constexpr std::string_view kClassDigits = "123456";
    for (std::size_t digit = 0; digit < kClassDigits.size() && !curvature; ++digit) {
      if (contains(token(), kClassDigits.substr(digit, 1))) curvature = kCurvatures[digit];
    }
    if (!curvature) return stop_with(status::kCurveFault, std::nullopt);
    if (ci(token(), "s")) curvature = -*curvature;
    if (!run_curve(*context_.state.geometry, start, length, *curvature)) {
      return stop_with(status::kCurveFault, std::nullopt);
    }
    return Flow::next;
  }

  Flow tunnel_entry() {
    std::int32_t inizio = 0;
    std::int32_t fine = 0;
    std::int32_t tipo = 0;
    if (!number(inizio) || !number(fine) || !number(tipo)) return fail_flow();
    if (!in_range(inizio)) return out_of_range(inizio);
    memo_montagna(grid(), tunnels_, inizio, fine, tipo);
    return placement_outcome(inizio);
  }

  Flow speed_indicator_entry() {
    std::int32_t values[9] = {};
    for (std::int32_t& value : values) {
      if (!number(value)) return fail_flow();
    }
    const std::int32_t posizione = values[0];
    if (!board_in_range(posizione)) return out_of_range(posizione);
    if (!memo_indicatori_v_max(grid(), context_.state.status, posizione, values[1], values[2],
                               values[3], values[4], values[5], values[6], values[7],
                               values[8])) {
      return fail_flow();
    }
    return placement_outcome(posizione);
  }

  Flow indication_board_entry() {
    std::int32_t position = 0;
    if (!number(position) || !fields_.read_text(token_)) return fail_flow();
    if (!board_in_range(position)) return out_of_range(position);
    TrackCell& cell = grid()[cell_index(position)];
    if (!cell_is_free(cell)) return stop_with(status::kIndicationBoardTaken, position);
    if (sign_row_ < kLowestSignRow) return stop_with(status::kStationsReachSigns, position);
    cell.kind = cell_kind::kIndicationBoard;
    cell.val_a = low16(sign_row_);
    context_.state.table.rows[static_cast<std::size_t>(sign_row_)].text = token_;
    --sign_row_;
    return Flow::next;
  }

  // --- shared steps -------------------------------------------------------

  // The reader acts on a code left by a placement routine, whatever set it.
  Flow placement_outcome(std::int32_t position) {
    if (context_.state.status.code != status::kNone) return stop_with(context_.state.status.code, position);
    return Flow::next;
  }

  // The gradient in force into the cell at the cursor; a cursor beyond the
  // grid (entries crowded at the end) still advances but writes nothing.
  void write_gradient() {
    if (grid().contains(gradient_cursor_)) {
      grid()[static_cast<std::int32_t>(gradient_cursor_)].gradient =
          low8(std::int64_t{current_gradient_} + 100);
    }
    ++gradient_cursor_;
  }

  bool in_range(std::int32_t position) const {
    return position_in_range(position, grid().last_index());
  }

  // Boards also need a cell at or after cell 0.
  bool board_in_range(std::int32_t position) const {
    return in_range(position) && cell_index(position) >= 0;
  }

  Flow out_of_range(std::int32_t position) {
    set_reader_status(context_.state.status, status::kOutOfRange, position, origin());
    return Flow::leave_body;
  }

  Flow stop_with(StatusCode code, std::optional<std::int32_t> position) {
    delete_source(context_, path_);
    set_reader_status(context_.state.status, code, position, origin());
    return Flow::stop;
  }

  bool fail() {
    take_failure_path(context_, origin());
    return false;
  }

  Flow fail_flow() {
    fail();
    return Flow::stop;
  }

  // Reads a keyword field into the current token and remembers its line as
  // the line of the entry it may start (or of the field that failed).
  bool read_keyword() {
    const bool read = fields_.read_text(token_);
    entry_line_ = fields_.field_line();
    return read;
  }

  bool number(std::int32_t& value) { return fields_.read_number(value); }

  const std::string& token() const { return token_; }
  CellGrid& grid() { return *context_.state.grid; }
  const CellGrid& grid() const { return *context_.state.grid; }
  bool geometry_on() const { return context_.options.geometry_flag != 0 && context_.state.geometry; }
  SourceLine origin() const { return {bare_name(path_), entry_line_}; }

  BuildContext& context_;
  const std::string path_;
  FieldReader fields_;
  std::int32_t entry_line_ = 1;
  std::string token_;  // the text field last read

  // Working values of the body.
  TunnelList tunnels_;
  std::int32_t sign_row_ = table_row::kFirstSign;
  std::int64_t gradient_cursor_ = 0;  // wider than the grid: it may run past it
  std::int32_t current_gradient_ = 0;
};

}  // namespace

LineReadEnd read_line_source(BuildContext& context) {
  name_scenario(context.state.table, context.options.base_name, context.options.train_number);
  context.state.grid.reset();
  context.state.geometry.reset();
  const std::string& path = context.names.line_source;
  if (!context.files.exists(path)) {
    set_reader_status(context.state.status, status::kNoLineSource, std::nullopt, std::nullopt);
    return {};
  }
  std::string text;
  if (IoResult result = context.files.read(path, text); !result.ok) {
    // The status says the reading failed; the message says why.
    context.state.source_error = result.message;
    take_failure_path(context, std::nullopt);
    return {};
  }
  return LineReader(context, path, text).run();
}

}  // namespace scenario
