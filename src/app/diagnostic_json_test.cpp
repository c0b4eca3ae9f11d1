#include "app/diagnostic_json.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

using Json = nlohmann::ordered_json;

std::vector<Diagnostic> findings() {
  Diagnostic error;
  error.id = "S15";
  error.code = StatusCode::kOutOfRange;
  error.position = 7950;
  error.message = "an entry's position lies outside the line";
  error.where = SourcePoint{"Val Serena_12-.txt", 9, 10, 14};
  error.source_line = "segnale, 7950";
  Diagnostic note;
  note.severity = Severity::note;
  note.message = "the grid ends at cell 160";
  error.notes.push_back(note);
  Diagnostic warning;
  warning.severity = Severity::warning;
  warning.id = "extra-values";
  warning.message = "1 value left over";
  warning.where = SourcePoint{"b_linea.txt", 4, 0};
  Diagnostic again = error;
  again.where->line = 12;
  again.where->end_column = 10;  // an empty field: a value missing at the line's end
  Diagnostic placeless;
  placeless.id = "S101";
  placeless.message = "the line source does not exist";
  return {error, warning, again, placeless};
}

TEST(DiagnosticJson, SarifLogHasOneRuleAnIdAndOneResultAFinding) {
  const Json log = sarif_log(findings());
  EXPECT_EQ(log["version"], "2.1.0");
  ASSERT_EQ(log["runs"].size(), 1u);
  const Json& driver = log["runs"][0]["tool"]["driver"];
  EXPECT_EQ(driver["name"], "scenario-compiler");
  ASSERT_EQ(driver["rules"].size(), 3u);  // S15 once, extra-values, S101
  EXPECT_EQ(driver["rules"][0]["id"], "S15");
  EXPECT_EQ(driver["rules"][0]["shortDescription"]["text"],
            "an entry's position lies outside the line");
  EXPECT_EQ(driver["rules"][1]["id"], "extra-values");

  const Json& results = log["runs"][0]["results"];
  ASSERT_EQ(results.size(), 4u);
  EXPECT_EQ(results[0]["ruleId"], "S15");
  EXPECT_EQ(results[0]["level"], "error");
  EXPECT_EQ(results[0]["message"]["text"], "an entry's position lies outside the line");
  ASSERT_EQ(results[0]["locations"].size(), 1u);
  const Json& physical = results[0]["locations"][0]["physicalLocation"];
  // A blank is not allowed in a URI reference.
  EXPECT_EQ(physical["artifactLocation"]["uri"], "Val%20Serena_12-.txt");
  EXPECT_EQ(physical["artifactLocation"]["uriBaseId"], "SRCROOT");
  EXPECT_FALSE(log["runs"][0].contains("originalUriBaseIds"));
  EXPECT_EQ(physical["region"],
            (Json{{"startLine", 9}, {"startColumn", 10}, {"endColumn", 14}}));
  EXPECT_EQ(results[0]["relatedLocations"][0]["message"]["text"], "the grid ends at cell 160");

  EXPECT_EQ(results[1]["level"], "warning");
  EXPECT_EQ(results[1]["locations"][0]["physicalLocation"]["region"], (Json{{"startLine", 4}}));
  // An empty field still covers one column, the one just after it.
  EXPECT_EQ(results[2]["locations"][0]["physicalLocation"]["region"]["endColumn"], 11);
  EXPECT_EQ(results[3]["locations"], Json::array());
}

TEST(DiagnosticJson, SarifBaseIdNamesTheSourceFolderAsAFileUri) {
  const std::pair<const char*, const char*> folders[] = {
      {"/home/ada/linee", "file:///home/ada/linee/"},
      {"/tmp/a b/", "file:///tmp/a%20b/"},
      {"C:/Linee/Val Serena", "file:///C:/Linee/Val%20Serena/"},
  };
  for (const auto& [folder, uri] : folders) {
    EXPECT_EQ(sarif_log({}, folder)["runs"][0]["originalUriBaseIds"]["SRCROOT"]["uri"], uri);
  }
}

TEST(DiagnosticJson, PlainArrayHoldsEveryFieldWithNullsForWhatIsUnknown) {
  const Json array = diagnostics_json(findings());
  ASSERT_EQ(array.size(), 4u);
  EXPECT_EQ(array[0]["severity"], "error");
  EXPECT_EQ(array[0]["code"], 15);
  EXPECT_EQ(array[0]["position"], 7950);
  EXPECT_EQ(array[0]["file"], "Val Serena_12-.txt");
  EXPECT_EQ(array[0]["column"], 10);
  EXPECT_EQ(array[0]["end_column"], 14);
  EXPECT_EQ(array[0]["source_line"], "segnale, 7950");
  EXPECT_EQ(array[0]["notes"][0]["severity"], "note");
  EXPECT_TRUE(array[0]["notes"][0]["id"].is_null());
  EXPECT_TRUE(array[1]["code"].is_null());
  EXPECT_TRUE(array[1]["column"].is_null());
  EXPECT_TRUE(array[1]["end_column"].is_null());
  EXPECT_TRUE(array[3]["file"].is_null());
  EXPECT_TRUE(array[3]["line"].is_null());
}

TEST(DiagnosticJson, BytesThatAreNotUtf8AreReplacedNotFatal) {
  std::vector<Diagnostic> one = findings();
  one[0].source_line = "stazione, 300, Citt\xe0";  // code page 1252
  const std::string text = json_text(sarif_log(one)) + json_text(diagnostics_json(one));
  EXPECT_NE(text.find("Citt\xef\xbf\xbd"), std::string::npos);
}

}  // namespace
}  // namespace scenario
