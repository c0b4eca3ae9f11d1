#pragma once

#include <string_view>

namespace scenario {

/// The language the program speaks to people. English is the language of the
/// code's own texts (the msgids); every other one has a catalogue in po/.
enum class Language { english, italian };

/// The language of one entry of a locale or of the LANGUAGE list: "it",
/// "it_IT", "it_CH.UTF-8@euro" and "it-IT" are Italian; a language without
/// a catalogue, "C" and "POSIX" are English.
Language language_of_tag(std::string_view tag);

/// The four variables the language is chosen from, as the environment holds
/// them (empty when unset).
struct LanguageEnvironment {
  std::string_view language;     // LANGUAGE: a colon list of preferences
  std::string_view lc_all;
  std::string_view lc_messages;
  std::string_view lang;
};

/// The language of messages as gettext picks it on a POSIX system: the
/// locale of messages is the first of LC_ALL, LC_MESSAGES, LANG that is set;
/// when it is "C" or "POSIX" (or nothing) the program speaks English whatever
/// LANGUAGE says; otherwise the first entry of LANGUAGE with a catalogue wins,
/// an English entry ("en", "C") stopping the walk at English, and without
/// LANGUAGE the locale's own language is taken.
Language language_from_environment(const LanguageEnvironment& environment);

/// "en" or "it".
std::string_view language_tag(Language language);

}  // namespace scenario
