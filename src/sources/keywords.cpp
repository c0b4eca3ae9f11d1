#include "sources/keywords.h"

#include "sources/field_reader.h"

namespace scenario {
namespace {

using enum SourceKind;
using enum KeywordPlace;
using E = KeywordEntry;

constexpr std::string_view kLength[] = {"line length in metres"};
constexpr std::string_view kProgressive[] = {"first value", "second value", "third value"};
constexpr std::string_view kBackground[] = {"background value"};
constexpr std::string_view kRepetition[] = {"repetition start in metres", "repetition end in metres"};
constexpr std::string_view kGradient[] = {"position in metres", "gradient in permille"};
constexpr std::string_view kCurve[] = {"start in metres", "length in metres"};
constexpr std::string_view kTunnel[] = {"start in metres", "end in metres", "tunnel kind"};
constexpr std::string_view kSpeedIndicator[] = {
    "position in metres",    "first left speed",  "second left speed",  "third left speed",
    "left stripes",          "first right speed", "second right speed", "third right speed",
    "right stripes"};
constexpr std::string_view kIndicationBoard[] = {"position in metres", "board text"};
constexpr std::string_view kBrakedMass[] = {"braked-mass percentage"};
constexpr std::string_view kCoaches[] = {"number of coaches"};
constexpr std::string_view kSpeed[] = {"position in metres", "speed in km/h"};
constexpr std::string_view kAdhesion[] = {"position in metres", "adhesion value"};
constexpr std::string_view kClock[] = {"first clock value", "second clock value",
                                       "third clock value"};
constexpr std::string_view kSand[] = {"sand value"};
constexpr std::string_view kSignal[] = {
    "position in metres", "left signal type", "first left value",  "second left value",
    "third left value",   "repetition value", "right signal type", "first right value",
    "second right value", "third right value", "time value"};
constexpr std::string_view kRestriction[] = {"position in metres", "speed in km/h",
                                             "length in metres",   "first flag",
                                             "second flag",        "third flag"};
constexpr std::string_view kReductionPoint[] = {"position in metres", "code value"};
constexpr std::string_view kStation[] = {"position in metres",
                                         "kind code",
                                         "length in metres",
                                         "option byte",
                                         "long-station option",
                                         "end-extension option",
                                         "first value of the first parameter group",
                                         "second value of the first parameter group",
                                         "third value of the first parameter group",
                                         "first value of the second parameter group",
                                         "second value of the second parameter group",
                                         "third value of the second parameter group",
                                         "standing time in seconds",
                                         "scheduled hours",
                                         "scheduled minutes",
                                         "scheduled seconds",
                                         "station name"};

// The header words other than the length's are matched with their case, as
// the simulator's own sources have always written them.
constexpr SourceKeyword kKeywords[] = {
    {line, section, {"[generale]", ""}, true, "start of the header", "", E::line_general, "general section", "[generale]", {}},
    {line, header, {"lunghezza", "percorso"}, true, "line length", "metres", E::length, "line length", "lunghezza percorso", kLength},
    {line, header, {"progressiva", "tre"}, false, "kilometre progressive three",
     "first, second, third", E::progressive_tre, "kilometre progressive", "progressiva chilometrica tre", kProgressive},
    {line, header, {"progressiva", "due"}, false, "kilometre progressive two",
     "first, second, third", E::progressive_due, "kilometre progressive", "progressiva chilometrica due", kProgressive},
    {line, header, {"progressiva", "uno"}, false, "kilometre progressive one",
     "first, second, third", E::progressive_uno, "kilometre progressive", "progressiva chilometrica uno", kProgressive},
    {line, header, {"sfondo", "uno"}, false, "background one", "value", E::background_uno, "background", "sfondo uno", kBackground},
    {line, header, {"sfondo", "due"}, false, "background two", "value", E::background_due, "background", "sfondo due", kBackground},
    {line, header, {"sfondo", "tre"}, false, "background three", "value", E::background_tre, "background", "sfondo tre", kBackground},
    {line, header, {"ripetizione", "segnali"}, false,
     "signal repetition (the keyword holds 4 or 9)", "start, end", E::repetition, "signal repetition", "ripetizione segnali 4 codici", kRepetition},
    {line, body, {"pendenza", ""}, true, "gradient from a position on", "position, permille", E::gradient, "gradient", "pendenza", kGradient},
    {line, body, {"curva", ""}, true, "curve (class digit 1 to 6, \"s\" to the left)",
     "start, length", E::curve, "curve", "curvad2", kCurve},
    {line, body, {"montagna", ""}, true, "tunnel", "start, end, kind", E::tunnel, "tunnel", "montagna", kTunnel},
    {line, body, {"indicatori_v", ""}, true, "maximum-speed indicator boards",
     "position, eight speeds", E::speed_indicator, "maximum-speed indicator board", "indicatori_vmax", kSpeedIndicator},
    {line, body, {"cartello", "indicat"}, true, "indication board", "position, text", E::indication_board, "indication board", "cartello_indicatore", kIndicationBoard},
    {train, section, {"[generale]", ""}, true, "start of the records", "", E::train_general, "general section", "[generale]", {}},
    {train, records, {"frenata", "massa"}, true, "braked-mass percentage", "percentage", E::braked_mass, "braked-mass", "percentuale massa frenata", kBrakedMass},
    {train, records, {"vetture", ""}, true, "number of coaches", "count", E::coaches, "coaches", "numero vetture", kCoaches},
    {train, records, {"velocit", ""}, true, "train speed limit from a position on",
     "position, km/h", E::speed, "speed-limit point", "velocita", kSpeed},
    {train, records, {"aderenza", ""}, true, "adhesion from a position on",
     "position, adhesion", E::adhesion, "adhesion point", "aderenza", kAdhesion},
    {train, records, {"orologio", ""}, true, "clock", "three values", E::clock, "clock", "orologio", kClock},
    {train, records, {"sabbia", ""}, true, "sand", "value", E::sand, "sand", "sabbia", kSand},
    {train, records, {"segnale", ""}, true, "signal",
     "position and ten values of aspects and timing", E::signal, "signal", "segnale", kSignal},
    {train, records, {"rallentamento", ""}, true, "speed restriction",
     "position, km/h, length, three flags", E::restriction, "speed restriction", "rallentamento", kRestriction},
    {train, records, {"abbattimento", ""}, true, "code-reduction point", "position, value", E::reduction_point, "code-reduction point", "abbattimento", kReductionPoint},
    {train, records, {"stazione", ""}, true, "station",
     "position, kind, length, options, times and name", E::station, "station", "stazione", kStation},
};

}  // namespace

std::span<const SourceKeyword> source_keywords() { return kKeywords; }

std::span<const SourceKeyword> keywords_of(SourceKind source, KeywordPlace place) {
  // The entries of one place stand together in the table.
  const std::span<const SourceKeyword> all = kKeywords;
  std::size_t first = 0;
  while (first < all.size() && (all[first].source != source || all[first].place != place)) ++first;
  std::size_t last = first;
  while (last < all.size() && all[last].source == source && all[last].place == place) ++last;
  return all.subspan(first, last - first);
}

std::string value_name(const SourceKeyword& keyword, std::size_t index) {
  if (index < keyword.fields.size()) return std::string(keyword.fields[index]);
  std::string name = "value ";
  name += std::to_string(index + 1);
  return name;
}

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
