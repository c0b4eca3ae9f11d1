#pragma once

#include <cstdint>

#include <nlohmann/json.hpp>

#include "language/language.h"
#include "lsp/document.h"
#include "model/cell_grid.h"

namespace scenario {

/// The name of each value before it, and the kilometre form after a position.
nlohmann::json inlay_hints(const Document& document, std::int32_t first_line,
                           std::int32_t last_line, PositionEncoding encoding, Language language);

/// What stands at a place: a keyword's entry and its values, a value's name,
/// unit and range (a position also its cell, kilometre and what `grid`, the
/// compiled model, holds there), a finding's explanation. Null when nothing.
nlohmann::json hover(const Document& document, std::int32_t line, std::int32_t column,
                     PositionEncoding encoding, const CellGrid* grid, Language language);

/// The keywords of the section at a place as snippets, and section headers.
nlohmann::json completion(const Document& document, std::int32_t line, std::int32_t column,
                          PositionEncoding encoding, Language language);

/// The values of the entry at a place, with the one under the cursor active.
nlohmann::json signature_help(const Document& document, std::int32_t line, std::int32_t column,
                              Language language);

/// The outline: sections, and in them stations, signals, restrictions, boards, tunnels.
nlohmann::json document_symbols(const Document& document, PositionEncoding encoding);

/// The edits that put the document in the canonical layout of `fmt`: one
/// for each line that changes (a single one over the whole text should the
/// lines not match up). Nothing for a text with a character code page 1252
/// cannot hold, which the layout would lose.
nlohmann::json formatting_edits(const Document& document, PositionEncoding encoding);

/// The places of the line source a train's position stands on: the gradient
/// in force, the curve and the tunnels covering it, the last speed
/// indicator before it.
nlohmann::json line_places_of(const Document& train, std::int32_t line, std::int32_t column,
                              const Document& line_source, PositionEncoding encoding);

}  // namespace scenario
