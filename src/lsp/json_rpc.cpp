#include "lsp/json_rpc.h"

#include <charconv>

#include "sources/text_match.h"

namespace scenario {
namespace {

// A header line longer than this is no header: it is cut and the block is
// read on as malformed, so that a stream without line ends costs no memory.
constexpr std::size_t kMaxHeaderLine = 4096;

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

// One line of the header block, without its "\r\n" or "\n"; false at the end
// of the stream.
bool FrameReader::read_header_line(std::string& line) {
  line.clear();
  for (;;) {
    const int c = in_.get();
    if (c == std::char_traits<char>::eof()) return false;
    if (c == '\n') break;
    if (line.size() < kMaxHeaderLine) line += static_cast<char>(c);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

FrameRead FrameReader::read(std::string& body) {
  body.clear();
  fault_.clear();
  std::string line;
  bool any_line = false;
  bool have_length = false;
  std::size_t length = 0;
  for (;;) {
    if (!read_header_line(line)) return FrameRead::end;
    if (line.empty()) {
      if (!any_line) continue;  // blank lines between messages
      break;
    }
    any_line = true;
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) {
      fault_ = "a header line without a colon";
      continue;
    }
    if (!equal_ignoring_case(trimmed(std::string_view(line).substr(0, colon)), "Content-Length")) {
      continue;
    }
    const std::string_view value = trimmed(std::string_view(line).substr(colon + 1));
    std::size_t parsed = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), parsed);
    if (error != std::errc() || end != value.data() + value.size() || value.empty()) {
      fault_ = "a Content-Length that is not a number";
      continue;
    }
    have_length = true;
    length = parsed;
  }
  if (!have_length) {
    if (fault_.empty()) fault_ = "a header without Content-Length";
    return FrameRead::malformed;
  }
  if (length > max_body_) {
    in_.ignore(static_cast<std::streamsize>(length));
    fault_ = "a body of " + std::to_string(length) + " bytes, above the limit";
    return in_.eof() ? FrameRead::end : FrameRead::malformed;
  }
  body.resize(length);
  in_.read(body.data(), static_cast<std::streamsize>(length));
  if (static_cast<std::size_t>(in_.gcount()) != length) return FrameRead::end;
  fault_.clear();
  return FrameRead::message;
}

void write_frame(std::ostream& out, std::string_view body) {
  out << "Content-Length: " << body.size() << "\r\n\r\n";
  out.write(body.data(), static_cast<std::streamsize>(body.size()));
  out.flush();
}

}  // namespace scenario
