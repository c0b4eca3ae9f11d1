#include "sources/build_model.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/check_properties.h"
#include "testing/compile_properties.h"
#include "testing/test_support.h"

namespace scenario {
namespace {

std::string edited(std::string_view text, std::string_view from, std::string_view to) {
  std::string result(text);
  result.replace(result.find(from), from.size(), to);
  return result;
}

// A compile's build of the model, as `memorizza_percorso` makes it.
struct Build : test::MemoryBuild {
  std::optional<std::int32_t> fatal;
  Build(std::string line, std::string train) : MemoryBuild(std::move(line), std::move(train)) {
    context.options.delete_sources = false;
    fatal = build_model(context);
  }
  std::string status_finding() const {
    const Diagnostic* finding = status_diagnostic(context.state);
    return finding == nullptr ? "none" : testing::finding_text(*finding);
  }
};

TEST(BuildModel, TheFinalStatusHasItsCause) {
  const struct {
    const char* name;
    std::string line, train;
    std::string expected;
  } cases[] = {
      {"a bad number in the line source",
       edited(testing::fixed_line_source(), "sfondo due,    0", "sfondo due,    0x"),
       std::string(testing::fixed_train_source()),
       "Orvale_Varcona_linea.txt:7:16-18: error: expected a whole number for the background value, "
       "found \"0x\" [S25]"},
      {"the train reader stopped by the line reader's status 15",
       edited(testing::fixed_line_source(), "montagna,   2000", "montagna,   9000"),
       std::string(testing::fixed_train_source()),
       "Orvale_Varcona_593-.txt:10:16-20: error: status 15, left set by an earlier error, stops the "
       "train reading at this speed restriction (the error is at Orvale_Varcona_linea.txt line "
       "18) [S15]\n"
       "  Orvale_Varcona_linea.txt:18:13-17: note: the earlier error: the position 9000 m lies "
       "outside the line: valid are positions up to 7900 m (the line is 1000 m long; the rest "
       "of the line source is passed over)"},
      {"a progressive off the 50 m grid, told once the train source is read",
       edited(testing::fixed_line_source(), "chilometrica due,    0,    0", "chilometrica due,    0,    30"),
       std::string(testing::fixed_train_source()),
       "Orvale_Varcona_linea.txt:4:1-29: error: the kilometre progressive's values 0 and 30 are "
       "not both multiples of 50 (checked once the train source is read) [S2]"},
      {"no status", std::string(testing::fixed_line_source()),
       std::string(testing::fixed_train_source()), "none"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Build build(c.line, c.train);
    EXPECT_EQ(build.status_finding(), c.expected);
    // The position is told only where the status recorded one.
    if (const Diagnostic* finding = status_diagnostic(build.context.state)) {
      if (finding->position) {
        EXPECT_EQ(*finding->position, build.context.state.status.position);
      }
    }
  }
}

TEST(BuildModel, WarningsChangeNothingTheCompileBuilds) {
  Build plain{std::string(testing::fixed_line_source()), std::string(testing::fixed_train_source())};
  // A misspelt curve keyword and a value too many: the compile passes over both silently.
  Build warned{edited(edited(testing::fixed_line_source(), "curvas4", "curvs4"), "pendenza,  150,   6",
                      "pendenza,  150,   6, 7"),
               std::string(testing::fixed_train_source())};
  ASSERT_EQ(warned.context.state.diagnostics.size(), 2u);
  EXPECT_EQ(warned.context.state.diagnostics[0].id, "unknown-keyword");
  EXPECT_EQ(warned.context.state.diagnostics[1].id, "extra-values");
  EXPECT_EQ(warned.context.state.status.code, status::kNone);
  EXPECT_EQ(plain.context.state.diagnostics.size(), 0u);
}

}  // namespace
}  // namespace scenario
