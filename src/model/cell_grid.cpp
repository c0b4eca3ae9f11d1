#include "model/cell_grid.h"

#include "model/rounding.h"

namespace scenario {

const char* cell_kind_name(std::uint8_t kind) {
  switch (kind) {
    case cell_kind::kNone: return "none";
    case cell_kind::kSignal: return "signal";
    case cell_kind::kEndBoard: return "restriction-end";
    case cell_kind::kStartBoard: return "restriction-start";
    case cell_kind::kWarningBoard: return "restriction-warning";
    case cell_kind::kPreWarning: return "pre-warning";
    case cell_kind::kSpeedIndicator: return "speed-indicator";
    case cell_kind::kStopMarker: return "stop-marker";
    case cell_kind::kTunnelMarker: return "tunnel-marker";
    case cell_kind::kReductionPoint: return "code-reduction";
    case cell_kind::kCodeCut: return "code-cut";
    case cell_kind::kIndicationBoard: return "indication-board";
    default: return "";
  }
}

std::int32_t grid_last_index_for_length(std::int32_t line_length) {
  return static_cast<std::int32_t>(round_half_even((line_length + 7000.0) / 50.0));
}

std::int32_t cell_index(std::int32_t position) {
  return static_cast<std::int32_t>(round_half_even(position / 50.0 + 1.0));
}

std::int32_t lower_cell_index(std::int32_t position) {
  return static_cast<std::int32_t>(round_half_even(position / 50.0));
}

bool position_in_range(std::int32_t position, std::int32_t last_index, std::int32_t margin) {
  return (static_cast<double>(position) + margin) / 50.0 <= last_index;
}

}  // namespace scenario
