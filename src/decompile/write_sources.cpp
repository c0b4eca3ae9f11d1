#include "decompile/write_sources.h"

#include <algorithm>
#include <string_view>

namespace scenario {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The sections in the order the built-in sources have them.
const std::vector<std::string> kLineSections = {"[curve]", "[pendenze]", "[montagne]",
                                                "[cartelli]", "[indicazioni]"};
const std::vector<std::string> kTrainSections = {"[aderenze]", "[vel_limite]", "[stazioni]",
                                                 "[rallentamenti]", "[segnali]", "[codici]"};

void add_line(std::string& out, std::string_view line) {
  out += line;
  out += kLineEnd;
}

std::string entry_line(const RecoveredEntry& e, std::vector<RecoveryNote>& notes) {
  std::string line = e.keyword;
  for (std::int64_t number : e.numbers) line += ", " + std::to_string(number);
  if (e.has_text) {
    std::string field;
    if (!text_field(e.text, field)) {
      notes.push_back({"text \"" + e.text + "\"",
                       "a text with a double quote that must be quoted: written without them"});
    }
    line += ", " + field;
  }
  return line;
}

// The body, one section title before the first entry of each section; every
// title of `sections` stands in its order even when it has no entry.
void add_body(std::string& out, const std::vector<RecoveredEntry>& body,
              const std::vector<std::string>& sections, std::vector<RecoveryNote>& notes,
              const std::vector<std::string>& blank_after) {
  std::size_t next = 0;  // the next section title of the built-in order
  std::string current;
  auto open = [&](const std::string& title) {
    if (!current.empty() &&
        std::find(blank_after.begin(), blank_after.end(), current) != blank_after.end()) {
      add_line(out, "");
    }
    add_line(out, title);
    current = title;
  };
  for (const RecoveredEntry& e : body) {
    if (e.section != current) {
      const auto at = std::find(sections.begin() + static_cast<std::ptrdiff_t>(next),
                                sections.end(), e.section);
      if (at != sections.end()) {
        while (sections.begin() + static_cast<std::ptrdiff_t>(next) <= at) open(sections[next++]);
      } else {
        open(e.section);
      }
    }
    add_line(out, entry_line(e, notes));
  }
  while (next < sections.size()) open(sections[next++]);
}

}  // namespace

bool text_field(const std::string& text, std::string& field) {
  const bool plain = text.find_first_of(",\r\n") == std::string::npos &&
                     (text.empty() || (text[0] != ' ' && text[0] != '\t' && text[0] != '"'));
  if (plain) {
    field = text;
    return true;
  }
  if (text.find('"') == std::string::npos) {
    field = "\"" + text + "\"";
    return true;
  }
  // The nearest: the text without its quotes, in quotes.
  std::string without = text;
  without.erase(std::remove(without.begin(), without.end(), '"'), without.end());
  field = "\"" + without + "\"";
  return false;
}

SourceTexts write_sources(const Recovered& recovered, std::vector<RecoveryNote>& notes) {
  SourceTexts texts;
  std::string& line = texts.line;
  add_line(line, "[generale]");
  for (const RecoveredEntry& e : recovered.line.header) add_line(line, entry_line(e, notes));
  // A number too wide for 32 bits ends the reading there, as the reading
  // that wrote the files ended.
  const char* kStopped = "- the files were written by a reading that stopped here";
  if (recovered.line.stop_after_header) {
    add_line(line, kStopped);
    add_line(line, "sfondo uno, 99999999999");
  }
  std::vector<RecoveredEntry> body = recovered.line.body;
  std::stable_sort(body.begin(), body.end(), [](const RecoveredEntry& a, const RecoveredEntry& b) {
    auto rank = [](const std::string& s) {
      return std::find(kLineSections.begin(), kLineSections.end(), s) - kLineSections.begin();
    };
    return rank(a.section) < rank(b.section);
  });
  const auto stopping = std::stable_partition(
      body.begin(), body.end(), [](const RecoveredEntry& e) { return !e.stops_reading; });
  const bool stops_itself = stopping != body.end();
  add_body(line, body, kLineSections, notes, {});
  if (recovered.line.stop_after_body && !stops_itself) {
    add_line(line, kStopped);
    add_line(line, "pendenza, 99999999999, 0");
  }
  add_line(line, "[fine]");
  add_line(line, "");

  std::string& train = texts.train;
  add_line(train, "[generale]");
  for (const RecoveredEntry& e : recovered.train.header) add_line(train, entry_line(e, notes));
  add_body(train, recovered.train.body, kTrainSections, notes, {"[stazioni]"});
  add_line(train, "[fine]");
  add_line(train, "");
  return texts;
}

}  // namespace scenario
