#include "builtin/builtin_texts.h"

#include <gtest/gtest.h>

#include "testing/memory_file_system.h"
#include "testing/test_support.h"

#include <algorithm>

#include "builtin/builtin_scenario.h"
#include "builtin/driver_documents.h"

namespace scenario {
namespace {

TEST(BuiltinTexts, WritesTheFiveTextsUnderTheRunsNames) {
  MemoryFileSystem files;
  const ScenarioFileNames names = scenario_file_names("folder with blanks", "Abc", "12");
  ASSERT_TRUE(write_builtin_texts(files, names).ok);
  EXPECT_EQ(files.files.size(), 5u);
  EXPECT_EQ(files.files[names.line_source], render_line_table(dati_linea()));
  EXPECT_EQ(files.files[names.train_source], render_line_table(dati_treno()));
  EXPECT_EQ(files.files[names.notes], render_line_table(dati_note()));
  EXPECT_EQ(files.files[names.slow_orders], render_line_table(dati_rallentamenti()));
  EXPECT_EQ(files.files[names.timetable], render_line_table(dati_scheda()));
}

// The five texts as first released, each pinned whole: the sources compile
// to the scenario files and the documents go to the driver, so any changed
// byte is a regression. The tests of each text check its rules.
TEST(BuiltinTexts, EveryTextKeepsEveryByte) {
  EXPECT_EQ(test::digest(render_line_table(dati_linea())), 0x272da7f656fcf292u);
  EXPECT_EQ(test::digest(render_line_table(dati_treno())), 0xfe8e746c0b426f3eu);
  EXPECT_EQ(test::digest(render_line_table(dati_note())), 0x286167a22455c40eu);
  EXPECT_EQ(test::digest(render_line_table(dati_rallentamenti())), 0x5be8b6aadfd36ea5u);
  EXPECT_EQ(test::digest(render_line_table(dati_scheda())), 0xf8733417badf93c8u);
}

TEST(BuiltinTexts, ASecondRunReplacesEveryTextWithTheSameBytes) {
  MemoryFileSystem files;
  const ScenarioFileNames names = scenario_file_names("", "Orvale_Varcona", "593");
  ASSERT_TRUE(write_builtin_texts(files, names).ok);
  const auto first = files.files;
  for (auto& [path, content] : files.files) content += "stale tail of an edited copy";
  ASSERT_TRUE(write_builtin_texts(files, names).ok);
  EXPECT_EQ(files.files, first);
}

// The marker is a table's only stop: each table closes with it, once.
TEST(BuiltinTexts, EveryTableClosesWithTheEndMarker) {
  for (LineTable table : {dati_linea(), dati_treno(), dati_note(), dati_rallentamenti(),
                          dati_scheda()}) {
    ASSERT_FALSE(table.empty());
    EXPECT_EQ(table.back(), kEndMarker);
    EXPECT_EQ(std::count(table.begin(), table.end(), kEndMarker), 1);
  }
}

// The texts are written in the order line source, train source, notes,
// slow-order form, timetable; the first failure stops the rest.
TEST(BuiltinTexts, StopsAtTheFirstFailure) {
  MemoryFileSystem files;
  const ScenarioFileNames names = scenario_file_names("", "Orvale_Varcona", "593");
  files.failing.insert(names.notes);
  const IoResult result = write_builtin_texts(files, names);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find(names.notes), std::string::npos) << result.message;
  EXPECT_TRUE(files.files.count(names.line_source));
  EXPECT_TRUE(files.files.count(names.train_source));
  EXPECT_FALSE(files.files.count(names.slow_orders));
  EXPECT_FALSE(files.files.count(names.timetable));
}

// Only the two sources are an author's work; the documents are the
// program's own and are replaced whatever they hold.
TEST(BuiltinTexts, EditedSourcesAreTheSourcesThatDifferOrCannotBeRead) {
  MemoryFileSystem files;
  const ScenarioFileNames names = scenario_file_names("", "Orvale_Varcona", "593");
  EXPECT_EQ(edited_sources(files, names), std::vector<std::string>{});  // none there yet
  ASSERT_TRUE(write_builtin_texts(files, names).ok);
  files.files[names.notes] = "notes of someone";
  EXPECT_EQ(edited_sources(files, names), std::vector<std::string>{});

  files.files[names.train_source] += " ";
  files.failing.insert(names.line_source);
  EXPECT_EQ(edited_sources(files, names),
            (std::vector<std::string>{
                "cannot read 'Orvale_Varcona_linea.txt': No such file or directory",
                "'Orvale_Varcona_593-.txt' differs from the built-in text"}));
}

}  // namespace
}  // namespace scenario
