#!/usr/bin/env bash
# Whole-process measurements of `scenario-compiler compile`, beside the cost of
# writing the same bytes with one write per file (dd), and the peak memory of a
# compile of a 1000000 m line. Use a Release build:
#   bench/measure_process.sh build-release [RUNS]
set -euo pipefail
build=${1:?usage: measure_process.sh BUILD_DIR [RUNS]}
runs=${2:-20}
compiler="$build/scenario-compiler"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

seconds_of() {  # runs "$@" $runs times, prints the mean wall time in ms
  local start end
  start=$(date +%s%N)
  for _ in $(seq "$runs"); do "$@" >/dev/null 2>&1 || true; done
  end=$(date +%s%N)
  echo "scale=2; ($end - $start) / $runs / 1000000" | bc
}

compile_once() { "$compiler" compile --dir "$folder" --quiet; }
dd_once() {  # extra dd options, e.g. conv=fsync
  for file in Orvale_Varcona_linea.dat Orvale_Varcona_593.sim Orvale_Varcona_593.dat; do
    size=$(stat -c %s "$folder/$file")
    dd if="$folder/$file" of="$folder/copy_$file" bs="$size" count=1 status=none "$@"
  done
}

"$build/write_scenario" "$folder" 358000
compile_once || echo "compile exit status $? (status code set)"
ls -l "$folder"/*.dat "$folder"/*.sim
echo "358000 m line, mean of $runs runs:"
echo "  scenario-compiler compile: $(seconds_of compile_once) ms"
echo "  dd, one write per file:    $(seconds_of dd_once) ms"
echo "  the same, synced:          $(seconds_of dd_once conv=fsync) ms"
echo "  process start (--version): $(seconds_of "$compiler" --version) ms"

rm -f "$folder"/*
"$build/write_scenario" "$folder" 1000000
if [ -x /usr/bin/time ]; then
  /usr/bin/time -v "$compiler" compile --dir "$folder" --quiet 2>"$folder/time.txt" || true
  grep -E "Maximum resident set size|Elapsed" "$folder/time.txt"
fi
ls -l "$folder"/*.dat "$folder"/*.sim
