// Reading a line source must stay linear in its size: a source padded with a
// great many comment lines costs the same per byte as a short one.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "model/build_context.h"
#include "files/file_names.h"
#include "testing/memory_file_system.h"
#include "sources/line_reader.h"

namespace {

std::string source_with_comment_lines(std::int64_t comment_lines) {
  std::string text =
      "[generale]\r\n"
      "lunghezza percorso, 40000\r\n"
      "- un commento nell'intestazione, 1, -2\r\n"
      "[pendenze]\r\n"
      "pendenza, 1500, 6\r\n";
  for (std::int64_t line = 0; line < comment_lines; ++line) {
    text += "- commento numero " + std::to_string(line) + ", 1500, -6\r\n";
  }
  text += "pendenza, 30000, -4\r\n[fine]\r\n\r\n";
  return text;
}

void BM_ReadLineSourceWithCommentLines(benchmark::State& state) {
  scenario::MemoryFileSystem files;
  const std::string path =
      scenario::scenario_file_names("", scenario::kDefaultBaseName,
                                    scenario::kDefaultTrainNumber)
          .line_source;
  files.files[path] = source_with_comment_lines(state.range(0));
  const auto bytes = static_cast<std::int64_t>(files.files[path].size());
  for (auto _ : state) {
    // The same source is read again next time.
    scenario::BuildOptions options;
    options.delete_sources = false;
    scenario::BuildContext context(files, options);
    const scenario::LineReadEnd end = scenario::read_line_source(context);
    if (!end.reached_end || context.state.status.code != 0) state.SkipWithError("source not read");
    benchmark::DoNotOptimize(context.state.grid);
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_ReadLineSourceWithCommentLines)
    ->RangeMultiplier(4)
    ->Range(1 << 12, 1 << 20)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
