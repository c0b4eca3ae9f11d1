// The seeds of the fuzz corpus that stand at and past both ends of the grid,
// compiled whole: each ends with the status the rules for positions outside
// the grid give it (and, in the sanitizer build, without a write outside).

#include <gtest/gtest.h>

#include <filesystem>

#include "testing/memory_compile.h"
#include "testing/compile_properties.h"
#include "run_program.h"

namespace scenario::testing {
namespace {

// A train source with no signal or restriction, so that a status 15 of the
// line reader keeps its own position to the end.
constexpr std::string_view kQuietTrain = "[generale]\r\n[fine]\r\n\r\n";

struct Seed {
  const char* folder;
  const char* name;
  std::int32_t code;
  std::int32_t position;            // where the status was set (0 when it records none)
  std::optional<std::int32_t> fatal = std::nullopt;
};

std::string seed_text(const Seed& seed) {
  return read_file(std::filesystem::path(SOURCE_DIR) / "fuzz" / "corpus" / seed.folder /
                   (std::string(seed.name) + ".txt"));
}

MemoryCompile compile_seed(const Seed& seed) {
  const std::string text = seed_text(seed);
  const std::string_view folder = seed.folder;
  if (folder == "line_source") return compile_in_memory(text, kQuietTrain);
  if (folder == "train_source") return compile_in_memory(fixed_line_source(), text);
  const auto [line, train] = split_sources(text);
  return compile_in_memory(line, train);
}

TEST(OutsideTheGrid, EverySeedEndsWithTheStatusOfItsRule) {
  // Line seeds: a 1000 m line, N = 160, last position in range 7900.
  // Train seeds: the fixed 1000 m line; stations in range up to 7200.
  const Seed seeds[] = {
      // A length below 0 or above 1000000 is refused and makes no grid.
      {"line_source", "length_negative", 1, 0},
      {"line_source", "length_too_large", 1, 0},
      // The curve run of a 1000 km line passes metre 1000000.
      {"line_source", "length_largest", 103, 0},
      {"line_source", "gradient_last_position", 15, 7901},
      // Gradients before the line write no cell; thousands at one position
      // carry the gradient cursor past N, where it writes nothing.
      {"line_source", "gradient_negative", 0, 0},
      {"line_source", "same_position_gradients", 0, 0},
      // A curve running past metre M - 2 stops there.
      {"line_source", "curve_past_end", 0, 0},
      // Tunnels reaching past either end are clipped to the grid.
      {"line_source", "tunnel_past_end", 0, 0},
      {"line_source", "tunnel_negative", 0, 0},
      {"line_source", "same_position_tunnels", 0, 0},
      // A board at -75 m rounds to cell 0 and is placed; -100 m is cell -1.
      {"line_source", "board_negative", 15, -100},
      {"line_source", "board_last_position", 15, 7925},
      {"line_source", "indicator_negative", 15, -200},
      // The 80th indication board has no row left.
      {"line_source", "boards_80", 10, 8000},
      {"train_source", "last_positions", 15, 7901},
      {"train_source", "past_last_position", 15, 7901},
      // Speed and adhesion points before the line only set their value; a
      // reduction point at -30 m lies in cell -1.
      {"train_source", "negative_positions", 15, -30},
      {"train_source", "negative_signal", 15, -100},
      {"train_source", "negative_restriction", 15, -1000},
      // The end board at x + l lies past cell N.
      {"train_source", "restriction_end_past_grid", 15, 7000},
      {"train_source", "restriction_huge_length", 15, 6000},
      // Long stations at the last position allowed put their stop marker past N.
      {"train_source", "long_station_near_end", 15, 7200},
      {"train_source", "long_station_extended", 15, 7200},
      {"train_source", "station_last_position", 15, 7250},
      // A stop marker below cell 2 keeps its own status, with no position.
      {"train_source", "station_at_start", 24, 0},
      {"train_source", "station_negative", 24, 0},
      // Approach cells of a signal at 100 m reach below cell 0 and are skipped.
      {"train_source", "signal_near_start", 0, 0},
      {"train_source", "same_position_speeds", 0, 0},
      {"train_source", "same_position_adhesion", 0, 0},
      {"train_source", "restriction_same_cell", 0, 0},
      // The shortest line (N = 140): a signal at 7000 m is past 50 N - 100.
      {"both_sources", "short_line_far_train", 15, 7000},
      // A restriction without its own end board walks to cell N and stops.
      {"both_sources", "restriction_walk_to_end", 0, 0},
      // The search for a signal after an end board stops at cell N.
      {"both_sources", "restriction_end_near_grid_end", 0, 0},
      // A band point of the code-reduction pass lands on cell 1.
      {"both_sources", "reduction_point_on_cell_1", 0, 0, 1250},
      {"both_sources", "stations_fill_rows", 10, 0},
  };
  for (const Seed& seed : seeds) {
    SCOPED_TRACE(std::string(seed.folder) + "/" + seed.name);
    const MemoryCompile run = compile_seed(seed);
    EXPECT_EQ(run.status.code, seed.code);
    EXPECT_EQ(run.status.position, seed.position);
    EXPECT_EQ(run.fatal, seed.fatal);
    EXPECT_FALSE(run.file_error);
  }
}

}  // namespace
}  // namespace scenario::testing
