#pragma once

#include <istream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "files/file_system.h"
#include "language/language.h"
#include "lsp/document.h"
#include "lsp/overlay_file_system.h"
#include "lsp/text_coding.h"
#include "model/cell_grid.h"

namespace scenario {

/// What the server is told by the program that starts it.
struct ServerOptions {
  std::string version;           // told in the answer to "initialize"
  std::string explanations_uri;  // docs/diagnostics.md as a URI, "" when not found
  std::string italian_explanations_uri;  // docs/diagnostics.it.md, "" when not found
  /// The language of every word for a person: the environment's, unless the
  /// client's "locale" in "initialize" names one we speak.
  Language language = Language::english;
};

/// The language server: the editor's messages in, the answers and the
/// published findings out, one message at a time. Holds the open sources
/// over the files of `disk`; writes no file.
class LanguageServer {
 public:
  LanguageServer(FileSystem& disk, std::ostream& log, ServerOptions options);

  /// Handles one message body; appends the bodies to send, in order.
  void handle(std::string_view body, std::vector<std::string>& out);

  /// A frame whose header could not be read: a parse error, and on.
  void malformed(const std::string& why, std::vector<std::string>& out);

  /// "exit" was received (or the input ended): the program ends.
  bool exited() const { return exited_; }

  /// 0 after "shutdown" then "exit", 1 after "exit" alone.
  int exit_status() const { return shut_down_ ? 0 : 1; }

  /// "exit" as at the end of the input.
  void end_of_input() { exited_ = true; }

 private:
  /// The page of explanations in the language of the server, or the English one.
  std::string explanations_uri() const;
  using Json = nlohmann::json;

  void dispatch(const std::string& method, const Json& params, const Json* id,
                std::vector<std::string>& out);
  Json request(const std::string& method, const Json& params, std::vector<std::string>& out,
               bool& known);
  void notification(const std::string& method, const Json& params, std::vector<std::string>& out);

  Json initialize(const Json& params);
  void open(const Json& params, std::vector<std::string>& out);
  void change(const Json& params, std::vector<std::string>& out);
  void close(const Json& params, std::vector<std::string>& out);
  void configure(const Json& settings);

  /// Checks the scenario of `document` and publishes for every open source
  /// whose findings it gives: a train, or a line source and its open trains.
  void recheck(const Document& document, std::vector<std::string>& out);
  void check_pair(const std::string& folder, const std::string& base, const std::string& train,
                  Document* line, Document* train_document, std::vector<std::string>& out);
  void publish(const Document& document, std::vector<std::string>& out);

  Document* document_of(const Json& params);
  Document* open_source(const std::string& folder, const std::string& file);
  std::vector<Document*> open_trains(const std::string& folder, const std::string& base);
  /// A train number to check a line source with: an open train's, else one
  /// on disk beside it, else the default.
  std::string train_for(const Document& line);
  const CellGrid* compiled_grid(const Document& document);
  std::unique_ptr<Document> line_source_of(const Document& train);

  Json code_actions(const Json& params);
  Json definition(const Json& params);

  OverlayFileSystem files_;
  std::ostream& log_;
  ServerOptions options_;
  Cp1252Encoder encoder_;
  PositionEncoding encoding_ = PositionEncoding::utf16;
  bool initialized_ = false;
  bool shut_down_ = false;
  bool exited_ = false;
  bool inlay_hints_ = true;
  std::map<std::string, std::unique_ptr<Document>> documents_;  // by URI
  std::map<std::string, std::optional<CellGrid>> grids_;         // by scenario, until a change
};

/// Reads framed messages from `in` until "exit" or the end of the input and
/// writes the answers to `out`; returns the exit status.
int serve(std::istream& in, std::ostream& out, std::ostream& log, FileSystem& disk,
          ServerOptions options);

}  // namespace scenario
