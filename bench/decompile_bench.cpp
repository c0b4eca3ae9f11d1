// Speed of `decompile` against the compile it inverts, in memory: the
// standard run's files and those of a 1000000 m line, decompiled (the check
// compile included). A decompile should cost no more than three compiles of
// the same scenario: compare with BM_CompileInMemory (the standard run) and
// BM_CompileMillionMetres.

#include <benchmark/benchmark.h>

#include "builtin/builtin_scenario.h"
#include "decompile/decompile.h"
#include "representative_scenario.h"
#include "testing/memory_compile.h"

namespace scenario {
namespace {

struct Scenario {
  std::string line;
  std::string train;
};

Scenario builtin_scenario() {
  return {render_line_table(dati_linea()), render_line_table(dati_treno())};
}

Scenario long_scenario() {
  return {bench::representative_line_source(1000000), bench::representative_train_source(1000000)};
}

void run_decompile(benchmark::State& state, const Scenario& s) {
  const MemoryCompile files = compile_in_memory(s.line, s.train);
  const ScenarioBytes bytes{*files.record_table, *files.cell_grid, *files.plan_geometry};
  for (auto _ : state) {
    const Decompiled made = decompile(bytes, kDefaultBaseName, kDefaultTrainNumber);
    benchmark::DoNotOptimize(made);
    if (!made.places.empty()) state.SkipWithError("the files are not decompiled exactly");
  }
}

void BM_DecompileBuiltin(benchmark::State& state) { run_decompile(state, builtin_scenario()); }
BENCHMARK(BM_DecompileBuiltin)->Unit(benchmark::kMillisecond);

void BM_DecompileMillionMetres(benchmark::State& state) { run_decompile(state, long_scenario()); }
BENCHMARK(BM_DecompileMillionMetres)->Unit(benchmark::kMillisecond);

void BM_CompileMillionMetres(benchmark::State& state) {
  const Scenario s = long_scenario();
  for (auto _ : state) benchmark::DoNotOptimize(compile_in_memory(s.line, s.train));
}
BENCHMARK(BM_CompileMillionMetres)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario
