#include "check/explanations.h"

#include <algorithm>

#include "language/translate.h"
#include "model/build_status.h"
#include "model/diagnostic.h"
#include "sources/text_match.h"

namespace scenario {
namespace {

// The details of an entry; its id and title come from the code itself.
struct Details {
  std::string_view meaning;
  std::string_view example_of;
  std::string_view example;
  std::string_view fix;
};

constexpr std::string_view kSmallLine = N_("train source, on a line of 1000 m: cells 0 to 160");

// A switch without a default: a code added to the enum without an entry here
// is a compile error (-Wswitch with -Werror).
Details status_details(StatusCode code) {
  switch (code) {
    case StatusCode::kNone:
      return {N_("The compile found no inconsistency in the sources. `check` never reports it; "
              "it is the code a report shows for a clean build."),
              "", "", N_("Nothing to fix.")};
    case StatusCode::kLineTooLong:
      return {N_("The length entry of the line source's header gives a length above 1000000 m or "
              "below 0 m. The line source is refused at that entry: no cell grid is made, so "
              "no scenario file is written and the train source is not read."),
              N_("line source header"), "lunghezza percorso, 1200000",
              N_("Give the line's length in metres, from 0 to 1000000.")};
    case StatusCode::kProgressiveNotMultiple:
      return {N_("A kilometre progressive of the line source's header holds a first or second value "
              "that is not a multiple of 50. It is checked once the train source has been read, "
              "so it is reported after everything the train source gave; the scenario files "
              "are still written."),
              N_("line source header"), "progressiva chilometrica uno, 120, 0, 0",
              N_("Round the first two values of each kilometre progressive to a multiple of 50.")};
    case StatusCode::kRepetitionStart:
      return {N_("The start of the signal-repetition stretch is not a multiple of 50 m. The line "
              "source is read no further, nor is the train source; the scenario files are "
              "written from what was read."),
              N_("line source header"), "ripetizione segnali 4 codici, 120, 500",
              N_("Give the start as a multiple of 50.")};
    case StatusCode::kRepetitionEnd:
      return {N_("The end of the signal-repetition stretch is not a multiple of 50 m. The line "
              "source is read no further, nor is the train source."),
              N_("line source header"), "ripetizione segnali 4 codici, 0, 510",
              N_("Give the end as a multiple of 50.")};
    case StatusCode::kRepetitionCodes:
      return {N_("The signal-repetition keyword field names neither 4 nor 9 codes. The line "
              "source is read no further, nor is the train source."),
              N_("line source header"), "ripetizione segnali codici, 0, 500",
              N_("Write \"ripetizione segnali 4 codici\" or \"ripetizione segnali 9 codici\".")};
    case StatusCode::kIndicationBoardTaken:
      return {N_("An indication board falls on a cell that already holds an object (each cell of "
              "50 m holds one object; a tunnel marker gives way). The reading stops at that "
              "entry: the rest of the line source and the whole train source are not read; "
              "the scenario files are written from what was read."),
              N_("line source body, two boards 10 m apart land on cell 14"),
              "cartello_indicatore, 650, (Km 0+650)\ncartello_indicatore, 660, (Km 0+660)",
              N_("Move the board, or the object already there, by at least 50 m.")};
    case StatusCode::kReductionPointTaken:
      return {N_("An \"abbattimento\" entry's cell (its position / 50, rounded) already holds an "
              "object. The train source is read no further (its final speed and adhesion "
              "fills do not run); the scenario files are written from what was read."),
              N_("train source, the signal at 800 m takes cell 17, as does the point at 850 m"),
              "segnale, 800, 2, 4, 1, 0, 0, 1, 3,1,0, 0\nabbattimento, 850, 1",
              N_("Move the point by at least 50 m, away from the other object.")};
    case StatusCode::kStationNotMultiple:
      return {N_("A station's position is not a multiple of 50 m. The train source is read no "
              "further (its final speed and adhesion fills do not run); the scenario files "
              "are written from what was read."),
              N_("train source"), "stazione, 320, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Miralto",
              N_("Give the station's position as a multiple of 50.")};
    case StatusCode::kStationLength:
      return {N_("A station's length is not a multiple of 100 m. The train source is read no "
              "further (its final speed and adhesion fills do not run); the scenario files "
              "are written from what was read."),
              N_("train source"), "stazione, 300, 12, 250, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Miralto",
              N_("Give the station's length as a multiple of 100.")};
    case StatusCode::kStationsReachSigns:
      return {N_("The record table has one row for each station and one for each indication "
              "board's text, and they have met: there is room for 78 stations, one fewer for "
              "each indication board of the line source, and for at most 79 indication "
              "boards. The reading of that source stops at the entry that does not fit, as "
              "for a cell already taken."),
              "", "",
              N_("Remove stations or indication boards until both fit.")};
    case StatusCode::kNoRoomBeforeSignal:
      return {N_("The code-reduction pass puts a code-reduction point just before each signal that "
              "lies within 1000 m before a speed restriction's warning board; both candidate "
              "cells before this signal hold other objects. The pass goes on; the code is the "
              "last one set, at the signal's cell x 50 m."),
              "", "",
              N_("Leave one of the two cells just before the signal free (move the other object by "
              "50 to 100 m).")};
    case StatusCode::kBandFull:
      return {N_("Before a speed restriction's start board, the code-reduction pass needs one free "
              "cell in each of three bands (5 to 7, 11 to 13 and 18 to 20 cells before the "
              "board); every cell of one band holds an object. The position given is the start "
              "board's cell x 50 m."),
              "", "",
              N_("Move the objects of that stretch (signals, other boards) so that one cell of each "
              "band stays free, or move the restriction.")};
    case StatusCode::kNoRoomInRestriction:
      return {N_("Within a speed restriction slower than 110 km/h, or before the first signal "
              "after its end, the code-reduction pass found no free cell for a code-reduction "
              "point among its candidates."),
              "", "",
              N_("Leave some cells free inside the restriction and just after its end board.")};
    case StatusCode::kOutOfRange:
      return {N_("An entry's position lies beyond the cell grid: a position P is accepted while "
              "P <= 50 x N - 100 (a station while P <= 50 x N - 800), where the grid has "
              "cells 0 to N, N = (length + 7000) / 50. A board or object cell below 0 fails "
              "too. The reading of that source ends there as if it had reached its end: what "
              "was read stays, the train source is still read after the line source, its "
              "speed and adhesion fills still run, and the scenario files are written."),
              kSmallLine, "segnale, 7950, 2, 4, 1, 0, 0, 1, 3,1,0, 0",
              N_("Check the position against the line's length, or lengthen the line.")};
    case StatusCode::kSignalTaken:
      return {N_("A signal's cell (position / 50 + 1, rounded) already holds an object. The "
              "train source is read no further (its final speed and adhesion fills do not "
              "run); the scenario files are written from what was read."),
              N_("train source, two signals on cell 17"),
              "segnale, 800, 2, 4, 1, 0, 0, 1, 3,1,0, 0\nsegnale, 810, 2, 4, 1, 0, 0, 1, 3,1,0, 0",
              N_("Move the signal, or the object already there, by at least 50 m.")};
    case StatusCode::kWarningBoardTaken:
      return {N_("A speed restriction starting beyond 1500 m gets a warning board 1200 m before "
              "its start; that cell already holds an object. The position given is the "
              "restriction's start. The train source is read no further (its final speed and "
              "adhesion fills do not run); the scenario files are written from what was read."),
              N_("train source, the signal at 1800 m takes the warning board's cell"),
              "segnale, 1800, 2, 4, 1, 0, 0, 1, 3,1,0, 0\nrallentamento, 3000, 60, 500, 0, 0, 0",
              N_("Move the restriction or the object 1200 m before its start by at least 50 m.")};
    case StatusCode::kStartBoardTaken:
      return {N_("A speed restriction's start board falls on a cell that already holds an "
              "object. The train source is read no further (its final speed and adhesion "
              "fills do not run); the scenario files are written from what was read."),
              N_("train source"),
              "segnale, 3000, 2, 4, 1, 0, 0, 1, 3,1,0, 0\nrallentamento, 3000, 60, 500, 0, 0, 0",
              N_("Move the restriction's start or the object by at least 50 m.")};
    case StatusCode::kEndBoardTaken:
      return {N_("A speed restriction's end board (at its start plus its length) falls on a cell "
              "that already holds an object. The position given is the restriction's start. "
              "The train source is read no further (its final speed and adhesion fills do not "
              "run); the scenario files are written from what was read."),
              N_("train source"),
              "segnale, 3500, 2, 4, 1, 0, 0, 1, 3,1,0, 0\nrallentamento, 3000, 60, 500, 0, 0, 0",
              N_("Change the restriction's length or move the object by at least 50 m.")};
    case StatusCode::kPreWarningTaken:
      return {N_("A speed restriction with the pre-warning flag (its fifth value) set marks the "
              "four cells just before its warning board; one of them already holds an object. "
              "The position given is the restriction's start. The train source is read no "
              "further (its final speed and adhesion fills do not run); the scenario files "
              "are written from what was read."),
              N_("train source, the signal at 1700 m sits among the pre-warning cells"),
              "segnale, 1700, 2, 4, 1, 0, 0, 1, 3,1,0, 0\nrallentamento, 3000, 60, 500, 0, 1, 0",
              N_("Move the object out of the 200 m before the warning board, or move the "
              "restriction.")};
    case StatusCode::kSpeedIndicatorTaken:
      return {N_("A maximum-speed indicator board falls on a cell that already holds an object. "
              "The reading stops at that entry: the rest of the line source and the whole "
              "train source are not read; the scenario files are written from what was read."),
              N_("line source body, two boards on cell 12"),
              "indicatori_vmax, 550, 120, 130, 140, 0, 120, 130, 140, 0\n"
              "indicatori_vmax, 560, 100, 100, 100, 0, 100, 100, 100, 0",
              N_("Move one of the boards by at least 50 m.")};
    case StatusCode::kStationsTooClose:
      return {N_("A station's extent starts less than 350 m after the previous station's extent "
              "ends (stations come in the order the train meets them). The train source is "
              "read no further (its final speed and adhesion fills do not run); the scenario "
              "files are written from what was read."),
              N_("train source, extents 200..400 m and 600..800 m"),
              "stazione, 300, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Miralto\n"
              "stazione, 700, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Borgo Lieve",
              N_("Move the later station on, or shorten one of the two.")};
    case StatusCode::kStopMarkerBeforeGrid:
      return {N_("A station where the train stops (kind below 25) puts its stop marker on the "
              "cell just before the end of its extent; for this station that is cell 0 or 1, "
              "which cannot hold it. The train source is read no further (its final speed and "
              "adhesion fills do not run); the scenario files are written from what was read."),
              N_("train source"), "stazione, 0, 12, 100, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Miralto",
              N_("Move the station so that its extent ends at 150 m or later.")};
    case StatusCode::kReadFailure:
      return {N_("A source could not be read to its end: a word or a bad number where a number is "
              "expected (\"12O\", \"1.5\"), a number outside its field's range (0 to 255 for "
              "8-bit values, -32768 to 32767 for 16-bit ones), a file cut short inside an "
              "entry, a missing train source, or a line source header without a length entry. "
              "The reading stops there (the common failure path)."),
              N_("train source"), "percentuale massa frenata, 12O",
              N_("Correct the value at the place named; each entry needs all of its values.")};
    case StatusCode::kNoLineSource:
      return {N_("There is no line source NAME_linea.txt in the folder. Nothing is read and no "
              "scenario file is written."),
              "", "",
              N_("Check --dir and --base, or write the built-in sources with `export` and edit "
              "them.")};
    case StatusCode::kNoGeneralSection:
      return {N_("The line source ends before any field containing \"[generale]\": everything "
              "before that field is ignored, so the header is never found. No scenario file "
              "is written."),
              N_("line source"), "[general]\nlunghezza percorso, 1000",
              N_("Start the header with a field \"[generale]\".")};
    case StatusCode::kCurveFault:
      return {N_("A curve's keyword field holds no class digit 1 to 6, or the curves carry the "
              "plan geometry past metre 1000000. The reading stops at that entry: the rest of "
              "the line source and the whole train source are not read; the scenario files "
              "are written from what was read."),
              N_("line source body"), "curvad7, 300, 200",
              N_("Write the curve as curvad1 .. curvad6 (clockwise) or curvas1 .. curvas6.")};
  }
  return {};
}

Details warning_details(WarningKind kind) {
  switch (kind) {
    case WarningKind::unknown_keyword:
      return {N_("A field where an entry's keyword is expected matches no keyword of its section. "
              "The compile passes it over silently, so a misspelt entry is simply missing from "
              "the scenario."),
              N_("line source body"), "pendneza, 100, 6",
              N_("Correct the keyword; `docs/formats.md` lists the keywords of both sources.")};
    case WarningKind::extra_values:
      return {N_("An entry is followed by more values than it takes. The compile drops them; "
              "most often a value is missing elsewhere in the entry or a comma was doubled."),
              N_("train source"), "sabbia, 150, 20",
              N_("Remove the extra values, or split the line into the entries it was meant to be.")};
    case WarningKind::comment_marker:
      return {N_("A line starts with #, // or ;. The sources have no such comments: the words of "
              "the line are read as fields, and one that contains a keyword becomes an entry."),
              N_("train source"), "# tolto per prova",
              N_("Start a comment line with \"-\": a field that contains a dash is dropped.")};
    case WarningKind::narrowed_value:
      return {N_("A value is stored in a field narrower than the number given, and loses its high "
              "bits: an adhesion of 300 is stored as 44."),
              N_("train source"), "aderenza, 0, 300",
              N_("Keep the value within its field's range (docs/formats.md gives the widths).")};
    case WarningKind::out_of_order:
      return {N_("Speed, adhesion, gradient or curve entries must come in increasing order of "
              "position; an entry placed before the one above it overwrites or is overwritten "
              "in ways the author seldom means."),
              N_("line source body"), "pendenza, 500, 6\npendenza, 100, 2",
              N_("Sort these entries by position.")};
    case WarningKind::empty_source:
      return {N_("A source contributed nothing to the scenario: no entry after its \"[generale]\"."),
              N_("train source"), "[generale]\n[fine]",
              N_("Check that the right file is named (--base, --train) and that its entries come "
              "after \"[generale]\".")};
    case WarningKind::utf8_text:
      return {N_("A text shown in the simulator (station name, board text) looks like UTF-8. The "
              "simulator reads the sources' texts in code page 1252, so \"Citta\" with an "
              "accented a written in UTF-8 shows as two odd characters."),
              N_("train source, saved as UTF-8"),
              "stazione, 300, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Citt\xc3\xa0 Alta",
              N_("Save the source in code page 1252 (Western European, Windows).")};
    case WarningKind::trailing_blanks:
      return {N_("A station name or board text ends with blanks or tabs. They are kept in the text "
              "and shown by the simulator."),
              N_("train source"), "stazione, 300, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Miralto   ",
              N_("Remove the blanks at the end of the line, or put the text in double quotes.")};
    case WarningKind::keyword_case:
      return {N_("A header keyword of the line source is written in a letter case the reader does "
              "not match: \"progressiva\", \"uno\", \"due\", \"tre\", \"sfondo\", "
              "\"ripetizione\" and \"segnali\" are matched only in lower case, so the entry is "
              "passed over."),
              N_("line source header"), "Progressiva chilometrica uno, 0, 0, 0",
              N_("Write the keyword in lower case.")};
    case WarningKind::empty_text:
      return {N_("A station name or board text is empty: the line ends, or a comma follows, where "
              "the text is due. The simulator shows nothing for it."),
              N_("train source"), "stazione, 300, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0,",
              N_("Write the text after the last comma of the entry.")};
    case WarningKind::field_separator:
      return {N_("A field holds a tab or a semicolon followed by more text. Fields are separated "
              "by commas only: the whole line is read as one field, its keyword is found in it, "
              "and its values are taken from the line after it (here 900 and 0). When the line "
              "holds a \"-\" anywhere (a negative value), the field is dropped whole instead, "
              "as every field holding \"-\" is."),
              N_("line source body"), "pendenza\t500\t6\n900, 0",
              N_("Separate the fields with commas.")};
    case WarningKind::decimal_comma:
      return {N_("A whole number is followed by a comma and more digits, as a decimal comma would "
              "be. The sources hold whole numbers only: the number is read up to the comma and "
              "the digits after it are a value of their own (most often dropped)."),
              N_("line source body"), "pendenza, 500, -3,5",
              N_("Give the value as a whole number, in the field's unit.")};
    case WarningKind::tunnel_overlap:
      return {N_("A tunnel starts before the end of an earlier one. The cells they share take the "
              "second tunnel's kind, which the reader sets to 3 for a tunnel that starts less "
              "than 150 m after the previous one ends."),
              N_("line source body"), "montagna, 100, 400, 1\nmontagna, 300, 600, 1",
              N_("Join the two tunnels into one entry, or end the first where the second starts.")};
    case WarningKind::repeated_position:
      return {N_("A speed-limit, gradient or adhesion point stands at the position of the one "
              "before it. Each point holds from its position to the next one, so the earlier "
              "of the two takes effect on one cell at most: the later one is what the line "
              "has from there on."),
              N_("train source"), "velocita, 500, 100\nvelocita, 500, 80",
              N_("Keep one point at that position, with the value meant there.")};
    case WarningKind::past_line_end:
      return {N_("A tunnel or a speed restriction starts on the line but ends past its end, in the "
              "7000 m the grid goes on beyond it. The compile accepts it; most often a position "
              "or a length has a digit too many, or the line's length is too short."),
              N_("train source"), "rallentamento, 900, 60, 400, 0, 1, 60",
              N_("End the object at the line's end, or make the line as long as it should be.")};
    case WarningKind::rounded_speed:
      return {N_("The cells keep a speed limit in units of 5 km/h. A speed-limit point's speed "
              "that is not a multiple of 5 is rounded to the nearest one, "
              "and the driver meets that speed, not the one written."),
              N_("train source"), "velocita, 500, 173",
              N_("Write the speed as a multiple of 5 km/h: the one the line is meant to have.")};
    case WarningKind::close_tunnels:
      return {N_("A tunnel starts at most 150 m after the end of the tunnel before it in the "
              "source. The reader stores such a tunnel as kind 3 (a gap of exactly 150 m still "
              "counts), whatever kind the entry gives; its markers stay as the entry asks."),
              N_("line source body"), "montagna, 1000, 2000, 1\nmontagna, 2100, 3000, 2",
              N_("Give the tunnel kind 3 if that is meant, or leave more than 150 m between the "
              "two tunnels, or join them into one entry.")};
  }
  return {};
}

constexpr std::int32_t kFatalNumbers[] = {1250, 1251};

Details fatal_details(std::int32_t number) {
  if (number == 1250) {
    return {N_("Cell 1 (positions 0 to 24 m) and row 85 of the record table are reserved for the "
            "integrity stamps. An object in cell 1 with a non-zero first value reached the "
            "first of them. The compile shows \" Errore n. 1250\" and writes no scenario file; "
            "files of an earlier run stay as they were."),
            N_("train source"), "segnale, 0, 2, 4, 1, 0, 0, 1, 3,1,0, 0",
            N_("Move the object to 25 m or later.")};
  }
  return {N_("Cell 1 (positions 0 to 24 m) is reserved for the integrity stamps. An object in "
          "cell 1 with a zero first value but a non-zero second value reached the second "
          "stamp. The compile shows \" Errore n. 1251\" and writes no scenario file."),
          N_("train source"), "segnale, 0, 2, 0, 1, 0, 0, 1, 0,1,0, 0",
          N_("Move the object to 25 m or later.")};
}

Explanation make(std::string id, std::string title, const Details& details) {
  return {std::move(id), std::move(title), details.meaning, details.example_of, details.example,
          details.fix};
}

std::string fatal_title(std::int32_t number) {
  return number == 1250 ? N_("an object in cell 1 reached the first integrity stamp")
                        : N_("an object in cell 1 reached the second integrity stamp");
}

std::string warning_title(WarningKind kind) {
  switch (kind) {
    case WarningKind::unknown_keyword: return N_("a field that matches no keyword of its section");
    case WarningKind::extra_values: return N_("values left over after an entry (dropped)");
    case WarningKind::comment_marker: return N_("a line that starts with #, // or ; (no comments in this format)");
    case WarningKind::narrowed_value: return N_("a value stored with its high bits cut");
    case WarningKind::out_of_order: return N_("speed, gradient or curve entries out of ascending order");
    case WarningKind::empty_source: return N_("a source that contributed nothing");
    case WarningKind::utf8_text: return N_("a shown text that looks like UTF-8 where code page 1252 is read");
    case WarningKind::trailing_blanks: return N_("blanks or tabs at the end of a station name or board text");
    case WarningKind::keyword_case: return N_("a header keyword in a letter case the reader does not match");
    case WarningKind::empty_text: return N_("an empty station name or board text");
    case WarningKind::field_separator: return N_("values separated by tabs or semicolons instead of commas");
    case WarningKind::decimal_comma: return N_("a decimal comma in a whole number");
    case WarningKind::tunnel_overlap: return N_("a tunnel that overlaps an earlier one");
    case WarningKind::repeated_position: return N_("two points at one position");
    case WarningKind::past_line_end: return N_("an object that runs past the line's end");
    case WarningKind::rounded_speed: return N_("a speed limit kept to the nearest 5 km/h");
    case WarningKind::close_tunnels: return N_("a tunnel close after another, stored as kind 3");
  }
  return "";
}

bool all_digits(std::string_view text) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The characters of UTF-8 text: its bytes but the continuation ones.
std::size_t characters(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

// Words of a paragraph, re-flowed to lines of at most `width` characters.
std::string wrapped(std::string_view text, std::size_t width) {
  std::string out;
  std::size_t line_length = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find(' ', at), text.size());
    const std::string_view word = text.substr(at, end - at);
    if (line_length > 0 && line_length + 1 + characters(word) > width) {
      out += '\n';
      line_length = 0;
    } else if (line_length > 0) {
      out += ' ';
      ++line_length;
    }
    out += word;
    line_length += characters(word);
    at = end + 1;
  }
  return out;
}

std::string indented(std::string_view lines) {
  std::string out;
  std::size_t at = 0;
  while (at <= lines.size()) {
    const std::size_t end = std::min(lines.find('\n', at), lines.size());
    out += "    ";
    out += lines.substr(at, end - at);
    out += '\n';
    at = end + 1;
  }
  return out;
}

constexpr std::size_t kWidth = 88;

// Appended piece by piece: GCC 12 sees false overlaps in chains of "+".
void append(std::string& text, std::initializer_list<std::string_view> pieces) {
  for (std::string_view piece : pieces) text += piece;
}

std::string fix_paragraph(const Explanation& explanation, Language language) {
  return trf(language, "Fix: {1}", {tr(language, explanation.fix)});
}

std::string example_heading(const Explanation& explanation, Language language) {
  return trf(language, "Example ({1}):", {tr(language, explanation.example_of)});
}

// The entries of the table, in its order, whose id `wanted` takes; only
// those are made (an entry is six texts), and the first alone when `first`.
template <class Wanted>
std::vector<Explanation> explanations_where(Wanted wanted, bool first) {
  std::vector<Explanation> table;
  auto done = [&] { return first && !table.empty(); };
  for (StatusCode code : kAllStatusCodes) {
    if (done()) return table;
    std::string id = status_id(code);
    if (wanted(id)) table.push_back(make(std::move(id), status_meaning(code), status_details(code)));
  }
  for (std::int32_t number : kFatalNumbers) {
    if (done()) return table;
    std::string id = fatal_id(number);
    if (wanted(id)) table.push_back(make(std::move(id), fatal_title(number), fatal_details(number)));
  }
  for (WarningKind kind : kAllWarningKinds) {
    if (done()) return table;
    std::string id(warning_id(kind));
    if (wanted(id)) table.push_back(make(std::move(id), warning_title(kind), warning_details(kind)));
  }
  return table;
}

}  // namespace

