#pragma once

// The recovered entries as the two source texts, in the built-in sources'
// layout: "[generale]", the header entries, then every section title in the
// built-in order with its entries, "[fine]" and an empty last line; CR LF.

#include <string>
#include <vector>

#include "decompile/recover.h"

namespace scenario {

struct SourceTexts {
  std::string line;
  std::string train;
};

/// Writes both sources. A text no field can hold as it is
/// (a board's text or a station's name with a double quote where it needs
/// quotes) is written as near as it can be and told in `notes`.
SourceTexts write_sources(const Recovered& recovered, std::vector<RecoveryNote>& notes);

/// A text field that reads back as `text`: as it is, or in double quotes
/// when it holds a comma or a line end or starts with a blank or a quote.
/// False when neither form reads back as `text`.
bool text_field(const std::string& text, std::string& field);

}  // namespace scenario
