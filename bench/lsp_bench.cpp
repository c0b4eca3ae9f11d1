// Latency of the language server as an editor feels it, each request timed
// on its own: from a change of a source to its published findings, and the
// answers to completion and hover. Counters p50_ms and p95_ms give the
// spread of the wall-clock times over the iterations, p95_cpu_ms that of the
// processor time (which a machine shared with other work does not inflate).

#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

#include "builtin/builtin_scenario.h"
#include "builtin/line_table.h"
#include "lsp/server.h"
#include "output/cp1252.h"
#include "representative_scenario.h"
#include "testing/memory_file_system.h"

namespace scenario {
namespace {

using Json = nlohmann::json;

constexpr const char* kLineUri = "file:///bench/B_linea.txt";
constexpr const char* kTrainUri = "file:///bench/B_1-.txt";

// A server with both sources open.
struct OpenScenario {
  MemoryFileSystem disk;
  std::ostringstream log;
  LanguageServer server{disk, log, ServerOptions{"bench", "", "", Language::english}};
  std::vector<std::string> out;
  std::string line;
  std::string train;
  int version = 1;

  OpenScenario(std::string line_text, std::string train_text)
      : line(std::move(line_text)), train(std::move(train_text)) {
    send({{"jsonrpc", "2.0"}, {"id", 0}, {"method", "initialize"}, {"params", {{"capabilities", Json::object()}}}});
    open(kTrainUri, train);
    open(kLineUri, line);
  }

  void send(const Json& message) {
    out.clear();
    server.handle(message.dump(), out);
  }

  void open(const char* uri, const std::string& text) {
    send({{"jsonrpc", "2.0"}, {"method", "textDocument/didOpen"},
          {"params", {{"textDocument", {{"uri", uri}, {"languageId", "s"}, {"version", 1}, {"text", text}}}}}});
  }

  void change(const char* uri, const std::string& text) {
    send({{"jsonrpc", "2.0"}, {"method", "textDocument/didChange"},
          {"params", {{"textDocument", {{"uri", uri}, {"version", ++version}}},
                      {"contentChanges", {{{"text", text}}}}}}});
  }
};

// The time of each step, on the wall clock and in processor time.
struct Times {
  std::vector<double> wall_ms;
  std::vector<double> cpu_ms;
};

double percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, static_cast<std::size_t>(share * values.size()))];
}

void report(benchmark::State& state, const Times& times) {
  if (times.wall_ms.empty()) return;
  state.counters["p50_ms"] = percentile(times.wall_ms, 0.50);
  state.counters["p95_ms"] = percentile(times.wall_ms, 0.95);
  state.counters["p95_cpu_ms"] = percentile(times.cpu_ms, 0.95);
}

template <class Step>
void time_one(Times& times, Step step) {
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpu_start = std::clock();
  step();
  times.cpu_ms.push_back(1000.0 * static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC);
  times.wall_ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
}

template <class Step>
void timed(benchmark::State& state, Step step) {
  Times times;
  for (auto _ : state) time_one(times, step);
  report(state, times);
}

OpenScenario builtin_pair() {
  return OpenScenario(cp1252_to_utf8(render_line_table(dati_linea())),
                      cp1252_to_utf8(render_line_table(dati_treno())));
}

// A change of the train source: typing in a station's standing time, two
// texts in turn so that every change is a real one.
void BM_LspChangeTrainBuiltin(benchmark::State& state) {
  OpenScenario open = builtin_pair();
  const std::string other = open.train + "\r\n";
  bool flip = false;
  timed(state, [&] {
    open.change(kTrainUri, (flip = !flip) ? other : open.train);
    benchmark::DoNotOptimize(open.out);
  });
  state.counters["published"] = static_cast<double>(open.out.size());
}
BENCHMARK(BM_LspChangeTrainBuiltin)->Unit(benchmark::kMillisecond);

// A change of the line source, which checks its open train again too.
void BM_LspChangeLineBuiltin(benchmark::State& state) {
  OpenScenario open = builtin_pair();
  const std::string other = open.line + "\r\n";
  bool flip = false;
  timed(state, [&] {
    open.change(kLineUri, (flip = !flip) ? other : open.line);
    benchmark::DoNotOptimize(open.out);
  });
}
BENCHMARK(BM_LspChangeLineBuiltin)->Unit(benchmark::kMillisecond);

// The same on a line of 1,000,000 m (the longest there is).
void BM_LspChangeTrainLongestLine(benchmark::State& state) {
  OpenScenario open(bench::representative_line_source(1000000), bench::representative_train_source(1000000));
  const std::string other = open.train + "\r\n";
  bool flip = false;
  timed(state, [&] {
    open.change(kTrainUri, (flip = !flip) ? other : open.train);
    benchmark::DoNotOptimize(open.out);
  });
}
BENCHMARK(BM_LspChangeTrainLongestLine)->Unit(benchmark::kMillisecond);

void BM_LspChangeLineLongestLine(benchmark::State& state) {
  OpenScenario open(bench::representative_line_source(1000000), bench::representative_train_source(1000000));
  const std::string other = open.line + "\r\n";
  bool flip = false;
  timed(state, [&] {
    open.change(kLineUri, (flip = !flip) ? other : open.line);
    benchmark::DoNotOptimize(open.out);
  });
}
BENCHMARK(BM_LspChangeLineLongestLine)->Unit(benchmark::kMillisecond);

Json at(const char* method, const char* uri, int line, int character, int id) {
  return {{"jsonrpc", "2.0"}, {"id", id}, {"method", method},
          {"params", {{"textDocument", {{"uri", uri}}}, {"position", {{"line", line}, {"character", character}}}}}};
}

// The line of the built-in train source that holds `needle`.
int line_of(const std::string& text, const std::string& needle) {
  const std::size_t found = text.find(needle);
  return static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(found), '\n'));
}

void BM_LspCompletionBuiltin(benchmark::State& state) {
  OpenScenario open = builtin_pair();
  const int line = line_of(open.train, "stazione,   121050");
  const Json request = at("textDocument/completion", kTrainUri, line, 0, 7);
  timed(state, [&] {
    open.send(request);
    benchmark::DoNotOptimize(open.out);
  });
}
BENCHMARK(BM_LspCompletionBuiltin)->Unit(benchmark::kMillisecond);

// Hover on a station's position: its cell in the compiled model (built once
// after a change and kept).
void BM_LspHoverBuiltin(benchmark::State& state) {
  OpenScenario open = builtin_pair();
  const int line = line_of(open.train, "stazione,   121050");
  const Json request = at("textDocument/hover", kTrainUri, line, 14, 8);
  timed(state, [&] {
    open.send(request);
    benchmark::DoNotOptimize(open.out);
  });
}
BENCHMARK(BM_LspHoverBuiltin)->Unit(benchmark::kMillisecond);

// The first hover after a change, which builds the model.
void BM_LspHoverAfterChangeBuiltin(benchmark::State& state) {
  OpenScenario open = builtin_pair();
  const int line = line_of(open.train, "stazione,   121050");
  const Json request = at("textDocument/hover", kTrainUri, line, 14, 8);
  const std::string other = open.train + "\r\n";
  bool flip = false;
  Times times;
  for (auto _ : state) {
    state.PauseTiming();
    open.change(kTrainUri, (flip = !flip) ? other : open.train);
    state.ResumeTiming();
    time_one(times, [&] { open.send(request); });
  }
  report(state, times);
}
BENCHMARK(BM_LspHoverAfterChangeBuiltin)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario
