// Fuzzes `dump` with arbitrary bytes as each of the three scenario files: the
// decoders either give records that encode back to the same bytes or say
// where the layout breaks, and the command prints what they decoded (to
// /dev/null) in text, JSON, as a summary and as its entries, or refuses the file with exit status 3. The
// printing is run for inputs of up to 2 KB.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <streambuf>
#include <string>
#include <string_view>

#include "app/dump_command.h"
#include "testing/decode_properties.h"

namespace {

std::string folder;
constexpr std::size_t kLongestPrinted = 2048;

// Takes dump's messages on std::cerr and drops them; libFuzzer writes its own
// lines to the C library's stderr, which stays as it is.
class Discard : public std::streambuf {
 protected:
  int overflow(int c) override { return c == EOF ? 0 : c; }
  std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};
Discard discard;

void stop(const std::string& broken) {
  std::fprintf(stderr, "broken property: %s\n", broken.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char name[] = "/tmp/fuzz-scenario-files-XXXXXX";
  if (::mkdtemp(name) == nullptr) stop("cannot make a folder for the files");
  folder = name;
  // What dump prints is not looked at; the fuzzer's own output goes to stderr.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) stop("cannot silence standard output");
  std::cerr.rdbuf(&discard);
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (auto broken = scenario::testing::check_decode_properties(bytes)) stop(*broken);
  // Printing takes a line or a JSON object a record; the printers hold no
  // state from record to record, so short files show all they do.
  if (size > kLongestPrinted) return 0;
  for (const char* name : {"/f_linea.dat", "/f_593.sim", "/f_593.dat"}) {
    const std::string path = folder + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
    for (int form = 0; form < 4; ++form) {
      scenario::DumpOptions options;
      options.path = path;
      options.json = form == 1;
      options.summary = form == 2;
      options.entries = form == 3;
      const int status = scenario::run_dump(options);
      if (status != 0 && status != 3) stop(std::string("dump ended with status ") + std::to_string(status));
    }
  }
  return 0;
}
