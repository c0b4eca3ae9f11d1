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

/// The cells 0..N of the line, N = `last_index()`.
struct CellGrid {
  std::vector<TrackCell> cells;

  std::int32_t last_index() const { return static_cast<std::int32_t>(cells.size()) - 1; }
  bool contains(std::int64_t index) const { return index >= 0 && index <= last_index(); }
  TrackCell& operator[](std::int32_t index) { return cells[static_cast<std::size_t>(index)]; }
  const TrackCell& operator[](std::int32_t index) const {
    return cells[static_cast<std::size_t>(index)];
  }
};

/// N = round-half-even((line_length + 7000) / 50).
std::int32_t grid_last_index_for_length(std::int32_t line_length);

/// A grid of N + 1 zeroed cells for a line of `line_length` metres (in
/// model/cell_fill.cpp, with the other loops over every cell).
CellGrid make_cell_grid(std::int32_t line_length);

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
