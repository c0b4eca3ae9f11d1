#include "sources/keywords.h"

#include "language/translate.h"
#include "sources/field_reader.h"

namespace scenario {
namespace {

using enum SourceKind;
using enum KeywordPlace;
using E = KeywordEntry;

constexpr std::string_view kLength[] = {N_("line length in metres")};
constexpr std::string_view kProgressive[] = {N_("first value"), N_("second value"), N_("third value")};
constexpr std::string_view kBackground[] = {N_("background value")};
constexpr std::string_view kRepetition[] = {N_("repetition start in metres"), N_("repetition end in metres")};
constexpr std::string_view kGradient[] = {N_("position in metres"), N_("gradient in permille")};
constexpr std::string_view kCurve[] = {N_("start in metres"), N_("length in metres")};
constexpr std::string_view kTunnel[] = {N_("start in metres"), N_("end in metres"), N_("tunnel kind")};
constexpr std::string_view kSpeedIndicator[] = {
    N_("position in metres"),    N_("first left speed"),  N_("second left speed"),  N_("third left speed"),
    N_("left stripes"),          N_("first right speed"), N_("second right speed"), N_("third right speed"),
    N_("right stripes")};
constexpr std::string_view kIndicationBoard[] = {N_("position in metres"), N_("board text")};
constexpr std::string_view kBrakedMass[] = {N_("braked-mass percentage")};
constexpr std::string_view kCoaches[] = {N_("number of coaches")};
constexpr std::string_view kSpeed[] = {N_("position in metres"), N_("speed in km/h")};
constexpr std::string_view kAdhesion[] = {N_("position in metres"), N_("adhesion value")};
constexpr std::string_view kClock[] = {N_("first clock value"), N_("second clock value"),
                                       N_("third clock value")};
constexpr std::string_view kSand[] = {N_("sand value")};
constexpr std::string_view kSignal[] = {
    N_("position in metres"), N_("left signal type"), N_("first left value"),  N_("second left value"),
    N_("third left value"),   N_("repetition value"), N_("right signal type"), N_("first right value"),
    N_("second right value"), N_("third right value"), N_("time value")};
constexpr std::string_view kRestriction[] = {N_("position in metres"), N_("speed in km/h"),
                                             N_("length in metres"),   N_("first flag"),
                                             N_("second flag"),        N_("third flag")};
constexpr std::string_view kReductionPoint[] = {N_("position in metres"), N_("code value")};
constexpr std::string_view kStation[] = {N_("position in metres"),
                                         N_("kind code"),
                                         N_("length in metres"),
                                         N_("option byte"),
                                         N_("long-station option"),
                                         N_("end-extension option"),
                                         N_("first value of the first parameter group"),
                                         N_("second value of the first parameter group"),
                                         N_("third value of the first parameter group"),
                                         N_("first value of the second parameter group"),
                                         N_("second value of the second parameter group"),
                                         N_("third value of the second parameter group"),
                                         N_("standing time in seconds"),
                                         N_("scheduled hours"),
                                         N_("scheduled minutes"),
                                         N_("scheduled seconds"),
                                         N_("station name")};

// The header words other than the length's are matched with their case, as
// the simulator's own sources have always written them.
constexpr SourceKeyword kKeywords[] = {
    {line, section, {"[generale]", ""}, true, N_("start of the header"), "", E::line_general, N_("general section"), "[generale]", {}},
    {line, header, {"lunghezza", "percorso"}, true, N_("line length"), "metres", E::length, N_("line length"), "lunghezza percorso", kLength},
    {line, header, {"progressiva", "tre"}, false, N_("kilometre progressive three"),
     "first, second, third", E::progressive_tre, N_("kilometre progressive"), "progressiva chilometrica tre", kProgressive},
    {line, header, {"progressiva", "due"}, false, N_("kilometre progressive two"),
     "first, second, third", E::progressive_due, N_("kilometre progressive"), "progressiva chilometrica due", kProgressive},
    {line, header, {"progressiva", "uno"}, false, N_("kilometre progressive one"),
     "first, second, third", E::progressive_uno, N_("kilometre progressive"), "progressiva chilometrica uno", kProgressive},
    {line, header, {"sfondo", "uno"}, false, N_("background one"), "value", E::background_uno, N_("background"), "sfondo uno", kBackground},
    {line, header, {"sfondo", "due"}, false, N_("background two"), "value", E::background_due, N_("background"), "sfondo due", kBackground},
    {line, header, {"sfondo", "tre"}, false, N_("background three"), "value", E::background_tre, N_("background"), "sfondo tre", kBackground},
    {line, header, {"ripetizione", "segnali"}, false,
     N_("signal repetition (the keyword holds 4 or 9)"), "start, end", E::repetition, N_("signal repetition"), "ripetizione segnali 4 codici", kRepetition},
    {line, body, {"pendenza", ""}, true, N_("gradient from a position on"), "position, permille", E::gradient, N_("gradient"), "pendenza", kGradient},
    {line, body, {"curva", ""}, true, N_("curve (class digit 1 to 6, \"s\" to the left)"),
     "start, length", E::curve, N_("curve"), "curvad2", kCurve},
    {line, body, {"montagna", ""}, true, N_("tunnel"), "start, end, kind", E::tunnel, N_("tunnel"), "montagna", kTunnel},
    {line, body, {"indicatori_v", ""}, true, N_("maximum-speed indicator boards"),
     "position, eight speeds", E::speed_indicator, N_("maximum-speed indicator board"), "indicatori_vmax", kSpeedIndicator},
    {line, body, {"cartello", "indicat"}, true, N_("indication board"), "position, text", E::indication_board, N_("indication board"), "cartello_indicatore", kIndicationBoard},
    {train, section, {"[generale]", ""}, true, N_("start of the records"), "", E::train_general, N_("general section"), "[generale]", {}},
    {train, records, {"frenata", "massa"}, true, N_("braked-mass percentage"), "percentage", E::braked_mass, N_("braked-mass"), "percentuale massa frenata", kBrakedMass},
    {train, records, {"vetture", ""}, true, N_("number of coaches"), "count", E::coaches, N_("coaches"), "numero vetture", kCoaches},
    {train, records, {"velocit", ""}, true, N_("train speed limit from a position on"),
     "position, km/h", E::speed, N_("speed-limit point"), "velocita", kSpeed},
    {train, records, {"aderenza", ""}, true, N_("adhesion from a position on"),
     "position, adhesion", E::adhesion, N_("adhesion point"), "aderenza", kAdhesion},
    {train, records, {"orologio", ""}, true, N_("clock"), "three values", E::clock, N_("clock"), "orologio", kClock},
    {train, records, {"sabbia", ""}, true, N_("sand"), "value", E::sand, N_("sand"), "sabbia", kSand},
    {train, records, {"segnale", ""}, true, N_("signal"),
     "position and ten values of aspects and timing", E::signal, N_("signal"), "segnale", kSignal},
    {train, records, {"rallentamento", ""}, true, N_("speed restriction"),
     "position, km/h, length, three flags", E::restriction, N_("speed restriction"), "rallentamento", kRestriction},
    {train, records, {"abbattimento", ""}, true, N_("code-reduction point"), "position, value", E::reduction_point, N_("code-reduction point"), "abbattimento", kReductionPoint},
    {train, records, {"stazione", ""}, true, N_("station"),
     "position, kind, length, options, times and name", E::station, N_("station"), "stazione", kStation},
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
  return value_name(keyword, index, Language::english);
}

std::string value_name(const SourceKeyword& keyword, std::size_t index, Language language) {
  if (index < keyword.fields.size()) return tr(language, keyword.fields[index]);
  return trf(language, "value {1}", {std::to_string(index + 1)});
}

std::string entry_name(const SourceKeyword& keyword, Language language) {
  return tr(language, keyword.name);
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
