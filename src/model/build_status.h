#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace scenario {

/// Where in a source text a status code was set: the source's bare file name
/// and the 1-based line of the entry's keyword field.
struct SourceLine {
  std::string file;
  std::int32_t line = 0;
  bool operator==(const SourceLine&) const = default;
};

/// The status codes of the build, with their numbers as the simulator's
/// authors know them. Every code has a meaning in `status_meaning`.
enum class StatusCode : std::int32_t {
  kNone = 0,
  kLineTooLong = 1,
  kProgressiveNotMultiple = 2,
  kRepetitionStart = 3,
  kRepetitionEnd = 4,
  kRepetitionCodes = 5,
  kIndicationBoardTaken = 6,
  kReductionPointTaken = 7,
  kStationNotMultiple = 8,
  kStationLength = 9,
  kStationsReachSigns = 10,
  kNoRoomBeforeSignal = 11,
  kBandFull = 12,
  kNoRoomInRestriction = 13,
  kOutOfRange = 15,
  kSignalTaken = 16,
  kWarningBoardTaken = 17,
  kStartBoardTaken = 18,
  kEndBoardTaken = 19,
  kPreWarningTaken = 20,
  kSpeedIndicatorTaken = 21,
  kStationsTooClose = 22,
  kStopMarkerBeforeGrid = 24,
  kReadFailure = 25,
  kNoLineSource = 101,
  kNoGeneralSection = 102,
  kCurveFault = 103,
};

namespace status {
using enum StatusCode;
}  // namespace status

/// The code's number, as files, messages and reports give it.
constexpr std::int32_t code_number(StatusCode code) { return static_cast<std::int32_t>(code); }

/// Codes compare with their numbers, as the tables of codes are written.
constexpr bool operator==(StatusCode code, std::int32_t number) {
  return code_number(code) == number;
}

std::ostream& operator<<(std::ostream& out, StatusCode code);

/// The build's diagnostic record. `code` kNone means no inconsistency found;
/// otherwise it holds the last code set. `position` is in metres and is left
/// unchanged by setters that record none. `origin` is set only by the readers.
struct BuildStatus {
  StatusCode code = StatusCode::kNone;
  std::int32_t position = 0;
  std::optional<SourceLine> origin;
};

/// Every code, in the order of their numbers.
extern const StatusCode kAllStatusCodes[27];

/// The code of a number; none for a number that is no code.
std::optional<StatusCode> status_code_of(std::int32_t number);

/// A short English meaning of a status code, for messages (marked for the
/// catalogue: translate it with `tr` where it is shown).
const char* status_meaning(StatusCode code);

/// Records a code set by a reader: the position only where the code has one
/// (std::nullopt leaves it as it was), and where in the source it was set.
void set_reader_status(BuildStatus& status, StatusCode code,
                       std::optional<std::int32_t> position,
                       std::optional<SourceLine> origin);

}  // namespace scenario
