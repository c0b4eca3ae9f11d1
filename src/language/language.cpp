#include "language/language.h"

namespace scenario {

namespace {

// The language part of a tag: up to the first '_', '-', '.' or '@'.
std::string_view language_part(std::string_view tag) {
  return tag.substr(0, tag.find_first_of("_-.@"));
}

bool is_c_locale(std::string_view locale) {
  const std::string_view part = locale.substr(0, locale.find_first_of(".@"));
  return part.empty() || part == "C" || part == "POSIX";
}

}  // namespace

Language language_of_tag(std::string_view tag) {
  return language_part(tag) == "it" ? Language::italian : Language::english;
}

Language language_from_environment(const LanguageEnvironment& environment) {
  std::string_view locale = environment.lc_all;
  if (locale.empty()) locale = environment.lc_messages;
  if (locale.empty()) locale = environment.lang;
  if (is_c_locale(locale)) return Language::english;
  std::string_view list = environment.language;
  while (!list.empty()) {
    const std::size_t colon = list.find(':');
    const std::string_view entry = list.substr(0, colon);
    list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    if (entry.empty()) continue;
    const std::string_view part = language_part(entry);
    if (part == "en" || part == "C" || part == "POSIX") return Language::english;
    if (language_of_tag(entry) != Language::english) return language_of_tag(entry);
  }
  if (!environment.language.empty()) return Language::english;
  return language_of_tag(locale);
}

std::string_view language_tag(Language language) {
  return language == Language::italian ? "it" : "en";
}

}  // namespace scenario
