#include "lsp/findings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace scenario {
namespace {

Document train_document(std::string text) {
  Document document;
  document.uri = "file:///s/A_1-.txt";
  document.path = "/s/A_1-.txt";
  document.folder = "/s/";
  document.name = SourceName{SourceKind::train, "A", "1"};
  document.set_text(std::move(text), Cp1252Encoder());
  return document;
}

Diagnostic warning(WarningKind kind, std::int32_t line, std::int32_t column) {
  Diagnostic finding;
  finding.severity = Severity::warning;
  finding.id = std::string(warning_id(kind));
  finding.where = SourcePoint{"A_1-.txt", line, column};
  return finding;
}

// The text after the edits of a fix (edits of one line each, or whole lines).
std::string applied(const Document& document, const SourceFix& fix) {
  std::string text = document.text;
  std::vector<SourceEdit> edits = fix.edits;
  std::sort(edits.begin(), edits.end(), [](const SourceEdit& a, const SourceEdit& b) {
    return a.line != b.line ? a.line > b.line : a.column > b.column;
  });
  const auto offset = [&](std::int32_t line, std::int32_t column) {
    if (static_cast<std::size_t>(line) > document.lines.size()) return text.size();
    const std::string_view row = document.lines[static_cast<std::size_t>(line) - 1];
    return static_cast<std::size_t>(row.data() - document.text.data()) +
           static_cast<std::size_t>(units_of(row, column - 1, PositionEncoding::utf8));
  };
  for (const SourceEdit& edit : edits) {
    const std::size_t start = offset(edit.line, edit.column);
    text.replace(start, offset(edit.end_line, edit.end_column) - start, edit.text);
  }
  return text;
}

TEST(QuickFix, MendsEachWarningThatHasAFix) {
  struct Case {
    const char* name;
    std::string text;
    Diagnostic finding;
    std::string fixed;
  };
  const std::vector<Case> cases = {
      {"did you mean", "[generale]\r\nvelocta, 0, 100\r\n", warning(WarningKind::unknown_keyword, 2, 1),
       "[generale]\r\nvelocita, 0, 100\r\n"},
      {"values left over, blanks and commas before them too", "[generale]\r\nsabbia, 5 ,7, x\r\n",
       warning(WarningKind::extra_values, 2, 12), "[generale]\r\nsabbia, 5\r\n"},
      {"a comment mark, its commas gone", "[generale]\r\n  // velocita, 0, 90\r\n",
       warning(WarningKind::comment_marker, 2, 3), "[generale]\r\n  - velocita  0  90\r\n"},
      {"trailing blanks of a name before a comma", "[generale]\r\nx, Nome \t, 5\r\n",
       warning(WarningKind::trailing_blanks, 2, 4), "[generale]\r\nx, Nome, 5\r\n"},
      {"out of order, the last line without its end",
       "[generale]\r\nvelocita, 100, 50\r\nvelocita, 900, 60\r\nvelocita, 500, 70",
       warning(WarningKind::out_of_order, 4, 1),
       "[generale]\r\nvelocita, 100, 50\r\nvelocita, 500, 70\r\nvelocita, 900, 60"},
      {"out of order, before the first greater one",
       "[generale]\r\nvelocita, 100, 50\r\nvelocita, 900, 60\r\nvelocita, 950, 60\r\nvelocita, 500, 70\r\n[fine]\r\n",
       warning(WarningKind::out_of_order, 5, 1),
       "[generale]\r\nvelocita, 100, 50\r\nvelocita, 500, 70\r\nvelocita, 900, 60\r\nvelocita, 950, 60\r\n[fine]\r\n"},
      {"fields written with tabs, a negative value among them", "[generale]\r\nvelocita\t100\t-5\t\r\n",
       warning(WarningKind::field_separator, 2, 1), "[generale]\r\nvelocita, 100, -5\t\r\n"},
      {"fields written with semicolons", "[generale]\r\n  velocita; 100;  50;, 7\r\n",
       warning(WarningKind::field_separator, 2, 3), "[generale]\r\n  velocita, 100,  50;, 7\r\n"},
      {"a name written as UTF-8, in the code page",
       "[generale]\r\nx, Citt\xC3\x83\xC2\xA0, 5\r\n",  // "CittÃ\u00A0" in the editor
       warning(WarningKind::utf8_text, 2, 4), "[generale]\r\nx, Citt\xC3\xA0, 5\r\n"},
  };
  for (const Case& c : cases) {
    const Document document = train_document(c.text);
    const std::optional<SourceFix> fix = fix_of(c.finding, document, Language::english);
    ASSERT_TRUE(fix.has_value()) << c.name;
    EXPECT_EQ(applied(document, *fix), c.fixed) << c.name;
  }
}

TEST(QuickFix, NoneWhereNothingCanBeMeant) {
  const Document document = train_document("[generale]\r\nqwertyuiop, 5\r\nvelocita, 100, 5\r\n");
  EXPECT_EQ(fix_of(warning(WarningKind::unknown_keyword, 2, 1), document, Language::english), std::nullopt);
  EXPECT_EQ(fix_of(warning(WarningKind::out_of_order, 3, 1), document, Language::english), std::nullopt);
  EXPECT_EQ(fix_of(warning(WarningKind::narrowed_value, 3, 11), document, Language::english), std::nullopt);
  // A field separator warned of past the line's end, or at an empty field.
  EXPECT_EQ(fix_of(warning(WarningKind::field_separator, 2, 14), document, Language::english), std::nullopt);
  EXPECT_EQ(fix_of(warning(WarningKind::field_separator, 2, 30), document, Language::english), std::nullopt);
}

TEST(QuickFix, ACurveKeepsItsDirectionAndClass) {
  Document document;
  document.name = SourceName{SourceKind::line, "A", ""};
  document.path = "/s/A_linea.txt";
  document.set_text("[generale]\r\nlunghezza percorso, 5000\r\n[curve]\r\ncurvs4, 100, 50\r\n", Cp1252Encoder());
  Diagnostic finding = warning(WarningKind::unknown_keyword, 4, 1);
  finding.where->file = "A_linea.txt";
  const std::optional<SourceFix> fix = fix_of(finding, document, Language::english);
  ASSERT_TRUE(fix.has_value());
  EXPECT_EQ(fix->edits[0].text, "curvas4");
}

}  // namespace
}  // namespace scenario
