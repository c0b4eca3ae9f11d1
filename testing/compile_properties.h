#pragma once

// Properties that every compile must keep, whatever its two source texts
// hold. The fuzz targets under fuzz/ abort on a violation; the corpus test
// runs the same checks over every file of fuzz/corpus in the ordinary build.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace scenario::testing {

/// Which source texts a fuzz input stands for.
enum class FuzzInput { line_source, train_source, both_sources };

/// A small valid train source whose positions (up to 6000 m) fit any grid:
/// the shortest line still has cells up to 7000 m.
std::string_view fixed_train_source();

/// A small valid line source of 1000 m with an entry of every kind.
std::string_view fixed_line_source();

/// Splits a "both sources" input at its first "=====": the line source before
/// it, the train source after it. Without one, the whole input is the line
/// source and the fixed train source serves.
std::pair<std::string_view, std::string_view> split_sources(std::string_view data);

/// The line and train source texts that a fuzz input of `kind` stands for.
std::pair<std::string_view, std::string_view> sources_of(FuzzInput kind, std::string_view data);

/// Compiles the two sources in memory (twice with the geometry flag 1, and
/// once with 0 unless `without_geometry_too` is false) and returns a
/// description of the first broken property, if any. The files are checked
/// from their bytes alone, against their layouts.
std::optional<std::string> check_compile_properties(std::string_view line_source,
                                                    std::string_view train_source,
                                                    bool without_geometry_too = true);

/// The same checks with the geometry flag 0 only (twice): for inputs that
/// cannot change the plan geometry, such as a train source over a fixed line.
std::optional<std::string> check_compile_properties_without_geometry(
    std::string_view line_source, std::string_view train_source);

/// The checks for the fast fuzz targets: two compiles with the geometry flag
/// 0 and, for a line no longer than `longest_line` metres, one with the flag 1
/// (the geometry costs a metre of work each).
std::optional<std::string> check_compile_properties_up_to(std::string_view line_source,
                                                          std::string_view train_source,
                                                          std::int64_t longest_line);

}  // namespace scenario::testing
