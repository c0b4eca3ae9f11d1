#include "app/status_finding.h"

#include <gtest/gtest.h>

#include "check/diagnostic_format.h"

namespace scenario {
namespace {

std::string told(const BuildState& state) {
  const auto finding = status_finding(state);
  return finding ? format_diagnostic(*finding) : "";
}

// Without the readers' own finding the code is still told, by its meaning and
// where it was set; no position, which may be an earlier code's.
TEST(StatusFinding, WithoutAFindingTellsTheCodeAndWhereItWasSet) {
  BuildState state;
  EXPECT_EQ(told(state), "");
  state.status = {status::kOutOfRange, 364901, SourceLine{"x_linea.txt", 97}};
  EXPECT_EQ(told(state), "x_linea.txt:97: error: an entry's position lies outside the line [S15]\n");
  state.status = {status::kNoLineSource, 0, std::nullopt};
  EXPECT_EQ(told(state), "scenario-compiler: error: the line source does not exist [S101]\n");
}

// In Italian the meaning is translated; the form, the word "error" and the id
// stay as editors read them.
TEST(StatusFinding, TellsTheMeaningInTheReadersLanguage) {
  BuildState state;
  state.status = {status::kOutOfRange, 364901, SourceLine{"x_linea.txt", 97}};
  EXPECT_EQ(format_diagnostic(*status_finding(state, Language::italian)),
            "x_linea.txt:97: error: la progressiva di una voce cade fuori dalla linea [S15]\n");
  state.status = {status::kNoGeneralSection, 0, std::nullopt};
  EXPECT_EQ(format_diagnostic(*status_finding(state, Language::italian)),
            "scenario-compiler: error: la sorgente della linea non ha la sezione [generale] [S102]\n");
  EXPECT_EQ(format_diagnostic(*status_finding(state, Language::english)),
            "scenario-compiler: error: the line source has no [generale] section [S102]\n");
}

TEST(StatusFinding, PrefersTheReadersOwnFindingForTheFinalCode) {
  BuildState state;
  state.status = {status::kSignalTaken, 810, SourceLine{"a_1-.txt", 12}};
  Diagnostic earlier;
  earlier.code = status::kOutOfRange;
  earlier.id = "S15";
  earlier.message = "an earlier error of another code";
  Diagnostic exact;
  exact.code = status::kSignalTaken;
  exact.id = "S16";
  exact.message = "cell 17 holds the signal of line 11";
  exact.where = SourcePoint{"a_1-.txt", 12, 10};
  state.diagnostics = {earlier, exact};
  EXPECT_EQ(status_finding(state)->message, "cell 17 holds the signal of line 11");
}

}  // namespace
}  // namespace scenario
