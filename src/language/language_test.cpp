#include "language/language.h"

#include <gtest/gtest.h>

#include "language/translate.h"

namespace scenario {
namespace {

struct EnvironmentCase {
  LanguageEnvironment environment;
  Language expected;
};

// LANGUAGE, LC_ALL, LC_MESSAGES, LANG as gettext reads them.
TEST(LanguageTest, ChosenFromTheEnvironmentInPosixOrder) {
  const Language en = Language::english;
  const Language it = Language::italian;
  const EnvironmentCase cases[] = {
      {{"", "", "", ""}, en},
      {{"", "", "", "it_IT.UTF-8"}, it},
      {{"", "", "", "it"}, it},
      {{"", "", "", "it_CH.UTF-8@euro"}, it},
      {{"", "", "", "en_GB.UTF-8"}, en},
      {{"", "", "", "fr_FR.UTF-8"}, en},           // no catalogue
      {{"", "", "", "C"}, en},
      {{"", "", "", "POSIX"}, en},
      {{"", "", "", "C.UTF-8"}, en},
      {{"", "C", "", "it_IT.UTF-8"}, en},          // LC_ALL first
      {{"", "it_IT.UTF-8", "", "C"}, it},
      {{"", "", "it_IT.UTF-8", "en_US.UTF-8"}, it},  // LC_MESSAGES before LANG
      {{"", "", "C", "it_IT.UTF-8"}, en},
      {{"", "en_US.UTF-8", "it_IT.UTF-8", ""}, en},
      {{"it", "", "", "en_US.UTF-8"}, it},         // LANGUAGE over the locale
      {{"it", "", "", ""}, en},                    // ... but not over no locale
      {{"it", "", "", "C"}, en},                   // ... nor over C
      {{"it:en", "POSIX", "", "it_IT.UTF-8"}, en},
      {{"fr:it_IT:en", "", "", "de_DE.UTF-8"}, it},  // the first with a catalogue
      {{"en:it", "", "", "it_IT.UTF-8"}, en},      // English is asked for first
      {{"fr:de", "", "", "it_IT.UTF-8"}, en},      // none with a catalogue
      {{"::it::", "", "", "en_US.UTF-8"}, it},     // empty entries skipped
      {{"en_US.UTF-8", "", "", "it_IT.UTF-8"}, en},
      {{"italian", "", "", "it_IT.UTF-8"}, en},    // not a tag of Italian
  };
  for (const EnvironmentCase& c : cases) {
    const LanguageEnvironment& e = c.environment;
    EXPECT_EQ(language_from_environment(e), c.expected)
        << "LANGUAGE=" << e.language << " LC_ALL=" << e.lc_all << " LC_MESSAGES=" << e.lc_messages
        << " LANG=" << e.lang;
  }
}

TEST(TranslateTest, FormatTextPutsValuesByPosition) {
  EXPECT_EQ(format_text("{1} at {2}", {"a", "b"}), "a at b");
  EXPECT_EQ(format_text("{2} prima di {1}, {2}", {"a", "b"}), "b prima di a, b");
  EXPECT_EQ(format_text("{{1}} {1}", {"x"}), "{1}} x");
  EXPECT_EQ(format_text("{3} {0} {} {1", {"x"}), "{3} {0} {} {1");  // left as they stand
  EXPECT_EQ(format_text("{1}", {"{2}", "y"}), "{2}");                // values are not read again
  EXPECT_EQ(format_text("", {}), "");
}

TEST(TranslateTest, EnglishIsTheTextItselfAndUnknownTextsStayEnglish) {
  EXPECT_EQ(tr(Language::english, "Train number"), "Train number");
  EXPECT_EQ(tr(Language::italian, "Train number"), "Numero del treno");
  EXPECT_EQ(tr(Language::italian, "a text no catalogue holds"), "a text no catalogue holds");
  EXPECT_EQ(tr(Language::italian, ""), "");
}

}  // namespace
}  // namespace scenario
