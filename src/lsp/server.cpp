#include "lsp/server.h"

#include <algorithm>

#include "check/check.h"
#include "files/file_names.h"
#include "lsp/features.h"
#include "lsp/findings.h"
#include "lsp/json_rpc.h"
#include "output/cp1252.h"
#include "sources/build_model.h"

namespace scenario {
namespace {

using Json = nlohmann::json;

std::string message_text(const Json& message) {
  return message.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string response(const Json& id, Json result) {
  return message_text({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

std::string error_response(const Json& id, int code, std::string message) {
  return message_text(
      {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", std::move(message)}}}});
}

std::string notification_text(std::string method, Json params) {
  return message_text({{"jsonrpc", "2.0"}, {"method", std::move(method)}, {"params", std::move(params)}});
}

bool valid_id(const Json& id) { return id.is_string() || id.is_number_integer() || id.is_null(); }

// The setting that turns the hints on or off, wherever a client puts it:
// "inlayHints" at the top or in one section, a boolean or {"enabled": ...}.
std::optional<bool> hints_setting(const Json& settings) {
  const auto read = [](const Json& value) -> std::optional<bool> {
    if (value.is_boolean()) return value.get<bool>();
    if (value.is_object() && value.contains("enabled") && value["enabled"].is_boolean()) {
      return value["enabled"].get<bool>();
    }
    return std::nullopt;
  };
  if (!settings.is_object()) return std::nullopt;
  if (settings.contains("inlayHints")) return read(settings["inlayHints"]);
  for (const auto& [key, section] : settings.items()) {
    if (section.is_object() && section.contains("inlayHints")) return read(section["inlayHints"]);
  }
  return std::nullopt;
}

}  // namespace

LanguageServer::LanguageServer(FileSystem& disk, std::ostream& log, ServerOptions options)
    : files_(disk), log_(log), options_(std::move(options)) {}

void LanguageServer::malformed(const std::string& why, std::vector<std::string>& out) {
  log_ << "scenario-compiler lsp: " << why << std::endl;
  out.push_back(error_response(nullptr, rpc_error::kParseError, why));
}

void LanguageServer::handle(std::string_view body, std::vector<std::string>& out) {
  Json message = Json::parse(body, nullptr, false);
  if (message.is_discarded()) {
    malformed("a message that is not JSON", out);
    return;
  }
  if (message.is_array()) {
    // Batches are not part of the editor protocol.
    out.push_back(error_response(nullptr, rpc_error::kInvalidRequest, "batches are not supported"));
    return;
  }
  if (!message.is_object()) {
    out.push_back(error_response(nullptr, rpc_error::kInvalidRequest, "a message must be an object"));
    return;
  }
  const auto method = message.find("method");
  const auto id = message.find("id");
  if (method == message.end()) {
    // A response to a request of ours: the server sends none, so it is dropped.
    if (id != message.end() && (message.contains("result") || message.contains("error"))) return;
    out.push_back(error_response(id != message.end() && valid_id(*id) ? *id : Json(nullptr),
                                 rpc_error::kInvalidRequest, "a message without a method"));
    return;
  }
  if (!method->is_string() || (id != message.end() && !valid_id(*id))) {
    out.push_back(error_response(id != message.end() && valid_id(*id) ? *id : Json(nullptr),
                                 rpc_error::kInvalidRequest,
                                 "the method must be a string and the id a number or a string"));
    return;
  }
  const Json params = message.contains("params") ? message["params"] : Json::object();
  dispatch(method->get<std::string>(), params, id == message.end() ? nullptr : &*id, out);
}

void LanguageServer::dispatch(const std::string& method, const Json& params, const Json* id,
                              std::vector<std::string>& out) {
  if (id == nullptr) {
    try {
      notification(method, params, out);
    } catch (const std::exception& error) {
      log_ << "scenario-compiler lsp: " << method << ": " << error.what() << std::endl;
    }
    return;
  }
  if (!initialized_ && method != "initialize") {
    out.push_back(error_response(*id, rpc_error::kServerNotInitialized, "the server is not initialized"));
    return;
  }
  if (initialized_ && method == "initialize") {
    out.push_back(error_response(*id, rpc_error::kInvalidRequest, "the server is already initialized"));
    return;
  }
  if (shut_down_) {
    out.push_back(error_response(*id, rpc_error::kInvalidRequest, "the server is shut down"));
    return;
  }
  try {
    bool known = true;
    Json result = request(method, params, out, known);
    if (!known) {
      out.push_back(error_response(*id, rpc_error::kMethodNotFound, "no method '" + method + "'"));
      return;
    }
    out.push_back(response(*id, std::move(result)));
  } catch (const Json::exception& error) {
    out.push_back(error_response(*id, rpc_error::kInvalidParams, error.what()));
  } catch (const std::exception& error) {
    out.push_back(error_response(*id, rpc_error::kInternalError, error.what()));
  }
}

LanguageServer::Json LanguageServer::request(const std::string& method, const Json& params,
                                             std::vector<std::string>& out, bool& known) {
  (void)out;
  if (method == "initialize") return initialize(params);
  if (method == "shutdown") {
    shut_down_ = true;
    return nullptr;
  }
  if (method == "textDocument/codeAction") return code_actions(params);
  if (method == "textDocument/definition") return definition(params);
  Document* document = nullptr;
  const bool on_document = method == "textDocument/inlayHint" || method == "textDocument/hover" ||
                           method == "textDocument/completion" ||
                           method == "textDocument/signatureHelp" ||
                           method == "textDocument/documentSymbol" ||
                           method == "textDocument/formatting";
  if (!on_document) {
    known = false;
    return nullptr;
  }
  document = document_of(params);
  if (method == "textDocument/documentSymbol") {
    return document == nullptr ? Json::array() : document_symbols(*document, encoding_);
  }
  if (method == "textDocument/inlayHint") {
    if (document == nullptr || !inlay_hints_) return Json::array();
    const Json& range = params.at("range");
    const auto line_of = [](const Json& position) {
      return static_cast<std::int32_t>(
          std::clamp<std::int64_t>(client_whole_number(position.at("line")), -1, INT32_MAX - 1) + 1);
    };
    return inlay_hints(*document, line_of(range.at("start")), line_of(range.at("end")), encoding_,
                       options_.language);
  }
  if (method == "textDocument/formatting") {
    return document == nullptr ? Json::array() : formatting_edits(*document, encoding_);
  }
  if (document == nullptr) return method == "textDocument/completion" ? Json::array() : Json(nullptr);
  const auto [line, column] = document->place(params.at("position"), encoding_);
  if (method == "textDocument/hover") {
    return hover(*document, line, column, encoding_, compiled_grid(*document), options_.language);
  }
  if (method == "textDocument/completion") {
    return completion(*document, line, column, encoding_, options_.language);
  }
  return signature_help(*document, line, column, options_.language);
}

std::string LanguageServer::explanations_uri() const {
  if (options_.language == Language::italian && !options_.italian_explanations_uri.empty()) {
    return options_.italian_explanations_uri;
  }
  return options_.explanations_uri;
}

void LanguageServer::notification(const std::string& method, const Json& params,
                                  std::vector<std::string>& out) {
  if (method == "exit") {
    exited_ = true;
    return;
  }
  if (!initialized_) return;
  if (method == "textDocument/didOpen") return open(params, out);
  if (method == "textDocument/didChange") return change(params, out);
  if (method == "textDocument/didClose") return close(params, out);
  if (method == "workspace/didChangeConfiguration") {
    if (params.contains("settings")) configure(params["settings"]);
    return;
  }
  // "initialized", "didSave", "$/cancelRequest", "$/setTrace" and the rest
  // need nothing: every request is answered before the next message is read.
}

LanguageServer::Json LanguageServer::initialize(const Json& params) {
  initialized_ = true;
  const Json* encodings = nullptr;
  if (params.contains("capabilities") && params["capabilities"].contains("general") &&
      params["capabilities"]["general"].contains("positionEncodings")) {
    encodings = &params["capabilities"]["general"]["positionEncodings"];
  }
  encoding_ = PositionEncoding::utf16;
  if (encodings != nullptr && encodings->is_array()) {
    for (const Json& offered : *encodings) {
      if (offered == "utf-8") encoding_ = PositionEncoding::utf8;
    }
  }
  if (params.contains("initializationOptions")) configure(params["initializationOptions"]);
  // The editor's own language, where it names one of ours ("it", "it-CH",
  // "en-US"); any other keeps the environment's.
  if (params.contains("locale") && params["locale"].is_string()) {
    const std::string locale = params["locale"].get<std::string>();
    if (locale.starts_with("it")) options_.language = Language::italian;
    if (locale.starts_with("en")) options_.language = Language::english;
  }
  return {{"capabilities",
           {{"positionEncoding", encoding_ == PositionEncoding::utf8 ? "utf-8" : "utf-16"},
            {"textDocumentSync", {{"openClose", true}, {"change", 1}}},
            {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}},
            {"inlayHintProvider", true},
            {"hoverProvider", true},
            {"completionProvider", {{"triggerCharacters", {"["}}}},
            {"signatureHelpProvider", {{"triggerCharacters", {","}}, {"retriggerCharacters", {" "}}}},
            {"documentSymbolProvider", true},
            {"definitionProvider", true},
            {"documentFormattingProvider", true}}},
          {"serverInfo", {{"name", "scenario-compiler"}, {"version", options_.version}}}};
}

void LanguageServer::configure(const Json& settings) {
  if (const std::optional<bool> hints = hints_setting(settings)) inlay_hints_ = *hints;
}

Document* LanguageServer::document_of(const Json& params) {
  const std::string uri = params.at("textDocument").at("uri").get<std::string>();
  const auto found = documents_.find(uri);
  return found == documents_.end() ? nullptr : found->second.get();
}

Document* LanguageServer::open_source(const std::string& folder, const std::string& file) {
  const std::string path = join_path(folder, file);
  for (auto& [uri, document] : documents_) {
    if (document->path == path) return document.get();
  }
  return nullptr;
}

std::vector<Document*> LanguageServer::open_trains(const std::string& folder, const std::string& base) {
  std::vector<Document*> trains;
  for (auto& [uri, document] : documents_) {
    if (document->folder == folder && document->name.kind == SourceKind::train &&
        document->name.base_name == base) {
      trains.push_back(document.get());
    }
  }
  return trains;
}

std::string LanguageServer::train_for(const Document& line) {
  const std::vector<Document*> trains = open_trains(line.folder, line.name.base_name);
  if (!trains.empty()) return trains.front()->name.train_number;
  if (const auto names = files_.list_folder(line.folder)) {
    for (const std::string& name : *names) {
      const std::optional<SourceName> source = source_name_of(name);
      if (source && source->kind == SourceKind::train && source->base_name == line.name.base_name) {
        return source->train_number;
      }
    }
  }
  return kDefaultTrainNumber;
}

void LanguageServer::open(const Json& params, std::vector<std::string>& out) {
  const Json& item = params.at("textDocument");
  const std::string uri = item.at("uri").get<std::string>();
  const std::optional<std::string> path = path_of_uri(uri);
  if (!path) return;
  const std::string file = bare_name(*path);
  const std::optional<SourceName> name = source_name_of(file);
  if (!name) return;
  auto document = std::make_unique<Document>();
  document->uri = uri;
  document->folder = path->substr(0, path->size() - file.size());
  document->path = join_path(document->folder, file);
  document->name = *name;
  document->version = item.contains("version") ? client_whole_number(item["version"]) : 0;
  document->set_text(item.at("text").get<std::string>(), encoder_);
  files_.open(document->path, document->encoded.bytes);
  grids_.clear();
  const Document& opened = *document;
  documents_[uri] = std::move(document);
  recheck(opened, out);
}

void LanguageServer::change(const Json& params, std::vector<std::string>& out) {
  Document* document = document_of(params);
  if (document == nullptr) return;
  std::string text = document->text;
  for (const Json& change : params.at("contentChanges")) {
    if (!change.contains("range")) {
      text = change.at("text").get<std::string>();
      continue;
    }
    // An edit of a range, though the server asks for whole texts.
    Document current;
    current.name = document->name;
    current.set_text(text, encoder_);
    const auto offset = [&](const Json& position) {
      const auto [line, column] = current.place(position, encoding_);
      const std::string_view row = current.lines[static_cast<std::size_t>(line) - 1];
      return static_cast<std::size_t>(row.data() - current.text.data()) +
             static_cast<std::size_t>(units_of(row, column - 1, PositionEncoding::utf8));
    };
    const std::size_t start = offset(change.at("range").at("start"));
    const std::size_t end = std::max(start, offset(change.at("range").at("end")));
    text = current.text.substr(0, start) + change.at("text").get<std::string>() + current.text.substr(end);
  }
  if (const Json& changed = params.at("textDocument"); changed.contains("version")) {
    document->version = client_whole_number(changed["version"]);
  }
  document->set_text(std::move(text), encoder_);
  files_.open(document->path, document->encoded.bytes);
  grids_.clear();
  recheck(*document, out);
}

void LanguageServer::close(const Json& params, std::vector<std::string>& out) {
  const std::string uri = params.at("textDocument").at("uri").get<std::string>();
  const auto found = documents_.find(uri);
  if (found == documents_.end()) return;
  const std::unique_ptr<Document> closed = std::move(found->second);
  documents_.erase(found);
  files_.close(closed->path);
  grids_.clear();
  out.push_back(notification_text("textDocument/publishDiagnostics",
                                  {{"uri", uri}, {"diagnostics", Json::array()}}));
  // The open trains of a closed line source read it from the disk now.
  if (closed->name.kind == SourceKind::line) {
    for (Document* train : open_trains(closed->folder, closed->name.base_name)) recheck(*train, out);
  }
}

void LanguageServer::recheck(const Document& document, std::vector<std::string>& out) {
  const std::string& folder = document.folder;
  const std::string& base = document.name.base_name;
  Document* line = open_source(folder, base + "_linea.txt");
  if (document.name.kind == SourceKind::train) {
    check_pair(folder, base, document.name.train_number, nullptr,
               open_source(folder, bare_name(document.path)), out);
    return;
  }
  // A line source: its findings from the check with its first open train,
  // and every open train checked again against it.
  const std::vector<Document*> trains = open_trains(folder, base);
  if (trains.empty()) {
    check_pair(folder, base, train_for(document), line, nullptr, out);
    return;
  }
  for (std::size_t k = 0; k < trains.size(); ++k) {
    check_pair(folder, base, trains[k]->name.train_number, k == 0 ? line : nullptr, trains[k], out);
  }
}

void LanguageServer::check_pair(const std::string& folder, const std::string& base,
                                const std::string& train, Document* line, Document* train_document,
                                std::vector<std::string>& out) {
  CheckResult result =
      check_sources(files_, options_for(folder, base, train, false, options_.language));
  if (result.file_error) log_ << "scenario-compiler lsp: " << *result.file_error << std::endl;
  const std::string line_file = base + "_linea.txt";
  const std::string train_file = base + "_" + train + "-.txt";
  if (line != nullptr) line->findings.clear();
  if (train_document != nullptr) train_document->findings.clear();
  for (Diagnostic& finding : result.diagnostics) {
    if (finding.where && finding.where->file == line_file) {
      if (line != nullptr) line->findings.push_back(std::move(finding));
    } else if (train_document != nullptr &&
               (!finding.where || finding.where->file == train_file)) {
      // Findings of no source text (a missing line source) show at the train's top.
      train_document->findings.push_back(std::move(finding));
    }
  }
  if (line != nullptr) publish(*line, out);
  if (train_document != nullptr) publish(*train_document, out);
}

void LanguageServer::publish(const Document& document, std::vector<std::string>& out) {
  FindingPlaces places;
  places.encoding = encoding_;
  places.explanations_uri = explanations_uri();
  places.language = options_.language;
  places.uri_of_file = [&](const std::string& file) {
    if (const Document* open = open_source(document.folder, file)) return open->uri;
    return uri_of_path(join_path(document.folder, file));
  };
  places.open_document = [&](const std::string& file) -> const Document* {
    return open_source(document.folder, file);
  };
  out.push_back(notification_text(
      "textDocument/publishDiagnostics",
      {{"uri", document.uri}, {"version", document.version},
       {"diagnostics", editor_diagnostics(document, places)}}));
}

const CellGrid* LanguageServer::compiled_grid(const Document& document) {
  const std::string train = document.name.kind == SourceKind::train ? document.name.train_number
                                                                    : train_for(document);
  const std::string key = document.folder + '\n' + document.name.base_name + '\n' + train;
  auto found = grids_.find(key);
  if (found == grids_.end()) {
    // The model a compile builds, without the plan geometry (which changes
    // no cell) and without writing or deleting anything.
    BuildOptions options = options_for(document.folder, document.name.base_name, train, false);
    options.geometry_flag = 0;
    BuildContext context(files_, options);
    build_model(context);
    found = grids_.emplace(key, std::move(context.state.grid)).first;
  }
  return found->second ? &*found->second : nullptr;
}

std::unique_ptr<Document> LanguageServer::line_source_of(const Document& train) {
  const std::string file = train.name.base_name + "_linea.txt";
  if (const Document* open = open_source(train.folder, file)) {
    auto copy = std::make_unique<Document>();
    copy->uri = open->uri;
    copy->path = open->path;
    copy->folder = open->folder;
    copy->name = open->name;
    copy->set_text(open->text, encoder_);
    return copy;
  }
  const std::string path = join_path(train.folder, file);
  std::string bytes;
  if (!files_.read(path, bytes).ok) return nullptr;
  auto document = std::make_unique<Document>();
  document->uri = uri_of_path(path);
  document->path = path;
  document->folder = train.folder;
  document->name = SourceName{SourceKind::line, train.name.base_name, ""};
  document->set_text(cp1252_to_utf8(bytes), encoder_);
  return document;
}

LanguageServer::Json LanguageServer::code_actions(const Json& params) {
  Json actions = Json::array();
  const Document* document = document_of(params);
  if (document == nullptr) return actions;
  const Json& context = params.at("context");
  if (context.contains("only") && context["only"].is_array()) {
    const Json& only = context["only"];
    const bool wanted = std::any_of(only.begin(), only.end(), [](const Json& kind) {
      return kind == "quickfix" || kind == "";
    });
    if (!wanted) return actions;
  }
  for (const Json& diagnostic : context.at("diagnostics")) {
    Json fix;
    if (diagnostic.contains("data") && diagnostic["data"].is_object() &&
        diagnostic["data"].contains("fix")) {
      fix = diagnostic["data"]["fix"];
    } else {
      // A client that keeps no "data": the finding published at that range.
      for (const Diagnostic& finding : document->findings) {
        if (!diagnostic.contains("code") || diagnostic["code"] != finding.id ||
            finding_range(finding, *document, encoding_) != diagnostic.at("range")) {
          continue;
        }
        if (const std::optional<SourceFix> found = fix_of(finding, *document, options_.language)) {
          Json edits = Json::array();
          for (const SourceEdit& edit : found->edits) edits.push_back(text_edit(edit, *document, encoding_));
          fix = {{"title", found->title}, {"edits", std::move(edits)}};
        }
        break;
      }
      if (fix.is_null()) continue;
    }
    actions.push_back({{"title", fix.at("title")},
                       {"kind", "quickfix"},
                       {"diagnostics", {diagnostic}},
                       {"isPreferred", true},
                       {"edit", {{"changes", {{document->uri, fix.at("edits")}}}}}});
  }
  return actions;
}

LanguageServer::Json LanguageServer::definition(const Json& params) {
  const Document* document = document_of(params);
  if (document == nullptr) return nullptr;
  const auto [line, column] = document->place(params.at("position"), encoding_);
  Json locations = Json::array();
  // From a finding to the other places it names.
  FindingPlaces places;
  places.encoding = encoding_;
  places.language = options_.language;
  places.uri_of_file = [&](const std::string& file) {
    if (const Document* open = open_source(document->folder, file)) return open->uri;
    return uri_of_path(join_path(document->folder, file));
  };
  places.open_document = [&](const std::string& file) -> const Document* {
    return open_source(document->folder, file);
  };
  const Json published = editor_diagnostics(*document, places);
  const std::int32_t units =
      units_of(document->lines[static_cast<std::size_t>(line) - 1], column - 1, encoding_);
  for (const Json& diagnostic : published) {
    const Json& range = diagnostic["range"];
    if (range["start"]["line"] != line - 1 || !diagnostic.contains("relatedInformation")) continue;
    if (units < range["start"]["character"].get<std::int32_t>() ||
        units > range["end"]["character"].get<std::int32_t>()) {
      continue;
    }
    for (const Json& related : diagnostic["relatedInformation"]) locations.push_back(related["location"]);
  }
  if (!locations.empty() || document->name.kind != SourceKind::train) return locations;
  // From a train's position to what stands there in the line source.
  const std::unique_ptr<Document> line_source = line_source_of(*document);
  if (line_source == nullptr) return locations;
  return line_places_of(*document, line, column, *line_source, encoding_);
}

int serve(std::istream& in, std::ostream& out, std::ostream& log, FileSystem& disk,
          ServerOptions options) {
  LanguageServer server(disk, log, std::move(options));
  FrameReader reader(in);
  std::string body;
  std::vector<std::string> replies;
  while (!server.exited()) {
    replies.clear();
    const FrameRead read = reader.read(body);
    if (read == FrameRead::end) {
      server.end_of_input();
      break;
    }
    if (read == FrameRead::malformed) {
      server.malformed(reader.fault(), replies);
    } else {
      server.handle(body, replies);
    }
    for (const std::string& reply : replies) write_frame(out, reply);
  }
  return server.exit_status();
}

}  // namespace scenario
