#include "builtin/builtin_scenario.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "builtin/line_table_test_util.h"

namespace scenario {
namespace {

using test::fields_of;
using test::lines_between;
using test::written_lines;

struct NumberedLine {
  int number;  // 1-based
  std::string_view text;
};

void expect_lines(const std::vector<std::string>& lines, std::initializer_list<NumberedLine> expected) {
  for (const NumberedLine& line : expected) {
    ASSERT_LE(line.number, static_cast<int>(lines.size()));
    EXPECT_EQ(lines[line.number - 1], line.text) << "line " << line.number;
  }
}

void expect_all_start_with(const std::vector<std::string>& lines, std::string_view keyword) {
  for (const std::string& line : lines) EXPECT_EQ(line.rfind(keyword, 0), 0u) << line;
}

// The numeric fields of the entries, after the keyword field.
std::vector<std::vector<int>> numbers_of(const std::vector<std::string>& entries, int count) {
  std::vector<std::vector<int>> all;
  for (const std::string& entry : entries) {
    const std::vector<std::string> fields = fields_of(entry);
    std::vector<int> numbers;
    for (int i = 1; i <= count && i < static_cast<int>(fields.size()); ++i) {
      numbers.push_back(std::stoi(fields[i]));
    }
    all.push_back(numbers);
  }
  return all;
}

// ------------------------------------------------------------- line source

TEST(BuiltinLineSource, SectionsComeInOrderWithTheirEntries) {
  const std::vector<std::string> lines = written_lines(dati_linea());
  ASSERT_EQ(lines.size(), 219u);
  expect_lines(lines, {{1, "[generale]"}, {10, "[curve]"}, {96, "[pendenze]"}, {162, "[montagne]"},
                       {165, "[cartelli]"}, {214, "[indicazioni]"}, {218, "[fine]"}, {219, ""}});
  expect_all_start_with(lines_between(lines, 11, 95), "curva");
  expect_all_start_with(lines_between(lines, 97, 161), "pendenza,");
  expect_all_start_with(lines_between(lines, 166, 213), "indicatori_vmax,");
}

TEST(BuiltinLineSource, CurvesFollowEachOtherWithinTheirRanges) {
  const std::vector<std::string> curves = lines_between(written_lines(dati_linea()), 11, 95);
  int previous_end = 0;
  for (const std::string& curve : curves) {
    const std::string keyword = fields_of(curve)[0];
    ASSERT_EQ(keyword.size(), 7u) << curve;
    EXPECT_TRUE(keyword[5] == 'd' || keyword[5] == 's') << curve;
    EXPECT_TRUE(keyword[6] >= '1' && keyword[6] <= '6') << curve;
    const std::vector<int> values = numbers_of({curve}, 2)[0];
    EXPECT_GT(values[0], previous_end) << "overlaps the curve before: " << curve;
    EXPECT_GE(values[1], 100) << curve;
    EXPECT_LE(values[1], 3000) << curve;
    previous_end = values[0] + values[1];
  }
  EXPECT_EQ(numbers_of({curves.back()}, 1)[0][0], 347650);
}

TEST(BuiltinLineSource, GradientsAndBoardsAscendWithinTheirRanges) {
  const std::vector<std::string> lines = written_lines(dati_linea());
  int previous = 0;
  for (const std::vector<int>& gradient : numbers_of(lines_between(lines, 97, 161), 2)) {
    EXPECT_GT(gradient[0], previous);
    EXPECT_GE(gradient[1], -7);
    EXPECT_LE(gradient[1], 12);
    previous = gradient[0];
  }
  EXPECT_EQ(previous, 345050);
  previous = 0;
  for (const std::vector<int>& board : numbers_of(lines_between(lines, 166, 213), 9)) {
    EXPECT_GT(board[0], previous);
    previous = board[0];
    for (int i = 1; i <= 3; ++i) {
      EXPECT_GE(board[i], 60) << "board at " << board[0];
      EXPECT_LE(board[i], 180) << "board at " << board[0];
      EXPECT_EQ(board[i] % 5, 0) << "board at " << board[0];
    }
    EXPECT_LE(board[1], board[2]);
    EXPECT_LE(board[2], board[3]);
    EXPECT_GE(board[4], 0);
    EXPECT_LE(board[4], 2);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(board[i + 4], board[i]) << "board at " << board[0];
  }
}

// ------------------------------------------------------------- train source

TEST(BuiltinTrainSource, SectionsComeInOrderWithTheirEntries) {
  const std::vector<std::string> lines = written_lines(dati_treno());
  ASSERT_EQ(lines.size(), 210u);
  expect_lines(lines, {{1, "[generale]"}, {6, "[aderenze]"}, {8, "[vel_limite]"}, {45, "[stazioni]"},
                       {81, ""}, {82, "[rallentamenti]"}, {85, "[segnali]"}, {86, ""},
                       {208, "[codici]"}, {209, "[fine]"}, {210, ""}});
  expect_all_start_with(lines_between(lines, 9, 44), "velocita,");
  expect_all_start_with(lines_between(lines, 46, 80), "stazione,");
  expect_all_start_with(lines_between(lines, 87, 207), "segnale,");
}

TEST(BuiltinTrainSource, StationsKindsAndTimes) {
  const std::vector<std::string> stations = lines_between(written_lines(dati_treno()), 46, 80);
  std::map<int, int> kinds;
  int previous_position = 0;
  int previous_time = 0;
  for (const std::string& station : stations) {
    const std::vector<int> v = numbers_of({station}, 16)[0];
    const int position = v[0], kind = v[1], length = v[2], standing = v[12];
    ++kinds[kind];
    EXPECT_GT(position, previous_position) << station;
    EXPECT_EQ(position % 50, 0) << station;
    EXPECT_TRUE(length >= 200 && length <= 800 && length % 100 == 0) << station;
    previous_position = position;
    const int time = v[13] * 60 + v[14];
    if (kind >= 25) {
      EXPECT_EQ(time, 0) << "a halt the train runs through has no time: " << station;
      EXPECT_EQ(standing, 0) << station;
      continue;
    }
    EXPECT_GE(time, previous_time) << station;
    previous_time = time;
    EXPECT_TRUE(standing == 0 || (standing >= 20 && standing <= 60) ||
                station == stations.front())
        << station;
  }
  EXPECT_EQ(kinds, (std::map<int, int>{{2, 4}, {4, 2}, {12, 23}, {22, 1}, {28, 5}}));
  EXPECT_EQ(previous_position, 350000);
  EXPECT_EQ(previous_time, 17 * 60 + 23);
}

TEST(BuiltinTrainSource, LineSpeedsAndSignals) {
  const std::vector<std::string> lines = written_lines(dati_treno());
  int previous = -50;
  for (const std::vector<int>& speed : numbers_of(lines_between(lines, 9, 44), 2)) {
    EXPECT_GE(speed[0], previous + 50) << "speed points stand at least 50 m apart";
    EXPECT_TRUE(speed[1] >= 70 && speed[1] <= 175 && speed[1] % 5 == 0) << speed[1];
    previous = speed[0];
  }
  std::vector<int> signals;
  for (const std::vector<int>& signal : numbers_of(lines_between(lines, 87, 207), 11)) {
    EXPECT_EQ(signal[1], 2) << "signal at " << signal[0];
    if (!signals.empty()) {
      EXPECT_GT(signal[0], signals.back());
    }
    signals.push_back(signal[0]);
  }
  // Every station with a stop marker, past the first, has a signal in the
  // 2 km before its platforms.
  for (const std::vector<int>& station : numbers_of(lines_between(lines, 47, 80), 3)) {
    if (station[1] >= 25) continue;
    const int start = station[0] - station[2] / 2;
    EXPECT_TRUE(std::any_of(signals.begin(), signals.end(),
                            [&](int s) { return s < start && s >= start - 2000; }))
        << "station at " << station[0];
  }
}

}  // namespace
}  // namespace scenario
