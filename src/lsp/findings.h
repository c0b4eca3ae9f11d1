#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "language/language.h"
#include "lsp/document.h"
#include "model/diagnostic.h"

namespace scenario {

/// What turning findings into the editor's diagnostics needs besides them.
struct FindingPlaces {
  PositionEncoding encoding = PositionEncoding::utf16;
  /// The URI of docs/diagnostics.md, "" when it is not known.
  std::string explanations_uri;
  /// The language of the words for a person (fix titles, related places).
  Language language = Language::english;
  /// The URI of a source of the document's folder by its bare file name.
  std::function<std::string(const std::string& file)> uri_of_file;
  /// The open document of a source of that folder, nullptr when it is not open.
  std::function<const Document*(const std::string& file)> open_document;
};

/// One text edit, in places of the stored text (1-based lines and columns;
/// the end is exclusive), with the new text in UTF-8.
struct SourceEdit {
  std::int32_t line = 1;
  std::int32_t column = 1;
  std::int32_t end_line = 1;
  std::int32_t end_column = 1;
  std::string text;
};

/// The change that mends a finding.
struct SourceFix {
  std::string title;
  std::vector<SourceEdit> edits;
};

/// The fix of a warning, where one mends it: the keyword meant, its letter
/// case, trailing blanks, values left over, a comment mark, an entry out of
/// order, a shown text written as UTF-8.
std::optional<SourceFix> fix_of(const Diagnostic& finding, const Document& document,
                                Language language);

/// The findings of a check that belong to `document`, as the editor's
/// diagnostics: range over the field, id as code, a link to its
/// explanation, notes and other places as related information, and the
/// fix (in "data") where there is one. The document's characters that code
/// page 1252 cannot hold are errors of their own.
nlohmann::json editor_diagnostics(const Document& document, const FindingPlaces& places);

/// The range a finding covers in the document.
nlohmann::json finding_range(const Diagnostic& finding, const Document& document,
                             PositionEncoding encoding);

/// An edit as the protocol writes it.
nlohmann::json text_edit(const SourceEdit& edit, const Document& document,
                         PositionEncoding encoding);

/// The anchor of an id's entry in docs/diagnostics.md ("#s25-..."), or in
/// the page of `language`.
std::string explanation_anchor(const std::string& id, Language language);

}  // namespace scenario
