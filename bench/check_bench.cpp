// Speed of `check` over the built-in scenario, beside the whole compile in
// memory (compile_bench.cpp): a check reads as a compile does and writes
// nothing, so it must be no slower.

#include <benchmark/benchmark.h>

#include "builtin/builtin_scenario.h"
#include "check/check.h"
#include "testing/check_properties.h"
#include "testing/memory_compile.h"

namespace scenario {
namespace {

void BM_CheckBuiltin(benchmark::State& state) {
  const std::string line = render_line_table(dati_linea());
  const std::string train = render_line_table(dati_treno());
  for (auto _ : state) {
    CheckResult result = testing::check_in_memory(line, train);
    benchmark::DoNotOptimize(result);
  }
  state.counters["findings"] =
      static_cast<double>(testing::check_in_memory(line, train).diagnostics.size());
}
BENCHMARK(BM_CheckBuiltin)->Unit(benchmark::kMillisecond);

// With an error near the start: the check also runs the plain read once to
// know the compile's status.
void BM_CheckBuiltinWithAnError(benchmark::State& state) {
  std::string line = render_line_table(dati_linea());
  line.replace(line.find("sfondo uno,    1"), 16, "sfondo uno,    x");
  const std::string train = render_line_table(dati_treno());
  for (auto _ : state) {
    CheckResult result = testing::check_in_memory(line, train);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_CheckBuiltinWithAnError)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario
