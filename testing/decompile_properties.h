#pragma once

// What `decompile` guarantees. For the files of any compile: sources that
// compile back to exactly those files. For any bytes as the three files: a
// refusal that names what it cannot express (or the broken layout), or
// sources that compile to exactly those bytes, never anything else. The fuzz
// target fuzz_decompile aborts on a violation; the corpus test runs the same
// checks over every input of fuzz/corpus.

#include <optional>
#include <string>
#include <string_view>

namespace scenario::testing {

/// Compiles the two sources in memory (with the geometry flag 1 and with 0),
/// decompiles each set of files written, and compiles the sources made: the
/// same bytes, or a description of what broke.
std::optional<std::string> check_decompile_round_trip(std::string_view line_source,
                                                      std::string_view train_source);

/// Decompiles the bytes as the three files (without and with a plan
/// geometry): a broken layout, places named, or sources whose compile gives
/// exactly the bytes. A description of what broke otherwise.
std::optional<std::string> check_decompile_properties(std::string_view record_table,
                                                      std::string_view cell_grid,
                                                      std::optional<std::string_view> geometry);

}  // namespace scenario::testing
