#pragma once

// The two sources in which the example of an explanation (`explain ID`)
// stands: a clean 1000 m line and a small train, with the example's entry
// put where it belongs. Every status code and fatal error has one, so these
// are a compile of every outcome.

#include <string>
#include <utility>

#include "check/explanations.h"

namespace scenario::testing {

/// The line source and the train source of the example (none when the
/// explanation has no example).
std::pair<std::string, std::string> example_sources(const Explanation& explanation);

/// The clean sources the examples go into.
std::pair<std::string, std::string> clean_example_sources();

}  // namespace scenario::testing
