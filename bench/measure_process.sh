#!/usr/bin/env bash
# Whole-process measurements of the program against a baseline: one small
# process (durable_write) that writes files of the same sizes the way the
# program replaces its files (temporary name, one write, fsync, rename, folder
# fsync) and does nothing else. Paired runs, median ratio. Use a Release build:
#   bench/measure_process.sh build-release [RUNS]
set -euo pipefail
build=$(cd "${1:?usage: measure_process.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-21}
here=$(cd "$(dirname "$0")" && pwd)
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

sizes_of() {  # NAME=SIZE for each file named
  local file
  for file in "$@"; do echo "$(basename "$file")=$(stat -c %s "$file")"; done
}

# The standard run: the five texts and the three scenario files, beside a copy
# of the executable. The baseline writes eight files of the same sizes.
mkdir "$folder/standard" "$folder/baseline"
cp "$build/scenario-compiler" "$folder/standard/"
"$build/scenario-compiler" export --dir "$folder/baseline" --quiet
(cd "$folder/standard" && ./scenario-compiler 2>/dev/null)
mapfile -t eight < <(sizes_of "$folder/baseline"/*.txt "$folder/standard"/*.dat "$folder/standard"/*.sim)
echo "standard run (eight files, ${eight[*]}):"
echo "  $("$here/paired_ratio.py" "$runs" "cd '$folder/standard' && ./scenario-compiler" \
      "'$build/durable_write' '$folder/baseline' ${eight[*]}")"

# A compile of a 1000000 m line: time against the one-process write of its
# three files, and peak memory against the size of the geometry file.
rm -rf "$folder/long" && mkdir "$folder/long"
"$build/write_scenario" "$folder/long" 1000000
"$build/scenario-compiler" compile --dir "$folder/long" --quiet || true
mapfile -t three < <(sizes_of "$folder/long"/*.dat "$folder/long"/*.sim)
echo "compile of a 1000000 m line (${three[*]}):"
echo "  $("$here/paired_ratio.py" "$runs" \
      "'$build/scenario-compiler' compile --dir '$folder/long' --quiet" \
      "'$build/durable_write' '$folder/baseline' ${three[*]}")"
if [ -x /usr/bin/time ]; then
  /usr/bin/time -f "%M" "$build/scenario-compiler" compile --dir "$folder/long" --quiet \
    2>"$folder/peak.txt" || true
  peak_kib=$(tail -n 1 "$folder/peak.txt")
  geometry_kib=$(( $(stat -c %s "$folder/long/Orvale_Varcona_linea.dat") / 1024 ))
  echo "  peak memory $peak_kib KiB; geometry file $geometry_kib KiB; allowance +8192 KiB:" \
       "$([ "$peak_kib" -le $((geometry_kib + 8192)) ] && echo within || echo OVER)"
fi
