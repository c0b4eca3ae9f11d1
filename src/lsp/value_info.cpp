#include "lsp/value_info.h"

#include "language/translate.h"

#include <span>

namespace scenario {
namespace {

using E = KeywordEntry;

constexpr std::int64_t kWordMin = -32768;
constexpr std::int64_t kWordMax = 32767;
constexpr std::int64_t kLineMax = 1000000;

constexpr ValueInfo kAny{"", "", INT32_MIN, INT32_MAX, false};

constexpr ValueInfo position(std::string_view name = N_("position")) {
  return {name, "m", 0, kLineMax, true};
}
constexpr ValueInfo number(std::string_view name, std::string_view unit = "",
                           std::int64_t min = INT32_MIN, std::int64_t max = INT32_MAX) {
  return {name, unit, min, max, false};
}
constexpr ValueInfo byte(std::string_view name, std::string_view unit = "") {
  return {name, unit, 0, 255, false};
}
constexpr ValueInfo word(std::string_view name, std::string_view unit = "") {
  return {name, unit, kWordMin, kWordMax, false};
}

// In the order of each entry's values in the keyword table.
constexpr ValueInfo kLength[] = {number(N_("length"), "m", 0, kLineMax)};
constexpr ValueInfo kProgressive[] = {number(N_("first")), number(N_("second")), number(N_("third"))};
constexpr ValueInfo kBackground[] = {number(N_("background"))};
constexpr ValueInfo kRepetition[] = {position(N_("start")), position(N_("end"))};
constexpr ValueInfo kGradient[] = {position(), number(N_("permille"), "permille", -100, 155)};
constexpr ValueInfo kCurve[] = {position(N_("start")), number(N_("length"), "m", 0, kLineMax)};
constexpr ValueInfo kTunnel[] = {position(N_("start")), position(N_("end")), byte(N_("kind"))};
constexpr ValueInfo kSpeedIndicator[] = {
    position(),          number(N_("left 1"), "km/h"),  number(N_("left 2"), "km/h"),
    number(N_("left 3"), "km/h"), number(N_("stripes")),    number(N_("right 1"), "km/h"),
    number(N_("right 2"), "km/h"), number(N_("right 3"), "km/h"), number(N_("stripes"))};
constexpr ValueInfo kIndicationBoard[] = {position(), number(N_("text"))};
constexpr ValueInfo kBrakedMass[] = {number(N_("braked %"), "%")};
constexpr ValueInfo kCoaches[] = {number(N_("coaches"))};
constexpr ValueInfo kSpeed[] = {position(), number("km/h", "km/h", -2, 1277)};
constexpr ValueInfo kAdhesion[] = {position(), byte(N_("adhesion"))};
constexpr ValueInfo kClock[] = {word(N_("hours"), "h"), word(N_("minutes"), "min"), word(N_("seconds"), "s")};
constexpr ValueInfo kSand[] = {word(N_("sand"))};
constexpr ValueInfo kSignal[] = {position(), word("sx"), word("s1"), word("s2"), word("s3"),
                                 word("rapp"), word("dx"), word("d1"), word("d2"), word("d3"),
                                 word("tempo", "s")};
constexpr ValueInfo kRestriction[] = {position(),       word("km/h", "km/h"),
                                      number(N_("length"), "m"), word(N_("flag 1")),
                                      number(N_("flag 2")), word(N_("flag 3"))};
constexpr ValueInfo kReductionPoint[] = {position(), word(N_("code"))};
constexpr ValueInfo kStation[] = {
    position(),         byte(N_("kind")),        number(N_("length"), "m"), byte(N_("option")),
    byte(N_("long")),       byte(N_("end ext")),     word("p1 a"),          word("p1 b"),
    byte("p1 c"),       word("p2 a"),        word("p2 b"),          word("p2 c"),
    byte(N_("standing s"), "s"), number(N_("hours"), "h"), number(N_("minutes"), "min"),
    number(N_("seconds"), "s"), number(N_("name"))};

std::span<const ValueInfo> infos_of(KeywordEntry entry) {
  switch (entry) {
    case E::length: return kLength;
    case E::progressive_tre:
    case E::progressive_due:
    case E::progressive_uno: return kProgressive;
    case E::background_uno:
    case E::background_due:
    case E::background_tre: return kBackground;
    case E::repetition: return kRepetition;
    case E::gradient: return kGradient;
    case E::curve: return kCurve;
    case E::tunnel: return kTunnel;
    case E::speed_indicator: return kSpeedIndicator;
    case E::indication_board: return kIndicationBoard;
    case E::braked_mass: return kBrakedMass;
    case E::coaches: return kCoaches;
    case E::speed: return kSpeed;
    case E::adhesion: return kAdhesion;
    case E::clock: return kClock;
    case E::sand: return kSand;
    case E::signal: return kSignal;
    case E::restriction: return kRestriction;
    case E::reduction_point: return kReductionPoint;
    case E::station: return kStation;
    default: return {};
  }
}

}  // namespace

ValueInfo value_info(const SourceKeyword& keyword, std::size_t index) {
  const std::span<const ValueInfo> infos = infos_of(keyword.entry);
  if (index < infos.size() && index < keyword.fields.size()) return infos[index];
  return kAny;
}

std::string kilometre_form(std::int64_t metres) {
  const bool negative = metres < 0;
  const std::int64_t magnitude = negative ? -metres : metres;
  std::string rest = std::to_string(magnitude % 1000);
  rest.insert(0, 3 - rest.size(), '0');
  return std::string("km ") + (negative ? "-" : "") + std::to_string(magnitude / 1000) + "+" + rest;
}

}  // namespace scenario
