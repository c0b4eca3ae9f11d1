#include "editors/editor_grammar.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string_view>
#include <vector>

namespace scenario::editors {
namespace {

// The bytes of one field: everything up to the next comma or line end.
constexpr std::string_view kFieldByte = "[^,\\r\\n]";

std::string language_id(SourceKind source) {
  return source == SourceKind::line ? "scenario-line" : "scenario-train";
}

bool is_ascii_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char flip_case(char c) { return static_cast<char>(c ^ 0x20); }

// A word as the readers compare it: a letter matches itself, and its other
// case when case is ignored; every other byte matches only itself.
std::string word_pattern(std::string_view word, bool ignore_case) {
  std::string pattern;
  for (char c : word) {
    if (ignore_case && is_ascii_letter(c)) {
      pattern += '[';
      pattern += c;
      pattern += flip_case(c);
      pattern += ']';
    } else if (std::string_view("\\^$.|?*+()[]{}/").find(c) != std::string_view::npos) {
      pattern += '\\';
      pattern += c;
    } else {
      pattern += c;
    }
  }
  return pattern;
}

std::string keyword_scope(const SourceKeyword& keyword) {
  std::string scope;
  switch (keyword.place) {
    case KeywordPlace::section: scope = "keyword.control.section"; break;
    case KeywordPlace::header: scope = "keyword.other.header"; break;
    case KeywordPlace::body:
    case KeywordPlace::records: scope = "keyword.other.entry"; break;
  }
  scope += '.';
  scope += language_id(keyword.source);
  return scope;
}

nlohmann::ordered_json captured(const std::string& scope) {
  return {{"1", {{"name", scope}}}};
}

std::string xml_escaped(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

}  // namespace

std::string keyword_pattern(const SourceKeyword& keyword) {
  std::string pattern = "(?:^|,)[ \\t]*(";
  for (std::string_view word : keyword.words) {
    if (word.empty()) continue;
    pattern += "(?=";
    pattern += kFieldByte;
    pattern += '*';
    pattern += word_pattern(word, keyword.ignore_case);
    pattern += ')';
  }
  pattern += kFieldByte;
  pattern += "*)";
  return pattern;
}

std::string comment_pattern() {
  // A field that is only a number is a value, though a dash field in the
  // place of a keyword would be dropped all the same.
  std::string pattern = "^[ \\t]*((?![+-]?[0-9]+[ \\t]*(?:,|$))";
  pattern += kFieldByte;
  pattern += "*-";
  pattern += kFieldByte;
  pattern += "*)";
  return pattern;
}

std::string textmate_grammar(SourceKind source) {
  const std::string id = language_id(source);
  nlohmann::ordered_json patterns = nlohmann::ordered_json::array();
  patterns.push_back({{"comment", "a dash field at the start of a line is dropped: a comment"},
                      {"match", comment_pattern()},
                      {"captures", captured("comment.line.dash." + id)}});
  for (const SourceKeyword& keyword : source_keywords()) {
    if (keyword.source != source) continue;
    std::string comment(keyword.meaning);
    if (!keyword.values.empty()) {
      comment += ": ";
      comment += keyword.values;
    }
    patterns.push_back({{"comment", comment},
                        {"match", keyword_pattern(keyword)},
                        {"captures", captured(keyword_scope(keyword))}});
  }
  patterns.push_back({{"comment", "a section title: a field in brackets that matches no keyword"},
                      {"match", "(?:^|,)[ \\t]*(\\[[^\\],\\r\\n]*\\][^,\\r\\n]*)"},
                      {"captures", captured("entity.name.section." + id)}});
  patterns.push_back({{"match", "(?<![^ \\t,])[+-]?[0-9]+(?![^ \\t,\\r\\n])"},
                      {"name", "constant.numeric.integer." + id}});
  patterns.push_back({{"match", "\"[^\"\\r\\n]*\""}, {"name", "string.quoted.double." + id}});

  nlohmann::ordered_json grammar = {
      {"comment",
       "Written by make_grammar from the readers' keyword table (src/sources/keywords.cpp): "
       "change the table, not this file."},
      {"name", source == SourceKind::line ? "Scenario line source" : "Scenario train source"},
      {"scopeName", "source." + id},
      {"patterns", patterns},
  };
  return grammar.dump(2) + "\n";
}

std::string notepad_plus_plus_languages() {
  // One language a source, chosen from the Language menu: both sources end in
  // ".txt", so an extension cannot tell them apart from other texts. Keywords
  // are matched as word prefixes ("velocit" colours "velocita") and letter case
  // is ignored throughout, the closest these languages come to the readers'
  // test of a word anywhere in the field.
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";
  xml += "<!-- Written by make_grammar from the readers' keyword table "
         "(src/sources/keywords.cpp). -->\n";
  xml += "<NotepadPlus>\n";
  for (SourceKind source : {SourceKind::line, SourceKind::train}) {
    std::vector<std::string_view> listed;
    std::string words;
    for (const SourceKeyword& keyword : source_keywords()) {
      if (keyword.source != source || keyword.place == KeywordPlace::section) continue;
      for (std::string_view word : keyword.words) {
        if (word.empty() || std::find(listed.begin(), listed.end(), word) != listed.end()) {
          continue;
        }
        listed.push_back(word);
        if (!words.empty()) words += ' ';
        words += word;
      }
    }
    const std::string name =
        source == SourceKind::line ? "Scenario line source" : "Scenario train source";
    xml += "  <UserLang name=\"" + name + "\" ext=\"\" udlVersion=\"2.1\">\n";
    xml += "    <Settings>\n";
    xml += "      <Global caseIgnored=\"yes\" allowFoldOfComments=\"no\" foldCompact=\"no\" "
           "forcePureLC=\"2\" decimalSeparator=\"0\" />\n";
    xml += "      <Prefix Keywords1=\"yes\" Keywords2=\"no\" Keywords3=\"no\" Keywords4=\"no\" "
           "Keywords5=\"no\" Keywords6=\"no\" Keywords7=\"no\" Keywords8=\"no\" />\n";
    xml += "    </Settings>\n";
    xml += "    <KeywordLists>\n";
    xml += "      <Keywords name=\"Comments\">00- 01 02 03 04</Keywords>\n";
    xml += "      <Keywords name=\"Keywords1\">" + xml_escaped(words) + "</Keywords>\n";
    xml += "      <Keywords name=\"Keywords2\">" + xml_escaped("[generale]") + "</Keywords>\n";
    xml += "      <Keywords name=\"Delimiters\">" +
           xml_escaped("00\" 01 02\" 03[ 04 05] 06 07 08 09 10 11 12 13 14 15 16 17 18 19 20 "
                       "21 22 23") +
           "</Keywords>\n";
    xml += "    </KeywordLists>\n";
    xml += "    <Styles>\n";
    const struct {
      const char* name;
      int id;
      const char* colour;
      int font_style;  // 0 plain, 1 bold, 2 italic
    } styles[] = {
        {"DEFAULT", 0, "000000", 0},       {"LINE COMMENTS", 2, "008000", 2},
        {"NUMBERS", 3, "FF8000", 0},       {"KEYWORDS1", 4, "0000FF", 1},
        {"KEYWORDS2", 5, "8000FF", 1},     {"DELIMITERS1", 16, "808080", 0},
        {"DELIMITERS2", 17, "8000FF", 0},
    };
    for (const auto& style : styles) {
      xml += "      <WordsStyle name=\"" + std::string(style.name) + "\" styleID=\"" +
             std::to_string(style.id) + "\" fgColor=\"" + style.colour +
             "\" bgColor=\"FFFFFF\" fontName=\"\" fontStyle=\"" +
             std::to_string(style.font_style) + "\" nesting=\"0\" />\n";
    }
    xml += "    </Styles>\n";
    xml += "  </UserLang>\n";
  }
  xml += "</NotepadPlus>\n";
  return xml;
}

}  // namespace scenario::editors
