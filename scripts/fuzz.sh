#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz (clang++, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS seconds (default 60),
# starting from the seeds in fuzz/corpus/TARGET. Fails on the first finding;
# the input that broke a target is left in build-fuzz/findings/.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# TARGET: line_source train_source both_sources (the sources, lines up to
# 10 km with their plan geometry), check (both sources through `check`), format (both
# sources formatted: they compile the same), long_lines (the line source, lines of any
# length: slow), scenario_files (dump's decoders), decompile (any bytes as the three
# files), round_trip (both sources, compiled, decompiled, compiled), lsp (the language
# server's message streams). Extra libFuzzer options
# (-runs=N for a fixed number of runs, say) go in FUZZ_OPTIONS.
#
# The rate of a target, measured one way by everyone: FUZZ_RATE_RUNS=5000
# runs each target that many times from the committed seeds alone (a fresh
# working folder, seed 1) and prints its executions per CPU-second (user +
# system time of the target's process); SECONDS is then only an upper bound.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(line_source train_source both_sources check format long_lines scenario_files decompile round_trip lsp)

scripts/setup.sh fuzz
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_FUZZERS=ON \
  -DBUILD_TESTS=OFF -DBUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}"

mkdir -p build-fuzz/findings
for target in "${targets[@]}"; do
  # New inputs go to the first folder, so the seeds in the tree stay as they are.
  # Slow inputs (a line of 1000 km computes a million metres of geometry) are
  # picked less often, by their execution time.
  work="build-fuzz/corpus/$target"
  rate=()
  if [ -n "${FUZZ_RATE_RUNS:-}" ]; then
    work="build-fuzz/rate/$target"
    rm -rf "$work"
    rate=(-runs="$FUZZ_RATE_RUNS" -seed=1)
  fi
  mkdir -p "$work"
  echo "== fuzz_$target for ${seconds}s"
  log="build-fuzz/fuzz_$target.log"
  case "$target" in
    scenario_files|decompile) options=(-max_len=65536) ;;
    lsp) options=(-dict=fuzz/lsp.dict -max_len=65536) ;;
    long_lines) options=(-dict=fuzz/keywords.dict -max_len=262144 -timeout=120) ;;
    *) options=(-dict=fuzz/keywords.dict -max_len=262144) ;;
  esac
  TIMEFORMAT="%3U %3S"
  # Without the allocation and free stacks of a report: recording one for
  # every allocation takes up to a fifth of a run (the language server's JSON
  # allocates a node a value). Rerun a kept input alone for them:
  # build-fuzz/fuzz/fuzz_TARGET FILE.
  # shellcheck disable=SC2086
  if ! { time env ASAN_OPTIONS="malloc_context_size=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}" "build-fuzz/fuzz/fuzz_$target" "$work" "fuzz/corpus/$target" \
      -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 "${options[@]}" \
      -entropic_scale_per_exec_time=1 -print_final_stats=1 ${FUZZ_OPTIONS:-} "${rate[@]}" \
      -artifact_prefix="build-fuzz/findings/$target-" >"$log" 2>&1 ; } 2>"$log.cpu"; then
    tail -n 60 "$log"
    echo "fuzz_$target: FINDING, input kept in build-fuzz/findings/ (rerun it alone for the allocation stacks)" >&2
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^stat::average_exec_per_sec|^stat::peak_rss_mb|^#[0-9]+ +(INITED|DONE)' "$log" || true
  echo "corpus: $(find "$work" -type f | wc -l) inputs found, $(find "fuzz/corpus/$target" -type f | wc -l) seeds"
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  read -r user system <"$log.cpu"
  awk -v n="$executions" -v u="$user" -v s="$system" -v t="fuzz_$target" 'BEGIN {
    printf "%s: %d executions in %.2f CPU s (user %.2f, system %.2f): %.0f per CPU-second\n",
           t, n, u + s, u, s, n / (u + s) }'
done
