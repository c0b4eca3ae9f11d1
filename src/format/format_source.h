#pragma once

#include <string>
#include <string_view>

#include "sources/keywords.h"  // SourceKind { line, train }

namespace scenario {

/// The source text in its canonical layout: in each section the values of the
/// entries stand in right-aligned columns after "keyword," and one blank per
/// comma. Bytes in, bytes out (code page 1252 as read). Only the blanks
/// around fields change, and only where that changes no field the readers
/// take: comments, texts, station names, board texts and every line that is
/// not a plain entry keep their bytes, each line keeps its line end, and
/// formatting the result again gives it back unchanged.
std::string format_source(std::string_view source, SourceKind kind);

}  // namespace scenario
