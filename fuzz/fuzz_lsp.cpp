// Fuzzes the language server with message streams: it never crashes, writes
// no file, answers every request once and sends only well-formed messages.
// An input is a framed stream when it starts with "Content-Length", else
// message bodies cut at each 0x1E byte (see testing/lsp_properties.h).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "testing/lsp_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (auto broken = scenario::testing::check_lsp_properties(input)) {
    std::fprintf(stderr, "broken property: %s\n", broken->c_str());
    std::abort();
  }
  return 0;
}
