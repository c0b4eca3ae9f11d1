#pragma once

// What `decompile` guarantees. For the files of any compile: sources that
// compile back to exactly those files. For any bytes as the three files: a
// refusal that names what it cannot express (or the broken layout), or
// sources that compile to exactly those bytes, never anything else. The fuzz
// target fuzz_decompile aborts on a violation; the corpus test runs the same
// checks over every input of fuzz/corpus.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace scenario::testing {

/// Whether a round trip compiles the sources made once more, as `compile`
/// does, or takes decompile's own check of them (it compiles them in memory
/// and names every place whose bytes differ): the fuzz target's runs take
/// it, a compile fewer each pass; the tests compile again.
enum class CompileBack { as_compile_does, by_decompile_check };

/// Compiles the two sources in memory (with the geometry flag 0, and with 1
/// for lines up to `longest_line_with_geometry` metres), decompiles each set
/// of files written, and compiles the sources made: the same bytes, or a
/// description of what broke.
std::optional<std::string> check_decompile_round_trip(
    std::string_view line_source, std::string_view train_source,
    std::int64_t longest_line_with_geometry = std::numeric_limits<std::int64_t>::max(),
    CompileBack compile_back = CompileBack::as_compile_does);

/// Decompiles the bytes as the three files (without and with a plan
/// geometry): a broken layout, places named, or sources whose compile gives
/// exactly the bytes. A description of what broke otherwise.
std::optional<std::string> check_decompile_properties(std::string_view record_table,
                                                      std::string_view cell_grid,
                                                      std::optional<std::string_view> geometry);

}  // namespace scenario::testing
