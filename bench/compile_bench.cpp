// Speed of the whole compile in memory and of encoding and writing the three
// scenario files, for a line the size of the built-in one (358000 m).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "testing/memory_compile.h"
#include "model/cell_grid.h"
#include "model/record_table.h"
#include "files/file_system.h"
#include "output/scenario_writer.h"
#include "builtin/builtin_scenario.h"
#include "model/plan_geometry.h"

namespace scenario {
namespace {

constexpr std::int32_t kLineLength = 358000;

// A straight line's geometry as the reader leaves it: encoding does not
// depend on the values, only on the number and kinds of elements.
PlanGeometry straight_geometry(std::int32_t length) {
  PlanGeometry geometry = create_plan_geometry(length);
  seed_plan_geometry(geometry);
  complete_plan_geometry(geometry);
  return geometry;
}

RecordTable filled_table() {
  RecordTable table;
  name_scenario(table, "Orvale_Varcona", "593");
  for (int row = 1; row <= 30; ++row) table.rows[static_cast<std::size_t>(row)].text = "Localita 12";
  return table;
}

void BM_CompileInMemory(benchmark::State& state) {
  // The built-in scenario itself: 358000 m, the real mix of entries.
  const std::string line = render_line_table(dati_linea());
  const std::string train = render_line_table(dati_treno());
  for (auto _ : state) {
    MemoryCompile result = compile_in_memory(line, train);
    benchmark::DoNotOptimize(result);
  }
  const MemoryCompile check = compile_in_memory(line, train);
  state.counters["status"] = scenario::code_number(check.status.code);
  state.counters["geometry_bytes"] =
      check.plan_geometry ? static_cast<double>(check.plan_geometry->size()) : 0;
}
BENCHMARK(BM_CompileInMemory)->Unit(benchmark::kMillisecond);

// The geometry is computed straight into its file's bytes.
void BM_ComputePlanGeometryFile(benchmark::State& state) {
  for (auto _ : state) {
    PlanGeometry geometry = straight_geometry(kLineLength);
    benchmark::DoNotOptimize(plan_geometry_file(geometry).data());
  }
  state.SetBytesProcessed(state.iterations() * (20 * (kLineLength + 7000) - 36));
}
BENCHMARK(BM_ComputePlanGeometryFile)->Unit(benchmark::kMillisecond);

void BM_EncodeRecordTable(benchmark::State& state) {
  const RecordTable table = filled_table();
  for (auto _ : state) benchmark::DoNotOptimize(encode_record_table(table));
}
BENCHMARK(BM_EncodeRecordTable);

void BM_EncodeCellGrid(benchmark::State& state) {
  const CellGrid grid = make_cell_grid(kLineLength);
  for (auto _ : state) benchmark::DoNotOptimize(encode_cell_grid(grid));
  state.SetBytesProcessed(state.iterations() * 15 * static_cast<std::int64_t>(grid.cells.size()));
}
BENCHMARK(BM_EncodeCellGrid)->Unit(benchmark::kMicrosecond);

// Encoding plus the safe replacement of all three files on the real disk.
void BM_WriteScenarioFiles(benchmark::State& state) {
  PlanGeometry geometry = straight_geometry(kLineLength);
  const RecordTable table = filled_table();
  const CellGrid grid = make_cell_grid(kLineLength);
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("scenario bench " + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  DiskFileSystem disk;
  for (auto _ : state) {
    bool ok = disk.replace((folder / "b_linea.dat").string(), plan_geometry_file(geometry)).ok;
    ok = ok && disk.replace((folder / "b_1.sim").string(), encode_record_table(table)).ok;
    ok = ok && disk.replace((folder / "b_1.dat").string(), encode_cell_grid(grid)).ok;
    if (!ok) state.SkipWithError("a file could not be written");
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteScenarioFiles)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario
