#include "app/report.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "app/command_line.h"

namespace scenario {
namespace {

TEST(Report, HasEveryKeyWithNullsWhereNothingIsKnown) {
  const auto json = nlohmann::json::parse(report_json(CommandReport{}));
  EXPECT_EQ(json["status"], (nlohmann::json{{"code", 0}, {"position", 0}}));
  EXPECT_TRUE(json["fatal"].is_null());
  EXPECT_TRUE(json["grid_last_index"].is_null());
  EXPECT_EQ(json["written"], nlohmann::json::array());
  EXPECT_TRUE(json["source"].is_null());
}

TEST(Report, NamesTheSourceLineOnlyForAStatusCode) {
  CommandReport report;
  report.status = {status::kOutOfRange, 364901, SourceLine{"Orvale_Varcona_linea.txt", 97}};
  report.fatal = 1250;
  report.grid_last_index = 7300;
  report.written = {"a.sim", "a.dat"};
  const auto json = nlohmann::json::parse(report_json(report));
  EXPECT_EQ(json["status"]["code"], 15);
  EXPECT_EQ(json["status"]["position"], 364901);
  EXPECT_EQ(json["fatal"], 1250);
  EXPECT_EQ(json["grid_last_index"], 7300);
  EXPECT_EQ(json["written"], (nlohmann::json{"a.sim", "a.dat"}));
  EXPECT_EQ(json["source"], (nlohmann::json{{"file", "Orvale_Varcona_linea.txt"}, {"line", 97}}));

  report.status.code = status::kNone;
  EXPECT_TRUE(nlohmann::json::parse(report_json(report))["source"].is_null());
}

TEST(Report, StatusLineNamesFileLineCodePositionAndMeaning) {
  EXPECT_EQ(status_message({status::kOutOfRange, 364901, SourceLine{"x_linea.txt", 97}}),
            "x_linea.txt:97: status 15 at 364901 m: an entry's position lies outside the line");
  EXPECT_EQ(status_message({status::kBandFull, 180750, std::nullopt}),
            "status 12 at 180750 m: all three cells of a band before a restriction's start "
            "board are occupied");
}

TEST(NameProblem, RefusesNamesThatWouldLeaveTheFolder) {
  for (const std::string& bad : std::vector<std::string>{"a/b", "a\\b", ".", "..", std::string("a\0b", 3)}) {
    EXPECT_TRUE(name_problem(bad).has_value()) << bad;
  }
  for (const std::string good : std::initializer_list<const char*>{"", "Orvale_Varcona", "593", "...", "a b", ".x"}) {
    EXPECT_FALSE(name_problem(good).has_value()) << good;
  }
}

}  // namespace
}  // namespace scenario
