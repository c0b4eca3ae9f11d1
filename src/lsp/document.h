#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "lsp/source_entries.h"
#include "lsp/text_coding.h"
#include "model/diagnostic.h"
#include "sources/keywords.h"

namespace scenario {

/// What a source's file name says: which source it is, of which scenario.
struct SourceName {
  SourceKind kind = SourceKind::line;
  std::string base_name;     // "Orvale_Varcona"
  std::string train_number;  // of a train source: "593"
};

/// `*_linea.txt` is a line source, `*_<train>-.txt` a train source; other
/// names are no source.
std::optional<SourceName> source_name_of(std::string_view file_name);

/// A "file:" URI as a path of this system; none for another scheme.
std::optional<std::string> path_of_uri(std::string_view uri);

/// A path as a "file:" URI.
std::string uri_of_path(std::string_view path);

/// One source open in the editor.
struct Document {
  std::string uri;
  std::string path;    // as the readers name it: folder joined with the file name
  std::string folder;
  SourceName name;
  std::int64_t version = 0;
  std::string text;    // the editor's text, UTF-8
  std::vector<std::string_view> lines;  // of `text`, without their ends
  EncodedText encoded;                  // `text` as the source is stored
  SourceEntries entries;                // of `encoded.bytes`
  std::vector<Diagnostic> findings;     // the last ones published for it

  /// Takes a new text: lines, bytes and entries follow it.
  void set_text(std::string new_text, const Cp1252Encoder& encoder);

  /// An editor position of a place of the source (1-based line and column
  /// in bytes of the stored text, that is in characters).
  nlohmann::json position(std::int32_t line, std::int32_t column, PositionEncoding encoding) const;
  nlohmann::json range(std::int32_t line, std::int32_t column, std::int32_t end_column,
                       PositionEncoding encoding) const;
  /// The place of an editor position: 1-based line and column, clamped to the text.
  std::pair<std::int32_t, std::int32_t> place(const nlohmann::json& position,
                                              PositionEncoding encoding) const;
  /// The stored bytes of a 1-based line, without its end ("" past the end).
  std::string_view byte_line(std::int32_t line) const;

  /// The entry whose keyword or values stand at a place; nullptr when none.
  const SourceEntry* entry_at(std::int32_t line, std::int32_t column) const;

 private:
  std::vector<std::string_view> byte_lines_;
};

/// A whole number of the client's (a position's line or character, a
/// document's version). A fraction, a number beyond the whole numbers a
/// double holds exactly, or anything but a number is a JSON type error, which
/// the server answers as invalid params (a notification's is logged): the
/// conversion of such a value would be undefined.
std::int64_t client_whole_number(const nlohmann::json& value);


}  // namespace scenario
