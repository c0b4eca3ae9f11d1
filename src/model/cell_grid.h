#pragma once

#include <cstdint>
#include <vector>

namespace scenario {

/// One 50 m cell of track: at most one line-side object plus the properties of
/// the line there. Field order is the order of the 15-byte record on disk.
struct TrackCell {
  std::uint8_t kind = 0;
  std::int16_t val_a = 0;
  std::int16_t val_b = 0;
  std::int16_t val_c = 0;
  std::int16_t val_d = 0;
  std::uint8_t timer = 0;
  std::uint8_t approach = 0;
  std::uint8_t tunnel = 0;
  std::uint8_t speed_limit = 0;
  std::uint8_t gradient = 0;
  std::uint8_t adhesion = 0;
  bool operator==(const TrackCell&) const = default;
};

/// Object kinds held in `TrackCell::kind`. 7, 8 and 9 are never written.
namespace cell_kind {
inline constexpr std::uint8_t kNone = 0;
inline constexpr std::uint8_t kSignal = 1;
inline constexpr std::uint8_t kEndBoard = 2;
inline constexpr std::uint8_t kStartBoard = 3;
inline constexpr std::uint8_t kWarningBoard = 4;
inline constexpr std::uint8_t kPreWarning = 5;
inline constexpr std::uint8_t kSpeedIndicator = 6;
inline constexpr std::uint8_t kStopMarker = 10;
inline constexpr std::uint8_t kTunnelMarker = 11;
inline constexpr std::uint8_t kReductionPoint = 12;
inline constexpr std::uint8_t kCodeCut = 13;
inline constexpr std::uint8_t kIndicationBoard = 14;
}  // namespace cell_kind

/// A short English name of an object kind, for dumps ("" for unknown kinds).
const char* cell_kind_name(std::uint8_t kind);

/// The cells 0..N of the line, N = `last_index()`. A grid made by
/// `make_cell_grid` holds every cell in `cells`. One made by
/// `make_lazy_cell_grid` holds the cells from 0 up to the furthest one asked
/// for: a cell past them is made (zeroed, then given the fills that reached it)
/// when it is first asked for by `operator[]`, and reads the same before. Such a
/// grid is read over, never written to a file: `cells` does not hold the whole
/// line there.
class CellGrid {
 public:
  std::vector<TrackCell> cells;

  std::int32_t last_index() const {
    return lazy_last_ >= 0 ? lazy_last_ : static_cast<std::int32_t>(cells.size()) - 1;
  }
  bool contains(std::int64_t index) const { return index >= 0 && index <= last_index(); }
  /// A cell of the grid, made first in a lazy grid that has not made it yet.
  /// A lazy grid keeps room for all its cells, so a reference stays valid
  /// while later cells are made.
  TrackCell& operator[](std::int32_t index) {
    if (static_cast<std::size_t>(index) >= cells.size()) make_cells_up_to(index);
    return cells[static_cast<std::size_t>(index)];
  }
  /// A copy of a cell: one not made yet is worked out without making it.
  TrackCell operator[](std::int32_t index) const {
    if (static_cast<std::size_t>(index) < cells.size()) return cells[static_cast<std::size_t>(index)];
    return cell_not_made(index);
  }

 private:
  // A fill of cells not made yet, applied to them as they are made.
  struct PendingFill {
    std::uint8_t TrackCell::*field;
    std::int64_t first;
    std::int64_t end;
    std::uint8_t value;
  };

  friend CellGrid make_lazy_cell_grid(std::int32_t line_length);
  friend void fill_cells(CellGrid& grid, std::uint8_t TrackCell::*field, std::int64_t first,
                         std::int64_t end, std::uint8_t value);

  void make_cells_up_to(std::int32_t index);
  TrackCell cell_not_made(std::int32_t index) const;

  std::int32_t lazy_last_ = -1;  // N of a lazy grid; -1 when `cells` holds every cell
  std::vector<PendingFill> pending_;
};

/// N = round-half-even((line_length + 7000) / 50).
std::int32_t grid_last_index_for_length(std::int32_t line_length);

/// A grid of N + 1 zeroed cells for a line of `line_length` metres (in
/// model/cell_fill.cpp, with the other loops over every cell).
CellGrid make_cell_grid(std::int32_t line_length);

/// The same grid, lazy: its cells are made as they are asked for. A `check`
/// run reads a source without a valid length over the longest line there can
/// be, 20,141 cells, and asks for the few near its entries.
CellGrid make_lazy_cell_grid(std::int32_t line_length);

/// The cell of a position p: round-half-even(p / 50 + 1).
std::int32_t cell_index(std::int32_t position);

/// round-half-even(p / 50): one less than `cell_index` for multiples of 50.
std::int32_t lower_cell_index(std::int32_t position);

/// A cell is free when it holds nothing or only a tunnel marker.
inline bool cell_is_free(const TrackCell& cell) {
  return cell.kind == cell_kind::kNone || cell.kind == cell_kind::kTunnelMarker;
}

/// The readers' range rule: (p + margin) / 50 <= last_index, in real numbers.
/// The margin is 100 m for ordinary entries and 800 m for stations.
bool position_in_range(std::int32_t position, std::int32_t last_index, std::int32_t margin = 100);

}  // namespace scenario
