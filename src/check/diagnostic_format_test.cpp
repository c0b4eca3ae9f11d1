#include "check/diagnostic_format.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

Diagnostic finding(Severity severity, std::string id, std::string message,
                   std::optional<SourcePoint> where = std::nullopt, std::string source_line = "") {
  Diagnostic diagnostic;
  diagnostic.severity = severity;
  diagnostic.id = std::move(id);
  diagnostic.message = std::move(message);
  diagnostic.where = std::move(where);
  diagnostic.source_line = std::move(source_line);
  return diagnostic;
}

TEST(DiagnosticFormat, PointsAtTheTextWhereItIsKnown) {
  struct Case {
    Diagnostic diagnostic;
    std::string text;
  };
  const Case cases[] = {
      {finding(Severity::error, "S15", "signal beyond the grid",
               SourcePoint{"A_1-.txt", 9, 10}, "segnale, 7950, 2"),
       "A_1-.txt:9:10: error: signal beyond the grid [S15]\n"
       "segnale, 7950, 2\n"
       "         ^\n"},
      // The whole field underlined, from its column up to its end column.
      {finding(Severity::error, "S15", "signal beyond the grid",
               SourcePoint{"A_1-.txt", 9, 10, 14}, "segnale, 7950, 2"),
       "A_1-.txt:9:10: error: signal beyond the grid [S15]\n"
       "segnale, 7950, 2\n"
       "         ^~~~\n"},
      // A one-byte field, or an empty one, gets the caret alone; an end past
      // the line's end is cut at it; tabs inside the field are underlined.
      {finding(Severity::warning, "w", "m", SourcePoint{"a.txt", 1, 3, 4}, "a,7"),
       "a.txt:1:3: warning: m [w]\na,7\n  ^\n"},
      {finding(Severity::warning, "w", "m", SourcePoint{"a.txt", 1, 3, 3}, "a,"),
       "a.txt:1:3: warning: m [w]\na,\n  ^\n"},
      {finding(Severity::warning, "w", "m", SourcePoint{"a.txt", 1, 1, 90}, "x\ty, 5"),
       "a.txt:1:1: warning: m [w]\nx\ty, 5\n^~~~~~\n"},
      // Tabs before the column are kept, so the caret lines up in any terminal.
      {finding(Severity::warning, "extra-values", "dropped", SourcePoint{"a.txt", 2, 4}, "\tx,\t5"),
       "a.txt:2:4: warning: dropped [extra-values]\n\tx,\t5\n\t  ^\n"},
      // A column beyond the line's end: the caret just after it.
      {finding(Severity::error, "S25", "a value is missing", SourcePoint{"a.txt", 7, 2000000000},
               "sabbia,"),
       "a.txt:7:2000000000: error: a value is missing [S25]\nsabbia,\n       ^\n"},
      // Only the line known: the line is shown, with no caret.
      {finding(Severity::error, "S25", "bad number", SourcePoint{"a.txt", 3, 0}, "sabbia, x"),
       "a.txt:3: error: bad number [S25]\nsabbia, x\n"},
      // No text of the line: no caret lines.
      {finding(Severity::error, "S2", "not a multiple of 50", SourcePoint{"a.txt", 5, 31}),
       "a.txt:5:31: error: not a multiple of 50 [S2]\n"},
      {finding(Severity::warning, "empty-source", "nothing read", SourcePoint{"a.txt", 0, 0}),
       "a.txt: warning: nothing read [empty-source]\n"},
      {finding(Severity::error, "F1250", "cell 1 is taken"),
       "scenario-compiler: error: cell 1 is taken [F1250]\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(format_diagnostic(c.diagnostic), c.text);
}

TEST(DiagnosticFormat, NotesFollowTheirFindingWithoutAnId) {
  Diagnostic error = finding(Severity::error, "S16", "the cell of a signal is not free",
                             SourcePoint{"a.txt", 12, 1}, "segnale, 810");
  error.notes.push_back(finding(Severity::note, "", "taken by the signal here",
                                SourcePoint{"a.txt", 11, 1}, "segnale, 800"));
  EXPECT_EQ(format_diagnostic(error),
            "a.txt:12:1: error: the cell of a signal is not free [S16]\nsegnale, 810\n^\n"
            "a.txt:11:1: note: taken by the signal here\nsegnale, 800\n^\n");
}

TEST(DiagnosticFormat, CountsErrorsAndWarningsButNotNotes) {
  const std::vector<Diagnostic> findings = {
      finding(Severity::warning, "w", "a"), finding(Severity::note, "", "b"),
      finding(Severity::error, "S1", "c"), finding(Severity::warning, "w", "d")};
  EXPECT_EQ(counts_text(count_findings(findings), Language::english), "1 error, 2 warnings");
  EXPECT_EQ(counts_text(count_findings({}), Language::english), "0 errors, 0 warnings");
  EXPECT_EQ(counts_text({2, 1}, Language::english), "2 errors, 1 warning");
  EXPECT_EQ(counts_text({1, 2}, Language::italian), "1 errore, 2 avvisi");
  EXPECT_EQ(counts_text({0, 1}, Language::italian), "0 errori, 1 avviso");
}

}  // namespace
}  // namespace scenario
