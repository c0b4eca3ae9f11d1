#pragma once

// The entries of the two sources recovered from a compiled scenario, in the
// order the sources will hold them. Plain numbers as the readers read them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scenario {

/// A keyword and its numbers, as one source line; `text` follows the numbers
/// (a board's text, a station's name) when `has_text`.
struct RecoveredEntry {
  std::string keyword;
  std::vector<std::int64_t> numbers;
  bool has_text = false;
  std::string text;
  std::string section;  // the section title it belongs under ("[curve]")
  bool stops_reading = false;  // the reader stops at it: it goes last
};

/// The line source: header entries, then the body in sections.
struct RecoveredLine {
  std::vector<RecoveredEntry> header;
  std::vector<RecoveredEntry> body;
  /// The compile that wrote the files stopped reading the line source here
  /// (after the header, or after the body): the line source then ends with
  /// an entry whose number does not fit 32 bits, which stops it the same way.
  bool stop_after_header = false;
  bool stop_after_body = false;
  /// The last header entry itself stops the reading (a second, too long
  /// length; a signal repetition the reader refuses).
  bool header_entry_stops = false;
};

/// The train source: header entries, then the body in sections.
struct RecoveredTrain {
  std::vector<RecoveredEntry> header;
  std::vector<RecoveredEntry> body;
};

/// What could not be recovered as it stands in the files, for the author.
struct RecoveryNote {
  std::string where;  // "cell 2541", "row 5", "metre 1201"
  std::string what;
};

}  // namespace scenario
