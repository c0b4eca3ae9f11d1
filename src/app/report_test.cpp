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

TEST(Report, ListsTheFindingsToldWithEveryOtherKey) {
  CommandReport report;
  Diagnostic warning;
  warning.severity = Severity::warning;
  warning.id = "extra-values";
  warning.message = "2 values left over";
  warning.where = SourcePoint{"a_1-.txt", 4, 13};
  report.diagnostics = {warning};
  const auto json = nlohmann::json::parse(report_json(report));
  for (const char* key : {"status", "fatal", "grid_last_index", "written", "source"}) {
    EXPECT_TRUE(json.contains(key)) << key;
  }
  ASSERT_EQ(json["diagnostics"].size(), 1u);
  EXPECT_EQ(json["diagnostics"][0]["id"], "extra-values");
  EXPECT_EQ(json["diagnostics"][0]["line"], 4);
  EXPECT_EQ(nlohmann::json::parse(report_json(CommandReport{}))["diagnostics"],
            nlohmann::json::array());
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
