#pragma once

#include <cstdint>
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

/// The build's diagnostic record. `code` 0 means no inconsistency found;
/// otherwise it holds the last code set. `position` is in metres and is left
/// unchanged by setters that record none. `origin` is set only by the readers.
struct BuildStatus {
  std::int32_t code = 0;
  std::int32_t position = 0;
  std::optional<SourceLine> origin;
};

namespace status {
inline constexpr std::int32_t kNone = 0;
inline constexpr std::int32_t kLineTooLong = 1;
inline constexpr std::int32_t kProgressiveNotMultiple = 2;
inline constexpr std::int32_t kRepetitionStart = 3;
inline constexpr std::int32_t kRepetitionEnd = 4;
inline constexpr std::int32_t kRepetitionCodes = 5;
inline constexpr std::int32_t kIndicationBoardTaken = 6;
inline constexpr std::int32_t kReductionPointTaken = 7;
inline constexpr std::int32_t kStationNotMultiple = 8;
inline constexpr std::int32_t kStationLength = 9;
inline constexpr std::int32_t kStationsReachSigns = 10;
inline constexpr std::int32_t kNoRoomBeforeSignal = 11;
inline constexpr std::int32_t kBandFull = 12;
inline constexpr std::int32_t kNoRoomInRestriction = 13;
inline constexpr std::int32_t kOutOfRange = 15;
inline constexpr std::int32_t kSignalTaken = 16;
inline constexpr std::int32_t kWarningBoardTaken = 17;
inline constexpr std::int32_t kStartBoardTaken = 18;
inline constexpr std::int32_t kEndBoardTaken = 19;
inline constexpr std::int32_t kPreWarningTaken = 20;
inline constexpr std::int32_t kSpeedIndicatorTaken = 21;
inline constexpr std::int32_t kStationsTooClose = 22;
inline constexpr std::int32_t kStopMarkerBeforeGrid = 24;
inline constexpr std::int32_t kReadFailure = 25;
inline constexpr std::int32_t kNoLineSource = 101;
inline constexpr std::int32_t kNoGeneralSection = 102;
inline constexpr std::int32_t kCurveFault = 103;
}  // namespace status

/// True for 0 and every code of the status table.
bool is_known_status(std::int32_t code);

/// A short English meaning of a status code, for messages ("" for unknown).
const char* status_meaning(std::int32_t code);

/// Records a code set by a reader: the position only where the code has one
/// (std::nullopt leaves it as it was), and where in the source it was set.
void set_reader_status(BuildStatus& status, std::int32_t code,
                       std::optional<std::int32_t> position,
                       std::optional<SourceLine> origin);

}  // namespace scenario
