#include "lsp/document.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "testing/test_support.h"

namespace scenario {
namespace {

TEST(SourceName, TellsLineAndTrainSourcesByTheirNames) {
  struct Case {
    const char* file;
    bool source;
    SourceKind kind;
    const char* base;
    const char* train;
  };
  const Case cases[] = {
      {"Orvale_Varcona_linea.txt", true, SourceKind::line, "Orvale_Varcona", ""},
      {"Orvale_Varcona_593-.txt", true, SourceKind::train, "Orvale_Varcona", "593"},
      {"Lago_7-.txt", true, SourceKind::train, "Lago", "7"},
      {"_linea.txt", false, SourceKind::line, "", ""},
      {"Lago-.txt", false, SourceKind::line, "", ""},
      {"Lago_-.txt", false, SourceKind::line, "", ""},
      {"Lago_7_note.txt", false, SourceKind::line, "", ""},
      {"Lago_linea.dat", false, SourceKind::line, "", ""},
  };
  for (const Case& c : cases) {
    const std::optional<SourceName> name = source_name_of(c.file);
    ASSERT_EQ(name.has_value(), c.source) << c.file;
    if (!name) continue;
    EXPECT_EQ(name->kind, c.kind) << c.file;
    EXPECT_EQ(name->base_name, c.base) << c.file;
    EXPECT_EQ(name->train_number, c.train) << c.file;
  }
}

TEST(SourceName, FileUrisAndPathsGoBothWays) {
#ifndef _WIN32
  EXPECT_EQ(path_of_uri("file:///tmp/Val%20Serena/a%C3%A8_linea.txt"),
            "/tmp/Val Serena/a\xC3\xA8_linea.txt");
  EXPECT_EQ(path_of_uri("file://localhost/x.txt"), "/x.txt");
  EXPECT_EQ(uri_of_path("/tmp/Val Serena/a\xC3\xA8_linea.txt"),
            "file:///tmp/Val%20Serena/a%C3%A8_linea.txt");
#endif
  EXPECT_EQ(path_of_uri("untitled:Untitled-1"), std::nullopt);
  EXPECT_EQ(path_of_uri("file://server/share/x.txt"), std::nullopt);
  EXPECT_EQ(path_of_uri("file:///a%00b"), std::nullopt);
}

TEST(SourceEntries, CutsASourceIntoEntriesWithTheirFieldsPlaces) {
  const std::string text = test::crlf_lines({
      "before, stazione, 1",
      "[generale]",
      "lunghezza percorso,  10000",
      "- pendenza, 5, 5",
      "[pendenze]",
      "pendenza, 100,",
      "  -3",
      "pendenza, x, 1",
      "cartello_indicatore, 500, (Km 0+500)  ",
      "curvx, 1, 2",
  });
  const SourceEntries entries = read_entries(text, SourceKind::line);
  EXPECT_EQ(entries.general_line, 2);
  EXPECT_EQ(entries.body_line, 5);
  ASSERT_EQ(entries.entries.size(), 4u);
  const SourceEntry& length = entries.entries[0];
  EXPECT_EQ(length.keyword->entry, KeywordEntry::length);
  ASSERT_EQ(length.values.size(), 1u);
  EXPECT_EQ(length.values[0].column, 22);
  EXPECT_EQ(length.values[0].end_column, 27);
  EXPECT_EQ(length.values[0].number, 10000);
  // A value on the next line belongs to the entry still.
  const SourceEntry& gradient = entries.entries[1];
  EXPECT_TRUE(gradient.complete);
  ASSERT_EQ(gradient.values.size(), 2u);
  EXPECT_EQ(gradient.values[1].line, 7);
  EXPECT_EQ(gradient.values[1].number, -3);
  EXPECT_EQ(gradient.section, 1u);
  // A value that is no number ends the entry; the next line is read on.
  EXPECT_FALSE(entries.entries[2].complete);
  EXPECT_TRUE(entries.entries[2].values.empty());
  const SourceEntry& board = entries.entries[3];
  ASSERT_EQ(board.values.size(), 2u);
  EXPECT_EQ(board.values[1].column, 27);
  EXPECT_EQ(board.values[1].end_column, 37);  // trailing blanks left out
  ASSERT_EQ(entries.unknown.size(), 1u);
  EXPECT_EQ(entries.unknown[0].text, "curvx");
  EXPECT_EQ(entries.unknown[0].line, 10);
  EXPECT_EQ(place_of_line(entries, 1), KeywordPlace::section);
  EXPECT_EQ(place_of_line(entries, 3), KeywordPlace::header);
  EXPECT_EQ(place_of_line(entries, 6), KeywordPlace::body);
}

// A position's numbers come from the client: whole numbers pass, held to
// 64 bits; anything whose conversion would be undefined is a type error,
// which the server answers as invalid params.
TEST(ClientWholeNumber, TakesWholeNumbersAndRefusesTheRest) {
  using Json = nlohmann::json;
  EXPECT_EQ(client_whole_number(Json(7)), 7);
  EXPECT_EQ(client_whole_number(Json(-3)), -3);
  EXPECT_EQ(client_whole_number(Json(4.0)), 4);
  EXPECT_EQ(client_whole_number(Json::parse("18446744073709551615")),
            std::numeric_limits<std::int64_t>::max());
  for (const char* refused : {"2e66", "-1e300", "2.5", "\"7\"", "null"}) {
    EXPECT_THROW(client_whole_number(Json::parse(refused)), Json::type_error) << refused;
  }
}

}  // namespace
}  // namespace scenario
