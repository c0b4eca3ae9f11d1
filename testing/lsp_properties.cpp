#include "testing/lsp_properties.h"

#include <nlohmann/json.hpp>

#include <sstream>
#include <vector>

#include "files/file_names.h"
#include "lsp/json_rpc.h"
#include "lsp/server.h"
#include "testing/compile_properties.h"
#include "testing/memory_file_system.h"

namespace scenario::testing {
namespace {

using Json = nlohmann::json;

std::string framed(std::string_view body) {
  std::ostringstream out;
  write_frame(out, body);
  return out.str();
}

std::string open_message(const char* uri, std::string_view text) {
  return Json{{"jsonrpc", "2.0"},
              {"method", "textDocument/didOpen"},
              {"params", {{"textDocument", {{"uri", uri}, {"languageId", "scenario"}, {"version", 1},
                                            {"text", std::string(text)}}}}}}
      .dump();
}

// The frames every stream starts with: "initialize" (a request of id 0),
// then the opening of the fixed sources. Made once: they are the same for
// every input.
constexpr int kOpeningFrames = 3;
constexpr int kInitializeId = 0;
const std::string& opening_frames() {
  static const std::string frames = [] {
    std::string stream = framed(Json{{"jsonrpc", "2.0"},
                                     {"id", kInitializeId},
                                     {"method", "initialize"},
                                     {"params", {{"capabilities", Json::object()}}}}
                                    .dump());
    // The fixed sources are plain ASCII: their bytes are their UTF-8 text.
    stream += framed(open_message("file:///fuzz/F_linea.txt", fixed_line_source()));
    stream += framed(open_message("file:///fuzz/F_1-.txt", fixed_train_source()));
    return stream;
  }();
  return frames;
}

// A reply that is not well-formed JSON-RPC, or a second answer to the request
// of the frame it replies to.
std::optional<std::string> reply_fault(const std::string& reply, const std::optional<Json>& request_id,
                                       bool& answered) {
  const Json sent = Json::parse(reply, nullptr, false);
  if (!sent.is_object() || sent.value("jsonrpc", "") != "2.0") return "a malformed reply: " + reply;
  const bool is_response = sent.contains("id");
  if (is_response == sent.contains("method")) return "neither response nor notification: " + reply;
  if (is_response && sent.contains("result") == sent.contains("error")) {
    return "a response needs a result or an error: " + reply;
  }
  if (is_response && request_id && sent["id"] == *request_id) {
    if (answered) return "a request answered twice";
    answered = true;
  }
  return std::nullopt;
}

struct OpeningReplies {
  std::vector<std::vector<std::string>> replies;  // a list for each opening frame
  std::optional<std::string> fault;
};

OpeningReplies answer_openings() {
  OpeningReplies openings;
  MemoryFileSystem disk;
  std::ostringstream log;
  ServerOptions options;
  options.version = "fuzz";
  LanguageServer server(disk, log, options);
  std::istringstream in(opening_frames());
  FrameReader reader(in);
  std::string body;
  for (int frame = 0; frame < kOpeningFrames && reader.read(body) == FrameRead::message; ++frame) {
    std::vector<std::string>& replies = openings.replies.emplace_back();
    server.handle(body, replies);
    bool answered = false;
    const std::optional<Json> request_id =
        frame == 0 ? std::optional<Json>(kInitializeId) : std::nullopt;  // the openings are notifications
    for (const std::string& reply : replies) {
      if (!openings.fault) openings.fault = reply_fault(reply, request_id, answered);
    }
    if (frame == 0 && !answered && !openings.fault) openings.fault = "\"initialize\" left unanswered";
  }
  if (openings.replies.size() != kOpeningFrames && !openings.fault) openings.fault = "a frame is missing";
  return openings;
}

}  // namespace

std::string lsp_stream_of(std::string_view input) {
  std::string stream = opening_frames();
  if (input.starts_with("Content-Length")) {
    stream += input;
    return stream;
  }
  for (std::size_t start = 0; start <= input.size();) {
    std::size_t end = input.find('\x1e', start);
    if (end == std::string_view::npos) end = input.size();
    stream += framed(input.substr(start, end - start));
    start = end + 1;
  }
  return stream;
}

std::optional<std::string> check_lsp_properties(std::string_view input) {
  // The openings are answered alike on every stream: their replies are
  // checked once, then only compared (parsing them took a tenth of a run).
  static const OpeningReplies openings = answer_openings();
  if (openings.fault) return "the openings: " + *openings.fault;
  MemoryFileSystem disk;
  std::ostringstream log;
  ServerOptions options;
  options.version = "fuzz";
  LanguageServer server(disk, log, options);
  std::istringstream in(lsp_stream_of(input));
  FrameReader reader(in);
  std::string body;
  std::vector<std::string> replies;
  for (int frame = 0; !server.exited(); ++frame) {
    replies.clear();
    const FrameRead read = reader.read(body);
    if (read == FrameRead::end) break;
    if (frame < kOpeningFrames) {
      server.handle(body, replies);
      if (replies != openings.replies[static_cast<std::size_t>(frame)]) {
        return "the openings answered differently from the first stream's";
      }
      continue;
    }
    std::optional<Json> request_id;
    if (read == FrameRead::malformed) {
      server.malformed(reader.fault(), replies);
    } else {
      const Json message = Json::parse(body, nullptr, false);
      if (message.is_object() && message.contains("id") && message.contains("method") &&
          message["method"].is_string()) {
        request_id = message["id"];
      }
      server.handle(body, replies);
    }
    bool answered = false;
    for (const std::string& reply : replies) {
      if (auto fault = reply_fault(reply, request_id, answered)) return *fault + ": " + body;
    }
    if (request_id && (request_id->is_string() || request_id->is_number_integer() || request_id->is_null()) &&
        !answered && !server.exited()) {
      return "a request left unanswered: " + body;
    }
  }
  if (!disk.files.empty()) return "the server wrote a file";
  return std::nullopt;
}

}  // namespace scenario::testing