std::vector<Explanation> all_explanations() {
  return explanations_where([](const std::string&) { return true; }, false);
}

std::optional<Explanation> find_explanation(std::string_view id) {
  std::string wanted(id);
  if (all_digits(id)) {
    const std::int32_t number = std::stoi(wanted);
    if (number == 1250 || number == 1251) {
      wanted = fatal_id(number);
    } else if (auto code = status_code_of(number)) {
      wanted = status_id(*code);
    }
  }
  std::vector<Explanation> found = explanations_where(
      [&](const std::string& entry) { return equal_ignoring_case(entry, wanted); }, true);
  if (found.empty()) return std::nullopt;
  return std::move(found.front());
}

std::vector<std::string> explanation_ids() {
  std::vector<std::string> ids;
  for (const Explanation& explanation : all_explanations()) ids.push_back(explanation.id);
  return ids;
}

std::string explanation_text(const Explanation& explanation, Language language) {
  std::string text;
  append(text, {explanation.id, ": ", tr(language, explanation.title), "\n\n",
                wrapped(tr(language, explanation.meaning), kWidth), "\n"});
  if (!explanation.example.empty()) {
    append(text, {"\n", example_heading(explanation, language), "\n\n",
                  indented(explanation.example)});
  }
  append(text, {"\n", wrapped(fix_paragraph(explanation, language), kWidth), "\n"});
  return text;
}

