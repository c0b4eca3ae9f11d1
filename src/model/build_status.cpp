#include "model/build_status.h"

#include <ostream>
#include <utility>

#include "language/translate.h"

namespace scenario {

const char* status_meaning(StatusCode code) {
  switch (code) {
    case StatusCode::kNone: return N_("no inconsistency found");
    case StatusCode::kLineTooLong: return N_("the line is longer than 1000000 m or shorter than 0 m");
    case StatusCode::kProgressiveNotMultiple: return N_("a kilometre progressive's first or second value is not a multiple of 50");
    case StatusCode::kRepetitionStart: return N_("the signal-repetition start is not a multiple of 50");
    case StatusCode::kRepetitionEnd: return N_("the signal-repetition end is not a multiple of 50");
    case StatusCode::kRepetitionCodes: return N_("the signal-repetition keyword contains neither 4 nor 9");
    case StatusCode::kIndicationBoardTaken: return N_("the cell of an indication board is not free");
    case StatusCode::kReductionPointTaken: return N_("the cell of an abbattimento point is not free");
    case StatusCode::kStationNotMultiple: return N_("a station position is not a multiple of 50");
    case StatusCode::kStationLength: return N_("a station length is not a multiple of 100");
    case StatusCode::kStationsReachSigns: return N_("the stations reach the rows taken by indication-board texts");
    case StatusCode::kNoRoomBeforeSignal: return N_("no free cell for the code-reduction point before a signal near a warning board");
    case StatusCode::kBandFull: return N_("all three cells of a band before a restriction's start board are occupied");
    case StatusCode::kNoRoomInRestriction: return N_("no free cell for a code-reduction point within or after a slow restriction");
    case StatusCode::kOutOfRange: return N_("an entry's position lies outside the line");
    case StatusCode::kSignalTaken: return N_("the cell of a signal is not free");
    case StatusCode::kWarningBoardTaken: return N_("the warning-board cell of a speed restriction is not free");
    case StatusCode::kStartBoardTaken: return N_("the start-board cell of a speed restriction is not free");
    case StatusCode::kEndBoardTaken: return N_("the end-board cell of a speed restriction is not free");
    case StatusCode::kPreWarningTaken: return N_("a pre-warning cell of a speed restriction is not free");
    case StatusCode::kSpeedIndicatorTaken: return N_("the cell of a maximum-speed indicator board is not free");
    case StatusCode::kStationsTooClose: return N_("a station starts less than 350 m after the previous one ends");
    case StatusCode::kStopMarkerBeforeGrid: return N_("a station's stop marker would fall on cell 0 or 1");
    case StatusCode::kReadFailure: return N_("the source text could not be read (missing file, bad number or value, or cut short)");
    case StatusCode::kNoLineSource: return N_("the line source does not exist");
    case StatusCode::kNoGeneralSection: return N_("the line source has no [generale] section");
    case StatusCode::kCurveFault: return N_("a curve has no class digit 1 to 6, or the plan geometry passes metre 1000000");
  }
  return "";
}

const StatusCode kAllStatusCodes[27] = {
    StatusCode::kNone,
    StatusCode::kLineTooLong,
    StatusCode::kProgressiveNotMultiple,
    StatusCode::kRepetitionStart,
    StatusCode::kRepetitionEnd,
    StatusCode::kRepetitionCodes,
    StatusCode::kIndicationBoardTaken,
    StatusCode::kReductionPointTaken,
    StatusCode::kStationNotMultiple,
    StatusCode::kStationLength,
    StatusCode::kStationsReachSigns,
    StatusCode::kNoRoomBeforeSignal,
    StatusCode::kBandFull,
    StatusCode::kNoRoomInRestriction,
    StatusCode::kOutOfRange,
    StatusCode::kSignalTaken,
    StatusCode::kWarningBoardTaken,
    StatusCode::kStartBoardTaken,
    StatusCode::kEndBoardTaken,
    StatusCode::kPreWarningTaken,
    StatusCode::kSpeedIndicatorTaken,
    StatusCode::kStationsTooClose,
    StatusCode::kStopMarkerBeforeGrid,
    StatusCode::kReadFailure,
    StatusCode::kNoLineSource,
    StatusCode::kNoGeneralSection,
    StatusCode::kCurveFault,
};

std::optional<StatusCode> status_code_of(std::int32_t number) {
  for (StatusCode code : kAllStatusCodes) {
    if (code_number(code) == number) return code;
  }
  return std::nullopt;
}

std::ostream& operator<<(std::ostream& out, StatusCode code) { return out << code_number(code); }

void set_reader_status(BuildStatus& status, StatusCode code,
                       std::optional<std::int32_t> position,
                       std::optional<SourceLine> origin) {
  status.code = code;
  if (position) status.position = *position;
  status.origin = std::move(origin);
}

}  // namespace scenario
