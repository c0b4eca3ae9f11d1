#include "sources/keywords.h"

#include "sources/field_reader.h"

namespace scenario {
namespace {

using enum SourceKind;
using enum KeywordPlace;

// The header words other than the length's are matched with their case, as
// the simulator's own sources have always written them.
constexpr SourceKeyword kKeywords[] = {
    {line, section, {"[generale]", ""}, true, "start of the header", ""},
    {line, header, {"lunghezza", "percorso"}, true, "line length", "metres"},
    {line, header, {"progressiva", "tre"}, false, "kilometre progressive three",
     "first, second, third"},
    {line, header, {"progressiva", "due"}, false, "kilometre progressive two",
     "first, second, third"},
    {line, header, {"progressiva", "uno"}, false, "kilometre progressive one",
     "first, second, third"},
    {line, header, {"sfondo", "uno"}, false, "background one", "value"},
    {line, header, {"sfondo", "due"}, false, "background two", "value"},
    {line, header, {"sfondo", "tre"}, false, "background three", "value"},
    {line, header, {"ripetizione", "segnali"}, false,
     "signal repetition (the keyword holds 4 or 9)", "start, end"},
    {line, body, {"pendenza", ""}, true, "gradient from a position on", "position, permille"},
    {line, body, {"curva", ""}, true, "curve (class digit 1 to 6, \"s\" to the left)",
     "start, length"},
    {line, body, {"montagna", ""}, true, "tunnel", "start, end, kind"},
    {line, body, {"indicatori_v", ""}, true, "maximum-speed indicator boards",
     "position, eight speeds"},
    {line, body, {"cartello", "indicat"}, true, "indication board", "position, text"},
    {train, section, {"[generale]", ""}, true, "start of the records", ""},
    {train, records, {"frenata", "massa"}, true, "braked-mass percentage", "percentage"},
    {train, records, {"vetture", ""}, true, "number of coaches", "count"},
    {train, records, {"velocit", ""}, true, "train speed limit from a position on",
     "position, km/h"},
    {train, records, {"aderenza", ""}, true, "adhesion from a position on",
     "position, adhesion"},
    {train, records, {"orologio", ""}, true, "clock", "three values"},
    {train, records, {"sabbia", ""}, true, "sand", "value"},
    {train, records, {"segnale", ""}, true, "signal",
     "position and ten values of aspects and timing"},
    {train, records, {"rallentamento", ""}, true, "speed restriction",
     "position, km/h, length, three flags"},
    {train, records, {"abbattimento", ""}, true, "code-reduction point", "position, value"},
    {train, records, {"stazione", ""}, true, "station",
     "position, kind, length, options, times and name"},
};

}  // namespace

std::span<const SourceKeyword> source_keywords() { return kKeywords; }

bool matches(const SourceKeyword& keyword, std::string_view field) {
  for (std::string_view word : keyword.words) {
    if (word.empty()) continue;
    const bool found =
        keyword.ignore_case ? contains_ignore_case(field, word) : contains(field, word);
    if (!found) return false;
  }
  return true;
}

}  // namespace scenario