std::string explanation_list(Language language) {
  std::string text;
  for (const Explanation& explanation : all_explanations()) {
    std::string id = explanation.id;
    id.resize(std::max<std::size_t>(id.size() + 2, 18), ' ');
    append(text, {id, tr(language, explanation.title), "\n"});
  }
  return text;
}

std::string diagnostics_markdown(Language language) {
  std::string text = tr(language, "# Diagnostics") +
                     "\n\n"
                     "<!-- Generated from the table of `scenario-compiler explain` "
                     "(src/check/explanations.cpp)\n"
                     "     at build time; edit the table, then run\n"
                     "     cmake --build build --target update_diagnostics_doc -->\n\n";
  append(text, {wrapped(tr(language,
                           "Every finding of `scenario-compiler check` (and every status code "
                           "`compile` ends with) has an id: S and the number for a status code, "
                           "F and the number for a fatal stamping error, a word for a warning. "
                           "`scenario-compiler explain ID` prints the same entry."),
                        kWidth),
                "\n\n"});
  for (const Explanation& explanation : all_explanations()) {
    append(text, {"## ", explanation.id, ": ", tr(language, explanation.title), "\n\n",
                  wrapped(tr(language, explanation.meaning), kWidth), "\n\n"});
    if (!explanation.example.empty()) {
      append(text, {example_heading(explanation, language), "\n\n```\n", explanation.example,
                    "\n```\n\n"});
    }
    append(text, {wrapped(fix_paragraph(explanation, language), kWidth), "\n\n"});
  }
  text.pop_back();
  return text;
}

}  // namespace scenario
