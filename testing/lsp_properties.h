#pragma once

// What the language server must keep, whatever messages it is sent: it never
// crashes, writes no file, answers every request once (until "exit"), and
// sends only well-formed JSON-RPC messages. Its answers to the openings every
// stream starts with are the same each time.

#include <optional>
#include <string>
#include <string_view>

namespace scenario::testing {

/// The messages of a fuzz input as one framed stream after an "initialize"
/// and the opening of a small line and train source: bytes that start with
/// "Content-Length" are taken as they are; any other input is cut at each
/// 0x1E byte into message bodies, each framed.
std::string lsp_stream_of(std::string_view input);

/// Serves the stream in memory and returns a description of the first broken
/// property, if any.
std::optional<std::string> check_lsp_properties(std::string_view input);

}  // namespace scenario::testing
