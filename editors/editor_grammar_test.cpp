#include "editors/editor_grammar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>
#include <vector>

namespace scenario::editors {
namespace {

std::string upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// Fields an author might write around a keyword: its words as they stand, in
// other orders and cases, alone, and cut short.
std::vector<std::string> probes(const SourceKeyword& keyword) {
  const std::string first(keyword.words[0]);
  const std::string second(keyword.words[1]);
  std::vector<std::string> fields = {first + " " + second, "numero " + first + " di " + second,
                                     second + first, upper(first + " " + second), first,
                                     first.substr(0, first.size() - 1) + " " + second};
  std::string capital = first + " " + second;
  capital[0] = upper(capital.substr(0, 1))[0];
  fields.push_back(capital);
  if (!second.empty()) {
    fields.push_back(second);
    fields.push_back(first + " " + second.substr(0, second.size() - 1));
  }
  return fields;
}

// The words of the n-th language's first keyword list in the Notepad++ file.
std::vector<std::string> listed_words(const std::string& languages, int language) {
  const std::string start = "<Keywords name=\"Keywords1\">";
  std::size_t at = 0;
  for (int skipped = 0; skipped <= language; ++skipped) {
    at = languages.find(start, at);
    if (at == std::string::npos) return {};
    at += start.size();
  }
  std::vector<std::string> words;
  std::string word;
  for (; at < languages.size() && languages[at] != '<'; ++at) {
    if (languages[at] != ' ') {
      word += languages[at];
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

// Highlighting a field as a keyword must agree with the readers' own test, for
// every keyword of the same source: a case rule or a word missed in the
// expression would colour a field the readers pass over, or the reverse.
TEST(EditorGrammar, KeywordPatternsColourExactlyTheFieldsTheReadersMatch) {
  for (const SourceKeyword& keyword : source_keywords()) {
    for (const std::string& field : probes(keyword)) {
      for (const SourceKeyword& other : source_keywords()) {
        if (other.source != keyword.source) continue;
        const std::regex pattern(keyword_pattern(other));
        for (const std::string& line : {field, "12, " + field + ",  7"}) {
          std::smatch found;
          const bool coloured = std::regex_search(line, found, pattern);
          EXPECT_EQ(coloured, matches(other, field))
              << "field \"" << field << "\" against " << other.words[0] << " " << other.words[1];
          if (coloured) {
            EXPECT_EQ(found[1].str(), field) << line;
          }
        }
      }
    }
  }
}

TEST(EditorGrammar, EveryGrammarHoldsEveryKeywordOfItsSource) {
  const std::string languages = notepad_plus_plus_languages();
  for (SourceKind source : {SourceKind::line, SourceKind::train}) {
    const std::vector<std::string> listed =
        listed_words(languages, source == SourceKind::line ? 0 : 1);
    const nlohmann::json grammar = nlohmann::json::parse(textmate_grammar(source));
    std::vector<std::string> expressions;
    for (const nlohmann::json& rule : grammar.at("patterns")) {
      expressions.push_back(rule.at("match").get<std::string>());
    }
    // A comment is dropped before any keyword test, so its rule comes first.
    ASSERT_FALSE(expressions.empty());
    EXPECT_EQ(expressions.front(), comment_pattern());
    for (const SourceKeyword& keyword : source_keywords()) {
      if (keyword.source != source) continue;
      EXPECT_NE(std::find(expressions.begin(), expressions.end(), keyword_pattern(keyword)),
                expressions.end())
          << keyword.words[0];
      if (keyword.place == KeywordPlace::section) continue;
      for (std::string_view word : keyword.words) {
        if (word.empty()) continue;
        EXPECT_NE(std::find(listed.begin(), listed.end(), word), listed.end()) << word;
      }
    }
  }
}

TEST(EditorGrammar, CommentIsALineStartFieldHoldingADashThatIsNoNumber) {
  const struct {
    std::string line;
    std::string comment;  // empty: no comment
  } cases[] = {
      {"- tratto in galleria", "- tratto in galleria"},
      {"\t--- segnale tolto, 9000", "--- segnale tolto"},
      {"velocita-max, 0, 100", "velocita-max"},
      {"-5, 3", ""},
      {"  +12", ""},
      {"segnale, -5, 2", ""},
      {"# segnale tolto", ""},
  };
  const std::regex pattern(comment_pattern());
  for (const auto& c : cases) {
    std::smatch found;
    const bool is_comment = std::regex_search(c.line, found, pattern);
    EXPECT_EQ(is_comment, !c.comment.empty()) << c.line;
    if (is_comment) {
      EXPECT_EQ(found[1].str(), c.comment);
    }
  }
}

}  // namespace
}  // namespace scenario::editors
