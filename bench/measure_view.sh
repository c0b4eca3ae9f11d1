#!/usr/bin/env bash
# The page of `scenario-compiler view` for a 1000000 m line (and the built-in
# 358 km one): the time to write it, its size, and the time headless chromium
# takes to open and draw it. Use a Release build:
#   bench/measure_view.sh build-release
set -euo pipefail
build=${1:?usage: measure_view.sh BUILD_DIR}
compiler="$build/scenario-compiler"
folder=$(mktemp -d)
profile=$(mktemp -d)
trap 'rm -rf "$folder" "$profile"' EXIT

ms_since() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }

measure() {  # LABEL: writes, sizes and opens the page of the sources in $folder
  local start page opened probe
  start=$(date +%s%N)
  "$compiler" view --dir "$folder" --out "$folder/page.html" 2>/dev/null
  echo "$1:"
  echo "  view writes the page:        $(ms_since "$start") ms"
  echo "  page size:                   $(stat -c %s "$folder/page.html") bytes"
  start=$(date +%s%N)
  probe=$(chromium --headless --no-sandbox --disable-gpu --no-first-run \
      --disable-background-networking --disable-component-update --disable-sync \
      --user-data-dir="$profile" --window-size=1400,900 \
      --dump-dom "file://$folder/page.html#selftest=100000,110000,1,2" 2>/dev/null |
    grep -o '<pre id="probe">[^<]*' | sed 's/.*>//; s/&quot;/"/g')
  opened=$(ms_since "$start")
  echo "  chromium opens and draws it: $opened ms in all (browser start included)"
  echo "  the page ready after:        $(echo "$probe" | grep -o '"readyMs":[0-9]*' | cut -d: -f2) ms (its own clock)"
}

"$build/write_scenario" "$folder" 1000000
measure "1000000 m line"
rm -f "$folder"/*
"$compiler" export --dir "$folder" --quiet
measure "built-in 358000 m line"
