#include "check/explanations.h"

#include <gtest/gtest.h>

#include <set>

#include "model/diagnostic.h"
#include "testing/example_sources.h"
#include "testing/memory_compile.h"

namespace scenario {
namespace {

TEST(Explanations, EveryCodeFatalAndWarningHasOneFullEntry) {
  std::set<std::string> ids;
  for (const Explanation& explanation : all_explanations()) {
    EXPECT_TRUE(ids.insert(explanation.id).second) << explanation.id;
    EXPECT_FALSE(explanation.title.empty()) << explanation.id;
    EXPECT_FALSE(explanation.meaning.empty()) << explanation.id;
    EXPECT_FALSE(explanation.fix.empty()) << explanation.id;
    EXPECT_EQ(explanation.example.empty(), explanation.example_of.empty()) << explanation.id;
  }
  for (StatusCode code : kAllStatusCodes) EXPECT_EQ(ids.count(status_id(code)), 1u);
  for (WarningKind kind : kAllWarningKinds) EXPECT_EQ(ids.count(std::string(warning_id(kind))), 1u);
  EXPECT_EQ(ids.count("F1250") + ids.count("F1251"), 2u);
  EXPECT_EQ(ids.size(), std::size(kAllStatusCodes) + std::size(kAllWarningKinds) + 2);
}

TEST(Explanations, FindsAnIdInEveryFormAnAuthorTypes) {
  const std::pair<const char*, const char*> forms[] = {
      {"S25", "S25"},     {"s25", "S25"},         {"25", "S25"},
      {"0", "S0"},        {"F1250", "F1250"},     {"1251", "F1251"},
      {"f1251", "F1251"}, {"utf8-text", "utf8-text"}, {"Keyword-Case", "keyword-case"},
  };
  for (const auto& [typed, id] : forms) {
    const auto found = find_explanation(typed);
    ASSERT_TRUE(found.has_value()) << typed;
    EXPECT_EQ(found->id, id) << typed;
  }
  for (const char* unknown : {"", "S14", "14", "1252", "F25", "S", "unknown", "99999999999"}) {
    EXPECT_FALSE(find_explanation(unknown).has_value()) << unknown;
  }
}

// An example that shows a code or a fatal error must give it when compiled:
// the page of explanations is only as good as its examples.
TEST(Explanations, EachExampleGivesItsFindingWhenCompiled) {
  int compiled = 0;
  for (const Explanation& explanation : all_explanations()) {
    const char letter = explanation.id[0];
    if (explanation.example.empty()) continue;
    ASSERT_TRUE(explanation.example_of.starts_with("line source") ||
                explanation.example_of.starts_with("train source"))
        << explanation.id;
    const auto [line, train] = testing::example_sources(explanation);
    const MemoryCompile result = compile_in_memory(line, train, "Abc", "12");
    if (letter != 'S' && letter != 'F') {
      // A warning: the compile warns with its id and sets no code for it.
      bool warned = false;
      for (const Diagnostic& finding : result.diagnostics) warned = warned || finding.id == explanation.id;
      EXPECT_TRUE(warned) << explanation.id << "\n" << line << train;
      EXPECT_EQ(result.status.code, status::kNone) << explanation.id << "\n" << line << train;
      EXPECT_EQ(result.fatal, std::nullopt) << explanation.id;
      ++compiled;
      continue;
    }
    const std::int32_t number = std::stoi(explanation.id.substr(1));
    if (letter == 'F') {
      EXPECT_EQ(result.fatal, number) << explanation.id;
    } else {
      EXPECT_EQ(code_number(result.status.code), number) << explanation.id << "\n" << line << train;
    }
    ++compiled;
  }
  EXPECT_GT(compiled, 15);
  // The clean sources themselves give nothing.
  const auto [clean_line, clean_train] = testing::clean_example_sources();
  const MemoryCompile clean = compile_in_memory(clean_line, clean_train);
  EXPECT_EQ(clean.status.code, status::kNone);
  EXPECT_TRUE(clean.diagnostics.empty());
}

TEST(Explanations, TextAndPageShowTitleExampleAndFix) {
  const Explanation explanation = *find_explanation("S15");
  const std::string text = explanation_text(explanation, Language::english);
  EXPECT_EQ(text.rfind("S15: an entry's position lies outside the line\n\n", 0), 0u) << text;
  EXPECT_NE(text.find("\n    segnale, 7950, 2, 4, 1, 0, 0, 1, 3,1,0, 0\n"), std::string::npos);
  EXPECT_NE(text.find("\nFix: "), std::string::npos);
  for (std::size_t at = 0, end = 0; at < text.size(); at = end + 1) {
    end = text.find('\n', at);
    EXPECT_LE(end - at, 88u) << text.substr(at, end - at);
  }
  const std::string list = explanation_list(Language::english);
  EXPECT_NE(list.find("\nS15 "), std::string::npos);
  EXPECT_NE(list.find("\nunknown-keyword "), std::string::npos);
  EXPECT_NE(diagnostics_markdown(Language::english).find("## S15: an entry's position lies outside the line\n"),
            std::string::npos);
}

// In Italian every word of an entry is Italian; the id and the example, a
// source's own lines, stay as they are.
TEST(Explanations, SpeakItalian) {
  EXPECT_EQ(explanation_text(*find_explanation("close-tunnels"), Language::italian),
            "close-tunnels: una galleria subito dopo un'altra, registrata con il tipo 3\n"
            "\n"
            "Una galleria inizia al più 150 m dopo la fine della galleria che la precede nella\n"
            "sorgente. Il lettore registra una tale galleria con il tipo 3 (conta anche uno spazio di\n"
            "esattamente 150 m), qualunque tipo indichi la voce; i suoi marcatori restano come chiede\n"
            "la voce.\n"
            "\n"
            "Esempio (corpo della sorgente della linea):\n"
            "\n"
            "    montagna, 1000, 2000, 1\n"
            "    montagna, 2100, 3000, 2\n"
            "\n"
            "Correzione: Dai alla galleria il tipo 3 se è quello voluto, oppure lascia più di 150 m\n"
            "tra le due gallerie, oppure uniscile in una voce.\n");
  EXPECT_NE(explanation_list(Language::italian)
                .find("\nS15               la progressiva di una voce cade fuori dalla linea\n"),
            std::string::npos);
}

// One entry whole in each language: the meaning, example heading and fix are
// translated; the id, the example's source lines and the program's own
// " Errore n. 1251" quoted in the meaning are not.
TEST(Explanations, TextInEnglishAndItalian) {
  struct Case {
    const char* id;
    Language language;
    const char* text;
  };
  const Case cases[] = {
      {"F1251", Language::english,
       "F1251: an object in cell 1 reached the second integrity stamp\n"
       "\n"
       "Cell 1 (positions 0 to 24 m) is reserved for the integrity stamps. An object in cell 1\n"
       "with a zero first value but a non-zero second value reached the second stamp. The\n"
       "compile shows \" Errore n. 1251\" and writes no scenario file.\n"
       "\n"
       "Example (train source):\n"
       "\n"
       "    segnale, 0, 2, 0, 1, 0, 0, 1, 0,1,0, 0\n"
       "\n"
       "Fix: Move the object to 25 m or later.\n"},
      {"F1251", Language::italian,
       "F1251: un oggetto nella cella 1 ha raggiunto il secondo timbro di integrità\n"
       "\n"
       "La cella 1 (progressive da 0 a 24 m) è riservata ai timbri di integrità. Un oggetto\n"
       "nella cella 1 con il primo valore zero ma il secondo diverso da zero ha raggiunto il\n"
       "secondo timbro. La compilazione mostra \" Errore n. 1251\" e non scrive alcun file dello\n"
       "scenario.\n"
       "\n"
       "Esempio (sorgente del treno):\n"
       "\n"
       "    segnale, 0, 2, 0, 1, 0, 0, 1, 0,1,0, 0\n"
       "\n"
       "Correzione: Sposta l'oggetto a 25 m o oltre.\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(explanation_text(*find_explanation(c.id), c.language), c.text) << c.id;
  }
}

}  // namespace
}  // namespace scenario
