#include "sources/keyword_warnings.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(KeywordWarnings, SuggestsOnlyAKeywordOfTheSameSection) {
  const auto body = keywords_of(SourceKind::line, KeywordPlace::body);
  const auto records = keywords_of(SourceKind::train, KeywordPlace::records);
  const struct {
    const char* field;
    std::span<const SourceKeyword> section;
    const char* expected;  // nullptr: no suggestion
  } cases[] = {
      {"curvd2", body, "curvad2"},
      {"pendeza", body, "pendenza"},
      {"montgna", body, "montagna"},
      {"velocta", records, "velocita"},
      {"segnal", records, "segnale"},
      {"Stazone", records, "stazione"},
      {"segnale", body, nullptr},  // a train keyword in the line source
      {"xyz", records, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    const SourceKeyword* near = nearest_keyword(c.field, c.section);
    if (c.expected == nullptr) {
      EXPECT_EQ(near, nullptr);
    } else {
      ASSERT_NE(near, nullptr);
      EXPECT_EQ(near->written, c.expected);
    }
  }
}

TEST(KeywordWarnings, EveryKeywordWrittenAsTheBuiltinSourcesDoMatchesItsEntry) {
  for (const SourceKeyword& keyword : source_keywords()) {
    SCOPED_TRACE(keyword.written);
    EXPECT_TRUE(matches(keyword, keyword.written));
  }
}

}  // namespace
}  // namespace scenario
