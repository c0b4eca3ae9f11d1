#pragma once

#include <functional>
#include <string>
#include <vector>

#include "check/diagnostic_format.h"

namespace scenario {

/// How one run of a watched command ended.
struct RunSummary {
  int exit_status = 0;
  FindingCounts counts;
};

/// Runs `run` once, then again each time one of `paths` is saved (its
/// modification time or size changes; polled about every 300 ms), until the
/// process is interrupted (SIGINT: status 0, after the run under way; a second
/// SIGINT ends it at once). Each run is framed by a start
/// and an end line on standard error, so that an editor can tell runs apart.
/// SCENARIO_COMPILER_WATCH_RUNS=N ends it after N runs with the last run's
/// status (for tests).
int watch_and_run(const std::vector<std::string>& paths, const std::function<RunSummary()>& run);

}  // namespace scenario
