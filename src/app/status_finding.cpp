#include "app/status_finding.h"

namespace scenario {
namespace {

// The codes whose setter records a position; the others leave it as it was,
// so a position shown with them would be some earlier code's, or 0.
bool records_position(StatusCode code) {
  switch (code) {
    case StatusCode::kIndicationBoardTaken:
    case StatusCode::kReductionPointTaken:
    case StatusCode::kStationNotMultiple:
    case StatusCode::kStationLength:
    case StatusCode::kNoRoomBeforeSignal:
    case StatusCode::kBandFull:
    case StatusCode::kNoRoomInRestriction:
    case StatusCode::kOutOfRange:
    case StatusCode::kSignalTaken:
    case StatusCode::kWarningBoardTaken:
    case StatusCode::kStartBoardTaken:
    case StatusCode::kEndBoardTaken:
    case StatusCode::kPreWarningTaken:
    case StatusCode::kSpeedIndicatorTaken:
    case StatusCode::kStationsTooClose:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::optional<Diagnostic> status_finding(const BuildState& state) {
  const BuildStatus& status = state.status;
  if (status.code == status::kNone) return std::nullopt;
  if (const Diagnostic* found = status_diagnostic(state)) return *found;
  // Every code the build sets comes with its cause; this is the safety net.
  Diagnostic finding;
  finding.id = status_id(status.code);
  finding.code = status.code;
  finding.message = status_meaning(status.code);
  if (records_position(status.code)) {
    finding.position = status.position;
    finding.message += ", at ";
    finding.message += std::to_string(status.position);
    finding.message += " m";
  }
  if (status.origin) finding.where = SourcePoint{status.origin->file, status.origin->line, 0};
  return finding;
}

}  // namespace scenario
