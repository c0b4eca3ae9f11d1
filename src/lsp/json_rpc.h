#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace scenario {

/// Error codes of JSON-RPC 2.0 and of the editor protocol.
namespace rpc_error {
inline constexpr int kParseError = -32700;
inline constexpr int kInvalidRequest = -32600;
inline constexpr int kMethodNotFound = -32601;
inline constexpr int kInvalidParams = -32602;
inline constexpr int kInternalError = -32603;
inline constexpr int kServerNotInitialized = -32002;
}  // namespace rpc_error

/// What one read of the stream gave.
enum class FrameRead {
  message,    // a whole body, as its Content-Length says
  malformed,  // a header block without a usable Content-Length (skipped)
  end,        // the stream ended (also inside a header block or a body)
};

/// Reads messages framed as "Content-Length: N\r\n\r\n" and N bytes of body.
/// Other header fields are passed over; lines may also end in a bare "\n".
class FrameReader {
 public:
  /// Bodies above `max_body` bytes are read and dropped as malformed.
  explicit FrameReader(std::istream& in, std::size_t max_body = std::size_t{64} << 20)
      : in_(in), max_body_(max_body) {}

  FrameRead read(std::string& body);

  /// Why the last read was malformed, for the log and the error message.
  const std::string& fault() const { return fault_; }

 private:
  bool read_header_line(std::string& line);

  std::istream& in_;
  std::size_t max_body_;
  std::string fault_;
};

/// Writes one body with its header and flushes.
void write_frame(std::ostream& out, std::string_view body);

}  // namespace scenario
