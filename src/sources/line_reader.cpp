#include "sources/line_reader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "language/translate.h"
#include "model/cell_fill.h"
#include "model/placement.h"
#include "model/plan_geometry.h"
#include "model/rounding.h"
#include "sources/field_reader.h"
#include "sources/keyword_warnings.h"
#include "sources/keywords.h"
#include "sources/progressive_ordina.h"
#include "sources/source_text.h"

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

using E = KeywordEntry;

std::string metres(std::int64_t value) {
  std::string text = std::to_string(value);
  text += " m";
  return text;
}

// A body section name ends the header: it holds "[" and "]" and is no comment.
bool ends_header(std::string_view field) {
  const std::size_t first = field.find_first_not_of(" \t");
  return contains(field, "[") && contains(field, "]") && first != std::string_view::npos &&
         field[first] != '-';
}

class LineReader {
 public:
  LineReader(BuildContext& context, const std::string& path, std::string text)
      : context_(context),
        path_(path),
        source_(context, path, std::move(text)),
        fields_(source_.fields()),
        watch_(source_, N_("the line source's header")) {}

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
      if (!read_keyword()) {
        Diagnostic finding = keyword_failure();
        if (fields_.fault() == FieldFault::at_end) {
          finding.message = tr(lang(), "the line source ends before its \"[generale]\" line") +
                            empty_reason(source_.text(), lang());
        }
        if (!fail(std::move(finding)) || fields_.at_end()) return false;
        continue;
      }
      // A field that ends the file is not tested.
      if (fields_.at_end()) {
        delete_source(context_, path_);
        report_status(context_, no_general_section(), std::nullopt);
        return false;
      }
      if (matches(keywords_of(SourceKind::line, KeywordPlace::section)[0], token())) return true;
    }
  }

  bool read_header() {
    while (!fields_.at_end()) {
      if (!read_keyword()) {
        if (!fail(keyword_failure())) return false;
        continue;
      }
      if (fields_.at_end()) break;
      // The end of the file is not tested for a field read in place of a dash
      // field here: it is tested like any other.
      if (drop_dash_fields(token_, kHeaderDashLimit, false, fields_,
                           [this] { return drop_keyword(); }) == DashDrop::kFailure) {
        if (!fail(keyword_failure())) return false;
        continue;
      }
      if (header_tests() == EntryEnd::kEndReading) return false;
      if (ends_header(token())) break;
    }
    // Every body entry and the gradient tail need the grid.
    if (!context_.state.grid && length_seen_ && source_.keep_going()) {
      // A `check` run has told why the length was refused.
      context_.state.grid = make_lazy_cell_grid(kLongestLine);
    }
    if (!context_.state.grid) {
      Diagnostic finding = unplaced_error(
          status::kReadFailure, tr(lang(), "the header ends without a \"lunghezza percorso\" "
                                           "entry: the line has no length, and no cell grid is made"));
      finding.where = SourcePoint{source_.file(), entry_.line, 0};
      finding.source_line = std::string(fields_.line_text(entry_.line_start));
      if (!fail(std::move(finding))) return false;
      // A `check` run goes on over the longest line there can be.
      context_.state.grid = make_lazy_cell_grid(kLongestLine);
    }
    return true;
  }

  void start_body() {
    tunnels_ = TunnelList{};
    furthest_tunnel_.reset();
    last_tunnel_.reset();
    sign_row_ = table_row::kFirstSign;
    gradient_cursor_ = 0;
    current_gradient_ = 0;
    if (geometry_on()) seed_plan_geometry(*context_.state.geometry);
    watch_.set_section_name(N_("the line source's body"));
  }

  bool read_body() {
    while (!fields_.at_end()) {
      if (!read_keyword()) {
        if (!fail(keyword_failure())) return false;
        continue;
      }
      if (fields_.at_end()) return true;
      const DashDrop drop =
          drop_dash_fields(token_, kBodyDashLimit, true, fields_, [this] { return drop_keyword(); });
      if (drop == DashDrop::kEnd) return true;
      if (drop == DashDrop::kFailure) {
        if (!fail(keyword_failure())) return false;
        continue;
      }
      const EntryEnd end = body_tests();
      if (end == EntryEnd::kEndReading) return false;
      if (end == EntryEnd::kEndNormally) return true;
    }
    return true;
  }

  // End of the line source, also after status 15.
  void finish() {
    delete_source(context_, path_);
    const std::int64_t tail_end = std::int64_t{grid().last_index()} - 2;
    write_gradient_to(tail_end);
    // The straight run to the end is for the file; a `check` run writes none
    // (and the run can set no status: it is not bound by the curve limit).
    if (geometry_on() && !source_.keep_going()) complete_plan_geometry(*context_.state.geometry);
  }

  // --- dispatch -----------------------------------------------------------

  // Every entry whose keyword the field holds runs, in the order of the
  // keyword table, on the same keyword field; an entry that ends the reading
  // ends the tests.
  EntryEnd run_entries(KeywordPlace place) {
    const std::span<const SourceKeyword> section = keywords_of(SourceKind::line, place);
    const std::string field = token();  // the indication board replaces the token
    bool matched = false;
    for (const SourceKeyword& keyword : section) {
      if (!matches(keyword, field)) continue;
      if (!matched) watch_.field(field, entry_, true, section);
      matched = true;
      // Without the plan geometry a curve is passed over on purpose: its
      // values are then read as keyword fields that match nothing.
      if (keyword.entry == E::curve && context_.options.geometry_flag == 0) continue;
      entry_keyword_ = &keyword;
      entry_reads_ = fields_.reads();
      value_count_ = 0;
      const EntryEnd end = run_entry(keyword.entry);
      if (end == EntryEnd::kGoOn) {
        watch_.entry_read(keyword);
        continue;
      }
      if (!source_.keep_going()) return end;
      // In a `check` run the error is told and the reading goes on.
      source_.resume_after_error(entry_);
      return EntryEnd::kGoOn;
    }
    if (!matched) watch_.field(field, entry_, false, section);
    return EntryEnd::kGoOn;
  }

  EntryEnd header_tests() { return run_entries(KeywordPlace::header); }
  EntryEnd body_tests() { return run_entries(KeywordPlace::body); }

  EntryEnd run_entry(KeywordEntry entry) {
    TableRow& scenario_row = context_.state.table.rows[table_row::kScenarioHeader];
    switch (entry) {
      case E::length: return length_entry();
      case E::progressive_tre: return progressive_entry(table_row::kProgressiveTre);
      case E::progressive_due: return progressive_entry(table_row::kProgressiveDue);
      case E::progressive_uno: return progressive_entry(table_row::kProgressiveUno);
      // Backgrounds "uno", "due", "tre" go to num_a, num_c, num_b.
      case E::background_uno: return number(scenario_row.num_a) ? EntryEnd::kGoOn : read_failed();
      case E::background_due: return number(scenario_row.num_c) ? EntryEnd::kGoOn : read_failed();
      case E::background_tre: return number(scenario_row.num_b) ? EntryEnd::kGoOn : read_failed();
      case E::repetition: return repetition_entry();
      case E::gradient: return gradient_entry();
      case E::curve: return curve_entry();
      case E::tunnel: return tunnel_entry();
      case E::speed_indicator: return speed_indicator_entry();
      case E::indication_board: return indication_board_entry();
      default: return EntryEnd::kGoOn;
    }
  }

  // --- header entries -----------------------------------------------------

  EntryEnd length_entry() {
    std::int32_t& length = context_.state.table.rows[table_row::kQuantities].num_b;
    length_seen_ = true;
    if (!number(length)) return read_failed();
    // A grid needs at least cells 0 and 1, and the plan geometry its margin.
    if (length < 0 || length > kLongestLine) {
      return stop_at(value_place(0), status::kLineTooLong, std::nullopt,
                       trf(lang(), "the line length {1} is outside 0..1000000 m", {metres(length)}));
    }
    context_.state.grid = make_cell_grid(length);
    context_.state.line_length = length;
    if (context_.options.geometry_flag != 0) {
      context_.state.geometry = create_plan_geometry(length, context_.options.geometry_points);
    }
    return EntryEnd::kGoOn;
  }

  EntryEnd progressive_entry(int row_index) {
    TableRow& row = context_.state.table.rows[static_cast<std::size_t>(row_index)];
    if (!number(row.num_a) || !number(row.num_b) || !number(row.num_c)) return read_failed();
    context_.state.progressives.push_back(
        {row.num_a, row.num_b, source_.point(entry_), source_.line_of(entry_)});
    return EntryEnd::kGoOn;
  }

  EntryEnd repetition_entry() {
    TableRow& row = context_.state.table.rows[table_row::kTrainHeader];
    if (!number(row.num_a) || !number(row.num_b)) return read_failed();
    if (row.num_a % 50 != 0) {
      return stop_at(value_place(0), status::kRepetitionStart, std::nullopt,
                       trf(lang(), "the signal-repetition start {1} is not a multiple of 50 m",
                           {metres(row.num_a)}));
    }
    if (row.num_b % 50 != 0) {
      return stop_at(value_place(1), status::kRepetitionEnd, std::nullopt,
                       trf(lang(), "the signal-repetition end {1} is not a multiple of 50 m",
                           {metres(row.num_b)}));
    }
    if (contains(token(), "4")) {
      row.num_c = 4;
    } else if (contains(token(), "9")) {
      row.num_c = 9;
    } else {
      return stop_with(status::kRepetitionCodes, std::nullopt,
                       trf(lang(), "the signal-repetition keyword {1} holds neither the digit 4 "
                                   "nor the digit 9 (the number of codes)",
                           {quoted(token())}));
    }
    if (row.num_b == 0) row.num_c = 0;
    return EntryEnd::kGoOn;
  }

  // --- body entries -------------------------------------------------------

  EntryEnd gradient_entry() {
    std::int32_t position = 0;
    std::int32_t gradient = 0;
    if (!number(position) || !number(gradient)) return read_failed();
    const FieldPlace gradient_place = fields_.field_place();
    if (!in_range(position)) return out_of_range(position, range_text(false));
    gradient_order_.position(source_, entry_, position);
    check_narrowing(source_, gradient_place, tr(lang(), "gradient in permille"), gradient, -100, 155,
                    std::int64_t{low8(std::int64_t{gradient} + 100)} - 100);
    // Cells up to the one before the entry's change cell keep the gradient in
    // force so far; at least one cell is written, so two entries at the same
    // position still move the cursor on.
    const std::int32_t change_cell = lower_cell_index(position);
    if (change_cell > 0) write_gradient_to(change_cell);
    current_gradient_ = gradient;
    context_.state.gradient_origins[change_cell] = entry_point();
    return EntryEnd::kGoOn;
  }

  EntryEnd curve_entry() {
    std::int32_t start = 0;
    std::int32_t length = 0;
    if (!number(start) || !number(length)) return read_failed();
    if (!in_range(start)) return out_of_range(start, range_text(false));
    curve_order_.position(source_, entry_, start);
    std::optional<double> curvature;
    // The class is the first of the digits 1..6, in that order, in the field.
    constexpr std::string_view kClassDigits = "123456";
    for (std::size_t digit = 0; digit < kClassDigits.size() && !curvature; ++digit) {
      if (contains(token(), kClassDigits.substr(digit, 1))) curvature = kCurvatures[digit];
    }
    if (!curvature) {
      return stop_with(status::kCurveFault, std::nullopt,
                       trf(lang(), "the curve keyword {1} holds no class digit 1 to 6 (as in {2})",
                           {quoted(token()), "\"curvad2\""}));
    }
    if (ci(token(), "s")) curvature = -*curvature;
    // Without the plan geometry (a `check` run over a line without a length)
    // there is nothing to run the curve on.
    if (!context_.state.geometry) return EntryEnd::kGoOn;
    context_.state.curve_origins[start] = entry_point();
    if (!run_curve(*context_.state.geometry, start, length, *curvature)) {
      return stop_with(status::kCurveFault, std::nullopt,
                       trf(lang(), "the curve from {1} over {2} takes the plan geometry past "
                                   "metre 1000000",
                           {metres(start), metres(length)}));
    }
    return EntryEnd::kGoOn;
  }

  EntryEnd tunnel_entry() {
    std::int32_t inizio = 0;
    std::int32_t fine = 0;
    std::int32_t tipo = 0;
    if (!number(inizio) || !number(fine) || !number(tipo)) return read_failed();
    const FieldPlace tipo_place = fields_.field_place();
    if (!in_range(inizio)) return out_of_range(inizio, range_text(false));
    const std::int32_t kind = tipo > 10 ? tipo - 10 : tipo;
    check_narrowing(source_, tipo_place, tr(lang(), "tunnel kind"), kind, 0, 255, low8(kind));
    check_tunnel_extent(inizio, fine);
    check_tunnel_gap(inizio, fine, kind);
    memo_montagna(grid(), tunnels_, inizio, fine, tipo);
    context_.state.tunnel_origins[lower_cell_index(inizio)] = entry_point();
    return placement_outcome(inizio, cell_index(inizio), N_("the cell of the tunnel at {1} (cell {2}) is taken"),
                             cell_kind::kNone);
  }

  EntryEnd speed_indicator_entry() {
    std::int32_t values[9] = {};
    for (std::int32_t& value : values) {
      if (!number(value)) return read_failed();
    }
    const std::int32_t posizione = values[0];
    if (!board_in_range(posizione)) return out_of_range(posizione, range_text(true));
    const std::int64_t stripes = std::int64_t{values[4]} * 10 + values[8];
    if (!memo_indicatori_v_max(grid(), context_.state.status, posizione, values[1], values[2],
                               values[3], values[4], values[5], values[6], values[7],
                               values[8])) {
      Diagnostic finding = source_.at(
          Severity::error, entry_,
          tr(lang(), "the speeds of the maximum-speed indicator board do not fit its 16-bit "
                     "fields: each left speed times 20 plus the right speed over 5 must stay "
                     "within -32768..32767"));
      finding.id = status_id(status::kReadFailure);
      finding.code = status::kReadFailure;
      return fail(std::move(finding)) ? EntryEnd::kGoOn : EntryEnd::kEndReading;
    }
    if (context_.state.status.code == status::kNone) {
      check_narrowing(source_, entry_,
                      tr(lang(), "stripes value (left stripes times 10 plus right)"),
                      stripes, -32768, 32767, low16(stripes));
    }
    return placement_outcome(
        posizione, cell_index(posizione),
        N_("the cell of the maximum-speed indicator board at {1} (cell {2}) is taken"),
        cell_kind::kSpeedIndicator);
  }

  EntryEnd indication_board_entry() {
    std::int32_t position = 0;
    if (!number(position) || !fields_.read_text(token_)) return read_failed();
    const FieldPlace text_place = fields_.field_place();
    if (!board_in_range(position)) return out_of_range(position, range_text(true));
    const std::int32_t index = cell_index(position);
    TrackCell& cell = grid()[index];
    if (!cell_is_free(cell)) {
      return stop_at(value_place(0), status::kIndicationBoardTaken, position,
                       taken_message(N_("the cell of the indication board at {1} (cell {2}) is taken"),
                                     position, index));
    }
    if (sign_row_ < kLowestSignRow) {
      return stop_with(status::kStationsReachSigns, position,
                       tr(lang(), "no room for an 80th indication board: at most 79 board texts "
                                  "fit the record table (rows 80 down to 2)"));
    }
    check_shown_text(source_, text_place, tr(lang(), "board text"), token_);
    cell.kind = cell_kind::kIndicationBoard;
    cell.val_a = low16(sign_row_);
    occupy(index, cell.kind, position);
    context_.state.row_origins[sign_row_] = entry_point();
    context_.state.table.rows[static_cast<std::size_t>(sign_row_)].text = token_;
    --sign_row_;
    return EntryEnd::kGoOn;
  }

  // --- shared steps -------------------------------------------------------

  // The reader acts on a code left by a placement routine, whatever set it.
  EntryEnd placement_outcome(std::int32_t position, std::int32_t index, const char* taken,
                             std::uint8_t placed_kind) {
    const StatusCode code = context_.state.status.code;
    if (code == status::kNone) {
      if (placed_kind != cell_kind::kNone) occupy(index, placed_kind, position);
      return EntryEnd::kGoOn;
    }
    return stop_at(value_place(0), code, position, taken_message(taken, position, index));
  }

  // A tunnel that starts at most 150 m after the one before it ends is
  // stored as kind 3 whatever kind it was given: said where another kind was.
  void check_tunnel_gap(std::int32_t inizio, std::int32_t fine, std::int32_t kind) {
    const std::optional<SeenTunnel> before = std::move(last_tunnel_);
    last_tunnel_ = SeenTunnel{inizio, fine, source_.point(entry_), source_.line_of(entry_)};
    if (!before || kind == 3) return;
    const std::int64_t gap = std::int64_t{inizio} - before->fine;
    if (gap < 0 || gap > 150) return;
    Diagnostic note = source_.at(Severity::note, entry_, "");
    note.where = before->where;
    note.source_line = before->source_line;
    note.message = trf(lang(), "the tunnel from {1} to {2} is here",
                       {metres(before->inizio), metres(before->fine)});
    source_.warn(WarningKind::close_tunnels, value_place(0),
                 trf(lang(),
                     "the tunnel from {1} starts {2} after the tunnel ending at {3} (line {4}): "
                     "a tunnel at most 150 m after the one before is stored as kind 3, not {5}",
                     {metres(inizio), metres(gap), metres(before->fine),
                      std::to_string(before->where.line), std::to_string(kind)}),
                 std::move(note));
  }

  // A tunnel that starts before an earlier one ends: accepted as it is, but
  // seldom what the author meant.
  void check_tunnel_extent(std::int32_t inizio, std::int32_t fine) {
    warn_past_line_end(context_.state, source_, value_place(0),
                       trf(lang(), "tunnel from {1}", {metres(inizio)}), inizio, fine);
    // Against the earlier tunnel that reaches furthest: one comparison an
    // entry, however many tunnels the line has.
    if (furthest_tunnel_ && inizio < furthest_tunnel_->fine && fine > furthest_tunnel_->inizio) {
      const SeenTunnel& earlier = *furthest_tunnel_;
      Diagnostic note = source_.at(Severity::note, entry_, "the earlier tunnel");
      note.where = earlier.where;
      note.source_line = earlier.source_line;
      note.message = trf(lang(), "the tunnel from {1} to {2} is here",
                         {metres(earlier.inizio), metres(earlier.fine)});
      source_.warn(WarningKind::tunnel_overlap, value_place(0),
                   trf(lang(),
                       "the tunnel from {1} to {2} overlaps the tunnel from {3} to {4} (line {5}): "
                       "the cells they share take this tunnel's kind",
                       {metres(inizio), metres(fine), metres(earlier.inizio),
                        metres(earlier.fine), std::to_string(earlier.where.line)}),
                   std::move(note));
    }
    if (!furthest_tunnel_ || fine > furthest_tunnel_->fine) {
      furthest_tunnel_ = SeenTunnel{inizio, fine, source_.point(entry_), source_.line_of(entry_)};
    }
  }

  Language lang() const { return source_.language(); }

  // Where the entry being read stands in its source.
  SourcePoint entry_point() const { return source_.point(entry_); }

  void occupy(std::int32_t index, std::uint8_t kind, std::int32_t position) {
    context_.state.occupants[index] =
        CellOccupant{kind, position, source_.point(entry_), source_.line_of(entry_)};
  }

  // `taken`: "the cell of the ... at {1} (cell {2}) is taken", marked.
  std::string taken_message(const char* taken, std::int32_t position, std::int32_t index) const {
    return trf(lang(), taken, {metres(position), std::to_string(index)}) +
           occupant_text(context_.state, grid(), index, lang());
  }

  // The gradient in force into the cell at the cursor; a cursor beyond the
  // grid (entries crowded at the end) still advances but writes nothing.
  // Writes the gradient in force into the cells from the cursor up to the one
  // before `end`, at least one; the cursor moves on past cells outside the grid.
  void write_gradient_to(std::int64_t end) {
    const std::int64_t stop = std::max(end, gradient_cursor_ + 1);
    fill_cells(grid(), &TrackCell::gradient, gradient_cursor_, stop,
               low8(std::int64_t{current_gradient_} + 100));
    gradient_cursor_ = stop;
  }

  bool in_range(std::int32_t position) const {
    return position_in_range(position, grid().last_index());
  }

  // Boards also need a cell at or after cell 0.
  bool board_in_range(std::int32_t position) const {
    return in_range(position) && cell_index(position) >= 0;
  }

  // The positions the range rule lets through: (p + 100) / 50 <= N, and for
  // boards a cell at or after cell 0 (p >= -75).
  std::string range_text(bool board) const {
    const std::int64_t last = std::int64_t{grid().last_index()} * 50 - 100;
    return board ? trf(lang(), "positions from -75 m to {1}", {metres(last)})
                 : trf(lang(), "positions up to {1}", {metres(last)});
  }

  EntryEnd out_of_range(std::int32_t position, const std::string& range) {
    source_.error(status::kOutOfRange, position, value_place(0),
                  trf(lang(),
                      "the position {1} lies outside the line: valid are {2} (the line is {3} "
                      "long; the rest of the line source is passed over)",
                      {metres(position), range,
                       metres(context_.state.table.rows[table_row::kQuantities].num_b)}));
    return EntryEnd::kEndNormally;
  }

  EntryEnd stop_with(StatusCode code, std::optional<std::int32_t> position, std::string message) {
    return stop_at(entry_, code, position, std::move(message));
  }

  EntryEnd stop_at(const FieldPlace& place, StatusCode code, std::optional<std::int32_t> position,
                   std::string message) {
    delete_source(context_, path_);
    source_.error(code, position, place, std::move(message));
    return EntryEnd::kEndReading;
  }

  // The failure path with its cause: false when the reading stops there
  // (always, but in a `check` run, which goes on at the next entry).
  bool fail(Diagnostic finding) {
    report_status(context_, std::move(finding), source_.origin(entry_));
    if (!source_.keep_going()) return false;
    if (!fields_.at_end()) source_.resume_after_error(entry_);
    return true;
  }

  EntryEnd read_failed() {
    Diagnostic finding = source_.read_failure(
        *entry_keyword_, entry_, static_cast<std::size_t>(fields_.reads() - entry_reads_));
    report_status(context_, std::move(finding), source_.origin(entry_));
    return EntryEnd::kEndReading;
  }

  Diagnostic keyword_failure() const {
    Diagnostic finding = source_.at(
        Severity::error, fields_.field_place(),
        fields_.fault() == FieldFault::text_too_long
            ? tr(lang(), "a field longer than 65535 bytes")
            : tr(lang(), "the text ends where a keyword field is due (after a final comma)"));
    finding.id = status_id(status::kReadFailure);
    finding.code = status::kReadFailure;
    return finding;
  }

  Diagnostic no_general_section() const {
    Diagnostic finding =
        unplaced_error(status::kNoGeneralSection,
                       tr(lang(), "the line source has no \"[generale]\" section") +
                           empty_reason(source_.text(), lang()));
    finding.where = SourcePoint{source_.file(), 0, 0};
    return finding;
  }

  // Reads a keyword field into the current token and remembers where it
  // started, as the place of the entry it may start (or of the field that failed).
  bool read_keyword() {
    const bool read = fields_.read_text(token_);
    entry_ = fields_.field_place();
    return read;
  }

  // Drops the keyword field read last for the "-" it holds, and reads the next.
  bool drop_keyword() {
    watch_.dropped(token_, entry_);
    return read_keyword();
  }

  bool number(std::int32_t& value) {
    const bool read = fields_.read_number(value);
    if (read && value_count_ < kValuePlaces) value_places_[value_count_++] = fields_.field_place();
    return read;
  }

  // Where the entry's value at `index` starts; the entry's keyword when that
  // value stands on a later line (the status is set at the keyword's line).
  FieldPlace value_place(std::size_t index) const {
    if (index < value_count_ && value_places_[index].line == entry_.line) return value_places_[index];
    return entry_;
  }

  static bool ci(std::string_view field, std::string_view keyword) {
    return contains_ignore_case(field, keyword);
  }

  const std::string& token() const { return token_; }
  CellGrid& grid() { return *context_.state.grid; }
  const CellGrid& grid() const { return *context_.state.grid; }
  bool geometry_on() const { return context_.options.geometry_flag != 0 && context_.state.geometry; }

  BuildContext& context_;
  const std::string path_;
  SourceText source_;
  FieldReader& fields_;
  KeywordWatch watch_;
  FieldPlace entry_;
  const SourceKeyword* entry_keyword_ = nullptr;
  std::int32_t entry_reads_ = 0;
  static constexpr std::size_t kValuePlaces = 9;
  std::array<FieldPlace, kValuePlaces> value_places_{};
  std::size_t value_count_ = 0;
  bool length_seen_ = false;  // a length entry was met, taken or not
  std::string token_;  // the text field last read

  // Working values of the body.
  TunnelList tunnels_;
  struct SeenTunnel {
    std::int32_t inizio = 0;
    std::int32_t fine = 0;
    SourcePoint where;
    std::string source_line;
  };
  std::optional<SeenTunnel> furthest_tunnel_;
  std::optional<SeenTunnel> last_tunnel_;  // the tunnel entry read last
  std::int32_t sign_row_ = table_row::kFirstSign;
  std::int64_t gradient_cursor_ = 0;  // wider than the grid: it may run past it
  std::int32_t current_gradient_ = 0;
  OrderWatch gradient_order_{"gradient", true};
  OrderWatch curve_order_{"curve"};
};

}  // namespace

LineReadEnd read_line_source(BuildContext& context) {
  name_scenario(context.state.table, context.options.base_name, context.options.train_number);
  context.state.grid.reset();
  context.state.geometry.reset();
  const std::string& path = context.names.line_source;
  if (!context.files.exists(path)) {
    report_status(context, missing_source(context, status::kNoLineSource, path), std::nullopt);
    return {};
  }
  std::optional<std::string> text = read_source(context, path);
  if (!text) return {};
  return LineReader(context, path, std::move(*text)).run();
}

}  // namespace scenario
