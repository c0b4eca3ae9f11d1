#include "lsp/json_rpc.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace scenario {
namespace {

// What the reader gives for a stream, read by read up to its end: each body,
// "!" for a malformed header block.
std::vector<std::string> reads_of(const std::string& stream, std::size_t max_body = 1 << 20) {
  std::istringstream in(stream);
  FrameReader reader(in, max_body);
  std::vector<std::string> reads;
  std::string body;
  for (int guard = 0; guard < 100; ++guard) {
    const FrameRead read = reader.read(body);
    if (read == FrameRead::end) return reads;
    reads.push_back(read == FrameRead::malformed ? "!" : body);
  }
  ADD_FAILURE() << "no end of the stream";
  return reads;
}

TEST(FrameReader, ReadsFramesAndPassesOverBrokenHeaders) {
  struct Case {
    const char* name;
    std::string stream;
    std::vector<std::string> reads;
  };
  const std::vector<Case> cases = {
      {"two messages", "Content-Length: 2\r\n\r\n{}Content-Length: 3\r\n\r\n[1]", {"{}", "[1]"}},
      {"bare line feeds", "Content-Length: 2\n\n{}", {"{}"}},
      {"other fields and any case", "content-length:2\r\nContent-Type: x\r\n\r\nab", {"ab"}},
      {"blanks around the number", "Content-Length:   4  \r\n\r\nabcd", {"abcd"}},
      {"an empty body", "Content-Length: 0\r\n\r\nContent-Length: 1\r\n\r\nx", {"", "x"}},
      {"body bytes are not looked at",
       "Content-Length: 5\r\n\r\n" + std::string("\r\n\0\r\n", 5),
       {std::string("\r\n\0\r\n", 5)}},
      {"no Content-Length, then a good one", "Content-Type: x\r\n\r\nContent-Length: 1\r\n\r\nx",
       {"!", "x"}},
      {"a length that is no number", "Content-Length: 1x\r\n\r\nContent-Length: 1\r\n\r\ny",
       {"!", "y"}},
      {"a negative length", "Content-Length: -1\r\n\r\n", {"!"}},
      {"a line without a colon", "garbage\r\n\r\nContent-Length: 1\r\n\r\nz", {"!", "z"}},
      {"a body cut short ends the stream", "Content-Length: 10\r\n\r\nabc", {}},
      {"a header cut short ends the stream", "Content-Length: 10\r\n", {}},
      {"blank lines between messages", "\r\n\r\nContent-Length: 1\r\n\r\nq", {"q"}},
      {"nothing", "", {}},
      {"a header line without end", std::string(100000, 'x'), {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(reads_of(c.stream), c.reads) << c.name;
  }
}

TEST(FrameReader, DropsABodyAboveTheLimitAndGoesOn) {
  EXPECT_EQ(reads_of("Content-Length: 11\r\n\r\nhello worldContent-Length: 2\r\n\r\nok", 10),
            (std::vector<std::string>{"!", "ok"}));
}

TEST(FrameReader, ReadsWhatWriteFrameWrites) {
  std::ostringstream out;
  write_frame(out, "{\"a\":\"\xC3\xA8\"}");
  write_frame(out, "");
  EXPECT_EQ(out.str().substr(0, 22), "Content-Length: 10\r\n\r\n");
  EXPECT_EQ(reads_of(out.str()), (std::vector<std::string>{"{\"a\":\"\xC3\xA8\"}", ""}));
}

}  // namespace
}  // namespace scenario
