#include "model/build_status.h"

#include <utility>

namespace scenario {

const char* status_meaning(std::int32_t code) {
  switch (code) {
    case 0: return "no inconsistency found";
    case 1: return "the line is longer than 1000000 m or shorter than 0 m";
    case 2: return "a kilometre progressive's first or second value is not a multiple of 50";
    case 3: return "the signal-repetition start is not a multiple of 50";
    case 4: return "the signal-repetition end is not a multiple of 50";
    case 5: return "the signal-repetition keyword contains neither 4 nor 9";
    case 6: return "the cell of an indication board is not free";
    case 7: return "the cell of an abbattimento point is not free";
    case 8: return "a station position is not a multiple of 50";
    case 9: return "a station length is not a multiple of 100";
    case 10: return "the stations reach the rows taken by indication-board texts";
    case 11: return "no free cell for the code-reduction point before a signal near a warning board";
    case 12: return "all three cells of a band before a restriction's start board are occupied";
    case 13: return "no free cell for a code-reduction point within or after a slow restriction";
    case 15: return "an entry's position lies outside the line";
    case 16: return "the cell of a signal is not free";
    case 17: return "the warning-board cell of a speed restriction is not free";
    case 18: return "the start-board cell of a speed restriction is not free";
    case 19: return "the end-board cell of a speed restriction is not free";
    case 20: return "a pre-warning cell of a speed restriction is not free";
    case 21: return "the cell of a maximum-speed indicator board is not free";
    case 22: return "a station starts less than 350 m after the previous one ends";
    case 24: return "a station's stop marker would fall on cell 0 or 1";
    case 25: return "the source text could not be read (missing file, bad number or value, or cut short)";
    case 101: return "the line source does not exist";
    case 102: return "the line source has no [generale] section";
    case 103: return "a curve has no class digit 1 to 6, or the plan geometry passes metre 1000000";
    default: return "";
  }
}

bool is_known_status(std::int32_t code) {
  return *status_meaning(code) != '\0';
}

void set_reader_status(BuildStatus& status, std::int32_t code,
                       std::optional<std::int32_t> position,
                       std::optional<SourceLine> origin) {
  status.code = code;
  if (position) status.position = *position;
  status.origin = std::move(origin);
}

}  // namespace scenario
