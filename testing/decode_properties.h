#pragma once

// Properties of the decoders behind `dump`, whatever bytes they are given.
// The fuzz target fuzz_scenario_files aborts on a violation; the corpus test
// runs the same checks over every file of fuzz/corpus/scenario_files.

#include <optional>
#include <string>
#include <string_view>

namespace scenario::testing {

/// Decodes `bytes` as each of the three scenario files. Each decoding either
/// gives records that encode back to exactly `bytes`, or says where the
/// layout breaks (a non-empty message). Returns the first broken property.
std::optional<std::string> check_decode_properties(std::string_view bytes);

}  // namespace scenario::testing
