#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

/// The process that made a temporary file, as its name records it. The start
/// time tells a process apart from a later one that was given the same id;
/// names made before it was recorded carry none.
struct TemporaryOwner {
  std::uint64_t process_id = 0;
  std::optional<std::uint64_t> start_time;
};

/// The temporary file beside `path` that a replacement writes first:
/// "PATH.tmp.PID.START.ATTEMPT".
std::string temporary_name(const std::string& path, const TemporaryOwner& owner,
                           unsigned attempt);

/// The owner of `entry`, a bare name in the folder of `target_name` (also a
/// bare name), when it is a temporary file this program made for that name:
/// "TARGET.tmp.PID.START.ATTEMPT", or "TARGET.tmp.PID.ATTEMPT" as earlier
/// versions named them. Anything else is none of its business.
std::optional<TemporaryOwner> temporary_owner(std::string_view entry, std::string_view target_name);

/// Whether a temporary file of `owner` is left over from a run that has ended,
/// given what is known of the process with that id now: nothing (`running`
/// false), or its start time where it could be learned. A running process
/// whose start time is unknown might be the owner, so its file is kept.
bool temporary_is_stale(const TemporaryOwner& owner, bool running,
                        std::optional<std::uint64_t> running_start_time);

}  // namespace scenario
