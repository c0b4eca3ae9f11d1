#include "format/format_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "builtin/builtin_scenario.h"

namespace scenario {
namespace {

struct Case {
  const char* what;
  SourceKind kind;
  std::string input;
  std::string expected;
};

TEST(FormatSource, LaysOutEntriesAndKeepsEveryOtherByte) {
  using enum SourceKind;
  const Case cases[] = {
      {"values right-aligned in columns after the longest keyword", line,
       "[pendenze]\r\npendenza,2000,6\r\n  pendenza ,  105600 ,  -3  \r\n",
       "[pendenze]\r\npendenza,    2000,  6\r\npendenza , 105600, -3\r\n"},
      {"each section has its own columns", line,
       "[curve]\r\ncurvad1,1000,600\r\n[pendenze]\r\npendenza,100000,5\r\n",
       "[curve]\r\ncurvad1, 1000, 600\r\n[pendenze]\r\npendenza, 100000, 5\r\n"},
      {"line ends kept line by line", line,
       "[pendenze]\npendenza,1,2\r\npendenza,3,4\rpendenza,5,6",
       "[pendenze]\npendenza, 1, 2\r\npendenza, 3, 4\rpendenza, 5, 6"},
      {"comments, blank and unknown lines are kept", line,
       "[pendenze]\r\n- a comment,  with a comma \r\n   \r\n# pendenza,1,2\r\nfoo,  1\r\n",
       "[pendenze]\r\n- a comment,  with a comma \r\n   \r\n# pendenza,1,2\r\nfoo,  1\r\n"},
      {"a station name keeps its trailing blanks, the numbers are spaced", train,
       "stazione,1500,12,400,0,0,0,1,1,0,4,1,1,30,7,16,0,  Miralto  \r\n",
       "stazione, 1500, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 30, 7, 16, 0, Miralto  \r\n"},
      {"a station with a value missing or left over is kept", train,
       "stazione,1500,12,400,0,0,0,1,1,0,4,1,1,30,7,16,  Miralto\r\n"
       "stazione,1500,12,400,0,0,0,1,1,0,4,1,1,30,7,16,0,0,  Miralto\r\n",
       "stazione,1500,12,400,0,0,0,1,1,0,4,1,1,30,7,16,  Miralto\r\n"
       "stazione,1500,12,400,0,0,0,1,1,0,4,1,1,30,7,16,0,0,  Miralto\r\n"},
      {"a board text is kept as written", line,
       "[cartelli]\r\ncartello_indicatore,500,  PASSO  ALTO \r\n",
       "[cartelli]\r\ncartello_indicatore, 500, PASSO  ALTO \r\n"},
      {"numbers apart by blanks keep one blank", train,
       "orologio,    14              40            40 \r\n", "orologio, 14 40 40\r\n"},
      {"a line with a quote, and the lines a quoted text spans, are kept", line,
       "[cartelli]\r\ncartello_indicatore,500,\"A\r\npendenza,1,2\"\r\npendenza,3,4\r\n",
       "[cartelli]\r\ncartello_indicatore,500,\"A\r\npendenza,1,2\"\r\npendenza, 3, 4\r\n"},
      {"a quote that may open a text last keeps the rest", line,
       "[x]\r\npendenza,1,2\r\ncartello_indicatore,500,\"A\r\npendenza,3,4\r\n",
       "[x]\r\npendenza, 1, 2\r\ncartello_indicatore,500,\"A\r\npendenza,3,4\r\n"},
      {"a keyword of the other source, or of two entries, is not an entry", train,
       "pendenza,1,2\r\nstazione velocita,1,2\r\n",
       "pendenza,1,2\r\nstazione velocita,1,2\r\n"},
      {"a header keyword in the wrong case is not an entry", line,
       "Sfondo uno,1\r\nsfondo uno,1\r\n", "Sfondo uno,1\r\nsfondo uno, 1\r\n"},
      {"empty fields and words among numbers are kept", line,
       "pendenza,,2\r\npendenza,1,2,\r\npendenza,1 a,2\r\npendenza,1,+\r\n",
       "pendenza,,2\r\npendenza,1,2,\r\npendenza,1 a,2\r\npendenza,1,+\r\n"},
      {"an empty station name is kept with its blanks", train,
       "stazione,1500,12,400,0,0,0,1,1,0,4,1,1,30,7,16,0,   ",
       "stazione,1500,12,400,0,0,0,1,1,0,4,1,1,30,7,16,0,   "},
      {"a keyword alone loses only its leading blanks", train, "  vetture\r\n8\r\n",
       "vetture\r\n8\r\n"},
      {"no line end at the end stays so", train, "sabbia,  200", "sabbia, 200"},
      {"empty", train, "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(format_source(c.input, c.kind), c.expected) << c.what;
    EXPECT_EQ(format_source(c.expected, c.kind), c.expected) << c.what << " (again)";
  }
}

TEST(FormatSource, BuiltInSourcesFormatOnceAndThenStay) {
  for (const auto& [text, kind] : {std::pair{render_line_table(dati_linea()), SourceKind::line},
                                   std::pair{render_line_table(dati_treno()), SourceKind::train}}) {
    const std::string once = format_source(text, kind);
    EXPECT_EQ(format_source(once, kind), once);
    EXPECT_EQ(std::count(once.begin(), once.end(), '\n'), std::count(text.begin(), text.end(), '\n'));
  }
}

}  // namespace
}  // namespace scenario
